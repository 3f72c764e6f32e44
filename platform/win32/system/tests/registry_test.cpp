// The registry in one process: byte form, sizes, names, errors, trees, a bad database file.
#include "win/system.h"

#include "pal/notice.h"
#include "pal/registry.h"
#include "pal/sandbox.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/system_hooks.h"
#include "pal/text.h"
#include "storage_faults.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Registry : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dravik\\Test", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        SandboxTest::TearDown();
    }

    static LONG setString(HKEY k, const wchar_t* name, const std::wstring& s, DWORD type = REG_SZ) {
        return RegSetValueExW(k, name, 0, type, reinterpret_cast<const BYTE*>(s.c_str()),
                              static_cast<DWORD>((s.size() + 1) * sizeof(wchar_t)));
    }
    static LONG setDword(HKEY k, const wchar_t* name, DWORD v) {
        return RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }
    static std::wstring getString(HKEY k, const wchar_t* name) {
        wchar_t buffer[256] = {};
        DWORD cb = sizeof buffer;
        const LONG rc = RegQueryValueExW(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &cb);
        return rc == ERROR_SUCCESS ? std::wstring(buffer) : L"error " + std::to_wstring(rc);
    }
    static LONG open(HKEY parent, const wchar_t* path, REGSAM access, HKEY& out) {
        return RegOpenKeyExW(parent, path, 0, access, &out);
    }

    // The stored bytes of a value, read from the database file as another tool would.
    static std::string storedBytes(const char* valueName) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(pal::reg::databasePath().c_str(), &db), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT data FROM vals WHERE name = ?", -1, &s, nullptr);
        sqlite3_bind_text(s, 1, valueName, -1, SQLITE_STATIC);
        std::string out = "<missing>";
        if (sqlite3_step(s) == SQLITE_ROW)
            out.assign(static_cast<const char*>(sqlite3_column_blob(s, 0)), sqlite3_column_bytes(s, 0));
        sqlite3_finalize(s);
        sqlite3_close(db);
        return out;
    }

    HKEY key = nullptr;
};

std::string le(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

std::string callerBytes(const std::wstring& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * sizeof(wchar_t));
}

TEST_F(Registry, ValueTypesRoundTripInThePlatformsByteForm) {
    const std::wstring multi(L"one\0two\0\0", 9);
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::string given;  // the caller's bytes
        std::string stored; // the database's bytes
    };
    const Case cases[] = {
        {L"Sz", REG_SZ, callerBytes(std::wstring(L"abc", 4)), le({'a', 0, 'b', 0, 'c', 0, 0, 0})},
        {L"Empty", REG_SZ, callerBytes(std::wstring(L"", 1)), le({0, 0})},
        {L"Cyrillic", REG_SZ, callerBytes(std::wstring(L"Рус", 4)), le({0x20, 4, 0x43, 4, 0x41, 4, 0, 0})},
        {L"Astral", REG_SZ, callerBytes(std::wstring(L"\U0001F600", 2)), le({0x3D, 0xD8, 0x00, 0xDE, 0, 0})},
        {L"Expand", REG_EXPAND_SZ, callerBytes(std::wstring(L"%X%", 4)), le({'%', 0, 'X', 0, '%', 0, 0, 0})},
        {L"Multi", REG_MULTI_SZ, callerBytes(multi),
         le({'o', 0, 'n', 0, 'e', 0, 0, 0, 't', 0, 'w', 0, 'o', 0, 0, 0, 0, 0})},
        {L"Dword", REG_DWORD, le({0x78, 0x56, 0x34, 0x12}), le({0x78, 0x56, 0x34, 0x12})},
        {L"Qword", REG_QWORD, le({1, 2, 3, 4, 5, 6, 7, 8}), le({1, 2, 3, 4, 5, 6, 7, 8})},
        {L"Binary", REG_BINARY, le({0, 0xFF, 0, 0x80, 7}), le({0, 0xFF, 0, 0x80, 7})},
        {L"Nothing", REG_BINARY, "", ""},
        {L"", REG_SZ, callerBytes(std::wstring(L"default", 8)),
         le({'d', 0, 'e', 0, 'f', 0, 'a', 0, 'u', 0, 'l', 0, 't', 0, 0, 0})},
    };
    for (const auto& c : cases) {
        const std::string name = pal::text::toUtf8(c.name);
        ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.given.data()),
                                 static_cast<DWORD>(c.given.size())),
                  ERROR_SUCCESS)
            << name;
        EXPECT_EQ(storedBytes(name.c_str()), c.stored) << name;
        DWORD type = 0, cb = 0;
        ASSERT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, nullptr, &cb), ERROR_SUCCESS) << name;
        EXPECT_EQ(type, c.type) << name;
        EXPECT_EQ(cb, c.given.size()) << name;
        std::string back(cb + 8, '\x55');
        DWORD capacity = static_cast<DWORD>(back.size());
        ASSERT_EQ(
            RegQueryValueExW(key, c.name, nullptr, nullptr, reinterpret_cast<BYTE*>(back.data()), &capacity),
            ERROR_SUCCESS);
        EXPECT_EQ(capacity, c.given.size()) << name;
        EXPECT_EQ(back.substr(0, capacity), c.given) << name;
        EXPECT_EQ(back.substr(capacity), std::string(8, '\x55'))
            << name << ": nothing written past the value";
    }
}

