// A program whose application object ends the way DravikCad's does, for the tests with real
// processes. DV_HOST_MODE says what it does:
//   restart       the first run sets a style and restarts itself keeping its state; its way out
//                 is slow. The second run writes the style it read and its command line to
//                 "second.txt" in the sandbox.
//   crash-restart the first run prepares the restart a crash report asks for.
//   restart-fail  the program's file is gone before it restarts: the restart fails and the
//                 program goes on ("went on" on standard error).
//   off-thread    a worker reports a critical error while the main thread pumps messages; the
//                 main thread must stop at its next message and the process end with code 1.
//   save N        the exit save of generation N: "state.xml", "application.xml" and the
//                 "Settings" values; "saving" on standard error just before it starts.
//   crash-recover the whole start-up, then "changed.grb" (changed) and "kept.grb" of the sandbox
//                 are opened and a window's handler faults inside the loop; the crash report is
//                 answered by DV_PAL_ANSWERS. The restarted run starts up whole and writes what
//                 it opened to "second.txt": per document its path, title, modified flag and the
//                 note variable, then "DocsCount" as the registry holds it.
#include "app/DravikApp.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

std::string gMode;
std::string gGeneration;

// A restarted run holds "running.lock" of the sandbox until its process is gone (the lock ends
// with it): its way out still writes the settings, and the test must not begin its next run
// before then. Taken before "second.txt" is written, so a test that saw the file finds it held.
void holdTheRunningLock() {
    const int fd =
        ::open((pal::sandbox::root() / "running.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::flock(fd, LOCK_EX);
}

class GenerationFrame : public dvapp::StateFrame {
public:
    CXTPCommandBars* GetCommandBars() override { return nullptr; }
    void ApplyState(const MainFrameState&, bool, bool) override {}
    void SaveXmlState(Dravik::UI::XML::Node element) override {
        element.setAttribute(L"generation", pal::text::fromUtf8(gGeneration));
    }
};

class GenerationFrames : public dvapp::StateFrames {
public:
    std::vector<dvapp::StateFrame*> GetMainFrames() override { return {&frame_, &frame_}; }
    dvapp::StateFrame* CreateFromState(const std::shared_ptr<MainFrameState>&) override { return nullptr; }

private:
    GenerationFrame frame_;
};

class ExitHost : public DravikApp {
public:
    BOOL InitInstance() override {
        WaitForRestartingProcess();
        SetRegistryKey(L"Acme");
        SetRegistryProfileName(L"ExitHost");
        if (gMode == "off-thread") {
            std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                ReportCriticalError(L"a worker's failure");
            }).detach();
            // The main thread keeps taking messages; each one counts, so that the test sees
            // none was taken after the stop.
            SetTimer(nullptr, 1, 5, nullptr);
            for (;;) {
                if (!PumpMessage())
                    break;
                if (IsStopRequested())
                    std::fprintf(stderr, "a message was handled after the stop\n");
            }
            return FALSE;
        }
        if (gMode == "save") {
            m_uiStyle = pal::text::fromUtf8("gen-" + gGeneration);
            SetSaveAtExit(true);
            SetStateFrames(&frames_);
            std::fprintf(stderr, "saving\n");
            std::fflush(stderr);
            SaveState();
            ExitInstance();
            return FALSE;
        }
        const UINT generation = GetProfileInt(L"Host", L"Generation", 0);
        WriteProfileInt(L"Host", L"Generation", static_cast<int>(generation) + 1);
        if (generation == 0) {
            m_uiStyle = L"set-by-the-first";
            if (gMode == "restart-fail")
                ::unlink(pal::folders::programFile().c_str());
            if (gMode == "crash-restart") {
                SetApplicationState(kStateErrorRestore);
                PrepareRestart();
                return FALSE;
            }
            Restart(true);
            std::fprintf(stderr, "went on\n");
            return FALSE;
        }
        holdTheRunningLock();
        // Whole or not at all: the test reads it as soon as it is there.
        pal::writeFileAtomically(pal::sandbox::root() / "second.txt",
                                 pal::text::toUtf8(std::wstring(GetProfileStringW(L"Settings", L"UIStyle"))) +
                                     "\n" + pal::text::toUtf8(GetCommandLineW()) + "\n" +
                                     std::to_string(GetProfileInt(L"ErrorRestore", L"Restart", 0)));
        return FALSE;
    }
    int ExitInstance() override {
        if (exited_)
            return 0;
        exited_ = true;
        // A slow way out: a copy that read the state now would read the old one.
        if (gMode == "restart")
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return CDvw32App::ExitInstance();
    }

private:
    GenerationFrames frames_;
    bool exited_ = false;
};

