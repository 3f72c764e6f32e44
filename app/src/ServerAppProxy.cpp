#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "frame/MainFrame.h"

#include "Compression/IniFile.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "panels/DataExchange.h"
#include "ribbon/ApplicationMode.h"

#include <utility>

namespace {

// Add-ons may change the frames' menus only while the application lets them create their tools.
bool MayCreateTools() {
    return GlobalContainer::Instance().InAppCreateToolsMode();
}

} // namespace

void ServerAppProxy::SetProfileName(const wchar_t* name) {
    app_.SetRegistryProfileName(name);
}

bool ServerAppProxy::IsApplicationStateClear() {
    return app_.IsApplicationStateClear();
}

void ServerAppProxy::AddApplicationName(const wchar_t* name) {
    app_.AddRegisteredName(name);
}

// The kernel hands the name over; it is not needed after the look-up.
bool ServerAppProxy::IsApplicationNameKnown(std::wstring name) {
    const std::wstring consumed = std::move(name);
    return app_.IsRegisteredName(consumed.c_str());
}

void ServerAppProxy::OnActivateDocument(CDvw32Doc* document) {
    app_.SetActiveDocument(document);
}

void ServerAppProxy::OnDocumentClosed(CDvw32Doc* document) {
    app_.OnDocumentClosed(document);
    app_.ForgetDocument(document);
}

std::wstring ServerAppProxy::GetApplicationsIniPath() {
    std::wstring path;
    app_.GetApplicationsIniPath(path);
    return path;
}

bool ServerAppProxy::SaveState() {
    return app_.SaveState() != FALSE;
}

// --- the system panel ---

std::int32_t ServerAppProxy::GetSyspanelMode() {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr ? frame->GetSyspanelMode() : -1;
}

void ServerAppProxy::SetSyspanelControls(const std::vector<SyspanelCommandButton>& buttons) {
    std::vector<CSysPanelToolbar::CommandButton> own;
    own.reserve(buttons.size());
    for (const SyspanelCommandButton& button : buttons)
        own.push_back({button.commandId, button.iconId, button.stringId});
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->SetSyspanelControls(own); });
}

void ServerAppProxy::EnableSyspanelControl(int id, bool enable) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->EnableSyspanelControl(id, enable); });
}

void ServerAppProxy::DisableSyspanelControls() {
    CDvw32App::ForEachMainFrame([](CMainFrame* frame) { frame->DisableSyspanelControls(); });
}

void ServerAppProxy::SyspanelStatusChanged() {
    CDvw32App::ForEachMainFrame([](CMainFrame* frame) { frame->SyspanelStatusChanged(); });
}

void ServerAppProxy::GetSyspanelFontName(std::wstring& name, int id) {
    name.clear();
    if (CMainFrame* frame = GetMainFrame())
        frame->GetSyspanelFontName(name, id);
}

void ServerAppProxy::set_syspanel_doublevar(Dravik::DVDocument* document, int id, double value,
                                            std::int32_t flag) {
    CDvw32App::ForEachMainFrame(
        [&](CMainFrame* frame) { frame->SetSyspanelDoubleVar(document, id, value, flag); });
}

void ServerAppProxy::set_syspanel_intvar(Dravik::DVDocument* document, int id, int value, std::int32_t flag) {
    CDvw32App::ForEachMainFrame(
        [&](CMainFrame* frame) { frame->SetSyspanelIntVar(document, id, value, flag); });
}

void ServerAppProxy::set_syspanel_cstr(Dravik::DVDocument* document, int id, const std::wstring& text) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->SetSyspanelCString(document, id, text); });
}

// The frames' font controls take the face alone; the size is the kernel's business.
void ServerAppProxy::set_syspanel_font(Dravik::DVDocument* document, int id, const std::wstring& name, int) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->SetSyspanelFont(document, id, name); });
}

void ServerAppProxy::set_syspanel_int(Dravik::DVDocument* document, int id, std::int32_t value) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->SetSyspanelInt(document, id, value); });
}

void ServerAppProxy::SplitSyspanelRealValue(const SysPanelValue& record, double& value, std::int32_t& code) {
    if (CMainFrame* frame = GetMainFrame())
        frame->SplitSyspanelRealValue(record, value, code);
}

void ServerAppProxy::SplitSyspanelRealValueAsInt(const SysPanelValue& record, int& value,
                                                 std::int32_t& code) {
    if (CMainFrame* frame = GetMainFrame())
        frame->SplitSyspanelRealValueAsInt(record, value, code);
}

void ServerAppProxy::GetSyspanelIntValue(int id, std::int32_t& value) {
    if (CMainFrame* frame = GetMainFrame())
        frame->GetSyspanelIntValue(id, value);
}

void ServerAppProxy::SetSyspanelButtonStatus(int id, bool enabled, bool ticked) {
    CDvw32App::ForEachMainFrame(
        [&](CMainFrame* frame) { frame->SetSyspanelButtonStatus(id, enabled, ticked); });
}

bool ServerAppProxy::GetSyspanelButtonStatus(int id, bool& checked, bool& disabled) {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr && frame->GetSyspanelButtonStatus(id, checked, disabled);
}

