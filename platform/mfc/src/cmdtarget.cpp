#include "afx/cmdtarget.h"

#include "win/gdi.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace pal::mfc {

const AFX_MSGMAP_ENTRY* findEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code, UINT id) {
    for (const AFX_MSGMAP_ENTRY* e = entries; e->pfn != nullptr; ++e) {
        if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID)
            return e;
    }
    return nullptr;
}

} // namespace pal::mfc

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // An update request keeps its code whole; every other code carries the message in its
    // high word (0 meaning WM_COMMAND) and the notification in its low word.
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        const UINT high = HIWORD(static_cast<DWORD>(nCode));
        code = LOWORD(static_cast<DWORD>(nCode));
        if (high != 0)
            message = high;
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* entry = pal::mfc::findEntry(map->lpEntries, message, code, nID);
        if (entry == nullptr)
            continue;
        if (pHandlerInfo != nullptr) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pfn = entry->pfn;
            return TRUE;
        }
        AFX_CALL call;
        call.message = message;
        call.nID = nID;
        call.pExtra = pExtra;
        // The first entry that matches decides for this target, also when it declines.
        return entry->pfn(*this, call) ? TRUE : FALSE;
    }
    return FALSE;
}

// Through the display's cursor, which journals each change of shape.
void CCmdTarget::BeginWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}
void CCmdTarget::EndWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}
void CCmdTarget::RestoreWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

// CCmdUI ------------------------------------------------------------------------------------

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // separators and invalid ids are left alone
    m_bEnableChanged = FALSE;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
