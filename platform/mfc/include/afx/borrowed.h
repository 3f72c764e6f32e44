// A window the control owns (its edit box, its header) seen through an object of the right
// class: the object only looks at the window and never destroys it.
#pragma once

#include "afx/wnd.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::mfc {

template <class T> class BorrowedWnd {
public:
    BorrowedWnd() = default;
    BorrowedWnd(const BorrowedWnd&) = delete;
    BorrowedWnd& operator=(const BorrowedWnd&) = delete;
    ~BorrowedWnd() { object_.m_hWnd = nullptr; }
    // The object over `hwnd`, or null for no window.
    T* over(HWND hwnd) const {
        object_.m_hWnd = hwnd;
        return hwnd ? &object_ : nullptr;
    }

private:
    mutable T object_;
};

} // namespace pal::mfc

DV_EXPORTS_END
