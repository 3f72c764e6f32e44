// The clipboard shared with the desktop on a real X11 display (an Xvfb of the test's own): text
// this program copies can be pasted by another X client, and text another client copies is
// what this program pastes.
#include "pal/test/user_test.h"
#include "win/ole.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using pal::test::eventually;

class X11Clipboard : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        other_ = pal::test::showOn(server_);
        ASSERT_NE(other_, nullptr);
        window_ = XCreateSimpleWindow(other_, DefaultRootWindow(other_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(other_, "CLIPBOARD", False);
        utf8_ = XInternAtom(other_, "UTF8_STRING", False);
    }
    void TearDown() override {
        TearDownPeer();
        pal::test::closeOwnDisplay(server_, other_);
        UserTest::TearDown();
    }

    static bool copy(const std::wstring& text) {
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        if (!OpenClipboard(nullptr))
            return false;
        EmptyClipboard();
        const bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        CloseClipboard();
        return ok;
    }

    static std::wstring paste() {
        std::wstring text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return text;
    }

    // Another program holding the clipboard with `bytes` as `target`, until the test ends or it
    // loses the clipboard; false when it did not come to hold it.
    bool peerOwns(const std::string& target, const std::string& bytes) {
        const std::filesystem::path file = writeFile("peer-offers", bytes);
        int out[2];
        if (pipe(out) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const bool started = spawnPeer("own", target, file, &actions, owner_);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        char said[6] = {};
        const bool ready = started && ::read(out[0], said, 5) == 5 && std::string(said) == "ready";
        close(out[0]);
        return ready;
    }

    // What another program reads from the clipboard as `target`; nothing when it got nothing.
    std::optional<std::string> peerReads(const std::string& target) {
        const std::filesystem::path file = root() / "peer-read";
        std::filesystem::remove(file);
        pid_t pid = 0;
        if (!spawnPeer("read", target, file, nullptr, pid))
            return std::nullopt;
        // It waits for its answer while this program's display reader serves the clipboard.
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return std::nullopt;
        return pal::test::readFile(file);
    }

    bool spawnPeer(const std::string& mode, const std::string& target, const std::filesystem::path& file,
                   posix_spawn_file_actions_t* actions, pid_t& pid) {
        const std::string program = (binDir() / "dvpal_ole_x11_clipboard_peer").string();
        std::vector<std::string> args = {program, server_.name(), mode, target, file.string()};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        return posix_spawn(&pid, program.c_str(), actions, nullptr, argv.data(), environ) == 0;
    }

    void TearDownPeer() {
        if (owner_ > 0) {
            kill(owner_, SIGKILL);
            waitpid(owner_, nullptr, 0);
        }
        owner_ = 0;
    }

    // The file list on the clipboard, and the effect its paste carries out.
    static std::vector<std::wstring> pastedFiles(DWORD& effect) {
        std::vector<std::wstring> files;
        effect = DROPEFFECT_NONE;
        if (!OpenClipboard(nullptr))
            return files;
        if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                wchar_t path[512] = {};
                DragQueryFileW(drop, i, path, 512);
                files.emplace_back(path);
            }
        }
        if (HANDLE preferred = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
            effect = *static_cast<const DWORD*>(GlobalLock(preferred));
            GlobalUnlock(preferred);
        }
        CloseClipboard();
        return files;
    }

    pal::test::Xvfb server_;
    pid_t owner_ = 0;
    Display* other_ = nullptr;
    Window window_ = 0;
    Atom clipboard_ = 0, utf8_ = 0;
};

