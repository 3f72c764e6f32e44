// An editor's main form on a real X11 display (an Xvfb of the test's own), seen as another X
// client sees it: a window of its own titled as the form, showing what the form painted.
#include "Forms.h"
#include "recording_server.h"

#include "pal/detail/user_control.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace {

using namespace stamps;
using pal::test::eventually;

// A main form that runs one probe at its first idle turn, before the responder answers.
class ProbedForm : public MainForm {
public:
    using MainForm::MainForm;
    std::function<void(MainForm&)> probe;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KICKIDLE && probe)
            std::exchange(probe, nullptr)(*this);
        return MainForm::WindowProc(message, wParam, lParam);
    }
};

class EditorsOnX11 : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = pal::test::showOn(server_);
        ASSERT_NE(observer_, nullptr);
    }
    void TearDown() override {
        pal::test::closeOwnDisplay(server_, observer_);
        SandboxTest::TearDown();
    }

    // What the X server shows of the window, as a picture.
    pal::gdi::Surface screenOf(Window xid) {
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        XImage* image = XGetImage(observer_, xid, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!image)
            return {};
        pal::gdi::Surface picture = pal::gdi::Surface::create(a.width, a.height);
        cairo_surface_flush(picture.get());
        unsigned char* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const auto p = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
                std::memcpy(data + y * stride + x * 4, &p, 4);
            }
        cairo_surface_mark_dirty(picture.get());
        XDestroyImage(image);
        return picture;
    }

    pal::test::Xvfb server_;
    Display* observer_ = nullptr;
};

TEST_F(EditorsOnX11, TheFirstSheetEditorOpensAsAWindowOfTheDisplayShowingItsForm) {
    test::RecordingServer server;
    server.expressions = {{L"$razrab", L"\"Иванов И.И.\""},
                          {L"$naimen1", L"\"Вал ведущий\""},
                          {L"$oboznach", L"\"АБВГ.123456.001\""},
                          {L"$format", L"\"A4\""},
                          {L"$list", L"\"1\""}};
    answer(2);
    ProbedForm form(stampFirstSheet(), server);
    form.probe = [&](MainForm& shown) {
        Window xid = 0;
        ASSERT_TRUE(eventually([&] {
            pal::test::pump();
            xid = pal::test::findViewable(observer_, DefaultRootWindow(observer_), "StampForm", 4);
            return xid != 0;
        }));
        // The screen comes to show what the form painted, its grid and Cyrillic captions included;
        // without a window manager the X window is the client area, the frame is not drawn.
        pal::gdi::Surface screen;
        size_t differing = 0;
        const bool same = eventually(
            [&] {
                pal::test::pump();
                screen = screenOf(xid);
                differing = pal::test::differingPixels(screen, pal::test::snapshot(shown.m_hWnd, true));
                return differing == 0;
            },
            5);
        EXPECT_TRUE(same) << differing << " pixels differ";
        EXPECT_TRUE(pal::test::keepSnapshot(screen, "StampFirstSheet-x11"));
    };
    form.run();
    EXPECT_EQ(server.calls.back(), L"SetFocus");
}

} // namespace
