// LoadLibraryW and its neighbours over dlopen, and the version functions over the manifest.
#include "win/system/module.h"

#include "pal/binaries.h"
#include "pal/path.h"
#include "pal/text.h"

#include <cstring>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Every handle this layer gave out, with the module's file. dlopen counts loads itself; the
// table only lets GetModuleFileNameW and FreeLibrary tell real handles from stray values.
struct ModuleTable {
    std::mutex mutex;
    std::map<void*, fs::path> files;
};
ModuleTable& table() {
    static ModuleTable* t = new ModuleTable; // outlives static destructors that free modules
    return *t;
}

void* programHandle() {
    static void* self = ::dlopen(nullptr, RTLD_NOW);
    return self;
}

fs::path resolveModuleFile(void* module) {
    if (module == programHandle())
        return pal::folders::programFile();
    auto& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.files.find(module);
    return it == t.files.end() ? fs::path() : it->second;
}

// Lets the base's GetModuleFileNameW answer for the modules of this layer.
const bool gResolverRegistered = [] {
    pal::folders::setModuleFileResolver(&resolveModuleFile);
    return true;
}();

bool isNotModule(const char* error) {
    return error && (std::strstr(error, "invalid ELF header") || std::strstr(error, "wrong ELF class") ||
                     std::strstr(error, "file too short") || std::strstr(error, "not an ELF"));
}

HMODULE toHandle(void* h) {
    return reinterpret_cast<HMODULE>(h);
}

// A name without extension means a library, as the platform's loader assumes.
std::wstring withLibraryExtension(std::wstring name) {
    const size_t slash = name.find_last_of(L"\\/");
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        name += L".dll";
    else if (dot + 1 == name.size())
        name.pop_back(); // "X." names a file without extension
    return name;
}

} // namespace

HMODULE LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    if (!name || !*name || file) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::wstring windowsName = withLibraryExtension(name);
    const bool systemOnly =
        (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) &&
        !(flags & (LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    const fs::path found =
        systemOnly ? pal::binaries::find(windowsName, {pal::folders::system()})
                   : pal::binaries::find(windowsName, {pal::folders::programDir(), pal::folders::system()});
    if (found.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* h = ::dlopen(found.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        SetLastError(isNotModule(::dlerror()) ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto& t = table();
    std::lock_guard lock(t.mutex);
    t.files.emplace(h, found);
    return toHandle(h);
}

HMODULE LoadLibraryW(LPCWSTR name) {
    return LoadLibraryExW(name, nullptr, 0);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    void* h = module ? static_cast<void*>(module) : programHandle();
    if (h != programHandle()) {
        auto& t = table();
        std::lock_guard lock(t.mutex);
        if (!t.files.count(h)) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
    }
    // Values below 0x10000 are ordinals, which modules here do not have.
    if (reinterpret_cast<std::uintptr_t>(name) < 0x10000) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    ::dlerror();
    void* p = ::dlsym(h, name);
    if (!p) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(p);
}

BOOL FreeLibrary(HMODULE module) {
    void* h = module;
    if (h && h == programHandle())
        return TRUE;
    auto& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.files.find(h);
    if (it == t.files.end()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    // The handle stays known while the module is mapped: dlopen(RTLD_NOLOAD) tells.
    const fs::path file = it->second;
    ::dlclose(h);
    if (void* still = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD))
        ::dlclose(still);
    else
        t.files.erase(it);
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR name) {
    if (!name)
        return toHandle(programHandle());
    const std::wstring windowsName = withLibraryExtension(name);
    const fs::path found =
        pal::binaries::find(windowsName, {pal::folders::programDir(), pal::folders::system()});
    void* h = found.empty() ? nullptr : ::dlopen(found.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!h) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ::dlclose(h); // RTLD_NOLOAD counted a load; the module stays mapped by its other users
    auto& t = table();
    std::lock_guard lock(t.mutex);
    t.files.emplace(h, found);
    return toHandle(h);
}

namespace {

// The version block: a tag, then the fixed information the root query answers.
struct VersionBlock {
    char tag[8];
    VS_FIXEDFILEINFO fixed;
};
constexpr char kBlockTag[8] = {'D', 'V', 'V', 'E', 'R', 'S', '1', '\0'};

// The file a version query names: bare names as LoadLibraryW finds them, others where they say.
bool versionOf(LPCWSTR file, VersionBlock& out) {
    if (!file || !*file) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const fs::path found = pal::binaries::find(file, {pal::folders::programDir(), pal::folders::system()});
    if (found.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    const auto version = pal::binaries::fileVersion(found);
    if (!version) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return false;
    }
    const auto& v = *version;
    out = {};
    std::memcpy(out.tag, kBlockTag, sizeof kBlockTag);
    out.fixed.dwSignature = VS_FFI_SIGNATURE;
    out.fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    out.fixed.dwFileVersionMS = (DWORD{v[0]} << 16) | v[1];
    out.fixed.dwFileVersionLS = (DWORD{v[2]} << 16) | v[3];
    out.fixed.dwProductVersionMS = out.fixed.dwFileVersionMS;
    out.fixed.dwProductVersionLS = out.fixed.dwFileVersionLS;
    out.fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    out.fixed.dwFileOS = VOS_NT_WINDOWS32;
    out.fixed.dwFileType = found.extension() == ".so" ? VFT_DLL : VFT_APP;
    return true;
}

} // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR file, LPDWORD handle) {
    if (handle)
        *handle = 0;
    VersionBlock block;
    return versionOf(file, block) ? static_cast<DWORD>(sizeof block) : 0;
}

BOOL GetFileVersionInfoW(LPCWSTR file, DWORD, DWORD size, LPVOID data) {
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    VersionBlock block;
    if (!versionOf(file, block))
        return FALSE;
    if (size < sizeof block) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(data, &block, sizeof block);
    return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length) {
    if (!block || !subBlock || !buffer || std::memcmp(block, kBlockTag, sizeof kBlockTag) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (std::wcscmp(subBlock, L"\\") != 0 && std::wcscmp(subBlock, L"/") != 0) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    auto* b = static_cast<const VersionBlock*>(block);
    *buffer = const_cast<VS_FIXEDFILEINFO*>(&b->fixed);
    if (length)
        *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}
