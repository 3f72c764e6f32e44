// The editors' forms in this process, over a recording variables object, driven as a person
// would through the responder: what each program reads and writes and in which order, how it
// ends, its flag, line limits, calendar, person histories and window place.
#include "Forms.h"
#include "Procedures.h"
#include "Settings.h"
#include "recording_server.h"

#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace stamps;
using stamps::test::RecordingServer;
using Probe = std::function<void(MainForm&)>;

// A main form that runs a probe before each answer it takes.
class ProbedForm : public MainForm {
public:
    using MainForm::MainForm;
    std::vector<Probe> probes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KICKIDLE && next_ < probes.size())
            probes[next_++](*this);
        return MainForm::WindowProc(message, wParam, lParam);
    }

private:
    size_t next_ = 0;
};

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

std::vector<std::wstring> listOf(HWND combo) {
    std::vector<std::wstring> items;
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t item[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        items.push_back(item);
    }
    return items;
}

class Forms : public pal::test::SandboxTest {
protected:
    // Runs the program's main form to its end with these answers queued.
    RecordingServer run(const ProgramLayout& layout, const std::vector<std::wstring>& answers,
                        std::vector<Probe> probes = {}) {
        for (const auto& a : answers) {
            if (a == L"1" || a == L"2")
                answer(a == L"1" ? 1 : 2);
            else
                answer(a);
        }
        ProbedForm form(layout, server);
        form.probes = std::move(probes);
        form.run();
        EXPECT_EQ(form.failure(), server.failOn.empty() ? "" : "call failed");
        return server;
    }
    RecordingServer server;
};

const std::vector<std::wstring> kFirstSheetOrder = {
    L"$razrab",     L"$prover",    L"$n_contr",  L"$utverd",    L"$inv_n_podl", L"$podl_podp", L"$vz_inv_n",
    L"$inv_n_dubl", L"$dubl_podp", L"$per_prim", L"$sprav_nom", L"sprav_tabl",  L"$data1",     L"$data2",
    L"$data3",      L"$data4",     L"$oboznach", L"$naimen1",   L"$name_pred",  L"$listov",    L"$list",
    L"$lit1",       L"$lit2",      L"$lit3",     L"$format",    L"$copy"};
const std::vector<std::wstring> kNextSheetsOrder = {
    L"$inv_n_podl", L"$podl_podp", L"$vz_inv_n", L"$inv_n_dubl", L"$dubl_podp",
    L"sprav_tabl",  L"$oboznach",  L"$list",     L"$format",     L"$copy"};
const std::vector<std::wstring> kFormOrder = {
    L"$razrab",   L"$prover",   L"$t_contr",   L"$nach_lab",  L"$n_contr", L"$utverd",
    L"$oboznach", L"$naimen1",  L"$material1", L"$naim_pred", L"$listov",  L"$list",
    L"$massa",    L"$maschtab", L"$lit1",      L"$lit2",      L"$lit3"};

TEST_F(Forms, EachProgramReadsAndWritesItsFieldsInItsOrder) {
    struct Case {
        const ProgramLayout& layout;
        std::vector<std::wstring> reads;
        std::vector<std::wstring> writes; // NAME=VALUE
    };
    std::vector<std::wstring> firstSheetWrites, nextSheetsWrites, formWrites;
    for (const auto& name : kFirstSheetOrder)
        firstSheetWrites.push_back(name + L"=" + (name == L"sprav_tabl" ? L"1" : L"v" + name));
    for (const auto& name : kNextSheetsOrder)
        if (name != L"sprav_tabl")
            nextSheetsWrites.push_back(name + L"=v" + name);
    for (const auto& name : kFormOrder)
        formWrites.push_back(name + L"=\"v" + name + L"\"");
    const Case cases[] = {
        {stampFirstSheet(), kFirstSheetOrder, firstSheetWrites},
        {stampNextSheets(), kNextSheetsOrder, nextSheetsWrites},
        {stampForm(), kFormOrder, formWrites},
    };
    for (const Case& c : cases) {
        server = {};
        for (const auto& name : c.reads)
            server.expressions[name] = name == L"sprav_tabl" ? L"\"\"" : L"\"v" + name + L"\"";
        const auto done = run(c.layout, {L"1"});
        EXPECT_EQ(done.of(L"get"), c.reads) << c.layout.name;
        EXPECT_EQ(done.of(L"set"), c.writes) << c.layout.name;
        ASSERT_GE(done.calls.size(), 2u);
        EXPECT_EQ(done.calls[done.calls.size() - 2], L"OK Редактирование форматки") << c.layout.name;
        EXPECT_EQ(done.calls.back(), L"SetFocus") << c.layout.name;
    }
}

