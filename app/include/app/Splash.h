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

    // The picture to show and its scale: the configured image when it exists, else the program
    // folder's "Banner.bmp", or its "Banner4K.bmp" at scale 2 on a monitor 1800 pixels high or
    // more. An empty path when there is none.
    struct Image {
        std::wstring path;
        int scale = 1;
    };
    static Image ChooseImage(const std::wstring& imagePath, int monitorHeight);
    // The window class of the splash, by which other code can find its window.
    static constexpr const wchar_t* kClassName = L"DVSplashWindow";

    // One pass of the enumeration callback's work for one window of the main thread.
    BOOL OnMainThreadWindow(HWND window);

private:
    bool DrawPicture(HBITMAP bitmap, int scale);

    std::wstring imagePath_;
    std::wstring fontName_; // the UI module's
    bool drawTexts_;
    HANDLE closeEvent_;
    DWORD mainThreadId_;
    RECT savedRect_{};
    bool nothingElseVisible_ = true;
    bool movedAway_ = false;
};

// The callback of the splash's enumeration of the main thread's windows.
BOOL SplashEnumThreadWindowsProc(HWND window, LPARAM splash);
// The legal notice's format (one %d, the year) in the language of the kernel's country
// setting, and the edition's caption with its colour (only Alder, Birch and Alder
// Administrator have one).
std::wstring GetSplashLegalNotice();
bool GetSplashEditionText(std::wstring& caption, COLORREF& colour);
// The splash window's caption: the kernel's format 42471 with the product's name.
std::wstring GetSplashCaption();

// The splash thread: runs the splash, then deletes it.
UINT SplashThreadProc(LPVOID splash);
// Sets the close event of the newest splash when there is one; setting it twice is harmless.
void SignalSplashClose();

DV_EXPORTS_END
