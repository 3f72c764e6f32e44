// The shell's glue between its document commands and the kernel's documents: new documents
// from the prototypes of the settings, the save procedures, and the test that says whether
// document protection is switched off for the machine.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDocument;
class CDvw32Doc;
struct DocInitParams;

// Prototype kinds: 0 drawing, 1 3D part, 3 assembly drawing, 4 3D assembly, 5 sheet-metal part.
CDocument* CreateDocumentFromPrototype(int prototypeKind);

// The document manager's default open parameters, into the caller's record.
void CopyDefaultOpenParameters(DocInitParams& params);
// After a save: a document the kernel marked with a geometry-save failure is reported once.
void ReportSaveGeometryError(CDvw32Doc* document);

// Each holds the document for its duration and answers non-zero on success; a failure has been
// told to the person and leaves the document modified and its file as it was.
int SaveDocument(CDvw32Doc* document);
int SaveDocumentAs(CDvw32Doc* document);
int SaveDocumentCopy(CDvw32Doc* document);
int SaveDocumentToOrsa(CDvw32Doc* document);
int SaveDocumentVersionsToOrsa(CDvw32Doc* document);

// True when the machine-wide value "DisableDocumentProtection" under
// "SOFTWARE\<company>\<registry name>" is the 32-bit value 1.
bool IsDocumentProtectionDisabled();

DV_EXPORTS_END
