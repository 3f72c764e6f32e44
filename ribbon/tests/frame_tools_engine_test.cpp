#include "frame_tools_fixture.h"

#include "ribbon/ApplicationMode.h"
#include "ribbon/FrameToolsEngine.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/HiddenErrors.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/AutoMenu.h"
#include "XTToolkitPro.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "panels/ManipPanel.h"
#include "panels/StatusLine.h"
#include "panels/SysPanelToolbar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

using dvribbon::test::EngineFrame;
using dvribbon::test::PaneApplication;

// Every pane the engine knows.
const std::set<int> kAllPanes = {1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014,
                                 1015, 1017, 1019, 1020, 1021, 1022, 1023, 1025, 1027, 1028, 1029, 1030,
                                 1031, 1032, 1033, 1034, 1035, 1036, 1038, 1039, 1040, 1041};

class FrameToolsEngineTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    }
    void TearDown() override {
        for (EngineFrame* frame : frames_)
            if (::IsWindow(frame->m_hWnd))
                frame->DestroyWindow();
        pal::test::pump();
        frames_.clear();
        app_.reset();
        SetFixedEditionCode(0);
        pal::test::resetMonitors();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    PaneApplication* makeApplication(std::set<int> panes) {
        app_ = std::make_unique<PaneApplication>(std::move(panes));
        return app_.get();
    }
    EngineFrame* makeFrame(std::set<int> panes, size_t frameCount = 1) {
        if (!app_)
            makeApplication(std::move(panes));
        app_->frames = frameCount;
        auto* frame = new EngineFrame;
        frame->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 1220, 760));
        frames_.push_back(frame);
        frame->RecalcLayout();
        pal::test::pump();
        return frame;
    }
    // A frame deletes itself with its window.
    void destroyFrame(EngineFrame* frame) {
        frames_.erase(std::find(frames_.begin(), frames_.end(), frame));
        frame->DestroyWindow();
        pal::test::pump();
    }
    static std::set<int> openPanes(EngineFrame* frame) {
        std::set<int> open;
        for (CXTPDockingPane* pane : frame->panes.GetPaneList())
            if (!pane->IsClosed())
                open.insert(pane->GetID());
        return open;
    }
    std::unique_ptr<PaneApplication> app_;
    std::vector<EngineFrame*> frames_;
};

