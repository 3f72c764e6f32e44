// The frame's commands that its tools answer: the rulers and page tabs of the active tab view, the
// user commands and their dialog, the paths a document sends the frame, and the help window that
// stands beside the frame.
#include "frame_tools_fixture.h"

#include "ribbon/EmbeddedHelpFrame.h"
#include "ribbon/UserCommands.h"
#include "ribbon/UserToolsPage.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/TabView.h"
#include "XTToolkitPro.h"
#include "afx/controls.h"
#include "afx/mdi.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using dvribbon::test::EngineFrame;
using dvribbon::test::PaneApplication;

// What an update handler said of a command.
class RecordingCmdUI : public CCmdUI {
public:
    explicit RecordingCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL on) override { enabled = on != FALSE; }
    void SetCheck(int check) override { checked = check != 0; }
    bool enabled = true;
    bool checked = false;
};

// A user command that counts its runs.
class CountingCommand : public CDVUserCommand {
public:
    explicit CountingCommand(std::wstring prompt, int* runs = nullptr) : runs_(runs) {
        Prompt = std::move(prompt);
    }
    bool Execute() override {
        if (runs_ != nullptr)
            ++*runs_;
        return true;
    }
    int GetType() const override { return 3; }
    std::wstring GetDescription() const override { return Prompt + L" (Open file: " + Prompt + L".grb)"; }

private:
    int* runs_;
};

class UserCommandApplication : public PaneApplication {
public:
    UserCommandApplication() : PaneApplication({1004}) {}
    CDVUserCommands* GetUserCommands() override { return withCommands ? &commands : nullptr; }
    CDVUserCommands commands;
    bool withCommands = true;
};

// A view that remembers the document-path messages it was sent.
class PathView : public CView {
public:
    std::vector<std::pair<WPARAM, std::wstring>> received;

protected:
    LRESULT OnDocumentPath(WPARAM code, LPARAM path) {
        received.emplace_back(code, reinterpret_cast<const wchar_t*>(path));
        return 7;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PathView, CView)
ON_MESSAGE(CFrameToolsEngine::kDocumentPathMessage, &PathView::OnDocumentPath)
END_MESSAGE_MAP()

// A kernel view that hosts tool bars of its own.
class HostingView : public CDVView {
public:
    HostingView() : bars(CXTPCommandBars::CreateCommandBars()) {}
    ~HostingView() override { bars->InternalRelease(); }
    CXTPCommandBars* GetToolBarHost() override { return bars; }
    CXTPCommandBars* bars;
};

class FrameCommandsTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        app_ = std::make_unique<UserCommandApplication>();
        frame_ = new EngineFrame; // deletes itself with its window
        frame_->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 40, 1300, 840));
        frame_->RecalcLayout();
        pal::test::pump();
        ASSERT_TRUE(frame_->created);
    }
    void TearDown() override {
        if (frame_ != nullptr && ::IsWindow(frame_->m_hWnd))
            frame_->DestroyWindow();
        pal::test::pump();
        app_.reset();
        pal::test::resetMonitors();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    // A document window of the frame; the frame owns it.
    CMDIChildWnd* addChild() {
        auto* child = new CMDIChildWnd;
        EXPECT_TRUE(child->Create(nullptr, L"Drawing", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CRect(0, 0, 500, 400), frame_));
        return child;
    }
    static CRect rectOf(CWnd* window) {
        CRect rect;
        window->GetWindowRect(&rect);
        return rect;
    }

    std::unique_ptr<UserCommandApplication> app_;
    EngineFrame* frame_ = nullptr;
};

