// The main frame's routing on the null display: the order a command is offered to its
// listeners, the keys kept from the shortcuts, the frame's answers to help and shell requests,
// its command table at the edges of its ranges, and the guard its procedures run in.
#include "frame/MainFrame.h"
#include "frame/MainFrameRouting.h"
#include "frame/TabToolBar.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/GenerateDumpFile.h"
#include "DVDiagnostics/test/hooks.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/PopupToolBar.h"
#include "DravikUI/TabView.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "afxres.h"
#include "drawing_fixture.h"
#include "frame_fixtures.h"
#include "frame_sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/recording_cmd_ui.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "ribbon/FrameToolsApplication.h"
#include "win/global_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using frame_test::fixture;
using frame_test::loadState;
namespace XML = Dravik::UI::XML;
using Seq = std::vector<std::string>;

constexpr UINT kDrawingResource = 430;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"}};
AFX_STRING_TABLE(kStrings);

CWinApp application(L"Dravik");

// Everything the routing asks is written down in order; each listener answers as told.
class Recorder : public MainFrameRouting {
public:
    Seq seq;
    bool moduleHandles = false;
    bool autoMenuTakes = false, framelessTakes = false;
    bool runningCommand = false;
    bool manipulatorEdit = false;
    HWND inputWindow = nullptr;
    HWND editBox = nullptr;
    UINT spaceMouse = 0;
    bool altMode = false;
    std::function<void()> duringPreTranslate;
    bool silencedDuringPreTranslate = false;
    CXTPShortcutManager* watched = nullptr;

    void PushCommandAction(CDvw32Doc& document, UINT id, const std::wstring& hint) override {
        seq.push_back("action " + std::to_string(id) + (hint.empty() ? "" : " with hint"));
        MainFrameRouting::PushCommandAction(document, id, hint);
    }
    std::wstring GetAutoMenuHint(UINT id) override { return L"hint " + std::to_wstring(id); }
    bool OfferToModuleProxy(UINT id, CDvw32Doc* document) override {
        seq.push_back("module proxy " + std::to_string(id));
        return moduleHandles;
    }
    bool OfferToBars(Bars which, CXTPCommandBars&, UINT message, WPARAM, LPARAM, LRESULT*) override {
        if (message != WM_COMMAND)
            return false;
        seq.push_back(which == Bars::AutoMenu ? "auto-menu bars" : "frameless bars");
        return which == Bars::AutoMenu ? autoMenuTakes : framelessTakes;
    }
    bool PreTranslateForBars(Bars which, CXTPCommandBars& bars, MSG&) override {
        if (which == Bars::AutoMenu) {
            seq.push_back("bars pre-translate");
            silencedDuringPreTranslate = watched != nullptr && watched->IsShortcutsDisabled();
            if (duringPreTranslate)
                duringPreTranslate();
        }
        return false;
    }
    UINT GetSpaceMouseMessage() override { return spaceMouse; }
    bool IsAltMode() override { return altMode; }
    void SetAltMode(int mode) override {
        seq.push_back("alt mode " + std::to_string(mode));
        altMode = mode != 0;
    }
    bool SuppressAccelerators(CView*) override { return runningCommand; }
    HWND GetInputWindow() override { return inputWindow; }
    bool HasVisibleManipulatorEdit(CMainFrame&) override { return manipulatorEdit; }
    bool IsEditBox(HWND window) override { return window != nullptr && window == editBox; }
};

// An add-on that writes down that it was asked and answers as told.
class AddOn : public CDVBaseApplication {
public:
    AddOn(std::wstring name, Seq& seq, bool handles)
        : CDVBaseApplication(name, name, L"", 0, false), name_(std::move(name)), seq_(seq),
          handles_(handles) {}
    bool IsLoaded() const override { return loaded; }
    bool loaded = true;
    bool OnWndMsgAddon(unsigned message, std::uintptr_t, std::intptr_t, std::intptr_t*) override {
        if (message == WM_COMMAND)
            seq_.push_back("add-on " + std::string(name_.begin(), name_.end()));
        return handles_;
    }

private:
    std::wstring name_;
    Seq& seq_;
    bool handles_;
};

// The report of a fault: the guard's context writes down that it reported.
class RecordingCrashContext : public GenerateDumpFileContextBase {
public:
    explicit RecordingCrashContext(int& reports) : reports_(reports) {}
    int ShowErrorDialog(const std::wstring&) override {
        ++reports_;
        return kClose;
    }

private:
    int& reports_;
};

class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }

    std::unique_ptr<GenerateDumpFileContextBase> CreateCrashContext() override {
        return std::make_unique<RecordingCrashContext>(reports);
    }
    CDvw32Doc* GetActiveDocument() const override { return activeDocument; }
    bool OnDDECommand(const CString& command) override {
        calls.push_back("run " + text(command));
        return true;
    }
    void QueueDDECommand(const CString& command) override { calls.push_back("queue " + text(command)); }
    bool ShowHelpTopic(UINT topic) override {
        calls.push_back("topic " + std::to_string(topic));
        return true;
    }
    bool ShowContextHelp() override {
        calls.push_back("context help");
        return true;
    }
    bool IsRibbonMode() const override { return true; }
    void SetRibbonMode(bool) override { throw std::runtime_error("ribbon mode failed"); }
    bool HasCommandLineInfo() const override { return printing; }
    void OnIdle(long count) override { calls.push_back("idle " + std::to_string(count)); }
    void EnableMainFrames(bool enable) override {
        if (failEnable)
            throw std::runtime_error("enable failed");
    }
    bool GetSaveAtExit() const override { return saveAtExit; }
    void SetSaveAtExit(bool save) override { saveAtExit = save; }
    void PrepareExit() override { calls.push_back("prepare exit"); }
    void OnMainFramePlaced(CWnd& frame) override { ++placements; }
    void OnMainWindowActivated(CWnd* frame) override {
        calls.push_back(frame != nullptr ? "main window" : "no main window");
    }
    // The PDM panes' windows a test made; none is made when asked.
    CWnd* GetOrsaArchivesWindow(bool, bool) override { return pdmWindows[1012]; }
    CWnd* GetOrsaDesktopWindow(bool, bool) override { return pdmWindows[1013]; }
    CWnd* GetOrsaFavoritesWindow(bool, bool) override { return pdmWindows[1014]; }
    CWnd* GetOrsaSearchWindow(bool, bool) override { return pdmWindows[1015]; }
    CWnd* GetOrsaMailWindow(bool, bool) override { return pdmWindows[1027]; }
    CWnd* GetOrsaAssemblyWindow(bool, bool) override { return pdmWindows[1019]; }
    std::map<int, CWnd*> pdmWindows;

    static std::string text(const CString& s) {
        std::string out;
        for (int i = 0; i < s.GetLength(); ++i)
            out += static_cast<char>(s[i]);
        return out;
    }

    std::vector<DefaultToolBarRow> toolBars;
    CDvw32Doc* activeDocument = nullptr;
    Seq calls;
    int reports = 0;
    bool failEnable = false;
    bool printing = false;
    bool saveAtExit = false;
    int placements = 0;
};