TEST_F(FrameToolsEngineTest, TheFirstFrameOpensItsWorkingPanesByModeWithTheDocumentsBrowserSelected) {
    struct Case {
        std::uint32_t mode;
        std::set<int> open;
    };
    const Case cases[] = {
        {0, {1004, 1006, 1007, 1017, 1022}},
        {128, {1004, 1006, 1007, 1022}},
        {256, {1004, 1007, 1022}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SetFixedEditionCode(c.mode);
        EngineFrame* frame = makeFrame(kAllPanes);
        ASSERT_TRUE(frame->created);
        EXPECT_EQ(frame->panes.GetPaneList().size(), kAllPanes.size());
        EXPECT_EQ(openPanes(frame), c.open);
        EXPECT_TRUE(frame->panes.FindPane(1004)->IsSelected());
        // The group below the left one shows its first open pane.
        if (c.open.count(1017) != 0) {
            EXPECT_TRUE(frame->panes.FindPane(1017)->IsSelected());
        }
        ASSERT_NE(frame->GetManipPanel(1), nullptr);
        EXPECT_EQ(frame->GetManipPanel(2)->GetPanelNumber(), 2);
        destroyFrame(frame);
    }
}

TEST_F(FrameToolsEngineTest, ASecondFrameStartsWithEveryPaneClosed) {
    EngineFrame* frame = makeFrame(kAllPanes, 2);
    ASSERT_TRUE(frame->created);
    EXPECT_EQ(frame->panes.GetPaneList().size(), kAllPanes.size());
    EXPECT_TRUE(openPanes(frame).empty());
}

TEST_F(FrameToolsEngineTest, PanesTheApplicationDoesNotOfferAreNotMadeAndTheirCommandsFindNothing) {
    EngineFrame* frame = makeFrame({1004, 1007});
    ASSERT_TRUE(frame->created);
    EXPECT_EQ(frame->panes.GetPaneList().size(), 2u);
    EXPECT_EQ(frame->FindPaneByCommand(783), frame->panes.FindPane(1004));
    EXPECT_EQ(frame->FindPaneByCommand(785), nullptr);
    // The properties pane shows the frame's placeholder.
    EXPECT_EQ(frame->panes.FindPane(1007)->GetChildHwnd(),
              frame->GetPropertiesWindowPlaceholder(false)->m_hWnd);
}

TEST_F(FrameToolsEngineTest, WithoutEarlierLeftPanesTheQualityPaneDocksRightAndLaterLeftPanesJoinIt) {
    EngineFrame* frame = makeFrame({1032, 1036, 1041, 1023});
    ASSERT_TRUE(frame->created);
    CXTPDockingPane* quality = frame->panes.FindPane(1032);
    for (const int id : {1036, 1041})
        EXPECT_EQ(frame->panes.FindPane(id)->GetContainer(), quality->GetContainer()) << id;
    EXPECT_NE(frame->panes.FindPane(1023)->GetContainer(), quality->GetContainer());
    frame->panes.ShowPane(1032, FALSE);
    pal::test::pump();
    frame->RecalcLayout();
    pal::test::pump();
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    const CRect paneRect = quality->GetPaneWindowRect();
    EXPECT_FALSE(paneRect.IsRectEmpty());
    EXPECT_GT(paneRect.left, frameRect.CenterPoint().x);
}

TEST_F(FrameToolsEngineTest, PaneToggleCommandsFindTheirPanes) {
    EngineFrame* frame = makeFrame(kAllPanes);
    struct Case {
        UINT command;
        int pane; // 0: none
    };
    const Case cases[] = {{781, 0},    {782, 1003}, {783, 1004}, {786, 1017}, {791, 1015}, {799, 1028},
                          {800, 0},    {805, 0},    {810, 0},    {811, 1007}, {814, 1019}, {818, 1032},
                          {823, 1038}, {826, 1041}, {827, 0},    {1004, 0},   {0, 0}};
    for (const Case& c : cases) {
        CXTPDockingPane* pane = frame->FindPaneByCommand(c.command);
        EXPECT_EQ(pane ? pane->GetID() : 0, c.pane) << c.command;
    }
    CFrameToolsEngine detached;
    EXPECT_EQ(detached.FindPaneByCommand(783), nullptr);
}

TEST_F(FrameToolsEngineTest, StateDataListsTheModuleKeysByFlags) {
    CFrameToolsEngine engine;
    const std::wstring section = engine.GetCurrentSection();
    struct Case {
        unsigned flags;
        bool has2D, has3D;
    };
    const Case cases[] = {{0, false, false}, {1, true, true},  {2, true, false},
                          {4, false, true},  {8, false, true}, {16, false, false}};
    for (const Case& c : cases) {
        std::vector<std::wstring> keys;
        engine.GetStateData(c.flags, keys);
        std::vector<std::wstring> expected = {section + L"\\Hidden Errors", section + L"\\PagesTabCtrl",
                                              section + L"\\ExpandedDialog"};
        if (c.has2D)
            expected.push_back(section + L"\\2D");
        if (c.has3D)
            expected.push_back(section + L"\\3D");
        EXPECT_EQ(keys, expected) << c.flags;
    }
    EXPECT_EQ(engine.GetVersion(), 1u);
}

// Tabs that the engine gives Ctrl+1, Ctrl+2 and Ctrl+3, and one it leaves alone.
constexpr GUID kCtrl1Tab = {0x2557C777, 0x3AA3, 0x4DE3, {0x9C, 0x16, 0x10, 0x8D, 0x2E, 0x13, 0xBB, 0x03}};
constexpr GUID kCtrl2Tab = {0xD773CF70, 0x44FC, 0x4055, {0xAC, 0xC1, 0xFA, 0x1A, 0xB0, 0xFD, 0xB9, 0x5A}};
constexpr GUID kCtrl3Tab = {0x84452293, 0x56D2, 0x4E91, {0xBF, 0x71, 0xBD, 0xD2, 0xEE, 0xD1, 0xB4, 0xD5}};
constexpr GUID kOtherTab = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

std::vector<DefaultToolBarRow> defaultToolBars() {
    return {
        {L"Drawing", kCtrl2Tab, 0, true, 1, {1075, 0, 1101, 1102, 1103}},
        {L"Views", kOtherTab, 0, true, 1, {1075, 0, 1201}},
        {L"Standard", {}, 1065, true, 2, {1001, 1002, 0, 1003}},
        {L"Edit", {}, 1070, true, 3, {1301, 1302}},
        {L"Selection", {}, 1063, false, 4, {1401}},
        {L"Snaps", {}, 1071, true, 5, {1501, 1502}},
        {L"Layers", {}, 1080, true, 6, {1601, 0, 1602}},
        {L"Hidden", {}, 1090, false, 9, {1701}},
        {L"Model", kCtrl1Tab, 0, true, 1, {1075, 0, 1801}},
        {L"Sheets", kCtrl3Tab, 0, true, 1, {1075, 0, 1901}},
    };
}

TEST_F(FrameToolsEngineTest, TheDefaultToolBarsGoWhereTheirKindSays) {
    makeApplication(kAllPanes)->toolBars = defaultToolBars();
    EngineFrame* frame = makeFrame({});
    ASSERT_TRUE(frame->created);
    CXTPCommandBars* bars = frame->GetCommandBars();
    struct Case {
        UINT barId;
        XTPBarPosition position;
        bool visible;
        int buttons; // separators start groups, they are no controls
    };
    const Case cases[] = {
        {1065, xtpBarTop, true, 3},    {1070, xtpBarLeft, true, 2},   {1063, xtpBarRight, false, 1},
        {1071, xtpBarBottom, true, 2}, {1080, xtpBarBottom, true, 2}, {1090, xtpBarNone, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.barId);
        CXTPToolBar* bar = bars->GetToolBar(c.barId);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetPosition(), c.position);
        EXPECT_EQ(bar->IsVisible() != FALSE, c.visible);
        EXPECT_EQ(bar->GetControls()->GetCount(), c.buttons);
    }
    for (const UINT remembered : {1063u, 1065u, 1070u, 1071u})
        EXPECT_EQ(frame->GetRememberedToolBar(remembered), bars->GetToolBar(remembered)) << remembered;
    EXPECT_EQ(frame->GetRememberedToolBar(1080), nullptr);

    // Every kind-1 row is a tab of the one tabbed bar; each key goes to its tab once that exists.
    ASSERT_NE(frame->tabbedBar, nullptr);
    EXPECT_EQ(frame->GetTabbedMainToolBar(), frame->tabbedBar.get());
    EXPECT_EQ(frame->tabbedBar->GetToolBar()->GetBarID(), CFrameToolsEngine::kTabbedMainToolBarId);
    EXPECT_EQ(frame->tabbedBar->tabs, (std::vector<std::wstring>{L"Drawing", L"Views", L"Model", L"Sheets"}));
    EXPECT_EQ(frame->tabbedBar->keys, (std::vector<std::pair<std::wstring, WORD>>{
                                          {L"Drawing", '2'}, {L"Model", '1'}, {L"Sheets", '3'}}));

    // Kind 6 stands right of the last visible bar before it (here the bottom one), on its row.
    CRect snaps, layers;
    bars->GetToolBar(1071)->GetWindowRect(&snaps);
    bars->GetToolBar(1080)->GetWindowRect(&layers);
    EXPECT_GE(layers.left, snaps.right);
    EXPECT_EQ(layers.top, snaps.top);

    CXTPToolBar* systemPanel = frame->GetSystemPanelToolBar();
    ASSERT_NE(systemPanel, nullptr);
    EXPECT_EQ(systemPanel->GetBarID(), CFrameToolsEngine::kSystemPanelToolBarId);
    EXPECT_TRUE(systemPanel->IsVisible());
}

