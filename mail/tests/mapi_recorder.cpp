// A mail library for the tests: writes down the message record it was given, to the file that
// DV_TEST_MAPI_RECORD names, and answers the result that DV_TEST_MAPI_RESULT gives (default
// SUCCESS_SUCCESS). Built with and without the wide call, like the stand-in.
#include "mapi.h"

#include "pal/text.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// One item per field, each NUL-terminated: "key=value", or the bare key for a null string.
struct Record {
    std::string bytes;

    void add(const std::string& key, const std::string& value) { bytes += key + '=' + value + '\0'; }
    void add(const std::string& key, unsigned long value) { add(key, std::to_string(value)); }
    template <class Char> void text(const std::string& key, const Char* value) {
        if (value)
            add(key, utf8(value));
        else
            bytes += key + '\0';
    }
    // Fields the caller must leave empty are summed up in one item.
    void unused(const std::string& key, bool clear) { add(key, clear ? "clear" : "set"); }

    static std::string utf8(const char* s) { return s; }
    static std::string utf8(const wchar_t* s) { return pal::text::toUtf8(s); }
};

template <class Message>
ULONG recordAndAnswer(const char* entry, LHANDLE session, ULONG_PTR uiParam, const Message* m, FLAGS flags,
                      ULONG reserved) {
    Record r;
    r.add("entry", entry);
    r.add("session", session);
    r.add("uiparam", uiParam);
    r.add("flags", flags);
    r.add("reserved", reserved);
    if (m) {
        r.unused("unused", m->ulReserved == 0 && !m->lpszMessageType && !m->lpszDateReceived &&
                               !m->lpszConversationID && m->flFlags == 0 && !m->lpOriginator);
        r.text("subject", m->lpszSubject);
        r.text("note", m->lpszNoteText);
        for (ULONG i = 0; i < m->nRecipCount; ++i) {
            const auto& p = m->lpRecips[i];
            r.add("recip.class", p.ulRecipClass);
            r.text("recip.name", p.lpszName);
            r.text("recip.address", p.lpszAddress);
            r.unused("recip.unused", p.ulReserved == 0 && p.ulEIDSize == 0 && !p.lpEntryID);
        }
        for (ULONG i = 0; i < m->nFileCount; ++i) {
            const auto& f = m->lpFiles[i];
            r.add("file.position", f.nPosition);
            r.text("file.path", f.lpszPathName);
            r.text("file.name", f.lpszFileName);
            r.unused("file.unused", f.ulReserved == 0 && f.flFlags == 0 && !f.lpFileType);
        }
    }
    if (const char* file = std::getenv("DV_TEST_MAPI_RECORD"))
        std::ofstream(file, std::ios::binary | std::ios::app) << r.bytes;
    const char* result = std::getenv("DV_TEST_MAPI_RESULT");
    return result ? static_cast<ULONG>(std::strtoul(result, nullptr, 10)) : SUCCESS_SUCCESS;
}

} // namespace

extern "C" ULONG MAPISendMail(LHANDLE session, ULONG_PTR uiParam, MapiMessage* message, FLAGS flags,
                              ULONG reserved) {
    return recordAndAnswer("A", session, uiParam, message, flags, reserved);
}

#ifndef DV_MAPI_NARROW_ONLY
extern "C" ULONG MAPISendMailW(LHANDLE session, ULONG_PTR uiParam, MapiMessageW* message, FLAGS flags,
                               ULONG reserved) {
    return recordAndAnswer("W", session, uiParam, message, flags, reserved);
}
#endif
