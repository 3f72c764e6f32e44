// The pictures a document file carries beside its content: a preview of its page, made at
// every save, and an icon when one was given. Browsers show them without opening the document.
#pragma once

#include "DravikKernel/Document.h"
#include "pal/visibility.h"
#include "win/gdi.h"

#include <string>

DV_EXPORTS_BEGIN

// The names the pictures are kept under.
extern const wchar_t* const g_szDocPV;
extern const wchar_t* const g_szDocIcon;

// The named picture of a document file as a bitmap the caller deletes; null when the file does
// not open or has no such picture.
HBITMAP DvwLoadDVDocImage(const wchar_t* path, const wchar_t* name);

namespace Dravik {

// The longest side of a preview, in pixels.
inline constexpr int kPreviewSize = 256;

// The PNG of the document's current page drawn whole within kPreviewSize; empty when it cannot
// be made.
std::string MakePreviewPng(const DravikDocument2& document);

// The side of a document's generated icon, in pixels.
inline constexpr int kIconSize = 32;
// The PNG of a generated icon: the page drawn whole on a square with a band in the colour of
// the document's kind; empty when it cannot be made.
std::string MakeIconPng(const DravikDocument2& document);

} // namespace Dravik

DV_EXPORTS_END
