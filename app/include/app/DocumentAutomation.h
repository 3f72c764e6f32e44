// The automation objects of the kernel's documents as the server hands them out: the document,
// and its title-block variables whose changes reach the document together, as one undo step.
#pragma once

#include "afxdisp.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDvw32Doc;

// The document's automation object, the same one every time, with a reference for the caller;
// null for no open document. A client may keep it past the document's close: its calls then fail
// quietly (empty answers) instead of reaching a document that is gone, or a later one.
LPDISPATCH GetDocumentDispatch(CDvw32Doc* document);

DV_EXPORTS_END
