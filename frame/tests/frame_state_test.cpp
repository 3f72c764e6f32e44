#include "frame/FrameState.h"
#include "frame_fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using frame_test::fixture;
namespace XML = Dravik::UI::XML;

XML::Document parse(const char* text) {
    XML::Document document;
    EXPECT_TRUE(document.loadString(text)) << text;
    return document;
}

class FrameState : public ::testing::Test {
protected:
    void SetUp() override {
        XML::SetProduct(-1);
        XML::SetMode(0);
    }
    void TearDown() override {
        XML::SetProduct(-1);
        XML::SetMode(0);
    }
};

struct PaneCase {
    const wchar_t* text;
    std::uint32_t mask;
};

TEST_F(FrameState, PdmPaneTokensReadAsAValueSet) {
    const PaneCase cases[] = {
        {L"all", 255},
        {L"!mail", 255 & ~32u},
        {L"files,!files", 0},
        {L"", 0},
        {L"desktop, search", 4 | 16},
        {L"all,!assembly", 255 & ~2u},
        {L"!all", 0},
        {L"files,printer", 1}, // unknown tokens are ignored
        {L"configurationSettings,libraryElements", 64 | 128},
    };
    for (const PaneCase& c : cases)
        EXPECT_EQ(ParsePdmPanes(c.text), c.mask) << std::wstring(c.text).size();
}

TEST_F(FrameState, PdmPanesAreWrittenInTableOrder) {
    EXPECT_EQ(PdmPanesToText(0), L"");
    EXPECT_EQ(PdmPanesToText(32 | 1 | 128), L"files,mail,libraryElements");
    EXPECT_EQ(PdmPanesToText(255),
              L"files,assembly,desktop,nomenclature,search,mail,configurationSettings,libraryElements");
    for (std::uint32_t mask : {0u, 3u, 36u, 255u})
        EXPECT_EQ(ParsePdmPanes(PdmPanesToText(mask)), mask);
}

TEST_F(FrameState, AnalysisModeKeepsUnknownTexts) {
    EXPECT_EQ(AnalysisModeToText(1), L"fea");
    EXPECT_EQ(AnalysisModeToText(2), L"dynamics");
    EXPECT_EQ(AnalysisModeToText(0), L"");
    EXPECT_EQ(AnalysisModeToText(7), L"");
    EXPECT_EQ(ParseAnalysisMode(L"fea", 2), 1);
    EXPECT_EQ(ParseAnalysisMode(L"dynamics", 1), 2);
    EXPECT_EQ(ParseAnalysisMode(L"FEA", 2), 2);
    EXPECT_EQ(ParseAnalysisMode(L"", 2), 2);
}

struct ViewCase {
    std::uint32_t tag;
    const wchar_t* text; // null: not written
};

TEST_F(FrameState, ViewTypeTexts) {
    const ViewCase cases[] = {
        {0x7F000, nullptr},
        {0xFFF7F000, nullptr},
        {0xF000, L"cad"},
        {0x0000, L"!cad"},
        {0x1000, L"!3d,2d,!workplane"},
        {0x3000, L"!camera,2d,!workplane"},
        {0x5000, L"camera,2d,!workplane"},
        {0x6000, L"3d,!2d,!workplane"},
        {0x8000, L"!3d,!2d,workplane"},
        {0x1F000, L"cad,cam"},
        {0x61000, L"!3d,2d,!workplane,fea,optix"},
        {0x70000, L"!cad,cam,fea,optix"},
    };
    for (const ViewCase& c : cases) {
        const auto text = ViewTypesToText(c.tag);
        if (c.text == nullptr)
            EXPECT_FALSE(text.has_value()) << std::hex << c.tag;
        else
            EXPECT_EQ(text.value_or(L"<none>"), c.text) << std::hex << c.tag;
    }
}

