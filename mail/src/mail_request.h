// What the command line asks of the mail helper.
#pragma once

#include <string>
#include <vector>

namespace dvmail {

struct Attachment {
    std::wstring path;
    std::wstring displayName; // empty: the reader sees the file's own name
};

struct MailRequest {
    std::vector<std::wstring> recipients;
    std::wstring subject;
    std::wstring body;
    std::wstring fallback;
    std::vector<Attachment> attachments;
};

// Reads the arguments after the program name. Every argument stands alone: "key=value", where
// the key may be any beginning of an option name. Nothing here fails; what does not fit is
// left out.
MailRequest parseCommandLine(const std::vector<std::wstring>& args);

// Adds the text read from standard input to the body, on a line of its own.
void appendInputText(MailRequest& request, const std::wstring& text);

} // namespace dvmail
