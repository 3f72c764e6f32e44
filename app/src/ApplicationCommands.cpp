// The application-command table: what add-ons put on bars and ribbons, kept in
// "application.xml" between sessions, and how a command of the table is run.
#include "app/Dvw32App.h"
#include "app/StateFrames.h"

#include "BadFiles.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "frame/TabToolBar.h"
#include "xtp/CommandBars.h"
#include "xtp/Controls.h"
#include "xtp/ImageManager.h"
#include "xtp/MenuBar.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolBar.h"

namespace {

constexpr int kFirstId = 17000;
constexpr int kLastId = 32000;
constexpr wchar_t kEntrySection[] = L"ApplicationCommand";

void registerWithKernel(const IApplicationCommand& command) {
    GlobalContainer::Instance().RegisterCmd(command.GetID(), L"", command.GetID(), DVCommandFlags());
}

std::unique_ptr<IApplicationCommand> commandOfEntry(int type, const CString& appId, int internalId,
                                                    bool internal) {
    if (type == 0)
        return std::make_unique<CDVAppCommand>(appId.GetString(), internalId, internal);
    if (type == 1) {
        if (const auto key = Dravik::UniqueIdentifier::TryParse(appId.GetString()))
            return std::make_unique<ApplicationCommand>(internalId, *key, internal);
    }
    return nullptr;
}

void remapBar(CXTPCommandBar* bar, const dvapp::ApplicationCommandRemap& remap) {
    if (bar != nullptr)
        dvapp::RemapApplicationCommandIds(bar->GetControls(), remap);
}

} // namespace

namespace dvapp {

void RemapApplicationCommandIds(CXTPControls* controls, const ApplicationCommandRemap& remap) {
    if (controls == nullptr)
        return;
    for (int i = controls->GetCount() - 1; i >= 0; --i) {
        CXTPControl* control = controls->GetAt(i);
        if (control == nullptr)
            continue;
        const int id = control->GetID();
        if (id >= kFirstId && id <= kLastId) {
            if (const auto it = remap.ids.find(id); it != remap.ids.end()) {
                if (it->second != id)
                    control->SetID(it->second);
            } else if (remap.dropped.count(id) != 0) {
                // Its command was not read back; binding the button to whichever command now
                // has the id would run the wrong one.
                DVLog_Write(DVLogWarning, "Removed control %d: its application command was not loaded", id);
                controls->Remove(i);
                continue;
            }
        }
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control))
            remapBar(popup->GetCommandBar(), remap);
    }
}

} // namespace dvapp

IApplicationCommand* CDvw32App::RegisterApplicationCommand(std::unique_ptr<IApplicationCommand> command,
                                                           bool replace) {
    if (!command)
        return nullptr;
    for (auto& entry : m_applicationCommands) {
        if (!entry->IsEqualID(*command))
            continue;
        if (replace) {
            command->SetID(entry->GetID());
            entry = std::move(command);
        }
        registerWithKernel(*entry);
        return entry.get();
    }
    return AddApplicationCommand(std::move(command));
}

dvapp::ApplicationCommandRemap CDvw32App::LoadApplicationCommands(CXTPPropExchange* exchange) {
    dvapp::ApplicationCommandRemap remap;
    if (exchange == nullptr)
        return remap;
    CXTPPropExchangeEnumeratorPtr entries(exchange->GetEnumerator(kEntrySection));
    POSITION position = entries->GetPosition();
    while (position != nullptr) {
        CXTPPropExchangeSection entry(entries->GetNext(position));
        int type = -1, internalId = 0, savedId = 0;
        CString appId;
        bool internal = false;
        PX_Int(&*entry, L"Type", type, -1);
        PX_String(&*entry, L"AppId", appId, L"");
        PX_Int(&*entry, L"InternalID", internalId, 0);
        PX_Int(&*entry, L"CommandID", savedId, 0);
        PX_Bool(&*entry, L"IsInternal", internal, false);

        IApplicationCommand* command = nullptr;
        if (auto made = commandOfEntry(type, appId, internalId, internal))
            command = RegisterApplicationCommand(std::move(made), false);
        if (command == nullptr) {
            if (savedId != 0)
                remap.dropped.insert(savedId);
            continue;
        }
        if (savedId != 0)
            remap.ids[savedId] = command->GetID();
        auto* icon = dynamic_cast<CXTPPropExchangeXMLNode*>(&*entry);
        if (icon != nullptr && icon->IsSectionExists(L"Icon")) {
            CXTPPropExchangeSection iconSection(entry->GetSection(L"Icon"));
            auto* node = dynamic_cast<CXTPPropExchangeXMLNode*>(&*iconSection);
            if (node != nullptr && node->GetNode().firstChild())
                XTPImageManager()->DoPropExchange(static_cast<UINT>(command->GetID()), iconSection);
        }
    }
    // A saved id that one entry dropped and another (a duplicate) kept stays bound.
    for (const auto& kept : remap.ids)
        remap.dropped.erase(kept.first);
    return remap;
}

