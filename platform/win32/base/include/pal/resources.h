// Resources by module and id. A module's resources are declared in a folder beside its file,
// named as the file without its extension and ".resources" ("DV2DAnnotate.so" ->
// "DV2DAnnotate.resources/"), holding "resources.xml" and the pictures it names:
//
//   <resources>
//     <icon id="128"><image file="app16.png"/><image file="app32.png"/></icon>
//     <cursor id="200" file="pen.cur"/>
//     <bitmap id="300" file="tools.png"/>
//     <accelerators id="1">
//       <key keys="Ctrl+Shift+S" command="1093"/>
//     </accelerators>
//     <strings>
//       <string id="57344">DravikCad</string>
//     </strings>
//   </resources>
//
// An entry is named by a number (id) or a name (name); strings by number only. A key is its
// modifiers (Ctrl, Shift, Alt) and one key: a letter or digit, F1..F24 or a key's name (Delete,
// Insert, Home, End, PageUp, PageDown, Escape, Space, Enter, Tab, Backspace, Left, Right, Up,
// Down, Plus, Minus), always a virtual key. The table is read once per module, the
// first time one of its resources is asked for; a table that cannot be read declares nothing
// (and says why in the log).
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::resources {

enum class Kind { Icon, Cursor, Bitmap, Accelerators, String };

// One key of an accelerator table, laid out as the platform's ACCEL.
struct Key {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};

struct Resource {
    std::vector<std::filesystem::path> files; // every size of an icon group; one picture else
    std::vector<Key> keys;                    // an accelerator table
    std::wstring text;                        // a string
};

// How a look-up failed, as the platform's error code: the module has no table, the table
// declares nothing of the kind, or nothing of the kind by that name.
struct Missing {
    DWORD error = 0;
};

// What `module` (a module handle, null for the program) declares of `kind` under `name`
// (MAKEINTRESOURCEW(id) or a name); the error the platform gives otherwise.
std::optional<Resource> find(HMODULE module, Kind kind, LPCWSTR name, Missing* missing = nullptr);
// The same entry where it stays while the program runs (tables are read once and kept), or null
// with the platform's error set.
const Resource* locate(HMODULE module, Kind kind, LPCWSTR name, Missing* missing = nullptr);
// The first string `module` declares in a block of sixteen ids (block n holds the ids from
// (n - 1) * 16), or null with the platform's error set.
const Resource* locateStringBlock(HMODULE module, UINT block, Missing* missing = nullptr);

// The folder of a module file's resources.
std::filesystem::path folderOf(const std::filesystem::path& moduleFile);

} // namespace pal::resources

DV_EXPORTS_END
