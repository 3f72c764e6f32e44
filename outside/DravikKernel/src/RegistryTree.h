// A registry subtree held in memory: read from a key, written to a key, and carried in the
// kernel's profile file. The profile manager copies, imports and keeps profiles through it.
#pragma once

#include "win/system.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvkernel {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryTree {
    std::map<std::wstring, RegistryValue> values;
    std::map<std::wstring, RegistryTree> keys;
    bool operator==(const RegistryTree&) const = default;
};

// The subtree at `path` below `root`; none when the key does not exist.
std::optional<RegistryTree> readRegistryTree(HKEY root, const std::wstring& path);
// Writes `tree` into the key at `path` (made when missing), keeping what the tree does not name.
bool writeRegistryTree(HKEY root, const std::wstring& path, const RegistryTree& tree);
bool deleteRegistryTree(HKEY root, const std::wstring& path);
bool registryKeyExists(HKEY root, const std::wstring& path);
// The names of the sub-keys of `path`, in index order.
std::vector<std::wstring> registrySubKeys(HKEY root, const std::wstring& path);

// The profile file: a first line "DravikProfile 1", then for each key a line "[path]" (relative
// to the profile, empty for the profile's own key) followed by its values, one a line, as
// "type name=data" with the type's number and the data in hexadecimal. Names escape '%', '=',
// '[', ']' and line breaks as %XX. Anything else is a damaged file.
std::string formatProfileFile(const RegistryTree& tree);
std::optional<RegistryTree> parseProfileFile(std::string_view text);

} // namespace dvkernel
