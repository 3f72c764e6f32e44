// The application's one active document, and the pane windows that follow it.
#include "app/Dvw32App.h"

#include "DravikKernel/Document.h"

void CDvw32App::SetActiveDocument(CDvw32Doc* document) {
    if (document == m_activeDocument)
        return;
    m_activeDocument = document;
    ApplicationEventManager::runEvent(258, ApplicationEventArgs(document));
}
