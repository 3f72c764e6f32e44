// Drawing a document page on a device context: the paper, the sheet frame, the title block
// filled from the variables, and the geometry, at a zoom and pan the caller chooses.
#pragma once

#include "DravikKernel/DVDocument.h"
#include "pal/visibility.h"
#include "win/gdi.h"

#include <cstddef>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

// Where the page lands on the device: pixels per millimetre, and the device point of the
// page's left-top corner. Page y grows upwards, device y downwards.
struct PageView {
    double scale = 1.0;
    double left = 0.0;
    double top = 0.0;
};

// The view that shows the whole page centred in `client`, `margin` pixels from its edges.
PageView FitPage(const Page& page, const RECT& client, int margin = 8);
// A page point on the device, and a device point on the page (millimetres).
POINT PageToDevice(const PageView& view, const Page& page, double x, double y);
void DeviceToPage(const PageView& view, const Page& page, POINT device, double* x, double* y);
// The view zoomed by `factor` about a device point, which keeps showing the same page point.
// The scale stays within 0.01 and 1000 pixels per millimetre.
PageView ZoomAt(const PageView& view, double factor, POINT device);
// The view moved by whole pixels.
PageView Pan(const PageView& view, int dx, int dy);

// The topmost element of the page within `tolerance` pixels of a device point, or -1. The sheet
// frame and the title block are not picked.
int HitTest(const DVDocument& document, int page, const PageView& view, POINT device, int tolerance = 3);

// Draws the page (-1: the current one). Elements whose indexes are in `selection` are drawn in
// the highlight colour. Leaves the DC's objects and modes as it found them.
void DrawPage(HDC dc, const DVDocument& document, int page, const PageView& view,
              const std::vector<std::size_t>& selection = {});
// The same with the size in pixels below which an element is drawn as a dot (DrawPage: 3).
// Thumbnails take more, since there what is a few pixels across shows no shape anyway.
void DrawPageDetailed(HDC dc, const DVDocument& document, int page, const PageView& view,
                      const std::vector<std::size_t>& selection, int dotBelow);

} // namespace Dravik

DV_EXPORTS_END
