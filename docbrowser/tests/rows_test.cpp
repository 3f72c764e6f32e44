// The rows over a model: lazy children, filters, excluded and hidden rows, PDM twins, names,
// menus, cells, icons, the eye and the folder browse button.
#include "rows_fixture.h"

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/FileClipboard.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/Settings.h"
#include "afx/oledata.h"
#include "xtp/PopupBar.h"

namespace rows_test {
namespace {

std::vector<std::string> menuOf(Record* record) {
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    record->BuildContextMenu(bar);
    std::vector<std::string> out = entries(bar);
    bar->InternalRelease();
    return out;
}

std::vector<std::string> selectionMenuOf(Record* record, const std::vector<Record*>& selected) {
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    record->BuildSelectionContextMenu(bar, selected);
    std::vector<std::string> out = entries(bar);
    bar->InternalRelease();
    return out;
}

// An application that keeps the files it was asked to open.
class RecordingApp : public CWinApp {
public:
    std::vector<std::wstring> opened;
    CDocument* OpenDocumentFile(LPCWSTR file) override { return OpenDocumentFile(file, TRUE); }
    CDocument* OpenDocumentFile(LPCWSTR file, BOOL) override {
        opened.push_back(file);
        return nullptr;
    }
};

using Rows = RowsTest;

TEST_F(Rows, ChildrenComeOnFirstExpansionBehindAPlaceholder) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    EXPECT_EQ(shown(), (std::vector<std::wstring>{L"Empty", L"Works"}));
    auto* works = record<ConfigurationRecord>(L"Works");
    ASSERT_EQ(works->GetChilds()->GetCount(), 1);
    EXPECT_EQ(works->GetChilds()->GetAt(0)->GetItemCount(), 0) << "the placeholder child";
    EXPECT_FALSE(record<ConfigurationRecord>(L"Empty")->HasChildren())
        << "no button for an empty configuration";
    EXPECT_FALSE(tree->GetExpandButtonRect(row(L"Works")).IsRectEmpty());

    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    EXPECT_EQ(shown(),
              (std::vector<std::wstring>{L"Empty", L"Works", L"  Fasteners", L"    Bolts",
                                         L"      _frame.grb", L"      a.grb", L"      b.grb", L"    Nuts"}));
    EXPECT_TRUE(panel.IsLibrariesGroupExpanded(worksConfiguration));
    EXPECT_TRUE(panel.IsLibraryExpanded(boltsLibrary));
    // Collapsing keeps the children; expanding again fills nothing anew.
    CXTPReportRecord* first = record<LibraryRecord>(L"Bolts")->GetChilds()->GetAt(0);
    row(L"Bolts")->SetExpanded(FALSE);
    EXPECT_FALSE(panel.IsLibraryExpanded(boltsLibrary));
    expand(L"Bolts");
    EXPECT_EQ(record<LibraryRecord>(L"Bolts")->GetChilds()->GetAt(0), first);
}

TEST_F(Rows, FiltersShowWhatMatchesAndThePathToIt) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    struct Case {
        const char* name;
        std::wstring filter;
        std::vector<std::wstring> rows;
    };
    const Case cases[] = {
        // A group's name: the group shows, and all below it when opened.
        {"group name", L"fasten", {L"Empty", L"Works", L"  Fasteners", L"    Bolts", L"    Nuts"}},
        // A drawing deep down: only the path to it opens.
        {"deep drawing", L"m6", {L"Empty", L"Works", L"  Fasteners", L"    Nuts", L"      m6.grb"}},
        {"nothing", L"zzz", {L"Empty", L"Works"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* works = record<ConfigurationRecord>(L"Works");
        works->SetExpanded(TRUE);
        works->UpdateChildren(c.filter);
        tree->Populate();
        if (c.filter == L"fasten")
            expand(L"Fasteners");
        EXPECT_EQ(shown(), c.rows);
    }
    // Matching is against the searchable form: case and script folding.
    EXPECT_TRUE(MatchesFilterInDescendants(worksConfiguration, L"m6", &panel));
    EXPECT_TRUE(MatchesFilterInDescendants(worksConfiguration, L"bolts", &panel));
    EXPECT_FALSE(MatchesFilterInDescendants(worksConfiguration, L"notes", &panel))
        << "a text file is no drawing";
    // Hidden descendants count only while hidden objects show.
    panel.SetLibraryHidden(nutsLibrary, true);
    EXPECT_FALSE(MatchesFilterInDescendants(worksConfiguration, L"m6", &panel));
    panel.SetShowHidden(true);
    EXPECT_TRUE(MatchesFilterInDescendants(worksConfiguration, L"m6", &panel));
}

TEST_F(Rows, ExcludedObjectsShowGreyOnlyWhenAskedFor) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    boltsLibrary->SetDocumentExcluded(L"b.grb", true);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    EXPECT_EQ(row(L"Old"), nullptr);
    EXPECT_EQ(row(L"b.grb"), nullptr);
    panel.SetShowExcluded(true);
    auto* works = record<ConfigurationRecord>(L"Works");
    works->UpdateChildren(L"");
    tree->Populate();
    expand(L"Fasteners");
    expand(L"Bolts");
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    ASSERT_NE(row(L"Old"), nullptr);
    EXPECT_EQ(row(L"Old")->GetRecord()->GetItem(0)->GetTextColor(), grey);
    EXPECT_EQ(row(L"Old")->GetRecord()->GetItem(4)->GetTextColor(), grey);
    ASSERT_NE(row(L"b.grb"), nullptr);
    EXPECT_EQ(row(L"b.grb")->GetRecord()->GetItem(0)->GetTextColor(), grey);
    EXPECT_EQ(row(L"a.grb")->GetRecord()->GetItem(0)->GetTextColor(), CLR_DEFAULT);
}

TEST_F(Rows, PdmTwinsMakeTheSubtreeAndRefuseDrops) {
    DocumentsMenuDlg panel;
    makeTree(&panel, true);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    EXPECT_NE(record<PDMConfigurationRecord>(L"Works"), nullptr);
    EXPECT_NE(record<PDMLibrariesGroupRecord>(L"Fasteners"), nullptr);
    EXPECT_NE(record<PDMLibraryRecord>(L"Bolts"), nullptr);
    EXPECT_NE(record<PDMDocumentRecord>(L"a.grb"), nullptr);
    EXPECT_EQ(record<PDMConfigurationRecord>(L"Works")->GetIconIndex(), 4380);

    // A list of drawings on the clipboard: a plain library takes it, the twins do not.
    ASSERT_TRUE(FileClipboard::Instance().Copy({bolts + L"a.grb"}));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    LibraryRecord plain(nutsLibrary);
    EXPECT_EQ(plain.GetDropEffect(&data, 0), DROPEFFECT_COPY);
    EXPECT_EQ(plain.GetDropEffect(&data, MK_CONTROL), DROPEFFECT_MOVE);
    for (Record* twin : std::vector<Record*>{record<Record>(L"Works"), record<Record>(L"Fasteners"),
                                             record<Record>(L"Bolts")})
        EXPECT_EQ(twin->GetDropEffect(&data, 0), DROPEFFECT_NONE);
}

// A PDM library asks the system to bring its repository folder up to date before it lists the
// drawings, with the kernel's update setting; a refusal is logged and the listing goes on.
TEST_F(Rows, APdmLibraryRefreshesItsFolderBeforeListing) {
    DocumentsMenuDlg panel;
    makeTree(&panel, true);
    expand(L"Works");
    expand(L"Fasteners");
    dvpdm::test::clearScript();
    dvpdm::test::addFile(dvpdm::test::knownPath(bolts));
    dvpdm::test::addFile(dvpdm::test::knownPath(nuts, true));
    dvpdm::test::setWorkMixEnabled(true);
    NativeSettings::Settings& settings = GetSettings();
    const int update = settings.pdmUpdate;
    settings.pdmUpdate = 1;
    dvlog::test::clearCapture();
    expand(L"Bolts");
    settings.pdmUpdate = 0;
    expand(L"Nuts");
    settings.pdmUpdate = update;
    dvpdm::test::setWorkMixEnabled(false);
    EXPECT_EQ(dvpdm::test::calls(), (std::vector<std::wstring>{L"refresh folder " + bolts + L" 0 1",
                                                               L"refresh folder " + nuts + L" 0 0"}));
    dvpdm::test::clearScript();
    EXPECT_NE(row(L"a.grb"), nullptr);
    EXPECT_NE(row(L"m6.grb"), nullptr) << "listed after the refusal";
    EXPECT_EQ(dvlog::test::capturedAt(DVLogWarning),
              (std::vector<std::string>{"PDM: the repository folder could not be refreshed"}));
}

TEST_F(Rows, AConfigurationKeepsItsNameAGroupTakesANewOne) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    struct Case {
        const wchar_t* row;
        const wchar_t* typed;
        const wchar_t* cell;
        const wchar_t* model;
    };
    const Case cases[] = {
        {L"Works", L"Shop", L"Works", L"Works"},
        {L"Fasteners", L"Screws", L"Screws", L"Screws"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.row));
        CXTPReportRow* r = row(c.row);
        auto* record = dynamic_cast<GroupRecordBase*>(r->GetRecord());
        XTP_REPORTRECORDITEM_ARGS args;
        args.pControl = tree.get();
        args.pRow = r;
        args.pItem = record->GetItem(0);
        ASSERT_TRUE(tree->EditItem(&args));
        tree->GetInplaceEdit()->SetWindowText(c.typed);
        tree->GetInplaceEdit()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(std::wstring(record->GetItem(0)->GetCaption(nullptr)), c.cell);
        EXPECT_EQ(record->GetLibrariesGroup()->GetName(), c.model);
    }
}

