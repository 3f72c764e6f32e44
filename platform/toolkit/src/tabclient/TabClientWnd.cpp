#include "xtp/TabClientWnd.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// What a document window loses while it lives in a tab.
constexpr LONG_PTR kFrameStyles =
    WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MAXIMIZE | WS_MINIMIZE;
constexpr LONG_PTR kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
constexpr int kDragThreshold = 4;
// The data of the new-window tab, which shows no document.
constexpr DWORD_PTR kNewWindowTab = 0x4E455754;

std::vector<HWND> mdiChildren(HWND client) {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(client, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

} // namespace

// ---- the workspace ----------------------------------------------------------------------------

CXTPTabPaintManager* CXTPTabClientWnd::CWorkspace::GetPaintManager() const {
    return m_pTabClientWnd->GetPaintManager();
}

void CXTPTabClientWnd::CWorkspace::RedrawControl() {
    if (m_pTabClientWnd && m_pTabClientWnd->m_hWnd)
        m_pTabClientWnd->InvalidateRect(&m_rcControl, FALSE);
}

HWND CXTPTabClientWnd::CWorkspace::GetMeasureWindow() const {
    return m_pTabClientWnd ? m_pTabClientWnd->m_hWnd : nullptr;
}

BOOL CXTPTabClientWnd::CWorkspace::IsSelectableItem(const CXTPTabManagerItem* pItem) const {
    return CXTPTabManager::IsSelectableItem(pItem) &&
           !(m_pTabClientWnd && m_pTabClientWnd->IsNewWindowTab(pItem));
}

void CXTPTabClientWnd::CWorkspace::SetSelectedItem(CXTPTabManagerItem* pItem) {
    if (m_pTabClientWnd && m_pTabClientWnd->IsNewWindowTab(pItem)) {
        // Not a document to show: the frame makes a new one, which then gets its own tab.
        if (CMDIFrameWnd* frame = m_pTabClientWnd->m_pParentFrame; frame && frame->m_hWnd)
            frame->PostMessage(WM_COMMAND, MAKEWPARAM(m_pTabClientWnd->m_nNewWindowCommand, 0), 0);
        return;
    }
    CXTPTabManager::SetSelectedItem(pItem);
    CXTPTabClientWnd* client = m_pTabClientWnd;
    if (!client || client->m_bUpdating || !client->m_hWnd)
        return;
    if (pItem && ::IsWindow(pItem->GetHandle()))
        client->MDIActivate(CWnd::FromHandle(pItem->GetHandle()));
    client->Reposition();
}

BOOL CXTPTabClientWnd::CWorkspace::OnBeforeItemClick(CXTPTabManagerItem*) {
    return TRUE;
}

void CXTPTabClientWnd::CWorkspace::OnNavigateButtonClick(CXTPTabManagerItem* pItem, UINT nID) {
    if (nID != xtpTabNavigateButtonClose)
        return;
    CXTPTabManagerItem* target = pItem ? pItem : GetSelectedItem();
    if (target && ::IsWindow(target->GetHandle()))
        ::SendMessageW(target->GetHandle(), WM_CLOSE, 0, 0);
}

BOOL CXTPTabClientWnd::CWorkspace::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw,
                                            CSize& szIcon) const {
    if (!pItem)
        return FALSE;
    HICON icon = m_pTabClientWnd ? m_pTabClientWnd->GetItemIcon(pItem) : pItem->GetIcon();
    if (!icon)
        return FALSE;
    if (bDraw)
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, icon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    return TRUE;
}

// ---- the client -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CXTPTabClientWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTPTabClientWnd, CWnd)
ON_MESSAGE(WM_MDICREATE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDIACTIVATE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDINEXT, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDIMAXIMIZE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDIRESTORE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDITILE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDICASCADE, &CXTPTabClientWnd::OnMDIMessage)
ON_MESSAGE(WM_MDIDESTROY, &CXTPTabClientWnd::OnMDIDestroy)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPTabClientWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_PARENTNOTIFY, &CXTPTabClientWnd::OnParentNotify)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_MOUSELEAVE, &CXTPTabClientWnd::OnMouseLeave)
END_MESSAGE_MAP()

CXTPTabClientWnd::CXTPTabClientWnd()
    : m_pPaintManager(std::make_unique<CXTPTabPaintManager>()),
      m_pToolTipContext(std::make_unique<CXTPToolTipContext>()) {}

CXTPTabClientWnd::~CXTPTabClientWnd() {
    if (m_hWnd)
        Detach();
}

