// What the kernel knows of its commands for a person: for every command the bundled ribbon,
// menus, bars and context menus show, its internal name, its icon and whether this kernel can
// carry it out. Captions and tips are translation keys ("commands.<name>.caption" and
// "commands.<name>.tip"), so that a language's catalogue names the commands.
#pragma once

#include "pal/visibility.h"

#include <span>
#include <string>

DV_EXPORTS_BEGIN

struct DVCatalogueCommand {
    unsigned id;
    const wchar_t* name;
    // The name of its picture among the images the program carries ("draw-line"); empty when
    // it has none and shows the fallback glyph.
    const char* icon;
    // False for a command only the full kernel carries out: it is shown disabled.
    bool runs;
};

// Every command of the catalogue, in increasing id order.
std::span<const DVCatalogueCommand> DVCommandCatalogue();
// The entry of an id, or null.
const DVCatalogueCommand* DVFindCatalogueCommand(unsigned id);

// The translated caption and one-sentence tip of a catalogue command; empty for an id the
// catalogue does not hold. The tip of a command this kernel cannot carry out says so.
std::wstring DVCatalogueCaption(unsigned id);
std::wstring DVCatalogueTip(unsigned id);

// The SVG file of a catalogue command's picture in the program folder, from the light or the
// dark set; empty when the command has no picture.
std::wstring DVCommandIconPath(unsigned id, bool dark);

// Whether the command may be shown to a person at all.
bool IsCommandVisible(unsigned id);

DV_EXPORTS_END
