#include "desktop_drag.h"

#include "blocks.h"
#include "file_uris.h"
#include "medium.h"

namespace pal::ole {

DesktopDrag::DesktopDrag(IDataObject* data) : data_(data, true) {}

DesktopDrag::~DesktopDrag() {
    leave();
}

pal::detail::DragPlace DesktopDrag::placeOf(POINT point) {
    return pal::detail::desktopDragPlace(point);
}

DWORD DesktopDrag::step(POINT point, DWORD keys, DWORD ok) {
    if (!prepared_) {
        // The files the data carries, if any: nothing else crosses to other programs.
        prepared_ = true;
        FORMATETC f{static_cast<CLIPFORMAT>(CF_HDROP), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (const std::optional<std::string> block = renderFormat(data_.get(), f)) {
            if (const std::optional<DropList> list = parseDropFiles(*block); list && !list->paths.empty())
                offers_["text/uri-list"] = uriList(list->paths);
        }
    }
    if (offers_.empty())
        return DROPEFFECT_NONE;
    active_ = true;
    return pal::detail::desktopDragOver(point, offers_, ok, keys) & ok;
}

DWORD DesktopDrag::drop(DWORD ok) {
    if (!active_)
        return DROPEFFECT_NONE;
    active_ = false;
    return pal::detail::desktopDragDrop() & ok;
}

void DesktopDrag::leave() {
    if (active_)
        pal::detail::desktopDragLeave();
    active_ = false;
}

} // namespace pal::ole