TEST_F(FrameState, ResetGivesTheDefaults) {
    MainFrameState state;
    state.pdmPanes = 0;
    state.workbook = false;
    state.layouts = std::make_shared<XML::Document>();
    state.reset();
    EXPECT_EQ(state.pdmPanes, 3u);
    EXPECT_EQ(state.analysisMode, 1);
    EXPECT_EQ(state.showCommand, 1);
    EXPECT_FALSE(state.fullScreen);
    EXPECT_TRUE(state.workbook);
    EXPECT_TRUE(state.maximizeMdi);
    EXPECT_FALSE(state.minimizeRibbonInWindowedMode);
    EXPECT_TRUE(state.minimizeRibbonInFullScreenMode);
    EXPECT_TRUE(state.showClassicAutoMenu);
    EXPECT_TRUE(state.showDockingPaneTabCaptions);
    EXPECT_EQ(state.layouts, nullptr);
    EXPECT_TRUE(state.windowRect.empty());
}

TEST_F(FrameState, AFullElementIsRead) {
    XML::Document document;
    ASSERT_TRUE(document.loadFile(fixture("main_window.xml")));
    const auto state = LoadMainFrameState(document.root(), StateFormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->windowRect, (XML::WindowRect{10, 20, 810, 620}));
    EXPECT_EQ(state->showCommand, 3);
    EXPECT_FALSE(state->fullScreen);
    EXPECT_FALSE(state->workbook);
    EXPECT_FALSE(state->maximizeMdi);
    EXPECT_TRUE(state->minimizeRibbonInWindowedMode);
    EXPECT_FALSE(state->minimizeRibbonInFullScreenMode);
    EXPECT_FALSE(state->showClassicAutoMenu);
    EXPECT_FALSE(state->showDockingPaneTabCaptions);
    EXPECT_EQ(state->analysisMode, 2);
    EXPECT_EQ(state->pdmPanes, 4u | 32u);
    ASSERT_NE(state->menuBar, nullptr);
    EXPECT_EQ(state->menuBar->controls.size(), 1u);
    ASSERT_NE(state->ribbonBar, nullptr);
    ASSERT_EQ(state->toolBars.size(), 1u);
    EXPECT_EQ(state->toolBars[0].id, 59392);
    ASSERT_NE(state->layouts, nullptr);
    EXPECT_EQ(state->layouts->root().name(), L"codejock");
    EXPECT_TRUE(state->layouts->root().child(L"normalLayout"));
    EXPECT_TRUE(state->layouts->root().child(L"fullscreenLayout"));
}

TEST_F(FrameState, UnrecognisedValuesKeepTheFields) {
    const auto document = parse(R"(<mainWindow workbook="maybe" fullscreen="1" analysisMode="statics"
                                   orsaWindows="printer"/>)");
    const auto state = LoadMainFrameState(document.root(), StateFormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->workbook);
    EXPECT_TRUE(state->fullScreen);
    EXPECT_EQ(state->analysisMode, 1);
    EXPECT_EQ(state->pdmPanes, 0u); // the mask is cleared before the tokens are read
}

struct OldGroupCase {
    const char* version;
    int id;
    int expectedId;
    int expectedCode;
};

TEST_F(FrameState, OldRibbonGroupIdsBecomeCodesBefore16) {
    const OldGroupCase cases[] = {
        {"15.2", 10005, -1, 6},    {"15.9.9.9", 10000, -1, 32},    {"15.0", 10006, -1, 18},
        {"16.0", 10005, 10005, 0}, {"18.0.21.0", 10001, 10001, 0}, {"15.0", 10007, 10007, 0},
    };
    for (const OldGroupCase& c : cases) {
        const std::string text = std::string(R"(<mainWindow version=")") + c.version +
                                 R"("><ribbonBar><ribbonTab guid="{11111111-2222-3333-4444-555555555555}">)"
                                 R"(<ribbonGroup guid="{21111111-2222-3333-4444-555555555555}" id=")" +
                                 std::to_string(c.id) +
                                 R"("><button id="1065"/></ribbonGroup></ribbonTab>)"
                                 R"(</ribbonBar></mainWindow>)";
        const auto document = parse(text.c_str());
        const auto state = LoadMainFrameState(document.root(), StateFormatVersion, nullptr);
        ASSERT_NE(state, nullptr) << c.version;
        ASSERT_TRUE(state->ribbonBar && state->ribbonBar->tabs.size() == 1 &&
                    state->ribbonBar->tabs[0].groups.size() == 1)
            << c.version;
        const XML::RibbonGroup& group = state->ribbonBar->tabs[0].groups[0];
        EXPECT_EQ(group.id, c.expectedId) << c.version << " " << c.id;
        EXPECT_EQ(group.code, c.expectedCode) << c.version << " " << c.id;
    }
}

