// The kernel's application-callback interface. The kernel never calls the shell's classes
// directly: it calls the one object derived from this base. The base implementations here
// are what the shell keeps when it does not override an operation.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CCmdUI;
class CDVFileDialog;
class CDocTemplate;
class CDocument;
class CDvw32Doc;
class CView;
class CWnd;
class CXTPCommandBars;
class CXTPRibbonBar;
class GenerateDumpFileContextBase;
class CXTPImageManagerIcon;
struct FileDialogInfo;
class DVPaneForm;
class IApplicationCommand;
class StatusLineProxy;
namespace Dravik {
class DVDocument;
class DocumentManager;
struct UniqueIdentifier;
namespace Print {
class PrintDrawingContext;
}
namespace UI {
class MessageBar;
}
} // namespace Dravik
namespace NativeSettings {
struct Settings;
}
// The value record of a system-panel control; the panels define it.
struct SysPanelValue;

// A command button the running command puts on the system panel.
struct SyspanelCommandButton {
    int commandId = 0;
    int iconId = 0;
    unsigned stringId = 0;
};

// Texts an add-on gives for the tip of a command it registers; an empty text keeps the one the
// command's prompt gives.
struct CommandTooltipInfo {
    std::wstring title;
    std::wstring description;
    std::wstring text;
};

// What the kernel learns of a docking pane, flag by flag. `valid` is false when there is no such
// pane; `sharesPropertiesContainer` is true when the properties pane sits docked beside it.
struct DockingPaneState {
    bool valid = false;
    bool hidden = false;
    bool closed = false;
    bool selected = false;
    bool focused = false;
    bool floating = false;
    bool sharesPropertiesContainer = false;
};

// A frame's interface settings as the kernel reads them: its analysis mode, then whether its
// ribbon is minimised in windowed and in full-screen mode.
struct FrameInterfaceSettings {
    std::int32_t analysisMode = 0;
    std::uint32_t ribbonMinimizedWindowed = 0;
    std::uint32_t ribbonMinimizedFullScreen = 0;
};

// A button of a message bar the kernel shows: its id (handed back when pressed) and caption.
struct MessageBarButton {
    UINT id = 0;
    std::wstring caption;
    std::wstring toolTip;
};

class ModuleProxy {
public:
    virtual ~ModuleProxy() = default;
    virtual bool IsLoaded() const { return true; }
};

class DravikServerAppProxy : public ModuleProxy {
public:
    DravikServerAppProxy();
    ~DravikServerAppProxy() override;
    DravikServerAppProxy(const DravikServerAppProxy&) = delete;
    DravikServerAppProxy& operator=(const DravikServerAppProxy&) = delete;

    // The callback object, or null before it is built and after it is destroyed.
    static DravikServerAppProxy* Instance();

    // The product INI: "<program name>.ini" in the program folder.
    virtual std::wstring GetProductIniFileName();
    // The document manager reports the document the person now works in (null: none), each time
    // it changes, and a listed document that closes (after it left the list). The base does
    // nothing with either.
    virtual void OnActivateDocument(CDvw32Doc* document);
    virtual void OnDocumentClosed(CDvw32Doc* document);
    // A document stopped being the active one (reason 1: another, or none, became active). The
    // base notes it in the kernel's record.
    virtual void OnDocumentDeactivated(CDvw32Doc* document, int reason);
    // Ends the running commands of a document, or of every document when it is null.
    virtual void TerminateAllCommands(CDvw32Doc* document, bool all);

    // Settings profiles (DravikKernel/ProfileManager.h). LoadState asks the application to apply
    // the frame state of the current profile; the base has none to apply and answers false.
    virtual bool LoadState();
    // Asked after the profile items saved theirs: the application keeps what it holds itself
    // (its commands and its main frames' state); the base has nothing to keep and answers false.
    virtual bool SaveState();
    // The extension of profile files; the base answers "dvenv".
    virtual std::wstring GetProfileFileExtension();
    // The registry section of the main frames' state in the current settings; the base answers
    // the default profile's "MainFrame" section.
    virtual std::wstring GetWindowsProfileCurrentSectionName();
    // The INI that lists the installed add-on applications; the base answers none.
    virtual std::wstring GetApplicationsIniPath();
    // The status line of the application's main frame, which the kernel writes prompts and
    // progress to; the base has none.
    virtual StatusLineProxy* GetStatusLine();

