#include "win/user.h"

#include "win/global_memory.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

// A packed pair lives in a movable block marked by its first word, so that an lParam that is
// some other block (or none) is told apart.
constexpr UINT_PTR kPackedMark = 0x44444550; // "PEDD"

struct Packed {
    UINT_PTR mark;
    UINT_PTR lo;
    UINT_PTR hi;
};

bool isPackedMessage(UINT msg) {
    return msg == WM_DDE_ACK || msg == WM_DDE_ADVISE || msg == WM_DDE_DATA || msg == WM_DDE_POKE;
}

bool readPacked(LPARAM lParam, Packed& out) {
    const auto block = reinterpret_cast<HGLOBAL>(lParam);
    if (block == nullptr || GlobalSize(block) < sizeof(Packed))
        return false;
    const void* p = GlobalLock(block);
    if (p == nullptr)
        return false;
    std::memcpy(&out, p, sizeof out);
    GlobalUnlock(block);
    return out.mark == kPackedMark;
}

std::mutex& reasonsMutex() {
    static std::mutex m;
    return m;
}

std::map<HWND, std::wstring>& reasons() {
    static std::map<HWND, std::wstring> r;
    return r;
}

} // namespace

LPARAM PackDDElParam(UINT msg, UINT_PTR lo, UINT_PTR hi) {
    if (msg == WM_DDE_EXECUTE)
        return static_cast<LPARAM>(hi);
    if (!isPackedMessage(msg))
        return static_cast<LPARAM>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(Packed));
    if (block == nullptr)
        return 0;
    const Packed packed{kPackedMark, lo, hi};
    std::memcpy(GlobalLock(block), &packed, sizeof packed);
    GlobalUnlock(block);
    return reinterpret_cast<LPARAM>(block);
}

BOOL UnpackDDElParam(UINT msg, LPARAM lParam, UINT_PTR* lo, UINT_PTR* hi) {
    UINT_PTR l = 0, h = 0;
    BOOL ok = TRUE;
    if (msg == WM_DDE_EXECUTE) {
        h = static_cast<UINT_PTR>(lParam);
    } else if (!isPackedMessage(msg)) {
        l = static_cast<UINT_PTR>(lParam) & 0xFFFF;
        h = (static_cast<UINT_PTR>(lParam) >> 16) & 0xFFFF;
    } else if (Packed packed{}; readPacked(lParam, packed)) {
        l = packed.lo;
        h = packed.hi;
    } else {
        ok = FALSE;
    }
    if (lo != nullptr)
        *lo = l;
    if (hi != nullptr)
        *hi = h;
    return ok;
}

BOOL FreeDDElParam(UINT msg, LPARAM lParam) {
    if (!isPackedMessage(msg))
        return TRUE;
    Packed packed{};
    if (!readPacked(lParam, packed))
        return FALSE;
    GlobalFree(reinterpret_cast<HGLOBAL>(lParam));
    return TRUE;
}

LPARAM ReuseDDElParam(LPARAM lParam, UINT msgIn, UINT msgOut, UINT_PTR lo, UINT_PTR hi) {
    FreeDDElParam(msgIn, lParam);
    return PackDDElParam(msgOut, lo, hi);
}

BOOL ShutdownBlockReasonCreate(HWND hWnd, LPCWSTR reason) {
    if (!IsWindow(hWnd) || reason == nullptr)
        return FALSE;
    std::lock_guard lock(reasonsMutex());
    reasons()[hWnd] = reason;
    return TRUE;
}

BOOL ShutdownBlockReasonDestroy(HWND hWnd) {
    std::lock_guard lock(reasonsMutex());
    return reasons().erase(hWnd) > 0;
}

BOOL ShutdownBlockReasonQuery(HWND hWnd, LPWSTR buffer, DWORD* length) {
    if (length == nullptr)
        return FALSE;
    std::lock_guard lock(reasonsMutex());
    const auto it = reasons().find(hWnd);
    if (it == reasons().end() || !IsWindow(hWnd))
        return FALSE;
    const DWORD needed = static_cast<DWORD>(it->second.size() + 1);
    if (buffer == nullptr) {
        *length = needed;
        return TRUE;
    }
    if (*length < needed) {
        *length = needed;
        return FALSE;
    }
    std::memcpy(buffer, it->second.c_str(), needed * sizeof(wchar_t));
    *length = needed;
    return TRUE;
}
