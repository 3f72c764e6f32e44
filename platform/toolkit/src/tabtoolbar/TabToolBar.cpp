#include "xtp/TabToolBar.h"

#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

namespace {

// A damaged layout cannot make more tabs than a person ever would.
constexpr int kMaxCategories = 256;

bool inCategory(const CXTPControl* control, const CXTPTabManagerItem* item) {
    const CString category = control->GetCategory();
    return category.IsEmpty() || (item != nullptr && category == item->GetCaption());
}

} // namespace

// The strip: the bar paints it, takes its clicks and hears of the selection.
class CXTPTabToolBar::CTabs : public CXTPTabManager {
public:
    explicit CTabs(CXTPTabToolBar* bar) : m_pBar(bar) {}
    CXTPTabPaintManager* GetPaintManager() const override { return m_pBar->m_pTabPaintManager.get(); }
    HWND GetMeasureWindow() const override { return m_pBar->GetSafeHwnd(); }
    void RedrawControl() override {
        if (m_pBar->GetSafeHwnd() != nullptr)
            m_pBar->Invalidate(FALSE);
    }
    void SetSelectedItem(CXTPTabManagerItem* pItem) override {
        if (pItem == GetSelectedItem())
            return;
        CXTPTabManager::SetSelectedItem(pItem);
        m_pBar->showSelectedControls();
        m_pBar->OnCategoryChanged(pItem);
    }

private:
    CXTPTabToolBar* m_pBar;
};

IMPLEMENT_DYNCREATE(CXTPTabToolBar, CXTPToolBar)

CXTPTabToolBar::CXTPTabToolBar()
    : m_pTabPaintManager(std::make_unique<CXTPTabPaintManager>()),
      m_pTabManager(std::make_unique<CTabs>(this)) {
    // Tabs as wide as their captions, the selected one in bold to tell it at a glance.
    m_pTabPaintManager->m_bShowIcons = FALSE;
    m_pTabPaintManager->m_bBoldSelected = TRUE;
    m_pTabPaintManager->m_rcButtonMargin = CRect(8, 1, 8, 1);
}

CXTPTabToolBar::~CXTPTabToolBar() = default;

CXTPTabManagerItem* CXTPTabToolBar::InsertCategory(int nIndex, LPCWSTR lpszCaption, const UINT* pIds,
                                                   int nCount, BOOL bLoadIcons) {
    if (lpszCaption == nullptr || *lpszCaption == 0 || nCount < 0 || (pIds == nullptr && nCount > 0))
        return nullptr;
    const int index =
        nIndex < 0 ? m_pTabManager->GetItemCount() : std::min(nIndex, m_pTabManager->GetItemCount());
    CXTPTabManagerItem* item = m_pTabManager->InsertItem(index, lpszCaption);
    BOOL group = FALSE;
    for (int i = 0; i < nCount; ++i) {
        if (pIds[i] == 0) {
            group = TRUE;
            continue;
        }
        CXTPControl* control = m_pControls->Add(xtpControlButton, static_cast<int>(pIds[i]));
        if (control == nullptr)
            continue;
        control->SetCategory(lpszCaption);
        control->SetBeginGroup(group);
        if (!bLoadIcons)
            control->SetStyle(xtpButtonCaption);
        group = FALSE;
    }
    if (m_pTabManager->GetSelectedItem() == nullptr)
        m_pTabManager->SetSelectedItem(item); // the first category shows until another is chosen
    else
        showSelectedControls();
    return item;
}

CXTPTabManagerItem* CXTPTabToolBar::FindCategory(LPCWSTR lpszCaption) const {
    for (int i = 0; i < m_pTabManager->GetItemCount(); ++i) {
        CXTPTabManagerItem* item = m_pTabManager->GetItem(i);
        if (item->GetCaption() == lpszCaption)
            return item;
    }
    return nullptr;
}

