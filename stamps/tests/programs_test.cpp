// The three editors as the programs a person starts: each a process of its own, reaching the
// DravikCad that runs with a drawing open (null display), its form answered through the
// responder. What the drawing holds afterwards is read through DravikCad's own automation server;
// the undo step is seen through the test server, which says on its way out what became of its
// drawing's variables.
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "pal/com/dispatch.h"
#include "pal/com/variant.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"
#include "win/com.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using pal::com::invokeByName;
using pal::com::textArgument;
using pal::test::classesDefault;
using pal::test::setClassesDefault;
namespace fs = std::filesystem;
using pal::com::Variant;
using Answers = std::vector<std::string>;

class Editors : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        // The DravikCad this test starts through COM inherits its environment.
        ::setenv("DV_PAL_DISPLAY", "null", 1);
        CoInitialize(nullptr);
    }
    void TearDown() override {
        vars_.reset();
        if (app_)
            app_->Release();
        app_ = nullptr;
        // Every DravikCad this test started ends once nobody holds it.
        const bool ended = pal::test::eventually([&] { return ours(L"DravikCad").empty(); }, 60);
        EXPECT_TRUE(ended) << "a DravikCad outlived its clients";
        for (long pid : ours(L"DravikCad"))
            killIfOurs(pid);
        CoUninitialize();
        ::unsetenv("DV_PAL_DISPLAY");
        SandboxTest::TearDown();
    }

    // The processes of this test's sandbox running the program.
    std::vector<long> ours(const std::wstring& program) const {
        std::vector<long> pids;
        const std::string mark = "DV_PAL_ROOT=" + root().string();
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (pal::test::readFile(entry.path() / "comm") != pal::text::toUtf8(program) + "\n")
                continue;
            const std::string environment = pal::test::readFile(entry.path() / "environ");
            if (environment.find(mark + '\0') != std::string::npos)
                pids.push_back(std::stol(name));
        }
        return pids;
    }

    // A start of DravikCad registers it as the server; then one is started through it with a
    // copy of the sample drawing open and active, held by this test until its end.
    void startDravikCadWithTheSample() {
        const auto first =
            pal::test::runProgram(binDir() / "DravikCad", {}, root() / "first.err",
                                  {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
        ASSERT_EQ(first.exitCode, 0) << first.err;
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(L"DVW32.SERVER", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&app_)),
                  S_OK);
        const fs::path drawing = root() / "чертёж.grb";
        fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
        openInDravikCad(drawing);
    }

    // Opens the drawing in the DravikCad this test holds; it becomes the active one.
    void openInDravikCad(const fs::path& drawing) {
        Variant opened, active;
        ASSERT_EQ(
            invokeByName(app_, L"OpenFile", {textArgument(pal::text::fromUtf8(drawing.string()))}, &opened),
            S_OK);
        ASSERT_EQ(opened.vt, VT_DISPATCH);
        ASSERT_EQ(invokeByName(app_, L"GetActiveFile", {}, &active), S_OK);
        ASSERT_EQ(active.vt, VT_DISPATCH);
        vars_ = std::make_unique<Variant>();
        ASSERT_EQ(invokeByName(active.pdispVal, L"GetModelVars", {}, vars_.get()), S_OK);
    }

    // The drawing's expressions of these variables, as DravikCad answers them now.
    std::map<std::wstring, std::wstring> drawing(const std::vector<std::wstring>& names) {
        std::map<std::wstring, std::wstring> values;
        for (const auto& name : names) {
            Variant v;
            EXPECT_EQ(invokeByName(vars_->pdispVal, L"GetVarExpression", {textArgument(name)}, &v), S_OK);
            values[name] = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"";
        }
        return values;
    }

    // Runs an editor to its end with these answers for its forms.
    pal::test::ProgramEnding runEditor(const std::string& program, const Answers& answers) {
        const fs::path script = root() / (program + ".answers");
        std::ofstream out(script);
        for (const auto& a : answers)
            out << a << '\n';
        out.close();
        return pal::test::runProgram(binDir() / program, {}, root() / (program + ".err"),
                                     {{"DV_PAL_DISPLAY", "null"},
                                      {"DV_PAL_ANSWERS", script.string()},
                                      {"DV_PAL_SNAPSHOTS", "snapshots-" + program}});
    }

    // Prompts the editors' forms and message boxes left unanswered or refused.
    void expectEveryAnswerTaken() {
        EXPECT_TRUE(journal("prompt.unanswered").empty());
        EXPECT_TRUE(journal("prompt.refused").empty());
    }

    IDispatch* app_ = nullptr;
    std::unique_ptr<Variant> vars_;
};

