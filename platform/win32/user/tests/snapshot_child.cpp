// A program that paints one window and ends without closing it, for the snapshots written when
// a program ends.
#include "win/user.h"

int main() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_HIGHLIGHT + 1));
    wc.lpszClassName = L"SnapshotChild";
    RegisterClassExW(&wc);
    CreateWindowExW(0, L"SnapshotChild", L"", WS_POPUP | WS_VISIBLE, 0, 0, 16, 12, nullptr, nullptr, nullptr,
                    nullptr);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    return 0;
}
