// The picture of a main frame with its document tabs in two groups, in a light and a dark theme.
#include "../tabclient/tab_client_fixture.h"

#include "pal/sandbox.h"
#include "pal/test/snapshot.h"

namespace {

using toolkit_test::TabClientTest;

struct Look {
    const char* name;
    LPCWSTR theme;
};

void PrintTo(const Look& l, std::ostream* os) {
    *os << l.name;
}

class FrameSnapshotTest : public TabClientTest, public ::testing::WithParamInterface<Look> {
protected:
    void TearDown() override {
        CXTPPaintManager::Current()->SetTheme(L"office2013light");
        TabClientTest::TearDown();
    }
};

TEST_P(FrameSnapshotTest, TwoGroupsOfDocuments) {
    const Look& look = GetParam();
    ASSERT_TRUE(CXTPPaintManager::Current()->SetTheme(look.theme));
    tabs.RefreshTheme();
    tabs.EnableGroups();
    tabs.SetFlags(xtpWorkspaceShowCloseSelectedTab);
    open(4);
    ASSERT_TRUE(tabs.MoveToNewGroup(tabs.GetWorkspace(0)->GetItem(3), FALSE));
    tabs.MoveToWorkspace(tabs.GetWorkspace(0)->GetItem(2), tabs.GetWorkspace(1));
    run.pump();
    const auto png = pal::sandbox::root() / (std::string("frame-") + look.name + ".png");
    ASSERT_TRUE(pal::test::saveSnapshot(main->m_hWnd, png));
    if (const char* keep = std::getenv("DV_KEEP_SNAPSHOTS"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / png.filename(),
                                   std::filesystem::copy_options::overwrite_existing);

    const auto picture = pal::test::snapshot(tabs.m_hWnd, true);
    const XTP_TAB_COLORSET& c = tabs.GetPaintManager()->m_clrSet;
    for (int g = 0; g < 2; ++g) {
        CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(g);
        const CRect selected = ws->GetSelectedItem()->GetRect();
        // The selected tab's face, and paper where each group's document shows.
        EXPECT_EQ(picture.pixel(selected.left + 3, selected.CenterPoint().y),
                  g == 1 ? c.clrTabSelected : c.clrTabSelectedInactive);
        const CRect client = ws->GetClientRect();
        EXPECT_EQ(picture.pixel(client.left + 4, client.top + 4), toolkit_test::SheetView::paper);
    }
    const CRect splitter = tabs.GetWorkspace(0)->GetSplitterRect();
    EXPECT_EQ(picture.pixel(splitter.CenterPoint().x, splitter.CenterPoint().y), c.clrBorder);
}

const Look kLooks[] = {{"light", L"office2013light"}, {"dark", L"office2016black"}};
INSTANTIATE_TEST_SUITE_P(Themes, FrameSnapshotTest, ::testing::ValuesIn(kLooks));

} // namespace