// The kernel's side of the end of a session: ending commands and keeping its state.
class Kernel : public DravikServerAppProxy {
public:
    void TerminateAllCommands(CDvw32Doc* document, bool all) override {
        ended.push_back(document);
        EXPECT_TRUE(all);
    }
    bool SaveState() override {
        ++saves;
        return true;
    }
    std::vector<CDvw32Doc*> ended;
    int saves = 0;
};

// The saved state of a frame as text.
std::string stateOf(CMainFrame& frame) {
    XML::Document document;
    frame.SaveXmlState(document.resetRoot(XML::TagNames::MainWindow));
    return document.toString();
}

bool saves(CMainFrame& frame, const std::string& attribute) {
    return stateOf(frame).find(attribute) != std::string::npos;
}

// What the frame's update handlers tick for a command.
bool ticked(CMainFrame* frame, UINT id) {
    pal::test::RecordingCmdUI ui;
    ui.m_nID = id;
    frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.checked == 1;
}

// The screen mode as the frame's full-screen and clean-screen items show it.
int screenMode(CMainFrame* frame) {
    return ticked(frame, 1254) ? 1 : ticked(frame, 2814) ? 2 : 0;
}

class PlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

class RoutingTest : public frame_test::FrameSandbox<Application> {
protected:
    void SetUp() override {
        FrameSandbox::SetUp();
        previous = MainFrameRouting::Install(&recorder);
    }
    void TearDown() override {
        destroyFrames();
        MainFrameRouting::Install(previous);
        FrameSandbox::TearDown();
    }
    CMainFrame* make() {
        CMainFrame* frame = CMainFrame::Create(*loadState("main_frame.xml"), true, true);
        pal::test::pump();
        return frame;
    }
    // A frame with a tabbed tool bar of two tabs.
    CMainFrame* makeWithTabs() {
        for (const wchar_t* name : {L"Draw", L"Edit"}) {
            DefaultToolBarRow row;
            row.name = name;
            row.kind = 1;
            row.ids = {57600, 57601};
            app->toolBars.push_back(row);
        }
        return make();
    }
    static LRESULT command(CMainFrame* frame, UINT id) {
        return frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    static MSG key(HWND hwnd, UINT vk, UINT message = WM_KEYDOWN) {
        MSG msg{};
        msg.hwnd = hwnd;
        msg.message = message;
        msg.wParam = vk;
        return msg;
    }

    Recorder recorder;
    MainFrameRouting* previous = nullptr;
};

TEST_F(RoutingTest, ACommandIsOfferedToEachListenerInTurnUntilOneTakesIt) {
    struct Case {
        const char* name;
        UINT id;
        bool document;
        bool moduleHandles;
        bool firstAddOnHandles;
        bool autoMenuTakes;
        Seq expected;
        bool reachesTheFrame; // 1254 switches to full screen when the frame's table runs it
    };
    const Seq addOnsAndBars = {"add-on A", "add-on B", "auto-menu bars", "frameless bars"};
    auto with = [&](Seq head) {
        head.insert(head.end(), addOnsAndBars.begin(), addOnsAndBars.end());
        return head;
    };
    const Case cases[] = {
        {"auto-menu id gets its hint", 6500, true, false, false, false,
         with({"action 6500 with hint", "module proxy 6500"}), false},
        {"6000 gets no hint", 6000, true, false, false, false, with({"action 6000", "module proxy 6000"}),
         false},
        {"7000 gets no hint", 7000, true, false, false, false, with({"action 7000", "module proxy 7000"}),
         false},
        {"no document, nothing recorded", 1254, false, false, false, false, with({"module proxy 1254"}),
         true},
        {"with a document the frame still runs it", 1254, true, false, false, false,
         with({"action 1254", "module proxy 1254"}), true},
        {"the module proxy ends it",
         1254,
         true,
         true,
         false,
         false,
         {"action 1254", "module proxy 1254"},
         false},
        {"an add-on hides it from later ones and the bars",
         1254,
         false,
         false,
         true,
         false,
         {"module proxy 1254", "add-on A"},
         false},
        {"the auto-menu bars end it",
         1254,
         false,
         false,
         false,
         true,
         {"module proxy 1254", "add-on A", "add-on B", "auto-menu bars"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(frame->GetFramelessToolBars(), nullptr) << "the frame makes its frameless bars";
        CDvw32Doc document;
        app->activeDocument = c.document ? &document : nullptr;
        CDVApplicationManager& addOns = CDVApplicationManager::Instance();
        CDVBaseApplication* a =
            addOns.AddApplication(std::make_unique<AddOn>(L"A", recorder.seq, c.firstAddOnHandles));
        CDVBaseApplication* b = addOns.AddApplication(std::make_unique<AddOn>(L"B", recorder.seq, false));
        recorder.seq.clear();
        recorder.moduleHandles = c.moduleHandles;
        recorder.autoMenuTakes = c.autoMenuTakes;

        command(frame, c.id);
        EXPECT_EQ(recorder.seq, c.expected);
        EXPECT_EQ(screenMode(frame) == 1, c.reachesTheFrame);
        if (c.document) {
            ASSERT_EQ(document.GetActionHistory().size(), 1u);
            EXPECT_EQ(document.GetActionHistory()[0].id, c.id);
            EXPECT_EQ(document.GetActionHistory()[0].hint, c.id == 6500 ? L"hint 6500" : L"");
        }
        for (CDVBaseApplication* addOn : {a, b}) {
            static_cast<AddOn*>(addOn)->loaded = false;
            addOns.RemoveApplication(addOn);
        }
        app->activeDocument = nullptr;
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RoutingTest, TheShortcutsAreSilencedForTheKeysAnEditBoxOrARunningCommandNeeds) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CView* view = new PlainView;
    ASSERT_TRUE(view->Create(nullptr, L"view", WS_CHILD, CRect(0, 0, 10, 10), frame, 4000));
    frame->SetActiveView(view, true);
    CEdit edit, input, other;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 10, 10), frame, 4001));
    ASSERT_TRUE(input.Create(WS_CHILD, CRect(0, 0, 10, 10), frame, 4002));
    ASSERT_TRUE(other.Create(WS_CHILD, CRect(0, 0, 10, 10), frame, 4003));
    // The keys pressed below reach this thread's queue, and its key state follows them.
    frame->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(frame->m_hWnd);
    edit.ShowWindow(SW_SHOW);
    edit.SetFocus();
    pal::test::pump();

