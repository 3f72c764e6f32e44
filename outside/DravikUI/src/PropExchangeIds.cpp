#include "DravikUI/PropExchangeIds.h"

#include "xtp/PropExchange.h"

BOOL PX_UniqueIdentifier(CXTPPropExchange* pPX, LPCWSTR pszPropName, Dravik::UniqueIdentifier& id) {
    if (pPX->IsStoring()) {
        CString text = UniqueIdentifierToString(id).c_str();
        return pPX->ExchangeText(pszPropName, text);
    }
    CString text;
    if (!pPX->IsPropertyPresent(pszPropName) || !pPX->ExchangeText(pszPropName, text))
        return FALSE;
    const auto parsed = Dravik::UniqueIdentifier::TryParse(text.GetString());
    if (!parsed)
        return FALSE;
    id = *parsed;
    return TRUE;
}
