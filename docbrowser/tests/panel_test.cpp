// The browser panel's bars and menus over the model: the find box with its history and its
// button, the installed configurations, the column chooser, the structure's menu by selection,
// the pane's stored layout and the looks of the program's themes.
#include "rows_fixture.h"

#include "docbrowser/PreviewWnd.h"
#include "docbrowser/ToolBarControls.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/ReportPaintManager.h"
#include "DravikUI/Themes.h"
#include "pal/test/snapshot.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolBar.h"

#include <algorithm>
#include <optional>

namespace rows_test {
namespace {

class Panel : public RowsTest {
protected:
    void SetUp() override {
        RowsTest::SetUp();
        frame = new CFrameWnd;
        frame->Create(nullptr, L"Documents", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 400));
        ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 360), frame, 1004));
    }
    void TearDown() override {
        panel.DestroyWindow();
        dvkernel::test::setInstalledConfigurationsFolder(L"");
        RowsTest::TearDown();
    }
    std::vector<std::wstring> rows() {
        std::vector<std::wstring> out;
        for (const auto& row : panel.GetStructure().GetTree().GetRows())
            if (CXTPReportRecordItem* name = row->GetRecord()->GetItem(0))
                out.push_back(std::wstring(row->GetTreeDepth() * 2, L' ') +
                              name->GetCaption(nullptr).GetString());
        return out;
    }
    std::vector<std::wstring> history() {
        std::vector<std::wstring> out;
        for (int i = 0; i < box().GetCount(); ++i)
            out.push_back(box().GetLBText(i).GetString());
        return out;
    }
    ComboBoxFind& box() { return *panel.GetFindBox(); }
    ButtonFind& button() { return *box().GetFindButton(); }
    std::wstring store() {
        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"Pane");
        panel.DoPropExchange(&px, nullptr);
        return px.GetXML().GetString();
    }
    void load(const std::wstring& xml) {
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Pane");
        ASSERT_TRUE(px.LoadFromString(xml.c_str()));
        panel.DoPropExchange(&px, nullptr);
    }

    DocumentsMenuDlg panel;
};

// The panel's two bars, in their order, with the controls a person sees.
TEST_F(Panel, ItsBarsCarryTheConfigurationControlsAndTheFindBox) {
    CXTPToolBar* configuration = panel.GetConfigurationToolBar();
    CXTPToolBar* search = panel.GetSearchToolBar();
    ASSERT_NE(configuration, nullptr);
    ASSERT_NE(search, nullptr);
    std::vector<int> ids;
    for (CXTPControl* c : *configuration->GetControls())
        ids.push_back(c->GetIconId());
    EXPECT_EQ(ids, (std::vector<int>{690, 691, 1912, 497, 40780}));
    EXPECT_FALSE(configuration->GetControls()->GetAt(2)->IsVisible()) << "no PDM work mix, no PDM button";
    EXPECT_EQ(configuration->GetControls()->GetAt(1)->GetType(), xtpControlSplitButtonPopup);
    ASSERT_NE(configuration->GetControls()->GetOriginalControls(), nullptr);
    ASSERT_EQ(search->GetControls()->GetCount(), 2);
    EXPECT_EQ(search->GetControls()->GetAt(0), &box());
    EXPECT_EQ(search->GetControls()->GetAt(1), &button());
    EXPECT_EQ(button().GetIconId(), 693);
    // The bars sit above the splitter, which takes what they leave.
    CRect bar, splitter;
    search->GetWindowRect(&bar);
    panel.GetSplitter().GetWindowRect(&splitter);
    EXPECT_LE(bar.bottom, splitter.top);
    EXPECT_EQ(
        splitter.bottom - splitter.top + bar.bottom -
            [&] {
                CRect r;
                configuration->GetWindowRect(&r);
                return r.top;
            }(),
        360);
}

