#include "dc.h"

#include "win/error.h"

namespace pal::gdi {

DeviceContext::~DeviceContext() {
    if (cr_)
        cairo_destroy(cr_);
}

void DeviceContext::setTarget(Surface surface, POINT origin, Region visible) {
    target_ = std::move(surface);
    origin_ = origin;
    visible_ = std::move(visible);
    changed();
}

void DeviceContext::countSelections(const DcState& state, int delta) {
    for (Object* o : {static_cast<Object*>(state.pen.get()), static_cast<Object*>(state.brush.get()),
                      state.font.get(), static_cast<Object*>(state.bitmap.get())}) {
        if (o)
            o->selections += delta;
    }
    if (state.bitmap && !state.bitmap->stock)
        state.bitmap->selectedInto = delta > 0 ? this : nullptr;
}

void DeviceContext::select(DcState& state, const std::shared_ptr<Object>& object,
                           std::shared_ptr<Object>& previous) {
    auto swap = [&](auto& slot) {
        using T = typename std::remove_reference_t<decltype(slot)>::element_type;
        previous = slot;
        if (slot)
            --slot->selections;
        slot = std::static_pointer_cast<T>(object);
        ++slot->selections;
    };
    switch (object->type()) {
    case OBJ_PEN:
        swap(state.pen);
        break;
    case OBJ_BRUSH:
        swap(state.brush);
        break;
    case OBJ_FONT:
        swap(state.font);
        break;
    case OBJ_BITMAP:
        swap(state.bitmap);
        break;
    default:
        break;
    }
}

int DeviceContext::save() {
    std::lock_guard lock(table::mutex());
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool DeviceContext::restore(int level) {
    const int count = static_cast<int>(saved_.size());
    const int index = level < 0 ? count + level : level - 1;
    if (level == 0 || index < 0 || index >= count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    DcState restored = std::move(saved_[index]);
    // A bitmap selected elsewhere since the save cannot come back into this DC.
    {
        std::lock_guard lock(table::mutex());
        if (restored.bitmap && !restored.bitmap->stock && restored.bitmap->selectedInto &&
            restored.bitmap->selectedInto != this)
            restored.bitmap = state_.bitmap;
        countSelections(state_, -1);
        state_ = std::move(restored);
        countSelections(state_, +1);
    }
    saved_.resize(index);
    changed();
    return true;
}

const Surface& DeviceContext::surface() const {
    if (memory_) {
        static const Surface none;
        return state_.bitmap ? state_.bitmap->surface : none;
    }
    return target_;
}

const Region& DeviceContext::drawable() {
    const Surface& s = surface();
    if (drawableValid_ && drawableSurface_ == s.get())
        return drawable_;
    drawable_ = s ? Region(RECT{0, 0, s.width(), s.height()}) : Region();
    if (!memory_)
        drawable_.intersect(visible_);
    if (state_.clip) {
        Region clip = *state_.clip;
        clip.offset(origin().x, origin().y);
        drawable_.intersect(clip);
    }
    drawableValid_ = true;
    drawableSurface_ = s.get();
    return drawable_;
}

POINT DeviceContext::toSurface(POINT p) const {
    return POINT{p.x + dx(), p.y + dy()};
}

RECT DeviceContext::toSurface(const RECT& r) const {
    RECT out = r;
    OffsetRect(&out, dx(), dy());
    return out;
}

POINT DeviceContext::deviceToLogical(POINT p) const {
    return POINT{p.x - state_.viewportOrg.x + state_.windowOrg.x,
                 p.y - state_.viewportOrg.y + state_.windowOrg.y};
}

cairo_t* DeviceContext::cairo() {
    const Surface& s = surface();
    if (!s)
        return nullptr;
    if (cr_ && crSurface_ != s.get()) {
        cairo_destroy(cr_);
        cr_ = nullptr;
    }
    if (!cr_) {
        cr_ = cairo_create(s.get());
        crSurface_ = s.get();
        dirty_ = true;
    }
    if (dirty_) {
        const Region& area = drawable();
        cairo_reset_clip(cr_);
        cairo_identity_matrix(cr_);
        cairo_new_path(cr_);
        for (const RECT& r : area.rects())
            cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (area.empty())
            cairo_rectangle(cr_, 0, 0, 0, 0);
        cairo_clip(cr_);
        cairo_translate(cr_, dx(), dy());
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        dirty_ = false;
    }
    return cr_;
}

std::shared_ptr<DeviceContext> makeDC(bool memory, HWND window) {
    auto dc = std::make_shared<DeviceContext>(memory, window);
    DcState& s = dc->state_;
    s.pen = std::static_pointer_cast<Pen>(stockObject(BLACK_PEN));
    s.brush = std::static_pointer_cast<Brush>(stockObject(WHITE_BRUSH));
    s.font = stockObject(SYSTEM_FONT);
    if (memory)
        s.bitmap = std::static_pointer_cast<Bitmap>(stockObject(-1));
    std::lock_guard lock(table::mutex());
    dc->countSelections(s, +1);
    return dc;
}

std::shared_ptr<DeviceContext> dcOf(HDC dc) {
    return table::getAs<DeviceContext>(dc);
}

void releaseSelections(DeviceContext& dc) {
    std::lock_guard lock(table::mutex());
    auto drop = [&](Object* o) {
        if (o)
            --o->selections;
    };
    drop(dc.state().pen.get());
    drop(dc.state().brush.get());
    drop(dc.state().font.get());
    if (auto& b = dc.state().bitmap) {
        drop(b.get());
        if (!b->stock)
            b->selectedInto = nullptr;
    }
    dc.state() = DcState{};
}

HDC createWindowDC(const WindowTarget& target) {
    auto dc = makeDC(false, target.window);
    dc->setTarget(target.surface, target.origin, target.visible);
    return static_cast<HDC>(table::insert(dc));
}

bool releaseWindowDC(HDC handle) {
    auto dc = dcOf(handle);
    if (!dc || dc->memory())
        return false;
    releaseSelections(*dc);
    return table::remove(handle);
}

HWND windowOfDC(HDC handle) {
    auto dc = dcOf(handle);
    return dc ? dc->window() : nullptr;
}

Surface surfaceOf(HDC handle) {
    auto dc = dcOf(handle);
    return dc ? dc->surface() : Surface();
}

Surface surfaceOf(HBITMAP handle) {
    auto bitmap = table::getAs<Bitmap>(handle);
    return bitmap ? bitmap->surface : Surface();
}

size_t liveObjects() {
    return table::live();
}

} // namespace pal::gdi

using namespace pal::gdi;

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !dcOf(dc))
        return nullptr;
    return static_cast<HDC>(table::insert(makeDC(true, nullptr)));
}

