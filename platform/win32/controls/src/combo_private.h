// What a combo box and its list say to each other. The list of a drop-down combo box is a popup
// window, so it cannot reach the combo box as its parent.
#pragma once

#include "win/user.h"

namespace pal::ctl {

// To the list: wParam is the combo box that owns it.
constexpr UINT kListSetCombo = WM_USER + 0x7F0;
// To the combo box: the person picked item wParam in the dropped list (mouse released over it).
constexpr UINT kComboPicked = WM_USER + 0x7F1;
// To the combo box: the person clicked outside the dropped list.
constexpr UINT kComboDismissed = WM_USER + 0x7F2;
// To the combo box: the list's selection moved while dropped (wParam the new index).
constexpr UINT kComboTracked = WM_USER + 0x7F3;

} // namespace pal::ctl
