#include "afx/menu.h"

#include "afx/wnd.h"

#include <map>
#include <memory>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

// The objects made for menus nobody attached, per thread, until its next idle time.
thread_local std::map<HMENU, std::unique_ptr<CMenu>> temporaries;
thread_local std::map<HMENU, CMenu*> attached;

} // namespace

namespace pal::mfc {
void deleteTemporaryMenus() {
    temporaries.clear();
}
} // namespace pal::mfc

CMenu::~CMenu() {
    if (!temporary_)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr)
        return nullptr;
    if (const auto it = attached.find(hMenu); it != attached.end())
        return it->second;
    auto& slot = temporaries[hMenu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->temporary_ = true;
        slot->m_hMenu = hMenu;
    }
    return slot.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    ASSERT(m_hMenu == nullptr);
    if (hMenu == nullptr || m_hMenu != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    attached[hMenu] = this;
    temporaries.erase(hMenu);
    return TRUE;
}

HMENU CMenu::Detach() {
    const HMENU h = m_hMenu;
    if (h != nullptr) {
        const auto it = attached.find(h);
        if (it != attached.end() && it->second == this)
            attached.erase(it);
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFOW info, BOOL fByPos) {
    return ::InsertMenuItemW(m_hMenu, uItem, fByPos, info);
}
BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFOW info, BOOL fByPos) {
    return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, info);
}
BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFOW info, BOOL fByPos) {
    return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, info);
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    return ::SetMenuDefaultItem(m_hMenu, uItem, static_cast<UINT>(fByPos));
}
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) {
    return ::GetMenuDefaultItem(m_hMenu, static_cast<UINT>(fByPos), gmdiFlags);
}
UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}
UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = ::GetMenuStringW(m_hMenu, nIDItem, text.data(), length + 1, nFlags);
    text.resize(static_cast<size_t>(n));
    rString = text.c_str();
    return n;
}
CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}
BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
BOOL CMenu::TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
    return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, pWnd ? pWnd->m_hWnd : nullptr, lptpm);
}
