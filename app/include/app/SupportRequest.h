// The technical-support request: a mail to the maker's support, made from a text template and
// handed to the mail helper.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// 1 when the mail program was started (or could not be started after the template was read),
// 0 when the template could not be opened.
int SendSupportRequest();

DV_EXPORTS_END
