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
    void SetProfileName(const wchar_t* name) override;
    bool IsApplicationStateClear() override;
    // Names the kernel registers, looked up without case; an empty name is never registered.
    void AddApplicationName(const wchar_t* name) override;
    bool IsApplicationNameKnown(std::wstring name) override;
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

    // ===== the other rows, by theme (ServerAppQueries.cpp, ServerAppPanes.cpp,
    // ServerAppFrames.cpp, ServerAppSelectCommand.cpp) =====
    // Identity and edition: fields of the application object.
    bool IsRibbonApplication() override;
    bool IsSavingStateAtExit() override;
    bool IsServerMode() override;
    HICON GetApplicationIcon() override;
    UINT GetDocTemplateResourceId() override;
    UINT SetDocTemplateResourceId(UINT id) override;
    UINT GetTitleStringId() override;
    UINT SetTitleStringId(UINT id) override;
    GenerateDumpFileContextBase* GetDumpFileContext() override;
    std::wstring GetProductName() override;
    std::wstring GetApplicationTitle() override;
    // Documents.
    CDvw32Doc* GetActiveDocument() override;
    void OnChangeDocumentState(CDvw32Doc* document) override;
    void BlockPaintAllDocuments(bool block) override;
    void RepaintAllDocuments() override;
    bool DropOnLibraries(const std::vector<std::wstring>& files, DWORD effect) override;
    DWORD GetLibrariesDropEffect(const std::vector<std::wstring>& files, DWORD keys) override;
    CDocument* CreateImageDocument(const wchar_t* path) override;
    bool ShowImageDocument(CDocument* document) override;
    const void* GetImageDocumentDib(CDocument* document) override;
    bool ShowSketchSetGlobalDialog(void* data) override;
    void ShowSelectionInTree(CDvw32Doc* document) override;
    void StartTechRequirementLeaders() override;
    CDocTemplate* FindDocTemplate() override;
    void AutoSaveDocuments() override;
    // Help.
    UINT GetHelpContextId() override;
    bool ShowHelpPage(const wchar_t* topic) override;
    void ShowCurrentHelpTopic() override;
    void ShowCurrentHelp() override;
    bool ShowEmbeddedHelp(const wchar_t* topic, DWORD navigation) override;
    void HideEmbeddedHelp() override;
    // Commands and add-ons.
    void OnUpdateApplicationCommand(CCmdUI* ui) override;
    UINT FindApplicationCommandByKey(const Dravik::UniqueIdentifier& key, int internalId) override;
    UINT FindApplicationCommandByKeyText(const wchar_t* key, int internalId) override;
    std::wstring GetCommandName(UINT id) override;
    std::optional<UINT> SelectCommandId(CWnd* parent) override;
    bool BrowseText(int index, const wchar_t* text) override;
    void SetTextBrowserEdit(HWND edit) override;
    bool BrowseTextByKey(const wchar_t* key, const wchar_t* text) override;
    std::vector<std::wstring> GetTextBrowserNames(bool atMostTen) override;
    // Application state.
    bool IsApplicationFlagB() override;
    bool IsApplicationFlagA() override;
    void SetApplicationFlagA() override;
    std::int32_t GetApplicationValueA() override;
    std::int32_t GetApplicationValueB() override;
    std::int32_t GetApplicationValueE() override;
    std::wstring GetApplicationStringA() override;
    std::wstring GetApplicationStringB() override;
    std::wstring GetApplicationStringC() override;
    void MarkRecentFileList() override;
    void ReportCriticalError(const std::wstring& text) override;

    // Tool windows and cliparts (ServerAppPanes.cpp).
    void UpdateMaterialWindow() override;
    CWnd* GetBirdsEyeView() override;
    void SetBirdsEyeViewActiveView(CView* view) override;
    void UpdateBirdsEyeViewArea() override;
    void RedrawBirdsEyeView() override;
    CWnd* GetConfigurationsControl() override;
    CWnd* GetWeldTreeWindow() override;
    CWnd* GetMaterialWindow() override;
    void ReloadMaterialWindow() override;
    CWnd* GetProductStructureWindow() override;
    bool SelectWorkmixPosition(const std::function<bool(const std::wstring&)>& select) override;
    CWnd* GetModelTreeWindow() override;
    CWnd* GetTaskWindow() override;
    CWnd* GetFeaResultParametersWindow() override;
    CWnd* GetNcWindow() override;
    CWnd* GetStructureElementsWindow() override;
    CWnd* GetCamWindow() override;
    void SelectPaneForCommand790() override;
    bool IsPaneForCommand790Open() override;
    void SelectPaneForCommand826() override;
    bool IsPaneForCommand826Open() override;
    CWnd* GetErrorWindow() override;
    CWnd* GetDiagnosticsWindow() override;
    void OnChangeOrsaRepositoryItemStates(const std::vector<std::wstring>& items) override;
    void OnChangeVisualItemStates(const std::vector<std::wstring>& items) override;
    void NotifyOrsaExplorer(int what) override;
    bool ShowApplicationClipart(const std::wstring& key, int id, const std::wstring& title) override;
    bool OpenModelTreeClipart(std::wstring name) override;
    bool IsApplicationClipartVisible(const std::wstring& key, int id) override;
    void SetApplicationClipartVisible(const std::wstring& key, int id, bool show) override;
    void SetApplicationClipartTitle(const std::wstring& key, int id, const std::wstring& title) override;
    void SetApplicationClipartSvgIcon(const std::wstring& key, int id, const void* data,
                                      std::uint64_t size) override;
    void SetApplicationClipartIconId(const std::wstring& key, int id, UINT iconId) override;
    void SetApplicationClipartIcon(const std::wstring& key, int id, HICON icon) override;
    void MoveApplicationClipart(const std::wstring& key, int id, const RECT& rect) override;
    bool GetApplicationClipartRect(const std::wstring& key, int id, RECT& rect) override;
    bool IsClipartId(int id) override;
    bool ShowExpandedFormClipart(DVPaneForm* form) override;
    void CloseExpandedFormClipart(DVPaneForm* form) override;

    // Main frames, their bars, message bars and backstage (ServerAppFrames.cpp).
    void* GetSyspanelSelected3DObject() override;
    std::int32_t GetSyspanelControl2042() override;
    CXTPRibbonBar* GetFrameRibbonBar(CWnd* frame) override;
    StatusLineProxy* GetFrameStatusLine(CWnd* frame) override;
    StatusLineProxy* GetStatusLine() override;
    CXTPCommandBars* GetFrameCommandBars(CWnd* frame) override;
    CWnd* GetMainWindowPart() override;
    void* GetFrameObjectA() override;
    void* GetFrameObjectB() override;
    CWnd* NewMainFrame() override;
    bool SetAnalysisMode(CWnd* frame, int mode) override;
    bool GetFrameInterfaceSettings(CWnd* frame, FrameInterfaceSettings& settings) override;
    void SetDefaultSystemToolbar(int kind, const Dravik::UniqueIdentifier& tab) override;
    void RedrawCommandBars() override;
    void SetCameras(const std::vector<std::wstring>& cameras) override;
    void UpdateCommandBarControls(std::int64_t value) override;
    void ShowCustomizeDialog(int kind, void* item, bool flag, CWnd* frame) override;
    Dravik::UI::MessageBar* ShowMessageBar(int imageId, const std::wstring& title, const std::wstring& text,
                                           std::uint64_t value) override;
    Dravik::UI::MessageBar* ShowMessageBarWithButtons(int imageId, const std::wstring& title,
                                                      const std::wstring& text, std::uint64_t value,
                                                      const std::vector<MessageBarButton>& buttons,
                                                      std::function<void(UINT)> pressed) override;
    bool IsValidMessageBar(const Dravik::UI::MessageBar* bar) override;
    unsigned GetMessageBarId(const Dravik::UI::MessageBar* bar) override;
    std::uint64_t GetMessageBarUserData(const Dravik::UI::MessageBar* bar) override;
    void CloseMessageBar(unsigned id) override;
    void CloseMessageBarObject(Dravik::UI::MessageBar* bar) override;
    void ShowOrsaWindows(bool show) override;
    int GetActiveBackstageTab(CWnd* frame) override;
    bool ShowBackstageTab(CWnd* frame, UINT id) override;
    void CloseBackstage(CWnd* frame) override;
    bool ShowRibbonBackstagePrintPage(CWnd* frame,
                                      std::shared_ptr<Dravik::Print::PrintDrawingContext> context) override;
    bool ShowRibbonBackstagePrintPage(CWnd* frame, CDvw32Doc* document) override;

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
