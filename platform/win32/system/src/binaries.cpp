// The rule from Windows names to program files, and the version manifest.
#include "pal/binaries.h"

#include "pal/path.h"
#include "pal/text.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace pal::binaries {
namespace {

bool endsWithNoCase(std::wstring_view s, std::wstring_view suffix) {
    return s.size() > suffix.size() && text::equalsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool hasFolder(std::wstring_view name) {
    return name.find_first_of(L"\\/") != std::wstring_view::npos || (name.size() >= 2 && name[1] == L':');
}

// Looks for `name` in `folder`: exactly, then without case.
fs::path lookIn(const fs::path& folder, const fs::path& name) {
    std::error_code ec;
    fs::path exact = folder / name;
    if (fs::is_regular_file(exact, ec))
        return exact;
    const std::wstring wanted = text::fromUtf8(name.string());
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (text::equalsNoCase(text::fromUtf8(it->path().filename().string()), wanted) &&
            it->is_regular_file(ec))
            return it->path();
    }
    return {};
}

std::optional<Version> parseVersion(const std::string& s) {
    Version v{};
    size_t part = 0;
    size_t i = 0;
    while (part < 4) {
        if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
            return std::nullopt;
        unsigned long n = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            n = n * 10 + static_cast<unsigned long>(s[i++] - '0');
            if (n > 0xFFFF)
                return std::nullopt;
        }
        v[part++] = static_cast<std::uint16_t>(n);
        if (part < 4) {
            if (i >= s.size() || s[i] != '.')
                return std::nullopt;
            ++i;
        }
    }
    return i == s.size() ? std::optional<Version>(v) : std::nullopt;
}

std::optional<Version> lookUp(const fs::path& manifest, const std::string& fileName) {
    std::ifstream in(manifest);
    std::string line;
    while (std::getline(in, line)) {
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        std::string name, version;
        if (fields >> name >> version && name == fileName)
            return parseVersion(version);
    }
    return std::nullopt;
}

} // namespace

fs::path nativeName(std::wstring_view windowsName) {
    std::wstring name(windowsName);
    if (endsWithNoCase(name, L".dll"))
        name = name.substr(0, name.size() - 4) + L".so";
    else if (endsWithNoCase(name, L".exe"))
        name.resize(name.size() - 4);
    if (hasFolder(name))
        return path::toNative(name);
    return fs::path(text::toUtf8(name));
}

fs::path find(std::wstring_view windowsName, std::initializer_list<fs::path> folders) {
    if (windowsName.empty())
        return {};
    const fs::path native = nativeName(windowsName);
    if (hasFolder(windowsName))
        return native.has_parent_path() ? lookIn(native.parent_path(), native.filename()) : fs::path();
    for (const auto& folder : folders) {
        if (fs::path found = lookIn(folder, native); !found.empty())
            return found;
    }
    return {};
}

std::optional<Version> fileVersion(const fs::path& file) {
    const std::string name = file.filename().string();
    if (const char* over = std::getenv("DV_VERSION_MANIFEST"); over && *over) {
        if (auto v = lookUp(over, name))
            return v;
    }
    return lookUp(file.parent_path() / kManifestName, name);
}

} // namespace pal::binaries
