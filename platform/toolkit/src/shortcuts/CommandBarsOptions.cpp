#include "xtp/CommandBarsOptions.h"

#include "xtp/PropExchange.h"

CXTPCommandBarsOptions::CXTPCommandBarsOptions(CXTPCommandBars* pCommandBars)
    : m_pCommandBars(pCommandBars) {}

BOOL CXTPCommandBarsOptions::IsKeyboardCuesVisible() const {
    switch (keyboardCuesShow_) {
    case xtpKeyboardCuesShowAlways:
        return TRUE;
    case xtpKeyboardCuesShowNever:
        return FALSE;
    default:
        return keyboardUsed_;
    }
}

void CXTPCommandBarsOptions::DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOptionsOnly) {
    if (pPX == nullptr)
        return;
    // Each option keeps its present value as the default when loading.
    const auto flag = [pPX](LPCWSTR name, BOOL& value) { PX_Bool(pPX, name, value, value); };
    flag(L"AlwaysShowFullMenus", bAlwaysShowFullMenus);
    flag(L"ShowFullAfterDelay", bShowFullAfterDelay);
    flag(L"ToolBarScreenTips", bToolBarScreenTips);
    flag(L"ToolBarAccelTips", bToolBarAccelTips);
    flag(L"LargeIcons", bLargeIcons);
    flag(L"ShowTextBelowIcons", bShowTextBelowIcons);
    int animation = animateMenus;
    PX_Int(pPX, L"Animation", animation, animation);
    if (animation >= xtpAnimateWindowsDefault && animation <= xtpAnimateNone)
        animateMenus = static_cast<XTPAnimationType>(animation);
    if (bUserOptionsOnly)
        return;
    flag(L"ShowExpandButtonAlways", bShowExpandButtonAlways);
    flag(L"ShowPopupBarToolTips", bShowPopupBarToolTips);
    flag(L"SyncFloatingBars", bSyncFloatingBars);
    flag(L"DblClickFloat", bDblClickFloat);
    flag(L"AutoHideUnusedPopups", bAutoHideUnusedPopups);
    flag(L"UseDisabledIcons", bUseDisabledIcons);
    flag(L"ShowKeyboardTips", bShowKeyboardTips);
    // Sizes outside what an icon can be are not taken.
    const auto size = [pPX](LPCWSTR name, CSize& value) {
        CSize read = value;
        PX_Size(pPX, name, read, value);
        if (read.cx >= 8 && read.cy >= 8 && read.cx <= 256 && read.cy <= 256)
            value = read;
    };
    size(L"IconsSize", szIcons);
    size(L"LargeIconsSize", szLargeIcons);
    size(L"PopupIconsSize", szPopupIcons);
    int cues = keyboardCuesShow_;
    PX_Int(pPX, L"KeyboardCues", cues, cues);
    if (cues >= xtpKeyboardCuesShowAlways && cues <= xtpKeyboardCuesShowWindowsDefault)
        keyboardCuesShow_ = static_cast<XTPKeyboardCuesShow>(cues);
}
