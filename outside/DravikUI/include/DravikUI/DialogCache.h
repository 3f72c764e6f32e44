// Dialogs that the UI library makes once and shows again and again (their windows are kept
// hidden between uses). A main frame that goes resets the cache, so that no kept dialog
// outlives the frame it was made for.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <map>
#include <memory>

DV_EXPORTS_BEGIN

class CDialogCache {
public:
    static CDialogCache& Instance();

    // The dialog kept under a key, or null.
    CWnd* Find(UINT key) const;
    // Keeps a dialog under a key; one kept there before is destroyed.
    void Add(UINT key, std::unique_ptr<CWnd> dialog);
    // Destroys every kept dialog (its window first, when it has one).
    void ResetCache();
    size_t GetCount() const { return m_dialogs.size(); }

private:
    CDialogCache() = default;
    std::map<UINT, std::unique_ptr<CWnd>> m_dialogs;
};

DV_EXPORTS_END
