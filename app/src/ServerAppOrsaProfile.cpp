// The PDM connection, the settings profile its integration parameters name, and new settings.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "app/StartPageThemes.h"
#include "frame/MainFrame.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"

#include <memory>
#include <string>

namespace {

constexpr int kSettingsChangedEvent = 1043;
constexpr unsigned kSettingsFromProfile = 16;
constexpr UINT kSomeSettingsNotApplied = 41014;
constexpr UINT kAppliedInPart = 41016;

// What belongs to this computer and this session rather than to a profile: the folders of the
// prototypes, fonts and colour books, the PDM system named, how PDM documents are updated, the
// start page shown, and a print asked for on the command line. A profile from the PDM system
// applies everything else.
void KeepMachineValues(NativeSettings::Settings& settings, const NativeSettings::Settings& before) {
    settings.templateFolder = before.templateFolder;
    settings.fontFolder = before.fontFolder;
    settings.colorBooksFolder = before.colorBooksFolder;
    settings.pdmText = before.pdmText;
    settings.pdmUpdate = before.pdmUpdate;
    settings.startPage = before.startPage;
    settings.directPrint = before.directPrint;
}

bool SamePrototypes(const NativeSettings::Files& a, const NativeSettings::Files& b) {
    for (int kind = 0; kind < NativeSettings::Files::kKinds; ++kind)
        if (a.prototypes[kind] != b.prototypes[kind])
            return false;
    return true;
}

} // namespace

void ServerAppProxy::OnChangeOrsaConnectionState(bool connected) {
    if (connected)
        ApplyOrsaProfile();
    DravikServerAppProxy::OnChangeOrsaConnectionState(connected);
    app_.OnChangeOrsaConnectionState(connected);
}

void ServerAppProxy::ApplyOrsaProfile() {
    if (app_.GetProfileInt(L"Debug", L"IgnoreOrsaProfile", 0) != 0)
        return;
    // Held for the call: the connection may end while the profile is applied.
    const std::shared_ptr<DVPDMProxy> pdm = DVPDMWorkMix::Instance().GetProxy();
    if (pdm == nullptr)
        return;
    std::wstring remembered = app_.GetOrsaProfileFileName();
    std::wstring profile;
    if (pdm->GetIntegrationProfile(remembered, profile) != 0)
        return;
    if (!DravikProfileManager::Copy(profile.c_str(), nullptr)) {
        DVLog_Write(DVLogOptionalFailure,
                    "Failed to copy profile \"%ls\" specified in PDM integration parameters",
                    profile.c_str());
        return;
    }
    DVLog_Write(DVLogProgress, "Applying profile \"%ls\" specified in PDM integration parameters...",
                profile.c_str());

    const NativeSettings::Settings before = GetSettings();
    app_.LoadState(profile.c_str(), true);
    std::wstring message;
    DravikProfileManager::ForEachItem([&message](DravikProfileItem& item) {
        const int code = item.LoadState();
        if (code == DravikProfileItem::Loaded)
            return true;
        if (message.empty())
            message = DVLoadString(kSomeSettingsNotApplied) + L":";
        message += L"\n" + item.GetName();
        if (code == DravikProfileItem::VersionNote)
            message += L" - " + DVLoadString(kAppliedInPart);
        return true;
    });
    if (CDVCom_Is3D* module = CDVCom_Is3D::Instance())
        module->ReloadData();

    NativeSettings::Settings& settings = GetSettings();
    KeepMachineValues(settings, before);
    if (!message.empty())
        DVMessageBox::Show(message.c_str(), MB_ICONWARNING);

    app_.SetOrsaProfileFileName(remembered);
    SHXFONT::set_font_path(TemplateFolderToFullPath(settings.templateFolder.c_str()).c_str());
    if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
        annotate->OnChangeSettings(settings);
    if (DravikServerAppProxy* kernel = DravikServerAppProxy::Instance())
        kernel->OnChangeSettings(settings);
    ApplicationEventManager::runEvent(kSettingsChangedEvent,
                                      ApplicationEventArgs(nullptr, kSettingsFromProfile));
}

void ServerAppProxy::OnChangeSettings(const NativeSettings::Settings& settings) {
    const NativeSettings::Settings& current = GetSettings();
    if (settings.templateFolder == current.templateFolder && SamePrototypes(settings.files, current.files) &&
        settings.startPage == current.startPage)
        return;
    const std::wstring folder = TemplateFolderToFullPath(settings.templateFolder.c_str());
    ForEachStartPageView([&folder](IStartPageView* view) { view->SetPrototypeFolder(folder); });
    CDvw32App::ForEachMainFrame([&folder](CMainFrame* frame) {
        if (!frame->IsRibbonMode())
            return;
        if (DVRibbonBar* ribbon = frame->GetDVRibbonBar())
            if (DVRibbonNewDocumentBackstagePage* page = ribbon->GetNewDocumentPage(false))
                page->SetPrototypeFolder(folder.c_str(), true);
    });
}
