#include "frame/MainFrame.h"
#include "frame/MdiClient.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/ChildFrame.h"
#include "XTToolkitPro.h"
#include "win/ole/clipboard.h"

#include <atomic>
#include <cmath>
#include <utility>
#include <vector>

namespace {

std::atomic<bool> g_fixedWidthTabs{false};

// The read-only mark over a tab's icon.
constexpr UINT kReadOnlyOverlay = 40782;
constexpr int kOverlaySize = 16;

CDocument* documentOf(HWND window) {
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(window));
    return frame != nullptr ? frame->GetActiveDocument() : nullptr;
}

CDvw32Doc* kernelDocumentOf(HWND window) {
    return dynamic_cast<CDvw32Doc*>(documentOf(window));
}

bool isMdiChild(HWND window) {
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(window)) != nullptr;
}

// A small padlock, for when the image manager has no overlay picture.
void drawLock(CDC* dc, CPoint at) {
    const COLORREF body = RGB(200, 140, 20);
    dc->FillSolidRect(at.x + 1, at.y + 4, 7, 5, body);
    CPen pen(PS_SOLID, 1, body);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(at.x + 2, at.y + 4);
    dc->LineTo(at.x + 2, at.y + 1);
    dc->LineTo(at.x + 6, at.y + 1);
    dc->LineTo(at.x + 6, at.y + 4);
    dc->SelectObject(old);
}

class CDVWorkspace : public CXTPTabClientWnd::CWorkspace {
public:
    BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) const override {
        const BOOL drawn = CWorkspace::DrawIcon(pDC, pt, pItem, bDraw, szIcon);
        const CXTPTabClientWnd* client = GetTabClient();
        if (pItem == nullptr || client == nullptr || client->IsNewWindowTab(pItem))
            return drawn;
        const auto* document = kernelDocumentOf(pItem->GetHandle());
        if (document == nullptr || !document->IsReadOnly() ||
            dynamic_cast<Dravik::UI::MdiChildFrame*>(CWnd::FromHandlePermanent(pItem->GetHandle())) ==
                nullptr)
            return drawn;
        if (!bDraw) {
            szIcon.cx += szIcon.cx + 2;
            return TRUE;
        }
        const CPoint corner(pt.x + szIcon.cx - kOverlaySize / 2, pt.y + szIcon.cy - kOverlaySize / 2 - 1);
        CXTPCommandBars* bars = nullptr;
        if (auto* frame = dynamic_cast<CMainFrame*>(client->GetParentFrame()))
            bars = frame->GetCommandBars();
        CXTPImageManager* images = bars != nullptr ? bars->GetImageManager() : XTPImageManager();
        if (CXTPImageManagerIcon* overlay =
                images != nullptr ? images->GetImage(kReadOnlyOverlay, kOverlaySize) : nullptr)
            overlay->Draw(pDC, corner, CSize(kOverlaySize, kOverlaySize));
        else
            drawLock(pDC, corner);
        return TRUE;
    }

    BOOL OnBeforeItemClick(CXTPTabManagerItem* pItem) override {
        if (!CWorkspace::OnBeforeItemClick(pItem))
            return FALSE;
        CXTPTabClientWnd* client = GetTabClient();
        if (pItem != nullptr && client != nullptr && client->IsNewWindowTab(pItem)) {
            // The new-window tab opens a document; it is never the selection.
            if (CMDIFrameWnd* frame = client->GetParentFrame(); frame != nullptr && frame->m_hWnd != nullptr)
                frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_NEW, 0), 0);
            return FALSE;
        }
        if (pItem == nullptr || !CanSwitchToChildFrame(CWnd::FromHandle(pItem->GetHandle())))
            return FALSE;
        SwitchSplitters(pItem);
        return TRUE;
    }

    void SetSelectedItem(CXTPTabManagerItem* pItem) override {
        const CXTPTabClientWnd* client = GetTabClient();
        if (pItem != nullptr && client != nullptr && client->IsNewWindowTab(pItem))
            pItem = GetItemCount() >= 2 ? GetItem(GetItemCount() - 2) : nullptr;
        SwitchSplitters(pItem);
        CWorkspace::SetSelectedItem(pItem);
    }

    void OnNavigateButtonClick(CXTPTabManagerItem* pItem, UINT nID) override {
        if (nID != xtpTabNavigateButtonClose)
            return;
        CXTPTabManagerItem* target = pItem != nullptr ? pItem : GetSelectedItem();
        if (target == nullptr || !::IsWindow(target->GetHandle()))
            return;
        if (CXTPTabClientWnd* client = GetTabClient(); client != nullptr && client->m_hWnd != nullptr)
            client->PostMessage(WM_IDLEUPDATECMDUI);
        if (auto* frame =
                dynamic_cast<Dravik::UI::MdiChildFrame*>(CWnd::FromHandlePermanent(target->GetHandle())))
            if (!frame->OnCloseCommand())
                return;
        ::SendMessageW(target->GetHandle(), WM_CLOSE, 0, 0);
    }