    enum class Setup { SystemPanelEdit, RunningCommand, InputWindow, OtherWindowWithInput };
    struct Case {
        Setup setup;
        UINT key;
        bool ctrl;
        bool silent;
    };
    const Case cases[] = {
        {Setup::SystemPanelEdit, 'A', false, true},      {Setup::SystemPanelEdit, '7', false, true},
        {Setup::SystemPanelEdit, 'A', true, false},      {Setup::SystemPanelEdit, VK_F5, true, true},
        {Setup::SystemPanelEdit, VK_LEFT, false, false}, {Setup::RunningCommand, 'A', false, true},
        {Setup::RunningCommand, 'A', true, true},        {Setup::InputWindow, 'A', true, true},
        {Setup::InputWindow, VK_LEFT, false, true},      {Setup::OtherWindowWithInput, 'A', false, true},
        {Setup::OtherWindowWithInput, 'A', true, false},
    };
    // Each key once with Ctrl's toggle bit clear and once with it set, as a single press and
    // release of Ctrl leaves it: the bit says nothing about Ctrl being held.
    const auto setCtrlToggle = [](bool on) {
        while (((::GetKeyState(VK_CONTROL) & 1) != 0) != on) {
            pal::test::pressKey(VK_CONTROL);
            pal::test::pump();
        }
    };
    for (bool afterCtrlPress : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message()
                         << "after ctrl " << afterCtrlPress << ", setup " << static_cast<int>(c.setup)
                         << ", key " << c.key << ", ctrl " << c.ctrl);
            recorder.runningCommand = c.setup == Setup::RunningCommand;
            recorder.manipulatorEdit = c.setup == Setup::SystemPanelEdit;
            recorder.inputWindow = c.setup == Setup::InputWindow || c.setup == Setup::OtherWindowWithInput
                                       ? input.m_hWnd
                                       : nullptr;
            const HWND target = c.setup == Setup::InputWindow            ? input.m_hWnd
                                : c.setup == Setup::OtherWindowWithInput ? other.m_hWnd
                                                                         : edit.m_hWnd;
            setCtrlToggle(afterCtrlPress);
            if (c.ctrl) {
                pal::test::keyDown(VK_CONTROL);
                pal::test::pump();
            }
            EXPECT_EQ(frame->MustSilenceShortcuts(key(target, c.key)), c.silent);
            if (c.ctrl) {
                pal::test::keyUp(VK_CONTROL);
                pal::test::pump();
            }
        }
    }

    // Without an active view only an edit box keeps the keys.
    frame->SetActiveView(nullptr, true);
    recorder = Recorder{};
    recorder.editBox = edit.m_hWnd;
    EXPECT_TRUE(frame->MustSilenceShortcuts(key(edit.m_hWnd, 'A')));
    EXPECT_FALSE(frame->MustSilenceShortcuts(key(other.m_hWnd, 'A')));
    view->DestroyWindow();
}

TEST_F(RoutingTest, TheShortcutManagersAreEnabledAgainOnEveryPath) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 10, 10), frame, 4001));
    recorder.editBox = edit.m_hWnd;
    CXTPShortcutManager* shortcuts = frame->GetCommandBars()->GetShortcutManager();
    ASSERT_NE(shortcuts, nullptr);
    recorder.watched = shortcuts;

    // A letter in the edit box is silenced while the call lasts, whether it ends normally or
    // by an exception.
    MSG letter = key(edit.m_hWnd, 'A');
    EXPECT_FALSE(frame->PreTranslateMessage(&letter));
    EXPECT_TRUE(recorder.silencedDuringPreTranslate);
    EXPECT_FALSE(shortcuts->IsShortcutsDisabled());

    recorder.silencedDuringPreTranslate = false;
    recorder.duringPreTranslate = [] { throw std::runtime_error("bar failed"); };
    EXPECT_THROW(frame->PreTranslateMessage(&letter), std::runtime_error);
    EXPECT_TRUE(recorder.silencedDuringPreTranslate);
    EXPECT_FALSE(shortcuts->IsShortcutsDisabled());

    // Esc in clean screen ends there, silencing undone too.
    recorder.duringPreTranslate = nullptr;
    frame->SendMessage(WM_COMMAND, 2814, 0);
    ASSERT_EQ(screenMode(frame), 2);
    MSG escape = key(edit.m_hWnd, VK_ESCAPE);
    EXPECT_TRUE(frame->PreTranslateMessage(&escape));
    EXPECT_FALSE(shortcuts->IsShortcutsDisabled());
}

TEST_F(RoutingTest, EscapeLeavesOnlyCleanScreenAndIsPassedOnInTheOtherModes) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    struct Case {
        UINT command; // 0 stays in the normal window
        int mode;
        bool consumed;
        int modeAfter;
    };
    for (const Case& c : {Case{0, 0, false, 0}, Case{1254, 1, false, 1}, Case{2814, 2, true, 0}}) {
        SCOPED_TRACE(c.mode);
        if (c.command != 0)
            command(frame, c.command);
        ASSERT_EQ(screenMode(frame), c.mode);
        recorder.seq.clear();
        MSG escape = key(frame->m_hWnd, VK_ESCAPE);
        EXPECT_EQ(frame->PreTranslateMessage(&escape) != FALSE, c.consumed);
        EXPECT_EQ(screenMode(frame), c.modeAfter);
        EXPECT_EQ(recorder.seq.empty(), c.consumed) << "passed on to the bars unless consumed";
        if (screenMode(frame) != 0)
            frame->SendMessage(WM_COMMAND, c.command, 0);
    }
}

TEST_F(RoutingTest, ASpaceMouseMessageIsDroppedWhileAClickOrKeyWaits) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    recorder.spaceMouse = ::RegisterWindowMessageW(L"SpaceMouseTestMessage");
    MSG motion{};
    motion.hwnd = frame->m_hWnd;
    motion.message = recorder.spaceMouse;
    for (UINT waiting : {0u, UINT{WM_LBUTTONDOWN}, UINT{WM_KEYDOWN}}) {
        SCOPED_TRACE(waiting);
        pal::test::pump();
        if (waiting != 0)
            frame->PostMessage(waiting, 0, 0);
        recorder.seq.clear();
        const BOOL consumed = frame->PreTranslateMessage(&motion);
        EXPECT_EQ(consumed != FALSE, waiting != 0);
        EXPECT_EQ(recorder.seq.empty(), waiting != 0);
        MSG drained;
        while (::PeekMessageW(&drained, frame->m_hWnd, 0, 0, PM_REMOVE)) {
        }
    }
}

TEST_F(RoutingTest, AltEndsTheUIModulesAltModeAndIsConsumed) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    MSG alt = key(frame->m_hWnd, VK_MENU, WM_SYSKEYDOWN);
    recorder.altMode = true;
    EXPECT_TRUE(frame->PreTranslateMessage(&alt));
    EXPECT_EQ(recorder.seq, (Seq{"alt mode 0"}));
    recorder.seq.clear();
    EXPECT_FALSE(frame->PreTranslateMessage(&alt));
    EXPECT_EQ(recorder.seq, (Seq{"bars pre-translate"}));
}

TEST_F(RoutingTest, CommandHelpShowsTheTopicOfItsCommandOrContextHelp) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    struct Case {
        LPARAM lParam;
        LRESULT result;
        Seq calls;
    };
    const Case cases[] = {
        {0x10005, 1, {"topic 500"}}, {0x10000, 1, {"topic 0"}},
        {0x20000, 1, {"topic 0"}},   {0x20001, 1, {"context help"}}, // no tooltip showing: the context's help
        {0, 1, {"context help"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lParam);
        app->calls.clear();
        EXPECT_EQ(frame->SendMessage(WM_COMMANDHELP, 0, c.lParam), c.result);
        EXPECT_EQ(app->calls, c.calls);
    }
}

// The shell's request as a sender posts it: the text in a global block of the given size.
HGLOBAL ddeBlock(const wchar_t* text, size_t chars, size_t blockChars) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, blockChars * sizeof(wchar_t));
    auto* p = static_cast<wchar_t*>(::GlobalLock(block));
    std::memcpy(p, text, std::min(chars, blockChars) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    return block;
}

