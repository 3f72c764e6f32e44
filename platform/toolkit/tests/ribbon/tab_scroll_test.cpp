// A ribbon with more tabs than its width holds: arrows at the ends of the row and the mouse
// wheel over it reach every tab, and no tab is shown cut off.
#include "ribbon_fixture.h"

#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

namespace {

using toolkit_test::RibbonTest;

const wchar_t* const kMoreTabs[] = {L"Insert",   L"Design",  L"Layout",  L"References", L"Mailings",
                                    L"Review",   L"Drawing", L"Sheets",  L"Assembly",   L"Analysis",
                                    L"Settings", L"Tools",   L"Add-ins", L"Last tab"};

class TabScrollTest : public RibbonTest {
protected:
    void SetUp() override {
        RibbonTest::SetUp();
        for (const wchar_t* name : kMoreTabs)
            ribbon->AddTab(name);
        setRibbonWidth(900);
        ribbon->RecalcLayout();
        run.pump();
    }
    CXTPRibbonTab* last() const { return ribbon->GetTab(ribbon->GetTabCount() - 1); }
    // Every tab on show lies whole between the arrows.
    void expectWholeTabsBetweenTheArrows() const {
        const CRect back = ribbon->GetTabScrollButtonRect(FALSE),
                    forward = ribbon->GetTabScrollButtonRect(TRUE);
        for (int i = 0; i < ribbon->GetTabCount(); ++i) {
            const CRect rc = ribbon->GetTab(i)->GetRect();
            if (rc.IsRectEmpty())
                continue;
            EXPECT_GE(rc.left, back.right) << i;
            EXPECT_LE(rc.right, forward.left) << i;
        }
    }
};

TEST_F(TabScrollTest, TheLastTabIsReachedByTheArrowAndSelectedByAClick) {
    ASSERT_FALSE(ribbon->GetTabScrollButtonRect(TRUE).IsRectEmpty()) << "the tabs do not fit: arrows";
    EXPECT_TRUE(last()->GetRect().IsRectEmpty()) << "the last tab is not on show yet";
    expectWholeTabsBetweenTheArrows();
    ASSERT_TRUE(pal::test::keepSnapshot(ribbon->m_hWnd, "ribbon-narrow-tabs.png"));

    const CPoint forward = onScreen(ribbon->GetTabScrollButtonRect(TRUE).CenterPoint());
    int clicks = 0;
    for (; clicks < ribbon->GetTabCount() && last()->GetRect().IsRectEmpty(); ++clicks) {
        pal::test::click(forward);
        run.pump();
    }
    ASSERT_FALSE(last()->GetRect().IsRectEmpty()) << "after " << clicks << " clicks";
    EXPECT_TRUE(ribbon->GetTab(0)->GetRect().IsRectEmpty()) << "the first tabs scrolled away";
    expectWholeTabsBetweenTheArrows();
    const CRect lastAt = last()->GetRect();
    pal::test::click(forward);
    run.pump();
    EXPECT_EQ(last()->GetRect(), lastAt) << "no further than the last tab";
    ASSERT_TRUE(pal::test::keepSnapshot(ribbon->m_hWnd, "ribbon-narrow-tabs-end.png"));

    pal::test::click(onScreen(lastAt.CenterPoint()));
    run.pump();
    EXPECT_EQ(ribbon->GetSelectedTab(), last());

    // Wide enough again, every tab shows and the arrows go.
    setRibbonWidth(2400);
    ribbon->RecalcLayout();
    run.pump();
    EXPECT_TRUE(ribbon->GetTabScrollButtonRect(TRUE).IsRectEmpty());
    for (int i = 0; i < ribbon->GetTabCount(); ++i)
        EXPECT_FALSE(ribbon->GetTab(i)->GetRect().IsRectEmpty()) << i;
}

TEST_F(TabScrollTest, TheWheelOverTheRowScrollsItBothWays) {
    const CPoint row = onScreen(ribbon->GetTab(1)->GetRect().CenterPoint());
    for (int i = 0; i < ribbon->GetTabCount() && last()->GetRect().IsRectEmpty(); ++i) {
        pal::test::wheel(row, -WHEEL_DELTA);
        run.pump();
    }
    EXPECT_FALSE(last()->GetRect().IsRectEmpty()) << "turned towards the end";
    for (int i = 0; i < ribbon->GetTabCount() && ribbon->GetTab(0)->GetRect().IsRectEmpty(); ++i) {
        pal::test::wheel(row, 2 * WHEEL_DELTA);
        run.pump();
    }
    EXPECT_FALSE(ribbon->GetTab(0)->GetRect().IsRectEmpty()) << "and back to the first tab";

    // A tab out of view that is chosen (by its key tip, say) scrolls into the row.
    ASSERT_TRUE(last()->GetRect().IsRectEmpty());
    ASSERT_TRUE(ribbon->SetCurSel(ribbon->GetTabCount() - 1));
    run.pump();
    EXPECT_FALSE(last()->GetRect().IsRectEmpty());
    expectWholeTabsBetweenTheArrows();
}

} // namespace
