#include "docbrowser/DocumentsMenuDlg.h"

#include "docbrowser/BrowserIcons.h"
#include "docbrowser/PreviewWnd.h"
#include "docbrowser/ToolBarControls.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/CommandBarsSite.h"
#include "DravikUI/ReportPaintManager.h"
#include "DravikUI/Themes.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolBar.h"
#include "xtp/ToolTipContext.h"

#include <algorithm>

namespace DocumentsMenu {

namespace {

// The preview's icons: what a stored layout may ask for.
constexpr int kMinIconSize = 16;
constexpr int kMaxIconSize = 256;
// The find box takes the search bar's width but what its button and gripper need.
constexpr int kFindBarRest = 48;

} // namespace

BEGIN_MESSAGE_MAP(DocumentsMenuDlg, Dravik::UI::DockingPaneChildWindow)
ON_WM_CREATE()
ON_WM_SIZE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &DocumentsMenuDlg::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

DocumentsMenuDlg::DocumentsMenuDlg() : splitter_(1.618034, true), structure_(this) {}

DocumentsMenuDlg::~DocumentsMenuDlg() {
    clients_.clear();
}

int DocumentsMenuDlg::OnCreate(LPCREATESTRUCTW cs) {
    if (Dravik::UI::DockingPaneChildWindow::OnCreate(cs) == -1)
        return -1;
    using Dravik::UI::SimpleSplitter;
    if (!splitter_.Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                          SimpleSplitter::kFirstPaneId))
        return -1;
    splitter_.SetMinPaneSize(CXTPDpi::ScaleX(50));
    if (!structure_.Create(&splitter_, SimpleSplitter::kFirstPaneId))
        return -1;
    auto preview = std::make_unique<PreviewWnd>(false);
    if (!preview->Create(&splitter_, SimpleSplitter::kSecondPaneId))
        return -1; // the preview object goes with `preview`
    preview_ = std::move(preview);
    splitter_.Layout();
    if (!InitCommandBars())
        return -1;
    CXTPCommandBars* bars = GetCommandBars();
    Dravik::UI::CommandBarsSiteBase::UpdateCommandBarsOptions(this, bars);
    bars->GetToolTipContext()->SetStyle(xtpToolTipOffice);
    UIModuleProxy::Instance().SetCommandBarsIconSizes(bars, CSize(16, 16), CSize(24, 24), CSize(0, 0), false);
    bars->GetCommandBarsOptions()->ShowKeyboardCues(xtpKeyboardCuesShowWindowsDefault);
    if (!CreateToolBars())
        return -1;
    // A pane made after the program's theme was set takes it now.
    if (const auto theme = UIModuleProxy::Instance().GetCurrentTheme())
        SetTheme(theme->Number, nullptr);
    RepositionBars();
    return 0;
}

bool DocumentsMenuDlg::CreateToolBars() {
    CXTPCommandBars* bars = GetCommandBars();
    auto* images = new CXTPImageManager;
    LoadToolBarIcons(*images, CXTPPaintManager::Current()->IsDarkTheme() != FALSE);
    bars->SetImageManager(images);

    configurationBar_ = bars->Add(L"", xtpBarTop);
    if (configurationBar_ == nullptr)
        return false;
    configurationBar_->ShowGripper(FALSE);
    configurationBar_->EnableDocking(96);
    // The row is the bar's: the column chooser ends it at the right.
    configurationBar_->SetFlags(configurationBar_->GetFlags() | xtpFlagStretched);
    CXTPControls* controls = configurationBar_->GetControls();
    controls->Add(new ButtonNewConfiguration);
    controls->Add(new OpenConfigurationButton(bars));
    orsaButton_ = new OpenOrsaConfigurationButton;
    controls->Add(orsaButton_);

    searchBar_ = bars->Add(Dravik::I18n::Translate("panels.search_panel").c_str(), xtpBarTop);
    if (searchBar_ == nullptr)
        return false;
    searchBar_->EnableDocking(97);
    searchBar_->SetVisible(TRUE);
    searchBar_->SetFlags(searchBar_->GetFlags() | xtpFlagStretched);
    findBox_ = new ComboBoxFind(&structure_);
    searchBar_->GetControls()->Add(findBox_);
    auto* find = new ButtonFind(findBox_);
    searchBar_->GetControls()->Add(find);
    findBox_->SetFindButton(find);

    controls->Add(new CollapseButton(&structure_));
    controls->Add(new ColumnsSelector(&structure_));
    controls->CreateOriginalControls();
    return true;
}

