// The Documents pane of the running application: its window is the documents browser, showing
// the configurations that are open with their libraries and drawings, and a drawing's row
// opens the drawing.
#include "main_initialisation_fixture.h"

#include "app/CommandHandlers.h"
#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentNamesEditor.h"
#include "docbrowser/DocumentRecords.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/ToolBarControls.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/ReportPaintManager.h"
#include "DravikUI/Windows.h"
#include "pal/path.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolBar.h"

#include <filesystem>
#include <fstream>

namespace dvapp::test {
namespace {

// Panels made by the tests live under the hidden parent of pane windows, as the program's do.
class DocumentsPane : public MainInitialisation {
protected:
    void SetUp() override {
        MainInitialisation::SetUp();
        parent = Dravik::UI::GetDockingPaneDummyWindow(true);
    }
    void TearDown() override {
        parent.reset();
        MainInitialisation::TearDown();
    }
    std::shared_ptr<CWnd> parent;
};
using namespace DocumentsMenu;

CXTPReportRow* rowNamed(StructureView& view, const std::wstring& name) {
    for (const auto& row : view.GetRows())
        if (CXTPReportRecordItem* item = row->GetRecord()->GetItem(0);
            item != nullptr && std::wstring(item->GetCaption(nullptr)) == name)
            return row.get();
    return nullptr;
}

TEST_F(DocumentsPane, ShowsTheBundledConfigurationsDrawingsAndEnterOnADrawingOpensIt) {
    ASSERT_TRUE(start());
    auto* panel = dynamic_cast<DocumentsMenuDlg*>(app->GetDrawMenuWindow(true));
    ASSERT_NE(panel, nullptr) << "the Documents pane's window is the documents browser";
    ASSERT_NE(panel->GetSafeHwnd(), nullptr);
    EXPECT_EQ(app->GetDrawMenuWindow(false), panel) << "made once";

    // The configuration opens as the installed-configurations menu opens it.
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    StructureView& tree = panel->GetStructure().GetShownView();
    ASSERT_NE(rowNamed(tree, L"Samples"), nullptr) << "an opened configuration shows at once";
    rowNamed(tree, L"Samples")->SetExpanded(TRUE);
    ASSERT_NE(rowNamed(tree, L"Sample drawings"), nullptr);
    rowNamed(tree, L"Sample drawings")->SetExpanded(TRUE);
    CXTPReportRow* drawing = rowNamed(tree, L"sample-a3.grb");
    ASSERT_NE(drawing, nullptr);
    EXPECT_TRUE(panel->IsLibrariesGroupExpanded(GlobalCfgGroup().GetAt(0))) << "kept for the next fill";

    panel->SetWindowPos(nullptr, 0, 0, 300, 240, SWP_NOZORDER);
    tree.SelectRow(drawing);
    tree.SetFocusedRow(drawing);
    tree.UpdateWindow();
    pal::test::keepSnapshot(pal::test::snapshot(panel->GetSafeHwnd()), "documents_pane_samples");

    ASSERT_TRUE(Dravik::DocumentManager::Instance().GetDocuments().empty());
    tree.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(Dravik::DocumentManager::Instance().GetDocuments().size(), 1u) << "Enter opens the drawing";

    GlobalCfgGroup().Clear();
    EXPECT_EQ(tree.GetRowCount(), 0) << "closed configurations leave the tree";
}

std::wstring store(DocumentsMenuDlg& panel) {
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"Pane");
    panel.DoPropExchange(&px, nullptr);
    return px.GetXML().GetString();
}
void load(DocumentsMenuDlg& panel, const std::wstring& xml) {
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Pane");
    ASSERT_TRUE(px.LoadFromString(xml.c_str()));
    panel.DoPropExchange(&px, nullptr);
}

// What a person set in the pane comes back in the pane of the next start: expansions, hidden
// rows, the shown columns and their widths, the sort and the two switches.
TEST_F(DocumentsPane, ItsLayoutComesBackInTheNextStartsPane) {
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    IConfiguration* configuration = GlobalCfgGroup().GetAt(0);
    ILibrary* library = CollectAllLibraries(GlobalCfgGroup()).front();
    std::wstring saved;
    {
        DocumentsMenuDlg first;
        ASSERT_TRUE(first.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 300, 200), parent.get(), 1004));
        TreeView& tree = first.GetStructure().GetTree();
        rowNamed(tree, L"Samples")->SetExpanded(TRUE);
        first.SetDocumentHidden(library, L"sample-a3.grb", true);
        first.SetShowHidden(true);
        first.SetShowExcluded(true);
        tree.FindColumn(L"Path")->SetVisible(TRUE);
        tree.FindColumn(L"Path")->SetWidth(180);
        tree.SetSortColumn(tree.FindColumn(L"Author"), FALSE);
        saved = store(first);
        first.DestroyWindow();
    }
    DocumentsMenuDlg next;
    ASSERT_TRUE(next.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 300, 200), parent.get(), 1004));
    load(next, saved);
    TreeView& tree = next.GetStructure().GetTree();
    EXPECT_TRUE(next.IsLibrariesGroupExpanded(configuration));
    EXPECT_NE(rowNamed(tree, L"Sample drawings"), nullptr) << "the configuration comes expanded";
    EXPECT_TRUE(next.IsDocumentHidden(library, L"sample-a3.grb"));
    EXPECT_TRUE(next.IsShowHidden());
    EXPECT_TRUE(next.IsShowExcluded());
    EXPECT_TRUE(tree.FindColumn(L"Path")->IsVisible());
    EXPECT_EQ(tree.FindColumn(L"Path")->GetWidth(), 180);
    EXPECT_EQ(tree.GetSortColumn(), tree.FindColumn(L"Author"));
    EXPECT_FALSE(tree.GetSortColumn()->IsSortedIncreasing());
    next.DestroyWindow();
    GlobalCfgGroup().Clear();
}

