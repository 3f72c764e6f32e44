// The main frame's screens and modes, and the pane windows that move between frames, on the null
// display.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "frame/FrameState.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/Windows.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "frame_fixtures.h"
#include "frame_sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "panels/StatusLine.h"
#include "ribbon/FrameToolsApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

using frame_test::fixture;
using frame_test::loadState;
namespace XML = Dravik::UI::XML;

CWinApp application(L"Dravik");

class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    ~Application() override {
        for (auto& [id, window] : windows_)
            if (::IsWindow(window->m_hWnd))
                window->DestroyWindow();
    }
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
    CWnd* GetDrawMenuWindow(bool create) override { return window(1004, create); }
    CWnd* GetPropertiesWindow(bool create) override { return window(1007, create); }
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }
    std::vector<DefaultToolBarRow> toolBars{
        {L"Main", {}, 1000, true, 1, {57600, 57601, 57603}},
        {L"Draw", {}, 1065, true, 3, {1300, 1301, 1302}},
    };
    CWnd* existing(int id) const {
        const auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second.get();
    }

private:
    CWnd* window(int id, bool create) {
        auto& slot = windows_[id];
        if (!slot && create) {
            if (!parent_)
                parent_ = Dravik::UI::GetDockingPaneDummyWindow(true);
            slot = std::make_unique<Dravik::UI::DockingPaneChildWindow>();
            slot->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), parent_.get(), static_cast<UINT>(id));
        }
        return slot.get();
    }
    std::shared_ptr<CWnd> parent_;
    std::map<int, std::unique_ptr<CWnd>> windows_;
};

// A frame whose layouts cannot be saved.
class FrameWithoutLayoutNodes : public CMainFrame {
protected:
    std::shared_ptr<XML::Document> MakeLayoutNode(const wchar_t*) override { return nullptr; }
};

class FrameLayoutTest : public frame_test::FrameSandbox<Application> {
protected:
    CMainFrame* make() {
        CMainFrame* frame = CMainFrame::Create(*loadState("main_frame.xml"), true, true);
        if (frame != nullptr) {
            frame->ShowFirstTime();
            pal::test::pump();
        }
        return frame;
    }
};

struct Bars {
    bool menu, panel, tabbed, draw, panes, status, caption;
    bool operator==(const Bars&) const = default;
};

void PrintTo(const Bars& b, std::ostream* os) {
    *os << "{menu " << b.menu << ", panel " << b.panel << ", tabbed " << b.tabbed << ", draw " << b.draw
        << ", panes " << b.panes << ", status " << b.status << ", caption " << b.caption << "}";
}

// In ribbon mode the ribbon draws the caption itself: the frame's own caption is the ribbon's
// affair there and is not compared.
Bars barsOf(CMainFrame& frame) {
    CXTPCommandBars* bars = frame.GetCommandBars();
    auto visible = [](CXTPToolBar* bar) { return bar != nullptr && bar->IsVisible() != FALSE; };
    CXTPDockingPane* pane = frame.GetPaneManager().FindPane(1004);
    return Bars{visible(frame.GetRibbonCommandBars()->GetMenuBar()),
                visible(frame.GetSystemPanelToolBar()),
                visible(frame.GetTabbedMainToolBar() ? frame.GetTabbedMainToolBar()->GetToolBar() : nullptr),
                visible(bars->GetToolBar(1065)),
                pane != nullptr && !pane->IsClosed(),
                frame.GetStatusLine()->IsWindowVisible() != FALSE,
                frame.IsRibbonMode() ? false : (frame.GetStyle() & WS_CAPTION) != 0};
}

CRect windowRect(CMainFrame& frame) {
    CRect rect;
    frame.CWnd::GetWindowRect(&rect);
    return rect;
}

