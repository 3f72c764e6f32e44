// The application object's life: the message loop's idle rule, the end of the loop, the
// command line and the shell command, and message boxes.
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest-spi.h>

#include <vector>

namespace {

class AppTest : public pal::test::SandboxTest {};

constexpr UINT_PTR kQuietTimer = 113341;

// Wants idle time until count 3; a timer with the quiet id is not an idle message.
class IdleApp : public CWinApp {
public:
    std::vector<LONG> idleCounts;
    CWnd window;
    BOOL InitInstance() override {
        if (!window.CreateEx(0, nullptr, L"idle", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &window;
        return TRUE;
    }
    BOOL OnIdle(LONG count) override {
        idleCounts.push_back(count);
        CWinApp::OnIdle(count);
        return count < 3;
    }
    BOOL IsIdleMessage(MSG* msg) override {
        if (msg->message == WM_TIMER && msg->wParam == kQuietTimer)
            return FALSE;
        return CWinApp::IsIdleMessage(msg);
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        return CWinApp::ExitInstance();
    }
};

TEST_F(AppTest, IdleCountsUpUntilOnIdleDeclinesAndRestartsAfterAnIdleMessage) {
    IdleApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    EXPECT_TRUE(run.pump());
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 2, 3}));

    // Nothing waiting: no idle work either.
    app.idleCounts.clear();
    EXPECT_TRUE(run.pump());
    EXPECT_TRUE(app.idleCounts.empty());

    // An ordinary message starts the count again at 0.
    app.window.PostMessage(WM_USER, 0, 0);
    EXPECT_TRUE(run.pump());
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 2, 3}));

    // A paint and the quiet timer do not.
    app.idleCounts.clear();
    app.window.Invalidate();
    app.window.SetTimer(kQuietTimer, 100);
    advance(150);
    EXPECT_TRUE(run.pump());
    EXPECT_TRUE(app.idleCounts.empty());
    app.window.KillTimer(kQuietTimer);

    // Two posted messages handled in one go restart the count once.
    app.window.PostMessage(WM_USER, 0, 0);
    app.window.PostMessage(WM_USER, 0, 0);
    EXPECT_TRUE(run.pump());
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 2, 3}));
}

// Counts the keys offered to the main window before dispatch.
class CountingWnd : public CWnd {
public:
    int keysSeen = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN)
            ++keysSeen;
        return FALSE;
    }
};

class PreTranslateApp : public CWinApp {
public:
    CountingWnd main;
    BOOL InitInstance() override {
        if (!main.CreateEx(0, nullptr, L"main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &main;
        return TRUE;
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        return CWinApp::ExitInstance();
    }
};

// A key in a modeless window reaches the main window's pre-translation exactly once: through
// the walk when the main window owns it, as the last chance when nothing does.
TEST_F(AppTest, MainWindowPreTranslatesAModelessWindowsKeyOnce) {
    PreTranslateApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    for (const bool owned : {true, false}) {
        SCOPED_TRACE(owned ? "owned by the main window" : "without owner");
        CWnd popup;
        ASSERT_TRUE(popup.CreateEx(0, nullptr, L"modeless", WS_POPUP, 0, 0, 10, 10,
                                   owned ? app.main.m_hWnd : nullptr, nullptr));
        EXPECT_EQ(popup.GetTopLevelParent(), owned ? static_cast<CWnd*>(&app.main) : &popup);
        app.main.keysSeen = 0;
        popup.PostMessage(WM_KEYDOWN, 'A', 0);
        EXPECT_TRUE(run.pump());
        EXPECT_EQ(app.main.keysSeen, 1);
        popup.DestroyWindow();
    }
}

// An application whose idle work never ends would hang the test; the harness stops it.
class BusyApp : public CWinApp {
public:
    BOOL InitInstance() override { return TRUE; }
    BOOL OnIdle(LONG) override { return TRUE; }
};
pal::test::AppRun* busyRun = nullptr;

TEST_F(AppTest, HarnessStopsALoopThatNeverSettles) {
    BusyApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    busyRun = &run;
    EXPECT_NONFATAL_FAILURE(busyRun->pump(), "did not settle");
    busyRun = nullptr;
}

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
};
IMPLEMENT_DYNCREATE(PlainView, CView)

TEST_F(AppTest, LoadFrameTakesItsTitleAndTheViewFillsTheClientArea) {
    static const AFX_STRING_RESOURCE strings[] = {{128, L"Main Title\nDocument"}};
    static const pal::mfc::StringTable table(&strings, strings, 1);
    CDocument document;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(PlainView);
    context.m_pCurrentDoc = &document;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, L"Main Title");
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), &document);
    frame->MoveWindow(0, 0, 500, 400);
    CRect client, view;
    frame->GetClientRect(&client);
    frame->GetActiveView()->GetClientRect(&view);
    EXPECT_EQ(view.Size(), client.Size());
    frame->ActivateFrame();
    EXPECT_TRUE(frame->IsWindowVisible());
    frame->DestroyWindow(); // the frame and its view delete themselves
}

