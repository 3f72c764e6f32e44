#include "frame/FrameStateHost.h"

#include "DVDiagnostics/test/hooks.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace XML = Dravik::UI::XML;

// A main window reduced to what its state touches.
class FakeFrame : public FrameStateHost {
public:
    bool visible = true;
    int screenMode = 0;
    bool refuseScreenMode = false;
    bool workbookMode = true;
    std::optional<bool> childMaximized;
    bool globalMaximize = true;
    bool tabCaptions = true;
    XML::WindowRect rect{0, 0, 640, 480};
    std::shared_ptr<XML::RibbonBar> ribbon; // the live ribbon, as a definition
    std::optional<XML::ToolBar> frameless;
    int large = 0; // the one layout value the fake exchanges
    std::vector<int> screenModesAsked;
    std::vector<int> analysisSwitches;
    int largeWhenStored = -1;
    int locks = 0;
    XML::WindowRect restoredRect;
    int restoredShow = -1;

    void LockLayout() override { ++locks; }
    void UnlockLayout() override { --locks; }
    bool IsVisible() const override { return visible; }
    int GetScreenMode() const override { return screenMode; }
    bool SetScreenMode(int mode) override {
        screenModesAsked.push_back(mode);
        if (refuseScreenMode)
            return false;
        // The layout follows the screen mode, as the live bars do.
        large = mode == 0 ? 1 : 0;
        screenMode = mode;
        return true;
    }
    bool IsWorkbookMode() const override { return workbookMode; }
    void SetWorkbookMode(bool on) override { workbookMode = on; }
    std::optional<bool> IsActiveChildMaximized() const override { return childMaximized; }
    void MaximizeActiveChild(bool maximize) override {
        if (childMaximized)
            childMaximized = maximize;
    }
    bool GetGlobalMaximizeFlag() const override { return globalMaximize; }
    void SetGlobalMaximizeFlag(bool maximize) override { globalMaximize = maximize; }
    bool AreDockingPaneTabCaptionsVisible() const override { return tabCaptions; }
    void ShowDockingPaneTabCaptions(bool show) override { tabCaptions = show; }
    void ApplyRibbonDefinition(const XML::RibbonBar& definition) override {
        ribbon = std::make_shared<XML::RibbonBar>(definition);
    }
    void SwitchAnalysisMode(int mode) override { analysisSwitches.push_back(mode); }
    void SaveRibbon(XML::Node element) override {
        if (ribbon)
            ribbon->store(element);
    }
    bool SaveFramelessToolBar(XML::Node element) override {
        if (!frameless)
            return false;
        frameless->store(element);
        return true;
    }
    void ExchangeLayout(CXTPPropExchange* exchange, bool controls, bool layout) override {
        EXPECT_TRUE(controls);
        CXTPPropExchangeSection options(exchange, L"Options");
        PX_Int(&*options, L"Large", large, 0);
        if (exchange->IsStoring())
            largeWhenStored = large;
    }
    XML::WindowRect GetWindowRect() const override { return rect; }
    void RestoreWindowPlacement(const XML::WindowRect& placed, int show) override {
        restoredRect = placed;
        rect = placed;
        restoredShow = show;
    }
};

