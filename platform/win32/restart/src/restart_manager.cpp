// The restart manager's four functions, exported by name from the module "rstrtmgr".
#include "win/restartmanager.h"
#include "win/system.h"

#include "pal/path.h"
#include "pal/text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A file is known by its device and inode, so another name of it (a link, a relative path) holds
// the same file.
using FileId = std::pair<dev_t, ino_t>;

struct Session {
    std::set<FileId> files;
};

struct Sessions {
    std::mutex mutex;
    std::map<DWORD, Session> open;
    DWORD next = 1;
};

Sessions& sessions() {
    // Freed with the module, so that unloading it leaves nothing behind; every caller ends its
    // sessions within its own call.
    static Sessions s;
    return s;
}

// The process's program file name, as a person knows the program; the kernel's command name
// (cut at 15 bytes) when the program file cannot be read.
std::wstring applicationName(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    std::error_code ec;
    const fs::path program = fs::read_symlink(proc + "/exe", ec);
    if (!ec && !program.filename().empty())
        return pal::text::fromUtf8(program.filename().string());
    std::ifstream in(proc + "/comm");
    std::string name;
    std::getline(in, name);
    return pal::text::fromUtf8(name);
}

bool holds(pid_t pid, const std::set<FileId>& files) {
    std::error_code ec;
    const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
    for (fs::directory_iterator it(fds, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat st {};
        // stat follows the descriptor's link to the open file itself, deleted or renamed or not.
        if (::stat(it->path().c_str(), &st) == 0 && files.count({st.st_dev, st.st_ino}))
            return true;
    }
    return false;
}

std::vector<RM_PROCESS_INFO> holders(const std::set<FileId>& files) {
    std::vector<RM_PROCESS_INFO> found;
    if (files.empty())
        return found;
    std::error_code ec;
    std::vector<pid_t> pids;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        pid_t pid = 0;
        const auto [rest, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (error == std::errc() && rest == name.data() + name.size())
            pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    for (const pid_t pid : pids) {
        if (!holds(pid, files))
            continue;
        RM_PROCESS_INFO info{};
        info.Process.dwProcessId = static_cast<DWORD>(pid);
        if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid))) {
            FILETIME unused{};
            GetProcessTimes(process, &info.Process.ProcessStartTime, &unused, &unused, &unused);
            CloseHandle(process);
        } else {
            continue; // ended meanwhile
        }
        const std::wstring name = applicationName(pid).substr(0, CCH_RM_MAX_APP_NAME);
        std::copy(name.begin(), name.end(), info.strAppName);
        info.ApplicationType = RmUnknownApp;
        info.AppStatus = 1; // running
        found.push_back(info);
    }
    return found;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) DWORD RmStartSession(DWORD* sessionHandle, DWORD flags,
                                                            WCHAR sessionKey[]) {
    if (sessionHandle == nullptr || sessionKey == nullptr || flags != 0)
        return ERROR_INVALID_PARAMETER;
    auto& s = sessions();
    std::lock_guard lock(s.mutex);
    if (s.open.size() >= RM_MAX_SESSIONS)
        return ERROR_RM_TOO_MANY_SESSIONS;
    const DWORD handle = s.next++;
    s.open.emplace(handle, Session{});
    // The key names the session for other processes, which this restart manager does not serve;
    // it is still unique within the process and the moment.
    char key[CCH_RM_SESSION_KEY + 1];
    std::snprintf(key, sizeof key, "%08x%08x%08x%08x", static_cast<unsigned>(GetCurrentProcessId()), handle,
                  static_cast<unsigned>(GetTickCount()), 0u);
    for (UINT i = 0; i <= CCH_RM_SESSION_KEY; ++i)
        sessionKey[i] = static_cast<WCHAR>(key[i]);
    *sessionHandle = handle;
    return ERROR_SUCCESS;
}

// Files only: registering applications or services is not offered (ERROR_INVALID_PARAMETER). A
// file that does not exist is held by nobody and adds nothing.
__attribute__((visibility("default"))) DWORD RmRegisterResources(DWORD session, UINT fileCount,
                                                                 const wchar_t* const files[],
                                                                 UINT applicationCount, RM_UNIQUE_PROCESS[],
                                                                 UINT serviceCount, const wchar_t* const[]) {
    if (applicationCount != 0 || serviceCount != 0 || (fileCount != 0 && files == nullptr))
        return ERROR_INVALID_PARAMETER;
    std::set<FileId> ids;
    for (UINT i = 0; i < fileCount; ++i) {
        if (files[i] == nullptr || *files[i] == L'\0')
            return ERROR_INVALID_PARAMETER;
        std::uint32_t error = 0;
        const fs::path native = pal::path::toNative(files[i], error);
        struct stat st {};
        if (error == 0 && ::stat(native.c_str(), &st) == 0)
            ids.insert({st.st_dev, st.st_ino});
    }
    auto& s = sessions();
    std::lock_guard lock(s.mutex);
    const auto it = s.open.find(session);
    if (it == s.open.end())
        return ERROR_INVALID_HANDLE;
    it->second.files.insert(ids.begin(), ids.end());
    return ERROR_SUCCESS;
}

__attribute__((visibility("default"))) DWORD RmGetList(DWORD session, UINT* needed, UINT* count,
                                                       RM_PROCESS_INFO affectedApps[], DWORD* rebootReasons) {
    if (needed == nullptr || count == nullptr || rebootReasons == nullptr)
        return ERROR_INVALID_PARAMETER;
    std::set<FileId> files;
    {
        auto& s = sessions();
        std::lock_guard lock(s.mutex);
        const auto it = s.open.find(session);
        if (it == s.open.end())
            return ERROR_INVALID_HANDLE;
        files = it->second.files;
    }
    const std::vector<RM_PROCESS_INFO> found = holders(files);
    *rebootReasons = 0;
    *needed = static_cast<UINT>(found.size());
    if (found.empty()) {
        *count = 0;
        return ERROR_SUCCESS;
    }
    if (affectedApps == nullptr || *count < found.size())
        return ERROR_MORE_DATA;
    std::copy(found.begin(), found.end(), affectedApps);
    *count = static_cast<UINT>(found.size());
    return ERROR_SUCCESS;
}

__attribute__((visibility("default"))) DWORD RmEndSession(DWORD session) {
    auto& s = sessions();
    std::lock_guard lock(s.mutex);
    return s.open.erase(session) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // extern "C"
