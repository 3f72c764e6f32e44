#include "app/Splash.h"
#include "app/Dvw32App.h"
#include "app/StartupIni.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/Windows.h"
#include "afxres.h"
#include "ribbon/ApplicationMode.h"
#include "win/base.h"

#include <cwchar>

#include <mutex>

namespace {

constexpr DWORD kPollMs = 200;
constexpr int kLargeMonitorHeight = 1800;
constexpr int kNoticeYear = 2025;
constexpr int kLogKeepDays = 7;
constexpr UINT kCaptionFormat = 42471;

// The editions whose splash names them, each in a colour of its own that reads on the banner's
// blue.
struct EditionCaption {
    std::uint32_t code;
    const wchar_t* text;
    COLORREF colour;
};
constexpr EditionCaption kEditionCaptions[] = {
    {128, L"Alder", RGB(178, 236, 164)},
    {256, L"Birch", RGB(255, 226, 176)},
    {512, L"Alder Administrator", RGB(196, 228, 255)},
};

// The notice in the languages the kernel has a country for; the others read it in English.
struct LegalNotice {
    Country country;
    const wchar_t* text;
};
constexpr LegalNotice kLegalNotices[] = {
    {Russian, L"\u00A9 1992\u2013%d Dravik. \u0412\u0441\u0435 \u043F\u0440\u0430\u0432\u0430 "
              L"\u0437\u0430\u0449\u0438\u0449\u0435\u043D\u044B. \u041F\u0440\u043E\u0433\u0440"
              L"\u0430\u043C\u043C\u0430 \u043E\u0445\u0440\u0430\u043D\u044F\u0435\u0442\u0441\u044F "
              L"\u0437\u0430\u043A\u043E\u043D\u043E\u043C \u043E\u0431 \u0430\u0432\u0442\u043E"
              L"\u0440\u0441\u043A\u043E\u043C \u043F\u0440\u0430\u0432\u0435 \u0438 "
              L"\u043C\u0435\u0436\u0434\u0443\u043D\u0430\u0440\u043E\u0434\u043D\u044B\u043C\u0438 "
              L"\u0434\u043E\u0433\u043E\u0432\u043E\u0440\u0430\u043C\u0438."},
    {German, L"\u00A9 1992\u2013%d Dravik. Alle Rechte vorbehalten. Dieses Programm ist durch das "
             L"Urheberrecht und internationale Vertr\u00E4ge gesch\u00FCtzt."},
    {Italian, L"\u00A9 1992\u2013%d Dravik. Tutti i diritti riservati. Questo programma \u00E8 protetto "
              L"dalle leggi sul diritto d'autore e dai trattati internazionali."},
    {Polish, L"\u00A9 1992\u2013%d Dravik. Wszelkie prawa zastrze\u017Cone. Program jest chroniony prawem "
             L"autorskim i umowami mi\u0119dzynarodowymi."},
    {Czech,
     L"\u00A9 1992\u2013%d Dravik. V\u0161echna pr\u00E1va vyhrazena. Tento program je chr\u00E1n\u011Bn "
     L"autorsk\u00FDm z\u00E1konem a mezin\u00E1rodn\u00EDmi smlouvami."},
};
constexpr const wchar_t* kEnglishNotice =
    L"\u00A9 1992\u2013%d Dravik. All rights reserved. This program is protected by copyright law "
    L"and international treaties.";

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
      fontName_(UIModuleProxy::Instance().GetFontName()), drawTexts_(drawTexts),
      closeEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), mainThreadId_(GetCurrentThreadId()) {
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

CSplashWnd::Image CSplashWnd::ChooseImage(const std::wstring& imagePath, int monitorHeight) {
    if (!imagePath.empty() && dvapp::IsExistingFile(imagePath))
        return {imagePath, 1};
    if (monitorHeight >= kLargeMonitorHeight) {
        const std::wstring large = DVAppendProgramPath(L"Banner4K.bmp", 0, false);
        if (dvapp::IsExistingFile(large))
            return {large, 2};
    }
    const std::wstring normal = DVAppendProgramPath(L"Banner.bmp", 0, false);
    return {dvapp::IsExistingFile(normal) ? normal : std::wstring(), 1};
}

std::wstring GetSplashLegalNotice() {
    for (const LegalNotice& notice : kLegalNotices)
        if (notice.country == COUNTRY)
            return notice.text;
    return kEnglishNotice;
}

bool GetSplashEditionText(std::wstring& caption, COLORREF& colour) {
    caption.clear();
    colour = 0;
    const std::uint32_t edition = GetFixedEditionCode();
    for (const EditionCaption& row : kEditionCaptions)
        if (row.code == edition) {
            caption = row.text;
            colour = row.colour;
            return true;
        }
    return false;
}

std::wstring GetSplashCaption() {
    const CDvw32App* app = GetDvw32App();
    const UINT titleId = app != nullptr ? app->GetTitleStringId() : 0;
    std::wstring product = titleId != 0 ? DVLoadString(titleId) : std::wstring();
    if (wchar_t title[256] = {}; product.empty() && AfxLoadString(AFX_IDS_APP_TITLE, title, 256) > 0)
        product = title;
    CString caption;
    caption.Format(DVLoadString(kCaptionFormat).c_str(), product.c_str());
    return caption.GetString();
}

bool CSplashWnd::DrawPicture(HBITMAP bitmap, int scale) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    HDC screen = ::GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HBITMAP copy = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    HGDIOBJ oldCopy = SelectObject(source, copy);
    HDC original = CreateCompatibleDC(screen);
    HGDIOBJ oldOriginal = SelectObject(original, bitmap);
    BitBlt(source, 0, 0, info.bmWidth, info.bmHeight, original, 0, 0, SRCCOPY);
    SelectObject(original, oldOriginal);
    DeleteDC(original);

    SetBkMode(source, TRANSPARENT);
    HFONT font =
        CreateFontW(-13 * scale, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, fontName_.c_str());
    HGDIOBJ oldFont = SelectObject(source, font);
    SetTextColor(source, RGB(0, 0, 0));
    wchar_t notice[512];
    std::swprintf(notice, 512, GetSplashLegalNotice().c_str(), kNoticeYear);
    // Measured first, then centred in its band above the bottom edge.
    RECT strip{22 * scale, info.bmHeight - 70 * scale, info.bmWidth - 22 * scale, info.bmHeight};
    RECT measured = strip;
    DrawTextW(source, notice, -1, &measured, DT_WORDBREAK | DT_CALCRECT);
    const int band = 82 * scale;
    const int textHeight = measured.bottom - measured.top;
    strip.top += (band - textHeight) / 2 - (band - 70 * scale);
    strip.bottom = strip.top + textHeight;
    DrawTextW(source, notice, -1, &strip, DT_WORDBREAK);
    SelectObject(source, oldFont);
    DeleteObject(font);

    std::wstring caption;
    COLORREF colour = 0;
    if (GetSplashEditionText(caption, colour)) {
        HFONT large =
            CreateFontW(-30 * scale, 0, 0, 0, FW_LIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, fontName_.c_str());
        HGDIOBJ old = SelectObject(source, large);
        SetTextColor(source, colour);
        // Under the German setting the longer captions keep to the right of the picture.
        const bool german = COUNTRY == German;
        RECT place{(german ? 15 : 30) * scale, 120 * scale, info.bmWidth - 30 * scale,
                   info.bmHeight - 150 * scale};
        DrawTextW(source, caption.c_str(), -1, &place, DT_SINGLELINE | (german ? DT_RIGHT : DT_LEFT));
        SelectObject(source, old);
        DeleteObject(large);
    }

    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    POINT position{window.left, window.top};
    SIZE size{info.bmWidth, info.bmHeight};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    const BOOL shown =
        UpdateLayeredWindow(m_hWnd, screen, &position, &size, source, &origin, 0, &blend, ULW_OPAQUE);
    SelectObject(source, oldCopy);
    DeleteObject(copy);
    DeleteDC(source);
    ::ReleaseDC(nullptr, screen);
    return shown != FALSE;
}

