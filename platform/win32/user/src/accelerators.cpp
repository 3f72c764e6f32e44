// Keyboard accelerator tables and the translation of key messages into commands.
#include "model.h"

#include "pal/journal.h"
#include "pal/resources.h"
#include "win/module_resources.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct Tables {
    std::mutex mutex;
    std::map<std::uintptr_t, std::vector<ACCEL>> tables;
    std::uintptr_t next = 0x30000;
};

Tables& tables() {
    static Tables* t = new Tables;
    return *t;
}

bool down(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

// Whether the message is the key of the entry, with exactly its modifiers.
bool matches(const ACCEL& a, const MSG& msg) {
    const bool alt = down(VK_MENU);
    if (a.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return false;
        if ((msg.wParam & 0xFFFF) != a.key)
            return false;
        return down(VK_SHIFT) == ((a.fVirt & FSHIFT) != 0) &&
               down(VK_CONTROL) == ((a.fVirt & FCONTROL) != 0) && alt == ((a.fVirt & FALT) != 0);
    }
    // A character entry matches the character itself; only Alt is told apart.
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR)
        return false;
    return (msg.wParam & 0xFFFF) == a.key && alt == ((a.fVirt & FALT) != 0);
}

} // namespace

HACCEL LoadAcceleratorsW(HINSTANCE module, LPCWSTR name) {
    const pal::resources::Resource* found =
        pal::resources::locate(module, pal::resources::Kind::Accelerators, name);
    if (!found)
        return nullptr;
    std::vector<ACCEL> entries;
    for (const pal::resources::Key& k : found->keys)
        entries.push_back(ACCEL{k.fVirt, k.key, k.cmd});
    if (entries.empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
}

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int size) {
    if (!buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const pal::resources::Resource* found = pal::resources::locate(
        module, pal::resources::Kind::String, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(id & 0xFFFF)));
    if (!found || id > 0xFFFF) {
        if (size > 0)
            buffer[0] = 0;
        if (found)
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const std::wstring& text = found->text;
    if (size == 0) {
        *reinterpret_cast<const wchar_t**>(buffer) = text.c_str();
        return static_cast<int>(text.size());
    }
    const size_t n = std::min(text.size(), static_cast<size_t>(std::max(size, 1) - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    const std::uintptr_t value = t.next;
    t.next += 4;
    t.tables.emplace(value, std::vector<ACCEL>(entries, entries + count));
    return reinterpret_cast<HACCEL>(value);
}

int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count) {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    const auto it = t.tables.find(reinterpret_cast<std::uintptr_t>(table));
    if (it == t.tables.end()) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    const auto& list = it->second;
    if (!entries)
        return static_cast<int>(list.size());
    const int n = std::min<int>(count, static_cast<int>(list.size()));
    for (int i = 0; i < n; ++i)
        entries[i] = list[static_cast<size_t>(i)];
    return n < 0 ? 0 : n;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    if (t.tables.erase(reinterpret_cast<std::uintptr_t>(table)) == 0) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg) {
    if (!msg || !IsWindow(hwnd)) {
        SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<ACCEL> list;
    {
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        const auto it = t.tables.find(reinterpret_cast<std::uintptr_t>(table));
        if (it == t.tables.end()) {
            SetLastError(ERROR_INVALID_ACCEL_HANDLE);
            return 0;
        }
        list = it->second;
    }
    for (const ACCEL& a : list) {
        if (!matches(a, *msg))
            continue;
        // A command of the window menu is a system command; the rest reach the window as
        // WM_COMMAND with 1 in the high word, which says it came from an accelerator.
        if (a.cmd >= SC_SIZE && a.cmd <= SC_CONTEXTHELP)
            SendMessageW(hwnd, WM_SYSCOMMAND, a.cmd, 0);
        else
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

BOOL MessageBeep(UINT type) {
    char value[16];
    std::snprintf(value, sizeof value, "0x%X", type);
    pal::journal::record("sound", {{"type", value}});
    return TRUE;
}