BOOL CXTPTabClientWnd::Attach(CMDIFrameWnd* pParentFrame, BOOL bAutoUpdate) {
    if (m_hWnd || !pParentFrame || !::IsWindow(pParentFrame->m_hWndMDIClient))
        return FALSE;
    if (!SubclassWindow(pParentFrame->m_hWndMDIClient))
        return FALSE;
    m_pParentFrame = pParentFrame;
    m_bAutoUpdate = bAutoUpdate;
    RefreshTheme();
    UpdateContents();
    return TRUE;
}

void CXTPTabClientWnd::Detach() {
    if (!m_hWnd)
        return;
    m_drag = Drag{};
    m_nSplitterDrag = -1;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // Every document window gets its frame back and shows again.
    for (const auto& [hwnd, styles] : m_savedStyles) {
        if (!::IsWindow(hwnd))
            continue;
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
        ::SetWindowLongPtrW(hwnd, GWL_STYLE,
                            style | (styles.first & kFrameStyles & ~(WS_MAXIMIZE | WS_MINIMIZE)));
        const LONG_PTR ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | (styles.second & kFrameExStyles));
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                           SWP_SHOWWINDOW);
    }
    m_savedStyles.clear();
    m_lastLayout.clear();
    m_pTipItem = nullptr;
    m_pToolTipContext->CancelToolTips();
    m_savedGroups.assign(m_savedGroups.size(), nullptr);
    m_arrWorkspace.clear();
    m_hWndActive = nullptr;
    HWND hwnd = UnsubclassWindow();
    m_pParentFrame = nullptr;
    if (hwnd)
        ::InvalidateRect(hwnd, nullptr, TRUE);
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::GetWorkspace(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetWorkspaceCount())
        return nullptr;
    return m_arrWorkspace[static_cast<size_t>(nIndex)].get();
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::FindWorkspace(HWND hWndChild) const {
    for (const auto& ws : m_arrWorkspace) {
        if (ws->FindItem(hWndChild))
            return ws.get();
    }
    return nullptr;
}

CXTPTabManagerItem* CXTPTabClientWnd::FindItem(HWND hWndChild) const {
    CWorkspace* ws = FindWorkspace(hWndChild);
    return ws ? ws->FindItem(hWndChild) : nullptr;
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::GetActiveWorkspace() const {
    if (CWorkspace* ws = FindWorkspace(m_hWndActive))
        return ws;
    return m_arrWorkspace.empty() ? nullptr : m_arrWorkspace.front().get();
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::CreateWorkspace() {
    return new CWorkspace;
}

void CXTPTabClientWnd::AddWorkspace(CWorkspace* pWorkspace, int nIndex) {
    pWorkspace->m_pTabClientWnd = this;
    pWorkspace->SetPosition(m_tabPosition);
    pWorkspace->ShowCloseItemButton((m_dwFlags & xtpWorkspaceShowCloseTab) != 0,
                                    (m_dwFlags & xtpWorkspaceShowCloseSelectedTab) != 0);
    nIndex = std::clamp(nIndex, 0, GetWorkspaceCount());
    m_arrWorkspace.insert(m_arrWorkspace.begin() + nIndex, std::unique_ptr<CWorkspace>(pWorkspace));
}

CString CXTPTabClientWnd::GetItemText(const CWnd* pChildWnd) const {
    CString text;
    if (pChildWnd && pChildWnd->m_hWnd)
        pChildWnd->GetWindowText(text);
    return text;
}

CString CXTPTabClientWnd::GetItemTooltip(const CXTPTabManagerItem* pItem) const {
    return pItem ? pItem->GetCaption() : CString();
}

HICON CXTPTabClientWnd::GetItemIcon(const CXTPTabManagerItem* pItem) const {
    if (!pItem)
        return nullptr;
    HWND hwnd = pItem->GetHandle();
    if (::IsWindow(hwnd)) {
        if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)))
            return icon;
    }
    return pItem->GetIcon();
}

CString CXTPTabClientWnd::GetItemKey(HWND hWndChild) const {
    // A document frame is known by its document, and not before it shows one.
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWndChild))) {
        CDocument* doc = frame->GetActiveDocument();
        if (!doc)
            return CString();
        const CString path = doc->GetPathName();
        return path.IsEmpty() ? doc->GetTitle() : path;
    }
    CString text;
    if (::IsWindow(hWndChild))
        CWnd::FromHandle(hWndChild)->GetWindowText(text);
    return text;
}

void CXTPTabClientWnd::MDIActivate(CWnd* pWnd) {
    if (m_pParentFrame && pWnd)
        m_pParentFrame->MDIActivate(pWnd);
}

