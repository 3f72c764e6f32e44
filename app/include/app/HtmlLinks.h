// The embedded pages' links: what a page's link asks of the program, and tutorial tabs.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// True when the link was the program's to carry out (the page must not navigate), false when
// the page may navigate itself.
bool HandleHtmlLink(const wchar_t* url);
// Shows a page in a tutorial tab; nothing for an empty address.
void OpenInTutorialDocument(const wchar_t* url);

DV_EXPORTS_END
