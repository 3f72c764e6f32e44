#include "mail_run.h"

#include "fallback.h"
#include "mail_client.h"
#include "mail_request.h"

namespace dvmail {

int runMail(const std::vector<std::wstring>& args, const ReadChunk& input) {
    MailRequest request = parseCommandLine(args);
    if (!request.recipients.empty()) {
        appendInputText(request, readInputText(input));
        if (handToMailClient(request))
            return 0;
    }
    return openFallback(request.fallback) ? 0 : 1;
}

} // namespace dvmail
