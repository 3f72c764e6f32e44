#include "app/Splash.h"
#include "app/StartupIni.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"
#include "win/base.h"

#include <mutex>

namespace {

constexpr DWORD kPollMs = 200;

// The close event of the newest splash. Each splash has an event of its own, so that a splash
// that is still going away cannot take the event of the next one with it.
struct CloseEvent {
    std::mutex mutex;
    HANDLE handle = nullptr;
};

CloseEvent& closeEvent() {
    static CloseEvent* e = new CloseEvent;
    return *e;
}

bool isCurrentEvent(HANDLE event) {
    CloseEvent& e = closeEvent();
    std::lock_guard lock(e.mutex);
    return e.handle == event;
}

} // namespace

CSplashWnd::CSplashWnd(const std::wstring& imagePath, bool drawTexts)
    : imagePath_(imagePath.empty() ? imagePath : DVAppendProgramPath(imagePath.c_str(), 0, false)),
      drawTexts_(drawTexts), closeEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    CloseEvent& e = closeEvent();
    std::lock_guard lock(e.mutex);
    e.handle = closeEvent_;
}

CSplashWnd::~CSplashWnd() {
    {
        CloseEvent& e = closeEvent();
        std::lock_guard lock(e.mutex);
        if (e.handle == closeEvent_)
            e.handle = nullptr;
    }
    if (closeEvent_ != nullptr)
        CloseHandle(closeEvent_);
}

void CSplashWnd::RunSplash() {
    std::wstring image = imagePath_;
    if (!dvapp::IsExistingFile(image))
        image = DVAppendProgramPath(L"Banner.bmp", 0, false);
    if (!dvapp::IsExistingFile(image))
        return;
    // The picture itself is drawn by the window of a later step; until then the thread only
    // keeps its place until start-up ends (or a newer splash took over).
    while (closeEvent_ != nullptr && WaitForSingleObject(closeEvent_, kPollMs) == WAIT_TIMEOUT &&
           isCurrentEvent(closeEvent_)) {
    }
}

UINT SplashThreadProc(LPVOID splash) {
    auto* window = static_cast<CSplashWnd*>(splash);
    window->RunSplash();
    if (window->m_hWnd != nullptr)
        window->DestroyWindow();
    delete window;
    return 0;
}

void SignalSplashClose() {
    CloseEvent& e = closeEvent();
    std::lock_guard lock(e.mutex);
    if (e.handle == nullptr || WaitForSingleObject(e.handle, 0) == WAIT_OBJECT_0)
        return;
    DVLog_Write(DVLogProgress, "Closing the splash window");
    SetEvent(e.handle);
}