TEST_F(FrameCommandsTest, RulersAndPageTabsSwitchOnTheActiveTabViewAndAreOffWithoutOne) {
    CMDIChildWnd* child = addChild();
    auto* tabView = new CDVTabView; // views delete themselves with their windows
    ASSERT_TRUE(tabView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), child,
                                AFX_IDW_PANE_FIRST));
    auto* page = new PathView;
    ASSERT_TRUE(page->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), tabView, 0xE9F0));
    auto* stray = new PathView; // a view of no tab view
    ASSERT_TRUE(stray->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), child, 0xE9F1));

    struct Command {
        UINT id;
        void (CFrameToolsEngine::*run)();
        void (CFrameToolsEngine::*update)(CCmdUI*);
        bool (CDVTabView::*shown)() const;
        bool initially;
    };
    const Command commands[] = {
        {803, &CFrameToolsEngine::OnShowRulers, &CFrameToolsEngine::OnUpdateShowRulers,
         &CDVTabView::AreRulersShown, false},
        {804, &CFrameToolsEngine::OnTabs, &CFrameToolsEngine::OnUpdateTabs, &CDVTabView::ArePageTabsShown,
         true},
    };
    struct Active {
        const char* name;
        CView* view;
        bool hasTabView;
    };
    const Active actives[] = {{"no view", nullptr, false},
                              {"a view outside tab views", stray, false},
                              {"a page of the tab view", page, true},
                              {"the tab view itself", tabView, true}};
    // Called through a local: GCC 12 with -fsanitize=vptr (the asan preset) miscompiles a call
    // through a member-function pointer whose object is a member of a base class (`frame_` of the
    // fixture): the object is worked out only on the branch for a virtual member, and a
    // non-virtual one is called on whatever a register held.
    CFrameToolsEngine* const engine = frame_;
    for (const Command& command : commands) {
        for (const Active& active : actives) {
            SCOPED_TRACE(std::to_string(command.id) + " with " + active.name);
            frame_->SetActiveView(active.view, true);
            EXPECT_EQ(frame_->GetActiveTabView(), active.hasTabView ? tabView : nullptr);
            const bool before = (tabView->*command.shown)();
            RecordingCmdUI ui(command.id);
            (engine->*command.update)(&ui);
            EXPECT_EQ(ui.enabled, active.hasTabView);
            EXPECT_EQ(ui.checked, active.hasTabView && before);
            (engine->*command.run)();
            EXPECT_EQ((tabView->*command.shown)(), active.hasTabView ? !before : before);
            // Back as it was for the next case.
            if (active.hasTabView)
                (engine->*command.run)();
            EXPECT_EQ((tabView->*command.shown)(), command.initially);
        }
    }
    frame_->SetActiveView(nullptr, true);
}

