#include "docking_fixture.h"

#include "xtp/MultiMonitor.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include "pal/text.h"

#include <algorithm>
#include <sstream>

namespace dockingtest {

LRESULT Content::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return CWnd::WindowProc(message, wParam, lParam);
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    dc.FillSolidRect(&rc, c.clrWindow);
    CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(c.clrWindowText);
    const CXTPDockingPane* pane = manager != nullptr ? manager->FindPane(paneId) : nullptr;
    const CString heading = pane != nullptr ? pane->GetTitle() : text;
    CRect line(rc.left + 8, rc.top + 6, rc.right - 4, rc.top + 24);
    for (int i = 0; i < 8 && line.bottom < rc.bottom; ++i) {
        CString row;
        row.Format(i == 0 ? L"%s" : L"    %s item %d", heading.GetString(), i);
        dc.DrawText(row, &line, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
        line.OffsetRect(0, 20);
    }
    dc.SelectObject(old);
    return 0;
}

BOOL Site::OnCreateClient(LPCREATESTRUCTW, CCreateContext*) {
    view.text = L"Drawing";
    return view.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this,
                         AFX_IDW_PANE_FIRST);
}

LRESULT Site::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != XTPWM_DOCKINGPANE_NOTIFY)
        return CFrameWnd::WindowProc(message, wParam, lParam);
    if (wParam == XTP_DPN_ACTION) {
        auto* action = reinterpret_cast<XTP_DOCKINGPANE_ACTION*>(lParam);
        heard.emplace_back(100 + action->action, action->pPane != nullptr ? action->pPane->GetID() : 0);
        if (action->action == xtpPaneActionClosed && destroyWhenClosed.count(action->pPane->GetID()) != 0) {
            manager->DestroyPane(action->pPane);
            return 1;
        }
        return 0;
    }
    auto* pane = reinterpret_cast<CXTPDockingPane*>(lParam);
    heard.emplace_back(static_cast<int>(wParam), pane->GetID());
    if (wParam == XTP_DPN_CLOSEPANE && refuseClose.count(pane->GetID()) != 0)
        return XTP_ACTION_NOCLOSE;
    if (wParam == XTP_DPN_SHOWWINDOW && pane->GetChild() == nullptr) {
        auto& content = contents[pane->GetID()];
        if (!content) {
            content = std::make_unique<Content>();
            content->manager = manager;
            content->paneId = pane->GetID();
            content->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, CRect(0, 0, 10, 10), this,
                              static_cast<UINT>(pane->GetID()));
        }
        pane->Attach(content.get());
    }
    return 0;
}

CRect Site::clientRect() const {
    CRect rc;
    view.GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc;
}

void DockingTest::SetUp() {
    SandboxTest::SetUp();
    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
}

void DockingTest::TearDown() {
    for (Site*& site : sites_)
        destroySite(site);
    managers_.clear();
    pal::test::resetMonitors();
    SandboxTest::TearDown();
}

