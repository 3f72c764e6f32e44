// Windows path spellings mapped onto the sandbox's folders and back.
#include "pal/path.h"

#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/error.h"

#include <cctype>
#include <cwctype>
#include <optional>
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

namespace {

// The platform's device names: a file of that name (with any extension) is the device itself,
// and no device namespace exists here.
bool isDeviceName(std::wstring_view part) {
    part = part.substr(0, part.find(L'.'));
    while (!part.empty() && part.back() == L' ')
        part.remove_suffix(1);
    static constexpr std::wstring_view plain[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (auto name : plain)
        if (part.size() == name.size() && startsWithNoCase(part, name))
            return true;
    return part.size() == 4 && (startsWithNoCase(part, L"COM") || startsWithNoCase(part, L"LPT")) &&
           part[3] >= L'1' && part[3] <= L'9';
}

// A name the platform refuses outright: a colon anywhere but after a drive letter, or a device
// name as one of the parts. Host paths ("/x") follow the host's rules instead.
bool refusedName(std::wstring_view p) {
    const size_t colon = p.find(L':');
    if (colon != std::wstring_view::npos && (colon != 1 || !isDriveLetter(p[0]) || p.find(L':', 2) != p.npos))
        return true;
    size_t start = colon == 1 ? 2 : 0;
    for (size_t i = start; i <= p.size(); ++i) {
        if (i < p.size() && !isSep(p[i]))
            continue;
        if (isDeviceName(p.substr(start, i - start)))
            return true;
        start = i + 1;
    }
    return false;
}

// Where a relative path starts when the current folder lies in the sandbox: the folder below
// which ".." stops (a drive, a share or the root itself), and the way from there down to the
// current folder. Empty when the current folder is a host folder of the person's own.
struct Anchor {
    fs::path base;
    std::wstring rest;
    size_t fixed = 0;
};
std::optional<Anchor> sandboxCurrentFolder() {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec)
        return std::nullopt;
    const fs::path& root = sandbox::root();
    fs::path below;
    for (const fs::path& shown : {root, fs::canonical(root, ec)}) {
        if (shown.empty())
            continue;
        const fs::path relative = cwd.lexically_relative(shown);
        if (!relative.empty() && *relative.begin() != "..") {
            below = relative;
            break;
        }
    }
    if (below.empty())
        return std::nullopt;
    Anchor anchor{root, {}, 0};
    auto part = below.begin();
    const std::string first = part->string();
    if (first.size() == 7 && first.starts_with("drive_") &&
        std::islower(static_cast<unsigned char>(first[6]))) {
        anchor.base /= first;
        ++part;
    } else if (first == "unc") {
        anchor.base /= first;
        ++part;
        anchor.fixed = 2;
    }
    for (; part != below.end(); ++part)
        if (*part != ".")
            anchor.rest += text::fromUtf8(part->string()) + L"/";
    return anchor;
}

// True when `native`, a path the mapping put under the root, is still under it once the
// symbolic links on its way are followed: a link in the sandbox that points outside is not a
// way out of it.
bool staysInSandbox(const fs::path& native) {
    std::error_code ec;
    const fs::path root = fs::canonical(sandbox::root(), ec);
    if (ec)
        return false;
    // The mapping left no "." or ".." in the path, and a part that does not exist is no link:
    // only the part that exists needs following.
    fs::path existing = native;
    while (!existing.empty() && existing != existing.root_path() &&
           !fs::exists(fs::symlink_status(existing, ec)))
        existing = existing.parent_path();
    fs::path real = fs::weakly_canonical(existing, ec);
    if (ec)
        return false;
    real /= native.lexically_relative(existing);
    const fs::path relative = real.lexically_normal().lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

std::wstring withSlashes(std::wstring_view p) {
    std::wstring out(p);
    for (auto& c : out)
        if (c == L'\\')
            c = L'/';
    return out;
}

} // namespace

// A relative path is taken from the current folder; when that lies in the sandbox, ".." stops at
// its drive (or share, or the root) as it does on the platform. A colon anywhere but after a drive
// letter A-Z and a device name such as "NUL" are invalid names; a sandbox path that a symbolic
// link would lead out of the sandbox is refused (ERROR_ACCESS_DENIED).
fs::path toNative(std::wstring_view p, std::uint32_t& error) {
    error = ERROR_SUCCESS;
    if (p.empty())
        return {};
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
    const bool host = !unc && p.starts_with(L"/") && !p.starts_with(L"//");
    if (!host && refusedName(p)) {
        error = ERROR_INVALID_NAME;
        return {};
    }
    std::wstring rest;
    fs::path base;
    size_t fixed = 0;
    if (!unc && isDrivePath(p)) {
        base = sandbox::drive(p[0]);
        rest = withSlashes(p.substr(2));
        // "C:x" is relative to the current folder when that is on drive C:, else to its root.
        if (rest.empty() || rest[0] != L'/') {
            const auto here = sandboxCurrentFolder();
            if (here && here->base == base)
                rest = here->rest + rest;
        }
    } else if (unc || (p.size() >= 2 && isSep(p[0]) && isSep(p[1]))) {
        // A UNC path \\server\share\x lives under <root>/unc/server/share/x.
        if (!unc)
            p.remove_prefix(2);
        if (!isShare(p)) {
            error = ERROR_INVALID_NAME;
            return {};
        }
        base = sandbox::root() / "unc";
        rest = withSlashes(p);
        fixed = 2;
    } else if (!p.empty() && p[0] == L'\\') {
        // Rooted the platform's way: the root of the current drive. A leading "/" stays a host
        // path, which is how a person names their own files.
        base = sandbox::drive(currentDrive());
        rest = withSlashes(p);
    } else if (host) {
        return fs::path(text::toUtf8(withSlashes(p)));
    } else if (auto here = sandboxCurrentFolder()) {
        // Relative to a current folder in the sandbox: resolved here, so ".." stops where it
        // would on the platform instead of climbing out of the sandbox.
        base = std::move(here->base);
        rest = here->rest + withSlashes(p);
        fixed = here->fixed;
    } else {
        return fs::path(text::toUtf8(withSlashes(p)));
    }
    fs::path native = underBase(std::move(base), rest, fixed);
    if (!staysInSandbox(native)) {
        error = ERROR_ACCESS_DENIED;
        return {};
    }
    return native;
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