TEST_F(FrameCommandsTest, UserCommandsRunAndEnableOnlyWhileTheApplicationHoldsTheirId) {
    int runs = 0;
    std::unique_ptr<CDVUserCommand> command = std::make_unique<CountingCommand>(L"Bracket", &runs);
    ASSERT_EQ(app_->commands.AddUserCommand(command), 37000u);

    struct Case {
        const char* name;
        UINT id;
        bool withCommands;
        bool enabled;
    };
    const Case cases[] = {
        {"held", 37000, true, true},
        {"free id of the range", 37001, true, false},
        {"last id of the range", 37999, true, false},
        {"no collection", 37000, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app_->withCommands = c.withCommands;
        RecordingCmdUI ui(c.id);
        frame_->OnUpdateUserCommand(&ui);
        EXPECT_EQ(ui.enabled, c.enabled);
        const int before = runs;
        frame_->OnUserCommand(c.id);
        EXPECT_EQ(runs - before, c.enabled ? 1 : 0);
    }
}

TEST_F(FrameCommandsTest, UserCommandsTakeTheFirstFreeIdOfTheirRange) {
    CDVUserCommands commands;
    struct Case {
        const char* name;
        UINT ownId;
        UINT expected;
    };
    // In order: each case sees the commands the earlier ones added.
    const Case cases[] = {
        {"no id yet", 0, 37000},
        {"an id of its own", 37500, 37500},
        {"its own id taken", 37500, 37501},
        {"an id outside the range", 812, 37001},
        {"the last id", 37999, 37999},
        {"the last id taken: the range has ended", 37999, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDVUserCommand> command = std::make_unique<CountingCommand>(L"Cmd");
        command->id = c.ownId;
        CDVUserCommand* raw = command.get();
        EXPECT_EQ(commands.AddUserCommand(command), c.expected);
        if (c.expected != 0) {
            EXPECT_EQ(command, nullptr) << "the collection owns it";
            EXPECT_EQ(commands.Find(c.expected), raw);
            EXPECT_EQ(raw->id, c.expected);
        } else {
            EXPECT_EQ(command.get(), raw) << "a command that finds no id stays the caller's";
            EXPECT_EQ(raw->id, c.ownId);
        }
    }
    std::unique_ptr<CDVUserCommand> none;
    EXPECT_EQ(commands.AddUserCommand(none), 0u);
    EXPECT_TRUE(commands.Remove(37500));
    EXPECT_FALSE(commands.Remove(37500));
    EXPECT_EQ(commands.Find(37500), nullptr);
}

TEST_F(FrameCommandsTest, TheUserToolsDialogListsTheCommandsModallyWithItsHelpId) {
    for (const wchar_t* prompt : {L"Bracket", L"Flange"}) {
        std::unique_ptr<CDVUserCommand> command = std::make_unique<CountingCommand>(prompt);
        ASSERT_NE(app_->commands.AddUserCommand(command), 0u);
    }
    std::vector<std::wstring> listed;
    bool frameDisabled = false;
    bool seen = false;
    frame_->onEnterIdle = [&](HWND dialog) {
        seen = true;
        frameDisabled = !::IsWindowEnabled(frame_->m_hWnd);
        const HWND list = ::GetDlgItem(dialog, static_cast<int>(CDVUserToolsPage::kCommandList));
        const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            listed.emplace_back(text);
        }
        auto* page = dynamic_cast<CDVUserToolsPage*>(CWnd::FromHandlePermanent(dialog));
        EXPECT_NE(page, nullptr);
        if (page != nullptr) {
            EXPECT_EQ(page->m_nIDHelp, CFrameToolsEngine::kUserToolsHelpId);
        }
        EXPECT_TRUE(pal::test::keepSnapshot(dialog, "user-tools-dialog"));
        ::SendMessageW(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    };
    frame_->OnUserTools();
    ASSERT_TRUE(seen) << "the dialog never waited for input";
    EXPECT_TRUE(frameDisabled) << "the dialog is modal over the frame";
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Bracket (Open file: Bracket.grb)",
                                                 L"Flange (Open file: Flange.grb)"}));
    EXPECT_TRUE(::IsWindowEnabled(frame_->m_hWnd));
}

TEST_F(FrameCommandsTest, DocumentPathsGoToTheActiveViewOrOpenThroughTheAnnotationModule) {
    CMDIChildWnd* child = addChild();
    auto* view = new PathView;
    ASSERT_TRUE(
        view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), child, AFX_IDW_PANE_FIRST));
    frame_->SetActiveView(view, true);
    AnnotateModuleProxy::Attach();

    struct Case {
        WPARAM code;
        bool toView;
        bool opened;
    };
    const Case cases[] = {{1211, true, false},  {1214, true, false},  {1216, true, false},
                          {1212, false, true},  {1609, false, true},  {1610, false, true},
                          {1213, false, false}, {1215, false, false}, {0, false, false}};
    const std::wstring path = L"C:/Parts/bracket.grb";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        view->received.clear();
        dvtrace::test::clear();
        const LRESULT result = frame_->OnDocumentPathMessage(c.code, reinterpret_cast<LPARAM>(path.c_str()));
        EXPECT_EQ(result, c.toView ? 7 : 0);
        EXPECT_EQ(view->received.size(), c.toView ? 1u : 0u);
        if (c.toView && !view->received.empty()) {
            EXPECT_EQ(view->received.front(), std::make_pair(c.code, path));
        }
        const auto calls = dvtrace::test::callsOf("DravikKernel");
        const std::string open =
            "AnnotateModuleProxy::OpenFile(C:/Parts/bracket.grb," + std::to_string(c.code) + ",0)";
        EXPECT_EQ(std::count(calls.begin(), calls.end(), open), c.opened ? 1 : 0)
            << ::testing::PrintToString(calls);
    }
    // Without an active view nothing is sent anywhere.
    frame_->SetActiveView(nullptr, true);
    EXPECT_EQ(frame_->OnDocumentPathMessage(1211, reinterpret_cast<LPARAM>(path.c_str())), 0);
    AnnotateModuleProxy::Detach();
}

