#include "DravikUI/CommandIcons.h"

#include "DravikKernel/CommandCatalogue.h"
#include "pal/text.h"
#include "xtp/ImageManager.h"

#include <cwctype>
#include <map>
#include <mutex>
#include <string>

namespace Dravik::UI {
namespace {

// Each file is parsed once however many frames show it.
CXTPImageManagerVectorImageHandle picture(const std::wstring& path) {
    static std::mutex mutex;
    static std::map<std::wstring, CXTPImageManagerVectorImageHandle> parsed;
    std::lock_guard lock(mutex);
    auto it = parsed.find(path);
    if (it == parsed.end())
        it = parsed.emplace(path, CXTPImageManagerVectorImageHandle::CreateSvgHandle(path.c_str())).first;
    return it->second;
}

// A letter or digit needs no escaping inside the SVG text.
std::string letterOf(std::wstring_view caption) {
    for (wchar_t c : caption)
        if (std::iswalnum(static_cast<wint_t>(c)))
            return pal::text::toUtf8(
                std::wstring(1, static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)))));
    return "?";
}

} // namespace

CXTPImageManagerVectorImageHandle FallbackCommandIcon(std::wstring_view caption, bool dark) {
    const char* frame = dark ? "#bdc3c7" : "#3d5670";
    const char* ink = dark ? "#5dade2" : "#2f80d0";
    const std::string svg =
        std::string(
            R"(<svg xmlns="http://www.w3.org/2000/svg" width="22" height="22" viewBox="0 0 22 22">)") +
        R"(<rect x="2.5" y="2.5" width="17" height="17" rx="3" fill="none" stroke=")" + frame +
        R"(" stroke-width="1.5"/><text x="11" y="15.5" font-family="DejaVu Sans" font-size="11" )" +
        R"(font-weight="bold" text-anchor="middle" fill=")" + ink + R"(">)" + letterOf(caption) +
        "</text></svg>";
    return CXTPImageManagerVectorImageHandle::CreateSvgHandle(svg.data(), svg.size());
}

void LoadCommandIcons(CXTPImageManager& images, bool dark) {
    for (const DVCatalogueCommand& command : DVCommandCatalogue()) {
        if (images.GetIconSet(command.id) != nullptr && !images.IsVectorIcon(command.id))
            continue;
        const std::wstring path = DVCommandIconPath(command.id, dark);
        CXTPImageManagerVectorImageHandle handle =
            path.empty() ? CXTPImageManagerVectorImageHandle() : picture(path);
        if (!handle)
            handle = FallbackCommandIcon(DVCatalogueCaption(command.id), dark);
        images.SetVectorIcon(handle, command.id);
    }
}

} // namespace Dravik::UI
