#include "docbrowser/DocumentsStructure.h"

#include "docbrowser/BrowserIcons.h"
#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentRecords.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/GroupRecords.h"
#include "docbrowser/LibraryRecords.h"

#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DVTextCore/SearchableText.h"
#include "DravikUI/CachingImageManager.h"
#include "DravikUI/ReportPaintManager.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"
#include "xtp/PaintManager.h"
#include "xtp/PopupBar.h"
#include "xtp/PropExchange.h"

#include <algorithm>
#include <functional>

namespace DocumentsMenu {

namespace {

constexpr wchar_t kVisible[] = L"Visible";

// Every record of the collection and below, depth first.
void ForEachRecord(CXTPReportRecords* records, const std::function<void(CXTPReportRecord*)>& f) {
    for (int i = 0; i < records->GetCount(); ++i) {
        CXTPReportRecord* record = records->GetAt(i);
        f(record);
        ForEachRecord(record->GetChilds(), f);
    }
}

// A configuration's or a libraries group's row of the group.
bool IsRecordOf(CXTPReportRecord* record, const ILibrariesGroup* group) {
    auto* r = dynamic_cast<GroupRecordBase*>(record);
    return r != nullptr && r->GetLibrariesGroup() == group;
}

} // namespace

StructureView::StructureView(DocumentsMenuDlg* owner) : StructureBase(owner) {
    auto* images = new CachingImageManager;
    LoadBrowserIcons(*images);
    SetImageManager(images);
    AllowEdit(TRUE);
    SetTheme(Dravik::UI::kReportThemeOfficeXP, 0);
}

void StructureView::SetTheme(int code, int second) {
    if (code == themeCode_ && second == themeSecond_) {
        GetPaintManager()->RefreshMetrics();
    } else {
        themeCode_ = code;
        themeSecond_ = second;
        SetPaintManager(Dravik::UI::CreateReportPaintManager(code));
    }
    GetPaintManager()->SetGridStyle(TRUE, xtpReportGridNoLines);
    GetPaintManager()->SetGridStyle(FALSE, xtpReportGridNoLines);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void StructureView::OnContextMenu(CPoint screen) {
    auto* frame = dynamic_cast<CXTPMDIFrameWnd*>(AfxGetMainWnd());
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    if (bars == nullptr)
        return;
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(bars);
    BuildContextMenu(popup, screen, bars);
    bars->TrackPopupMenu(popup, 0, screen.x, screen.y);
    popup->InternalRelease();
}

void StructureView::AddConfigurationsMenu(CXTPPopupBar* popup, CXTPCommandBars* commandBars) {
    using namespace ConfigurationsGroupMenuItems;
    auto* menu = new ContextMenuPopupItem("docs_menu.ctx_menu.libraries_configurations", -1, commandBars);
    popup->GetControls()->Add(menu);
    CXTPControls* entries = menu->GetCommandBar()->GetControls();
    entries->Add(new NewCfg);
    entries->Add(new OpenCfg);
    if (DVPDMWorkMix::Instance().IsEnabled())
        entries->Add(new OpenCfgFromORSA);
    entries->Add(new SaveAllCfgs);
    entries->Add(new CloseAllCfgs);
}

void StructureView::BuildContextMenu(CXTPPopupBar* popup, CPoint screen, CXTPCommandBars* commandBars) {
    popup->GetControls()->RemoveAll();
    const std::vector<Record*> selected = SelectedRecords(this);
    if (selected.size() == 1) {
        selected.front()->BuildContextMenu(popup);
    } else if (selected.size() > 1) {
        CPoint client = screen;
        ScreenToClient(&client);
        Record* under = nullptr;
        if (CXTPReportRow* row = HitTest(client); row != nullptr && row->IsSelected())
            under = dynamic_cast<Record*>(row->GetRecord());
        (under != nullptr ? under : selected.front())->BuildSelectionContextMenu(popup, selected);
    }
    AddConfigurationsMenu(popup, commandBars);
    DocumentsMenuDlg* panel = GetOwnerPanel();
    using namespace DocumentsMenuDlgMenuItems;
    auto* view = new ContextMenuPopupItem("docs_menu.ctx_menu.view", -1, commandBars);
    popup->GetControls()->Add(view);
    view->GetCommandBar()->GetControls()->Add(new DocumentsMenuDlgMenuItems::TreeView(panel));
    view->GetCommandBar()->GetControls()->Add(new DocumentsMenuDlgMenuItems::LibrariesList(panel));
    auto* preview = new ContextMenuPopupItem("docs_menu.ctx_menu.preview", -1, commandBars);
    popup->GetControls()->Add(preview);
    preview->GetCommandBar()->GetControls()->Add(new SplitModeNone(panel));
    preview->GetCommandBar()->GetControls()->Add(new SplitModeHorizontal(panel));
    preview->GetCommandBar()->GetControls()->Add(new SplitModeVertical(panel));
    if (panel != nullptr && panel->HasHiddenItems())
        popup->GetControls()->Add(new ShowHidden(panel, true));
    popup->GetControls()->Add(new ShowExcluded(panel, true));
}

StructureView::~StructureView() {
    GlobalCfgGroup().RemoveClient(this);
}

BOOL StructureView::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!StructureBase::Create(style, rect, parent, id))
        return FALSE;
    CreateColumns();
    EnableDragDrop(TRUE);
    GlobalCfgGroup().AddClient(this);
    return TRUE;
}

