// Layout files that no program wrote: repeated and unknown ids, sizes and places out of every
// range, trees out of shape. Each loads into a layout in which every pane can be reached.
#include "docking_fixture.h"

#include "xtp/MultiMonitor.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <ostream>

#include <fstream>
#include <sstream>

namespace dockingtest {
namespace {

struct BadCase {
    const char* name;
    const char* file;
    bool loads;
    const char* layout; // as describe() gives it, floating places included
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class BadLayout : public DockingTest, public ::testing::WithParamInterface<BadCase> {};

std::string readFixture(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_P(BadLayout, LoadsIntoASaneLayout) {
    const BadCase& c = GetParam();
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    m.CreatePane(50, CRect(0, 0, 200, 100), xtpPaneDockRight)->SetTitle(L"Made by the program");
    pump();
    const std::string before = describe(m, true);
    EXPECT_EQ(
        load(m, readFixture(sourcePath(std::string("platform/toolkit/tests/docking/fixtures/") + c.file))),
        c.loads);
    pump();
    EXPECT_EQ(describe(m, true), c.loads ? std::string(c.layout) : before);
    EXPECT_EQ(checkSane(m, site), "");
    if (CXTPDockingPane* one = m.FindPane(1); one != nullptr && std::string(c.name) == "DuplicateIds") {
        EXPECT_EQ(one->GetTitle(), L"First") << "the first of two panes with one id is kept";
    }
    // Every pane can be shown and then lies on the screen with a size.
    for (CXTPDockingPane* pane : m.GetPaneList()) {
        m.ShowPane(pane, FALSE);
        pump();
        const CRect rc = pane->GetPaneWindowRect();
        EXPECT_GT(rc.Width(), 0) << pane->GetID();
        EXPECT_GT(rc.Height(), 0) << pane->GetID();
        CRect on;
        const CRect screen = CXTPMultiMonitor::GetScreenArea(rc);
        EXPECT_TRUE(on.IntersectRect(&rc, &screen)) << pane->GetID();
    }
    EXPECT_EQ(checkSane(m, site), "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadLayout,
    ::testing::Values(BadCase{"DuplicateIds", "duplicate_ids.xml", true, "S|([50!] [1*,2] C)"},
                      BadCase{"UnknownIds", "unknown_ids.xml", true, "S|([50!] S-([1*] C))"},
                      BadCase{"SizesOutOfRange", "sizes.xml", true,
                              "S|([50!] [1*] C [2*]) F[3*]@0,0,1920,1040 F[4*]@500,500,620,580"},
                      BadCase{"OffEveryScreen", "off_screen.xml", true,
                              "S|([50!] C) F[1*]@1620,840,1920,1040 F[2*]@0,0,648,648 F[3*]@0,0,120,80"},
                      BadCase{"TreeOutOfShape", "shapes.xml", true,
                              "S|([50!] [2!,5!] S|([1*]^0 C [3*])) F[4*]@100,100,400,300"},
                      BadCase{"NoClient", "no_client.xml", true, "S|([50!] [1*] C)"},
                      BadCase{"NotXml", "not_xml.xml", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DockingTest, ATreeNestedBeyondReasonIsCutOff) {
    std::string xml =
        "<DockingPaneLayout><Panes><Pane ID=\"1\" Title=\"Deep\"/></Panes><Tree Type=\"Splitter\">";
    for (int i = 0; i < 5000; ++i)
        xml += "<Node Type=\"Splitter\">";
    xml += "<Node Type=\"Tabbed\" Panes=\"1\"/>";
    for (int i = 0; i < 5000; ++i)
        xml += "</Node>";
    xml += "</Tree></DockingPaneLayout>";
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    ASSERT_TRUE(load(*site->manager, xml));
    pump();
    EXPECT_EQ(describe(*site->manager), "S|([1!] C)") << "the pane is kept, closed";
    EXPECT_EQ(checkSane(*site->manager, site), "");
}

} // namespace
} // namespace dockingtest
