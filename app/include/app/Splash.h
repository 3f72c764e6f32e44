// The splash window's object and its thread. Start-up makes the object and starts the thread;
// the thread owns the object from then on. A program-wide signal closes the newest one.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CSplashWnd : public CWnd {
public:
    // A relative image path is taken relative to the program folder. Creates the close event,
    // which SignalSplashClose sets from then on.
    CSplashWnd(const std::wstring& imagePath, bool drawTexts);
    ~CSplashWnd() override;

    // Shows the splash until the close event is set. Without an image there is nothing to show
    // and it returns at once, so start-up is never delayed.
    void RunSplash();

    const std::wstring& GetImagePath() const { return imagePath_; }
    bool DrawsTexts() const { return drawTexts_; }

private:
    std::wstring imagePath_;
    bool drawTexts_;
    HANDLE closeEvent_;
};

// The splash thread: runs the splash, then deletes it.
UINT SplashThreadProc(LPVOID splash);
// Sets the close event of the newest splash when there is one; setting it twice is harmless.
void SignalSplashClose();

DV_EXPORTS_END
