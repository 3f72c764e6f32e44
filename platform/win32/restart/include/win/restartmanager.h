// The restart manager: which running programs hold a file. Its functions live in the system
// folder's "rstrtmgr.dll" (here the module "rstrtmgr", built beside the programs) and are looked
// up by name, as callers of the platform do; this header gives their records and signatures.
//
// Over /proc: a process holds a file when one of its open descriptors is that file (same device
// and inode), which covers every lock too, since a lock is taken through an open descriptor. Only
// processes this user may look into are seen.
#pragma once

#include "win/base.h"
#include "win/error.h"

constexpr UINT CCH_RM_SESSION_KEY = 32; // hex digits of the session key
constexpr UINT CCH_RM_MAX_APP_NAME = 255;
constexpr UINT CCH_RM_MAX_SVC_NAME = 63;
constexpr DWORD RM_SESSION_KEY_LEN = 16;
constexpr UINT RM_MAX_SESSIONS = 64; // open at once, per process

// The four functions answer system error codes: ERROR_SUCCESS, ERROR_MORE_DATA (the buffer is too
// small), ERROR_INVALID_HANDLE (no such session), ERROR_INVALID_PARAMETER, and
// ERROR_RM_TOO_MANY_SESSIONS when RM_MAX_SESSIONS are open.
constexpr DWORD ERROR_RM_TOO_MANY_SESSIONS = 113;

struct RM_UNIQUE_PROCESS {
    DWORD dwProcessId;
    FILETIME ProcessStartTime; // as GetProcessTimes gives the creation time
};

enum RM_APP_TYPE {
    RmUnknownApp = 0,
    RmMainWindow = 1,
    RmOtherWindow = 2,
    RmService = 3,
    RmExplorer = 4,
    RmConsole = 5,
    RmCritical = 1000
};

struct RM_PROCESS_INFO {
    RM_UNIQUE_PROCESS Process;
    WCHAR strAppName[CCH_RM_MAX_APP_NAME + 1]; // the process's name (its command name)
    WCHAR strServiceShortName[CCH_RM_MAX_SVC_NAME + 1];
    RM_APP_TYPE ApplicationType;
    ULONG AppStatus;
    DWORD TSSessionId;
    BOOL bRestartable;
};

// The exported functions, as GetProcAddress finds them in the module.
using RmStartSessionFn = DWORD (*)(DWORD* sessionHandle, DWORD flags, WCHAR sessionKey[]);
using RmRegisterResourcesFn = DWORD (*)(DWORD session, UINT fileCount, const wchar_t* const files[],
                                        UINT applicationCount, RM_UNIQUE_PROCESS applications[],
                                        UINT serviceCount, const wchar_t* const services[]);
// With `affectedApps` null or *count too small: ERROR_MORE_DATA and *needed set (0 and
// ERROR_SUCCESS when nobody holds the files). Otherwise the records are written and *count set.
using RmGetListFn = DWORD (*)(DWORD session, UINT* needed, UINT* count, RM_PROCESS_INFO affectedApps[],
                              DWORD* rebootReasons);
using RmEndSessionFn = DWORD (*)(DWORD session);
