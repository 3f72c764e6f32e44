#include "DravikKernel/DravikServerAppProxy.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/DVFileDialog.h"

#include "DravikKernel/ProfileManager.h"
#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "DVPDMProxy/WorkMix.h"
#include "pal/journal.h"
#include "pal/path.h"
#include "pal/text.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<DravikServerAppProxy*> g_instance{nullptr};

} // namespace

DravikServerAppProxy::DravikServerAppProxy() {
    g_instance = this;
    // The kernel tells the application of every PDM connection made or ended.
    DVPDMWorkMix::Instance().SetConnectionListener([](bool connected) {
        if (DravikServerAppProxy* proxy = Instance())
            proxy->OnChangeOrsaConnectionState(connected);
    });
}

DravikServerAppProxy::~DravikServerAppProxy() {
    DravikServerAppProxy* self = this;
    if (g_instance.compare_exchange_strong(self, nullptr))
        DVPDMWorkMix::Instance().SetConnectionListener(nullptr);
}

DravikServerAppProxy* DravikServerAppProxy::Instance() {
    return g_instance;
}

std::wstring DravikServerAppProxy::GetProductIniFileName() {
    {
        auto& s = dvkernel::state();
        std::lock_guard lock(s.mutex);
        if (!s.productIni.empty())
            return s.productIni;
    }
    if (pal::effects::underTest())
        if (const char* env = std::getenv("DV_PRODUCT_INI"); env && *env)
            return pal::text::fromUtf8(env);
    const auto program = pal::folders::programFile();
    return pal::path::fromNative(program.parent_path() / (program.stem().string() + ".ini"));
}

void DravikServerAppProxy::TerminateAllCommands(CDvw32Doc* document, bool all) {
    // No command of the stand-in ever runs; the request is recorded.
    dvtrace::record(dvkernel::kTraceName, std::string("TerminateAllCommands(") +
                                              (document ? "document" : "null") + "," +
                                              (all ? "true" : "false") + ")");
}

bool DravikServerAppProxy::LoadState() {
    dvtrace::record(dvkernel::kTraceName, "DravikServerAppProxy::LoadState");
    return false;
}

bool DravikServerAppProxy::SaveState() {
    dvtrace::record(dvkernel::kTraceName, "DravikServerAppProxy::SaveState");
    return false;
}

std::wstring DravikServerAppProxy::GetProfileFileExtension() {
    return L"dvenv";
}

std::wstring DravikServerAppProxy::GetApplicationsIniPath() {
    return {};
}

StatusLineProxy* DravikServerAppProxy::GetStatusLine() {
    return nullptr;
}

std::wstring DravikServerAppProxy::GetWindowsProfileCurrentSectionName() {
    return DravikProfileManager::GetProfileSectionName() + L"\\MainFrame";
}

void DravikServerAppProxy::OnActivateDocument(CDvw32Doc*) {}

void DravikServerAppProxy::OnDocumentClosed(CDvw32Doc*) {}

void DravikServerAppProxy::OnDocumentDeactivated(CDvw32Doc* document, int reason) {
    dvtrace::record(dvkernel::kTraceName, "DravikServerAppProxy::OnDocumentDeactivated(" +
                                              std::string(document != nullptr ? "document" : "none") + "," +
                                              std::to_string(reason) + ")");
}

// --- without an application: no frame to reach, neutral answers ---

std::int32_t DravikServerAppProxy::GetSyspanelMode() {
    return -1;
}

void DravikServerAppProxy::SetSyspanelControls(const std::vector<SyspanelCommandButton>&) {}

void DravikServerAppProxy::EnableSyspanelControl(int, bool) {}

void DravikServerAppProxy::DisableSyspanelControls() {}

void DravikServerAppProxy::SyspanelStatusChanged() {}

void DravikServerAppProxy::GetSyspanelFontName(std::wstring& name, int) {
    name.clear();
}

void DravikServerAppProxy::set_syspanel_doublevar(Dravik::DVDocument*, int, double, std::int32_t) {}

void DravikServerAppProxy::set_syspanel_intvar(Dravik::DVDocument*, int, int, std::int32_t) {}

void DravikServerAppProxy::set_syspanel_cstr(Dravik::DVDocument*, int, const std::wstring&) {}

void DravikServerAppProxy::set_syspanel_font(Dravik::DVDocument*, int, const std::wstring&, int) {}

void DravikServerAppProxy::set_syspanel_int(Dravik::DVDocument*, int, std::int32_t) {}

void DravikServerAppProxy::SplitSyspanelRealValue(const SysPanelValue&, double&, std::int32_t&) {}

void DravikServerAppProxy::SplitSyspanelRealValueAsInt(const SysPanelValue&, int&, std::int32_t&) {}

void DravikServerAppProxy::GetSyspanelIntValue(int, std::int32_t&) {}

void DravikServerAppProxy::SetSyspanelButtonStatus(int, bool, bool) {}

bool DravikServerAppProxy::GetSyspanelButtonStatus(int, bool&, bool&) {
    return false;
}

bool DravikServerAppProxy::GetSyspanelControlValue(int, SysPanelValue&) {
    return false;
}

bool DravikServerAppProxy::InsertUserPopupMenu(const std::wstring&, HMENU, int, std::uint32_t,
                                               const std::wstring&) {
    return false;
}

bool DravikServerAppProxy::RemoveUserPopupMenu(const std::wstring&) {
    return false;
}

bool DravikServerAppProxy::InsertUserMenuItem(int, const std::wstring&, int, std::uint32_t) {
    return false;
}