// Typing, Enter, the history and the button, as a person uses them.
TEST_F(Panel, TheFindBoxFiltersByTheTrimmedLowerCaseTextAndKeepsEachTextOnceInItsHistory) {
    enum Action { Type, Enter, Button, Choose };
    struct Step {
        Action action;
        const wchar_t* text;
        int icon;
        std::vector<std::wstring> history;
        std::optional<std::vector<std::wstring>> rows; // none: not looked at
    };
    const std::vector<std::wstring> all{L"Empty", L"Works"};
    const std::vector<std::wstring> m6{L"Works", L"  Fasteners", L"    Nuts", L"      m6.grb"};
    const std::vector<std::wstring> bolts{L"Works", L"  Fasteners", L"    Bolts"};
    // Without a filter again: every row, the branches the searches opened still open.
    const std::vector<std::wstring> opened{L"Empty",     L"Works",    L"  Fasteners",
                                           L"    Bolts", L"    Nuts", L"      m6.grb"};
    const Step steps[] = {
        {Button, nullptr, 693, {}, all},              // an empty box: nothing happens
        {Type, L"  M6 ", 693, {}, all},               // typing applies nothing yet
        {Enter, nullptr, 696, {L"m6"}, m6},           // trimmed, lower case, first in the history
        {Enter, nullptr, 696, {L"m6"}, m6},           // the same text is kept once
        {Type, L"M", 693, {L"m6"}, m6},               // a change offers the search again, unapplied
        {Enter, nullptr, 696, {L"m6"}, std::nullopt}, // a beginning of a kept text adds none
        {Type, L"Bolts", 693, {L"m6"}, std::nullopt},
        {Button, nullptr, 696, {L"bolts", L"m6"}, bolts},
        {Button, nullptr, 693, {L"bolts", L"m6"}, opened}, // clear: the box empties, all rows back
        {Choose, L"1", 696, {L"bolts", L"m6"}, m6},        // a history entry searches again
        {Type, L"", 693, {L"bolts", L"m6"}, opened},       // an emptied box shows everything at once
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        switch (s.action) {
        case Type:
            box().SetEditText(s.text);
            box().OnEditChanged();
            break;
        case Enter:
            box().OnExecute();
            break;
        case Button:
            button().OnExecute();
            break;
        case Choose:
            box().OnSelChanged(std::stoi(s.text));
            break;
        }
        EXPECT_EQ(button().GetIconId(), s.icon);
        EXPECT_EQ(history(), s.history);
        if (s.rows) {
            EXPECT_EQ(rows(), *s.rows);
        }
    }
    EXPECT_EQ(box().GetEditText(), L"");
}

// The arrow of the open button lists the installed configurations by name, ticked while open;
// choosing an unticked one opens it, a ticked one closes it.
TEST_F(Panel, TheInstalledConfigurationsAreTickedExactlyWhileOpen) {
    const std::wstring installed = folder("installed");
    for (const wchar_t* name : {L"Standard", L"Archive", L"Shop"}) {
        auto made = CreateConfiguration(name, false);
        made->SetPath(installed + name + L".tws");
        ASSERT_TRUE(made->Save(true));
    }
    dvkernel::test::setInstalledConfigurationsFolder(installed);
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), installed + L"Shop.tws", nullptr), nullptr);
    auto* open =
        dynamic_cast<OpenConfigurationButton*>(panel.GetConfigurationToolBar()->GetControls()->GetAt(1));
    ASSERT_NE(open, nullptr);
    const auto listed = [&] {
        open->FillPopup();
        std::vector<std::wstring> out;
        for (CXTPControl* c : *open->GetCommandBar()->GetControls())
            out.push_back(std::wstring(c->GetCaption().GetString()) + (c->GetChecked() ? L"*" : L""));
        return out;
    };
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"Archive", L"Shop*", L"Standard"}));
    open->GetCommandBar()->GetControls()->GetAt(2)->OnExecute();
    ASSERT_NE(FindConfigurationByPath(GlobalCfgGroup(), (installed + L"Standard.tws").c_str()), nullptr);
    EXPECT_TRUE(FindConfigurationByPath(GlobalCfgGroup(), (installed + L"Standard.tws").c_str())->IsActive());
    EXPECT_NE(std::find(rows().begin(), rows().end(), L"Standard"), rows().end()) << "the tree shows it";
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"Archive", L"Shop*", L"Standard*"}));
    open->GetCommandBar()->GetControls()->GetAt(1)->OnExecute();
    EXPECT_EQ(FindConfigurationByPath(GlobalCfgGroup(), (installed + L"Shop.tws").c_str()), nullptr);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"Archive", L"Shop", L"Standard*"}));
    // A file that cannot be read opens nothing and stays unticked.
    writeFile("installed/Archive.tws", "not a configuration");
    const std::size_t before = GlobalCfgGroup().GetCount();
    open->GetCommandBar()->GetControls()->GetAt(0)->OnExecute();
    EXPECT_EQ(GlobalCfgGroup().GetCount(), before);
    EXPECT_FALSE(open->GetCommandBar()->GetControls()->GetAt(0)->GetChecked());
}

