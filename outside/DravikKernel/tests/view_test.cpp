// The drawing view and the document template inside an MDI main frame on the null display:
// the sample drawing shown whole, zoomed, panned and selected in; documents opened with the
// open parameters, closed with their frames, held, recovered and inserted into.
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/FragmentPath.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/TitleBlock.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"

#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;
using namespace Dravik;

constexpr UINT kDrawingResource = 500;
constexpr UINT kAppResource = 501;

const AFX_STRING_RESOURCE kStrings[] = {
    {kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"},
    {kAppResource, L"Dravik"},
};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

std::wstring w(const fs::path& p) {
    return pal::text::fromUtf8(p.string());
}

class DrawingShell : public CWinApp {
public:
    CDVDocTemplate* docTemplate = nullptr;
    BOOL InitInstance() override {
        docTemplate = CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                                             RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CDVView));
        AddDocTemplate(docTemplate);
        auto* main = new CMDIFrameWnd;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        main->MoveWindow(20, 20, 1000, 760);
        main->ShowWindow(SW_SHOW);
        return TRUE;
    }
    CMDIFrameWnd* main() const { return static_cast<CMDIFrameWnd*>(m_pMainWnd); }
};

class View : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        run_ = std::make_unique<pal::test::AppRun>(app_);
        ASSERT_TRUE(run_->init());
        sample_ = binDir() / "Samples/sample-a3.grb";
        // New documents come from the bundled prototypes beside the binaries.
        GetSettings().templateFolder = w(binDir() / "Prototypes");
    }
    void TearDown() override {
        app_.CloseAllDocuments(TRUE);
        run_.reset();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }

    CDvw32Doc* openSample() {
        auto* doc = dynamic_cast<CDvw32Doc*>(app_.OpenDocumentFile(w(sample_).c_str()));
        run_->pump();
        return doc;
    }
    static CDVView* viewOf(CDvw32Doc* doc) { return dynamic_cast<CDVView*>(doc->GetActiveView()); }
    fs::path copyOfSample(const char* name) const {
        const fs::path copy = root() / name;
        fs::copy_file(sample_, copy, fs::copy_options::overwrite_existing);
        return copy;
    }
    void save(HWND hwnd, const char* name, bool clientOnly) const {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name, clientOnly));
    }

    DrawingShell app_;
    std::unique_ptr<pal::test::AppRun> run_;
    fs::path sample_;
};

// The main-bar states a view passes through: the person's choice replaces the state on top,
// and there is none to replace before a command pushed one.
TEST(MainBarSwitchHistory, TheChoiceReplacesTheTopStateWhileThereIsOne) {
    const GUID first{1, 0, 0, {}};
    const GUID second{2, 0, 0, {}};
    MainBarSwitchHistory history;
    EXPECT_EQ(history.GetTopEvent(), nullptr);
    EXPECT_FALSE(history.SetTopEvent({first, GUID{}}));
    history.PushEvent({first, first});
    history.PushEvent({second, second});
    EXPECT_TRUE(history.SetTopEvent({first, GUID{}}));
    ASSERT_NE(history.GetTopEvent(), nullptr);
    EXPECT_EQ(history.GetTopEvent()->first, first);
    EXPECT_EQ(history.GetTopEvent()->second, GUID{});
    history.PopEvent();
    EXPECT_EQ(history.GetTopEvent()->second, first) << "the state below is untouched";
    history.PopEvent();
    history.PopEvent();
    EXPECT_EQ(history.GetTopEvent(), nullptr);
}

