#include "xtp/Button.h"

#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

IMPLEMENT_DYNAMIC(CXTPButton, CButton)

CXTPButton::CXTPButton() = default;
CXTPButton::~CXTPButton() = default;

BOOL CXTPButton::SetIcon(CSize size, HICON hIcon, HICON hIconHot) {
    own_.reset();
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    iconSize_ = size;
    if (hIcon != nullptr) {
        own_ = std::make_unique<CXTPImageManagerIcon>(0, size.cx, size.cy);
        own_->SetIcon(hIcon, xtpImageNormal);
        if (hIconHot != nullptr)
            own_->SetIcon(hIconHot, xtpImageHot);
    }
    if (m_hWnd != nullptr)
        Invalidate();
    return TRUE;
}

// The button keeps a copy of the icon's pictures (an SVG icon shares its document), so the
// image manager may drop or replace its icon while the button lives.
BOOL CXTPButton::SetIcon(CSize size, CXTPImageManagerIcon* pIcon) {
    own_.reset();
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    iconSize_ = size;
    if (pIcon != nullptr) {
        own_ = std::make_unique<CXTPImageManagerIcon>(pIcon->GetID(), size.cx, size.cy);
        if (pIcon->IsVectorIcon()) {
            own_->SetVectorIcon(pIcon->GetVectorImage());
        } else {
            for (XTPImageState state :
                 {xtpImageNormal, xtpImageDisabled, xtpImageHot, xtpImageChecked, xtpImagePressed}) {
                if (pIcon->HasState(state))
                    own_->SetIcon(pIcon->GetIcon(state), state);
            }
        }
    }
    if (m_hWnd != nullptr)
        Invalidate();
    return TRUE;
}

void CXTPButton::SetTheme(XTPControlTheme theme) {
    theme_ = theme;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CXTPButton::DrawButton(CDC* pDC) {
    CRect r;
    GetClientRect(&r);
    const XTP_CONTROL_THEME_COLORS c = XTPGetControlThemeColors(theme_);
    const BOOL enabled = IsWindowEnabled();
    const BOOL pushed = (GetState() & BST_PUSHED) != 0 || GetCheck() == BST_CHECKED;
    pDC->FillSolidRect(&r, pushed ? c.clrPushedFace : hot_ && enabled ? c.clrHotFace : c.clrFace);
    if (c.bFlat) {
        pDC->Draw3dRect(&r, c.clrBorder, c.clrBorder);
    } else {
        const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_3DDKSHADOW);
        pDC->Draw3dRect(&r, pushed ? dark : light, pushed ? light : dark);
    }
    CString caption;
    GetWindowText(caption);
    CRect content = r;
    content.DeflateRect(3, 3);
    if (pushed && !c.bFlat)
        content.OffsetRect(1, 1);
    if (own_ != nullptr) {
        const int x =
            caption.IsEmpty() ? content.left + (content.Width() - iconSize_.cx) / 2 : content.left + 2;
        const int y = content.top + (content.Height() - iconSize_.cy) / 2;
        const XTPImageState state = !enabled ? xtpImageDisabled
                                    : pushed ? xtpImagePressed
                                    : hot_   ? xtpImageHot
                                             : xtpImageNormal;
        own_->Draw(pDC, CPoint(x, y), iconSize_, state);
        content.left = x + iconSize_.cx + 4;
    }
    if (!caption.IsEmpty()) {
        CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(enabled ? c.clrText : c.clrDisabledText);
        const UINT align = own_ != nullptr ? DT_LEFT : DT_CENTER;
        pDC->DrawText(caption, caption.GetLength(), &content,
                      align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        pDC->SelectObject(old);
    }
    if (GetFocus() == this && !(GetStyle() & BS_FLAT)) {
        CRect focus = r;
        focus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&focus);
    }
}

LRESULT CXTPButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(this);
        DrawButton(&dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = TRUE;
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
            Invalidate();
        }
        break;
    case WM_MOUSELEAVE:
        hot_ = FALSE;
        Invalidate();
        break;
    default:
        break;
    }
    const LRESULT result = CButton::WindowProc(message, wParam, lParam);
    // The control's own state changes repaint through its own drawing, not the platform's.
    if (message == BM_SETSTATE || message == BM_SETCHECK || message == WM_ENABLE || message == WM_SETFOCUS ||
        message == WM_KILLFOCUS || message == WM_SETTEXT)
        Invalidate();
    return result;
}
