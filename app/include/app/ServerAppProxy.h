// The application-callback object: the one object through which the kernel reaches the
// shell. Owned by the application object, built with it and the last of it to go.
#pragma once

#include "DravikKernel/DravikServerAppProxy.h"
#include "pal/visibility.h"

#include <functional>

DV_EXPORTS_BEGIN

class CDvw32App;
class CDVAppCustomToolBar;
class CMainFrame;
class CXTPImageManager;

class ServerAppProxy : public DravikServerAppProxy {
public:
    explicit ServerAppProxy(CDvw32App& app) : app_(app) {}

    // The registry profile name (the last part of the application key).
    void SetRegistryProfileName(const wchar_t* name);
    bool IsApplicationStateClear() const;
    // Names the kernel registers, looked up without case; an empty name is never registered.
    void AddRegisteredName(const wchar_t* name);
    bool IsRegisteredName(const wchar_t* name) const;
    // The kernel's active document becomes the application's; a closed one stops being it.
    void OnActivateDocument(CDvw32Doc* document) override;
    void OnDocumentClosed(CDvw32Doc* document) override;
    std::wstring GetApplicationsIniPath() override;
    // The application's commands and its main frames' state, with the profiles' own.
    bool SaveState() override;
    // The system panel: requests reach every main frame, questions the application's main frame.
    std::int32_t GetSyspanelMode() override;
    void SetSyspanelControls(const std::vector<SyspanelCommandButton>& buttons) override;
    void EnableSyspanelControl(int id, bool enable) override;
    void DisableSyspanelControls() override;
    void SyspanelStatusChanged() override;
    void GetSyspanelFontName(std::wstring& name, int id) override;
    void set_syspanel_doublevar(Dravik::DVDocument* document, int id, double value,
                                std::int32_t flag) override;
    void set_syspanel_intvar(Dravik::DVDocument* document, int id, int value, std::int32_t flag) override;
    void set_syspanel_cstr(Dravik::DVDocument* document, int id, const std::wstring& text) override;
    void set_syspanel_font(Dravik::DVDocument* document, int id, const std::wstring& name, int size) override;
    void set_syspanel_int(Dravik::DVDocument* document, int id, std::int32_t value) override;
    void SplitSyspanelRealValue(const SysPanelValue& record, double& value, std::int32_t& code) override;
    void SplitSyspanelRealValueAsInt(const SysPanelValue& record, int& value, std::int32_t& code) override;
    void GetSyspanelIntValue(int id, std::int32_t& value) override;
    void SetSyspanelButtonStatus(int id, bool enabled, bool ticked) override;
    bool GetSyspanelButtonStatus(int id, bool& checked, bool& disabled) override;
    bool GetSyspanelControlValue(int id, SysPanelValue& value) override;
    // Add-on menus, only while the application creates its tools.
    bool InsertUserPopupMenu(const std::wstring& caption, HMENU menu, int anchor, std::uint32_t placement,
                             const std::wstring& key) override;
    bool RemoveUserPopupMenu(const std::wstring& key) override;
    bool InsertUserMenuItem(int id, const std::wstring& text, int anchor, std::uint32_t placement) override;
    void UpdateInstalledConfigurationsMenu() override;
    void ShowToolbar(UINT id, bool show) override;
    unsigned SetHelpContext(unsigned helpId, const wchar_t* helpFile, int delta) override;

    // The edition: the mode code (0 when another) and whether the program runs as Virelo.
    std::uint32_t GetApplicationModeFlags(std::uint32_t& flags) override;
    bool IsVirelo() override;
    bool IsMerrow() override;
    bool IsOstrel() override;
    bool IsAlderMode() override;
    bool IsBirchMode() override;
    bool IsAlderAdministratorMode() override;

