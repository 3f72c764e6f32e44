#include "docbrowser/DocumentsMenuDlg.h"

#include "docbrowser/PreviewWnd.h"

#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

namespace DocumentsMenu {

BEGIN_MESSAGE_MAP(DocumentsMenuDlg, Dravik::UI::DockingPaneChildWindow)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

DocumentsMenuDlg::DocumentsMenuDlg() : splitter_(1.618034, true), structure_(this) {}

DocumentsMenuDlg::~DocumentsMenuDlg() {
    clients_.clear();
}

int DocumentsMenuDlg::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1)
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
    return 0;
}

void DocumentsMenuDlg::OnSize(UINT, int cx, int cy) {
    if (splitter_.GetSafeHwnd() != nullptr)
        splitter_.MoveWindow(0, 0, cx, cy);
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
    {
        CXTPPropExchangeSection state(pPX, L"State");
        state_.DoPropExchange(&*state);
    }
    bool excluded = showExcluded_;
    PX_Bool(pPX, L"ShowExcluded", excluded, showExcluded_);
    showExcluded_ = excluded;
    structure_.DoPropExchange(pPX);
    splitter_.DoPropExchange(pPX);
    return TRUE;
}

void DocumentsMenuDlg::OnAttachedToPane(CXTPDockingPane*) {
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
