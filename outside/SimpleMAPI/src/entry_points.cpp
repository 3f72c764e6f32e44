// The exported calls. A build with DV_MAPI_NARROW_ONLY leaves the wide call out, as older
// mail clients do, so that callers' narrow path is exercised.
#include "composer.h"

// Session, window and flags change nothing here: the composer always shows its own window,
// which is what a dialog send with logon is.
extern "C" ULONG MAPISendMail(LHANDLE, ULONG_PTR, MapiMessage* message, FLAGS, ULONG) {
    return simplemapi::send(message);
}

#ifndef DV_MAPI_NARROW_ONLY
extern "C" ULONG MAPISendMailW(LHANDLE, ULONG_PTR, MapiMessageW* message, FLAGS, ULONG) {
    return simplemapi::send(message);
}
#endif
