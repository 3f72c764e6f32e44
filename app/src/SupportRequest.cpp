#include "app/SupportRequest.h"

#include "DVDiagnostics/DVLog.h"

int SendSupportRequest() {
    // The template, its placeholders and the mail helper's command line are not part of this
    // build: no request can be made, which reads as a template that could not be opened.
    DVLog_Write(5, "SendSupportRequest: the support request is not available");
    return 0;
}