void CXTPTabClientWnd::AdoptChild(HWND hWnd) {
    if (m_savedStyles.count(hWnd))
        return;
    const LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
    const LONG_PTR ex = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    m_savedStyles[hWnd] = {style, ex};
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, style & ~kFrameStyles);
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, ex & ~kFrameExStyles);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

CXTPTabManagerItem* CXTPTabClientWnd::AddItem(CWnd* pChildWnd) {
    HWND hwnd = pChildWnd->m_hWnd;
    // A document the stored state places joins its group; any other the active group.
    CWorkspace* ws = nullptr;
    const auto pending = m_pendingGroups.find(std::wstring(GetItemKey(hwnd)));
    if (pending != m_pendingGroups.end())
        ws = WorkspaceForSavedGroup(pending->second);
    if (!ws)
        ws = GetActiveWorkspace();
    if (!ws) {
        ws = CreateWorkspace();
        AddWorkspace(ws, GetWorkspaceCount());
    }
    // Documents stand before the group's new-window tab, which stays last.
    int index = ws->GetItemCount();
    if (index > 0 && IsNewWindowTab(ws->GetItem(index - 1)))
        --index;
    if (m_newTabPosition == xtpWorkspaceNewTabLeftMost)
        index = 0;
    else if (m_newTabPosition == xtpWorkspaceNewTabNextToActive && ws->GetSelectedItem())
        index = ws->GetSelectedItem()->GetIndex() + 1;
    AdoptChild(hwnd);
    CXTPTabManagerItem* item = ws->InsertItem(index, GetItemText(pChildWnd), hwnd);
    item->SetTooltip(GetItemTooltip(item));
    if (pending != m_pendingGroups.end())
        SortBySavedOrder(ws);
    return item;
}

void CXTPTabClientWnd::UpdateContents() {
    if (!m_hWnd || m_bUpdating)
        return;
    m_bUpdating = TRUE;
    std::vector<HWND> children = mdiChildren(m_hWnd);
    std::erase_if(children, [&](HWND h) { return m_dying.count(h) != 0; });
    const std::set<HWND> live(children.begin(), children.end());
    // Tabs of windows that went away go with them; the new-window tab has no window and stays,
    // so that one kept by a caller across an update is still the tab.
    for (const auto& ws : m_arrWorkspace) {
        for (int i = ws->GetItemCount() - 1; i >= 0; --i) {
            if (!IsNewWindowTab(ws->GetItem(i)) && !live.count(ws->GetItem(i)->GetHandle())) {
                if (ws->GetItem(i) == m_pTipItem)
                    m_pTipItem = nullptr;
                ws->DeleteItem(i);
            }
        }
    }
    for (auto it = m_savedStyles.begin(); it != m_savedStyles.end();)
        it = live.count(it->first) ? std::next(it) : m_savedStyles.erase(it);
    for (auto it = m_placed.begin(); it != m_placed.end();)
        it = live.count(*it) ? std::next(it) : m_placed.erase(it);
    // New windows in creation order, the oldest first.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!FindItem(*it))
            AddItem(CWnd::FromHandle(*it));
    }
    for (const auto& ws : m_arrWorkspace) {
        for (int i = 0; i < ws->GetItemCount(); ++i) {
            CXTPTabManagerItem* item = ws->GetItem(i);
            if (IsNewWindowTab(item))
                continue;
            CWnd* wnd = CWnd::FromHandle(item->GetHandle());
            item->SetCaption(GetItemText(wnd));
            item->SetTooltip(GetItemTooltip(item));
        }
    }
    PlacePendingItems();
    RemoveEmptyWorkspaces();
    m_hWndActive = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    if (CWorkspace* ws = FindWorkspace(m_hWndActive))
        ws->CXTPTabManager::SetSelectedItem(ws->FindItem(m_hWndActive));
    for (const auto& ws : m_arrWorkspace) {
        if (!ws->GetSelectedItem() && GetDocumentCount(ws.get()) > 0)
            ws->CXTPTabManager::SetSelectedItem(ws->GetItem(0));
    }
    SyncNewWindowTabs();
    m_bUpdating = FALSE;
    Reposition();
}

