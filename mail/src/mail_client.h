// The mail client, reached through the Simple MAPI library of the system folder.
#pragma once

#include "mail_request.h"

namespace dvmail {

enum class Handover {
    Done,    // the client took the message, or the user cancelled it there
    TooLong, // the client cannot take a message this long
    Failed,  // no library, no send call, or any other answer
};

// Sends the request with the client's own dialog.
Handover handToMailClient(const MailRequest& request);

} // namespace dvmail
