// The UI library's small window helpers: screens, edit boxes, the hidden pane parent, the walk
// over the main frames and the frame that a window belongs to.
#include "DravikUI/DialogCache.h"
#include "DravikUI/Images.h"
#include "DravikUI/Windows.h"

#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "pal/path.h"
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

namespace {

using pal::test::MonitorSpec;

// The primary screen and, to its right, a second one that a test may unplug.
const MonitorSpec kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const MonitorSpec kSecond{{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, 96};

class WindowsTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({kPrimary, kSecond});
    }
    void TearDown() override {
        dvkernel::test::reset();
        UserTest::TearDown();
    }
};

TEST_F(WindowsTest, ARectangleIsMovedOntoTheMonitorItOverlapsMostOrTheNearest) {
    struct Case {
        const char* name;
        RECT before;
        bool wholeMonitor;
        RECT after;
    } const cases[] = {
        {"inside stays", {100, 100, 400, 300}, false, {100, 100, 400, 300}},
        {"over the taskbar", {100, 900, 400, 1060}, false, {100, 880, 400, 1040}},
        {"the whole monitor may hold it", {100, 900, 400, 1060}, true, {100, 900, 400, 1060}},
        {"mostly on the second", {3000, 100, 3400, 300}, false, {2800, 100, 3200, 300}},
        {"off every screen, to the nearest", {5000, 100, 5200, 300}, false, {3000, 100, 3200, 300}},
        {"left of everything", {-500, -50, -300, 50}, false, {0, 0, 200, 100}},
        {"larger than the area is cut", {-10, -10, 2500, 1500}, false, {0, 0, 1920, 1040}},
    };
    for (const Case& c : cases) {
        RECT r = c.before;
        EXPECT_EQ(Dravik::UI::EnsureIsVisible(r, c.wholeMonitor), !::EqualRect(&c.before, &c.after))
            << c.name;
        EXPECT_TRUE(::EqualRect(&r, &c.after))
            << c.name << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST_F(WindowsTest, AWindowOnAMonitorThatWasUnpluggedComesBackOntoOneThatIsThere) {
    CWnd floating;
    ASSERT_TRUE(floating.CreateEx(0, nullptr, L"Floating bar", WS_POPUP | WS_VISIBLE, 2600, 200, 300, 120,
                                  nullptr, nullptr));
    EXPECT_FALSE(Dravik::UI::EnsureIsVisible(&floating)) << "on the second monitor it is visible";

    pal::test::setMonitors({kPrimary});
    EXPECT_TRUE(Dravik::UI::EnsureIsVisible(&floating));
    CRect r;
    floating.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(1620, 200, 1920, 320)) << "at the near edge of the primary monitor, size kept";
    EXPECT_FALSE(Dravik::UI::EnsureIsVisible(nullptr));
}

TEST_F(WindowsTest, EditBoxesAreToldByTheirClass) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"Parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    struct Case {
        const wchar_t* cls;
        DWORD style;
        bool edit;
    } const cases[] = {{L"Edit", 0, true},
                       {L"EDIT", ES_READONLY, true},
                       {L"Button", 0, false},
                       {L"Static", 0, false},
                       {L"ListBox", 0, false}};
    for (const Case& c : cases) {
        HWND h = ::CreateWindowExW(0, c.cls, L"", WS_CHILD | c.style, 0, 0, 50, 20, parent.m_hWnd, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(Dravik::UI::IsEditBox(h), c.edit) << pal::text::toUtf8(c.cls);
    }
    HWND combo = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 100,
                                   parent.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(Dravik::UI::IsEditBox(combo));
    HWND inner = ::GetWindow(combo, GW_CHILD);
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(Dravik::UI::IsEditBox(inner)) << "the edit part of a combo box";
    EXPECT_FALSE(Dravik::UI::IsEditBox(nullptr));
}

