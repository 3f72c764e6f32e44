#include "app/DocumentAutomation.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ModelVars.h"

#include <map>

namespace {

// Only while the document is still open is it reached; a client may outlive it.
CDvw32Doc* live(CDvw32Doc* document) {
    return document && Dravik::DocumentManager::Instance().IsOpen(document) ? document : nullptr;
}

class ModelVarsObject : public CCmdTarget {
public:
    explicit ModelVarsObject(CDvw32Doc* document) : document_(document) { EnableAutomation(); }

    BSTR GetVarExpression(LPCWSTR name) {
        CDvw32Doc* doc = live(document_);
        return SysAllocString(doc ? doc->GetModelVars()->GetVarExpression(name).c_str() : L"");
    }
    BOOL SetVarExpression(LPCWSTR name, LPCWSTR value) {
        CDvw32Doc* doc = live(document_);
        return doc && doc->GetModelVars()->SetVarExpression(name, value);
    }
    BOOL OK(LPCWSTR undoName) {
        CDvw32Doc* doc = live(document_);
        return doc && doc->GetModelVars()->OK(undoName);
    }
    void Cancel() {
        if (CDvw32Doc* doc = live(document_))
            doc->GetModelVars()->Cancel();
    }

private:
    CDvw32Doc* document_;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(ModelVarsObject, CCmdTarget)
DISP_FUNCTION(ModelVarsObject, "GetVarExpression", GetVarExpression, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(ModelVarsObject, "SetVarExpression", SetVarExpression, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(ModelVarsObject, "OK", OK, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(ModelVarsObject, "Cancel", Cancel, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

class DocumentObject : public CCmdTarget {
public:
    explicit DocumentObject(CDvw32Doc* document) : document_(document), vars_(new ModelVarsObject(document)) {
        EnableAutomation();
    }
    ~DocumentObject() override { vars_->InternalRelease(); }

    LPDISPATCH GetModelVars() { return vars_->GetIDispatch(TRUE); }
    BSTR GetPathName() {
        CDvw32Doc* doc = live(document_);
        return SysAllocString(doc ? doc->GetPathName().GetString() : L"");
    }

private:
    CDvw32Doc* document_;
    ModelVarsObject* vars_;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(DocumentObject, CCmdTarget)
DISP_FUNCTION(DocumentObject, "GetModelVars", GetModelVars, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(DocumentObject, "GetPathName", GetPathName, VT_BSTR, VTS_NONE)
END_DISPATCH_MAP()

// One object per document, kept for the life of the process: clients compare what they get.
std::map<CDvw32Doc*, DocumentObject*>& objects() {
    static std::map<CDvw32Doc*, DocumentObject*> map;
    return map;
}

} // namespace

LPDISPATCH GetDocumentDispatch(CDvw32Doc* document) {
    if (!document)
        return nullptr;
    DocumentObject*& object = objects()[document];
    if (!object)
        object = new DocumentObject(document);
    return object->GetIDispatch(TRUE);
}
