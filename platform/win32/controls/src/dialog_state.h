// What the dialog manager keeps for each dialog.
#pragma once

#include "win/controls.h"

#include <vector>

namespace pal::ctl {

struct DialogState {
    HWND savedFocus = nullptr;
    WORD defId = 0;
    bool modal = false;
    bool ended = false;
    // The owner the modal loop disabled: EndDialog enables it before the dialog hides, so that
    // activation, and with it the focus, go back to it.
    HWND disabledOwner = nullptr;
    INT_PTR result = 0;
    HFONT font = nullptr; // what WM_GETFONT answers
    // The font made from the template. Its controls were given it, so it lives as long as the
    // dialog even when the dialog is given another font.
    HFONT templateFont = nullptr;
    SIZE units{6, 13};
};

// The state of a dialog made by the dialog manager; null for other windows. Only the dialog's
// own thread uses it.
DialogState* dialogState(HWND dialog);
DialogState& addDialogState(HWND dialog);
void removeDialogState(HWND dialog);

// Moves the focus to a control of the dialog as the dialog keyboard does: an edit gets its whole
// text selected, and the default button follows the focus among push buttons.
void focusControl(HWND dialog, HWND control);

// The dialog's controls in order, the children of WS_EX_CONTROLPARENT windows in their place.
std::vector<HWND> dialogControls(HWND dialog);

LRESULT dialogCode(HWND control, const MSG* msg = nullptr);

} // namespace pal::ctl
