// The restart manager as its callers reach it: the module loaded by name, the four functions
// looked up, and real processes holding files.
#include "win/restartmanager.h"
#include "win/system.h"

#include "pal/path.h"
#include "pal/test/file_holder_process.h"
#include "pal/test/sandbox_test.h"

#include <fstream>
#include <memory>
#include <vector>

namespace {

class RestartManager : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        module_ = LoadLibraryW(L"rstrtmgr.dll");
        ASSERT_NE(module_, nullptr);
        start_ = reinterpret_cast<RmStartSessionFn>(GetProcAddress(module_, "RmStartSession"));
        add_ = reinterpret_cast<RmRegisterResourcesFn>(GetProcAddress(module_, "RmRegisterResources"));
        list_ = reinterpret_cast<RmGetListFn>(GetProcAddress(module_, "RmGetList"));
        end_ = reinterpret_cast<RmEndSessionFn>(GetProcAddress(module_, "RmEndSession"));
        ASSERT_TRUE(start_ && add_ && list_ && end_);
    }
    void TearDown() override {
        if (module_ != nullptr)
            FreeLibrary(module_);
        SandboxTest::TearDown();
    }

    std::filesystem::path file(const std::string& name) const { return writeFile(name, "held"); }

    // Who holds the file, through the three calls a caller makes: size, then the records.
    std::vector<RM_PROCESS_INFO> holdersOf(const std::wstring& path, DWORD* failure = nullptr) {
        DWORD session = 0;
        WCHAR key[CCH_RM_SESSION_KEY + 1]{};
        EXPECT_EQ(start_(&session, 0, key), ERROR_SUCCESS);
        const wchar_t* files[] = {path.c_str()};
        DWORD result = add_(session, 1, files, 0, nullptr, 0, nullptr);
        std::vector<RM_PROCESS_INFO> found;
        UINT needed = 0, count = 0;
        DWORD reasons = 0;
        if (result == ERROR_SUCCESS)
            result = list_(session, &needed, &count, nullptr, &reasons);
        if (result == ERROR_MORE_DATA) {
            found.resize(needed);
            count = needed;
            result = list_(session, &needed, &count, found.data(), &reasons);
            found.resize(count);
        }
        EXPECT_EQ(end_(session), ERROR_SUCCESS);
        if (failure != nullptr)
            *failure = result;
        return found;
    }

    HMODULE module_ = nullptr;
    RmStartSessionFn start_ = nullptr;
    RmRegisterResourcesFn add_ = nullptr;
    RmGetListFn list_ = nullptr;
    RmEndSessionFn end_ = nullptr;
};

TEST_F(RestartManager, AChildHoldingTheFileOpenOrLockedIsNamedOnce) {
    for (const char* how : {"open", "lock"}) {
        SCOPED_TRACE(how);
        const auto held = file(std::string("held-") + how + ".grb");
        pal::test::FileHolderProcess child(held, how);
        ASSERT_TRUE(child.started());
        DWORD result = 1;
        const auto found = holdersOf(pal::path::fromNative(held), &result);
        EXPECT_EQ(result, ERROR_SUCCESS);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].Process.dwProcessId, child.pid());
        EXPECT_STREQ(found[0].strAppName, L"dvpal_file_holder");
        // The start time is the one GetProcessTimes gives, so a caller can tell itself apart.
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, child.pid());
        FILETIME created{}, unused{};
        ASSERT_TRUE(GetProcessTimes(process, &created, &unused, &unused, &unused));
        CloseHandle(process);
        EXPECT_EQ(found[0].Process.ProcessStartTime.dwLowDateTime, created.dwLowDateTime);
        EXPECT_EQ(found[0].Process.ProcessStartTime.dwHighDateTime, created.dwHighDateTime);
    }
}

TEST_F(RestartManager, TheCallerHoldingTheFileIsListedToo) {
    const auto held = file("mine.grb");
    std::ifstream open(held);
    const auto found = holdersOf(pal::path::fromNative(held));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Process.dwProcessId, GetCurrentProcessId());
}

