// The bridge between the sandbox's clipboard and the desktop's: what this program copies is
// offered to other programs, and what another program copied is brought in when this program
// next opens the clipboard. Text is UTF8_STRING on the desktop; a file list (CF_HDROP) is
// text/uri-list, and, with the effect a file manager's paste carries out ("Preferred
// DropEffect"), x-special/gnome-copied-files. Without a desktop (the null display) the display
// answers nothing and the sandbox's clipboard stands alone.
#include "blocks.h"
#include "file_uris.h"

#include "pal/detail/user_control.h"
#include "pal/ole/clipboard_bridge.h"
#include "pal/text.h"
#include "win/ole.h"

#include <cstring>
#include <mutex>
#include <string>

namespace pal::ole {
namespace {

constexpr char kText[] = "UTF8_STRING";
constexpr char kUris[] = "text/uri-list";
constexpr char kCopiedFiles[] = "x-special/gnome-copied-files";

UINT preferredEffectFormat() {
    static const UINT format = RegisterClipboardFormatW(L"Preferred DropEffect");
    return format;
}

bool put(UINT format, const std::string& bytes) {
    HGLOBAL block = globalOf(bytes);
    if (!block)
        return false;
    if (SetClipboardData(format, block))
        return true;
    GlobalFree(block);
    return false;
}

std::optional<std::string> get(UINT format) {
    HANDLE block = GetClipboardData(format);
    return block ? bytesOf(block) : std::nullopt;
}

class DesktopBridge final : public ClipboardBridge {
public:
    void beforeOpen() override {
        std::optional<pal::detail::DesktopData> data = pal::detail::desktopData({kText, kUris, kCopiedFiles});
        if (!data || data->empty())
            return;
        {
            // The same content again is what is already here: the clipboard is not changed for it.
            std::lock_guard lock(mutex_);
            if (*data == last_)
                return;
            last_ = *data;
        }
        if (!OpenClipboard(nullptr))
            return;
        EmptyClipboard();
        if (auto text = data->find(kText); text != data->end()) {
            const std::wstring wide = pal::text::fromUtf8(text->second);
            put(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(wide.c_str()),
                                            (wide.size() + 1) * sizeof(wchar_t)));
        }
        // A file manager's own list says whether its paste moves the files; a plain list copies.
        std::optional<FileList> files;
        if (auto copied = data->find(kCopiedFiles); copied != data->end())
            files = parseCopiedFiles(copied->second);
        if (auto uris = data->find(kUris); !files && uris != data->end())
            files = FileList{parseUriList(uris->second), DROPEFFECT_COPY};
        if (files && !files->paths.empty()) {
            put(CF_HDROP, buildDropFiles(files->paths, POINT{}, false));
            const DWORD effect = files->effect;
            put(preferredEffectFormat(), std::string(reinterpret_cast<const char*>(&effect), sizeof effect));
        }
        CloseClipboard();
    }

    void afterChange() override {
        if (!OpenClipboard(nullptr))
            return;
        pal::detail::DesktopData offers;
        if (const auto text = get(CF_UNICODETEXT)) {
            const auto* p = reinterpret_cast<const wchar_t*>(text->data());
            offers[kText] = pal::text::toUtf8(std::wstring(p, wcsnlen(p, text->size() / sizeof(wchar_t))));
        }
        if (const auto list = get(CF_HDROP)) {
            if (const std::optional<DropList> files = parseDropFiles(*list)) {
                DWORD effect = DROPEFFECT_COPY;
                if (const auto preferred = get(preferredEffectFormat());
                    preferred && preferred->size() >= sizeof effect)
                    std::memcpy(&effect, preferred->data(), sizeof effect);
                offers[kUris] = uriList(files->paths);
                offers[kCopiedFiles] = copiedFiles(FileList{files->paths, effect});
            }
        }
        CloseClipboard();
        if (offers.empty())
            return;
        {
            std::lock_guard lock(mutex_);
            last_ = offers;
        }
        pal::detail::offerDesktopData(offers);
    }

private:
    std::mutex mutex_;
    pal::detail::DesktopData last_; // what was last exchanged with the desktop
};

// Installed at load: a program that uses the clipboard shares it with the desktop it runs on.
const bool installed = [] {
    static DesktopBridge bridge;
    setClipboardBridge(&bridge);
    return true;
}();

} // namespace
} // namespace pal::ole
