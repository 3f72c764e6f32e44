// The live ribbon of a main frame: the File button's backstage with its pages, what it hides
// while open and shows again, its help topics, the right-click menus and the tabs popup.
#include "frame/CommandBars.h"
#include "frame/FrameState.h"
#include "frame/MainFrame.h"
#include "panels/SysPanelControls.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonContextMenu.h"
#include "ribbon/RibbonControls.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/FeaTaskManager.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/LibraryGallery.h"
#include "DravikUI/PopupControls.h"
#include "DravikUI/TabView.h"
#include "XTToolkitPro.h"
#include "drawing_fixture.h"
#include "frame_fixtures.h"
#include "frame_sandbox.h"
#include "pal/sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using frame_test::loadState;

constexpr UINT kDrawingResource = 430;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"}};
AFX_STRING_TABLE(kStrings);

CWinApp application(L"Dravik");

class Application : public FrameToolsApplication,
                    public MainFrameApplication,
                    public DravikManagedUIProxy::IPrototypesCallback {
public:
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
    DravikManagedUIProxy::IPrototypesCallback* GetPrototypesCallback() override { return this; }
    void CreateDocumentFromPrototype(const wchar_t* path) override { prototypes.emplace_back(path); }
    void OnRecentFilePinStateChanged(int index) override { pinChanges.push_back(index); }
    std::shared_ptr<MainFrameState> GetDefaultMainFrameState() override { return defaults; }
    std::shared_ptr<MainFrameState> defaults;
    std::vector<std::wstring> prototypes;
    std::vector<int> pinChanges;
};

// The kernel's way to the help context, as the application keeps it.
class Shell : public DravikServerAppProxy {
public:
    unsigned SetHelpContext(unsigned helpId, const wchar_t*, int delta) override {
        const unsigned previous = helpId_;
        if ((delta >= 0 && nesting_ == 0) || (delta < 0 && nesting_ + delta == 0))
            helpId_ = helpId;
        nesting_ += delta;
        return previous;
    }
    unsigned helpId() const { return helpId_; }

private:
    unsigned helpId_ = 7;
    int nesting_ = 0;
};

class BackstageTest : public frame_test::FrameSandbox<Application> {
protected:
    void SetUp() override {
        FrameSandbox::SetUp();
        shell = std::make_unique<Shell>();
        LTModuleProxy::Attach();
        // The program's English texts, so that the pictures read as a person sees them.
        Dravik::I18n::LoadLanguage(L"Eng");
    }
    void TearDown() override {
        destroyFrames();
        application.m_pMainWnd = nullptr;
        LTModuleProxy::Detach();
        Dravik::I18n::LoadCatalogue(L"");
        shell.reset();
        FrameSandbox::TearDown();
    }
    CMainFrame* make(const char* state = "main_frame_backstage.xml") {
        CMainFrame* frame = CMainFrame::Create(*loadState(state), true, true);
        if (frame == nullptr)
            return nullptr;
        application.m_pMainWnd = frame;
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        frame->ShowFirstTime();
        frame->RecalcLayout();
        pal::test::pump();
        return frame;
    }
    CDvw32Doc* openDrawing(CMainFrame* frame) {
        return frame_test::openDrawing(application, frame, kDrawingResource);
    }
    static std::vector<std::wstring> entries(CXTPRibbonBackstageView* view) {
        std::vector<std::wstring> out;
        for (CXTPControl* control : *view->GetControls())
            out.push_back(
                (dynamic_cast<CXTPRibbonBackstageTab*>(control) != nullptr ? L"tab " : L"command ") +
                std::to_wstring(control->GetID()) + L" " + control->GetCaption().GetString());
        return out;
    }
    std::unique_ptr<Shell> shell;
};

// A person opens the File button and goes through the pages: each shows beside the menu, and
// the context help points at its topic only while it shows.
TEST_F(BackstageTest, EachPageShowsInTheBackstageWithItsHelpTopic) {
    const auto prototypes = pal::sandbox::root() / "prototypes";
    std::filesystem::create_directories(prototypes);
    for (const char* name : {"Drawing A3.grb", "Part.grb", "Parts list.grb"})
        std::ofstream(prototypes / name) << "";
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(openDrawing(frame), nullptr);
    const std::wstring savedFolder = GetSettings().templateFolder;
    GetSettings().templateFolder = prototypes.wstring();
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    RibbonBackstageView* view = ribbon->GetRibbonBackstageView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(entries(view),
              (std::vector<std::wstring>{L"tab 1065 New", L"command 1001 Open...", L"tab 57601 Recent",
                                         L"command 1029 Save", L"tab 57607 Print", L"tab 57608 Export",
                                         L"tab 57610 Export to PDM", L"tab 1027 Help", L"command 1027 Help",
                                         L"command 1019 Exit"}));
    EXPECT_TRUE(view->GetControl(3)->GetBeginGroup()) << "a separator starts a group";

    struct Page {
        UINT id;
        const char* name;
        CWnd* page;
        UINT help;
    };
    const Page pages[] = {
        {1065, "new-document", ribbon->GetNewDocumentPage(false), 106500},
        {57601, "recent-files", ribbon->GetRecentFilesPage(false), 7},
        {57607, "print", ribbon->GetPrintPage(false), 102700},
        {57608, "export", ribbon->GetExportPage(false), 103600},
        {57610, "export-to-pdm", ribbon->GetExportOrsaPage(false), 155100},
    };
    for (const Page& p : pages) {
        SCOPED_TRACE(p.name);
        ASSERT_NE(p.page, nullptr) << "made for its tab";
        ASSERT_TRUE(ribbon->ShowBackstageTab(p.id, nullptr));
        pal::test::pump();
        ASSERT_NE(ribbon->GetActiveBackstageTab(), nullptr);
        EXPECT_EQ(ribbon->GetActiveBackstageTab()->GetControlPane(), p.page);
        EXPECT_TRUE(p.page->IsWindowVisible());
        EXPECT_EQ(shell->helpId(), p.help);
        EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, std::string("backstage-") + p.name));
        ribbon->CloseBackstage();
        pal::test::pump();
        EXPECT_EQ(ribbon->GetActiveBackstageTab(), nullptr);
        EXPECT_FALSE(p.page->IsWindowVisible());
        EXPECT_EQ(shell->helpId(), 7u) << "the topic before the page showed";
    }
    // What the pages hold: the folder's prototypes, the active document's export formats and
    // its print preview (gone once the backstage closed).
    EXPECT_EQ(
        DravikManagedUIProxy::PrototypesController::GetPrototypes(ribbon->GetNewDocumentPage(false)->m_hWnd)
            .size(),
        3u);
    EXPECT_EQ(DravikManagedUIProxy::ExportController::GetFilters(ribbon->GetExportPage(false)->m_hWnd).size(),
              5u);
    EXPECT_EQ(ribbon->GetPrintPage(false)->GetPrintWindow(), nullptr);
    GetSettings().templateFolder = savedFolder;
}

// Two controls share id 1027, a tab and a command; the kernel's settings say which one shows.
TEST_F(BackstageTest, TheSettingsChooseBetweenTheHelpTabAndTheHelpCommand) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    RibbonBackstageView* view = ribbon->GetRibbonBackstageView();
    for (const bool command : {true, false}) {
        SCOPED_TRACE(command ? "command" : "tab");
        GetSettings().backstageCommand = command;
        ASSERT_TRUE(ribbon->ShowBackstageTab(1065, nullptr));
        EXPECT_EQ(view->GetControl(7)->IsVisible() != FALSE, !command) << "the tab";
        EXPECT_EQ(view->GetControl(8)->IsVisible() != FALSE, command) << "the command";
        ribbon->CloseBackstage();
    }
    GetSettings().backstageCommand = false;
}

