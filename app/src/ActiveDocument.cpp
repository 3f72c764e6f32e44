// The application's one active document, and the pane windows that follow it.
#include "app/Dvw32App.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/SystemPanelValues.h"
#include "DravikUI/ErrorWindowBase.h"
#include "docbrowser/Clipart.h"

namespace {

// Set while the active document changes: a pane that activates a document meanwhile is not
// heard.
bool g_changingActiveDocument = false;

// The document flag of a document on its way out.
constexpr std::uint64_t kClosingDocumentFlag = 16384;

// The panes told of the new document, in the order they hear it.
constexpr int kFollowingPanes[] = {1007, 1029, 1035, 1030, 1031, 1032, 1036, 1010,
                                   1017, 1021, 1011, 1020, 1022, 1023, 1019, 1038};

// The assembly-structure pane shows the assembly a part is edited within.
constexpr int kAssemblyStructurePane = 1023;
// The property form's child that the annotate module's panel lives in.
constexpr int kAnnotatePanelChild = 32;

CDvw32Doc* assemblyShownFor(CDvw32Doc* document) {
    if (document == nullptr)
        return nullptr;
    auto* assembly = dynamic_cast<CDvw32Doc*>(document->GetAssemblyDocument());
    return assembly != nullptr ? assembly : document;
}

// Both belong to one edit in place: the panes stay with what they show.
bool isEditInPlacePair(const CDvw32Doc* previous, const CDvw32Doc* document) {
    return previous != nullptr && document != nullptr &&
           (previous->IsEditInPlaceDocument(document) || document->IsEditInPlaceDocument(previous));
}

// The system panel's selection values go back to their rest.
void resetSystemPanel(Dravik::DVDocument* container) {
    set_syspanel_int(container, 911, 0);
    set_syspanel_intvar(container, 907, 0, -1);
    set_syspanel_intvar(container, 909, 0, -1);
}

} // namespace

void CDvw32App::SetActiveDocument(CDvw32Doc* document) {
    if (g_changingActiveDocument)
        return;
    g_changingActiveDocument = true;
    struct Clear {
        ~Clear() { g_changingActiveDocument = false; }
    } clear;

    if (document != nullptr && document->IsFlagSet(kClosingDocumentFlag))
        document = nullptr;
    CDvw32Doc* previous = m_activeDocument;
    if (document == previous)
        return;
    const bool inPlace = isEditInPlacePair(previous, document);
    if (!inPlace) {
        if (DravikServerAppProxy* callback = DravikServerAppProxy::Instance();
            callback != nullptr && previous != nullptr)
            callback->OnDocumentDeactivated(previous, 1);
        for (const int paneId : kFollowingPanes) {
            // The PDM assembly pane only once it has contents.
            CWnd* window =
                paneId == 1019 ? GetOrsaAssemblyWindow(true, false) : m_paneWindows->Get(paneId, false);
            if (auto* follower = dynamic_cast<dvapp::ActiveDocumentFollower*>(window))
                follower->SetActiveDocument(
                    previous, paneId == kAssemblyStructurePane ? assemblyShownFor(document) : document);
        }
    }
    m_activeDocument = document;
    CDVCom_Is3D* module3D = CDVCom_Is3D::Instance();
    if (module3D != nullptr)
        module3D->SetActiveDocument(document);
    for (CClipartView* clipart : ClipartViews())
        if (auto* tree = dynamic_cast<ModelTreeClipart*>(clipart))
            tree->SetDocument(document);

    if (document != nullptr) {
        DVDocRegenContext regenerate(document);
        if (!inPlace && !document->IsInCommand() && CDVCom_Is3D::AsksToResetDrawingControls())
            resetSystemPanel(document->Cont2D());
    } else {
        if (auto* errors = dynamic_cast<Dravik::UI::ErrorWindowBase*>(GetErrorWindow(false)))
            errors->SetActiveWnd(nullptr);
        if (!inPlace) {
            if (CWnd* form = GetPropertiesWindow(false); form != nullptr && form->m_hWnd != nullptr)
                if (HWND panel = ::GetDlgItem(form->m_hWnd, kAnnotatePanelChild))
                    ::SendMessageW(panel, WM_CLOSE, 0, 0);
            resetSystemPanel(nullptr);
        }
    }
    if (!inPlace && module3D != nullptr)
        module3D->OnActiveDocumentSettled(document);
    ApplicationEventManager::runEvent(258, ApplicationEventArgs(document));
}

void CDvw32App::ForgetDocument(CDvw32Doc* document) {
    if (document == nullptr || document != m_activeDocument)
        return;
    SetActiveDocument(nullptr);
    if (m_activeDocument == document)
        m_activeDocument = nullptr;
}
