// Placeholder of the start pages: the start-page document, its frame and its managed view come
// with the start page itself. Until then start-up goes on without one.
#include "app/StartPages.h"

#include "DVDiagnostics/NotBuiltYet.h"

void OpenStartPages() {
    DV_NOT_BUILT_YET("the start page");
}