// Showing a tab: a disabled one is refused and the view stays closed; an open view only switches
// its page; a page that is not the tab's is no match.
TEST_F(BackstageTest, ShowingATabOpensTheViewOrSwitchesItsPage) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    RibbonBackstageView* view = ribbon->GetRibbonBackstageView();
    CXTPControl* recent = view->GetControls()->FindControl(57601);
    ASSERT_NE(recent, nullptr);

    recent->SetEnabled(FALSE);
    EXPECT_FALSE(ribbon->ShowBackstageTab(57601, nullptr)) << "a disabled tab";
    EXPECT_FALSE(view->IsOpen());
    recent->SetEnabled(TRUE);
    EXPECT_FALSE(ribbon->ShowBackstageTab(57601, ribbon->GetPrintPage(false))) << "not the tab's page";
    EXPECT_FALSE(ribbon->ShowBackstageTab(4242, nullptr)) << "no such tab";
    EXPECT_FALSE(view->IsOpen());

    ASSERT_TRUE(ribbon->ShowBackstageTab(57601, ribbon->GetRecentFilesPage(false)));
    ASSERT_TRUE(view->IsOpen());
    ASSERT_TRUE(ribbon->ShowBackstageTab(57607, nullptr));
    EXPECT_TRUE(view->IsOpen());
    EXPECT_EQ(ribbon->GetActiveBackstageTab()->GetID(), 57607);
    EXPECT_EQ(app->pinChanges, std::vector<int>{-1}) << "the recent page tells the list when it is left";

    // A tab that follows its command's state is disabled while no one handles the command.
    ribbon->CloseBackstage();
    CXTPControl* exportToOrsa = view->GetControls()->FindControl(57610);
    exportToOrsa->SetFlags(exportToOrsa->GetFlags() & ~xtpFlagManualUpdate);
    EXPECT_FALSE(ribbon->ShowBackstageTab(57610, nullptr));
    EXPECT_FALSE(exportToOrsa->GetEnabled());
    EXPECT_FALSE(view->IsOpen());
}

// Opening hides the floating bars and panes that show; closing shows exactly those again, and
// not one that went away meanwhile.
TEST_F(BackstageTest, ClosingShowsAgainOnlyTheHiddenWindowsThatStillExist) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPCommandBars* bars = frame->GetCommandBars();
    CXTPToolBar* kept = bars->Add(L"Kept", xtpBarFloating);
    CXTPToolBar* gone = bars->Add(L"Gone", xtpBarFloating);
    CXTPToolBar* hidden = bars->Add(L"Hidden before", xtpBarFloating);
    for (CXTPToolBar* bar : {kept, gone, hidden}) {
        bar->GetControls()->Add(xtpControlButton, 57600);
        bar->SetVisible(TRUE);
    }
    hidden->SetVisible(FALSE);
    pal::test::pump();
    ASSERT_TRUE(kept->IsWindowVisible());
    ASSERT_TRUE(gone->IsWindowVisible());
    const HWND goneWindow = gone->m_hWnd;

    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ASSERT_TRUE(ribbon->ShowBackstageTab(1065, nullptr));
    RibbonBackstageView* view = ribbon->GetRibbonBackstageView();
    EXPECT_EQ(view->GetHiddenWindows(), (std::set<HWND>{kept->m_hWnd, goneWindow}));
    EXPECT_FALSE(kept->IsWindowVisible());
    EXPECT_FALSE(gone->IsWindowVisible());

    ::DestroyWindow(goneWindow);
    const HWND other =
        ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ribbon->CloseBackstage();
    pal::test::pump();
    EXPECT_TRUE(kept->IsWindowVisible());
    EXPECT_FALSE(::IsWindow(goneWindow)) << "a destroyed bar is not brought back";
    EXPECT_FALSE(::IsWindowVisible(other)) << "nor is a window that took over its place";
    EXPECT_FALSE(hidden->IsWindowVisible()) << "hidden before, hidden after";
    EXPECT_TRUE(view->GetHiddenWindows().empty());
    ::DestroyWindow(other);
}

// A definition that names pages or commands the program does not have, entries without ids or
// with ids that are no numbers, and elements that are no entries, loads the rest and says what it
// left out. An add-on's command stays: the add-on registers it only after the ribbon loaded.
TEST_F(BackstageTest, ADamagedBackstageDefinitionLoadsWhatIsValid) {
    dvlog::test::clearCapture();
    CMainFrame* frame = make("main_frame_bad_backstage.xml");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(entries(frame->GetDVRibbonBar()->GetRibbonBackstageView()),
              (std::vector<std::wstring>{L"tab 1065 New", L"command 15000 An add-on's, registered later",
                                         L"command 1019 Exit"}));
    std::string warnings;
    for (const std::string& line : dvlog::test::capturedAt(6))
        warnings += line + "\n";
    for (const char* expected : {"templateGallery", "names no page", "without id", "not a number",
                                 "not a backstage tab or command", "4711 is no command"})
        EXPECT_NE(warnings.find(expected), std::string::npos) << expected << " in\n" << warnings;
}

// The page theme: the managed prototypes control takes a theme type chosen by how light the
// page background is; the export control takes the page's colours.
TEST_F(BackstageTest, PagesTakeTheBackstageTheme) {
    struct Case {
        int theme;
        COLORREF background;
        int type;
    };
    const Case cases[] = {{12, RGB(255, 255, 255), 2}, {12, RGB(0, 0, 0), 3},
                          {16, RGB(240, 240, 240), 4}, {16, RGB(30, 30, 30), 5},
                          {3, RGB(200, 200, 200), 0},  {3, RGB(60, 60, 60), 1},
                          {12, RGB(128, 128, 128), 2}};
    for (const Case& c : cases)
        EXPECT_EQ(DVRibbonNewDocumentBackstagePage::PrototypesThemeType(c.theme, c.background), c.type)
            << c.theme << " " << c.background;

    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ribbon->SetBackstageTheme(5, 12);
    EXPECT_EQ(ribbon->GetBackstageView()->GetTheme(), 5);
    EXPECT_EQ(ribbon->GetNewDocumentPage(false)->GetTheme(), 12);
    EXPECT_EQ(ribbon->GetRecentFilesPage(false)->GetTheme(), 12);
    const COLORREF back = ribbon->GetNewDocumentPage(false)->GetBackColor();
    EXPECT_EQ(DravikManagedUIProxy::PrototypesController::GetTheme(ribbon->GetNewDocumentPage(false)->m_hWnd),
              DVRibbonNewDocumentBackstagePage::PrototypesThemeType(12, back));
}

// The export formats are asked for once, and again only after a change of what the document
// holds.
TEST_F(BackstageTest, TheExportFormatsAreLoadedAgainOnlyAfterAContentChange) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    DVRibbonExportBackstagePage* page = frame->GetDVRibbonBar()->GetExportPage(false);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->AreFiltersLoaded());
    page->OnSetActive();
    page->OnKillActive();
    EXPECT_TRUE(page->AreFiltersLoaded());
    struct Case {
        unsigned flags;
        unsigned changeFlags;
        bool reload;
    };
    for (const Case& c : {Case{4, 0, true}, Case{4 | 1, 1, true}, Case{4, 2, false}, Case{1, 0, false}}) {
        SCOPED_TRACE(std::to_string(c.flags) + "/" + std::to_string(c.changeFlags));
        DocumentContentChangedArgs args(drawing, c.flags);
        args.ChangeFlags = c.changeFlags;
        ApplicationEventManager::runEvent(1034, args);
        EXPECT_EQ(page->AreFiltersLoaded(), !c.reload);
        page->OnSetActive();
        page->OnKillActive();
    }
    // A chosen format is exported from the active document.
    dvtrace::test::clear();
    page->OnExportFormatChosen(1);
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"),
              std::vector<std::string>{"LTModuleProxy::Export(1,file)"});
}