TEST_F(Editors, EachEditorWritesWhatWasTypedIntoTheActiveDrawingOfARunningDravikCad) {
    startDravikCadWithTheSample();
    ASSERT_TRUE(vars_);
    struct Case {
        std::string program;
        Answers answers;
        std::map<std::wstring, std::wstring> after;
    };
    const Case cases[] = {
        {"StampFirstSheet",
         {"type Разраб Иванов И.И.", "choose Формат A2", "click Дата_кн(1)", "pick Calendar1 24.12.2026",
          "click OK", "type Наименование Вал\\rведущий", "1"},
         {{L"$razrab", L"\"Иванов И.И.\""},
          {L"$format", L"\"A2\""},
          {L"$data1", L"\"24.12.2026\""},
          {L"$naimen1", L"\"Вал\r\nведущий\""},
          {L"sprav_tabl", L"1"}}},
        {"StampNextSheets",
         {"type Лист 2", "click Parametr", "type inv_n_podl 12345", "click ОК", "1"},
         {{L"$list", L"\"2\""}, {L"$inv_n_podl", L"\"12345\""}, {L"sprav_tabl", L"1"}}},
        {"StampForm",
         {"type Материал Сталь 45 ГОСТ 1050-88", "type Утверд Петров", "1"},
         {{L"$material1", L"\"Сталь 45 ГОСТ 1050-88\""},
          {L"$utverd", L"\"Петров\""},
          // What the others wrote stays as they wrote it, lines included.
          {L"$razrab", L"\"Иванов И.И.\""},
          {L"$naimen1", L"\"Вал\r\nведущий\""}}},
    };
    for (const Case& c : cases) {
        const auto e = runEditor(c.program, c.answers);
        EXPECT_EQ(e.signal, 0) << c.program << e.err;
        EXPECT_EQ(e.exitCode, 0) << c.program << e.err;
        std::vector<std::wstring> names;
        for (const auto& [name, value] : c.after)
            names.push_back(name);
        EXPECT_EQ(drawing(names), c.after) << c.program;
        EXPECT_FALSE(fs::is_empty(root() / ("snapshots-" + c.program)))
            << "a picture of its form as it closed";
    }
    expectEveryAnswerTaken();
}

// The flag is switched off in the first-sheet editor and on again, in the sample as the bundled
// documents make it (a number) and in a drawing stored while they kept it as a text. Each editor
// shows what it read in the check box: the first-sheet one writes back what it shows on an
// untouched OK; the next-sheets one disables the box, so that a click on it is refused.
TEST_F(Editors, TheReferenceTableFlagSwitchedOffStaysOffForBothTextDocumentEditors) {
    allowRefusedAnswers = true; // the clicks on the disabled box, each checked below
    startDravikCadWithTheSample();
    ASSERT_TRUE(vars_);
    const fs::path older = root() / "старый.grb";
    {
        std::wstring error;
        auto doc = Dravik::grb::LoadFile(
            pal::text::fromUtf8((binDir() / "Samples" / "sample-a3.grb").string()), &error);
        ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
        Dravik::DVDocument& content = *doc->Cont2D();
        ASSERT_GE(
            content.create_text_var(L"sprav_tabl", content.FindVariable(L"sprav_tabl"), L"\"\"", 255, 0), 0);
        ASSERT_TRUE(doc->DoFileSave(pal::text::fromUtf8(older.string()), &error)) << pal::text::toUtf8(error);
    }
    struct Step {
        std::string program;
        Answers answers;
        std::wstring flag; // the drawing's flag afterwards: its number, quoted in the older one
        bool checkRefused; // the next-sheets editor refused the click on its disabled box
    };
    const Step steps[] = {
        {"StampFirstSheet", {"click Parametr", "click Check", "click ОК", "1"}, L"-1", false},
        {"StampFirstSheet", {"1"}, L"-1", false},
        {"StampNextSheets", {"click Parametr", "click Check", "2"}, L"-1", true},
        {"StampFirstSheet", {"click Parametr", "click Check", "click ОК", "1"}, L"1", false},
        {"StampFirstSheet", {"1"}, L"1", false},
        {"StampNextSheets", {"click Parametr", "click Check", "click ОК", "2"}, L"1", false},
    };
    for (const bool quoted : {false, true}) {
        if (quoted)
            openInDravikCad(older);
        for (const Step& s : steps) {
            const size_t refusedBefore = journal("prompt.refused").size();
            const auto e = runEditor(s.program, s.answers);
            EXPECT_EQ(e.exitCode, 0) << s.program << e.err;
            const std::wstring flag = quoted ? L"\"" + s.flag + L"\"" : s.flag;
            EXPECT_EQ(drawing({L"sprav_tabl"}).at(L"sprav_tabl"), flag) << s.program << " " << quoted;
            const auto refused = journal("prompt.refused");
            ASSERT_EQ(refused.size(), refusedBefore + (s.checkRefused ? 1 : 0)) << s.program << " " << quoted;
            if (s.checkRefused) {
                EXPECT_EQ(refused.back().get("answer"), "click Check");
                EXPECT_EQ(refused.back().get("reason"), "the control is disabled");
            }
        }
    }
    EXPECT_TRUE(journal("prompt.unanswered").empty());
}