void CXTPTabClientWnd::PlacePendingItems() {
    if (m_pendingGroups.empty())
        return;
    // A document's key is known only once its window shows it; until then its tab waits where
    // it was put. Each tab is placed once, so a person's later moves stand.
    std::vector<CXTPTabManagerItem*> waiting;
    for (const auto& ws : m_arrWorkspace) {
        for (int i = 0; i < ws->GetItemCount(); ++i) {
            CXTPTabManagerItem* item = ws->GetItem(i);
            if (!m_placed.count(item->GetHandle()))
                waiting.push_back(item);
        }
    }
    for (CXTPTabManagerItem* item : waiting) {
        const std::wstring key(GetItemKey(item->GetHandle()));
        if (key.empty())
            continue;
        m_placed.insert(item->GetHandle());
        const auto pending = m_pendingGroups.find(key);
        if (pending == m_pendingGroups.end())
            continue;
        CWorkspace* target = WorkspaceForSavedGroup(pending->second);
        auto* source = static_cast<CWorkspace*>(item->GetTabManager());
        if (target && target != source) {
            auto taken = source->DetachItem(item);
            target->AttachItem(target->GetItemCount(), std::move(taken));
        }
        if (target)
            SortBySavedOrder(target);
    }
}

void CXTPTabClientWnd::Refresh() {
    UpdateContents();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPTabClientWnd::RemoveEmptyWorkspaces() {
    for (size_t i = 0; i < m_arrWorkspace.size();) {
        if (GetDocumentCount(m_arrWorkspace[i].get()) > 0) {
            ++i;
            continue;
        }
        // Its share goes to the neighbour before it (or after it, for the first).
        const double share = m_arrWorkspace[i]->m_dSize;
        CWorkspace* gone = m_arrWorkspace[i].get();
        for (auto& saved : m_savedGroups) {
            if (saved == gone)
                saved = nullptr;
        }
        m_arrWorkspace.erase(m_arrWorkspace.begin() + static_cast<std::ptrdiff_t>(i));
        if (!m_arrWorkspace.empty())
            m_arrWorkspace[i > 0 ? i - 1 : 0]->m_dSize += share;
    }
}

void CXTPTabClientWnd::EnableNewWindowTab(BOOL bEnable, UINT nCommand) {
    m_bNewWindowTab = bEnable;
    m_nNewWindowCommand = nCommand;
    SyncNewWindowTabs();
    Reposition();
}

BOOL CXTPTabClientWnd::IsNewWindowTab(const CXTPTabManagerItem* pItem) const {
    return pItem && pItem->GetHandle() == nullptr && pItem->GetData() == kNewWindowTab;
}

int CXTPTabClientWnd::GetDocumentCount(const CWorkspace* pWorkspace) {
    int count = 0;
    for (int i = 0; pWorkspace && i < pWorkspace->GetItemCount(); ++i)
        count += pWorkspace->GetItem(i)->GetHandle() != nullptr;
    return count;
}

void CXTPTabClientWnd::SyncNewWindowTabs() {
    // Every group ends with one when they are on, and none has one when they are off.
    for (const auto& ws : m_arrWorkspace) {
        for (int i = ws->GetItemCount() - 1; i >= 0; --i) {
            if (IsNewWindowTab(ws->GetItem(i)) && (!m_bNewWindowTab || i != ws->GetItemCount() - 1)) {
                if (ws->GetItem(i) == m_pTipItem)
                    m_pTipItem = nullptr;
                ws->DetachItem(ws->GetItem(i));
            }
        }
        if (m_bNewWindowTab && !IsNewWindowTab(ws->GetItem(ws->GetItemCount() - 1))) {
            CXTPTabManagerItem* item = ws->InsertItem(ws->GetItemCount(), L"+");
            item->SetData(kNewWindowTab);
            item->SetClosable(FALSE);
            item->SetTooltip(L"New");
        }
    }
}

void CXTPTabClientWnd::SetFlags(DWORD dwFlags) {
    m_dwFlags = dwFlags;
    for (const auto& ws : m_arrWorkspace)
        ws->ShowCloseItemButton((dwFlags & xtpWorkspaceShowCloseTab) != 0,
                                (dwFlags & xtpWorkspaceShowCloseSelectedTab) != 0);
    Reposition();
}

void CXTPTabClientWnd::SetTabPosition(XTPTabPosition position) {
    m_tabPosition = position;
    for (const auto& ws : m_arrWorkspace)
        ws->SetPosition(position);
    Reposition();
}

void CXTPTabClientWnd::ShowWorkspace(BOOL bShow) {
    if (!bShow == !m_bShowWorkspace)
        return;
    m_bShowWorkspace = bShow;
    Reposition();
}

void CXTPTabClientWnd::RefreshTheme() {
    m_pPaintManager->SetColorSet(
        CXTPTabPaintManager::ColorSetFromTheme(CXTPPaintManager::Current()->GetColors()));
    Reposition();
    if (m_hWnd)
        Invalidate(FALSE); // new colours in the same places
}

// ---- layout and painting ----------------------------------------------------------------------

void CXTPTabClientWnd::PlaceChild(HWND hWnd, const CRect& rc, BOOL bShow) {
    if (!::IsWindow(hWnd))
        return;
    // Already there and shown (or hidden) as asked: nothing to move at every idle update.
    CRect now;
    ::GetWindowRect(hWnd, &now);
    ScreenToClient(&now);
    if (now == rc && !::IsWindowVisible(hWnd) == !bShow)
        return;
    ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, std::max<int>(0, rc.Width()),
                   std::max<int>(0, rc.Height()),
                   SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CXTPTabClientWnd::CalcWindowRect(CRect& rcClient) {
    if (m_arrWorkspace.empty())
        return;
    if (!m_bShowWorkspace) {
        // The tabs are hidden: each group's document fills the whole client.
        for (const auto& ws : m_arrWorkspace) {
            ws->SetControlRect(CRect());
            for (int i = 0; i < ws->GetItemCount(); ++i) {
                CXTPTabManagerItem* item = ws->GetItem(i);
                PlaceChild(item->GetHandle(), rcClient, item->GetHandle() == m_hWndActive);
            }
        }
        rcClient.SetRectEmpty();
        return;
    }
    double total = 0;
    for (const auto& ws : m_arrWorkspace)
        total += std::max(0.0, ws->m_dSize);
    if (total <= 0)
        total = 1;
    const int count = GetWorkspaceCount();
    const int room =
        (m_bHorizSplitting ? rcClient.Height() : rcClient.Width()) - m_nSplitterSize * (count - 1);
    int start = m_bHorizSplitting ? rcClient.top : rcClient.left;
    double used = 0;
    for (int i = 0; i < count; ++i) {
        CWorkspace* ws = m_arrWorkspace[static_cast<size_t>(i)].get();
        used += std::max(0.0, ws->m_dSize);
        const int end = i == count - 1
                            ? (m_bHorizSplitting ? rcClient.bottom : rcClient.right)
                            : (m_bHorizSplitting ? rcClient.top : rcClient.left) +
                                  static_cast<int>(std::lround(room * used / total)) + m_nSplitterSize * i;
        CRect part = rcClient;
        if (m_bHorizSplitting) {
            part.top = start;
            part.bottom = std::max(start, end);
        } else {
            part.left = start;
            part.right = std::max(start, end);
        }
        ws->SetControlRect(part);
        ws->m_rcSplitter.SetRectEmpty();
        if (i < count - 1) {
            ws->m_rcSplitter = part;
            if (m_bHorizSplitting) {
                ws->m_rcSplitter.top = part.bottom;
                ws->m_rcSplitter.bottom = part.bottom + m_nSplitterSize;
            } else {
                ws->m_rcSplitter.left = part.right;
                ws->m_rcSplitter.right = part.right + m_nSplitterSize;
            }
        }
        start = part.bottom + (m_bHorizSplitting ? m_nSplitterSize : 0);
        if (!m_bHorizSplitting)
            start = part.right + m_nSplitterSize;
        const CRect client = ws->GetClientRect();
        for (int k = 0; k < ws->GetItemCount(); ++k) {
            CXTPTabManagerItem* item = ws->GetItem(k);
            PlaceChild(item->GetHandle(), client, item->IsSelected() && item->IsVisible());
        }
    }
    rcClient.SetRectEmpty();
}

void CXTPTabClientWnd::Reposition() {
    if (!m_hWnd || m_bUpdating)
        return;
    CRect rc;
    GetClientRect(&rc);
    CalcWindowRect(rc);
    // Repainted only when something moved; changes inside a strip repaint it themselves.
    std::vector<CRect> layout;
    for (const auto& ws : m_arrWorkspace) {
        layout.push_back(ws->GetControlRect());
        layout.push_back(ws->m_rcSplitter);
        for (int i = 0; i < ws->GetItemCount(); ++i)
            layout.push_back(ws->GetItem(i)->GetRect());
    }
    if (layout != m_lastLayout) {
        m_lastLayout = std::move(layout);
        Invalidate(FALSE);
    }
}

BOOL CXTPTabClientWnd::FillBackground(CDC* pDC, const CRect& rc) {
    pDC->FillSolidRect(&rc, m_pPaintManager->m_clrSet.clrClient);
    return TRUE;
}

void CXTPTabClientWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    FillBackground(&dc, rc);
    if (!m_bShowWorkspace)
        return;
    CWorkspace* active = GetActiveWorkspace();
    for (const auto& ws : m_arrWorkspace) {
        m_pPaintManager->DrawTabControl(&dc, ws.get(), ws.get() == active);
        if (!ws->m_rcSplitter.IsRectEmpty())
            dc.FillSolidRect(&ws->m_rcSplitter, m_pPaintManager->m_clrSet.clrBorder);
    }
}

BOOL CXTPTabClientWnd::OnEraseBkgnd(CDC*) {
    return TRUE; // painting covers every pixel
}

void CXTPTabClientWnd::OnSize(UINT, int, int) {
    Default();
    Reposition();
}

// ---- MDI messages -----------------------------------------------------------------------------

LRESULT CXTPTabClientWnd::OnMDIMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    UpdateContents();
    return result;
}

