// shlwapi's path functions: string work on paths in the system code's form.
#include "win/system/file.h"
#include "win/system/shell.h"

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

bool isSep(wchar_t c) {
    return c == L'\\' || c == L'/';
}
bool hasDrive(std::wstring_view p) {
    return p.size() >= 2 && p[1] == L':' && std::iswalpha(static_cast<wint_t>(p[0]));
}
bool isUnc(std::wstring_view p) {
    return p.size() >= 2 && isSep(p[0]) && isSep(p[1]);
}

// The root a path keeps through every operation: "C:\", "C:", "\\" (a share), "\" or nothing.
size_t rootLength(std::wstring_view p) {
    if (hasDrive(p))
        return p.size() >= 3 && isSep(p[2]) ? 3 : 2;
    if (isUnc(p))
        return 2;
    return !p.empty() && isSep(p[0]) ? 1 : 0;
}

wchar_t separatorOf(std::wstring_view p) {
    return p.find(L'/') != std::wstring_view::npos && p.find(L'\\') == std::wstring_view::npos ? L'/' : L'\\';
}

std::wstring canonical(std::wstring_view p) {
    const wchar_t sep = separatorOf(p);
    const size_t rootLen = rootLength(p);
    std::wstring root(p.substr(0, rootLen));
    for (auto& c : root)
        if (isSep(c))
            c = sep;
    std::vector<std::wstring> parts;
    std::wstring_view rest = p.substr(rootLen);
    const bool trailing = !rest.empty() && isSep(rest.back());
    while (!rest.empty()) {
        const size_t s = rest.find_first_of(L"\\/");
        const std::wstring_view part = rest.substr(0, s);
        rest = s == std::wstring_view::npos ? std::wstring_view() : rest.substr(s + 1);
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (!parts.empty() && parts.back() != L"..")
                parts.pop_back();
            else if (rootLen == 0)
                parts.emplace_back(part); // a relative path may climb above its start
            continue;
        }
        parts.emplace_back(part);
    }
    std::wstring out = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += sep;
        out += parts[i];
    }
    if (trailing && !parts.empty())
        out += sep;
    return out;
}

bool copyOut(const std::wstring& s, LPWSTR destination) {
    if (s.size() >= MAX_PATH) {
        destination[0] = L'\0';
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::copy(s.begin(), s.end(), destination);
    destination[s.size()] = L'\0';
    return true;
}

std::wstring combine(std::wstring_view folder, std::wstring_view file) {
    if (file.empty())
        return canonical(folder);
    if (folder.empty() || hasDrive(file) || isUnc(file))
        return canonical(file);
    if (isSep(file[0])) // rooted: on the folder's drive
        return canonical(std::wstring(folder.substr(0, hasDrive(folder) ? 2 : 0)) + std::wstring(file));
    std::wstring joined(folder);
    if (!isSep(joined.back()))
        joined += separatorOf(folder);
    return canonical(joined + std::wstring(file));
}

} // namespace

BOOL PathFileExistsW(LPCWSTR path) {
    return path && *path && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL PathIsDirectoryW(LPCWSTR path) {
    const DWORD a = path ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL PathIsRelativeW(LPCWSTR path) {
    if (!path || !*path)
        return TRUE;
    return !isSep(path[0]) && !hasDrive(path);
}

BOOL PathIsURLW(LPCWSTR path) {
    // A scheme of two or more characters (a letter, then letters, digits, "+", "-" or ".") and a
    // colon: one letter is a drive.
    if (!path || !std::iswalpha(static_cast<wint_t>(path[0])))
        return FALSE;
    size_t i = 1;
    while (path[i] && (std::iswalnum(static_cast<wint_t>(path[i])) || path[i] == L'+' || path[i] == L'-' ||
                       path[i] == L'.'))
        ++i;
    return i >= 2 && path[i] == L':';
}

BOOL PathIsNetworkPathW(LPCWSTR path) {
    return path && isUnc(path);
}

LPWSTR PathCombineW(LPWSTR destination, LPCWSTR folder, LPCWSTR file) {
    if (!destination || (!folder && !file)) {
        if (destination)
            destination[0] = L'\0';
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::wstring out = combine(folder ? folder : L"", file ? file : L"");
    return copyOut(out, destination) ? destination : nullptr;
}

BOOL PathAppendW(LPWSTR path, LPCWSTR more) {
    if (!path || !more)
        return FALSE;
    std::wstring_view m(more);
    if (!hasDrive(m) && !isUnc(m))
        while (!m.empty() && isSep(m.front()))
            m.remove_prefix(1);
    const std::wstring out = combine(path, m);
    if (out.size() >= MAX_PATH)
        return FALSE;
    return copyOut(out, path);
}

BOOL PathCanonicalizeW(LPWSTR destination, LPCWSTR path) {
    if (!destination || !path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return copyOut(canonical(path), destination);
}

BOOL PathRemoveFileSpecW(LPWSTR path) {
    if (!path || !*path)
        return FALSE;
    const std::wstring_view p(path);
    const size_t rootLen = rootLength(p);
    const size_t last = p.find_last_of(L"\\/");
    size_t keep;
    if (last == std::wstring_view::npos || last < rootLen)
        keep = rootLen == 2 && hasDrive(p) ? 2 : (last == std::wstring_view::npos ? 0 : rootLen);
    else if (last + 1 == rootLen)
        keep = rootLen; // "C:\a" -> "C:\"
    else
        keep = last;
    if (keep >= p.size())
        return FALSE;
    path[keep] = L'\0';
    return TRUE;
}

LPWSTR PathFindFileNameW(LPCWSTR path) {
    if (!path)
        return nullptr;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p) {
        if ((isSep(*p) || *p == L':') && p[1] && !isSep(p[1]))
            name = p + 1;
    }
    return const_cast<LPWSTR>(name);
}

LPWSTR PathFindExtensionW(LPCWSTR path) {
    if (!path)
        return nullptr;
    const wchar_t* dot = nullptr;
    const wchar_t* p = path;
    for (; *p; ++p) {
        if (isSep(*p) || *p == L' ')
            dot = nullptr;
        else if (*p == L'.')
            dot = p;
    }
    return const_cast<LPWSTR>(dot ? dot : p);
}

BOOL PathRenameExtensionW(LPWSTR path, LPCWSTR extension) {
    if (!path || !extension)
        return FALSE;
    LPWSTR dot = PathFindExtensionW(path);
    const size_t extLen = std::wcslen(extension);
    if (static_cast<size_t>(dot - path) + extLen >= MAX_PATH)
        return FALSE;
    std::wcscpy(dot, extension);
    return TRUE;
}

void PathRemoveExtensionW(LPWSTR path) {
    if (path)
        *PathFindExtensionW(path) = L'\0';
}

LPWSTR PathAddBackslashW(LPWSTR path) {
    if (!path)
        return nullptr;
    const size_t n = std::wcslen(path);
    if (n == 0 || isSep(path[n - 1]))
        return path + n;
    if (n + 1 >= MAX_PATH)
        return nullptr;
    path[n] = separatorOf(path);
    path[n + 1] = L'\0';
    return path + n + 1;
}

LPWSTR PathRemoveBackslashW(LPWSTR path) {
    if (!path)
        return nullptr;
    const size_t n = std::wcslen(path);
    if (n == 0)
        return path;
    if (isSep(path[n - 1]) && n > rootLength(path)) {
        path[n - 1] = L'\0';
        return path + n - 1;
    }
    return path + n - 1;
}