// A damaged layout brings the pane up with its own defaults for what is wrong, and says so.
TEST_F(DocumentsPane, ABadStoredLayoutLeavesTheDefaultsForWhatIsWrong) {
    DocumentsMenuDlg panel;
    ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 300, 200), parent.get(), 1004));
    dvlog::test::clearCapture();
    load(panel, LR"(<Pane><Tree SortColumn="Revision" SortIncreasing="false"><Columns>
        <Name Visible="false" Width="-40"/><Shape Visible="true" Width="90"/><Author Width="-1"/>
        </Columns></Tree></Pane>)");
    TreeView& tree = panel.GetStructure().GetTree();
    EXPECT_TRUE(tree.FindColumn(L"Name")->IsVisible()) << "the name column is not removed";
    EXPECT_GE(tree.FindColumn(L"Name")->GetWidth(), 0);
    EXPECT_EQ(tree.FindColumn(L"Author")->GetWidth(), 100);
    EXPECT_EQ(tree.FindColumn(L"Shape"), nullptr);
    EXPECT_EQ(tree.GetSortColumn(), tree.FindColumn(L"Name"));
    EXPECT_TRUE(tree.GetSortColumn()->IsSortedIncreasing());
    std::string log;
    for (const std::string& line : dvlog::test::capturedAt(DVLogWarning))
        log += line + "\n";
    EXPECT_NE(log.find("\"Revision\""), std::string::npos) << log;
    EXPECT_NE(log.find("width -1 of column \"Author\""), std::string::npos) << log;
    panel.DestroyWindow();
}

// The preview stands beside the structure, under it or nowhere, and the layout keeps where.
TEST_F(DocumentsPane, TheSplitModePlacesThePreviewAndComesBackWithTheLayout) {
    using Mode = DocumentsMenuDlg::SplitMode;
    DocumentsMenuDlg panel;
    ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), parent.get(), 1004));
    CWnd* structure = &panel.GetStructure();
    ASSERT_EQ(panel.GetSplitter().GetPane(0), &panel.GetStructure());
    CWnd* preview = panel.GetSplitter().GetPane(1);
    ASSERT_NE(preview, nullptr);
    const auto rectOf = [&](CWnd* w) {
        CRect r;
        w->GetWindowRect(&r);
        panel.ScreenToClient(&r);
        return r;
    };
    struct Case {
        Mode mode;
        bool changes;
        bool previewShown;
        bool below; // the preview under the structure, else beside it
    };
    const Case cases[] = {{Mode::Horizontal, false, true, false},
                          {Mode::Vertical, true, true, true},
                          {Mode::None, true, false, false},
                          {Mode::None, false, false, false}};
    EXPECT_EQ(panel.GetSplitMode(), Mode::Horizontal) << "the first start's";
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(panel.SetSplitMode(c.mode), c.changes);
        EXPECT_EQ(panel.GetSplitMode(), c.mode);
        EXPECT_EQ((preview->GetStyle() & WS_VISIBLE) != 0, c.previewShown);
        if (c.previewShown) {
            EXPECT_EQ(rectOf(preview).top >= rectOf(structure).bottom, c.below);
            EXPECT_EQ(rectOf(preview).left >= rectOf(structure).right, !c.below);
        } else {
            EXPECT_EQ(rectOf(structure).Height(), rectOf(&panel.GetSplitter()).Height())
                << "the structure takes all the bars leave";
        }
    }
    panel.SetSplitMode(Mode::Vertical);
    const std::wstring saved = store(panel);
    panel.SetSplitMode(Mode::None);
    load(panel, saved);
    EXPECT_EQ(panel.GetSplitMode(), Mode::Vertical);

    // A ratio outside 0..1 leaves the splitter's own, and is logged.
    dvlog::test::clearCapture();
    const double ratio = panel.GetSplitter().GetRatio();
    for (const wchar_t* bad : {L"1.5", L"-0.2", L"0"}) {
        load(panel,
             std::wstring(LR"(<Pane Horizontal="false" ShowSecondPane="true" Ratio=")") + bad + L"\"/>");
        EXPECT_EQ(panel.GetSplitter().GetRatio(), ratio) << pal::text::toUtf8(bad);
    }
    EXPECT_EQ(dvlog::test::capturedAt(DVLogWarning).size(), 3u);
    panel.DestroyWindow();
}

