// Batches: many registry calls made one transaction, seen by other connections only whole.
#include "win/system.h"

#include "pal/detail/registry_control.h"
#include "pal/registry.h"
#include "pal/test/sandbox_test.h"

#include <sqlite3.h>

#include <string>
#include <thread>

namespace {

class RegistryBatch : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Batch", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        SandboxTest::TearDown();
    }

    static LONG setDword(HKEY k, const wchar_t* name, DWORD v) {
        return RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }
    static bool has(HKEY k, const wchar_t* name) {
        return RegQueryValueExW(k, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    // Values in the file as another connection (another process) sees it.
    static int valuesSeenOutside() {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(pal::reg::databasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM vals", -1, &s, nullptr);
        const int n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
        sqlite3_finalize(s);
        sqlite3_close(db);
        return n;
    }

    HKEY key = nullptr;
};

TEST_F(RegistryBatch, ChangesReachOtherConnectionsOnlyWhenTheOutermostBatchEnds) {
    const int before = valuesSeenOutside();
    {
        pal::reg::Batch outer;
        ASSERT_EQ(setDword(key, L"a", 1), ERROR_SUCCESS);
        HKEY sub = nullptr;
        {
            pal::reg::Batch inner;
            ASSERT_EQ(
                RegCreateKeyExW(key, L"Made\\Deep", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
                ERROR_SUCCESS);
            ASSERT_EQ(setDword(sub, L"b", 2), ERROR_SUCCESS);
            EXPECT_TRUE(inner.commit());
        }
        // This process reads what it wrote; nobody else sees any of it yet.
        EXPECT_TRUE(has(sub, L"b"));
        EXPECT_EQ(valuesSeenOutside(), before);
        RegCloseKey(sub);
        EXPECT_TRUE(outer.commit());
    }
    EXPECT_EQ(valuesSeenOutside(), before + 2);
}

TEST_F(RegistryBatch, AFailedCallUndoesItsOwnChangesOnly) {
    HKEY locked = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, L"Locked", 0, nullptr, 0, KEY_READ, nullptr, &locked, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(pal::detail::setRegistryKeyReadOnly(key, L"Locked", true), ERROR_SUCCESS);
    {
        pal::reg::Batch batch;
        EXPECT_EQ(setDword(key, L"before", 1), ERROR_SUCCESS);
        // Fails half-way: "New" would be made under a key that is read-only.
        HKEY none = nullptr;
        EXPECT_EQ(
            RegCreateKeyExW(key, L"Locked\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &none, nullptr),
            ERROR_ACCESS_DENIED);
        EXPECT_EQ(setDword(key, L"after", 2), ERROR_SUCCESS);
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_TRUE(has(key, L"before"));
    EXPECT_TRUE(has(key, L"after"));
    HKEY none = nullptr;
    EXPECT_EQ(RegOpenKeyExW(key, L"Locked\\New", 0, KEY_READ, &none), ERROR_FILE_NOT_FOUND);
    RegCloseKey(locked);
}

TEST_F(RegistryBatch, AnotherThreadsCallsJoinTheOpenBatchInsteadOfWaitingForIt) {
    const int before = valuesSeenOutside();
    pal::reg::Batch batch;
    ASSERT_EQ(setDword(key, L"main", 1), ERROR_SUCCESS);
    LONG fromThread = -1;
    std::thread([&] { fromThread = setDword(key, L"thread", 2); }).join();
    EXPECT_EQ(fromThread, ERROR_SUCCESS);
    EXPECT_EQ(valuesSeenOutside(), before);
    EXPECT_TRUE(batch.commit());
    EXPECT_FALSE(batch.commit()) << "a batch ends once";
    EXPECT_EQ(valuesSeenOutside(), before + 2);
}

} // namespace
