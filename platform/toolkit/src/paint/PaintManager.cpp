#include "xtp/PaintManager.h"

#include <mutex>

namespace {

struct Shared {
    std::mutex mutex;
    CXTPPaintManager* instance = nullptr;
    long references = 0;
    CXTPPaintManager* drawingOnly = nullptr; // for drawing while nobody holds a reference
};

Shared& shared() {
    static Shared* s = new Shared; // outlives static destructors that may still release
    return *s;
}

// The theme is the process's, not an instance's: it survives the instance going and coming.
const XTP_THEME* g_theme = nullptr;

} // namespace

CXTPPaintManager* CXTPPaintManager::GetInstanceAddRef() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.instance == nullptr)
        s.instance = new CXTPPaintManager;
    ++s.references;
    return s.instance;
}

void CXTPPaintManager::ReleaseInstance() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.references == 0)
        return;
    if (--s.references == 0) {
        delete s.instance;
        s.instance = nullptr;
    }
}

CXTPPaintManager* CXTPPaintManager::GetInstance() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    return s.instance;
}

long CXTPPaintManager::GetInstanceRefCount() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    return s.references;
}

CXTPPaintManager* CXTPPaintManager::Current() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.instance != nullptr)
        return s.instance;
    if (s.drawingOnly == nullptr)
        s.drawingOnly = new CXTPPaintManager;
    return s.drawingOnly;
}

CXTPPaintManager::CXTPPaintManager() : m_pTheme(nullptr) {
    if (g_theme == nullptr)
        g_theme = &GetThemes()[1]; // office2013light
    m_pTheme = g_theme;
}

CXTPPaintManager::~CXTPPaintManager() {
    if (m_hEditBrush != nullptr)
        ::DeleteObject(m_hEditBrush);
}

HBRUSH CXTPPaintManager::GetEditBrush() {
    if (m_hEditBrush == nullptr || m_clrEditBrush != GetColors().clrEditFace) {
        if (m_hEditBrush != nullptr)
            ::DeleteObject(m_hEditBrush);
        m_clrEditBrush = GetColors().clrEditFace;
        m_hEditBrush = ::CreateSolidBrush(m_clrEditBrush);
    }
    return m_hEditBrush;
}

// --- themes ---

