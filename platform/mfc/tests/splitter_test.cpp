// Splitters: static grids of views, their sizes, a bar dragged with the mouse, and a dynamic
// splitter whose pane goes when its bar is dragged past the pane's minimum.
#include "afxwin.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

namespace {

class PaneView : public CView {
    DECLARE_DYNCREATE(PaneView)
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// Two panes side by side (or one dynamic pane) filling the frame.
class SplitFrame : public CFrameWnd {
public:
    CSplitterWnd splitter;
    bool dynamic = false;
    BOOL OnCreateClient(LPCREATESTRUCTW, CCreateContext* context) override {
        if (dynamic)
            return splitter.Create(this, 1, 2, CSize(40, 40), context);
        return splitter.CreateStatic(this, 1, 2) &&
               splitter.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(150, 0), context) &&
               splitter.CreateView(0, 1, RUNTIME_CLASS(PaneView), CSize(0, 0), context);
    }
};

class SplitterTest : public pal::test::SandboxTest {
protected:
    SplitFrame* make(bool dynamic) {
        auto* frame = new SplitFrame;
        frame->dynamic = dynamic;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(PaneView);
        context.m_pCurrentDoc = &document;
        EXPECT_TRUE(frame->Create(nullptr, L"Split", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300),
                                  nullptr, nullptr, 0, &context));
        frame->InitialUpdateFrame(&document, TRUE);
        return frame;
    }
    static void pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // Presses on the splitter at client point `from`, moves and lets go at `to`.
    static void drag(CWnd& w, CPoint from, CPoint to) {
        w.ClientToScreen(&from);
        w.ClientToScreen(&to);
        pal::test::mouseMove(from);
        pal::test::mouseDown(from);
        pump();
        pal::test::mouseMove(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        pal::test::mouseMove(to);
        pal::test::mouseUp(to);
        pump();
    }
    int width(CWnd* w) const {
        CRect r;
        w->GetWindowRect(&r);
        return r.Width();
    }

    CDocument document;
};

TEST_F(SplitterTest, StaticPanesTakeTheirSizesAndFollowADraggedBar) {
    SplitFrame* frame = make(false);
    CSplitterWnd& s = frame->splitter;
    ASSERT_EQ(s.GetColumnCount(), 2);
    CWnd* left = s.GetPane(0, 0);
    CWnd* right = s.GetPane(0, 1);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_EQ(right->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST + 1));
    EXPECT_EQ(frame->GetActiveView(), left);
    CRect client;
    s.GetClientRect(&client);
    EXPECT_EQ(width(left), 150);
    EXPECT_EQ(width(right), client.Width() - 150 - s.m_cxSplitter);

    drag(s, CPoint(152, 50), CPoint(252, 60));
    int cur = 0, min = 0;
    s.GetColumnInfo(0, cur, min);
    EXPECT_EQ(cur, 250);
    EXPECT_EQ(width(left), 250);
    EXPECT_EQ(width(right), client.Width() - 250 - s.m_cxSplitter);

    // A press away from the bar changes nothing; a drag past the end leaves the last pane empty.
    drag(s, CPoint(60, 50), CPoint(120, 50));
    EXPECT_EQ(width(left), 250);
    drag(s, CPoint(252, 50), CPoint(5000, 50));
    EXPECT_EQ(width(right), 0);
    frame->DestroyWindow();
}

TEST_F(SplitterTest, ADynamicSplitterSplitsLikeItsFirstPaneAndMergesBackPastTheMinimum) {
    SplitFrame* frame = make(true);
    CSplitterWnd& s = frame->splitter;
    ASSERT_EQ(s.GetColumnCount(), 1);
    EXPECT_FALSE(s.SplitRow(100)) << "one row at most";
    ASSERT_TRUE(s.SplitColumn(200));
    ASSERT_EQ(s.GetColumnCount(), 2);
    auto* second = dynamic_cast<PaneView*>(s.GetPane(0, 1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetDocument(), &document);
    EXPECT_FALSE(s.SplitColumn(100)) << "two columns at most";

    drag(s, CPoint(202, 50), CPoint(20, 50)); // below the 40-pixel minimum
    EXPECT_EQ(s.GetColumnCount(), 1);
    ASSERT_NE(s.GetPane(0, 0), nullptr);
    EXPECT_EQ(s.GetPane(0, 0), second) << "the pane on the right moved over";
    CRect client;
    s.GetClientRect(&client);
    EXPECT_EQ(width(second), client.Width());
    frame->DestroyWindow();
}

TEST_F(SplitterTest, BadGridsAndPanesAreRefused) {
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Bad", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CSplitterWnd none;
    EXPECT_FALSE(none.CreateStatic(frame, 0, 2));
    EXPECT_FALSE(none.CreateStatic(nullptr, 1, 1));
    CSplitterWnd s;
    ASSERT_TRUE(s.CreateStatic(frame, 1, 2));
    EXPECT_FALSE(s.CreateView(3, 0, RUNTIME_CLASS(PaneView), CSize(10, 10), nullptr));
    EXPECT_FALSE(s.CreateView(0, 0, nullptr, CSize(10, 10), nullptr));
    EXPECT_TRUE(s.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(10, 10), nullptr));
    EXPECT_FALSE(s.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(10, 10), nullptr)) << "taken";
    EXPECT_EQ(s.GetPane(0, 5), nullptr);
    EXPECT_FALSE(s.SplitColumn(50)) << "static splitters do not split";
    frame->DestroyWindow();
}

} // namespace