private:
    // Only the chosen document's splitter shows, so that the hidden ones do not paint over it.
    void SwitchSplitters(CXTPTabManagerItem* chosen) const {
        if (chosen == nullptr || chosen == GetSelectedItem())
            return;
        for (int i = 0; i < GetItemCount(); ++i) {
            auto* frame = dynamic_cast<Dravik::UI::GenericChildFrame*>(
                CWnd::FromHandlePermanent(GetItem(i)->GetHandle()));
            Dravik::UI::Splitter* splitter = frame != nullptr ? frame->GetSplitter() : nullptr;
            if (splitter != nullptr && splitter->m_hWnd != nullptr)
                splitter->ShowWindow(GetItem(i) == chosen ? SW_SHOW : SW_HIDE);
        }
    }
};

} // namespace

BEGIN_MESSAGE_MAP(CDVTabClientWnd, CXTPTabClientWnd)
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_NCCALCSIZE, &CDVTabClientWnd::OnNcCalcSize)
ON_WM_SIZE()
ON_WM_MBUTTONDOWN()
ON_WM_MBUTTONDBLCLK()
END_MESSAGE_MAP()

CDVTabClientWnd::CDVTabClientWnd() : m_background(CMDIClientWndBackground::Shared()) {
    // The tabs' new-window and close pictures are the UI module's.
    const std::pair<UINT, int> replaced[] = {{9157, 487}, {9158, 501}};
    for (const auto& [toolKitId, moduleId] : replaced)
        if (HICON icon = UIModuleProxy::Instance().LoadIcon(moduleId, true)) {
            XTPImageManager()->SetIcon(icon, toolKitId);
            ::DestroyIcon(icon);
        }
}

CDVTabClientWnd::~CDVTabClientWnd() = default;

bool CDVTabClientWnd::IsFixedWidthTabs() {
    return g_fixedWidthTabs;
}

void CDVTabClientWnd::SetFixedWidthTabs(bool fixed) {
    g_fixedWidthTabs = fixed;
}

CMainFrame* CDVTabClientWnd::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

CXTPTabClientWnd::CWorkspace* CDVTabClientWnd::CreateWorkspace() {
    return new CDVWorkspace;
}

void CDVTabClientWnd::AddWorkspace(CWorkspace* pWorkspace, int nIndex) {
    CXTPTabClientWnd::AddWorkspace(pWorkspace, nIndex);
    ApplyTabLayout();
}