TEST_F(WindowsTest, ThePaneParentLivesWhileSomebodyHoldsIt) {
    EXPECT_EQ(Dravik::UI::GetDockingPaneDummyWindow(false), nullptr);
    auto first = Dravik::UI::GetDockingPaneDummyWindow(true);
    ASSERT_NE(first, nullptr);
    const HWND hwnd = first->GetSafeHwnd();
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_EQ(Dravik::UI::GetDockingPaneDummyWindow(false), first);
    EXPECT_EQ(Dravik::UI::GetDockingPaneDummyWindow(true), first);
    first.reset();
    EXPECT_FALSE(::IsWindow(hwnd)) << "the last holder destroyed it";
    EXPECT_EQ(Dravik::UI::GetDockingPaneDummyWindow(false), nullptr);
}

// Two main frames with a child, a floating bar owned by one and a stray window.
TEST_F(WindowsTest, TheFrameOfAWindowIsTheListedFrameAboveItOrItsOwner) {
    auto& ui = UIModuleProxy::Instance();
    auto* first = new CFrameWnd;
    auto* second = new CFrameWnd;
    ASSERT_TRUE(first->Create(nullptr, L"First"));
    ASSERT_TRUE(second->Create(nullptr, L"Second"));
    ui.AddMainFrame(first);
    ui.AddMainFrame(second);
    CWnd child, floating, stray;
    ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), second, 1));
    ASSERT_TRUE(floating.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, first->m_hWnd, nullptr));
    ASSERT_TRUE(stray.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));

    EXPECT_EQ(ui.GetMainFrameOfWindow(second->m_hWnd), second);
    EXPECT_EQ(ui.GetMainFrameOfWindow(child.m_hWnd), second);
    EXPECT_EQ(ui.GetMainFrameOfWindow(floating.m_hWnd), first);
    EXPECT_EQ(ui.GetMainFrameOfWindow(stray.m_hWnd), nullptr);

    EXPECT_EQ(Dravik::UI::GetFirstMainFrame(), first);
    EXPECT_EQ(Dravik::UI::GetNextMainFrame(first), second);
    EXPECT_EQ(Dravik::UI::GetNextMainFrame(second), nullptr);

    ui.RemoveMainFrame(second);
    EXPECT_EQ(ui.GetMainFrameOfWindow(child.m_hWnd), nullptr) << "a frame no longer listed is nobody's frame";
    EXPECT_EQ(Dravik::UI::GetNextMainFrame(second), nullptr);
    ui.RemoveMainFrame(first);
    child.DestroyWindow();
    floating.DestroyWindow();
    first->DestroyWindow();
    second->DestroyWindow();
}

TEST_F(WindowsTest, TheDialogCacheDestroysWhatItKeepsWhenItIsReset) {
    auto& cache = CDialogCache::Instance();
    auto make = [] {
        auto w = std::make_unique<CWnd>();
        EXPECT_TRUE(w->CreateEx(0, nullptr, L"Kept", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        return w;
    };
    auto first = make();
    const HWND firstWindow = first->m_hWnd;
    cache.Add(7, std::move(first));
    EXPECT_EQ(cache.Find(7)->m_hWnd, firstWindow);
    cache.Add(7, make());
    EXPECT_FALSE(::IsWindow(firstWindow)) << "a dialog replaced under its key is destroyed";
    const HWND secondWindow = cache.Find(7)->m_hWnd;
    cache.Add(8, std::make_unique<CWnd>()); // a dialog whose window was never made
    EXPECT_EQ(cache.GetCount(), 2u);
    cache.ResetCache();
    EXPECT_EQ(cache.GetCount(), 0u);
    EXPECT_FALSE(::IsWindow(secondWindow));
    EXPECT_EQ(cache.Find(7), nullptr);
}

TEST_F(WindowsTest, ImagesAreFoundOnlyInsideTheImageFolder) {
    auto& images = Dravik::Images::ResourceManager::Instance();
    EXPECT_EQ(images.GetImageFolder(), pal::path::fromNative(binDir() / "Images"));
    for (const wchar_t* name : {L"", L"NoSuchImage.svg", L"..\\DravikCad.ini", L"../DravikCad.ini",
                                L"/etc/passwd", L"C:\\Windows\\x.svg"})
        EXPECT_EQ(images.GetImagePath(name), L"") << pal::text::toUtf8(name);
}

} // namespace
