#include "pal/sandbox.h"

#include "pal/path.h"
#include "pal/text.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <optional>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace pal::sandbox {
namespace {

std::mutex& rootMutex() {
    static std::mutex m;
    return m;
}
std::optional<fs::path>& cachedRoot() {
    static std::optional<fs::path> root;
    return root;
}

fs::path defaultRoot() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return fs::path(data) / "dravik";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "dravik";
    return fs::temp_directory_path() / ("dravik-" + std::to_string(getuid()));
}

void ensureFolder(const fs::path& folder, const char* what) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder))
        throw Error(std::string("cannot create the ") + what + " folder '" + folder.string() +
                    "': " + (ec ? ec.message() : std::string("it is not a folder")));
}

} // namespace

const fs::path& root() {
    std::lock_guard lock(rootMutex());
    auto& cached = cachedRoot();
    if (!cached) {
        const char* env = std::getenv("DV_PAL_ROOT");
        fs::path r = (env && *env) ? fs::path(env) : defaultRoot();
        ensureFolder(r, "sandbox root (DV_PAL_ROOT)");
        cached = fs::absolute(r).lexically_normal();
    }
    return *cached;
}

fs::path drive(wchar_t letter) {
    const wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(letter)));
    fs::path d = root() / (std::string("drive_") + static_cast<char>(lower));
    ensureFolder(d, "drive");
    return d;
}

fs::path runDir() {
    fs::path d = root() / "run";
    ensureFolder(d, "run");
    return d;
}

void reset() {
    std::lock_guard lock(rootMutex());
    cachedRoot().reset();
}

} // namespace pal::sandbox

namespace pal::path {
namespace {

bool isDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
bool isSep(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool isAbsolute(std::wstring_view p) {
    if (p.size() >= 3 && isDriveLetter(p[0]) && p[1] == L':' && isSep(p[2]))
        return true;
    return !p.empty() && isSep(p[0]);
}

namespace {

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

} // namespace

fs::path toNative(std::wstring_view p) {
    // Long-path and device prefixes carry no meaning here; "\\?\UNC\server" is a share.
    bool unc = false;
    if (p.starts_with(L"\\\\?\\UNC\\") || p.starts_with(L"\\\\?\\unc\\")) {
        p.remove_prefix(8);
        unc = true;
    } else if (p.starts_with(L"\\\\?\\") || p.starts_with(L"\\\\.\\")) {
        p.remove_prefix(4);
    }
    std::wstring rest;
    fs::path base;
    size_t fixed = 0;
    if (!unc && p.size() >= 2 && isDriveLetter(p[0]) && p[1] == L':') {
        base = sandbox::drive(p[0]);
        rest = std::wstring(p.substr(2));
    } else if (unc || (p.size() >= 2 && isSep(p[0]) && isSep(p[1]))) {
        // A UNC path \\server\share\x lives under <root>/unc/server/share/x.
        base = sandbox::root() / "unc";
        rest = std::wstring(unc ? p : p.substr(2));
        fixed = 2;
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

namespace pal::folders {
namespace {

fs::path ensure(fs::path p) {
    std::error_code ec;
    fs::create_directories(p, ec);
    return p;
}

std::string userName() {
    if (const char* u = std::getenv("USER"); u && *u)
        return u;
    return "user";
}

} // namespace

fs::path programFile() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : p;
}

fs::path programDir() {
    return programFile().parent_path();
}

fs::path roamingAppData() {
    return ensure(sandbox::drive(L'C') / "Users" / userName() / "AppData" / "Roaming");
}
fs::path localAppData() {
    return ensure(sandbox::drive(L'C') / "Users" / userName() / "AppData" / "Local");
}
fs::path commonAppData() {
    return ensure(sandbox::drive(L'C') / "ProgramData");
}
fs::path documents() {
    return ensure(sandbox::drive(L'C') / "Users" / userName() / "Documents");
}
fs::path temp() {
    return ensure(localAppData() / "Temp");
}
// The platform's own libraries that a Windows system folder holds from the start; they are built
// beside the programs. A test that wants another one in their place installs it over the copy.
constexpr const char* kSystemLibraries[] = {"mapi32.so"};

// The folder is filled under a name of its own and renamed into place, so that no process sees a
// system folder without its libraries.
fs::path system() {
    const fs::path windows = ensure(sandbox::drive(L'C') / "Windows");
    const fs::path folder = windows / "System32";
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return folder;
    static std::atomic<unsigned> made{0};
    const fs::path making =
        windows / (".System32." + std::to_string(::getpid()) + "." + std::to_string(made++) + ".tmp");
    fs::create_directories(making, ec);
    const fs::path programs = programDir();
    for (const char* library : kSystemLibraries)
        if (fs::is_regular_file(programs / library, ec))
            fs::copy_file(programs / library, making / library, ec);
    fs::rename(making, folder, ec);
    if (ec) // made meanwhile by another process
        fs::remove_all(making, ec);
    return ensure(folder);
}

} // namespace pal::folders