// How a person sees the pane: the tree of the bundled configuration over an empty preview.
TEST_F(DocumentsPane, APictureOfThePaneWithItsTreeAboveThePreview) {
    ASSERT_TRUE(start()); // the columns' captions in the program's language
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    CFrameWnd* frame = new CFrameWnd;
    frame->Create(nullptr, L"Documents", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 320, 420));
    DocumentsMenuDlg panel;
    ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 380), frame, 1004));
    panel.SetSplitMode(DocumentsMenuDlg::SplitMode::Vertical);
    TreeView& tree = panel.GetStructure().GetTree();
    rowNamed(tree, L"Samples")->SetExpanded(TRUE);
    rowNamed(tree, L"Sample drawings")->SetExpanded(TRUE);
    tree.FindColumn(L"Path")->SetVisible(TRUE);
    tree.SelectRow(rowNamed(tree, L"Sample drawings"));
    panel.SetWindowPos(nullptr, 0, 0, 300, 380, SWP_NOZORDER);
    panel.UpdateWindow();
    EXPECT_TRUE(pal::test::keepSnapshot(pal::test::snapshot(panel.GetSafeHwnd()), "documents_pane_split"));
    panel.DestroyWindow();
    frame->DestroyWindow();
    GlobalCfgGroup().Clear();
}