TEST_F(FrameToolsEngineTest, TheAutoMenuBarStandsAtTheLeftAndTakesTheFramesOptions) {
    EngineFrame* frame = makeFrame({1004});
    ASSERT_NE(frame->GetAutoMenuToolBar(), nullptr);
    EXPECT_EQ(frame->GetAutoMenuToolBar()->GetPosition(), xtpBarLeft);
    EXPECT_EQ(frame->GetAutoMenuCommandBars()->GetSite(), frame);

    struct Case {
        CSize frameIcons;
        SIZE appIcons;
        CSize largeIcons;
        BOOL large;
    };
    const Case cases[] = {
        {{16, 16}, {24, 24}, {24, 24}, TRUE},
        {{24, 24}, {16, 16}, {24, 24}, FALSE},
        {{32, 32}, {32, 32}, {32, 32}, TRUE},
        {{32, 24}, {24, 24}, {32, 24}, TRUE},
    };
    CXTPCommandBarsOptions* frameOptions = frame->GetCommandBars()->GetCommandBarsOptions();
    CXTPCommandBarsOptions* autoMenu = frame->GetAutoMenuCommandBars()->GetCommandBarsOptions();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.frameIcons.cx) + "x" +
                     ::testing::PrintToString(c.frameIcons.cy));
        frameOptions->szIcons = c.frameIcons;
        frameOptions->bToolBarAccelTips = !frameOptions->bToolBarAccelTips;
        app_->iconSize = c.appIcons;
        frame->ApplyCommandBarOptions(true);
        EXPECT_EQ(autoMenu->szIcons, c.frameIcons);
        EXPECT_EQ(autoMenu->szLargeIcons, c.largeIcons);
        EXPECT_EQ(autoMenu->bLargeIcons, c.large);
        EXPECT_EQ(autoMenu->bToolBarAccelTips, frameOptions->bToolBarAccelTips);
    }
}