    // Add-ons' commands and their icons (ServerAppCommands.cpp).
    void OnApplicationCommand(UINT id) override;
    UINT RegisterAppCommand(std::unique_ptr<IApplicationCommand> command, UINT iconId, HICON icon,
                            HICON secondIcon, const CommandTooltipInfo* tooltip) override;
    void SetCommandIcon(UINT id, HINSTANCE module, const wchar_t* name) override;
    void SetCommandIcon(UINT id, const void* data, std::uint64_t size) override;
    void SetCommandIcon(UINT id, const CXTPImageManagerIcon& icon) override;
    void SetCommandIcon(UINT id, HICON icon) override;
    void SetCommandIcon(UINT id, UINT resourceId, bool fromResources) override;
    std::size_t GetApplicationCommandCount() override;
    IApplicationCommand* GetApplicationCommandAt(std::size_t index) override;
    IApplicationCommand* GetApplicationCommand(UINT id) override;
    void InsertRibbonSystemMenuItem(UINT id, const wchar_t* prompt, UINT neighbour, bool after) override;
    // Every distinct image manager in use (the process's and each main frame's command bars'),
    // gathered afresh, in ascending order of address.
    static void ForEachImageManager(const std::function<void(CXTPImageManager&)>& action);

    // Add-ons' tool bars and tabs, and the kernel's panes (ServerAppToolbars.cpp).
    UINT CreateApplicationToolbar(const std::wstring& key, const std::wstring& name, UINT bitmapId,
                                  UINT hotBitmapId, const UINT* buttons, int count, bool visible,
                                  UINT dock) override;
    bool IsApplicationToolbarVisible(const std::wstring& key, const std::wstring& name) override;
    bool ShowApplicationToolbar(const std::wstring& key, const std::wstring& name, bool visible) override;
    bool IsToolbarVisible(UINT barId) override;
    UINT CreateCustomToolbar(const std::wstring& key, const std::wstring& name,
                             const std::vector<UINT>& buttons, bool visible) override;
    bool SetToolbarIcons(const std::vector<UINT>& buttons, HBITMAP bitmap, HBITMAP hotBitmap) override;
    bool AddToolbarTab(const std::wstring& caption, const std::wstring& key, const std::wstring& name,
                       UINT bitmapId, UINT hotBitmapId, const UINT* buttons, int count) override;
    int GetToolbarTabCount() override;
    bool GetToolbarTabInfo(int index, std::wstring& key, std::wstring& caption,
                           bool& customizeVisible) override;
    bool SetToolbarTabCustomizeVisible(const std::wstring& key, bool visible) override;
    void GetProductStructurePaneState(DockingPaneState& state) override;
    bool SetProductStructurePaneState(const DockingPaneState& state) override;
    void GetModelTreePaneState(DockingPaneState& state) override;
    // The form pane (ServerAppFormPane.cpp).
    void AttachFormPane(DVPaneForm* form) override;
    void DetachFormPane() override;
    void FitFormPane() override;
    // Profiles and errors (ServerAppProxy.cpp).
    std::wstring GetProfileFileExtension() override;
    std::wstring GetWindowsProfileCurrentSectionName() override;
    std::wstring GetBugReportAddress() override;
    void ReportApplicationError(const wchar_t* application, const wchar_t* message) override;
    // Files, documents, the PDM profile and new settings (FileLockers.cpp, DocumentFileDialog.cpp,
    // ServerAppOrsaProfile.cpp).
    std::vector<std::pair<std::wstring, std::wstring>> GetFileLockers(const wchar_t* path) override;
    void CreateDocumentFileDialog(std::unique_ptr<CDVFileDialog>& dialog, const FileDialogInfo& description,
                                  CWnd* parent) override;
    void OnChangeOrsaConnectionState(bool connected) override;
    void ApplyOrsaProfile() override;
    void OnChangeSettings(const NativeSettings::Settings& settings) override;

    // Whether the program works without reaching the network (no online help pages then).
    bool IsOfflineMode() const { return offline_; }
    void SetOfflineMode(bool offline) { offline_ = offline; }

private:
    CDvw32App& app_;
    bool offline_ = false;
    // The form the form pane hosts; the kernel keeps it.
    DVPaneForm* paneForm_ = nullptr;
};

DV_EXPORTS_END
