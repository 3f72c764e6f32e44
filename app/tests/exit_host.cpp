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
#include "app/DravikApp.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string gMode;
std::string gGeneration;

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
        std::ofstream(pal::sandbox::root() / "second.txt")
            << pal::text::toUtf8(std::wstring(GetProfileStringW(L"Settings", L"UIStyle"))) << "\n"
            << pal::text::toUtf8(GetCommandLineW()) << "\n"
            << GetProfileInt(L"ErrorRestore", L"Restart", 0);
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

ExitHost theApp;

} // namespace

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("ExitHost"))
        return 1;
    const char* mode = std::getenv("DV_HOST_MODE");
    gMode = mode != nullptr ? mode : "";
    if (gMode == "save" && argc > 1)
        gGeneration = argv[1];
    const int code = pal::mfc::winMain(argc, argv);
    std::fprintf(stderr, "log: %s\n", pal::text::toUtf8(DVLog_GetFileName()).c_str());
    return code;
}