TEST_F(View, TheSampleDrawingIsShownWholeInItsDocumentWindow) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    auto* child = dynamic_cast<CMDIChildWnd*>(doc->FindFrame());
    ASSERT_NE(child, nullptr);
    child->MDIMaximize();
    run_->pump();
    EXPECT_EQ(DVGetActiveDoc(), doc);
    EXPECT_EQ(DVGetActiveView(), view);
    EXPECT_EQ(view->GetViewKind(), 1);
    EXPECT_TRUE(view->QueryState(1)) << "a sheet of a drawing";
    EXPECT_FALSE(view->QueryState(2)) << "nothing selected";
    EXPECT_FALSE(view->QueryState(3)) << "no command";
    EXPECT_EQ(view->GetParentPage(), 0);

    save(app_.m_pMainWnd->m_hWnd, "drawing-view.png", false);
    const auto picture = pal::test::snapshot(view->m_hWnd, true);
    const Page& page = doc->Cont2D()->GetPages()[0];
    const PageView& pv = view->GetPageView();
    CRect client;
    view->GetClientRect(&client);
    // The whole sheet is in the window, touching it on the longer side's margins.
    const POINT lt = PageToDevice(pv, page, 0, page.height), rb = PageToDevice(pv, page, page.width, 0);
    EXPECT_GE(lt.x, 0);
    EXPECT_GE(lt.y, 0);
    EXPECT_LE(rb.x, client.right);
    EXPECT_LE(rb.y, client.bottom);
    EXPECT_TRUE(lt.x == 8 || lt.y == 8) << lt.x << "," << lt.y;
    // Paper, the desk around it, and the frame's line 20 mm in from the left edge.
    EXPECT_EQ(picture.pixel(lt.x + 3, lt.y + 3), RGB(255, 255, 255));
    EXPECT_NE(picture.pixel(2, 2), RGB(255, 255, 255));
    const POINT frameLeft = PageToDevice(pv, page, 20, page.height / 2);
    int frameInk = 0;
    for (int x = frameLeft.x - 2; x <= frameLeft.x + 2; ++x)
        frameInk += GetRValue(picture.pixel(x, frameLeft.y)) < 128;
    EXPECT_GT(frameInk, 0) << "the sheet frame";
    // The title block's designation cell holds its text.
    const Element* block = doc->Cont2D()->FindElementByName(L"title block", false);
    ASSERT_NE(block, nullptr);
    const auto cells = TitleBlockCells(*doc->Cont2D(), *block);
    const auto& layout = TitleBlockLayout();
    int textInk = -1;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!layout[i].variable || std::wstring(layout[i].variable) != L"$oboznach")
            continue;
        const POINT a = PageToDevice(pv, page, cells[i].left, cells[i].top);
        const POINT b = PageToDevice(pv, page, cells[i].right, cells[i].bottom);
        textInk = 0;
        for (int y = a.y + 2; y < b.y - 2; ++y)
            for (int x = a.x + 2; x < b.x - 2; ++x)
                textInk += GetRValue(picture.pixel(x, y)) < 128;
    }
    EXPECT_GT(textInk, 10) << "the designation is written in the title block";
}

TEST_F(View, TheWheelZoomsAboutTheCursorAndTheMiddleButtonPans) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    const Page& page = doc->Cont2D()->GetPages()[0];
    const PageView before = view->GetPageView();
    CPoint at(200, 150);
    double x0 = 0, y0 = 0;
    DeviceToPage(before, page, at, &x0, &y0);
    CPoint screen = at;
    view->ClientToScreen(&screen);
    view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(screen.x, screen.y));
    const PageView zoomed = view->GetPageView();
    EXPECT_NEAR(zoomed.scale, before.scale * 1.25 * 1.25, 1e-9) << "two notches";
    double x1 = 0, y1 = 0;
    DeviceToPage(zoomed, page, at, &x1, &y1);
    EXPECT_NEAR(x1, x0, 0.5);
    EXPECT_NEAR(y1, y0, 0.5);

    view->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 100));
    view->SendMessage(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(130, 90));
    view->SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(130, 90));
    EXPECT_NEAR(view->GetPageView().left, zoomed.left + 30, 1e-9);
    EXPECT_NEAR(view->GetPageView().top, zoomed.top - 10, 1e-9);

    // Once zoomed, a new size keeps the zoom; ZoomAll shows the sheet whole again.
    doc->FindFrame()->MoveWindow(0, 0, 500, 400);
    run_->pump();
    EXPECT_NEAR(view->GetPageView().scale, zoomed.scale, 1e-9);
    view->ZoomAll();
    EXPECT_LT(view->GetPageView().scale, zoomed.scale);
}

