// The standard list, combo and tree controls in the tool kit's looks. A tree takes its look's
// colours; lists and combo boxes draw a flat border in it over the platform's own.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ControlTheme.h"

DV_EXPORTS_BEGIN

class CXTPComboBox : public CComboBox {
    DECLARE_DYNAMIC(CXTPComboBox)
public:
    void SetTheme(XTPControlTheme theme);
    XTPControlTheme GetTheme() const { return theme_; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    XTPControlTheme theme_ = xtpControlThemeDefault;
};

class CXTPListBox : public CListBox {
    DECLARE_DYNAMIC(CXTPListBox)
public:
    void SetTheme(XTPControlTheme theme);
    XTPControlTheme GetTheme() const { return theme_; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    XTPControlTheme theme_ = xtpControlThemeDefault;
};

// What every themed tree shares: the look's ground, text and line colours.
class CXTPTreeBase {
public:
    virtual ~CXTPTreeBase() = default;
    void SetTheme(XTPControlTheme theme);
    XTPControlTheme GetTheme() const { return theme_; }

protected:
    explicit CXTPTreeBase(CTreeCtrl* pTree) : tree_(pTree) {}

private:
    CTreeCtrl* tree_;
    XTPControlTheme theme_ = xtpControlThemeDefault;
};

class CXTPTreeCtrl : public CTreeCtrl, public CXTPTreeBase {
    DECLARE_DYNAMIC(CXTPTreeCtrl)
public:
    CXTPTreeCtrl() : CXTPTreeBase(this) {}
};

DV_EXPORTS_END
