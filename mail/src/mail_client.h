// The mail client, reached through the Simple MAPI library of the system folder.
#pragma once

#include "mail_request.h"

namespace dvmail {

// Sends the request with the client's own dialog. True when the client took the message or
// the user cancelled it there; false when there is no library, no send call, or any other
// answer.
bool handToMailClient(const MailRequest& request);

} // namespace dvmail
