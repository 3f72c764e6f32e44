// The library's clipboard formats: registered once per name and asked about by number.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace Dravik {

class ClipboardManager {
public:
    // The number of the format of that name, the same for every program of the session; 0 for
    // an empty name.
    static UINT registerFormat(const wchar_t* name);
    // Whether the clipboard holds the format now.
    static bool isFormatAvailable(UINT format);
};

} // namespace Dravik

DV_EXPORTS_END