void StructureView::AddColumns(const ColumnRow* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const ColumnRow& c = rows[i];
        const bool visibleColumn = std::wstring_view(c.name) == kVisible;
        auto* column = AddColumn(new CXTPReportColumn(c.item, Dravik::I18n::Translate(c.captionKey).c_str(),
                                                      visibleColumn ? 20 : 100, !visibleColumn, -1,
                                                      !visibleColumn, c.visible));
        column->SetInternalName(c.name);
        if (visibleColumn)
            column->SetHeaderIconId(40754);
        if (c.item == 0) {
            column->SetTreeColumn(TRUE);
            column->SetAllowRemove(FALSE);
            column->SetShowInFieldChooser(FALSE);
            SetSortColumn(column);
        }
    }
    UpdateVisibleColumnIcon();
}

void StructureView::FitNameColumn(int width) {
    CXTPReportColumn* name = FindColumn(L"Name");
    if (name == nullptr)
        return;
    int others = 0;
    for (int i = 0; i < GetColumnCount(); ++i)
        if (CXTPReportColumn* c = GetColumn(i); c != name && c->IsVisible())
            others += c->GetWidth();
    name->SetWidth(std::max(100, width - others - ::GetSystemMetrics(SM_CXVSCROLL)));
}

void StructureView::Place(Record* record, bool excluded, bool expanded, bool hidden,
                          const std::wstring& childFilter) {
    if (excluded)
        for (int i = 0; i < record->GetItemCount(); ++i)
            record->GetItem(i)->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
    record->SetExpanded(expanded);
    if (expanded)
        record->UpdateChildren(childFilter);
    if (hidden)
        record->SetVisible(IsShowHidden());
}

void StructureView::SetHiddenRecordsVisible(bool visible) {
    ForEachRecord(GetRecords(), [visible](CXTPReportRecord* r) {
        if (auto* record = dynamic_cast<Record*>(r); record != nullptr && record->IsHidden())
            record->SetVisible(visible);
    });
    Populate();
    UpdateVisibleColumnIcon();
}

void StructureView::OnConfigurationAdded(IConfigurationsGroup*, IConfiguration*) {
    // The rows are made again from the group, so that their order and filter stay the fill's.
    Fill(std::wstring());
}

void StructureView::OnConfigurationRemoved(IConfigurationsGroup*, IConfiguration*) {
    Fill(std::wstring());
}

void StructureView::OnSelectionChanged() {
    const std::vector<CXTPReportRow*> selected = GetSelectedRows();
    if (selected.size() >= 2) {
        if (DocumentsMenuDlg* panel = GetOwnerPanel())
            panel->ClearPreview();
        return;
    }
    if (!selected.empty())
        if (auto* record = dynamic_cast<Record*>(selected.front()->GetRecord()))
            record->ShowInPreview();
}