void DravikServerAppProxy::UpdateInstalledConfigurationsMenu() {}

void DravikServerAppProxy::ShowToolbar(UINT, bool) {}

unsigned DravikServerAppProxy::SetHelpContext(unsigned, const wchar_t*, int) {
    return 0;
}

std::uint32_t DravikServerAppProxy::GetApplicationModeFlags(std::uint32_t& flags) {
    flags = 0;
    return flags;
}

bool DravikServerAppProxy::IsVirelo() {
    return false;
}

bool DravikServerAppProxy::IsMerrow() {
    return false;
}

bool DravikServerAppProxy::IsOstrel() {
    return false;
}

bool DravikServerAppProxy::IsConverter() {
    return false;
}

bool DravikServerAppProxy::IsAlderMode() {
    return false;
}

bool DravikServerAppProxy::IsBirchMode() {
    return false;
}

bool DravikServerAppProxy::IsAlderAdministratorMode() {
    return false;
}

bool DravikServerAppProxy::IsPreview() {
    return false;
}

bool DravikServerAppProxy::IsOrsa() {
    return false;
}

void DravikServerAppProxy::OnApplicationCommand(UINT) {}

UINT DravikServerAppProxy::RegisterAppCommand(std::unique_ptr<IApplicationCommand>, UINT, HICON, HICON,
                                              const CommandTooltipInfo*) {
    return 0;
}

void DravikServerAppProxy::SetCommandIcon(UINT, HINSTANCE, const wchar_t*) {}

void DravikServerAppProxy::SetCommandIcon(UINT, const void*, std::uint64_t) {}

void DravikServerAppProxy::SetCommandIcon(UINT, const CXTPImageManagerIcon&) {}

void DravikServerAppProxy::SetCommandIcon(UINT, HICON) {}

void DravikServerAppProxy::SetCommandIcon(UINT, UINT, bool) {}

bool DravikServerAppProxy::IsApplicationCommandId(UINT id) {
    return id >= 17000 && id <= 32000;
}

std::size_t DravikServerAppProxy::GetApplicationCommandCount() {
    return 0;
}

IApplicationCommand* DravikServerAppProxy::GetApplicationCommandAt(std::size_t) {
    return nullptr;
}

IApplicationCommand* DravikServerAppProxy::GetApplicationCommand(UINT) {
    return nullptr;
}

void DravikServerAppProxy::InsertRibbonSystemMenuItem(UINT, const wchar_t*, UINT, bool) {}

UINT DravikServerAppProxy::CreateApplicationToolbar(const std::wstring&, const std::wstring&, UINT, UINT,
                                                    const UINT*, int, bool, UINT) {
    return 0;
}

bool DravikServerAppProxy::IsApplicationToolbarVisible(const std::wstring&, const std::wstring&) {
    return false;
}

bool DravikServerAppProxy::ShowApplicationToolbar(const std::wstring&, const std::wstring&, bool) {
    return false;
}

bool DravikServerAppProxy::IsToolbarVisible(UINT) {
    return false;
}

UINT DravikServerAppProxy::CreateCustomToolbar(const std::wstring&, const std::wstring&,
                                               const std::vector<UINT>&, bool) {
    return 0;
}

bool DravikServerAppProxy::SetToolbarIcons(const std::vector<UINT>&, HBITMAP, HBITMAP) {
    return false;
}

bool DravikServerAppProxy::AddToolbarTab(const std::wstring&, const std::wstring&, const std::wstring&, UINT,
                                         UINT, const UINT*, int) {
    return false;
}

int DravikServerAppProxy::GetToolbarTabCount() {
    return 0;
}

bool DravikServerAppProxy::GetToolbarTabInfo(int, std::wstring&, std::wstring&, bool&) {
    return false;
}

bool DravikServerAppProxy::SetToolbarTabCustomizeVisible(const std::wstring&, bool) {
    return false;
}

void DravikServerAppProxy::GetProductStructurePaneState(DockingPaneState&) {}

bool DravikServerAppProxy::SetProductStructurePaneState(const DockingPaneState&) {
    return false;
}

void DravikServerAppProxy::GetModelTreePaneState(DockingPaneState&) {}

void DravikServerAppProxy::AttachFormPane(DVPaneForm*) {}

void DravikServerAppProxy::DetachFormPane() {}

void DravikServerAppProxy::FitFormPane() {}

std::wstring DravikServerAppProxy::GetBugReportAddress() {
    return {};
}

void DravikServerAppProxy::ReportApplicationError(const wchar_t* application, const wchar_t* message) {
    dvtrace::record(dvkernel::kTraceName, "ReportApplicationError(" +
                                              pal::text::toUtf8(application ? application : L"") + "," +
                                              pal::text::toUtf8(message ? message : L"") + ")");
}

std::vector<std::pair<std::wstring, std::wstring>> DravikServerAppProxy::GetFileLockers(const wchar_t*) {
    return {};
}

void DravikServerAppProxy::CreateDocumentFileDialog(std::unique_ptr<CDVFileDialog>& dialog,
                                                    const FileDialogInfo& description, CWnd* parent) {
    dialog = std::make_unique<CDVFileDialog>(description, parent);
}

void DravikServerAppProxy::OnChangeOrsaConnectionState(bool connected) {
    dvtrace::record(dvkernel::kTraceName,
                    std::string("OnChangeOrsaConnectionState(") + (connected ? "true" : "false") + ")");
}

void DravikServerAppProxy::ApplyOrsaProfile() {}

void DravikServerAppProxy::OnChangeSettings(const NativeSettings::Settings&) {}