void DocumentsMenuDlg::RepositionBars() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    CRect rest = client;
    if (CXTPCommandBars* bars = GetCommandBars()) {
        if (findBox_ != nullptr)
            findBox_->SetWidth(std::max(CXTPDpi::ScaleX(60), client.Width() - CXTPDpi::ScaleX(kFindBarRest)));
        rest = bars->LayoutDockedBars(client);
    }
    if (splitter_.GetSafeHwnd() != nullptr)
        splitter_.MoveWindow(&rest);
}

void DocumentsMenuDlg::OnSize(UINT, int, int) {
    RepositionBars();
}

LRESULT DocumentsMenuDlg::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    // A hidden control hears no idle update of its bar: the panel asks for it.
    if (orsaButton_ != nullptr)
        orsaButton_->UpdateVisibility();
    return 0;
}

void DocumentsMenuDlg::OnApplicationEvent(int event, ApplicationEventArgs&) {
    if (event == 1043)
        Dravik::UI::CommandBarsSiteBase::UpdateCommandBarsOptions(this, GetCommandBars());
}

void DocumentsMenuDlg::ShowSearchToolBar(bool show) {
    if (searchBar_ == nullptr)
        return;
    searchBar_->SetVisible(show ? TRUE : FALSE);
    RepositionBars();
}

