// Pane contents: attached, attached again, moved between two main frames, detached, and gone
// before their pane or after it, with no window or pane left pointing at what is gone.
#include "DravikUI/DockingPane.h"
#include "DravikUI/Windows.h"

#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kVariablesPane = 1017;

// A pane's content that writes down what it hears, and draws its name in the theme.
class Host : public Dravik::UI::DockingPaneChildWindow {
public:
    std::vector<std::string> heard;
    std::wstring name = L"Variables";

    void OnAttachedToPane(CXTPDockingPane* pane) override {
        heard.push_back("attached " + std::to_string(pane->GetID()));
    }
    void OnToBeDetachedFromPane(CXTPDockingPane* pane) override {
        heard.push_back("leaving " + std::to_string(pane->GetID()));
    }
    void SetTheme(int theme, CXTPDockingPane* pane) override {
        DockingPaneChildWindow::SetTheme(theme, pane);
        heard.push_back("theme " + std::to_string(theme));
    }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
        dc.FillSolidRect(&r, colors.clrWindow);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(colors.clrWindowText);
        CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
        r.DeflateRect(8, 6);
        dc.DrawText(name.c_str(), static_cast<int>(name.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
        dc.SelectObject(old);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Host, Dravik::UI::DockingPaneChildWindow)
ON_WM_PAINT()
END_MESSAGE_MAP()

// A main frame as far as panes go: a frame with the framework's pane manager and a pane.
struct Frame {
    CFrameWnd* window = new CFrameWnd;
    std::unique_ptr<Dravik::UI::DockingPaneManager> panes =
        std::make_unique<Dravik::UI::DockingPaneManager>();
    CXTPDockingPane* pane = nullptr;

    HWND handle = nullptr;

    explicit Frame(const wchar_t* title, int x) {
        window->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(x, 40, x + 520, 400));
        handle = window->m_hWnd;
        panes->InstallDockingPanes(window);
        pane = panes->CreatePane(kVariablesPane, CRect(0, 0, 200, 200), xtpPaneDockLeft);
        pane->SetTitle(L"Variables");
        panes->ShowPane(kVariablesPane, FALSE);
        panes->RecalcFrameLayout();
    }
    // The panes go before the frame's window, as a main frame's do in its WM_DESTROY.
    // A frame deletes itself with its window: one a test destroyed is not reached for again.
    ~Frame() {
        panes.reset();
        if (CWnd::FromHandlePermanent(handle) == window)
            window->DestroyWindow();
    }
};

// Whether the frame shows the window: its parents lead to the frame.
bool shownIn(const Frame& frame, const CWnd& window) {
    for (HWND h = window.m_hWnd; h; h = ::GetParent(h)) {
        if (h == frame.window->m_hWnd)
            return true;
    }
    return false;
}

// The window classes that the pane manager registers through AfxRegisterWndClass are kept by
// name for the process, so these tests keep the classes between tests (SandboxTest, not
// UserTest) and destroy their own windows.
class DockingPaneTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        parent = Dravik::UI::GetDockingPaneDummyWindow(true);
        ASSERT_TRUE(host.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), parent.get(), kVariablesPane));
    }
    // Pane windows live under the hidden pane parent until a pane takes them.
    void TearDown() override {
        if (::IsWindow(host.m_hWnd))
            host.DestroyWindow();
        parent.reset();
        pal::test::resetMonitors();
        SandboxTest::TearDown();
    }
    std::shared_ptr<CWnd> parent;
    Host host;
};

TEST_F(DockingPaneTest, AttachedTwiceItIsAttachedOnce) {
    Frame first(L"First", 20);
    EXPECT_TRUE(Dravik::UI::AttachDockingPaneChild(first.pane, &host));
    EXPECT_FALSE(Dravik::UI::AttachDockingPaneChild(first.pane, &host));
    EXPECT_EQ(host.heard, (std::vector<std::string>{"attached 1017"}));
    EXPECT_EQ(host.GetPane(), first.pane);
    EXPECT_EQ(first.pane->GetChildHwnd(), host.m_hWnd);
    EXPECT_EQ(Dravik::UI::GetDockingPaneChild(first.pane), &host);
    EXPECT_FALSE(Dravik::UI::AttachDockingPaneChild(nullptr, &host));
    EXPECT_FALSE(Dravik::UI::AttachDockingPaneChild(first.pane, nullptr));
}

// Most pane windows are made when their pane first shows, long after the frame took its theme.
TEST_F(DockingPaneTest, AContentAttachedAfterTheFramesThemeTakesThatTheme) {
    Frame first(L"First", 20);
    Frame second(L"Second", 600);
    second.panes->SetTheme(6);
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(first.pane, &host));
    EXPECT_EQ(host.heard, (std::vector<std::string>{"attached 1017"})) << "a frame given no theme gives none";
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(second.pane, &host));
    EXPECT_EQ(host.heard,
              (std::vector<std::string>{"attached 1017", "leaving 1017", "attached 1017", "theme 6"}));
    EXPECT_EQ(host.GetTheme(), 6);
}