TEST_F(RoutingTest, AShellRequestRunsIsQueuedOrIsDroppedAndTheAnswerSaysWhich) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CWnd sender;
    ASSERT_TRUE(sender.CreateEx(0, nullptr, L"shell", WS_OVERLAPPED, CRect(0, 0, 10, 10), nullptr, 0));

    enum class State { Enabled, Modal, Disabled };
    struct Case {
        const char* name;
        std::wstring text; // as the block holds it, terminator included when wanted
        size_t blockChars;
        State state;
        UINT_PTR ack;
        Seq calls;
    };
    const std::wstring open = L"[open(\"a.grb\")]";
    const Case cases[] = {
        {"enabled runs", open + L'\0', open.size() + 1, State::Enabled, 0x8000, {"run [open(\"a.grb\")]"}},
        {"modal queues", open + L'\0', open.size() + 1, State::Modal, 0x8000, {"queue [open(\"a.grb\")]"}},
        {"disabled drops, and says so", open + L'\0', open.size() + 1, State::Disabled, 0, {}},
        {"empty text", std::wstring(1, L'\0'), 1, State::Enabled, 0, {}},
        {"unterminated: the block's end ends it", L"[new]", 5, State::Enabled, 0x8000, {"run [new]"}},
        {"the first terminator ends it",
         std::wstring(L"[a]\0[b]", 7) + L'\0',
         8,
         State::Enabled,
         0x8000,
         {"run [a]"}},
        {"a text longer than its block is cut there", open, 4, State::Enabled, 0x8000, {"run [ope"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->calls.clear();
        if (c.state == State::Modal)
            frame->BeginModalState();
        else if (c.state == State::Disabled)
            frame->EnableWindow(FALSE);
        HGLOBAL block = ddeBlock(c.text.c_str(), c.text.size(), c.blockChars);
        frame->SendMessage(WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(sender.m_hWnd),
                           ::PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block)));
        if (c.state == State::Modal) {
            EXPECT_EQ(app->calls, c.calls) << "queued while modal";
        }
        MSG ack{};
        ASSERT_TRUE(::PeekMessageW(&ack, sender.m_hWnd, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE));
        EXPECT_EQ(reinterpret_cast<HWND>(ack.wParam), frame->m_hWnd);
        UINT_PTR status = 1, handle = 0;
        ASSERT_TRUE(::UnpackDDElParam(WM_DDE_ACK, ack.lParam, &status, &handle));
        EXPECT_EQ(status, c.ack);
        EXPECT_EQ(handle, reinterpret_cast<UINT_PTR>(block)) << "the sender's block comes back";
        ::FreeDDElParam(WM_DDE_ACK, ack.lParam);
        ::GlobalFree(block);
        if (c.state == State::Modal)
            frame->EndModalState();
        else if (c.state == State::Disabled)
            frame->EnableWindow(TRUE);
        EXPECT_EQ(app->calls, c.calls);
    }

    // A handle that is no block: nothing runs, and the answer is no.
    app->calls.clear();
    const auto notABlock = reinterpret_cast<HGLOBAL>(static_cast<UINT_PTR>(0x5A5A0));
    frame->SendMessage(WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(sender.m_hWnd),
                       ::PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(notABlock)));
    EXPECT_TRUE(app->calls.empty());
    MSG refused{};
    ASSERT_TRUE(::PeekMessageW(&refused, sender.m_hWnd, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE));
    UINT_PTR refusedStatus = 1, refusedHandle = 0;
    ASSERT_TRUE(::UnpackDDElParam(WM_DDE_ACK, refused.lParam, &refusedStatus, &refusedHandle));
    EXPECT_EQ(refusedStatus, 0u);
    ::FreeDDElParam(WM_DDE_ACK, refused.lParam);

    // No sender: nothing runs and nobody is answered.
    app->calls.clear();
    HGLOBAL block = ddeBlock(L"[new]", 6, 6);
    frame->SendMessage(WM_DDE_EXECUTE, 0,
                       ::PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block)));
    EXPECT_TRUE(app->calls.empty());
    MSG stray{};
    EXPECT_FALSE(::PeekMessageW(&stray, nullptr, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE));
    ::GlobalFree(block);
    sender.DestroyWindow();
}

TEST_F(RoutingTest, TheCommandTableAnswersToTheEdgesOfItsRangesAndNoFurther) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    struct Case {
        UINT id;
        bool handled;
    };
    const Case cases[] = {
        {699, false},  {700, true},    {749, true},    {750, false},   {780, false},   {781, true},
        {799, true},   {800, true},    {807, true},    {808, false},   {810, false},   {811, true},
        {826, true},   {827, false},   {3449, false},  {3450, true},   {3499, true},   {3500, false},
        {6999, false}, {7000, true},   {7199, true},   {7200, false},  {36999, false}, {37000, true},
        {37999, true}, {38000, false}, {65280, false}, {65289, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        AFX_CMDHANDLERINFO info;
        EXPECT_EQ(frame->OnCmdMsg(c.id, CN_COMMAND, nullptr, &info) != FALSE, c.handled);
    }
    // The window list's items have an update handler only.
    pal::test::RecordingCmdUI ui;
    ui.m_nID = 65289;
    EXPECT_TRUE(frame->OnCmdMsg(65289, CN_UPDATE_COMMAND_UI, &ui, nullptr));
}

TEST_F(RoutingTest, CommandsPastTheirListDoNothing) {
    CMainFrame* frame = makeWithTabs();
    ASSERT_NE(frame, nullptr);
    CDVTabToolBar* tabs = frame->GetTabToolBar();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->GetCategoryCount(), 2);
    tabs->SelectCategory(0);
    command(frame, 7001);
    EXPECT_EQ(tabs->GetSelectedCategory()->GetIndex(), 1);
    for (UINT id : {7002u, 7199u}) {
        command(frame, id);
        EXPECT_EQ(tabs->GetSelectedCategory()->GetIndex(), 1) << id;
    }
    pal::test::RecordingCmdUI ui;
    ui.m_nID = 7001;
    frame->OnCmdMsg(7001, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_EQ(ui.checked, 1);

    // 3450 moves the active document window to the one frame there is; 3451 and later nothing.
    dvlog::test::clearCapture();
    command(frame, 3450);
    command(frame, 3451);
    command(frame, 3499);
    const std::vector<std::string> moves = dvlog::test::capturedAt(DVLogProgress);
    const auto moved = std::count_if(moves.begin(), moves.end(), [](const std::string& line) {
        return line.find("Moving a document window") != std::string::npos;
    });
    EXPECT_EQ(moved, 1);

    // A pane command with no pane in the frame: disabled, and running it does nothing.
    pal::test::RecordingCmdUI pane;
    pane.m_nID = 781;
    frame->OnCmdMsg(781, CN_UPDATE_COMMAND_UI, &pane, nullptr);
    EXPECT_EQ(pane.enabled, 0);
    EXPECT_EQ(pane.checked, 0);
    command(frame, 781);
}

TEST_F(RoutingTest, WithoutATabbedToolBarItsCommandsDoNothing) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->GetTabToolBar(), nullptr);
    for (UINT id : {7000u, 7199u, 1067u, 1123u, 1126u, 1221u, 807u})
        command(frame, id);
    pal::test::RecordingCmdUI ui;
    ui.m_nID = 807;
    frame->OnCmdMsg(807, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_EQ(ui.enabled, 0);
}

