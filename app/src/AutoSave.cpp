// The idle-time auto-save: which documents are due, the window that names the one being saved,
// and what a person learns of a save that failed.
#include "app/AutoSaveDialog.h"
#include "app/Dvw32App.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/Settings.h"
#include "frame/MainFrame.h"
#include "windows.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The window stays up at least this long, so that a quick save is still seen.
constexpr DWORD kMinimumShowMs = 1000;
constexpr int kFailureIcon = 299;

// Only paint messages are handled while the window waits out its second: neither a click nor
// a key reaches the disabled frame, nor a timer or a posted message anything else. Messages sent
// from other threads are answered as they come, as every look at the queue answers them: the
// display's news that a window is exposed arrives so, and a window whose exposure waited out the
// second would stay blank. The wait itself always ends, whatever the tick count does.
void paintUntil(DWORD started, DWORD shownFor) {
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&msg);
        // Unsigned arithmetic carries a wrap of the tick count between the two readings.
        const DWORD elapsed = ::GetTickCount() - started;
        if (elapsed >= shownFor || ::MsgWaitForMultipleObjects(0, nullptr, FALSE, shownFor - elapsed,
                                                               QS_PAINT | QS_SENDMESSAGE) == WAIT_TIMEOUT)
            return;
    }
}

// The documents of the first multi-document template of the kernel's, in their order.
std::vector<CDvw32Doc*> autoSaveCandidates(const std::vector<CDocTemplate*>& templates) {
    std::vector<CDvw32Doc*> documents;
    for (CDocTemplate* docTemplate : templates) {
        if (dynamic_cast<CDVDocTemplate*>(docTemplate) == nullptr)
            continue;
        for (POSITION at = docTemplate->GetFirstDocPosition(); at != nullptr;)
            if (auto* document = dynamic_cast<CDvw32Doc*>(docTemplate->GetNextDoc(at)))
                documents.push_back(document);
        break;
    }
    return documents;
}

bool isDue(const CDvw32Doc& document, std::int64_t now, std::int64_t interval) {
    // A document never saved has no file to save to; the stand-in embeds no links.
    if (!document.IsModified() || document.IsReadOnly() || document.IsInCommand() ||
        document.GetPathName().IsEmpty())
        return false;
    return now - document.GetLastAutoSaveTime() >= interval;
}

} // namespace

void CDvw32App::AutoSaveDocuments() {
    const NativeSettings::Settings& settings = GetSettings();
    if (!settings.autoSave)
        return;
    const std::int64_t now = _time64(nullptr);
    const std::int64_t interval = static_cast<std::int64_t>(settings.autoSaveMinutes) * 60;
    CMainFrame* frame = GetMainFrame();
    CWnd* owner = frame != nullptr && frame->m_hWnd != nullptr ? frame : nullptr;
    std::unique_ptr<CAutoSaveDialog> dialog;
    std::vector<std::wstring> failures;

    for (CDvw32Doc* document : autoSaveCandidates(GetDocTemplates())) {
        if (!DocumentManager::Instance().IsOpen(document) || !isDue(*document, now, interval))
            continue;
        BeginWaitCursor();
        if (owner != nullptr)
            owner->EnableWindow(FALSE);
        if (dialog != nullptr) {
            dialog->SetDocumentTitle(document->GetShortTitle());
        } else {
            dialog = std::make_unique<CAutoSaveDialog>(document->GetShortTitle(), owner);
            dialog->Create(CAutoSaveDialog::IDD, owner);
            dialog->ShowWindow(SW_SHOW);
        }
        dialog->UpdateWindow();

        const DWORD started = ::GetTickCount();
        std::wstring error;
        const bool saved = document->DoFileSave(&error);
        paintUntil(started, kMinimumShowMs);

        // A failed save waits the interval as well: trying again at every idle pass would keep
        // the frame disabled for a second each time.
        document->SetLastAutoSaveTime(now);
        const std::uint64_t serial = DocumentManager::Instance().GetOpenSerial(document);
        if (saved)
            m_autoSaveFailuresTold.erase(serial);
        else if (m_autoSaveFailuresTold.insert(serial).second)
            failures.push_back(error);
        EndWaitCursor();
    }
    if (dialog == nullptr)
        return;
    if (owner != nullptr)
        owner->EnableWindow(TRUE);
    dialog->DestroyWindow();
    if (frame == nullptr)
        return;
    for (const std::wstring& failure : failures)
        frame->ShowMessageBar(kFailureIcon, {}, Dravik::I18n::Translate(L"Auto-save failed") + L" " + failure,
                              0, {{SC_CLOSE, {}, {}}}, {}, false);
}
