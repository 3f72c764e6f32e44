// Placeholder of the image documents, which come with their own document class and view. Until
// then a picture does not open, and the open road says so like any file it cannot open.
#include "app/DocumentOpening.h"

#include "DVDiagnostics/NotBuiltYet.h"

CDocument* OpenImageDocument(const wchar_t*) {
    DV_NOT_BUILT_YET("the image documents");
    return nullptr;
}
