#include "xml_support.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"

#include <algorithm>
#include <sstream>

namespace {

namespace XML = Dravik::UI::XML;
using Dravik::UI::MainFrameState;
using dvui::xmltest::loadState;
using dvui::xmltest::XmlTest;

std::string written(const MainFrameState& state) {
    XML::Document document;
    state.store(document.resetRoot(XML::TagNames::MainWindow));
    return document.toString();
}

std::vector<int> idsOf(const std::vector<XML::Control>& controls) {
    std::vector<int> ids;
    for (const XML::Control& control : controls)
        ids.push_back(control.id);
    return ids;
}

TEST_F(XmlTest, ADefinitionReadsWhatItsElementsSay) {
    const MainFrameState state = loadState("full.xml");
    EXPECT_EQ(state.windowRect, (XML::WindowRect{10, 20, 1210, 920}));
    EXPECT_EQ(state.showCommand, 3);
    EXPECT_EQ(state.version, (Dravik::VersionNumber{18, 0, 21, 0}));

    ASSERT_TRUE(state.menuBar);
    ASSERT_EQ(state.menuBar->controls.size(), 2u);
    const XML::Control& file = state.menuBar->controls[0];
    EXPECT_EQ(file.caption, L"&File");
    EXPECT_EQ(idsOf(file.controls), (std::vector<int>{1065, 1064, 1001, 0, 1019}));
    EXPECT_TRUE(file.controls[2].beginGroup) << "a separator begins the group of the control after it";
    EXPECT_EQ(file.controls[2].caption, L"Open…");
    EXPECT_EQ(idsOf(file.controls[3].controls), (std::vector<int>{1743, 1744, 1745}))
        << "filled from its tool bar";
    const XML::Control& fileButton = state.menuBar->controls[1];
    ASSERT_NE(fileButton.findExtra(L"fileName"), nullptr);
    EXPECT_EQ(*fileButton.findExtra(L"fileName"), L"<Standard>bolt.grb");
    EXPECT_EQ(*fileButton.findExtra(L"anchor"), L"help");

    ASSERT_TRUE(state.ribbonBar);
    const XML::RibbonBar& ribbon = *state.ribbonBar;
    ASSERT_EQ(ribbon.tabs.size(), 3u);
    EXPECT_EQ(ribbon.tabs[0].guid, L"{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}");
    EXPECT_FALSE(ribbon.tabs[0].HasTags());
    EXPECT_TRUE(ribbon.tabs[1].HasTag(L"DATABASE"));
    EXPECT_TRUE(ribbon.tabs[1].disabledByUser);
    const XML::RibbonGroup& create = ribbon.tabs[0].groups[0];
    EXPECT_EQ(create.code, 32);
    EXPECT_TRUE(create.controls[1].optional);
    EXPECT_EQ(create.controls[1].tag, XML::TagNames::SplitButtonPopup);
    EXPECT_EQ(create.controls[1].since, (Dravik::VersionNumber{18, 0, 21, 0}));
    EXPECT_FALSE(create.controls[3].visible);
    EXPECT_EQ(create.controls[3].state, L"level");
    const XML::RibbonGroup& shared = ribbon.tabs[0].groups[1];
    EXPECT_FALSE(shared.hasControls);
    EXPECT_EQ(idsOf(shared.controls), std::vector<int>{9101})
        << "a group named by GUID alone takes its definition";
    EXPECT_EQ(idsOf(ribbon.quickAccess), (std::vector<int>{1029, 1001}));
    ASSERT_NE(ribbon.FindGroupDefinition(L"{29A47DB0-83AC-47B8-ACC9-EF364D9CD873}",
                                         L"{11111111-2222-3333-4444-666666666666}"),
              nullptr);

    ASSERT_EQ(state.toolBars.size(), 2u);
    EXPECT_EQ(state.toolBars[0].guid, L"{AEF7C36F-05A6-4166-A395-A6FB25CD0F3D}");
    EXPECT_FALSE(state.toolBars[0].visible);
    EXPECT_EQ(state.toolBars[0].kind, 6);
    ASSERT_TRUE(state.framelessToolBar);
    EXPECT_EQ(*state.framelessToolBar->controls[0].findExtra(L"viewTypes"), L"cad");
}

TEST_F(XmlTest, ADefinitionStoredAndReadAgainIsEqual) {
    const MainFrameState first = loadState("full.xml");
    const std::string text = written(first);

    XML::Document document;
    ASSERT_TRUE(document.loadString(text));
    MainFrameState second;
    ASSERT_TRUE(second.load(document.root(), XML::FormatVersion));
    EXPECT_EQ(second.windowRect, first.windowRect);
    EXPECT_EQ(second.showCommand, first.showCommand);
    ASSERT_TRUE(second.menuBar && second.ribbonBar);
    EXPECT_EQ(*second.menuBar, *first.menuBar);
    EXPECT_EQ(*second.ribbonBar, *first.ribbonBar);
    EXPECT_EQ(second.toolBars, first.toolBars);
    EXPECT_EQ(second.framelessToolBar, first.framelessToolBar);
    EXPECT_EQ(written(second), text) << "a second round writes the same text";
}

TEST_F(XmlTest, EditionAndModeFilterWhatIsRead) {
    XML::SetProduct(0); // 2D: the 3D/SE button of the File menu is left out
    XML::SetMode(2);    // and the full-screen bar stays, as only the viewer lacks it
    MainFrameState state = loadState("full.xml");
    EXPECT_EQ(idsOf(state.menuBar->controls[0].controls), (std::vector<int>{1065, 1001, 0, 1019}));
    EXPECT_EQ(state.toolBars.size(), 2u);

    XML::SetProduct(1);
    XML::SetMode(2);
    state = loadState("full.xml");
    EXPECT_EQ(idsOf(state.menuBar->controls[0].controls), (std::vector<int>{1065, 1001, 0, 1019}))
        << "3D is among its editions, but the mode is excluded";
    EXPECT_EQ(state.toolBars.size(), 2u);

    XML::SetMode(1);
    state = loadState("full.xml");
    EXPECT_EQ(idsOf(state.menuBar->controls[0].controls), (std::vector<int>{1065, 1064, 1001, 0, 1019}));
    EXPECT_EQ(state.toolBars.size(), 1u);
}

TEST_F(XmlTest, BadInputLoadsWhatIsValidAndLogsWhatIsSkipped) {
    dvlog::test::clearCapture();
    const MainFrameState state = loadState("bad.xml");

    ASSERT_TRUE(state.menuBar) << "an unreadable version falls back to the enclosing one";
    EXPECT_EQ(state.menuBar->version, XML::FormatVersion);
    const XML::Control& file = state.menuBar->controls.at(0);
    EXPECT_EQ(idsOf(file.controls), (std::vector<int>{1065, 1001, 0, 0}))
        << "controls without id, with a bad id or of an unknown tag are skipped";
    EXPECT_EQ(file.controls[1].iconId, -1);
    EXPECT_TRUE(file.controls[1].controls.empty());
    // Menu -> A -> B -> A: the menu's popup takes A's controls, in which B's controls stand, until
    // B's popup would lead back into A.
    ASSERT_EQ(file.controls[2].controls.size(), 1u);
    EXPECT_EQ(idsOf(file.controls[2].controls[0].controls), (std::vector<int>{0, 20}));
    EXPECT_TRUE(file.controls[2].controls[0].controls[0].controls.empty());
    EXPECT_TRUE(file.controls[3].controls.empty()) << "a popup naming no bar stays empty";

    ASSERT_TRUE(state.ribbonBar);
    ASSERT_EQ(state.ribbonBar->tabs.size(), 1u)
        << "a second Home, a bad GUID and a later version are skipped";
    EXPECT_EQ(state.ribbonBar->tabs[0].caption, L"Home");
    ASSERT_EQ(state.ribbonBar->tabs[0].groups.size(), 1u);
    EXPECT_EQ(idsOf(state.ribbonBar->tabs[0].groups[0].controls), std::vector<int>{1});

    std::vector<int> bars;
    for (const XML::ToolBar& bar : state.toolBars)
        bars.push_back(bar.id);
    EXPECT_EQ(bars, (std::vector<int>{2001, 2002}));
    // A -> B -> A: A's popup takes B's controls; B's popup, leading back to A, stays empty.
    const XML::Control& toB = state.toolBars[0].controls[0];
    ASSERT_EQ(idsOf(toB.controls), (std::vector<int>{0, 20}));
    EXPECT_TRUE(toB.controls[0].controls.empty());
    const XML::Control& toA = state.toolBars[1].controls[0];
    ASSERT_EQ(toA.controls.size(), 1u);
    EXPECT_TRUE(toA.controls[0].controls.empty());

    const std::vector<std::string> warnings = dvlog::test::capturedAt(DVLogWarning);
    const auto logged = [&](const std::string& part) {
        return std::count_if(warnings.begin(), warnings.end(),
                             [&](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_EQ(logged("<statusBar>"), 1);
    EXPECT_EQ(logged("no id"), 1);
    EXPECT_EQ(logged("the id is not a number"), 1);
    EXPECT_EQ(logged("<widget>"), 1);
    EXPECT_EQ(logged("holds controls"), 1);
    EXPECT_EQ(logged("the icon is not a number"), 1);
    EXPECT_EQ(logged("the version is not a version"), 1);
    EXPECT_EQ(logged("later format version"), 2);
    EXPECT_EQ(logged("same GUID"), 2);
    EXPECT_EQ(logged("neither GUID nor caption"), 2);
    EXPECT_EQ(logged("not a ribbon group"), 1);
    EXPECT_EQ(logged("a tool bar without id"), 1);
    EXPECT_EQ(logged("a second tool bar with the same id"), 1);
    EXPECT_EQ(logged("contains it"), 3);
    EXPECT_EQ(logged("does not exist"), 1);
}

TEST_F(XmlTest, ANestingBeyondTheLimitIsCut) {
    std::string text = "<mainWindow><menuBar>";
    for (int i = 0; i < 40; ++i)
        text += "<popup id=\"" + std::to_string(i + 1) + "\">";
    for (int i = 0; i < 40; ++i)
        text += "</popup>";
    text += "</menuBar></mainWindow>";
    XML::Document document;
    ASSERT_TRUE(document.loadString(text));
    dvlog::test::clearCapture();
    MainFrameState state;
    ASSERT_TRUE(state.load(document.root(), XML::FormatVersion));
    int depth = 0;
    for (const std::vector<XML::Control>* level = &state.menuBar->controls; !level->empty();
         level = &level->front().controls)
        ++depth;
    EXPECT_EQ(depth, 16);
    EXPECT_EQ(dvlog::test::capturedAt(DVLogWarning).size(), 1u);
}

} // namespace

namespace {

// Inputs the loader's fuzz target once found to read back differently from what was stored.
TEST_F(XmlTest, FuzzFindingsReadBackAsStored) {
    const std::vector<std::string> texts = {
        // A group whose only child is no control: read as giving no controls, and stored so.
        R"(<mainWindow><ribbonBar><ribbonTab caption="t"><ribbonGroup guid="{00000000-0000-0000-0000-000000000001}"
           caption="g"><unknown/></ribbonGroup></ribbonTab></ribbonBar></mainWindow>)",
        // A zero version, which the bars inherit and must not lose on the way back.
        R"(<mainWindow version="00.0.0.0"><menuBar><button id="1"/></menuBar><toolBar id="2"/></mainWindow>)",
    };
    for (const std::string& text : texts) {
        XML::Document document;
        ASSERT_TRUE(document.loadString(text));
        MainFrameState first;
        ASSERT_TRUE(first.load(document.root(), XML::FormatVersion));
        XML::Document stored;
        ASSERT_TRUE(stored.loadString(written(first)));
        MainFrameState second;
        ASSERT_TRUE(second.load(stored.root(), XML::FormatVersion));
        EXPECT_EQ(second.toolBars, first.toolBars) << text;
        ASSERT_EQ(second.menuBar == nullptr, first.menuBar == nullptr);
        if (first.menuBar) {
            EXPECT_EQ(*second.menuBar, *first.menuBar) << text;
        }
        ASSERT_EQ(second.ribbonBar == nullptr, first.ribbonBar == nullptr);
        if (first.ribbonBar) {
            EXPECT_EQ(*second.ribbonBar, *first.ribbonBar) << text;
        }
    }
}

} // namespace