// The print page keeps its preview while it is given the same document again.
TEST_F(BackstageTest, ThePrintPreviewFollowsTheDocument) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    DVRibbonBackstagePrintPage* page = frame->GetDVRibbonBar()->GetPrintPage(false);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(frame->GetDVRibbonBar()->ShowBackstageTab(57607, page));
    EXPECT_EQ(page->GetDocument(), drawing) << "the frame hands the page its active document";
    CWnd* preview = page->GetPrintWindow();
    ASSERT_NE(preview, nullptr);
    page->SetDocument(drawing);
    EXPECT_EQ(page->GetPrintWindow(), preview);
    page->SetDocument(nullptr);
    EXPECT_EQ(page->GetPrintWindow(), nullptr);
}

// A copy of a parameter control that counts what it is asked and notes each change of its state
// that came while the ribbon could redraw.
class CountingCopy : public CXTPControlButton, public IDataExchange {
public:
    static inline CXTPCommandBar* ribbon = nullptr;
    void Reset() override { ++resets; }
    void SetValue(Dravik::DVDocument*, const SysPanelValue& given) override { value = given; }
    const SysPanelValue* GetValue() override { return &value; }
    void CopyValueFrom(const IDataExchange& source) override {
        value = *const_cast<IDataExchange&>(source).GetValue();
        ++copies;
    }
    void OnEnabledChanged() override {
        if (!Dravik::UI::IsRedrawLocked(ribbon))
            ++unlockedChanges;
    }
    SysPanelValue value;
    int resets = 0;
    int copies = 0;
    int unlockedChanges = 0;
};

// A popup entry with its own bar, added to `controls`.
CXTPControlPopup* addPopup(CXTPControls* controls, CXTPCommandBars* bars, int id) {
    auto* popup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
    popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars));
    popup->GetCommandBar()->InternalRelease();
    controls->Add(popup, id);
    return popup;
}

// What a menu offers, entry by entry ("|" where an entry starts a section).
// The menu is the caller's to release, as the ribbon releases it after tracking; describing
// releases it.
std::vector<std::string> describe(CXTPCommandBar* menu) {
    std::vector<std::string> out;
    if (menu == nullptr)
        return out;
    std::unique_ptr<CXTPCommandBar, void (*)(CXTPCommandBar*)> release(
        menu, [](CXTPCommandBar* bar) { bar->InternalRelease(); });
    for (CXTPControl* c : *menu->GetControls()) {
        std::string kind = "other";
        if (dynamic_cast<AddControlToQuickAccessButton*>(c))
            kind = "quick access";
        else if (dynamic_cast<HideControlButton*>(c))
            kind = "hide";
        else if (dynamic_cast<RemoveControlButton*>(c))
            kind = "remove";
        else if (auto* customize = dynamic_cast<CustomizeButton*>(c))
            kind = customize->GetKind() == 1   ? "customize tab"
                   : customize->GetKind() == 2 ? "customize group"
                                               : "customize control";
        else if (dynamic_cast<ResetGroupButton*>(c))
            kind = "reset group";
        else if (dynamic_cast<ResetTabButton*>(c))
            kind = "reset tab";
        else if (dynamic_cast<RibbonGroupButton*>(c))
            kind = "group";
        else if (c->GetType() == xtpControlButton)
            kind = "optional"; // the group's own entry for one of its controls
        else if (auto* popup = dynamic_cast<CXTPControlPopup*>(c); popup && popup->GetCommandBar()) {
            CXTPControl* first = popup->GetCommandBar()->GetControls()->GetAt(0);
            kind = dynamic_cast<ControlStyleButton*>(first)              ? "styles"
                   : dynamic_cast<AddControlToToolBarButton*>(first)     ? "tool bars"
                   : dynamic_cast<RibbonGroupButton*>(first)             ? "tab groups"
                   : dynamic_cast<LibraryGalleryAutoWidthButton*>(first) ? "gallery width"
                                                                         : "popup";
        }
        out.push_back((c->GetBeginGroup() ? "|" : "") + kind);
        EXPECT_TRUE(c->IsTemporary()) << kind << ": made on the fly";
        EXPECT_TRUE(c->GetFlags() & xtpFlagManualUpdate) << kind;
    }
    return out;
}

CPoint centre(CXTPControl* control) {
    return control->GetRect().CenterPoint();
}

// A right click in the ribbon: a command offers what a person may do with it, its group and
// its tab; a parameter control of the system panel stays off the quick access and tool bars;
// resets show only where the default state defines the group or tab.
TEST_F(BackstageTest, ARightClickOffersWhatFitsTheControlItsGroupAndTab) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPToolBar* bar = frame->GetCommandBars()->Add(L"Drawing", xtpBarTop);
    bar->GetControls()->Add(xtpControlButton, 57600);
    frame->RecalcLayout();
    pal::test::pump();
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPRibbonGroups* home = ribbon->GetTab(0)->GetGroups();
    CXTPControl* line = home->GetAt(1)->GetAt(0);
    ASSERT_EQ(line->GetID(), 1300);
    ASSERT_FALSE(line->GetRect().IsRectEmpty());

    using Entries = std::vector<std::string>;
    const Entries command{"quick access", "tool bars",   "styles",         "customize control", "hide",
                          "remove",       "|tab groups", "customize tab",  "|optional",         "optional",
                          "optional",     "optional",    "customize group"};
    EXPECT_EQ(describe(ribbon->BuildContextMenu(centre(line))), command);
    CRect groupRect = home->GetAt(1)->GetRect();
    EXPECT_EQ(describe(ribbon->BuildContextMenu(CPoint(groupRect.right - 3, groupRect.bottom - 3))),
              (Entries{"|tab groups", "customize tab", "|optional", "optional", "optional", "optional",
                       "customize group"}))
        << "the group's caption: no control";
    EXPECT_EQ(describe(ribbon->BuildContextMenu(
                  CPoint(ribbon->GetGroupsRect().right - 5, ribbon->GetGroupsRect().top + 10))),
              (Entries{"group", "group", "group"}))
        << "beyond the groups: the tab's groups";
    EXPECT_EQ(ribbon->BuildContextMenu(CPoint(ribbon->GetCaptionRect().CenterPoint())), nullptr)
        << "the caption opens the frame's system menu";

    // The system panel's parameter controls, 912 among them.
    ribbon->SetCurSel(1);
    ribbon->RecalcLayout();
    pal::test::pump();
    CXTPControl* colour = ribbon->GetTab(1)->GetGroups()->GetAt(1)->GetAt(0);
    ASSERT_EQ(colour->GetID(), 904);
    for (const int id : {904, 912, 999}) {
        colour->SetID(id);
        EXPECT_EQ(describe(ribbon->BuildContextMenu(centre(colour))),
                  (Entries{"styles", "customize control", "hide", "remove", "|tab groups", "customize tab",
                           "|optional", "optional", "customize group"}))
            << id;
    }
    colour->SetID(904);

    // With the default state defining the tab and its groups, both resets; only the first
    // starts a section.
    app->defaults = loadState("main_frame_backstage.xml");
    EXPECT_EQ(describe(ribbon->BuildContextMenu(centre(colour))),
              (Entries{"styles", "customize control", "hide", "remove", "|tab groups", "customize tab",
                       "|optional", "optional", "customize group", "|reset group", "reset tab"}));
    // A menu as a person sees it where the right click was.
    auto keepMenu = [&](CPoint click, const char* name) {
        CXTPPopupBar* shown = ribbon->BuildContextMenu(click);
        ASSERT_NE(shown, nullptr);
        ribbon->ClientToScreen(&click);
        EXPECT_TRUE(shown->Popup(click.x, click.y, nullptr));
        pal::test::pump();
        EXPECT_TRUE(pal::test::keepSnapshot(shown->m_hWnd, name));
        frame->GetCommandBars()->ClosePopups();
        shown->InternalRelease();
    };
    keepMenu(centre(colour), "ribbon-menu-parameter");

    // The menus as a person sees them.
    ribbon->SetCurSel(0);
    ribbon->RecalcLayout();
    pal::test::pump();
    CXTPPopupBar* menu = ribbon->BuildContextMenu(centre(line));
    CPoint at = centre(line);
    ribbon->ClientToScreen(&at);
    ASSERT_TRUE(menu->Popup(at.x, at.y, nullptr));
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(menu->m_hWnd, "ribbon-menu-command"));
    auto* styles = dynamic_cast<CXTPControlPopup*>(menu->GetControls()->GetAt(2));
    ASSERT_NE(styles, nullptr);
    ASSERT_TRUE(styles->OnSetPopup(TRUE));
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(styles->GetCommandBar()->m_hWnd, "ribbon-menu-command-styles"));
    frame->GetCommandBars()->ClosePopups();
    menu->InternalRelease();
    const CRect drawGroup = home->GetAt(1)->GetRect();
    keepMenu(CPoint(drawGroup.right - 3, drawGroup.bottom - 3), "ribbon-menu-group");
    keepMenu(CPoint(ribbon->GetGroupsRect().right - 5, ribbon->GetGroupsRect().top + 10),
             "ribbon-menu-tab-groups");
}

