#include "docbrowser/DocumentsMenuDlg.h"

#include "xtp/PropExchange.h"

#include <algorithm>

namespace DocumentsMenu {

BEGIN_MESSAGE_MAP(DocumentsMenuDlg, Dravik::UI::DockingPaneChildWindow)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

DocumentsMenuDlg::DocumentsMenuDlg() : structure_(this) {}

DocumentsMenuDlg::~DocumentsMenuDlg() {
    clients_.clear();
}

int DocumentsMenuDlg::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    return structure_.Create(this, 0xE900) ? 0 : -1;
}

void DocumentsMenuDlg::OnSize(UINT, int cx, int cy) {
    if (structure_.GetSafeHwnd() != nullptr)
        structure_.MoveWindow(0, 0, cx, cy);
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

// The preview pane comes with the panel's splitter; until it is there nothing shows.
void DocumentsMenuDlg::ShowConfiguration(IConfiguration*) {}
void DocumentsMenuDlg::ShowLibrariesGroup(ILibrariesGroup*) {}
void DocumentsMenuDlg::ShowLibrary(ILibrary*) {}
void DocumentsMenuDlg::ShowDocument(ILibrary*, const std::wstring&) {}
void DocumentsMenuDlg::ClearPreview() {}

} // namespace DocumentsMenu
