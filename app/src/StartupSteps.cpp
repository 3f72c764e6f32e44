// The steps of the main initialisation that stand on their own: the administrator's start-up
// profile, the add-ons, the automation server, the PDM connection, the macro manager, the
// probe of the classes root and the display settings.
#include "app/DVServer.h"
#include "app/Dvw32App.h"
#include "app/Logging.h"
#include "app/StartupIni.h"

#include "Compression/IniFile.h"
#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikUI/ImageManager.h"
#include "afx/oletemplate.h"
#include "ribbon/ApplicationMode.h"
#include "win/base.h"
#include "xtp/PaintManager.h"

#include <vector>

namespace {

constexpr const wchar_t* kSettings = L"Settings";
constexpr const wchar_t* kProfileName = L"StartupProfileName";
constexpr const wchar_t* kProfileHash = L"StartupProfileFileHash";
constexpr size_t kHashSize = 64;

// The registry's edition of the add-ons, and whether the edition has 3D.
std::pair<const wchar_t*, bool> registryEdition(std::uint32_t code) {
    switch (code) {
    case 1:
        return {L"Viewer", true};
    case 2:
    case 16:
        return {L"2D", false};
    case 4:
        return {L"SE", true};
    default:
        return {L"3D", true};
    }
}

} // namespace

// Keeps the monitor that carries the primary flag and ends the enumeration there.
BOOL FindPrimaryMonitorProc(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
        *reinterpret_cast<HMONITOR*>(found) = monitor;
        return FALSE;
    }
    return TRUE;
}

// The administrator's profile ------------------------------------------------------------------

void CDvw32App::ImportStartupProfile() {
    if (GetProfileInt(L"Debug", L"IgnoreStartupProfile", 0) != 0)
        return;
    const std::wstring machineKey = L"SOFTWARE\\" + m_startup.Company + L"\\" + m_startup.RegistryName;
    std::wstring path;
    if (!Dravik::RegistryKey::Open(HKEY_LOCAL_MACHINE, machineKey.c_str(), KEY_READ)
             .GetStringValue(L"StartupProfileFileName", path))
        return;

    std::vector<BYTE> hash;
    const bool hashed = Dravik::FileHash(path.c_str(), hash) && hash.size() == kHashSize;
    const std::wstring profile = DravikProfileManager::GetProfileName(path.c_str());

    if (DravikProfileManager::ProfileExists(profile.c_str())) {
        const CString storedName = GetProfileStringW(kSettings, kProfileName, L"");
        BYTE* stored = nullptr;
        UINT storedSize = 0;
        const bool haveStored = GetProfileBinary(kSettings, kProfileHash, &stored, &storedSize) != FALSE;
        // A stored hash of any other length is no hash: the profile is imported again.
        const bool same =
            haveStored && storedSize == kHashSize && hashed && std::equal(hash.begin(), hash.end(), stored);
        delete[] stored;
        if (storedName.GetString() == profile && same) {
            DVLog_WriteW(
                DVLogProgress,
                L"The startup profile \"%ls\" already exists and its file \"%ls\" matches the most recently "
                L"used one",
                profile.c_str(), path.c_str());
            return;
        }
    }

    // The status is a 32-bit code of structured storage, whatever the width of the type it comes in.
    const auto imported = static_cast<std::int32_t>(DravikProfileManager::Import(path.c_str(), true));
    if (imported < 0) {
        DVLog_WriteW(DVLogOptionalFailure, L"Failed to import the startup profile file \"%ls\": 0x%08x",
                     path.c_str(), static_cast<unsigned>(imported));
        return;
    }

    const std::wstring previous = DravikProfileManager::GetCurrentProfileName();
    bool copied = false;
    {
        // The main frame's section is copied with the profile even though no frame exists yet.
        CMainFrameProfileItem frameSection;
        copied = DravikProfileManager::Copy(profile.c_str(), nullptr);
    }
    // The administrator's profile is what the live settings now hold: it is the current one.
    // Only when nothing was copied does the previous name still tell the truth.
    DravikProfileManager::SetCurrentProfileName(copied ? profile.c_str() : previous.c_str());
    if (!copied) {
        DVLog_WriteW(DVLogOptionalFailure, L"Failed to copy the startup profile \"%ls\"", profile.c_str());
        return;
    }
    WriteProfileStringW(kSettings, kProfileName, profile.c_str());
    if (hashed) {
        WriteProfileBinary(kSettings, kProfileHash, hash.data(), static_cast<UINT>(hash.size()));
    } else {
        WriteProfileStringW(kSettings, kProfileHash, nullptr);
        DVLog_WriteW(DVLogWarning, L"Failed to calculate the hash of the startup profile file \"%ls\"",
                     path.c_str());
    }
}