// What the entries do: a style, a tool bar copy (a popup shows as an icon there, a button keeps
// the automatic style), a group hidden and shown again, a control removed.
TEST_F(BackstageTest, TheEntriesOfTheRightClickMenuActOnTheirTargets) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPRibbonGroup* draw = ribbon->GetTab(0)->GetGroups()->GetAt(1);
    CXTPControl* circle = draw->GetAt(1);
    ControlStyleButton(circle, kRibbonControlStyles[3]).OnExecute();
    EXPECT_EQ(circle->GetStyle(), xtpButtonIcon);

    CXTPToolBar* bar = frame->GetCommandBars()->Add(L"Drawing", xtpBarTop);
    AddControlToToolBarButton(circle, bar).OnExecute();
    ASSERT_EQ(bar->GetControls()->GetCount(), 1);
    EXPECT_EQ(bar->GetControls()->GetAt(0)->GetStyle(), xtpButtonAutomatic) << "a button";
    auto* popup = dynamic_cast<CXTPControlPopup*>(draw->GetControls()->Add(xtpControlPopup, 1310));
    ASSERT_NE(popup, nullptr);
    AddControlToToolBarButton(popup, bar).OnExecute();
    EXPECT_EQ(bar->GetControls()->GetAt(1)->GetStyle(), xtpButtonIcon) << "a popup";

    auto* group = dynamic_cast<Dravik::UI::RibbonGroup*>(draw);
    ASSERT_NE(group, nullptr);
    RibbonGroupButton toggle(group);
    EXPECT_TRUE(toggle.GetChecked());
    toggle.OnExecute();
    EXPECT_TRUE(group->IsDisabledByUser());
    EXPECT_FALSE(toggle.GetChecked());
    toggle.OnExecute();
    EXPECT_FALSE(group->IsDisabledByUser());

    const int before = draw->GetCount();
    RemoveControlButton(popup).OnExecute();
    EXPECT_EQ(draw->GetCount(), before - 1);
}

// A library gallery's width is automatic or set in columns, typed or stepped but never below one
// column; the automatic entry and the width box are never both checked.
TEST_F(BackstageTest, AGallerysWidthIsAutomaticOrSetInColumns) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* gallery = new Dravik::UI::LibraryGallery;
    auto* items = new CXTPControlGalleryItems;
    items->SetItemSize(CSize(40, 40));
    for (int i = 0; i < 8; ++i)
        items->AddItem(5000 + i, L"Part");
    gallery->SetItems(items);
    items->InternalRelease();
    ribbon->GetTab(0)->GetGroups()->GetAt(2)->Add(gallery, 1072);
    ribbon->RecalcLayout();
    pal::test::pump();
    const int shown = gallery->GetColumnCount();
    ASSERT_GT(shown, 0);

    CXTPPopupBar* menu = ribbon->BuildContextMenu(centre(gallery));
    ASSERT_NE(menu, nullptr);
    menu->InternalAddRef(); // describing releases one reference
    EXPECT_EQ(describe(menu), (std::vector<std::string>{"styles", "gallery width", "customize control",
                                                        "hide", "remove", "|tab groups", "customize tab",
                                                        "|optional", "optional", "customize group"}))
        << "a gallery goes on no quick access or tool bar";
    auto* widths = dynamic_cast<CXTPControlPopup*>(menu->GetControls()->GetAt(1));
    ASSERT_NE(widths, nullptr);
    auto* automatic =
        dynamic_cast<LibraryGalleryAutoWidthButton*>(widths->GetCommandBar()->GetControls()->GetAt(0));
    auto* box = dynamic_cast<LibraryGalleryWidthEditBox*>(widths->GetCommandBar()->GetControls()->GetAt(1));
    ASSERT_NE(automatic, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(automatic->GetChecked());
    EXPECT_FALSE(box->GetChecked());
    EXPECT_EQ(box->GetValue(), shown);

    struct Step {
        const char* what;
        std::function<void()> act;
        int width;
    };
    const Step steps[] = {
        {"two steps up", [&] { box->Spin(1), box->Spin(1); }, shown + 2},
        {"typed", [&] { box->SetEditText(L"2"), box->OnExecute(); }, 2},
        {"steps down stop at one column",
         [&] {
             for (int i = 0; i < 5; ++i)
                 box->Spin(-1);
         },
         1},
        {"no number typed", [&] { box->SetEditText(L"wide"), box->OnExecute(); }, 1},
        {"automatic", [&] { automatic->OnExecute(); }, -1},
        {"a step from automatic", [&] { box->Spin(1); }, shown + 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(gallery->GetWidth(), step.width);
        EXPECT_EQ(automatic->GetChecked() != FALSE, step.width < 0);
        EXPECT_EQ(box->GetChecked() != FALSE, step.width > 0);
        if (step.width > 0) {
            EXPECT_EQ(gallery->GetColumnCount(), step.width) << "laid out at once";
            EXPECT_EQ(box->GetEditText(), CString(std::to_wstring(step.width).c_str()));
        }
    }

    // As a person sees it, and the spin buttons under the mouse.
    automatic->OnExecute();
    CPoint at = centre(gallery);
    ribbon->ClientToScreen(&at);
    ASSERT_TRUE(menu->Popup(at.x, at.y, nullptr));
    ASSERT_TRUE(widths->OnSetPopup(TRUE));
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(menu->m_hWnd, "ribbon-menu-gallery"));
    EXPECT_TRUE(pal::test::keepSnapshot(widths->GetCommandBar()->m_hWnd, "ribbon-menu-gallery-width"));
    const CRect spin = box->GetSpinRect();
    ASSERT_FALSE(spin.IsRectEmpty());
    box->OnClick(FALSE, CPoint(spin.CenterPoint().x, spin.top + 1));
    EXPECT_EQ(gallery->GetWidth(), shown + 1);
    EXPECT_FALSE(automatic->GetChecked());
    frame->GetCommandBars()->ClosePopups();
    menu->InternalRelease();
}

