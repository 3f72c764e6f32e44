// The commands add-ons register through the kernel, their icons in every image manager in use,
// and their places in the ribbon's system menu.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "frame/MainFrame.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "XTToolkitPro.h"
#include "afx/find_resource.h"
#include "ribbon/CommandDescriptions.h"
#include "ribbon/FindCommandWnd.h"
#include "ribbon/RibbonBackstage.h"
#include "win/module_resources.h"

#include "win/system/file.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

// Where a new system-menu entry goes when its neighbour is not there: before the recent-file
// list or the exit entry.
constexpr int kSystemMenuAnchors[] = {1019, 57616, 57665};

bool MayCreateTools() {
    return GlobalContainer::Instance().InAppCreateToolsMode();
}

// The status-line prompt an add-on's command shows: the kernel's text of the add-on's own
// number, else the name it registered the number under.
std::wstring PromptOf(const IApplicationCommand& command) {
    const auto internalId = static_cast<unsigned>(command.GetInternalID());
    std::wstring prompt = GlobalContainer::Instance().GetCmdStr(internalId);
    if (prompt.empty())
        prompt = DVCommandContainer::Instance().GetCommandName(internalId).value_or(std::wstring());
    return prompt;
}

// The command strings of an add-on's command from its prompt and the texts it gave, and the card
// its tips show: application commands have no description files, so the kernel's texts are all
// a card can say.
void ApplyTooltip(UINT id, const IApplicationCommand& command, const CommandTooltipInfo& tooltip) {
    auto strings = UIModuleProxy::CommandStrings::FromPromptString(PromptOf(command));
    if (!tooltip.title.empty()) {
        if (strings.Title == strings.Caption)
            strings.Title = tooltip.title;
        strings.Caption = tooltip.title;
    }
    if (!tooltip.description.empty()) {
        if (strings.ToolTip == strings.Description)
            strings.ToolTip = tooltip.description;
        strings.Description = tooltip.description;
    }
    if (!tooltip.text.empty())
        strings.Extended = tooltip.text;
    UIModuleProxy::Instance().SetCommandStrings(id, strings);

    CommandDescriptionRecord card;
    const auto internalId = static_cast<unsigned>(command.GetInternalID());
    card.name = DVCommandContainer::Instance().GetCommandName(internalId).value_or(std::wstring());
    card.title = strings.Title;
    card.description = strings.ToolTip;
    if (card.description == card.title)
        card.description.clear();
    card.extendedDescription = strings.Extended;
    card.keyboardCall = CommandKeyboardCall(id, L"", strings.Shortcut, nullptr);
    // A command registered again keeps the card it was first given, as the cache keeps records.
    CacheCommandDescription(id, card);
}

// The menu the ribbon's File button opens: its backstage or its plain menu; null without one.
CXTPCommandBar* SystemMenuOf(CMainFrame& frame) {
    CXTPRibbonBar* ribbon = frame.GetRibbonBar();
    if (ribbon == nullptr)
        return nullptr;
    if (CXTPRibbonBackstageView* backstage = ribbon->GetBackstageView())
        return backstage;
    CXTPRibbonControlSystemButton* file = ribbon->GetSystemButton();
    return file != nullptr ? file->GetCommandBar() : nullptr;
}

int InsertionIndex(CXTPControls& controls, UINT neighbour, bool after, bool backstage) {
    for (int i = 0; i < controls.GetCount(); ++i)
        if (controls.GetAt(i)->GetID() == static_cast<int>(neighbour))
            return after ? i + 1 : i;
    for (int i = 0; i < controls.GetCount(); ++i) {
        CXTPControl* control = controls.GetAt(i);
        if (std::ranges::find(kSystemMenuAnchors, control->GetID()) != std::end(kSystemMenuAnchors))
            return i;
        if (auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control);
            backstage && tab != nullptr && dynamic_cast<RecentFilesBackstagePage*>(tab->GetControlPane()))
            return i;
    }
    return controls.GetCount();
}

} // namespace

