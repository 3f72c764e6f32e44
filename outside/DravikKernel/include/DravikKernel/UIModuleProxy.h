// The kernel's face of the user-interface module: its main window, the main frames it keeps and
// which of them is active, its themes, icon sizes, Alt mode and the few windows it shows for the
// shell. The frames themselves are the shell's; the kernel holds plain pointers and never looks
// inside. What needs the windows (the frame of a window, applying a theme to every bar, the
// settings dialog) is answered by the UI module itself, which installs itself as the proxy's
// `Module` when it is loaded; without one those questions get their neutral answers.
#pragma once

#include "pal/visibility.h"
#include "win/com/guid.h"
#include "win/types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

class CWnd;
class CFrameWnd;
class CXTPCommandBars;
class CXTPRibbonBar;
class StatusLineProxy;

// The analysis ribbon an element of the ribbon belongs to; below 1 it belongs to every one.
using AnalysisRibbonId = int;

class UIModuleProxy {
public:
    // The face of the UI module's texts when the module names none.
    static constexpr const wchar_t* kDefaultFontName = L"Segoe UI";

    // A theme the UI module offers. Its number is its place in the module's list.
    struct ThemeDescription {
        int Number = -1;
        std::wstring Name;        // as the settings keep it ("office2016white")
        std::wstring DisplayName; // as menus show it
        bool Dark = false;
    };

    // The seven texts of a command, as the kernel keeps them for the shell.
    struct CommandStrings {
        std::wstring Caption;     // what buttons, menus and command lists show
        std::wstring Title;       // the title of its tip
        std::wstring Shortcut;    // its own shortcut text
        std::wstring Name;        // its internal name
        std::wstring Description; // one sentence: the status line's prompt, a list's second line
        std::wstring ToolTip;     // the body of its tip
        std::wstring Extended;    // the longer text a tip shows after a while

        // From a resource string "description\ncaption"; without a line break the whole text
        // is both. The title is the caption, the tip the description.
        static CommandStrings FromPromptString(std::wstring_view prompt);
        bool operator==(const CommandStrings&) const = default;
    };

    // One line of a settings dialog or input form. Kind 8 is a check box bound to `Value` (0 or
    // 1), the two string ids being its caption and its description; kind 12 a text showing the
    // caption's string; kind 11 an edit bound to `Text`, of at most `MaxLength` characters
    // when that is above 0.
    struct SettingsEntry {
        int Kind = 8;
        unsigned CaptionId = 0;
        unsigned DescriptionId = 0;
        int Value = 0;
        int Id = 0;
        std::wstring Text;
        int MaxLength = 0;
    };

    // What only the UI module can do. All calls come on the user-interface thread.
    class Module {
    public:
        virtual ~Module() = default;
        // Its themes in menu order, and the name of the one that applies when nothing else was chosen.
        virtual std::vector<ThemeDescription> GetThemes() const = 0;
        virtual std::wstring GetDefaultThemeName() const = 0;
        // Shows theme `number` in the paint managers and every main frame; false refuses it.
        virtual bool ApplyTheme(int number) = 0;
        // The main frame that a window lies in (itself included), or null.
        virtual CFrameWnd* GetMainFrameOfWindow(HWND window) const = 0;
        // The main frame whose MDI client holds a child frame, or null.
        virtual CFrameWnd* GetChildFrameOwner(CFrameWnd* childFrame) const = 0;
        virtual void SetCommandBarsIconSizes(CXTPCommandBars* commandBars, SIZE normal, SIZE large,
                                             SIZE popup, bool largeIcons) = 0;
        // An icon size of 96 dpi as the screen shows it.
        virtual SIZE ScaleIconSize(SIZE size) const = 0;
        virtual StatusLineProxy* GetStatusLine(CFrameWnd* mainFrame) const = 0;
        // A modal dialog of check boxes; IDOK (1) when the person accepted, the entries then
        // holding the new values.
        // The enabled and checked state of a command as the module's command routing has it;
        // false when the module does not know the command.
        virtual bool CommandStateGet(unsigned command, bool& enabled, bool& checked) const { return false; }
        virtual int ShowSettingsDialog(HWND owner, unsigned captionId,
                                       std::vector<SettingsEntry>& entries) = 0;
        // Shows the elements of the ribbon's part (the tab with that GUID) that carry an
        // analysis id when `show` accepts the id, and hides the others; nothing by default.
        // One of the module's own icons (large: its large form); null when it has none by
        // that id. The caller destroys it.
        virtual HICON LoadIcon(int id, bool large) { return nullptr; }
        // The face name of the font the module draws its own texts in.
        virtual std::wstring GetFontName() const { return kDefaultFontName; }
        virtual void FilterRibbonPart(CXTPRibbonBar* ribbon, const GUID& part,
                                      const std::function<bool(AnalysisRibbonId)>& show) {}
    };