void StructureView::OnColumnsChanged() {
    ShowHeader(GetVisibleColumnCount() >= 2);
}

void StructureView::OnHeaderClick(CXTPReportColumn* column) {
    DocumentsMenuDlg* panel = GetOwnerPanel();
    if (panel != nullptr && column != nullptr && column->GetInternalName() == kVisible)
        panel->SetShowHidden(!panel->IsShowHidden());
}

DragRow& LastDragRow() {
    static DragRow row;
    return row;
}

void StructureView::ForgetRows() {
    if (LastDragRow().view == this)
        LastDragRow() = DragRow{};
    ResetContent();
}

void StructureView::OnBeginDrag(CPoint, DWORD) {
    const std::vector<Record*> selected = SelectedRecords(this);
    if (selected.size() == 1)
        selected.front()->Drag();
    else if (selected.size() > 1)
        selected.front()->DragSelection(selected);
}

DROPEFFECT StructureView::OnDragOver(COleDataObject* data, DWORD keyState, CPoint point, int state) {
    StructureBase::OnDragOver(data, keyState, point, state);
    CXTPReportRow* row = HitTest(point);
    auto* record = row != nullptr ? dynamic_cast<Record*>(row->GetRecord()) : nullptr;
    const DROPEFFECT effect = record != nullptr ? record->GetDropEffect(data, keyState) : DROPEFFECT_NONE;
    DragRow& last = LastDragRow();
    const CXTPReportRecord* under = row != nullptr ? row->GetRecord() : nullptr;
    if (under != last.record || last.view != this) {
        if (effect != DROPEFFECT_NONE && row != nullptr) {
            SelectRow(row);
            last = DragRow{this, under};
        }
        Invalidate();
    }
    if (state != 2)
        last = DragRow{};
    return effect;
}

BOOL StructureView::OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint) {
    LastDragRow() = DragRow{};
    const std::vector<Record*> selected = SelectedRecords(this);
    return !selected.empty() && selected.front()->Drop(data, effect) ? TRUE : FALSE;
}

void TreeView::CreateColumns() {
    static constexpr ColumnRow kColumns[] = {
        {L"Name", 0, "docs_menu.title", true},
        {L"Path", 1, "docs_menu.path", false},
        {L"Author", 2, "docs_menu.author", false},
        {L"Company", 3, "docs_menu.company", false},
        {L"Comment", 4, "docs_menu.comment", false},
        {L"Visible", 5, "docs_menu.visibility", true},
        {L"Title", 6, "docs_menu.document_title", false},
        {L"Subject", 7, "docs_menu.subject", false},
        {L"Category", 8, "docs_menu.category", false},
        {L"Keywords", 9, "docs_menu.keywords", false},
    };
    AddColumns(kColumns, std::size(kColumns));
}

void TreeView::Fill(const std::wstring& filter) {
    DocumentsMenuDlg* panel = GetOwnerPanel();
    ForgetRows();
    IConfigurationsGroup& group = GlobalCfgGroup();
    for (std::size_t i = 0; i < group.GetCount(); ++i) {
        IConfiguration* configuration = group.GetAt(i);
        if (configuration == nullptr)
            continue;
        const bool excluded = configuration->IsExcluded();
        if (excluded && (panel == nullptr || !panel->IsShowExcluded()))
            continue;
        bool expanded = panel != nullptr && panel->IsLibrariesGroupExpanded(configuration);
        std::wstring childFilter;
        if (!filter.empty()) {
            const bool below = MatchesFilterInDescendants(configuration, filter, panel);
            const bool own = MatchesSearch(configuration->GetName(), filter);
            if (!below && !own)
                continue;
            expanded = below;
            if (!own)
                childFilter = filter;
        }
        auto* record = configuration->IsFromPdm() ? new PDMConfigurationRecord(configuration)
                                                  : new ConfigurationRecord(configuration);
        AddRecord(record);
        record->Init();
        Place(record, excluded, expanded, panel != nullptr && panel->IsLibrariesGroupHidden(configuration),
              childFilter);
    }
    Populate();
}

