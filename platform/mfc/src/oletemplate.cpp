#include "afx/oletemplate.h"

#include "pal/path.h"
#include "win/system.h"

#include <string>

IMPLEMENT_DYNAMIC(COleTemplateServer, COleObjectFactory)

COleTemplateServer::COleTemplateServer() : COleObjectFactory(CLSID_NULL, nullptr, FALSE, nullptr) {}

void COleTemplateServer::ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance) {
    m_clsid = clsid;
    m_pDocTemplate = pDocTemplate;
    m_bMultiInstance = bMultiInstance;
}

BOOL COleTemplateServer::UpdateRegistry(OLE_APPTYPE, LPCWSTR*, LPCWSTR*, BOOL bRegister) {
    return COleObjectFactory::UpdateRegistry(bRegister);
}

BOOL COleTemplateServer::UpdateRegistry(BOOL bRegister) {
    return UpdateRegistry(OAT_INPLACE_SERVER, nullptr, nullptr, bRegister);
}

CCmdTarget* COleTemplateServer::OnCreateObject() {
    if (m_pDocTemplate == nullptr)
        return nullptr;
    return m_pDocTemplate->OpenDocumentFile(nullptr, FALSE);
}
