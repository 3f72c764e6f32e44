// Documents, views and templates in an MDI main frame: opening files (once), asking to save,
// command routing through the active document window, the status-bar prompt, the recent-file
// list, and documents that fail to open or are closed while they save.
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kDrawingResource = 300;
constexpr UINT kMainResource = 301;
constexpr UINT kCmd = 700;
constexpr UINT kPromptedCmd = 710;

const AFX_STRING_RESOURCE kStrings[] = {
    {kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.drw)\n.drw\nDravik.Drawing\nDrawing File"},
    {kMainResource, L"Dravik"},
    {kPromptedCmd, L"Opens the thing\nOpen Thing"},
    {AFX_IDS_IDLEMESSAGE, L"Ready"},
};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

std::vector<std::string> events;

struct Handles {
    bool view = false, document = false, child = false, main = false, app = false;
};
Handles handles;

class Drawing : public CDocument {
    DECLARE_DYNCREATE(Drawing)
public:
    bool closeFrameWhileSaving = false;
    ~Drawing() override { events.push_back("deleted " + name()); }
    std::string name() const {
        const CString& t = GetTitle();
        return std::string(static_cast<LPCWSTR>(t), static_cast<LPCWSTR>(t) + t.GetLength());
    }
    BOOL OnOpenDocument(LPCWSTR path) override {
        return std::wstring(path).find(L"bad") == std::wstring::npos;
    }
    BOOL OnSaveDocument(LPCWSTR) override {
        if (closeFrameWhileSaving) {
            POSITION pos = GetFirstViewPosition();
            GetNextView(pos)->GetParentFrame()->DestroyWindow();
        }
        // Still here after its frame went.
        events.push_back("saved " + name());
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    BOOL OnCmd(UINT) {
        events.push_back("document");
        return handles.document;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(Drawing, CDocument)
BEGIN_MESSAGE_MAP(Drawing, CDocument)
ON_COMMAND_EX(kCmd, &Drawing::OnCmd)
END_MESSAGE_MAP()

std::vector<std::string> viewEvents;

class DrawingView : public CView {
    DECLARE_DYNCREATE(DrawingView)
public:
    void OnInitialUpdate() override {
        viewEvents.push_back("initial update");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override {
        viewEvents.push_back("update " + std::to_string(hint));
        CView::OnUpdate(sender, hint, object);
    }
    BOOL OnPreparePrinting(CPrintInfo* info) override {
        viewEvents.push_back(info->m_bPreview ? "prepare preview" : "prepare printing");
        return CView::OnPreparePrinting(info);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { viewEvents.push_back("printing began"); }
    BOOL OnCmd(UINT) {
        events.push_back("view");
        return handles.view;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(DrawingView, CView)
BEGIN_MESSAGE_MAP(DrawingView, CView)
ON_COMMAND_EX(kCmd, &DrawingView::OnCmd)
END_MESSAGE_MAP()

class DrawingFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(DrawingFrame)
public:
    BOOL OnCmd(UINT) {
        events.push_back("child");
        return handles.child;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(DrawingFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(DrawingFrame, CMDIChildWnd)
ON_COMMAND_EX(kCmd, &DrawingFrame::OnCmd)
END_MESSAGE_MAP()

class MainFrame : public CMDIFrameWnd {
public:
    CStatusBar status;
    BOOL OnCmd(UINT) {
        events.push_back("main");
        return handles.main;
    }
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CMDIFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        if (!status.Create(this) || !status.SetIndicators(indicators, 2))
            return -1;
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_EX(kCmd, &MainFrame::OnCmd)
END_MESSAGE_MAP()

class DrawingApp : public CWinApp {
public:
    CMultiDocTemplate* drawings = nullptr;
    BOOL OnCmd(UINT) {
        events.push_back("app");
        return handles.app;
    }
    BOOL InitInstance() override {
        SetRegistryKey(L"Dravik Tests");
        LoadStdProfileSettings(4);
        drawings = new CMultiDocTemplate(kDrawingResource, RUNTIME_CLASS(Drawing),
                                         RUNTIME_CLASS(DrawingFrame), RUNTIME_CLASS(DrawingView));
        AddDocTemplate(drawings);
        auto* main = new MainFrame;
        if (!main->LoadFrame(kMainResource)) // deletes itself on failure
            return FALSE;
        m_pMainWnd = main;
        main->ShowWindow(SW_SHOW);
        return TRUE;
    }
    MainFrame* main() const { return static_cast<MainFrame*>(m_pMainWnd); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DrawingApp, CWinApp)
ON_COMMAND_EX(kCmd, &DrawingApp::OnCmd)
END_MESSAGE_MAP()

class DocViewTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        events.clear();
        handles = {};
        ASSERT_TRUE(run.init());
    }
    Drawing* open(const wchar_t* path) { return static_cast<Drawing*>(app.OpenDocumentFile(path)); }
    Drawing* fresh() {
        app.OnFileNew();
        CMDIChildWnd* child = app.main()->MDIGetActive();
        return child ? static_cast<Drawing*>(child->GetActiveDocument()) : nullptr;
    }
    int childCount() const {
        int n = 0;
        for (HWND h = ::GetWindow(app.main()->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ++n;
        return n;
    }
    std::vector<std::wstring> recent() const {
        std::vector<std::wstring> out;
        for (int i = 0; i < app.m_pRecentFileList->GetCount(); ++i)
            out.emplace_back(static_cast<LPCWSTR>((*app.m_pRecentFileList)[i]));
        return out;
    }

    DrawingApp app;
    pal::test::AppRun run{app};
};

TEST_F(DocViewTest, ATemplateMakesDocumentFrameAndViewForAFileAndOpensItOnlyOnce) {
    Drawing* doc = open(L"C:\\work\\Plan.drw");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), L"Plan.drw");
    EXPECT_EQ(doc->GetDocTemplate(), app.drawings);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(pos, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(DrawingView)));
    auto* frame = dynamic_cast<DrawingFrame*>(view->GetParentFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(app.main()->MDIGetActive(), frame);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(app.main()->GetActiveDocument(), nullptr) << "the main frame has no view of its own";
    EXPECT_EQ(app.main()->GetActiveFrame()->GetActiveDocument(), doc);
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, L"Plan.drw");
    app.main()->GetWindowText(title);
    EXPECT_EQ(title, L"Dravik - Plan.drw");
    EXPECT_EQ(recent(), std::vector<std::wstring>{L"C:\\work\\Plan.drw"});

    Drawing* second = open(L"C:\\work\\Other.drw");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(childCount(), 2);
    // The same file, in other letters: the open document comes to the front.
    EXPECT_EQ(open(L"c:\\WORK\\plan.DRW"), doc);
    EXPECT_EQ(childCount(), 2);
    EXPECT_EQ(app.main()->MDIGetActive(), frame);
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
}

TEST_F(DocViewTest, ViewsHearTheirFirstUpdateAndOthersChangesButPrintingIsNotAvailable) {
    viewEvents.clear();
    Drawing* doc = open(L"C:\\a.drw");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(viewEvents, (std::vector<std::string>{"initial update", "update 0"}));
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    viewEvents.clear();
    doc->UpdateAllViews(nullptr, 7);
    doc->UpdateAllViews(view, 8); // the sender is not told
    EXPECT_EQ(viewEvents, std::vector<std::string>{"update 7"});
    viewEvents.clear();
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW})
        ::SendMessageW(app.main()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(viewEvents,
              (std::vector<std::string>{"prepare printing", "prepare printing", "prepare preview"}));
}

TEST_F(DocViewTest, FileOpenAndSaveAsAskForTheFileThroughTheFileDialog) {
    writeFile("drive_c/Work/Site.drw", "site");
    answer(L"C:\\Work\\Site.drw");
    app.OnFileOpen();
    ASSERT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_EQ(app.main()->MDIGetActive()->GetActiveDocument()->GetTitle(), L"Site.drw");
    answer(IDCANCEL);
    app.OnFileOpen();
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);

    // A new document has no file yet: saving it asks for one, with the template's extension.
    Drawing* doc = fresh();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();
    answer(L"C:\\Work\\Copy");
    ::SendMessageW(app.main()->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_SAVE, 0), 0);
    EXPECT_EQ(doc->GetPathName(), L"C:\\Work\\Copy.drw");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(recent().front(), L"C:\\Work\\Copy.drw");
    const auto dialogs = journal("prompt");
    ASSERT_FALSE(dialogs.empty());
    EXPECT_EQ(dialogs.back().get("text"), "Drawing1") << "the dialog offers the document's title";
}

TEST_F(DocViewTest, TheFileMenuShowsTheRecentListInPlaceOfItsItem) {
    CMenu file;
    ASSERT_TRUE(file.CreatePopupMenu());
    file.AppendMenu(MF_STRING, ID_FILE_OPEN, L"&Open");
    file.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, L"Recent File");
    file.AppendMenu(MF_STRING, ID_APP_EXIT, L"E&xit");
    const auto items = [&] {
        std::vector<std::wstring> out;
        for (UINT i = 0; i < file.GetMenuItemCount(); ++i) {
            CString text;
            file.GetMenuString(i, text, MF_BYPOSITION);
            if (file.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED)
                text += L" (off)";
            out.emplace_back(static_cast<LPCWSTR>(text));
        }
        return out;
    };
    const auto popup = [&] {
        app.main()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file.m_hMenu), 0);
    };
    popup();
    EXPECT_EQ(items(), (std::vector<std::wstring>{L"&Open", L"Recent File (off)", L"E&xit"}));
    ASSERT_TRUE(open(L"C:\\a.drw") && open(L"C:\\b.drw"));
    popup();
    EXPECT_EQ(items(), (std::vector<std::wstring>{L"&Open", L"&1 b.drw", L"&2 a.drw", L"E&xit"}));
    popup(); // again: the list is rebuilt, not repeated
    EXPECT_EQ(items(), (std::vector<std::wstring>{L"&Open", L"&1 b.drw", L"&2 a.drw", L"E&xit"}));
    // Choosing an entry opens (here: brings forward) its file.
    ::SendMessageW(app.main()->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_MRU_FILE1 + 1, 0), 0);
    EXPECT_EQ(app.main()->MDIGetActive()->GetActiveDocument()->GetTitle(), L"a.drw");
}

TEST_F(DocViewTest, TheRecentListIsKeptInTheProfileAtExit) {
    ASSERT_TRUE(open(L"C:\\a.drw") && open(L"C:\\b.drw"));
    app.CloseAllDocuments(FALSE);
    run.exit();
    EXPECT_EQ(app.GetProfileStringW(L"Recent File List", L"File1"), L"C:\\b.drw");
    EXPECT_EQ(app.GetProfileStringW(L"Recent File List", L"File2"), L"C:\\a.drw");
    // The next run reads it back.
    app.LoadStdProfileSettings(4);
    EXPECT_EQ(recent(), (std::vector<std::wstring>{L"C:\\b.drw", L"C:\\a.drw"}));
}

TEST_F(DocViewTest, NewDocumentsAreNumberedAfterTheTemplatesDocumentName) {
    Drawing* first = fresh();
    Drawing* second = fresh();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetTitle(), L"Drawing1");
    EXPECT_EQ(second->GetTitle(), L"Drawing2");
    EXPECT_TRUE(first->GetPathName().IsEmpty());
    EXPECT_TRUE(recent().empty());
}