// The tabs popup lists the tabs a person may hide, checked while shown, and the customise
// entry; contextual tabs and tabs without identity stay out; in customise mode it does not open.
TEST_F(BackstageTest, TheTabsPopupShowsAndHidesTheTabs) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* contextual = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(1));
    ASSERT_NE(contextual, nullptr);
    contextual->SetContextTab(xtpRibbonTabContextColorBlue, L"Solids");
    auto* hidden = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(2));
    hidden->SetDisabledByUser(true);
    ribbon->AddTab(L"Untitled");

    RibbonTabsPopup* popup = new RibbonTabsPopup(ribbon);
    CXTPToolBar* bar = frame->GetCommandBars()->Add(L"Tabs", xtpBarTop);
    bar->GetControls()->Add(popup, 0);
    frame->RecalcLayout();
    pal::test::pump();
    ASSERT_TRUE(popup->OnSetPopup(TRUE));
    pal::test::pump();
    std::vector<std::wstring> shown;
    for (CXTPControl* entry : *popup->GetCommandBar()->GetControls())
        shown.push_back(std::wstring(entry->GetChecked() ? L"[x] " : L"[ ] ") +
                        entry->GetCaption().GetString());
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], L"[x] Home");
    EXPECT_EQ(shown[1], L"[ ] Orsa");
    EXPECT_EQ(popup->GetCommandBar()->GetControls()->GetAt(2)->GetID(), 9607);
    EXPECT_TRUE(popup->GetCommandBar()->GetControls()->GetAt(2)->GetBeginGroup());
    EXPECT_TRUE(pal::test::keepSnapshot(popup->GetCommandBar()->m_hWnd, "ribbon-tabs-popup"));

    auto* entry = dynamic_cast<TabButton*>(popup->GetCommandBar()->GetControls()->GetAt(1));
    ASSERT_NE(entry, nullptr);
    entry->OnExecute();
    EXPECT_FALSE(hidden->IsDisabledByUser());
    EXPECT_TRUE(entry->GetChecked());
    frame->GetCommandBars()->ClosePopups();

    frame->GetCommandBars()->SetCustomizeMode(TRUE);
    EXPECT_TRUE(popup->OnSetPopup(TRUE));
    EXPECT_FALSE(popup->GetPopuped()) << "not in customise mode";
    frame->GetCommandBars()->SetCustomizeMode(FALSE);

    EXPECT_EQ(RibbonTabsPopup::SizeForEditHeight(22), CSize(13, 22));
    ribbon->GetTab(0)->SetCaption(L"&Home");
    EXPECT_EQ(RibbonTabControl::GetTabToolTip(ribbon->GetTab(0)), CString(L"Home"));
    EXPECT_EQ(DVRibbonBar::GetSpecialControlStateName(popup), L"ribbonTabsPopup");
}

// A value a person gives one copy of a parameter control reaches every other copy, inside
// popups too, and the system panel's control, when the copy runs.
TEST_F(BackstageTest, AnExecutedCopysValueReachesTheOtherCopies) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPRibbonGroup* parameters = ribbon->GetTab(1)->GetGroups()->GetAt(1);
    auto* source = dynamic_cast<CSyspanelEdit*>(parameters->GetAt(1));
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->GetID(), 907);
    auto makeCopy = [&] {
        auto* copy = new CSyspanelEdit(source->GetName().c_str(), source->GetKind(), 0.0);
        copy->SetID(907);
        return copy;
    };
    CSyspanelEdit* beside = makeCopy();
    parameters->GetControls()->Add(beside, 907);
    auto* popup = dynamic_cast<CXTPControlPopup*>(
        ribbon->GetTab(0)->GetGroups()->GetAt(2)->GetControls()->Add(xtpControlPopup, 0));
    ASSERT_NE(popup, nullptr);
    popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(frame->GetCommandBars()));
    popup->GetCommandBar()->InternalRelease();
    CSyspanelEdit* nested = makeCopy();
    popup->GetCommandBar()->GetControls()->Add(nested, 907);
    auto* panel = dynamic_cast<CSyspanelEdit*>(
        dynamic_cast<CSysPanelToolbar*>(frame->GetSystemPanelToolBar())->FindControlById(907));
    ASSERT_NE(panel, nullptr);

    SysPanelValue value;
    value.Real = 12.5;
    value.Variable = 3;
    auto* counting = new CountingCopy;
    parameters->GetControls()->Add(counting, 907);
    source->SetValue(drawing->Cont2D(), value);
    ASSERT_EQ(source->GetValue()->Real, 12.5);
    source->NotifySite(XTP_CN_EXECUTE + 1);
    EXPECT_EQ(counting->copies, 0) << "only an execution is copied";
    source->OnExecute();
    for (CSyspanelEdit* copy : {beside, nested, panel}) {
        EXPECT_EQ(copy->GetValue()->Real, 12.5);
        EXPECT_EQ(copy->GetValue()->Variable, 3);
    }
    EXPECT_EQ(counting->copies, 1) << "once, though the copies tell of their own changes";
}

// The kernel's requests reach every copy of a command: in a group, in a group's popup, in a popup
// of that popup and in the tab strip's popup; the ribbon redraws once, after the walk.
TEST_F(BackstageTest, TheKernelsRequestsReachEveryCopyOfACommandWithOneRedraw) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CountingCopy::ribbon = ribbon;
    CXTPCommandBars* bars = frame->GetCommandBars();
    CXTPControls* group = ribbon->GetTab(0)->GetGroups()->GetAt(2)->GetControls();
    CXTPControlPopup* outer = addPopup(group, bars, 0);
    CXTPControlPopup* inner = addPopup(outer->GetCommandBar()->GetControls(), bars, 0);
    CXTPControlPopup* strip = ribbon->GetControlTab();
    if (strip->GetCommandBar() == nullptr) {
        strip->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars));
        strip->GetCommandBar()->InternalRelease();
    }
    const std::vector<CXTPControls*> places{group, outer->GetCommandBar()->GetControls(),
                                            inner->GetCommandBar()->GetControls(),
                                            strip->GetCommandBar()->GetControls()};
    auto copiesOf = [&](int id) {
        std::vector<CountingCopy*> made;
        for (CXTPControls* place : places) {
            auto* copy = new CountingCopy;
            place->Add(copy, id);
            made.push_back(copy);
        }
        return made;
    };

    struct Case {
        int id;
        bool systemPanel;
    };
    for (const Case& c :
         {Case{903, false}, Case{904, true}, Case{912, false}, Case{999, true}, Case{1000, false}}) {
        SCOPED_TRACE(c.id);
        const std::vector<CountingCopy*> copies = copiesOf(c.id);
        ribbon->DisableSystemPanelControls();
        for (CountingCopy* copy : copies) {
            EXPECT_EQ(copy->resets, c.systemPanel ? 1 : 0);
            EXPECT_EQ(copy->GetEnabled() == FALSE, c.systemPanel);
            EXPECT_EQ(copy->unlockedChanges, 0);
        }
    }

    const std::vector<CountingCopy*> copies = copiesOf(950);
    auto* plain = new CXTPControlButton;
    group->Add(plain, 950);
    ribbon->EnableControl(950, false);
    for (CXTPControl* copy : {static_cast<CXTPControl*>(copies[1]), static_cast<CXTPControl*>(plain)}) {
        EXPECT_FALSE(copy->GetEnabled());
        EXPECT_TRUE(copy->GetFlags() & xtpFlagManualUpdate) << "the idle update leaves it alone from now on";
        copy->OnIdleUpdate(frame);
        EXPECT_FALSE(copy->GetEnabled());
    }
    ribbon->SetControlState(950, true, true);
    for (CountingCopy* copy : copies) {
        EXPECT_TRUE(copy->GetEnabled());
        EXPECT_TRUE(copy->GetChecked());
    }
    ribbon->EnableControl(950, false);
    ribbon->SetControlDoubleVar(nullptr, 950, 2.5, -3);
    for (CountingCopy* copy : copies) {
        EXPECT_EQ(copy->value.Real, 2.5);
        EXPECT_EQ(copy->value.Variable, -3);
        EXPECT_TRUE(copy->GetEnabled());
        EXPECT_EQ(copy->unlockedChanges, 0);
    }
    EXPECT_TRUE(plain->GetEnabled()) << "a value enables also a copy that takes none";
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(ribbon));

    ribbon->PopulateControlData(copies[2]);
    for (size_t i = 0; i < copies.size(); ++i)
        EXPECT_EQ(copies[i]->copies, i == 2 ? 0 : 1) << "never onto itself";
    ribbon->PopulateControlData(plain);
    EXPECT_EQ(copies[0]->copies, 1) << "a source without a value gives none";
    CountingCopy::ribbon = nullptr;
}

