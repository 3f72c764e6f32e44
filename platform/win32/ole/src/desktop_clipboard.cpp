// The bridge between the sandbox's clipboard and the desktop's, for text: what this program
// copies is offered to other programs, and text another program copied is brought in when this
// program next opens the clipboard. Without a desktop (the null display) the display answers
// nothing and the sandbox's clipboard stands alone.
#include "pal/detail/user_control.h"
#include "pal/ole/clipboard_bridge.h"
#include "win/ole.h"

#include <cstring>
#include <mutex>
#include <string>

namespace pal::ole {
namespace {

class DesktopBridge final : public ClipboardBridge {
public:
    void beforeOpen() override {
        const std::optional<std::wstring> text = pal::detail::desktopText();
        if (!text)
            return;
        {
            // The same text again is what is already here: the clipboard is not changed for it.
            std::lock_guard lock(mutex_);
            if (*text == last_)
                return;
            last_ = *text;
        }
        const size_t bytes = (text->size() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!block)
            return;
        std::memcpy(GlobalLock(block), text->c_str(), bytes);
        GlobalUnlock(block);
        if (!OpenClipboard(nullptr)) {
            GlobalFree(block);
            return;
        }
        EmptyClipboard();
        if (!SetClipboardData(CF_UNICODETEXT, block))
            GlobalFree(block);
        CloseClipboard();
    }

    void afterChange() override {
        if (!OpenClipboard(nullptr))
            return;
        std::wstring text;
        bool found = false;
        if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* p = static_cast<const wchar_t*>(GlobalLock(block))) {
                text.assign(p, wcsnlen(p, GlobalSize(block) / sizeof(wchar_t)));
                found = true;
                GlobalUnlock(block);
            }
        }
        CloseClipboard();
        if (!found)
            return;
        {
            std::lock_guard lock(mutex_);
            last_ = text;
        }
        pal::detail::offerDesktopText(text);
    }

private:
    std::mutex mutex_;
    std::wstring last_; // the text last exchanged with the desktop
};

// Installed at load: a program that uses the clipboard shares it with the desktop it runs on.
const bool installed = [] {
    static DesktopBridge bridge;
    setClipboardBridge(&bridge);
    return true;
}();

} // namespace
} // namespace pal::ole