struct SaveCase {
    const char* name;
    std::vector<int> answers;       // one for each question asked
    std::vector<std::string> saved; // documents saved
    bool closed;                    // CloseAllDocuments went ahead
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveAllTest : public DocViewTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveAllTest, EachModifiedDocumentIsAskedOnce) {
    const SaveCase& c = GetParam();
    Drawing* a = open(L"C:\\a.drw");
    Drawing* b = open(L"C:\\b.drw");
    Drawing* d = open(L"C:\\d.drw");
    ASSERT_TRUE(a && b && d);
    a->SetModifiedFlag();
    d->SetModifiedFlag();
    for (int reply : c.answers)
        answer(reply);
    const size_t promptsBefore = journal("prompt").size();
    const BOOL saveAll = app.SaveAllModified();
    EXPECT_EQ(journal("prompt").size() - promptsBefore, c.answers.size());
    std::vector<std::string> saved;
    for (const std::string& e : events) {
        if (e.rfind("saved ", 0) == 0)
            saved.push_back(e.substr(6));
    }
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(saveAll != FALSE, c.closed);
    if (saveAll)
        app.CloseAllDocuments(FALSE);
    EXPECT_EQ(app.GetOpenDocumentCount(), c.closed ? 0 : 3);
    EXPECT_EQ(childCount(), c.closed ? 0 : 3);
}

