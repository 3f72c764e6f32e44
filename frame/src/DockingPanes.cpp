#include "frame/DockingPanes.h"

#include "docbrowser/Clipart.h"
#include "ribbon/FrameToolsEngine.h"

#include "DVDiagnostics/DVLog.h"
#include "xtp/PropExchange.h"

#include <memory>
#include <string_view>

namespace {

constexpr wchar_t kClipart[] = L"Clipart";
constexpr wchar_t kType[] = L"Type";
constexpr DWORD kClipartStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

DockingPaneWindowLookup& paneWindowLookup() {
    static DockingPaneWindowLookup lookup;
    return lookup;
}

// Without the application's lookup, the window the frame tools make for the pane.
CWnd* paneWindow(int paneId) {
    const DockingPaneWindowLookup& lookup = paneWindowLookup();
    return lookup ? lookup(paneId) : CFrameToolsEngine::GetPaneWindow(paneId);
}

std::unique_ptr<CClipartView> makeClipart(std::wstring_view type) {
    if (type == L"ModelTree")
        return std::make_unique<ModelTreeClipart>();
    if (type == L"Workmix")
        return std::make_unique<WorkmixClipart>();
    if (type == L"Application")
        return std::make_unique<ApplicationClipart>();
    if (type == L"DocumentsMenu")
        return std::make_unique<DocumentsMenuClipart>();
    if (type == L"ExpandedForm")
        return std::make_unique<ExpandedFormClipart>();
    return nullptr;
}

} // namespace

void SetDockingPaneWindowLookup(DockingPaneWindowLookup lookup) {
    paneWindowLookup() = std::move(lookup);
}

const wchar_t* ClipartTypeName(const CWnd* view) {
    if (dynamic_cast<const ModelTreeClipart*>(view))
        return L"ModelTree";
    if (dynamic_cast<const WorkmixClipart*>(view))
        return L"Workmix";
    if (dynamic_cast<const ApplicationClipart*>(view))
        return L"Application";
    if (dynamic_cast<const DocumentsMenuClipart*>(view))
        return L"DocumentsMenu";
    if (dynamic_cast<const ExpandedFormClipart*>(view))
        return L"ExpandedForm";
    return L"";
}

BOOL CDVDockingPane::DoPropExchange(CXTPPropExchange* pPX) {
    if (!DockingPane::DoPropExchange(pPX))
        return FALSE;
    const int id = GetID();
    if (pPX->IsStoring()) {
        CWnd* window = paneWindow(id);
        if (window == nullptr)
            window = FindClipartById(id);
        if (auto* clipart = dynamic_cast<CClipartView*>(window)) {
            CXTPPropExchangeSection section(pPX, kClipart);
            CString type = ClipartTypeName(clipart);
            PX_String(&*section, kType, type, L"");
            return clipart->DoPropExchange(&*section, this);
        }
        if (auto* child = dynamic_cast<Dravik::UI::DockingPaneChild*>(window))
            return child->DoPropExchange(pPX, this);
        return window != nullptr;
    }

    CXTPPropExchangeSection section(pPX, kClipart);
    CString type;
    PX_String(&*section, kType, type, L"");
    if (type.IsEmpty()) {
        if (auto* child = dynamic_cast<Dravik::UI::DockingPaneChild*>(paneWindow(id)))
            return child->DoPropExchange(pPX, this);
        return TRUE;
    }
    CClipartView* clipart = nullptr;
    if (type == L"Application") {
        CString key;
        int windowId = -1;
        PX_String(&*section, L"AppKey", key, L"");
        PX_Int(&*section, L"WindowID", windowId, -1);
        clipart = FindApplicationClipart(key.GetString(), windowId);
    } else {
        clipart = FindClipartById(id);
    }
    std::unique_ptr<CClipartView> made;
    if (clipart == nullptr) {
        made = makeClipart(type.GetString());
        if (!made) {
            DVLog_Write(DVLogWarning, "Docking pane %d: a clipart of an unknown kind is not restored", id);
            return FALSE;
        }
        clipart = made.get();
    }
    if (::IsWindow(clipart->GetSafeHwnd())) {
        clipart->SetDlgCtrlID(id);
    } else {
        CXTPDockingPaneManager* manager = GetDockingPaneManager();
        CWnd* site = manager != nullptr ? manager->GetSite() : nullptr;
        // A child window needs the frame's site: without one it is not asked for at all.
        if (site == nullptr || !clipart->Create(L"STATIC", nullptr, kClipartStyle, CRect(0, 0, 0, 0), site,
                                                static_cast<UINT>(id))) {
            DVLog_Write(DVLogWarning, "Docking pane %d: the clipart's window cannot be made", id);
            if (!made)
                delete clipart; // a clipart found without a window cannot be kept either
            return FALSE;
        }
    }
    made.release(); // the global clipart list keeps it from here
    return clipart->DoPropExchange(&*section, this);
}

CXTPDockingPaneBase* CDVDockingPaneManager::OnCreatePane(XTPDockingPaneType type,
                                                         CXTPDockingPaneLayout* layout) {
    if (type == xtpPaneTypeDockingPane)
        return new CDVDockingPane(layout);
    return DockingPaneManager::OnCreatePane(type, layout);
}
