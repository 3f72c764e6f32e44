// The application's life between start-up and shut-down: the keys it records, the messages that
// count as idle, the idle work, the critical-error bar, a fault inside the loop, the question
// about modified documents and the save at exit.
#include "main_initialisation_fixture.h"

#include "app/GenerateDumpFileAppContext.h"

#include "DVDiagnostics/Trace.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "docbrowser/Clipart.h"
#include "pal/test/user_hooks.h"

#include <algorithm>
#include <csignal>
#include <filesystem>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

class WithActiveDocument : public DravikApp {
public:
    void SetActive(CDvw32Doc* document) { m_activeDocument = document; }
};

class MessageLoop : public MainInitialisation {
protected:
    WithActiveDocument& owner() { return static_cast<WithActiveDocument&>(*app); }

    // Takes what the queue holds through the application's pre-translation, as the loop does.
    void drain() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }

    static std::vector<fs::path> reports() {
        std::vector<fs::path> found;
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(pal::folders::localAppData(), ec))
            if (entry.path().filename() == "report.txt")
                found.push_back(entry.path());
        return found;
    }
};

TEST_F(MessageLoop, EveryKeyButAModifierAloneGoesToTheActiveDocumentsHistoryWithItsMask) {
    ASSERT_TRUE(start<WithActiveDocument>({copySample("keys.grb")}));
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    CDvw32Doc* document = documents.front();
    owner().SetActive(document);
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    frame->SetForegroundWindow();
    frame->SetFocus();
    drain();

    struct Case {
        int key;
        std::vector<int> modifiers;
        unsigned mask;
    };
    const Case cases[] = {
        {'A', {VK_CONTROL, VK_SHIFT}, 5},
        {'B', {}, 0},
        {VK_F5, {VK_CONTROL}, 1},
        {VK_F5, {VK_SHIFT}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const size_t before = document->GetActionHistory().size();
        for (int modifier : c.modifiers)
            pal::test::keyDown(modifier);
        pal::test::pressKey(c.key);
        for (auto it = c.modifiers.rbegin(); it != c.modifiers.rend(); ++it)
            pal::test::keyUp(*it);
        drain();
        const auto& history = document->GetActionHistory();
        // The modifiers pressed alone added nothing: one step, the key itself.
        ASSERT_EQ(history.size(), before + 1);
        EXPECT_EQ(history.back().kind, 1);
        EXPECT_EQ(history.back().id, static_cast<unsigned>(c.key));
        EXPECT_EQ(history.back().modifiers, c.mask);
    }
    owner().SetActive(nullptr);
    const size_t before = document->GetActionHistory().size();
    pal::test::pressKey('D');
    drain();
    EXPECT_EQ(document->GetActionHistory().size(), before) << "no active document, nothing recorded";
}

TEST_F(MessageLoop, ShellRequestsQueuedBeforeReadyRunOnceInOrderAndAFailedOneIsLogged) {
    ASSERT_TRUE(start());
    app->SetDDEReady(false);
    const std::wstring first = copySample("first.grb"), second = copySample("second.grb");
    for (std::wstring command :
         {L"[open(\"" + first + L"\")]", std::wstring(L"[frobnicate()]"), L"[open(\"" + second + L"\")]"})
        EXPECT_TRUE(app->OnDDECommand(command.data()));
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
    app->SetDDEReady(true);
    app->ProcessQueuedDDECommands();
    app->ProcessQueuedDDECommands();
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 2u) << "each once";
    EXPECT_EQ(std::wstring(documents[0]->GetPathName()), first);
    EXPECT_EQ(std::wstring(documents[1]->GetPathName()), second);
    EXPECT_TRUE(hasLine(DVLogOptionalFailure, "The queued shell request \"[frobnicate()]\" failed"));
}

TEST_F(MessageLoop, TheKernelsQuietTimerDoesNotRestartTheIdleCycle) {
    ASSERT_TRUE(start());
    struct Case {
        UINT message;
        WPARAM wParam;
        BOOL idle;
    };
    const Case cases[] = {
        {WM_TIMER, 113341, FALSE},
        {WM_TIMER, 113340, TRUE},
        {WM_PAINT, 0, FALSE},
        {WM_KEYDOWN, 'A', TRUE},
    };
    for (const Case& c : cases) {
        MSG msg{};
        msg.message = c.message;
        msg.wParam = c.wParam;
        EXPECT_EQ(app->IsIdleMessage(&msg), c.idle) << c.message << " " << c.wParam;
    }
}

TEST_F(MessageLoop, IdleWorkRunsOnCountZeroAndAsksForMoreWhileLaterCountsDecline) {
    ASSERT_TRUE(start());
    pal::test::pump();
    const unsigned tasks = dvrt::TaskManager::Instance().GetIdleCount();
    const unsigned session = dvkernel::test::idleCount();
    EXPECT_FALSE(app->OnIdle(1));
    EXPECT_FALSE(app->OnIdle(2));
    EXPECT_EQ(dvrt::TaskManager::Instance().GetIdleCount(), tasks) << "only count 0 does the idle work";
    EXPECT_TRUE(app->OnIdle(0));
    EXPECT_EQ(dvrt::TaskManager::Instance().GetIdleCount(), tasks + 1);
    EXPECT_EQ(dvkernel::test::idleCount(), session + 1);
}

