#include "DravikUI/DialogCache.h"

namespace {

void destroy(std::unique_ptr<CWnd>& dialog) {
    if (dialog && ::IsWindow(dialog->GetSafeHwnd()))
        dialog->DestroyWindow();
    dialog.reset();
}

} // namespace

CDialogCache& CDialogCache::Instance() {
    static CDialogCache* cache = new CDialogCache;
    return *cache;
}

CWnd* CDialogCache::Find(UINT key) const {
    const auto found = m_dialogs.find(key);
    return found == m_dialogs.end() ? nullptr : found->second.get();
}

void CDialogCache::Add(UINT key, std::unique_ptr<CWnd> dialog) {
    auto& slot = m_dialogs[key];
    destroy(slot);
    slot = std::move(dialog);
}

void CDialogCache::ResetCache() {
    // Taken out first: destroying a dialog may reach the cache again.
    auto dialogs = std::move(m_dialogs);
    m_dialogs.clear();
    for (auto& [key, dialog] : dialogs)
        destroy(dialog);
}