// A click on a tab of the collapsed ribbon opens the tab's copies in a popup: a parameter's copy
// shows its source's value, also when a hidden control before it was left out and shifted the
// places (the control found at the copy's place then belongs to another command and gives no
// value); a value given in the popup reaches the ribbon's control and the system panel's.
TEST_F(BackstageTest, ACollapsedTabOpensWithCopiesShowingTheirSourcesValues) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPRibbonGroup* parameters = ribbon->GetTab(1)->GetGroups()->GetAt(1);
    auto* depth = dynamic_cast<CSyspanelEdit*>(parameters->GetAt(1));
    ASSERT_NE(depth, nullptr);
    auto* width = new CSyspanelEdit(L"Width", depth->GetKind(), 0.0);
    width->SetCaption(L"Width");
    parameters->Add(width, 908, 1);
    SysPanelValue value;
    value.Real = 12.5;
    depth->SetValue(drawing->Cont2D(), value);
    value.Real = 3.0;
    width->SetValue(drawing->Cont2D(), value);
    ribbon->SetRibbonMinimized(TRUE);
    frame->RecalcLayout();
    pal::test::pump();

    auto openTab = [&]() -> CXTPRibbonTabPopupToolBar* {
        frame->GetCommandBars()->ClosePopups();
        const CPoint at = ribbon->GetTab(1)->GetRect().CenterPoint();
        ribbon->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ribbon->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        pal::test::pump();
        return ribbon->GetTabPopupToolBar();
    };
    auto copyOf = [](CXTPRibbonTabPopupToolBar* popup, int id) {
        return dynamic_cast<CSyspanelEdit*>(popup->GetGroups()->GetAt(1)->GetControls()->FindControl(id));
    };
    struct Case {
        const char* name;
        bool widthShown;
        double depthCopy;
    };
    const Case cases[] = {{"every control shown", true, 12.5}, {"the width hidden and left out", false, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        width->SetVisible(c.widthShown);
        CXTPRibbonTabPopupToolBar* popup = openTab();
        ASSERT_NE(dynamic_cast<RibbonTabPopupToolBar*>(popup), nullptr);
        EXPECT_TRUE(popup->IsOpen());
        EXPECT_EQ(popup->GetRibbonTab(), ribbon->GetTab(1));
        CSyspanelEdit* copy = copyOf(popup, 907);
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, depth);
        EXPECT_EQ(copy->GetValue()->Real, c.depthCopy);
        EXPECT_EQ(copyOf(popup, 908) != nullptr, c.widthShown) << "hidden controls are not copied";
    }

    width->SetVisible(TRUE);
    CXTPRibbonTabPopupToolBar* popup = openTab();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(pal::test::keepSnapshot(popup->m_hWnd, "ribbon-collapsed-tab"));
    CSyspanelEdit* copy = copyOf(popup, 907);
    ASSERT_NE(copy, nullptr);
    value.Real = 7.25;
    copy->SetValue(drawing->Cont2D(), value);
    copy->OnExecute();
    EXPECT_EQ(depth->GetValue()->Real, 7.25);
    auto* panel = dynamic_cast<CSyspanelEdit*>(
        dynamic_cast<CSysPanelToolbar*>(frame->GetSystemPanelToolBar())->FindControlById(907));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetValue()->Real, 7.25);
    EXPECT_EQ(width->GetValue()->Real, 3.0);
}

// The popups above a control, and the split buttons that take over the item a person runs from
// them, as far as each popup of the chain mirrors its items.
TEST_F(BackstageTest, ASplitButtonTakesOverTheItemRunFromItWhileTheChainMirrors) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPRibbonGroup* draw = ribbon->GetTab(0)->GetGroups()->GetAt(1);
    auto withPopupBar = [&](CXTPControlPopup* popup) {
        popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(frame->GetCommandBars()));
        popup->GetCommandBar()->InternalRelease();
        return popup;
    };
    auto* split = new Dravik::UI::AutoPopup;
    split->SetType(xtpControlSplitButtonPopup);
    split->SetMirrorChosenItem(true);
    split->SetTakeCaption(true);
    split->SetCaption(L"Shapes");
    draw->Add(withPopupBar(split), 41000);
    CXTPControl* arc = split->GetCommandBar()->GetControls()->Add(xtpControlButton, 41001);
    arc->SetCaption(L"Arc");
    arc->SetShortcutText(L"Ctrl+R");
    arc->SetTooltip(L"Draws an arc");
    auto* plain = withPopupBar(CXTPControlPopup::CreateControlPopup(xtpControlPopup));
    split->GetCommandBar()->GetControls()->Add(plain, 41002);
    CXTPControl* ellipse = plain->GetCommandBar()->GetControls()->Add(xtpControlButton, 41003);
    auto* quick = withPopupBar(CXTPControlPopup::CreateControlPopup(xtpControlPopup));
    ribbon->GetQuickAccessControls()->Add(quick, 41004);
    CXTPControl* recent = quick->GetCommandBar()->GetControls()->Add(xtpControlButton, 41005);
    CXTPControlButton elsewhere;

    struct Case {
        const char* name;
        CXTPControl* control;
        DVRibbonBar::ControlPath path;
    };
    const Case cases[] = {
        {"in a group", draw->GetAt(0), {}},
        {"in a group's popup", arc, {split}},
        {"in a popup of that popup", ellipse, {split, plain}},
        {"in a quick access popup", recent, {quick}},
        {"not the ribbon's", &elsewhere, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ribbon->GetControlPath(c.control), c.path) << c.name;
    std::vector<std::pair<int, size_t>> walked;
    ribbon->ForEachControlWithPath([&](CXTPControl* control, const DVRibbonBar::ControlPath& path) {
        if (control->GetID() > 41000 && control->GetID() < 41004)
            walked.emplace_back(control->GetID(), path.size());
    });
    EXPECT_EQ(walked, (std::vector<std::pair<int, size_t>>{{41001, 1}, {41002, 1}, {41003, 2}}))
        << "each popup before what it holds";

    ellipse->OnExecute();
    EXPECT_EQ(split->GetID(), 41000) << "the plain popup between them ends the chain";
    CXTPControl* chord = split->GetCommandBar()->GetControls()->Add(xtpControlButton, 41006);
    chord->NotifySite(XTP_CN_EXECUTE + 7);
    EXPECT_EQ(split->GetID(), 41006) << "any notification, not only an execution";
    arc->OnExecute();
    EXPECT_EQ(split->GetID(), 41001);
    EXPECT_EQ(split->GetCaption(), CString(L"Arc"));
    EXPECT_EQ(split->GetShortcutText(), CString(L"Ctrl+R"));
    EXPECT_EQ(split->GetTooltip(), CString(L"Draws an arc"));
}