TEST_F(RoutingTest, InCleanScreenWorkbookModeStaysAndFullScreenIsTheOneWayOut) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    command(frame, 2814);
    ASSERT_EQ(screenMode(frame), 2);
    const bool workbook = ticked(frame, 805);
    command(frame, 805);
    EXPECT_EQ(ticked(frame, 805), workbook);
    EXPECT_EQ(screenMode(frame), 2);
    pal::test::RecordingCmdUI ui;
    ui.m_nID = 805;
    frame->OnCmdMsg(805, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_EQ(ui.enabled, 0);
    command(frame, 1254);
    EXPECT_EQ(screenMode(frame), 1);
    command(frame, 1254);
    EXPECT_EQ(screenMode(frame), 0);
}

TEST_F(RoutingTest, AFaultInACommandOrAWindowMessageIsReportedAndTheFrameGoesOn) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    // 806 asks the application to switch the ribbon mode, which fails here.
    EXPECT_EQ(command(frame, 806), 0);
    EXPECT_EQ(app->reports, 1);
    app->failEnable = true;
    EXPECT_EQ(frame->SendMessage(WM_ENABLE, TRUE, 0), 0);
    EXPECT_EQ(app->reports, 2);
    app->failEnable = false;
    command(frame, 1254);
    EXPECT_EQ(screenMode(frame), 1) << "the frame still answers";
}

TEST_F(RoutingTest, ADirectPrintFromTheCommandLineRunsWhatWaitsFirstAndLeavesAQuitForTheMainLoop) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    app->printing = true;
    GetSettings().directPrint = false;

    // What waits runs first, then one idle; the settings mark is back afterwards.
    frame->PostMessage(WM_COMMAND, 1254, 0);
    app->calls.clear();
    command(frame, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(screenMode(frame), 1);
    EXPECT_EQ(app->calls, (Seq{"idle 0"}));
    EXPECT_FALSE(GetSettings().directPrint);

    // A quit that waits ends the print at once and stays for the main loop, with its code.
    app->calls.clear();
    ::PostQuitMessage(7);
    EXPECT_EQ(command(frame, ID_FILE_PRINT_DIRECT), 0);
    EXPECT_TRUE(app->calls.empty());
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
    EXPECT_FALSE(GetSettings().directPrint);

    // Without a command line's request the print goes its ordinary way.
    app->printing = false;
    command(frame, ID_FILE_PRINT_DIRECT);
    EXPECT_TRUE(app->calls.empty());
}

TEST_F(RoutingTest, TheEndOfTheSessionWaitsForAModifiedDocument) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SendMessage(WM_QUERYENDSESSION, 0, 0), 1) << "no document window";

    CDVDocTemplate* drawings =
        CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                               RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
    ASSERT_NE(drawings, nullptr);
    application.AddDocTemplate(drawings);
    application.m_pMainWnd = frame;
    auto* drawing = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(nullptr));
    ASSERT_NE(drawing, nullptr);
    pal::test::pump();
    drawing->SetModifiedFlag(FALSE);
    EXPECT_EQ(frame->SendMessage(WM_QUERYENDSESSION, 0, 0), 1);
    drawing->SetModifiedFlag(TRUE);
    Kernel kernel;
    EXPECT_EQ(frame->SendMessage(WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_EQ(kernel.ended, std::vector<CDvw32Doc*>{drawing}) << "its commands end before it is looked at";
    DWORD length = 0;
    EXPECT_TRUE(::ShutdownBlockReasonQuery(frame->m_hWnd, nullptr, &length));
    EXPECT_GT(length, 1u);
    drawing->SetModifiedFlag(FALSE);
    drawing->OnCloseDocument();
    application.m_pMainWnd = nullptr;
    pal::test::pump();
}

TEST_F(RoutingTest, AClosedMessageBarLeavesTheListAndOneNoLongerListedChangesNothing) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    const unsigned id = frame->ShowMessageBar(0, L"", L"Listed", 0, {}, nullptr, true);
    ASSERT_NE(id, 0u);
    ASSERT_EQ(frame->GetMessageBarCount(), 1u);
    int stray = 0; // what once was a bar: only its address is compared
    EXPECT_EQ(frame->SendMessage(0x2869, 0, reinterpret_cast<LPARAM>(&stray)), 0);
    EXPECT_EQ(frame->SendMessage(0x2869, 0, 0), 0);
    EXPECT_EQ(frame->GetMessageBarCount(), 1u);
    EXPECT_TRUE(frame->CloseMessageBar(id));
    pal::test::pump();
    EXPECT_EQ(frame->GetMessageBarCount(), 0u);
}

TEST_F(RoutingTest, ClosingAClipartPaneWhoseViewIsGoneDoesNothing) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPDockingPane* pane = frame->GetPaneManager().CreatePane(12000, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    ASSERT_NE(pane, nullptr);
    XTP_DOCKINGPANE_ACTION action{xtpPaneActionClosed, pane, FALSE};
    EXPECT_EQ(frame->SendMessage(XTPWM_DOCKINGPANE_NOTIFY, XTP_DPN_ACTION, reinterpret_cast<LPARAM>(&action)),
              0);
    EXPECT_NE(frame->GetPaneManager().FindPane(12000), nullptr);
    frame->OnDockingPanePopupMenuCommand(40058, pane);
    EXPECT_NE(frame->GetPaneManager().FindPane(12000), nullptr);
}

