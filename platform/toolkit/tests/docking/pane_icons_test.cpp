// Panes show their icons, from the manager's image manager, before the captions of their tabs,
// in a tabbed group and on a side strip; a pane without an icon shows its caption alone.
#include "docking_fixture.h"

#include "pal/test/snapshot.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

#include <string_view>

namespace dockingtest {
namespace {

constexpr std::string_view kRedSquare =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<rect x="0" y="0" width="16" height="16" fill="#d02020"/></svg>)";
constexpr COLORREF kRed = RGB(0xd0, 0x20, 0x20);
constexpr int kIcon = 815;

// Whether the pictured rectangle holds the icon's colour somewhere.
bool showsRed(const pal::gdi::Surface& picture, CRect rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (picture.pixel(x, y) == kRed)
                return true;
    return false;
}

TEST_F(DockingTest, PanesShowTheirIconsBeforeTheirTabCaptions) {
    Site* site = makeSite(CRect(40, 40, 840, 600));
    CXTPDockingPaneManager& m = *site->manager;
    ASSERT_NE(m.GetImageManager(), nullptr);
    EXPECT_EQ(m.GetImageManager(), m.GetImageManager()) << "one image manager per manager";
    m.GetImageManager()->SetVectorIcon(
        CXTPImageManagerVectorImageHandle::CreateSvgHandle(kRedSquare.data(), kRedSquare.size()), kIcon);

    struct Case {
        int id;
        int icon;
        bool shown;
    };
    const Case cases[] = {{1029, kIcon, true}, {1031, 9999, false}, {1010, -1, false}};
    CXTPDockingPane* first = nullptr;
    for (const Case& c : cases) {
        CXTPDockingPane* pane = m.CreatePane(static_cast<UINT>(c.id), CRect(0, 0, 240, 100), xtpPaneDockLeft);
        pane->SetTitle(L"Notes");
        pane->SetIconID(c.icon);
        if (first != nullptr)
            m.AttachPane(pane, first);
        else
            first = pane;
    }
    pump();
    CXTPDockingPaneTabbedContainer* group = first->GetTabbedContainer();
    const std::vector<CRect> tabs = group->GetTabRects();
    ASSERT_EQ(tabs.size(), std::size(cases));
    const pal::gdi::Surface picture = pal::test::snapshot(group->m_hWnd, true);
    ASSERT_TRUE(pal::test::keepSnapshot(picture, "docking-pane-icons"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].id);
        EXPECT_EQ(m.GetPaneIcon(m.FindPane(cases[i].id)) != nullptr, cases[i].shown);
        EXPECT_EQ(showsRed(picture, tabs[i]), cases[i].shown);
        // The same caption: a tab with an icon is wider by the icon and its gap.
        EXPECT_EQ(tabs[i].Width() - tabs.back().Width(),
                  cases[i].shown ? CXTPDockingPaneManager::GetPaneIconSize() + 4 : 0);
    }

    // Collapsed to the bottom, the side strip's tabs show the icon too.
    m.DockPane(group, xtpPaneDockBottom);
    m.HidePane(group);
    pump();
    CXTPDockingPaneAutoHidePanel* strip = m.GetAutoHidePanel(xtpPaneDockBottom);
    ASSERT_NE(strip, nullptr);
    const auto stripTabs = strip->GetTabs();
    ASSERT_EQ(stripTabs.size(), std::size(cases));
    const pal::gdi::Surface side = pal::test::snapshot(strip->m_hWnd, true);
    EXPECT_TRUE(showsRed(side, stripTabs.front().first));
    EXPECT_FALSE(showsRed(side, stripTabs.back().first));
}

} // namespace
} // namespace dockingtest
