// A drawing opened in a test's main frame through the kernel's document template.
#pragma once

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"
#include "afxwin.h"
#include "pal/test/pump.h"

namespace frame_test {

// A new drawing open in the frame, the frame's active document; the drawings' template (of the
// string resource given) is made for the application the first time.
inline CDvw32Doc* openDrawing(CWinApp& application, CWnd* frame, UINT resource) {
    static CDVDocTemplate* drawings = nullptr;
    if (drawings == nullptr) {
        drawings =
            CDVDocTemplate::Create(resource, RUNTIME_CLASS(CDvw32Doc),
                                   RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
        application.AddDocTemplate(drawings);
    }
    application.m_pMainWnd = frame;
    auto* drawing = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(nullptr));
    pal::test::pump();
    return drawing;
}

} // namespace frame_test
