#include "mail_request.h"

#include <string_view>

namespace dvmail {

namespace {

enum class Option { To, Subject, Body, Fallback, Attach };

struct OptionName {
    std::wstring_view name;
    Option option;
};

// In order of precedence: a key that begins several names means the first of them, so "--"
// and the empty key mean "--to".
constexpr OptionName kOptions[] = {
    {L"--to", Option::To},         {L"--subject", Option::Subject},
    {L"--body", Option::Body},     {L"--fallback", Option::Fallback},
    {L"--attach", Option::Attach},
};

const OptionName* findOption(std::wstring_view key) {
    for (const auto& o : kOptions)
        if (o.name.starts_with(key))
            return &o;
    return nullptr;
}

Attachment parseAttachment(std::wstring_view value) {
    const auto bar = value.find(L'|');
    if (bar == std::wstring_view::npos)
        return {std::wstring(value), {}};
    return {std::wstring(value.substr(bar + 1)), std::wstring(value.substr(0, bar))};
}

void apply(MailRequest& request, Option option, std::wstring_view value) {
    switch (option) {
    case Option::To:
        request.recipients.emplace_back(value);
        break;
    case Option::Subject:
        request.subject = value;
        break;
    case Option::Body:
        request.body = value;
        break;
    case Option::Fallback:
        request.fallback = value;
        break;
    case Option::Attach:
        request.attachments.push_back(parseAttachment(value));
        break;
    }
}

} // namespace

MailRequest parseCommandLine(const std::vector<std::wstring>& args) {
    MailRequest request;
    for (std::wstring_view arg : args) {
        const auto equals = arg.find(L'=');
        if (equals == std::wstring_view::npos || equals + 1 == arg.size())
            continue;
        if (const auto* o = findOption(arg.substr(0, equals)))
            apply(request, o->option, arg.substr(equals + 1));
    }
    return request;
}

void appendInputText(MailRequest& request, const std::wstring& text) {
    if (text.empty())
        return;
    if (!request.body.empty())
        request.body += L'\n';
    request.body += text;
}

} // namespace dvmail
