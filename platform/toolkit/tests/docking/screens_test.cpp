// Panes across screens: the screen of a window, a rectangle brought back onto the screens, and
// layouts restored after a monitor went away or the main window changed size.
#include "docking_fixture.h"

#include "xtp/MultiMonitor.h"

#include <gtest/gtest.h>

namespace dockingtest {
namespace {

using Monitor = pal::test::MonitorSpec;

// The primary screen, one to its right, one to its left and one above it.
const Monitor kPrimary{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96};
const Monitor kRight{RECT{1920, 0, 3200, 1024}, RECT{1920, 0, 3200, 1024}, 96};
const Monitor kLeft{RECT{-1280, 0, 0, 1024}, RECT{-1280, 0, 0, 984}, 96};
const Monitor kAbove{RECT{0, -1200, 1600, 0}, RECT{0, -1200, 1600, 0}, 96};

bool inside(const CRect& inner, const CRect& outer) {
    CRect both;
    return both.IntersectRect(&inner, &outer) && both == inner;
}

struct AreaCase {
    const char* name;
    POINT at;
    RECT screen;
};

class ScreenArea : public DockingTest, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(ScreenArea, IsTheMonitorThatHoldsThePointOrTheNearest) {
    pal::test::setMonitors({kPrimary, kRight, kLeft, kAbove});
    const AreaCase& c = GetParam();
    EXPECT_EQ(CXTPMultiMonitor::GetScreenArea(c.at), CRect(c.screen));
    EXPECT_EQ(CXTPMultiMonitor::GetScreenArea(CRect(c.at, CSize(1, 1))), CRect(c.screen));
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, ScreenArea,
    ::testing::Values(AreaCase{"Primary", {100, 100}, kPrimary.rect}, AreaCase{"Right", {2000, 500}, kRight.rect},
                      AreaCase{"Left", {-500, 10}, kLeft.rect}, AreaCase{"Above", {800, -5}, kAbove.rect},
                      AreaCase{"FarLeft", {-9000, 500}, kLeft.rect}, AreaCase{"BelowAll", {100, 5000}, kPrimary.rect}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DockingTest, TheScreenAreaOfAWindowIsItsMonitors) {
    pal::test::setMonitors({kPrimary, kLeft});
    Site* site = makeSite(CRect(-1000, 100, -400, 500));
    EXPECT_EQ(CXTPMultiMonitor::GetScreenArea(site), CRect(kLeft.rect));
    EXPECT_EQ(CXTPMultiMonitor::GetWorkArea(site->m_hWnd), CRect(kLeft.work));
    EXPECT_EQ(CXTPMultiMonitor::GetScreenArea(static_cast<CWnd*>(nullptr)), CRect(kPrimary.rect));
}

struct FitCase {
    const char* name;
    RECT saved;
    RECT expected;
};

class FitToWorkArea : public DockingTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(FitToWorkArea, BringsARectangleOntoTheScreensAtItsSize) {
    pal::test::setMonitors({kPrimary, kLeft});
    EXPECT_EQ(CXTPMultiMonitor::FitToWorkArea(GetParam().saved), CRect(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FitToWorkArea,
    ::testing::Values(FitCase{"OnScreenStays", {100, 100, 400, 300}, {100, 100, 400, 300}},
                      FitCase{"OnTheLeftScreenStays", {-900, 50, -600, 250}, {-900, 50, -600, 250}},
                      FitCase{"HalfOffComesIn", {1800, 900, 2100, 1100}, {1620, 840, 1920, 1040}},
                      FitCase{"OnAGoneScreenMovesToTheNearest", {2500, 300, 2800, 500}, {1620, 300, 1920, 500}},
                      FitCase{"LargerThanTheScreenShrinks", {-50, -50, 5000, 5000}, {0, 0, 1920, 1040}},
                      FitCase{"NoSizeGetsTheLeast", {500, 500, 500, 500}, {500, 500, 540, 540}},
                      FitCase{"InsideOutGetsTheLeast", {500, 500, 300, 200}, {500, 500, 540, 540}},
                      FitCase{"FarAwayComesBack", {-2000000000, 100, -1999999000, 400}, {-1280, 100, -280, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoneCase {
    const char* name;
    Monitor second;
    RECT floating;
};

class ScreenGone : public DockingTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(ScreenGone, AFloatingPaneComesBackOnARemainingScreenAtItsSize) {
    const GoneCase& c = GetParam();
    pal::test::setMonitors({kPrimary, c.second});
    Site* first = makeSite(CRect(100, 100, 1100, 800));
    first->manager->CreatePane(5, CRect(0, 0, 300, 200), xtpPaneDockLeft)->SetTitle(L"Variables");
    CXTPDockingPaneMiniWnd* mini = first->manager->FloatPane(first->manager->FindPane(5), c.floating);
    pump();
    ASSERT_EQ(mini->GetFloatingRect(), CRect(c.floating)) << "on the second screen it stays where it was put";
    const std::string xml = store(*first->manager);

    // The same layout with the second screen there keeps the place; with it gone, the pane
    // moves onto the primary one at its size.
    Site* same = makeSite(CRect(100, 100, 1100, 800));
    ASSERT_TRUE(load(*same->manager, xml));
    EXPECT_EQ(same->manager->GetLayout()->GetFloatingFrames().front()->GetFloatingRect(), CRect(c.floating));

    pal::test::setMonitors({kPrimary});
    Site* second = makeSite(CRect(100, 100, 1100, 800));
    ASSERT_TRUE(load(*second->manager, xml));
    pump();
    CXTPDockingPane* pane = second->manager->FindPane(5);
    ASSERT_TRUE(pane->IsFloating());
    CXTPDockingPaneMiniWnd* back = second->manager->GetLayout()->GetFloatingFrames().front();
    const CRect rc = back->GetFloatingRect();
    EXPECT_EQ(rc.Size(), CRect(c.floating).Size());
    EXPECT_TRUE(inside(rc, CRect(kPrimary.work))) << rc.left << "," << rc.top;
    CRect shown;
    back->GetWindowRect(&shown);
    EXPECT_EQ(shown, rc) << "the frame's window is there too";
    EXPECT_TRUE(back->IsWindowVisible());
    EXPECT_EQ(checkSane(*second->manager, second), "");
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenGone,
    ::testing::Values(GoneCase{"Right", kRight, {2400, 300, 2750, 700}}, GoneCase{"Left", kLeft, {-1100, 200, -800, 600}},
                      GoneCase{"Above", kAbove, {200, -900, 560, -500}},
                      GoneCase{"LeftAtItsEdge", kLeft, {-1280, 0, -880, 984}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DockingTest, ALayoutFromASmallMainWindowFitsAMaximisedOneAndBack) {
    Site* small = makeSite(CRect(200, 150, 900, 650));
    CXTPDockingPaneManager& m = *small->manager;
    m.CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    m.CreatePane(2, CRect(0, 0, 100, 180), xtpPaneDockBottom);
    m.FloatPane(m.CreatePane(3, CRect(0, 0, 200, 100), xtpPaneDockRight), CRect(700, 500, 1000, 800));
    pump();
    const std::string xml = store(m);

    Site* big = makeSite(CRect(0, 0, 1920, 1040));
    big->ShowWindow(SW_MAXIMIZE);
    ASSERT_TRUE(load(*big->manager, xml));
    pump();
    EXPECT_EQ(checkSane(*big->manager, big), "");
    CRect left;
    big->manager->FindPane(1)->GetTabbedContainer()->GetWindowRect(&left);
    EXPECT_EQ(left.Width(), 250) << "docked panes keep their size; the client takes the rest";
    const CRect floating = big->manager->GetLayout()->GetFloatingFrames().front()->GetFloatingRect();
    EXPECT_TRUE(inside(floating, CXTPMultiMonitor::GetWorkArea(floating)));

    // And a layout made for a large window into a small one: the client keeps room.
    big->manager->FindPane(1)->GetTabbedContainer()->SetDockingSize(1500);
    big->manager->RecalcFrameLayout();
    const std::string wide = store(*big->manager);
    Site* tiny = makeSite(CRect(300, 300, 700, 600));
    ASSERT_TRUE(load(*tiny->manager, wide));
    pump();
    EXPECT_EQ(checkSane(*tiny->manager, tiny), "");
    EXPECT_GE(tiny->clientRect().Width(), 32);
}

} // namespace
} // namespace dockingtest