TEST_F(Rows, MenusOfEachKindOfRow) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    boltsLibrary->SetDocumentExcluded(L"b.grb", true);
    struct Case {
        const char* name;
        Record* record;
        std::vector<std::string> menu;
    };
    const Case cases[] = {
        {"configuration",
         record<Record>(L"Works"),
         {"active_configuration", "|open_in_explorer", "open_window", "|add_folder", "add_group", "|-paste",
          "|save", "save_as", "|close", "|exclude", "|standard_elements", "|alter_names"}},
        {"libraries group",
         record<Record>(L"Fasteners"),
         {"open_window", "|add_folder", "add_group", "|delete", "rename", "|cut", "copy", "-paste",
          "|exclude", "|standard_elements"}},
        {"library",
         record<Record>(L"Bolts"),
         {"open_in_explorer", "open_window", "|[Part2D Assembly2D Part3D Assembly3D ]", "use_relative_path",
          "create_toolbar", "delete", "delete_from_disc", "rename", "|cut", "copy", "-paste", "|exclude",
          "|standard_elements", "symbol"}},
        {"drawing",
         record<Record>(L"a.grb"),
         {"open_in_explorer", "copy_full_path", "|open", "-insert_as_fragment", "-insert_as_picture",
          "delete", "rename", "properties", "|cut", "copy", "|exclude"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.record, nullptr);
        EXPECT_EQ(menuOf(c.record), c.menu);
    }
    // Drawings of a selection: Exclude and Include both when the marks differ; nothing when the
    // selection mixes kinds.
    panel.SetShowExcluded(true);
    record<LibraryRecord>(L"Bolts")->UpdateChildren(L"");
    tree->Populate();
    std::vector<Record*> drawings{record<Record>(L"a.grb"), record<Record>(L"b.grb")};
    EXPECT_EQ(selectionMenuOf(drawings[0], drawings),
              (std::vector<std::string>{"delete", "cut", "copy", "|exclude", "|include"}));
    std::vector<Record*> mixed{drawings[0], drawings[1], record<Record>(L"Bolts")};
    EXPECT_TRUE(selectionMenuOf(drawings[0], mixed).empty());
    // An excluded library's drawings offer neither.
    boltsLibrary->SetExcluded(true); // the library's rows are made again
    EXPECT_EQ(menuOf(record<Record>(L"a.grb")).back(), "copy");
    // Standard elements is ticked when every library has it.
    nutsLibrary->SetStandardElements(true);
    std::vector<Record*> libraries{record<Record>(L"Bolts"), record<Record>(L"Nuts")};
    const auto mixedFlags = selectionMenuOf(libraries[1], libraries);
    EXPECT_EQ(std::count(mixedFlags.begin(), mixedFlags.end(), "|standard_elements"), 1);
    boltsLibrary->SetStandardElements(true);
    const auto sameFlags = selectionMenuOf(libraries[1], libraries);
    EXPECT_EQ(std::count(sameFlags.begin(), sameFlags.end(), "|*standard_elements"), 1);
}