BOOL DeleteDC(HDC handle) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    releaseSelections(*dc);
    return table::remove(handle) ? TRUE : FALSE;
}

int GetDeviceCaps(HDC handle, int index) {
    auto dc = dcOf(handle);
    if (!dc)
        return 0;
    const Surface& s = dc->surface();
    switch (index) {
    case HORZRES:
        return s ? s.width() : 0;
    case VERTRES:
        return s ? s.height() : 0;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    default:
        return 0;
    }
}

int SaveDC(HDC handle) {
    auto dc = dcOf(handle);
    return dc ? dc->save() : 0;
}

BOOL RestoreDC(HDC handle, int level) {
    auto dc = dcOf(handle);
    return dc && dc->restore(level) ? TRUE : FALSE;
}

namespace {

// Reads or changes one field of a DC's state: answers the previous value, or `failure`.
template <class T, class F>
T exchange(HDC handle, T failure, F&& field, const T* value, bool geometry = false) {
    auto dc = dcOf(handle);
    if (!dc)
        return failure;
    T& slot = field(dc->state());
    const T previous = slot;
    if (value) {
        slot = *value;
        if (geometry)
            dc->changed();
    }
    return previous;
}

BOOL setOrigin(HDC handle, POINT DcState::*member, int x, int y, bool relative, LPPOINT previous) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    POINT& p = dc->state().*member;
    if (previous)
        *previous = p;
    p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
    dc->changed();
    return TRUE;
}

BOOL getPoint(HDC handle, POINT DcState::*member, LPPOINT out) {
    auto dc = dcOf(handle);
    if (!dc || !out)
        return FALSE;
    *out = dc->state().*member;
    return TRUE;
}

} // namespace

