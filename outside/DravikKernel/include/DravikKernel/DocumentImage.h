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

// A picture of the kernel's: a bitmap it owns, drawn into rectangles by a mode.
class CDravikImage {
public:
    // How Draw places the picture in the rectangle.
    enum DrawMode {
        DrawStretch = 0,    // filling it, whatever the proportions
        DrawActualSize = 1, // at its own size, at the rectangle's left-top corner
        DrawCentered = 2,   // at its own size, centred
        DrawFit = 3,        // as large as fits with its proportions kept, centred
    };

    // Takes the bitmap.
    explicit CDravikImage(HBITMAP bitmap);
    ~CDravikImage();
    CDravikImage(const CDravikImage&) = delete;
    CDravikImage& operator=(const CDravikImage&) = delete;

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // The image's own bitmap; it stays the image's.
    HBITMAP GetHBITMAP() const { return bitmap_; }
    // Draws the picture into `rect` by the mode. The flags are reserved (0); a background other
    // than CLR_INVALID (0xFFFFFFFF) fills what the picture leaves of the rectangle first.
    void Draw(HDC dc, const RECT& rect, int mode, int flags, int reserved, COLORREF background) const;
    // A new bitmap of the size, compatible with `dc` (the screen's when null), showing the
    // picture fitted on white; the caller deletes it. Null for a size below 1.
    HBITMAP CreateBitmap(HDC dc, int width, int height) const;

private:
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The named picture of a document file as an image the caller deletes; null when the file does
// not open or has no such picture.
CDravikImage* DvwLoadDVDocImage(const wchar_t* path, const wchar_t* name);

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