TEST_F(Rows, MenusOfPdmRows) {
    DocumentsMenuDlg panel;
    makeTree(&panel, true);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    // Without the PDM work mix there is no Update.
    EXPECT_EQ(menuOf(record<Record>(L"Works")),
              (std::vector<std::string>{"active_configuration", "|open_in_explorer", "|close"}));
    EXPECT_EQ(menuOf(record<Record>(L"Fasteners")), (std::vector<std::string>{"open_window", "|copy"}));
    EXPECT_EQ(menuOf(record<Record>(L"Bolts")),
              (std::vector<std::string>{"open_in_explorer", "open_window", "create_toolbar", "|copy"}));
    EXPECT_EQ(menuOf(record<Record>(L"a.grb")),
              (std::vector<std::string>{"open_in_explorer", "|open", "-insert_as_fragment",
                                        "-insert_as_picture", "properties", "|copy"}));
}

TEST_F(Rows, DoubleClicksExpandOpenOrEdit) {
    RecordingApp app;
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    // The name of a library toggles its row.
    tree->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                      MAKELPARAM(cellPoint(L"Bolts", L"Name").x, cellPoint(L"Bolts", L"Name").y));
    EXPECT_TRUE(record<LibraryRecord>(L"Bolts")->IsExpanded());
    ASSERT_NE(row(L"a.grb"), nullptr);
    tree->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                      MAKELPARAM(cellPoint(L"Bolts", L"Name").x, cellPoint(L"Bolts", L"Name").y));
    EXPECT_FALSE(record<LibraryRecord>(L"Bolts")->IsExpanded());
    EXPECT_EQ(row(L"a.grb"), nullptr);
    // The Author cell of an editable row opens its editor instead.
    tree->FindColumn(L"Author")->SetVisible(TRUE);
    tree->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                      MAKELPARAM(cellPoint(L"Bolts", L"Author").x, cellPoint(L"Bolts", L"Author").y));
    ASSERT_NE(tree->GetInplaceEdit(), nullptr);
    tree->GetInplaceEdit()->SetWindowText(L"Anna");
    tree->GetInplaceEdit()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(boltsLibrary->GetAuthor(), L"Anna");
    EXPECT_FALSE(record<LibraryRecord>(L"Bolts")->IsExpanded());
    // A drawing's name opens it, as Enter does.
    expand(L"Bolts");
    tree->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                      MAKELPARAM(cellPoint(L"a.grb", L"Name").x, cellPoint(L"a.grb", L"Name").y));
    tree->SelectRow(row(L"b.grb"));
    tree->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(app.opened, (std::vector<std::wstring>{bolts + L"a.grb", bolts + L"b.grb"}));
}