TEST_F(MessageLoop, ACriticalErrorIsOfferedOnceForTheFirstReportAndItsButtonsUseOneReport) {
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    const size_t bars = frame->GetMessageBarCount();
    app->ReportCriticalError(L"the first failure");
    app->ReportCriticalError(L"the second failure");
    EXPECT_EQ(app->GetCriticalErrorBarId(), 0u) << "shown by the idle cycle, not by the report";
    for (int cycle = 0; cycle < 3; ++cycle)
        app->OnIdle(0);
    EXPECT_EQ(frame->GetMessageBarCount(), bars + 1);
    EXPECT_NE(app->GetCriticalErrorBarId(), 0u);

    app->OnCriticalErrorBarButton(1); // view the report
    app->OnCriticalErrorBarButton(2); // show its files
    const auto written = reports();
    ASSERT_EQ(written.size(), 1u) << "the report files are written once";
    const std::string report = pal::test::readFile(written.front());
    EXPECT_NE(report.find("the first failure"), std::string::npos);
    EXPECT_EQ(report.find("the second failure"), std::string::npos);
    const auto opened = journal("ShellExecute");
    ASSERT_EQ(opened.size(), 2u);
    const auto native = [](const std::string& file) {
        return pal::path::toNative(pal::text::fromUtf8(file));
    };
    EXPECT_EQ(native(opened[0].get("file")), written.front());
    EXPECT_EQ(native(opened[1].get("file")), written.front().parent_path());

    app->OnCriticalErrorBarButton(SC_CLOSE);
    EXPECT_FALSE(app->HasPendingCriticalError());
    app->ReportCriticalError(L"a later failure");
    app->OnIdle(0);
    EXPECT_NE(app->GetCriticalErrorBarId(), 0u) << "after the bar closed a new report is offered";
}