// Every move of the screen modes, in ribbon and classic mode. The first full screen keeps the
// menu (and outside ribbon mode the system panel and the tabbed bar) whichever mode it comes
// from; a later one comes back as it was left.
TEST_F(FrameLayoutTest, ScreenModesHideWhatTheirModeHidesAndBringBackWhatTheyLeft) {
    struct Step {
        int mode;
        Bars classic, ribbon;
        bool workbook;
    };
    const Bars windowed{true, true, true, true, true, true, true};
    const Bars windowedRibbon{true, false, false, true, true, true, false};
    const Bars clean{false, false, false, false, false, false, false};
    const Step steps[] = {
        // From clean screen to a first full screen: the kept bars show again.
        {2, clean, clean, true},
        {1,
         {true, true, true, false, false, false, false},
         {true, false, false, false, false, false, false},
         false},
        {0, windowed, windowedRibbon, false},
        {2, clean, clean, true},
        {0, windowed, windowedRibbon, false},
        // Full screen left with the drawing bar shown by hand comes back so.
        {1,
         {true, true, true, false, false, false, false},
         {true, false, false, false, false, false, false},
         false},
    };
    for (const bool ribbon : {false, true}) {
        SCOPED_TRACE(ribbon ? "ribbon mode" : "classic mode");
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        frame->SetRibbonMode(ribbon);
        frame->GetPaneManager().ShowPane(1004, FALSE);
        frame->SetWorkbookMode(false);
        const CRect normal = windowRect(*frame);
        for (const Step& step : steps) {
            SCOPED_TRACE("to screen mode " + std::to_string(step.mode));
            ASSERT_TRUE(frame->SetScreenMode(step.mode));
            pal::test::pump();
            EXPECT_EQ(frame->GetScreenMode(), step.mode);
            EXPECT_EQ(barsOf(*frame), ribbon ? step.ribbon : step.classic);
            EXPECT_EQ(frame->IsWorkbookMode(), step.workbook) << "clean screen restores the workbook state";
            EXPECT_EQ(windowRect(*frame), step.mode == 0 ? normal : CRect(0, 0, 1920, 1080));
            if (frame->GetTabClient() != nullptr && frame->GetTabClient()->IsAttached()) {
                EXPECT_EQ(frame->GetTabClient()->AreTabsHidden(), step.mode == 2);
            }
        }
        // The second full screen: the drawing bar shown while it lasted comes back with it.
        frame->GetCommandBars()->GetToolBar(1065)->SetVisible(TRUE);
        ASSERT_TRUE(frame->SetScreenMode(0));
        ASSERT_TRUE(frame->SetScreenMode(1));
        EXPECT_TRUE(barsOf(*frame).draw);
        ASSERT_TRUE(frame->SetScreenMode(0));
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(FrameLayoutTest, WhatCannotBeSwitchedChangesNothing) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    const Bars before = barsOf(*frame);
    for (const int mode : {-1, 3, 100}) {
        EXPECT_FALSE(frame->SetScreenMode(mode)) << mode;
        EXPECT_EQ(frame->GetScreenMode(), 0);
    }
    EXPECT_TRUE(frame->SetScreenMode(0)) << "the current mode is no switch";
    EXPECT_EQ(barsOf(*frame), before);

    // A layout that cannot be kept cancels the switch.
    auto* stuck = new FrameWithoutLayoutNodes;
    ASSERT_TRUE(stuck->CFrameWnd::Create(nullptr, L"", CMainFrame::kStyle));
    stuck->ApplyState(*loadState("main_frame.xml"), true, true);
    stuck->ShowFirstTime();
    pal::test::pump();
    const Bars stuckBefore = barsOf(*stuck);
    const CRect rect = windowRect(*stuck);
    for (const int mode : {1, 2}) {
        EXPECT_FALSE(stuck->SetScreenMode(mode)) << mode;
        EXPECT_EQ(stuck->GetScreenMode(), 0);
        EXPECT_EQ(barsOf(*stuck), stuckBefore);
        EXPECT_EQ(windowRect(*stuck), rect);
    }
}

// The analysis part of the ribbon shows the elements of the analysis ribbon in use; elements of
// every analysis ribbon, and the same ids outside the part, are left as they are.
TEST_F(FrameLayoutTest, TheAnalysisRibbonSwitchesBetweenItsTwoModes) {
    struct Case {
        int mode;
        bool force, result;
        int after;
    };
    const Case cases[] = {
        {1, false, false, 1}, // a new frame starts at 1
        {2, false, true, 2},  {2, false, false, 2}, {2, true, true, 2},    {1, true, true, 1},
        {0, true, false, 1},  {3, true, false, 1},  {-1, false, false, 1},
    };
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPRibbonBar* ribbon = frame->GetRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    auto* analysis = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->AddTab(L"Analysis"));
    auto* other = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->AddTab(L"Other"));
    ASSERT_TRUE(analysis != nullptr && other != nullptr);
    analysis->SetGUIDs({L"{034C0869-5691-4818-AF01-454EEB76F27E}"});
    auto group = [](Dravik::UI::RibbonTab* tab, const wchar_t* caption, int analysisId) {
        auto* made = dynamic_cast<Dravik::UI::RibbonGroup*>(tab->AddGroup(caption));
        made->SetAnalysisId(analysisId);
        return made;
    };
    Dravik::UI::RibbonGroup* strength = group(analysis, L"Strength", 1);
    Dravik::UI::RibbonGroup* motion = group(analysis, L"Motion", 2);
    Dravik::UI::RibbonGroup* common = group(analysis, L"Mesh", 0);
    Dravik::UI::RibbonGroup* outside = group(other, L"Elsewhere", 2);
    common->SetVisible(FALSE);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.force ? " forced" : ""));
        EXPECT_EQ(frame->SetAnalysisMode(c.mode, c.force), c.result);
        EXPECT_EQ(frame->GetAnalysisMode(), c.after);
        if (c.result) {
            EXPECT_EQ(strength->IsVisible() != FALSE, c.after == 1);
            EXPECT_EQ(motion->IsVisible() != FALSE, c.after == 2);
        }
        EXPECT_FALSE(common->IsVisible()) << "an element of every analysis ribbon keeps its state";
        EXPECT_TRUE(outside->IsVisible()) << "outside the analysis part nothing is filtered";
    }
    // A state the frame takes switches the ribbon's analysis part as the frame's own switch does.
    std::shared_ptr<MainFrameState> state = loadState("main_frame.xml");
    state->ribbonBar.reset();
    state->analysisMode = 2;
    frame->ApplyState(*state, false, false);
    EXPECT_EQ(frame->GetAnalysisMode(), 2);
    EXPECT_FALSE(strength->IsVisible());
    EXPECT_TRUE(motion->IsVisible()) << "the state's analysis ribbon";
}