void LibrariesList::CreateColumns() {
    static constexpr ColumnRow kColumns[] = {
        {L"Name", 0, "docs_menu.title", true},         {L"Configuration", 6, "docs_menu.configuration", true},
        {L"Path", 1, "docs_menu.path", false},         {L"Author", 2, "docs_menu.author", false},
        {L"Company", 3, "docs_menu.company", false},   {L"Comment", 4, "docs_menu.comment", false},
        {L"Visible", 5, "docs_menu.visibility", true},
    };
    AddColumns(kColumns, std::size(kColumns));
}

void LibrariesList::Fill(const std::wstring& filter) {
    DocumentsMenuDlg* panel = GetOwnerPanel();
    ForgetRows();
    for (ILibrary* library : CollectAllLibraries(GlobalCfgGroup())) {
        bool expanded = panel != nullptr && panel->IsLibraryExpanded(library);
        std::wstring childFilter;
        if (!filter.empty()) {
            const bool below = LibraryDocumentsMatch(library, filter, panel);
            const bool own = MatchesSearch(library->GetName(), filter);
            if (!below && !own)
                continue;
            expanded = below;
            if (!own)
                childFilter = filter;
        }
        // Excluded libraries stay in the full list, grey, whatever the switch says.
        auto* record = new LibraryListRecord(library);
        AddRecord(record);
        record->Init();
        Place(record, library->IsExcluded(), expanded, panel != nullptr && panel->IsLibraryHidden(library),
              childFilter);
    }
    Populate();
}

BEGIN_MESSAGE_MAP(DocumentsStructure, CWnd)
ON_WM_SIZE()
END_MESSAGE_MAP()

DocumentsStructure::DocumentsStructure(DocumentsMenuDlg* owner) : tree_(owner), list_(owner), owner_(owner) {}

DocumentsStructure::~DocumentsStructure() = default;

BOOL DocumentsStructure::Create(CWnd* parent, UINT id) {
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CWnd::Create(nullptr, L"", style, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    if (!list_.Create(WS_CHILD | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), this, 1) ||
        !tree_.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), this, 2))
        return FALSE;
    list_.Fill(std::wstring());
    tree_.Fill(std::wstring());
    return TRUE;
}

void DocumentsStructure::OnSize(UINT, int cx, int cy) {
    for (StructureView* view : {static_cast<StructureView*>(&list_), static_cast<StructureView*>(&tree_)})
        if (view->GetSafeHwnd() != nullptr) {
            view->FitNameColumn(cx);
            view->MoveWindow(0, 0, cx, cy);
        }
}

void DocumentsStructure::SetFilter(const std::wstring& text) {
    const std::wstring filter = Dravik::GetSearchableEquivalent(text);
    list_.Fill(filter);
    tree_.Fill(filter);
}

bool DocumentsStructure::SetShowHidden(bool show) {
    if (show == showHidden_)
        return false;
    showHidden_ = show;
    list_.SetHiddenRecordsVisible(show);
    tree_.SetHiddenRecordsVisible(show);
    return true;
}

bool DocumentsStructure::ShowLibrariesList(bool list) {
    if (list == listShown_)
        return false;
    listShown_ = list;
    StructureView& hidden = list ? static_cast<StructureView&>(tree_) : list_;
    StructureView& shown = GetShownView();
    for (int i = 0; i < hidden.GetColumnCount(); ++i) {
        CXTPReportColumn* from = hidden.GetColumn(i);
        if (CXTPReportColumn* to = shown.FindColumn(from->GetInternalName()))
            to->SetVisible(from->IsVisible());
    }
    if (shown.GetSafeHwnd() != nullptr) {
        shown.ShowWindow(SW_SHOW);
        hidden.ShowWindow(SW_HIDE);
    }
    return true;
}

void DocumentsStructure::CollapseAll() {
    StructureView& view = GetShownView();
    ForEachRecord(view.GetRecords(), [](CXTPReportRecord* r) { r->SetExpanded(FALSE); });
    view.Populate();
}

