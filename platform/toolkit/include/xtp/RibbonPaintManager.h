// How the ribbon looks: its metrics and the drawing of its pieces in the paint manager's theme.
// The ribbon bar measures and lays out; this draws what it laid out.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/PaintManager.h"

DV_EXPORTS_BEGIN

// The colours a contextual tab may carry.
enum XTPRibbonTabContextColor {
    xtpRibbonTabContextColorNone = 0,
    xtpRibbonTabContextColorBlue = 1,
    xtpRibbonTabContextColorYellow = 2,
    xtpRibbonTabContextColorGreen = 3,
    xtpRibbonTabContextColorRed = 4,
    xtpRibbonTabContextColorPurple = 5,
    xtpRibbonTabContextColorCyan = 6,
    xtpRibbonTabContextColorOrange = 7,
};

// The state a ribbon button is drawn in.
enum XTPRibbonButtonState {
    xtpRibbonButtonNormal = 0,
    xtpRibbonButtonHot = 1,
    xtpRibbonButtonPressed = 2,
    xtpRibbonButtonChecked = 4,
    xtpRibbonButtonDisabled = 8,
};

class CXTPRibbonPaintManager {
public:
    // The ribbon paint manager of the shared paint manager's theme.
    static CXTPRibbonPaintManager* Current();

    // --- metrics (at the screen's dpi) ---
    int GetCaptionHeight() const;
    int GetTabsHeight() const;
    int GetGroupsHeight() const; // the whole band of groups, their captions included
    int GetGroupCaptionHeight() const;
    int GetEditHeight() const;
    int GetSmallRowHeight() const; // one of the three rows of medium and small buttons
    int GetLargeIconSize() const;
    int GetSmallIconSize() const;

    // --- colours ---
    COLORREF GetContextColor(XTPRibbonTabContextColor color) const;
    COLORREF GetGroupsFace() const;
    COLORREF GetTabsFace() const;
    COLORREF GetCaptionFace() const;
    COLORREF GetCaptionText() const;

    // --- drawing ---
    void FillRibbonBar(CDC* pDC, const CRect& rcCaption, const CRect& rcTabs, const CRect& rcGroups);
    void DrawCaptionText(CDC* pDC, CRect rc, LPCWSTR lpszTitle);
    // One of the frame's buttons in the caption row, by its system command.
    void DrawCaptionButton(CDC* pDC, CRect rc, UINT nCommand, int nState);
    // A control standing in the caption row: its icon and caption in the caption's colours.
    void DrawCaptionControl(CDC* pDC, CRect rc, LPCWSTR lpszCaption, HICON hIcon, int nIconSize, int nState,
                            BOOL bDropDown);
    void DrawContextHeader(CDC* pDC, CRect rc, LPCWSTR lpszCaption, XTPRibbonTabContextColor color);
    void DrawTab(CDC* pDC, CRect rc, LPCWSTR lpszCaption, BOOL bSelected, int nState,
                 XTPRibbonTabContextColor color);
    void DrawSystemButton(CDC* pDC, CRect rc, LPCWSTR lpszCaption, int nState);
    // An arrow at an end of a tab row too long for the ribbon, pointing the way it scrolls.
    void DrawTabScrollButton(CDC* pDC, CRect rc, BOOL bRight, int nState);
    void DrawGroup(CDC* pDC, CRect rcGroup, LPCWSTR lpszCaption, BOOL bLauncher, int nLauncherState);
    // The small button at a group's lower right that opens the group's dialog.
    CRect GetLauncherRect(CRect rcGroup) const;
    // A button: large with its caption under a large icon, medium with its caption beside a small
    // icon, small with its icon alone; a drop-down arrow after the caption when bDropDown.
    // nIconSize 0 takes this paint manager's icon size for the button's size.
    void DrawButton(CDC* pDC, CRect rc, LPCWSTR lpszCaption, HICON hIcon, int nSize, int nState,
                    BOOL bDropDown, int nIconSize = 0);
    // The width a button needs at a size (0 large, 1 medium, 2 small).
    int GetButtonWidth(CDC* pDC, LPCWSTR lpszCaption, int nSize, BOOL bDropDown, int nIconSize = 0);
    // A key tip: its letters in a small box.
    CSize GetKeyTipSize(CDC* pDC, LPCWSTR lpszText);
    void DrawKeyTip(CDC* pDC, CRect rc, LPCWSTR lpszText);
    // The quick access bar's button that opens its menu.
    void DrawQuickAccessCustomize(CDC* pDC, CRect rc, int nState, BOOL bOnCaption);

private:
    COLORREF StateFace(int nState, COLORREF clrNormal) const;
    const XTP_THEME_COLORS& Colors() const;
};

DV_EXPORTS_END