// The changed drawing carries this variable, so the restarted run can tell its copy from its file.
constexpr wchar_t kNote[] = L"$crash_note";

LRESULT faultingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 7)
        *static_cast<volatile int*>(nullptr) = 1;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// DravikCad's own start-up and end, with a fault in the loop of the first run.
class RecoverHost : public DravikApp {
public:
    BOOL InitInstance() override {
        if (!DravikApp::InitInstance())
            return FALSE;
        const bool first = GetProfileInt(L"Host", L"Generation", 0) == 0;
        WriteProfileInt(L"Host", L"Generation", first ? 1 : 2);
        if (first)
            return changeAndFault();
        std::ostringstream out;
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments()) {
            const auto& variables = document->Cont2D()->GetVariables();
            const int note = document->Cont2D()->FindVariable(kNote);
            out << pal::text::toUtf8(std::wstring(document->GetPathName())) << "|"
                << pal::text::toUtf8(std::wstring(document->GetTitle())) << "|" << document->IsModified()
                << "|" << (note >= 0 ? pal::text::toUtf8(variables[note].expression) : "") << "\n";
        }
        out << "DocsCount " << GetProfileInt(L"ErrorRestore", L"DocsCount", -1) << "\n";
        holdTheRunningLock();
        pal::writeFileAtomically(pal::sandbox::root() / "second.txt", out.str());
        return FALSE;
    }

private:
    BOOL changeAndFault() {
        const auto open = [this](const char* name) {
            return dynamic_cast<CDvw32Doc*>(
                OpenDocumentFile(pal::path::fromNative(pal::sandbox::root() / name).c_str(), TRUE));
        };
        CDvw32Doc* changed = open("changed.grb");
        if (changed == nullptr || open("kept.grb") == nullptr)
            return FALSE;
        changed->Cont2D()->create_text_var(kNote, -1, L"\"before the crash\"", 0, 0);
        changed->SetModifiedFlag(TRUE);
        WNDCLASSW wc{};
        wc.lpfnWndProc = faultingProc;
        wc.lpszClassName = L"FaultingHostWindow";
        RegisterClassW(&wc);
        HWND window =
            CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        PostMessageW(window, WM_APP + 7, 0, 0);
        return TRUE;
    }
};

// One application object a process, chosen before the class library looks for it.
std::unique_ptr<DravikApp> gApp;

} // namespace

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("ExitHost"))
        return 1;
    const char* mode = std::getenv("DV_HOST_MODE");
    gMode = mode != nullptr ? mode : "";
    if (gMode == "save" && argc > 1)
        gGeneration = argv[1];
    if (gMode == "crash-recover") {
        auto app = std::make_unique<RecoverHost>();
        // Nobody is at the display: the restarted run ends by itself too.
        app->SetUnattendedQuery([] { return true; });
        gApp = std::move(app);
    } else {
        gApp = std::make_unique<ExitHost>();
    }
    const int code = pal::mfc::winMain(argc, argv);
    std::fprintf(stderr, "log: %s\n", pal::text::toUtf8(DVLog_GetFileName()).c_str());
    return code;
}
