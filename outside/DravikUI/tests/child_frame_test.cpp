// The document windows: views in a splitter, and the hold that a busy document keeps on the
// active window.
#include "DravikUI/ChildFrame.h"

#include "DravikKernel/Document.h"
#include "pal/test/mfc_app.h"
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kSheetResource = 410;
constexpr UINT kAppResource = 411;
const AFX_STRING_RESOURCE kStrings[] = {{kSheetResource, L"\nSheet\nSheet\nSheets (*.sht)\n.sht"},
                                        {kAppResource, L"Dravik"}};
AFX_STRING_TABLE(kStrings);

// A document of the class library that carries the kernel's document state.
class Sheet : public CDocument, public Dravik::DravikDocument2 {
    DECLARE_DYNCREATE(Sheet)
};
IMPLEMENT_DYNCREATE(Sheet, CDocument)

class SheetView : public CView {
    DECLARE_DYNCREATE(SheetView)
};
IMPLEMENT_DYNCREATE(SheetView, CView)

class ShellApp : public CWinApp {
public:
    CMultiDocTemplate* sheets = nullptr;
    BOOL InitInstance() override {
        sheets = new CMultiDocTemplate(kSheetResource, RUNTIME_CLASS(Sheet),
                                       RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(SheetView));
        AddDocTemplate(sheets);
        auto* main = new CMDIFrameWnd;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        main->ShowWindow(SW_SHOW);
        return TRUE;
    }
};

class ChildFrameTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(run.init());
        main = static_cast<CMDIFrameWnd*>(app.m_pMainWnd);
    }
    Dravik::UI::MdiChildFrame* open() {
        app.OnFileNew();
        run.pump();
        return dynamic_cast<Dravik::UI::MdiChildFrame*>(main->MDIGetActive());
    }
    ShellApp app;
    pal::test::AppRun run{app};
    CMDIFrameWnd* main = nullptr;
};

TEST_F(ChildFrameTest, TheViewsLieInASplitterThatCountsItsPanesRowByRow) {
    auto* frame = open();
    ASSERT_NE(frame, nullptr);
    Dravik::UI::Splitter* splitter = frame->GetSplitter();
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->GetNumPanes(), 1);
    EXPECT_EQ(splitter->GetPaneView(0), frame->GetActiveView());
    EXPECT_EQ(splitter->GetPaneView(1), nullptr);
    ASSERT_TRUE(splitter->SplitColumn(60));
    EXPECT_EQ(splitter->GetNumPanes(), 2);
    auto* second = dynamic_cast<SheetView*>(splitter->GetPaneView(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetDocument(), frame->GetActiveDocument()) << "a split shows the same document";
}

TEST_F(ChildFrameTest, ABusyDocumentKeepsTheActiveWindowExceptForItsOwnWindows) {
    auto* first = open();
    auto* other = open();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    main->MDIActivate(first);
    run.pump();
    auto* busy = dynamic_cast<Sheet*>(first->GetActiveDocument());
    ASSERT_NE(busy, nullptr);

    EXPECT_TRUE(Dravik::UI::MdiChildFrame::OnChildActivate(other, nullptr)) << "nothing is busy yet";
    busy->SetFlag(Dravik::UI::MdiChildFrame::kBusyFlag);
    EXPECT_FALSE(Dravik::UI::MdiChildFrame::OnChildActivate(other, nullptr));
    EXPECT_TRUE(Dravik::UI::MdiChildFrame::OnChildActivate(other, busy))
        << "a window that will show the busy document";
    EXPECT_TRUE(Dravik::UI::MdiChildFrame::OnChildActivate(first, nullptr)) << "the active window itself";
    EXPECT_EQ(other->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(main->m_hWnd),
                                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATEANDEAT)
        << "a click on another document's window is swallowed";
    EXPECT_FALSE(Dravik::UI::MdiChildFrame::OnChildActivate(nullptr, nullptr));

    busy->SetFlag(Dravik::UI::MdiChildFrame::kBusyFlag, false);
    EXPECT_TRUE(Dravik::UI::MdiChildFrame::OnChildActivate(other, nullptr));
    EXPECT_TRUE(first->OnCloseCommand()) << "a plain document never holds its window open";
}

} // namespace