TEST_F(View, AClickSelectsTheElementUnderItAndHighlightsIt) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    const Page& page = doc->Cont2D()->GetPages()[0];
    const Element* bore = doc->Cont2D()->FindElementByName(L"bore", false);
    ASSERT_NE(bore, nullptr);
    // A point of the bore away from the centre lines through it.
    const double r = bore->coords[2] * 0.7071;
    const POINT onIt = PageToDevice(view->GetPageView(), page, bore->coords[0] + r, bore->coords[1] + r);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onIt.x, onIt.y));
    ASSERT_EQ(view->GetSelection().size(), 1u);
    EXPECT_EQ(&doc->Cont2D()->GetElements()[view->GetSelection()[0]], bore);
    EXPECT_TRUE(view->QueryState(2));
    EXPECT_TRUE(view->IsShowPopupToolbar());
    view->SetShowPopupToolbar(false);
    EXPECT_FALSE(view->IsShowPopupToolbar());
    run_->pump();
    save(view->m_hWnd, "drawing-view-selected.png", true);
    const auto picture = pal::test::snapshot(view->m_hWnd, true);
    int highlighted = 0;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            highlighted += picture.pixel(onIt.x + dx, onIt.y + dy) == RGB(0, 120, 215);
    EXPECT_GT(highlighted, 0);

    // Empty paper clears the selection; an element of another document selects nothing.
    const POINT paper = PageToDevice(view->GetPageView(), page, 300, 250);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(paper.x, paper.y));
    EXPECT_TRUE(view->GetSelection().empty());
    Element stranger;
    EXPECT_FALSE(view->SelectObject(&stranger));
    EXPECT_FALSE(view->SelectObject(nullptr));
}

TEST_F(View, EditsUndoAndRedoShowAtOnce) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    const Page& page = doc->Cont2D()->GetPages()[0];
    const Element* bore = doc->Cont2D()->FindElementByName(L"bore", false);
    ASSERT_NE(bore, nullptr);
    const double r = bore->coords[2] * 0.7071;
    const POINT onIt = PageToDevice(view->GetPageView(), page, bore->coords[0] + r, bore->coords[1] + r);
    auto inkAt = [&] {
        const auto picture = pal::test::snapshot(view->m_hWnd, true);
        int ink = 0;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                ink += GetRValue(picture.pixel(onIt.x + dx, onIt.y + dy)) < 128;
        return ink;
    };
    ASSERT_GT(inkAt(), 0);
    const auto index = static_cast<std::size_t>(bore - doc->Cont2D()->GetElements().data());
    ASSERT_TRUE(doc->Cont2D()->DeleteElement(index));
    run_->pump();
    EXPECT_EQ(inkAt(), 0) << "gone from the window";
    ASSERT_TRUE(doc->Cont2D()->Undo());
    run_->pump();
    EXPECT_GT(inkAt(), 0) << "back with the undo";
    ASSERT_TRUE(doc->Cont2D()->Redo());
    run_->pump();
    EXPECT_EQ(inkAt(), 0) << "gone again with the redo";
}