    static UIModuleProxy& Instance();

    // The texts of a command: those set for it, else the kernel's own; none for a command
    // the kernel knows nothing of.
    std::optional<CommandStrings> GetCommandStrings(unsigned id) const;
    // Replaces the texts of a command for the rest of the session.
    void SetCommandStrings(unsigned id, const CommandStrings& strings);

    // The UI module installs itself; null uninstalls. The proxy does not own it.
    void SetModule(Module* module);
    Module* GetModule() const;

    // The UI module's main window, or null while there is none.
    CWnd* GetMainWindow() const;
    // Calls `action` once for every main frame, in the order the frames were added. Frames
    // added or removed by the action take effect from the next enumeration.
    void ForEachMainFrame(const std::function<void(CFrameWnd*)>& action) const;
    std::vector<CFrameWnd*> GetMainFrames() const;
    bool IsMainFrame(CFrameWnd* frame) const;

    // The main frames report themselves as they are created and destroyed. A frame is listed
    // once however often it is added; removing one that is not listed does nothing.
    void SetMainWindow(CWnd* window);
    void AddMainFrame(CFrameWnd* frame);
    // A removed frame stops being the main window and the active frame; the first frame left
    // takes both places.
    void RemoveMainFrame(CFrameWnd* frame);

    // The active main frame: the faked one while a UIModule::FakeActiveMainFrameManager lives,
    // else the listed frame last made active. Only a listed frame can be made active; the
    // active frame becomes the main window too. False when the frame is not listed.
    CFrameWnd* GetActiveMainFrame() const;
    bool MakeActiveMainFrame(CFrameWnd* frame);

    // Answered by the UI module; null without one.
    CFrameWnd* GetMainFrameOfWindow(HWND window) const;
    CFrameWnd* GetChildFrameOwner(CFrameWnd* childFrame) const;
    // The status line of the active main frame; null without one.
    StatusLineProxy* GetStatusLine() const;

    // Alt mode: the command bars show their keyboard cues after Alt was pressed alone. Any
    // mode other than 0 is on; 0 ends it.
    bool IsAltMode() const;
    void SetAltMode(int mode);

    // A command bar could not get a window or drawing resource; the module logs it and counts.
    void OnResourceNotAvailable();
    int GetResourceFailureCount() const;

    // A modal message box of the application begins (true) or ends (false). While one is
    // shown the keyboard is the box's: the command bars' keyboard cues (alt mode) end.
    void OnModalMessageBox(bool begins);
    int GetModalMessageBoxDepth() const;

    // Icon sizes.
    void SetCommandBarsIconSizes(CXTPCommandBars* commandBars, SIZE normal, SIZE large, SIZE popup,
                                 bool largeIcons) const;
    // The largest size that icons are drawn at without scaling (16, 24, 32, 48) that fits in
    // `pixels`; 16 below that.
    SIZE GetBestUnscaledIconSize(int pixels) const;
    // A size of 96 dpi scaled for the screen; unchanged without a UI module.
    SIZE GetIconSize(SIZE size) const;

    // Themes.
    std::vector<ThemeDescription> GetThemes() const;
    std::vector<std::wstring> GetThemeNames() const;
    // The number of a theme name, compared exactly; none for a name the module does not know.
    std::optional<int> GetThemeNumber(std::wstring_view name) const;
    std::wstring GetDefaultThemeName() const;
    // Applies a theme by number or name. An unknown theme, or one the module refuses, changes
    // nothing, is logged as a warning and gives false.
    bool SetTheme(int number);
    bool SetTheme(std::wstring_view name);
    // The theme applied last; none before the first.
    std::optional<ThemeDescription> GetCurrentTheme() const;
    // Its name; empty before the first.
    std::wstring GetCurrentUIStyleName() const;

    int ShowSettingsDialog(HWND owner, unsigned captionId, std::vector<SettingsEntry>& entries) const;
    // Answered by the UI module; null without one.
    HICON LoadIcon(int id, bool large) const;
    // The UI module's font face; the default face without a module or when it names none.
    std::wstring GetFontName() const;
    // Answered by the UI module; nothing without one.
    void FilterRibbonPart(CXTPRibbonBar* ribbon, const GUID& part,
                          const std::function<bool(AnalysisRibbonId)>& show) const;
    // Answered by the UI module; false without one or when it does not know the command.
    bool CommandStateGet(unsigned command, bool& enabled, bool& checked) const;

private:
    UIModuleProxy() = default;
};

DV_EXPORTS_END