INSTANTIATE_TEST_SUITE_P(DocView, SaveAllTest,
                         ::testing::Values(SaveCase{"YesSaves", {IDYES, IDYES}, {"a.drw", "d.drw"}, true},
                                           SaveCase{"NoDiscards", {IDNO, IDNO}, {}, true},
                                           SaveCase{"YesThenNo", {IDYES, IDNO}, {"a.drw"}, true},
                                           SaveCase{"CancelStopsAtTheFirst", {IDCANCEL}, {}, false},
                                           SaveCase{"CancelAfterASave", {IDYES, IDCANCEL}, {"a.drw"}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocViewTest, ClosingTheMainFrameAsksAndCancelKeepsEverything) {
    Drawing* a = open(L"C:\\a.drw");
    ASSERT_NE(a, nullptr);
    a->SetModifiedFlag();
    const HWND main = app.main()->m_hWnd;
    answer(IDCANCEL);
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    answer(IDNO);
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(events, std::vector<std::string>{"deleted a.drw"});
    app.m_pMainWnd = nullptr;
}

TEST_F(DocViewTest, ClosingADocumentWindowClosesItsDocument) {
    Drawing* a = open(L"C:\\a.drw");
    ASSERT_TRUE(a && open(L"C:\\b.drw"));
    POSITION pos = a->GetFirstViewPosition();
    CFrameWnd* frame = a->GetNextView(pos)->GetParentFrame();
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(events, std::vector<std::string>{"deleted a.drw"});
    EXPECT_EQ(childCount(), 1);
    ASSERT_NE(app.main()->MDIGetActive(), nullptr);
    EXPECT_EQ(app.main()->MDIGetActive()->GetActiveDocument()->GetTitle(), L"b.drw");
}

HWND viewOf(CDocument* document) {
    POSITION pos = document->GetFirstViewPosition();
    CView* view = pos ? document->GetNextView(pos) : nullptr;
    return view ? view->m_hWnd : nullptr;
}

TEST_F(DocViewTest, TheKeyboardGoesToTheActiveDocumentsViewAlsoAfterADialogOfTheMainFrame) {
    Drawing* a = open(L"C:\\a.drw");
    Drawing* b = open(L"C:\\b.drw");
    ASSERT_TRUE(a && b);
    MainFrame* main = app.main();
    ::SetActiveWindow(main->m_hWnd);
    EXPECT_EQ(::GetFocus(), viewOf(b)) << "the new document window hands the keyboard to its view";
    ::SendMessageW(main->m_hWndMDIClient, WM_MDIACTIVATE,
                   reinterpret_cast<WPARAM>(viewOf(a) ? ::GetParent(viewOf(a)) : nullptr), 0);
    EXPECT_EQ(::GetFocus(), viewOf(a)) << "an activated document window too";

    // A modal dialog of the main frame ends as such dialogs end: the owner enabled, the box hidden.
    // Meanwhile the document whose view had the keyboard was closed.
    for (const bool closeActive : {false, true}) {
        SCOPED_TRACE(closeActive ? "the active document closed meanwhile" : "nothing changed meanwhile");
        const HWND box = ::CreateWindowExW(0, L"Static", L"box", WS_POPUP | WS_CAPTION, 50, 50, 200, 100,
                                           main->m_hWnd, nullptr, nullptr, nullptr);
        main->EnableWindow(FALSE);
        ::ShowWindow(box, SW_SHOW);
        ASSERT_EQ(::GetFocus(), box);
        if (closeActive) {
            main->MDIGetActive()->SendMessage(WM_CLOSE);
            EXPECT_EQ(::GetActiveWindow(), box)
                << "the next document does not take the keyboard from the box";
            EXPECT_EQ(::GetFocus(), box);
        }
        main->EnableWindow(TRUE);
        ::SetWindowPos(box, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(::GetActiveWindow(), main->m_hWnd);
        CMDIChildWnd* active = main->MDIGetActive();
        ASSERT_NE(active, nullptr);
        EXPECT_EQ(::GetFocus(), viewOf(active->GetActiveDocument()));
        ::DestroyWindow(box);
    }
}

struct RouteCase {
    Handles handles;
    std::vector<std::string> offeredTo;
};

TEST_F(DocViewTest, CommandsGoToViewDocumentChildFrameMainFrameThenApplication) {
    ASSERT_NE(open(L"C:\\a.drw"), nullptr);
    const RouteCase cases[] = {
        {{true, true, true, true, true}, {"view"}},
        {{false, true, true, true, true}, {"view", "document"}},
        {{false, false, true, true, true}, {"view", "document", "child"}},
        {{false, false, false, true, true}, {"view", "document", "child", "main"}},
        {{false, false, false, false, true}, {"view", "document", "child", "main", "app"}},
        {{false, false, false, false, false}, {"view", "document", "child", "main", "app"}},
    };
    for (const RouteCase& c : cases) {
        handles = c.handles;
        events.clear();
        ::SendMessageW(app.main()->m_hWnd, WM_COMMAND, MAKEWPARAM(kCmd, 0), 0);
        EXPECT_EQ(events, c.offeredTo);
    }
    // Without a document window the main frame and the application are left.
    app.CloseAllDocuments(FALSE);
    handles = {};
    events.clear();
    ::SendMessageW(app.main()->m_hWnd, WM_COMMAND, MAKEWPARAM(kCmd, 0), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"main", "app"}));
}

TEST_F(DocViewTest, TheStatusBarPromptFollowsTheMenuSelection) {
    CStatusBar& status = app.main()->status;
    struct Step {
        UINT item;
        UINT flags;
        HMENU menu;
        const wchar_t* shown;
    };
    const HMENU someMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0x77));
    const Step steps[] = {
        {kPromptedCmd, 0, someMenu, L"Opens the thing"},
        {0, 0x0010 /* a popup */, someMenu, L""},
        {kPromptedCmd, 0, someMenu, L"Opens the thing"},
        {999, 0, someMenu, L""}, // no prompt for it
        {0, 0xFFFF, nullptr, L"Ready"},
    };
    for (const Step& s : steps) {
        app.main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(s.item, s.flags), reinterpret_cast<LPARAM>(s.menu));
        EXPECT_EQ(status.GetPaneText(0), s.shown) << s.item;
    }
    app.main()->SetMessageText(L"Direct");
    EXPECT_EQ(status.GetPaneText(0), L"Direct");
}

