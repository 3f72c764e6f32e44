// Panes a person drags by their captions and double-clicks: the targets shown while dragging,
// docking or tabbing on release over one, Ctrl keeping them away, double-clicks sending a pane
// back where it was, and the place kept across a restart. Everything here is mouse and key
// input on the null display.
#include "docking_fixture.h"

#include "pal/test/snapshot.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <ostream>

namespace dockingtest {
namespace {

constexpr int kTree = 1006, kErrors = 1005, kLayers = 1031, kProps = 1007;
// Model tree (with Properties as a tab) at the left, Errors below the client, Layers at the right.
constexpr const char* kStart = "S|(S-(S|([1006*,1007] C) [1005*]) [1031*])";

class DockDragTest : public DockingTest {
protected:
    Site* build() {
        site_ = makeSite(CRect(0, 0, 1200, 800));
        CXTPDockingPaneManager& m = *site_->manager;
        m.CreatePane(kTree, CRect(0, 0, 260, 100), xtpPaneDockLeft)->SetTitle(L"Model tree");
        CXTPDockingPane* props = m.CreatePane(kProps, CRect(0, 0, 260, 100), xtpPaneDockLeft);
        props->SetTitle(L"Properties");
        m.AttachPane(props, m.FindPane(kTree));
        m.CreatePane(kErrors, CRect(0, 0, 200, 170), xtpPaneDockBottom)->SetTitle(L"Errors");
        m.CreatePane(kLayers, CRect(0, 0, 220, 100), xtpPaneDockRight)->SetTitle(L"Layers");
        m.ShowPane(kTree, FALSE);
        pump();
        return site_;
    }
    CXTPDockingPaneManager& manager() { return *site_->manager; }

    // The middle of a pane's caption, on the screen.
    static CPoint caption(CXTPDockingPane* pane) {
        CXTPDockingPaneTabbedContainer* c = pane->GetTabbedContainer();
        CRect rc = c->GetCaptionRect();
        rc.right = c->GetPinButtonRect().left;
        c->ClientToScreen(&rc);
        return CPoint(rc.left + 40, rc.CenterPoint().y);
    }
    static CPoint middle(CXTPDockingPane* pane) {
        CRect rc;
        pane->GetTabbedContainer()->GetWindowRect(&rc);
        return rc.CenterPoint();
    }

    // A shown dock target by its name ("Dock frame left", "Dock pane centre", ...); empty when none.
    static CRect target(const wchar_t* name) {
        struct Find {
            const wchar_t* name;
            CRect rc;
        } find{name, CRect()};
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* f = reinterpret_cast<Find*>(param);
                wchar_t text[64] = {};
                ::GetWindowTextW(hwnd, text, 64);
                if (::IsWindowVisible(hwnd) && wcscmp(text, f->name) == 0) {
                    ::GetWindowRect(hwnd, &f->rc);
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&find));
        return find.rc;
    }

    // Presses on the pane's caption and drags it off (it floats), then over `over`.
    void dragOff(CXTPDockingPane* pane, CPoint over) {
        const CPoint from = caption(pane);
        pal::test::mouseDown(from);
        pump();
        pal::test::mouseMove(from + CSize(60, 60));
        pump();
        pal::test::mouseMove(over);
        pump();
    }

    Site* site_ = nullptr;
};

struct DropCase {
    const char* name;
    int dragged;
    int over;            // the pane the pointer goes over first (0: the frame's client)
    const wchar_t* onto; // the target let go on
    const char* layout;  // afterwards
};

void PrintTo(const DropCase& c, std::ostream* os) {
    *os << c.name;
}

class DropOnTarget : public DockDragTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropOnTarget, DocksWhereTheTargetSays) {
    const DropCase& c = GetParam();
    build();
    CXTPDockingPaneManager& m = manager();
    ASSERT_EQ(describe(m), kStart);
    const CPoint over = c.over != 0 ? middle(m.FindPane(c.over)) : site_->clientRect().CenterPoint();
    dragOff(m.FindPane(c.dragged), over);
    ASSERT_TRUE(m.FindPane(c.dragged)->IsFloating()) << "torn off by the drag";
    EXPECT_FALSE(target(L"Dock frame top").IsRectEmpty()) << "the frame's targets show while dragging";
    const CRect at = target(c.onto);
    ASSERT_FALSE(at.IsRectEmpty()) << "no target " << CStringA(c.onto).GetString();
    pal::test::mouseMove(at.CenterPoint());
    pump();
    EXPECT_FALSE(target(L"Dock place").IsRectEmpty()) << "the place the target stands for is outlined";
    pal::test::mouseUp(at.CenterPoint());
    pump();
    EXPECT_EQ(describe(m), c.layout);
    EXPECT_FALSE(m.FindPane(c.dragged)->IsFloating());
    EXPECT_TRUE(target(L"Dock frame top").IsRectEmpty()) << "the targets go with the drag";
    EXPECT_EQ(checkSane(m, site_), "");
}

