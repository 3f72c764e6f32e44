// Resolution follows the generic URL syntax: a reference with a scheme stands alone, one with
// an authority keeps only the base's scheme, and a path is merged with the base's folder and
// cleared of "." and ".." segments, so "../b.html" can never climb above the root.
#include "url.h"

#include "pal/html.h"
#include "pal/path.h"
#include "pal/text.h"

#include <cwctype>

namespace pal::html {

namespace {

bool isSchemeChar(wchar_t c) {
    return (c < 0x80 && std::iswalnum(c)) || c == L'+' || c == L'-' || c == L'.';
}

// The length of the scheme at the start (without the colon), or 0. One letter before a colon
// is a drive, not a scheme.
size_t schemeLength(std::wstring_view url) {
    if (url.empty() || url[0] >= 0x80 || !std::iswalpha(url[0]))
        return 0;
    size_t i = 1;
    while (i < url.size() && isSchemeChar(url[i]))
        ++i;
    return i < url.size() && url[i] == L':' && i >= 2 ? i : 0;
}

std::wstring removeDotSegments(std::wstring_view path) {
    std::wstring out;
    size_t i = 0;
    while (i < path.size()) {
        const size_t end = path.find(L'/', i + 1);
        std::wstring_view segment =
            path.substr(i, end == std::wstring_view::npos ? path.size() - i : end - i);
        // `segment` starts with "/" unless it is the first one of a relative path.
        std::wstring_view name = segment.starts_with(L'/') ? segment.substr(1) : segment;
        const bool last = end == std::wstring_view::npos;
        if (name == L".") {
            if (last)
                out += L'/';
        } else if (name == L"..") {
            const size_t cut = out.rfind(L'/');
            out.erase(cut == std::wstring::npos ? 0 : cut);
            if (last)
                out += L'/';
        } else {
            out += segment;
        }
        i = last ? path.size() : end;
    }
    if (path.starts_with(L'/') && !out.starts_with(L'/'))
        out.insert(out.begin(), L'/');
    return out;
}

std::wstring merge(const UrlParts& base, std::wstring_view path) {
    if (base.hasAuthority && base.path.empty())
        return L"/" + std::wstring(path);
    const size_t slash = base.path.rfind(L'/');
    return (slash == std::wstring::npos ? std::wstring() : base.path.substr(0, slash + 1)) +
           std::wstring(path);
}

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

std::wstring percentDecode(std::wstring_view s) {
    std::string bytes;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'%' && i + 2 < s.size() + 0 && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            bytes += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            bytes += pal::text::toUtf8(s.substr(i, 1));
        }
    }
    return pal::text::fromUtf8(bytes);
}

std::wstring percentEncodePath(std::wstring_view path) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (wchar_t c : path) {
        if (c == L'%' || c == L'#' || c == L'?' || c == L' ' || c < 0x20) {
            out += L'%';
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

UrlParts UrlParts::parse(std::wstring_view url) {
    UrlParts p;
    if (const size_t n = schemeLength(url)) {
        p.scheme = pal::text::toLower(url.substr(0, n));
        url.remove_prefix(n + 1);
    }
    if (const size_t hash = url.find(L'#'); hash != std::wstring_view::npos) {
        p.hasFragment = true;
        p.fragment = url.substr(hash + 1);
        url = url.substr(0, hash);
    }
    if (const size_t q = url.find(L'?'); q != std::wstring_view::npos) {
        p.hasQuery = true;
        p.query = url.substr(q + 1);
        url = url.substr(0, q);
    }
    if (url.starts_with(L"//")) {
        p.hasAuthority = true;
        const size_t slash = url.find(L'/', 2);
        p.authority = url.substr(2, slash == std::wstring_view::npos ? std::wstring_view::npos : slash - 2);
        url = slash == std::wstring_view::npos ? std::wstring_view() : url.substr(slash);
    }
    p.path = url;
    return p;
}

std::wstring UrlParts::str() const {
    std::wstring s;
    if (!scheme.empty())
        s += scheme + L":";
    if (hasAuthority)
        s += L"//" + authority;
    s += path;
    if (hasQuery)
        s += L"?" + query;
    if (hasFragment)
        s += L"#" + fragment;
    return s;
}

std::wstring toUrl(std::wstring_view pathOrUrl) {
    if (schemeLength(pathOrUrl) || !pal::path::isAbsolute(pathOrUrl))
        return std::wstring(pathOrUrl);
    const std::filesystem::path native = pal::path::toNative(pathOrUrl);
    if (native.empty())
        return std::wstring(pathOrUrl);
    return L"file://" + percentEncodePath(pal::text::fromUtf8(native.lexically_normal().generic_string()));
}

std::wstring resolveUrl(std::wstring_view baseUrl, std::wstring_view reference) {
    const UrlParts ref = UrlParts::parse(reference);
    if (!ref.scheme.empty()) {
        UrlParts t = ref;
        t.path = removeDotSegments(t.path);
        return t.str();
    }
    const UrlParts base = UrlParts::parse(toUrl(baseUrl));
    UrlParts t;
    t.scheme = base.scheme;
    if (ref.hasAuthority) {
        t.hasAuthority = true;
        t.authority = ref.authority;
        t.path = removeDotSegments(ref.path);
        t.hasQuery = ref.hasQuery;
        t.query = ref.query;
    } else {
        t.hasAuthority = base.hasAuthority;
        t.authority = base.authority;
        if (ref.path.empty()) {
            t.path = base.path;
            t.hasQuery = ref.hasQuery || base.hasQuery;
            t.query = ref.hasQuery ? ref.query : base.query;
        } else {
            t.path = removeDotSegments(ref.path.starts_with(L'/') ? ref.path : merge(base, ref.path));
            t.hasQuery = ref.hasQuery;
            t.query = ref.query;
        }
    }
    t.hasFragment = ref.hasFragment;
    t.fragment = ref.fragment;
    return t.str();
}

bool isLocalUrl(std::wstring_view url) {
    const std::wstring scheme = UrlParts::parse(url).scheme;
    return scheme == L"file" || scheme == L"about";
}

std::filesystem::path fileOfUrl(std::wstring_view url) {
    const UrlParts p = UrlParts::parse(url);
    if (p.scheme != L"file" ||
        (p.hasAuthority && !p.authority.empty() && !pal::text::equalsNoCase(p.authority, L"localhost")))
        return {};
    const std::wstring path = percentDecode(p.path);
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return {};
    // "file:///C:/x" names a drive path.
    if (path.size() >= 3 && path[0] == L'/' && path[2] == L':' && std::iswalpha(path[1]))
        return pal::path::toNative(path.substr(1));
    return pal::path::toNative(path);
}

std::wstring withoutFragment(std::wstring_view url) {
    const size_t hash = url.find(L'#');
    return std::wstring(url.substr(0, hash));
}

} // namespace pal::html