TEST_F(Rows, ARefusedValueLeavesTheCell) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    // A drawing's Path is refused (and not editable); its Author is the file's, not an edit.
    auto* drawing = record<DocumentRecord>(L"a.grb");
    EXPECT_FALSE(drawing->SetPath(L"C:\\x.grb"));
    EXPECT_FALSE(drawing->SetAuthor(L"x"));
    auto* item = static_cast<ReportRecordItem*>(record<Record>(L"Works")->GetItem(0));
    XTP_REPORTRECORDITEM_ARGS args;
    args.pControl = tree.get();
    args.pRow = row(L"Works");
    args.pItem = item;
    item->OnEditChanged(&args, L"Shop");
    EXPECT_EQ(item->GetCaption(nullptr), L"Works");
    EXPECT_EQ(item->GetEditor()->GetValue(), L"Works");
}

TEST_F(Rows, IconsOfNamesTellFoldersAndDrawingsApart) {
    DocumentsMenuDlg panel;
    // A second "Nuts" elsewhere, and a library whose folder is gone.
    auto spare = CreateLibrariesGroup(L"Spare");
    spare->AddLibrary(CreateLibrary(folder("spare/Nuts").c_str()));
    ILibrary* gone = spare->AddLibrary(CreateLibrary((bolts + L"gone\\").c_str()));
    gone->SetName(L"Gone");
    worksConfiguration->AddSubGroup(std::move(spare));
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    expand(L"Spare");
    const struct {
        const wchar_t* row;
        int icon;
    } cases[] = {{L"Bolts", 4302}, {L"Nuts", 4310}, {L"Gone", 4307}, {L"a.grb", 40749}, {L"Fasteners", 446}};
    for (const auto& c : cases) {
        ASSERT_NE(row(c.row), nullptr) << pal::text::toUtf8(c.row);
        EXPECT_EQ(row(c.row)->GetRecord()->GetItem(0)->GetIconIndex(), c.icon) << pal::text::toUtf8(c.row);
    }
    // The caching manager's own icons when it has them.
    auto* images = static_cast<CachingImageManager*>(tree->GetImageManager());
    images->SetExtensionIcon(L".grb", 40782);
    images->ForgetPaths();
    EXPECT_EQ(row(L"a.grb")->GetRecord()->GetItem(0)->GetIconIndex(), 40782);
    // Without a caching image manager the plain ids stay.
    tree->SetImageManager(new CXTPImageManager);
    EXPECT_EQ(row(L"a.grb")->GetRecord()->GetItem(0)->GetIconIndex(), 40749);
    EXPECT_EQ(row(L"Bolts")->GetRecord()->GetItem(0)->GetIconIndex(), 4302);
}