void ServerAppProxy::ForEachImageManager(const std::function<void(CXTPImageManager&)>& action) {
    std::vector<CXTPImageManager*> managers{XTPImageManager()};
    for (CMainFrame* frame : CDvw32App::GetMainFrames())
        if (CXTPCommandBars* bars = frame->GetCommandBars())
            managers.push_back(bars->GetImageManager());
    std::erase(managers, nullptr);
    std::ranges::sort(managers);
    managers.erase(std::unique(managers.begin(), managers.end()), managers.end());
    for (CXTPImageManager* manager : managers)
        action(*manager);
}

void ServerAppProxy::OnApplicationCommand(UINT id) {
    app_.OnApplicationCommand(id);
}

std::size_t ServerAppProxy::GetApplicationCommandCount() {
    return app_.GetApplicationCommandCount();
}

IApplicationCommand* ServerAppProxy::GetApplicationCommandAt(std::size_t index) {
    return app_.GetApplicationCommandAt(index);
}

IApplicationCommand* ServerAppProxy::GetApplicationCommand(UINT id) {
    return app_.GetApplicationCommand(id);
}

UINT ServerAppProxy::RegisterAppCommand(std::unique_ptr<IApplicationCommand> command, UINT iconId, HICON icon,
                                        HICON secondIcon, const CommandTooltipInfo* tooltip) {
    if (command == nullptr || !MayCreateTools())
        return 0;
    const bool classic = dynamic_cast<const CDVAppCommand*>(command.get()) != nullptr;
    IApplicationCommand* record = app_.RegisterApplicationCommand(std::move(command), false);
    if (record == nullptr)
        return 0;
    const auto id = static_cast<UINT>(record->GetID());
    if (iconId != 0) {
        SetCommandIcon(id, iconId, true);
    } else if (icon == nullptr && secondIcon == nullptr) {
        ForEachImageManager([id](CXTPImageManager& images) { images.RemoveIcon(id); });
    } else {
        ForEachImageManager([&](CXTPImageManager& images) {
            if (images.GetIconSet(id) != nullptr)
                return;
            images.SetIcon(icon, id);
            if (secondIcon != icon)
                images.SetIcon(secondIcon, id);
        });
    }
    if (tooltip != nullptr)
        ApplyTooltip(id, *record, *tooltip);
    // A find-command pane already made lists the new command; one made later reads it anyway.
    if (auto* find = dynamic_cast<CFindCommandWnd*>(app_.GetFindCommandWindow(false)))
        find->OnCommandRegistered(static_cast<int>(id));
    if (classic) {
        // A classic add-on's command runs as the kernel command of the add-on's own number.
        const auto internalId = static_cast<unsigned>(record->GetInternalID());
        app_.SetApplicationCommandHandler(id, {[internalId](CDvw32Doc* document, UINT) {
                                                   DVCommandContainer::Instance().RunCommand(internalId,
                                                                                             document, 0);
                                               },
                                               true});
    }
    return id;
}

void ServerAppProxy::SetCommandIcon(UINT id, UINT resourceId, bool fromResources) {
    if (fromResources) {
        const LPCWSTR name = MAKEINTRESOURCEW(resourceId & 0xFFFF);
        HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
        if (FindResourceW(module, name, RT_GROUP_ICON) == nullptr)
            return;
        ForEachImageManager([&](CXTPImageManager& images) { images.SetIconFromResource(module, name, id); });
        return;
    }
    // The icon set another image manager keeps under the resource id.
    CXTPImageManagerIconSet* source = nullptr;
    ForEachImageManager([&](CXTPImageManager& images) {
        if (source == nullptr)
            source = images.GetIconSet(resourceId);
    });
    if (source == nullptr)
        return;
    std::vector<const CXTPImageManagerIcon*> icons;
    for (int width : {16, 24, 32, 48, 64})
        if (const CXTPImageManagerIcon* icon = source->GetIcon(width))
            icons.push_back(icon);
    ForEachImageManager([&](CXTPImageManager& images) {
        if (images.GetIconSet(id) == source)
            return;
        images.RemoveIcon(id);
        for (const CXTPImageManagerIcon* icon : icons)
            SetCommandIcon(id, *icon);
    });
}