// The test server's drawing holds one title-block variable, "$razrab" = "Петров".
class EditorsOverTheTestServer : public Editors {
protected:
    void SetUp() override {
        Editors::SetUp();
        const std::string host = (binDir() / "dvserver_host").string();
        ASSERT_EQ(std::system(("\"" + host + "\" -RegServer").c_str()), 0);
    }
    // The server registers itself as it starts, without the drawing: each start is told again.
    void serveTheDrawing() {
        const std::wstring clsid = classesDefault(L"DVW32.SERVER\\CLSID");
        setClassesDefault(L"CLSID\\" + clsid + L"\\LocalServer32",
                          L"\"" + pal::text::fromUtf8((binDir() / "dvserver_host").string()) +
                              L"\" --doc \"" + pal::text::fromUtf8((root() / "лист.dvd").string()) + L"\"");
    }
};

TEST_F(EditorsOverTheTestServer, OkCommitsOneUndoStepAndCancelOrAnUntouchedOkChangesNothing) {
    struct Case {
        std::string program;
        Answers answers;
        std::string razrab, undo, undoName;
    };
    const Case cases[] = {
        {"StampForm",
         {"type Разраб Сидоров", "type Провер Кузнецов", "1"},
         "Сидоров",
         "1",
         "Редактирование форматки"},
        {"StampFirstSheet", {"type Разраб Сидоров", "2"}, "Петров", "0", ""},
        {"StampForm", {"1"}, "Петров", "0", ""},
        {"StampFirstSheet", {"1"}, "Петров", "0", ""},
    };
    for (const Case& c : cases) {
        // One server at a time: the last one is gone before the next editor starts one.
        ASSERT_TRUE(pal::test::eventually([&] { return ours(L"dvserver_host").empty(); }, 60));
        serveTheDrawing();
        const size_t before = journal("dvserver.host.exit").size();
        const auto e = runEditor(c.program, c.answers);
        EXPECT_EQ(e.exitCode, 0) << c.program << e.err;
        ASSERT_TRUE(pal::test::eventually([&] { return journal("dvserver.host.exit").size() > before; }, 60));
        const auto exit = journal("dvserver.host.exit").back();
        EXPECT_EQ(exit.get("razrab"), c.razrab) << c.program << " " << c.answers.size();
        EXPECT_EQ(exit.get("undo"), c.undo) << c.program << " " << c.answers.size();
        EXPECT_EQ(exit.get("undoName"), c.undoName) << c.program << " " << c.answers.size();
    }
    expectEveryAnswerTaken();
}

TEST_F(Editors, EachEditorSaysWhyAndEndsWhenItsSandboxOrProfileCannotBeMade) {
    for (const std::string program : {"StampFirstSheet", "StampNextSheets", "StampForm"})
        pal::test::expectCleanStopOnUnusableRoots(binDir() / program, {"1"}, root() / ("scratch-" + program));
}

TEST_F(Editors, WithoutARunningDravikCadAnEditorSaysSoAndEndsWithAFailure) {
    struct Case {
        bool registered;
        std::string said;
    };
    // Registered but not running, COM starts a DravikCad for the editor: it has no drawing open.
    const Case cases[] = {{false, "Нет связи с DravikCad"}, {true, "В DravikCad нет активного документа"}};
    for (const Case& c : cases) {
        if (c.registered) {
            const auto first =
                pal::test::runProgram(binDir() / "DravikCad", {}, root() / "first.err",
                                      {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
            ASSERT_EQ(first.exitCode, 0) << first.err;
        }
        for (const std::string program : {"StampFirstSheet", "StampNextSheets", "StampForm"}) {
            const size_t before = journal("prompt").size();
            const auto e = runEditor(program, {"1"});
            EXPECT_EQ(e.signal, 0) << program;
            EXPECT_EQ(e.exitCode, 1) << program << e.err;
            ASSERT_TRUE(pal::test::eventually([&] { return ours(L"DravikCad").empty(); }, 60));
            const auto prompts = journal("prompt");
            ASSERT_EQ(prompts.size(), before + 1) << program;
            EXPECT_EQ(prompts.back().get("kind"), "MessageBox");
            EXPECT_EQ(prompts.back().get("caption"), program);
            EXPECT_NE(prompts.back().get("text").find(c.said), std::string::npos)
                << prompts.back().get("text");
        }
    }
    expectEveryAnswerTaken();
}

} // namespace