TEST_F(X11Clipboard, CopiedTextIsPastedByAnotherClient) {
    ASSERT_TRUE(copy(L"Rev B \u2014 \u041f\u0440\u0438\u0432\u0435\u0442"));
    const Atom into = XInternAtom(other_, "PASTED", False);
    XConvertSelection(other_, clipboard_, utf8_, into, window_, CurrentTime);
    XFlush(other_);
    std::string pasted;
    EXPECT_TRUE(eventually(
        [&] {
            XEvent e{};
            while (XCheckTypedWindowEvent(other_, window_, SelectionNotify, &e)) {
                Atom type = 0;
                int format = 0;
                unsigned long count = 0, after = 0;
                unsigned char* data = nullptr;
                if (e.xselection.property != None &&
                    XGetWindowProperty(other_, window_, into, 0, 1 << 16, True, AnyPropertyType, &type,
                                       &format, &count, &after, &data) == Success &&
                    data) {
                    pasted.assign(reinterpret_cast<const char*>(data), count);
                    XFree(data);
                }
                return true;
            }
            return false;
        },
        5));
    EXPECT_EQ(pasted, "Rev B \xE2\x80\x94 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
}

TEST_F(X11Clipboard, TextAnotherClientCopiedIsPastedHere) {
    const std::string offered = "from the desktop \xC3\xA9";
    XSetSelectionOwner(other_, clipboard_, window_, CurrentTime);
    XSync(other_, False);
    // The other client answers requests for its text while this program pastes.
    std::atomic<bool> stop{false};
    std::thread owner([&] {
        while (!stop) {
            XEvent e{};
            if (!XCheckTypedWindowEvent(other_, window_, SelectionRequest, &e)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            XSelectionRequestEvent& r = e.xselectionrequest;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r.requestor;
            reply.xselection.selection = r.selection;
            reply.xselection.target = r.target;
            reply.xselection.time = r.time;
            reply.xselection.property = r.property;
            XChangeProperty(other_, r.requestor, r.property, utf8_, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered.data()),
                            static_cast<int>(offered.size()));
            XSendEvent(other_, r.requestor, False, NoEventMask, &reply);
            XFlush(other_);
        }
    });
    EXPECT_EQ(paste(), L"from the desktop \u00e9");
    // Copying here takes the desktop's clipboard back.
    ASSERT_TRUE(copy(L"mine"));
    stop = true;
    owner.join();
    EXPECT_NE(XGetSelectionOwner(other_, clipboard_), window_);
    EXPECT_EQ(paste(), L"mine");
}

// A file manager's copied files and a plain URI list, as another program offers them, paste here
// as a file list; the file manager's "cut" becomes the paste's move.
TEST_F(X11Clipboard, FilesAnotherProgramCopiedPasteAsAFileList) {
    const struct {
        const char* target;
        const char* offered;
        DWORD effect;
    } cases[] = {
        {"text/uri-list",
         "# two drawings\r\nfile:///srv/parts/bracket%20A.dvd\r\nfile:///srv/parts/plate.dvd\r\n",
         DROPEFFECT_COPY},
        {"x-special/gnome-copied-files",
         "cut\nfile:///srv/parts/bracket%20A.dvd\nfile:///srv/parts/plate.dvd", DROPEFFECT_MOVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        TearDownPeer();
        ASSERT_TRUE(peerOwns(c.target, c.offered));
        DWORD effect = DROPEFFECT_NONE;
        EXPECT_EQ(pastedFiles(effect),
                  (std::vector<std::wstring>{L"/srv/parts/bracket A.dvd", L"/srv/parts/plate.dvd"}));
        EXPECT_EQ(effect, c.effect);
    }
}

TEST_F(X11Clipboard, AFileListCopiedHereIsAUriListToAnotherProgram) {
    const std::vector<std::wstring> paths = {L"/srv/parts/bracket A.dvd", L"/srv/parts/\u00e9crou.dvd"};
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    // A DROPFILES header (its list at offset 20, wide), then the paths in UTF-16, then an
    // empty one.
    std::u16string list;
    for (const auto& p : paths) {
        for (wchar_t c : p)
            list.push_back(static_cast<char16_t>(c));
        list.push_back(u'\0');
    }
    list.push_back(u'\0');
    const size_t header = 20, bytes = header + list.size() * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* raw = static_cast<unsigned char*>(GlobalLock(block));
    const DWORD offset = header, wide = 1;
    std::memcpy(raw, &offset, 4);
    std::memcpy(raw + 16, &wide, 4);
    std::memcpy(raw + header, list.data(), list.size() * sizeof(char16_t));
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(CF_HDROP, block), nullptr);
    const DWORD move = DROPEFFECT_MOVE;
    HGLOBAL effect = GlobalAlloc(GMEM_MOVEABLE, sizeof move);
    std::memcpy(GlobalLock(effect), &move, sizeof move);
    GlobalUnlock(effect);
    ASSERT_NE(SetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"), effect), nullptr);
    CloseClipboard();
    EXPECT_EQ(peerReads("text/uri-list"),
              std::optional<std::string>(
                  "file:///srv/parts/bracket%20A.dvd\r\nfile:///srv/parts/%C3%A9crou.dvd\r\n"));
    EXPECT_EQ(peerReads("x-special/gnome-copied-files"),
              std::optional<std::string>(
                  "cut\nfile:///srv/parts/bracket%20A.dvd\nfile:///srv/parts/%C3%A9crou.dvd"));
}

// Ten megabytes go in steps (INCR) between programs, both ways, and arrive whole.
TEST_F(X11Clipboard, TenMegabytesOfTextCrossWholeBothWays) {
    std::wstring text;
    while (text.size() < 10u * 1024 * 1024)
        text += L"line " + std::to_wstring(text.size()) + L" \u00e9\u041f\n";
    std::string utf8;
    for (wchar_t c : text) {
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    ASSERT_TRUE(copy(text));
    const std::optional<std::string> read = peerReads("UTF8_STRING");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), utf8.size());
    EXPECT_TRUE(*read == utf8) << "the text another program reads is the text copied";
    ASSERT_TRUE(peerOwns("UTF8_STRING", utf8 + "!"));
    const std::wstring pasted = paste();
    EXPECT_EQ(pasted.size(), text.size() + 1);
    EXPECT_TRUE(pasted == text + L"!") << "the text pasted is the text another program copied";
}

} // namespace
