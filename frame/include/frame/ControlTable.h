// Which control the main frame makes for a command id and an XML tag, the command groups whose
// commands share a split-button popup, the fixed popups of commands, and the texts controls get.
// Kept as data: the frame's factories read these tables and make the controls they name.
#pragma once

#include "pal/visibility.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

// The classes the frame's control factory makes for fixed ids.
enum class CustomControlClass {
    None, // nothing is made for this id and tag
    FindCommandButton,
    PseudoMenuBar,
    ColorPopup,
    MaterialPopup,
    SyspanelEdit,
    StaticImage,
    LayerPopup,
    LCSPopup,
    FontComboBox,
    FileButton,
    LibraryGallery,
    ProfilePopup,
    FindComboBox,
    OptixCameraPopup,
    OptixQualityPopup,
    MoveToMainWindowPopup,
    ThemesPopup,
    DockingPanesPopup,
    RibbonTabsPopup,
};

// The class with the arguments its constructor is given.
struct CustomControlEntry {
    CustomControlClass type = CustomControlClass::None;
    const wchar_t* name = nullptr; // a system-panel edit's name
    int kind = 0;
    double initial = 0.0;
    bool flag = false;  // a material popup's flag
    int image = 0;      // a static image's image id
    int rangeFirst = 0; // a system-panel edit's further numbers, 0 when none
    int rangeLast = 0;
    int controlFlags = 0; // ToolkitPro control flags set on the new control
};

// The control for a fixed id and tag; nothing when the id has no fixed control (the UI library
// and then the user commands are asked). A entry of type None: nothing is made at all.
std::optional<CustomControlEntry> FindCustomControl(int id, std::wstring_view tag);

// The group of a command (the string id of its popup's title, -1 for the command's own caption);
// nothing for a command in no group. A command in two groups belongs to the later one.
std::optional<int> FindCommandGroup(int id);
// The commands of a group, in table order.
std::span<const int> CommandGroupCommands(int group);

// The commands of a fixed popup (1340, 1122, 1339, 1341, 1416), in order; empty for other ids.
// The popup of 1122 ends with the expand button (1202) besides.
std::span<const int> FixedPopupCommands(int id);
bool FixedPopupHasExpandButton(int id);
// The buttons a popup whose first control is 1352 is refilled with before it is shown.
std::span<const int> RefilledPopupCommands();

// Commands that a button inside a popup does not run in place: they are posted to the frame.
bool IsDeferredPopupCommand(int id);

// The index into the frame's tool-bar definitions that a tool-bar list command (700..749) names;
// nothing outside the range or past the list's end.
std::optional<std::size_t> ToolBarDefinitionIndex(int id, std::size_t count);

// Whether an "url" attribute may become a control's parameter: http and https URLs only (the
// parameter is opened through the shell when the control runs). Other values are logged.
bool IsAcceptedControlUrl(std::wstring_view value);

// A caption or text without its accelerator letters: "&&" is a plain "&", "&" marks go, and a
// trailing "(&X)" of a translation goes altogether.
std::wstring GetStrWithoutCommandLetters(std::wstring_view text);
// A control's description as shown: for popup and button-popup controls (types 2 and 3) without
// accelerator letters, for the others with every "&" removed.
std::wstring CleanControlDescription(std::wstring_view text, int controlType);

DV_EXPORTS_END