// A window of the test's whose handler faults as a defect in a message handler would.
LRESULT faultingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 7) {
        if (wParam == 1)
            std::raise(SIGSEGV);
        else
            std::abort();
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(MessageLoop, AFaultInsideTheLoopIsReportedAndTheLoopAnswersZero) {
    ASSERT_TRUE(start());
    pal::test::pump();
    WNDCLASSW wc{};
    wc.lpfnWndProc = faultingProc;
    wc.lpszClassName = L"FaultingTestWindow";
    RegisterClassW(&wc);
    HWND window =
        CreateWindowExW(0, L"FaultingTestWindow", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    answer(IDNO); // no restart
    for (const WPARAM kind : {WPARAM(1), WPARAM(2)}) {
        SCOPED_TRACE(kind == 1 ? "SIGSEGV" : "SIGABRT");
        PostMessageW(window, WM_APP + 7, kind, 0);
        EXPECT_EQ(app->Run(), 0);
    }
    const auto written = reports();
    ASSERT_EQ(written.size(), 1u) << "a second fault while the error mark is set makes no second report";
    const std::string report = pal::test::readFile(written.front());
    EXPECT_NE(report.find("SIGSEGV"), std::string::npos) << report;
    EXPECT_NE(report.find("Backtrace:"), std::string::npos) << report;
    EXPECT_NE(report.find("The log's last lines:"), std::string::npos) << report;
    EXPECT_TRUE(app->HasApplicationState(CDvw32App::kStateErrorMark));
    EXPECT_TRUE(app->HasApplicationState(CDvw32App::kStateSafeToExit));
    EXPECT_FALSE(app->HasApplicationState(CDvw32App::kStateErrorRestore))
        << "the person declined the restart";
    DestroyWindow(window);
    // The program still ends in order.
    stop();
    EXPECT_EQ(countCalls("DravikKernel", "DestroySession(0)"), 1u);
}

TEST_F(MessageLoop, SafeToExitSkipsTheQuestionOnlyForTheDocumentsItKnewOf) {
    ASSERT_TRUE(start({copySample("first.grb")}));
    pal::test::pump();
    auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    documents.front()->SetModifiedFlag(TRUE);
    app->SetApplicationState(CDvw32App::kStateSafeToExit);
    EXPECT_TRUE(app->SaveAllModified());
    EXPECT_TRUE(boxes().empty()) << "nothing is asked";

    // The automation lock keeps the program alive: a document opened now was never asked about.
    CDocument* second = app->OpenDocumentFile(copySample("second.grb").c_str(), FALSE);
    ASSERT_NE(second, nullptr);
    second->SetModifiedFlag(TRUE);
    answer(IDNO);
    answer(IDNO);
    EXPECT_TRUE(app->SaveAllModified());
    EXPECT_FALSE(journal("prompt").empty()) << "the modified documents are asked about again";
    EXPECT_FALSE(app->HasApplicationState(CDvw32App::kStateSafeToExit));
}

// Which roads save what at exit, and the kernel session goes after everything that uses it.
TEST_F(MessageLoop, ExitSavesByTheFramesLeftAndClosesTheSessionLast) {
    struct Case {
        const char* what;
        bool framesClosedFirst;
        bool saveAtExit;
        bool profileSaved;
        bool settingsWritten;
    };
    const Case cases[] = {
        {"the last frame closed, then the end", true, true, false, true},
        {"automation's Quit with a frame open", false, true, true, false},
        {"a restart that keeps nothing", false, false, false, false},
        {"a restart that keeps nothing, frames closed", true, false, false, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bundledConfiguration("Company=Acme\nRegistryName=Exit" + std::to_string(n++) + "\n");
        ASSERT_TRUE(start());
        pal::test::pump();
        if (c.framesClosedFirst)
            for (CMainFrame* frame : CDvw32App::GetMainFrames())
                frame->DestroyWindow();
        app->SetSaveAtExit(c.saveAtExit);
        dvtrace::test::clear();
        stop();
        EXPECT_EQ(app->GetProfileInt(L"Settings", L"ToolBarIconSize", 0) != 0, c.settingsWritten);
        EXPECT_EQ(app->GetProfileInt(L"Settings", L"RibbonMode", 7) != 7, c.settingsWritten);
        EXPECT_EQ(countCalls("DravikKernel", "DravikProfileManager::SaveState"), c.profileSaved ? 1u : 0u);

        const auto calls = dvtrace::test::callsOf("DravikKernel");
        const auto at = [&](const std::string& prefix) {
            const auto it = std::find_if(calls.begin(), calls.end(),
                                         [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
            return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
        };
        const int session = at("DestroySession(0)");
        ASSERT_GE(session, 0);
        for (const char* before :
             {"ApplicationManager::OnExitInstance", "UnregisterCmd(", "application unloaded"})
            EXPECT_LT(at(before), session) << before;
        EXPECT_EQ(stop(), app->ExitInstance()) << "the second road finds the work done";
        EXPECT_EQ(countCalls("DravikKernel", "DestroySession(0)"), 1u);
        pal::test::pump();
        app.reset();
    }
}

// Asked about modified documents, the program also keeps the documents browser's
// configurations, and a configuration that cannot be kept holds the program back.
TEST_F(MessageLoop, SavingAllModifiedKeepsTheBrowsersConfigurations) {
    ASSERT_TRUE(start());
    pal::test::pump();
    auto& group = DocumentsMenu::GlobalCfgGroup();
    const fs::path kept = root() / "kept.cfg", blocked = root() / "blocked.cfg";
    fs::create_directory(blocked); // a folder where the file should go
    for (const fs::path& path : {kept, blocked}) {
        auto configuration = DocumentsMenu::CreateConfiguration(path.stem().wstring().c_str(), false);
        configuration->SetPath(pal::path::fromNative(path));
        group.Add(std::move(configuration));
    }
    EXPECT_FALSE(app->SaveAllModified());
    EXPECT_TRUE(fs::is_regular_file(kept)) << "one failure does not keep the others from being saved";
    group.Clear();
    EXPECT_TRUE(app->SaveAllModified());
}

// A clipart that tells when it goes, so the shut-down's order can be seen among the libraries'.
class TracedClipart : public CClipartView {
public:
    ~TracedClipart() override { dvtrace::record("test", "clipart deleted"); }
};

TEST_F(MessageLoop, ShutDownTakesTheWindowsDownBeforeTheAddOnsAndTheSessionLast) {
    ASSERT_TRUE(start());
    pal::test::pump();
    new TracedClipart; // the global list owns it
    // The dispatcher ends once a process: an earlier test of this process may have ended it.
    const bool dispatcherRunning = !DravikManagedUIProxy::WpfAccessor::IsDispatcherShutDown();
    dvtrace::test::clear();
    stop();
    EXPECT_TRUE(ClipartViews().empty());
    std::vector<std::string> order;
    for (const auto& call : dvtrace::test::calls())
        order.push_back(call.call);
    const auto at = [&](const std::string& prefix) {
        const auto it = std::find_if(order.begin(), order.end(),
                                     [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
        return it == order.end() ? -1 : static_cast<int>(it - order.begin());
    };
    // The add-ons and the commands they registered go between the clipart and the dispatcher
    // (the default start-up registers none).
    std::vector<std::string> steps = {"ApplicationManager::OnExitInstance", "clipart deleted",
                                      "ShutdownDispatcher()", "DestroySession(0)"};
    if (!dispatcherRunning)
        std::erase(steps, "ShutdownDispatcher()");
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(steps[i]);
        ASSERT_GE(at(steps[i]), 0);
        if (i > 0) {
            EXPECT_LT(at(steps[i - 1]), at(steps[i]));
        }
    }
}

} // namespace
} // namespace dvapp::test