BOOL CSplashWnd::OnMainThreadWindow(HWND window) {
    if (window == m_hWnd || !::IsWindowVisible(window))
        return TRUE;
    // The window objects are the main thread's and may go while this thread looks: one is only
    // compared with the main frames, never touched (a frame is a window at the same address).
    if (CWnd* wnd = CWnd::FromHandlePermanent(window);
        wnd && UIModuleProxy::Instance().IsMainFrame(reinterpret_cast<CFrameWnd*>(wnd)))
        return TRUE;
    nothingElseVisible_ = false;
    if (!movedAway_) {
        ::GetWindowRect(m_hWnd, &savedRect_);
        ::SetWindowPos(m_hWnd, nullptr, -10000, -10000, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        movedAway_ = true;
        ::SetForegroundWindow(window);
    }
    return FALSE;
}

BOOL SplashEnumThreadWindowsProc(HWND window, LPARAM splash) {
    return reinterpret_cast<CSplashWnd*>(splash)->OnMainThreadWindow(window);
}

void CSplashWnd::RunSplash() {
    HMONITOR monitor = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const Image image = ChooseImage(imagePath_, info.rcMonitor.bottom - info.rcMonitor.top);
    // Nothing to draw, nothing to show: without texts the layered window would stay empty.
    if (image.path.empty() || !drawTexts_)
        return;
    auto* bitmap =
        static_cast<HBITMAP>(LoadImageW(nullptr, image.path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (bitmap == nullptr)
        return;
    BITMAP measure{};
    if (GetObjectW(bitmap, sizeof measure, &measure) == 0 || measure.bmWidth <= 0 || measure.bmHeight <= 0) {
        DeleteObject(bitmap);
        return;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    const RECT& work = info.rcWork;
    RECT place{work.left + (work.right - work.left - measure.bmWidth) / 2,
               work.top + (work.bottom - work.top - measure.bmHeight) / 2, 0, 0};
    place.right = place.left + measure.bmWidth;
    place.bottom = place.top + measure.bmHeight;
    AdjustWindowRectEx(&place, WS_POPUP, FALSE, WS_EX_LAYERED);
    Dravik::UI::EnsureIsVisible(place);
    if (!CreateEx(WS_EX_LAYERED, kClassName, GetSplashCaption().c_str(), WS_POPUP | WS_VISIBLE, place,
                  nullptr, 0)) {
        DeleteObject(bitmap);
        return;
    }
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->GetProfileInt(L"ErrorRestore", L"Restart", 0) != 0)
        ::SetForegroundWindow(m_hWnd);
    const bool shown = DrawPicture(bitmap, image.scale);
    DeleteObject(bitmap);
    for (bool first = true; shown; first = false) {
        nothingElseVisible_ = true;
        EnumThreadWindows(mainThreadId_, SplashEnumThreadWindowsProc, reinterpret_cast<LPARAM>(this));
        if (nothingElseVisible_ && movedAway_) {
            ::SetWindowPos(m_hWnd, nullptr, savedRect_.left, savedRect_.top,
                           savedRect_.right - savedRect_.left, savedRect_.bottom - savedRect_.top,
                           SWP_NOZORDER);
            ::SetForegroundWindow(m_hWnd);
            movedAway_ = false;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            if (!AfxPumpMessage())
                break;
        if (first)
            DVLog_Cleanup(kLogKeepDays);
        if (closeEvent_ == nullptr || WaitForSingleObject(closeEvent_, kPollMs) != WAIT_TIMEOUT ||
            !isCurrentEvent(closeEvent_))
            break;
    }
    ShowWindow(SW_HIDE);
    DestroyWindow();
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
