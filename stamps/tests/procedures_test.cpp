// The editors' text procedures and the settings store they share.
#include "Layouts.h"
#include "Procedures.h"
#include "Responder.h"
#include "Settings.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

using namespace stamps;
using Procedures = pal::test::SandboxTest;

TEST_F(Procedures, QuotesAndCountedSymbols) {
    struct Case {
        std::wstring expression, shownByStrippers;
    };
    // Reading a field: `""` is empty, then one pair of enclosing quotes goes.
    const Case reads[] = {
        {L"\"\"", L""},         {L"\"Петров\"", L"Петров"}, {L"\"", L"\""},
        {L"\"\"\"\"", L"\"\""}, {L"Петров", L"Петров"},     {L"\"a", L"\"a"},
    };
    for (const Case& c : reads)
        EXPECT_EQ(GetStr(emptyForQuotes(c.expression)), c.shownByStrippers) << c.expression;

    struct Count {
        std::wstring text, symbol;
        std::int16_t count;
    };
    const Count counts[] = {
        {L"", L"\r", 0},  {L"a\r\nb", L"\r", 1}, {L"a\r\nb\r\nc", L"\r", 2},
        {L"abc", L"", 0}, {L"ааа", L"а", 3},
    };
    for (const Count& c : counts)
        EXPECT_EQ(GetCountSymb(c.text, c.symbol), c.count) << c.text.size();
}

TEST_F(Procedures, DatesOfTheShortFormAreReadBack) {
    struct Case {
        std::wstring text;
        bool isDate;
        WORD year, month, day;
    };
    const Case cases[] = {
        {L"24.12.2026", true, 2026, 12, 24}, {L"5.1.27", true, 2027, 1, 5}, {L"31.02.2026", false, 0, 0, 0},
        {L"2026-12-24", false, 0, 0, 0},     {L"", false, 0, 0, 0},         {L"1.2", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SYSTEMTIME d{};
        ASSERT_EQ(dateFromText(c.text, d), c.isDate) << c.text.size();
        if (c.isDate) {
            EXPECT_EQ((std::vector<WORD>{d.wYear, d.wMonth, d.wDay}),
                      (std::vector<WORD>{c.year, c.month, c.day}));
        }
    }
}

TEST_F(Procedures, HistoriesAreStoredByRoleAndABadCountReadsAsNone) {
    EXPECT_TRUE(LoadComboHistory(L"Разраб").empty());
    SaveComboHistory(L"Разраб", {L"Иванов", L"Петров", L"Иванов"});
    EXPECT_EQ(GetSetting(kSettingsApp, L"Разраб", L"Count", L""), L"3");
    EXPECT_EQ(LoadComboHistory(L"Разраб"), (std::vector<std::wstring>{L"Иванов", L"Петров", L"Иванов"}));
    // A shorter list leaves the old keys, which are never read again.
    SaveComboHistory(L"Разраб", {L"Сидоров"});
    EXPECT_EQ(LoadComboHistory(L"Разраб"), (std::vector<std::wstring>{L"Сидоров"}));
    EXPECT_EQ(GetSetting(kSettingsApp, L"Разраб", L"2", L""), L"Иванов");

    for (const wchar_t* bad : {L"x", L"1x", L"", L"2.5"}) {
        SaveSetting(kSettingsApp, L"Провер", L"Count", bad);
        std::wstring why;
        EXPECT_TRUE(LoadComboHistory(L"Провер", &why).empty()) << bad;
        EXPECT_NE(why.find(L"not a number"), std::wstring::npos) << bad;
    }
}

TEST_F(Procedures, WindowEdgesAreKeptInTwipsAsNumbers) {
    EXPECT_EQ(storedTwips(L"MainLeft"), 500);
    storeTwips(L"MainLeft", 1515);
    EXPECT_EQ(GetSetting(kSettingsApp, L"Settings", L"MainLeft", L""), L"1515");
    EXPECT_EQ(storedTwips(L"MainLeft"), 1515);
    SaveSetting(kSettingsApp, L"Settings", L"MainTop", L"abc");
    EXPECT_EQ(storedTwips(L"MainTop"), 500);
}

} // namespace