TEST_F(FrameToolsEngineTest, TheFramelessToolBarsTakeTheMainBarsShortcuts) {
    EngineFrame* frame = makeFrame({1004});
    ASSERT_TRUE(frame->InitFramelessToolBars());
    const ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'N', 1001}, {FALT | FVIRTKEY, VK_F4, 1002}};
    frame->GetCommandBars()->GetShortcutManager()->SetAccelerators(keys, 2);
    frame->CopyShortcutsToFramelessToolBars();
    CXTPShortcutManager* frameless = frame->GetFramelessToolBars()->GetShortcutManager();
    for (const int command : {1001, 1002}) {
        CString main, copied;
        ASSERT_TRUE(frame->GetCommandBars()->GetShortcutManager()->FindDefaultAccelerator(command, main));
        ASSERT_TRUE(frameless->FindDefaultAccelerator(command, copied)) << command;
        EXPECT_EQ(copied, main);
    }
    CString none;
    EXPECT_FALSE(frameless->FindDefaultAccelerator(1003, none));
}

TEST_F(FrameToolsEngineTest, TheManipulatorEditionsReadTheKernelsManipulatorOptions) {
    for (const std::uint32_t mode : {0u, 16u, 128u, 256u, 512u}) {
        SCOPED_TRACE(mode);
        SetFixedEditionCode(mode);
        dvtrace::test::clear();
        EngineFrame* frame = makeFrame({1004});
        const auto calls = dvtrace::test::callsOf("DravikKernel");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "CMainpulatorOptions::CMainpulatorOptions()"),
                  mode == 128 || mode == 512 ? 1 : 0);
        destroyFrame(frame);
    }
}

