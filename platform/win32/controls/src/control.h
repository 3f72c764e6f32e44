// What every control of this library shares: its state object kept in the window's extra
// bytes, the notifications it sends its parent, and class registration.
#pragma once

#include "win/controls.h"
#include "win/gdi.h"

#include <string>
#include <type_traits>

namespace pal::ctl {

// Every class of this library keeps one pointer in its extra bytes.
constexpr int kStateExtra = static_cast<int>(sizeof(void*));

template <class T> T* stateOf(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, 0));
}

// The state of a control whose parent may destroy it while the control is still telling it
// something (a choice in a list that closes the list's window): the state outlives the window
// until the control's outermost message is done.
struct HeldState {
    int busy = 0;
    bool gone = false;
};

// Creates the state at WM_NCCREATE and frees it at WM_NCDESTROY, or, for a held state in use,
// once its last holder lets go; null between those for a window whose state is gone.
template <class T> T* attachState(HWND hwnd, UINT message) {
    if (message == WM_NCCREATE && !stateOf<T>(hwnd))
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new T));
    T* state = stateOf<T>(hwnd);
    if (message == WM_NCDESTROY && state) {
        SetWindowLongPtrW(hwnd, 0, 0);
        if constexpr (std::is_base_of_v<HeldState, T>) {
            if (state->busy > 0) {
                state->gone = true;
                return nullptr;
            }
        }
        delete state;
        return nullptr;
    }
    return state;
}

// Holds a control's state for the length of one of its messages.
template <class T> class StateHold {
public:
    explicit StateHold(T* state) : state_(state) { ++state_->busy; }
    ~StateHold() {
        if (--state_->busy == 0 && state_->gone)
            delete state_;
    }
    StateHold(const StateHold&) = delete;
    StateHold& operator=(const StateHold&) = delete;

private:
    T* state_;
};

DWORD styleOf(HWND hwnd);
int idOf(HWND hwnd);
// WM_COMMAND with the control's id and `code` to its parent.
void notifyCommand(HWND hwnd, UINT code);
// WM_NOTIFY to the parent; the header's window, id and code are filled in.
LRESULT notify(HWND hwnd, UINT code, NMHDR* header);
// After a right click the parent did not take (NM_RCLICK answered 0): the control's context
// menu is asked for at the click's screen point, as for any window.
void askContextMenu(HWND hwnd, POINT client);
std::wstring textOf(HWND hwnd);

// Asks the parent for the colours of the control (WM_CTLCOLOR*); the parent's brush, or the
// system's for the kind.
HBRUSH controlColor(HWND hwnd, HDC dc, UINT message);
// The system's answer to WM_CTLCOLOR*: the window colour for edits and lists, the face colour
// for the rest.
LRESULT defaultControlColor(UINT message);

void registerControlClass(LPCWSTR name, WNDPROC proc, UINT style, int extra = kStateExtra,
                          HBRUSH background = nullptr);

// "Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar" and the dialog class, where
// they are not registered.
void registerStandardClasses();

// The mnemonic of a text ("&Name" gives 'N'; "&&" is a plain ampersand); 0 without one.
wchar_t mnemonicOf(const std::wstring& text);

// Class procedures.
LRESULT buttonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT staticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT editProc(HWND, UINT, WPARAM, LPARAM);
LRESULT listBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT comboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT comboListProc(HWND, UINT, WPARAM, LPARAM);
LRESULT scrollBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT progressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT monthCalProc(HWND, UINT, WPARAM, LPARAM);
LRESULT linkProc(HWND, UINT, WPARAM, LPARAM);
LRESULT headerProc(HWND, UINT, WPARAM, LPARAM);
LRESULT treeViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT tabProc(HWND, UINT, WPARAM, LPARAM);
LRESULT toolTipProc(HWND, UINT, WPARAM, LPARAM);
namespace lv {
LRESULT listViewProc(HWND, UINT, WPARAM, LPARAM);
}

} // namespace pal::ctl