    // The running command's parameter controls on the system panel (and their ribbon copies).
    // The requests go to every main frame; the questions to the application's main frame. The
    // base has no frame: requests do nothing and questions get their neutral answers (-1 for
    // the mode, false, an empty text, out values untouched).
    virtual std::int32_t GetSyspanelMode();
    virtual void SetSyspanelControls(const std::vector<SyspanelCommandButton>& buttons);
    virtual void EnableSyspanelControl(int id, bool enable);
    virtual void DisableSyspanelControls();
    virtual void SyspanelStatusChanged();
    virtual void GetSyspanelFontName(std::wstring& name, int id);
    virtual void set_syspanel_doublevar(Dravik::DVDocument* document, int id, double value,
                                        std::int32_t flag);
    virtual void set_syspanel_intvar(Dravik::DVDocument* document, int id, int value, std::int32_t flag);
    virtual void set_syspanel_cstr(Dravik::DVDocument* document, int id, const std::wstring& text);
    virtual void set_syspanel_font(Dravik::DVDocument* document, int id, const std::wstring& name, int size);
    virtual void set_syspanel_int(Dravik::DVDocument* document, int id, std::int32_t value);
    virtual void SplitSyspanelRealValue(const SysPanelValue& record, double& value, std::int32_t& code);
    virtual void SplitSyspanelRealValueAsInt(const SysPanelValue& record, int& value, std::int32_t& code);
    virtual void GetSyspanelIntValue(int id, std::int32_t& value);
    virtual void SetSyspanelButtonStatus(int id, bool enabled, bool ticked);
    virtual bool GetSyspanelButtonStatus(int id, bool& checked, bool& disabled);
    // False when no control answers; `value` is then untouched.
    virtual bool GetSyspanelControlValue(int id, SysPanelValue& value);

    // Add-on menus in every main frame, only while the application creates its tools (the
    // base refuses them). An insertion stops at the first frame that refuses it.
    virtual bool InsertUserPopupMenu(const std::wstring& caption, HMENU menu, int anchor,
                                     std::uint32_t placement, const std::wstring& key);
    virtual bool RemoveUserPopupMenu(const std::wstring& key);
    virtual bool InsertUserMenuItem(int id, const std::wstring& text, int anchor, std::uint32_t placement);
    // The installed library configurations changed: every main frame lists them again.
    virtual void UpdateInstalledConfigurationsMenu();
    // Shows or hides a tool bar by id in every main frame.
    virtual void ShowToolbar(UINT id, bool show);
    // The help topic the application shows for context help, pushed (delta 1) or popped (-1)
    // with its help file (none: the program's own); answers the previous id. The base keeps none.
    virtual unsigned SetHelpContext(unsigned helpId, const wchar_t* helpFile, int delta);

    // --- the edition the program runs as; the base knows none of them ---
    // The mode flags of the running edition, written to `flags` and answered.
    virtual std::uint32_t GetApplicationModeFlags(std::uint32_t& flags);
    virtual bool IsVirelo();
    virtual bool IsMerrow();
    virtual bool IsOstrel();
    virtual bool IsConverter();
    virtual bool IsAlderMode();
    virtual bool IsBirchMode();
    virtual bool IsAlderAdministratorMode();
    virtual bool IsPreview();
    virtual bool IsOrsa();

    // --- add-ons' commands and their icons ---
    // Runs an application command (17000-32000); the base has none to run.
    virtual void OnApplicationCommand(UINT id);
    // Registers an add-on's command, only while the application creates its tools; the id it
    // got, 0 when it was not registered (the command is then dropped). The icon comes from the
    // resource id when it is non-zero, else from the handles (both null: the id loses its icon).
    virtual UINT RegisterAppCommand(std::unique_ptr<IApplicationCommand> command, UINT iconId, HICON icon,
                                    HICON secondIcon, const CommandTooltipInfo* tooltip);
    // A command's icon in every image manager, from: a named icon resource of a module (null:
    // the module that holds it); image data (SVG, else the icons it holds); an icon of an image
    // manager; an icon handle; an icon resource id (or, when not from resources, the icon set
    // of that id). A missing or unreadable source changes nothing.
    virtual void SetCommandIcon(UINT id, HINSTANCE module, const wchar_t* name);
    virtual void SetCommandIcon(UINT id, const void* data, std::uint64_t size);
    virtual void SetCommandIcon(UINT id, const CXTPImageManagerIcon& icon);
    virtual void SetCommandIcon(UINT id, HICON icon);
    virtual void SetCommandIcon(UINT id, UINT resourceId, bool fromResources);
    // 17000 to 32000 inclusive.
    virtual bool IsApplicationCommandId(UINT id);
    virtual std::size_t GetApplicationCommandCount();
    virtual IApplicationCommand* GetApplicationCommandAt(std::size_t index);
    virtual IApplicationCommand* GetApplicationCommand(UINT id);

