#include "xtp/Customize.h"

#include "xtp/CommandBars.h"
#include "xtp/ResourceManager.h"

IMPLEMENT_DYNAMIC(CXTPCustomizeSheet, CXTPPropertySheet)

CXTPCustomizeSheet::CXTPCustomizeSheet(CXTPCommandBars* pCommandBars, UINT iSelectPage, CWnd* pParentWnd)
    : CXTPPropertySheet(XTPResourceManager()->LoadString(XTP_IDS_CUSTOMIZE), pParentWnd, iSelectPage),
      m_pCommandBars(pCommandBars), commands_(std::make_unique<CXTPCustomizeCommandsPage>(this)) {
    AddPage(commands_.get());
}

void CXTPCustomizeSheet::InsertPage(CPropertyPage* pPage, int nIndex) {
    insertPage(pPage, nIndex);
    if (GetNavigator() != nullptr)
        GetNavigator()->OnPageChanged();
}

CXTPCustomizeSheet::~CXTPCustomizeSheet() = default;

CXTPShortcutManager* CXTPCustomizeSheet::GetShortcutManager() const {
    if (m_pShortcutManager != nullptr)
        return m_pShortcutManager;
    return m_pCommandBars != nullptr ? m_pCommandBars->GetShortcutManager() : nullptr;
}

BOOL CXTPCustomizeSheet::OnInitDialog() {
    const BOOL result = CXTPPropertySheet::OnInitDialog();
    if (m_pCommandBars != nullptr)
        m_pCommandBars->SetCustomizeMode(TRUE);
    return result;
}

LRESULT CXTPCustomizeSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && m_pCommandBars != nullptr)
        m_pCommandBars->SetCustomizeMode(FALSE);
    return CXTPPropertySheet::WindowProc(message, wParam, lParam);
}