void CDvw32App::GetApplicationsIniPath(std::wstring& path) const {
    if (!m_startup.ApplicationsFile.empty()) {
        path = m_startup.ApplicationsFile;
        return;
    }
    const wchar_t* name = L"Applications.ini";
    switch (GetApplicationModeCode()) {
    case 128:
    case 512:
        name = L"AlderApplications.ini";
        break;
    case 256:
        name = L"BirchApplications.ini";
        break;
    default:
        break;
    }
    path = DVAppendProgramPath(name, 0, false);
}

// Add-ons ------------------------------------------------------------------------------------

void CDvw32App::LoadAddOns() {
    std::wstring applicationsPath;
    GetApplicationsIniPath(applicationsPath);
    dvio::IniFile applications;
    if (applications.Load(applicationsPath.c_str())) {
        CDVApplicationManager::Instance().LoadInstalledApplications(applications);
        ApplicationManager::Get().LoadInstalledApplications(applications);
    }
    const auto [edition, is3D] = registryEdition(GetApplicationModeCode());
    LoadInstalledApplicationsFromRegistry(m_startup.Company.c_str(), m_startup.Language.c_str(), edition,
                                          is3D);
    if (Dravik::UI::ImageManager* images = Dravik::UI::ImageManager::GetInstance(false))
        images->ReserveResources({16, 24, 32}, 880);
}

// The automation server ------------------------------------------------------------------------

void CDvw32App::RegisterServer() {
    if (!RegisterAutomationServer(*m_serverFactory, m_templateServer.get(), m_docTemplate))
        DVLog_Write(DVLogOptionalFailure, "Failed to register the automation server");
}

// Whether this user may write the machine's classes: a probe key is made and removed again;
// only then is the document server registered there.
void CDvw32App::ProbeClassesRootWrite() {
    HKEY classes = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_WRITE, &classes) == ERROR_SUCCESS) {
        HKEY probe = nullptr;
        if (RegCreateKeyExW(classes, L"DV.Check", 0, nullptr, 0, KEY_WRITE, nullptr, &probe, nullptr) ==
            ERROR_SUCCESS) {
            static const wchar_t kValue[] = L"0";
            const bool written =
                RegSetValueExW(probe, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kValue),
                               sizeof kValue) == ERROR_SUCCESS;
            RegCloseKey(probe);
            // The probe goes whether or not its value could be written: nothing of it may stay.
            RegDeleteKeyW(classes, L"DV.Check");
            if (written)
                m_templateServer->UpdateRegistry(OAT_INPLACE_SERVER);
        }
        RegCloseKey(classes);
    }
    COleObjectFactory::UpdateRegistryAll(TRUE);
}

// PDM and macros -----------------------------------------------------------------------------

// Without the PDM system's programs on this computer the integration stays off (2); otherwise
// the connection answers: 1 made, 2 not made, and start-up goes on either way.
int CDvw32App::InitOrsaIntegration() {
    if (!DVPdmApiProxy::Instance().HasInstalledPrograms())
        return 2;
    return DVPDMWorkMix::Instance().Connect(1, L"") ? 1 : 2;
}

void CDvw32App::InitializeMacroManager() {
    if (GetMainFrame() == nullptr)
        return;
    LARGE_INTEGER started{}, frequency{};
    QueryPerformanceCounter(&started);
    QueryPerformanceFrequency(&frequency);
    IMacroManager* macros = InitializeMacroManagerInstance();
    if (macros == nullptr)
        return;
    // The macros pane is made with its window; its tree comes with the pane itself.
    GetMacrosWindow(true);
    LARGE_INTEGER ended{};
    QueryPerformanceCounter(&ended);
    const long long ticks = ended.QuadPart - started.QuadPart;
    const long long us = frequency.QuadPart > 0
                             ? ticks / frequency.QuadPart * 1'000'000 +
                                   ticks % frequency.QuadPart * 1'000'000 / frequency.QuadPart
                             : 0;
    DVLog_Write(DVLogInfo, "Initialized macro manager in %lld.%03lld ms", static_cast<long long>(us / 1000),
                static_cast<long long>(us % 1000));
}

// Display settings -----------------------------------------------------------------------------

void CDvw32App::ApplyDisplaySettings() {
    const int iconSize = static_cast<int>(GetProfileInt(kSettings, L"ToolBarIconSize", m_toolBarIconSize.cx));
    if (iconSize > 0)
        SetToolBarIconSize(CSize(iconSize, iconSize));
    SetRibbonMode(GetProfileInt(kSettings, L"RibbonMode", 1) != 0);
}
