// A push button drawn in the tool kit's look, with an icon of the image manager or its own at
// a chosen size, beside or instead of its caption.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ControlTheme.h"

#include <memory>

DV_EXPORTS_BEGIN

class CXTPImageManagerIcon;

class CXTPButton : public CButton {
    DECLARE_DYNAMIC(CXTPButton)
public:
    CXTPButton();
    ~CXTPButton() override;

    // The icon shown at `size`: a copy of hIcon, or of an image manager's icon. A null icon
    // takes it away.
    BOOL SetIcon(CSize size, HICON hIcon, HICON hIconHot = nullptr);
    BOOL SetIcon(CSize size, CXTPImageManagerIcon* pIcon);
    CSize GetIconSize() const { return iconSize_; }

    void SetTheme(XTPControlTheme theme);
    XTPControlTheme GetTheme() const { return theme_; }
    BOOL IsHot() const { return hot_; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DrawButton(CDC* pDC);

private:
    XTPControlTheme theme_ = xtpControlThemeFlat;
    CSize iconSize_ = CSize(16, 16);
    std::unique_ptr<CXTPImageManagerIcon> own_; // the button's copy of the icon it shows
    BOOL hot_ = FALSE;
};

DV_EXPORTS_END
