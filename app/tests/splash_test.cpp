// The splash window: which picture at which scale, no window with nothing to draw, stepping
// aside for a window of the main thread and coming back, and closing on its event.
#include "app/Splash.h"

#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/test/user_test.h"
#include "pal/text.h"
#include "ribbon/ApplicationMode.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class Splash : public pal::test::UserTest {
protected:
    void TearDown() override {
        SignalSplashClose();
        if (thread_ != nullptr) {
            WaitForSingleObject(thread_->m_hThread, 5000);
            delete thread_;
        }
        UserTest::TearDown();
    }

    static HWND findSplash() {
        HWND found = nullptr;
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) != CSplashWnd::kClassName)
                    return TRUE;
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static RECT rectOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    void startSplash(const std::wstring& image, bool drawTexts) {
        thread_ = AfxBeginThread(SplashThreadProc, new CSplashWnd(image, drawTexts), 0, 0, CREATE_SUSPENDED);
        ASSERT_NE(thread_, nullptr);
        thread_->m_bAutoDelete = FALSE;
        thread_->ResumeThread();
    }
    bool splashEnded() { return WaitForSingleObject(thread_->m_hThread, 5000) == WAIT_OBJECT_0; }

    CWinThread* thread_ = nullptr;
};

TEST_F(Splash, TheConfiguredPictureWinsElseTheBannerOfTheMonitorsSize) {
    const std::wstring own = pal::path::fromNative(writeFile("own.bmp", "not looked into"));
    const std::wstring banner = DVAppendProgramPath(L"Banner.bmp", 0, false);
    const std::wstring large = DVAppendProgramPath(L"Banner4K.bmp", 0, false);
    struct Case {
        std::wstring configured;
        int monitorHeight;
        std::wstring path;
        int scale;
    };
    const Case cases[] = {
        {own, 2160, own, 1},
        {L"", 1080, banner, 1},
        {L"", 1799, banner, 1},
        {L"", 1800, large, 2},
        {pal::path::fromNative(root() / "missing.bmp"), 2160, large, 2},
    };
    for (const Case& c : cases) {
        const CSplashWnd::Image image = CSplashWnd::ChooseImage(c.configured, c.monitorHeight);
        EXPECT_EQ(image.path, c.path) << c.monitorHeight;
        EXPECT_EQ(image.scale, c.scale) << c.monitorHeight;
    }
}

