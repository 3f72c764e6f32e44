// Private helpers over the XML engine: wide names and values in, wide names and values out, and
// the one way a skipped part of a definition is reported.
#pragma once

#include "DravikUI/XMLNode.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvui::xml {

using Dravik::UI::XML::Node;

std::wstring nameOf(const Node& node);
bool isNamed(const Node& node, std::wstring_view name);
std::optional<std::wstring> attribute(const Node& node, std::wstring_view name);
void setAttribute(Node node, std::wstring_view name, std::wstring_view value);
Node appendChild(Node node, std::wstring_view name);

std::optional<int> parseInt(std::wstring_view text);

// Logged at the warning level with the element's name and its place in the document.
void logSkipped(const Node& node, const char* what);

// Popups deeper than this are not read: no real menu nests so far, and a hostile file must not
// exhaust the stack.
inline constexpr int kMaxNesting = 16;

} // namespace dvui::xml
