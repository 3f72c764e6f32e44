#include "drop_session.h"

#include "blocks.h"
#include "medium.h"

namespace pal::ole {

struct DropSession::Site {
    HWND hwnd = nullptr;
    Ref<IDropTarget> target; // null for a window that accepts files
    bool refused = false;    // DragEnter failed: the target takes no further part
    // The window accepts files as well as having a target: a file list the target declines
    // still arrives as WM_DROPFILES.
    bool acceptsFiles = false;
    bool asFiles = false; // a drop now would be WM_DROPFILES, not the target's
    DWORD effect = DROPEFFECT_NONE;
};

namespace {

POINTL pointl(POINT p) {
    return POINTL{p.x, p.y};
}

bool offersFiles(IDataObject* data) {
    FORMATETC f{static_cast<CLIPFORMAT>(CF_HDROP), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data && data->QueryGetData(&f) == S_OK;
}

} // namespace

DropSession::DropSession(IDataObject* data) : data_(data, true) {}

DropSession::~DropSession() {
    leave();
}

std::unique_ptr<DropSession::Site> DropSession::siteFor(HWND hwnd) const {
    for (HWND w = hwnd; w; w = GetParent(w)) {
        const bool acceptsFiles = GetWindowLongW(w, GWL_EXSTYLE) & static_cast<LONG>(WS_EX_ACCEPTFILES);
        IDropTarget* t = registeredTarget(w);
        if (t || acceptsFiles) {
            auto site = std::make_unique<Site>();
            site->hwnd = w;
            site->target.reset(t);
            site->acceptsFiles = acceptsFiles;
            return site;
        }
        if (GetWindowLongW(w, GWL_STYLE) & static_cast<LONG>(WS_CHILD)) // owners are not parents
            continue;
        break;
    }
    return nullptr;
}

// The target's answer stands; where it takes nothing, a window that accepts files takes a file
// list as a copy.
DWORD DropSession::answer(DWORD targetEffect, DWORD ok) {
    Site& s = *site_;
    s.asFiles = targetEffect == DROPEFFECT_NONE && s.acceptsFiles && offersFiles(data_.get());
    return s.effect = s.asFiles ? (DROPEFFECT_COPY & ok) : targetEffect;
}

DWORD DropSession::enter(POINT point, DWORD keys, DWORD ok) {
    Site& s = *site_;
    DWORD effect = ok;
    if (s.target && FAILED(s.target->DragEnter(data_.get(), keys, pointl(point), &effect))) {
        s.refused = true;
        effect = DROPEFFECT_NONE;
    }
    return answer(s.target ? effect & ok : DROPEFFECT_NONE, ok);
}

bool DropSession::step(POINT point, DWORD keys, DWORD ok, DWORD& effect) {
    effect = DROPEFFECT_NONE;
    HWND under = WindowFromPoint(point);
    if (!under) {
        leave();
        return false;
    }
    std::unique_ptr<Site> here = siteFor(under);
    if (!here || !site_ || here->hwnd != site_->hwnd) {
        leave();
        site_ = std::move(here);
        if (site_)
            effect = enter(point, keys, ok);
        return true;
    }
    Site& s = *site_;
    if (s.target && !s.refused) {
        DWORD e = ok;
        answer(SUCCEEDED(s.target->DragOver(keys, pointl(point), &e)) ? (e & ok) : DROPEFFECT_NONE, ok);
    }
    effect = s.effect;
    return true;
}

DWORD DropSession::drop(POINT point, DWORD keys, DWORD ok) {
    std::unique_ptr<Site> s = std::move(site_);
    if (!s)
        return DROPEFFECT_NONE;
    // A target that does not take the drop is told the drag left it.
    if (s->target && !s->refused && (s->effect == DROPEFFECT_NONE || s->asFiles))
        s->target->DragLeave();
    if (s->effect == DROPEFFECT_NONE)
        return DROPEFFECT_NONE;
    if (s->asFiles) {
        FORMATETC f{static_cast<CLIPFORMAT>(CF_HDROP), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        const std::optional<std::string> list = renderFormat(data_.get(), f);
        return list && postDropFiles(s->hwnd, *list, point) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DWORD effect = ok;
    if (FAILED(s->target->Drop(data_.get(), keys, pointl(point), &effect)))
        return DROPEFFECT_NONE;
    return effect & ok;
}

void DropSession::leave() {
    std::unique_ptr<Site> s = std::move(site_);
    if (s && s->target && !s->refused)
        s->target->DragLeave();
}

bool postDropFiles(HWND hwnd, const std::string& list, POINT screen) {
    const std::optional<DropList> parsed = parseDropFiles(list);
    if (!parsed)
        return false;
    POINT client = screen;
    ScreenToClient(hwnd, &client);
    HGLOBAL block = globalOf(buildDropFiles(parsed->paths, client, false));
    if (!block)
        return false;
    if (!PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

} // namespace pal::ole
