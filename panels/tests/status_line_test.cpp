// The status line on a live frame: its panes by screen width, the nesting of the two kinds of
// progress on one counter, the redraw throttle on the manual clock and the background buttons.
#include "panels/StatusLine.h"

#include "panel_fixture.h"

#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/ImageManager.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "panels/SysPanelControls.h"
#include "panels/SysPanelToolbar.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Frame : public CXTPFrameWnd {
public:
    CStatusLine status;
    std::vector<UINT> commands;
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CXTPFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        if (!status.Create(this))
            return -1;
        status.CreatePanes();
        return 0;
    }
    void OnAnyCommand(UINT id) { commands.push_back(id); }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CXTPFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(1, 60000, &Frame::OnAnyCommand)
END_MESSAGE_MAP()

using App = pal::test::OneFrameApp<Frame>;

// The UI module's one answer the status line needs: the frame of a window.
using Module = panels::test::FrameModule;

class StatusLineTest : public pal::test::SandboxTest {
protected:
    void start() {
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
        module.frame = &app.frame;
        UIModuleProxy::Instance().SetModule(&module);
        app.frame.RecalcLayout();
        run->pump();
    }
    void TearDown() override {
        UIModuleProxy::Instance().SetModule(nullptr);
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    CStatusLine& status() { return app.frame.status; }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }

    App app{L"Status line", CRect(0, 0, 1000, 260)};
    Module module;
    std::unique_ptr<pal::test::AppRun> run;
};

TEST_F(StatusLineTest, PaneWidthsFollowTheScreenWidth) {
    struct Case {
        int screen;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {1920, {465, 495, 96, 96, 96, 266, 266, 140}},
        {1280, {305, 335, 70, 70, 70, 154, 154, 140}},
        {1366, {326, 356, 70, 70, 70, 169, 169, 140}},
        {3840, {945, 975, 100, 100, 100, 602, 602, 140}},
    };
    start();
    for (const Case& c : cases) {
        pal::test::setMonitors({{{0, 0, c.screen, 1080}, {0, 0, c.screen, 1040}, 96}});
        status().CreatePanes();
        ASSERT_EQ(status().GetPaneCount(), 8);
        for (int i = 0; i < 8; ++i) {
            const CXTPStatusBarPane* pane = status().GetPane(i);
            EXPECT_EQ(pane->GetWidth(), c.widths[static_cast<size_t>(i)]) << c.screen << " pane " << i;
            EXPECT_EQ(pane->GetID(), CStatusLine::kPaneIds[i]);
            EXPECT_EQ(pane->IsVisible() != FALSE, i < 5);
            EXPECT_EQ(pane->GetStyle(), (i >= 2 && i <= 4) ? UINT(SBPS_POPOUT) : UINT(SBPS_STRETCH));
        }
        EXPECT_EQ(status().GetPane(0)->GetText(), CString(L">"));
        EXPECT_EQ(status().GetPane(5)->GetTextAlignment(), UINT(DT_RIGHT));
    }
}

TEST_F(StatusLineTest, PromptShowsItsFirstLineTrimmed) {
    start();
    EXPECT_STREQ(status().GetRuntimeClass()->m_lpszClassName, "CStatusLine");
    status().SetPrompt(L"  Pick the first point \r\nsecond line", false);
    EXPECT_EQ(status().GetPrompt(), L"Pick the first point");
    EXPECT_EQ(status().GetPane(1)->GetText(), CString(L"Pick the first point"));
    status().SetCoordinateX(L"12.5", true);
    status().SetCoordinateY(L"", true);
    EXPECT_EQ(status().GetPane(2)->GetText(), CString(L"X=12.5"));
    EXPECT_EQ(status().GetPane(3)->GetText(), CString(L""));
    status().SetMessage(L"Saved\nmore");
    EXPECT_EQ(status().GetMessage(), L"Saved");
}

