// The UI library's image manager: the tool kit's, with icons for paths. A document or a library
// folder shows an icon that is found once and kept under a command id of its own.
#pragma once

#include "pal/visibility.h"
#include "xtp/ImageManager.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class ImageManager : public CXTPImageManager {
public:
    // The library's shared image manager; made on the first call that asks for it.
    static ImageManager* GetInstance(bool create);

    // Room for `count` images at each size, asked for before the program loads its icons.
    void ReserveResources(std::initializer_list<int> sizes, int count);
    int GetReservedCount() const { return m_reserved; }
    const std::vector<int>& GetReservedSizes() const { return m_reservedSizes; }

    // The icon files to try for a path, in order (a library folder: its "icon.ico").
    using IconFiles = std::function<std::vector<std::wstring>(const std::wstring& path)>;
    // The icon id of a path: the first of `files` that holds an image, else the icon given to
    // the path's extension (SetExtensionIcon); 0 when there is none. With `remember` the answer,
    // found or not, is kept for the path (compared without case) until ForgetPaths.
    UINT GetPathIconId(const std::wstring& path, bool remember, const IconFiles& files = {});
    // The icon that paths with this extension show (".grb"); compared without case.
    void SetExtensionIcon(const std::wstring& extension, UINT iconId);
    void ForgetPaths();
    // Forgets the icon kept for one path, as its file may have changed (compared without case).
    void ForgetPath(const std::wstring& path);

private:
    int m_reserved = 0;
    std::vector<int> m_reservedSizes;
    std::map<std::wstring, UINT> m_pathIcons;
    std::map<std::wstring, UINT> m_extensionIcons;
};

} // namespace Dravik::UI

DV_EXPORTS_END