TEST_F(RoutingTest, TheEndOfTheSessionKeepsTheStateOnceWithoutMarkingTheProgramSafeToExit) {
    struct Case {
        const char* name;
        WPARAM ending;
        bool saveAtExit;
        bool saved;
    };
    const Case cases[] = {
        {"the session ends", TRUE, true, true},
        {"the end was called off", FALSE, true, false},
        {"the state was kept already", TRUE, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Kernel kernel;
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(frame->GetTabClient(), nullptr);
        app->saveAtExit = c.saveAtExit;
        app->calls.clear();
        EXPECT_EQ(frame->SendMessage(WM_ENDSESSION, c.ending, 0), 0);
        EXPECT_EQ(kernel.saves, c.saved ? 1 : 0);
        EXPECT_EQ(app->saveAtExit, c.saveAtExit && !c.saved);
        EXPECT_TRUE(app->calls.empty()) << "not the last close's preparation, which marks it safe to exit";
        frame->SendMessage(WM_ENDSESSION, c.ending, 0);
        EXPECT_EQ(kernel.saves, c.saved ? 1 : 0) << "once";
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RoutingTest, TheRibbonsMinimisedStateIsSavedAsTheFlagOfItsScreenMode) {
    struct Case {
        int mode;
        bool windowed;   // saved afterwards
        bool fullScreen; // saved afterwards
    };
    // The defaults: open in the window, minimised in full screen.
    const Case cases[] = {{0, true, true}, {1, false, false}, {2, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        CXTPRibbonBar* ribbon = frame->GetRibbonBar();
        ASSERT_NE(ribbon, nullptr);
        ASSERT_TRUE(frame->SetScreenMode(c.mode));
        ribbon->SetRibbonMinimized(c.mode == 0);
        // The person's double click in mode 0 and 1; in mode 2 the ribbon is not shown.
        ribbon->SetRibbonMinimized(c.mode != 0);
        ribbon->SetRibbonMinimized(c.mode == 0);
        EXPECT_EQ(frame->IsRibbonMinimizedInWindowedMode(), c.windowed);
        EXPECT_EQ(frame->IsRibbonMinimizedInFullscreenMode(), c.fullScreen);
        EXPECT_TRUE(saves(*frame, std::string("minimizeRibbonBarInWindowedMode=\"") +
                                      (c.windowed ? "true" : "false") + "\""));
        EXPECT_TRUE(saves(*frame, std::string("minimizeRibbonBarInFullscreenMode=\"") +
                                      (c.fullScreen ? "true" : "false") + "\""));
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RoutingTest, TheClassicAutoMenuBarIsRememberedAsThePersonLeftIt) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    frame->SetRibbonMode(false);
    pal::test::pump();
    ASSERT_FALSE(frame->IsRibbonMode());
    CXTPToolBar* classic = frame->GetAutoMenuToolBar();
    ASSERT_NE(classic, nullptr);
    classic->SetVisible(TRUE);
    ASSERT_TRUE(saves(*frame, "showClassicAutoMenu=\"true\""));

    command(frame, 800);
    EXPECT_FALSE(classic->IsVisible());
    EXPECT_TRUE(saves(*frame, "showClassicAutoMenu=\"false\""));
    command(frame, 800);
    EXPECT_TRUE(saves(*frame, "showClassicAutoMenu=\"true\""));

    // The clean screen hides it: that is not the person's choice.
    ASSERT_TRUE(frame->SetScreenMode(2));
    EXPECT_TRUE(saves(*frame, "showClassicAutoMenu=\"true\""));
    ASSERT_TRUE(frame->SetScreenMode(0));

    // In ribbon mode the bar follows the ribbon's rules, not the person.
    frame->SetRibbonMode(true);
    pal::test::pump();
    classic->SetVisible(!classic->IsVisible());
    EXPECT_TRUE(saves(*frame, "showClassicAutoMenu=\"true\""));
}

TEST_F(RoutingTest, TheCommandBarsRequestsReachTheFramesAnswers) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPCommandBars* bars = frame->GetCommandBars();
    ASSERT_NE(bars, nullptr);
    CXTPToolBar* toolBar = bars->Add(L"Requests", xtpBarTop);
    ASSERT_NE(toolBar, nullptr);

    auto requestFor = [&](UINT id) {
        XTP_COMMANDBARS_CREATECONTROL request;
        request.nID = id;
        request.pCommandBar = toolBar;
        request.bToolBar = TRUE;
        return request;
    };

    // A tool bar's request for a popup of commands, then that popup before it shows.
    XTP_COMMANDBARS_CREATECONTROL request = requestFor(1341);
    ASSERT_EQ(frame->SendMessage(WM_XTP_CREATECONTROL, 0, reinterpret_cast<LPARAM>(&request)), 1);
    ASSERT_NE(request.pControl, nullptr);
    auto* made = dynamic_cast<CXTPControlPopup*>(request.pControl);
    ASSERT_NE(made, nullptr);
    CXTPCommandBar* popup = made->GetCommandBar();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetControls()->GetCount(), 12);
    frame->SendMessage(WM_XTP_INITPOPUP, 0, reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(popup->GetControls()->GetCount(), 10) << "refilled in its own order";
    request.pControl->InternalRelease();

    XTP_COMMANDBARS_CREATECONTROL unknown = requestFor(1001);
    EXPECT_EQ(frame->SendMessage(WM_XTP_CREATECONTROL, 0, reinterpret_cast<LPARAM>(&unknown)), 0);
    EXPECT_EQ(unknown.pControl, nullptr);

    // A control before it shows: 1251 is updated by hand.
    CXTPControlButton button;
    button.SetID(1251);
    frame->SendMessage(WM_XTP_INITCONTROL, 1251, reinterpret_cast<LPARAM>(&button));
    EXPECT_TRUE(button.GetFlags() & xtpFlagManualUpdate);

    // A control without a parameter is nothing to act upon.
    NMXTPCONTROL executed{{nullptr, 1251, XTP_CN_EXECUTE}, &button};
    EXPECT_EQ(frame->SendMessage(WM_XTP_CONTROLNOTIFY, 1251, reinterpret_cast<LPARAM>(&executed)), 0);
}

TEST_F(RoutingTest, TheApplicationGoingBehindEndsAltModeAndComingBackMarksTheDocument) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc document;
    app->activeDocument = &document;
    recorder.seq.clear();
    app->calls.clear();
    frame->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(recorder.seq, Seq{"alt mode 0"});
    EXPECT_EQ(app->calls, Seq{"no main window"});
    EXPECT_FALSE(document.IsFlagSet(0x20000));
    frame->SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(document.IsFlagSet(0x20000));
    app->activeDocument = nullptr;
    frame->SendMessage(WM_ACTIVATEAPP, TRUE, 0); // without a document nothing to mark
}

TEST_F(RoutingTest, HelpCommandsAndTheFramesPlacementReachTheApplication) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    for (UINT id : {1601u, 57669u, 57670u}) {
        SCOPED_TRACE(id);
        app->calls.clear();
        command(frame, id);
        EXPECT_EQ(app->calls, Seq{"context help"});
    }
    app->placements = 0;
    frame->SendMessage(WM_MOVE, 0, MAKELPARAM(40, 30));
    EXPECT_EQ(app->placements, 1) << "moved";
    frame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    EXPECT_EQ(app->placements, 2) << "sized";
}

// A file the PDM system knows, in a state, with its answers.
dvpdm::test::FileScript pdmFile(const std::filesystem::path& path, int state, bool failState = false,
                                bool failRevert = false) {
    dvpdm::test::FileScript file;
    file.path = path.wstring();
    file.state = state;
    file.failState = failState;
    file.failRevert = failRevert;
    return file;
}

// The kernel's side of what a test does: its calls of one module, in order.
Seq heardBy(const std::string& module) {
    Seq heard;
    for (const std::string& call : dvtrace::test::callsOf("DravikKernel"))
        if (call.rfind(module, 0) == 0)
            heard.push_back(call);
    return heard;
}

// Whoever follows the docking panes' lock.
class LockListener : public TypedApplicationEventListener<1043> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override { documents.push_back(args.Document); }
    std::vector<CDvw32Doc*> documents;
};

