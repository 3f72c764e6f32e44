// COleTemplateServer: the factory that makes a new document of a document template for each
// client, registered under the document's class id.
#pragma once

#include "afx/frame.h"
#include "afx/olefactory.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

enum OLE_APPTYPE {
    OAT_UNKNOWN = -1,
    OAT_INPLACE_SERVER = 0,
    OAT_SERVER = 1,
    OAT_CONTAINER = 2,
    OAT_DISPATCH_OBJECT = 3,
    OAT_DOC_OBJECT_SERVER = 4,
    OAT_DOC_OBJECT_CONTAINER = 5,
};

class COleTemplateServer : public COleObjectFactory {
    DECLARE_DYNAMIC(COleTemplateServer)
public:
    COleTemplateServer();

    // Serves the template's documents under `clsid`; bMultiInstance as for COleObjectFactory.
    void ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // Writes (or removes) the document class's key, "CLSID\{...}" with its "LocalServer32";
    // the file types and names of the documents are the application's to register. The kinds
    // of server differ on the platform only in entries this one has no use for.
    BOOL UpdateRegistry(OLE_APPTYPE nAppType = OAT_INPLACE_SERVER, LPCWSTR* rglpszRegister = nullptr,
                        LPCWSTR* rglpszOverwrite = nullptr, BOOL bRegister = TRUE);
    BOOL UpdateRegistry(BOOL bRegister) override;

    // A new, hidden document of the template.
    CCmdTarget* OnCreateObject() override;

private:
    CDocTemplate* m_pDocTemplate = nullptr;
};

DV_EXPORTS_END