XML::RibbonBar sampleRibbon() {
    XML::Document document;
    EXPECT_TRUE(document.loadString(R"(<ribbonBar version="18.0.21.0">
        <ribbonTab guid="{11111111-2222-3333-4444-555555555555}" caption="Home">
        <ribbonGroup guid="{21111111-2222-3333-4444-555555555555}" caption="Edit">
        <button id="1065"/><button id="1064" caption="Cut"/></ribbonGroup></ribbonTab></ribbonBar>)"));
    XML::RibbonBar ribbon;
    EXPECT_TRUE(ribbon.load(document.root(), StateFormatVersion));
    return ribbon;
}

std::shared_ptr<XML::Document> fullScreenLayout(int large) {
    auto document = std::make_shared<XML::Document>();
    document->resetRoot(L"fullscreenLayout")
        .appendChild(L"Options")
        .setAttribute(L"Large", std::to_wstring(large));
    return document;
}

TEST(FrameStateHost, WrittenThenReadGivesAnEqualState) {
    FakeFrame frame;
    frame.ribbon = std::make_shared<XML::RibbonBar>(sampleRibbon());
    frame.frameless = XML::ToolBar{};
    frame.frameless->id = 5;
    frame.pdmPanes = 4 | 32;
    frame.analysisMode = 2;
    frame.minimizeRibbonInWindowedMode = true;
    frame.minimizeRibbonInFullScreenMode = false;
    frame.showClassicAutoMenu = false;
    frame.tabCaptions = false;
    frame.workbookMode = false;
    frame.childMaximized = false;
    frame.showCommand = 3;
    frame.rect = {10, 20, 810, 620};
    frame.large = 1;
    frame.fullScreenLayout = fullScreenLayout(7);

    XML::Document document;
    SaveXmlState(frame, document.resetRoot(XML::TagNames::MainWindow), true, true);
    const XML::Node element = document.root();
    EXPECT_EQ(element.attribute(L"orsaWindows").value_or(L"?"), L"desktop,mail");
    EXPECT_EQ(element.attribute(L"analysisMode").value_or(L"?"), L"dynamics");
    EXPECT_EQ(element.attribute(L"version").value_or(L"?"), L"18.0.21.0");
    EXPECT_FALSE(element.child(XML::TagNames::MenuBar));
    EXPECT_FALSE(element.child(XML::TagNames::ToolBar));
    EXPECT_TRUE(element.child(L"framelessToolBar"));
    EXPECT_TRUE(element.child(L"codejock").child(L"normalLayout"));
    EXPECT_TRUE(element.child(L"codejock").child(L"fullscreenLayout"));

    const auto state = LoadMainFrameState(element, StateFormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->pdmPanes, frame.pdmPanes);
    EXPECT_EQ(state->analysisMode, 2);
    EXPECT_FALSE(state->fullScreen);
    EXPECT_FALSE(state->workbook);
    EXPECT_FALSE(state->maximizeMdi);
    EXPECT_TRUE(state->minimizeRibbonInWindowedMode);
    EXPECT_FALSE(state->minimizeRibbonInFullScreenMode);
    EXPECT_FALSE(state->showClassicAutoMenu);
    EXPECT_FALSE(state->showDockingPaneTabCaptions);
    EXPECT_EQ(state->windowRect, frame.rect);
    EXPECT_EQ(state->showCommand, 3);
    ASSERT_NE(state->ribbonBar, nullptr);
    EXPECT_EQ(*state->ribbonBar, *frame.ribbon);
    ASSERT_TRUE(state->framelessToolBar.has_value());
    EXPECT_EQ(state->framelessToolBar->id, 5);

    // Applied to another frame, the state gives it the first frame's settings and layouts.
    FakeFrame other;
    ApplyState(other, *state, true, true);
    EXPECT_EQ(other.locks, 0);
    EXPECT_EQ(other.pdmPanes, frame.pdmPanes);
    EXPECT_EQ(other.analysisMode, 2);
    EXPECT_EQ(other.analysisSwitches, std::vector<int>{2});
    EXPECT_FALSE(other.workbookMode);
    EXPECT_FALSE(other.tabCaptions);
    EXPECT_FALSE(other.showClassicAutoMenu);
    EXPECT_EQ(other.large, 1);
    ASSERT_NE(other.ribbon, nullptr);
    EXPECT_EQ(*other.ribbon, *frame.ribbon);
    ASSERT_NE(other.fullScreenLayout, nullptr);
    EXPECT_EQ(other.fullScreenLayout->root().child(L"Options").attribute(L"Large").value_or(L""), L"7");
    EXPECT_EQ(other.restoredRect, frame.rect);
    EXPECT_EQ(other.restoredShow, 3);

    // And written again, it gives the same element.
    XML::Document again;
    SaveXmlState(other, again.resetRoot(XML::TagNames::MainWindow), true, true);
    EXPECT_EQ(again.toString(), [&] {
        other.frameless.reset();
        XML::Document copy;
        copy.assignCopy(element);
        copy.root().removeChild(copy.root().child(L"framelessToolBar"));
        return copy.toString();
    }());
}

TEST(FrameStateHost, TheNormalLayoutIsTakenInWindowedMode) {
    FakeFrame frame;
    frame.screenMode = 1;
    frame.large = 0; // the full-screen layout is showing
    XML::Document document;
    SaveXmlState(frame, document.resetRoot(XML::TagNames::MainWindow), true, true);
    EXPECT_EQ(frame.largeWhenStored, 1);
    EXPECT_EQ(frame.screenModesAsked, (std::vector<int>{0, 1}));
    EXPECT_EQ(frame.screenMode, 1);
    EXPECT_EQ(document.root().attribute(L"fullscreen").value_or(L""), L"true");
}

TEST(FrameStateHost, ARefusedSwitchWritesNoNormalLayout) {
    dvlog::test::clearCapture();
    FakeFrame frame;
    frame.screenMode = 2;
    frame.refuseScreenMode = true;
    frame.fullScreenLayout = fullScreenLayout(3);
    XML::Document document;
    SaveXmlState(frame, document.resetRoot(XML::TagNames::MainWindow), true, true);
    const XML::Node layouts = document.root().child(L"codejock");
    EXPECT_FALSE(layouts.child(L"normalLayout"));
    EXPECT_TRUE(layouts.child(L"fullscreenLayout"));
    EXPECT_EQ(frame.largeWhenStored, -1);
    EXPECT_EQ(frame.screenMode, 2);
    EXPECT_EQ(dvlog::test::capturedAt(6).size(), 1u);

    // Read back, the missing normal layout leaves the frame's own layout alone.
    const auto state = LoadMainFrameState(document.root(), StateFormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    FakeFrame other;
    other.large = 5;
    ApplyState(other, *state, false, true);
    EXPECT_EQ(other.large, 5);
}

TEST(FrameStateHost, AFullScreenStateOnAHiddenFrameKeepsItsScreenMode) {
    MainFrameState state;
    state.fullScreen = true;
    state.windowRect = {1, 2, 300, 400};
    FakeFrame frame;
    frame.visible = false;
    ApplyState(frame, state, true, true);
    EXPECT_EQ(frame.screenMode, 0);
    EXPECT_TRUE(frame.screenModesAsked.empty());
    EXPECT_EQ(frame.restoredShow, 0);

    FakeFrame shown;
    ApplyState(shown, state, true, true);
    EXPECT_EQ(shown.screenMode, 1);
    EXPECT_EQ(shown.restoredShow, 1);

    FakeFrame unplaced;
    ApplyState(unplaced, state, false, true);
    EXPECT_EQ(unplaced.screenMode, 0);
    EXPECT_EQ(unplaced.restoredShow, -1);
}

TEST(FrameStateHost, MaximiseAndAnalysisModeFollowTheState) {
    MainFrameState state;
    state.workbook = false;
    state.maximizeMdi = false;
    state.analysisMode = 1;
    FakeFrame frame;
    frame.analysisMode = 1;
    frame.childMaximized = true;
    ApplyState(frame, state, false, false);
    EXPECT_FALSE(frame.globalMaximize);
    EXPECT_EQ(frame.childMaximized, std::optional<bool>(false));
    EXPECT_TRUE(frame.analysisSwitches.empty()); // same mode, no ribbon definition

    state.workbook = true;
    state.maximizeMdi = true;
    state.analysisMode = 0; // not a mode: only a ribbon definition makes the switch
    FakeFrame tabbed;
    tabbed.childMaximized = false;
    tabbed.globalMaximize = false;
    ApplyState(tabbed, state, false, false);
    EXPECT_FALSE(tabbed.globalMaximize);
    EXPECT_TRUE(tabbed.analysisSwitches.empty());

    // With no active child the saved maximise flag is the one kept for the next child.
    XML::Document document;
    SaveXmlState(tabbed, document.resetRoot(XML::TagNames::MainWindow), false, false);
    EXPECT_EQ(document.root().attribute(L"maximizeMdi").value_or(L""), L"false");
    EXPECT_FALSE(document.root().hasAttribute(L"windowRect"));
    EXPECT_FALSE(document.root().hasAttribute(L"fullscreen"));
    EXPECT_EQ(document.root().attribute(L"orsaWindows").value_or(L"?"), L"files,assembly");
}

TEST(FrameStateHost, NoPdmPaneWritesAnEmptyList) {
    FakeFrame frame;
    frame.pdmPanes = 0;
    XML::Document document;
    SaveXmlState(frame, document.resetRoot(XML::TagNames::MainWindow), false, false);
    EXPECT_EQ(document.root().attribute(L"orsaWindows").value_or(L"?"), L"");
    EXPECT_FALSE(document.root().child(L"framelessToolBar"));
}

} // namespace
