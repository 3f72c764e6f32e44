#include "win/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemory, MovableBlocksCountLocksAndKeepTheirHandleThroughGrowth) {
    HGLOBAL h = GlobalAlloc(GHND, 8);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 8u);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), h) << "a movable handle is not the address";
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(p[i], 0) << "zero-filled";
    std::memcpy(p, "abcdefgh", 8);
    EXPECT_EQ(GlobalHandle(p), h);
    EXPECT_EQ(GlobalLock(h), p);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
    EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_ZEROINIT), nullptr) << "a locked block does not move";
    EXPECT_TRUE(GlobalUnlock(h));
    SetLastError(ERROR_INVALID_DATA);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);

    ASSERT_EQ(GlobalReAlloc(h, 64, GMEM_ZEROINIT), h);
    EXPECT_EQ(GlobalSize(h), 64u);
    p = static_cast<unsigned char*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(p, "abcdefgh", 8), 0);
    EXPECT_EQ(p[63], 0);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, FixedBlocksAreTheirOwnAddressAndMoveOnlyWhenAllowed) {
    HGLOBAL h = GlobalAlloc(GPTR, 4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalLock(h), h);
    EXPECT_TRUE(GlobalUnlock(h)) << "a fixed block stays locked";
    EXPECT_EQ(GlobalReAlloc(h, 1 << 20, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GlobalReAlloc(h, 2, 0), h) << "shrinking stays in place";
    EXPECT_EQ(GlobalSize(h), 2u);
    HGLOBAL moved = GlobalReAlloc(h, 1 << 20, GMEM_MOVEABLE);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(GlobalSize(moved), size_t{1} << 20);
    EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(GlobalMemory, StaleAndMadeUpHandlesAreRefused) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_EQ(GlobalFree(h), nullptr);
    int local = 0;
    for (HGLOBAL bad : {h, static_cast<HGLOBAL>(&local)}) {
        SetLastError(0);
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_FALSE(GlobalUnlock(bad));
        EXPECT_EQ(GlobalFree(bad), bad);
        EXPECT_EQ(GlobalReAlloc(bad, 4, GMEM_MOVEABLE), nullptr);
        EXPECT_EQ(GlobalFlags(bad), GMEM_INVALID_HANDLE);
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

} // namespace