void CDvw32App::SaveApplicationCommands(CXTPPropExchange* exchange) const {
    if (exchange == nullptr)
        return;
    CXTPPropExchangeEnumeratorPtr entries(exchange->GetEnumerator(kEntrySection));
    POSITION position = entries->GetPosition(static_cast<DWORD>(m_applicationCommands.size()));
    for (const auto& command : m_applicationCommands) {
        if (position == nullptr)
            break;
        CXTPPropExchangeSection entry(entries->GetNext(position));
        int type = command->GetType();
        CString appId;
        if (const auto* managed = dynamic_cast<const ApplicationCommand*>(command.get()))
            appId = UniqueIdentifierToString(managed->GetKeyID()).c_str();
        else if (const auto* classic = dynamic_cast<const CDVAppCommand*>(command.get()))
            appId = classic->GetAddOnName().c_str();
        int internalId = command->GetInternalID();
        int id = command->GetID();
        bool internal = command->IsInternal();
        PX_Int(&*entry, L"Type", type, -1);
        PX_String(&*entry, L"AppId", appId, L"");
        PX_Int(&*entry, L"InternalID", internalId, 0);
        PX_Int(&*entry, L"CommandID", id, 0);
        PX_Bool(&*entry, L"IsInternal", internal, false);
        if (XTPImageManager()->Lookup(static_cast<UINT>(id)) != nullptr) {
            CXTPPropExchangeSection icon(entry->GetSection(L"Icon"));
            XTPImageManager()->DoPropExchange(static_cast<UINT>(id), icon);
        }
    }
}

std::wstring CDvw32App::GetApplicationCommandsFilePath() {
    return DVAppendProgramPath(L"application.xml", 1, false);
}

bool CDvw32App::LoadApplicationCommandsFile() {
    const std::wstring path = GetApplicationCommandsFilePath();
    if (path.empty() || !dvapp::FileExists(path))
        return true;
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Settings");
    if (!exchange.LoadFromFile(path.c_str()) || exchange.GetNode().name() != L"Settings") {
        dvapp::SetAsideBadFile(path, L"application commands");
        // Whatever the session saves must not stand in for the person's own file.
        m_applicationFileSetAside = true;
        return false;
    }
    m_applicationCommandRemap = LoadApplicationCommands(&exchange);
    if (m_stateFrames != nullptr) {
        for (dvapp::StateFrame* frame : m_stateFrames->GetMainFrames())
            RemapApplicationCommandIds(frame != nullptr ? frame->GetCommandBars() : nullptr);
    }
    return true;
}

void CDvw32App::RemapApplicationCommandIds(CXTPCommandBars* bars) const {
    if (bars == nullptr)
        return;
    CXTPMenuBar* menu = bars->GetMenuBar();
    remapBar(menu, m_applicationCommandRemap);
    for (int i = 0; i < bars->GetCount(); ++i) {
        CXTPToolBar* bar = bars->GetAt(i);
        if (bar != nullptr && bar != menu)
            remapBar(bar, m_applicationCommandRemap);
    }
}

bool CDvw32App::SaveApplicationCommandsFile() const {
    // After a failed load the person's file lies aside; an empty table is not saved in its place.
    if (m_applicationFileSetAside && m_applicationCommands.empty())
        return true;
    const std::wstring path = DVAppendProgramPath(L"application.xml", 1, true);
    CXTPPropExchangeXMLNode exchange(FALSE, nullptr, L"Settings");
    SaveApplicationCommands(&exchange);
    if (exchange.SaveToFile(path.c_str()))
        return true;
    DVLog_Write(DVLogFailure, "Could not write the application commands");
    return false;
}

void CDvw32App::SetApplicationCommandHandler(UINT id, dvapp::ApplicationCommandHandler handler) {
    m_applicationCommandHandlers[id] = std::move(handler);
}

void CDvw32App::OnApplicationCommand(UINT id) {
    IApplicationCommand* command = GetApplicationCommand(id);
    if (command == nullptr)
        return;
    CDvw32Doc* document = DVGetActiveDoc();
    if (document != nullptr && !document->IsEditable())
        return;
    if (const auto it = m_applicationCommandHandlers.find(id);
        it != m_applicationCommandHandlers.end() && it->second.run) {
        if (document == nullptr && !it->second.runsWithoutDocument)
            return;
        it->second.run(document, id);
        return;
    }
    if (m_addOnCommandRunner == nullptr)
        return;
    m_addOnCommandRunner->Run(*command, document);
    if (document != nullptr && m_addOnCommandRunner->WantsObjectCommands(*command) &&
        m_addOnCommandRunner->HasStoredSelection(document))
        m_addOnCommandRunner->SendObjectCommand(document, id);
}
