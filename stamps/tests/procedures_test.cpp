// The editors' procedures over texts, title-block variables and the settings store they share.
#include "FieldProcedures.h"
#include "Layouts.h"
#include "Procedures.h"
#include "Responder.h"
#include "Settings.h"
#include "recording_server.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "windows.h"

#include <gtest/gtest.h>

namespace {

using namespace stamps;
using stamps::test::RecordingServer;
using Procedures = pal::test::SandboxTest;

// A box and a person combo as the forms make them, on no form.
struct Boxes {
    HWND box = CreateWindowExW(0, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER, 0, 0, 100, 20, nullptr, nullptr,
                               nullptr, nullptr);
    HWND combo =
        CreateWindowExW(0, L"ComboBox", L"", CBS_DROPDOWN, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    ~Boxes() {
        DestroyWindow(box);
        DestroyWindow(combo);
    }
};

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

TEST_F(Procedures, ReadingAVariableIntoABoxAPersonComboOrAString) {
    SaveComboHistory(L"Разраб", {L"Аникин", L"Белов"});
    enum Procedure { GV, GC, GR };
    struct Case {
        Procedure procedure;
        bool stripQuotes;
        std::wstring expression, shown;
    };
    const Case cases[] = {
        {GV, true, L"\"\"", L""},
        {GV, true, L"\"Петров\"", L"Петров"},
        {GV, true, L"\"", L"\""},
        {GV, true, L"\"\"\"\"", L"\"\""},
        {GV, true, L"Петров", L"Петров"},
        {GV, false, L"\"\"", L""},
        {GV, false, L"\"Петров\"", L"\"Петров\""},
        {GC, true, L"\"Петров\"", L"Петров"},
        {GC, false, L"\"Петров\"", L"\"Петров\""},
        // The flag's reading strips no quotes, whoever reads it.
        {GR, true, L"\"\"", L""},
        {GR, true, L"\"-1\"", L"\"-1\""},
        {GR, true, L"-1", L"-1"},
    };
    for (const Case& c : cases) {
        RecordingServer server;
        server.expressions[L"$razrab"] = c.expression;
        FieldProcedures procedures(server, L"StampFirstSheet", c.stripQuotes);
        Boxes boxes;
        std::wstring shown;
        std::vector<std::wstring> listed;
        if (c.procedure == GV) {
            procedures.GV(L"$razrab", boxes.box);
            shown = controlText(boxes.box);
        } else if (c.procedure == GC) {
            procedures.GC(L"$razrab", {boxes.combo, L"Разраб"});
            shown = controlText(boxes.combo);
            listed = comboItems(boxes.combo);
        } else {
            procedures.GR(L"$razrab", shown);
        }
        const std::wstring what = std::to_wstring(c.procedure) + L" " + c.expression;
        EXPECT_EQ(shown, c.shown) << pal::text::toUtf8(what);
        EXPECT_EQ(server.calls, std::vector<std::wstring>{L"get $razrab"}) << pal::text::toUtf8(what);
        // Only a person combo takes its role's history, below the text read.
        const std::vector<std::wstring> history = {L"Аникин", L"Белов"};
        EXPECT_EQ(listed, c.procedure == GC ? history : std::vector<std::wstring>())
            << pal::text::toUtf8(what);
    }
}

TEST_F(Procedures, WritingAVariableFromABoxAPersonComboOrAString) {
    enum Procedure { SV, SC, SR };
    struct Case {
        Procedure procedure;
        std::wstring text;
        std::vector<std::wstring> list;
        std::wstring sent;
        std::vector<std::wstring> history; // the role's stored history afterwards
    };
    const Case cases[] = {
        // Written as shown: no quotes added, none taken.
        {SV, L"\"Плита\"", {}, L"\"Плита\"", {}},
        {SV, L"", {}, L"", {}},
        {SC, L"Орлов", {L"Аникин"}, L"Орлов", {L"Аникин", L"Орлов"}},
        {SC, L"Аникин", {L"Аникин", L"Аникин"}, L"Аникин", {L"Аникин", L"Аникин"}},
        {SC, L"", {L"Аникин"}, L"", {L"Аникин"}},
        {SC, L"орлов", {L"Орлов"}, L"орлов", {L"Орлов", L"орлов"}},
        {SR, L"-1", {}, L"-1", {}},
    };
    for (const Case& c : cases) {
        SaveComboHistory(L"Провер", {});
        RecordingServer server;
        FieldProcedures procedures(server, L"StampForm", false);
        Boxes boxes;
        if (c.procedure == SV) {
            SetWindowTextW(boxes.box, c.text.c_str());
            procedures.SV(L"$prover", boxes.box);
        } else if (c.procedure == SC) {
            for (const auto& item : c.list)
                addComboItem(boxes.combo, item);
            SetWindowTextW(boxes.combo, c.text.c_str());
            procedures.SC(L"$prover", {boxes.combo, L"Провер"});
            EXPECT_EQ(comboItems(boxes.combo), c.history) << "the list as stored";
        } else {
            procedures.SR(L"$prover", c.text);
        }
        EXPECT_EQ(server.calls, std::vector<std::wstring>{L"set $prover=" + c.sent}) << c.procedure;
        EXPECT_EQ(LoadComboHistory(L"Провер"), c.history) << c.procedure << " " << pal::text::toUtf8(c.text);
    }
}

TEST_F(Procedures, TheReferenceTableFlagIsOffOnlyAtMinusOne) {
    struct Case {
        std::wstring value;
        bool off;
    };
    // A quoted -1 is what DravikCad answers for a drawing that keeps the flag as a text.
    const Case cases[] = {{L"-1", true}, {L"\"-1\"", true}, {L"1", false},   {L"\"1\"", false}, {L"", false},
                          {L"0", false}, {L"-1 ", false},   {L"-10", false}, {L"\"-1", false}};
    for (const Case& c : cases)
        EXPECT_EQ(flagIsOff(c.value), c.off) << pal::text::toUtf8(c.value);
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

TEST_F(Procedures, AHistoryCountPastWhatAListHoldsReadsAsThatManyEntries) {
    SaveComboHistory(L"Утверд", {L"Зайцев", L"Орлов"});
    struct Case {
        const wchar_t* count;
        size_t entries;
        bool told;
    };
    for (const Case& c : {Case{L"2", 2, false}, Case{L"1000", 1000, false}, Case{L"1001", 1000, true},
                          Case{L"2147483647", 1000, true}, Case{L"99999999999999999999", 0, true}}) {
        SaveSetting(kSettingsApp, L"Утверд", L"Count", c.count);
        std::wstring why;
        const std::vector<std::wstring> history = LoadComboHistory(L"Утверд", &why);
        EXPECT_EQ(history.size(), c.entries) << c.count;
        EXPECT_EQ(!why.empty(), c.told) << c.count;
        if (!history.empty()) {
            EXPECT_EQ(history[1], L"Орлов");
        }
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
