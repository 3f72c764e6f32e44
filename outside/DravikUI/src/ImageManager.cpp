#include "DravikUI/ImageManager.h"

#include "pal/path.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

namespace Dravik::UI {

namespace {

std::wstring folded(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::wstring extensionOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return {};
    return folded(path.substr(dot));
}

} // namespace

ImageManager* ImageManager::GetInstance(bool create) {
    static ImageManager* instance = nullptr;
    if (!instance && create)
        instance = new ImageManager;
    return instance;
}

void ImageManager::ReserveResources(std::initializer_list<int> sizes, int count) {
    m_reservedSizes.assign(sizes.begin(), sizes.end());
    m_reserved = std::max(count, 0);
}

UINT ImageManager::GetPathIconId(const std::wstring& path, bool remember, const IconFiles& files) {
    if (path.empty())
        return 0;
    const std::wstring key = folded(path);
    if (const auto known = m_pathIcons.find(key); known != m_pathIcons.end())
        return known->second;
    UINT id = 0;
    if (files) {
        for (const std::wstring& file : files(path)) {
            std::error_code ec;
            if (!std::filesystem::is_regular_file(pal::path::toNative(file), ec))
                continue;
            if ((id = AddCustomIconFromFile(file.c_str())) != 0)
                break;
        }
    }
    if (id == 0) {
        if (const auto byExtension = m_extensionIcons.find(extensionOf(path));
            byExtension != m_extensionIcons.end())
            id = byExtension->second;
    }
    if (remember)
        m_pathIcons[key] = id;
    return id;
}

void ImageManager::SetExtensionIcon(const std::wstring& extension, UINT iconId) {
    m_extensionIcons[folded(extension)] = iconId;
}

void ImageManager::ForgetPaths() {
    m_pathIcons.clear();
}

void ImageManager::ForgetPath(const std::wstring& path) {
    m_pathIcons.erase(folded(path));
}

} // namespace Dravik::UI
