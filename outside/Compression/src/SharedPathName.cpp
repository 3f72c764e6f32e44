#include "Compression/SharedPathName.h"

#include "pal/text.h"
#include "win/base.h"

#include <functional>
#include <mutex>
#include <unordered_map>

namespace {

// The form two equal paths share: one separator, one case.
std::wstring comparable(std::wstring_view path) {
    std::wstring key = pal::text::toUpper(path);
    for (auto& c : key)
        if (c == L'/')
            c = L'\\';
    return key;
}

struct FlagsCache {
    std::mutex mutex;
    int depth = 0;
    std::unordered_map<std::wstring, DWORD> attributes;
};

FlagsCache& cache() {
    static FlagsCache* c = new FlagsCache;
    return *c;
}

const std::wstring& emptyPath() {
    static const std::wstring* e = new std::wstring;
    return *e;
}

} // namespace

SharedPathName::SharedPathName(std::wstring_view path) {
    if (!path.empty())
        path_ = std::make_shared<const std::wstring>(path);
}

const std::wstring& SharedPathName::asCString() const {
    return path_ ? *path_ : emptyPath();
}

DWORD SharedPathName::attributes() const {
    if (empty())
        return INVALID_FILE_ATTRIBUTES;
    FlagsCache& c = cache();
    std::wstring key;
    {
        std::lock_guard lock(c.mutex);
        if (c.depth > 0) {
            key = comparable(*path_);
            if (const auto it = c.attributes.find(key); it != c.attributes.end())
                return it->second;
        }
    }
    const DWORD attributes = GetFileAttributesW(path_->c_str());
    std::lock_guard lock(c.mutex);
    if (c.depth > 0 && !key.empty())
        c.attributes.emplace(std::move(key), attributes);
    return attributes;
}

bool SharedPathName::exists() const {
    return attributes() != INVALID_FILE_ATTRIBUTES;
}

bool SharedPathName::isDirectory() const {
    const DWORD a = attributes();
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SharedPathName::isReadOnly() const {
    const DWORD a = attributes();
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool operator==(const SharedPathName& a, const SharedPathName& b) {
    return a.path_ == b.path_ || comparable(a.asCString()) == comparable(b.asCString());
}

size_t SharedPathName::hash() const {
    return std::hash<std::wstring>()(comparable(asCString()));
}

SharedPathNameFlagsCacheBlock::SharedPathNameFlagsCacheBlock() {
    std::lock_guard lock(cache().mutex);
    ++cache().depth;
}

SharedPathNameFlagsCacheBlock::~SharedPathNameFlagsCacheBlock() {
    std::lock_guard lock(cache().mutex);
    if (--cache().depth == 0)
        cache().attributes.clear();
}
