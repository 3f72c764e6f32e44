#include "NodeText.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"

#include <charconv>

namespace dvui::xml {

std::wstring nameOf(const Node& node) {
    return pal::text::fromUtf8(node.name());
}

bool isNamed(const Node& node, std::wstring_view name) {
    return pal::text::toUtf8(name) == node.name();
}

std::optional<std::wstring> attribute(const Node& node, std::wstring_view name) {
    const pugi::xml_attribute found = node.attribute(pal::text::toUtf8(name).c_str());
    if (!found)
        return std::nullopt;
    return pal::text::fromUtf8(found.value());
}

void setAttribute(Node node, std::wstring_view name, std::wstring_view value) {
    const std::string key = pal::text::toUtf8(name);
    pugi::xml_attribute target = node.attribute(key.c_str());
    if (!target)
        target = node.append_attribute(key.c_str());
    target.set_value(pal::text::toUtf8(value).c_str());
}

Node appendChild(Node node, std::wstring_view name) {
    return node.append_child(pal::text::toUtf8(name).c_str());
}

std::optional<int> parseInt(std::wstring_view text) {
    const std::string narrow = pal::text::toUtf8(text);
    int value = 0;
    const char* first = narrow.data();
    const char* last = narrow.data() + narrow.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || narrow.empty())
        return std::nullopt;
    return value;
}

void logSkipped(const Node& node, const char* what) {
    DVLog_Write(DVLogWarning, "UI XML: <%s> at offset %lld skipped: %s", node.name(),
                static_cast<long long>(node.offset_debug()), what);
}

} // namespace dvui::xml
