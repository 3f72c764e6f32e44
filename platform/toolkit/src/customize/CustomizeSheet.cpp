#include "xtp/Customize.h"

#include "xtp/ResourceManager.h"

IMPLEMENT_DYNAMIC(CXTPCustomizeSheet, CXTPPropertySheet)

CXTPCustomizeSheet::CXTPCustomizeSheet(CXTPCommandBars* pCommandBars, UINT iSelectPage, CWnd* pParentWnd)
    : CXTPPropertySheet(XTPResourceManager()->LoadString(XTP_IDS_CUSTOMIZE), pParentWnd, iSelectPage),
      m_pCommandBars(pCommandBars) {}

CXTPCustomizeSheet::~CXTPCustomizeSheet() = default;