// Each notice the frame passes on reaches the module that follows it, and only that one.
TEST_F(RoutingTest, TheFramesNoticesReachTheModulesThatFollowThem) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc document;
    app->activeDocument = &document;
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    AnnotateModuleProxy::Attach();
    IMacroManager* macros = InitializeMacroManagerInstance();
    LockListener lockListener;
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        Seq module3D;
        Seq annotate;
        bool macroWindowsEnabled;
        bool panesLocked;
    };
    const Case cases[] = {
        {"0x4F1 redraws the 3D module's windows",
         0x4F1,
         0,
         {"CDVCom_Is3D::RefreshWindows()"},
         {},
         true,
         false},
        {"a disabled frame disables the modules' windows",
         WM_ENABLE,
         FALSE,
         {"CDVCom_Is3D::SetShellDisabled(true)"},
         {},
         false,
         false},
        {"and enables them again",
         WM_ENABLE,
         TRUE,
         {"CDVCom_Is3D::SetShellDisabled(false)"},
         {},
         true,
         false},
        {"903 locks the panes and tells the annotate module",
         WM_COMMAND,
         903,
         {},
         {"AnnotateModuleProxy::OnChangeSettings"},
         true,
         true},
        {"903 again unlocks them",
         WM_COMMAND,
         903,
         {},
         {"AnnotateModuleProxy::OnChangeSettings"},
         true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvtrace::test::clear();
        frame->SendMessage(c.message, c.wParam, 0);
        EXPECT_EQ(heardBy("CDVCom_Is3D"), c.module3D);
        EXPECT_EQ(heardBy("AnnotateModuleProxy"), c.annotate);
        EXPECT_EQ(macros->AreWindowsEnabled(), c.macroWindowsEnabled);
        EXPECT_EQ(GetSettings().lockDockingPanes, c.panesLocked);
        EXPECT_EQ(ticked(frame, 903), c.panesLocked);
    }
    EXPECT_EQ(lockListener.documents, (std::vector<CDvw32Doc*>{&document, &document}))
        << "each change of the lock is heard with the active document";

    // Without the modules the same notices reach nobody and do no harm.
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
    AnnotateModuleProxy::Detach();
    dvtrace::test::clear();
    for (UINT message : {0x4F1u, static_cast<UINT>(WM_ENABLE)})
        frame->SendMessage(message, TRUE, 0);
    command(frame, 903);
    EXPECT_TRUE(heardBy("CDVCom_Is3D").empty());
    EXPECT_TRUE(heardBy("AnnotateModuleProxy").empty());
    GetSettings().lockDockingPanes = false;
    app->activeDocument = nullptr;
}

// A frame that goes behind another takes its pop-up bar away; one that comes to the front is
// the active frame and tells the application's listener.
TEST_F(RoutingTest, ActivationHidesThePopUpBarAndTellsTheListenerOfTheFrontFrame) {
    CMainFrame* frame = make();
    CMainFrame* other = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(other, nullptr);
    ::SetActiveWindow(frame->m_hWnd);
    pal::test::pump();
    ASSERT_EQ(UIModuleProxy::Instance().GetActiveMainFrame(), frame);
    auto* popup = new Dravik::UI::PopupToolBar;
    ASSERT_TRUE(frame->GetCommandBars()->Add(popup, L"Pop-up", xtpBarFloating));
    popup->ShowButtonSet({0, 0, -1, 0, {{57600, false}}}, CPoint(100, 100));
    ASSERT_TRUE(popup->IsVisible());
    ::SetActiveWindow(frame->m_hWnd);
    pal::test::pump();
    ASSERT_TRUE(popup->IsVisible());

    const auto told = [&] { return std::count(app->calls.begin(), app->calls.end(), "main window"); };

    // The window manager's own activation, as a click on the other window makes it.
    app->calls.clear();
    ::SetActiveWindow(other->m_hWnd);
    pal::test::pump();
    EXPECT_FALSE(popup->IsVisible()) << "the frame behind shows no pop-up bar";
    EXPECT_EQ(UIModuleProxy::Instance().GetActiveMainFrame(), other);
    EXPECT_GE(told(), 1) << "the listener follows the front frame";

    app->calls.clear();
    ::SetActiveWindow(frame->m_hWnd);
    pal::test::pump();
    EXPECT_EQ(UIModuleProxy::Instance().GetActiveMainFrame(), frame);
    EXPECT_GE(told(), 1);
    app->calls.clear();
    other->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(told(), 0) << "going behind tells nobody";
}

// The control that carried a command is the active view's: a positive id reaches it, any other
// does not, and without a drawing view nothing is told.
TEST_F(RoutingTest, TheControlOfACommandReachesTheActiveView) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SendMessage(0x2856, 12, 0), 0) << "no view to tell";
    CDvw32Doc* drawing = frame_test::openDrawing(application, frame, kDrawingResource);
    ASSERT_NE(drawing, nullptr);
    auto* view = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
    ASSERT_NE(view, nullptr);
    struct Case {
        WPARAM id;
        int kept;
    };
    const Case cases[] = {{12, 12}, {0, 12}, {static_cast<WPARAM>(-4), 12}, {1, 1}, {40123, 40123}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<long long>(c.id));
        frame->SendMessage(0x2856, c.id, 0);
        EXPECT_EQ(view->GetNotifiedControl(), c.kept);
    }
    drawing->OnCloseDocument();
    application.m_pMainWnd = nullptr;
    pal::test::pump();
}

// The tabbed bar's two drawing tabs set how the kernel draws, but only over a sheet.
TEST_F(RoutingTest, TheDrawingTabsSetTheKernelsOptionOnlyOverASheet) {
    const GUID sheetTab = {0x921ACC19, 0x6449, 0x482A, {0x8E, 0x3E, 0xF5, 0xCF, 0xB8, 0x22, 0x5D, 0xAB}};
    const GUID modelTab = {0x7E18D530, 0xB63A, 0x4B30, {0x90, 0xF7, 0x2A, 0xBE, 0xC8, 0x36, 0xDD, 0xD0}};
    for (const auto& [name, guid] :
         {std::pair{L"Sheet", sheetTab}, {L"Model", modelTab}, {L"Edit", GUID{}}}) {
        DefaultToolBarRow row;
        row.name = name;
        row.guid = guid;
        row.kind = 1;
        row.ids = {57600, 57601};
        app->toolBars.push_back(row);
    }
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->GetTabToolBar(), nullptr);
    ASSERT_EQ(frame->GetTabToolBar()->GetCategoryCount(), 3);
    constexpr int kUntouched = 7;
    struct Case {
        const char* name;
        bool sheetView;
        UINT command;
        int option;
    };
    const Case cases[] = {
        {"no view: the tab alone", false, 7000, kUntouched},
        {"no view, the model tab", false, 7001, kUntouched},
        {"over a sheet the sheet tab", true, 7000, 0},
        {"over a sheet the model tab", true, 7001, 1},
        {"a tab of neither kind", true, 7002, kUntouched},
    };
    CDvw32Doc* drawing = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.sheetView && drawing == nullptr) {
            drawing = frame_test::openDrawing(application, frame, kDrawingResource);
            ASSERT_NE(drawing, nullptr);
            auto* view = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
            ASSERT_NE(view, nullptr);
            ASSERT_TRUE(view->QueryState(1)) << "a sheet of a 2D drawing";
        }
        GetOptions().drawingTabMode = kUntouched;
        command(frame, c.command);
        EXPECT_EQ(frame->GetTabToolBar()->GetSelectedCategory()->GetIndex(),
                  static_cast<int>(c.command - 7000));
        EXPECT_EQ(GetOptions().drawingTabMode, c.option);
    }
    drawing->OnCloseDocument();
    application.m_pMainWnd = nullptr;
    pal::test::pump();
}