TEST_F(Splash, NothingToDrawShowsNoWindowAndReturnsAtOnce) {
    const std::wstring broken = pal::path::fromNative(writeFile("broken.bmp", "BM but no picture"));
    struct Case {
        const char* what;
        std::wstring image;
        bool drawTexts;
    };
    const Case cases[] = {
        {"a picture that does not load", broken, true},
        {"an edition that draws no texts", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSplashWnd splash(c.image, c.drawTexts);
        splash.RunSplash(); // would wait for the close event with a window
        EXPECT_EQ(splash.m_hWnd, nullptr);
        EXPECT_EQ(findSplash(), nullptr);
    }
}

TEST_F(Splash, StepsAsideForAWindowOfTheMainThreadComesBackAndClosesOnItsEvent) {
    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    startSplash(L"", true);
    HWND splash = nullptr;
    ASSERT_TRUE(pal::test::eventually([&] { return (splash = findSplash()) != nullptr; }, 10));
    ASSERT_TRUE(pal::test::eventually([&] { return IsWindowVisible(splash) != FALSE; }, 10));
    const RECT shown = rectOf(splash);
    EXPECT_EQ(shown.right - shown.left, 480);
    EXPECT_EQ(shown.left, (1920 - 480) / 2);
    EXPECT_EQ(shown.top, (1040 - 300) / 2);
    EXPECT_NE(GetWindowLongW(splash, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    pal::test::saveSnapshot(splash, root() / "splash.png");

    // A message box of start-up, on the main thread.
    HWND box = CreateWindowExW(0, L"STATIC", L"A question", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(pal::test::eventually([&] { return rectOf(splash).left == -10000; }, 10));
    DestroyWindow(box);
    EXPECT_TRUE(pal::test::eventually([&] { return rectOf(splash).left == shown.left; }, 10));
    EXPECT_EQ(rectOf(splash).bottom, shown.bottom);

    SignalSplashClose();
    SignalSplashClose(); // twice is harmless
    EXPECT_TRUE(splashEnded());
    EXPECT_EQ(findSplash(), nullptr);
}

// A window object of the test's thread that notes being asked its class from any other thread:
// the splash's thread must not touch it, as the main thread may destroy it meanwhile.
class WatchedWindow : public CWnd {
public:
    CRuntimeClass* GetRuntimeClass() const override {
        if (GetCurrentThreadId() != owner_)
            touchedElsewhere = true;
        return CWnd::GetRuntimeClass();
    }
    mutable std::atomic<bool> touchedElsewhere{false};

private:
    const DWORD owner_ = GetCurrentThreadId();
};

TEST_F(Splash, StepsAsideForTheMainThreadsWindowObjectsWithoutTouchingThem) {
    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    startSplash(L"", true);
    HWND splash = nullptr;
    ASSERT_TRUE(pal::test::eventually([&] { return (splash = findSplash()) != nullptr; }, 10));
    ASSERT_TRUE(pal::test::eventually([&] { return IsWindowVisible(splash) != FALSE; }, 10));

    WatchedWindow box;
    ASSERT_TRUE(box.CreateEx(0, L"STATIC", L"A question", WS_POPUP | WS_VISIBLE, CRect(100, 100, 300, 200),
                             nullptr, 0));
    // It stepped aside: it has looked at the window.
    EXPECT_TRUE(pal::test::eventually([&] { return rectOf(splash).left == -10000; }, 10));
    EXPECT_FALSE(box.touchedElsewhere);
    box.DestroyWindow();
    SignalSplashClose();
    EXPECT_TRUE(splashEnded());
}

// Alder, Birch and Alder Administrator name themselves in their colours; the notice reads in the
// kernel's language, English where it has none; the title is the kernel's format with the
// product's name. The Alder splash is kept for a person to look at.
TEST_F(Splash, TheEditionsCaptionTheCountrysNoticeAndTheProductInTheTitle) {
    struct EditionCase {
        std::uint32_t edition;
        std::wstring caption;
    };
    const EditionCase editions[] = {
        {128, L"Alder"}, {256, L"Birch"}, {512, L"Alder Administrator"}, {0, L""}, {16, L""},
    };
    struct Reset {
        ~Reset() { SetFixedEditionCode(0); }
    } reset;
    for (const EditionCase& c : editions) {
        SCOPED_TRACE(c.edition);
        SetFixedEditionCode(c.edition);
        std::wstring caption = L"left over";
        COLORREF colour = 1;
        EXPECT_EQ(GetSplashEditionText(caption, colour), !c.caption.empty());
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(colour != 0, !c.caption.empty());
    }

    struct NoticeCase {
        Country country;
        const wchar_t* words;
    };
    const NoticeCase notices[] = {
        {English, L"All rights reserved."},
        {German, L"Alle Rechte vorbehalten."},
        {Russian, L"\u0412\u0441\u0435 \u043F\u0440\u0430\u0432\u0430"},
        {Korean, L"All rights reserved."},
    };
    const Country before = COUNTRY;
    for (const NoticeCase& c : notices) {
        COUNTRY = c.country;
        const std::wstring notice = GetSplashLegalNotice();
        EXPECT_NE(notice.find(c.words), std::wstring::npos) << static_cast<int>(c.country);
        EXPECT_NE(notice.find(L"%d"), std::wstring::npos) << "the year goes in";
    }
    COUNTRY = before;

    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    SetFixedEditionCode(128);
    startSplash(L"", true);
    HWND splash = nullptr;
    ASSERT_TRUE(pal::test::eventually([&] { return (splash = findSplash()) != nullptr; }, 10));
    ASSERT_TRUE(pal::test::eventually([&] { return IsWindowVisible(splash) != FALSE; }, 10));
    wchar_t title[128] = {};
    GetWindowTextW(splash, title, 128);
    EXPECT_EQ(std::wstring(title), GetSplashCaption());
    EXPECT_NE(std::wstring(title).find(L" is starting"), std::wstring::npos) << pal::text::toUtf8(title);
    EXPECT_TRUE(pal::test::keepSnapshot(splash, "splash-alder"));
    SignalSplashClose();
    EXPECT_TRUE(splashEnded());
}

} // namespace