bool ServerAppProxy::GetSyspanelControlValue(int id, SysPanelValue& value) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return false;
    const std::optional<SysPanelValue> found = frame->GetSyspanelControlValue(id);
    if (!found)
        return false;
    value = *found;
    return true;
}

// --- add-on menus ---

bool ServerAppProxy::InsertUserPopupMenu(const std::wstring& caption, HMENU menu, int anchor,
                                         std::uint32_t placement, const std::wstring& key) {
    if (!MayCreateTools())
        return false;
    for (CMainFrame* frame : CDvw32App::GetMainFrames())
        if (!frame->InsertUserPopupMenu(caption, menu, anchor, placement, key))
            return false;
    return true;
}

bool ServerAppProxy::RemoveUserPopupMenu(const std::wstring& key) {
    if (!MayCreateTools())
        return false;
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->RemoveUserPopupMenu(key); });
    return true;
}

bool ServerAppProxy::InsertUserMenuItem(int id, const std::wstring& text, int anchor,
                                        std::uint32_t placement) {
    if (!MayCreateTools())
        return false;
    for (CMainFrame* frame : CDvw32App::GetMainFrames())
        if (!frame->InsertUserMenuItem(id, text, anchor, placement))
            return false;
    return true;
}

void ServerAppProxy::UpdateInstalledConfigurationsMenu() {
    CDvw32App::ForEachMainFrame([](CMainFrame* frame) { frame->UpdateInstalledConfigurationsMenu(); });
}

void ServerAppProxy::ShowToolbar(UINT id, bool show) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->ShowToolbar(id, show); });
}

unsigned ServerAppProxy::SetHelpContext(unsigned helpId, const wchar_t* helpFile, int delta) {
    return app_.SetHelpContext(helpId, helpFile, delta);
}

// --- the edition ---

std::uint32_t ServerAppProxy::GetApplicationModeFlags(std::uint32_t& flags) {
    // Each edition's flags include those of the editions it grows from.
    static constexpr std::pair<std::uint32_t, std::uint32_t> kFlagsOfMode[] = {
        {2, 2}, {4, 6}, {8, 14}, {128, 46}, {256, 78}, {512, 142}};
    flags = 0;
    const std::uint32_t mode = GetApplicationModeCode();
    for (const auto& [code, value] : kFlagsOfMode)
        if (code == mode)
            flags = value;
    if (GlobalContainer::Instance().IsVirelo())
        flags |= 0x10000;
    return flags;
}

bool ServerAppProxy::IsVirelo() {
    return GlobalContainer::Instance().IsVirelo();
}

bool ServerAppProxy::IsMerrow() {
    return GlobalContainer::Instance().IsMerrow();
}

bool ServerAppProxy::IsOstrel() {
    return GlobalContainer::Instance().IsOstrel();
}

bool ServerAppProxy::IsAlderMode() {
    return GetApplicationModeCode() == 128;
}

bool ServerAppProxy::IsBirchMode() {
    return GetApplicationModeCode() == 256;
}

bool ServerAppProxy::IsAlderAdministratorMode() {
    return GetApplicationModeCode() == 512;
}

// --- profiles and errors ---

std::wstring ServerAppProxy::GetProfileFileExtension() {
    static constexpr std::pair<std::uint32_t, const wchar_t*> kExtensionOfMode[] = {
        {1, L"Viewenv"},   {2, L"2Denv"},    {4, L"SEenv"},    {8, L"3Denv"},  {16, L"GEOenv"},
        {32, L"GEO3Denv"}, {128, L"ALDenv"}, {256, L"BIRenv"}, {512, L"AAenv"}};
    const std::uint32_t mode = GetApplicationModeCode();
    for (const auto& [code, extension] : kExtensionOfMode)
        if (code == mode)
            return extension;
    return DravikServerAppProxy::GetProfileFileExtension();
}

std::wstring ServerAppProxy::GetWindowsProfileCurrentSectionName() {
    if (GetMainFrame() != nullptr)
        return CDvw32App::GetMainFrameProfileSection();
    return DravikServerAppProxy::GetWindowsProfileCurrentSectionName();
}

std::wstring ServerAppProxy::GetBugReportAddress() {
    dvio::IniFile ini;
    if (!ini.Load(GetProductIniFileName().c_str()))
        return {};
    return ini.GetString(L"SETTINGS", L"BugReportAddress", L"");
}

void ServerAppProxy::ReportApplicationError(const wchar_t* application, const wchar_t* message) {
    DravikServerAppProxy::ReportApplicationError(application, message);
    const std::wstring name = application != nullptr ? application : L"";
    const std::wstring text = message != nullptr ? message : L"";
    if (name.empty() && text.empty())
        return;
    std::wstring shown;
    if (name.empty()) {
        shown = text;
    } else {
        shown.reserve(4096);
        shown = L"Error occurred in application \"" + name + L"\":\n" + text;
    }
    DVMessageBox::Show(shown.c_str(), MB_ICONERROR);
}
