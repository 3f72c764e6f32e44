#include "xtp/ControlLabel.h"

#include "xtp/CommandBar.h"
#include "xtp/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPControlLabel, CXTPControl)
IMPLEMENT_DYNCREATE(CXTPControlStatic, CXTPControlLabel)
IMPLEMENT_DYNCREATE(CXTPControlCheckBox, CXTPControl)

namespace {

bool inPopup(const CXTPControl* c) {
    return c->GetParent() != nullptr && c->GetParent()->IsPopupBar();
}

int rowHeight(const CXTPControl* c) {
    const CXTPPaintManager* pm = CXTPPaintManager::Current();
    if (c->GetHeight() > 0)
        return c->GetHeight();
    return inPopup(c) ? pm->GetPopupItemHeight() : pm->GetButtonHeight();
}

} // namespace

CXTPControlLabel::CXTPControlLabel() {
    m_controlType = xtpControlLabel;
    m_dwFlags = xtpFlagManualUpdate;
}

CSize CXTPControlLabel::GetSize(CDC* pDC) {
    const int text = pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(m_strCaption.GetString())).cx;
    const int width = m_nWidth > 0 ? m_nWidth : text + CXTPDpi::ScaleX(inPopup(this) ? 16 : 8);
    return CSize(width, rowHeight(this));
}

void CXTPControlLabel::Draw(CDC* pDC) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    CRect rc = m_rcControl;
    if (inPopup(this)) {
        // A group title across the popup.
        pDC->FillSolidRect(&rc, c.clrPopupGutter);
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, c.clrSeparator);
    }
    rc.DeflateRect(CXTPDpi::ScaleX(4), 0);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_bEnabled ? c.clrText : c.clrTextDisabled);
    CFont* old =
        inPopup(this) ? pDC->SelectObject(CXTPPaintManager::Current()->GetRegularBoldFont()) : nullptr;
    pDC->DrawText(m_strCaption, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_HIDEPREFIX);
    if (old != nullptr)
        pDC->SelectObject(old);
}

CSize CXTPControlStatic::GetSize(CDC* pDC) {
    const CSize size = CXTPControlLabel::GetSize(pDC);
    return CSize(m_nWidth > 0 ? m_nWidth : size.cx, size.cy);
}

CXTPControlCheckBox::CXTPControlCheckBox() {
    m_controlType = xtpControlCheckBox;
}

CSize CXTPControlCheckBox::GetSize(CDC* pDC) {
    const int text = pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(m_strCaption.GetString())).cx;
    const int width = m_nWidth > 0 ? m_nWidth : CXTPDpi::ScaleX(13 + 6 + 8) + text;
    return CSize(width, rowHeight(this));
}

void CXTPControlCheckBox::Draw(CDC* pDC) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    if (m_bSelected && m_bEnabled) {
        CRect face = m_rcControl;
        face.DeflateRect(1, 1);
        pDC->FillSolidRect(&face, c.clrHotFace);
    }
    const int side = CXTPDpi::ScaleX(13);
    const int left = m_rcControl.left + CXTPDpi::ScaleX(inPopup(this) ? 8 : 4);
    CRect box(left, m_rcControl.CenterPoint().y - side / 2, left + side,
              m_rcControl.CenterPoint().y - side / 2 + side);
    pDC->FillSolidRect(&box, m_bEnabled ? c.clrEditFace : c.clrBarFace);
    const COLORREF border = m_bEnabled ? c.clrEditBorder : c.clrTextDisabled;
    pDC->Draw3dRect(&box, border, border);
    if (m_bChecked) {
        CPen pen(PS_SOLID, std::max(2, CXTPDpi::ScaleX(2)), m_bEnabled ? c.clrAccent : c.clrTextDisabled);
        CPen* old = pDC->SelectObject(&pen);
        const CPoint m = box.CenterPoint();
        pDC->MoveTo(m.x - 4, m.y);
        pDC->LineTo(m.x - 1, m.y + 3);
        pDC->LineTo(m.x + 4, m.y - 3);
        pDC->SelectObject(old);
    }
    CRect text = m_rcControl;
    text.left = box.right + CXTPDpi::ScaleX(6);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_bEnabled ? c.clrText : c.clrTextDisabled);
    pDC->DrawText(m_strCaption, &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_HIDEPREFIX);
}
