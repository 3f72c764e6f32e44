// The menu model: menus, their items, and the functions that build and read them.
#include "menus.h"

#include "model.h"

#include "pal/text.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>

namespace pal::win::menus {
namespace {

struct Table {
    std::mutex mutex;
    // Handles count up and are never reused, so a destroyed menu's handle names nothing later.
    std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
    std::uintptr_t next = 0x20000;
    std::map<HWND, HMENU> systemMenus;
};

Table& table() {
    static Table* t = new Table;
    return *t;
}

HMENU create(bool popup) {
    auto l = lock();
    Table& t = table();
    const std::uintptr_t value = t.next;
    t.next += 4;
    auto m = std::make_unique<Menu>();
    m->handle = reinterpret_cast<HMENU>(value);
    m->popup = popup;
    const HMENU h = m->handle;
    t.menus.emplace(value, std::move(m));
    return h;
}

Menu* findOrFail(HMENU menu) {
    Menu* m = find(menu);
    if (!m)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return m;
}

void destroy(HMENU menu) {
    Table& t = table();
    const auto it = t.menus.find(reinterpret_cast<std::uintptr_t>(menu));
    if (it == t.menus.end())
        return;
    std::unique_ptr<Menu> m = std::move(it->second);
    t.menus.erase(it);
    for (const Item& item : m->items) {
        if (item.sub)
            destroy(item.sub);
    }
}

struct Found {
    Menu* menu = nullptr;
    size_t index = 0;
};

// By command the search goes into submenus, depth first, as the platform's does.
Found findById(Menu* m, UINT id, int depth = 0) {
    if (depth > 32)
        return {};
    for (size_t i = 0; i < m->items.size(); ++i) {
        const Item& item = m->items[i];
        if (item.sub) {
            if (Menu* sub = find(item.sub)) {
                if (Found f = findById(sub, id, depth + 1); f.menu)
                    return f;
            }
            if (item.id == id && id != 0)
                return {m, i};
        } else if (item.id == id && !item.separator()) {
            return {m, i};
        }
    }
    return {};
}

Found locate(HMENU menu, UINT item, UINT flags) {
    Menu* m = findOrFail(menu);
    if (!m)
        return {};
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return {};
        return {m, item};
    }
    return findById(m, item);
}

// An item from the classic flags and the item argument (an id, or a submenu with MF_POPUP).
Item itemFromFlags(UINT flags, UINT_PTR item, LPCWSTR text) {
    Item it;
    it.type = flags & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW | MFT_MENUBARBREAK | MFT_MENUBREAK |
                       MFT_RIGHTJUSTIFY);
    it.state = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (flags & MF_POPUP) {
        it.sub = reinterpret_cast<HMENU>(item);
        it.id = static_cast<UINT>(item);
    } else {
        it.id = static_cast<UINT>(item);
    }
    if (it.type & MFT_BITMAP)
        it.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPWSTR>(text));
    else if (!(it.type & (MFT_SEPARATOR | MFT_OWNERDRAW)) && text)
        it.text = text;
    else if (it.type & MFT_OWNERDRAW)
        it.data = reinterpret_cast<ULONG_PTR>(text);
    return it;
}

bool validSubmenu(const Item& it) {
    return !it.sub || find(it.sub) != nullptr;
}

void applyInfo(Item& it, const MENUITEMINFOW& info) {
    if (info.fMask & MIIM_FTYPE)
        it.type = info.fType & ~MFT_BITMAP;
    if (info.fMask & MIIM_TYPE) {
        it.type = info.fType;
        if (it.type & MFT_BITMAP)
            it.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
        else if (!(it.type & (MFT_SEPARATOR | MFT_OWNERDRAW)))
            it.text = info.dwTypeData ? info.dwTypeData : L"";
    }
    if (info.fMask & MIIM_STRING)
        it.text = info.dwTypeData ? info.dwTypeData : L"";
    if (info.fMask & MIIM_STATE)
        it.state = info.fState;
    if (info.fMask & MIIM_ID)
        it.id = info.wID;
    if (info.fMask & MIIM_SUBMENU)
        it.sub = info.hSubMenu;
    if (info.fMask & MIIM_DATA)
        it.data = info.dwItemData;
    if (info.fMask & MIIM_BITMAP)
        it.bitmap = info.hbmpItem;
    if (info.fMask & MIIM_CHECKMARKS) {
        it.checked = info.hbmpChecked;
        it.unchecked = info.hbmpUnchecked;
    }
}