LRESULT CXTPTabClientWnd::OnMDIDestroy(WPARAM wParam, LPARAM) {
    HWND child = reinterpret_cast<HWND>(wParam);
    // The tab goes first, so that its group selects (and activates) its neighbour.
    m_dying.insert(child);
    RemoveItemOf(child);
    const LRESULT result = Default();
    m_dying.erase(child);
    UpdateContents();
    return result;
}

void CXTPTabClientWnd::RemoveItemOf(HWND hWndChild) {
    if (m_pTipItem && m_pTipItem->GetHandle() == hWndChild) {
        m_pTipItem = nullptr;
        m_pToolTipContext->CancelToolTips();
    }
    if (CWorkspace* ws = FindWorkspace(hWndChild)) {
        if (m_drag.item && m_drag.item->GetHandle() == hWndChild) {
            m_drag = Drag{};
            if (::GetCapture() == m_hWnd)
                ::ReleaseCapture();
        }
        ws->DeleteItem(ws->FindItem(hWndChild)->GetIndex());
        RemoveEmptyWorkspaces();
    }
    m_savedStyles.erase(hWndChild);
    m_placed.erase(hWndChild);
}

LRESULT CXTPTabClientWnd::OnParentNotify(WPARAM wParam, LPARAM lParam) {
    // A document window destroyed without WM_MDIDESTROY loses its tab all the same.
    if (LOWORD(wParam) != WM_DESTROY)
        return Default();
    HWND child = reinterpret_cast<HWND>(lParam);
    m_dying.insert(child);
    const LRESULT result = Default();
    RemoveItemOf(child);
    m_dying.erase(child);
    Reposition();
    return result;
}

