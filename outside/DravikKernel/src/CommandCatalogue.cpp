#include "DravikKernel/CommandCatalogue.h"

#include "CatalogueTable.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/KernelServices.h"
#include "pal/text.h"

#include <algorithm>

namespace {

std::wstring text(unsigned id, const wchar_t* field) {
    const DVCatalogueCommand* command = DVFindCatalogueCommand(id);
    if (command == nullptr)
        return {};
    return Dravik::I18n::Translate(std::wstring(L"commands.") + command->name + L"." + field);
}

} // namespace

std::span<const DVCatalogueCommand> DVCommandCatalogue() {
    return {dvkernel::kCatalogue, dvkernel::kCatalogueSize};
}

const DVCatalogueCommand* DVFindCatalogueCommand(unsigned id) {
    const auto all = DVCommandCatalogue();
    const auto it = std::lower_bound(all.begin(), all.end(), id,
                                     [](const DVCatalogueCommand& c, unsigned key) { return c.id < key; });
    return it != all.end() && it->id == id ? &*it : nullptr;
}

std::wstring DVCatalogueCaption(unsigned id) {
    return text(id, L"caption");
}

std::wstring DVCatalogueTip(unsigned id) {
    std::wstring tip = text(id, L"tip");
    if (const DVCatalogueCommand* command = DVFindCatalogueCommand(id); command != nullptr && !command->runs)
        tip += L"\n" + Dravik::I18n::Translate("commands.not_in_this_kernel");
    return tip;
}

std::wstring DVCommandIconPath(unsigned id, bool dark) {
    const DVCatalogueCommand* command = DVFindCatalogueCommand(id);
    if (command == nullptr || command->icon == nullptr || *command->icon == 0)
        return {};
    const std::wstring name =
        std::wstring(dark ? L"Images\\Commands\\dark\\" : L"Images\\Commands\\light\\") +
        pal::text::fromUtf8(command->icon) + L".svg";
    return DVAppendProgramPath(name.c_str(), 0, false);
}

bool IsCommandVisible(unsigned id) {
    // Ids outside the command space name nothing a person could be shown.
    return id >= 1 && id <= 0xFFFF;
}