TEST_F(FrameCommandsTest, TheHelpWindowTakesTheRightQuarterAndStaysBesideTheFrame) {
    const CRect before = rectOf(frame_);
    EXPECT_TRUE(frame_->ShowEmbeddedHelp(L"mk:@MSITStore:tutorials/sketch.chm::/start.htm"));
    CEmbeddedHelpFrame* help = frame_->GetEmbeddedHelpFrame();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(::IsWindow(help->m_hWnd));
    EXPECT_TRUE(help->IsWindowVisible());
    const int split = before.right - before.Width() / 4;
    EXPECT_EQ(rectOf(help), CRect(split, before.top, before.right, before.bottom));
    EXPECT_EQ(rectOf(frame_), CRect(before.left, before.top, split, before.bottom));
    EXPECT_EQ(help->GetParent(), nullptr) << "a window of its own";

    // Again: the same window goes to the new page.
    EXPECT_TRUE(frame_->ShowEmbeddedHelp(L"mk:@MSITStore:tutorials/sketch.chm::/lines.htm"));
    EXPECT_EQ(frame_->GetEmbeddedHelpFrame(), help);
    EXPECT_EQ(help->GetUrl(), L"mk:@MSITStore:tutorials/sketch.chm::/lines.htm");
    pal::test::pump();
    ASSERT_TRUE(pal::test::keepSnapshot(help->m_hWnd, "embedded-help-window"));

    // The frame grows narrower and taller: the help window follows its right edge and height,
    // keeping its own right edge; a frame that grows past it leaves it alone.
    struct Move {
        CRect frame;
        CRect help;
    };
    const Move moves[] = {
        {CRect(100, 60, 900, 900), CRect(900, 60, before.right, 900)},
        {CRect(100, 60, 1400, 900), CRect(900, 60, before.right, 900)},
    };
    for (const Move& move : moves) {
        frame_->MoveWindow(move.frame);
        frame_->UpdateEmbeddedHelpPosition(SIZE_RESTORED, move.frame.Width(), move.frame.Height());
        EXPECT_EQ(rectOf(help), move.help);
    }
    // Not while the frame is minimised or maximised.
    frame_->MoveWindow(CRect(100, 60, 800, 700));
    frame_->UpdateEmbeddedHelpPosition(SIZE_MINIMIZED, 0, 0);
    frame_->UpdateEmbeddedHelpPosition(SIZE_MAXIMIZED, 0, 0);
    EXPECT_EQ(rectOf(help), moves[1].help);

    // Closing is posted: the frame forgets the window at once, the window goes later.
    const HWND window = help->m_hWnd;
    frame_->CloseEmbeddedHelp();
    EXPECT_EQ(frame_->GetEmbeddedHelpFrame(), nullptr);
    EXPECT_TRUE(::IsWindow(window));
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(rectOf(frame_), before) << "the frame gets back the room it had when the help came";
}