    // Puts a command into the ribbon's system menu of every main frame, beside the neighbour
    // (after it when `after`); a null prompt takes the command's own.
    virtual void InsertRibbonSystemMenuItem(UINT id, const wchar_t* prompt, UINT neighbour, bool after);

    // --- add-ons' tool bars, found by key and name (case counts) ---
    // Made only while the application creates its tools; the bar id (21000-30999), 0 when none.
    // The bitmaps cut into 16-pixel icons; the hot one at the same number of icons.
    virtual UINT CreateApplicationToolbar(const std::wstring& key, const std::wstring& name, UINT bitmapId,
                                          UINT hotBitmapId, const UINT* buttons, int count, bool visible,
                                          UINT dock);
    virtual bool IsApplicationToolbarVisible(const std::wstring& key, const std::wstring& name);
    // Sets the bar in every main frame holding it; false when any frame lacks it.
    virtual bool ShowApplicationToolbar(const std::wstring& key, const std::wstring& name, bool visible);
    virtual bool IsToolbarVisible(UINT barId);
    virtual UINT CreateCustomToolbar(const std::wstring& key, const std::wstring& name,
                                     const std::vector<UINT>& buttons, bool visible);
    // Icons for the buttons cut from the bitmaps (the caller keeps them); only while the
    // application creates its tools.
    virtual bool SetToolbarIcons(const std::vector<UINT>& buttons, HBITMAP bitmap, HBITMAP hotBitmap);
    // A tab of the main frame's tabbed tool bar, only while the application creates its tools.
    virtual bool AddToolbarTab(const std::wstring& caption, const std::wstring& key, const std::wstring& name,
                               UINT bitmapId, UINT hotBitmapId, const UINT* buttons, int count);
    virtual int GetToolbarTabCount();
    virtual bool GetToolbarTabInfo(int index, std::wstring& key, std::wstring& caption,
                                   bool& customizeVisible);
    virtual bool SetToolbarTabCustomizeVisible(const std::wstring& key, bool visible);

    // --- docking panes ---
    // The record of the product-structure pane (1020) and of the model-tree pane (1006); left
    // as it is when there is no such pane.
    virtual void GetProductStructurePaneState(DockingPaneState& state);
    virtual bool SetProductStructurePaneState(const DockingPaneState& state);
    virtual void GetModelTreePaneState(DockingPaneState& state);

    // A form of the kernel in the floating form pane (1016) of the main frame, one at a time;
    // the caller keeps the form. The base has no pane.
    virtual void AttachFormPane(DVPaneForm* form);
    virtual void DetachFormPane();
    virtual void FitFormPane();

    // ===== what else the kernel asks of the shell, theme by theme in the order it asks =====
    // Without a shell every question gets its neutral answer (false, 0, null, an empty text) and
    // every request is ignored, unless a comment says otherwise.

    // --- identity and edition ---
    // Whether the application shows the ribbon (it does unless the person chose tool bars); the
    // base answers yes.
    virtual bool IsRibbonApplication();
    // Whether the application keeps its settings when it ends.
    virtual bool IsSavingStateAtExit();
    // Whether the program was started as an automation server.
    virtual bool IsServerMode();
    // The day the kernel was built ("Mmm dd yyyy").
    virtual std::wstring BuildDate();
    virtual HICON GetApplicationIcon();
    virtual UINT GetDocTemplateResourceId();
    // Each setter answers the id held before.
    virtual UINT SetDocTemplateResourceId(UINT id);
    virtual UINT GetTitleStringId();
    virtual UINT SetTitleStringId(UINT id);
    // The context the crash guard writes its report with; the kernel's own by default.
    virtual GenerateDumpFileContextBase* GetDumpFileContext();
    virtual std::wstring GetProductName();
    virtual std::wstring GetApplicationTitle();

