#include "dvpimage/pixel_box.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace Image;
using Bytes = std::vector<std::uint8_t>;

namespace {

TEST(BoxT, ConstructorsAndContainment) {
    const Box one;
    EXPECT_EQ(one, Box(0, 0, 0, 1, 1, 1));
    const Box sized(4, 3, 2);
    EXPECT_EQ(sized, Box(0, 0, 0, 4, 3, 2));
    const Box flat(1, 2, 5, 7);
    EXPECT_EQ(flat.front, 0u);
    EXPECT_EQ(flat.back, 1u);
    const Box full(1, 2, 3, 6, 8, 10); // minima first, then maxima
    EXPECT_EQ(full.GetWidth(), 5u);
    EXPECT_EQ(full.GetHeight(), 6u);
    EXPECT_EQ(full.GetDepth(), 7u);
    EXPECT_TRUE(full.Contains(full));
    EXPECT_TRUE(full.Contains(Box(2, 3, 4, 5, 7, 9)));
    EXPECT_FALSE(full.Contains(Box(0, 3, 4, 5, 7, 9)));
    EXPECT_FALSE(full.Contains(Box(2, 3, 4, 5, 7, 11)));
}

TEST(PixelBoxShape, PitchesSkipsOffsetAndConsecutiveness) {
    PixelBox box(Box(2, 1, 1, 6, 4, 3), PF_L8, nullptr);
    EXPECT_EQ(box.rowPitch, 4u);
    EXPECT_EQ(box.slicePitch, 12u);
    EXPECT_TRUE(box.IsConsecutive());
    box.rowPitch = 10;
    box.slicePitch = 50;
    EXPECT_EQ(box.GetRowSkip(), 6u);
    EXPECT_EQ(box.GetSliceSkip(), 50u - 3u * 10u);
    EXPECT_EQ(box.GetOffset(), 2u + 1u * 10u + 1u * 50u);
    EXPECT_FALSE(box.IsConsecutive());
    box.SetConsecutive();
    EXPECT_EQ(box.rowPitch, 4u);
    EXPECT_EQ(box.slicePitch, 12u);
    EXPECT_EQ(box.GetConsecutiveSize(), 24u);

    const PixelBox byDims(5, 4, 2, PF_A8R8G8B8, nullptr);
    EXPECT_EQ(byDims.extent, Box(0, 0, 0, 5, 4, 2));
    EXPECT_EQ(byDims.slicePitch, 20u);
}

TEST(PixelBoxShape, DefaultBoxIsEmptyAndNotConsecutive) {
    const PixelBox box;
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_FALSE(box.IsConsecutive());
    std::uint8_t byte = 0;
    EXPECT_FALSE(PixelBox(1, 1, 1, PF_L8, &byte).IsEmpty());
    EXPECT_TRUE(PixelBox(0, 1, 1, PF_L8, &byte).IsEmpty());
}

TEST(PixelBoxSubVolume, PointsAtTheBoxCornerWithTheParentsPitches) {
    Bytes memory(8 * 6 * 2 * 2);
    PixelBox parent(Box(1, 1, 0, 7, 6, 2), PF_R16, memory.data());
    parent.rowPitch = 8;
    parent.slicePitch = 48;
    const PixelBox sub = parent.GetSubVolume(Box(3, 2, 1, 5, 5, 2));
    EXPECT_EQ(sub.extent, Box(0, 0, 0, 2, 3, 1));
    EXPECT_EQ(sub.rowPitch, 8u);
    EXPECT_EQ(sub.slicePitch, 48u);
    EXPECT_EQ(static_cast<std::uint8_t*>(sub.data), memory.data() + 2 * ((3 - 1) + (2 - 1) * 8 + 1 * 48));
}

TEST(PixelBoxSubVolume, BoxReachingPastTheExtentGivesTheBoxItself) {
    std::uint8_t byte = 0;
    const PixelBox parent(4, 4, 1, PF_L8, &byte);
    const PixelBox sub = parent.GetSubVolume(Box(2, 2, 5, 3));
    EXPECT_EQ(sub.extent, parent.extent);
    EXPECT_EQ(sub.data, parent.data);
}

TEST(PixelBoxSubVolume, CompressedWholeBoxIsACopy) {
    std::uint8_t block[8] = {};
    const PixelBox parent(4, 4, 1, PF_DXT1, block);
    const PixelBox sub = parent.GetSubVolume(parent.extent);
    EXPECT_EQ(sub.extent, parent.extent);
    EXPECT_EQ(sub.data, parent.data);
}

// Offsets past 4 GiB are not wrapped: the pointer is only computed, never followed.
TEST(PixelBoxSubVolume, LargeOffsetsDoNotWrapAround) {
    auto* base = reinterpret_cast<std::uint8_t*>(std::uintptr_t{1} << 40);
    PixelBox parent(Box(0, 0, 70000, 70000), PF_A8R8G8B8, base);
    const PixelBox sub = parent.GetSubVolume(Box(10, 69000, 20, 69001));
    EXPECT_EQ(static_cast<std::uint8_t*>(sub.data), base + 4ull * (10 + 69000ull * 70000));
}

// Two 6x5x2 volumes of 16-bit elements with row pitch 9 and slice pitch 50 hold a 3x2x2 box at
// different origins; only that box's bytes may change.
TEST(CopyPixels, SameFormatRowByRowBetweenNonZeroOrigins) {
    Bytes source(2 * 9 * 50 * 2), destination(source.size(), 0xEE);
    std::iota(source.begin(), source.end(), 0);
    PixelBox from(Box(2, 1, 0, 5, 3, 2), PF_L16, source.data());
    from.rowPitch = 9;
    from.slicePitch = 50;
    PixelBox to(Box(4, 3, 1, 7, 5, 3), PF_L16, destination.data());
    to.rowPitch = 9;
    to.slicePitch = 50;
    PixelBox::CopyPixels(from, to);

    Bytes expected(destination.size(), 0xEE);
    for (int z = 0; z < 2; ++z)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                for (int b = 0; b < 2; ++b)
                    expected[2 * ((4 + x) + (3 + y) * 9 + (1 + z) * 50) + b] =
                        source[2 * ((2 + x) + (1 + y) * 9 + z * 50) + b];
    EXPECT_EQ(destination, expected);
}

TEST(CopyPixels, ConsecutiveBlockCopyStartsAtTheFirstElementOfEachBox) {
    Bytes source(32), destination(32, 0xEE);
    std::iota(source.begin(), source.end(), 0);
    // A consecutive 4-wide row whose origin is element 3 of the source and element 10 of the target.
    const PixelBox from(Box(3, 0, 7, 1), PF_L8, source.data());
    const PixelBox to(Box(10, 0, 14, 1), PF_L8, destination.data());
    ASSERT_TRUE(from.IsConsecutive() && to.IsConsecutive());
    PixelBox::CopyPixels(from, to);
    Bytes expected(32, 0xEE);
    std::copy(source.begin() + 3, source.begin() + 7, expected.begin() + 10);
    EXPECT_EQ(destination, expected);
}

TEST(CopyPixels, ConvertingCopyHonoursOriginsAndPitches) {
    // 24-bit source 3x2 at (1, 1) of a 5-pitch plane; 32-bit target at (2, 0) of a 6-pitch plane.
    Bytes source(3 * 5 * 3), destination(4 * 6 * 2, 0xEE);
    std::iota(source.begin(), source.end(), 0);
    PixelBox from(Box(1, 1, 4, 3), PF_R8G8B8, source.data());
    from.rowPitch = 5;
    PixelBox to(Box(2, 0, 5, 2), PF_A8R8G8B8, destination.data());
    to.rowPitch = 6;
    PixelBox::CopyPixels(from, to);
    Bytes expected(destination.size(), 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::uint8_t* s = &source[3 * ((1 + x) + (1 + y) * 5)];
            std::uint8_t* d = &expected[4 * ((2 + x) + y * 6)];
            d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 0; // no alpha bits: alpha 0.0
        }
    EXPECT_EQ(destination, expected);
}

TEST(CopyPixels, DifferentExtentsOrNoDataWriteNothing) {
    Bytes source(16, 1), destination(16, 0xEE);
    PixelBox::CopyPixels(PixelBox(4, 2, 1, PF_L8, source.data()),
                         PixelBox(2, 4, 1, PF_L8, destination.data()));
    PixelBox::CopyPixels(PixelBox(4, 2, 1, PF_L8, nullptr), PixelBox(4, 2, 1, PF_L8, destination.data()));
    PixelBox::CopyPixels(PixelBox(4, 2, 1, PF_L8, source.data()),
                         PixelBox(4, 2, 1, PF_DXT1, destination.data()));
    PixelBox::CopyPixels(PixelBox(4, 2, 1, PF_L8, source.data()),
                         PixelBox(4, 2, 1, PF_R8G8B8A8, destination.data()));
    EXPECT_EQ(destination, Bytes(16, 0xEE));
}

TEST(CopyPixels, CompressedFormatsCopyAsOneBlock) {
    Bytes source(32), destination(40, 0xEE);
    std::iota(source.begin(), source.end(), 0);
    PixelBox::CopyPixels(PixelBox(8, 4, 1, PF_DXT1, source.data()),
                         PixelBox(8, 4, 1, PF_DXT1, destination.data()));
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 16, destination.begin()));
    EXPECT_EQ(destination[16], 0xEE);
}

} // namespace