TEST_F(Registry, MoreDataReportsTheSizeNeeded) {
    ASSERT_EQ(setString(key, L"Path", L"C:\\Program Files\\Dravik"), ERROR_SUCCESS);
    const DWORD need = (23 + 1) * sizeof(wchar_t);
    wchar_t small[8];
    std::fill(std::begin(small), std::end(small), L'#');
    DWORD cb = sizeof small, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(small), &cb),
              ERROR_MORE_DATA);
    EXPECT_EQ(cb, need);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(small[0], L'#') << "a buffer too small is left alone";
    EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE*>(small), nullptr),
              ERROR_INVALID_PARAMETER);

    cb = 4;
    EXPECT_EQ(RegGetValueW(key, nullptr, L"Path", RRF_RT_REG_SZ, nullptr, small, &cb), ERROR_MORE_DATA);
    EXPECT_EQ(cb, need);

    wchar_t name[5];
    DWORD cchName = 4; // one short of the name and its terminator
    cb = 0;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cchName, nullptr, nullptr, nullptr, &cb), ERROR_MORE_DATA)
        << "the name does not fit";
    cchName = 5;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cchName, nullptr, nullptr, reinterpret_cast<BYTE*>(small), &cb),
              ERROR_MORE_DATA);
    EXPECT_EQ(cb, need);

    DWORD maxLen = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &maxLen, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(maxLen, need);
}

