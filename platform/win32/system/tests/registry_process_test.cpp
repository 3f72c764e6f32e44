// The registry shared between processes: concurrent writers, and a writer killed mid-loop.
#include "win/system.h"

#include "pal/registry.h"
#include "pal/sandbox.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class SharedRegistry : public pal::test::SandboxTest {
protected:
    static PROCESS_INFORMATION start(const std::wstring& line, HANDLE out = nullptr) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (out) {
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdOutput = out;
        }
        PROCESS_INFORMATION pi{};
        std::wstring mutableLine = line;
        EXPECT_TRUE(CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &si, &pi));
        return pi;
    }

    static DWORD finish(PROCESS_INFORMATION& pi) {
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 120'000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return code;
    }

    static std::string integrityCheck() {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(pal::reg::databasePath().c_str(), &db), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
        std::string result;
        while (sqlite3_step(s) == SQLITE_ROW)
            result += reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        sqlite3_close(db);
        return result;
    }
};

TEST_F(SharedRegistry, AChildStartedInAnotherFolderSharesARelativeRoot) {
    const fs::path before = fs::current_path();
    const fs::path elsewhere = root() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::current_path(root());
    ::setenv("DV_PAL_ROOT", "shared", 1);
    pal::sandbox::reset();
    const std::wstring program = pal::text::fromUtf8((binDir() / "dvpal_system_child").string());
    std::wstring line = L"\"" + program + L"\" reg-writer A 1 1";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const std::wstring folder = pal::text::fromUtf8(elsewhere.string());
    // The caller's own environment block, as a program hands one to its child.
    const std::string block = std::string("DV_PAL_ROOT=shared") + '\0' + "DV_PAL_TEST=1" + '\0' + '\0';
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                               const_cast<char*>(block.data()), folder.c_str(), &si, &pi));
    EXPECT_EQ(finish(pi), 0u);
    fs::current_path(before);
    EXPECT_TRUE(fs::exists(root() / "shared" / "registry.db"));
    EXPECT_FALSE(fs::exists(elsewhere / "shared"));
    ::setenv("DV_PAL_ROOT", (root() / "shared").c_str(), 1);
    pal::sandbox::reset();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Race\\K0", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD v = 9, cb = sizeof v;
    EXPECT_EQ(RegQueryValueExW(key, L"A-0", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &cb),
              ERROR_SUCCESS);
    EXPECT_EQ(v, 0u);
    RegCloseKey(key);
    ::setenv("DV_PAL_ROOT", root().c_str(), 1);
    pal::sandbox::reset();
}

TEST_F(SharedRegistry, TwoProcessesWritingTheSameKeysLoseNoUpdate) {
    constexpr int kValues = 150;
    PROCESS_INFORMATION a =
        start(L"dvpal_system_child.exe reg-writer A " + std::to_wstring(kValues) + L" 11");
    PROCESS_INFORMATION b =
        start(L"dvpal_system_child.exe reg-writer B " + std::to_wstring(kValues) + L" 29");
    // This process writes at the same time too.
    HKEY race = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Race\\K0", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &race, nullptr),
              ERROR_SUCCESS);
    for (DWORD i = 0; i < kValues; ++i) {
        const std::wstring name = L"P-" + std::to_wstring(i);
        ASSERT_EQ(
            RegSetValueExW(race, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), sizeof i),
            ERROR_SUCCESS);
    }
    RegCloseKey(race);
    EXPECT_EQ(finish(a), 0u);
    EXPECT_EQ(finish(b), 0u);

    int found = 0;
    for (int k = 0; k < 7; ++k) {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Race\\K" + std::to_wstring(k);
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
        for (int i = k; i < kValues; i += 7) {
            for (const wchar_t* writer : {L"A", L"B"}) {
                const std::wstring name = std::wstring(writer) + L"-" + std::to_wstring(i);
                DWORD v = 0, cb = sizeof v;
                ASSERT_EQ(
                    RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &cb),
                    ERROR_SUCCESS)
                    << "lost " << pal::text::toUtf8(path + L"\\" + name);
                EXPECT_EQ(v, static_cast<DWORD>(i));
                ++found;
            }
        }
        // The shared value holds one writer's whole last write.
        wchar_t last[64];
        DWORD cb = sizeof last;
        ASSERT_EQ(RegQueryValueExW(key, L"Last", nullptr, nullptr, reinterpret_cast<BYTE*>(last), &cb),
                  ERROR_SUCCESS);
        EXPECT_TRUE(last[0] == L'A' || last[0] == L'B');
        EXPECT_EQ(last[1], L':');
        DWORD subKeys = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr);
        EXPECT_EQ(subKeys, 0u);
        RegCloseKey(key);
    }
    EXPECT_EQ(found, 2 * kValues);
    HKEY raceKey = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Race", 0, KEY_READ, &raceKey), ERROR_SUCCESS);
    DWORD subKeys = 0;
    RegQueryInfoKeyW(raceKey, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(subKeys, 7u) << "each shared key made once";
    RegCloseKey(raceKey);
    EXPECT_EQ(integrityCheck(), "ok");
}