// The column chooser offers the shown view's columns; the collapse button folds the shown view.
TEST_F(Panel, TheColumnChooserAndCollapseServeTheShownView) {
    CXTPControls* controls = panel.GetConfigurationToolBar()->GetControls();
    auto* columns = dynamic_cast<ColumnsSelector*>(controls->GetAt(4));
    ASSERT_NE(columns, nullptr);
    const auto offered = [&] {
        columns->FillPopup();
        std::vector<std::wstring> out;
        for (CXTPControl* c : *columns->GetCommandBar()->GetControls())
            out.push_back(c->GetCaption().GetString());
        return out;
    };
    EXPECT_EQ(offered().size(), 9u) << "the tree's columns but the name";
    panel.ShowLibrariesList(true);
    EXPECT_EQ(offered().size(), 6u) << "the list's";
    panel.ShowLibrariesList(false);
    EXPECT_EQ(offered().front(), L"docs_menu.path") << "untranslated here";
    columns->GetCommandBar()->GetControls()->GetAt(0)->OnExecute();
    EXPECT_TRUE(panel.GetStructure().GetTree().FindColumn(L"Path")->IsVisible());

    panel.GetStructure().SetFilter(L"m6");
    ASSERT_GT(rows().size(), 2u);
    controls->GetAt(3)->OnExecute();
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Works"})) << "folded, the filter kept";
}

// The structure's menu: the selected rows' own, then the configurations, the view, the preview
// and the switches, each ticked as the panel stands.
TEST_F(Panel, TheStructuresMenuFollowsTheSelectionAndThePanel) {
    StructureView& tree = panel.GetStructure().GetTree();
    const auto menu = [&] {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
        tree.BuildContextMenu(bar, CPoint(0, 0), nullptr);
        std::vector<std::string> out = entries(bar);
        bar->InternalRelease();
        return out;
    };
    const std::vector<std::string> common{"|[new open save_all close_all ]", "|[*tree libraries_only ]",
                                          "|[none *horizontal_split vertical_split ]", "|show_exclusions"};
    EXPECT_EQ(menu(), common) << "nothing selected";
    tree.SelectRow(tree.GetRows().back().get()); // Works
    std::vector<std::string> works = menu();
    ASSERT_GT(works.size(), common.size());
    EXPECT_EQ(works.front(), "active_configuration");
    EXPECT_TRUE(std::equal(common.begin(), common.end(), works.end() - 4));
    tree.SelectRow(tree.GetRows().front().get(), TRUE); // and Empty
    std::vector<std::string> both = menu();
    EXPECT_NE(both, works) << "a selection's menu";
    EXPECT_TRUE(std::equal(common.begin(), common.end(), both.end() - 4));

    panel.SetSplitMode(DocumentsMenuDlg::SplitMode::Vertical);
    panel.ShowLibrariesList(true);
    panel.SetDocumentHidden(boltsLibrary, L"a.grb", true);
    panel.SetShowExcluded(true);
    tree.ClearSelection();
    EXPECT_EQ(menu(), (std::vector<std::string>{"|[new open save_all close_all ]", "|[tree *libraries_only ]",
                                                "|[none horizontal_split *vertical_split ]",
                                                "|show_invisible", "|hide_exclusions"}));
}

