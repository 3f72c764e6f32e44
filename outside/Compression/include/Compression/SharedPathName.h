// The kernel's path type: a path text shared between copies, compared the way the platform
// compares paths (without regard to case, either separator). Its file-system facts are asked
// of the file system each time, except inside a SharedPathNameFlagsCacheBlock, where each
// path is asked once and the answer kept until the outermost block closes.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

class SharedPathName {
public:
    SharedPathName() = default;
    explicit SharedPathName(std::wstring_view path);
    explicit SharedPathName(const wchar_t* path)
        : SharedPathName(path ? std::wstring_view(path) : std::wstring_view()) {}

    // The path as text.
    const std::wstring& asCString() const;
    bool empty() const { return asCString().empty(); }

    bool exists() const;
    bool isDirectory() const;
    bool isReadOnly() const;
    // The platform's attribute bits, INVALID_FILE_ATTRIBUTES when the path does not exist.
    DWORD attributes() const;

    friend bool operator==(const SharedPathName& a, const SharedPathName& b);
    size_t hash() const;

private:
    std::shared_ptr<const std::wstring> path_;
};

// Declared again here: a friend declaration alone does not carry the library's export.
bool operator==(const SharedPathName& a, const SharedPathName& b);

struct SharedPathNameHash {
    size_t operator()(const SharedPathName& p) const { return p.hash(); }
};

// Opens a scope in which the file-system facts of shared path names are cached. Blocks nest;
// the cache is dropped when the outermost one closes, so a later query sees later changes.
class SharedPathNameFlagsCacheBlock {
public:
    SharedPathNameFlagsCacheBlock();
    ~SharedPathNameFlagsCacheBlock();
    SharedPathNameFlagsCacheBlock(const SharedPathNameFlagsCacheBlock&) = delete;
    SharedPathNameFlagsCacheBlock& operator=(const SharedPathNameFlagsCacheBlock&) = delete;
};

DV_EXPORTS_END