TEST_F(FrameToolsEngineTest, TheSystemPanelBarIsHiddenInMode256) {
    SetFixedEditionCode(256);
    EngineFrame* frame = makeFrame({1004});
    ASSERT_TRUE(frame->created);
    EXPECT_FALSE(frame->GetSystemPanelToolBar()->IsVisible());
}

TEST_F(FrameToolsEngineTest, TheSystemPanelBarKnowsItsControlsOnceItIsMade) {
    EngineFrame* frame = makeFrame({1004});
    ASSERT_TRUE(frame->created);
    auto* panel = dynamic_cast<CSysPanelToolbar*>(frame->GetSystemPanelToolBar());
    ASSERT_NE(panel, nullptr);
    for (int id : {904, 907, 914, 2701})
        EXPECT_NE(panel->FindControlById(id), nullptr) << id;
    // The bar's definition asks for them by id, and gets the registered ones.
    XTP_COMMANDBARS_CREATECONTROL request;
    request.nID = 907;
    ASSERT_TRUE(panel->OnCreateControl(request));
    EXPECT_EQ(request.pControl, panel->FindControlById(907));
    request.pControl->InternalRelease();
}

TEST_F(FrameToolsEngineTest, WithoutItsTabbedBarTheFrameIsNotMadeAndNoTabIsAdded) {
    makeApplication({1004, 1007})->toolBars = defaultToolBars();
    auto* frame = new EngineFrame;
    frame->tabbedBarFails = true;
    EXPECT_FALSE(frame->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW, CRect(20, 20, 820, 620)));
    pal::test::pump();
    // The failed frame is gone with its window; a frame made next works.
    app_->toolBars.clear();
    EXPECT_TRUE(makeFrame({})->created);
}

TEST_F(FrameToolsEngineTest, BuildingTheFrameIsTimedInTheLog) {
    dvlog::test::clearCapture();
    makeFrame({1004});
    const std::vector<std::string> lines = dvlog::test::capturedAt(2);
    auto logged = [&](const std::string& start) {
        for (const std::string& line : lines)
            if (line.rfind(start, 0) == 0 && line.size() > start.size() + 7 &&
                line.substr(line.size() - 3) == " ms")
                return true;
        return false;
    };
    EXPECT_TRUE(logged("Initialized docking panes in ")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(logged("Initialized tool bars in ")) << ::testing::PrintToString(lines);
}

TEST_F(FrameToolsEngineTest, TheFramesSettingsTravelWithTheProfile) {
    DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\Test");
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    AnnotateModuleProxy::Attach();
    EngineFrame* frame = makeFrame({1004});
    GetHiddenErrorCont().Hide(L"Sketch not closed");
    EXPECT_EQ(frame->SaveState(), 0);
    GetHiddenErrorCont().Show(L"Sketch not closed");
    GetHiddenErrorCont().Hide(L"Shown again later");

    // Options the frame took meanwhile reach the auto-menu bars before the settings load.
    frame->GetCommandBars()->GetCommandBarsOptions()->szIcons = CSize(32, 32);

    dvtrace::test::clear();
    EXPECT_EQ(frame->LoadState(), 0);
    EXPECT_EQ(GetHiddenErrorCont().GetHidden(), std::set<std::wstring>{L"Sketch not closed"});
    EXPECT_EQ(frame->GetAutoMenuCommandBars()->GetCommandBarsOptions()->szIcons, CSize(32, 32));
    const std::string section = "Software\\Dravik\\Test\\" + pal::text::toUtf8(frame->GetCurrentSection());
    const auto calls = dvtrace::test::callsOf("DravikKernel");
    for (const std::string& call : {"CDVCom_Is3D::LoadState(" + section + "\\3D)",
                                    "AnnotateModuleProxy::LoadState(" + section + "\\2D)"})
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end())
            << call << ::testing::PrintToString(calls);

    // Without its frame the engine loads nothing of its own.
    CFrameToolsEngine detached;
    EXPECT_EQ(detached.LoadState(), 1);
    GetHiddenErrorCont().Show(L"Sketch not closed");
    AnnotateModuleProxy::Detach();
}