TEST_F(RestartManager, NobodyHoldingTheFileIsSuccessWithAnEmptyList) {
    const struct {
        const char* what;
        std::wstring path;
    } cases[] = {
        {"a closed file", pal::path::fromNative(file("closed.grb"))},
        {"a missing file", pal::path::fromNative(root() / "missing.grb")},
        {"a name of 10,000 characters", L"C:\\" + std::wstring(10'000, L'n')},
    };
    for (const auto& c : cases) {
        DWORD result = 1;
        EXPECT_TRUE(holdersOf(c.path, &result).empty()) << c.what;
        EXPECT_EQ(result, ERROR_SUCCESS) << c.what;
    }
}

TEST_F(RestartManager, WrongCallsAreRefusedWithTheirCodes) {
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    const wchar_t* empty[] = {L""};
    const wchar_t* none[] = {nullptr};
    RM_UNIQUE_PROCESS application{};
    UINT needed = 0, count = 0;
    DWORD reasons = 0;
    EXPECT_EQ(start_(nullptr, 0, key), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(start_(&session, 1, key), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(start_(&session, 0, nullptr), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(start_(&session, 0, key), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(key).size(), CCH_RM_SESSION_KEY);
    const struct {
        const char* what;
        DWORD got;
        DWORD expected;
    } cases[] = {
        {"an empty name", add_(session, 1, empty, 0, nullptr, 0, nullptr), ERROR_INVALID_PARAMETER},
        {"a null name", add_(session, 1, none, 0, nullptr, 0, nullptr), ERROR_INVALID_PARAMETER},
        {"an application", add_(session, 0, nullptr, 1, &application, 0, nullptr), ERROR_INVALID_PARAMETER},
        {"a session never started", add_(session + 1000, 0, nullptr, 0, nullptr, 0, nullptr),
         ERROR_INVALID_HANDLE},
        {"a list without its counts", list_(session, nullptr, &count, nullptr, &reasons),
         ERROR_INVALID_PARAMETER},
        {"the list of a session never started", list_(session + 1000, &needed, &count, nullptr, &reasons),
         ERROR_INVALID_HANDLE},
        {"ending a session never started", end_(session + 1000), ERROR_INVALID_HANDLE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_EQ(end_(session), ERROR_SUCCESS);
    EXPECT_EQ(end_(session), ERROR_INVALID_HANDLE) << "a session ends once";
}

TEST_F(RestartManager, SessionsAreLimitedAndComeBackWhenEnded) {
    std::vector<DWORD> open;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    DWORD session = 0;
    while (open.size() < RM_MAX_SESSIONS && start_(&session, 0, key) == ERROR_SUCCESS)
        open.push_back(session);
    EXPECT_EQ(open.size(), RM_MAX_SESSIONS);
    EXPECT_EQ(start_(&session, 0, key), ERROR_RM_TOO_MANY_SESSIONS);
    EXPECT_EQ(end_(open.back()), ERROR_SUCCESS);
    open.pop_back();
    EXPECT_EQ(start_(&session, 0, key), ERROR_SUCCESS);
    open.push_back(session);
    for (DWORD s : open)
        EXPECT_EQ(end_(s), ERROR_SUCCESS);
}

TEST_F(RestartManager, ABufferTooSmallAsksForMore) {
    const auto held = file("two.grb");
    pal::test::FileHolderProcess first(held, "open");
    pal::test::FileHolderProcess second(held, "open");
    ASSERT_TRUE(first.started() && second.started());
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    ASSERT_EQ(start_(&session, 0, key), ERROR_SUCCESS);
    const std::wstring path = pal::path::fromNative(held);
    const wchar_t* files[] = {path.c_str()};
    ASSERT_EQ(add_(session, 1, files, 0, nullptr, 0, nullptr), ERROR_SUCCESS);
    RM_PROCESS_INFO one[1]{};
    UINT needed = 0, count = 1;
    DWORD reasons = 0;
    EXPECT_EQ(list_(session, &needed, &count, one, &reasons), ERROR_MORE_DATA);
    EXPECT_EQ(needed, 2u);
    EXPECT_EQ(end_(session), ERROR_SUCCESS);
}

} // namespace
