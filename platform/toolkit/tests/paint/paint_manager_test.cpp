#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

namespace {

TEST(PaintManager, TheInstanceLivesWhileAReferenceIsHeld) {
    ASSERT_EQ(CXTPPaintManager::GetInstance(), nullptr);
    CXTPPaintManager* first = CXTPPaintManager::GetInstanceAddRef();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CXTPPaintManager::GetInstanceAddRef(), first);
    EXPECT_EQ(CXTPPaintManager::GetInstanceRefCount(), 2);

    CXTPPaintManager::ReleaseInstance();
    EXPECT_EQ(CXTPPaintManager::GetInstance(), first);
    CXTPPaintManager::ReleaseInstance();
    EXPECT_EQ(CXTPPaintManager::GetInstance(), nullptr);
}

TEST(PaintManager, AReleaseWithoutAReferenceDoesNothing) {
    CXTPPaintManager::ReleaseInstance();
    EXPECT_EQ(CXTPPaintManager::GetInstanceRefCount(), 0);
    CXTPPaintManager* held = CXTPPaintManager::GetInstanceAddRef();
    CXTPPaintManager::ReleaseInstance();
    CXTPPaintManager::ReleaseInstance();
    EXPECT_EQ(CXTPPaintManager::GetInstanceRefCount(), 0);
    EXPECT_NE(held, nullptr);
    EXPECT_EQ(CXTPPaintManager::GetInstance(), nullptr);
}

} // namespace
