// The add-ons' own commands (15000-16999): each loaded add-on whose command range holds the id
// runs it, in the order the add-ons are listed.
#include "app/Dvw32App.h"

#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"

namespace {

// The loaded add-ons whose own commands include the id, in the manager's order.
template <class Visit> void forEachOwner(UINT id, Visit visit) {
    for (const auto& application : CDVApplicationManager::Instance()) {
        unsigned first = 0, last = 0;
        if (application->GetCommandRange(first, last) && first <= id && id <= last)
            visit(*application);
    }
}

// A document that cannot be edited now takes no add-on command.
bool activeDocumentRefuses(CDvw32Doc* document) {
    return document != nullptr && !document->IsEditable();
}

} // namespace

void CDvw32App::OnAddonCommand(UINT id) {
    CDvw32Doc* document = DVGetActiveDoc();
    if (activeDocumentRefuses(document))
        return;
    forEachOwner(id, [&](CDVBaseApplication& application) { application.OnCommand(document, id); });
}

void CDvw32App::OnUpdateAddonCommand(CCmdUI* cmdUI) {
    bool owned = false;
    forEachOwner(cmdUI->m_nID, [&](CDVBaseApplication&) { owned = true; });
    cmdUI->Enable(owned && !activeDocumentRefuses(DVGetActiveDoc()) ? TRUE : FALSE);
}
