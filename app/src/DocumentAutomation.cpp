#include "app/DocumentAutomation.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ModelVars.h"

#include <compare>
#include <cstdint>
#include <map>

namespace {

// A document as a client holds it: the address with the number the document manager gave it when
// it opened, so that a document made later at a closed one's address is never reached through
// an object of the closed one.
struct DocumentRef {
    CDvw32Doc* document;
    std::uint64_t serial;
    auto operator<=>(const DocumentRef&) const = default;
};

DocumentRef refOf(CDvw32Doc* document) {
    return DocumentRef{document, Dravik::DocumentManager::Instance().GetOpenSerial(document)};
}

// Only while the document is still open is it reached; a client may outlive it.
CDvw32Doc* live(const DocumentRef& ref) {
    return ref.serial != 0 && Dravik::DocumentManager::Instance().GetOpenSerial(ref.document) == ref.serial
               ? ref.document
               : nullptr;
}

class ModelVarsObject : public CCmdTarget {
public:
    explicit ModelVarsObject(DocumentRef document) : document_(document) { EnableAutomation(); }

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
    DocumentRef document_;
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
    explicit DocumentObject(DocumentRef document)
        : document_(document), vars_(new ModelVarsObject(document)) {
        EnableAutomation();
    }
    ~DocumentObject() override { vars_->InternalRelease(); }

    LPDISPATCH GetModelVars() { return vars_->GetIDispatch(TRUE); }
    BSTR GetPathName() {
        CDvw32Doc* doc = live(document_);
        return SysAllocString(doc ? doc->GetPathName().GetString() : L"");
    }

private:
    DocumentRef document_;
    ModelVarsObject* vars_;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(DocumentObject, CCmdTarget)
DISP_FUNCTION(DocumentObject, "GetModelVars", GetModelVars, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(DocumentObject, "GetPathName", GetPathName, VT_BSTR, VTS_NONE)
END_DISPATCH_MAP()

// One object per open document, kept for the life of the process: clients compare what they get.
// The list itself is never destroyed, so that the objects stay where the program can find them
// until its very end, whatever a client still holds then.
std::map<DocumentRef, DocumentObject*>& objects() {
    static auto* map = new std::map<DocumentRef, DocumentObject*>;
    return *map;
}

} // namespace

LPDISPATCH GetDocumentDispatch(CDvw32Doc* document) {
    const DocumentRef ref = refOf(document);
    if (!live(ref))
        return nullptr;
    DocumentObject*& object = objects()[ref];
    if (!object)
        object = new DocumentObject(ref);
    return object->GetIDispatch(TRUE);
}