// Outside ribbon mode the classic auto menu shows as the frame's setting says, and the fixed
// bars take part in the layout: a person may close them and finds them in the bars' menu.
TEST_F(FrameLayoutTest, RibbonModeDecidesTheClassicAutoMenuAndWhetherTheFixedBarsTakePart) {
    struct Case {
        bool ribbon, showClassicAutoMenu, autoMenuShown;
    };
    const Case cases[] = {
        {false, true, true},
        {false, false, false},
        {true, true, false},
        {true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ribbon ? "ribbon" : "classic") +
                     (c.showClassicAutoMenu ? ", auto menu wanted" : ", auto menu not wanted"));
        std::shared_ptr<MainFrameState> state = loadState("main_frame.xml");
        state->showClassicAutoMenu = c.showClassicAutoMenu;
        CMainFrame* frame = CMainFrame::Create(*state, true, true);
        ASSERT_NE(frame, nullptr);
        frame->ShowFirstTime();
        frame->SetRibbonMode(c.ribbon);
        pal::test::pump();
        ASSERT_NE(frame->GetAutoMenuToolBar(), nullptr);
        EXPECT_EQ(frame->GetAutoMenuToolBar()->IsVisible() != FALSE, c.autoMenuShown);
        CXTPToolBar* fixed[] = {frame->GetSystemPanelToolBar(), frame->GetTabbedMainToolBar()->GetToolBar(),
                                frame->GetRememberedToolBar(1065)};
        for (CXTPToolBar* bar : fixed) {
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(bar->IsCloseable() != FALSE, !c.ribbon) << bar->GetBarID();
            EXPECT_EQ(bar->IsContextMenuPresent() != FALSE, !c.ribbon) << bar->GetBarID();
        }
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(FrameLayoutTest, APaneShownInASecondFrameTakesTheOneWindowFromTheFirst) {
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    CWnd* draw = app->existing(1004);
    ASSERT_NE(draw, nullptr) << "the first frame's documents browser made the window";
    CXTPDockingPane* firstPane = first->GetPaneManager().FindPane(1004);
    ASSERT_NE(firstPane, nullptr);
    EXPECT_EQ(firstPane->GetChildHwnd(), draw->m_hWnd);

    CMainFrame* second = first->Clone();
    ASSERT_NE(second, nullptr);
    second->ShowFirstTime();
    CXTPDockingPane* secondPane = second->GetPaneManager().FindPane(1004);
    ASSERT_NE(secondPane, nullptr);
    // Only the application's main frame takes pane windows.
    UIModuleProxy::Instance().MakeActiveMainFrame(first);
    second->AttachPaneWindow(secondPane);
    EXPECT_EQ(firstPane->GetChildHwnd(), draw->m_hWnd);

    UIModuleProxy::Instance().MakeActiveMainFrame(second);
    second->AttachPaneWindow(secondPane);
    EXPECT_EQ(secondPane->GetChildHwnd(), draw->m_hWnd);
    EXPECT_EQ(firstPane->GetChildHwnd(), nullptr) << "the window left the first frame's pane";

    // A window no frame holds yet goes straight into the pane.
    CXTPDockingPane* properties = second->GetPaneManager().FindPane(1007);
    if (properties == nullptr)
        properties = Dravik::UI::CreateDockingPane(&second->GetPaneManager(), 1007, L"Properties",
                                                   CRect(0, 0, 200, 200), xtpPaneDockLeft, nullptr);
    ASSERT_NE(properties, nullptr);
    second->AttachPaneWindow(properties);
    ASSERT_NE(app->existing(1007), nullptr);
    EXPECT_EQ(properties->GetChildHwnd(), app->existing(1007)->m_hWnd);
}

} // namespace
