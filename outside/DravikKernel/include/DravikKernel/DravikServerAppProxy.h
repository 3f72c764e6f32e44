// The kernel's application-callback interface. The kernel never calls the shell's classes
// directly: it calls the one object derived from this base. The base implementations here
// are what the shell keeps when it does not override an operation.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CDVFileDialog;
class CDvw32Doc;
class CWnd;
class CXTPImageManagerIcon;
struct FileDialogInfo;
class DVPaneForm;
class IApplicationCommand;
class StatusLineProxy;
namespace Dravik {
class DVDocument;
}
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
