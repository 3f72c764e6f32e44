// Processes started from argument vectors, pipes to and from them, and command lines.
#include "win/system.h"

#include "pal/cmdline.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <random>
#include <thread>

namespace {

class Processes : public pal::test::SandboxTest {
protected:
    struct Result {
        BOOL started = FALSE;
        DWORD error = 0;
        DWORD exitCode = 0;
        std::string out;
    };

    // Starts the child with `line`, gives it `input` on its standard input, and collects its
    // standard output until it ends.
    static Result run(const std::wstring& line, const std::string& input = {}) {
        Result r;
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE inRead, inWrite, outRead, outWrite;
        EXPECT_TRUE(CreatePipe(&inRead, &inWrite, &inherit, 0));
        EXPECT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
        // The parent's ends stay out of the child, or it would never see the end of its input.
        EXPECT_TRUE(SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0));
        EXPECT_TRUE(SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = inRead;
        si.hStdOutput = outWrite;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        std::wstring mutableLine = line;
        r.started = CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &si, &pi);
        r.error = GetLastError();
        CloseHandle(inRead);
        CloseHandle(outWrite);
        if (r.started) {
            std::thread writer([&] {
                DWORD written = 0;
                EXPECT_TRUE(
                    WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr));
                EXPECT_EQ(written, input.size());
                CloseHandle(inWrite);
            });
            char buffer[8192];
            DWORD n = 0;
            while (ReadFile(outRead, buffer, sizeof buffer, &n, nullptr))
                r.out.append(buffer, n);
            EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
            writer.join();
            EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30'000), WAIT_OBJECT_0);
            EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &r.exitCode));
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        } else {
            CloseHandle(inWrite);
        }
        CloseHandle(outRead);
        return r;
    }

    static std::vector<std::string> lines(const std::string& s) {
        std::vector<std::string> out;
        size_t start = 0;
        for (size_t nl; (nl = s.find('\n', start)) != std::string::npos; start = nl + 1)
            out.push_back(s.substr(start, nl - start));
        return out;
    }
};

TEST_F(Processes, ChildReceivesExactlyTheBytesWrittenToItsPipe) {
    // A mail body as the support request sends it: UTF-16LE without byte-order mark or
    // terminator, larger than a pipe holds, with every byte value in it.
    std::string input = pal::text::toUtf16leBytes(L"Тема: запрос\r\n<UserName> \u20AC\r\n");
    std::mt19937 random(7);
    while (input.size() < 300'000)
        input += static_cast<char>(random() & 0xFF);
    const Result r = run(L"dvpal_system_child.exe echo-stdin 7", input);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exitCode, 7u);
    EXPECT_TRUE(r.out == input) << "received " << r.out.size() << " of " << input.size() << " bytes";

    const Result empty = run(L"dvpal_system_child.exe echo-stdin 0");
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.exitCode, 0u);
}

TEST_F(Processes, CommandLinesRoundTripByThePlatformsRules) {
    const std::vector<std::vector<std::wstring>> cases = {
        {L"plain", L"words"},
        {L"with space", L"two  spaces", L"\ttab"},
        {L"quote\"inside", L"\"quoted\"", L"\""},
        {LR"(C:\Program Files\Dravik\)", LR"(a\\b)", LR"(trailing\)", LR"(back\"quote)", LR"(\\\")"},
        {L"", L"empty before and after", L""},
        {L"--to=support@example.com", L"--subject=Запрос \"18.0\"",
         L"--fallback=https://example.com/a?b=c&d"},
    };
    for (const auto& args : cases) {
        std::vector<std::wstring> argv = {L"dvpal_system_child.exe", L"argv"};
        argv.insert(argv.end(), args.begin(), args.end());
        const std::wstring line = pal::cmdline::join(argv);
        const Result r = run(line);
        ASSERT_TRUE(r.started);
        const auto got = lines(r.out);
        ASSERT_EQ(got.size(), argv.size() + 1) << r.out;
        EXPECT_EQ(pal::text::fromUtf8(got[0]), line) << "GetCommandLineW gives the line as it was given";
        for (size_t i = 0; i < argv.size(); ++i)
            EXPECT_EQ(pal::text::fromUtf8(got[i + 1]), argv[i]);
    }
}

