// The stand-in loaded as the system loads it, sending to a recording composer.
#include "mapi.h"
#include "recording_tool.h"

#include "pal/test/sandbox_test.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using simplemapi::test::recordedRuns;
using simplemapi::test::ToolRun;
using simplemapi::test::writeRecordingTool;

namespace {

class SimpleMapiTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        tools_ = root() / "tools";
        record_ = root() / "xdg-email.record";
        fs::create_directories(tools_);
        ::setenv("PATH", tools_.c_str(), 1);
    }
    void TearDown() override {
        for (void* m : modules_)
            dlclose(m);
        ::setenv("PATH", savedPath_.c_str(), 1);
        SandboxTest::TearDown();
    }

    void* load(const std::string& name) {
        void* m = dlopen((binDir() / name).c_str(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(m, nullptr) << dlerror();
        modules_.push_back(m);
        return m;
    }
    LPMAPISENDMAILW wideCall() {
        return reinterpret_cast<LPMAPISENDMAILW>(dlsym(load("mapi32.so"), "MAPISendMailW"));
    }
    void installComposer(int exitCode = 0) { writeRecordingTool(tools_, "xdg-email", record_, exitCode); }
    std::vector<ToolRun> composerRuns() const { return recordedRuns(record_); }

    fs::path tools_;
    fs::path record_;

private:
    std::string savedPath_;
    std::vector<void*> modules_;
};

// Writable copies of wide texts, as the interface takes them.
struct Texts {
    std::deque<std::wstring> held;
    wchar_t* operator()(std::wstring s) {
        held.push_back(std::move(s));
        return held.back().data();
    }
};

MapiRecipDescW recipient(ULONG cls, wchar_t* name, wchar_t* address = nullptr) {
    MapiRecipDescW r{};
    r.ulRecipClass = cls;
    r.lpszName = name;
    r.lpszAddress = address;
    return r;
}

TEST_F(SimpleMapiTest, WideMessageBecomesTheComposersArgumentVector) {
    installComposer();
    writeFile("drive_d/logs/run.txt", "log");
    Texts t;
    std::vector<MapiRecipDescW> recips{
        recipient(MAPI_TO, t(L"support@example.com")),
        recipient(MAPI_CC, t(L"Ops Desk"), t(L"ops@example.com")),
        recipient(MAPI_BCC, t(L"archive@example.com")),
    };
    MapiFileDescW file{};
    file.nPosition = 0xFFFFFFFF;
    file.lpszPathName = t(L"D:\\logs\\run.txt");
    file.lpszFileName = t(L"report");
    MapiMessageW message{};
    message.lpszSubject = t(L"Ошибка; $(touch x) `id` 'q' \"d\" | &");
    message.lpszNoteText = t(L"Line 1\r\nСтрока 2 \U0001F600");
    message.nRecipCount = static_cast<ULONG>(recips.size());
    message.lpRecips = recips.data();
    message.nFileCount = 1;
    message.lpFiles = &file;

    ASSERT_EQ(wideCall()(0, 0, &message, MAPI_LOGON_UI | MAPI_DIALOG, 0), SUCCESS_SUCCESS);

    const std::vector<ToolRun> expected{{
        "--utf8",
        "--cc",
        "ops@example.com",
        "--bcc",
        "archive@example.com",
        "--subject",
        "Ошибка; $(touch x) `id` 'q' \"d\" | &",
        "--body",
        "Line 1\r\nСтрока 2 \xF0\x9F\x98\x80",
        "--attach",
        (root() / "drive_d/logs/run.txt").string(),
        "support@example.com",
    }};
    EXPECT_EQ(composerRuns(), expected);
    EXPECT_FALSE(fs::exists(root() / "x")) << "nothing may pass through a shell";
}

TEST_F(SimpleMapiTest, NarrowBuildOffersOnlyTheNarrowCall) {
    installComposer();
    void* narrow = load("mapi32_narrow.so");
    EXPECT_EQ(dlsym(narrow, "MAPISendMailW"), nullptr);
    auto send = reinterpret_cast<LPMAPISENDMAIL>(dlsym(narrow, "MAPISendMail"));
    ASSERT_NE(send, nullptr);

    std::string name = "a@example.com", subject = "Отчёт", note;
    MapiRecipDesc r{};
    r.ulRecipClass = MAPI_TO;
    r.lpszName = name.data();
    MapiMessage message{};
    message.lpszSubject = subject.data();
    message.lpszNoteText = note.data();
    message.nRecipCount = 1;
    message.lpRecips = &r;
    ASSERT_EQ(send(0, 0, &message, MAPI_LOGON_UI | MAPI_DIALOG, 0), SUCCESS_SUCCESS);
    EXPECT_EQ(composerRuns(), (std::vector<ToolRun>{{"--utf8", "--subject", "Отчёт", "a@example.com"}}));
}

struct FailureCase {
    const char* what;
    int composerExit; // -1: no composer on the PATH
    const wchar_t* address;
    const wchar_t* attachment;
    ULONG expected;
    size_t composerRuns;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

class SimpleMapiFailureTest : public SimpleMapiTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SimpleMapiFailureTest, AnswersTheFailureWithoutHandingOver) {
    const auto& c = GetParam();
    if (c.composerExit >= 0)
        installComposer(c.composerExit);
    writeFile("drive_c/present.txt", "x");
    Texts t;
    MapiRecipDescW r = recipient(MAPI_TO, t(c.address));
    MapiFileDescW file{};
    file.nPosition = 0xFFFFFFFF;
    file.lpszPathName = t(c.attachment);
    MapiMessageW message{};
    message.nRecipCount = 1;
    message.lpRecips = &r;
    message.nFileCount = 1;
    message.lpFiles = &file;
    EXPECT_EQ(wideCall()(0, 0, &message, MAPI_LOGON_UI | MAPI_DIALOG, 0), c.expected);
    EXPECT_EQ(composerRuns().size(), c.composerRuns);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimpleMapiFailureTest,
    ::testing::Values(
        FailureCase{"composer_fails", 4, L"a@example.com", L"C:\\present.txt", MAPI_E_FAILURE, 1},
        FailureCase{"composer_not_on_path", -1, L"a@example.com", L"C:\\present.txt", MAPI_E_FAILURE, 0},
        FailureCase{"missing_attachment", 0, L"a@example.com", L"C:\\absent.txt", MAPI_E_ATTACHMENT_NOT_FOUND,
                    0},
        FailureCase{"folder_as_attachment", 0, L"a@example.com", L"C:\\", MAPI_E_ATTACHMENT_NOT_FOUND, 0},
        FailureCase{"address_read_as_option", 0, L"--attach=/etc/passwd", L"C:\\present.txt",
                    MAPI_E_UNKNOWN_RECIPIENT, 0},
        FailureCase{"address_read_as_mail_link", 0, L"mailto:a@example.com?attach=/etc/passwd",
                    L"C:\\present.txt", MAPI_E_UNKNOWN_RECIPIENT, 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SimpleMapiTest, NoMessageIsAFailure) {
    installComposer();
    EXPECT_EQ(wideCall()(0, 0, nullptr, 0, 0), MAPI_E_FAILURE);
    EXPECT_TRUE(composerRuns().empty());
}

} // namespace