TEST_F(AppTest, TheApplicationsOwnIdleWantsOneMoreRound) {
    CWinApp app;
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_FALSE(app.OnIdle(2));
}

TEST_F(AppTest, QuitEndsTheLoopAndExitInstanceAnswersItsCode) {
    IdleApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    ::PostQuitMessage(3);
    EXPECT_FALSE(run.pump());
    EXPECT_TRUE(run.quitReceived());
    EXPECT_EQ(run.exit(), 3);
}

TEST_F(AppTest, DestroyingTheMainWindowEndsTheLoop) {
    IdleApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    app.window.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_FALSE(run.pump());
}

// Records the documents it is asked to open and the print command.
class ShellApp : public CWinApp {
public:
    std::vector<std::wstring> opened;
    bool printSeen = false;
    bool cmdInfoDuringPrint = false;
    CFrameWnd* frame = nullptr;
    CDocument document;
    CDocument* OpenDocumentFile(LPCWSTR name) override {
        opened.emplace_back(name);
        return &document;
    }
    void OnPrintDirect() {
        printSeen = true;
        cmdInfoDuringPrint = m_pCmdInfo != nullptr;
    }
    BOOL InitInstance() override {
        frame = new CFrameWnd;
        if (!frame->Create(nullptr, L"Shell"))
            return FALSE;
        m_pMainWnd = frame;
        return TRUE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ShellApp, CWinApp)
ON_COMMAND(ID_FILE_PRINT_DIRECT, &ShellApp::OnPrintDirect)
END_MESSAGE_MAP()

TEST_F(AppTest, ParseCommandLineReadsTheProgramsArguments) {
    ShellApp app;
    pal::test::AppRun run(app, {L"DravikCad", L"/Embedding", L"C:\\a.dvw"});
    ASSERT_TRUE(run.init());
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_TRUE(info.m_bRunEmbedded);
    EXPECT_FALSE(info.m_bShowSplash);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, L"C:\\a.dvw");
    AfxOleSetUserCtrl(TRUE);
}

TEST_F(AppTest, ShellCommandsOpenAndPrint) {
    ShellApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());

    CCommandLineInfo open;
    pal::mfc::parseArguments(open, {L"x", L"a.dvw"});
    EXPECT_TRUE(app.ProcessShellCommand(open));
    EXPECT_EQ(app.opened, (std::vector<std::wstring>{L"a.dvw"}));

    // Printing from the command line opens, prints through the main window with the command
    // line in force, hides the program and ends it.
    CCommandLineInfo print;
    pal::mfc::parseArguments(print, {L"x", L"/p", L"b.dvw"});
    EXPECT_FALSE(app.ProcessShellCommand(print));
    EXPECT_EQ(app.opened.back(), L"b.dvw");
    EXPECT_TRUE(app.printSeen);
    EXPECT_TRUE(app.cmdInfoDuringPrint);
    EXPECT_EQ(app.m_pCmdInfo, nullptr);
    EXPECT_EQ(app.m_nCmdShow, SW_HIDE);

    CCommandLineInfo nothing;
    nothing.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(app.ProcessShellCommand(nothing));
}

