#include "xtp/RibbonBackstageView.h"

#include "xtp/CommandBars.h"
#include "xtp/RibbonBackstagePage.h"
#include "xtp/RibbonBar.h"

#include <algorithm>

namespace {

constexpr LPCWSTR kSection = L"CommandBars.Ribbon.Backstage";

int itemHeight() {
    return CXTPDpi::ScaleY(38);
}

} // namespace

IMPLEMENT_DYNCREATE(CXTPRibbonBackstageCommand, CXTPControlButton)
IMPLEMENT_DYNCREATE(CXTPRibbonBackstageTab, CXTPControl)
IMPLEMENT_DYNCREATE(CXTPRibbonBackstageView, CXTPCommandBar)

void CXTPRibbonBackstageTab::SetControlPane(CWnd* pPane) {
    m_pPane = pPane;
    m_hWndPane = pPane ? pPane->m_hWnd : nullptr;
}

void CXTPRibbonBackstageTab::OnExecute() {
    if (auto* view = dynamic_cast<CXTPRibbonBackstageView*>(GetParent()))
        view->SetActiveTab(this);
}

CXTPRibbonBackstageView::CXTPRibbonBackstageView() {
    m_barType = xtpBarTypePopup;
    m_barPosition = xtpBarPopup;
}

CXTPRibbonBackstageView::~CXTPRibbonBackstageView() {
    // The pages are their owners' windows: they leave with their owners, not with the view.
    // A page may be gone already, so only its handle is trusted here.
    for (CXTPControl* c : *m_pControls) {
        auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(c);
        if (tab && m_hWnd && ::IsWindow(tab->m_hWndPane) && ::GetParent(tab->m_hWndPane) == m_hWnd) {
            ::ShowWindow(tab->m_hWndPane, SW_HIDE);
            ::SetParent(tab->m_hWndPane, ::GetParent(m_hWnd));
        }
    }
}

CXTPRibbonBackstageView* CXTPRibbonBackstageView::CreateBackstageView(CXTPCommandBars* pCommandBars) {
    auto* view = new CXTPRibbonBackstageView;
    view->SetCommandBars(pCommandBars);
    return view;
}

CXTPRibbonBackstageCommand* CXTPRibbonBackstageView::AddCommand(UINT nID, LPCWSTR lpszCaption) {
    auto* command = new CXTPRibbonBackstageCommand;
    m_pControls->Add(command, static_cast<int>(nID));
    if (lpszCaption)
        command->SetCaption(lpszCaption);
    return command;
}

CXTPRibbonBackstageTab* CXTPRibbonBackstageView::AddTab(CWnd* pPane, UINT nID, LPCWSTR lpszCaption) {
    auto* tab = new CXTPRibbonBackstageTab;
    tab->SetControlPane(pPane);
    m_pControls->Add(tab, static_cast<int>(nID));
    if (lpszCaption)
        tab->SetCaption(lpszCaption);
    else if (pPane && pPane->m_hWnd) {
        CString text;
        pPane->GetWindowText(text);
        tab->SetCaption(text);
    }
    return tab;
}

