// The drawing objects behind HGDIOBJ and HDC handles, and their handle table.
//
// Every kind derives from Object; its GetObjectType value is type(). A handle encodes a slot,
// the slot's generation and a tag, so a deleted, forged or foreign handle never reaches an
// object. To add a kind: derive from Object, answer its OBJ_* type, create it with
// table::insert, and find it with table::getAs<Kind>(handle).
#pragma once

#include "pal/gdi.h"

#include <memory>
#include <mutex>

namespace pal::gdi {

class DeviceContext;

struct Object {
    virtual ~Object() = default;
    virtual DWORD type() const = 0;
    HGDIOBJ handle = nullptr;
    bool stock = false;
    // How many device contexts have it selected now; guarded by the table's mutex.
    int selections = 0;
};

struct Pen : Object {
    DWORD type() const override { return OBJ_PEN; }
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
    bool dcPen = false; // the DC_PEN stock pen: the DC's pen colour
};

struct Bitmap : Object {
    DWORD type() const override { return OBJ_BITMAP; }
    Surface surface;
    int bitsPixel = 32;
    SIZE dimension{};
    const DeviceContext* selectedInto = nullptr; // guarded by the table's mutex
};

struct Brush : Object {
    DWORD type() const override { return OBJ_BRUSH; }
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    Surface pattern;      // BS_PATTERN: a copy of the bitmap's pixels
    bool dcBrush = false; // the DC_BRUSH stock brush: the DC's brush colour
};

struct RegionObject : Object {
    DWORD type() const override { return OBJ_REGION; }
    Region region;
};

namespace table {

// The mutex guarding the table and every object's selection bookkeeping.
std::mutex& mutex();
// Adds an object and returns its handle (set in object->handle); null when the table is full.
HGDIOBJ insert(std::shared_ptr<Object> object);
// The live object behind a handle, or null (ERROR_INVALID_HANDLE).
std::shared_ptr<Object> get(HGDIOBJ handle);
template <class T> std::shared_ptr<T> getAs(HGDIOBJ handle) {
    auto object = std::dynamic_pointer_cast<T>(get(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}
// Removes a live handle; false for a stale or unknown one, and, when `unlessSelected`, for an
// object selected into a DC (checked under the same lock as the removal).
bool remove(HGDIOBJ handle, bool unlessSelected = false);
size_t live();

} // namespace table

// The stock object of an index (GetStockObject), or null.
std::shared_ptr<Object> stockObject(int index);
// A brush handle as FillRect takes it: a real brush or a system colour index plus one.
std::shared_ptr<Brush> brushArgument(HBRUSH brush);

// Cairo colour of a COLORREF.
void setSourceColor(cairo_t* cr, COLORREF color);

} // namespace pal::gdi
