// The Win32 functions of the base layer.
#include "win/base.h"

#include "pal/clock.h"
#include "pal/format.h"
#include "pal/handles.h"
#include "pal/path.h"
#include "pal/text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

thread_local DWORD tLastError = 0;

// Copies `s` into a caller's buffer by the platform's rule: on success the count without the
// terminator; when too small, the size needed including the terminator.
DWORD copyOut(const std::wstring& s, LPWSTR buffer, DWORD size) {
    if (!buffer || size <= s.size())
        return static_cast<DWORD>(s.size() + 1);
    std::copy(s.begin(), s.end(), buffer);
    buffer[s.size()] = L'\0';
    return static_cast<DWORD>(s.size());
}

std::mutex& envMutex() {
    static std::mutex m;
    return m;
}

// Pseudo handles of the current process and thread, as the platform gives them.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
HANDLE const kCurrentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

} // namespace

DWORD GetLastError() {
    return tLastError;
}
void SetLastError(DWORD error) {
    tLastError = error;
}

BOOL CloseHandle(HANDLE handle) {
    // Closing a pseudo handle has no effect and succeeds.
    if (handle == kCurrentThread || handle == kCurrentProcess)
        return TRUE;
    return pal::handles::close(handle) ? TRUE : FALSE;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<pal::KernelObject>> objects;
    if (!pal::wait::resolve(count, handles, objects))
        return WAIT_FAILED;
    return pal::wait::waitForObjects(objects, waitAll != FALSE, milliseconds);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

HANDLE GetCurrentProcess() {
    return kCurrentProcess;
}
HANDLE GetCurrentThread() {
    return kCurrentThread;
}
DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}
DWORD GetCurrentThreadId() {
    thread_local DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
    return id;
}

std::int64_t _time64(std::int64_t* destination) {
    const std::int64_t seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    if (destination != nullptr)
        *destination = seconds;
    return seconds;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(pal::clock::tickMs());
}
ULONGLONG GetTickCount64() {
    return pal::clock::tickMs();
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count)
        return FALSE;
    count->QuadPart = pal::clock::steadyNs() / 100; // 10 MHz, as the platform usually reports
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency)
        return FALSE;
    frequency->QuadPart = 10'000'000;
    return TRUE;
}

namespace {
void fillSystemTime(SYSTEMTIME* out, bool local) {
    if (!out)
        return;
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    if (local)
        localtime_r(&ts.tv_sec, &tm);
    else
        gmtime_r(&ts.tv_sec, &tm);
    out->wYear = static_cast<WORD>(tm.tm_year + 1900);
    out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out->wDay = static_cast<WORD>(tm.tm_mday);
    out->wHour = static_cast<WORD>(tm.tm_hour);
    out->wMinute = static_cast<WORD>(tm.tm_min);
    out->wSecond = static_cast<WORD>(tm.tm_sec);
    out->wMilliseconds = static_cast<WORD>(ts.tv_nsec / 1'000'000);
}
} // namespace

void GetSystemTime(SYSTEMTIME* time) {
    fillSystemTime(time, false);
}
void GetLocalTime(SYSTEMTIME* time) {
    fillSystemTime(time, true);
}

void GetSystemTimeAsFileTime(FILETIME* time) {
    if (!time)
        return;
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    // 100-ns intervals since 1601-01-01.
    const unsigned long long v =
        (static_cast<unsigned long long>(ts.tv_sec) + 11644473600ULL) * 10'000'000ULL +
        static_cast<unsigned long long>(ts.tv_nsec) / 100;
    time->dwLowDateTime = static_cast<DWORD>(v);
    time->dwHighDateTime = static_cast<DWORD>(v >> 32);
}

namespace {

// The program search path lists its folders with ';' as Windows does; the host's own separator
// is ':', and a ';' left in it would spoil the last folder for every program started after.
bool isSearchPath(LPCWSTR name) {
    return CompareStringOrdinal(name, -1, L"PATH", -1, TRUE) == CSTR_EQUAL;
}

} // namespace

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard lock(envMutex());
    const char* v = std::getenv(pal::text::toUtf8(name).c_str());
    if (!v) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    std::wstring value = pal::text::fromUtf8(v);
    if (isSearchPath(name))
        std::replace(value.begin(), value.end(), L':', L';');
    return copyOut(value, buffer, size);
}

BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value) {
    if (!name || !*name || std::wcschr(name, L'=')) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(envMutex());
    const std::string n = pal::text::toUtf8(name);
    std::wstring text = value ? value : L"";
    if (isSearchPath(name))
        std::replace(text.begin(), text.end(), L';', L':');
    const int rc = value ? ::setenv(n.c_str(), pal::text::toUtf8(text).c_str(), 1) : ::unsetenv(n.c_str());
    return rc == 0 ? TRUE : FALSE;
}

DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size) {
    if (!source) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // %NAME% is replaced when NAME is set, and left as it stands otherwise.
    std::wstring out;
    const std::wstring in(source);
    for (size_t i = 0; i < in.size();) {
        const size_t close = in[i] == L'%' ? in.find(L'%', i + 1) : std::wstring::npos;
        if (close == std::wstring::npos) {
            out += in[i++];
            continue;
        }
        const std::wstring name = in.substr(i + 1, close - i - 1);
        std::lock_guard lock(envMutex());
        const char* v = name.empty() ? nullptr : std::getenv(pal::text::toUtf8(name).c_str());
        if (v) {
            out += pal::text::fromUtf8(v);
            i = close + 1;
        } else {
            out += in[i++];
        }
    }
    // This function counts the terminator in both answers.
    if (!destination || size <= out.size())
        return static_cast<DWORD>(out.size() + 1);
    std::copy(out.begin(), out.end(), destination);
    destination[out.size()] = L'\0';
    return static_cast<DWORD>(out.size() + 1);
}

namespace {
std::atomic<pal::folders::ModuleFileResolver> gModuleFileResolver{nullptr};
} // namespace