TEST_F(View, BlockedPaintingAndRegenerationScopesDeferTheViewsUpdate) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    run_->pump();
    auto dirty = [&] {
        RECT r{};
        return ::GetUpdateRect(view->m_hWnd, &r, FALSE) != FALSE;
    };
    ASSERT_FALSE(dirty());
    const std::size_t last = doc->Cont2D()->GetElements().size() - 1;

    doc->BlockPaint(true);
    ASSERT_TRUE(doc->Cont2D()->DeleteElement(last));
    EXPECT_FALSE(dirty()) << "blocked";
    EXPECT_TRUE(doc->IsRepaintNeeded());
    doc->BlockPaint(false);
    // What the application does for a marked document.
    doc->RepaintNeeded(false);
    doc->UpdateAllViews(nullptr);
    EXPECT_TRUE(dirty());
    run_->pump();

    {
        DVDocRegenContext outer(doc, true, false, false);
        {
            DVDocRegenContext inner(doc);
            ASSERT_TRUE(doc->Cont2D()->Undo());
        }
        EXPECT_FALSE(dirty()) << "the outer scope is still open";
    }
    EXPECT_TRUE(dirty()) << "updated once it ended";
    EXPECT_FALSE(doc->IsRepaintNeeded());
    run_->pump();
    { DVDocRegenContext unchanged(doc); }
    EXPECT_FALSE(dirty()) << "nothing changed, nothing to paint";
}

TEST_F(View, AnObjectCommandNeedsASelectionAndAHandler) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->OnObjectCommand(ID_FILE_SAVE)) << "nothing selected";
    ASSERT_TRUE(view->SelectObject(doc->Cont2D()->FindElementByName(L"bore", false)));
    EXPECT_FALSE(view->OnObjectCommand(40000)) << "nobody handles it";
    // The document handles saving: the command reaches it through the view.
    const fs::path copy = copyOfSample("object.grb");
    CDvw32Doc* other = dynamic_cast<CDvw32Doc*>(app_.OpenDocumentFile(w(copy).c_str()));
    ASSERT_NE(other, nullptr);
    run_->pump();
    CDVView* otherView = viewOf(other);
    ASSERT_TRUE(otherView->SelectObject(other->Cont2D()->FindElementByName(L"bore", false)));
    other->SetModifiedFlag(TRUE);
    EXPECT_TRUE(otherView->OnObjectCommand(ID_FILE_SAVE));
    EXPECT_FALSE(other->IsModified()) << "saved by the document";
}

// The application's side: what the kernel reports of the active document and closings.
class Reports : public DravikServerAppProxy {
public:
    void OnActivateDocument(CDvw32Doc* document) override { activated.push_back(document); }
    void OnDocumentClosed(CDvw32Doc* document) override { closed.push_back(document); }
    std::vector<CDvw32Doc*> activated, closed;
};

TEST_F(View, TheApplicationHearsWhichDocumentIsActiveAndWhichClosed) {
    Reports app;
    CDvw32Doc* first = openSample();
    ASSERT_NE(first, nullptr);
    auto* second = dynamic_cast<CDvw32Doc*>(app_.OpenDocumentFile(w(copyOfSample("second.grb")).c_str()));
    ASSERT_NE(second, nullptr);
    run_->pump();
    EXPECT_EQ(app.activated, (std::vector<CDvw32Doc*>{first, second}));
    app.activated.clear();
    // Activating the window that is active already reports nothing.
    app_.docTemplate->ActivateDocument(second);
    run_->pump();
    EXPECT_TRUE(app.activated.empty());
    app_.docTemplate->ActivateDocument(first);
    run_->pump();
    EXPECT_EQ(app.activated, (std::vector<CDvw32Doc*>{first}));
    app.activated.clear();

    first->FindFrame()->SendMessage(WM_CLOSE);
    run_->pump();
    ASSERT_EQ(app.closed, (std::vector<CDvw32Doc*>{first}));
    // The other window comes forward and its document with it.
    ASSERT_FALSE(app.activated.empty());
    EXPECT_EQ(app.activated.back(), second);
    EXPECT_EQ(DVGetActiveDoc(), second);
}