void DocumentsStructure::SelectLibrariesGroup(ILibrariesGroup* group) {
    if (group == nullptr || listShown_)
        return;
    const auto find = [&]() -> CXTPReportRow* {
        for (const auto& row : tree_.GetRows()) {
            if (IsRecordOf(row->GetRecord(), group))
                return row.get();
        }
        return nullptr;
    };
    if (CXTPReportRow* row = find(); row != nullptr && row->IsSelected())
        return;
    std::vector<ILibrariesGroup*> ancestors;
    for (ILibrariesGroup* p = group->GetParent(); p != nullptr; p = p->GetParent())
        ancestors.insert(ancestors.begin(), p);
    for (ILibrariesGroup* a : ancestors)
        ForEachRecord(tree_.GetRecords(), [a](CXTPReportRecord* r) {
            if (IsRecordOf(r, a))
                static_cast<Record*>(r)->Expand(true);
        });
    tree_.Populate();
    if (CXTPReportRow* row = find(); row != nullptr && !row->IsFocused())
        tree_.SetFocusedRow(row);
}

void DocumentsStructure::SelectLibrary(ILibrary* library) {
    if (library == nullptr)
        return;
    StructureView& view = GetShownView();
    const auto find = [&]() -> CXTPReportRow* {
        for (const auto& row : view.GetRows())
            if (auto* l = dynamic_cast<LibraryRecord*>(row->GetRecord());
                l != nullptr && l->GetLibrary() == library)
                return row.get();
        return nullptr;
    };
    if (!listShown_) {
        if (CXTPReportRow* row = find(); row != nullptr && row->IsSelected())
            return;
        if (ILibrariesGroup* parent = library->GetParent()) {
            SelectLibrariesGroup(parent);
            ForEachRecord(tree_.GetRecords(), [parent](CXTPReportRecord* r) {
                if (IsRecordOf(r, parent))
                    static_cast<Record*>(r)->Expand(true);
            });
        }
    }
    view.Populate();
    if (CXTPReportRow* row = find(); row != nullptr && !row->IsFocused())
        view.SetFocusedRow(row);
}

void DocumentsStructure::DoPropExchange(CXTPPropExchange* pPX) {
    // Without a stored value the switch stays as it is.
    bool show = showHidden_;
    PX_Bool(pPX, L"ShowHidden", show, showHidden_);
    {
        CXTPPropExchangeSection tree(pPX, L"Tree");
        tree_.DoPropExchange(&*tree);
    }
    {
        CXTPPropExchangeSection list(pPX, L"List");
        list_.DoPropExchange(&*list);
    }
    if (!pPX->IsLoading())
        return;
    showHidden_ = show;
    for (StructureView* view : {static_cast<StructureView*>(&list_), static_cast<StructureView*>(&tree_)}) {
        view->UpdateVisibleColumnIcon();
        view->Fill(std::wstring());
        if (view->GetSafeHwnd() != nullptr) {
            CRect client;
            GetClientRect(&client);
            view->FitNameColumn(client.Width());
        }
    }
}

std::vector<CXTPReportColumn*> DocumentsStructure::GetShownColumns() {
    StructureView& view = GetShownView();
    std::vector<CXTPReportColumn*> columns;
    for (int i = 0; i < view.GetColumnCount(); ++i)
        columns.push_back(view.GetColumn(i));
    return columns;
}

void DocumentsStructure::SetTheme(int reportTheme) {
    const bool dark = CXTPPaintManager::Current()->IsDarkTheme() != FALSE;
    for (StructureView* view : {static_cast<StructureView*>(&list_), static_cast<StructureView*>(&tree_)}) {
        view->SetTheme(reportTheme, 0);
        if (CXTPImageManager* images = view->GetImageManager())
            LoadBrowserIcons(*images, dark);
    }
}

void CollectDocumentNames(const std::vector<Record*>& records, std::vector<std::wstring>& names) {
    for (Record* r : records)
        if (auto* d = dynamic_cast<DocumentRecord*>(r))
            if (std::wstring name = d->GetName(); !name.empty())
                names.push_back(std::move(name));
}

} // namespace DocumentsMenu
