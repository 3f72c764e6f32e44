#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"

#include "KernelState.h"
#include "SessionServices.h"

#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/UIModuleProxy.h"

#include "DVDiagnostics/Trace.h"
#include "DVTextCore/I18n.h"
#include "pal/journal.h"
#include "pal/text.h"

#include <atomic>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace dvkernel {

KernelState& state() {
    static KernelState* s = new KernelState;
    return *s;
}

namespace {
std::atomic<std::uint64_t> commandsChanges{0};
}

void commandsChanged() {
    ++commandsChanges;
}

std::uint64_t commandsVersion() {
    return commandsChanges.load();
}

namespace {

constexpr std::string_view kStepNames[] = {"PreInitSession", "PostInitSession", "FinishInitSession"};

// A child process of a test cannot be reached by the hooks; it reads its failures here.
bool failsByEnvironment(detail::SessionStep step) {
    if (!pal::effects::underTest())
        return false;
    const char* list = std::getenv("DV_KERNEL_FAIL");
    if (!list)
        return false;
    const std::string_view name = kStepNames[static_cast<int>(step)];
    std::string_view rest(list);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        if (rest.substr(0, comma) == name)
            return true;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
}

bool runStep(detail::SessionStep step, detail::SessionState reached, std::string call) {
    KernelState& s = state();
    bool ok;
    {
        std::lock_guard lock(s.mutex);
        ok = !s.failing.count(step) && !failsByEnvironment(step);
        if (ok)
            s.session = reached;
    }
    dvtrace::record(kTraceName, call + (ok ? " -> ok" : " -> failed"));
    return ok;
}

std::string narrow(std::wstring_view s) {
    return pal::text::toUtf8(s);
}

} // namespace
} // namespace dvkernel

using namespace dvkernel;

GlobalContainer& GlobalContainer::Instance() {
    static GlobalContainer* instance = new GlobalContainer;
    return *instance;
}

bool GlobalContainer::PreInitSession(int mode) {
    return runStep(detail::SessionStep::PreInitSession, detail::SessionState::PreInitialized,
                   "PreInitSession(" + std::to_string(mode) + ")");
}

bool GlobalContainer::PostInitSession() {
    const bool ok = runStep(detail::SessionStep::PostInitSession, detail::SessionState::PostInitialized,
                            "PostInitSession()");
    if (ok)
        loadServicesAtSessionStart();
    return ok;
}

bool GlobalContainer::FinishInitSession() {
    const bool ok = runStep(detail::SessionStep::FinishInitSession, detail::SessionState::Finished,
                            "FinishInitSession()");
    if (ok)
        applyProfileAtSessionFinish();
    return ok;
}

void GlobalContainer::DestroySession(int flags) {
    {
        std::lock_guard lock(state().mutex);
        state().session = detail::SessionState::Destroyed;
    }
    dvtrace::record(kTraceName, "DestroySession(" + std::to_string(flags) + ")");
}

void GlobalContainer::EnableMacros(bool enable) {
    {
        std::lock_guard lock(state().mutex);
        state().macros = enable;
    }
    dvtrace::record(kTraceName, std::string("EnableMacros(") + (enable ? "true" : "false") + ")");
}

void GlobalContainer::InitSessionLocale(const wchar_t* language, bool metric, int brand) {
    const std::wstring lang = language ? language : L"";
    {
        std::lock_guard lock(state().mutex);
        state().language = lang;
        state().metric = metric;
        state().brand = brand;
    }
    Dravik::I18n::LoadLanguage(lang);
    updateCountry(GetLocaleAlpha2Code());
    dvtrace::record(kTraceName, "InitSessionLocale(" + narrow(lang) + "," + (metric ? "1" : "0") + "," +
                                    std::to_string(brand) + ")");
}

void GlobalContainer::RestoreSessionLanguage() {
    std::wstring lang;
    {
        std::lock_guard lock(state().mutex);
        lang = state().language;
    }
    if (!lang.empty() && Dravik::I18n::CurrentLanguage() != lang)
        Dravik::I18n::LoadLanguage(lang);
    dvtrace::record(kTraceName, "RestoreSessionLanguage()");
}

