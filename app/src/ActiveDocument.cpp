// The application's one active document, and the pane windows that follow it.
#include "app/Dvw32App.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/SystemPanelValues.h"

namespace {

// Set while the active document changes: a pane that activates a document meanwhile is not
// heard.
bool g_changingActiveDocument = false;

// The document flag of a document on its way out.
constexpr std::uint64_t kClosingDocumentFlag = 16384;

// The panes told of the new document, in the order they hear it.
constexpr int kFollowingPanes[] = {1007, 1029, 1035, 1030, 1031, 1032, 1036, 1010,
                                   1017, 1021, 1011, 1020, 1022, 1023, 1019, 1038};

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
        for (const int paneId : kFollowingPanes) {
            // The PDM assembly pane only once it has contents.
            CWnd* window =
                paneId == 1019 ? GetOrsaAssemblyWindow(true, false) : m_paneWindows->Get(paneId, false);
            if (auto* follower = dynamic_cast<dvapp::ActiveDocumentFollower*>(window))
                follower->SetActiveDocument(previous, document);
        }
    }
    m_activeDocument = document;

    if (document != nullptr) {
        DVDocRegenContext regenerate(document);
        if (!inPlace && !document->IsInCommand() && CDVCom_Is3D::Instance() != nullptr)
            resetSystemPanel(document->Cont2D());
    } else if (!inPlace) {
        resetSystemPanel(nullptr);
    }
    ApplicationEventManager::runEvent(258, ApplicationEventArgs(document));
}

void CDvw32App::ForgetDocument(CDvw32Doc* document) {
    if (document == nullptr || document != m_activeDocument)
        return;
    SetActiveDocument(nullptr);
    if (m_activeDocument == document)
        m_activeDocument = nullptr;
}
