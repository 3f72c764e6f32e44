// The paint manager that draws every command bar of the process. One instance is shared; the
// application holds a reference from start-up to shut-down so that the instance outlives the
// last bar, and gives it back once.
//
// It keeps the theme: one of eight named looks, each dark or light, with its colour table and the
// fonts the bars write with. Bars and controls ask it for colours and draw through it, so a
// change of theme changes every bar at its next paint.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPControl;
class CXTPControlPopup;

// The colours of one theme, by role.
struct XTP_THEME_COLORS {
    COLORREF clrBarFace;      // tool bars and the bar dock around the client
    COLORREF clrBarBorder;    // hairline around floating bars and between rows
    COLORREF clrMenuBarFace;  // the menu bar
    COLORREF clrText;         // captions
    COLORREF clrTextDisabled; // captions of disabled controls
    COLORREF clrHotFace;      // under the pointer
    COLORREF clrHotBorder;
    COLORREF clrHotText;
    COLORREF clrPressedFace; // pressed, and open popups
    COLORREF clrCheckedFace; // checked controls
    COLORREF clrCheckedBorder;
    COLORREF clrSeparator; // begin-group lines
    COLORREF clrGripper;   // the dots of the gripper
    COLORREF clrPopupFace; // popup bars
    COLORREF clrPopupBorder;
    COLORREF clrPopupGutter; // the icon column of popup bars
    COLORREF clrEditFace;    // edit and combo-box fields
    COLORREF clrEditBorder;
    COLORREF clrAccent;      // the theme's own colour: check marks, focus
    COLORREF clrCaptionFace; // title of floating bars and tear-off popups
    COLORREF clrCaptionText;
    COLORREF clrToolTipFace;
    COLORREF clrToolTipText;
    COLORREF clrWindow; // the panes' and lists' ground
    COLORREF clrWindowText;
    COLORREF clrHighlight; // a selected list item
    COLORREF clrHighlightText;
};

// One of the eight looks.
struct XTP_THEME {
    LPCWSTR lpszName; // "office2013light", ...
    BOOL bDark;
    XTP_THEME_COLORS colors;
};

class CXTPPaintManager {
public:
    // The shared instance, made on the first reference; each call takes one more reference.
    static CXTPPaintManager* GetInstanceAddRef();
    // Gives one reference back; the instance goes with the last one. A release without a
    // reference held does nothing.
    static void ReleaseInstance();
    // The shared instance without taking a reference, or null when nobody holds one.
    static CXTPPaintManager* GetInstance();
    // The references held now.
    static long GetInstanceRefCount();
    // The shared instance for drawing: the held one, or one kept for drawing alone when nobody
    // holds a reference (tests, tools that never took one).
    static CXTPPaintManager* Current();

    CXTPPaintManager(const CXTPPaintManager&) = delete;
    CXTPPaintManager& operator=(const CXTPPaintManager&) = delete;

    // --- themes ---
    // The eight themes, in a fixed order.
    static const std::vector<XTP_THEME>& GetThemes();
    static const XTP_THEME* FindTheme(LPCWSTR lpszName);
    // Switches the theme by its name (exact, case-sensitive); false, keeping the current one, for
    // a name that is not one of the eight. Every bar window is repainted.
    BOOL SetTheme(LPCWSTR lpszName);
    LPCWSTR GetThemeName() const { return m_pTheme->lpszName; }
    BOOL IsDarkTheme() const { return m_pTheme->bDark; }
    const XTP_THEME_COLORS& GetColors() const { return m_pTheme->colors; }
    // A system colour index (COLOR_WINDOW, COLOR_BTNFACE, COLOR_GRAYTEXT, ...) as the theme
    // shows it.
    COLORREF GetXtremeColor(int nIndex) const;

    // --- fonts ---
    // The fonts bars write with, made for the screen's DPI: regular, bold (default menu items,
    // captions of floating bars) and the marlett-like glyph size for arrows.
    CFont* GetRegularFont();
    CFont* GetRegularBoldFont();
    // A brush of the theme's edit-field colour, for the edit windows of controls.
    HBRUSH GetEditBrush();
    // Drops the fonts so that they are made again (after a DPI or font change).
    void RefreshMetrics();

    // --- drawing (src/paint) ---
    void FillCommandBarEntry(CDC* pDC, CXTPCommandBar* pBar);
    void DrawGripper(CDC* pDC, CXTPCommandBar* pBar, CRect rcGripper);
    void DrawSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl, BOOL bHorz);
    void DrawControl(CDC* pDC, CXTPControl* pControl);
    // The size a control asks for in a bar (horizontal or not).
    CSize GetControlSize(CDC* pDC, CXTPControl* pControl, BOOL bHorz);
    // A small filled triangle pointing down (popups) or right (submenus) inside `rc`.
    void DrawArrow(CDC* pDC, CRect rc, BOOL bDown, COLORREF clr);
    // Heights of the standard pieces at the screen's DPI.
    int GetButtonHeight() const;
    int GetPopupItemHeight() const;
    int GetGripperWidth() const;
    int GetSplitDropDownWidth() const;

private:
    CXTPPaintManager();
    ~CXTPPaintManager();
    const XTP_THEME* m_pTheme;
    CFont m_fontRegular;
    CFont m_fontBold;
    HBRUSH m_hEditBrush = nullptr;
    COLORREF m_clrEditBrush = CLR_NONE;
};

// Shorthand for the shared paint manager's colour of a system colour index.
COLORREF GetXtremeColor(UINT nIndex);

// The screen's scaling from the 96 dpi the sizes are written for.
class CXTPDpi {
public:
    static int GetDPIX();
    static int GetDPIY();
    static int ScaleX(int x);
    // A width written for `fromDpi` at the screen's.
    static int ScaleX(int x, int fromDpi) {
        return fromDpi > 0 ? (x * GetDPIX() + fromDpi / 2) / fromDpi : x;
    }
    static int ScaleY(int y);
    static CSize Scale(CSize size) { return CSize(ScaleX(size.cx), ScaleY(size.cy)); }
    // An icon size for the screen: 16 at 96 dpi becomes 24 at 144, 32 at 192.
    static int ScaleIcon(int nSize);
    static CSize ScaleIcon(CSize size) { return CSize(ScaleIcon(size.cx), ScaleIcon(size.cy)); }
    // Whether icons show at their own size (96 dpi, or less than one and a quarter of it).
    static BOOL IsDefaultIconDpi();
};
CXTPDpi* XTPDpiHelper();

class CXTPDrawHelpers {
public:
    // The text without its accelerator marks: "&File" is "File", "&&" is "&", and a
    // trailing "(&F)" of a translated caption goes altogether.
    static CString StripMnemonics(LPCWSTR lpszText);
    static void StripMnemonics(CString& strText);
    // The accelerator letter of a caption ("&File" gives 'F'), upper-cased; 0 when none.
    static WCHAR GetMnemonic(LPCWSTR lpszText);
    // Draws a caption whose accelerator letter is underlined when `bUnderline`.
    static void DrawTextWithMnemonic(CDC* pDC, LPCWSTR lpszText, CRect rc, UINT nFormat, BOOL bUnderline);
    static COLORREF BlendColors(COLORREF clrA, COLORREF clrB, double dAlpha);
};

DV_EXPORTS_END
