// Keyboard shortcuts of commands: the assignments a person can change, the accelerator table
// made from them, the names keys are shown by, and the edit control in which a person presses
// the keys of a new shortcut. A shortcut is one key or a sequence of two (Ctrl+K, C).
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <map>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;

class CXTPShortcutManagerAccel {
public:
    struct SHORTCUTACCEL {
        BYTE fVirt = 0; // FCONTROL, FSHIFT, FALT (FVIRTKEY implied)
        WORD key = 0;
    };

    CXTPShortcutManagerAccel() = default;
    CXTPShortcutManagerAccel(const ACCEL& accel);
    CXTPShortcutManagerAccel(int nCmd, BYTE fVirt, WORD wKey, BYTE fVirt2 = 0, WORD wKey2 = 0);

    BOOL IsEmpty() const { return key[0].key == 0; }
    BOOL IsChord() const { return key[1].key != 0; }
    // The same keys, whatever the command.
    BOOL IsEqualKeys(const CXTPShortcutManagerAccel& other) const;

    SHORTCUTACCEL key[2];
    int cmd = 0;
};

class CXTPShortcutManager : public CCmdTarget {
public:
    // Formats a shortcut with the manager's key names ("Ctrl+Shift+S", "Ctrl+K, C") and ranks
    // it: of several shortcuts of one command the one of the lowest priority is shown first.
    class CKeyHelper {
    public:
        CKeyHelper(const CXTPShortcutManagerAccel* lpAccel, const CXTPShortcutManager* pManager = nullptr);
        void Format(CString& strKeys) const;
        CString Format() const {
            CString s;
            Format(s);
            return s;
        }
        int Priority() const;

    private:
        const CXTPShortcutManagerAccel* accel_;
        const CXTPShortcutManager* manager_;
    };

    // The edit control in which a person presses a shortcut: it shows the keys as they are
    // pressed and keeps them. A first key held with Ctrl or Alt waits for an optional second.
    class CKeyAssign : public CEdit {
    public:
        explicit CKeyAssign(CXTPShortcutManager* pManager = nullptr);
        void SetShortcutManager(CXTPShortcutManager* pManager) { manager_ = pManager; }
        const CXTPShortcutManagerAccel& GetAccel() const { return accel_; }
        void SetAccel(const CXTPShortcutManagerAccel& accel);
        BOOL IsKeyDefined() const { return !accel_.IsEmpty(); }
        void ResetKey();

        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        void pressed(UINT vk);
        void show();
        CXTPShortcutManager* manager_;
        CXTPShortcutManagerAccel accel_;
        bool waiting_ = false;
    };

    explicit CXTPShortcutManager(CXTPCommandBars* pCommandBars = nullptr);
    ~CXTPShortcutManager() override;

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }

    // The assignments, which also become the original ones that Reset returns to.
    void SetAccelerators(HACCEL hAccel);
    void SetAccelerators(const ACCEL* pAccels, int nCount);
    void SetAccelerators(const std::vector<CXTPShortcutManagerAccel>& accels);
    // Back to the original assignments.
    void Reset();

    const std::vector<CXTPShortcutManagerAccel>& GetAccels() const { return accels_; }
    // Adds a shortcut; the keys leave whichever command had them before.
    BOOL AddShortcut(const CXTPShortcutManagerAccel& accel);
    BOOL RemoveShortcut(const CXTPShortcutManagerAccel& accel);
    void RemoveShortcuts(int nCmd);
    // The command's shortcuts, lowest priority first.
    std::vector<CXTPShortcutManagerAccel> FindShortcuts(int nCmd) const;
    // The command the keys run; 0 when none.
    int FindCommand(const CXTPShortcutManagerAccel& keys) const;
    // The command's first shortcut as text; false when it has none.
    BOOL FindDefaultAccelerator(int nCmd, CString& strShortcut) const;
    CString Format(const CXTPShortcutManagerAccel* lpAccel, int* pPriority = nullptr) const;

    // The one-key shortcuts as a platform accelerator table, made anew for each change; owned
    // by the manager.
    HACCEL GetDefaultAccelerator();
    // A key message that completes a shortcut becomes WM_COMMAND (high word 1) sent to hWnd;
    // the first key of a two-key shortcut is taken and waits for the second.
    BOOL TranslateAccelerator(HWND hWnd, LPMSG lpMsg);
    // While disabled no key becomes a command: the frame silences its shortcuts while a key
    // belongs to an edit box or a running command.
    void DisableShortcuts(BOOL bDisable) { disabled_ = bDisable != FALSE; }
    BOOL IsShortcutsDisabled() const { return disabled_; }

    // The text a key is shown by; without one of its own, the manager's default.
    void SetKeyNameText(UINT uiVirtKey, LPCWSTR strKeyNameText);
    CString GetKeyNameText(UINT uiVirtKey) const;

    // The assignments and the key names given with SetKeyNameText. When loading, an entry that
    // does not read whole is skipped and the others are taken; an absent section keeps what
    // the manager has.
    void DoPropExchange(CXTPPropExchange* pPX);

protected:
    CXTPCommandBars* m_pCommandBars;

private:
    void changed();
    std::vector<CXTPShortcutManagerAccel> accels_;
    std::vector<CXTPShortcutManagerAccel> original_;
    std::map<UINT, CString> keyNames_;
    HACCEL table_ = nullptr;
    CXTPShortcutManagerAccel::SHORTCUTACCEL pending_{};
    bool disabled_ = false;
};

DV_EXPORTS_END
