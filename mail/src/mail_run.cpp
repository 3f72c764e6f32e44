#include "mail_run.h"

#include "fallback.h"
#include "mail_client.h"
#include "mail_request.h"

namespace dvmail {

int runMail(const std::vector<std::wstring>& args, const ReadChunk& input, std::FILE* errors) {
    MailRequest request = parseCommandLine(args);
    if (!request.recipients.empty()) {
        appendInputText(request, readInputText(input));
        switch (handToMailClient(request)) {
        case Handover::Done:
            return 0;
        case Handover::TooLong:
            // The page would ask the person to write again what the caller already wrote.
            std::fputs("DravikMail: the message is too long for the mail client; it was not sent and the "
                       "fallback page was not opened\n",
                       errors);
            std::fflush(errors);
            return 1;
        case Handover::Failed:
            break;
        }
    }
    return openFallback(request.fallback) ? 0 : 1;
}

} // namespace dvmail