LRESULT CXTPTabClientWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_bAutoUpdate)
        UpdateContents();
    return 0;
}

// ---- the mouse --------------------------------------------------------------------------------

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::WorkspaceAt(CPoint point) const {
    for (const auto& ws : m_arrWorkspace) {
        if (ws->GetControlRect().PtInRect(point))
            return ws.get();
    }
    return nullptr;
}

void CXTPTabClientWnd::OnLButtonDown(UINT, CPoint point) {
    m_pToolTipContext->CancelToolTips();
    for (int i = 0; i + 1 < GetWorkspaceCount(); ++i) {
        if (GetWorkspace(i)->m_rcSplitter.PtInRect(point)) {
            m_nSplitterDrag = i;
            ::SetCapture(m_hWnd);
            return;
        }
    }
    CWorkspace* ws = WorkspaceAt(point);
    CXTPTabManagerItem* item = ws ? ws->HitTest(point) : nullptr;
    if (!item)
        return;
    if (item->GetCloseButtonRect().PtInRect(point)) {
        ws->OnNavigateButtonClick(item, xtpTabNavigateButtonClose);
        return;
    }
    if (!ws->OnBeforeItemClick(item))
        return;
    ws->SetSelectedItem(item);
    if (IsNewWindowTab(item))
        return;
    m_drag = Drag{item, point, false};
    ::SetCapture(m_hWnd);
}

void CXTPTabClientWnd::MoveSplitter(CPoint point) {
    CWorkspace* a = GetWorkspace(m_nSplitterDrag);
    CWorkspace* b = GetWorkspace(m_nSplitterDrag + 1);
    if (!a || !b)
        return;
    // The two groups beside the splitter share their room anew; each keeps a little.
    const CRect ra = a->GetControlRect(), rb = b->GetControlRect();
    const int start = m_bHorizSplitting ? ra.top : ra.left;
    const int end = m_bHorizSplitting ? rb.bottom : rb.right;
    const int room = end - start - m_nSplitterSize;
    const int least = std::min(40, room / 2);
    if (room <= 0)
        return;
    const int at = std::clamp<int>((m_bHorizSplitting ? point.y : point.x) - start - m_nSplitterSize / 2,
                                   least, room - least);
    const double share = a->m_dSize + b->m_dSize;
    a->m_dSize = share * at / room;
    b->m_dSize = share - a->m_dSize;
    Reposition();
}