CXTPTabManagerItem* CDVTabClientWnd::AddItem(CWnd* pChildWnd) {
    // A second window of a document opens beside the first.
    const XTPWorkspaceNewTabPosition usual = GetNewTabPosition();
    CWorkspace* active = GetActiveWorkspace();
    CXTPTabManagerItem* selected = active != nullptr ? active->GetSelectedItem() : nullptr;
    CDocument* document = pChildWnd != nullptr ? documentOf(pChildWnd->m_hWnd) : nullptr;
    if (selected != nullptr && document != nullptr && documentOf(selected->GetHandle()) == document)
        SetNewTabPosition(xtpWorkspaceNewTabNextToActive);
    CXTPTabManagerItem* item = CXTPTabClientWnd::AddItem(pChildWnd);
    SetNewTabPosition(usual);
    ApplyTabLayout();
    return item;
}

CString CDVTabClientWnd::GetItemText(const CWnd* pChildWnd) const {
    if (pChildWnd == nullptr || !isMdiChild(pChildWnd->m_hWnd))
        return CXTPTabClientWnd::GetItemText(pChildWnd);
    CDvw32Doc* document = kernelDocumentOf(pChildWnd->m_hWnd);
    if (document == nullptr)
        return CXTPTabClientWnd::GetItemText(pChildWnd);
    if (auto* frame = dynamic_cast<const Dravik::UI::GenericChildFrame*>(pChildWnd);
        frame != nullptr && !frame->GetTabCaption().empty())
        return frame->GetTabCaption().c_str();
    CString text;
    pChildWnd->GetWindowText(text);
    const CString title = document->GetTitle();
    const CString shortTitle = document->GetShortTitle().c_str();
    if (!title.IsEmpty() && title != shortTitle)
        text.Replace(title, shortTitle);
    return text;
}

CString CDVTabClientWnd::GetItemTooltip(const CXTPTabManagerItem* pItem) const {
    if (pItem == nullptr || !isMdiChild(pItem->GetHandle()) ||
        kernelDocumentOf(pItem->GetHandle()) == nullptr)
        return CString();
    if (auto* frame =
            dynamic_cast<Dravik::UI::GenericChildFrame*>(CWnd::FromHandlePermanent(pItem->GetHandle()));
        frame != nullptr && !frame->GetTabCaption().empty())
        return frame->GetTabCaption().c_str();
    CString text;
    CWnd::FromHandle(pItem->GetHandle())->GetWindowText(text);
    return text;
}

void CDVTabClientWnd::MDIActivate(CWnd* pWnd) {
    if (pWnd == nullptr || !CanSwitchToChildFrame(pWnd))
        return;
    // The views of the document that steps back learn which view takes over.
    CMDIFrameWnd* main = GetParentFrame();
    auto* current =
        main != nullptr ? dynamic_cast<Dravik::UI::MdiChildFrame*>(main->MDIGetActive()) : nullptr;
    if (Dravik::UI::Splitter* splitter = current != nullptr ? current->GetSplitter() : nullptr) {
        auto* next = dynamic_cast<Dravik::UI::MdiChildFrame*>(pWnd);
        CView* nextView = next != nullptr ? next->GetActiveView() : nullptr;
        for (int i = 0; i < splitter->GetNumPanes(); ++i)
            if (auto* view = dynamic_cast<CDVView*>(splitter->GetPaneView(i)))
                view->OnActiveViewChanging(nextView);
    }
    CXTPTabClientWnd::MDIActivate(pWnd);
}

BOOL CDVTabClientWnd::FillBackground(CDC* pDC, const CRect& rc) {
    if (m_background->Paint(pDC, rc))
        return TRUE;
    return CXTPTabClientWnd::FillBackground(pDC, rc);
}

void CDVTabClientWnd::SetTabsHidden(bool hidden) {
    if (hidden == m_tabsHidden)
        return;
    m_tabsHidden = hidden;
    if (m_hWnd != nullptr && IsWindowVisible()) {
        ShowWorkspace(!hidden);
        Invalidate();
    } else {
        m_bShowWorkspace = !hidden;
    }
}

