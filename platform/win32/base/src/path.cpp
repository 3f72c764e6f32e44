// Windows path spellings mapped onto the sandbox's folders and back.
#include "pal/path.h"

#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/error.h"

#include <cctype>
#include <cwctype>
#include <vector>

namespace fs = std::filesystem;

namespace pal::path {
namespace {

bool isDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
bool isSep(wchar_t c) {
    return c == L'\\' || c == L'/';
}
bool isDrivePath(std::wstring_view p) {
    return p.size() >= 2 && isDriveLetter(p[0]) && p[1] == L':';
}
bool startsWithNoCase(std::wstring_view p, std::wstring_view prefix) {
    if (p.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towupper(static_cast<wint_t>(p[i])) != std::towupper(static_cast<wint_t>(prefix[i])))
            return false;
    return true;
}

// The drive of the current folder when it lies on one, else C:, so that "\x" names a place on
// the drive the program works on, as on the platform.
wchar_t currentDrive() {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (!ec) {
        const std::wstring shown = fromNative(cwd);
        if (isDrivePath(shown))
            return shown[0];
    }
    return L'C';
}

// Below a drive or share, "." and ".." are resolved here, and ".." stops at the drive's (or
// the share's) root as it does on the platform, so no spelling of a path leaves the sandbox.
fs::path underBase(fs::path base, const std::wstring& rest, size_t fixed) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && rest[i] != L'/')
            continue;
        const std::wstring part = rest.substr(start, i - start);
        start = i + 1;
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (parts.size() > fixed)
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    for (const auto& part : parts)
        base /= text::toUtf8(part);
    if (!parts.empty() && rest.back() == L'/')
        base /= ""; // a trailing separator is kept: it says "a folder"
    return base;
}

// A share needs a server and a share name that are names, not "." or "..".
bool isShare(std::wstring_view rest) {
    std::wstring_view names[2];
    for (auto& name : names) {
        size_t end = 0;
        while (end < rest.size() && !isSep(rest[end]))
            ++end;
        name = rest.substr(0, end);
        if (name.empty() || name == L"." || name == L"..")
            return false;
        rest.remove_prefix(end < rest.size() ? end + 1 : end);
    }
    return true;
}

} // namespace

bool isAbsolute(std::wstring_view p) {
    if (p.size() >= 3 && isDrivePath(p) && isSep(p[2]))
        return true;
    return !p.empty() && isSep(p[0]);
}

fs::path toNative(std::wstring_view p, std::uint32_t& error) {
    error = ERROR_SUCCESS;
    // After the long-path and device prefixes only a drive path or a share may follow: no device
    // namespace exists here, and a name the platform would refuse must not turn into a file
    // relative to the current folder.
    bool unc = false;
    if (p.starts_with(L"\\\\?\\") || p.starts_with(L"\\\\.\\")) {
        p.remove_prefix(4);
        if (startsWithNoCase(p, L"UNC\\")) {
            p.remove_prefix(4);
            unc = true;
        } else if (!isDrivePath(p)) {
            error = p.empty() || isSep(p[0]) ? ERROR_INVALID_NAME : ERROR_PATH_NOT_FOUND;
            return {};
        }
    }
    std::wstring rest;
    fs::path base;
    size_t fixed = 0;
    if (!unc && isDrivePath(p)) {
        base = sandbox::drive(p[0]);
        rest = std::wstring(p.substr(2));
    } else if (unc || (p.size() >= 2 && isSep(p[0]) && isSep(p[1]))) {
        // A UNC path \\server\share\x lives under <root>/unc/server/share/x.
        if (!unc)
            p.remove_prefix(2);
        if (!isShare(p)) {
            error = ERROR_INVALID_NAME;
            return {};
        }
        base = sandbox::root() / "unc";
        rest = std::wstring(p);
        fixed = 2;
    } else if (!p.empty() && p[0] == L'\\') {
        // Rooted the platform's way: the root of the current drive. A leading "/" stays a host
        // path, which is how a person names their own files.
        base = sandbox::drive(currentDrive());
        rest = std::wstring(p);
    } else {
        rest = std::wstring(p);
    }
    for (auto& c : rest)
        if (c == L'\\')
            c = L'/';
    if (!base.empty())
        return underBase(std::move(base), rest, fixed);
    return fs::path(text::toUtf8(rest));
}

fs::path toNative(std::wstring_view p) {
    std::uint32_t error = 0;
    return toNative(p, error);
}

std::wstring textOf(const fs::path& piece) {
    return text::fromUtf8(piece.string());
}

std::wstring fromNative(const fs::path& native) {
    const std::string s = native.string();
    const fs::path& r = sandbox::root();
    const std::string rs = r.string();
    // "<root>/drive_c" or "<root>/drive_c/...", and not a neighbour such as "<root>/drive_cx".
    if (s.size() > rs.size() + 7 && s.compare(0, rs.size(), rs) == 0 && s[rs.size()] == '/' &&
        s.compare(rs.size() + 1, 6, "drive_") == 0 &&
        std::islower(static_cast<unsigned char>(s[rs.size() + 7])) &&
        (s.size() == rs.size() + 8 || s[rs.size() + 8] == '/')) {
        const char letter = s[rs.size() + 7];
        std::string tail = s.substr(rs.size() + 8);
        std::wstring out;
        out += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(letter)));
        out += L':';
        std::wstring wtail = text::fromUtf8(tail);
        for (auto& c : wtail)
            if (c == L'/')
                c = L'\\';
        if (wtail.empty())
            wtail = L"\\";
        return out + wtail;
    }
    return text::fromUtf8(s);
}

} // namespace pal::path
