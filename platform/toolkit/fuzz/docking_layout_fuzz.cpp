// One layout file from the input, loaded into a manager (without a frame: the model alone).
// What it loads must be sane, and storing it and loading that again must give the same text.
#include "pal/text.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/MultiMonitor.h"
#include "xtp/PropExchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

void checkNode(const CXTPDockingPaneBase* node, int& clients) {
    if (const auto* split = dynamic_cast<const CXTPDockingPaneSplitterContainer*>(node)) {
        check(split->GetChildren().size() >= 2);
        for (const CXTPDockingPaneBase* child : split->GetChildren()) {
            check(child->GetContainer() == split);
            checkNode(child, clients);
        }
    } else if (const auto* tabbed = dynamic_cast<const CXTPDockingPaneTabbedContainer*>(node)) {
        check(!tabbed->GetPanes().empty());
        for (const CXTPDockingPane* pane : tabbed->GetPanes())
            check(pane->GetContainer() == tabbed);
        check(tabbed->GetDockingSize() > 0);
    } else {
        check(node->GetType() == xtpPaneTypeClient);
        ++clients;
    }
}

void checkSane(CXTPDockingPaneManager& manager) {
    CXTPDockingPaneLayout* layout = manager.GetLayout();
    int clients = 0;
    checkNode(layout->GetRoot(), clients);
    check(clients == 1);
    std::set<int> ids;
    for (const CXTPDockingPane* pane : layout->GetPaneList()) {
        check(ids.insert(pane->GetID()).second);
        const CXTPDockingPaneBase* top = pane;
        while (top->GetContainer() != nullptr)
            top = top->GetContainer();
        check(top == layout->GetRoot() || top->GetType() == xtpPaneTypeMiniWnd);
        check(pane->GetMinTrackSize().cx >= 0 && pane->GetMaxTrackSize().cx >= pane->GetMinTrackSize().cx);
    }
    for (const CXTPDockingPaneMiniWnd* mini : layout->GetFloatingFrames()) {
        const CRect rc = mini->GetFloatingRect();
        const CRect work = CXTPMultiMonitor::GetWorkArea(rc);
        check(rc.Width() > 0 && rc.Height() > 0);
        check(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right &&
              rc.bottom <= work.bottom);
        check(mini->GetTopContainer() != nullptr && !mini->GetTopContainer()->IsAutoHidden());
        int none = 0;
        checkNode(mini->GetTopContainer(), none);
    }
}

CString store(CXTPDockingPaneManager& manager) {
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"DockingPaneLayout");
    manager.DoPropExchange(&px);
    return px.GetXML();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        pal::text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayout");
    if (!px.LoadFromString(text.c_str()))
        return 0;
    CXTPDockingPaneManager manager;
    if (!manager.DoPropExchange(&px))
        return 0;
    checkSane(manager);

    const CString once = store(manager);
    CXTPPropExchangeXMLNode again(TRUE, nullptr, L"DockingPaneLayout");
    check(again.LoadFromString(once) != FALSE);
    CXTPDockingPaneManager second;
    check(second.DoPropExchange(&again) != FALSE);
    checkSane(second);
    check(store(second) == once);
    return 0;
}