int CDVTabClientWnd::ApplyTabLayout() {
    CXTPTabPaintManager* paint = GetPaintManager();
    if (!IsFixedWidthTabs()) {
        paint->SetLayout(xtpTabLayoutAutoSize);
        return 0;
    }
    CWindowDC screen(nullptr);
    CFont* old = screen.SelectObject(paint->m_bBoldSelected ? paint->GetBoldFont() : paint->GetFont());
    TEXTMETRICW metrics{};
    screen.GetTextMetrics(&metrics);
    screen.SelectObject(old);
    const int pixelsPerInch = screen.GetDeviceCaps(LOGPIXELSX);
    int width = static_cast<int>(std::lround(metrics.tmAveCharWidth * kFixedWidthCharacters *
                                             static_cast<double>(pixelsPerInch) / 72.0));
    width += paint->m_rcButtonMargin.left + paint->m_rcButtonMargin.right;
    if (paint->m_bShowIcons)
        width += kOverlaySize;
    if ((m_dwFlags & (xtpWorkspaceShowCloseTab | xtpWorkspaceShowCloseSelectedTab)) != 0)
        width += paint->m_nCloseButtonSize;
    paint->SetFixedTabWidth(width);
    paint->SetLayout(xtpTabLayoutFixed);
    return width;
}

void CDVTabClientWnd::SetUp() {
    if (m_hWnd == nullptr)
        return;
    SetFlags(xtpWorkspaceHideArrows | xtpWorkspaceHideClose | xtpWorkspaceShowActiveFiles |
             xtpWorkspaceShowCloseTab);
    EnableTabReorder(TRUE);
    EnableToolTips(TRUE);
    GetPaintManager()->SetLayout(xtpTabLayoutAutoSize);
    GetPaintManager()->m_rcControlMargin.SetRectEmpty();
    ApplyTabLayout();
    Refresh();
}

void CDVTabClientWnd::RefreshTheme() {
    CXTPTabClientWnd::RefreshTheme();
    GetPaintManager()->m_bBoldSelected = TRUE;
    ApplyTabLayout();
}

LRESULT CDVTabClientWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default();
    // No client edge is drawn: the documents' area reaches the frame's border.
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (rect != nullptr) {
        rect->left -= ::GetSystemMetrics(SM_CXEDGE);
        rect->right += ::GetSystemMetrics(SM_CXEDGE);
        rect->top -= ::GetSystemMetrics(SM_CYEDGE);
        rect->bottom += ::GetSystemMetrics(SM_CYEDGE);
    }
    return result;
}

void CDVTabClientWnd::OnSize(UINT nType, int cx, int cy) {
    CXTPTabClientWnd::OnSize(nType, cx, cy);
    if (GetWorkspaceCount() == 0)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void CDVTabClientWnd::OnMButtonDblClk(UINT nFlags, CPoint point) {
    OnMButtonDown(nFlags, point);
}

void CDVTabClientWnd::OnMButtonDown(UINT, CPoint point) {
    if (!IsGroupsEnabled()) {
        Default();
        return;
    }
    if (CXTPTabManagerItem* item = TabAt(point); item != nullptr && !IsNewWindowTab(item)) {
        DravikSafeSendMessage(item->GetHandle(), WM_CLOSE, 0, 0);
        UpdateContents();
    }
}

CXTPTabManagerItem* CDVTabClientWnd::TabAt(CPoint point) const {
    CWorkspace* workspace = WorkspaceAt(point);
    return workspace != nullptr ? workspace->HitTest(point) : nullptr;
}

void CDVTabClientWnd::OnContextMenu(CWnd*, CPoint point) {
    CPoint client = point;
    ScreenToClient(&client);
    CXTPTabManagerItem* item = TabAt(client);
    if (item == nullptr || IsNewWindowTab(item))
        return;
    HMENU menu = BuildTabMenu(item);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, m_hWnd, nullptr));
    ::DestroyMenu(menu);
    if (chosen != 0)
        RunTabCommand(chosen, item);
}
