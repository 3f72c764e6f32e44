// The settings of a frame's command bars that a person can change on the options page (large
// icons, full menus, tips, menu animation) and those the program fixes (icon sizes, cues).
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;

enum XTPAnimationType {
    xtpAnimateWindowsDefault = 0,
    xtpAnimateRandom = 1,
    xtpAnimateUnfold = 2,
    xtpAnimateSlide = 3,
    xtpAnimateFade = 4,
    xtpAnimateNone = 5,
};

enum XTPKeyboardCuesShow {
    xtpKeyboardCuesShowAlways = 0,
    xtpKeyboardCuesShowNever = 1,
    xtpKeyboardCuesShowWindowsDefault = 2,
};

class CXTPCommandBarsOptions : public CCmdTarget {
public:
    explicit CXTPCommandBarsOptions(CXTPCommandBars* pCommandBars = nullptr);

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }

    // The person's own options.
    BOOL bAlwaysShowFullMenus = TRUE;
    BOOL bShowFullAfterDelay = TRUE;
    BOOL bToolBarScreenTips = TRUE;
    BOOL bToolBarAccelTips = FALSE;
    BOOL bLargeIcons = FALSE;
    XTPAnimationType animateMenus = xtpAnimateWindowsDefault;

    // What the program sets.
    BOOL bShowExpandButtonAlways = FALSE;
    BOOL bShowTextBelowIcons = FALSE;
    BOOL bShowPopupBarToolTips = FALSE;
    BOOL bSyncFloatingBars = TRUE;
    BOOL bDblClickFloat = FALSE;
    BOOL bAutoHideUnusedPopups = TRUE;
    BOOL bUseDisabledIcons = FALSE;
    BOOL bShowKeyboardTips = FALSE;
    BOOL bShowRibbon = FALSE;
    BOOL bDirtyState = FALSE; // the options changed since they were last stored
    CSize szIcons = CSize(16, 16);
    CSize szLargeIcons = CSize(32, 32);
    CSize szPopupIcons = CSize(16, 16);
    // Bitmaps (not vector icons) are scaled with the screen's DPI.
    BOOL bDpiBitmapScaling = TRUE;

    void ShowKeyboardCues(XTPKeyboardCuesShow keyboardCues) { keyboardCuesShow_ = keyboardCues; }
    XTPKeyboardCuesShow GetShowKeyboardCues() const { return keyboardCuesShow_; }
    // Whether mnemonic underlines show now: always, never, or once the person used the keyboard.
    BOOL IsKeyboardCuesVisible() const;
    void SetKeyboardUsed(BOOL bUsed) { keyboardUsed_ = bUsed; }

    // The person's options always; with bUserOptionsOnly false also the program's. Loading
    // keeps the present value of every option that is missing or unreadable.
    void DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOptionsOnly = FALSE);

protected:
    CXTPCommandBars* m_pCommandBars;

private:
    XTPKeyboardCuesShow keyboardCuesShow_ = xtpKeyboardCuesShowAlways;
    BOOL keyboardUsed_ = FALSE;
};

DV_EXPORTS_END
