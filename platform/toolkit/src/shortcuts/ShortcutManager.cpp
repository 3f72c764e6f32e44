#include "xtp/ShortcutManager.h"

#include "pal/notice.h"
#include "xtp/PropExchange.h"

#include <algorithm>

namespace {

constexpr BYTE kModifiers = FCONTROL | FSHIFT | FALT;

// The names keys are shown by unless the program gives its own.
struct KeyName {
    UINT vk;
    const wchar_t* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_CONTROL, L"Ctrl"},
    {VK_MENU, L"Alt"},
    {VK_SHIFT, L"Shift"},
    {VK_BACK, L"Backspace"},
    {VK_TAB, L"Tab"},
    {VK_RETURN, L"Enter"},
    {VK_PAUSE, L"Pause"},
    {VK_CAPITAL, L"Caps Lock"},
    {VK_ESCAPE, L"Esc"},
    {VK_SPACE, L"Space"},
    {VK_PRIOR, L"Page Up"},
    {VK_NEXT, L"Page Down"},
    {VK_END, L"End"},
    {VK_HOME, L"Home"},
    {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},
    {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},
    {VK_SNAPSHOT, L"Print Screen"},
    {VK_INSERT, L"Insert"},
    {VK_DELETE, L"Delete"},
    {VK_HELP, L"Help"},
    {VK_APPS, L"Menu"},
    {VK_MULTIPLY, L"Num *"},
    {VK_ADD, L"Num +"},
    {VK_SUBTRACT, L"Num -"},
    {VK_DECIMAL, L"Num ."},
    {VK_DIVIDE, L"Num /"},
    {VK_NUMLOCK, L"Num Lock"},
    {VK_SCROLL, L"Scroll Lock"},
    {0xBA, L";"},
    {0xBB, L"="},
    {0xBC, L","},
    {0xBD, L"-"},
    {0xBE, L"."},
    {0xBF, L"/"},
    {0xC0, L"`"},
    {0xDB, L"["},
    {0xDC, L"\\"},
    {0xDD, L"]"},
    {0xDE, L"'"},
};

CString defaultKeyName(UINT vk) {
    for (const KeyName& k : kKeyNames) {
        if (k.vk == vk)
            return k.name;
    }
    CString s;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        s = static_cast<wchar_t>(vk);
    else if (vk >= VK_F1 && vk <= VK_F24)
        s.Format(L"F%u", vk - VK_F1 + 1);
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        s.Format(L"Num %u", vk - VK_NUMPAD0);
    else
        s.Format(L"0x%02X", vk);
    return s;
}

bool isModifierKey(UINT vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LWIN || vk == VK_RWIN ||
           (vk >= 0xA0 && vk <= 0xA5);
}

BYTE heldModifiers() {
    BYTE m = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        m |= FCONTROL;
    if (::GetKeyState(VK_SHIFT) < 0)
        m |= FSHIFT;
    if (::GetKeyState(VK_MENU) < 0)
        m |= FALT;
    return m;
}

bool sameKey(const CXTPShortcutManagerAccel::SHORTCUTACCEL& a,
             const CXTPShortcutManagerAccel::SHORTCUTACCEL& b) {
    return a.key == b.key && (a.fVirt & kModifiers) == (b.fVirt & kModifiers);
}

// A key a shortcut may use: not a mouse button, not a modifier alone.
bool assignableKey(int vk) {
    return vk > VK_MBUTTON + 2 && vk < 0xFF && !isModifierKey(static_cast<UINT>(vk));
}

} // namespace

// CXTPShortcutManagerAccel --------------------------------------------------------------------

CXTPShortcutManagerAccel::CXTPShortcutManagerAccel(const ACCEL& accel) : cmd(accel.cmd) {
    key[0].fVirt = static_cast<BYTE>(accel.fVirt & kModifiers);
    key[0].key = accel.key;
}

CXTPShortcutManagerAccel::CXTPShortcutManagerAccel(int nCmd, BYTE fVirt, WORD wKey, BYTE fVirt2, WORD wKey2)
    : cmd(nCmd) {
    key[0] = {static_cast<BYTE>(fVirt & kModifiers), wKey};
    key[1] = {static_cast<BYTE>(fVirt2 & kModifiers), wKey2};
}

BOOL CXTPShortcutManagerAccel::IsEqualKeys(const CXTPShortcutManagerAccel& other) const {
    return sameKey(key[0], other.key[0]) && sameKey(key[1], other.key[1]);
}

// CKeyHelper ----------------------------------------------------------------------------------

