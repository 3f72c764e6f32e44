// The file dialog's interface while it is shown, and the push buttons a caller may add to it
// (the class library's file dialog adds them; see afx/filedialog.h).
#pragma once

#include "pal/visibility.h"
#include "win/controls/commdlg.h"
#include "win/error.h"

#include <functional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

// Valid only while its dialog is shown: the caller neither keeps nor releases it.
class IFileDialog {
public:
    // Puts `name` into the dialog's name box (E_INVALIDARG for null).
    virtual HRESULT SetFileName(LPCWSTR name) = 0;

protected:
    ~IFileDialog() = default;
};

class IFileSaveDialog : public IFileDialog {
protected:
    ~IFileSaveDialog() = default;
};

namespace pal::filedialog {

struct PushButton {
    DWORD id = 0;
    std::wstring label;
};

// What a caller adds to the file dialog: push buttons along the bottom (a responder's answer of
// a button's id clicks it, and the dialog then waits for the next answer), who hears their clicks,
// and who is handed the save dialog's interface while it is shown (null once it ended; open
// dialogs hand none).
struct Extras {
    std::vector<PushButton> buttons;
    std::function<void(DWORD id)> clicked;
    std::function<void(IFileSaveDialog*)> saveDialog;
};

// GetOpenFileNameW or GetSaveFileNameW (as `save` says) with the extras.
BOOL show(LPOPENFILENAMEW ofn, bool save, const Extras& extras);

} // namespace pal::filedialog

DV_EXPORTS_END
