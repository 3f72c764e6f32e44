// The device context: where it draws, what is selected, its modes and origins, its clip and
// its save stack. Drawing code asks it for a Cairo context ready for logical coordinates.
#pragma once

#include "object.h"

#include <optional>
#include <vector>

namespace pal::gdi {

struct DcState {
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Object> font;   // kept for the text layer; null until it selects one
    std::shared_ptr<Bitmap> bitmap; // memory DCs only
    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    int mapMode = MM_TEXT;
    UINT textAlign = 0;
    int textCharacterExtra = 0;
    POINT windowOrg{};
    POINT viewportOrg{};
    POINT brushOrg{};
    POINT position{};
    std::optional<Region> clip; // device coordinates
};

class DeviceContext : public Object {
public:
    DeviceContext(bool memory, HWND window) : memory_(memory), window_(window) {}
    ~DeviceContext() override;
    DWORD type() const override { return memory_ ? OBJ_MEMDC : OBJ_DC; }

    bool memory() const { return memory_; }
    HWND window() const { return window_; }
    void setTarget(Surface surface, POINT origin, Region visible);

    DcState& state() { return state_; }
    const DcState& state() const { return state_; }
    int save();
    bool restore(int level);

    // The pixels drawn on: the window's surface or the selected bitmap's.
    const Surface& surface() const;
    // Device 0,0 in surface coordinates.
    POINT origin() const { return memory_ ? POINT{} : origin_; }
    // Where drawing may land, in surface coordinates: the window's visible part, the clip
    // region and the surface's bounds.
    const Region& drawable();

    // Logical to surface coordinates.
    POINT toSurface(POINT logical) const;
    POINT toSurface(int x, int y) const { return toSurface(POINT{x, y}); }
    RECT toSurface(const RECT& logical) const;
    // Device to logical: the inverse of the window and viewport origins.
    POINT deviceToLogical(POINT device) const;
    LONG dx() const { return origin().x + state_.viewportOrg.x - state_.windowOrg.x; }
    LONG dy() const { return origin().y + state_.viewportOrg.y - state_.windowOrg.y; }

    // A Cairo context on surface() with the clip applied, the matrix set for logical
    // coordinates, no antialiasing and the OVER operator; null when there is nothing to draw
    // on. The text layer draws through it too. Every drawing sets its own source and fill
    // rule; anything else a caller changes it restores (cairo_save/cairo_restore).
    cairo_t* cairo();
    // Call after changing origins, the clip or the selected bitmap.
    void changed() {
        dirty_ = true;
        drawableValid_ = false;
    }

    // Swaps objects in the current state, keeping the selection counts right (table mutex held).
    static void select(DcState& state, const std::shared_ptr<Object>& object,
                       std::shared_ptr<Object>& previous);

private:
    void countSelections(const DcState& state, int delta);

    bool memory_;
    HWND window_;
    Surface target_;
    POINT origin_{};
    Region visible_;
    DcState state_;
    std::vector<DcState> saved_;
    cairo_t* cr_ = nullptr;
    cairo_surface_t* crSurface_ = nullptr;
    bool dirty_ = true;
    Region drawable_;
    bool drawableValid_ = false;
    cairo_surface_t* drawableSurface_ = nullptr; // what drawable_ was worked out for
    friend std::shared_ptr<DeviceContext> makeDC(bool memory, HWND window);
};

// A new DC with the default objects selected (a memory DC gets the 1x1 stock bitmap).
std::shared_ptr<DeviceContext> makeDC(bool memory, HWND window);
std::shared_ptr<DeviceContext> dcOf(HDC dc);

} // namespace pal::gdi
