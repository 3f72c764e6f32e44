// The tabbed main tool bar of the UI library: the tool kit's tabbed bar, fixable like the
// library's other bars, whose tabs each carry a key (a GUID) and a keyboard shortcut that selects
// them. Its tabs also show as a menu, one item per tab, checked for the current one.
#pragma once

#include "DravikUI/FixableToolBar.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/TabToolBar.h"

#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class TabbableToolBar : public GenericFixableToolBar<CXTPTabToolBar> {
    DECLARE_DYNCREATE(TabbableToolBar)
public:
    // The commands of the tab menu and shortcuts: the tab at index i has TabCommandFirst + i.
    static constexpr UINT TabCommandFirst = 0xE500, TabCommandLast = 0xE5FF;

    ~TabbableToolBar() override;

    // Adds a tab the program defines, with its key; the tab of the default system key (below)
    // becomes the current one.
    CXTPTabManagerItem* AddOriginalTab(LPCWSTR name, const UINT* ids, int count, const GUID& guid,
                                       bool visible, bool loadIcons);
    // The key of a tab (GUID_NULL for a tab added without one) and the tab of a key.
    GUID GetGUID(const CXTPTabManagerItem* tab) const;
    void SetGUID(CXTPTabManagerItem* tab, const GUID& guid);
    CXTPTabManagerItem* FindTab(const GUID& guid) const;

    // A tab's shortcut: a virtual key and the accelerator flags (FCONTROL, FSHIFT, FALT and
    // FVIRTKEY); key 0 takes it away.
    void SetAccel(CXTPTabManagerItem* tab, WORD key, BYTE modifiers);
    WORD GetAccelKey(const CXTPTabManagerItem* tab) const;
    BYTE GetAccelModifiers(const CXTPTabManagerItem* tab) const;
    // The tab's caption and, after a tab character, its shortcut's name (as of the last
    // UpdateAccelerators).
    CString GetMenuString(const CXTPTabManagerItem* tab) const;

    // Makes the accelerator table of the tabs' shortcuts and their names again.
    void UpdateAccelerators();
    HACCEL GetAccelerators() const { return m_accelerators; }
    // A popup menu with one item per visible tab, the current one checked; the caller destroys it.
    HMENU BuildPopupMenu() const;
    // The command of a tab item or shortcut: selects the tab. FALSE for other commands.
    BOOL OnTabCommand(UINT id);

    // The tab that a kind of program set-up starts on (the system tab of its edition); tabs
    // added later with that key become current.
    static void SetDefaultSystemToolbar(int kind, const GUID& guid);
    static GUID GetDefaultSystemToolbar(int kind);

    void DoPropExchange(CXTPPropExchange* pPX) override;
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

private:
    struct TabKey {
        GUID guid{};
        WORD key = 0;
        BYTE modifiers = 0;
        CString keyName;
    };
    // The record of a tab: its item data holds the record's 1-based number.
    TabKey* keyOf(const CXTPTabManagerItem* tab) const;
    TabKey& ensureKey(CXTPTabManagerItem* tab);

    mutable std::vector<TabKey> m_keys;
    HACCEL m_accelerators = nullptr;
};

} // namespace Dravik::UI

DV_EXPORTS_END
