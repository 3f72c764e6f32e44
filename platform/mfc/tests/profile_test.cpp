// The application's profile round-trips through the registry under
// HKEY_CURRENT_USER\Software\<key>\<profile>\<section>.
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <cstring>
#include <memory>

namespace {

class ProfileTest : public pal::test::SandboxTest {
protected:
    CWinApp app{L"DravikCad"};
    void SetUp() override {
        SandboxTest::SetUp();
        app.SetRegistryKey(L"Maker");
    }
};

TEST_F(ProfileTest, ValuesRoundTripAndLandWhereThePlatformPutsThem) {
    EXPECT_STREQ(app.m_pszProfileName, L"DravikCad");
    ASSERT_TRUE(app.WriteProfileInt(L"Settings", L"Count", -5));
    ASSERT_TRUE(app.WriteProfileStringW(L"Settings", L"Name", L"Чертёж"));
    BYTE bytes[] = {0, 1, 2, 0xFF};
    ASSERT_TRUE(app.WriteProfileBinary(L"Window", L"Placement", bytes, sizeof bytes));

    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Settings", L"Count", 7)), -5);
    EXPECT_EQ(app.GetProfileStringW(L"Settings", L"Name"), L"Чертёж");
    LPBYTE data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(app.GetProfileBinary(L"Window", L"Placement", &data, &size));
    std::unique_ptr<BYTE[]> owned(data);
    ASSERT_EQ(size, sizeof bytes);
    EXPECT_EQ(std::memcmp(data, bytes, size), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Maker\\DravikCad\\Settings", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, cb = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"Count", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &cb),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, static_cast<DWORD>(-5));
    RegCloseKey(key);
}

TEST_F(ProfileTest, MissingOrMistypedValuesGiveTheDefault) {
    EXPECT_EQ(app.GetProfileInt(L"Nowhere", L"Count", 12), 12u);
    EXPECT_EQ(app.GetProfileStringW(L"Nowhere", L"Name", L"fallback"), L"fallback");
    EXPECT_EQ(app.GetProfileStringW(L"Nowhere", L"Name"), L"");
    ASSERT_TRUE(app.WriteProfileStringW(L"Settings", L"Text", L"12"));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Text", 3), 3u);
    ASSERT_TRUE(app.WriteProfileInt(L"Settings", L"Number", 4));
    EXPECT_EQ(app.GetProfileStringW(L"Settings", L"Number", L"none"), L"none");
    LPBYTE data = reinterpret_cast<LPBYTE>(1);
    UINT size = 99;
    EXPECT_FALSE(app.GetProfileBinary(L"Settings", L"Number", &data, &size));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(ProfileTest, ReadingASectionNeverWrittenMakesNoKey) {
    EXPECT_EQ(app.GetProfileInt(L"Unwritten", L"Count", 4), 4u);
    EXPECT_EQ(app.GetProfileStringW(L"Unwritten", L"Name", L"x"), L"x");
    LPBYTE data = nullptr;
    UINT size = 0;
    EXPECT_FALSE(app.GetProfileBinary(L"Unwritten", L"Blob", &data, &size));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Maker", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(ProfileTest, NullValueRemovesTheEntryAndNullEntryTheSection) {
    app.WriteProfileStringW(L"Recent", L"File1", L"a");
    app.WriteProfileStringW(L"Recent", L"File2", L"b");
    EXPECT_TRUE(app.WriteProfileStringW(L"Recent", L"File1", nullptr));
    EXPECT_EQ(app.GetProfileStringW(L"Recent", L"File1", L"gone"), L"gone");
    EXPECT_EQ(app.GetProfileStringW(L"Recent", L"File2"), L"b");
    EXPECT_TRUE(app.WriteProfileStringW(L"Recent", nullptr, nullptr));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Maker\\DravikCad\\Recent", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(ProfileTest, ProfileNameCanBeReplacedAndWithoutAKeyNothingIsWritten) {
    std::free(const_cast<wchar_t*>(app.m_pszProfileName));
    app.m_pszProfileName = wcsdup(L"DRAVIK CAD 18.0");
    ASSERT_TRUE(app.WriteProfileInt(L"Settings", L"X", 1));
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Maker\\DRAVIK CAD 18.0\\Settings", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

class ProfileWithoutKeyTest : public pal::test::SandboxTest {};

TEST_F(ProfileWithoutKeyTest, NothingIsReadOrWritten) {
    CWinApp app(L"NoKey");
    EXPECT_FALSE(app.WriteProfileInt(L"Settings", L"X", 1));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"X", 9), 9u);
    EXPECT_EQ(app.GetAppRegistryKey(), nullptr);
}

} // namespace