const std::vector<XTP_THEME>& CXTPPaintManager::GetThemes() {
    // Columns: bar, bar border, menu bar, text, disabled text, hot, hot border, hot text, pressed,
    // checked, checked border, separator, gripper, popup, popup border, gutter, edit, edit border,
    // accent, caption, caption text, tip, tip text, window, window text, highlight, highlight text.
    static const std::vector<XTP_THEME> themes = {
        {L"office2010black",
         TRUE,
         {RGB(72, 72, 72),    RGB(40, 40, 40),    RGB(58, 58, 58),    RGB(236, 236, 236), RGB(140, 140, 140),
          RGB(104, 104, 104), RGB(130, 130, 130), RGB(255, 255, 255), RGB(128, 128, 128), RGB(96, 96, 96),
          RGB(245, 196, 92),  RGB(100, 100, 100), RGB(120, 120, 120), RGB(60, 60, 60),    RGB(36, 36, 36),
          RGB(52, 52, 52),    RGB(45, 45, 45),    RGB(110, 110, 110), RGB(245, 196, 92),  RGB(40, 40, 40),
          RGB(236, 236, 236), RGB(50, 50, 50),    RGB(236, 236, 236), RGB(48, 48, 48),    RGB(236, 236, 236),
          RGB(245, 196, 92),  RGB(30, 30, 30)}},
        {L"office2013light",
         FALSE,
         {RGB(255, 255, 255), RGB(212, 212, 212), RGB(255, 255, 255), RGB(68, 68, 68),    RGB(172, 172, 172),
          RGB(213, 231, 248), RGB(160, 200, 236), RGB(38, 38, 38),    RGB(164, 206, 249), RGB(205, 230, 247),
          RGB(98, 162, 228),  RGB(218, 218, 218), RGB(180, 180, 180), RGB(255, 255, 255), RGB(198, 198, 198),
          RGB(255, 255, 255), RGB(255, 255, 255), RGB(171, 171, 171), RGB(43, 87, 154),   RGB(43, 87, 154),
          RGB(255, 255, 255), RGB(255, 255, 255), RGB(68, 68, 68),    RGB(255, 255, 255), RGB(38, 38, 38),
          RGB(205, 230, 247), RGB(38, 38, 38)}},
        {L"office2013dark",
         TRUE,
         {RGB(83, 83, 83),    RGB(60, 60, 60),    RGB(70, 70, 70),    RGB(240, 240, 240), RGB(150, 150, 150),
          RGB(112, 112, 112), RGB(140, 140, 140), RGB(255, 255, 255), RGB(135, 135, 135), RGB(104, 104, 104),
          RGB(98, 162, 228),  RGB(110, 110, 110), RGB(130, 130, 130), RGB(70, 70, 70),    RGB(50, 50, 50),
          RGB(70, 70, 70),    RGB(60, 60, 60),    RGB(120, 120, 120), RGB(98, 162, 228),  RGB(60, 60, 60),
          RGB(240, 240, 240), RGB(60, 60, 60),    RGB(240, 240, 240), RGB(64, 64, 64),    RGB(240, 240, 240),
          RGB(98, 162, 228),  RGB(255, 255, 255)}},
        {L"office2016black",
         TRUE,
         {RGB(37, 37, 37),    RGB(20, 20, 20),   RGB(43, 43, 43),    RGB(235, 235, 235), RGB(120, 120, 120),
          RGB(75, 75, 75),    RGB(95, 95, 95),   RGB(255, 255, 255), RGB(100, 100, 100), RGB(68, 68, 68),
          RGB(70, 140, 220),  RGB(80, 80, 80),   RGB(100, 100, 100), RGB(43, 43, 43),    RGB(70, 70, 70),
          RGB(43, 43, 43),    RGB(30, 30, 30),   RGB(90, 90, 90),    RGB(70, 140, 220),  RGB(20, 20, 20),
          RGB(235, 235, 235), RGB(50, 50, 50),   RGB(235, 235, 235), RGB(30, 30, 30),    RGB(235, 235, 235),
          RGB(70, 140, 220),  RGB(255, 255, 255)}},
        {L"office2016dark",
         TRUE,
         {RGB(102, 102, 102), RGB(80, 80, 80),    RGB(84, 84, 84),    RGB(245, 245, 245), RGB(170, 170, 170),
          RGB(132, 132, 132), RGB(160, 160, 160), RGB(255, 255, 255), RGB(150, 150, 150), RGB(120, 120, 120),
          RGB(120, 180, 240), RGB(130, 130, 130), RGB(150, 150, 150), RGB(84, 84, 84),    RGB(60, 60, 60),
          RGB(84, 84, 84),    RGB(70, 70, 70),    RGB(140, 140, 140), RGB(120, 180, 240), RGB(68, 68, 68),
          RGB(245, 245, 245), RGB(68, 68, 68),    RGB(245, 245, 245), RGB(80, 80, 80),    RGB(245, 245, 245),
          RGB(120, 180, 240), RGB(20, 20, 20)}},
        {L"office2016white",
         FALSE,
         {RGB(243, 243, 243), RGB(213, 213, 213), RGB(255, 255, 255), RGB(38, 38, 38),    RGB(160, 160, 160),
          RGB(225, 225, 225), RGB(200, 200, 200), RGB(20, 20, 20),    RGB(198, 198, 198), RGB(210, 222, 238),
          RGB(24, 92, 184),   RGB(210, 210, 210), RGB(170, 170, 170), RGB(252, 252, 252), RGB(198, 198, 198),
          RGB(252, 252, 252), RGB(255, 255, 255), RGB(190, 190, 190), RGB(24, 92, 184),   RGB(24, 92, 184),
          RGB(255, 255, 255), RGB(255, 255, 255), RGB(38, 38, 38),    RGB(255, 255, 255), RGB(20, 20, 20),
          RGB(205, 222, 242), RGB(20, 20, 20)}},
        {L"msvs2015light",
         FALSE,
         {RGB(238, 238, 242), RGB(204, 206, 219), RGB(238, 238, 242), RGB(30, 30, 30),    RGB(162, 164, 165),
          RGB(201, 222, 245), RGB(201, 222, 245), RGB(30, 30, 30),    RGB(0, 122, 204),   RGB(231, 232, 236),
          RGB(51, 153, 255),  RGB(204, 206, 219), RGB(153, 153, 153), RGB(246, 246, 246), RGB(204, 206, 219),
          RGB(231, 232, 236), RGB(255, 255, 255), RGB(204, 206, 219), RGB(0, 122, 204),   RGB(0, 122, 204),
          RGB(255, 255, 255), RGB(252, 252, 252), RGB(30, 30, 30),    RGB(245, 245, 245), RGB(30, 30, 30),
          RGB(51, 153, 255),  RGB(255, 255, 255)}},
        {L"msvs2015dark",
         TRUE,
         {RGB(45, 45, 48),    RGB(63, 63, 70),   RGB(45, 45, 48),    RGB(241, 241, 241), RGB(101, 101, 101),
          RGB(62, 62, 64),    RGB(62, 62, 64),   RGB(255, 255, 255), RGB(0, 122, 204),   RGB(51, 51, 52),
          RGB(51, 153, 255),  RGB(34, 34, 34),   RGB(70, 70, 74),    RGB(27, 27, 28),    RGB(51, 51, 55),
          RGB(27, 27, 28),    RGB(51, 51, 55),   RGB(67, 67, 70),    RGB(0, 122, 204),   RGB(0, 122, 204),
          RGB(255, 255, 255), RGB(66, 66, 69),   RGB(241, 241, 241), RGB(37, 37, 38),    RGB(241, 241, 241),
          RGB(51, 153, 255),  RGB(255, 255, 255)}},
    };
    return themes;
}

