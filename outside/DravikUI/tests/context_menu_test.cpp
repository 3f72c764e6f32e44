#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/test/hooks.h"

#include <gtest/gtest.h>

namespace {

using Dravik::UI::GlobalContextMenuContainer;

class ContextMenus : public ::testing::Test {
protected:
    void SetUp() override { dvui::test::resetContextMenus(); }
    void TearDown() override { dvui::test::resetContextMenus(); }
};

TEST_F(ContextMenus, IdentifiersResolveOnceTheRegistrationIsComplete) {
    GlobalContextMenuContainer::RegisterCommand(1713, L"CM_ELEM_PROPERTIES");
    GlobalContextMenuContainer::RegisterCommand(0, L"CM_NOTHING");
    GlobalContextMenuContainer::RegisterCommand(1714, L"");
    EXPECT_EQ(GlobalContextMenuContainer::GetIdentifier(1713), L"CM_ELEM_PROPERTIES");
    EXPECT_EQ(GlobalContextMenuContainer::GetIdentifier(1714), std::nullopt);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_ELEM_PROPERTIES"), std::nullopt);

    GlobalContextMenuContainer::RegisterCommands();
    EXPECT_TRUE(GlobalContextMenuContainer::IsRegistrationComplete());
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_ELEM_PROPERTIES"), 1713);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"cm_elem_properties"), std::nullopt);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_NOTHING"), std::nullopt);
}

TEST_F(ContextMenus, AnIdLearntAgainTakesTheNewIdentifier) {
    GlobalContextMenuContainer::RegisterCommand(2818, L"CM_LAWS_CREATE_FROM_FILE");
    GlobalContextMenuContainer::RegisterCommand(2818, L"CM_LAWS_CREATE_FROM_FILE");
    GlobalContextMenuContainer::RegisterCommand(1338, L"CM_OLD");
    GlobalContextMenuContainer::RegisterCommand(1338, L"CM_3D_DUMMY");
    GlobalContextMenuContainer::RegisterCommands();
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_LAWS_CREATE_FROM_FILE"), 2818);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_3D_DUMMY"), 1338);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_OLD"), std::nullopt);
}

} // namespace