void DocumentsMenuDlg::SetTheme(int theme, CXTPDockingPane* pane) {
    DockingPaneChildWindow::SetTheme(theme, pane);
    const Dravik::UI::ThemeInfo* look = Dravik::UI::GetTheme(theme);
    splitter_.SetTheme(look != nullptr ? look->ControlTheme : xtpControlThemeDefault);
    structure_.SetTheme(look != nullptr ? look->ReportTheme : Dravik::UI::kReportThemeOfficeXP);
    if (preview_)
        preview_->ApplyTheme(theme);
    if (CXTPCommandBars* bars = GetCommandBars())
        if (CXTPImageManager* images = bars->GetImageManager())
            LoadToolBarIcons(*images, CXTPPaintManager::Current()->IsDarkTheme() != FALSE);
    if (GetSafeHwnd() != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

DocumentsMenuDlg::SplitMode DocumentsMenuDlg::GetSplitMode() const {
    if (!splitter_.IsSecondPaneVisible())
        return SplitMode::None;
    return splitter_.IsHorizontal() ? SplitMode::Horizontal : SplitMode::Vertical;
}

bool DocumentsMenuDlg::SetSplitMode(SplitMode mode) {
    if (mode == GetSplitMode())
        return false;
    if (mode != SplitMode::None)
        splitter_.SetHorizontal(mode == SplitMode::Horizontal);
    splitter_.ShowSecondPane(mode != SplitMode::None);
    return true;
}

PreviewWnd* DocumentsMenuDlg::VisiblePreview() const {
    return splitter_.IsSecondPaneVisible() ? preview_.get() : nullptr;
}

BOOL DocumentsMenuDlg::DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane*) {
    if (searchBar_ != nullptr) {
        bool shown = searchBar_->IsVisible() != FALSE;
        PX_Bool(pPX, L"ShowSearchToolBar", shown, true);
        if (pPX->IsLoading())
            ShowSearchToolBar(shown);
    }
    {
        CXTPPropExchangeSection state(pPX, L"State");
        state_.DoPropExchange(&*state);
    }
    bool excluded = showExcluded_;
    PX_Bool(pPX, L"ShowExcluded", excluded, showExcluded_);
    showExcluded_ = excluded;
    structure_.DoPropExchange(pPX);
    splitter_.DoPropExchange(pPX);
    PreviewWnd* preview = VisiblePreview();
    if (!pPX->IsLoading() && preview != nullptr)
        iconSize_ = preview->GetIconSize();
    // Without a stored value the member stays as it is.
    int size = iconSize_;
    PX_Int(pPX, L"IconSize", size, iconSize_);
    if (pPX->IsLoading()) {
        if (size < kMinIconSize || size > kMaxIconSize) {
            DVLog_Write(DVLogWarning, "Documents pane: icon size %d is outside %d..%d; %d is kept", size,
                        kMinIconSize, kMaxIconSize, iconSize_);
        } else {
            iconSize_ = size;
            if (preview != nullptr)
                preview->SetIconSize(size);
        }
    }
    return TRUE;
}

void DocumentsMenuDlg::OnAttachedToPane(CXTPDockingPane*) {
    Dravik::UI::CommandBarsSiteBase::UpdateCommandBarsOptions(this, GetCommandBars());
    StructureView& view = structure_.GetShownView();
    if (view.GetSafeHwnd() != nullptr && view.GetRowCount() == 0)
        view.Populate();
}

void DocumentsMenuDlg::OnToBeDetachedFromPane(CXTPDockingPane*) {
    for (StructureView* view : {static_cast<StructureView*>(&structure_.GetList()),
                                static_cast<StructureView*>(&structure_.GetTree())}) {
        view->ClearSelection();
        view->Populate();
    }
}

template <class F> void DocumentsMenuDlg::TellClients(F&& f) {
    // A client may leave while told: the copy is told, skipping those gone meanwhile.
    const std::vector<IClient*> clients = clients_;
    for (IClient* c : clients)
        if (std::find(clients_.begin(), clients_.end(), c) != clients_.end())
            f(c);
}

bool DocumentsMenuDlg::SetShowExcluded(bool show) {
    if (show == showExcluded_)
        return false;
    showExcluded_ = show;
    structure_.SetFilter(std::wstring());
    TellClients([](IClient* c) { c->OnShowExcludedChanged(); });
    return true;
}

bool DocumentsMenuDlg::SetShowHidden(bool show) {
    if (!structure_.SetShowHidden(show))
        return false;
    TellClients([](IClient* c) { c->OnShowHiddenChanged(); });
    return true;
}

void DocumentsMenuDlg::SetLibrariesGroupHidden(ILibrariesGroup* group, bool hidden) {
    state_.SetGroupHidden(group, hidden);
    TellClients([&](IClient* c) { c->OnLibrariesGroupHiddenChanged(group); });
}

void DocumentsMenuDlg::SetLibraryHidden(ILibrary* library, bool hidden) {
    state_.SetLibraryHidden(library, hidden);
    TellClients([&](IClient* c) { c->OnLibraryHiddenChanged(library); });
}

void DocumentsMenuDlg::SetDocumentHidden(ILibrary* library, const std::wstring& name, bool hidden) {
    state_.SetDocumentHidden(library, name, hidden);
    TellClients([&](IClient* c) { c->OnDocumentHiddenChanged(library, name); });
}

void DocumentsMenuDlg::AddClient(IClient* client) {
    if (client != nullptr && std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void DocumentsMenuDlg::RemoveClient(IClient* client) {
    std::erase(clients_, client);
}

// The preview shows nothing yet, whatever the row; a hidden one is not asked.
void DocumentsMenuDlg::ShowConfiguration(IConfiguration*) {}
void DocumentsMenuDlg::ShowLibrariesGroup(ILibrariesGroup*) {}
void DocumentsMenuDlg::ShowLibrary(ILibrary*) {}
void DocumentsMenuDlg::ShowDocument(ILibrary*, const std::wstring&) {}
void DocumentsMenuDlg::ClearPreview() {
    if (PreviewWnd* preview = VisiblePreview())
        preview->Clear();
}

} // namespace DocumentsMenu