Site* DockingTest::makeSite(const CRect& rc, std::unique_ptr<CXTPDockingPaneManager> manager) {
    auto* site = new Site;
    EXPECT_TRUE(site->Create(nullptr, L"Panes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc));
    managers_.push_back(manager ? std::move(manager) : std::make_unique<CXTPDockingPaneManager>());
    site->manager = managers_.back().get();
    site->manager->InstallDockingPanes(site);
    sites_.push_back(site);
    pump();
    return site;
}

void DockingTest::destroySite(Site*& site) {
    if (site != nullptr && ::IsWindow(site->m_hWnd))
        site->DestroyWindow(); // the frame deletes itself
    // A site a test destroyed through its own copy of the pointer is gone from the list too.
    std::replace(sites_.begin(), sites_.end(), site, static_cast<Site*>(nullptr));
    site = nullptr;
}

namespace {

void describeNode(std::ostringstream& out, const CXTPDockingPaneBase* node) {
    if (const auto* split = dynamic_cast<const CXTPDockingPaneSplitterContainer*>(node)) {
        out << (split->IsHorizontal() ? "S|(" : "S-(");
        bool first = true;
        for (const CXTPDockingPaneBase* child : split->GetChildren()) {
            out << (first ? "" : " ");
            first = false;
            describeNode(out, child);
        }
        out << ")";
    } else if (const auto* tabbed = dynamic_cast<const CXTPDockingPaneTabbedContainer*>(node)) {
        out << "[";
        bool first = true;
        for (const CXTPDockingPane* pane : tabbed->GetPanes()) {
            out << (first ? "" : ",") << pane->GetID() << (pane->IsClosed() ? "!" : "")
                << (tabbed->GetSelected() == pane ? "*" : "");
            first = false;
        }
        out << "]";
        if (tabbed->IsAutoHidden())
            out << "^" << tabbed->GetAutoHideSide();
    } else if (node != nullptr && node->GetType() == xtpPaneTypeClient) {
        out << "C";
    }
}

} // namespace

std::string DockingTest::describe(CXTPDockingPaneManager& manager, bool withRects) {
    std::ostringstream out;
    describeNode(out, manager.GetLayout()->GetRoot());
    for (const CXTPDockingPaneMiniWnd* mini : manager.GetLayout()->GetFloatingFrames()) {
        out << " F";
        describeNode(out, mini->GetTopContainer());
        if (withRects) {
            const CRect rc = mini->GetFloatingRect();
            out << "@" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        }
    }
    return out.str();
}

std::string DockingTest::store(CXTPDockingPaneManager& manager) {
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"DockingPaneLayout");
    EXPECT_TRUE(manager.DoPropExchange(&px));
    return pal::text::toUtf8(px.GetXML().GetString());
}

bool DockingTest::load(CXTPDockingPaneManager& manager, const std::string& xml) {
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayout");
    if (!px.LoadFromString(pal::text::fromUtf8(xml).c_str()))
        return false;
    return manager.DoPropExchange(&px) != FALSE;
}

std::string DockingTest::checkSane(CXTPDockingPaneManager& manager, Site* site) {
    std::set<int> ids;
    for (CXTPDockingPane* pane : manager.GetPaneList()) {
        if (!ids.insert(pane->GetID()).second)
            return "pane " + std::to_string(pane->GetID()) + " stands twice";
        const CXTPDockingPaneBase* top = pane;
        while (top->GetContainer() != nullptr)
            top = top->GetContainer();
        const bool floating = top->GetType() == xtpPaneTypeMiniWnd;
        if (top != manager.GetLayout()->GetRoot() && !floating)
            return "pane " + std::to_string(pane->GetID()) + " cannot be reached";
    }
    for (const CXTPDockingPaneMiniWnd* mini : manager.GetLayout()->GetFloatingFrames()) {
        const CRect rc = mini->GetFloatingRect();
        const CRect work = CXTPMultiMonitor::GetWorkArea(rc);
        CRect inside;
        if (rc.Width() <= 0 || rc.Height() <= 0 || !inside.IntersectRect(&rc, &work) || inside != rc)
            return "a floating frame lies off the screens";
    }
    if (site != nullptr) {
        CRect frame;
        site->GetClientRect(&frame);
        for (CXTPDockingPaneBase* node : manager.GetPaneStack()) {
            auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node);
            if (tabbed == nullptr || !tabbed->IsVisibleInLayout() ||
                tabbed->GetPaneWindowRect().IsRectEmpty())
                continue;
            if (dynamic_cast<CXTPDockingPaneMiniWnd*>(tabbed->GetContainer()) != nullptr)
                continue;
            CRect rc;
            tabbed->GetWindowRect(&rc);
            site->ScreenToClient(&rc);
            CRect inside;
            if (!inside.IntersectRect(&rc, &frame) || inside != rc)
                return "a docked container lies outside the frame";
        }
        if (site->clientRect().Width() <= 0 || site->clientRect().Height() <= 0)
            return "the frame's client has no room";
    }
    return {};
}

} // namespace dockingtest