// The tab a person chooses is kept with the active view, in its main-bar state when it has one;
// the program's own choices are not; a tab the person hid cannot be chosen.
TEST_F(BackstageTest, ThePersonsTabChoiceIsKeptWithTheView) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(openDrawing(frame), nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* view = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
    ASSERT_NE(view, nullptr);
    const GUID home = DVRibbonBar::kDefaultTabGuid;
    const GUID solids = DVRibbonBar::k3DTabGuid;
    ribbon->GetTab(1)->SetVisible(TRUE);

    ASSERT_TRUE(ribbon->SetCurSel(1));
    EXPECT_EQ(view->GetMainBarGUID(), solids);
    ribbon->SelectTab(0);
    EXPECT_EQ(ribbon->GetCurSel(), 0);
    ribbon->SelectTab(1);
    EXPECT_EQ(ribbon->GetCurSel(), 1);
    EXPECT_EQ(view->GetMainBarGUID(), solids) << "the program's choices";
    GUID tabs[3] = {};
    DVRibbonBar::GetActiveViewRibbonTabs(view, tabs);
    EXPECT_EQ(tabs[0], solids);
    EXPECT_EQ(tabs[1], view->GetRibbonGUID());

    ASSERT_TRUE(ribbon->SetCurSel(0));
    view->GetMainBarSwitchHistory().PushEvent({home, home});
    ASSERT_TRUE(ribbon->SetCurSel(1));
    EXPECT_EQ(view->GetMainBarGUID(), home) << "the main-bar state took the choice";
    ASSERT_NE(view->GetMainBarSwitchHistory().GetTopEvent(), nullptr);
    EXPECT_EQ(view->GetMainBarSwitchHistory().GetTopEvent()->first, solids);
    DVRibbonBar::GetActiveViewRibbonTabs(view, tabs);
    EXPECT_EQ(tabs[0], solids);
    EXPECT_EQ(tabs[1], GUID{});

    auto* hidden = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(2));
    ASSERT_NE(hidden, nullptr);
    hidden->SetDisabledByUser(true);
    hidden->SetVisible(TRUE);
    EXPECT_FALSE(ribbon->SetCurSel(2));
    EXPECT_EQ(ribbon->GetCurSel(), 1);
}

// The tabs the active view brings: the analysis tab for a drawing with analysis tasks (shown but
// not chosen), the 3D tab only for a drawing, a tab the person hid only when forced; no view twice
// in a row changes nothing the second time.
TEST_F(BackstageTest, TheActiveViewBringsItsTabsTheAnalysisTabWithItsTasks) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* solids = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(1));
    auto* orsa = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(2));
    auto* analysis = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->AddTab(L"Analysis"));
    ASSERT_NE(analysis, nullptr);
    analysis->SetGUIDs({L"{FF0DC8C2-69EB-4C73-93B2-D5B1974FEB6A}"});
    const GUID orsaGuid = orsa->GetGUID();
    const GUID home[3] = {DVRibbonBar::kDefaultTabGuid, DVRibbonBar::kDefaultTabGuid, GUID{}};
    const GUID homeAndOrsa[3] = {DVRibbonBar::kDefaultTabGuid, orsaGuid, GUID{}};
    struct Restore {
        ~Restore() {
            FeaTaskManager::Destroy();
            CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
        }
    } restore;
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);

    struct Case {
        const char* name;
        bool tasks;
        CDocument* document;
        const GUID (*guids)[3];
        bool orsaHidden, force;
        bool analysisShown, solidsShown, orsaShown;
    };
    const Case cases[] = {
        {"no analysis module", false, drawing, &home, false, false, false, true, false},
        {"tasks for the drawing", true, drawing, &home, false, false, true, true, false},
        {"no drawing", true, nullptr, &home, false, false, false, false, false},
        {"a view's second tab", false, drawing, &homeAndOrsa, false, false, false, true, true},
        {"the person hid it", false, drawing, &homeAndOrsa, true, false, false, true, false},
        {"forced back", false, drawing, &homeAndOrsa, true, true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FeaTaskManager::Destroy();
        if (c.tasks)
            FeaTaskManager::Create().AddTask(drawing);
        ribbon->SelectTab(0);
        orsa->SetDisabledByUser(c.orsaHidden);
        for (Dravik::UI::RibbonTab* tab : {analysis, solids, orsa})
            tab->SetVisible(FALSE);
        ribbon->UpdateViewTabs(*c.guids, c.force, c.document);
        EXPECT_EQ(analysis->IsVisible() != FALSE, c.analysisShown);
        EXPECT_EQ(solids->IsVisible() != FALSE, c.solidsShown);
        EXPECT_EQ(orsa->IsVisible() != FALSE, c.orsaShown);
        EXPECT_EQ(ribbon->GetCurSel(), 0) << "the view's own tab stays chosen";
    }
    EXPECT_FALSE(orsa->IsDisabledByUser()) << "forcing gives back what the person hid";

    // Without a 3D module, the document's own 3D content alone brings the 3D tab.
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
    for (const auto& [kind, shown] :
         {std::pair{Dravik::DocumentKind::Drawing, false}, std::pair{Dravik::DocumentKind::Part3D, true},
          std::pair{Dravik::DocumentKind::Assembly3D, true}}) {
        drawing->SetKind(kind);
        solids->SetVisible(FALSE);
        ribbon->UpdateViewTabs(home, false, drawing);
        EXPECT_EQ(solids->IsVisible() != FALSE, shown) << static_cast<int>(kind);
    }
    drawing->SetKind(Dravik::DocumentKind::Drawing);

    // No view: the contextual tabs hide; again, and a tab shown meanwhile stays.
    const GUID none[3] = {};
    analysis->SetContextTab(xtpRibbonTabContextColorGreen, L"Results");
    analysis->SetVisible(TRUE);
    ribbon->UpdateViewTabs(none, false, nullptr);
    EXPECT_FALSE(analysis->IsVisible());
    analysis->SetVisible(TRUE);
    ribbon->UpdateViewTabs(none, false, nullptr);
    EXPECT_TRUE(analysis->IsVisible());
}

// The sizes the drawing's view is given while tabs change: a subclass in front of it.
int gViewSizes = 0;
WNDPROC gViewProc = nullptr;
LRESULT countViewSizes(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE || message == WM_WINDOWPOSCHANGED)
        ++gViewSizes;
    return CallWindowProcW(gViewProc, hwnd, message, wParam, lParam);
}

// A click on another tab changes the ribbon's groups only: the drawing below keeps its size and
// is not laid out again.
TEST_F(BackstageTest, AClickOnAnotherTabLeavesTheDrawingsViewAsItWas) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(openDrawing(frame), nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* view = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
    ASSERT_NE(view, nullptr);
    ribbon->GetTab(1)->SetVisible(TRUE);
    frame->RecalcLayout();
    pal::test::pump();
    gViewProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(view->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countViewSizes)));
    RECT before{};
    ::GetWindowRect(view->m_hWnd, &before);
    for (int tab : {1, 0, 1}) {
        gViewSizes = 0;
        CPoint at = ribbon->GetTab(tab)->GetRect().CenterPoint();
        ::ClientToScreen(ribbon->m_hWnd, &at);
        pal::test::click(at);
        pal::test::pump();
        EXPECT_EQ(ribbon->GetCurSel(), tab);
        EXPECT_EQ(gViewSizes, 0) << "tab " << tab;
        RECT after{};
        ::GetWindowRect(view->m_hWnd, &after);
        EXPECT_TRUE(::EqualRect(&before, &after)) << "tab " << tab;
    }
    ::SetWindowLongPtrW(view->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gViewProc));
}

// A group's option button follows its hidden optional controls at the ribbon's next layout
// after controls changed.
TEST_F(BackstageTest, GroupsRefreshTheirOptionButtonsAfterControlsChanged) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    auto* draw = dynamic_cast<Dravik::UI::RibbonGroup*>(ribbon->GetTab(0)->GetGroups()->GetAt(1));
    ASSERT_NE(draw, nullptr);
    CXTPControl* polyline = draw->GetAt(3);
    draw->SetOptional(polyline, true);
    ASSERT_TRUE(draw->IsOptionButtonVisible());
    draw->Remove(polyline);
    EXPECT_TRUE(draw->IsOptionButtonVisible()) << "until the next layout";
    ribbon->RecalcLayout();
    EXPECT_FALSE(draw->IsOptionButtonVisible());
}