TEST_F(AppTest, FileNewWithoutAMainWindowFails) {
    CWinApp app;
    CCommandLineInfo info;
    EXPECT_FALSE(app.ProcessShellCommand(info));
}

TEST_F(AppTest, MessageBoxesAreAnsweredThroughTheResponder) {
    CWinApp app(L"Dravik Test");
    answer(IDNO);
    EXPECT_EQ(AfxMessageBox(L"Save changes?", MB_YESNO), IDNO);
    const auto prompts = journal("prompt");
    ASSERT_FALSE(prompts.empty());
    const auto& last = prompts.back();
    EXPECT_NE(last.get("text").find("Save changes?"), std::string::npos);
    EXPECT_NE(last.get("caption").find("Dravik Test"), std::string::npos);
    // A box without an icon gets the one that fits its buttons.
    EXPECT_EQ(last.get("flags"), std::to_string(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(AppTest, ApplicationTitleComesFromStringResource57344) {
    static const AFX_STRING_RESOURCE strings[] = {{AFX_IDS_APP_TITLE, L"Resource Title"}};
    static const pal::mfc::StringTable table(&strings, strings, 1);
    CWinApp app;
    ASSERT_TRUE(AfxWinInit(nullptr, nullptr, nullptr, SW_SHOW));
    EXPECT_STREQ(app.m_pszAppName, L"Resource Title");
    EXPECT_STREQ(AfxGetAppName(), L"Resource Title");
    EXPECT_EQ(app.m_nCmdShow, SW_SHOW);
}

TEST_F(AppTest, WorkerThreadRunsItsFunction) {
    struct Shared {
        HANDLE done;
        DWORD thread;
    } shared{::CreateEventW(nullptr, TRUE, FALSE, nullptr), 0};
    CWinThread* thread = AfxBeginThread(
        [](LPVOID p) -> UINT {
            auto* s = static_cast<Shared*>(p);
            s->thread = ::GetCurrentThreadId();
            ::SetEvent(s->done);
            return 0;
        },
        &shared);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(::WaitForSingleObject(shared.done, 5000), WAIT_OBJECT_0);
    EXPECT_NE(shared.thread, ::GetCurrentThreadId());
    ::CloseHandle(shared.done);
}

} // namespace

namespace {

// A class name handed out once stays good after the window layer is reset under it, as it is
// between tests and between runs of an application object in one process.
TEST_F(AppTest, ARegisteredClassNameOutlivesAResetOfTheWindowLayer) {
    const HBRUSH ground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    LPCWSTR first = AfxRegisterWndClass(CS_DBLCLKS, nullptr, ground);
    ASSERT_NE(first, nullptr);
    pal::test::resetUserState();
    LPCWSTR again = AfxRegisterWndClass(CS_DBLCLKS, nullptr, ground);
    EXPECT_STREQ(again, first);
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, again, L"after reset", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    window.DestroyWindow();
}

} // namespace

namespace {

TEST_F(AppTest, HelpGoesToTheApplicationsHelpFileAndPrinterSetUpIsJournaled) {
    CWinApp app;
    app.WinHelpInternal(120, HELP_CONTEXT);
    EXPECT_TRUE(journal("HtmlHelp").empty()) << "no help file, no request";

    writeFile("drive_c/help/app.chm", "help");
    app.m_pszHelpFilePath = wcsdup(L"C:\\help\\app.chm");
    app.WinHelpInternal(120, HELP_CONTEXT);
    app.WinHelpInternal(0, HELP_FINDER);
    const auto help = journal("HtmlHelp");
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].get("file"), "C:\\help\\app.chm");
    EXPECT_EQ(help[0].get("command"), std::to_string(HH_HELP_CONTEXT));
    EXPECT_EQ(help[0].get("data"), "120");
    EXPECT_EQ(help[1].get("command"), std::to_string(HH_DISPLAY_TOC));

    app.OnFilePrintSetup();
    EXPECT_EQ(journal("PrintSetup").size(), 1u);
}

} // namespace