TEST_F(FrameCommandsTest, TheHelpWindowGoesWithoutAPageAndWithItsFrame) {
    // Without a page the window is destroyed and forgotten.
    ASSERT_TRUE(frame_->ShowEmbeddedHelp(L"tutor.htm"));
    HWND window = frame_->GetEmbeddedHelpFrame()->m_hWnd;
    EXPECT_TRUE(frame_->ShowEmbeddedHelp(nullptr));
    EXPECT_EQ(frame_->GetEmbeddedHelpFrame(), nullptr);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(frame_->ShowEmbeddedHelp(nullptr)) << "nothing to destroy is no failure";

    // A frame that goes takes its help window along.
    ASSERT_TRUE(frame_->ShowEmbeddedHelp(L"tutor.htm"));
    window = frame_->GetEmbeddedHelpFrame()->m_hWnd;
    frame_->DestroyWindow();
    frame_ = nullptr;
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(window));

    // A help window posted to close outlives the frame's tools without reaching them.
    {
        auto* frame = new EngineFrame;
        ASSERT_TRUE(
            frame->Create(nullptr, L"Second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        ASSERT_TRUE(frame->ShowEmbeddedHelp(L"tutor.htm"));
        window = frame->GetEmbeddedHelpFrame()->m_hWnd;
        frame->CloseEmbeddedHelp();
        frame->DestroyWindow();
    }
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(window));

    // Without a frame there is no help window to make.
    CFrameToolsEngine detached;
    EXPECT_FALSE(detached.ShowEmbeddedHelp(L"tutor.htm"));
    EXPECT_EQ(detached.GetEmbeddedHelpFrame(), nullptr);
}

TEST_F(FrameCommandsTest, DocumentViewsAndFramelessBarsTakeTheAutoMenuOptions) {
    ASSERT_TRUE(frame_->InitFramelessToolBars());
    Dravik::UI::FramelessToolBars* frameless = frame_->GetFramelessToolBars();
    frame_->framelessAutoMenu =
        frameless->AddFramelessBar(L"Auto menu", 3001, 1, Dravik::UI::kViewTypesAll, 0);
    frame_->framelessView = frameless->AddFramelessBar(L"View", 3002, 2, Dravik::UI::kViewTypesAll, 1);
    frame_->drawingView = frameless->AddFramelessBar(L"Drawing view", 3004, 8, Dravik::UI::kViewTypesAll, 1);
    Dravik::UI::FramelessToolBar* filters =
        frameless->AddFramelessBar(L"Filters", 3003, 4, Dravik::UI::kViewTypesAll, 3);
    // Two document windows, each with a kernel view hosting bars; the second is active.
    std::vector<HostingView*> views;
    for (int i = 0; i < 2; ++i) {
        CMDIChildWnd* child = addChild();
        auto* view = new HostingView;
        ASSERT_TRUE(view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), child,
                                 AFX_IDW_PANE_FIRST));
        views.push_back(view);
        frame_->MDIActivate(child);
    }

    struct Case {
        CSize frameIcons;
        SIZE appIcons;
        bool framelessLarge;
        CSize barIcons; // the auto-menu bars' large or normal size
    };
    const Case cases[] = {
        {{16, 16}, {16, 16}, false, {16, 16}},
        {{16, 16}, {24, 24}, false, {24, 24}},
        {{32, 32}, {32, 32}, true, {32, 32}},
        {{24, 24}, {32, 24}, false, {24, 24}},
    };
    CXTPCommandBarsOptions* frameOptions = frame_->GetCommandBars()->GetCommandBarsOptions();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.appIcons.cx) + "x" + ::testing::PrintToString(c.appIcons.cy));
        frameOptions->szIcons = c.frameIcons;
        frameOptions->bToolBarScreenTips = !frameOptions->bToolBarScreenTips;
        app_->iconSize = c.appIcons;
        frame_->ApplyCommandBarOptions(false);
        EXPECT_EQ(frameless->GetCommandBarsOptions()->bLargeIcons, c.framelessLarge);
        for (HostingView* view : views) {
            const CXTPCommandBarsOptions* hosted = view->bars->GetCommandBarsOptions();
            EXPECT_EQ(hosted->szIcons, c.frameIcons);
            EXPECT_EQ(hosted->bLargeIcons, c.framelessLarge);
            EXPECT_EQ(hosted->bToolBarScreenTips, frameOptions->bToolBarScreenTips);
        }
        for (Dravik::UI::FramelessToolBar* bar :
             {frame_->framelessAutoMenu, frame_->framelessView, frame_->drawingView})
            EXPECT_EQ(bar->GetIconSize(), c.barIcons) << pal::text::toUtf8(bar->GetTitle().GetString());
        EXPECT_EQ(filters->GetIconSize(), CSize(0, 0)) << "the filters keep the frameless bars' own size";
    }
}

} // namespace
