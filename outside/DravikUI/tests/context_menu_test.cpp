#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/XML.h"
#include "DravikUI/test/hooks.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"

#include <cstdlib>
#include <filesystem>

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

namespace {

std::filesystem::path contextMenusFixture(const char* name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "outside/DravikUI/tests/fixtures/xml" / name;
}

TEST_F(ContextMenus, AFileOfMenusResolvesItsIdentifiersAndSkipsWhatIsInvalid) {
    GlobalContextMenuContainer::RegisterCommand(1713, L"CM_ELEM_PROPERTIES");
    GlobalContextMenuContainer::RegisterCommand(1715, L"CM_ELEM_MEASURE");
    GlobalContextMenuContainer::RegisterCommands();
    Dravik::UI::XML::SetProduct(0);
    dvlog::test::clearCapture();
    ASSERT_TRUE(GlobalContextMenuContainer::Load(contextMenusFixture("contextmenus.xml")));
    Dravik::UI::XML::SetProduct(-1);

    EXPECT_EQ(GlobalContextMenuContainer::GetContextMenuNames(), std::vector<std::wstring>{L"Element"});
    const auto menu = GlobalContextMenuContainer::GetContextMenu(L"Element");
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->controls.size(), 3u);
    EXPECT_EQ(menu->controls[0].id, 1713);
    EXPECT_EQ(menu->controls[1].id, 1714);
    EXPECT_TRUE(menu->controls[1].beginGroup) << "the separator survives the skipped command after it";
    EXPECT_EQ(menu->controls[2].caption, L"More");
    ASSERT_EQ(menu->controls[2].controls.size(), 1u);
    EXPECT_EQ(menu->controls[2].controls[0].id, 1715);
    // The unknown identifier, the command without name or id, the unknown item, the second
    // "Element" and the nameless menu.
    EXPECT_EQ(dvlog::test::capturedAt(DVLogWarning).size(), 5u);

    EXPECT_FALSE(GlobalContextMenuContainer::Load(contextMenusFixture("full.xml")));
    EXPECT_TRUE(GlobalContextMenuContainer::GetContextMenu(L"Element"))
        << "a file that fails keeps the menus";
    EXPECT_FALSE(GlobalContextMenuContainer::Load(contextMenusFixture("missing.xml")));
}

} // namespace