bool insertAt(HMENU menu, UINT position, bool byPosition, Item item) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    if (!m || !validSubmenu(item)) {
        if (m)
            SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    if (byPosition) {
        const size_t at = std::min<size_t>(position, m->items.size());
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
        return true;
    }
    // By command the new item goes before the item with that id; with none it is appended.
    if (Found f = findById(m, position); f.menu) {
        f.menu->items.insert(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index), std::move(item));
        return true;
    }
    m->items.push_back(std::move(item));
    return true;
}

bool takeOut(HMENU menu, UINT position, UINT flags, bool destroySub) {
    auto l = lock();
    Found f = locate(menu, position, flags);
    if (!f.menu) {
        if (find(menu))
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return false;
    }
    const HMENU sub = f.menu->items[f.index].sub;
    f.menu->items.erase(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index));
    if (destroySub && sub)
        destroy(sub);
    return true;
}

} // namespace

std::unique_lock<std::mutex> lock() {
    return std::unique_lock(table().mutex);
}

Menu* find(HMENU menu) {
    Table& t = table();
    const auto it = t.menus.find(reinterpret_cast<std::uintptr_t>(menu));
    return it == t.menus.end() ? nullptr : it->second.get();
}

std::vector<Item> itemsOf(HMENU menu) {
    auto l = lock();
    Menu* m = find(menu);
    return m ? m->items : std::vector<Item>{};
}

std::wstring shownText(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\t')
            break;
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&')
                out += L'&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

wchar_t mnemonicOf(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        if (text[i + 1] == L'\t')
            return 0;
        return pal::text::toLower(std::wstring(1, text[i + 1]))[0];
    }
    return 0;
}

} // namespace pal::win::menus

using namespace pal::win::menus;

HMENU CreateMenu() {
    return create(false);
}

HMENU CreatePopupMenu() {
    return create(true);
}

