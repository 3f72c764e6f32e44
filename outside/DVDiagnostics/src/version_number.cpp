#include "DVDiagnostics/VersionNumber.h"

namespace Dravik {

std::optional<VersionNumber> VersionNumber::fromString(std::wstring_view text) {
    std::uint16_t parts[4] = {0, 0, 0, 0};
    size_t count = 0;
    size_t i = 0;
    while (true) {
        if (count == 4 || i >= text.size() || text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        std::uint32_t value = 0;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            value = value * 10 + static_cast<std::uint32_t>(text[i] - L'0');
            if (value > 0xFFFF)
                return std::nullopt;
            ++i;
        }
        parts[count++] = static_cast<std::uint16_t>(value);
        if (i == text.size())
            break;
        if (text[i] != L'.')
            return std::nullopt;
        ++i;
    }
    return VersionNumber(parts[0], parts[1], parts[2], parts[3]);
}

std::wstring VersionNumber::toString() const {
    return std::to_wstring(major()) + L'.' + std::to_wstring(minor()) + L'.' + std::to_wstring(build()) +
           L'.' + std::to_wstring(revision());
}

} // namespace Dravik