TEST_F(Forms, OkCancelAndTheCloseBoxEndTheFormOnce) {
    struct Case {
        const ProgramLayout& layout;
        std::wstring answer;
        std::vector<std::wstring> after; // the calls after reading
    };
    const Case cases[] = {
        {stampFirstSheet(), L"2", {L"Cancel", L"SetFocus"}}, {stampFirstSheet(), L"close", {L"SetFocus"}},
        {stampNextSheets(), L"2", {L"Cancel", L"SetFocus"}}, {stampNextSheets(), L"close", {L"SetFocus"}},
        {stampForm(), L"2", {L"Cancel", L"SetFocus"}},       {stampForm(), L"close", {}},
    };
    for (const Case& c : cases) {
        server = {};
        SaveSetting(kSettingsApp, L"Settings", L"MainLeft", L"");
        const auto done = run(c.layout, {c.answer});
        std::vector<std::wstring> after;
        for (const auto& call : done.calls)
            if (!call.starts_with(L"get "))
                after.push_back(call);
        EXPECT_EQ(after, c.after) << c.layout.name << " " << testing::PrintToString(c.answer);
        // The default 500 twips is the nearest pixel to it, 33, in twips.
        EXPECT_EQ(GetSetting(kSettingsApp, L"Settings", L"MainLeft", L""), L"495") << c.layout.name;
    }
}

TEST_F(Forms, AFailedCallEndsTheFormWithItsReasonAndNothingMore) {
    struct Case {
        std::wstring failOn;
        std::vector<std::wstring> answers;
        std::wstring lastCall;
        std::wstring history; // the count of "Разраб" stored: each person's history goes with its value
    };
    const Case cases[] = {
        {L"get", {}, L"get $razrab", L"none"},
        {L"set", {L"1"}, L"set $razrab=", L"none"},
        {L"Cancel", {L"2"}, L"Cancel", L"none"},
        {L"OK", {L"type Разраб Орлов", L"1"}, L"OK Редактирование форматки", L"1"},
    };
    for (const Case& c : cases) {
        server = {};
        server.failOn = c.failOn;
        const auto done = run(stampForm(), c.answers);
        // Nothing after the failed call: no commit, no focus to DravikCad.
        EXPECT_EQ(done.calls.back(), c.lastCall) << c.failOn;
        EXPECT_EQ(GetSetting(kSettingsApp, L"Разраб", L"Count", L"none"), c.history) << c.failOn;
    }
}

TEST_F(Forms, TheReferenceTableFlagOfBothTextDocumentEditors) {
    struct Case {
        const ProgramLayout& layout;
        std::wstring stored;
        bool checked, enabled;
        std::vector<std::wstring> written; // what OK sends for the flag
    };
    const Case cases[] = {
        {stampFirstSheet(), L"\"\"", true, true, {L"1"}}, {stampFirstSheet(), L"-1", false, true, {L"-1"}},
        {stampFirstSheet(), L"0", true, true, {L"1"}},    {stampNextSheets(), L"-1", false, false, {}},
        {stampNextSheets(), L"\"\"", false, true, {}},
    };
    for (const Case& c : cases) {
        server = {};
        server.expressions[L"sprav_tabl"] = c.stored;
        const auto done = run(c.layout, {L"1"}, {[&](MainForm& form) {
                                  EXPECT_EQ(form.extraForm()->checked(), c.checked) << c.stored;
                                  EXPECT_EQ(IsWindowEnabled(form.control(L"Check")) != FALSE, c.enabled);
                              }});
        std::vector<std::wstring> written;
        for (const auto& set : done.of(L"set"))
            if (set.starts_with(L"sprav_tabl="))
                written.push_back(set.substr(11));
        EXPECT_EQ(written, c.written) << c.layout.name << " " << c.stored.size();
    }
}