    // --- documents ---
    // The kernel's document manager.
    virtual Dravik::DocumentManager* GetDocumentManager();
    virtual CDvw32Doc* GetActiveDocument();
    // A document's modified, read-only or PDM state changed.
    virtual void OnChangeDocumentState(CDvw32Doc* document);
    // Every open document stops (or starts again) painting its views.
    virtual void BlockPaintAllDocuments(bool block);
    // Documents that asked for a repaint get it now.
    virtual void RepaintAllDocuments();
    // The libraries of the documents menu take dropped files; the effect the drop would have.
    virtual bool DropOnLibraries(const std::vector<std::wstring>& files, DWORD effect);
    virtual DWORD GetLibrariesDropEffect(const std::vector<std::wstring>& files, DWORD keys);
    // Picture documents: made from a file, shown, and their picture's bits (null for another
    // kind of document).
    virtual CDocument* CreateImageDocument(const wchar_t* path);
    virtual bool ShowImageDocument(CDocument* document);
    virtual const void* GetImageDocumentDib(CDocument* document);
    // The dialog of a sketch set's global values; true when the person confirmed it.
    virtual bool ShowSketchSetGlobalDialog(void* data);
    // The document's model tree and assembly structure show its selection.
    virtual void ShowSelectionInTree(CDvw32Doc* document);
    // The leaders command of the technical requirements starts.
    virtual void StartTechRequirementLeaders();
    virtual CDocTemplate* FindDocTemplate();
    // Saves the documents whose time for an automatic save has come.
    virtual void AutoSaveDocuments();

    // --- tool windows (null when there is none; made when missing unless said otherwise) ---
    // The material window's content is brought up to date, when the window exists.
    virtual void UpdateMaterialWindow();
    // The overview pane: its window, the view it follows, the area it marks and its picture
    // (redrawn only when the window exists and is not closed).
    virtual CWnd* GetBirdsEyeView();
    virtual void SetBirdsEyeViewActiveView(CView* view);
    virtual void UpdateBirdsEyeViewArea();
    virtual void RedrawBirdsEyeView();
    virtual CWnd* GetConfigurationsControl();
    virtual CWnd* GetWeldTreeWindow();
    virtual CWnd* GetMaterialWindow();
    virtual void ReloadMaterialWindow();
    virtual CWnd* GetProductStructureWindow();
    // The PDM assembly pane lets the person pick a position of the work mix; `select` is told it.
    virtual bool SelectWorkmixPosition(const std::function<bool(const std::wstring&)>& select);
    virtual CWnd* GetModelTreeWindow();
    virtual CWnd* GetTaskWindow();
    virtual CWnd* GetFeaResultParametersWindow();
    virtual CWnd* GetNcWindow();
    virtual CWnd* GetStructureElementsWindow();
    virtual CWnd* GetCamWindow();
    // The panes of commands 790 (documents) and 826 (properties): selected, and whether open.
    virtual void SelectPaneForCommand790();
    virtual bool IsPaneForCommand790Open();
    virtual void SelectPaneForCommand826();
    virtual bool IsPaneForCommand826Open();
    // The error window only when it exists already.
    virtual CWnd* GetErrorWindow();
    virtual CWnd* GetDiagnosticsWindow();

    // --- help ---
    virtual UINT GetHelpContextId();
    // A topic of the program's help file.
    virtual bool ShowHelpPage(const wchar_t* topic);
    virtual void ShowCurrentHelpTopic();
    virtual void ShowCurrentHelp();
    // Help inside the main frame (a topic page), and its window closed.
    virtual bool ShowEmbeddedHelp(const wchar_t* topic, DWORD navigation);
    virtual void HideEmbeddedHelp();

