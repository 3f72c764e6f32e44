// The global context menus: one file of named menus whose commands are named by the
// identifiers the shell registered ("CM_ELEM_PROPERTIES").
#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/XML.h"

#include "NodeText.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"

#include <map>
#include <mutex>

namespace Dravik::UI {
namespace {

using namespace dvui::xml;
namespace TN = XML::TagNames;
namespace A = XML::AttributeNames;

struct Menus {
    std::mutex mutex;
    std::map<std::wstring, XML::ToolBar, std::less<>> byName;
};

Menus& menus() {
    static Menus* m = new Menus;
    return *m;
}

void readItems(const XML::Node& parent, std::vector<XML::Control>& controls, int depth) {
    bool group = false;
    for (XML::Node child = parent.firstChild(); child; child = child.nextSibling()) {
        if (!XML::IsApplicable(child))
            continue;
        if (isNamed(child, TN::Separator)) {
            group = true;
            continue;
        }
        XML::Control control;
        control.caption = child.attribute(A::Caption).value_or(L"");
        if (isNamed(child, TN::Popup)) {
            if (depth >= kMaxNesting) {
                logSkipped(child, "popups nested too deeply");
                continue;
            }
            control.tag = std::wstring(TN::Popup);
            readItems(child, control.controls, depth + 1);
        } else if (isNamed(child, TN::Command)) {
            control.tag = std::wstring(TN::Button);
            if (const auto name = child.attribute(A::Name)) {
                const auto id = GlobalContextMenuContainer::FindCommandId(*name);
                if (!id) {
                    logSkipped(child, "the command identifier is not registered");
                    continue;
                }
                control.id = *id;
            } else if (const auto id = child.attribute(A::Id); id && parseInt(*id) && *parseInt(*id) > 0) {
                control.id = *parseInt(*id);
            } else {
                logSkipped(child, "a command with neither a registered name nor an id");
                continue;
            }
        } else {
            logSkipped(child, "not a context-menu item");
            continue;
        }
        control.beginGroup = group && !controls.empty();
        group = false;
        controls.push_back(std::move(control));
    }
}

} // namespace

bool GlobalContextMenuContainer::Load(const std::filesystem::path& file) {
    XML::Document document;
    const pal::xml::LoadResult parsed = document.loadFile(file);
    if (!parsed) {
        DVLog_Write(DVLogOptionalFailure, "UI XML: the context menus \"%s\" cannot be read: %s",
                    file.string().c_str(), parsed.message.c_str());
        return false;
    }
    const XML::Node root = document.root();
    if (!isNamed(root, TN::ContextMenus)) {
        DVLog_Write(DVLogOptionalFailure, "UI XML: \"%s\" holds no context menus", file.string().c_str());
        return false;
    }
    if (!IsRegistrationComplete())
        DVLog_Write(DVLogWarning, "UI XML: context menus read before the commands were registered");
    std::map<std::wstring, XML::ToolBar, std::less<>> loaded;
    for (XML::Node child = root.firstChild(); child; child = child.nextSibling()) {
        if (!XML::IsApplicable(child))
            continue;
        const auto name = child.attribute(A::Name);
        if (!isNamed(child, TN::ContextMenu) || !name || name->empty()) {
            logSkipped(child, "not a named context menu");
            continue;
        }
        if (loaded.count(*name)) {
            logSkipped(child, "a second context menu with the same name");
            continue;
        }
        XML::ToolBar menu;
        menu.caption = *name;
        readItems(child, menu.controls, 1);
        loaded.emplace(*name, std::move(menu));
    }
    std::lock_guard lock(menus().mutex);
    menus().byName = std::move(loaded);
    return true;
}

std::optional<XML::ToolBar> GlobalContextMenuContainer::GetContextMenu(std::wstring_view name) {
    std::lock_guard lock(menus().mutex);
    const auto found = menus().byName.find(name);
    if (found == menus().byName.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::wstring> GlobalContextMenuContainer::GetContextMenuNames() {
    std::lock_guard lock(menus().mutex);
    std::vector<std::wstring> names;
    for (const auto& [name, menu] : menus().byName)
        names.push_back(name);
    return names;
}

} // namespace Dravik::UI
