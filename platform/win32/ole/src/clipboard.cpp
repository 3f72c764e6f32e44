// The clipboard functions over the sandbox's clipboard store. Blocks handed in or out stay with
// this program's clipboard cache until the clipboard is emptied (here or by another program).
#include "blocks.h"
#include "clipboard_store.h"

#include "pal/ole/clipboard_bridge.h"
#include "win/user.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace pal::ole {
namespace {

std::atomic<ClipboardBridge*> gBridge{nullptr};
thread_local bool tInBridge = false;
thread_local bool tChanged = false;

class Cache {
public:
    // The block cached for `format` at the clipboard's current sequence, or null.
    HGLOBAL find(UINT format, std::uint64_t sequence) {
        std::lock_guard lock(mutex_);
        sync(sequence);
        auto it = blocks_.find(format);
        return it == blocks_.end() ? nullptr : it->second;
    }
    void keep(UINT format, HGLOBAL block, std::uint64_t sequence) {
        std::lock_guard lock(mutex_);
        auto it = blocks_.find(format);
        if (it != blocks_.end() && it->second != block)
            GlobalFree(it->second);
        blocks_[format] = block;
        sequence_ = sequence;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        freeAll();
    }

private:
    // A change by another program since the blocks were cached makes them stale.
    void sync(std::uint64_t sequence) {
        if (sequence != sequence_)
            freeAll();
        sequence_ = sequence;
    }
    void freeAll() {
        for (auto& [format, block] : blocks_)
            GlobalFree(block);
        blocks_.clear();
    }

    std::mutex mutex_;
    std::map<UINT, HGLOBAL> blocks_;
    std::uint64_t sequence_ = 0;
};

Cache& cache() {
    static Cache* c = new Cache;
    return *c;
}

std::int64_t thisThread() {
    return static_cast<std::int64_t>(GetCurrentThreadId());
}

bool heldHere() {
    const BoardState b = ClipboardStore::instance().state(kClipboardSlot);
    return b.openerPid == ::getpid() && b.openerTid == thisThread();
}

template <class R> R fail(DWORD error, R value) {
    SetLastError(error);
    return value;
}

HWND localWindow(std::uint64_t value, std::int64_t pid) {
    HWND h = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
    return pid == ::getpid() && h && IsWindow(h) ? h : nullptr;
}

} // namespace

void setClipboardBridge(ClipboardBridge* bridge) {
    gBridge = bridge;
}

} // namespace pal::ole

using namespace pal::ole;

BOOL OpenClipboard(HWND owner) {
    if (owner && !IsWindow(owner))
        return fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (ClipboardBridge* bridge = gBridge.load(); bridge && !tInBridge) {
        tInBridge = true;
        bridge->beforeOpen();
        tInBridge = false;
    }
    if (!ClipboardStore::instance().open(kClipboardSlot, reinterpret_cast<std::uintptr_t>(owner),
                                         thisThread()))
        return fail(ERROR_ACCESS_DENIED, FALSE);
    tChanged = false;
    return TRUE;
}

BOOL CloseClipboard() {
    if (!ClipboardStore::instance().close(kClipboardSlot, thisThread()))
        return fail(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    if (ClipboardBridge* bridge = gBridge.load(); bridge && tChanged && !tInBridge) {
        tInBridge = true;
        bridge->afterChange();
        tInBridge = false;
    }
    tChanged = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    BoardState previous;
    if (!ClipboardStore::instance().empty(kClipboardSlot, thisThread(), previous))
        return fail(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    cache().clear();
    tChanged = true;
    if (HWND old = localWindow(previous.owner, previous.ownerPid))
        SendMessageW(old, WM_DESTROYCLIPBOARD, 0, 0);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
    if (!heldHere())
        return fail(ERROR_CLIPBOARD_NOT_OPEN, HANDLE{});
    if (format == 0 || !memory)
        return fail(ERROR_INVALID_PARAMETER, HANDLE{});
    const auto bytes = bytesOf(memory);
    if (!bytes)
        return fail(ERROR_INVALID_HANDLE, HANDLE{});
    if (!blockSound(format, *bytes))
        return fail(ERROR_INVALID_DATA, HANDLE{});
    const std::uint64_t sequence = ClipboardStore::instance().put(kClipboardSlot, format, *bytes);
    if (!sequence)
        return fail(ERROR_NOT_ENOUGH_MEMORY, HANDLE{});
    cache().keep(format, memory, sequence);
    tChanged = true;
    return memory;
}

HANDLE GetClipboardData(UINT format) {
    const BoardState state = ClipboardStore::instance().state(kClipboardSlot);
    if (state.openerPid != ::getpid() || state.openerTid != thisThread())
        return fail(ERROR_CLIPBOARD_NOT_OPEN, HANDLE{});
    if (HGLOBAL cached = cache().find(format, state.sequence))
        return cached;
    const std::optional<std::string> bytes = readFormat(kClipboardSlot, format);
    if (!bytes)
        return HANDLE{};
    HGLOBAL block = globalOf(*bytes);
    if (!block)
        return fail(ERROR_NOT_ENOUGH_MEMORY, HANDLE{});
    cache().keep(format, block, state.sequence);
    return block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    const std::vector<UINT> formats = offeredFormats(kClipboardSlot);
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

UINT EnumClipboardFormats(UINT format) {
    if (!heldHere())
        return fail(ERROR_CLIPBOARD_NOT_OPEN, 0u);
    const std::vector<UINT> formats = offeredFormats(kClipboardSlot);
    SetLastError(NO_ERROR);
    if (format == 0)
        return formats.empty() ? 0 : formats.front();
    auto it = std::find(formats.begin(), formats.end(), format);
    return it == formats.end() || std::next(it) == formats.end() ? 0 : *std::next(it);
}

int CountClipboardFormats() {
    return static_cast<int>(offeredFormats(kClipboardSlot).size());
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (!name || !*name)
        return fail(ERROR_INVALID_PARAMETER, 0u);
    const UINT id = ClipboardStore::instance().registerFormat(name);
    return id ? id : fail(ERROR_INVALID_PARAMETER, 0u);
}

int GetClipboardFormatNameW(UINT format, LPWSTR name, int size) {
    if (!name || size <= 0)
        return fail(ERROR_INVALID_PARAMETER, 0);
    const std::wstring text =
        format >= 0xC000 ? ClipboardStore::instance().formatName(format) : std::wstring();
    if (text.empty())
        return fail(ERROR_INVALID_PARAMETER, 0);
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::copy_n(text.begin(), n, name);
    name[n] = L'\0';
    return static_cast<int>(n);
}

DWORD GetClipboardSequenceNumber() {
    return static_cast<DWORD>(ClipboardStore::instance().state(kClipboardSlot).sequence);
}

HWND GetClipboardOwner() {
    const BoardState b = ClipboardStore::instance().state(kClipboardSlot);
    return localWindow(b.owner, b.ownerPid);
}

HWND GetOpenClipboardWindow() {
    const BoardState b = ClipboardStore::instance().state(kClipboardSlot);
    return localWindow(b.opener, b.openerPid);
}