TEST_F(FrameToolsEngineTest, MessageStringsComeFromTheKernelTheAutoMenuOrTheRunningCommand) {
    EngineFrame* frame = makeFrame({1004});
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D::SetCommandString(1500, L"  Extrude a sketch  ");
    Dravik::UI::AutoMenuController controller;
    controller.SetButtons({{6001, 0, L"Ok", L"Finish the command"}});
    struct Case {
        UINT id;
        int activeCommand;
        bool found;
        std::wstring text;
    };
    const Case cases[] = {
        {1500, 0, true, L"Extrude a sketch"},
        {1502, 0, false, L""},
        {3401, 0, false, L""},
        {999, 0, false, L""},
        {6001, 0, true, L"Finish the command"},
        {6002, 0, false, L""},
        {57345, 0, true, L">"},
        {57345, 1500, true, L"Extrude a sketch"},
        {57345, 1502, true, L">"},
        {57344, 0, false, L""},
        {7000, 0, false, L""},
    };
    for (const Case& c : cases) {
        frame->activeCommand = c.activeCommand;
        std::wstring text;
        EXPECT_EQ(frame->CFrameToolsEngine::GetMessageString(c.id, text), c.found) << c.id;
        if (c.found) {
            EXPECT_EQ(text, c.text) << c.id;
        }
    }
}