TEST_F(Registry, GetValueTerminatesExpandsAndChecksTypes) {
    const std::wstring unterminated = L"abc";
    ASSERT_EQ(RegSetValueExW(key, L"Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated.data()),
                             static_cast<DWORD>(unterminated.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    wchar_t buffer[64];
    DWORD cb = sizeof buffer, type = 0;
    ASSERT_EQ(RegGetValueW(key, nullptr, L"Raw", RRF_RT_REG_SZ, &type, buffer, &cb), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(cb, 4 * sizeof(wchar_t));

    ASSERT_TRUE(SetEnvironmentVariableW(L"DV_REG_TEST", L"Dravik"));
    ASSERT_EQ(setString(key, L"Home", L"%DV_REG_TEST%\\Help", REG_EXPAND_SZ), ERROR_SUCCESS);
    cb = sizeof buffer;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Dravik\\Test", L"Home", RRF_RT_REG_SZ, &type,
                           buffer, &cb),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"Dravik\\Help");
    EXPECT_EQ(type, REG_SZ);
    cb = sizeof buffer;
    ASSERT_EQ(RegGetValueW(key, nullptr, L"Home", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, buffer, &cb),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"%DV_REG_TEST%\\Help");
    EXPECT_EQ(type, REG_EXPAND_SZ);
    SetEnvironmentVariableW(L"DV_REG_TEST", nullptr);

    ASSERT_EQ(setDword(key, L"Count", 7), ERROR_SUCCESS);
    DWORD value = 0;
    cb = sizeof value;
    ASSERT_EQ(RegGetValueW(key, nullptr, L"Count", RRF_RT_DWORD, &type, &value, &cb), ERROR_SUCCESS);
    EXPECT_EQ(value, 7u);
    cb = sizeof buffer;
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(RegGetValueW(key, nullptr, L"Count", RRF_RT_REG_SZ | RRF_ZEROONFAILURE, &type, buffer, &cb),
              ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(buffer[63], L'\0') << "zeroed on failure";
    // Binary data stands in for a number only at that number's width.
    struct Width {
        DWORD bytes;
        DWORD flags;
        LONG expected;
    };
    for (const Width w :
         {Width{3, RRF_RT_DWORD, static_cast<LONG>(ERROR_DATATYPE_MISMATCH)},
          Width{4, RRF_RT_DWORD, ERROR_SUCCESS},
          Width{4, RRF_RT_QWORD, static_cast<LONG>(ERROR_DATATYPE_MISMATCH)},
          Width{8, RRF_RT_QWORD, ERROR_SUCCESS}, Width{3, RRF_RT_REG_BINARY, ERROR_SUCCESS}}) {
        const BYTE bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        ASSERT_EQ(RegSetValueExW(key, L"Bin", 0, REG_BINARY, bytes, w.bytes), ERROR_SUCCESS);
        ULONGLONG number = 0;
        cb = sizeof number;
        EXPECT_EQ(RegGetValueW(key, nullptr, L"Bin", w.flags, nullptr, &number, &cb), w.expected)
            << w.bytes << " bytes, flags " << w.flags;
    }
    EXPECT_EQ(RegGetValueW(key, nullptr, L"Missing", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegGetValueW(key, L"NoKey", L"Count", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, NamesAreComparedWithoutCaseAndKeepTheirCase) {
    ASSERT_EQ(setString(key, L"RecentFile", L"a.dvw"), ERROR_SUCCESS);
    HKEY same = nullptr;
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"SOFTWARE\\dravik\\TEST", KEY_READ, same), ERROR_SUCCESS);
    EXPECT_EQ(getString(same, L"recentfile"), L"a.dvw");
    ASSERT_EQ(setString(key, L"RECENTFILE", L"b.dvw"), ERROR_SUCCESS);
    wchar_t name[64];
    DWORD cch = 64;
    ASSERT_EQ(RegEnumValueW(same, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"RecentFile") << "an overwrite keeps the first spelling";
    EXPECT_EQ(getString(same, L"RecentFile"), L"b.dvw");
    DWORD disposition = 0;
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"software\\DRAVIK\\test", 0, nullptr, 0, KEY_READ, nullptr,
                              &created, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(created);
    RegCloseKey(same);

    // Subkeys enumerate in name order without case; values in the order they were made.
    for (const wchar_t* sub : {L"beta", L"Alpha", L"Кириллица", L"gamma"}) {
        ASSERT_EQ(RegCreateKeyExW(key, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
        RegCloseKey(created);
    }
    std::vector<std::wstring> subs;
    for (DWORD i = 0;; ++i) {
        cch = 64;
        const LONG rc = RegEnumKeyExW(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(rc, ERROR_SUCCESS);
        EXPECT_EQ(cch, std::wcslen(name));
        subs.push_back(name);
    }
    EXPECT_EQ(subs, (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"Кириллица"}));
    DWORD subKeys = 0, values = 0, maxSub = 0, maxName = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSub, nullptr, &values, &maxName,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(maxSub, 9u);
    EXPECT_EQ(values, 1u);
    EXPECT_EQ(maxName, 10u);
    cch = 3;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
}

TEST_F(Registry, RootsAreSeparateAndWow6432NodeIsAnOrdinaryKey) {
    const wchar_t* path = L"SOFTWARE\\WOW6432Node\\Dravik\\DRAVIK CadHelp 18\\Rus";
    HKEY machine = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                              nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(setString(machine, L"SetupDirectory", L"C:\\Help"), ERROR_SUCCESS);
    RegCloseKey(machine);
    HKEY found = nullptr;
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, path, KEY_READ, found), ERROR_SUCCESS);
    EXPECT_EQ(getString(found, L"SetupDirectory"), L"C:\\Help");
    RegCloseKey(found);
    for (HKEY other : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS})
        EXPECT_EQ(open(other, path, KEY_READ, found), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(found, nullptr);
}

TEST_F(Registry, AHandleToADeletedKeyFailsWithKeyDeleted) {
    HKEY victim = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, L"Victim", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &victim, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(setDword(victim, L"v", 1), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyW(key, L"Victim"), ERROR_SUCCESS);
    DWORD cb = 0;
    wchar_t name[16];
    DWORD cch = 16;
    HKEY sub = nullptr;
    EXPECT_EQ(RegQueryValueExW(victim, L"v", nullptr, nullptr, nullptr, &cb), ERROR_KEY_DELETED);
    EXPECT_EQ(setDword(victim, L"v", 2), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteValueW(victim, L"v"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumValueW(victim, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumKeyExW(victim, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyExW(victim, L"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryInfoKeyW(victim, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_KEY_DELETED);
    // A new key of the same name is another key.
    HKEY again = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, L"Victim", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &again, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(setDword(victim, L"v", 3), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExW(again, L"v", nullptr, nullptr, nullptr, &cb), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(victim), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(victim), ERROR_INVALID_HANDLE);
    RegCloseKey(again);
}

TEST_F(Registry, ErrorsOfPathsRightsAndReadOnlyKeys) {
    HKEY h = nullptr;
    EXPECT_EQ(open(HKEY_CURRENT_USER, L"Software\\Nobody", KEY_READ, h), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open(HKEY_CURRENT_USER, L"\\Software", KEY_READ, h), ERROR_BAD_PATHNAME);
    EXPECT_EQ(getString(key, L"Missing"), L"error 2");
    EXPECT_EQ(RegDeleteValueW(key, L"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Dravik"), ERROR_ACCESS_DENIED) << "it has subkeys";

    HKEY reader = nullptr;
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"Software\\Dravik\\Test", KEY_READ, reader), ERROR_SUCCESS);
    EXPECT_EQ(setDword(reader, L"x", 1), ERROR_ACCESS_DENIED) << "a handle opened for reading";
    HKEY writer = nullptr;
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"Software\\Dravik\\Test", KEY_WRITE, writer), ERROR_SUCCESS);
    ASSERT_EQ(setDword(writer, L"x", 1), ERROR_SUCCESS);
    DWORD cb = 0;
    EXPECT_EQ(RegQueryValueExW(writer, L"x", nullptr, nullptr, nullptr, &cb), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(reader, nullptr), ERROR_ACCESS_DENIED)
        << "values cleared through a reading handle";
    EXPECT_EQ(RegQueryValueExW(key, L"x", nullptr, nullptr, nullptr, &cb), ERROR_SUCCESS);

    // The write probe of start-up: a key marked read-only does not open for writing.
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\Inner", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(h);
    ASSERT_EQ(pal::test::setRegistryKeyReadOnly(HKEY_CLASSES_ROOT, L"CLSID", true), ERROR_SUCCESS);
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, L"CLSID", KEY_WRITE, h), ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\DV.Check", 0, nullptr, 0, KEY_READ, nullptr, &h, nullptr),
        ERROR_ACCESS_DENIED);
    HKEY readOnly = nullptr;
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, L"CLSID", KEY_READ, readOnly), ERROR_SUCCESS);
    RegCloseKey(readOnly);
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, L"CLSID\\Inner", KEY_ALL_ACCESS, h), ERROR_SUCCESS)
        << "only the marked key";
    EXPECT_EQ(setDword(h, L"ok", 1), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SHDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID"), ERROR_ACCESS_DENIED);
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, L"CLSID\\Inner", KEY_READ, h), ERROR_SUCCESS) << "nothing was deleted";
    RegCloseKey(h);
    ASSERT_EQ(pal::test::setRegistryKeyReadOnly(HKEY_CLASSES_ROOT, L"CLSID", false), ERROR_SUCCESS);
    EXPECT_EQ(SHDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID"), ERROR_SUCCESS);
    RegCloseKey(reader);
    RegCloseKey(writer);
}

