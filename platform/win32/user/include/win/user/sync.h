// Threads, events, mutexes (named ones shared by the processes of one sandbox), critical
// sections and global atoms. Threads, events and mutexes are handles that WaitForSingleObject,
// WaitForMultipleObjects and MsgWaitForMultipleObjects wait on.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);
constexpr DWORD STACK_SIZE_PARAM_IS_A_RESERVATION = 0x00010000;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID param, DWORD flags, LPDWORD threadId);
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetThreadId(HANDLE thread);
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

constexpr DWORD EVENT_MODIFY_STATE = 0x0002;
constexpr DWORD EVENT_ALL_ACCESS = 0x001F0003;
constexpr DWORD MUTEX_MODIFY_STATE = 0x0001;
constexpr DWORD MUTEX_ALL_ACCESS = 0x001F0001;

// A named object created a second time answers the first one's object and sets
// ERROR_ALREADY_EXISTS; a new one clears the last error.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCWSTR name);
HANDLE OpenEventW(DWORD access, BOOL inherit, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Names of mutexes ("Global\\..." or "Local\\..." or plain) are seen by every process of the
// sandbox: a second process's CreateMutexW reports ERROR_ALREADY_EXISTS and waits for the
// owner like a thread of the same process would.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCWSTR name);
HANDLE OpenMutexW(DWORD access, BOOL inherit, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);

// A recursive lock owned by one thread at a time.
struct CRITICAL_SECTION {
    void* lock;
    DWORD owningThread;
    LONG recursionCount;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
using PCRITICAL_SECTION = CRITICAL_SECTION*;
void InitializeCriticalSection(LPCRITICAL_SECTION section);
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Global atoms: strings in 0xC000..0xFFFF, compared without case and counted; "#123" and
// MAKEINTATOM(123) are the integer atom 123.
ATOM GlobalAddAtomW(LPCWSTR name);
ATOM GlobalFindAtomW(LPCWSTR name);
ATOM GlobalDeleteAtom(ATOM atom);
UINT GlobalGetAtomNameW(ATOM atom, LPWSTR buffer, int size);

DV_EXPORTS_END
