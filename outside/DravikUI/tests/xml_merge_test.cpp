#include "xml_support.h"

namespace {

namespace XML = Dravik::UI::XML;
using Dravik::UI::MainFrameState;
using dvui::xmltest::fixture;
using dvui::xmltest::loadState;
using dvui::xmltest::XmlTest;

std::vector<int> idsOf(const std::vector<XML::Control>& controls) {
    std::vector<int> ids;
    for (const XML::Control& control : controls)
        ids.push_back(control.id);
    return ids;
}

std::vector<std::wstring> captionsOf(const std::vector<XML::RibbonTab>& tabs) {
    std::vector<std::wstring> captions;
    for (const XML::RibbonTab& tab : tabs)
        captions.push_back(tab.caption);
    return captions;
}

class XmlMerge : public XmlTest {
protected:
    void SetUp() override {
        XmlTest::SetUp();
        XML::SetProduct(1);
        ASSERT_TRUE(defaults.loadDefault(fixture("default.xml"), XML::FormatVersion));
        person = loadState("person.xml");
        person.merge(defaults);
    }
    MainFrameState defaults;
    MainFrameState person;
};

TEST_F(XmlMerge, TheDefaultIsTheFirstApplicableMainWindow) {
    ASSERT_TRUE(defaults.menuBar);
    EXPECT_EQ(defaults.menuBar->controls.at(0).caption, L"File") << "the 2D window does not apply to 3D";

    XML::SetProduct(0);
    MainFrameState twoD;
    ASSERT_TRUE(twoD.loadDefault(fixture("default.xml"), XML::FormatVersion));
    EXPECT_EQ(twoD.menuBar->controls.at(0).caption, L"only for 2D");
}

TEST_F(XmlMerge, ThePersonsControlsStayAsThePersonLeftThem) {
    const XML::RibbonTab& home = person.ribbonBar->tabs.at(0);
    // Added (37001), moved here from "Save" (1029) and hidden (1064, optional) as the person did;
    // 2044 is newer than the person's state and comes in after its neighbour of the default.
    EXPECT_EQ(idsOf(home.groups.at(0).controls),
              (std::vector<int>{1065, 1072, 1001, 2044, 1029, 1064, 37001}));
    EXPECT_TRUE(home.groups[0].controls[5].optional) << "an optional control the person hid stays hidden";
    EXPECT_EQ(idsOf(home.groups.at(1).controls), std::vector<int>{1093})
        << "the moved control is not put back";
    ASSERT_EQ(home.groups.size(), 3u);
    EXPECT_EQ(home.groups[2].caption, L"Copies") << "a group newer than the person's state is added";
}

TEST_F(XmlMerge, TabsNewerThanThePersonsStateComeInAndRemovedOnesStayAway) {
    EXPECT_EQ(captionsOf(person.ribbonBar->tabs),
              (std::vector<std::wstring>{L"Home", L"Sketch", L"New", L"Mine"}));
    const XML::RibbonTab& sketch = person.ribbonBar->tabs[1];
    EXPECT_TRUE(sketch.disabledByUser);
    EXPECT_EQ(idsOf(sketch.groups.at(0).controls), (std::vector<int>{1640, 1641}))
        << "a group named by GUID alone takes the default's definition";
    EXPECT_NE(person.ribbonBar->FindTabDefinition(L"{00000000-0000-0000-0000-00000000000D}"), nullptr)
        << "the removed tab can still be reset from the default's definitions";
}

TEST_F(XmlMerge, MenusMergeByCaptionAndToolBarsComeFromTheDefault) {
    ASSERT_TRUE(person.menuBar);
    EXPECT_EQ(idsOf(person.menuBar->controls.at(0).controls), (std::vector<int>{1001, 1065}))
        << "1029, which the person removed, is not put back";
    EXPECT_EQ(idsOf(person.menuBar->controls.at(1).controls), (std::vector<int>{57670, 2110}));
    EXPECT_EQ(person.toolBars, defaults.toolBars);
}

TEST_F(XmlMerge, AStateWithoutItsOwnDefinitionsSharesTheDefaults) {
    MainFrameState empty;
    empty.merge(defaults);
    EXPECT_EQ(empty.menuBar, defaults.menuBar);
    EXPECT_EQ(empty.ribbonBar, defaults.ribbonBar);

    // Merging copies before it changes: the shared default stays as it was.
    MainFrameState again = loadState("person.xml");
    const XML::RibbonBar before = *defaults.ribbonBar;
    again.merge(empty);
    EXPECT_EQ(*defaults.ribbonBar, before);
    EXPECT_NE(again.ribbonBar, defaults.ribbonBar);
}

TEST_F(XmlMerge, AStateOfTheCurrentVersionTakesNothingNew) {
    MainFrameState current = loadState("person.xml");
    current.ribbonBar->version = XML::FormatVersion;
    current.menuBar->version = XML::FormatVersion;
    current.merge(defaults);
    EXPECT_EQ(captionsOf(current.ribbonBar->tabs), (std::vector<std::wstring>{L"Home", L"Sketch", L"Mine"}));
    EXPECT_EQ(idsOf(current.menuBar->controls.at(1).controls), std::vector<int>{57670});
}

} // namespace