// The application's overview pane follows the active view: which view it is, the area it shows
// after a zoom or a pan, and its picture after an edit. Views that are not active tell nothing.
class Overview : public DravikServerAppProxy {
public:
    void SetBirdsEyeViewActiveView(CView* view) override { following.push_back(view); }
    void UpdateBirdsEyeViewArea() override { ++areas; }
    void RedrawBirdsEyeView() override { ++redraws; }
    std::vector<CView*> following;
    int areas = 0;
    int redraws = 0;
};

TEST_F(View, TheOverviewFollowsTheActiveViewItsAreaAndItsContent) {
    Overview app;
    CDvw32Doc* first = openSample();
    ASSERT_NE(first, nullptr);
    auto* second = dynamic_cast<CDvw32Doc*>(app_.OpenDocumentFile(w(copyOfSample("second.grb")).c_str()));
    ASSERT_NE(second, nullptr);
    run_->pump();
    ASSERT_FALSE(app.following.empty());
    EXPECT_EQ(app.following.back(), viewOf(second));
    app_.docTemplate->ActivateDocument(first);
    run_->pump();
    EXPECT_EQ(app.following.back(), viewOf(first));

    struct Step {
        const char* what;
        CDvw32Doc* document;
        std::function<void(CDVView&)> run;
        int areas, redraws;
    };
    const Step steps[] = {
        {"a zoom in the active view", first,
         [](CDVView& v) {
             v.ZoomAt(2.0, POINT{100, 100});
         },
         1, 0},
        {"a pan in the active view", first, [](CDVView& v) { v.PanBy(10, 5); }, 1, 0},
        {"the whole sheet shown", first, [](CDVView& v) { v.ZoomAll(); }, 1, 0},
        {"a zoom in a view that is not active", second,
         [](CDVView& v) {
             v.ZoomAt(2.0, POINT{100, 100});
         },
         0, 0},
        {"an edit of the active document", first,
         [](CDVView& v) {
             v.GetDvwDocument()->PushAction(DVAction{L"edit", {}});
         },
         0, 1},
        {"an edit of another document", second,
         [](CDVView& v) {
             v.GetDvwDocument()->PushAction(DVAction{L"edit", {}});
         },
         0, 0},
    };
    for (const Step& step : steps) {
        app.areas = app.redraws = 0;
        CDVView* view = viewOf(step.document);
        ASSERT_NE(view, nullptr) << step.what;
        step.run(*view);
        EXPECT_EQ(app.areas, step.areas) << step.what;
        EXPECT_EQ(app.redraws, step.redraws) << step.what;
    }
}

TEST_F(View, ClosingTheWindowClosesTheDocumentUnlessItIsHeld) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    auto& manager = DocumentManager::Instance();
    EXPECT_TRUE(manager.IsOpen(doc));
    EXPECT_EQ(doc->GetDocTemplate(), app_.docTemplate);
    // Opening it again finds it, window and all.
    EXPECT_EQ(app_.OpenDocumentFile(w(sample_).c_str()), doc);
    EXPECT_EQ(manager.GetDocumentCount(), 1u);

    doc->AddHold();
    doc->FindFrame()->SendMessage(WM_CLOSE);
    run_->pump();
    EXPECT_TRUE(manager.IsOpen(doc)) << "held";
    EXPECT_EQ(doc->FindFrame(), nullptr) << "its window went";
    EXPECT_EQ(doc->ReleaseHold(), 0);
    EXPECT_EQ(manager.GetDocumentCount(), 0u) << "closed with its last hold";

    CDvw32Doc* again = openSample();
    ASSERT_NE(again, nullptr);
    again->FindFrame()->SendMessage(WM_CLOSE);
    run_->pump();
    EXPECT_EQ(manager.GetDocumentCount(), 0u);
}

struct OpenCase {
    const char* name;
    std::uint32_t flags;
    std::uint32_t options;
    bool fromAutomation;
    bool framed;
    bool readOnly;
    bool active;
};

