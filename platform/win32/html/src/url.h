// URLs as the page engine reads them: the parts of a URL, resolution of references, and the
// path a file URL names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pal::html {

struct UrlParts {
    std::wstring scheme; // lower case; empty for a relative reference
    bool hasAuthority = false;
    std::wstring authority, path;
    bool hasQuery = false, hasFragment = false;
    std::wstring query, fragment;

    static UrlParts parse(std::wstring_view url);
    std::wstring str() const;
};

// The native file a file URL names (percent escapes decoded); empty for anything else.
std::filesystem::path fileOfUrl(std::wstring_view url);
// The URL without its fragment.
std::wstring withoutFragment(std::wstring_view url);

} // namespace pal::html
