#include "docbrowser/BrowserIcons.h"

#include "DravikKernel/KernelServices.h"
#include "xtp/ImageManager.h"

#include <string>

namespace DocumentsMenu {

namespace {

struct Icon {
    unsigned id;
    const wchar_t* file;
};

constexpr Icon kIcons[] = {
    {4300, L"view-list-tree"}, {4309, L"favorite"},      {4380, L"network-connect"},
    {4381, L"cloud-upload"},   {446, L"object-group"},   {4302, L"folder-open"},
    {4307, L"data-error"},     {4310, L"tab-duplicate"}, {40749, L"document-new"},
    {40753, L"view-visible"},  {40754, L"view-hidden"},  {40823, L"layer-visible-on"},
};

} // namespace

void LoadBrowserIcons(CXTPImageManager& images) {
    for (const Icon& icon : kIcons) {
        const std::wstring name = std::wstring(L"Images\\Commands\\light\\") + icon.file + L".svg";
        const std::wstring path = DVAppendProgramPath(name.c_str(), 0, false);
        if (auto handle = CXTPImageManagerVectorImageHandle::CreateSvgHandle(path.c_str()))
            images.SetVectorIcon(handle, icon.id);
    }
}

} // namespace DocumentsMenu
