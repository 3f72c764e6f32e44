// The clipboard shared with the desktop on a real X11 display (an Xvfb of the test's own): text
// this program copies can be pasted by another X client, and text another client copies is
// what this program pastes.
#include "pal/test/user_test.h"
#include "win/ole.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

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

    pal::test::Xvfb server_;
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

} // namespace
