// Dropped-file lists (HDROP) and the windows that accept them.
#include "blocks.h"
#include "drop_link.h"

#include "win/user.h"

#include <algorithm>

namespace {

std::optional<pal::ole::DropList> listOf(HDROP drop) {
    const auto bytes = pal::ole::bytesOf(drop);
    return bytes ? pal::ole::parseDropFiles(*bytes) : std::nullopt;
}

} // namespace

void DragAcceptFiles(HWND hwnd, BOOL accept) {
    if (!IsWindow(hwnd))
        return;
    const LONG style = GetWindowLongW(hwnd, GWL_EXSTYLE);
    const LONG flag = static_cast<LONG>(WS_EX_ACCEPTFILES);
    SetWindowLongW(hwnd, GWL_EXSTYLE, accept ? (style | flag) : (style & ~flag));
    if (accept)
        pal::ole::listenForDrops();
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR file, UINT size) {
    const auto list = listOf(drop);
    if (!list) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    if (index == 0xFFFFFFFF)
        return static_cast<UINT>(list->paths.size());
    if (index >= list->paths.size())
        return 0;
    const std::wstring& path = list->paths[index];
    if (!file)
        return static_cast<UINT>(path.size());
    if (size == 0)
        return 0;
    const size_t n = std::min<size_t>(path.size(), size - 1);
    std::copy_n(path.begin(), n, file);
    file[n] = L'\0';
    return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, LPPOINT point) {
    const auto list = listOf(drop);
    if (!list || !point)
        return FALSE;
    *point = list->point;
    return list->nonClient ? FALSE : TRUE;
}

void DragFinish(HDROP drop) {
    GlobalFree(drop);
}
