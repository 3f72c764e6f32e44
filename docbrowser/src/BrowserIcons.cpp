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

// The collapse button's picture is 496, kept under its command 497.
constexpr Icon kToolBarIcons[] = {
    {690, L"folder-new"},    {691, L"document-open"},       {1912, L"document-import"},   {693, L"edit-find"},
    {696, L"dialog-cancel"}, {40780, L"view-list-details"}, {497, L"format-indent-less"},
};

template <std::size_t N> void load(CXTPImageManager& images, const Icon (&icons)[N], bool dark) {
    const std::wstring folder = dark ? L"Images\\Commands\\dark\\" : L"Images\\Commands\\light\\";
    for (const Icon& icon : icons) {
        const std::wstring name = folder + icon.file + L".svg";
        const std::wstring path = DVAppendProgramPath(name.c_str(), 0, false);
        if (auto handle = CXTPImageManagerVectorImageHandle::CreateSvgHandle(path.c_str()))
            images.SetVectorIcon(handle, icon.id);
    }
}

} // namespace

void LoadBrowserIcons(CXTPImageManager& images, bool dark) {
    load(images, kIcons, dark);
}

void LoadToolBarIcons(CXTPImageManager& images, bool dark) {
    load(images, kToolBarIcons, dark);
}

} // namespace DocumentsMenu