class OpenWith : public View, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenWith, TheParametersDecideFrameStateAndMarks) {
    const OpenCase& c = GetParam();
    const fs::path copy = copyOfSample("opened.grb");
    DocInitParams params = DocumentManager::GetDefaultInitParams();
    params.flags = c.flags;
    params.options = c.options;
    g_bOpeningFromOLE = c.fromAutomation;
    std::wstring error;
    CDvw32Doc* doc = DocumentManager::Instance().OpenDocumentFile(w(copy), params, &error);
    g_bOpeningFromOLE = false;
    run_->pump();
    ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(doc->FindFrame() != nullptr, c.framed);
    EXPECT_EQ(doc->IsReadOnly(), c.readOnly);
    EXPECT_EQ(DVGetActiveDoc() == doc, c.active);
    EXPECT_EQ(doc->IsFlagSet(kDocFlagOpenedByAutomation), c.fromAutomation);
    EXPECT_EQ(std::wstring(doc->GetPathName()), w(copy));
    // Read-only or not, the file itself is untouched.
    EXPECT_EQ(pal::test::readFile(copy), pal::test::readFile(sample_));
}

constexpr std::uint32_t kDefaults = DocInitParams::kActivateFrame | DocInitParams::kAddToRecent;

INSTANTIATE_TEST_SUITE_P(
    Params, OpenWith,
    ::testing::Values(OpenCase{"defaults", 0, kDefaults, false, true, false, true},
                      OpenCase{"hidden", DocInitParams::kHidden, kDefaults, false, false, false, false},
                      OpenCase{"read_only", DocInitParams::kReadOnly, kDefaults, false, true, true, true},
                      OpenCase{"automation_hidden_read_only",
                               DocInitParams::kHidden | DocInitParams::kReadOnly, kDefaults, true, false,
                               true, false},
                      OpenCase{"shown_without_asking_to_activate", 0, 0, false, true, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(View, OpenParametersMakeNewDocumentsAndCheckKinds) {
    auto& manager = DocumentManager::Instance();
    DocInitParams params = DocumentManager::GetDefaultInitParams();
    params.flags = DocInitParams::kCreateNew;
    params.kind = DocumentKind::Fragment;
    std::wstring error;
    const fs::path made = root() / "new-fragment.grb";
    CDvw32Doc* doc = manager.OpenDocumentFile(w(made), params, &error);
    ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(doc->GetKind(), DocumentKind::Fragment);
    EXPECT_TRUE(fs::exists(made)) << "saved where asked";
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(doc->FindFrame(), nullptr);

    params.flags = 0;
    params.options = DocInitParams::kCheckKind;
    params.kind = DocumentKind::Part3D;
    const fs::path copy = copyOfSample("drawing.grb");
    EXPECT_EQ(manager.OpenDocumentFile(w(copy), params, &error), nullptr);
    EXPECT_NE(error.find(L"drawing.grb"), std::wstring::npos) << pal::text::toUtf8(error);
    params.kind = DocumentKind::Drawing;
    CDvw32Doc* drawingCopy = manager.OpenDocumentFile(w(copy), params, &error);
    ASSERT_NE(drawingCopy, nullptr);
    run_->pump();
    EXPECT_EQ(DVGetActiveDoc(), drawingCopy) << "a new window comes to the front";
    // An open document is found; only with kActivateFrame does its window come forward.
    params.options = 0;
    EXPECT_EQ(manager.OpenDocumentFile(w(made), params, &error), doc);
    run_->pump();
    EXPECT_EQ(DVGetActiveDoc(), drawingCopy);
    params.options = DocInitParams::kActivateFrame;
    EXPECT_EQ(manager.OpenDocumentFile(w(made), params, &error), doc);
    run_->pump();
    EXPECT_EQ(DVGetActiveDoc(), doc);

    // A new document through the template without a path: an unsaved drawing in a window.
    CDocument* fresh = app_.docTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(fresh, nullptr);
    auto* drawing = dynamic_cast<CDvw32Doc*>(fresh);
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(drawing->GetKind(), DocumentKind::Drawing);
    EXPECT_TRUE(drawing->GetPathName().IsEmpty());
    EXPECT_NE(drawing->FindFrame(), nullptr);
}

TEST_F(View, ARecoveryCopyOpensAsItsOriginalModified) {
    const fs::path copy = copyOfSample("plate.grb.err");
    app_.docTemplate->m_bRecovery = true;
    auto* doc = dynamic_cast<CDvw32Doc*>(app_.docTemplate->OpenDocumentFile(w(copy).c_str()));
    app_.docTemplate->m_bRecovery = false;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(std::wstring(doc->GetPathName()), w(root() / "plate.grb"));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(View, NoDocumentWindowGoesIntoAClosingMainFrame) {
    CDVDocTemplate* found = CDVDocTemplate::AutoMainFrame::FindDocTemplate();
    ASSERT_EQ(found, app_.docTemplate);
    found->AddMainFrame(app_.main());
    EXPECT_EQ(app_.docTemplate->OpenDocumentFile(w(sample_).c_str()), nullptr);
    EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), 0u) << "nothing left half open";
    found->RemoveMainFrame(app_.main());
    EXPECT_NE(openSample(), nullptr);
}

TEST_F(View, AFragmentIsInsertedWhereItIsDroppedAsOneStep) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    const std::size_t before = doc->Cont2D()->GetElements().size();
    const std::size_t undo = doc->Cont2D()->GetUndoCount();
    // A fragment of a cross, 20 mm wide.
    CDvw32Doc fragment;
    fragment.SetKind(DocumentKind::Fragment);
    fragment.Cont2D()->AddElement({ElementKind::Line, 0, 0, L"a", {-10, 0, 10, 0}, {}});
    fragment.Cont2D()->AddElement({ElementKind::Line, 0, 0, L"b", {0, -10, 0, 10}, {}});
    const fs::path fragmentPath = root() / "cross.grb";
    std::wstring error;
    ASSERT_TRUE(fragment.DoFileSave(w(fragmentPath), &error)) << pal::text::toUtf8(error);
    CFragmentPath& fp = CFragmentPath::InitInstance();
    fp.Reset();
    fp.path = w(fragmentPath);
    CPoint drop(300, 200);
    view->ClientToScreen(&drop);
    fp.dropPoint = drop;
    ASSERT_TRUE(view->InsertFragment(fp));
    ASSERT_EQ(doc->Cont2D()->GetElements().size(), before + 2);
    double x = 0, y = 0;
    DeviceToPage(view->GetPageView(), doc->Cont2D()->GetPages()[0], POINT{300, 200}, &x, &y);
    const Element& across = doc->Cont2D()->GetElements()[before];
    EXPECT_NEAR(across.coords[0], x - 10, 1e-9) << "its origin at the drop point";
    EXPECT_NEAR(across.coords[1], y, 1e-9);
    EXPECT_EQ(doc->Cont2D()->GetUndoCount(), undo + 1);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(doc->Cont2D()->Undo());
    EXPECT_EQ(doc->Cont2D()->GetElements().size(), before);

    fp.path = w(sample_); // a drawing is not a fragment
    EXPECT_FALSE(view->InsertFragment(fp));
    fp.path = w(fragmentPath);
    doc->SetReadOnly(true);
    EXPECT_FALSE(view->InsertFragment(fp)) << "not editable";
    fp.Reset();
}

TEST_F(View, ACommandEndsWhenTheViewWasAskedToEndIt) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(doc->BeginCommand(L"Line"));
    EXPECT_TRUE(view->QueryState(3));
    EXPECT_FALSE(view->TestTerminateCommand(1));
    EXPECT_TRUE(doc->IsInCommand());
    view->RequestTerminateCommand();
    EXPECT_TRUE(view->TestTerminateCommand(1));
    EXPECT_FALSE(doc->IsInCommand());
    EXPECT_FALSE(view->TestTerminateCommand(1)) << "nothing left to end";
}

} // namespace