TEST_F(Forms, BoxesBoundToNoVariableTakeNoInput) {
    struct Case {
        const ProgramLayout& layout;
        std::wstring flag;
        std::vector<std::wstring> answers;
        std::vector<std::wstring> enabled, disabled;
    };
    const Case cases[] = {
        {stampForm(),
         L"",
         {L"2"},
         {L"Разраб", L"Обозначение"},
         {L"Формат", L"Копировал", L"Дата1", L"Дата6"}},
        // The reference-table boxes follow the flag only where a variable takes them.
        {stampFirstSheet(),
         L"-1",
         {L"click Parametr", L"click Check", L"click ОК", L"2"},
         {L"per_prim", L"sprav_nom", L"Формат", L"Копировал"},
         {}},
        {stampNextSheets(),
         L"\"\"",
         {L"click Parametr", L"click Check", L"click ОК", L"2"},
         {L"inv_n_podl", L"Формат", L"Копировал"},
         {L"per_prim", L"sprav_nom"}},
    };
    for (const Case& c : cases) {
        server = {};
        server.expressions[L"sprav_tabl"] = c.flag;
        std::vector<Probe> probes(c.answers.size() - 1, [](MainForm&) {});
        probes.push_back([&](MainForm& form) {
            for (const auto& name : c.enabled)
                EXPECT_TRUE(IsWindowEnabled(form.control(name))) << c.layout.name;
            for (const auto& name : c.disabled)
                EXPECT_FALSE(IsWindowEnabled(form.control(name))) << c.layout.name;
        });
        run(c.layout, c.answers, probes);
    }
}

TEST_F(Forms, MultiLineBoxesRefuseEnterAtTheirLimitUntilAnotherKey) {
    const auto done =
        run(stampFirstSheet(), {L"keys Наименование а\\rб\\rв\\rг", L"keys Обозначение x\\ry\\rz",
                                L"keys Предприятие п\\r\\rq", L"1"});
    EXPECT_EQ(done.written.at(L"$naimen1"), L"а\r\nб\r\nвг");
    EXPECT_EQ(done.written.at(L"$oboznach"), L"x\r\nyz");
    EXPECT_EQ(done.written.at(L"$name_pred"), L"п\r\nq");
}

TEST_F(Forms, AddAndDeleteActOnTheLastFocusedPersonAndOkKeepsItsHistory) {
    SaveComboHistory(L"Провер", {L"Аникин", L"Белов"});
    const auto buttons = [](bool on) {
        return [on](MainForm& form) {
            EXPECT_EQ(IsWindowEnabled(form.control(L"Add")) != FALSE, on);
            EXPECT_EQ(IsWindowEnabled(form.control(L"Delete")) != FALSE, on);
        };
    };
    const auto nothing = [](MainForm&) {};
    // Each answer comes after the probe of its place.
    const auto done = run(stampFirstSheet(),
                          {L"click Add", L"type Провер Новиков", L"click Add", L"click Add", L"click Delete",
                           L"type Обозначение X", L"choose Провер Аникин", L"click Delete",
                           L"type Провер Новиков", L"type Разраб Пушкин", L"1"},
                          {nothing, nothing, buttons(true), nothing, nothing, nothing, buttons(false),
                           buttons(true), nothing, nothing, [](MainForm& form) {
                               EXPECT_EQ(form.personFocus(), 1);
                               EXPECT_EQ(listOf(form.control(L"Провер")),
                                         (std::vector<std::wstring>{L"Белов", L"Новиков", L"Новиков"}));
                           }});
    EXPECT_EQ(done.written.at(L"$prover"), L"Новиков");
    // Duplicates added by hand stay; OK adds the text only when the list lacks it.
    EXPECT_EQ(LoadComboHistory(L"Провер"), (std::vector<std::wstring>{L"Белов", L"Новиков", L"Новиков"}));
    EXPECT_EQ(LoadComboHistory(L"Разраб"), (std::vector<std::wstring>{L"Пушкин"}));
    // An empty person combo adds nothing.
    EXPECT_EQ(GetSetting(kSettingsApp, L"Утверд", L"Count", L"none"), L"0");
}

TEST_F(Forms, CancelLosesTheListChangesOfAddAndDelete) {
    SaveComboHistory(L"Разраб", {L"Аникин", L"Белов"});
    run(stampFirstSheet(),
        {L"type Разраб Орлов", L"click Add", L"choose Разраб Аникин", L"click Delete", L"2"});
    EXPECT_EQ(LoadComboHistory(L"Разраб"), (std::vector<std::wstring>{L"Аникин", L"Белов"}));
}

TEST_F(Forms, HistoriesAreSharedBetweenTheDrawingAndTheFirstSheetEditors) {
    run(stampForm(), {L"type Н_контр Кузнецов", L"1"});
    server = {};
    run(stampFirstSheet(), {L"2"}, {[](MainForm& form) {
            EXPECT_EQ(listOf(form.control(L"Н_контр")), (std::vector<std::wstring>{L"Кузнецов"}));
            EXPECT_TRUE(listOf(form.control(L"Разраб")).empty());
        }});
}

