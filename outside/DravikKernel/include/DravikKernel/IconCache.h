// The kernel's small pictures of layer states and of object kinds, drawn as vectors at any size
// and kept as a 16-pixel image list for lists of objects.
#pragma once

#include "pal/visibility.h"
#include "win/gdi.h"

DV_EXPORTS_BEGIN

class CIconCache {
public:
    // Layer states and line width, then the object kinds (DravikKernel/Objects.h).
    enum : int {
        kHidden = 546,
        kFrozen = 548,
        kLocked = 550,
        kLineWidth = 554,
        kNotPrinted = 556,
        kBackground = 558,
    };

    static CIconCache& Instance();
    // Draws the picture of the id in a square of `size` pixels at x, y; false for an id it has
    // no picture of, which draws nothing.
    bool DrawIcon(HDC dc, int id, int x, int y, int size = 15) const;
    // The object kinds' pictures in a 16-pixel image list the caller shares (it must not destroy
    // it); ImageIndex gives an id's place, -1 for an id the list does not hold.
    HIMAGELIST GetObjectImageList();
    int ImageIndex(int id) const;

private:
    HIMAGELIST objects_ = nullptr;
};

DV_EXPORTS_END
