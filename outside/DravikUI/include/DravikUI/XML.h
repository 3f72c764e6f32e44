// The UI library's XML layer: the names of its elements and attributes, the format version, the
// product and mode whose descriptions apply, and the small readers every definition shares.
// The format itself is written down in src/xml/FORMAT.md.
#pragma once

#include "DVDiagnostics/VersionNumber.h"
#include "DravikUI/XMLNode.h"

#include "pal/visibility.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::UI::XML {

// The version this library writes; definitions of a later major version are not read.
inline constexpr VersionNumber FormatVersion{18, 0, 21, 0};

// The product number of the edition (0 2D, 1 3D, 2 SE, 3 Alder, 4 Birch, 5 AlderAdministrator).
// Before the first call no product is known and product filters let everything through.
void SetProduct(int product);
int GetProduct(); // -1 when none was set
// The name that state files carry in their "product" attribute: "2D", "3D", "SE", "Alder",
// "Birch", "AlderAdministrator"; empty when no product is known.
std::wstring GetProductName();

// The application's mode code (1 viewer, 2 2D, 4 SE, 8 3D, 16 GS, 32 GS3D, 128 Alder,
// 256 Birch, 512 AlderAdministrator, or a mask of them). 0, the start value, lets everything
// through.
void SetMode(std::uint32_t modeCode);
std::uint32_t GetMode();

namespace TagNames {
inline constexpr std::wstring_view MainWindow = L"mainWindow";
inline constexpr std::wstring_view MenuBar = L"menuBar";
inline constexpr std::wstring_view RibbonBar = L"ribbonBar";
inline constexpr std::wstring_view RibbonTab = L"ribbonTab";
inline constexpr std::wstring_view RibbonGroup = L"ribbonGroup";
inline constexpr std::wstring_view ToolBar = L"toolBar";
inline constexpr std::wstring_view FramelessToolBar = L"framelessToolBar";
inline constexpr std::wstring_view Backstage = L"backstage";
inline constexpr std::wstring_view BackstageTab = L"backstageTab";
inline constexpr std::wstring_view BackstageCommand = L"backstageCommand";
// Controls.
inline constexpr std::wstring_view Button = L"button";
inline constexpr std::wstring_view Popup = L"popup";
inline constexpr std::wstring_view ButtonPopup = L"buttonPopup";
inline constexpr std::wstring_view SplitButtonPopup = L"splitButtonPopup";
inline constexpr std::wstring_view Gallery = L"gallery";
inline constexpr std::wstring_view Edit = L"edit";
inline constexpr std::wstring_view ComboBox = L"comboBox";
inline constexpr std::wstring_view CheckBox = L"checkBox";
inline constexpr std::wstring_view Label = L"label";
// Context-menu files.
inline constexpr std::wstring_view ContextMenus = L"contextMenus";
inline constexpr std::wstring_view ContextMenu = L"contextMenu";
inline constexpr std::wstring_view Command = L"command";
inline constexpr std::wstring_view Separator = L"separator";
} // namespace TagNames

namespace AttributeNames {
inline constexpr std::wstring_view VersionNumber = L"version";
inline constexpr std::wstring_view Editions = L"editions";
inline constexpr std::wstring_view Modes = L"modes";
inline constexpr std::wstring_view Since = L"since";
inline constexpr std::wstring_view Id = L"id";
inline constexpr std::wstring_view Guid = L"guid";
inline constexpr std::wstring_view Caption = L"caption";
inline constexpr std::wstring_view Description = L"description";
inline constexpr std::wstring_view ToolTip = L"tooltip";
inline constexpr std::wstring_view KeyTip = L"keyTip";
inline constexpr std::wstring_view Icon = L"icon";
inline constexpr std::wstring_view Style = L"style";
inline constexpr std::wstring_view BeginGroup = L"beginGroup";
inline constexpr std::wstring_view Optional = L"optional";
inline constexpr std::wstring_view Visible = L"visible";
inline constexpr std::wstring_view State = L"state";
inline constexpr std::wstring_view PopupBar = L"popupBar";
inline constexpr std::wstring_view Kind = L"kind";
inline constexpr std::wstring_view Code = L"code";
inline constexpr std::wstring_view Tags = L"tags";
inline constexpr std::wstring_view DisabledByUser = L"disabledByUser";
inline constexpr std::wstring_view Name = L"name";
inline constexpr std::wstring_view WindowRect = L"windowRect";
inline constexpr std::wstring_view WindowState = L"windowState";
} // namespace AttributeNames

// Whether an element applies to the product and mode in force: its "editions" attribute is a
// value set of product names (lower-case tokens "2d", "3d", "se", "alder", "birch",
// "alderAdministrator"), its "modes" attribute a value set of mode names ("viewer", "2d", "se",
// "3d", "gs", "gs3d", "alder", "birch", "alderAdministrator"). A missing attribute, or an unknown
// product or mode, does not restrict.
bool IsApplicable(const Node& element);
bool IsApplicable(std::wstring_view editions, std::wstring_view modes);

// A value set: tokens joined by "," (blanks around a token ignored, empty tokens skipped), each
// with an optional "!" in front that excludes it. Hands each token to the action in order.
void ParseValueSet(std::wstring_view text,
                   const std::function<void(std::wstring_view token, bool excluded)>& action);
// The mask of a value set over named bits: when the first token is excluded the mask starts
// full; "all" sets (or, excluded, clears) every bit; a named token sets or clears its bit; other
// tokens are ignored.
struct ValueSetName {
    std::wstring_view token;
    std::uint32_t bits;
};
std::uint32_t ParseValueSetMask(std::wstring_view text, std::initializer_list<ValueSetName> names,
                                std::uint32_t all);

// "true", "1", "yes", "on" (any case) give true; "false", "0", "no", "off" false; any other
// text keeps the previous value.
bool StringToBool(std::wstring_view text, bool previous);

} // namespace Dravik::UI::XML

DV_EXPORTS_END