CXTPShortcutManager::CKeyHelper::CKeyHelper(const CXTPShortcutManagerAccel* lpAccel,
                                            const CXTPShortcutManager* pManager)
    : accel_(lpAccel), manager_(pManager) {}

void CXTPShortcutManager::CKeyHelper::Format(CString& strKeys) const {
    strKeys.Empty();
    if (accel_ == nullptr || accel_->IsEmpty())
        return;
    const auto name = [this](UINT vk) {
        return manager_ ? manager_->GetKeyNameText(vk) : defaultKeyName(vk);
    };
    for (int i = 0; i < 2 && accel_->key[i].key != 0; ++i) {
        if (i > 0)
            strKeys += L", ";
        const BYTE v = accel_->key[i].fVirt;
        if (v & FCONTROL)
            strKeys += name(VK_CONTROL) + L"+";
        if (v & FSHIFT)
            strKeys += name(VK_SHIFT) + L"+";
        if (v & FALT)
            strKeys += name(VK_MENU) + L"+";
        strKeys += name(accel_->key[i].key);
    }
}

// Plain keys before modified ones, Ctrl before Alt, one key before two.
int CXTPShortcutManager::CKeyHelper::Priority() const {
    if (accel_ == nullptr || accel_->IsEmpty())
        return 0;
    const BYTE v = accel_->key[0].fVirt;
    int p = 0;
    if (v & FCONTROL)
        p += 1;
    if (v & FSHIFT)
        p += 2;
    if (v & FALT)
        p += 4;
    if (accel_->IsChord())
        p += 8;
    return p;
}

// CXTPShortcutManager -------------------------------------------------------------------------