void CXTPTabClientWnd::OnMouseMove(UINT, CPoint point) {
    if (m_nSplitterDrag >= 0) {
        MoveSplitter(point);
        return;
    }
    if (m_drag.item) {
        if (!m_drag.moved &&
            std::abs(point.x - m_drag.start.x) + std::abs(point.y - m_drag.start.y) < kDragThreshold)
            return;
        m_drag.moved = true;
        // Within its own strip the tab slides to where the pointer is.
        auto* ws = static_cast<CWorkspace*>(m_drag.item->GetTabManager());
        if (m_bAllowReorder && ws && ws->GetHeaderRect().PtInRect(point)) {
            CXTPTabManagerItem* over = ws->HitTest(point);
            if (over && over != m_drag.item && !IsNewWindowTab(over))
                ws->MoveItem(m_drag.item, over->GetIndex());
        }
        return;
    }
    CXTPTabManagerItem* hot = nullptr;

    for (const auto& ws : m_arrWorkspace) {
        ws->SetHighlightedItem(ws->HitTest(point));
        hot = hot ? hot : ws->GetHighlightedItem();
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
    // The tab under the pointer gives its tooltip.
    if (hot != m_pTipItem) {
        m_pTipItem = hot;
        m_pToolTipContext->SetToolTip(m_hWnd, hot ? 1 : 0, hot ? hot->GetRect() : CRect(),
                                      hot && m_bShowToolTips ? GetItemTooltip(hot) : CString());
    }
    if (hot && m_bShowToolTips)
        m_pToolTipContext->RelayEvent(m_hWnd, WM_MOUSEMOVE, point);
}

LRESULT CXTPTabClientWnd::OnMouseLeave(WPARAM, LPARAM) {
    for (const auto& ws : m_arrWorkspace)
        ws->SetHighlightedItem(nullptr);
    m_pTipItem = nullptr;
    m_pToolTipContext->CancelToolTips();
    return 0;
}

void CXTPTabClientWnd::OnLButtonUp(UINT, CPoint point) {
    if (m_nSplitterDrag >= 0) {
        MoveSplitter(point);
        m_nSplitterDrag = -1;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return;
    }
    if (!m_drag.item)
        return;
    const bool moved = m_drag.moved;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (moved)
        DropItem(point);
    m_drag = Drag{};
}

void CXTPTabClientWnd::DropItem(CPoint point) {
    CXTPTabManagerItem* item = m_drag.item;
    auto* source = static_cast<CWorkspace*>(item->GetTabManager());
    CWorkspace* target = WorkspaceAt(point);
    if (!source || !target)
        return;
    if (target != source) {
        CXTPTabManagerItem* over = target->HitTest(point);
        MoveToWorkspace(item, target, over ? over->GetIndex() : -1);
        return;
    }
    if (source->GetHeaderRect().PtInRect(point) || !m_bEnableGroups)
        return;
    // Dropped on its own document: a new group, beside it or below it by where the pointer is,
    // the way the groups already run when there are several.
    BOOL horizontal = m_bHorizSplitting;
    if (GetWorkspaceCount() == 1) {
        const CRect client = source->GetClientRect();
        const double dx = double(point.x - client.left) / std::max(1, client.Width());
        const double dy = double(point.y - client.top) / std::max(1, client.Height());
        horizontal = dy > dx;
    }
    MoveToNewGroup(item, horizontal);
}

BOOL CXTPTabClientWnd::MoveToNewGroup(CXTPTabManagerItem* pItem, BOOL bHorizontal) {
    auto* source = pItem ? static_cast<CWorkspace*>(pItem->GetTabManager()) : nullptr;
    if (!m_bEnableGroups || !source || GetDocumentCount(source) < 2 || IsNewWindowTab(pItem))
        return FALSE;
    if (GetWorkspaceCount() > 1 && !bHorizontal != !m_bHorizSplitting)
        return FALSE;
    m_bHorizSplitting = bHorizontal;
    const auto at = std::find_if(m_arrWorkspace.begin(), m_arrWorkspace.end(),
                                 [&](const auto& ws) { return ws.get() == source; });
    CWorkspace* made = CreateWorkspace();
    AddWorkspace(made, static_cast<int>(at - m_arrWorkspace.begin()) + 1);
    made->m_dSize = source->m_dSize / 2;
    source->m_dSize -= made->m_dSize;
    return MoveToWorkspace(pItem, made);
}

BOOL CXTPTabClientWnd::MoveToWorkspace(CXTPTabManagerItem* pItem, CWorkspace* pTarget, int nIndex) {
    auto* source = pItem ? static_cast<CWorkspace*>(pItem->GetTabManager()) : nullptr;
    if (!source || !pTarget || source == pTarget || IsNewWindowTab(pItem))
        return FALSE;
    const HWND hwnd = pItem->GetHandle();
    std::unique_ptr<CXTPTabManagerItem> taken;
    {
        // Taking the tab out must not activate its old neighbour: it stays the active document.
        m_bUpdating = TRUE;
        taken = source->DetachItem(pItem);
        m_bUpdating = FALSE;
    }
    CXTPTabManagerItem* placed =
        pTarget->AttachItem(nIndex < 0 ? pTarget->GetItemCount() : nIndex, std::move(taken));
    RemoveEmptyWorkspaces();
    {
        m_bUpdating = TRUE;
        SyncNewWindowTabs();
        m_bUpdating = FALSE;
    }
    pTarget->SetSelectedItem(placed);
    if (::IsWindow(hwnd))
        MDIActivate(CWnd::FromHandle(hwnd));
    Reposition();
    return TRUE;
}

// ---- tooltips and the context menu ------------------------------------------------------------

CString CXTPTabClientWnd::GetToolTipAt(CPoint point) const {
    if (!m_bShowToolTips)
        return CString();
    CWorkspace* ws = WorkspaceAt(point);
    CXTPTabManagerItem* item = ws ? ws->HitTest(point) : nullptr;
    return item ? GetItemTooltip(item) : CString();
}

void CXTPTabClientWnd::OnContextMenu(CWnd*, CPoint point) {
    ContextMenu(point);
}

void CXTPTabClientWnd::ContextMenu(CPoint ptScreen) {
    CPoint point = ptScreen;
    ScreenToClient(&point);
    CWorkspace* ws = WorkspaceAt(point);
    CXTPTabManagerItem* item = ws ? ws->HitTest(point) : nullptr;
    if (!item)
        return;
    const int index = static_cast<int>(std::find_if(m_arrWorkspace.begin(), m_arrWorkspace.end(),
                                                    [&](const auto& w) { return w.get() == ws; }) -
                                       m_arrWorkspace.begin());
    if (IsNewWindowTab(item))
        return;
    const bool canSplit = m_bEnableGroups && GetDocumentCount(ws) > 1;
    const bool several = GetWorkspaceCount() > 1;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, XTP_ID_WORKSPACE_CLOSE, L"&Close");
    if (m_bEnableGroups) {
        menu.AppendMenu(MF_SEPARATOR);
        const UINT horizontal = canSplit && (!several || m_bHorizSplitting) ? MF_ENABLED : MF_GRAYED;
        const UINT vertical = canSplit && (!several || !m_bHorizSplitting) ? MF_ENABLED : MF_GRAYED;
        menu.AppendMenu(MF_STRING | horizontal, XTP_ID_WORKSPACE_NEWHORIZONTAL, L"New Hori&zontal Tab Group");
        menu.AppendMenu(MF_STRING | vertical, XTP_ID_WORKSPACE_NEWVERTICAL, L"New &Vertical Tab Group");
        if (index + 1 < GetWorkspaceCount())
            menu.AppendMenu(MF_STRING, XTP_ID_WORKSPACE_MOVENEXT, L"Move to Ne&xt Tab Group");
        if (index > 0)
            menu.AppendMenu(MF_STRING, XTP_ID_WORKSPACE_MOVEPREVIOUS, L"Move to P&revious Tab Group");
    }
    // The client owns the menu: a frame would disable the commands it has no handler for.
    CWnd* owner = this;
    const UINT chosen = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, ptScreen.x, ptScreen.y, owner));
    switch (chosen) {
    case XTP_ID_WORKSPACE_CLOSE:
        if (::IsWindow(item->GetHandle()))
            ::PostMessageW(item->GetHandle(), WM_CLOSE, 0, 0);
        break;
    case XTP_ID_WORKSPACE_NEWHORIZONTAL:
    case XTP_ID_WORKSPACE_NEWVERTICAL:
        MoveToNewGroup(item, chosen == XTP_ID_WORKSPACE_NEWHORIZONTAL);
        break;
    case XTP_ID_WORKSPACE_MOVENEXT:
    case XTP_ID_WORKSPACE_MOVEPREVIOUS:
        MoveToWorkspace(item, GetWorkspace(index + (chosen == XTP_ID_WORKSPACE_MOVENEXT ? 1 : -1)));
        break;
    default:
        break;
    }
}
