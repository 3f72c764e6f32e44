// The markup a main frame's message bar shows: an optional picture column beside a wrapping text
// block with the title in bold before the message.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

namespace dvframe {

// Makes a title or message safe inside the bar's markup; a line feed becomes a line break.
std::wstring EscapeMessageBarText(const std::wstring& text);

// The bar's markup; `imageId` is shown only when `hasImage`. Empty title and text give a grid
// without a text block (the caller shows nothing then).
std::wstring BuildMessageBarMarkup(bool hasImage, int imageId, const std::wstring& title,
                                   const std::wstring& text);

} // namespace dvframe

DV_EXPORTS_END