TEST_F(Registry, TreesAreDeletedAndCopiedWhole) {
    HKEY h = nullptr;
    for (const wchar_t* path : {L"Src\\A\\Deep", L"Src\\B"}) {
        ASSERT_EQ(RegCreateKeyExW(key, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(setString(h, L"Where", path), ERROR_SUCCESS);
        RegCloseKey(h);
    }
    ASSERT_EQ(RegCreateKeyExW(key, L"Src", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(setDword(h, L"Top", 1), ERROR_SUCCESS);

    ASSERT_EQ(SHCopyKeyW(key, L"Src", HKEY_CURRENT_USER, 0), ERROR_SUCCESS);
    HKEY copy = nullptr;
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"A\\Deep", KEY_READ, copy), ERROR_SUCCESS);
    EXPECT_EQ(getString(copy, L"Where"), L"Src\\A\\Deep");
    RegCloseKey(copy);

    // Into its own subtree: what the copy adds is not copied again.
    HKEY b = nullptr;
    ASSERT_EQ(open(h, L"B", KEY_ALL_ACCESS, b), ERROR_SUCCESS);
    ASSERT_EQ(SHCopyKeyW(key, L"Src", b, 0), ERROR_SUCCESS);
    EXPECT_EQ(open(h, L"B\\A\\Deep", KEY_READ, copy), ERROR_SUCCESS);
    RegCloseKey(copy);
    EXPECT_EQ(open(h, L"B\\B", KEY_READ, copy), ERROR_SUCCESS);
    RegCloseKey(copy);
    EXPECT_EQ(open(h, L"B\\B\\B", KEY_READ, copy), ERROR_FILE_NOT_FOUND);
    DWORD top = 0, cb = sizeof top;
    EXPECT_EQ(RegQueryValueExW(b, L"Top", nullptr, nullptr, reinterpret_cast<BYTE*>(&top), &cb),
              ERROR_SUCCESS);
    EXPECT_EQ(top, 1u);
    RegCloseKey(b);

    ASSERT_EQ(RegDeleteTreeW(h, nullptr), ERROR_SUCCESS) << "the key's contents, not the key";
    DWORD subKeys = 9, values = 9;
    ASSERT_EQ(RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);
    ASSERT_EQ(RegDeleteTreeW(key, L"Src"), ERROR_SUCCESS);
    EXPECT_EQ(setDword(h, L"x", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteTreeW(key, L"Src"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(SHDeleteKeyW(HKEY_CURRENT_USER, L"A"), ERROR_SUCCESS);
    EXPECT_EQ(open(HKEY_CURRENT_USER, L"A", KEY_READ, copy), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SHDeleteKeyW(HKEY_CURRENT_USER, L""), ERROR_ACCESS_DENIED) << "a root stays";
    RegCloseKey(h);
}

// Puts the registry of this process in another sandbox: the store leaves its file for the
// new one at once.
void useRoot(const fs::path& r) {
    ::setenv("DV_PAL_ROOT", r.c_str(), 1);
    pal::sandbox::reset();
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &h) == ERROR_SUCCESS)
        RegCloseKey(h);
}

std::vector<std::string>& noticed() {
    static std::vector<std::string> lines;
    return lines;
}

// Runs `sql` on a database file as another program would.
void runSql(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST_F(Registry, AFullDiskAnswersDiskFullAndLosesNothing) {
    RegCloseKey(key);
    pal::test::setStorageFault(pal::test::StorageFault::None); // the store opens its file through it
    const fs::path other = root() / "other";
    fs::create_directories(other);
    useRoot(other);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Full", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(setString(key, L"Kept", L"before"), ERROR_SUCCESS);
    pal::test::setStorageFault(pal::test::StorageFault::DiskFull);
    EXPECT_EQ(setString(key, L"Kept", L"during"), ERROR_DISK_FULL);
    EXPECT_EQ(setString(key, L"New", L"during"), ERROR_DISK_FULL);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExW(key, L"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_DISK_FULL);
    EXPECT_EQ(RegDeleteValueW(key, L"Kept"), ERROR_DISK_FULL);
    EXPECT_EQ(getString(key, L"Kept"), L"before") << "reads go on";
    pal::test::setStorageFault(pal::test::StorageFault::None);
    EXPECT_EQ(getString(key, L"Kept"), L"before");
    EXPECT_EQ(getString(key, L"New"), L"error 2");
    EXPECT_EQ(setString(key, L"New", L"after"), ERROR_SUCCESS);
    EXPECT_EQ(getString(key, L"New"), L"after");
    RegCloseKey(key);
    key = nullptr;
    useRoot(root());
}

TEST_F(Registry, AStoreThatCannotBeWrittenServesReadsAndDeniesWrites) {
    RegCloseKey(key);
    key = nullptr;
    const fs::path other = root() / "other";
    fs::create_directories(other);
    useRoot(other);
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kept", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(setString(h, L"Name", L"value"), ERROR_SUCCESS);
    RegCloseKey(h);
    useRoot(root());

    pal::test::setStorageFault(pal::test::StorageFault::ReadOnly);
    useRoot(other);
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"Software\\Kept", KEY_READ, h), ERROR_SUCCESS);
    EXPECT_EQ(getString(h, L"Name"), L"value");
    DWORD subKeys = 9, values = 9;
    EXPECT_EQ(RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);
    RegCloseKey(h);
    ASSERT_EQ(open(HKEY_CURRENT_USER, L"Software\\Kept", KEY_ALL_ACCESS, h), ERROR_SUCCESS);
    EXPECT_EQ(setString(h, L"Name", L"changed"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(h, L"Name"), ERROR_ACCESS_DENIED);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExW(h, L"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(getString(h, L"Name"), L"value");
    RegCloseKey(h);
    // Settings are often read through a key "created" with all rights: an existing one opens.
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kept", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(getString(h, L"Name"), L"value");
    RegCloseKey(h);
    pal::test::setStorageFault(pal::test::StorageFault::None);
    useRoot(root());
}

TEST_F(Registry, ADamagedFileIsSetAsideSaidAndAFreshOneMade) {
    RegCloseKey(key);
    key = nullptr;
    pal::notice::setSink([](const std::string& line) { noticed().push_back(line); });
    const struct {
        const char* name;
        void (*make)(const fs::path& file);
    } cases[] = {
        {"not a database",
         [](const fs::path& file) {
             std::ofstream(file) << "this is not a database, just some text left by something else\n";
         }},
        {"damaged pages",
         [](const fs::path& file) {
             // A registry of ours with enough values for many pages, its last page overwritten.
             useRoot(file.parent_path());
             HKEY h = nullptr;
             ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Many", 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, &h, nullptr),
                       ERROR_SUCCESS);
             for (int i = 0; i < 200; ++i)
                 ASSERT_EQ(setString(h, (L"Value" + std::to_wstring(i)).c_str(), std::wstring(100, L'x')),
                           ERROR_SUCCESS);
             RegCloseKey(h);
             useRoot(file.parent_path().parent_path()); // closes the file, its log folded in
             const auto size = fs::file_size(file);
             ASSERT_GT(size, 4u * 4096);
             std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(static_cast<std::streamoff>(size - 4096));
             const std::string garbage(4096, '\xA5');
             f.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
         }},
        {"tables of another program",
         [](const fs::path& file) {
             runSql(file, "CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES('a');");
         }},
        {"our table's name with other columns",
         [](const fs::path& file) {
             runSql(file, "CREATE TABLE keys(a, b); INSERT INTO keys VALUES(1, 2);");
         }},
        {"a folder",
         [](const fs::path& file) {
             fs::create_directories(file);
             std::ofstream(file / "inside") << "kept";
         }},
    };
    int n = 0;
    for (const auto& c : cases) {
        const fs::path folder = root() / ("case" + std::to_string(++n));
        fs::create_directories(folder);
        const fs::path file = folder / "registry.db";
        c.make(file);
        noticed().clear();
        testing::internal::CaptureStderr();
        useRoot(folder);
        HKEY h = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Fresh", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &h, nullptr),
                  ERROR_SUCCESS)
            << c.name;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("is not a registry database"), std::string::npos) << c.name << ": " << said;
        EXPECT_NE(said.find("registry.db.bad"), std::string::npos) << c.name << ": " << said;
        EXPECT_EQ(noticed(), std::vector<std::string>{said.substr(0, said.find('\n'))})
            << c.name << ": in the log";
        EXPECT_TRUE(fs::exists(folder / "registry.db.bad")) << c.name;
        EXPECT_EQ(setString(h, L"Ok", L"yes"), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(getString(h, L"Ok"), L"yes") << c.name;
        RegCloseKey(h);
        useRoot(root());
    }
    EXPECT_EQ(pal::test::readFile(root() / "case5" / "registry.db.bad" / "inside"), "kept");
    pal::notice::setSink(nullptr);
}

TEST_F(Registry, TheDatabaseAndItsLogFilesAreTheUsersAlone) {
    const mode_t old = ::umask(0);
    const fs::path other = root() / "other";
    fs::create_directories(other);
    useRoot(other);
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Private", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(setString(h, L"Name", L"value"), ERROR_SUCCESS);
    for (const char* name : {"registry.db", "registry.db-wal", "registry.db-shm", "registry.db.lock"}) {
        struct stat st {};
        ASSERT_EQ(::stat((other / name).c_str(), &st), 0) << name;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
    RegCloseKey(h);
    ::umask(old);
    useRoot(root());
}

} // namespace
