// Files dragged from the desktop's programs: the display brings each drag's file list here, on
// the thread of the window under the pointer, and a drop session over this program's windows
// answers as for a drag between its own programs (WM_DROPFILES for a window that accepts files,
// the registered target's own choice for the others).
#include "blocks.h"
#include "clipboard_store.h"
#include "drop_session.h"
#include "file_uris.h"
#include "medium.h"

#include "pal/detail/user_control.h"

#include <memory>
#include <string>

namespace pal::ole {
namespace {

class DesktopDrops final : public pal::detail::DesktopDrops {
public:
    DWORD over(POINT screen, const std::string& uris, DWORD allowed) override {
        if (!sessionFor(uris))
            return DROPEFFECT_NONE;
        DWORD effect = DROPEFFECT_NONE;
        session_->step(screen, MK_LBUTTON, allowed, effect);
        return effect;
    }

    DWORD drop(POINT screen, const std::string& uris, DWORD allowed) override {
        if (!sessionFor(uris))
            return DROPEFFECT_NONE;
        DWORD effect = DROPEFFECT_NONE;
        session_->step(screen, MK_LBUTTON, allowed, effect);
        const DWORD done = session_->drop(screen, 0, allowed);
        end();
        return done;
    }

    void leave() override { end(); }

private:
    // The session of the drag whose files these are, made at its first report.
    bool sessionFor(const std::string& uris) {
        if (session_ && uris == uris_)
            return true;
        end();
        const std::vector<std::wstring> paths = parseUriList(uris);
        if (paths.empty())
            return false;
        slot_ = ClipboardStore::instance().newSlot();
        if (slot_ < 0 ||
            !ClipboardStore::instance().put(slot_, CF_HDROP, buildDropFiles(paths, POINT{}, false)))
            return false;
        Ref<IDataObject> data(newStoredDataObject(slot_));
        session_ = std::make_unique<DropSession>(data.get());
        uris_ = uris;
        return true;
    }

    void end() {
        session_.reset();
        if (slot_ >= 0)
            ClipboardStore::instance().dropSlot(slot_);
        slot_ = -1;
        uris_.clear();
    }

    std::unique_ptr<DropSession> session_;
    std::int64_t slot_ = -1;
    std::string uris_;
};

// Installed at load: a program that takes drops takes them from the desktop too.
const bool installed = [] {
    static DesktopDrops drops;
    pal::detail::setDesktopDrops(&drops);
    return true;
}();

} // namespace
} // namespace pal::ole