// The layout keeps whether the search bar shows and the preview's icon size; a layout without
// the bar's key shows it, and sizes no preview can have are logged and left.
TEST_F(Panel, TheLayoutKeepsTheSearchBarAndTheIconSize) {
    panel.ShowSearchToolBar(false);
    const std::wstring hidden = store();
    EXPECT_NE(hidden.find(L"ShowSearchToolBar=\"false\""), std::wstring::npos) << pal::text::toUtf8(hidden);
    EXPECT_LT(hidden.find(L"ShowSearchToolBar"), hidden.find(L"State")) << "the bar's key comes first";
    EXPECT_LT(hidden.find(L"Ratio"), hidden.find(L"IconSize")) << "the icon size comes after the splitter";
    load(L"<Pane/>");
    EXPECT_TRUE(panel.GetSearchToolBar()->IsVisible()) << "no key shows the bar";
    load(hidden);
    EXPECT_FALSE(panel.GetSearchToolBar()->IsVisible());

    auto* preview = dynamic_cast<PreviewWnd*>(panel.GetSplitter().GetPane(1));
    ASSERT_NE(preview, nullptr);
    load(LR"(<Pane IconSize="48"/>)");
    EXPECT_EQ(panel.GetIconSize(), 48);
    EXPECT_EQ(preview->GetIconSize(), 48);
    dvlog::test::clearCapture();
    for (const wchar_t* bad : {L"0", L"100000", L"-32"})
        load(std::wstring(LR"(<Pane IconSize=")") + bad + L"\"/>");
    EXPECT_EQ(panel.GetIconSize(), 48);
    EXPECT_EQ(dvlog::test::capturedAt(DVLogWarning).size(), 3u);
    // A hidden preview neither gives nor takes the size.
    panel.SetSplitMode(DocumentsMenuDlg::SplitMode::None);
    load(LR"(<Pane IconSize="64"/>)");
    EXPECT_EQ(panel.GetIconSize(), 64);
    EXPECT_EQ(preview->GetIconSize(), 48);
}

// In a dark theme the views, the bar between the panes and the preview take the dark ground.
TEST_F(Panel, ADarkThemeMakesThePaneDark) {
    CXTPPaintManager* bars = CXTPPaintManager::Current();
    const std::wstring before = bars->GetThemeName();
    int dark = -1;
    for (int n = 0; Dravik::UI::GetTheme(n) != nullptr; ++n)
        if (std::wstring(Dravik::UI::GetTheme(n)->Name) == L"office2016black")
            dark = n;
    ASSERT_GE(dark, 0);
    ASSERT_TRUE(bars->SetTheme(L"office2016black"));
    panel.SetTheme(dark);
    StructureView& tree = panel.GetStructure().GetTree();
    EXPECT_EQ(tree.GetThemeCode(), Dravik::UI::kReportThemeOffice2013);
    EXPECT_EQ(panel.GetSplitter().GetTheme(), xtpControlThemeVisualStudio2015);
    panel.UpdateWindow();
    const pal::gdi::Surface shot = pal::test::snapshot(panel.GetSafeHwnd());
    CRect view;
    tree.GetWindowRect(&view);
    panel.ScreenToClient(&view);
    EXPECT_EQ(shot.pixel(view.left + 40, view.bottom - 4), bars->GetColors().clrWindow)
        << "the tree's ground";
    bars->SetTheme(before.c_str());
    panel.SetTheme(1);
    EXPECT_EQ(tree.GetPaintManager()->m_clrControlBack, bars->GetColors().clrWindow) << "light again";
}

} // namespace
} // namespace rows_test