TEST_F(Processes, CommandLineToArgvWFollowsThePlatformsRules) {
    struct Case {
        const wchar_t* line;
        std::vector<std::wstring> argv;
    };
    const Case cases[] = {
        {L"prog a b", {L"prog", L"a", L"b"}},
        {LR"("C:\Program Files\x.exe" "a b" c)", {LR"(C:\Program Files\x.exe)", L"a b", L"c"}},
        {LR"(C:\dir\prog.exe  a	  b  )", {LR"(C:\dir\prog.exe)", L"a", L"b"}},
        {LR"(p a\\b c\d)", {L"p", LR"(a\\b)", LR"(c\d)"}},
        {LR"(p a\"b)", {L"p", LR"(a"b)"}},
        {LR"(p a\\\"b)", {L"p", LR"(a\"b)"}},
        {LR"(p "a\\" b)", {L"p", LR"(a\)", L"b"}},
        {LR"(p a\\\\"b c")", {L"p", LR"(a\\b c)"}},
        {LR"(p "" x)", {L"p", L"", L"x"}},
        {LR"(p a"b c"d)", {L"p", L"ab cd"}},
        {LR"(p "a""b")", {L"p", LR"(a"b)"}},
        {LR"(p "unterminated arg)", {L"p", L"unterminated arg"}},
        // The program name knows no escapes and no grouping after its start.
        {LR"(C:\a\"b x)", {LR"(C:\a\"b)", L"x"}},
        {LR"("a b"c d)", {L"a b", L"c", L"d"}},
        {LR"("C:\dir\" x)", {LR"(C:\dir\)", L"x"}},
        {LR"("unterminated program)", {L"unterminated program"}},
    };
    for (const auto& c : cases) {
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(c.line, &count);
        ASSERT_NE(argv, nullptr);
        std::vector<std::wstring> got(argv, argv + count);
        EXPECT_EQ(argv[count], nullptr);
        EXPECT_EQ(LocalFree(argv), nullptr);
        EXPECT_EQ(got, c.argv) << pal::text::toUtf8(c.line);
    }
    int count = 0;
    LPWSTR* self = CommandLineToArgvW(L"", &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::filesystem::path(self[0]).filename(), "dvpal_system_tests");
    LocalFree(self);
}

TEST_F(Processes, WaitExitCodeTerminateAndQueries) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"dvpal_system_child.exe sleep";
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), WAIT_TIMEOUT);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(GetProcessId(pi.hProcess), pi.dwProcessId);

    HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pi.dwProcessId);
    ASSERT_NE(opened, nullptr);
    wchar_t image[4096];
    DWORD size = 4096;
    ASSERT_TRUE(QueryFullProcessImageNameW(opened, 0, image, &size));
    EXPECT_EQ(std::filesystem::path(image).filename(), "dvpal_system_child");
    FILETIME created{}, exited{}, kernel{}, user{};
    ASSERT_TRUE(GetProcessTimes(opened, &created, &exited, &kernel, &user));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto asInt = [](FILETIME f) { return (std::uint64_t{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
    EXPECT_LE(asInt(created), asInt(now));
    EXPECT_GT(asInt(created), asInt(now) - 600'000'000ULL) << "started within the last minute";

    ASSERT_TRUE(TerminateProcess(pi.hProcess, 3));
    HANDLE both[2] = {pi.hProcess, opened};
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 30'000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(pi.hThread, 0), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeProcess(opened, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_FALSE(TerminateProcess(pi.hProcess, 4));
    for (HANDLE h : {pi.hProcess, pi.hThread, opened})
        EXPECT_TRUE(CloseHandle(h));

    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0x7FFFFFF0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Processes, StartFailuresAndPipeEnds) {
    const Result missing = run(L"DravikNothing.exe --x");
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.error, ERROR_FILE_NOT_FOUND);

    // A reader whose writers are gone sees a broken pipe; a writer whose reader is gone gets
    // ERROR_NO_DATA, and the process lives on.
    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    DWORD flags = 9;
    ASSERT_TRUE(GetHandleInformation(readEnd, &flags));
    EXPECT_EQ(flags, 0u);
    ASSERT_TRUE(SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT));
    ASSERT_TRUE(GetHandleInformation(readEnd, &flags));
    EXPECT_EQ(flags, HANDLE_FLAG_INHERIT);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(writeEnd, "abc", 3, &n, nullptr));
    EXPECT_FALSE(ReadFile(writeEnd, nullptr, 0, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(writeEnd);
    char buffer[8];
    EXPECT_TRUE(ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 3u);
    EXPECT_FALSE(ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
    CloseHandle(readEnd);

    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    CloseHandle(readEnd);
    EXPECT_FALSE(WriteFile(writeEnd, "abc", 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NO_DATA);
    CloseHandle(writeEnd);
}

TEST_F(Processes, StandardOutputToAFile) {
    const std::wstring file = L"C:\\out\\child.txt";
    ASSERT_TRUE(CreateDirectoryW(L"C:\\out", nullptr));
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE out =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"dvpal_system_child.exe argv \"x y\"";
    ASSERT_TRUE(
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, L"C:\\out", &si, &pi));
    CloseHandle(out);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30'000), WAIT_OBJECT_0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(pal::test::readFile(root() / "drive_c" / "out" / "child.txt"),
              "dvpal_system_child.exe argv \"x y\"\ndvpal_system_child.exe\nargv\nx y\n");
}

} // namespace