void ServerAppProxy::SetCommandIcon(UINT id, HINSTANCE module, const wchar_t* name) {
    if (name == nullptr)
        return;
    if (module == nullptr)
        module = AfxFindResourceHandle(name, RT_GROUP_ICON);
    if (FindResourceW(module, name, RT_GROUP_ICON) == nullptr)
        return;
    ForEachImageManager([&](CXTPImageManager& images) { images.SetIconFromResource(module, name, id); });
}

void ServerAppProxy::SetCommandIcon(UINT id, const void* data, std::uint64_t size) {
    if (data == nullptr || size == 0 || size > std::numeric_limits<std::uint32_t>::max())
        return;
    const auto svg = CXTPImageManagerVectorImageHandle::CreateSvgHandle(data, static_cast<size_t>(size));
    if (svg.IsValid()) {
        ForEachImageManager([&](CXTPImageManager& images) { images.SetVectorIcon(svg, id); });
        return;
    }
    // Data that is no SVG image may be an icon file: each of its images at its own size. The
    // icon reader reads files, so the data passes through a temporary file of its own.
    wchar_t folder[MAX_PATH] = {};
    wchar_t file[MAX_PATH] = {};
    if (::GetTempPathW(MAX_PATH, folder) == 0 || ::GetTempFileNameW(folder, L"dvi", 0, file) == 0)
        return;
    HANDLE out =
        ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    const bool complete = out != INVALID_HANDLE_VALUE &&
                          ::WriteFile(out, data, static_cast<DWORD>(size), &written, nullptr) &&
                          written == size;
    if (out != INVALID_HANDLE_VALUE)
        ::CloseHandle(out);
    if (complete)
        ForEachImageManager([&](CXTPImageManager& images) { images.SetIconFromIcoFile(file, id); });
    ::DeleteFileW(file);
}

void ServerAppProxy::SetCommandIcon(UINT id, const CXTPImageManagerIcon& icon) {
    ForEachImageManager([&](CXTPImageManager& images) {
        if (icon.IsVectorIcon())
            images.SetVectorIcon(icon.GetVectorImage(), id);
        else
            images.SetIcon(icon.GetIcon(), id, CSize(icon.GetWidth(), icon.GetHeight()));
    });
}

void ServerAppProxy::SetCommandIcon(UINT id, HICON icon) {
    if (icon == nullptr)
        return;
    ForEachImageManager([&](CXTPImageManager& images) {
        images.RemoveIcon(id);
        images.SetIcon(icon, id);
    });
}

void ServerAppProxy::InsertRibbonSystemMenuItem(UINT id, const wchar_t* prompt, UINT neighbour, bool after) {
    if (static_cast<int>(id) <= 0)
        return;
    std::wstring text;
    if (prompt != nullptr) {
        text = prompt;
    } else if (IsApplicationCommandId(id)) {
        if (IApplicationCommand* command = app_.GetApplicationCommand(id))
            text = PromptOf(*command);
    } else {
        text = DVLoadString(id);
    }
    for (CMainFrame* frame : CDvw32App::GetMainFrames()) {
        CXTPCommandBar* menu = SystemMenuOf(*frame);
        if (menu == nullptr)
            continue;
        CXTPControls& controls = *menu->GetControls();
        if (controls.FindControl(static_cast<int>(id)) != nullptr)
            continue;
        const bool backstage = dynamic_cast<CXTPRibbonBackstageView*>(menu) != nullptr;
        const int index = InsertionIndex(controls, neighbour, after, backstage);
        CXTPControl* control = backstage ? new CXTPRibbonBackstageCommand : new CXTPControlButton;
        // The entry shows the caption the prompt carries ("description\ncaption"): without one
        // it would be a blank line in the menu.
        control->SetCaption(UIModuleProxy::CommandStrings::FromPromptString(text).Caption.c_str());
        control->SetDescription(L"");
        control->SetTooltip(L"");
        control->SetPrompt(text.c_str());
        controls.Add(control, static_cast<int>(id), L"", index);
    }
}
