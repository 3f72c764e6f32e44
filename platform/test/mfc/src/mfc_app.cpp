#include "pal/test/mfc_app.h"

#include <gtest/gtest.h>

namespace pal::test {

AppRun::AppRun(CWinApp& app, std::vector<std::wstring> arguments) : app_(app) {
    loop_.limit = 100000;
    pal::mfc::setArguments(std::move(arguments));
}

AppRun::~AppRun() {
    if (!exited_)
        exit();
    // Windows the test left behind go with the run, before the application object does.
    if (app_.m_pMainWnd != nullptr && app_.m_pMainWnd->m_hWnd != nullptr)
        app_.m_pMainWnd->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool AppRun::init() {
    static wchar_t emptyLine[] = L"";
    if (!AfxWinInit(nullptr, nullptr, emptyLine, SW_SHOWNORMAL))
        return false;
    return app_.InitApplication() && app_.InitInstance();
}

bool AppRun::pump() {
    if (quit_)
        return false;
    quit_ = pal::mfc::runMessageLoop(app_, pal::mfc::LoopEnd::Idle, loop_);
    if (loop_.exhausted)
        ADD_FAILURE() << "the application's loop did not settle after " << loop_.limit << " steps";
    return !quit_;
}

int AppRun::exit() {
    exited_ = true;
    return app_.ExitInstance();
}

} // namespace pal::test
