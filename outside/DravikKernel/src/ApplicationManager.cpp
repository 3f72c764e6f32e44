#include "DravikKernel/ApplicationManager.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "KernelState.h"
#include "RegistryTree.h"

#include "Compression/IniFile.h"
#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Trace.h"
#include "pal/binaries.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/system.h"

#include <algorithm>
#include <cwchar>
#include <exception>

namespace {

using StartEntry = BOOL (*)();
using StopEntry = void (*)();

constexpr const char* kStart = "DravikApplicationStart";
constexpr const char* kCanExit = "DravikApplicationCanExit";
constexpr const char* kStop = "DravikApplicationStop";
constexpr const char* kCreateTools = "DravikApplicationCreateTools";
constexpr const char* kOpenFile = "DravikApplicationOpenFile";
using OpenFileEntry = BOOL (*)(const wchar_t*);
constexpr const char* kCommandRange = "DravikApplicationCommandRange";
using CommandRangeEntry = BOOL (*)(unsigned*, unsigned*);
constexpr const char* kOnCommand = "DravikApplicationOnCommand";
using OnCommandEntry = void (*)(CDvw32Doc*, unsigned);

std::string utf8(const std::wstring& text) {
    return pal::text::toUtf8(text);
}

unsigned toFlags(const std::wstring* text) {
    return text ? static_cast<unsigned>(std::wcstoul(text->c_str(), nullptr, 0)) : 0;
}

std::wstring stringValue(const dvkernel::RegistryTree& key, const wchar_t* name) {
    const auto found = key.values.find(name);
    if (found == key.values.end() || found->second.type != REG_SZ)
        return {};
    std::wstring text(reinterpret_cast<const wchar_t*>(found->second.data.data()),
                      found->second.data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

unsigned dwordValue(const dvkernel::RegistryTree& key, const wchar_t* name) {
    const auto found = key.values.find(name);
    DWORD value = 0;
    if (found != key.values.end() && found->second.type == REG_DWORD &&
        found->second.data.size() == sizeof value)
        std::copy(found->second.data.begin(), found->second.data.end(), reinterpret_cast<BYTE*>(&value));
    return value;
}

} // namespace

// ---- CDVBaseApplication -------------------------------------------------------------------

CDVBaseApplication::CDVBaseApplication(std::wstring id, std::wstring name, std::wstring path, unsigned flags,
                                       bool fromIni)
    : m_id(std::move(id)), m_name(std::move(name)), m_flags(flags), m_fromIni(fromIni) {
    m_path = path.empty() ? path : DVAppendProgramPath(path.c_str(), 0, false);
    if (m_name.empty())
        m_name = m_id;
    m_notFound = m_path.empty() || pal::binaries::find(m_path, {}).empty();
    if (m_notFound)
        fail(L"The module of the application was not found: " + m_path);
}

CDVBaseApplication::~CDVBaseApplication() {
    Unload();
}

bool CDVBaseApplication::fail(const std::wstring& error) {
    m_error = error;
    DVLog_Write(DVLogOptionalFailure, "Application \"%s\" skipped: %s", utf8(m_id).c_str(),
                utf8(error).c_str());
    return false;
}

bool CDVBaseApplication::Start() {
    if (IsLoaded())
        return true;
    if (m_notFound)
        return false; // logged when it was listed
    HMODULE module = LoadLibraryW(m_path.c_str());
    if (!module)
        return fail(L"The module of the application is not a library: " + m_path);
    const auto start = reinterpret_cast<StartEntry>(GetProcAddress(module, kStart));
    if (!start) {
        FreeLibrary(module);
        return fail(L"The module of the application has no entry point DravikApplicationStart: " + m_path);
    }
    m_module = module;
    if (!start()) {
        Unload();
        return fail(L"The application refused to start");
    }
    m_error.clear();
    dvtrace::record(dvkernel::kTraceName, "application started: " + utf8(m_id));
    return true;
}

void CDVBaseApplication::CreateTools() {
    if (!IsLoaded())
        return;
    if (const auto create =
            reinterpret_cast<StopEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kCreateTools)))
        create();
}

