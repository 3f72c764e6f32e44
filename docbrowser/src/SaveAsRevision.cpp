#include "docbrowser/SaveAsRevision.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DVPDMProxy/WorkMix.h"

#include "afxwin.h"

namespace {

bool isWorkMixEnabled() {
    return DVPDMWorkMix::Instance().IsEnabled();
}

} // namespace

int DocumentSaveAsRevision(CDvw32Doc* document) {
    if (document == nullptr || !isWorkMixEnabled())
        return 0;
    DV_NOT_BUILT_YET("DocumentSaveAsRevision: the PDM system's revisions");
    return 0;
}

void UpdateDocumentSaveAsRevision(CDvw32Doc* document, CCmdUI* cmdUI) {
    if (cmdUI != nullptr)
        cmdUI->Enable(document != nullptr && isWorkMixEnabled() ? TRUE : FALSE);
}