TEST_F(DocViewTest, ADocumentThatFailsToOpenLeavesNoFrameAndTheRecentListAlone) {
    ASSERT_NE(open(L"C:\\good.drw"), nullptr);
    const auto before = recent();
    EXPECT_EQ(open(L"C:\\bad.drw"), nullptr);
    EXPECT_EQ(childCount(), 1);
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_EQ(recent(), before);
    EXPECT_EQ(events, std::vector<std::string>{"deleted "}) << "the document went, untitled";
}

TEST_F(DocViewTest, AFrameClosedDuringItsDocumentsSaveLeavesTheDocumentUntilTheSaveIsDone) {
    Drawing* a = open(L"C:\\a.drw");
    ASSERT_NE(a, nullptr);
    a->closeFrameWhileSaving = true;
    a->SetModifiedFlag();
    EXPECT_TRUE(a->DoFileSave());
    EXPECT_EQ(events, (std::vector<std::string>{"saved a.drw", "deleted a.drw"}));
    EXPECT_EQ(childCount(), 0);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
}

TEST(DocTemplateStrings, MissingFieldsAreEmpty) {
    struct Case {
        const wchar_t* resource;
        CDocTemplate::DocStringIndex index;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"\nDrawing\nDrawing\nDrawings (*.drw)\n.drw\nDravik.Drawing\nDrawing File", CDocTemplate::filterExt,
         L".drw"},
        {L"\nDrawing\nDrawing\nDrawings (*.drw)\n.drw\nDravik.Drawing\nDrawing File",
         CDocTemplate::regFileTypeName, L"Drawing File"},
        {L"\nDrawing", CDocTemplate::docName, L"Drawing"},
        {L"\nDrawing", CDocTemplate::filterExt, L""},
        {L"Title", CDocTemplate::windowTitle, L"Title"},
        {L"Title", CDocTemplate::regFileTypeName, L""},
        {L"", CDocTemplate::docName, L""},
        {L"\n\n\n\n\n\n\n\n", CDocTemplate::regFileTypeName, L""},
    };
    for (const Case& c : cases) {
        CMultiDocTemplate t(0, nullptr, nullptr, nullptr);
        t.m_strDocStrings = c.resource;
        CString field = L"stale";
        t.GetDocString(field, c.index);
        EXPECT_EQ(field, c.expected) << c.index;
    }
    // Without a resource the template makes nothing, and says so.
    CMultiDocTemplate none(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(none.OpenDocumentFile(nullptr), nullptr);
}