TEST_F(Forms, TheCalendarPutsTheChosenDateAndCancelKeepsTheText) {
    server.expressions[L"$data2"] = L"\"01.02.2026\"";
    server.expressions[L"$data4"] = L"\"01.02.2026\"";
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t today[32] = {};
    GetDateFormatW(0x0400, DATE_SHORTDATE, &now, nullptr, today, 32);
    const auto done =
        run(stampFirstSheet(), {L"click Дата_кн(1)", L"click OK",                               // today
                                L"click Дата_кн(2)", L"pick Calendar1 24.12.2026", L"click OK", //
                                L"click Дата_кн(3)", L"pick Calendar1 24.12.2026", L"click Отмена",
                                L"click Дата_кн(4)", L"click Отмена", L"1"});
    EXPECT_EQ(done.written.at(L"$data1"), today);
    EXPECT_EQ(done.written.at(L"$data2"), L"24.12.2026");
    EXPECT_EQ(done.written.at(L"$data3"), L"");
    EXPECT_EQ(done.written.at(L"$data4"), L"01.02.2026");
}

TEST_F(Forms, TheWindowTakesItsStoredPlaceAndOnlyTheDrawingEditorStaysOnTop) {
    struct Case {
        const ProgramLayout& layout;
        bool topmost;
    };
    for (const Case& c :
         {Case{stampFirstSheet(), false}, Case{stampNextSheets(), false}, Case{stampForm(), true}}) {
        SaveSetting(kSettingsApp, L"Settings", L"MainLeft", L"1500");
        SaveSetting(kSettingsApp, L"Settings", L"MainTop", L"3000");
        run(c.layout, {L"2"}, {[&](MainForm& form) {
                RECT r{};
                GetWindowRect(form.m_hWnd, &r);
                EXPECT_EQ(r.left, 100);
                EXPECT_EQ(r.top, 200);
                EXPECT_EQ((GetWindowLongW(form.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.topmost);
                EXPECT_EQ(textOf(form.m_hWnd), L"StampForm");
            }});
        EXPECT_EQ(GetSetting(kSettingsApp, L"Settings", L"MainTop", L""), L"3000");
    }
}

TEST_F(Forms, AStoredCountThatIsNoNumberLeavesTheHistoryEmptyAndTheEditorWorking) {
    SaveSetting(kSettingsApp, L"Разраб", L"Count", L"много");
    SaveSetting(kSettingsApp, L"Разраб", L"0", L"Старый");
    testing::internal::CaptureStderr();
    const auto done = run(stampFirstSheet(), {L"type Разраб Орлов", L"1"},
                          {[](MainForm& form) { EXPECT_TRUE(listOf(form.control(L"Разраб")).empty()); }});
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("StampFirstSheet: the history of \"Разраб\" is read as empty"), std::string::npos)
        << err;
    EXPECT_EQ(done.written.at(L"$razrab"), L"Орлов");
    EXPECT_EQ(LoadComboHistory(L"Разраб"), (std::vector<std::wstring>{L"Орлов"}));
}

TEST_F(Forms, PicturesOfTheFormsWithCyrillicCaptions) {
    server.expressions = {{L"$razrab", L"\"Иванов И.И.\""},
                          {L"$naimen1", L"\"Вал ведущий\""},
                          {L"$oboznach", L"\"АБВГ.123456.001\""},
                          {L"$data1", L"\"10.12.2026\""},
                          {L"$format", L"\"A3\""},
                          {L"$list", L"\"1\""},
                          {L"$listov", L"\"2\""}};
    for (const ProgramLayout* layout : {&stampFirstSheet(), &stampNextSheets(), &stampForm()}) {
        run(*layout, {L"2"}, {[&](MainForm& form) {
            EXPECT_TRUE(pal::test::keepSnapshot(form.m_hWnd, pal::text::toUtf8(layout->name)));
            if (ExtraForm* extra = form.extraForm()) {
                extra->ShowWindow(SW_SHOWNA);
                EXPECT_TRUE(
                    pal::test::keepSnapshot(extra->m_hWnd, pal::text::toUtf8(layout->name) + "-Form3"));
                extra->ShowWindow(SW_HIDE);
            }
            if (layout->calendar) {
                SYSTEMTIME day{2026, 12, 4, 10, 0, 0, 0, 0};
                CalendarForm calendar(&form, day, L"");
                calendar.Create(calendar.m_nIDTemplate, &form);
                calendar.ShowWindow(SW_SHOWNA);
                EXPECT_TRUE(pal::test::keepSnapshot(calendar.m_hWnd, "StampFirstSheet-Form2"));
                calendar.DestroyWindow();
            }
        }});
    }
}

} // namespace