bool CDVBaseApplication::CanExit() const {
    if (!IsLoaded())
        return true;
    const auto canExit =
        reinterpret_cast<StartEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kCanExit));
    return !canExit || canExit();
}

bool CDVBaseApplication::OpenFile(const wchar_t* path) {
    if (!IsLoaded() || path == nullptr)
        return false;
    const auto open =
        reinterpret_cast<OpenFileEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kOpenFile));
    if (open == nullptr)
        return false;
    // A failure the add-on throws ends its attempt, not the program: the person is told of it.
    try {
        return open(path) != FALSE;
    } catch (const std::exception& failure) {
        const std::wstring message = pal::text::fromUtf8(failure.what());
        DVLog_Write(DVLogOptionalFailure, "Application \"%s\" failed to open \"%s\": %s", utf8(m_id).c_str(),
                    utf8(path).c_str(), failure.what());
        if (DravikServerAppProxy* shell = DravikServerAppProxy::Instance())
            shell->ReportApplicationError(m_name.c_str(), message.c_str());
        return false;
    }
}

bool CDVBaseApplication::GetCommandRange(unsigned& first, unsigned& last) const {
    first = last = 0;
    if (!IsLoaded())
        return false;
    const auto range =
        reinterpret_cast<CommandRangeEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kCommandRange));
    if (range == nullptr || !range(&first, &last) || first > last) {
        first = last = 0;
        return false;
    }
    return true;
}

void CDVBaseApplication::OnCommand(CDvw32Doc* document, unsigned id) {
    if (!IsLoaded())
        return;
    if (const auto run =
            reinterpret_cast<OnCommandEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kOnCommand)))
        run(document, id);
}

void CDVBaseApplication::Unload() {
    if (!m_module)
        return;
    if (const auto stop = reinterpret_cast<StopEntry>(GetProcAddress(static_cast<HMODULE>(m_module), kStop)))
        stop();
    FreeLibrary(static_cast<HMODULE>(m_module));
    m_module = nullptr;
    dvtrace::record(dvkernel::kTraceName, "application unloaded: " + utf8(m_id));
}

// ---- CDVApplicationManager ----------------------------------------------------------------

CDVApplicationManager& CDVApplicationManager::Instance() {
    static CDVApplicationManager* manager = new CDVApplicationManager;
    return *manager;
}

void CDVApplicationManager::LoadInstalledApplications(const dvio::IniFile& ini) {
    for (const auto& section : ini) {
        const std::wstring* type = section.find(L"Type");
        if (!type || toFlags(type) != 1)
            continue; // not a native add-on
        const std::wstring* name = section.find(L"Name");
        const std::wstring* path = section.find(L"Path");
        AddApplication(std::make_unique<CDVBaseApplication>(
            section.name(), name ? *name : L"", path ? *path : L"", toFlags(section.find(L"Flags")), true));
    }
}

void CDVApplicationManager::LoadInstalledApplicationsFromRegistry(const wchar_t* company,
                                                                  const wchar_t* language,
                                                                  const wchar_t* edition, bool is3D) {
    (void)language; // add-ons carry their own translations
    const auto load = [&](HKEY root, const std::wstring& path) {
        const auto tree = dvkernel::readRegistryTree(root, path);
        if (!tree)
            return;
        for (const auto& [id, key] : tree->keys) {
            if (dwordValue(key, L"Needs3D") != 0 && !is3D) {
                DVLog_Write(DVLogProgress, "Application \"%s\" skipped: it needs a 3D edition",
                            utf8(id).c_str());
                continue;
            }
            AddApplication(std::make_unique<CDVBaseApplication>(
                id, stringValue(key, L"Name"), stringValue(key, L"Path"), dwordValue(key, L"Flags"), false));
        }
    };
    load(HKEY_CURRENT_USER, DravikProfileManager::GetApplicationKey() + L"\\Applications");
    if (company && *company && edition && *edition)
        load(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + std::wstring(company) + L"\\Applications\\" + edition);
}