TEST_F(DockingPaneTest, MovedBetweenTwoMainFramesItLeavesTheFirstEmpty) {
    Frame first(L"First", 20);
    Frame second(L"Second", 600);
    Dravik::UI::AttachDockingPaneChild(first.pane, &host);
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(second.pane, &host));
    EXPECT_EQ(first.pane->GetChildHwnd(), nullptr);
    EXPECT_EQ(second.pane->GetChildHwnd(), host.m_hWnd);
    EXPECT_EQ(host.GetPane(), second.pane);
    EXPECT_EQ(host.heard, (std::vector<std::string>{"attached 1017", "leaving 1017", "attached 1017"}));
    pal::test::pump();
    EXPECT_TRUE(host.IsWindowVisible());
    EXPECT_TRUE(shownIn(second, host));
    EXPECT_FALSE(shownIn(first, host));

    // Looked at: the second frame shows the content in its pane, the first an empty pane.
    CXTPPaintManager::Current()->SetTheme(L"office2016white");
    second.panes->SetTheme(5);
    pal::test::pump();
    ASSERT_TRUE(pal::test::keepSnapshot(second.window->m_hWnd, "pane-child-moved"));
    const auto picture = pal::test::snapshot(host.m_hWnd, true);
    CRect inside;
    host.GetClientRect(&inside);
    ASSERT_GT(inside.Height(), 30);
    EXPECT_EQ(picture.pixel(inside.right - 3, inside.bottom - 3),
              CXTPPaintManager::Current()->GetColors().clrWindow);
    EXPECT_EQ(host.GetTheme(), 5);

    // Back out, parked where the frames cannot take it with them.
    EXPECT_EQ(Dravik::UI::DetachDockingPaneChild(second.pane, true), &host);
    EXPECT_EQ(host.GetPane(), nullptr);
    EXPECT_EQ(host.GetParent()->m_hWnd, parent->m_hWnd);
    EXPECT_FALSE(host.IsWindowVisible());
    EXPECT_EQ(Dravik::UI::DetachDockingPaneChild(second.pane, true), nullptr) << "nothing left to detach";
    second.window->DestroyWindow();
    EXPECT_TRUE(::IsWindow(host.m_hWnd)) << "a parked content outlives the frame";
}

TEST_F(DockingPaneTest, ANewContentPushesTheOldOneOutOfThePane) {
    Frame first(L"First", 20);
    Host other;
    ASSERT_TRUE(other.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), parent.get(), 1));
    Dravik::UI::AttachDockingPaneChild(first.pane, &host);
    Dravik::UI::AttachDockingPaneChild(first.pane, &other);
    EXPECT_EQ(host.GetPane(), nullptr);
    EXPECT_EQ(host.GetParent()->m_hWnd, parent->m_hWnd);
    EXPECT_EQ(other.GetPane(), first.pane);
    EXPECT_EQ(host.heard.back(), "leaving 1017");
}

TEST_F(DockingPaneTest, AContentDestroyedWhileAttachedLeavesItsPaneEmpty) {
    Frame first(L"First", 20);
    auto doomed = std::make_unique<Host>();
    ASSERT_TRUE(doomed->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), parent.get(), 2));
    Dravik::UI::AttachDockingPaneChild(first.pane, doomed.get());
    const HWND gone = doomed->m_hWnd;
    doomed.reset();
    EXPECT_FALSE(::IsWindow(gone));
    EXPECT_EQ(first.pane->GetChildHwnd(), nullptr);
    first.panes->RecalcFrameLayout();
    first.panes->ShowPane(kVariablesPane, TRUE);
    pal::test::pump();
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(first.pane, &host)) << "the pane takes a new content";
}

TEST_F(DockingPaneTest, APaneDestroyedWhileItShowsAContentParksTheContent) {
    Frame first(L"First", 20);
    Dravik::UI::AttachDockingPaneChild(first.pane, &host);
    first.panes->DestroyPane(kVariablesPane);
    EXPECT_EQ(host.GetPane(), nullptr);
    EXPECT_TRUE(::IsWindow(host.m_hWnd));
    EXPECT_EQ(host.GetParent()->m_hWnd, parent->m_hWnd);
    Frame second(L"Second", 600);
    EXPECT_TRUE(Dravik::UI::AttachDockingPaneChild(second.pane, &host));
}

TEST_F(DockingPaneTest, RepaintsWaitWhileThePaneIsRebuilt) {
    Frame first(L"First", 20);
    first.panes->BlockInvalidatePane(true);
    first.panes->BlockInvalidatePane(true);
    EXPECT_TRUE(first.panes->IsInvalidatePaneBlocked());
    first.panes->InvalidatePanes();
    first.panes->BlockInvalidatePane(false);
    EXPECT_TRUE(first.panes->IsInvalidatePaneBlocked()) << "blocks nest";
    first.panes->BlockInvalidatePane(false);
    first.panes->BlockInvalidatePane(false);
    EXPECT_FALSE(first.panes->IsInvalidatePaneBlocked()) << "an unblock too many changes nothing";
    first.panes->LockPanes(TRUE);
    EXPECT_TRUE(first.panes->IsPanesLocked());

    EXPECT_TRUE(Dravik::UI::AreDockingPaneTabCaptionsVisible(first.panes.get()));
    Dravik::UI::ShowDockingPaneTabCaptions(first.panes.get(), false);
    EXPECT_FALSE(Dravik::UI::AreDockingPaneTabCaptionsVisible(first.panes.get()));
    CXTPDockingPaneManager plain;
    Dravik::UI::ShowDockingPaneTabCaptions(&plain, false);
    EXPECT_TRUE(Dravik::UI::AreDockingPaneTabCaptionsVisible(&plain))
        << "only the framework's managers keep it";
}

} // namespace