TEST_F(StatusLineTest, OneCounterNestsBothKindsOfProgress) {
    start();
    CStatusLine& s = status();
    EXPECT_TRUE(s.BeginProgress());
    EXPECT_FALSE(s.BeginProgress());
    EXPECT_EQ(s.GetUpdateCounter(), 2);
    EXPECT_FALSE(s.EndProgress());
    EXPECT_TRUE(s.IsProgressActive());
    EXPECT_TRUE(s.EndProgress());
    EXPECT_FALSE(s.IsProgressActive());

    // Unmatched ends never take the counter below 0, so the next begin still opens a bar.
    EXPECT_FALSE(s.EndProgress());
    EXPECT_FALSE(s.EndBackgroundProgress());
    EXPECT_EQ(s.GetUpdateCounter(), 0);
    EXPECT_TRUE(s.BeginBackgroundProgress(false));
    EXPECT_FALSE(s.BeginProgress()); // the background level is open
    EXPECT_FALSE(s.IsProgressActive());
    s.SetPos(50);
    EXPECT_EQ(s.GetPos(), 0);
    EXPECT_FALSE(s.EndProgress());
    EXPECT_TRUE(s.EndBackgroundProgress());
    EXPECT_EQ(s.GetUpdateCounter(), 0);

    s.BeginProgress();
    s.SuspendUpdates(false); // counter 1 becomes 0
    EXPECT_EQ(s.GetUpdateCounter(), 0);
    s.SuspendUpdates(true);
    EXPECT_EQ(s.GetUpdateCounter(), 2);
    s.SetPrompt(L"ignored", false);
    EXPECT_EQ(s.GetPrompt(), L"");
    s.SuspendUpdates(false);
    EXPECT_TRUE(s.EndProgress());
}

TEST_F(StatusLineTest, ProgressThrottleAdmitsTwentyRedrawsAWindow) {
    start();
    CStatusLine& s = status();
    ASSERT_TRUE(s.BeginProgress());
    advance(300); // the window opened at construction is over
    for (int i = 1; i <= 25; ++i)
        s.SetPos(i);
    EXPECT_EQ(s.GetProgressBar().GetPos(), 20);
    EXPECT_EQ(s.GetPos(), 25);
    advance(250);
    s.SetPos(30);
    s.SetPos(31);
    EXPECT_EQ(s.GetProgressBar().GetPos(), 30); // after a saturated window only the opening one
    s.EndProgress();
}

TEST_F(StatusLineTest, PromptRedrawsWhenItsEmptinessChangesWhateverTheThrottle) {
    start();
    CStatusLine& s = status();
    s.SetPrompt(L"a", true);
    s.SetPrompt(L"b", true);
    EXPECT_EQ(s.GetRepaintCount(), 2); // counter 0: every redraw
    ASSERT_TRUE(s.BeginProgress());
    const int base = s.GetRepaintCount();
    for (int i = 0; i < 30; ++i)
        s.SetPrompt(L"same", true);
    const int throttled = s.GetRepaintCount() - base;
    EXPECT_LT(throttled, 30);
    s.SetPrompt(L"", true);
    EXPECT_EQ(s.GetRepaintCount(), base + throttled + 1);
    s.EndProgress();
}

TEST_F(StatusLineTest, ProgressClampsAndRunsTheMarqueeForANegativePosition) {
    start();
    CStatusLine& s = status();
    ASSERT_TRUE(s.BeginProgress());
    EXPECT_TRUE(s.IsMarqueeRunning());
    EXPECT_EQ(s.GetRange(), 100);
    EXPECT_EQ(s.GetStep(), 1);
    s.SetRange(50);
    s.SetPos(80);
    EXPECT_EQ(s.GetPos(), 50);
    EXPECT_FALSE(s.IsMarqueeRunning());
    s.SetPos(-1);
    EXPECT_TRUE(s.IsMarqueeRunning());
    s.SetRange(0);
    s.SetPos(0); // a zero range: shown, nothing divided
    EXPECT_EQ(s.GetPos(), 0);
    const auto entries = journal("taskbar.progress");
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().get("state"), "indeterminate");
    s.StepIt();
    EXPECT_EQ(s.GetPos(), 0);
    s.EndProgress();
    EXPECT_EQ(journal("taskbar.progress").back().get("state"), "none");

    ASSERT_TRUE(s.BeginBackgroundProgress(false));
    s.SetBackgroundProgress(150);
    EXPECT_EQ(s.GetBackgroundProgressBar().GetPos(), 100);
    s.SetBackgroundProgress(-5);
    EXPECT_EQ(s.GetBackgroundProgressBar().GetPos(), 0);
    s.EndBackgroundProgress();
}

