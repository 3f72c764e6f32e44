#include "mail_client.h"

#include "mapi.h"
#include "win/base.h"
#include "win/system.h"

#include <deque>
#include <string>
#include <vector>

namespace dvmail {

namespace {

constexpr FLAGS kSendFlags = MAPI_LOGON_UI | MAPI_DIALOG;
constexpr ULONG kNoPosition = 0xFFFFFFFF;

std::wstring asWide(const std::wstring& text) {
    return text;
}

// The narrow call takes text in the ANSI code page. The buffer is sized by asking the
// conversion first: a code page with multi-byte characters needs more bytes than characters.
std::string asAnsi(const std::wstring& text) {
    if (text.empty())
        return {};
    const int chars = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), chars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), chars, out.data(), bytes, nullptr, nullptr);
    return out;
}

// Builds the message record for either kind of call and sends it. The interface takes
// writable strings, so the record points into converted copies held here.
template <class Message, class Recipient, class File, class Send, class Convert>
ULONG sendRecord(Send send, const MailRequest& request, Convert convert) {
    std::deque<decltype(convert(std::wstring()))> texts;
    auto keep = [&](const std::wstring& text) {
        texts.push_back(convert(text));
        return texts.back().data();
    };

    std::vector<Recipient> recipients(request.recipients.size());
    for (size_t i = 0; i < recipients.size(); ++i) {
        // The first address is the addressee; the others get blind copies, so that no
        // recipient learns the others' addresses.
        recipients[i].ulRecipClass = i == 0 ? MAPI_TO : MAPI_BCC;
        recipients[i].lpszName = keep(request.recipients[i]);
    }
    std::vector<File> files(request.attachments.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& a = request.attachments[i];
        files[i].nPosition = kNoPosition;
        files[i].lpszPathName = keep(a.path);
        files[i].lpszFileName = a.displayName.empty() ? nullptr : keep(a.displayName);
    }

    Message message{};
    message.lpszSubject = keep(request.subject);
    message.lpszNoteText = keep(request.body);
    message.nRecipCount = static_cast<ULONG>(recipients.size());
    message.lpRecips = recipients.empty() ? nullptr : recipients.data();
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();
    return send(0, 0, &message, kSendFlags, 0);
}

} // namespace

Handover handToMailClient(const MailRequest& request) {
    HMODULE library = LoadLibraryExW(L"mapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library)
        return Handover::Failed;
    bool sent = false;
    ULONG result = 0;
    if (auto wide = reinterpret_cast<LPMAPISENDMAILW>(GetProcAddress(library, "MAPISendMailW"))) {
        result = sendRecord<MapiMessageW, MapiRecipDescW, MapiFileDescW>(wide, request, asWide);
        sent = true;
    } else if (auto narrow = reinterpret_cast<LPMAPISENDMAIL>(GetProcAddress(library, "MAPISendMail"))) {
        result = sendRecord<MapiMessage, MapiRecipDesc, MapiFileDesc>(narrow, request, asAnsi);
        sent = true;
    }
    FreeLibrary(library);
    if (!sent)
        return Handover::Failed;
    if (result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT)
        return Handover::Done;
    return result == MAPI_E_TEXT_TOO_LARGE ? Handover::TooLong : Handover::Failed;
}

} // namespace dvmail
