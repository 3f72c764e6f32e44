// Runs an application object's life inside a test: AfxWinInit and InitInstance, then the
// application's own message loop (with its idle rule) until nothing is left to do, then
// ExitInstance. Messages posted between the steps are handled by the next pump().
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::test {

class AppRun {
public:
    // The arguments are what ParseCommandLine will see, program name first.
    explicit AppRun(CWinApp& app, std::vector<std::wstring> arguments = {L"DravikCad"});
    ~AppRun();
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;

    // InitInstance's answer.
    bool init();
    // Handles every waiting message and the idle work that follows; false once WM_QUIT arrived.
    bool pump();
    // ExitInstance's exit code; runs at most once (also from the destructor).
    int exit();

    bool quitReceived() const { return quit_; }

private:
    CWinApp& app_;
    bool exited_ = false;
    bool quit_ = false;
    pal::mfc::LoopState loop_;
};

// An application whose main window is one frame of the test's: made with its title and place
// when the application starts, destroyed when it ends.
template <class Frame> class OneFrameApp : public CWinApp {
public:
    OneFrameApp(const wchar_t* title, const RECT& place) : title_(title), place_(place) {}
    Frame frame;
    BOOL InitInstance() override {
        if (!frame.Create(nullptr, title_, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place_))
            return FALSE;
        m_pMainWnd = &frame;
        return TRUE;
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        if (frame.m_hWnd != nullptr)
            frame.DestroyWindow();
        return CWinApp::ExitInstance();
    }

private:
    const wchar_t* title_;
    RECT place_;
};

} // namespace pal::test

DV_EXPORTS_END