std::wstring GlobalContainer::GetLocaleAlpha2Code() const {
    static constexpr std::pair<std::wstring_view, std::wstring_view> kCodes[] = {
        {L"Rus", L"ru"}, {L"Eng", L"en"}, {L"Ger", L"de"}, {L"Fra", L"fr"}, {L"Ita", L"it"}, {L"Spa", L"es"},
        {L"Ukr", L"uk"}, {L"Pol", L"pl"}, {L"Cze", L"cs"}, {L"Chi", L"zh"}, {L"Jpn", L"ja"}, {L"Tur", L"tr"},
    };
    std::wstring language;
    {
        std::lock_guard lock(state().mutex);
        language = state().language;
    }
    for (const auto& [name, code] : kCodes)
        if (pal::text::equalsNoCase(language, name))
            return std::wstring(code);
    return L"en";
}

bool GlobalContainer::IsVirelo() const {
    std::lock_guard lock(state().mutex);
    return state().brand == DVBrandVirelo;
}

bool GlobalContainer::IsMerrow() const {
    std::lock_guard lock(state().mutex);
    return state().brand == DVBrandMerrow;
}

bool GlobalContainer::IsOstrel() const {
    std::lock_guard lock(state().mutex);
    return state().brand == DVBrandOstrel;
}

void GlobalContainer::RegisterCmd(int id, std::wstring_view name, int commandId, DVCommandFlags flags) {
    // The session's face of the command container: the same registry, the same rules.
    if (id >= 1 && id <= static_cast<int>(DVCommandContainer::kLastCommandId)) {
        std::lock_guard lock(state().mutex);
        CommandEntry& entry = state().commands[static_cast<unsigned>(id)];
        commandsChanged();
        entry.name = name;
        entry.commandId = commandId;
        entry.flags = flags.raw();
    }
    dvtrace::record(kTraceName, "RegisterCmd(" + std::to_string(id) + "," + narrow(name) + "," +
                                    std::to_string(commandId) + "," + std::to_string(flags.raw()) + ")");
}

bool GlobalContainer::UnregisterCmd(int id) {
    bool known = false;
    std::shared_ptr<DVCommand> command; // released outside the lock
    {
        std::lock_guard lock(state().mutex);
        const auto it = id >= 1 ? state().commands.find(static_cast<unsigned>(id)) : state().commands.end();
        if (it != state().commands.end()) {
            command = std::move(it->second.command);
            state().commands.erase(it);
            commandsChanged();
            known = true;
        }
    }
    dvtrace::record(kTraceName, "UnregisterCmd(" + std::to_string(id) + ")");
    return known;
}

bool GlobalContainer::InAppCreateToolsMode() const {
    std::lock_guard lock(state().mutex);
    return state().createToolsMode;
}

void GlobalContainer::OnSessionIdle() {
    // Counted, not recorded: idle runs far too often for the call record.
    std::lock_guard lock(state().mutex);
    ++state().idleCount;
}

std::wstring GlobalContainer::GetCmdStr(unsigned id) const {
    if (const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
        strings && !strings->Description.empty())
        return strings->Description;
    return DVLoadString(id);
}

std::wstring GlobalContainer::GetCmdDescr(unsigned id) const {
    const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
    return strings ? strings->Description : std::wstring();
}

std::uint64_t GlobalContainer::GetCommandTableVersion() const {
    // Both counters only grow, so their sum changes whenever either does.
    return commandsVersion() + Dravik::I18n::CatalogueGeneration();
}

std::map<int, std::wstring> GlobalContainer::GetCommandTable() const {
    std::map<int, std::wstring> table;
    std::vector<unsigned> ids = DVCommandContainer::Instance().GetCommandIds();
    for (const DVCatalogueCommand& command : DVCommandCatalogue())
        ids.push_back(command.id);
    UIModuleProxy& proxy = UIModuleProxy::Instance();
    for (unsigned id : ids) {
        // Add-on commands are the add-on's to describe; the search walks their block itself.
        if (id >= 15000 && id <= 16999)
            continue;
        const auto strings = proxy.GetCommandStrings(id);
        table.emplace(static_cast<int>(id), strings ? strings->Caption : std::wstring());
    }
    return table;
}
