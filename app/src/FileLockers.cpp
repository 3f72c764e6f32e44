// Who holds a file: the system's restart manager, loaded by name the first time it is asked.
#include "app/ServerAppProxy.h"

#include "DVDiagnostics/DVLog.h"
#include "win/restartmanager.h"
#include "win/system.h"
#include "xtp/ModuleHandle.h"

#include <string>
#include <vector>

namespace {

// The module and its four functions, for the rest of the process; unusable when any is missing.
// The kernel asks from the main thread only.
struct RestartManagerBinding {
    CXTPModuleHandle module;
    RmStartSessionFn startSession = nullptr;
    RmRegisterResourcesFn registerResources = nullptr;
    RmGetListFn getList = nullptr;
    RmEndSessionFn endSession = nullptr;
    bool usable = false;

    RestartManagerBinding() {
        usable = module.Init(L"rstrtmgr.dll") && module.GetProcAddress(&startSession, "RmStartSession") &&
                 module.GetProcAddress(&registerResources, "RmRegisterResources") &&
                 module.GetProcAddress(&getList, "RmGetList") &&
                 module.GetProcAddress(&endSession, "RmEndSession");
    }
};

RestartManagerBinding& binding() {
    static RestartManagerBinding* bound = new RestartManagerBinding; // kept to the process's end
    return *bound;
}

void logFailure(const char* what, const std::wstring& path, DWORD code) {
    DVLog_Write(DVLogOptionalFailure, "%s \"%ls\": 0x%08x", what, path.c_str(), static_cast<unsigned>(code));
}

constexpr const char* kRegisterFailed = "Failed to register restart manager session resources for the file";
constexpr const char* kCountFailed = "Failed to get the number of applications and services using the file";
constexpr const char* kListFailed = "Failed to get the list of applications and services using the file";

// The program's path of a process; empty when it cannot be opened or read.
std::wstring programOf(HANDLE process) {
    if (process == nullptr)
        return {};
    std::vector<wchar_t> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    return QueryFullProcessImageNameW(process, 0, buffer.data(), &size) ? std::wstring(buffer.data(), size)
                                                                        : std::wstring();
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

} // namespace

std::vector<std::pair<std::wstring, std::wstring>> ServerAppProxy::GetFileLockers(const wchar_t* path) {
    std::vector<std::pair<std::wstring, std::wstring>> lockers;
    if (path == nullptr || *path == L'\0')
        return lockers;
    const std::wstring file = path;
    RestartManagerBinding& rm = binding();
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    if (!rm.usable) {
        logFailure(kRegisterFailed, file, ERROR_INVALID_HANDLE);
        return lockers;
    }
    // A session that would not start says why in its own code.
    if (const DWORD started = rm.startSession(&session, 0, key); started != ERROR_SUCCESS) {
        logFailure(kRegisterFailed, file, started);
        return lockers;
    }
    std::vector<RM_PROCESS_INFO> records;
    const wchar_t* files[] = {file.c_str()};
    if (const DWORD registered = rm.registerResources(session, 1, files, 0, nullptr, 0, nullptr);
        registered != ERROR_SUCCESS) {
        logFailure(kRegisterFailed, file, registered);
    } else {
        UINT needed = 0, count = 0;
        DWORD reasons = 0;
        const DWORD counted = rm.getList(session, &needed, &count, nullptr, &reasons);
        if (counted == ERROR_MORE_DATA) {
            records.resize(needed);
            count = needed;
            if (const DWORD listed = rm.getList(session, &needed, &count, records.data(), &reasons);
                listed != ERROR_SUCCESS) {
                logFailure(kListFailed, file, listed);
                records.clear();
            } else {
                records.resize(count);
            }
        } else if (counted != ERROR_SUCCESS) {
            logFailure(kCountFailed, file, counted);
        }
    }
    rm.endSession(session);

    // This program is not among those that hold the file against it.
    const DWORD ownId = GetCurrentProcessId();
    FILETIME ownStart{}, unused{};
    GetProcessTimes(GetCurrentProcess(), &ownStart, &unused, &unused, &unused);
    for (const RM_PROCESS_INFO& record : records) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, record.Process.dwProcessId);
        if (record.Process.dwProcessId == ownId && sameTime(record.Process.ProcessStartTime, ownStart)) {
            if (process != nullptr)
                CloseHandle(process);
            continue;
        }
        lockers.emplace_back(record.strAppName, programOf(process));
        if (process != nullptr)
            CloseHandle(process);
    }
    return lockers;
}
