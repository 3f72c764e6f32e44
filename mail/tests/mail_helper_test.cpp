// The real DravikMail in a sandbox: a recording composer and opener first on the PATH, the
// stand-in mail library (or a recording one) in the system folder, the command line and
// standard input as the main program gives them.
#include "mail_child.h"
#include "recording_tool.h"

#include "pal/cmdline.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using dvmail::test::ChildRun;
using dvmail::test::Input;
using simplemapi::test::recordedRuns;
using simplemapi::test::ToolRun;
using simplemapi::test::writeRecordingTool;

namespace {

enum class Library { None, NotAModule, Standin, StandinNarrow, Recorder, RecorderNarrow };

constexpr const char* kFallback = "https://support.example.com/request";

class MailHelperTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        tools_ = root() / "tools";
        fs::create_directories(tools_);
        writeFile("drive_d/logs/run.txt", "log");
        writeFile("drive_d/logs/other.txt", "log");
    }

    // The mail library the system folder offers as "mapi32.dll".
    void install(Library library) {
        const char* built = nullptr;
        switch (library) {
        case Library::None:
            // A sandbox's system folder has the stand-in from the start.
            fs::remove(pal::folders::system() / "mapi32.so");
            return;
        case Library::NotAModule:
            std::ofstream(pal::folders::system() / "mapi32.so") << "not a library";
            return;
        case Library::Standin:
            built = "mapi32.so";
            break;
        case Library::StandinNarrow:
            built = "mapi32_narrow.so";
            break;
        case Library::Recorder:
            built = "mapi_recorder.so";
            break;
        case Library::RecorderNarrow:
            built = "mapi_recorder_narrow.so";
            break;
        }
        fs::copy_file(binDir() / built, pal::folders::system() / "mapi32.so",
                      fs::copy_options::overwrite_existing);
    }
    // composerExit < 0: no composer on the PATH.
    void installComposer(int composerExit = 0) {
        if (composerExit >= 0)
            writeRecordingTool(tools_, "xdg-email", composerRecord(), composerExit);
    }

    int mail(std::vector<std::string> args, std::optional<std::wstring> input = std::wstring(),
             std::vector<std::pair<std::string, std::string>> env = {}) {
        ChildRun run;
        run.args = std::move(args);
        run.input = input ? Input::Bytes : Input::None;
        run.inputBytes = input ? pal::text::toUtf16leBytes(*input) : std::string();
        run.env = std::move(env);
        return mail(std::move(run));
    }
    int mail(ChildRun run) {
        run.env.emplace_back("PATH", tools_.string());
        run.env.emplace_back("DV_TEST_MAPI_RECORD", mapiRecord().string());
        run.workingDir = root();
        return dvmail::test::runChild(binDir() / "DravikMail", run);
    }

    fs::path composerRecord() const { return root() / "xdg-email.record"; }
    fs::path mapiRecord() const { return root() / "mapi.record"; }
    std::vector<ToolRun> composerRuns() const { return recordedRuns(composerRecord()); }

    // The message records the recording library received, one item a field.
    std::vector<std::string> mapiItems() const {
        std::vector<std::string> items;
        const std::string bytes = pal::test::readFile(mapiRecord());
        for (size_t at = 0; at < bytes.size();) {
            const size_t end = bytes.find('\0', at);
            items.push_back(bytes.substr(at, end - at));
            at = end + 1;
        }
        return items;
    }

    // The addresses the shell was asked to open, oldest first.
    std::vector<std::string> opened() const {
        std::vector<std::string> files;
        for (const auto& e : journal("ShellExecute"))
            files.push_back(e.get("file"));
        return files;
    }

    std::string native(const std::wstring& path) const { return pal::path::toNative(path).string(); }

    fs::path tools_;
};

// ---------------------------------------------------------------------------------------------
// The table: command line and standard input in, the composer's arguments, the page opened and
// the exit code out.

struct MailCase {
    const char* name;
    std::vector<std::string> args;
    std::wstring input;
    std::vector<ToolRun> composer; // "<D:logs>" stands for the native folder of D:\logs
    std::vector<std::string> opened;
    int exitCode;
    Library library = Library::Standin;
    int composerExit = 0; // < 0: no composer on the PATH
};