// Posted commands reach the frame's command handling; the test reads them off the queue.
std::vector<UINT> postedCommands(HWND frame) {
    std::vector<UINT> commands;
    MSG msg;
    while (::PeekMessageW(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        commands.push_back(LOWORD(msg.wParam));
    return commands;
}

TEST_F(FrameToolsEngineTest, TypedCodesRunTheOneCommandTheyPick) {
    DVCommandContainer& commands = DVCommandContainer::Instance();
    commands.RegisterCommand(1100, L"LA:Label", {});
    commands.RegisterCommand(1101, L"li:Line", {});
    commands.RegisterCommand(1102, L"CIR:Circle by radius", {});
    commands.RegisterCommand(1103, L"CI:Circle", {});
    commands.RegisterCommand(1104, L"A1:Arc", {});
    commands.RegisterCommand(1108, L"A2:Arc by three points", {});
    commands.RegisterCommand(1105, L":No code", {});
    commands.RegisterCommand(1106, L"PLAIN", {});
    commands.RegisterCommand(1107, L"FF:Fillet", {});
    // Names after an exact code with the same start are never reached.
    commands.RegisterCommand(1109, L"A15:Arc by centre", {});
    commands.RegisterCommand(1110, L"A9:Arc by tangent", {});
    commands.RegisterCommand(1113, L"GG:Grid", {});
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D::SetCommandAvailable(1107, false);
    // A zero result with a zero state is no refusal: only a non-zero state refuses.
    CDVCom_Is3D::SetCommandStateAnswer(1113, 0, 0);

    EngineFrame* frame = makeFrame({1004});
    // The focus in a window of the frame: its first child.
    const HWND child = ::GetWindow(frame->m_hWnd, GW_CHILD);
    ASSERT_NE(child, nullptr);
    ::SetFocus(child);
    postedCommands(frame->m_hWnd);

    struct Case {
        std::vector<UINT> keys;
        std::vector<UINT> posted;
        std::wstring prompt, code; // after the last key
    };
    const Case cases[] = {
        {{'L', 'I'}, {1101}, L"", L""},        // unique prefix
        {{'C'}, {}, L">C", L"C"},              // ambiguous prefix waits
        {{'C', 'I'}, {}, L">CI", L"CI"},       // exact code, an earlier name counts
        {{'C', 'I', 'R'}, {1102}, L"", L""},   // then unique
        {{'C', VK_ESCAPE}, {}, L">", L""},     // Esc clears
        {{'A', VK_NUMPAD1}, {1104}, L"", L""}, // numpad digits; A15 after A1 is not counted
        {{'A', VK_NUMPAD9}, {1110}, L"", L""}, // the last numpad digit
        {{'G'}, {1113}, L"", L""},             // zero result, zero state: available
        {{'C', VK_F1}, {}, L">C", L"C"},       // function keys never add
        {{'X'}, {}, L">", L""},                // no command
        {{'F', 'F'}, {}, L">", L""},           // not available: not run
        {{VK_SPACE}, {2924}, L"", L""},        // Space without a code
        {{'C', VK_SPACE}, {}, L">C", L"C"},    // Space with a code: ignored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.keys));
        app_->GetTypedCommandCode().clear();
        frame->GetStatusLine()->SetMessage(L"");
        for (const UINT key : c.keys)
            frame->OnTypedCommandKey(key);
        EXPECT_EQ(postedCommands(frame->m_hWnd), c.posted);
        EXPECT_EQ(app_->GetTypedCommandCode(), c.code);
        // A command that runs shows its kernel string, which these commands lack.
        EXPECT_EQ(frame->GetStatusLine()->GetMessage(), c.prompt);
    }

    // Only Space is taken; the other keys go on to the frame.
    app_->GetTypedCommandCode().clear();
    EXPECT_TRUE(frame->OnTypedCommandKey(VK_SPACE));
    EXPECT_FALSE(frame->OnTypedCommandKey('L'));

    // No typed commands while a command runs, when the 3D module refuses them, or without focus in the frame.
    app_->GetTypedCommandCode().clear();
    frame->activeCommand = 1500;
    EXPECT_FALSE(frame->OnTypedCommandKey(VK_SPACE));
    frame->activeCommand = 0;
    CDVCom_Is3D::SetTypedCommandsAllowed(false);
    EXPECT_FALSE(frame->OnTypedCommandKey(VK_SPACE));
    CDVCom_Is3D::SetTypedCommandsAllowed(true);
    ::SetFocus(nullptr);
    EXPECT_FALSE(frame->OnTypedCommandKey(VK_SPACE));
    postedCommands(frame->m_hWnd);
}

TEST_F(FrameToolsEngineTest, TheAutoMenuBarTakesItsRoomAlongTheLeftEdgeBesideTheFramesBars) {
    Dravik::UI::AutoMenuController controller;
    makeApplication({1004, 1006})->toolBars = {
        {L"Standard", {}, 1065, true, 2, {1001, 1002}},
        {L"Edit", {}, 1070, true, 3, {1301, 1302}},
    };
    EngineFrame* frame = makeFrame({1004, 1006});
    ASSERT_TRUE(frame->created);
    controller.SetButtons({{6001, 0, L"Point", L"A point"}, {6002, 0, L"Chain", L"Lines in a chain"}});
    frame->RecalcLayout();
    pal::test::pump();

    Dravik::UI::AutoMenuToolBar* autoMenu = frame->GetAutoMenuToolBar();
    ASSERT_NE(autoMenu, nullptr);
    ASSERT_TRUE(::IsWindow(autoMenu->GetSafeHwnd()));
    EXPECT_TRUE(autoMenu->IsWindowVisible());
    auto clientRectOf = [&](HWND window) {
        CRect rect;
        ::GetWindowRect(window, &rect);
        frame->ScreenToClient(&rect);
        return rect;
    };
    const CRect bar = clientRectOf(autoMenu->m_hWnd);
    const CRect edit = clientRectOf(frame->GetRememberedToolBar(1070)->m_hWnd);
    const CRect standard = clientRectOf(frame->GetRememberedToolBar(1065)->m_hWnd);
    const CRect client = clientRectOf(frame->m_hWndMDIClient);
    const CRect panes = clientRectOf(frame->panes.FindPane(1004)->GetTabbedContainer()->m_hWnd);
    EXPECT_GT(bar.Width(), 0);
    EXPECT_GT(bar.Height(), 0);
    EXPECT_EQ(bar.left, edit.right) << "beside the frame's own left bar";
    EXPECT_GE(bar.top, standard.bottom) << "under the top bars";
    EXPECT_GE(panes.left, bar.right) << "the panes and the documents keep clear of it";
    EXPECT_GE(client.left, bar.right);
}

TEST_F(FrameToolsEngineTest, PanesShowTheIconsOfTheirCommands) {
    EngineFrame* frame = makeFrame(kAllPanes);
    ASSERT_TRUE(frame->created);
    // The PDM panes have none; the PDM assembly pane's window brings its own.
    const std::set<int> without = {1012, 1013, 1014, 1015, 1019, 1027, 1033, 1040};
    for (CXTPDockingPane* pane : frame->panes.GetPaneList()) {
        SCOPED_TRACE(pane->GetID());
        EXPECT_EQ(frame->panes.GetPaneIcon(pane) != nullptr, without.count(pane->GetID()) == 0);
    }
    // The PDM assembly pane shows the icon its window has.
    CWnd* assembly = CFrameToolsEngine::GetPaneWindow(1019);
    ASSERT_NE(assembly, nullptr);
    const HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
    ASSERT_NE(icon, nullptr);
    assembly->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    EngineFrame* second = makeFrame(kAllPanes, 2);
    EXPECT_NE(second->panes.GetPaneIcon(second->panes.FindPane(1019)), nullptr);
    assembly->SendMessage(WM_SETICON, ICON_SMALL, 0);
    // Panes of one command share its icon: the task pane and the simulation results' pane.
    EXPECT_EQ(frame->panes.FindPane(1008)->GetIconID(), frame->panes.FindPane(1041)->GetIconID());
}

TEST_F(FrameToolsEngineTest, AFirstFrameShowsItsPanesForAPersonToSee) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    ASSERT_TRUE(Dravik::I18n::LoadCatalogue(
        (std::filesystem::path(source ? source : ".") / "ribbon/tests/fixtures/panes.lng")
            .wstring()
            .c_str()));
    Dravik::UI::AutoMenuController autoMenu;
    makeApplication(kAllPanes)->toolBars = defaultToolBars();
    EngineFrame* frame = makeFrame(kAllPanes);
    ASSERT_TRUE(frame->created);
    // The auto menu of a running command, down the left edge.
    autoMenu.SetButtons({{6001, 0, L"Point", L""}, {6002, 0, L"Chain", L""}, {6003, 0, L"Tangent", L""}});
    for (const int id : {1005, 1023})
        frame->panes.ShowPane(id, FALSE);
    frame->panes.FindPane(1004)->Select();
    // The program's commands carry their names and icons; here the buttons show names.
    const std::map<UINT, const wchar_t*> names = {
        {1001, L"New"},  {1002, L"Open"},  {1003, L"Save"},   {1101, L"Line"},   {1102, L"Circle"},
        {1103, L"Arc"},  {1301, L"Undo"},  {1302, L"Redo"},   {1401, L"Select"}, {1501, L"Grid"},
        {1502, L"Snap"}, {1601, L"Layer"}, {1602, L"Colour"}, {1701, L"Hidden"}, {1075, L"Tabs"}};
    CXTPCommandBars* bars = frame->GetCommandBars();
    for (int i = 0; i < bars->GetCount(); ++i) {
        for (CXTPControl* control : *bars->GetAt(i)->GetControls()) {
            const auto name = names.find(control->GetID());
            control->SetCaption(name != names.end() ? name->second : L"?");
            control->SetStyle(xtpButtonCaption);
        }
        bars->GetAt(i)->OnRecalcLayout();
    }
    frame->RecalcLayout();
    pal::test::pump();
    const std::string name = "frame_tools_first_frame";
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, name));
}

} // namespace