class RecentListTest : public pal::test::SandboxTest {};

TEST_F(RecentListTest, NewestFirstEachFileOnceAndKeptInTheProfile) {
    CWinApp app(L"Recent");
    app.SetRegistryKey(L"Dravik Tests");
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 3);
    for (const wchar_t* path : {L"C:\\a.drw", L"C:\\b.drw", L"c:\\A.DRW", L"C:\\c.drw", L"C:\\d.drw", L""})
        list.Add(path);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list[0], L"C:\\d.drw");
    EXPECT_EQ(list[1], L"C:\\c.drw");
    EXPECT_EQ(list[2], L"c:\\A.DRW");
    EXPECT_EQ(list[7], L"");
    list.WriteList();
    list.Remove(0);
    list.Remove(9);
    list.WriteList(); // entries that left the list leave the profile
    EXPECT_EQ(app.GetProfileStringW(L"Recent File List", L"File3", L"none"), L"none");

    CRecentFileList again(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    again.ReadList();
    ASSERT_EQ(again.GetCount(), 2);
    EXPECT_EQ(again[0], L"C:\\c.drw");
    CString shown;
    EXPECT_TRUE(again.GetDisplayName(shown, 1, nullptr, 0));
    EXPECT_EQ(shown, L"A.DRW");
}

} // namespace