    // --- commands ---
    virtual void TerminateCurrentCommand2D();
    // The menu item or button of an application command shows its state.
    virtual void OnUpdateApplicationCommand(CCmdUI* ui);
    // The id of the application command of `internalId` with that key; 0 when none (an empty or
    // unreadable key text matches nothing).
    virtual UINT FindApplicationCommandByKey(const Dravik::UniqueIdentifier& key, int internalId);
    virtual UINT FindApplicationCommandByKeyText(const wchar_t* key, int internalId);
    virtual std::wstring GetCommandName(UINT id);
    // The person picks a command in a modal chooser owned by `parent` (null: the main frame);
    // nothing when the chooser was cancelled.
    virtual std::optional<UINT> SelectCommandId(CWnd* parent);

    // --- add-ons and text browsers ---
    // The text handed to the text browser at an index or of a key; false when there is none.
    virtual bool BrowseText(int index, const wchar_t* text);
    virtual void SetTextBrowserEdit(HWND edit);
    virtual bool BrowseTextByKey(const wchar_t* key, const wchar_t* text);
    // The browsers' captions (at most ten when `atMostTen`).
    virtual std::vector<std::wstring> GetTextBrowserNames(bool atMostTen);
    // Names add-ons made known, without case; an empty name is never known.
    virtual bool IsApplicationNameKnown(std::wstring name);
    virtual void AddApplicationName(const wchar_t* name);

    // --- the system panel ---
    // The object whose id the panel's control 2041 holds, in the active document; null for none.
    virtual void* GetSyspanelSelected3DObject();
    // The value of control 2042; 2 without a frame or control.
    virtual std::int32_t GetSyspanelControl2042();

    // --- main frames ---
    // For a main frame (another window: null): its ribbon, status line and command bars.
    virtual CXTPRibbonBar* GetFrameRibbonBar(CWnd* frame);
    virtual StatusLineProxy* GetFrameStatusLine(CWnd* frame);
    virtual CXTPCommandBars* GetFrameCommandBars(CWnd* frame);
    // The first and second of the application's state flags.
    virtual bool IsApplicationFlagB();
    virtual bool IsApplicationFlagA();
    virtual void SetApplicationFlagA();
    // The frame the main window shows active.
    virtual CWnd* GetMainWindowPart();
    // The main frame's two manipulator panels.
    virtual void* GetFrameObjectA();
    virtual void* GetFrameObjectB();
    // A new main frame, shown and active.
    virtual CWnd* NewMainFrame();
    // The analysis mode of a frame (null: the main frame); false without a frame.
    virtual bool SetAnalysisMode(CWnd* frame, int mode);
    virtual bool GetFrameInterfaceSettings(CWnd* frame, FrameInterfaceSettings& settings);

    // --- application state ---
    virtual std::int32_t GetApplicationValueA();
    virtual std::int32_t GetApplicationValueB();
    virtual std::int32_t GetApplicationValueE();
    // True: nothing of the application's state is left over from an earlier run.
    virtual bool IsApplicationStateClear();
    virtual void SetProfileName(const wchar_t* name);
    virtual std::wstring GetApplicationStringA();
    virtual std::wstring GetApplicationStringB();
    virtual std::wstring GetApplicationStringC();
    virtual void MarkRecentFileList();

    // --- tool bars ---
    // The system tab of a kind the tabbed tool bars open with.
    virtual void SetDefaultSystemToolbar(int kind, const Dravik::UniqueIdentifier& tab);
    virtual void RedrawCommandBars();
    // Every camera control of the main frame's bars lists these cameras.
    virtual void SetCameras(const std::vector<std::wstring>& cameras);
    // Every control of the main frame's bars is handed the value.
    virtual void UpdateCommandBarControls(std::int64_t value);
    // The customise sheet (of `frame`, null: the main frame) on its ribbon page, with the ribbon
    // item it selects: a tab (kind 1), a group (2) or a control (3).
    virtual void ShowCustomizeDialog(int kind, void* item, bool flag, CWnd* frame);

