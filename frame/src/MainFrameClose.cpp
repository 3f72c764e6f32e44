#include "frame/MainFrameClose.h"

#include "afxwin.h"

namespace dvframe {

namespace {

// The active document answered its own question already: its modified flag is lowered so that
// the application's question does not ask about it again, and raised again when a later question
// refuses the close.
class ModifiedFlagHold {
public:
    explicit ModifiedFlagHold(CDocument* document) : document_(document) {
        if (document_ != nullptr) {
            wasModified_ = document_->IsModified();
            document_->SetModifiedFlag(FALSE);
        }
    }
    ~ModifiedFlagHold() {
        if (document_ != nullptr && !kept_)
            document_->SetModifiedFlag(wasModified_);
    }
    void Keep() { kept_ = true; }

private:
    CDocument* document_;
    BOOL wasModified_ = FALSE;
    bool kept_ = false;
};

} // namespace

CloseOutcome CloseMainFrame(CloseHost& host) {
    host.ActivateFrame();
    host.TerminateActiveDocumentCommands();
    if (host.PumpNesting() >= 2) {
        host.RepostClose();
        return CloseOutcome::Retried;
    }
    host.KeepPaneWindowStates();

    CDocument* document = host.GetActiveDocument();
    if (document != nullptr && !host.CanCloseFrame(*document))
        return CloseOutcome::Refused;
    ModifiedFlagHold hold(document != nullptr && !host.ShownByAnotherMainFrame(*document) ? document
                                                                                          : nullptr);
    if (!host.SaveAllModified())
        return CloseOutcome::Refused;
    const bool last = host.NumMainFrames() == 1;
    // Asked before another frame is activated, so that a veto changes nothing.
    if (last && !host.AddOnsAllowExit())
        return CloseOutcome::Refused;
    hold.Keep();

    if (host.IsApplicationMainFrame())
        host.ActivateNextMainFrame();
    if (last)
        host.PrepareExit();
    host.ReleaseFrameViews();
    host.SaveOpenDocuments();
    if (last)
        host.CloseAllDocuments();
    host.DestroyFrame();
    return CloseOutcome::Closed;
}

} // namespace dvframe
