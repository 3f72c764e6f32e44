// The menu bar: a tool bar stretched over a row of its own whose popups are the frame's menus.
// Alt and the accelerator letters of its captions open it from the keyboard.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ToolBar.h"

DV_EXPORTS_BEGIN

class CXTPMenuBar : public CXTPToolBar, public CXTPHookManagerHookAble {
    DECLARE_DYNCREATE(CXTPMenuBar)
public:
    CXTPMenuBar();
    ~CXTPMenuBar() override;

    // The controls of a menu (which the bar does not keep); false for none.
    BOOL LoadMenu(CMenu* pMenu);
    // The site's messages that concern the menu bar (MDI child changes): by default the bar
    // lays out again.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // The MDI buttons of a maximised child, refreshed.
    void RefreshSysButtons() { DelayLayout(); }
    BOOL ShouldSerializeBar() override { return TRUE; }
};

DV_EXPORTS_END
