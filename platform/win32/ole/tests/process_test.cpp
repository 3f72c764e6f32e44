// The clipboard and drag and drop between two programs of one sandbox: the second program is a
// real child process (ole_child.cpp).
#include "drag_fixture.h"

#include "pal/text.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using oletest::fileList;
using oletest::unicodeBlock;

// A child with its standard input and output on pipes.
class Child {
public:
    explicit Child(const std::wstring& arguments) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE outWrite = nullptr, inRead = nullptr;
        EXPECT_TRUE(CreatePipe(&out_, &outWrite, &inherit, 0));
        EXPECT_TRUE(CreatePipe(&inRead, &in_, &inherit, 0));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = outWrite;
        si.hStdInput = inRead;
        std::wstring line = L"dvpal_ole_child.exe " + arguments;
        EXPECT_TRUE(
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_));
        CloseHandle(outWrite);
        CloseHandle(inRead);
    }
    ~Child() {
        if (pi_.hProcess) {
            TerminateProcess(pi_.hProcess, 9);
            finish();
        }
        CloseHandle(out_);
        if (in_)
            CloseHandle(in_);
    }

    // The next line of its output, without the line end; empty at the end.
    std::string line() {
        for (;;) {
            const size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string l = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return l;
            }
            char chunk[512];
            DWORD n = 0;
            if (!ReadFile(out_, chunk, sizeof chunk, &n, nullptr) || n == 0) {
                std::string rest = std::move(buffer_);
                buffer_.clear();
                return rest;
            }
            buffer_.append(chunk, n);
        }
    }
    void closeInput() {
        CloseHandle(in_);
        in_ = nullptr;
    }
    void kill() { TerminateProcess(pi_.hProcess, 9); }
    DWORD finish() {
        EXPECT_EQ(WaitForSingleObject(pi_.hProcess, 60'000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
        return code;
    }

private:
    PROCESS_INFORMATION pi_{};
    HANDLE out_ = nullptr;
    HANDLE in_ = nullptr;
    std::string buffer_;
};

DWORD run(const std::wstring& arguments, std::string* output = nullptr) {
    Child child(arguments);
    std::string first = child.line();
    if (output)
        *output = first;
    return child.finish();
}

std::string block(UINT format) {
    if (!OpenClipboard(nullptr))
        return "<closed>";
    HANDLE h = GetClipboardData(format);
    std::string out;
    if (const void* p = GlobalLock(h)) {
        out.assign(static_cast<const char*>(p), GlobalSize(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return out;
}

void put(UINT format, const std::string& bytes) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    ASSERT_EQ(SetClipboardData(format, h), h);
    ASSERT_TRUE(CloseClipboard());
}

using BetweenPrograms = oletest::DragFixture;

TEST_F(BetweenPrograms, TextAndARegisteredFormatRoundTripBetweenTwoPrograms) {
    // The child's text reaches this program in both encodings.
    ASSERT_EQ(run(L"put-text \"Gr\u00fc\u00dfe aus dem Kind\""), 0u);
    EXPECT_EQ(block(CF_UNICODETEXT), unicodeBlock(L"Gr\u00fc\u00dfe aus dem Kind"));
    EXPECT_EQ(block(CF_TEXT), std::string("Gr\xc3\xbc\xc3\x9f"
                                          "e aus dem Kind") +
                                  '\0');

    // This program's text reaches the child.
    put(CF_UNICODETEXT, unicodeBlock(L"from the parent \u2192"));
    std::string got;
    ASSERT_EQ(run(L"get-text", &got), 0u);
    EXPECT_EQ(got, "from the parent \xe2\x86\x92");

    // A format registered by the child has the same number here, whatever the case of its name.
    ASSERT_EQ(run(L"put-format \"Libraries group\" guid-list"), 0u);
    const UINT group = RegisterClipboardFormatW(L"LIBRARIES GROUP");
    EXPECT_TRUE(IsClipboardFormatAvailable(group));
    EXPECT_EQ(block(group), "guid-list");

    put(RegisterClipboardFormatW(L"Library"), "two-guids");
    ASSERT_EQ(run(L"get-format Library", &got), 0u);
    EXPECT_EQ(got, "two-guids");
}

TEST_F(BetweenPrograms, ThePreferredDropEffectOfACutIsReadByAPasteInAnotherProgram) {
    auto* cut = new oletest::TestData;
    cut->add(CF_HDROP, fileList({L"C:\\lib\\a.grb", L"C:\\lib\\b.grb"}));
    const DWORD move = DROPEFFECT_MOVE;
    cut->add(RegisterClipboardFormatW(L"Preferred DropEffect"),
             std::string(reinterpret_cast<const char*>(&move), 4));
    ASSERT_EQ(OleSetClipboard(cut), S_OK);
    ASSERT_EQ(OleFlushClipboard(), S_OK);
    cut->Release();

    Child paste(L"paste-files");
    EXPECT_EQ(paste.line(), "effect 2");
    EXPECT_EQ(paste.line(), "C:\\lib\\a.grb");
    EXPECT_EQ(paste.line(), "C:\\lib\\b.grb");
    EXPECT_EQ(paste.finish(), 0u);
}

TEST_F(BetweenPrograms, AProgramHoldingTheClipboardOpenKeepsOthersOutUntilItClosesOrEnds) {
    {
        Child holder(L"hold");
        ASSERT_EQ(holder.line(), "open");
        EXPECT_FALSE(OpenClipboard(nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        holder.closeInput();
        EXPECT_EQ(holder.finish(), 0u);
        ASSERT_TRUE(OpenClipboard(nullptr));
        CloseClipboard();
    }
    Child crashed(L"hold");
    ASSERT_EQ(crashed.line(), "open");
    crashed.kill();
    crashed.finish();
    EXPECT_TRUE(OpenClipboard(nullptr)) << "a program that ended holds nothing";
    CloseClipboard();
}

TEST_F(BetweenPrograms, ADragFromThisProgramDropsOnAWindowOfAnother) {
    struct Case {
        const wchar_t* mode;
        HRESULT result;
        DWORD effect;
        std::vector<std::string> lines;
    } cases[] = {
        {L"ole", DRAGDROP_S_DROP, DROPEFFECT_MOVE, {"ole a fragment at 620,170", "calls enter over drop"}},
        {L"files", DRAGDROP_S_DROP, DROPEFFECT_COPY, {"files at 120,70", "C:\\docs\\one.grb", "calls"}},
    };
    // The child's window lies where this program's target window is; this one steps aside.
    ShowWindow(target, SW_HIDE);
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.mode));
        Child other(std::wstring(L"drop-target 500 100 300 200 ") + c.mode);
        ASSERT_EQ(other.line(), "ready");
        auto* data = new oletest::TestData;
        data->add(CF_UNICODETEXT, unicodeBlock(L"a fragment"));
        data->add(CF_HDROP, fileList({L"C:\\docs\\one.grb"}));
        const Outcome out = drag(data, {{400, 150}, {600, 150}, {610, 160}, {620, 170}});
        data->Release();
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.effect, c.effect);
        for (const std::string& expected : c.lines)
            EXPECT_EQ(other.line(), expected);
        other.closeInput();
        EXPECT_EQ(other.finish(), 0u);
    }
}

} // namespace