TEST_F(Rows, TheEyeOfOneSelectedRowActsOnAll) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    panel.SetDocumentHidden(boltsLibrary, L"b.grb", true); // one of three hidden already
    panel.SetShowHidden(true);
    record<LibraryRecord>(L"Bolts")->UpdateChildren(L"");
    tree->Populate();
    EXPECT_EQ(row(L"b.grb")->GetRecord()->GetItem(5)->GetIconIndex(), 40754);
    EXPECT_EQ(row(L"a.grb")->GetRecord()->GetItem(5)->GetIconIndex(), 40753);
    tree->SelectRow(row(L"_frame.grb"));
    tree->SelectRow(row(L"a.grb"), TRUE);
    tree->SelectRow(row(L"b.grb"), TRUE);
    const CRect eye = tree->GetItemRect(row(L"a.grb"), tree->FindColumn(L"Visible"));
    tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(eye.left + 4, eye.top + 4));
    for (const wchar_t* name : {L"_frame.grb", L"a.grb", L"b.grb"})
        EXPECT_TRUE(panel.IsDocumentHidden(boltsLibrary, name)) << pal::text::toUtf8(name);
    EXPECT_EQ(tree->GetSelectedRows().size(), 3u) << "the click kept the selection";
    // With hidden rows not shown, a click hides the rows and the focus stays on a row shown.
    panel.SetShowHidden(false);
    panel.SetDocumentHidden(boltsLibrary, L"_frame.grb", false);
    panel.SetDocumentHidden(boltsLibrary, L"a.grb", false);
    panel.SetDocumentHidden(boltsLibrary, L"b.grb", false);
    tree->SelectRow(row(L"a.grb"));
    const CRect eye2 = tree->GetItemRect(row(L"a.grb"), tree->FindColumn(L"Visible"));
    tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(eye2.left + 4, eye2.top + 4));
    EXPECT_EQ(row(L"a.grb"), nullptr);
    ASSERT_NE(tree->GetFocusedRow(), nullptr);
    EXPECT_EQ(tree->FindColumn(L"Visible")->GetHeaderIconId(), 40823);
}

TEST_F(Rows, WithoutABrowserPanelViewStateIsLeftAlone) {
    makeTree(nullptr);
    auto* works = record<ConfigurationRecord>(L"Works");
    EXPECT_EQ(GetOwnerDialog(works), nullptr);
    expand(L"Works");
    EXPECT_NE(row(L"Fasteners"), nullptr) << "rows work without a panel";
    EXPECT_FALSE(works->IsHidden());
    works->SetHidden(true);
    EXPECT_FALSE(works->IsHidden());
    EXPECT_EQ(row(L"Old"), nullptr) << "excluded objects stay out without a panel to show them";
}

TEST_F(Rows, BrowsingAFolderKeepsARelativePathRelative) {
    const std::wstring chosen = folder("lib/Washers");
    struct Case {
        const char* name;
        std::wstring stored;
        std::wstring expected;
    };
    // The configuration's file lies in the sandbox root, so "lib\..." is relative to it.
    worksConfiguration->SetPath(pal::path::fromNative(root() / "works.tws"));
    const Case cases[] = {
        {"relative stays relative", L"lib\\Nuts\\", L"lib/Washers"},
        {"absolute stays absolute", nuts, chosen},
        {"a missing folder becomes relative", L"lib\\Missing\\", L"lib/Washers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        nutsLibrary->SetPath(c.stored);
        LibraryRecordButtonBrowse button(nutsLibrary);
        answer(chosen);
        button.OnLButtonUp(nullptr);
        EXPECT_EQ(pal::text::toUtf8(nutsLibrary->GetPath()), pal::text::toUtf8(c.expected));
    }
    // Cancelled: nothing changes.
    LibraryRecordButtonBrowse button(nutsLibrary);
    answer(2);
    button.OnLButtonUp(nullptr);
    EXPECT_EQ(nutsLibrary->GetPath(), L"lib/Washers");
}

TEST_F(Rows, AnUnderscoreSortsFirstAfterARename) {
    DocumentsMenuDlg panel;
    makeTree(&panel);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    auto* b = record<DocumentRecord>(L"b.grb");
    b->ApplyName(L"_bar.grb");
    tree->Populate();
    EXPECT_EQ(shown(),
              (std::vector<std::wstring>{L"Empty", L"Works", L"  Fasteners", L"    Bolts", L"      _bar.grb",
                                         L"      _frame.grb", L"      a.grb", L"    Nuts"}));
    EXPECT_EQ(b->GetItem(0)->GetSortPriority(), -1);
    EXPECT_EQ(std::wstring(b->GetItem(1)->GetCaption(nullptr)), bolts + L"_bar.grb");
    b->ApplyName(L"z.grb");
    EXPECT_EQ(b->GetItem(0)->GetSortPriority(), 0);
}

} // namespace
} // namespace rows_test