void CDVApplicationManager::StartApplications(int firstPhase, int all) {
    const unsigned mode =
        firstPhase ? CDVBaseApplication::StartBeforeAll : CDVBaseApplication::StartAutomatic;
    for (const auto& application : m_applications) {
        const unsigned flags = application->GetFlags();
        if ((flags & CDVBaseApplication::StartModeMask) != mode ||
            (flags & CDVBaseApplication::StartExplicitly) || application->IsLoaded())
            continue;
        if (!all && (flags & CDVBaseApplication::NeedsPdm))
            continue;
        if (application->Start())
            m_started.push_back(application.get());
    }
}

void CDVApplicationManager::CreateApplicationTools() {
    const auto setMode = [](bool on) {
        std::lock_guard lock(dvkernel::state().mutex);
        dvkernel::state().createToolsMode = on;
    };
    setMode(true);
    for (CDVBaseApplication* application : m_started)
        application->CreateTools();
    setMode(false);
}

CDVBaseApplication* CDVApplicationManager::GetApplication(const wchar_t* idOrName) const {
    if (!idOrName)
        return nullptr;
    for (const auto& application : m_applications)
        if (pal::text::equalsNoCase(application->GetId(), idOrName) ||
            pal::text::equalsNoCase(application->GetName(), idOrName))
            return application.get();
    return nullptr;
}

CDVBaseApplication* CDVApplicationManager::AddApplication(std::unique_ptr<CDVBaseApplication> application) {
    if (!application || GetApplication(application->GetId().c_str()))
        return nullptr; // the first add-on of an identifier wins
    m_applications.push_back(std::move(application));
    return m_applications.back().get();
}

bool CDVApplicationManager::RemoveApplication(CDVBaseApplication* application) {
    const auto it = std::find_if(m_applications.begin(), m_applications.end(),
                                 [&](const auto& a) { return a.get() == application; });
    if (it == m_applications.end() || application->IsLoaded())
        return false;
    m_applications.erase(it);
    return true;
}

bool CDVApplicationManager::CanExit() const {
    return std::all_of(m_applications.begin(), m_applications.end(),
                       [](const auto& a) { return a->CanExit(); });
}

bool CDVApplicationManager::OpenFile(const wchar_t* path) {
    dvtrace::record(dvkernel::kTraceName, "add-ons offered: " + utf8(path != nullptr ? path : L""));
    return std::any_of(m_applications.begin(), m_applications.end(),
                       [&](const auto& application) { return application->OpenFile(path); });
}

std::wstring CDVApplicationManager::GetHelpFileOfTopic(int) const {
    return {};
}

void CDVApplicationManager::UnloadApplications() {
    for (auto it = m_started.rbegin(); it != m_started.rend(); ++it)
        (*it)->Unload();
    m_started.clear();
    for (const auto& application : m_applications)
        application->Unload(); // started on demand, outside the phases
}

void resetApplicationsForKernel() {
    auto& manager = CDVApplicationManager::Instance();
    manager.UnloadApplications();
    manager.m_applications.clear();
}

// ---- ApplicationManager -------------------------------------------------------------------

namespace {

class NativeProxy : public IApplicationManagerProxy {
public:
    int GetCount() const override { return 0; }
    bool CanClose() override { return CDVApplicationManager::Instance().CanExit(); }
};

} // namespace

ApplicationManager& ApplicationManager::Get() {
    static ApplicationManager* manager = new ApplicationManager;
    return *manager;
}

IApplicationManagerProxy* ApplicationManager::Proxy() {
    static NativeProxy* proxy = new NativeProxy;
    return proxy;
}

void ApplicationManager::LoadInstalledApplications(const dvio::IniFile& ini) {
    for (const auto& section : ini)
        if (const std::wstring* type = section.find(L"Type");
            type && toFlags(type) != 1 && toFlags(type) != 0)
            DVLog_Write(DVLogProgress, "Managed application \"%s\" skipped: no managed runtime",
                        utf8(section.name()).c_str());
}

void ApplicationManager::OnExitInstance() {
    dvtrace::record(dvkernel::kTraceName, "ApplicationManager::OnExitInstance");
}

void LoadInstalledApplicationsFromRegistry(const wchar_t* company, const wchar_t* language,
                                           const wchar_t* edition, bool is3D) {
    CDVApplicationManager::Instance().LoadInstalledApplicationsFromRegistry(company, language, edition, is3D);
}
