#include "app/Splash.h"
#include "app/StartupIni.h"

#include "DravikKernel/KernelServices.h"
#include "win/base.h"

#include <mutex>

namespace {

constexpr DWORD kPollMs = 200;

struct CloseEvent {
    std::mutex mutex;
    HANDLE handle = nullptr;
};

CloseEvent& closeEvent() {
    static CloseEvent* e = new CloseEvent;
    return *e;
}

} // namespace

CSplashWnd::CSplashWnd(const std::wstring& imagePath, bool drawTexts)
    : imagePath_(imagePath.empty() ? imagePath : DVAppendProgramPath(imagePath.c_str(), 0, false)),
      drawTexts_(drawTexts) {
    CloseEvent& e = closeEvent();
    std::lock_guard lock(e.mutex);
    if (e.handle == nullptr)
        e.handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CSplashWnd::~CSplashWnd() {
    CloseEvent& e = closeEvent();
    std::lock_guard lock(e.mutex);
    if (e.handle != nullptr) {
        CloseHandle(e.handle);
        e.handle = nullptr;
    }
}

void CSplashWnd::RunSplash() {
    std::wstring image = imagePath_;
    if (!dvapp::IsExistingFile(image))
        image = DVAppendProgramPath(L"Banner.bmp", 0, false);
    if (!dvapp::IsExistingFile(image))
        return;
    // The picture itself is drawn by the window of a later step; until then the thread only
    // keeps its place until start-up ends.
    HANDLE event;
    {
        std::lock_guard lock(closeEvent().mutex);
        event = closeEvent().handle;
    }
    while (event != nullptr && WaitForSingleObject(event, kPollMs) == WAIT_TIMEOUT) {
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
    if (e.handle != nullptr)
        SetEvent(e.handle);
}
