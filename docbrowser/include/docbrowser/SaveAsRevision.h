// Save-as-revision: the document saved to the PDM system as a new revision. Registered by the
// application's named command table.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CCmdUI;
class CDvw32Doc;

// Non-zero when the document was saved.
int DocumentSaveAsRevision(CDvw32Doc* document);
// Enabled only for a document without the kernel's flag 0x10000 and without an embedded link
// while the PDM work mix is enabled.
void UpdateDocumentSaveAsRevision(CDvw32Doc* document, CCmdUI* cmdUI);

DV_EXPORTS_END
