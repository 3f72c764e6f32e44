// The diagnostics messages a person chose not to see again. The store is the kernel's; the main
// frame's settings carry it in the profile.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <set>
#include <string>

DV_EXPORTS_BEGIN

class errorHiddenData {
public:
    void Hide(const std::wstring& message) { m_hidden.insert(message); }
    void Show(const std::wstring& message) { m_hidden.erase(message); }
    bool IsHidden(const std::wstring& message) const { return m_hidden.count(message) != 0; }
    const std::set<std::wstring>& GetHidden() const { return m_hidden; }

    // One value per hidden message, named by it. Reading replaces what was hidden; false when
    // the key cannot be read. Writing replaces the key's values; false when one is not written.
    bool ReadProfile(HKEY key);
    bool WriteProfile(HKEY key) const;

private:
    std::set<std::wstring> m_hidden;
};

// The process's store.
errorHiddenData& GetHiddenErrorCont();

DV_EXPORTS_END
