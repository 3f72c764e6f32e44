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

TEST_F(PaneWindows, TheConfigurationsDockingPanesChooseTheSwitchableWindows) {
    struct Case {
        const wchar_t* value; // null: no "DockingPanes" key
        bool modelTree, macros, cam;
        size_t warnings;
    };
    const Case cases[] = {
        {nullptr, true, true, true, 0},
        {L"", false, false, false, 0},
        {L"modelTree, macros", true, true, false, 0},
        {L"!cam", true, true, false, 0},
        {L"!cam,!macros", true, false, false, 0},
        {L"noSuchPane", false, false, false, 1},
    };
    PaneWindowSlots& slots = app->GetPaneWindowSlots();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? pal::text::toUtf8(c.value) : "no key");
        dvlog::test::clearCapture();
        const std::wstring value = c.value ? c.value : L"";
        slots.Configure(c.value ? &value : nullptr);
        EXPECT_EQ(slots.IsEnabled(1006), c.modelTree);
        EXPECT_EQ(slots.IsEnabled(1010), c.macros);
        EXPECT_EQ(slots.IsEnabled(1034), c.cam);
        EXPECT_TRUE(slots.IsEnabled(1017)) << "the variables window has no switch";
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), c.warnings);
    }
    EXPECT_EQ(dvlog::test::capturedAt(6),
              std::vector<std::string>{
                  "Invalid docking pane window \"noSuchPane\" is specified in a configuration file"});
}

} // namespace
} // namespace dvapp::test
