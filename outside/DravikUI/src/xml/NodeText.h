// Private helpers over the XML wrapper: the one way a skipped part of a definition is reported,
// and the numbers definitions read.
#pragma once

#include "DravikUI/XMLNode.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvui::xml {

using Dravik::UI::XML::Node;

inline bool isNamed(const Node& node, std::wstring_view name) {
    return node.name() == name;
}

std::optional<int> parseInt(std::wstring_view text);

// Logged at the warning level with the element's name and its path from the root.
void logSkipped(const Node& node, const char* what);

// Popups deeper than this are not read: no real menu nests so far, and a hostile file must not
// exhaust the stack.
inline constexpr int kMaxNesting = 16;

} // namespace dvui::xml
