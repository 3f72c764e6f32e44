// The picture of a frame with panes in the light and the dark theme: a left group of three
// tabs, a bottom group of two, a floating pane over the frame's corner and one collapsed to the
// right side. The pictures are saved (and kept for a person to look at).
#include "docking_fixture.h"

#include "pal/test/snapshot.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <ostream>

#include <cairo.h>

namespace dockingtest {
namespace {

int luminance(COLORREF c) {
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

struct ThemeCase {
    const char* name;
    const wchar_t* theme;
    bool dark;
};

void PrintTo(const ThemeCase& c, std::ostream* os) {
    *os << c.name;
}

class PaneSnapshot : public DockingTest, public ::testing::WithParamInterface<ThemeCase> {
protected:
    void TearDown() override {
        CXTPPaintManager::Current()->SetTheme(previous_.c_str());
        DockingTest::TearDown();
    }
    std::wstring previous_ = CXTPPaintManager::Current()->GetThemeName();
};

TEST_P(PaneSnapshot, LeftAndBottomGroupsAFloatingAndACollapsedPane) {
    const ThemeCase& c = GetParam();
    ASSERT_TRUE(CXTPPaintManager::Current()->SetTheme(c.theme));
    Site* site = makeSite(CRect(40, 40, 1040, 720));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* tree = m.CreatePane(1006, CRect(0, 0, 260, 100), xtpPaneDockLeft);
    tree->SetTitle(L"Model tree");
    CXTPDockingPane* docs = m.CreatePane(1004, CRect(0, 0, 200, 100), xtpPaneDockLeft);
    docs->SetTitle(L"Documents");
    docs->SetTabCaption(L"Documents");
    m.AttachPane(docs, tree);
    CXTPDockingPane* props = m.CreatePane(1007, CRect(0, 0, 200, 100), xtpPaneDockLeft);
    props->SetTitle(L"Properties");
    m.AttachPane(props, tree);
    CXTPDockingPane* errors = m.CreatePane(1005, CRect(0, 0, 200, 170), xtpPaneDockBottom);
    errors->SetTitle(L"Errors");
    CXTPDockingPane* vars = m.CreatePane(1017, CRect(0, 0, 200, 170), xtpPaneDockBottom);
    vars->SetTitle(L"Variables");
    m.AttachPane(vars, errors);
    CXTPDockingPane* layers = m.CreatePane(1031, CRect(0, 0, 200, 100), xtpPaneDockRight);
    layers->SetTitle(L"Layers");
    m.FloatPane(layers, CRect(760, 120, 1010, 380));
    CXTPDockingPane* macros = m.CreatePane(1010, CRect(0, 0, 220, 100), xtpPaneDockRight);
    macros->SetTitle(L"Macros");
    pump();
    macros->Hide();
    m.ShowPane(tree, TRUE);
    m.ShowPane(errors, FALSE);
    pump();

    // The frame with the floating frame drawn where it lies over it.
    CRect frameRect, floatRect;
    site->GetWindowRect(&frameRect);
    CXTPDockingPaneMiniWnd* mini = m.GetLayout()->GetFloatingFrames().front();
    mini->GetWindowRect(&floatRect);
    const pal::gdi::Surface frame = pal::test::snapshot(site->m_hWnd);
    const pal::gdi::Surface floating = pal::test::snapshot(mini->m_hWnd);
    ASSERT_TRUE(frame && floating);
    pal::gdi::Surface picture = pal::gdi::Surface::create(frame.width(), frame.height());
    cairo_t* cr = cairo_create(picture.get());
    cairo_set_source_surface(cr, frame.get(), 0, 0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, floating.get(), floatRect.left - frameRect.left,
                             floatRect.top - frameRect.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    const std::string file = std::string("docking-") + c.name + ".png";
    ASSERT_TRUE(pal::test::keepSnapshot(picture, file));

    // The theme's colours where the panes are.
    const XTP_THEME_COLORS& colours = CXTPPaintManager::Current()->GetColors();
    CXTPDockingPaneTabbedContainer* left = tree->GetTabbedContainer();
    CRect caption = left->GetCaptionRect();
    left->ClientToScreen(&caption);
    EXPECT_EQ(picture.pixel(caption.right - 50 - frameRect.left, caption.top + 2 - frameRect.top),
              colours.clrAccent)
        << "the container with the focus has the accent caption";
    // Its title stands out from that ground: the most different pixel of the caption's text.
    int strongest = 0;
    for (int y = caption.top + 4; y < caption.bottom - 4; ++y)
        for (int x = caption.left + 6; x < caption.left + 60; ++x)
            strongest =
                std::max(strongest, std::abs(luminance(picture.pixel(x - frameRect.left, y - frameRect.top)) -
                                             luminance(colours.clrAccent)));
    EXPECT_GE(strongest, 100) << "the title reads on the accent";
    CRect strip;
    m.GetAutoHidePanel(xtpPaneDockRight)->GetWindowRect(&strip);
    const COLORREF side =
        picture.pixel(strip.CenterPoint().x - frameRect.left, strip.bottom - 3 - frameRect.top);
    EXPECT_EQ(side, colours.clrBarFace);
    EXPECT_EQ(luminance(side) < 100, c.dark);
    ASSERT_EQ(left->GetTabRects().size(), 3u);
    CRect tab = left->GetTabRects().front();
    left->ClientToScreen(&tab);
    EXPECT_EQ(picture.pixel(tab.left + 3 - frameRect.left, tab.top + 3 - frameRect.top), colours.clrWindow)
        << "the selected tab";

    // The collapsed pane slid out over the client, beside its strip.
    m.ShowPane(macros, FALSE);
    pump();
    const pal::gdi::Surface slid = pal::test::snapshot(site->m_hWnd);
    const std::string slidFile = std::string("docking-") + c.name + "-slid.png";
    ASSERT_TRUE(pal::test::keepSnapshot(slid, slidFile));
    CRect fly;
    macros->GetTabbedContainer()->GetWindowRect(&fly);
    EXPECT_EQ(fly.right, strip.left);
    EXPECT_EQ(fly.Width(), 220);
    EXPECT_EQ(slid.pixel(fly.CenterPoint().x - frameRect.left, fly.bottom - 4 - frameRect.top),
              colours.clrWindow)
        << "the pane lies over the client";
}

// Down the side strips the captions of collapsed panes are turned to run along the side, not
// stacked a letter to a line.
TEST_F(DockingTest, AutoHideTabsTurnTheirCaptionsAlongTheSide) {
    Site* site = makeSite(CRect(40, 40, 840, 560));
    CXTPDockingPaneManager& m = *site->manager;
    const struct {
        int id;
        const wchar_t* title;
        XTPDockingPaneDirection side;
    } panes[] = {{1010, L"Macros", xtpPaneDockRight},
                 {1017, L"Variables", xtpPaneDockRight},
                 {1006, L"Model tree", xtpPaneDockLeft}};
    for (const auto& p : panes)
        m.CreatePane(p.id, CRect(0, 0, 200, 100), p.side)->SetTitle(p.title);
    pump();
    for (const auto& p : panes)
        m.FindPane(p.id)->Hide();
    pump();
    const pal::gdi::Surface shot = pal::test::snapshot(site->m_hWnd, true);
    ASSERT_TRUE(pal::test::keepSnapshot(shot, "docking-auto-hide.png"));
    CPoint origin(0, 0);
    site->ClientToScreen(&origin);
    int tabsSeen = 0;
    for (XTPDockingPaneDirection side : {xtpPaneDockLeft, xtpPaneDockRight}) {
        CXTPDockingPaneAutoHidePanel* panel = m.GetAutoHidePanel(side);
        ASSERT_NE(panel, nullptr);
        for (auto [tab, pane] : panel->GetTabs()) {
            ++tabsSeen;
            panel->ClientToScreen(&tab);
            tab.OffsetRect(-origin.x, -origin.y);
            const COLORREF fill = shot.pixel(tab.left + 2, tab.top + 2);
            CRect ink(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
            for (int y = tab.top + 2; y < tab.bottom - 2; ++y)
                for (int x = tab.left + 2; x < tab.right - 2; ++x)
                    if (shot.pixel(x, y) != fill) {
                        ink.left = std::min<LONG>(ink.left, x);
                        ink.top = std::min<LONG>(ink.top, y);
                        ink.right = std::max<LONG>(ink.right, x + 1);
                        ink.bottom = std::max<LONG>(ink.bottom, y + 1);
                    }
            ASSERT_LT(ink.left, ink.right) << "the caption of " << CStringA(pane->GetTitle()).GetString();
            EXPECT_GT(ink.Height(), 3 * ink.Width()) << "a run along the side";
            EXPECT_LE(ink.Width(), 16) << "one line of text across the strip";
            EXPECT_LT(tab.Height(), pane->GetTitle().GetLength() * 13) << "shorter than a letter to a line";
        }
    }
    EXPECT_EQ(tabsSeen, 3);
}

INSTANTIATE_TEST_SUITE_P(Themes, PaneSnapshot,
                         ::testing::Values(ThemeCase{"light", L"msvs2015light", false},
                                           ThemeCase{"dark", L"msvs2015dark", true},
                                           ThemeCase{"officeLight", L"office2013light", false},
                                           ThemeCase{"officeWhite", L"office2016white", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace dockingtest
