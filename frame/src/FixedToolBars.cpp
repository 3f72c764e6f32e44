#include "frame/FixedToolBars.h"

#include "DravikUI/ToolBars.h"
#include "xtp/CommandBars.h"
#include "xtp/PropExchange.h"

#include <vector>

namespace dvframe {

void ExchangeFixedToolBars(CXTPPropExchange* px, CXTPCommandBars* bars) {
    if (px == nullptr || bars == nullptr)
        return;
    CXTPPropExchangeSection section(px, L"FixedToolBars");
    CXTPPropExchangeEnumeratorPtr entries(section->GetEnumerator(L"ToolBar"));
    if (section->IsStoring()) {
        std::vector<CXTPToolBar*> fixed;
        for (int i = 0; i < bars->GetCount(); ++i)
            if (CXTPToolBar* bar = bars->GetAt(i); Dravik::UI::IsFixed(bar))
                fixed.push_back(bar);
        POSITION pos = entries->GetPosition(static_cast<DWORD>(fixed.size()));
        for (CXTPToolBar* bar : fixed) {
            if (pos == nullptr)
                break;
            CXTPPropExchangeSection entry(entries->GetNext(pos));
            int id = static_cast<int>(bar->GetBarID());
            PX_Int(entry, L"Id", id);
        }
        return;
    }
    for (int i = 0; i < bars->GetCount(); ++i)
        Dravik::UI::Fix(bars->GetAt(i), false);
    POSITION pos = entries->GetPosition();
    while (pos != nullptr) {
        CXTPPropExchangeSection entry(entries->GetNext(pos));
        int id = -1;
        PX_Int(entry, L"Id", id, -1);
        if (id == -1)
            continue;
        for (int i = 0; i < bars->GetCount(); ++i)
            if (CXTPToolBar* bar = bars->GetAt(i); static_cast<int>(bar->GetBarID()) == id)
                Dravik::UI::Fix(bar, true);
    }
}

} // namespace dvframe