// Going back to a drawing brings back the tab the person chose in it, before the tab its view
// brings.
TEST_F(BackstageTest, ADrawingBringsBackTheTabThePersonChoseInIt) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(openDrawing(frame), nullptr);
    auto* first = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
    ASSERT_NE(openDrawing(frame), nullptr);
    auto* second = dynamic_cast<CDVView*>(frame->GetActiveDravikView());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ribbon->GetTab(1)->SetVisible(TRUE);
    auto activate = [&](CDVView* view) {
        frame->MDIActivate(view->GetParentFrame());
        pal::test::pump();
        ASSERT_EQ(frame->GetActiveDravikView(), view);
    };
    for (CDVView* view : {first, second})
        view->SetRibbonGUID(DVRibbonBar::kDefaultTabGuid);
    activate(first);
    EXPECT_EQ(ribbon->GetCurSel(), 0);
    ASSERT_TRUE(ribbon->SetCurSel(1));
    activate(second);
    EXPECT_EQ(ribbon->GetCurSel(), 0) << "the second drawing's own tab";
    activate(first);
    EXPECT_EQ(ribbon->GetCurSel(), 1) << "the person's choice";
    ribbon->GetTab(1)->SetVisible(FALSE);
    EXPECT_EQ(ribbon->GetCurSel(), 0) << "a hidden tab gives way";
    EXPECT_EQ(first->GetMainBarGUID(), DVRibbonBar::k3DTabGuid) << "which nobody chose";
    EXPECT_EQ(second->GetMainBarGUID(), GUID{}) << "the program's selections are nobody's choice";
}

// The PDM popup stands in the caption row, 16 pixels left of the frame's caption buttons (or
// of the frame's edge without them), and hides while the row has no room for it.
TEST_F(BackstageTest, ThePdmPopupStandsLeftOfTheCaptionButtonsWhileItFits) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    const std::wstring savedPdm = GetSettings().pdmText;
    GetSettings().pdmText = L"Archive";
    frame->UpdateOrsaControls();
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPControlPopup* pdm = ribbon->GetOrsaPopup();
    ASSERT_NE(pdm, nullptr);
    // A quick access bar that fills a narrow caption row.
    for (int id = 57601; id < 57609; ++id)
        ribbon->GetQuickAccessControls()->Add(xtpControlButton, id);

    struct Case {
        const char* name;
        bool frameTheme;
        int width;
        bool shown;
    };
    const Case cases[] = {
        {"caption buttons of the frame theme", true, 1200, true},
        {"the frame's own caption", false, 1200, true},
        {"too narrow a frame", true, 400, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ribbon->EnableFrameTheme(c.frameTheme);
        frame->MoveWindow(CRect(40, 30, 40 + c.width, 790));
        ribbon->RecalcLayout();
        pal::test::pump();
        EXPECT_EQ(pdm->IsVisible() != FALSE, c.shown);
        EXPECT_EQ((pdm->GetHideFlags() & xtpHideWrap) != 0, !c.shown);
        if (!c.shown)
            continue;
        CRect edge;
        frame->CWnd::GetWindowRect(&edge);
        ribbon->ScreenToClient(&edge);
        const int right =
            c.frameTheme ? ribbon->GetCaptionRect().right - 3 * CXTPDpi::ScaleX(46) : edge.right;
        EXPECT_EQ(pdm->GetRect().right, right - CXTPDpi::ScaleX(16));
        EXPECT_EQ(pdm->GetRect().bottom, ribbon->GetTabsRect().top);
        EXPECT_GE(pdm->GetRect().left, ribbon->GetQuickAccessRect().right);
    }
    ribbon->EnableFrameTheme(TRUE);
    frame->MoveWindow(CRect(40, 30, 1240, 790));
    ribbon->RecalcLayout();
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(ribbon->m_hWnd, "ribbon-pdm-popup"));
    // The frame's activation redraws it.
    ::ValidateRect(ribbon->m_hWnd, nullptr);
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    CRect redrawn;
    ASSERT_TRUE(::GetUpdateRect(ribbon->m_hWnd, &redrawn, FALSE));
    EXPECT_EQ(redrawn & pdm->GetRect(), pdm->GetRect());
    EXPECT_TRUE(pdm->OnSetPopup(TRUE));
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(pdm->GetCommandBar()->m_hWnd, "ribbon-pdm-popup-open"));
    frame->GetCommandBars()->ClosePopups();
    CXTPControl* settings = pdm->GetCommandBar()->GetControls()->FindControl(OrsaSettingsButton::kId);
    ASSERT_NE(settings, nullptr);
    settings->OnIdleUpdate(frame);
    EXPECT_TRUE(settings->GetEnabled()) << "the settings entry has no handler in the frame: it acts itself";

    pdm->SetVisible(FALSE);
    ribbon->RecalcLayout();
    EXPECT_EQ(pdm->GetHideFlags(), DWORD(xtpHideGeneric)) << "the frame hid it: left as it is";
    GetSettings().pdmText = savedPdm;
}

// Icons grow with the screen's dpi while the command bars scale bitmaps, in the ribbon and in
// a collapsed tab's popup.
TEST_F(BackstageTest, IconSizesFollowTheScreensDpiWhileBitmapsScale) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    CXTPCommandBarsOptions* options = frame->GetCommandBars()->GetCommandBarsOptions();
    const BOOL savedScaling = options->bDpiBitmapScaling;
    struct Restore {
        ~Restore() { pal::test::resetMonitors(); }
    } restore;
    struct Case {
        UINT dpi;
        BOOL scaling;
        int small, large;
    };
    const Case cases[] = {{96, TRUE, 16, 32}, {144, TRUE, 24, 48}, {144, FALSE, 16, 32}, {192, TRUE, 32, 64}};
    RibbonTabPopupToolBar popup(ribbon->GetTab(0));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi) + (c.scaling ? " scaled" : " unscaled"));
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, c.dpi}});
        options->bDpiBitmapScaling = c.scaling;
        EXPECT_EQ(ribbon->GetIconSize(), CSize(c.small, c.small));
        EXPECT_EQ(ribbon->GetLargeIconSize(), CSize(c.large, c.large));
        EXPECT_EQ(popup.GetLargeIconSize(), CSize(c.large, c.large));
    }
    options->bDpiBitmapScaling = savedScaling;
}

// A copy of the ribbon has its tabs with their identities, groups and controls, a File button
// and PDM popup of its own; the source's customisation setting is what it was.
TEST_F(BackstageTest, ACloneCopiesTheTabsGroupsAndControls) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ribbon->EnableCustomization(FALSE);
    dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(2))->SetDisabledByUser(true);
    std::unique_ptr<CXTPCommandBar, void (*)(CXTPCommandBar*)> made(
        ribbon->Clone(TRUE), [](CXTPCommandBar* bar) { bar->InternalRelease(); });
    auto* copy = DYNAMIC_DOWNCAST(DVRibbonBar, made.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(ribbon->IsCustomizable());
    ASSERT_EQ(copy->GetTabCount(), ribbon->GetTabCount());
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        auto* from = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(t));
        auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(copy->GetTab(t));
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->GetCaption(), from->GetCaption());
        EXPECT_EQ(tab->GetGUIDs(), from->GetGUIDs());
        EXPECT_EQ(tab->IsDisabledByUser(), from->IsDisabledByUser());
        ASSERT_EQ(tab->GetGroups()->GetCount(), from->GetGroups()->GetCount());
        for (int g = 0; g < from->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
            EXPECT_NE(dynamic_cast<Dravik::UI::RibbonGroup*>(group), nullptr);
            ASSERT_EQ(group->GetCount(), from->GetGroups()->GetAt(g)->GetCount());
            for (int i = 0; i < group->GetCount(); ++i)
                EXPECT_EQ(group->GetAt(i)->GetID(), from->GetGroups()->GetAt(g)->GetAt(i)->GetID());
        }
    }
    EXPECT_NE(dynamic_cast<RibbonSystemButton*>(copy->GetSystemButton()), nullptr);
    EXPECT_NE(copy->GetSystemButton(), ribbon->GetSystemButton());
    ASSERT_NE(copy->GetOrsaPopup(), nullptr);
    EXPECT_NE(copy->GetOrsaPopup(), ribbon->GetOrsaPopup());
    EXPECT_EQ(copy->GetOrsaPopup()->GetCommandBar()->GetControlCount(), 3);
}

} // namespace