void PrintTo(const MailCase& c, std::ostream* os) {
    *os << c.name;
}

class MailCaseTest : public MailHelperTest, public ::testing::WithParamInterface<MailCase> {};

TEST_P(MailCaseTest, HandsOverOrFallsBack) {
    const auto& c = GetParam();
    install(c.library);
    installComposer(c.composerExit);

    EXPECT_EQ(mail(c.args, c.input), c.exitCode);

    const std::string logs = native(L"D:\\logs");
    auto expected = c.composer;
    for (auto& run : expected)
        for (auto& arg : run)
            if (arg.starts_with("<D:logs>"))
                arg = logs + arg.substr(8);
    EXPECT_EQ(composerRuns(), expected);
    EXPECT_EQ(opened(), c.opened);
    for (const auto& e : journal("ShellExecute")) {
        EXPECT_EQ(e.get("verb"), "open");
        EXPECT_EQ(e.get("show"), "5"); // SW_SHOW
    }
    EXPECT_FALSE(fs::exists(root() / "pwned")) << "an argument reached a shell";
}

const std::string kFb = std::string("--fallback=") + kFallback;

INSTANTIATE_TEST_SUITE_P(
    Cases, MailCaseTest,
    ::testing::Values(
        MailCase{"no_recipient_opens_the_fallback", {"--subject=S", kFb}, L"World", {}, {kFallback}, 0},
        MailCase{"no_recipient_and_no_fallback", {"--subject=S"}, L"", {}, {}, 1},
        MailCase{"empty_to_value_adds_no_recipient", {"--to=", kFb}, L"World", {}, {kFallback}, 0},
        MailCase{"body_and_input_on_two_lines",
                 {"--to=a@example.com", "--body=Hello"},
                 L"World",
                 {{"--utf8", "--body", "Hello\nWorld", "a@example.com"}},
                 {},
                 0},
        MailCase{"body_and_empty_input",
                 {"--to=a@example.com", "--body=Hello"},
                 L"",
                 {{"--utf8", "--body", "Hello", "a@example.com"}},
                 {},
                 0},
        MailCase{"input_alone_is_the_body",
                 {"--to=a@example.com"},
                 L"Line 1\r\nLine 2\r\n",
                 {{"--utf8", "--body", "Line 1\r\nLine 2\r\n", "a@example.com"}},
                 {},
                 0},
        MailCase{"attach_with_display_name",
                 {"--to=a@example.com", "--attach=report|D:\\logs\\run.txt"},
                 L"",
                 {{"--utf8", "--attach", "<D:logs>/run.txt", "a@example.com"}},
                 {},
                 0},
        MailCase{
            "attach_without_display_name",
            {"--to=a@example.com", "--attach=D:\\logs\\run.txt", "--attach=D:/logs/other.txt"},
            L"",
            {{"--utf8", "--attach", "<D:logs>/run.txt", "--attach", "<D:logs>/other.txt", "a@example.com"}},
            {},
            0},
        MailCase{"fallback_that_is_not_a_url", {"--fallback=C:\\support\\page.html"}, L"", {}, {}, 1},
        MailCase{"non_ascii_subject_and_body",
                 {"--to=a@example.com", "--subject=Запрос в поддержку №5", "--body=Добрый день"},
                 L"日本語 \U0001F600 ünïcödé",
                 {{"--utf8", "--subject", "Запрос в поддержку №5", "--body",
                   "Добрый день\n日本語 \xF0\x9F\x98\x80 ünïcödé", "a@example.com"}},
                 {},
                 0},
        MailCase{"several_recipients_first_is_addressee",
                 {"--to=a@example.com", "--to=b@example.com", "--to=c@example.com"},
                 L"",
                 {{"--utf8", "--bcc", "b@example.com", "--bcc", "c@example.com", "a@example.com"}},
                 {},
                 0},
        MailCase{"keys_are_option_prefixes",
                 {"--s=Subj", "=first@example.com", "-=second@example.com", "--b=Body",
                  "--a=D:\\logs\\run.txt", "--f=https://x.example.com"},
                 L"",
                 {{"--utf8", "--bcc", "second@example.com", "--subject", "Subj", "--body", "Body", "--attach",
                   "<D:logs>/run.txt", "first@example.com"}},
                 {},
                 0},
        MailCase{"unknown_keys_and_bare_words_are_ignored",
                 {"--subject=Old", "--cc=z@example.com", "--tox=y@example.com", "--Subject=Case", "--to",
                  "plain", "--subject=New", "--to=a@example.com"},
                 L"",
                 {{"--utf8", "--subject", "New", "a@example.com"}},
                 {},
                 0},
        MailCase{"values_keep_quotes_spaces_and_shell_characters",
                 {"--to=a@example.com",
                  "--subject=It's \"quoted\"; rm -rf ~ && $(touch pwned) `touch pwned` | a > b",
                  "--body=a b;c=d", "--attach=x=y|D:\\logs\\run.txt"},
                 L"$(touch pwned); echo \"hi\" 'there'",
                 {{"--utf8", "--subject", "It's \"quoted\"; rm -rf ~ && $(touch pwned) `touch pwned` | a > b",
                   "--body", "a b;c=d\n$(touch pwned); echo \"hi\" 'there'", "--attach", "<D:logs>/run.txt",
                   "a@example.com"}},
                 {},
                 0},
        MailCase{"fallback_with_shell_characters_is_opened_as_it_stands",
                 {"--fallback=https://x.example.com/a?b=1;c=$(touch pwned)&d='e'"},
                 L"",
                 {},
                 {"https://x.example.com/a?b=1;c=$(touch pwned)&d='e'"},
                 0},
        MailCase{"no_mail_library_opens_the_fallback",
                 {"--to=a@example.com", kFb},
                 L"",
                 {},
                 {kFallback},
                 0,
                 Library::None},
        MailCase{"no_mail_library_and_no_fallback", {"--to=a@example.com"}, L"", {}, {}, 1, Library::None},
        MailCase{"mail_library_that_is_not_a_module",
                 {"--to=a@example.com", kFb},
                 L"",
                 {},
                 {kFallback},
                 0,
                 Library::NotAModule},
        MailCase{"library_without_the_wide_call",
                 {"--to=a@example.com", "--subject=Запрос №5 😀", "--attach=D:\\logs\\run.txt"},
                 L"Привет",
                 {{"--utf8", "--subject", "Запрос №5 😀", "--body", "Привет", "--attach", "<D:logs>/run.txt",
                   "a@example.com"}},
                 {},
                 0,
                 Library::StandinNarrow},
        MailCase{"failing_composer_opens_the_fallback",
                 {"--to=a@example.com", kFb},
                 L"",
                 {{"--utf8", "a@example.com"}},
                 {kFallback},
                 0,
                 Library::Standin,
                 4},
        MailCase{"failing_composer_and_no_fallback",
                 {"--to=a@example.com"},
                 L"",
                 {{"--utf8", "a@example.com"}},
                 {},
                 1,
                 Library::Standin,
                 4},
        MailCase{"composer_not_on_the_path",
                 {"--to=a@example.com", kFb},
                 L"",
                 {},
                 {kFallback},
                 0,
                 Library::Standin,
                 -1},
        MailCase{"missing_attachment_opens_the_fallback",
                 {"--to=a@example.com", "--attach=C:\\absent.txt", kFb},
                 L"",
                 {},
                 {kFallback},
                 0},
        MailCase{"attachment_with_empty_path",
                 {"--to=a@example.com", "--attach=name|", kFb},
                 L"",
                 {},
                 {kFallback},
                 0},
        MailCase{
            "address_that_reads_as_an_option", {"--to=--attach=/etc/passwd", kFb}, L"", {}, {kFallback}, 0},
        MailCase{"address_that_reads_as_a_mail_link",
                 {"--to=mailto:a@example.com?attach=/etc/passwd", kFb},
                 L"",
                 {},
                 {kFallback},
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// A person's first run: nothing installed by hand, the sandbox as it is made.

TEST_F(MailHelperTest, InAFreshSandboxTheMailGoesToTheComposer) {
    installComposer();
    EXPECT_EQ(mail({"--to=a@example.com", "--subject=First", kFb}, L"Hello"), 0);
    EXPECT_EQ(composerRuns(),
              (std::vector<ToolRun>{{"--utf8", "--subject", "First", "--body", "Hello", "a@example.com"}}));
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(pal::test::readFile(pal::folders::system() / "mapi32.so"),
              pal::test::readFile(binDir() / "mapi32.so"))
        << "the system folder holds the platform's own mail library";
}

// A text longer than one argument of the composer can hold cannot be handed over. That is said,
// and the exit code says the message went nowhere: the page does not stand in for it.
TEST_F(MailHelperTest, ATextTooLongForTheComposerFailsWithAMessage) {
    struct Case {
        std::size_t bodyBytes;
        bool handedOver;
    };
    // The kernel's limit on one argument is 131072 bytes with its terminating zero.
    for (const Case& c : {Case{131071, true}, Case{131072, false}, Case{400000, false}}) {
        SCOPED_TRACE(c.bodyBytes);
        fs::remove(composerRecord());
        installComposer();
        ChildRun run;
        run.args = {"--to=a@example.com", kFb};
        // Two-byte characters, so the text is longer in bytes than in characters.
        std::wstring body(c.bodyBytes / 2, L'Ж');
        if (c.bodyBytes % 2)
            body += L'x';
        run.inputBytes = pal::text::toUtf16leBytes(body);
        run.errorFile = root() / "stderr.txt";
        EXPECT_EQ(mail(std::move(run)), c.handedOver ? 0 : 1);
        const std::string errors = pal::test::readFile(root() / "stderr.txt");
        EXPECT_TRUE(opened().empty());
        if (c.handedOver) {
            ASSERT_EQ(composerRuns().size(), 1u);
            EXPECT_EQ(composerRuns()[0].at(2), pal::text::toUtf8(body));
            EXPECT_EQ(errors, "");
        } else {
            EXPECT_TRUE(composerRuns().empty());
            EXPECT_EQ(errors,
                      "DravikMail: the message is too long for the mail client; it was not sent and the "
                      "fallback page was not opened\n");
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The message record itself, as the recording library receives it.

TEST_F(MailHelperTest, MessageRecordCarriesClassesPositionsAndDisplayNames) {
    install(Library::Recorder);
    ASSERT_EQ(
        mail({"--to=a@example.com", "--to=b@example.com", "--subject=S", "--body=Hello",
              "--attach=report|D:\\logs\\run.txt", "--attach=D:\\logs\\other.txt", "--attach=|D:\\x.txt"},
             L"World"),
        0);
    std::vector<std::string> expected{"entry=W",    "session=0",    "uiparam=0", "flags=9",
                                      "reserved=0", "unused=clear", "subject=S", "note=Hello\nWorld"};
    for (const auto& [cls, name] : {std::pair{"1", "a@example.com"}, std::pair{"3", "b@example.com"}})
        expected.insert(expected.end(), {std::string("recip.class=") + cls, std::string("recip.name=") + name,
                                         "recip.address", "recip.unused=clear"});
    for (const auto& [path, name] :
         {std::pair{"D:\\logs\\run.txt", "file.name=report"}, std::pair{"D:\\logs\\other.txt", "file.name"},
          std::pair{"D:\\x.txt", "file.name"}})
        expected.insert(expected.end(), {"file.position=4294967295", std::string("file.path=") + path, name,
                                         "file.unused=clear"});
    EXPECT_EQ(mapiItems(), expected);
    EXPECT_TRUE(opened().empty());
}

TEST_F(MailHelperTest, NarrowRecordHoldsWholeMultiByteText) {
    install(Library::RecorderNarrow);
    ASSERT_EQ(mail({"--to=a@example.com", "--subject=Ошибка 😀"}, L"Текст"), 0);
    const auto items = mapiItems();
    ASSERT_GE(items.size(), 8u);
    EXPECT_EQ(items[0], "entry=A");
    EXPECT_EQ(items[6], "subject=Ошибка 😀");
    EXPECT_EQ(items[7], "note=Текст");
}

struct ResultCase {
    unsigned long result;
    bool handedOver;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << "result " << c.result;
}

class MailResultTest : public MailHelperTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(MailResultTest, SuccessAndCancelAreHandedOverEverythingElseFallsBack) {
    install(Library::Recorder);
    const auto& c = GetParam();
    EXPECT_EQ(mail({"--to=a@example.com", kFb}, L"", {{"DV_TEST_MAPI_RESULT", std::to_string(c.result)}}), 0);
    EXPECT_EQ(opened(), c.handedOver ? std::vector<std::string>{} : std::vector<std::string>{kFallback});
}

INSTANTIATE_TEST_SUITE_P(Results, MailResultTest,
                         ::testing::Values(ResultCase{0, true}, ResultCase{1, true}, ResultCase{2, false},
                                           ResultCase{11, false}, ResultCase{26, false}),
                         [](const auto& info) { return "result_" + std::to_string(info.param.result); });

// ---------------------------------------------------------------------------------------------
// Standard input.

TEST_F(MailHelperTest, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "DravikMail", {"someone@example.com"},
                                              root() / "scratch");
}

TEST_F(MailHelperTest, WithoutRecipientStandardInputIsNotRead) {
    install(Library::Recorder);
    ChildRun run;
    run.args = {"--subject=S", kFb};
    run.input = Input::HeldOpen; // reading it would never end
    EXPECT_EQ(mail(std::move(run)), 0);
    EXPECT_EQ(opened(), std::vector<std::string>{kFallback});
    EXPECT_TRUE(mapiItems().empty());
}

TEST_F(MailHelperTest, NoStandardInputAtAllLeavesTheBody) {
    install(Library::Standin);
    installComposer();
    EXPECT_EQ(mail({"--to=a@example.com", "--body=Hello"}, std::nullopt), 0);
    EXPECT_EQ(composerRuns(), (std::vector<ToolRun>{{"--utf8", "--body", "Hello", "a@example.com"}}));
}

TEST_F(MailHelperTest, AnOddLastByteOfInputIsDropped) {
    install(Library::Standin);
    installComposer();
    ChildRun run;
    run.args = {"--to=a@example.com"};
    run.inputBytes = pal::text::toUtf16leBytes(L"World") + "\x41";
    EXPECT_EQ(mail(std::move(run)), 0);
    EXPECT_EQ(composerRuns(), (std::vector<ToolRun>{{"--utf8", "--body", "World", "a@example.com"}}));
}

TEST_F(MailHelperTest, LongInputArrivesWhole) {
    // Many chunks, more than a pipe holds at once, with characters outside the basic plane.
    std::wstring text;
    for (int i = 0; i < 5000; ++i)
        text += L"Строка " + std::to_wstring(i) + L" \U0001F4E7\r\n";
    install(Library::Standin);
    installComposer();
    EXPECT_EQ(mail({"--to=a@example.com"}, text), 0);
    EXPECT_EQ(composerRuns(),
              (std::vector<ToolRun>{{"--utf8", "--body", pal::text::toUtf8(text), "a@example.com"}}));
}

TEST_F(MailHelperTest, SupportRequestFromTheMainProgram) {
    // What the main program's support request sends: quoted arguments already split, and a
    // filled-in template on standard input.
    const std::string body = pal::test::readFile(sourcePath("mail/tests/fixtures/support_request.txt"));
    ASSERT_FALSE(body.empty());
    install(Library::Standin);
    installComposer();
    EXPECT_EQ(mail({"--to=support@dravik.example", "--subject=Technical support request", kFb},
                   pal::text::fromUtf8(body)),
              0);
    EXPECT_EQ(composerRuns(), (std::vector<ToolRun>{{"--utf8", "--subject", "Technical support request",
                                                     "--body", body, "support@dravik.example"}}));
    EXPECT_TRUE(opened().empty());
}

// ---------------------------------------------------------------------------------------------
// Started as the main program's support request starts it: the program folder's
// "DravikMail.exe" with every value quoted, the body written to an inherited pipe as UTF-16
// without a mark or a terminator, and nobody waiting for the end of the writing.

// The main program quotes every value, whether it needs it or not.
std::wstring quotedValue(std::wstring_view value) {
    const std::wstring q = pal::cmdline::quote(value);
    return q.starts_with(L'"') ? q : L'"' + q + L'"';
}

TEST_F(MailHelperTest, SupportRequestThroughTheMainProgramsPipe) {
    install(Library::Standin);
    installComposer();
    const char* path = std::getenv("PATH");
    const std::string savedPath = path ? path : "";
    ::setenv("PATH", tools_.c_str(), 1);

    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    ASSERT_TRUE(PathRemoveFileSpecW(program));
    ASSERT_TRUE(PathAppendW(program, L"DravikMail.exe"));
    const std::wstring subject = L"Запрос \"срочно\" C:\\logs\\";
    std::wstring line = L'"' + std::wstring(program) + L'"' + L" --to=" +
                        quotedValue(L"support@dravik.example") + L" --subject=" + quotedValue(subject) +
                        L" --fallback=" + quotedValue(pal::text::fromUtf8(kFallback));
    // Each template line ends with CR LF; many lines make the body span several reads.
    std::wstring body;
    for (int i = 0; i < 300; ++i)
        body += L"Строка " + std::to_wstring(i) + L" \U0001F4E7\r\n";
    const std::string bytes = pal::text::toUtf16leBytes(body);

    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    ASSERT_TRUE(SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = readEnd;
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessW(program, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(started);
    CloseHandle(pi.hThread);
    for (size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writeEnd, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                              &written, nullptr));
        done += written;
    }
    CloseHandle(writeEnd);
    CloseHandle(readEnd);

    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60'000), WAIT_OBJECT_0);
    DWORD code = 99;
    EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(composerRuns(),
              (std::vector<ToolRun>{{"--utf8", "--subject", pal::text::toUtf8(subject), "--body",
                                     pal::text::toUtf8(body), "support@dravik.example"}}));
    EXPECT_TRUE(opened().empty());
}

// ---------------------------------------------------------------------------------------------
// Outside the test fixture the shell really opens the page, with xdg-open.

TEST_F(MailHelperTest, OutsideTheFixtureTheFallbackRunsTheOpener) {
    const fs::path record = root() / "xdg-open.record";
    writeRecordingTool(tools_, "xdg-open", record);
    EXPECT_EQ(
        mail({std::string("--fallback=") + kFallback + "?q=a b;$(touch pwned)"}, L"", {{"DV_PAL_TEST", "0"}}),
        0);
    // The opener runs detached; give it time to write, however loaded the machine. A record
    // caught half-written is read again.
    const auto written = [&] {
        try {
            return !recordedRuns(record).empty();
        } catch (const std::exception&) {
            return false;
        }
    };
    for (int i = 0; i < 6000 && !written(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(recordedRuns(record),
              (std::vector<ToolRun>{{std::string(kFallback) + "?q=a b;$(touch pwned)"}}));
    EXPECT_FALSE(fs::exists(root() / "pwned"));
}

// The opener is waited for: when it cannot open the page, DravikMail has not opened it either.
TEST_F(MailHelperTest, OutsideTheFixtureTheOpenersFailureIsTheHelpersFailure) {
    for (const int openerExit : {0, 3, 4}) {
        SCOPED_TRACE(openerExit);
        const fs::path record = root() / ("xdg-open." + std::to_string(openerExit) + ".record");
        writeRecordingTool(tools_, "xdg-open", record, openerExit);
        EXPECT_EQ(mail({std::string("--fallback=") + kFallback}, L"", {{"DV_PAL_TEST", "0"}}),
                  openerExit == 0 ? 0 : 1);
        EXPECT_EQ(recordedRuns(record), (std::vector<ToolRun>{{kFallback}}))
            << "it ran before the helper ended";
    }
}

} // namespace
