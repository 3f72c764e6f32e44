// What a command's tip card says: its title, a short and a longer description with a picture,
// the keys that call it and its name. Read once per command and kept for the process, from the
// kernel's command strings and from the description files of the folder "CommandInfo".
#pragma once

#include "DVGC/WinBMP.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

class CXTPCommandBars;

struct CommandDescriptionRecord {
    std::wstring name; // the command's internal name; empty when it has none
    std::wstring title;
    std::wstring description;
    std::wstring extendedDescription;
    std::wstring keyboardCall; // every way to call it from the keyboard, joined by "; "
    CWinBMP picture;

    bool operator==(const CommandDescriptionRecord&) const = default;
};

// The record of a command, read and kept on first use; null for the commands that have no
// description (application commands, system menu commands, ...). Its picture is laid over
// `background`.
const CommandDescriptionRecord* ReadCommandDescription(UINT id, CXTPCommandBars* commandBars,
                                                       COLORREF background);
// A record the kernel supplies: kept when the command has none yet (true); else true only
// when it equals the one kept.
bool CacheCommandDescription(UINT id, const CommandDescriptionRecord& record);
// Recomputes the keyboard call of every kept record from the command bars' shortcuts.
void RefreshCommandToolTips(CXTPCommandBars* commandBars);

// Whether a command's card may end in the hint that F1 opens the help.
bool ShowsHelpHint(UINT id);

// The two parts of a description file's text: its description and, after a line "---", its
// longer description; none when the text is empty once trimmed.
struct CommandDescriptionText {
    std::wstring description;
    std::wstring extendedDescription;
};
std::optional<CommandDescriptionText> ParseCommandDescription(std::wstring_view text);

// The name of a command's description file without its extension: its internal name, or its
// decimal id when it has none; none for a nameless add-on command and for a name that would
// leave the folder (a path separator, a drive colon, "..").
std::optional<std::wstring> CommandDescriptionFileName(UINT id, std::wstring_view name);

// The keyboard call from the command's keyboard code, its own shortcut text and the shortcuts
// the command bars give it, lowest priority first, without repeats.
std::wstring CommandKeyboardCall(UINT id, std::wstring_view keyCode, std::wstring_view shortcut,
                                 CXTPCommandBars* commandBars);

DV_EXPORTS_END