void CXTPTabToolBar::RemoveCategory(CXTPTabManagerItem* pItem) {
    if (pItem == nullptr || pItem->GetTabManager() != m_pTabManager.get())
        return;
    const CString caption = pItem->GetCaption();
    for (int i = m_pControls->GetCount() - 1; i >= 0; --i) {
        if (m_pControls->GetAt(i)->GetCategory() == caption)
            m_pControls->Remove(i);
    }
    m_pTabManager->DeleteItem(pItem->GetIndex());
    UpdateTabs();
}

void CXTPTabToolBar::SelectCategory(CXTPTabManagerItem* pItem) {
    if (pItem != nullptr && (pItem->GetTabManager() != m_pTabManager.get() || !pItem->IsVisible()))
        return;
    m_pTabManager->SetSelectedItem(pItem);
}

void CXTPTabToolBar::UpdateTabs() {
    CXTPTabManagerItem* selected = m_pTabManager->GetSelectedItem();
    if (selected == nullptr || !selected->IsVisible()) {
        CXTPTabManagerItem* next = nullptr;
        for (int i = 0; i < m_pTabManager->GetItemCount() && next == nullptr; ++i) {
            if (m_pTabManager->GetItem(i)->IsVisible())
                next = m_pTabManager->GetItem(i);
        }
        if (next != nullptr && next != selected) {
            m_pTabManager->SetSelectedItem(next);
            return;
        }
    }
    showSelectedControls();
    m_pTabManager->Reposition();
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CXTPTabToolBar::ShowTabs(BOOL bShow) {
    if (!bShow == !m_bShowTabs)
        return;
    m_bShowTabs = bShow;
    DelayLayout();
}

void CXTPTabToolBar::showSelectedControls() {
    CXTPTabManagerItem* selected = m_pTabManager->GetSelectedItem();
    for (CXTPControl* control : *m_pControls)
        control->SetVisible(inCategory(control, selected));
    DelayLayout();
}

int CXTPTabToolBar::stripHeight() const {
    // Vertical bars have no room for captions across: they show the selected category alone.
    if (!m_bShowTabs || !IsHorizontal() || m_pTabManager->GetItemCount() == 0)
        return 0;
    return m_pTabPaintManager->GetHeaderHeight();
}

CRect CXTPTabToolBar::GetTabsRect() const {
    const int height = stripHeight();
    if (height == 0 || m_hWnd == nullptr)
        return CRect(0, 0, 0, 0);
    CRect client;
    GetClientRect(&client);
    return CRect(GetGripperRect().right + 1, 0, client.right, height);
}

CSize CXTPTabToolBar::CalcDynamicSize(int nLength, DWORD dwMode) {
    CSize size = CXTPToolBar::CalcDynamicSize(nLength, dwMode);
    // The controls' layout already sits under the strip; the strip only asks for its width.
    if (stripHeight() > 0) {
        // Every tab stays in reach: the bar is at least as wide as its strip.
        int tabs = 0;
        CClientDC dc(m_hWnd != nullptr ? const_cast<CXTPTabToolBar*>(this) : nullptr);
        for (int i = 0; i < m_pTabManager->GetItemCount(); ++i) {
            if (m_pTabManager->GetItem(i)->IsVisible())
                tabs += m_pTabPaintManager->GetItemWidth(&dc, m_pTabManager.get(), i) + 1;
        }
        const CRect gripper = GetGripperRect();
        size.cx = std::max<int>(size.cx, tabs + gripper.right + 8);
    }
    return size;
}

void CXTPTabToolBar::OnRecalcLayout() {
    CXTPToolBar::OnRecalcLayout();
    const int height = stripHeight();
    if (height > 0) {
        for (CXTPControl* control : *m_pControls) {
            if (control->IsVisible() && !control->GetRect().IsRectEmpty()) {
                CRect rc = control->GetRect();
                rc.OffsetRect(0, height);
                control->SetRect(rc);
            }
        }
    }
    m_pTabManager->SetControlRect(GetTabsRect());
}

void CXTPTabToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CXTPToolBar::DrawCommandBar(pDC, rcClipBox);
    const CRect strip = GetTabsRect();
    if (strip.IsRectEmpty())
        return;
    // The strip follows the theme the bars are painted in now.
    m_pTabPaintManager->SetColorSet(
        CXTPTabPaintManager::ColorSetFromTheme(CXTPPaintManager::Current()->GetColors()));
    if (m_pTabManager->GetControlRect() != strip)
        m_pTabManager->SetControlRect(strip);
    m_pTabPaintManager->DrawTabControl(pDC, m_pTabManager.get(), TRUE);
}

void CXTPTabToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (CXTPTabManagerItem* item = m_pTabManager->HitTest(point)) {
        if (m_pTabManager->OnBeforeItemClick(item))
            SelectCategory(item);
        return;
    }
    CXTPToolBar::OnLButtonDown(nFlags, point);
}

void CXTPTabToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    CXTPTabManagerItem* item = m_pTabManager->HitTest(point);
    if (item != m_pTabManager->GetHighlightedItem()) {
        m_pTabManager->SetHighlightedItem(item);
        Invalidate(FALSE);
    }
    CXTPToolBar::OnMouseMove(nFlags, point);
}

void CXTPTabToolBar::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPToolBar::DoPropExchange(pPX);
    PX_Bool(pPX, L"ShowTabs", m_bShowTabs, TRUE);
    int selected = m_pTabManager->GetCurSel();
    PX_Int(pPX, L"SelectedTab", selected, -1);
    CXTPPropExchangeEnumeratorPtr items(pPX->GetEnumerator(L"Category"));
    if (pPX->IsStoring()) {
        POSITION pos = items->GetPosition(static_cast<DWORD>(m_pTabManager->GetItemCount()));
        for (int i = 0; i < m_pTabManager->GetItemCount(); ++i) {
            CXTPTabManagerItem* item = m_pTabManager->GetItem(i);
            CXTPPropExchangeSection section(items->GetNext(pos));
            CString caption = item->GetCaption();
            PX_String(section, L"Caption", caption, L"");
            BOOL visible = item->IsVisible();
            PX_Bool(section, L"Visible", visible, TRUE);
        }
        return;
    }
    // The stored tabs replace the bar's; the controls come with the bar's controls, each in its
    // category, and show once the selection is made.
    m_pTabManager->DeleteAllItems();
    POSITION pos = items->GetPosition();
    while (pos != nullptr && m_pTabManager->GetItemCount() < kMaxCategories) {
        CXTPPropExchangeSection section(items->GetNext(pos));
        CString caption;
        PX_String(section, L"Caption", caption, L"");
        BOOL visible = TRUE;
        PX_Bool(section, L"Visible", visible, TRUE);
        if (caption.IsEmpty() || FindCategory(caption) != nullptr)
            continue; // a tab nobody could tell from another is dropped
        m_pTabManager->InsertItem(m_pTabManager->GetItemCount(), caption)->SetVisible(visible);
    }
    CXTPTabManagerItem* item = m_pTabManager->GetItem(selected);
    if (item != nullptr && item->IsVisible())
        m_pTabManager->SetSelectedItem(item);
    UpdateTabs();
}

void CXTPTabToolBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    CXTPToolBar::Copy(pCommandBar, bRecursive);
    auto* other = dynamic_cast<CXTPTabToolBar*>(pCommandBar);
    if (other == nullptr)
        return;
    m_bShowTabs = other->m_bShowTabs;
    m_pTabManager->DeleteAllItems();
    for (int i = 0; i < other->m_pTabManager->GetItemCount(); ++i) {
        CXTPTabManagerItem* from = other->m_pTabManager->GetItem(i);
        CXTPTabManagerItem* to = m_pTabManager->InsertItem(i, from->GetCaption());
        to->SetVisible(from->IsVisible());
        to->SetData(from->GetData());
        to->SetTooltip(from->GetTooltip());
    }
    m_pTabManager->SetSelectedItem(m_pTabManager->GetItem(other->m_pTabManager->GetCurSel()));
    UpdateTabs();
}
