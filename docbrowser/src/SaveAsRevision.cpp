#include "docbrowser/SaveAsRevision.h"

#include "DVDiagnostics/DVLog.h"

#include "afxwin.h"

namespace {

// The PDM work mix (DVPDMProxy) is not part of this build, so it is never enabled.
bool isWorkMixEnabled() {
    return false;
}

} // namespace

int DocumentSaveAsRevision(CDvw32Doc* document) {
    if (document == nullptr || !isWorkMixEnabled())
        return 0;
    DVLog_Write(5, "DocumentSaveAsRevision: no PDM system to save to");
    return 0;
}

void UpdateDocumentSaveAsRevision(CDvw32Doc* document, CCmdUI* cmdUI) {
    if (cmdUI != nullptr)
        cmdUI->Enable(document != nullptr && isWorkMixEnabled() ? TRUE : FALSE);
}
