// Small services of the kernel: its string resources, paths of its folders, its message box.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>

DV_EXPORTS_BEGIN

// A text of the kernel's string resources; empty for an id it does not have.
std::wstring DVLoadString(UINT id);
// The string of the id with its "%s" replaced by the argument.
std::wstring DVLoadFormatString(UINT id, const std::wstring& argument);

// The full path of `name`: with `mode` 0 in the program folder, otherwise in the user's
// application-data folder of the product. With `create` the folder is made when missing.
// An absolute name is returned as it is.
std::wstring DVAppendProgramPath(const wchar_t* name, int mode, bool create);

class DVMessageBox {
public:
    // Shows `text` with the platform's message-box type and answers the button pressed.
    static int Show(const wchar_t* text, UINT type);
    // The caption of the boxes; the application sets it to its name.
    static void SetCaption(const wchar_t* caption);
    static std::wstring GetCaption();
};

DV_EXPORTS_END