void CXTPRibbonBackstageView::SetActiveTab(CXTPRibbonBackstageTab* pTab) {
    if (pTab && (pTab->GetParent() != this || !pTab->GetEnabled() || !pTab->IsVisible()))
        return;
    CXTPRibbonBackstageTab* old = m_pActiveTab;
    if (old == pTab)
        return;
    if (old && old->GetControlPane() && old->GetControlPane()->m_hWnd) {
        if (auto* page = dynamic_cast<CPropertyPage*>(old->GetControlPane()); page && IsOpen())
            page->OnKillActive();
        old->GetControlPane()->ShowWindow(SW_HIDE);
    }
    m_pActiveTab = pTab;
    ShowActivePane();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPRibbonBackstageView::ShowActivePane() {
    if (!m_hWnd || !IsOpen() || !m_pActiveTab)
        return;
    CWnd* pane = m_pActiveTab->GetControlPane();
    if (!pane || !pane->m_hWnd)
        return;
    m_pActiveTab->m_hWndPane = pane->m_hWnd;
    // A page becomes active once when it comes into view, not at every layout that moves it.
    const bool arriving = ::GetParent(pane->m_hWnd) != m_hWnd || !::IsWindowVisible(pane->m_hWnd);
    if (::GetParent(pane->m_hWnd) != m_hWnd)
        ::SetParent(pane->m_hWnd, m_hWnd);
    if (auto* page = dynamic_cast<CPropertyPage*>(pane); page && arriving)
        page->OnSetActive();
    ::SetWindowPos(pane->m_hWnd, HWND_TOP, m_rcPane.left, m_rcPane.top, m_rcPane.Width(), m_rcPane.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

BOOL CXTPRibbonBackstageView::EnsureWindow() {
    if (m_hWnd)
        return TRUE;
    CWnd* site = GetSite();
    if (!site || !site->m_hWnd)
        return FALSE;
    static LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(0, cls, L"Backstage", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                    site->m_hWnd, nullptr);
}

BOOL CXTPRibbonBackstageView::Popup(CXTPControlPopup* pSystemButton) {
    m_pSystemButton = pSystemButton;
    if (!m_pCommandBars && pSystemButton)
        SetCommandBars(pSystemButton->GetCommandBars());
    if (!EnsureWindow())
        return FALSE;
    CWnd* site = GetSite();
    CRect rc;
    site->GetClientRect(&rc);
    // Below the ribbon's caption row, which stays as it is.
    if (auto* ribbon = pSystemButton ? dynamic_cast<CXTPRibbonBar*>(pSystemButton->GetParent()) : nullptr;
        ribbon && ribbon->m_hWnd) {
        CRect bar;
        ribbon->GetWindowRect(&bar);
        site->ScreenToClient(&bar);
        rc.top = bar.top + ribbon->GetCaptionRect().Height();
    }
    if (!m_pActiveTab) {
        for (CXTPControl* c : *m_pControls) {
            auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(c);
            if (tab && tab->IsVisible() && tab->GetEnabled()) {
                m_pActiveTab = tab;
                break;
            }
        }
    }
    m_bVisible = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW);
    OnRecalcLayout();
    ShowActivePane();
    SetTrackingMode(TRUE, FALSE, FALSE);
    // While the view covers the frame, the frame's own painting must leave it alone.
    const LONG_PTR style = ::GetWindowLongPtrW(site->m_hWnd, GWL_STYLE);
    m_bSiteClipped = (style & WS_CLIPCHILDREN) == 0;
    if (m_bSiteClipped)
        ::SetWindowLongPtrW(site->m_hWnd, GWL_STYLE, style | WS_CLIPCHILDREN);
    Invalidate(FALSE);
    return TRUE;
}

BOOL CXTPRibbonBackstageView::IsOpen() const {
    return m_hWnd && ::IsWindowVisible(m_hWnd);
}

void CXTPRibbonBackstageView::OnCancel() {
    if (!IsOpen())
        return;
    if (m_pActiveTab && m_pActiveTab->GetControlPane() && m_pActiveTab->GetControlPane()->m_hWnd) {
        if (auto* page = dynamic_cast<CPropertyPage*>(m_pActiveTab->GetControlPane()))
            page->OnKillActive();
        m_pActiveTab->GetControlPane()->ShowWindow(SW_HIDE);
    }
    SetTrackingMode(FALSE);
    m_bVisible = FALSE;
    ShowWindow(SW_HIDE);
    if (CWnd* site = GetSite(); site && site->m_hWnd && m_bSiteClipped)
        ::SetWindowLongPtrW(site->m_hWnd, GWL_STYLE,
                            ::GetWindowLongPtrW(site->m_hWnd, GWL_STYLE) & ~WS_CLIPCHILDREN);
    m_bSiteClipped = FALSE;
    if (m_pSystemButton)
        m_pSystemButton->RedrawParent();
    if (CWnd* site = GetSite(); site && site->m_hWnd)
        site->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CXTPRibbonBackstageView::SetTheme(int nTheme) {
    m_nTheme = nTheme;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPRibbonBackstageView::OnRecalcLayout() {
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    m_rcMenu = CRect(rc.left, rc.top, rc.left + CXTPDpi::ScaleX(150), rc.bottom);
    m_rcBack = CRect(m_rcMenu.left, m_rcMenu.top, m_rcMenu.right, m_rcMenu.top + CXTPDpi::ScaleY(48));
    int y = m_rcBack.bottom + CXTPDpi::ScaleY(6);
    for (CXTPControl* c : *m_pControls) {
        if (!c->IsVisible()) {
            c->SetRect(CRect());
            continue;
        }
        if (c->GetBeginGroup())
            y += CXTPDpi::ScaleY(10);
        c->SetRect(CRect(m_rcMenu.left, y, m_rcMenu.right, y + itemHeight()));
        y += itemHeight();
    }
    m_rcPane = CRect(m_rcMenu.right, rc.top, rc.right, rc.bottom);
    m_bLayoutPending = FALSE;
    ShowActivePane();
}

void CXTPRibbonBackstageView::DrawCommandBar(CDC* pDC, CRect) {
    CRect rc;
    GetClientRect(&rc);
    const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
    const COLORREF menuFace = XTPIniColor(kSection, L"MenuBackground", colors.clrAccent);
    const COLORREF menuText = XTPIniColor(kSection, L"MenuText", colors.clrCaptionText);
    pDC->FillSolidRect(&rc, XTPIniColor(kSection, L"PageBackground", colors.clrWindow));
    pDC->FillSolidRect(&m_rcMenu, menuFace);
    // The back button: a circle with an arrow pointing left.
    const CPoint c = m_rcBack.CenterPoint();
    const int r = CXTPDpi::ScaleX(12);
    CPen pen(PS_SOLID, 2, menuText);
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Ellipse(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
    pDC->MoveTo(c.x - 6, c.y);
    pDC->LineTo(c.x + 7, c.y);
    pDC->MoveTo(c.x - 6, c.y);
    pDC->LineTo(c.x - 1, c.y - 5);
    pDC->MoveTo(c.x - 6, c.y);
    pDC->LineTo(c.x - 1, c.y + 5);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
    CFont* oldFont = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* control = GetControl(i);
        CRect item = control->GetRect();
        if (item.IsRectEmpty())
            continue;
        if (control == m_pActiveTab)
            pDC->FillSolidRect(&item, CXTPDrawHelpers::BlendColors(menuFace, RGB(255, 255, 255), 0.75));
        else if (i == m_nHot)
            pDC->FillSolidRect(&item, CXTPDrawHelpers::BlendColors(menuFace, RGB(255, 255, 255), 0.88));
        pDC->SetTextColor(control->GetEnabled() ? menuText
                                                : CXTPDrawHelpers::BlendColors(menuText, menuFace, 0.5));
        item.left += CXTPDpi::ScaleX(24);
        CXTPDrawHelpers::DrawTextWithMnemonic(pDC, control->GetCaption(), item,
                                              DT_SINGLELINE | DT_VCENTER | DT_LEFT, FALSE);
    }
    pDC->SelectObject(oldFont);
}

BOOL CXTPRibbonBackstageView::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (nChar == VK_ESCAPE) {
        OnCancel();
        return TRUE;
    }
    return CXTPCommandBar::OnHookKeyDown(nChar, lParam);
}

LRESULT CXTPRibbonBackstageView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_MOUSEMOVE: {
        const int hit = HitTest(point);
        if (hit != m_nHot) {
            m_nHot = hit;
            Invalidate(FALSE);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        return 0;
    case WM_LBUTTONUP: {
        if (m_rcBack.PtInRect(point)) {
            OnCancel();
            return 0;
        }
        CXTPControl* control = GetControl(HitTest(point));
        if (!control || !control->GetEnabled())
            return 0;
        if (auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control)) {
            SetActiveTab(tab);
            return 0;
        }
        // A command closes the view and then runs.
        OnCancel();
        control->OnExecute();
        return 0;
    }
    case WM_SIZE: {
        const LRESULT result = CXTPCommandBar::WindowProc(message, wParam, lParam);
        OnRecalcLayout();
        return result;
    }
    default:
        return CXTPCommandBar::WindowProc(message, wParam, lParam);
    }
}
