#include "NodeText.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"

#include <charconv>

namespace dvui::xml {

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
    std::wstring path;
    for (Node up = node.parent(); up; up = up.parent())
        path = up.name() + (path.empty() ? L"" : L"/") + path;
    DVLog_Write(DVLogWarning, "UI XML: <%s> in %s skipped: %s", pal::text::toUtf8(node.name()).c_str(),
                path.empty() ? "the document" : pal::text::toUtf8(path).c_str(), what);
}

} // namespace dvui::xml
