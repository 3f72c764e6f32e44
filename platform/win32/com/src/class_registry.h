// Reads of the class registry, HKEY_CLASSES_ROOT.
#pragma once

#include <optional>
#include <string>

namespace pal::com::detail {

// The default value of HKEY_CLASSES_ROOT\<subkey> as text, or nullopt when missing.
std::optional<std::wstring> classesRootDefault(const std::wstring& subkey);

} // namespace pal::com::detail
