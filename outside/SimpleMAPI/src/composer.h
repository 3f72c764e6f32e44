// The stand-in's one way of handing a message over: the desktop's mail composer, started
// from an argument vector. Both entry points turn their message record into a Composition.
#pragma once

#include "mapi.h"

#include <string>
#include <vector>

namespace simplemapi {

struct Composition {
    std::vector<std::string> to; // UTF-8 addresses
    std::vector<std::string> cc;
    std::vector<std::string> bcc;
    std::string subject;
    std::string body;
    std::vector<std::string> attachments; // native paths
};

// The composer's command line as an argument vector, the program name first.
std::vector<std::string> composerCommand(const Composition& message);

// Checks the message, runs the composer and waits for it: SUCCESS_SUCCESS when the composer
// took the message, MAPI_E_UNKNOWN_RECIPIENT for an address the composer would read as an
// option or a mail link, MAPI_E_ATTACHMENT_NOT_FOUND for a missing file, MAPI_E_TEXT_TOO_LARGE
// for a text longer than the composer can be given as one argument, MAPI_E_FAILURE otherwise
// (the composer failed, or is not on the PATH).
ULONG compose(const Composition& message);

// Text of either record kind as UTF-8: wide strings, or narrow ones in the ANSI code page.
std::string utf8(const wchar_t* text);
std::string utf8(const char* text);
// The native path of an attachment path as the system code holds it.
std::string nativePath(const std::string& utf8Path);

// Reads a message record of either kind.
template <class Message> ULONG send(const Message* message) {
    if (!message)
        return MAPI_E_FAILURE;
    Composition c;
    c.subject = utf8(message->lpszSubject);
    c.body = utf8(message->lpszNoteText);
    for (ULONG i = 0; message->lpRecips && i < message->nRecipCount; ++i) {
        const auto& r = message->lpRecips[i];
        // A recipient resolved by the caller carries its address; an unresolved one only its name.
        std::string address = utf8(r.lpszAddress ? r.lpszAddress : r.lpszName);
        if (r.ulRecipClass == MAPI_TO)
            c.to.push_back(std::move(address));
        else if (r.ulRecipClass == MAPI_CC)
            c.cc.push_back(std::move(address));
        else if (r.ulRecipClass == MAPI_BCC)
            c.bcc.push_back(std::move(address));
    }
    for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
        if (!message->lpFiles[i].lpszPathName)
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        c.attachments.push_back(nativePath(utf8(message->lpFiles[i].lpszPathName)));
    }
    return compose(c);
}

} // namespace simplemapi