const XTP_THEME* CXTPPaintManager::FindTheme(LPCWSTR lpszName) {
    if (lpszName == nullptr)
        return nullptr;
    for (const XTP_THEME& t : GetThemes()) {
        if (std::wcscmp(t.lpszName, lpszName) == 0)
            return &t;
    }
    return nullptr;
}

namespace {

BOOL repaintWindow(HWND hwnd, LPARAM) {
    ::InvalidateRect(hwnd, nullptr, TRUE);
    ::EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM) -> BOOL {
            ::InvalidateRect(child, nullptr, TRUE);
            return TRUE;
        },
        0);
    return TRUE;
}

} // namespace

BOOL CXTPPaintManager::SetTheme(LPCWSTR lpszName) {
    const XTP_THEME* theme = FindTheme(lpszName);
    if (theme == nullptr)
        return FALSE;
    g_theme = theme;
    m_pTheme = theme;
    Shared& s = shared();
    {
        std::lock_guard lock(s.mutex);
        if (s.instance != nullptr)
            s.instance->m_pTheme = theme;
        if (s.drawingOnly != nullptr)
            s.drawingOnly->m_pTheme = theme;
    }
    ::EnumWindows(repaintWindow, 0);
    return TRUE;
}

COLORREF CXTPPaintManager::GetXtremeColor(int nIndex) const {
    const XTP_THEME_COLORS& c = m_pTheme->colors;
    switch (nIndex) {
    case COLOR_WINDOW:
        return c.clrWindow;
    case COLOR_WINDOWTEXT:
        return c.clrWindowText;
    case COLOR_BTNFACE:
        return c.clrBarFace;
    case COLOR_BTNTEXT:
    case COLOR_MENUTEXT:
        return c.clrText;
    case COLOR_GRAYTEXT:
        return c.clrTextDisabled;
    case COLOR_HIGHLIGHT:
        return c.clrHighlight;
    case COLOR_HIGHLIGHTTEXT:
        return c.clrHighlightText;
    case COLOR_MENU:
    case COLOR_BTNHIGHLIGHT:
        return c.clrPopupFace;
    case COLOR_MENUBAR:
        return c.clrMenuBarFace;
    case COLOR_MENUHILIGHT:
        return c.clrHotFace;
    case COLOR_BTNSHADOW:
        return c.clrSeparator;
    case COLOR_3DDKSHADOW:
    case COLOR_WINDOWFRAME:
        return c.clrBarBorder;
    case COLOR_INFOBK:
        return c.clrToolTipFace;
    case COLOR_INFOTEXT:
        return c.clrToolTipText;
    case COLOR_ACTIVECAPTION:
        return c.clrCaptionFace;
    case COLOR_CAPTIONTEXT:
        return c.clrCaptionText;
    default:
        return ::GetSysColor(nIndex);
    }
}

COLORREF GetXtremeColor(UINT nIndex) {
    return CXTPPaintManager::Current()->GetXtremeColor(static_cast<int>(nIndex));
}

// --- fonts ---

namespace {

void makeFont(CFont& font, LONG weight) {
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -CXTPDpi::ScaleY(12); // 9 points at 96 dpi
    lf.lfWeight = weight;
    font.CreateFontIndirect(&lf);
}

} // namespace

CFont* CXTPPaintManager::GetRegularFont() {
    if (m_fontRegular.GetSafeHandle() == nullptr)
        makeFont(m_fontRegular, FW_NORMAL);
    return &m_fontRegular;
}

CFont* CXTPPaintManager::GetRegularBoldFont() {
    if (m_fontBold.GetSafeHandle() == nullptr)
        makeFont(m_fontBold, FW_BOLD);
    return &m_fontBold;
}

void CXTPPaintManager::RefreshMetrics() {
    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
}

int CXTPPaintManager::GetButtonHeight() const {
    return CXTPDpi::ScaleY(24);
}
int CXTPPaintManager::GetPopupItemHeight() const {
    return CXTPDpi::ScaleY(24);
}
int CXTPPaintManager::GetGripperWidth() const {
    return CXTPDpi::ScaleX(9);
}
int CXTPPaintManager::GetSplitDropDownWidth() const {
    return CXTPDpi::ScaleX(13);
}