TEST_F(SharedRegistry, AWriterKilledMidLoopLeavesASoundDatabaseWithEveryCommittedValue) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite;
    ASSERT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    PROCESS_INFORMATION pi = start(L"dvpal_system_child.exe reg-loop", outWrite);
    CloseHandle(outWrite);

    // The child prints each index after its write returned; kill it while it is writing.
    std::string out;
    char buffer[4096];
    DWORD n = 0;
    auto committed = [&] { return std::count(out.begin(), out.end(), '\n'); };
    while (committed() < 300 && ReadFile(outRead, buffer, sizeof buffer, &n, nullptr))
        out.append(buffer, n);
    ASSERT_TRUE(TerminateProcess(pi.hProcess, 9));
    EXPECT_EQ(finish(pi), 9u);
    while (ReadFile(outRead, buffer, sizeof buffer, &n, nullptr))
        out.append(buffer, n);
    CloseHandle(outRead);
    const auto last = out.rfind('\n', out.size() - 2);
    const int lastCommitted = std::stoi(out.substr(last == std::string::npos ? 0 : last + 1));
    ASSERT_GE(lastCommitted, 299);

    EXPECT_EQ(integrityCheck(), "ok");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Crash", 0, KEY_READ, &key), ERROR_SUCCESS);
    for (int i = 0; i <= lastCommitted; ++i) {
        const std::wstring name = L"v" + std::to_wstring(i);
        wchar_t text[256];
        DWORD cb = sizeof text;
        ASSERT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &cb),
                  ERROR_SUCCESS)
            << "committed value v" << i << " is missing";
        EXPECT_EQ(cb, 201 * sizeof(wchar_t));
        EXPECT_EQ(text[199], static_cast<wchar_t>(L'a' + i % 26));
    }
    RegCloseKey(key);
}

TEST_F(SharedRegistry, AWriterOfBatchesKilledMidBatchLeavesEveryBatchWholeOrAbsent) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite;
    ASSERT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    PROCESS_INFORMATION pi = start(L"dvpal_system_child.exe reg-batches", outWrite);
    CloseHandle(outWrite);
    std::string out;
    char buffer[4096];
    DWORD n = 0;
    while (std::count(out.begin(), out.end(), '\n') < 30 &&
           ReadFile(outRead, buffer, sizeof buffer, &n, nullptr))
        out.append(buffer, n);
    ASSERT_TRUE(TerminateProcess(pi.hProcess, 9));
    EXPECT_EQ(finish(pi), 9u);
    while (ReadFile(outRead, buffer, sizeof buffer, &n, nullptr))
        out.append(buffer, n);
    CloseHandle(outRead);
    const auto last = out.rfind('\n', out.size() - 2);
    const int lastCommitted = std::stoi(out.substr(last == std::string::npos ? 0 : last + 1));
    ASSERT_GE(lastCommitted, 29);

    EXPECT_EQ(integrityCheck(), "ok");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Batches", 0, KEY_READ, &key), ERROR_SUCCESS);
    // Every reported batch is there whole; the one the kill cut short (if any) left nothing.
    for (int i = 0; i <= lastCommitted + 1; ++i) {
        int present = 0;
        for (int k = 0; k < 20; ++k) {
            const std::wstring name = L"b" + std::to_wstring(i) + L"-" + std::to_wstring(k);
            present +=
                RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        }
        if (i <= lastCommitted)
            EXPECT_EQ(present, 20) << "batch " << i;
        else
            EXPECT_TRUE(present == 0 || present == 20) << "batch " << i << " has " << present << " of 20";
    }
    RegCloseKey(key);
}

} // namespace
