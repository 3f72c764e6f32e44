#include "app/CommandStatistics.h"

#include "app/Dvw32App.h"

#include "DravikKernel/Commands.h"
#include "xtp/ImageManager.h"

#include <cwchar>
#include <iterator>

namespace dvapp {

namespace {

bool IsVectorSet(const CXTPImageManagerIconSet* set) {
    if (set == nullptr)
        return false;
    for (const auto& [width, icon] : set->GetIcons()) {
        if (icon && icon->IsVectorIcon())
            return true;
    }
    return false;
}

} // namespace

bool IsSpecialCommandId(unsigned id) {
    if (id == 3002 || (id >= 35000 && id <= 35003) || (id >= 1190 && id <= 1199))
        return true;
    const CDvw32App* app = GetDvw32App();
    const IApplicationCommand* command = app != nullptr ? app->GetApplicationCommand(id) : nullptr;
    return command != nullptr && command->IsInternal();
}

CommandStatistics CountCommandStatistics(const CXTPImageManager& images) {
    CommandStatistics statistics;
    for (UINT id : images.GetCommands()) {
        const CXTPImageManagerIconSet* set = images.GetIconSet(id);
        if (set == nullptr)
            continue;
        for (const auto& [width, icon] : set->GetIcons()) {
            ++statistics.icons;
            if (icon && icon->IsVectorIcon())
                ++statistics.vectorIcons;
        }
    }
    DVCommandContainer& registry = DVCommandContainer::Instance();
    for (unsigned id : registry.GetCommandIds()) {
        const std::optional<std::wstring> name = registry.GetCommandName(id);
        if (IsSpecialCommandId(id) || !name || name->empty())
            continue;
        ++statistics.commands;
        if (const CXTPImageManagerIconSet* set = images.GetIconSet(id)) {
            ++statistics.commandIcons;
            if (IsVectorSet(set))
                ++statistics.commandVectorIcons;
        }
    }
    return statistics;
}

std::wstring FormatCommandStatistics(const CommandStatistics& s) {
    wchar_t text[512];
    std::swprintf(text, std::size(text),
                  L"%u system command(s)\n%u system command icon(s): %u raster + %u vector\n"
                  L"%u icon(s) total: %u raster + %u vector",
                  s.commands, s.commandIcons, s.commandIcons - s.commandVectorIcons, s.commandVectorIcons,
                  s.icons, s.icons - s.vectorIcons, s.vectorIcons);
    return text;
}

} // namespace dvapp
