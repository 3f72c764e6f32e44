#include "pal/cmdline.h"

namespace pal::cmdline {
namespace {
bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
} // namespace

std::vector<std::wstring> split(std::wstring_view s) {
    std::vector<std::wstring> argv;
    size_t i = 0;
    // The program name knows no escapes: quoted, it ends at the next quote (and the next
    // argument may follow at once); unquoted, at the first blank, quotes and all.
    if (s.empty())
        return argv;
    if (s[0] == L'"') {
        const size_t close = s.find(L'"', 1);
        const size_t end = close == std::wstring_view::npos ? s.size() : close;
        argv.emplace_back(s.substr(1, end - 1));
        i = close == std::wstring_view::npos ? s.size() : close + 1;
    } else {
        while (i < s.size() && !isBlank(s[i]))
            ++i;
        argv.emplace_back(s.substr(0, i));
    }
    for (;;) {
        while (i < s.size() && isBlank(s[i]))
            ++i;
        if (i >= s.size())
            break;
        std::wstring arg;
        bool quoted = false;
        while (i < s.size() && (quoted || !isBlank(s[i]))) {
            if (s[i] == L'\\') {
                size_t n = 0;
                while (i < s.size() && s[i] == L'\\') {
                    ++n;
                    ++i;
                }
                if (i < s.size() && s[i] == L'"') {
                    arg.append(n / 2, L'\\');
                    if (n % 2) {
                        arg += L'"';
                        ++i;
                    }
                    // An even count leaves the quote to the grouping rule below.
                } else {
                    arg.append(n, L'\\');
                }
                continue;
            }
            if (s[i] == L'"') {
                if (quoted && i + 1 < s.size() && s[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += s[i++];
        }
        argv.push_back(std::move(arg));
    }
    return argv;
}

std::wstring quote(std::wstring_view arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(arg);
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
            out += L'"';
        } else {
            out.append(backslashes, L'\\');
            out += c;
        }
        backslashes = 0;
    }
    out.append(backslashes * 2, L'\\'); // before the closing quote
    out += L'"';
    return out;
}

std::wstring join(const std::vector<std::wstring>& argv) {
    if (argv.empty())
        return {};
    std::wstring program;
    for (wchar_t c : argv[0])
        if (c != L'"')
            program += c;
    std::wstring out = program.empty() || program.find_first_of(L" \t") != std::wstring::npos
                           ? L"\"" + program + L"\""
                           : program;
    for (size_t i = 1; i < argv.size(); ++i)
        out += L" " + quote(argv[i]);
    return out;
}

} // namespace pal::cmdline