TEST_F(FrameState, AnElementThatDoesNotApplyGivesTheDefault) {
    XML::SetProduct(0); // 2D
    const auto defaults = std::make_shared<MainFrameState>();
    const auto other = parse(R"(<mainWindow editions="3d" workbook="false"/>)");
    EXPECT_EQ(LoadMainFrameState(other.root(), StateFormatVersion, defaults), nullptr);
    EXPECT_EQ(LoadMainFrameStateOrDefault(other.root(), StateFormatVersion, defaults), defaults);

    const auto later = parse(R"(<mainWindow version="19.0" workbook="false"/>)");
    EXPECT_EQ(LoadMainFrameState(later.root(), StateFormatVersion, defaults), nullptr);
    EXPECT_EQ(LoadMainFrameStateOrDefault(later.root(), StateFormatVersion, defaults), defaults);

    EXPECT_EQ(LoadMainFrameStateOrDefault(XML::Node(), StateFormatVersion, defaults), defaults);

    const auto own = parse(R"(<mainWindow editions="2d" workbook="false"/>)");
    const auto state = LoadMainFrameStateOrDefault(own.root(), StateFormatVersion, defaults);
    ASSERT_NE(state, defaults);
    EXPECT_FALSE(state->workbook);
}

TEST_F(FrameState, MergeTakesTheDefaultsBarsAndKeepsItsOwnFields) {
    const auto defaultsDocument = parse(R"(<mainWindow workbook="false" orsaWindows="all">
        <menuBar id="1"><button id="1001"/></menuBar>
        <toolBar id="59392"><button id="1300"/></toolBar>
        <toolBar id="59393"><button id="1301"/></toolBar></mainWindow>)");
    const auto defaults = LoadMainFrameState(defaultsDocument.root(), StateFormatVersion, nullptr);
    ASSERT_NE(defaults, nullptr);

    const auto ownDocument = parse(R"(<mainWindow orsaWindows="mail"><toolBar id="7"/></mainWindow>)");
    const auto state = LoadMainFrameState(ownDocument.root(), StateFormatVersion, defaults);
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->workbook);
    EXPECT_EQ(state->pdmPanes, 32u);
    EXPECT_EQ(state->menuBar, defaults->menuBar); // shared until one of them changes
    EXPECT_EQ(state->toolBars, defaults->toolBars);

    const auto bar = state->menuBar;
    state->merge(*state); // merging a state with itself changes nothing
    EXPECT_EQ(state->menuBar, bar);
}

TEST_F(FrameState, TheDefaultStateFileIsRead) {
    const auto state = LoadDefaultMainFrameState(fixture("state.xml").wstring());
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->pdmPanes, 1u);
    EXPECT_EQ(LoadDefaultMainFrameState(fixture("missing.xml").wstring()), nullptr);
}

TEST_F(FrameState, RibbonDefinitionsOfTheDefaultState) {
    XML::Document document;
    ASSERT_TRUE(document.loadFile(fixture("main_window.xml")));
    const auto defaults = LoadMainFrameState(document.root(), StateFormatVersion, nullptr);
    ASSERT_NE(defaults, nullptr);
    const wchar_t* tab = L"{11111111-2222-3333-4444-555555555555}";
    const wchar_t* group = L"{21111111-2222-3333-4444-555555555555}";
    ASSERT_NE(FindRibbonTabDefinition(defaults.get(), tab), nullptr);
    EXPECT_EQ(FindRibbonTabDefinition(defaults.get(), tab)->caption, L"Home");
    ASSERT_NE(FindRibbonGroupDefinition(defaults.get(), tab, group), nullptr);
    EXPECT_EQ(FindRibbonGroupDefinition(defaults.get(), tab, group)->caption, L"Edit");
    EXPECT_EQ(FindRibbonTabDefinition(defaults.get(), L""), nullptr);
    EXPECT_EQ(FindRibbonTabDefinition(defaults.get(), L"{00000000-0000-0000-0000-000000000000}"), nullptr);
    EXPECT_EQ(FindRibbonGroupDefinition(defaults.get(), tab, L""), nullptr);
    EXPECT_EQ(FindRibbonTabDefinition(nullptr, tab), nullptr);
}

} // namespace
