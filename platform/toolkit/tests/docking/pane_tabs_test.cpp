// How a tabbed container lays out its tabs by the manager's tab layout, and the icons a manager
// shares with another.
#include "docking_fixture.h"

#include "xtp/ImageManager.h"
#include "xtp/TabManager.h"

#include <gtest/gtest.h>

namespace dockingtest {
namespace {

TEST_F(DockingTest, TheTabsOfAContainerFollowTheManagersTabLayout) {
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* first = m.CreatePane(1004, CRect(0, 0, 300, 140), xtpPaneDockLeft);
    first->SetTitle(L"Draw menu");
    for (auto [id, title] :
         {std::pair{1006, L"Model tree"}, std::pair{1007, L"Properties"}}) {
        CXTPDockingPane* pane = m.CreatePane(id, CRect(0, 0, 300, 140), xtpPaneDockLeft);
        pane->SetTitle(title);
        m.AttachPane(pane, first);
    }
    pump();
    CXTPDockingPaneTabbedContainer* container = first->GetTabbedContainer();
    ASSERT_NE(container, nullptr);
    CRect client;
    container->GetClientRect(&client);
    const int shared = (client.Width() - 4) / 3;

    struct Case {
        const char* name;
        XTPTabLayoutStyle layout;
        int fixedWidth;
        bool equal; // every tab as wide as the others
        int width;  // 0: not checked
    };
    const Case cases[] = {
        {"by caption", xtpTabLayoutAutoSize, 0, false, 0},
        {"size to fit", xtpTabLayoutSizeToFit, 0, true, shared},
        {"fixed", xtpTabLayoutFixed, 70, true, 70},
        {"fixed wider than the room", xtpTabLayoutFixed, 400, true, shared},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.GetTabPaintManager()->SetLayout(c.layout);
        m.GetTabPaintManager()->SetFixedTabWidth(c.fixedWidth);
        const std::vector<CRect> tabs = container->GetTabRects();
        ASSERT_EQ(tabs.size(), 3u);
        const bool equal = tabs[0].Width() == tabs[1].Width() && tabs[1].Width() == tabs[2].Width();
        EXPECT_EQ(equal, c.equal);
        if (c.width != 0) {
            EXPECT_EQ(tabs[0].Width(), c.width);
        }
        EXPECT_LE(tabs[2].right, client.right);
    }
}

TEST_F(DockingTest, AnImageManagerGivenToAnotherManagerIsSharedUntilBothLetGo) {
    auto first = std::make_unique<CXTPDockingPaneManager>();
    auto second = std::make_unique<CXTPDockingPaneManager>();
    CXTPImageManager* images = first->GetImageManager();
    ASSERT_NE(images, nullptr);
    EXPECT_NE(second->GetImageManager(), images) << "each manager has icons of its own";
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_TRUE(images->SetIcon(icon, 1004, CSize(16, 16)));
    second->SetImageManager(images);
    EXPECT_EQ(second->GetImageManager(), images);
    first.reset();
    ASSERT_NE(second->GetImageManager()->GetImage(1004, 16), nullptr) << "still held by the second";
}

} // namespace
} // namespace dockingtest