int SetMapMode(HDC dc, int mode) {
    // Only MM_TEXT is kept: one logical unit is one pixel, y grows downwards.
    if (mode != MM_TEXT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return exchange<int>(
        dc, 0, [](DcState& s) -> int& { return s.mapMode; }, &mode);
}
int GetMapMode(HDC dc) {
    return exchange<int>(
        dc, 0, [](DcState& s) -> int& { return s.mapMode; }, nullptr);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return setOrigin(dc, &DcState::windowOrg, x, y, false, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) {
    return getPoint(dc, &DcState::windowOrg, origin);
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return setOrigin(dc, &DcState::windowOrg, dx, dy, true, previous);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return setOrigin(dc, &DcState::viewportOrg, x, y, false, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return getPoint(dc, &DcState::viewportOrg, origin);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return setOrigin(dc, &DcState::viewportOrg, dx, dy, true, previous);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return setOrigin(dc, &DcState::brushOrg, x, y, false, previous);
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
    auto dc = dcOf(handle);
    if (!dc || (!points && count > 0))
        return FALSE;
    const DcState& s = dc->state();
    for (int i = 0; i < count; ++i) {
        points[i].x += s.viewportOrg.x - s.windowOrg.x;
        points[i].y += s.viewportOrg.y - s.windowOrg.y;
    }
    return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
    auto dc = dcOf(handle);
    if (!dc || (!points && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->deviceToLogical(points[i]);
    return TRUE;
}

#define DV_DC_FIELD(Type, Set, Get, member, failure)                                                         \
    Type Set(HDC dc, Type value) {                                                                           \
        return exchange<Type>(                                                                               \
            dc, failure, [](DcState& s) -> Type& { return s.member; }, &value);                              \
    }                                                                                                        \
    Type Get(HDC dc) {                                                                                       \
        return exchange<Type>(                                                                               \
            dc, failure, [](DcState& s) -> Type& { return s.member; }, nullptr);                             \
    }
DV_DC_FIELD(COLORREF, SetBkColor, GetBkColor, bkColor, CLR_INVALID)
DV_DC_FIELD(COLORREF, SetTextColor, GetTextColor, textColor, CLR_INVALID)
DV_DC_FIELD(COLORREF, SetDCBrushColor, GetDCBrushColor, dcBrushColor, CLR_INVALID)
DV_DC_FIELD(COLORREF, SetDCPenColor, GetDCPenColor, dcPenColor, CLR_INVALID)
#undef DV_DC_FIELD

namespace {
template <class Check> int setMode(HDC dc, int DcState::*member, int mode, Check valid) {
    if (!valid(mode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return exchange<int>(
        dc, 0, [member](DcState& s) -> int& { return s.*member; }, &mode);
}
int getMode(HDC dc, int DcState::*member) {
    return exchange<int>(
        dc, 0, [member](DcState& s) -> int& { return s.*member; }, nullptr);
}
} // namespace

int SetBkMode(HDC dc, int mode) {
    return setMode(dc, &DcState::bkMode, mode, [](int m) { return m == TRANSPARENT || m == OPAQUE; });
}
int GetBkMode(HDC dc) {
    return getMode(dc, &DcState::bkMode);
}
int SetROP2(HDC dc, int mode) {
    return setMode(dc, &DcState::rop2, mode, [](int m) { return m >= R2_BLACK && m <= R2_WHITE; });
}
int GetROP2(HDC dc) {
    return getMode(dc, &DcState::rop2);
}
int SetStretchBltMode(HDC dc, int mode) {
    return setMode(dc, &DcState::stretchMode, mode, [](int m) { return m >= BLACKONWHITE && m <= HALFTONE; });
}
int GetStretchBltMode(HDC dc) {
    return getMode(dc, &DcState::stretchMode);
}
int SetPolyFillMode(HDC dc, int mode) {
    return setMode(dc, &DcState::polyFillMode, mode, [](int m) { return m == ALTERNATE || m == WINDING; });
}
int GetPolyFillMode(HDC dc) {
    return getMode(dc, &DcState::polyFillMode);
}
