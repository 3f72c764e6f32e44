#include "xtp/TabManager.h"

#include <algorithm>

namespace {

void fill(CDC* dc, const CRect& r, COLORREF c) {
    dc->FillSolidRect(&r, c);
}

// A small cross, the close button's mark.
void drawCross(CDC* dc, const CRect& r, COLORREF c) {
    CPen pen(PS_SOLID, 1, c);
    CPen* old = dc->SelectObject(&pen);
    const int inset = 4;
    for (int k = 0; k < 2; ++k) { // two lines side by side for a stroke that reads
        dc->MoveTo(r.left + inset + k, r.top + inset);
        dc->LineTo(r.right - inset + k, r.bottom - inset);
        dc->MoveTo(r.right - inset - 1 + k, r.top + inset);
        dc->LineTo(r.left + inset - 1 + k, r.bottom - inset);
    }
    dc->SelectObject(old);
}

} // namespace

CXTPTabPaintManager::CXTPTabPaintManager() {
    m_clrSet = ColorSetFromTheme(CXTPPaintManager::Current()->GetColors());
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    m_font.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lf);
}

CXTPTabPaintManager::~CXTPTabPaintManager() = default;

XTP_TAB_COLORSET CXTPTabPaintManager::ColorSetFromTheme(const XTP_THEME_COLORS& t) {
    XTP_TAB_COLORSET c{};
    // The strip a shade off the bars, so that the selected tab stands out of it in every theme.
    c.clrBackground = CXTPDrawHelpers::BlendColors(t.clrBarFace, t.clrBarBorder, 0.6);
    c.clrClient = t.clrBarBorder;
    c.clrTab = c.clrBackground;
    c.clrTabHighlight = t.clrHotFace;
    c.clrTabSelected = t.clrWindow;
    c.clrTabSelectedInactive = t.clrPopupFace;
    c.clrText = t.clrText;
    c.clrTextSelected = t.clrWindowText;
    c.clrBorder = t.clrBarBorder;
    c.clrAccent = t.clrAccent;
    return c;
}

int CXTPTabPaintManager::GetHeaderHeight() {
    CClientDC dc(nullptr);
    CFont* old = dc.SelectObject(&m_font);
    TEXTMETRICW tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    return std::max<int>(tm.tmHeight, 16) + m_rcButtonMargin.top + m_rcButtonMargin.bottom + 6;
}

int CXTPTabPaintManager::GetItemWidth(CDC* pDC, const CXTPTabManager* pManager, int nItem) {
    CXTPTabManagerItem* item = pManager->GetItem(nItem);
    if (!item)
        return 0;
    if (m_layout == xtpTabLayoutFixed)
        return m_nFixedTabWidth;
    CFont* old = pDC->SelectObject(m_bBoldSelected ? &m_fontBold : &m_font);
    int width = pDC->GetTextExtent(item->GetCaption()).cx + m_rcButtonMargin.left + m_rcButtonMargin.right;
    pDC->SelectObject(old);
    if (m_bShowIcons) {
        CSize icon(16, 16);
        if (pManager->DrawIcon(pDC, CPoint(), item, FALSE, icon))
            width += icon.cx + 4;
    }
    if (pManager->IsCloseButtonShown(item))
        width += m_nCloseButtonSize + 4;
    return width;
}

void CXTPTabPaintManager::DrawTabControl(CDC* pDC, CXTPTabManager* pManager, BOOL bActive) {
    const XTP_TAB_COLORSET& c = m_clrSet;
    const CRect header = pManager->GetHeaderRect();
    fill(pDC, header, c.clrBackground);
    const bool bottom = pManager->GetPosition() == xtpTabPositionBottom;
    // The line that joins the strip to its client.
    CRect base = header;
    if (bottom)
        base.bottom = base.top + 1;
    else
        base.top = base.bottom - 1;
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < pManager->GetItemCount(); ++i) {
        CXTPTabManagerItem* item = pManager->GetItem(i);
        CRect r = item->GetRect();
        if (!item->IsVisible() || r.IsRectEmpty())
            continue;
        const bool selected = item->IsSelected();
        const bool hot = item == pManager->m_pHighlighted && !selected;
        const COLORREF face = selected ? (bActive ? c.clrTabSelected : c.clrTabSelectedInactive)
                              : hot    ? c.clrTabHighlight
                                       : c.clrTab;
        fill(pDC, r, face);
        if (selected || hot) {
            pDC->Draw3dRect(&r, c.clrBorder, c.clrBorder);
            if (selected && bActive) {
                CRect accent = r;
                if (bottom)
                    accent.top = accent.bottom - 2;
                else
                    accent.bottom = accent.top + 2;
                fill(pDC, accent, c.clrAccent);
            }
        }
        CRect content = r;
        content.DeflateRect(m_rcButtonMargin.left, 0, m_rcButtonMargin.right, 0);
        if (m_bShowIcons) {
            CSize icon(16, 16);
            if (pManager->DrawIcon(pDC, CPoint(), item, FALSE, icon)) {
                pManager->DrawIcon(pDC, CPoint(content.left, r.CenterPoint().y - icon.cy / 2), item, TRUE,
                                   icon);
                content.left += icon.cx + 4;
            }
        }
        const CRect close = item->GetCloseButtonRect();
        if (!close.IsRectEmpty()) {
            content.right = close.left - 2;
            drawCross(pDC, close, selected ? c.clrTextSelected : c.clrText);
        }
        CFont* old = pDC->SelectObject(selected && m_bBoldSelected ? &m_fontBold : &m_font);
        pDC->SetTextColor(selected ? c.clrTextSelected : c.clrText);
        const CString caption = item->GetCaption();
        pDC->DrawText(caption, &content,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
        pDC->SelectObject(old);
    }
    fill(pDC, base, c.clrBorder);
}
