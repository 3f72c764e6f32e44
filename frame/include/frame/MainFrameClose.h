// The questions a main frame asks before it closes, and what it does once every one has agreed.
// The frame answers through CloseHost so that the application's parts (documents, add-ons, the
// settings profile) stay out of the frame library. Any refusal leaves the frame, the other frames
// and every document as they were, modified flags included.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDocument;

namespace dvframe {

class CloseHost {
public:
    virtual ~CloseHost() = default;

    virtual void ActivateFrame() = 0;
    // Ends the commands that run in the active document.
    virtual void TerminateActiveDocumentCommands() = 0;
    // How deeply the application's message loops are nested (1 for the main loop alone).
    virtual int PumpNesting() const = 0;
    // Asks for WM_CLOSE again once the nested loop has ended.
    virtual void RepostClose() = 0;
    // The floating properties window and the materials window keep what they show.
    virtual void KeepPaneWindowStates() = 0;
    virtual CDocument* GetActiveDocument() = 0;
    // The active document's own question; false refuses.
    virtual bool CanCloseFrame(CDocument& document) = 0;
    // Whether another main frame shows the document too: it then stays open, is not asked, and
    // keeps its modified flag for the frame that closes it later.
    virtual bool ShownByAnotherMainFrame(CDocument& document) = 0;
    // The application asks about every modified document; false refuses.
    virtual bool SaveAllModified() = 0;
    virtual bool IsApplicationMainFrame() const = 0;
    virtual int NumMainFrames() const = 0;
    // The add-on applications' consent to the application ending; false refuses.
    virtual bool AddOnsAllowExit() = 0;

    // Run only once nothing can refuse any more.
    virtual void ActivateNextMainFrame() = 0;
    // The profile state when the application saves at exit, and the safe-to-exit flag.
    virtual void PrepareExit() = 0;
    // The 3D module is told and the frame's clipart views are marked for destruction.
    virtual void ReleaseFrameViews() = 0;
    virtual void SaveOpenDocuments() = 0;
    virtual void CloseAllDocuments() = 0;
    virtual void DestroyFrame() = 0;
};

enum class CloseOutcome {
    Closed,
    Retried, // a nested message loop runs; WM_CLOSE was posted again
    Refused,
};

CloseOutcome CloseMainFrame(CloseHost& host);

} // namespace dvframe

DV_EXPORTS_END
