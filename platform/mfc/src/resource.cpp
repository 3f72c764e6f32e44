#include "afx/resource.h"

#include "afx/app.h"
#include "afx/find_resource.h"
#include "afxstr.h"
#include "win/base.h"

#include <dlfcn.h>

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <vector>

namespace pal::mfc {
namespace {

struct Table {
    HINSTANCE module;
    const AFX_STRING_RESOURCE* entries;
    size_t count;
};

struct Registry {
    std::mutex mutex;
    std::vector<Table> tables;
    std::vector<StringSource::Lookup> sources;
    HINSTANCE resourceModule = nullptr;
};

Registry& registry() {
    static Registry* r = new Registry; // outlives the modules that unregister at exit
    return *r;
}

const wchar_t* find(const Table& t, UINT id) {
    for (size_t i = 0; i < t.count; ++i) {
        if (t.entries[i].nID == id)
            return t.entries[i].lpszText;
    }
    return nullptr;
}

} // namespace

HINSTANCE moduleOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

StringTable::StringTable(const void* anchor, const AFX_STRING_RESOURCE* entries, size_t count)
    : entries_(entries) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.tables.push_back({moduleOf(anchor), entries, count});
}

StringTable::~StringTable() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.tables, [this](const Table& t) { return t.entries == entries_; });
}

StringSource::StringSource(Lookup lookup) : lookup_(lookup) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (lookup_ != nullptr)
        r.sources.push_back(lookup_);
}

StringSource::~StringSource() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase(r.sources, lookup_);
}

bool loadString(UINT id, std::wstring& text) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    const wchar_t* found = nullptr;
    if (r.resourceModule != nullptr) {
        for (const Table& t : r.tables) {
            if (t.module == r.resourceModule && (found = find(t, id)) != nullptr)
                break;
        }
    }
    for (size_t i = 0; found == nullptr && i < r.tables.size(); ++i)
        found = find(r.tables[i], id);
    if (found != nullptr) {
        text = found;
        return true;
    }
    // A source is asked without the lock: it may read strings of its own through here; so are
    // the string tables the resource module and the program declare beside their files.
    const std::vector<StringSource::Lookup> sources = r.sources;
    const HINSTANCE resourceModule = r.resourceModule;
    lock.unlock();
    for (HINSTANCE module : {resourceModule, AfxGetInstanceHandle()}) {
        const wchar_t* held = nullptr;
        const int n = module ? ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&held), 0) : 0;
        if (n > 0 && held) {
            text.assign(held, static_cast<size_t>(n));
            return true;
        }
    }
    for (StringSource::Lookup source : sources)
        if (source(id, text))
            return true;
    return false;
}

} // namespace pal::mfc

HINSTANCE AfxGetResourceHandle() {
    auto& r = pal::mfc::registry();
    std::lock_guard lock(r.mutex);
    return r.resourceModule;
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    auto& r = pal::mfc::registry();
    std::lock_guard lock(r.mutex);
    r.resourceModule = hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
    std::vector<HINSTANCE> modules;
    {
        auto& r = pal::mfc::registry();
        std::lock_guard lock(r.mutex);
        modules.push_back(r.resourceModule);
        for (const pal::mfc::Table& t : r.tables)
            modules.push_back(t.module);
    }
    modules.insert(modules.begin() + 1, AfxGetInstanceHandle());
    for (HINSTANCE module : modules)
        if (module != nullptr && ::FindResourceW(module, name, type) != nullptr)
            return module;
    return modules.front();
}

int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf) {
    if (lpszBuf == nullptr || nMaxBuf == 0)
        return 0;
    std::wstring text;
    if (!pal::mfc::loadString(nID, text)) {
        *lpszBuf = 0;
        return 0;
    }
    const size_t n = std::min(text.size(), static_cast<size_t>(nMaxBuf - 1));
    std::wmemcpy(lpszBuf, text.data(), n);
    lpszBuf[n] = 0;
    return static_cast<int>(n);
}
