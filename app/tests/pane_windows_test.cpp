#include "startup_fixture.h"

#include "app/PaneWindowSlots.h"
#include "ribbon/FrameToolsApplication.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikUI/Windows.h"

#include <cstdio>

namespace dvapp::test {
namespace {

class PaneWindows : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
};

TEST_F(PaneWindows, EachPaneIdHasOneWindowMadeOnFirstUseUnderTheHiddenPaneParent) {
    dvlog::test::clearCapture();
    CWnd* modelTree = app->GetModelTreeWindow(false);
    EXPECT_EQ(modelTree, nullptr);
    modelTree = app->GetModelTreeWindow(true);
    ASSERT_NE(modelTree, nullptr);
    EXPECT_EQ(app->GetModelTreeWindow(true), modelTree);
    EXPECT_EQ(app->GetDockingPaneWindow(1006, false), modelTree);
    EXPECT_EQ(::GetDlgCtrlID(modelTree->m_hWnd), 1006);
    EXPECT_EQ(::GetParent(modelTree->m_hWnd), Dravik::UI::GetDockingPaneDummyWindow(false)->m_hWnd);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(modelTree->m_hWnd, GWL_STYLE)) & 0x56000000u, 0x56000000u);
    // The find-command window alone starts hidden.
    EXPECT_EQ(::GetWindowLongW(app->GetFindCommandWindow(true)->m_hWnd, GWL_STYLE) & WS_VISIBLE, 0);

    char expected[64];
    std::snprintf(expected, sizeof expected, "Created model tree window 0x%08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(modelTree->m_hWnd)));
    const auto lines = dvlog::test::capturedAt(3);
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
        << ::testing::PrintToString(lines);

    // The application is what the frames' tools ask.
    EXPECT_EQ(FrameToolsApplication::Instance(), app.get());
}

TEST_F(PaneWindows, IdsWithoutAPaneWindowAndSwitchedOffWindowsGiveNone) {
    for (const int id : {1002, 1016, 1018, 1024, 1026, 1037, 1042, 0})
        EXPECT_EQ(app->GetDockingPaneWindow(id, true), nullptr) << id;
    PaneWindowSlots& slots = app->GetPaneWindowSlots();
    EXPECT_TRUE(slots.SetEnabled(L"macros", false));
    EXPECT_EQ(app->GetMacrosWindow(true), nullptr);
    EXPECT_TRUE(slots.SetEnabled(L"macros", true));
    EXPECT_NE(app->GetMacrosWindow(true), nullptr);
    // Keys are exact; windows without a switch have none.
    EXPECT_FALSE(slots.SetEnabled(L"Macros", false));
    EXPECT_FALSE(slots.SetEnabled(L"variables", false));
    EXPECT_TRUE(slots.IsEnabled(1010));
}

TEST_F(PaneWindows, PdmPaneWindowsAreGivenOnlyWhenAvailabilityIsNotAsked) {
    EXPECT_NE(app->GetOrsaArchivesWindow(false, true), nullptr);
    EXPECT_EQ(app->GetOrsaArchivesWindow(true, true), nullptr);
    EXPECT_EQ(app->GetDockingPaneWindow(1012, true), nullptr);
}

} // namespace
} // namespace dvapp::test