// The program's own pane as a person sees it: a configuration with a group, its libraries and
// their drawings, one drawing excluded and grey, with the Path and Author columns shown.
TEST_F(DocumentsPane, APictureOfTheRowsWithPathAndAuthorShown) {
    ASSERT_TRUE(start());
    auto* panel = dynamic_cast<DocumentsMenuDlg*>(app->GetDrawMenuWindow(true));
    ASSERT_NE(panel, nullptr);
    const auto drawing = [&](const std::string& relative, const std::wstring& author) {
        std::filesystem::create_directories((root() / relative).parent_path());
        CDvw32Doc doc;
        doc.Cont2D()->LoadContent({Dravik::Page{Dravik::PageKind::Sheet, 297, 210, L"Sheet 1"}}, {}, {});
        CDVPropertySet properties;
        properties.SetAuthor(author);
        doc.SetProperties(properties);
        std::ofstream(root() / relative, std::ios::binary) << Dravik::grb::Encode(doc);
    };
    drawing("lib/Bolts/bolt-m8.grb", L"Anna Berg");
    drawing("lib/Bolts/bolt-m10.grb", L"Anna Berg");
    drawing("lib/Bolts/_frame.grb", L"Design office");
    drawing("lib/Bolts/old-bolt.grb", L"");
    drawing("lib/Nuts/nut-m8.grb", L"Jon Holm");
    const auto folder = [&](const char* name) { return pal::path::fromNative(root() / "lib" / name) + L"/"; };
    auto works = std::make_unique<IConfiguration>(L"Works");
    auto fasteners = CreateLibrariesGroup(L"Fasteners");
    ILibrary* bolts = fasteners->AddLibrary(CreateLibrary(folder("Bolts").c_str()));
    fasteners->AddLibrary(CreateLibrary(folder("Nuts").c_str()));
    fasteners->SetAuthor(L"Standards group");
    works->AddSubGroup(std::move(fasteners));
    bolts->SetDocumentExcluded(L"old-bolt.grb", true);
    GlobalCfgGroup().Add(std::move(works));
    panel->SetShowExcluded(true);

    StructureView& tree = panel->GetStructure().GetShownView();
    for (const wchar_t* name : {L"Works", L"Fasteners", L"Bolts"}) {
        ASSERT_NE(rowNamed(tree, name), nullptr) << pal::text::toUtf8(name);
        rowNamed(tree, name)->SetExpanded(TRUE);
    }
    tree.FindColumn(L"Path")->SetVisible(TRUE);
    tree.FindColumn(L"Author")->SetVisible(TRUE);
    tree.SelectRow(rowNamed(tree, L"bolt-m8.grb"));
    panel->SetWindowPos(nullptr, 0, 0, 640, 300, SWP_NOZORDER);
    panel->UpdateWindow();
    const pal::gdi::Surface shot = pal::test::snapshot(panel->GetSafeHwnd());
    EXPECT_TRUE(pal::test::keepSnapshot(shot, "documents_pane_rows"));

    CXTPReportRow* excluded = rowNamed(tree, L"old-bolt.grb");
    ASSERT_NE(excluded, nullptr) << "shown, since the pane shows excluded drawings";
    EXPECT_EQ(excluded->GetRecord()->GetItem(0)->GetTextColor(), ::GetSysColor(COLOR_GRAYTEXT));
    CXTPReportColumn* author = tree.FindColumn(L"Author");
    EXPECT_EQ(std::wstring(rowNamed(tree, L"bolt-m10.grb")->GetRecord()->GetItem(author)->GetCaption(author)),
              L"Anna Berg");
    // The Author cells of the drawings are drawn: ink in what the pane shows of the cell.
    CRect cell = tree.GetItemRect(rowNamed(tree, L"_frame.grb"), author);
    tree.ClientToScreen(&cell);
    panel->ScreenToClient(&cell);
    cell.right = std::min<LONG>(cell.right, shot.width());
    int inked = 0;
    const COLORREF ground = shot.pixel(cell.right - 2, cell.top + 1);
    for (int y = cell.top + 2; y < cell.bottom - 2; ++y)
        for (int x = cell.left + 2; x < cell.right - 2; ++x)
            inked += shot.pixel(x, y) != ground;
    EXPECT_GT(inked, 20) << "Design office";
    GlobalCfgGroup().Clear();
}

// The program's pane: the Edit configurations command brings it forward with the list of
// libraries, and the find box, typed into and Enter pressed, finds a drawing in the tree.
TEST_F(DocumentsPane, TheFindBoxOfTheProgramsPaneFindsADrawingTypedIntoIt) {
    ASSERT_TRUE(start());
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    EXPECT_EQ(handlers::LibraryConfigurationEdit(0), 1);
    pal::test::pump();
    auto* panel = dynamic_cast<DocumentsMenuDlg*>(app->GetDrawMenuWindow(false));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsLibrariesListShown()) << "the command shows the libraries";
    EXPECT_TRUE(panel->IsWindowVisible());
    panel->ShowLibrariesList(false);
    StructureView& tree = panel->GetStructure().GetTree();
    EXPECT_EQ(rowNamed(tree, L"sample-a3.grb"), nullptr) << "folded away";

    ComboBoxFind* box = panel->GetFindBox();
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->GetEditCtrl(), nullptr) << "the search bar shows its box";
    box->GetEditCtrl()->SetFocus();
    for (wchar_t key : std::wstring(L"A3"))
        pal::test::pressKey(key);
    pal::test::pump();
    EXPECT_EQ(box->GetEditText(), L"a3");
    pal::test::pressKey(VK_RETURN);
    pal::test::pump();
    EXPECT_NE(rowNamed(tree, L"sample-a3.grb"), nullptr) << "Enter finds the drawing";
    EXPECT_EQ(box->GetFindButton()->GetIconId(), 696);
    ASSERT_EQ(box->GetCount(), 1);
    EXPECT_EQ(box->GetLBText(0), L"a3");
    GlobalCfgGroup().Clear();
}

