#include "link_markup.h"

#include <cwctype>

namespace pal::ctl {
namespace {

bool startsNoCase(const std::wstring& s, size_t at, const wchar_t* word) {
    for (size_t i = 0; word[i]; ++i) {
        if (at + i >= s.size() ||
            std::towlower(static_cast<wint_t>(s[at + i])) != static_cast<wint_t>(word[i]))
            return false;
    }
    return true;
}

// Reads the attributes of an opening tag that starts at `at` ("<a"); answers the index after '>'
// or npos when the tag is not well formed.
size_t readOpenTag(const std::wstring& s, size_t at, MarkupLink& link) {
    size_t i = at + 2;
    if (i < s.size() && !std::iswspace(static_cast<wint_t>(s[i])) && s[i] != L'>')
        return std::wstring::npos;
    while (i < s.size()) {
        while (i < s.size() && std::iswspace(static_cast<wint_t>(s[i])))
            ++i;
        if (i < s.size() && s[i] == L'>')
            return i + 1;
        size_t nameEnd = i;
        while (nameEnd < s.size() && (std::iswalnum(static_cast<wint_t>(s[nameEnd])) || s[nameEnd] == L'-'))
            ++nameEnd;
        if (nameEnd == i || nameEnd >= s.size() || s[nameEnd] != L'=')
            return std::wstring::npos;
        const std::wstring name = s.substr(i, nameEnd - i);
        i = nameEnd + 1;
        std::wstring value;
        if (i < s.size() && (s[i] == L'"' || s[i] == L'\'')) {
            const wchar_t quote = s[i];
            const size_t close = s.find(quote, i + 1);
            if (close == std::wstring::npos)
                return std::wstring::npos;
            value = s.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const size_t start = i;
            while (i < s.size() && !std::iswspace(static_cast<wint_t>(s[i])) && s[i] != L'>')
                ++i;
            value = s.substr(start, i - start);
        }
        if (startsNoCase(name, 0, L"href") && name.size() == 4)
            link.url = value;
        else if (startsNoCase(name, 0, L"id") && name.size() == 2)
            link.id = value;
    }
    return std::wstring::npos;
}

void addText(ParsedMarkup& out, const std::wstring& text, int link) {
    if (text.empty())
        return;
    if (!out.runs.empty() && out.runs.back().link == link)
        out.runs.back().text += text;
    else
        out.runs.push_back(LinkRun{text, link});
}

} // namespace

ParsedMarkup parseLinkMarkup(const std::wstring& s) {
    ParsedMarkup out;
    size_t i = 0;
    std::wstring plain;
    while (i < s.size()) {
        if (s[i] == L'<' && startsNoCase(s, i, L"<a")) {
            MarkupLink link;
            const size_t bodyStart = readOpenTag(s, i, link);
            const size_t close = bodyStart == std::wstring::npos ? std::wstring::npos : [&] {
                for (size_t k = bodyStart; k < s.size(); ++k) {
                    if (s[k] == L'<' && startsNoCase(s, k, L"</a>"))
                        return k;
                }
                return std::wstring::npos;
            }();
            if (close != std::wstring::npos) {
                addText(out, plain, -1);
                plain.clear();
                link.text = s.substr(bodyStart, close - bodyStart);
                addText(out, link.text, static_cast<int>(out.links.size()));
                out.links.push_back(std::move(link));
                i = close + 4;
                continue;
            }
        }
        plain += s[i++];
    }
    addText(out, plain, -1);
    return out;
}

} // namespace pal::ctl