    // --- cliparts of add-ons, found by key and window id ---
    virtual bool ShowApplicationClipart(const std::wstring& key, int id, const std::wstring& title);
    virtual bool OpenModelTreeClipart(std::wstring name);
    virtual bool IsApplicationClipartVisible(const std::wstring& key, int id);
    virtual void SetApplicationClipartVisible(const std::wstring& key, int id, bool show);
    virtual void SetApplicationClipartTitle(const std::wstring& key, int id, const std::wstring& title);
    virtual void SetApplicationClipartSvgIcon(const std::wstring& key, int id, const void* data,
                                              std::uint64_t size);
    virtual void SetApplicationClipartIconId(const std::wstring& key, int id, UINT iconId);
    virtual void SetApplicationClipartIcon(const std::wstring& key, int id, HICON icon);
    virtual void MoveApplicationClipart(const std::wstring& key, int id, const RECT& rect);
    virtual bool GetApplicationClipartRect(const std::wstring& key, int id, RECT& rect);
    // 11000 to 20999, and the clipart of that id is an add-on's.
    virtual bool IsClipartId(int id);
    virtual bool ShowExpandedFormClipart(DVPaneForm* form);
    virtual void CloseExpandedFormClipart(DVPaneForm* form);

    // --- message bars of the main frame ---
    // The bar shown, or null; `pressed` hears the buttons' ids.
    virtual Dravik::UI::MessageBar* ShowMessageBar(int imageId, const std::wstring& title,
                                                   const std::wstring& text, std::uint64_t value);
    virtual Dravik::UI::MessageBar* ShowMessageBarWithButtons(int imageId, const std::wstring& title,
                                                              const std::wstring& text, std::uint64_t value,
                                                              const std::vector<MessageBarButton>& buttons,
                                                              std::function<void(UINT)> pressed);
    // True when some main frame owns the bar; null never is.
    virtual bool IsValidMessageBar(const Dravik::UI::MessageBar* bar);
    virtual unsigned GetMessageBarId(const Dravik::UI::MessageBar* bar);
    virtual std::uint64_t GetMessageBarUserData(const Dravik::UI::MessageBar* bar);
    virtual void CloseMessageBar(unsigned id);
    virtual void CloseMessageBarObject(Dravik::UI::MessageBar* bar);
    // A fault that stops the program; the one request any thread may make.
    virtual void ReportCriticalError(const std::wstring& text);

    // --- PDM ---
    virtual void ShowOrsaWindows(bool show);
    // Items of the repository, or visual items, changed their states.
    virtual void OnChangeOrsaRepositoryItemStates(const std::vector<std::wstring>& items);
    virtual void OnChangeVisualItemStates(const std::vector<std::wstring>& items);
    virtual void NotifyOrsaExplorer(int what);

    // --- the ribbon's backstage of a frame (null: the main frame) in ribbon mode ---
    // The active tab's id; -1 when it is closed or the frame has no ribbon.
    virtual int GetActiveBackstageTab(CWnd* frame);
    virtual bool ShowBackstageTab(CWnd* frame, UINT id);
    virtual void CloseBackstage(CWnd* frame);
    // The print page previews a drawing context or a document; false without a print page.
    virtual bool ShowRibbonBackstagePrintPage(CWnd* frame,
                                              std::shared_ptr<Dravik::Print::PrintDrawingContext> context);
    virtual bool ShowRibbonBackstagePrintPage(CWnd* frame, CDvw32Doc* document);

    // --- files and errors ---
    // The programs that hold a file open, as (application name, program path) pairs in the
    // order the system gives them; the program's path is empty when it cannot be read. Empty
    // when nobody holds it, and on any error (never a failure to the caller). The base knows
    // none.
    virtual std::vector<std::pair<std::wstring, std::wstring>> GetFileLockers(const wchar_t* path);
    // A new file dialog for documents, made from the description and parent its constructor
    // takes; the caller owns it (in `dialog`). The base makes a plain CDVFileDialog.
    virtual void CreateDocumentFileDialog(std::unique_ptr<CDVFileDialog>& dialog,
                                          const FileDialogInfo& description, CWnd* parent);
    // Where reports of faults go; the base knows none.
    virtual std::wstring GetBugReportAddress();
    // An add-on's error for the person; the base only records it.
    virtual void ReportApplicationError(const wchar_t* application, const wchar_t* message);

    // --- the PDM system and the settings ---
    // The PDM connection was made or ended. The base records it.
    virtual void OnChangeOrsaConnectionState(bool connected);
    // Applies the settings profile the PDM integration parameters name; the base has none to apply.
    virtual void ApplyOrsaProfile();
    // The kernel's settings changed (loaded from another profile, or edited): the application
    // takes what it shows of them. The base records it.
    virtual void OnChangeSettings(const NativeSettings::Settings& settings);
};

DV_EXPORTS_END