CXTPShortcutManager::CXTPShortcutManager(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CXTPShortcutManager::~CXTPShortcutManager() {
    if (table_ != nullptr)
        ::DestroyAcceleratorTable(table_);
}

void CXTPShortcutManager::changed() {
    if (table_ != nullptr)
        ::DestroyAcceleratorTable(table_);
    table_ = nullptr;
    pending_ = {};
}

void CXTPShortcutManager::SetAccelerators(HACCEL hAccel) {
    const int n = hAccel != nullptr ? ::CopyAcceleratorTableW(hAccel, nullptr, 0) : 0;
    std::vector<ACCEL> entries(static_cast<size_t>(std::max(n, 0)));
    if (n > 0)
        ::CopyAcceleratorTableW(hAccel, entries.data(), n);
    SetAccelerators(entries.data(), n);
}

void CXTPShortcutManager::SetAccelerators(const ACCEL* pAccels, int nCount) {
    std::vector<CXTPShortcutManagerAccel> accels;
    for (int i = 0; pAccels != nullptr && i < nCount; ++i) {
        // Character accelerators (without FVIRTKEY) have no key to show; they are left out.
        if (pAccels[i].fVirt & FVIRTKEY)
            accels.emplace_back(pAccels[i]);
    }
    SetAccelerators(accels);
}

void CXTPShortcutManager::SetAccelerators(const std::vector<CXTPShortcutManagerAccel>& accels) {
    accels_.clear();
    for (const auto& a : accels) {
        if (!a.IsEmpty() && a.cmd > 0)
            accels_.push_back(a);
    }
    original_ = accels_;
    changed();
}

void CXTPShortcutManager::Reset() {
    accels_ = original_;
    changed();
}

BOOL CXTPShortcutManager::AddShortcut(const CXTPShortcutManagerAccel& accel) {
    if (accel.IsEmpty() || accel.cmd <= 0 || !assignableKey(accel.key[0].key) ||
        (accel.IsChord() && !assignableKey(accel.key[1].key)))
        return FALSE;
    accels_.erase(std::remove_if(accels_.begin(), accels_.end(),
                                 [&](const CXTPShortcutManagerAccel& a) { return a.IsEqualKeys(accel); }),
                  accels_.end());
    accels_.push_back(accel);
    changed();
    return TRUE;
}

BOOL CXTPShortcutManager::RemoveShortcut(const CXTPShortcutManagerAccel& accel) {
    const auto it = std::find_if(accels_.begin(), accels_.end(), [&](const CXTPShortcutManagerAccel& a) {
        return a.cmd == accel.cmd && a.IsEqualKeys(accel);
    });
    if (it == accels_.end())
        return FALSE;
    accels_.erase(it);
    changed();
    return TRUE;
}

void CXTPShortcutManager::RemoveShortcuts(int nCmd) {
    accels_.erase(std::remove_if(accels_.begin(), accels_.end(),
                                 [&](const CXTPShortcutManagerAccel& a) { return a.cmd == nCmd; }),
                  accels_.end());
    changed();
}

std::vector<CXTPShortcutManagerAccel> CXTPShortcutManager::FindShortcuts(int nCmd) const {
    std::vector<CXTPShortcutManagerAccel> found;
    for (const auto& a : accels_) {
        if (a.cmd == nCmd)
            found.push_back(a);
    }
    std::stable_sort(found.begin(), found.end(), [this](const auto& a, const auto& b) {
        return CKeyHelper(&a, this).Priority() < CKeyHelper(&b, this).Priority();
    });
    return found;
}

int CXTPShortcutManager::FindCommand(const CXTPShortcutManagerAccel& keys) const {
    for (const auto& a : accels_) {
        if (a.IsEqualKeys(keys))
            return a.cmd;
    }
    return 0;
}

BOOL CXTPShortcutManager::FindDefaultAccelerator(int nCmd, CString& strShortcut) const {
    const auto found = FindShortcuts(nCmd);
    if (found.empty())
        return FALSE;
    strShortcut = Format(&found.front());
    return TRUE;
}

CString CXTPShortcutManager::Format(const CXTPShortcutManagerAccel* lpAccel, int* pPriority) const {
    CKeyHelper helper(lpAccel, this);
    if (pPriority != nullptr)
        *pPriority = helper.Priority();
    return helper.Format();
}

HACCEL CXTPShortcutManager::GetDefaultAccelerator() {
    if (table_ == nullptr) {
        std::vector<ACCEL> entries;
        for (const auto& a : accels_) {
            if (!a.IsChord())
                entries.push_back(
                    {static_cast<BYTE>(a.key[0].fVirt | FVIRTKEY), a.key[0].key, static_cast<WORD>(a.cmd)});
        }
        if (!entries.empty())
            table_ = ::CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    }
    return table_;
}

BOOL CXTPShortcutManager::TranslateAccelerator(HWND hWnd, LPMSG lpMsg) {
    if (disabled_ || lpMsg == nullptr || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    const UINT vk = static_cast<UINT>(lpMsg->wParam);
    if (isModifierKey(vk))
        return FALSE;
    const CXTPShortcutManagerAccel::SHORTCUTACCEL pressed{heldModifiers(), static_cast<WORD>(vk)};
    const auto run = [hWnd](int cmd) {
        ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(cmd), 1), 0);
        return TRUE;
    };
    if (pending_.key != 0) {
        const CXTPShortcutManagerAccel::SHORTCUTACCEL first = pending_;
        pending_ = {};
        for (const auto& a : accels_) {
            if (a.IsChord() && sameKey(a.key[0], first) && sameKey(a.key[1], pressed))
                return run(a.cmd);
        }
        // A second key that completes nothing is swallowed, as the first was.
        ::MessageBeep(0);
        return TRUE;
    }
    bool starts = false;
    for (const auto& a : accels_) {
        if (!sameKey(a.key[0], pressed))
            continue;
        if (!a.IsChord())
            return run(a.cmd);
        starts = true;
    }
    if (starts) {
        pending_ = pressed;
        return TRUE;
    }
    return FALSE;
}

void CXTPShortcutManager::SetKeyNameText(UINT uiVirtKey, LPCWSTR strKeyNameText) {
    if (strKeyNameText == nullptr || *strKeyNameText == 0)
        keyNames_.erase(uiVirtKey);
    else
        keyNames_[uiVirtKey] = strKeyNameText;
}

CString CXTPShortcutManager::GetKeyNameText(UINT uiVirtKey) const {
    const auto it = keyNames_.find(uiVirtKey);
    return it != keyNames_.end() ? it->second : defaultKeyName(uiVirtKey);
}