INSTANTIATE_TEST_SUITE_P(
    Targets, DropOnTarget,
    ::testing::Values(
        DropCase{"FrameLeft", kLayers, 0, L"Dock frame left", "S|([1031*] S-(S|([1006*,1007] C) [1005*]))"},
        DropCase{"FrameRight", kTree, 0, L"Dock frame right", "S|(S-(C [1005*]) [1031*] [1006*,1007])"},
        DropCase{"FrameTop", kLayers, 0, L"Dock frame top", "S-([1031*] S|([1006*,1007] C) [1005*])"},
        DropCase{"FrameBottom", kLayers, 0, L"Dock frame bottom", "S-(S|([1006*,1007] C) [1005*] [1031*])"},
        DropCase{"PaneLeft", kLayers, kErrors, L"Dock pane left",
                 "S-(S|([1006*,1007] C) S|([1031*] [1005*]))"},
        DropCase{"PaneRight", kLayers, kErrors, L"Dock pane right",
                 "S-(S|([1006*,1007] C) S|([1005*] [1031*]))"},
        DropCase{"PaneTop", kLayers, kTree, L"Dock pane top", "S-(S|(S-([1031*] [1006*,1007]) C) [1005*])"},
        DropCase{"PaneBottom", kErrors, kTree, L"Dock pane bottom",
                 "S|(S|(S-([1006*,1007] [1005*]) C) [1031*])"},
        DropCase{"PaneCentre", kLayers, kErrors, L"Dock pane centre", "S-(S|([1006*,1007] C) [1005,1031*])"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DockDragTest, CtrlKeepsTheTargetsAwayAndThePaneFloats) {
    build();
    CXTPDockingPaneManager& m = manager();
    pal::test::keyDown(VK_CONTROL);
    dragOff(m.FindPane(kLayers), site_->clientRect().CenterPoint());
    EXPECT_TRUE(target(L"Dock frame left").IsRectEmpty());
    // Where the frame's left target would be.
    CRect area;
    site_->view.GetWindowRect(&area);
    const CPoint left(area.left - 260 + 20, area.CenterPoint().y);
    pal::test::mouseMove(left);
    pump();
    pal::test::mouseUp(left);
    pump();
    pal::test::keyUp(VK_CONTROL);
    pump();
    EXPECT_TRUE(m.FindPane(kLayers)->IsFloating());
    const std::string docked = "S-(S|([1006*,1007] C) [1005*])";
    EXPECT_EQ(describe(m).substr(0, docked.size()), docked) << "the others as they were";
}

struct BackCase {
    const char* name;
    int pane;
};

void PrintTo(const BackCase& c, std::ostream* os) {
    *os << c.name;
}

class DoubleClickBack : public DockDragTest, public ::testing::WithParamInterface<BackCase> {};

// Floated by a double-click (or dragged off and let go anywhere), a pane docks back where it lay
// by a double-click on its floating caption, and floats again where it floated.
TEST_P(DoubleClickBack, FloatsAndDocksBackWhereItWas) {
    build();
    CXTPDockingPaneManager& m = manager();
    CXTPDockingPane* pane = m.FindPane(GetParam().pane);
    m.ShowPane(pane, FALSE);
    pump();
    const std::string docked = describe(m);

    pal::test::doubleClick(caption(pane));
    pump();
    ASSERT_TRUE(pane->IsFloating());
    // Moved by its caption to somewhere without a target.
    const CPoint from = caption(pane);
    pal::test::mouseDown(from);
    pump();
    pal::test::mouseMove(from + CSize(15, 25));
    pump();
    pal::test::mouseUp(from + CSize(15, 25));
    pump();
    ASSERT_TRUE(pane->IsFloating());
    const CRect floated = pane->GetTabbedContainer()->GetContainer()->GetPaneWindowRect();

    pal::test::doubleClick(caption(pane));
    pump();
    EXPECT_FALSE(pane->IsFloating());
    EXPECT_EQ(describe(m), docked);

    pal::test::doubleClick(caption(pane));
    pump();
    ASSERT_TRUE(pane->IsFloating());
    EXPECT_EQ(pane->GetTabbedContainer()->GetContainer()->GetPaneWindowRect(), floated)
        << "it floats again where it floated";
    EXPECT_EQ(checkSane(m, site_), "");
}

INSTANTIATE_TEST_SUITE_P(Panes, DoubleClickBack,
                         ::testing::Values(BackCase{"LeftGroupTab", kProps},
                                           BackCase{"BelowTheClient", kErrors},
                                           BackCase{"RightOfEverything", kLayers}),
                         [](const auto& info) { return std::string(info.param.name); });

// The fault mended: a pane that was dragged off used to keep floating for good, its floating
// place coming back at every start. Now the saved layout keeps where it lay docked too.
TEST_F(DockDragTest, AFloatedPaneDocksBackAfterARestartAndStaysDocked) {
    build();
    dragOff(manager().FindPane(kLayers), CPoint(500, 300));
    pal::test::mouseUp(CPoint(500, 300));
    pump();
    ASSERT_TRUE(manager().FindPane(kLayers)->IsFloating());
    const std::string floating = store(manager());
    destroySite(site_);

    // The next start: the pane floats where it was left; a double-click docks it at the right.
    build();
    ASSERT_TRUE(load(manager(), floating));
    pump();
    ASSERT_TRUE(manager().FindPane(kLayers)->IsFloating());
    pal::test::doubleClick(caption(manager().FindPane(kLayers)));
    pump();
    EXPECT_EQ(describe(manager()), kStart);
    const std::string docked = store(manager());
    destroySite(site_);

    build();
    manager().FloatPane(manager().FindPane(kLayers), CRect(100, 100, 300, 300));
    ASSERT_TRUE(load(manager(), docked));
    pump();
    EXPECT_EQ(describe(manager()), kStart) << "docked again after the next start";
}

// The picture a person sees while dragging a pane over another: the frame's four targets, the
// cross over the pane below and the place the lit target stands for.
TEST_F(DockDragTest, SnapshotOfTheTargetsWhileDragging) {
    build();
    CXTPDockingPaneManager& m = manager();
    dragOff(m.FindPane(kLayers), middle(m.FindPane(kErrors)));
    const CRect right = target(L"Dock pane right");
    ASSERT_FALSE(right.IsRectEmpty());
    pal::test::mouseMove(right.CenterPoint());
    pump();

    CRect frameRect;
    site_->GetWindowRect(&frameRect);
    pal::gdi::Surface picture = pal::test::snapshot(site_->m_hWnd);
    ASSERT_TRUE(picture);
    cairo_t* cr = cairo_create(picture.get());
    // Above the frame in the order they lie: the floating pane, the outline, the targets.
    std::vector<HWND> above{m.GetLayout()->GetFloatingFrames().front()->m_hWnd};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t text[64] = {};
            ::GetWindowTextW(hwnd, text, 64);
            if (::IsWindowVisible(hwnd) && wcsncmp(text, L"Dock ", 5) == 0)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&above));
    std::stable_partition(above.begin() + 1, above.end(), [](HWND h) {
        wchar_t text[64] = {};
        ::GetWindowTextW(h, text, 64);
        return wcscmp(text, L"Dock place") == 0;
    });
    for (HWND h : above) {
        CRect rc;
        ::GetWindowRect(h, &rc);
        const pal::gdi::Surface part = pal::test::snapshot(h);
        cairo_set_source_surface(cr, part.get(), rc.left - frameRect.left, rc.top - frameRect.top);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    ASSERT_TRUE(pal::test::keepSnapshot(picture, "docking-targets.png"));
    EXPECT_EQ(above.size(), 1u + 1u + 4u + 5u) << "the floating pane, the outline and nine targets";
    pal::test::mouseUp(right.CenterPoint());
    pump();
}

} // namespace
} // namespace dockingtest
