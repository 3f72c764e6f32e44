// The kernel's application-callback interface. The kernel never calls the shell's classes
// directly: it calls the one object derived from this base. The base implementations here
// are what the shell keeps when it does not override an operation.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstdint>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class StatusLineProxy;
namespace Dravik {
class DVDocument;
}
// The value record of a system-panel control; the panels define it.
struct SysPanelValue;

// A command button the running command puts on the system panel.
struct SyspanelCommandButton {
    int commandId = 0;
    int iconId = 0;
    unsigned stringId = 0;
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
};

DV_EXPORTS_END
