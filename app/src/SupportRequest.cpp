#include "app/SupportRequest.h"

#include "DVDiagnostics/NotBuiltYet.h"

int SendSupportRequest() {
    // The template, its placeholders and the mail helper's command line are not part of this
    // build: no request can be made, which reads as a template that could not be opened.
    DV_NOT_BUILT_YET("SendSupportRequest: the support request template and the mail helper");
    return 0;
}