TEST_F(StatusLineTest, BackgroundButtonsStandRightToLeftAndDriveTheTasks) {
    start();
    CStatusLine& s = status();
    ASSERT_TRUE(s.BeginBackgroundProgress(true));
    CRect pane;
    s.GetItemRect(7, &pane);
    int right = pane.right - 3;
    for (int b = CStatusLine::ButtonCount - 1; b >= 0; --b) {
        CXTPButton* button = s.GetButton(static_cast<CStatusLine::Button>(b));
        ASSERT_NE(button, nullptr);
        CRect rect;
        button->GetWindowRect(&rect);
        s.ScreenToClient(&rect);
        EXPECT_EQ(rect, CRect(right - 18, pane.top, right, pane.bottom)) << b;
        EXPECT_EQ(button->GetDlgCtrlID(), int(CStatusLine::kButtonCommands[b]));
        right -= 21;
    }
    CRect bar;
    s.GetBackgroundProgressBar().GetWindowRect(&bar);
    s.ScreenToClient(&bar);
    CRect leftmost;
    s.GetButton(CStatusLine::Pause)->GetWindowRect(&leftmost);
    s.ScreenToClient(&leftmost);
    EXPECT_LE(bar.right, leftmost.left - 5);

    // A wider frame: the bar and the buttons follow their panes.
    app.frame.MoveWindow(0, 0, 1300, 260);
    app.frame.RecalcLayout();
    run->pump();
    s.GetItemRect(7, &pane);
    CRect rightmost;
    s.GetButton(CStatusLine::ShowPane)->GetWindowRect(&rightmost);
    s.ScreenToClient(&rightmost);
    EXPECT_EQ(rightmost.right, pane.right - 3);

    auto click = [&](CStatusLine::Button b) {
        CXTPButton* button = s.GetButton(b);
        s.SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                      reinterpret_cast<LPARAM>(button->GetSafeHwnd()));
    };
    click(CStatusLine::Pause);
    EXPECT_TRUE(dvrt::StatusLineBkProcManager::Instance().IsPaused());
    s.OnUpdateCmdUI(&app.frame, TRUE);
    EXPECT_FALSE(s.GetButton(CStatusLine::Pause)->IsWindowEnabled());
    EXPECT_TRUE(s.GetButton(CStatusLine::Resume)->IsWindowEnabled());
    click(CStatusLine::Resume);
    EXPECT_FALSE(dvrt::StatusLineBkProcManager::Instance().IsPaused());

    click(CStatusLine::ShowPane);
    EXPECT_TRUE(app.frame.commands.empty()); // posted, not sent
    run->pump();
    EXPECT_EQ(app.frame.commands, std::vector<UINT>{822});

    EXPECT_TRUE(s.EndBackgroundProgress());
    EXPECT_FALSE(s.GetButton(CStatusLine::Pause)->IsWindowVisible());
    EXPECT_FALSE(s.GetPane(7)->IsVisible());
}

TEST_F(StatusLineTest, SnapshotOfAFrameWithItsSystemPanelAndProgress) {
    start();
    CXTPToolBar* bar = app.frame.GetCommandBars()->Add(L"System panel", xtpBarTop);
    auto* level = new CSyspanelEdit(L"Level", 2, -1.0);
    level->SetCaption(L"Level");
    level->SetWidth(120);
    bar->GetControls()->Add(level, 907);
    level->SetEditText(L"3");
    auto* priority = new CSyspanelEdit(L"Priority", 2, -1.0);
    priority->SetCaption(L"Priority");
    priority->SetWidth(120);
    bar->GetControls()->Add(priority, 909);
    priority->SetEditText(L"1");
    auto* font = new CFontComboBox(nullptr);
    font->SetWidth(150);
    bar->GetControls()->Add(font, 914);
    font->AddString(L"Arial");
    font->SetCurSel(0);
    app.frame.RecalcLayout();

    CStatusLine& s = status();
    s.SetImageManager(Dravik::UI::ImageManager::GetInstance(true));
    s.SetMessage(L"> LINE");
    s.SetPrompt(L"Pick the end point of the line", true);
    s.SetCoordinateX(L"125.40", true);
    s.SetCoordinateY(L"88.00", true);
    ASSERT_TRUE(s.BeginProgress());
    advance(300);
    s.SetPos(60);
    s.EndProgress();
    ASSERT_TRUE(s.BeginBackgroundProgress(false));
    s.SetBackgroundTaskText(L"Regenerating");
    s.SetBackgroundProgress(45);
    run->pump();
    snapshot(app.frame.GetSafeHwnd(), "status_line_with_system_panel");
    s.EndBackgroundProgress();
}

} // namespace