// The PDM commands act on the active document's file only in the states that allow them; a
// refusal of the PDM system is reported and leaves the item disabled.
TEST_F(RoutingTest, ThePdmCommandsActOnTheActiveDocumentsFileInTheStatesThatAllowThem) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = frame_test::openDrawing(application, frame, kDrawingResource);
    ASSERT_NE(drawing, nullptr);
    const std::filesystem::path file = root() / "Shaft.grb";
    std::wstring error;
    ASSERT_TRUE(drawing->DoFileSave(file.wstring(), &error));
    app->activeDocument = drawing;
    dvpdm::test::setWorkMixEnabled(true);
    struct Case {
        const char* name;
        bool known;
        int state;
        bool failState;
        bool editInPlace;
        bool enabled[3]; // 2929, 2930, 2938
    };
    const Case cases[] = {
        {"not the PDM system's", false, 3, false, false, {false, false, false}},
        {"state 3 may be edited", true, 3, false, false, {true, false, false}},
        {"state 2 is in edit", true, 2, false, false, {false, true, true}},
        {"state 2 edited in place", true, 2, false, true, {false, true, false}},
        {"state 1", true, 1, false, false, {false, false, false}},
        {"the state cannot be read", true, 2, true, false, {false, false, false}},
    };
    const UINT ids[] = {2929, 2930, 2938};
    CDvw32Doc other;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvpdm::test::clearScript();
        if (c.known)
            dvpdm::test::addFile(pdmFile(file, c.state, c.failState));
        drawing->SetEditInPlaceDocuments(c.editInPlace ? &other : nullptr, nullptr);
        for (size_t i = 0; i < 3; ++i) {
            pal::test::RecordingCmdUI ui;
            ui.m_nID = ids[i];
            frame->OnCmdMsg(ids[i], CN_UPDATE_COMMAND_UI, &ui, nullptr);
            EXPECT_EQ(ui.enabled == 1, c.enabled[i]) << ids[i];
        }
    }
    drawing->SetEditInPlaceDocuments(nullptr, nullptr);

    // 2929 takes the file for editing as a multi-file open does.
    dvpdm::test::clearScript();
    dvpdm::test::addFile(pdmFile(file, 3));
    command(frame, 2929);
    EXPECT_EQ(dvpdm::test::calls(), std::vector<std::wstring>{L"edit " + file.wstring() + L" 1 0 1 1"});

    // 2930 saves a modified document first; the file on disk is what the system takes.
    dvpdm::test::clearScript();
    dvpdm::test::addFile(pdmFile(file, 2));
    drawing->SetModifiedFlag(TRUE);
    command(frame, 2930);
    EXPECT_FALSE(drawing->IsModified()) << "saved first";
    EXPECT_EQ(dvpdm::test::calls(), std::vector<std::wstring>{L"process " + file.wstring()});

    // 2938 asks; no keeps the document open and the file as it is.
    answer(IDNO);
    dvpdm::test::clearScript();
    dvpdm::test::addFile(pdmFile(file, 2));
    command(frame, 2938);
    EXPECT_TRUE(dvpdm::test::calls().empty());
    const auto prompts = journal("prompt");
    ASSERT_FALSE(prompts.empty());
    EXPECT_EQ(prompts.back().get("flags"), std::to_string(MB_YESNO | MB_ICONQUESTION));
    EXPECT_NE(frame->MDIGetActive(), nullptr);

    // Yes closes the document, then the file goes back to the system's version; a refusal is
    // reported, not thrown through the frame.
    answer(IDYES);
    dvpdm::test::addFile(pdmFile(file, 2, false, true));
    dvlog::test::clearCapture();
    command(frame, 2938);
    pal::test::pump();
    EXPECT_EQ(dvpdm::test::calls(), std::vector<std::wstring>{L"revert " + file.wstring()});
    EXPECT_EQ(frame->MDIGetActive(), nullptr) << "the document was closed";
    EXPECT_FALSE(dvlog::test::capturedAt(DVLogWarning).empty()) << "the refusal is reported";
    app->activeDocument = nullptr;
    dvpdm::test::clearScript();
    dvpdm::test::setWorkMixEnabled(false);
    application.m_pMainWnd = nullptr;
}

// The PDM panes' items follow the application's windows of those panes: ticked while one shows,
// enabled while it exists, named by its caption while PDM is available.
TEST_F(RoutingTest, ThePdmPaneItemsFollowThePanesOwnWindows) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CWnd archives;
    ASSERT_TRUE(
        archives.CreateEx(0, L"STATIC", L"Archives of the plant", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    struct Case {
        const char* name;
        bool exists;
        bool visible;
        bool pdm;
        int checked;
        int enabled;
        const wchar_t* text; // null: the item keeps its text
    };
    const Case cases[] = {
        {"no window", false, false, true, 0, 0, nullptr},
        {"a hidden window", true, false, false, 0, 1, nullptr},
        {"a shown window", true, true, false, 1, 1, nullptr},
        {"with PDM, its caption", true, true, true, 1, 1, L"Archives of the plant"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->pdmWindows[1012] = c.exists ? &archives : nullptr;
        archives.ShowWindow(c.visible ? SW_SHOW : SW_HIDE);
        dvpdm::test::setWorkMixEnabled(c.pdm);
        pal::test::RecordingCmdUI ui;
        ui.m_nID = 787;
        frame->OnCmdMsg(787, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        EXPECT_EQ(ui.checked, c.checked);
        EXPECT_EQ(ui.enabled, c.enabled);
        EXPECT_EQ(std::wstring(ui.text.GetString()),
                  c.text != nullptr ? std::wstring(c.text) : std::wstring());
    }
    dvpdm::test::setWorkMixEnabled(false);
    archives.DestroyWindow();
}

// A menu bar that cannot get a drawing resource for one message, as a bar may fail under a
// shortage of them.
class StarvedMenuBar : public CXTPMenuBar {
public:
    int OnHookMessage(HWND, UINT message, WPARAM&, LPARAM&, LRESULT&) override {
        if (message == kStarvedMessage)
            AfxThrowResourceException();
        return FALSE;
    }
    static constexpr UINT kStarvedMessage = WM_USER + 77;
};

class StarvedBars : public CXTPCommandBars {
public:
    CXTPMenuBar* GetMenuBar() const override { return &menu; }
    mutable StarvedMenuBar menu;
};

// A frame whose bars' hook reaches the starved menu bar.
class StarvedFrame : public CMainFrame {
public:
    CXTPCommandBars* HookBars(CXTPCommandBars* bars) {
        CXTPCommandBars* previous = m_pHookedCommandBars;
        m_pHookedCommandBars = bars;
        return previous;
    }
};

// A bar that cannot get a resource does not end the message loop: the UI module hears of it, the
// message is answered 0 and the frame goes on.
TEST_F(RoutingTest, ABarsResourceFailureInTheHookIsToldToTheUIModuleAndTheFrameGoesOn) {
    auto* frame = new StarvedFrame;
    ASSERT_TRUE(frame->CFrameWnd::Create(nullptr, L"", CMainFrame::kStyle));
    StarvedBars bars;
    CXTPCommandBars* previous = frame->HookBars(&bars);
    const int before = UIModuleProxy::Instance().GetResourceFailureCount();
    EXPECT_EQ(frame->SendMessage(StarvedMenuBar::kStarvedMessage, 0, 0), 0);
    EXPECT_EQ(UIModuleProxy::Instance().GetResourceFailureCount(), before + 1);
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 5;
    EXPECT_EQ(frame->OnHookMessage(frame->m_hWnd, WM_USER + 1, wParam, lParam, result), 0) << "others pass";
    EXPECT_EQ(UIModuleProxy::Instance().GetResourceFailureCount(), before + 1);
    frame->HookBars(previous);
    frame->DestroyWindow();
    pal::test::pump();
}

} // namespace
