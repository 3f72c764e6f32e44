// Threads, events, mutexes (named ones across processes), critical sections and atoms.
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

class SyncTest : public pal::test::UserTest {};

TEST_F(SyncTest, AutoResetEventsReleaseOneWaiterAndManualOnesStaySet) {
    HANDLE autoEvent = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
    HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread setter([manual] {
        Sleep(5);
        SetEvent(manual);
    });
    EXPECT_EQ(WaitForSingleObject(manual, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    setter.join();
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    CloseHandle(autoEvent);
    CloseHandle(manual);
}

TEST_F(SyncTest, WaitingForAllTakesNothingUntilAllAreSignalled) {
    HANDLE both[2] = {CreateEventW(nullptr, FALSE, TRUE, nullptr),
                      CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(both[0], 0), WAIT_OBJECT_0)
        << "the first signal was not consumed by the failed wait";
    SetEvent(both[0]);
    SetEvent(both[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_TIMEOUT) << "both were taken";
    CloseHandle(both[0]);
    CloseHandle(both[1]);
}

TEST_F(SyncTest, MutexesAreRecursiveOwnedAndAbandonedWithTheirThread) {
    HANDLE m = CreateMutexW(nullptr, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    bool otherGotIt = true;
    BOOL otherReleased = TRUE;
    DWORD otherError = 0;
    std::thread([&] {
        otherGotIt = WaitForSingleObject(m, 0) == WAIT_OBJECT_0;
        otherReleased = ReleaseMutex(m);
        otherError = GetLastError();
    }).join();
    EXPECT_FALSE(otherGotIt);
    EXPECT_FALSE(otherReleased);
    EXPECT_EQ(otherError, ERROR_NOT_OWNER);
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(ReleaseMutex(m));

    std::thread([m] { WaitForSingleObject(m, 0); }).join(); // ends while owning it
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0) << "abandonment is reported once";
    ReleaseMutex(m);
    CloseHandle(m);
}

TEST_F(SyncTest, ANamedObjectCreatedTwiceIsTheSameObject) {
    HANDLE first = CreateMutexW(nullptr, TRUE, L"Global\\DravikCad_ClearSettingsMutex");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateMutexW(nullptr, TRUE, L"Global\\DravikCad_ClearSettingsMutex");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(ReleaseMutex(second)) << "the same object, owned since the first call";
    EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, L"Global\\DravikCad_ClearSettingsMutex"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE) << "a name belongs to one kind of object";
    HANDLE named = CreateEventW(nullptr, TRUE, FALSE, L"SplashClose");
    HANDLE opened = OpenEventW(EVENT_ALL_ACCESS, FALSE, L"SplashClose");
    SetEvent(opened);
    EXPECT_EQ(WaitForSingleObject(named, 0), WAIT_OBJECT_0);
    for (HANDLE h : {first, second, named, opened})
        CloseHandle(h);
    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, L"SplashClose"), nullptr) << "gone with its last handle";
}

// Runs the child that creates the named mutex; its exit code tells what it saw.
int runChild(const std::filesystem::path& bin, const std::string& name) {
    const std::string program = (bin / "dvpal_user_mutex_child").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(name.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(SyncTest, ANamedMutexIsSeenByAnotherProcessOfTheSandbox) {
    // Exit codes of the child: 0 created, 1 existed, 2 owned by someone else, 3 failed.
    EXPECT_EQ(runChild(binDir(), "Global\\DravikCad_ClearSettingsMutex"), 0);
    HANDLE mine = CreateMutexW(nullptr, TRUE, L"Global\\DravikCad_ClearSettingsMutex");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(runChild(binDir(), "Global\\DravikCad_ClearSettingsMutex"), 2)
        << "exists, and this process owns it";
    ReleaseMutex(mine);
    EXPECT_EQ(runChild(binDir(), "Global\\DravikCad_ClearSettingsMutex"), 1) << "exists, free to take";
    CloseHandle(mine);
    EXPECT_EQ(runChild(binDir(), "Global\\DravikCad_ClearSettingsMutex"), 0)
        << "nobody holds it open any more";
    EXPECT_EQ(runChild(binDir(), "Local\\Other"), 0);
}

TEST_F(SyncTest, ThreadsReportTheirIdsAndExitCodesAndCanStartSuspended) {
    static std::atomic<DWORD> seenId{0};
    DWORD id = 0;
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            seenId = GetCurrentThreadId();
            return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(p));
        },
        reinterpret_cast<LPVOID>(std::uintptr_t{42}), CREATE_SUSPENDED, &id);
    ASSERT_NE(t, nullptr);
    DWORD code = 0;
    EXPECT_EQ(WaitForSingleObject(t, 20), WAIT_TIMEOUT) << "suspended";
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(ResumeThread(t), 1u);
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(seenId.load(), id);
    EXPECT_EQ(GetThreadId(t), id);
    CloseHandle(t);
}

TEST_F(SyncTest, APostToANewThreadIsNotLost) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    static std::atomic<UINT> got{0};
    DWORD id = 0;
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
            MSG m{};
            GetMessageW(&m, nullptr, 0, 0);
            got = m.message;
            return 0;
        },
        nullptr, 0, &id);
    EXPECT_TRUE(PostThreadMessageW(id, WM_USER + 4, 0, 0));
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(got.load(), WM_USER + 4u);
    CloseHandle(t);
    CloseHandle(done);
}

TEST_F(SyncTest, CriticalSectionsAreRecursiveAndExclusive) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    EXPECT_EQ(cs.recursionCount, 2);
    BOOL other = TRUE;
    std::thread([&] { other = TryEnterCriticalSection(&cs); }).join();
    EXPECT_FALSE(other);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    std::thread([&] {
        other = TryEnterCriticalSection(&cs);
        if (other)
            LeaveCriticalSection(&cs);
    }).join();
    EXPECT_TRUE(other);
    DeleteCriticalSection(&cs);
}

TEST_F(SyncTest, GlobalAtomsAreCountedAndComparedWithoutCase) {
    const ATOM dravik = GlobalAddAtomW(L"dravik");
    ASSERT_GE(dravik, 0xC000);
    EXPECT_EQ(GlobalAddAtomW(L"DRAVIK"), dravik);
    EXPECT_EQ(GlobalFindAtomW(L"Dravik"), dravik);
    wchar_t name[16];
    EXPECT_EQ(GlobalGetAtomNameW(dravik, name, 16), 6u);
    EXPECT_STREQ(name, L"dravik");
    EXPECT_EQ(GlobalDeleteAtom(dravik), 0);
    EXPECT_EQ(GlobalFindAtomW(L"dravik"), dravik) << "one reference is left";
    EXPECT_EQ(GlobalDeleteAtom(dravik), 0);
    EXPECT_EQ(GlobalFindAtomW(L"dravik"), 0);
    EXPECT_EQ(GlobalAddAtomW(L"#123"), 123);
    EXPECT_EQ(GlobalAddAtomW(MAKEINTATOM(7)), 7);
    EXPECT_EQ(GlobalAddAtomW(L""), 0);
    EXPECT_EQ(GlobalAddAtomW(std::wstring(256, L'x').c_str()), 0);
}

} // namespace