void CXTPShortcutManager::DoPropExchange(CXTPPropExchange* pPX) {
    if (pPX == nullptr)
        return;
    CXTPPropExchangeSection shortcuts(pPX->GetSection(L"Shortcuts"));
    CXTPPropExchangeSection names(pPX->GetSection(L"KeyNames"));
    if (pPX->IsStoring()) {
        CXTPPropExchangeEnumeratorPtr e(shortcuts->GetEnumerator(L"Accel"));
        POSITION pos = e->GetPosition(static_cast<DWORD>(accels_.size()));
        for (auto a : accels_) {
            CXTPPropExchangeSection item(e->GetNext(pos));
            int cmd = a.cmd, key1 = a.key[0].key, virt1 = a.key[0].fVirt, key2 = a.key[1].key,
                virt2 = a.key[1].fVirt;
            PX_Int(item, L"Id", cmd);
            PX_Int(item, L"Key", key1);
            PX_Int(item, L"Virt", virt1);
            if (a.IsChord()) {
                PX_Int(item, L"Key2", key2);
                PX_Int(item, L"Virt2", virt2);
            }
        }
        CXTPPropExchangeEnumeratorPtr n(names->GetEnumerator(L"Key"));
        POSITION npos = n->GetPosition(static_cast<DWORD>(keyNames_.size()));
        for (auto [vk, text] : keyNames_) {
            CXTPPropExchangeSection item(n->GetNext(npos));
            UINT code = vk;
            PX_UInt(item, L"Code", code);
            PX_String(item, L"Name", text);
        }
        return;
    }

    size_t skipped = 0;
    if (shortcuts->OnBeforeExchange()) {
        std::vector<CXTPShortcutManagerAccel> loaded;
        CXTPPropExchangeEnumeratorPtr e(shortcuts->GetEnumerator(L"Accel"));
        POSITION pos = e->GetPosition();
        while (pos != nullptr) {
            CXTPPropExchangeSection item(e->GetNext(pos));
            int cmd = 0, key1 = 0, virt1 = -1, key2 = 0, virt2 = 0;
            const bool whole =
                PX_Int(item, L"Id", cmd) && PX_Int(item, L"Key", key1) && PX_Int(item, L"Virt", virt1);
            const bool hasSecond = item->IsPropertyPresent(L"Key2") || item->IsPropertyPresent(L"Virt2");
            const bool second = !hasSecond || (PX_Int(item, L"Key2", key2) && PX_Int(item, L"Virt2", virt2) &&
                                               assignableKey(key2) && virt2 >= 0 && !(virt2 & ~kModifiers));
            if (!whole || !second || cmd <= 0 || cmd > 0xFFFF || !assignableKey(key1) || virt1 < 0 ||
                (virt1 & ~kModifiers)) {
                ++skipped;
                continue;
            }
            loaded.emplace_back(cmd, static_cast<BYTE>(virt1), static_cast<WORD>(key1),
                                static_cast<BYTE>(virt2), static_cast<WORD>(key2));
        }
        accels_ = std::move(loaded);
        changed();
    }
    if (names->OnBeforeExchange()) {
        CXTPPropExchangeEnumeratorPtr n(names->GetEnumerator(L"Key"));
        POSITION pos = n->GetPosition();
        while (pos != nullptr) {
            CXTPPropExchangeSection item(n->GetNext(pos));
            UINT code = 0;
            CString text;
            if (!PX_UInt(item, L"Code", code) || !PX_String(item, L"Name", text) || code == 0 ||
                code > 0xFE || text.IsEmpty()) {
                ++skipped;
                continue;
            }
            keyNames_[code] = text;
        }
    }
    if (skipped != 0)
        pal::notice::say("shortcuts: " + std::to_string(skipped) +
                         " damaged entries of the layout were skipped");
}

// CKeyAssign ----------------------------------------------------------------------------------

CXTPShortcutManager::CKeyAssign::CKeyAssign(CXTPShortcutManager* pManager) : manager_(pManager) {}

void CXTPShortcutManager::CKeyAssign::SetAccel(const CXTPShortcutManagerAccel& accel) {
    accel_ = accel;
    waiting_ = false;
    show();
}

void CXTPShortcutManager::CKeyAssign::ResetKey() {
    SetAccel(CXTPShortcutManagerAccel());
}

// The parent hears of every change of the keys, as it would of typing.
void CXTPShortcutManager::CKeyAssign::show() {
    if (m_hWnd == nullptr)
        return;
    SetWindowText(CKeyHelper(&accel_, manager_).Format());
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CXTPShortcutManager::CKeyAssign::pressed(UINT vk) {
    const CXTPShortcutManagerAccel::SHORTCUTACCEL key{heldModifiers(), static_cast<WORD>(vk)};
    if (waiting_) {
        accel_.key[1] = key;
        waiting_ = false;
    } else {
        accel_ = CXTPShortcutManagerAccel();
        accel_.key[0] = key;
        waiting_ = (key.fVirt & (FCONTROL | FALT)) != 0;
    }
    show();
}

LRESULT CXTPShortcutManager::CKeyAssign::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!isModifierKey(static_cast<UINT>(wParam)) && assignableKey(static_cast<int>(wParam)))
            pressed(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return 0;
    case WM_KILLFOCUS:
        waiting_ = false;
        break;
    default:
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
