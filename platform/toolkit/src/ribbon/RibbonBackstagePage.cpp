#include "xtp/RibbonBackstagePage.h"

#include "afx/recent.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <iterator>

namespace {

const AFX_DLGTEMPLATE kTemplates[] = {
    {XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT, L"Recent", WS_CHILD, 0, 0, 320, 240, nullptr, 0},
};
AFX_DIALOG_TEMPLATES(kTemplates);

// The theme settings the backstage reads, as roles of the theme's colours.
struct IniColor {
    LPCWSTR section;
    LPCWSTR entry;
    COLORREF XTP_THEME_COLORS::*role;
};
const IniColor kIniColors[] = {
    {L"CommandBars.Ribbon.Backstage", L"PageBackground", &XTP_THEME_COLORS::clrWindow},
    {L"CommandBars.Ribbon.Backstage", L"PageText", &XTP_THEME_COLORS::clrWindowText},
    {L"CommandBars.Ribbon.Backstage", L"MenuBackground", &XTP_THEME_COLORS::clrAccent},
    {L"CommandBars.Ribbon.Backstage", L"MenuText", &XTP_THEME_COLORS::clrCaptionText},
};

} // namespace

COLORREF XTPIniColor(LPCWSTR lpszSection, LPCWSTR lpszEntry, COLORREF clrDefault) {
    if (!lpszSection || !lpszEntry)
        return clrDefault;
    const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
    for (const IniColor& c : kIniColors) {
        if (CString(c.section).CompareNoCase(lpszSection) == 0 &&
            CString(c.entry).CompareNoCase(lpszEntry) == 0)
            return colors.*c.role;
    }
    return clrDefault;
}

// ---- the page ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CXTPRibbonBackstagePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CXTPRibbonBackstagePage, CPropertyPage)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CXTPRibbonBackstagePage::CXTPRibbonBackstagePage(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate), m_clrBack(GetXtremeColor(COLOR_WINDOW)),
      m_clrText(GetXtremeColor(COLOR_WINDOWTEXT)) {}

void CXTPRibbonBackstagePage::SetTheme(int nTheme) {
    m_nTheme = nTheme;
    m_clrBack = XTPIniColor(L"CommandBars.Ribbon.Backstage", L"PageBackground", GetXtremeColor(COLOR_WINDOW));
    m_clrText = XTPIniColor(L"CommandBars.Ribbon.Backstage", L"PageText", GetXtremeColor(COLOR_WINDOWTEXT));
    if (m_hWnd)
        Invalidate();
}

BOOL CXTPRibbonBackstagePage::OnEraseBkgnd(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, m_clrBack);
    return TRUE;
}

// ---- recent files -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CXTPRibbonBackstagePageRecent, CXTPRibbonBackstagePage)

BEGIN_MESSAGE_MAP(CXTPRibbonBackstagePageRecent, CXTPRibbonBackstagePage)
ON_WM_PAINT()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CXTPRibbonBackstagePageRecent::CXTPRibbonBackstagePageRecent()
    : CXTPRibbonBackstagePage(XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT) {
    m_strCaption = L"Recent";
}

CRecentFileList* CXTPRibbonBackstagePageRecent::GetRecentFileList() const {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList : nullptr;
}

int CXTPRibbonBackstagePageRecent::GetItemCount() const {
    CRecentFileList* list = GetRecentFileList();
    if (!list)
        return 0;
    int count = 0;
    while (count < list->GetCount() && !(*list)[count].IsEmpty())
        ++count;
    return count;
}

CString CXTPRibbonBackstagePageRecent::GetItemPath(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetItemCount())
        return CString();
    return (*GetRecentFileList())[nIndex];
}

CRect CXTPRibbonBackstagePageRecent::GetItemRect(int nIndex) const {
    CRect rc;
    if (m_hWnd)
        GetClientRect(&rc);
    return CRect(rc.left + 8, m_nTop + nIndex * m_nItemHeight, rc.right - 8,
                 m_nTop + (nIndex + 1) * m_nItemHeight);
}

int CXTPRibbonBackstagePageRecent::HitTest(CPoint point) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetItemRect(i).PtInRect(point))
            return i;
    }
    return -1;
}

BOOL CXTPRibbonBackstagePageRecent::OpenItem(int nIndex) {
    CRecentFileList* list = GetRecentFileList();
    if (!list || nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return FALSE;
    // The command goes to the main window after the click is over: opening a file may close the
    // backstage and this page with it.
    main->PostMessage(WM_COMMAND, MAKEWPARAM(list->m_nStart + static_cast<UINT>(nIndex), 0), 0);
    return TRUE;
}

void CXTPRibbonBackstagePageRecent::SetItemNetwork(int nIndex, BOOL bNetwork) {
    if (nIndex < 0)
        return;
    if (static_cast<size_t>(nIndex) >= m_network.size())
        m_network.resize(static_cast<size_t>(nIndex) + 1, false);
    m_network[static_cast<size_t>(nIndex)] = bNetwork != FALSE;
}

BOOL CXTPRibbonBackstagePageRecent::IsItemNetwork(int nIndex) const {
    return nIndex >= 0 && static_cast<size_t>(nIndex) < m_network.size() &&
           m_network[static_cast<size_t>(nIndex)];
}

BOOL CXTPRibbonBackstagePageRecent::OnSetActive() {
    if (m_hWnd)
        Invalidate();
    return CXTPRibbonBackstagePage::OnSetActive();
}

void CXTPRibbonBackstagePageRecent::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, m_clrBack);
    dc.SetBkMode(TRANSPARENT);
    CXTPPaintManager* paint = CXTPPaintManager::Current();
    CFont* old = dc.SelectObject(paint->GetRegularBoldFont());
    dc.SetTextColor(m_clrText);
    CRect title(rc.left + 8, rc.top + 8, rc.right - 8, m_nTop - 8);
    dc.DrawText(L"Recent Documents", &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    const COLORREF faint = paint->GetColors().clrTextDisabled;
    for (int i = 0; i < GetItemCount(); ++i) {
        const CString path = GetItemPath(i);
        const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
        const CString name = slash >= 0 ? path.Mid(slash + 1) : path;
        CRect item = GetItemRect(i);
        CRect upper = item, lower = item;
        upper.bottom = item.top + item.Height() / 2;
        lower.top = upper.bottom;
        dc.SelectObject(paint->GetRegularFont());
        dc.SetTextColor(m_clrText);
        dc.DrawText(name, &upper, DT_SINGLELINE | DT_BOTTOM | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
        dc.SetTextColor(faint);
        dc.DrawText(path, &lower, DT_SINGLELINE | DT_TOP | DT_LEFT | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    }
    dc.SelectObject(old);
}

void CXTPRibbonBackstagePageRecent::OnLButtonUp(UINT, CPoint point) {
    OpenItem(HitTest(point));
}