BOOL DestroyMenu(HMENU menu) {
    auto l = lock();
    if (!findOrFail(menu))
        return FALSE;
    destroy(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    auto l = lock();
    return find(menu) != nullptr;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
    return insertAt(menu, ~0u, true, itemFromFlags(flags, item, text));
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    return insertAt(menu, position, (flags & MF_BYPOSITION) != 0, itemFromFlags(flags, item, text));
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!info || info->cbSize < sizeof(MENUITEMINFOW) - sizeof(HBITMAP)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Item it;
    applyInfo(it, *info);
    return insertAt(menu, item, byPosition, std::move(it));
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    auto l = lock();
    Found f = locate(menu, position, flags);
    if (!f.menu)
        return FALSE;
    Item replacement = itemFromFlags(flags, item, text);
    if (!validSubmenu(replacement)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    Item& old = f.menu->items[f.index];
    // A submenu that is replaced by something else is destroyed, as the platform does.
    if (old.sub && old.sub != replacement.sub)
        destroy(old.sub);
    old = std::move(replacement);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return takeOut(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return takeOut(menu, position, flags, true);
}

int GetMenuItemCount(HMENU menu) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size())
        return static_cast<UINT>(-1);
    const Item& it = m->items[static_cast<size_t>(position)];
    return it.sub ? static_cast<UINT>(-1) : it.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size())
        return nullptr;
    return m->items[static_cast<size_t>(position)].sub;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto l = lock();
    Found f = locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!f.menu) {
        if (find(menu))
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    const Item& it = f.menu->items[f.index];
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = it.type;
    if (info->fMask & MIIM_STATE)
        info->fState = it.state;
    if (info->fMask & MIIM_ID)
        info->wID = it.id;
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = it.sub;
    if (info->fMask & MIIM_DATA)
        info->dwItemData = it.data;
    if (info->fMask & MIIM_BITMAP)
        info->hbmpItem = it.bitmap;
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = it.checked;
        info->hbmpUnchecked = it.unchecked;
    }
    const bool wantsText =
        (info->fMask & MIIM_STRING) ||
        ((info->fMask & MIIM_TYPE) && !(it.type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)));
    if (wantsText) {
        // With no buffer the length is answered; otherwise the text is cut to fit.
        if (info->dwTypeData && info->cch > 0) {
            const size_t n = std::min<size_t>(it.text.size(), info->cch - 1);
            std::copy(it.text.begin(), it.text.begin() + static_cast<std::ptrdiff_t>(n), info->dwTypeData);
            info->dwTypeData[n] = 0;
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(it.text.size());
        }
    } else if ((info->fMask & MIIM_TYPE) && (it.type & MFT_BITMAP)) {
        info->dwTypeData = reinterpret_cast<LPWSTR>(it.bitmap);
    }
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto l = lock();
    Found f = locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!f.menu) {
        if (find(menu))
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    Item updated = f.menu->items[f.index];
    applyInfo(updated, *info);
    if (!validSubmenu(updated)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    f.menu->items[f.index] = std::move(updated);
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    auto l = lock();
    Found f = locate(menu, item, check);
    if (!f.menu)
        return static_cast<DWORD>(-1);
    Item& it = f.menu->items[f.index];
    const DWORD previous = it.state & MF_CHECKED;
    it.state = (it.state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    auto l = lock();
    Found f = locate(menu, item, enable);
    if (!f.menu)
        return -1;
    Item& it = f.menu->items[f.index];
    const UINT previous = it.state & MFS_GRAYED;
    it.state = (it.state & ~MFS_GRAYED) | (enable & MFS_GRAYED);
    return static_cast<BOOL>(previous);
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    auto l = lock();
    Found a = locate(menu, first, flags);
    Found b = locate(menu, last, flags);
    Found c = locate(menu, check, flags);
    if (!a.menu || a.menu != b.menu || a.menu != c.menu || a.index > b.index) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    for (size_t i = a.index; i <= b.index; ++i) {
        Item& it = a.menu->items[i];
        if (i == c.index) {
            it.state |= MFS_CHECKED;
            it.type |= MFT_RADIOCHECK;
        } else {
            it.state &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    auto l = lock();
    Found f = locate(menu, item, flags);
    if (!f.menu)
        return static_cast<UINT>(-1);
    const Item& it = f.menu->items[f.index];
    UINT state = it.state | (it.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW | MFT_MENUBARBREAK |
                                        MFT_MENUBREAK | MFT_RIGHTJUSTIFY));
    if (it.sub) {
        Menu* sub = find(it.sub);
        // A submenu answers its item count in the high byte of the low word, with MF_POPUP.
        state = (state & 0xFF) | MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
    }
    return state;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags) {
    auto l = lock();
    Found f = locate(menu, item, flags);
    if (!f.menu)
        return 0;
    const std::wstring& text = f.menu->items[f.index].text;
    if (!buffer || size <= 0)
        return static_cast<int>(text.size());
    return pal::win::copyText(text, buffer, size);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    if (!m)
        return FALSE;
    Found f;
    if (item != static_cast<UINT>(-1)) {
        f = locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
        if (f.menu != m) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (f.menu && i == f.index)
            m->items[i].state |= MFS_DEFAULT;
        else
            m->items[i].state &= ~MFS_DEFAULT;
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
    auto l = lock();
    Menu* m = findOrFail(menu);
    if (!m)
        return static_cast<UINT>(-1);
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (m->items[i].state & MFS_DEFAULT)
            return byPosition ? static_cast<UINT>(i) : m->items[i].id;
    }
    return static_cast<UINT>(-1);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HMENU existing = nullptr;
    std::vector<HMENU> stale;
    {
        auto l = lock();
        Table& t = table();
        // Copies of windows that are gone are dropped on the way.
        for (auto it = t.systemMenus.begin(); it != t.systemMenus.end();) {
            if (it->first != hwnd && !IsWindow(it->first)) {
                destroy(it->second);
                it = t.systemMenus.erase(it);
            } else {
                ++it;
            }
        }
        const auto it = t.systemMenus.find(hwnd);
        if (it != t.systemMenus.end()) {
            if (revert) {
                destroy(it->second);
                t.systemMenus.erase(it);
                return nullptr;
            }
            existing = it->second;
        }
    }
    if (existing || revert)
        return existing;
    const HMENU m = CreatePopupMenu();
    struct Entry {
        UINT id;
        const wchar_t* text;
    };
    static const Entry kEntries[] = {
        {static_cast<UINT>(SC_RESTORE), L"&Restore"},    {static_cast<UINT>(SC_MOVE), L"&Move"},
        {static_cast<UINT>(SC_SIZE), L"&Size"},          {static_cast<UINT>(SC_MINIMIZE), L"Mi&nimize"},
        {static_cast<UINT>(SC_MAXIMIZE), L"Ma&ximize"},  {0, nullptr},
        {static_cast<UINT>(SC_CLOSE), L"&Close\tAlt+F4"}};
    for (const Entry& e : kEntries)
        AppendMenuW(m, e.text ? MF_STRING : MF_SEPARATOR, e.id, e.text);
    SetMenuDefaultItem(m, static_cast<UINT>(SC_CLOSE), FALSE);
    auto l = lock();
    table().systemMenus[hwnd] = m;
    return m;
}

HMENU GetMenu(HWND hwnd) {
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)
        return nullptr;
    return reinterpret_cast<HMENU>(GetWindowLongPtrW(hwnd, GWLP_ID));
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) || (menu && !IsMenu(menu))) {
        SetLastError(menu && !IsMenu(menu) ? ERROR_INVALID_MENU_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SetWindowLongPtrW(hwnd, GWLP_ID, reinterpret_cast<LONG_PTR>(menu));
    // The menu bar takes its height from the client area.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