// The program's theme reaches the program's pane: a dark theme gives its views the dark look.
TEST_F(DocumentsPane, TheProgramsThemeReachesItsPane) {
    ASSERT_TRUE(start());
    auto* panel = dynamic_cast<DocumentsMenuDlg*>(app->GetDrawMenuWindow(true));
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(std::wstring_view(L"office2016black")));
    pal::test::pump();
    const auto theme = UIModuleProxy::Instance().GetCurrentTheme();
    ASSERT_TRUE(theme.has_value());
    EXPECT_EQ(panel->GetTheme(), theme->Number);
    StructureView& tree = panel->GetStructure().GetTree();
    EXPECT_EQ(tree.GetThemeCode(), Dravik::UI::kReportThemeOffice2013);
    EXPECT_EQ(tree.GetPaintManager()->m_clrControlBack, CXTPPaintManager::Current()->GetColors().clrWindow);
    EXPECT_LT(GetRValue(tree.GetPaintManager()->m_clrControlBack), 80);

    // The program's options changed (event 1043): the pane's bars take them again.
    CXTPCommandBarsOptions* mine = panel->GetCommandBars()->GetCommandBarsOptions();
    onlyFrame()->GetCommandBars()->GetCommandBarsOptions()->bLargeIcons = !mine->bLargeIcons;
    ApplicationEventManager::runEvent(1043, ApplicationEventArgs());
    EXPECT_EQ(mine->bLargeIcons, onlyFrame()->GetCommandBars()->GetCommandBarsOptions()->bLargeIcons);
}

// How a person sees the pane in a light and in a dark theme: both bars, a find text, the tree
// of the bundled configuration with its drawings and the preview under it.
TEST_F(DocumentsPane, PicturesOfThePaneWithItsBarsInALightAndADarkTheme) {
    ASSERT_TRUE(start());
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    for (const wchar_t* themeName : {L"office2013light", L"office2016black"}) {
        SCOPED_TRACE(pal::text::toUtf8(themeName));
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(std::wstring_view(themeName)));
        CFrameWnd* frame = new CFrameWnd;
        frame->Create(nullptr, L"Documents", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 340, 480));
        DocumentsMenuDlg panel;
        ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 440), frame, 1004));
        panel.SetSplitMode(DocumentsMenuDlg::SplitMode::Vertical);
        TreeView& tree = panel.GetStructure().GetTree();
        rowNamed(tree, L"Samples")->SetExpanded(TRUE);
        rowNamed(tree, L"Sample drawings")->SetExpanded(TRUE);
        tree.SelectRow(rowNamed(tree, L"sample-a3.grb"));
        panel.GetFindBox()->SetEditText(L"sample");
        panel.SetWindowPos(nullptr, 0, 0, 320, 440, SWP_NOZORDER);
        pal::test::pump();
        panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const pal::gdi::Surface shot = pal::test::snapshot(panel.GetSafeHwnd());
        EXPECT_TRUE(pal::test::keepSnapshot(shot, std::string("documents_pane_bars_") +
                                                      pal::text::toUtf8(themeName)));
        CRect view;
        tree.GetWindowRect(&view);
        panel.ScreenToClient(&view);
        EXPECT_EQ(shot.pixel(view.right - 6, view.bottom - 4),
                  CXTPPaintManager::Current()->GetColors().clrWindow)
            << "the tree's ground is the theme's";
        panel.DestroyWindow();
        frame->DestroyWindow();
    }
    ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(std::wstring_view(L"office2013light")));
    GlobalCfgGroup().Clear();
}

// A picture of the names editor in the program's language, with two pasted pairs. (The
// configuration row's "Alternative names..." opens it modally.)
TEST_F(DocumentsPane, APictureOfTheNamesEditor) {
    ASSERT_TRUE(start());
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    IConfiguration* configuration = OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr);
    ASSERT_NE(configuration, nullptr);
    configuration->SetAlternativeName(L"DIN 933", L"Bolt");
    // A selection of two holds no one configuration to edit: nothing opens.
    ConfigurationMenuItems::AlterNames two(std::vector<IConfiguration*>{configuration, configuration});
    two.Execute();

    DocumentNamesEditor editor(configuration);
    ASSERT_TRUE(editor.Create(DocumentNamesEditor::kTemplateId, nullptr));
    editor.ShowWindow(SW_SHOW);
    editor.PasteText(L"Nut;ISO 4032\nWasher;DIN 125\n", 28);
    editor.UpdateWindow();
    EXPECT_TRUE(pal::test::keepSnapshot(pal::test::snapshot(editor.GetSafeHwnd()), "names_editor_program"));
    editor.DestroyWindow();
    GlobalCfgGroup().Clear();
}

} // namespace
} // namespace dvapp::test