void pal::folders::setModuleFileResolver(ModuleFileResolver resolver) {
    gModuleFileResolver = resolver;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    std::filesystem::path path;
    if (!module) {
        path = pal::folders::programFile();
    } else if (const auto resolver = gModuleFileResolver.load()) {
        path = resolver(module);
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    const std::wstring file = pal::text::fromUtf8(path.string());
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (size <= file.size()) {
        // Truncated and terminated, with the platform's error.
        std::copy(file.begin(), file.begin() + size - 1, buffer);
        buffer[size - 1] = L'\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::copy(file.begin(), file.end(), buffer);
    buffer[file.size()] = L'\0';
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(file.size());
}

DWORD GetFileAttributesW(LPCWSTR path) {
    if (!path || !*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat st {};
    std::uint32_t error = 0;
    const auto native = pal::path::toNative(path, error);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (::stat(native.c_str(), &st) != 0) {
        SetLastError(errno == ENOENT    ? ERROR_FILE_NOT_FOUND
                     : errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                        : ERROR_ACCESS_DENIED);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (native.filename().string().starts_with('.'))
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

HRESULT SHGetFolderPathW(HWND, int folder, HANDLE, DWORD, LPWSTR path) {
    if (!path)
        return E_INVALIDARG;
    std::filesystem::path p;
    switch (folder & ~CSIDL_FLAG_CREATE) {
    case CSIDL_APPDATA:
        p = pal::folders::roamingAppData();
        break;
    case CSIDL_LOCAL_APPDATA:
        p = pal::folders::localAppData();
        break;
    case CSIDL_COMMON_APPDATA:
        p = pal::folders::commonAppData();
        break;
    case CSIDL_PERSONAL:
        p = pal::folders::documents();
        break;
    case CSIDL_SYSTEM:
        p = pal::folders::system();
        break;
    default:
        return E_INVALIDARG;
    }
    const std::wstring w = pal::path::fromNative(p);
    if (w.size() >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    std::copy(w.begin(), w.end(), path);
    path[w.size()] = L'\0';
    return S_OK;
}

UINT GetSystemDirectoryW(LPWSTR buffer, UINT size) {
    return copyOut(pal::path::fromNative(pal::folders::system()), buffer, size);
}

DWORD GetTempPathW(DWORD size, LPWSTR buffer) {
    std::wstring t = pal::path::fromNative(pal::folders::temp());
    if (t.empty() || t.back() != L'\\')
        t += L'\\';
    return copyOut(t, buffer, size);
}

namespace {
// VirtualFree(MEM_RELEASE) is called with size 0, so the mapping sizes are remembered.
struct Mappings {
    std::mutex mutex;
    std::map<void*, SIZE_T> sizes;
};
Mappings& mappings() {
    static Mappings* m = new Mappings;
    return *m;
}
} // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
    if (address || size == 0 || !(allocationType & (MEM_COMMIT | MEM_RESERVE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const int prot = protect == PAGE_NOACCESS   ? PROT_NONE
                     : protect == PAGE_READONLY ? PROT_READ
                                                : PROT_READ | PROT_WRITE;
    void* p = ::mmap(nullptr, size, prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto& m = mappings();
    std::lock_guard lock(m.mutex);
    m.sizes[p] = size;
    return p;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
    auto& m = mappings();
    std::lock_guard lock(m.mutex);
    const auto it = m.sizes.find(address);
    if (it == m.sizes.end() || (freeType == MEM_RELEASE && size != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (freeType == MEM_DECOMMIT) {
        // The pages stay reserved; their contents are dropped.
        ::madvise(address, size ? size : it->second, MADV_DONTNEED);
        return TRUE;
    }
    if (freeType != MEM_RELEASE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ::munmap(address, it->second);
    m.sizes.erase(it);
    return TRUE;
}

namespace {

// Copies formatted text into a counted buffer. With `truncateOk` the text is cut and
// terminated (returning -1 when cut); otherwise a buffer that is too small gets an empty
// string and -1, as the secure forms do.
template <class Char>
int copyFormatted(const std::basic_string<Char>& s, Char* buffer, size_t size, size_t count,
                  bool truncateOk) {
    if (!buffer || size == 0)
        return -1;
    const size_t limit = std::min(count, size - 1);
    if (s.size() <= limit) {
        std::copy(s.begin(), s.end(), buffer);
        buffer[s.size()] = 0;
        return static_cast<int>(s.size());
    }
    if (truncateOk) {
        std::copy(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(limit), buffer);
        buffer[limit] = 0;
    } else {
        buffer[0] = 0;
    }
    return -1;
}

} // namespace

int _vsnwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, va_list args) {
    return copyFormatted(pal::vformat(format, args), buffer, size, count, count == _TRUNCATE || count < size);
}

int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
    // Fills up to `count` characters; terminates only when there is room, like the original.
    const std::wstring s = pal::vformat(format, args);
    if (!buffer)
        return -1;
    const size_t n = std::min(s.size(), count);
    std::copy(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    if (s.size() < count)
        buffer[s.size()] = L'\0';
    return s.size() <= count ? static_cast<int>(s.size()) : -1;
}

int _vscwprintf(const wchar_t* format, va_list args) {
    return static_cast<int>(pal::vformat(format, args).size());
}

int _vsnprintf_s(char* buffer, size_t size, size_t count, const char* format, va_list args) {
    return copyFormatted(pal::vformat(format, args), buffer, size, count, count == _TRUNCATE || count < size);
}

int _vscprintf(const char* format, va_list args) {
    return static_cast<int>(pal::vformat(format, args).size());
}

int swprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = copyFormatted(pal::vformat(format, args), buffer, count, count, false);
    va_end(args);
    return n;
}

int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

int _snwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf_s(buffer, size, count, format, args);
    va_end(args);
    return n;
}

int sprintf_s(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = copyFormatted(pal::vformat(format, args), buffer, size, size, false);
    va_end(args);
    return n;
}

int _snprintf_s(char* buffer, size_t size, size_t count, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = _vsnprintf_s(buffer, size, count, format, args);
    va_end(args);
    return n;
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    // The platform's buffer for this function holds at most 1024 characters, the terminator
    // included; longer output is cut there and the count of what was stored is returned.
    va_list args;
    va_start(args, format);
    const int n = copyFormatted(pal::vformat(format, args), buffer, 1024, 1023, true);
    va_end(args);
    return n < 0 ? 1023 : n;
}
