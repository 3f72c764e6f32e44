#include "xtp/CommandBars.h"
#include "xtp/PropExchange.h"

#include <algorithm>

namespace {

// A damaged file cannot make more bars than a person ever would.
constexpr int kMaxCustomBars = 256;

// Whether the bar's controls differ from those it was built with.
bool customised(CXTPToolBar* bar) {
    CXTPControls* original = bar->GetControls()->GetOriginalControls();
    if (original == nullptr)
        return !bar->IsBuiltIn();
    CXTPControls* now = bar->GetControls();
    if (original->GetCount() != now->GetCount())
        return true;
    for (int i = 0; i < now->GetCount(); ++i) {
        if (!now->GetAt(i)->Compare(original->GetAt(i)))
            return true;
    }
    return false;
}

} // namespace

void CXTPCommandBars::DoPropExchange(CXTPPropExchange* pPX, XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam) {
    if (pPX == nullptr)
        return;
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM defaults;
    const XTP_COMMANDBARS_PROPEXCHANGE_PARAM& param = pParam != nullptr ? *pParam : defaults;
    if (param.bSerializeOptions) {
        CXTPPropExchangeSection options(pPX, L"Options");
        m_pOptions->DoPropExchange(options);
    }
    CXTPPropExchangeEnumeratorPtr items(pPX->GetEnumerator(L"Bar"));
    if (pPX->IsStoring()) {
        std::vector<CXTPToolBar*> stored;
        for (CXTPToolBar* bar : m_arrBars) {
            if (bar->ShouldSerializeBar())
                stored.push_back(bar);
        }
        POSITION pos = items->GetPosition(static_cast<DWORD>(stored.size()));
        for (CXTPToolBar* bar : stored) {
            CXTPPropExchangeSection item(items->GetNext(pos));
            UINT id = bar->GetBarID();
            PX_UInt(item, L"Id", id, 0);
            BOOL menu = dynamic_cast<CXTPMenuBar*>(bar) != nullptr;
            PX_Bool(item, L"MenuBar", menu, FALSE);
            BOOL custom = !bar->IsBuiltIn();
            PX_Bool(item, L"Custom", custom, FALSE);
            if (param.bSerializeLayout)
                bar->DoPropExchange(item);
            else
                PX_String(item, L"Title", bar->m_strTitle, L"");
            if (param.bSerializeControls && (!param.bSaveOnlyCustomized || customised(bar))) {
                CXTPPropExchangeSection controls(item, L"Controls");
                bar->GetControls()->DoPropExchange(controls);
            }
        }
        return;
    }
    int made = 0;
    POSITION pos = items->GetPosition();
    while (pos != nullptr) {
        CXTPPropExchangeSection item(items->GetNext(pos));
        UINT id = 0;
        PX_UInt(item, L"Id", id, 0);
        BOOL menu = FALSE;
        PX_Bool(item, L"MenuBar", menu, FALSE);
        BOOL custom = FALSE;
        PX_Bool(item, L"Custom", custom, FALSE);
        CXTPToolBar* bar = menu ? GetMenuBar() : GetToolBar(id);
        if (bar == nullptr) {
            // Bars the program no longer makes are forgotten; bars the user made come back.
            if (!custom || menu || made >= kMaxCustomBars)
                continue;
            CString title;
            PX_String(item, L"Title", title, L"");
            bar = AddCustomBar(title, id, FALSE);
            if (bar == nullptr)
                continue;
            ++made;
        }
        if (param.bSerializeLayout)
            bar->DoPropExchange(item);
        auto* px = dynamic_cast<CXTPPropExchangeXMLNode*>(static_cast<CXTPPropExchange*>(item));
        if (param.bSerializeControls && (px == nullptr || px->IsSectionExists(L"Controls"))) {
            CXTPPropExchangeSection controls(item, L"Controls");
            bar->GetControls()->DoPropExchange(controls);
        }
    }
    RecalcFrameLayout(FALSE);
}
