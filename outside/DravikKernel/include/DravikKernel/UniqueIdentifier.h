// The kernel's 16-byte identifiers: what names add-on command sets, tool bars and the objects
// of the documents-browser model across saves, and their one textual form.
#pragma once

#include "pal/visibility.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik {

// A 16-byte identifier, written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional).
// The bytes are held in the order of the text.
struct UniqueIdentifier {
    std::array<std::uint8_t, 16> bytes{};

    static std::optional<UniqueIdentifier> TryParse(std::wstring_view text);
    bool IsNull() const { return *this == UniqueIdentifier{}; }
    friend bool operator==(const UniqueIdentifier&, const UniqueIdentifier&) = default;
    // Ordered by the text's bytes; containers keyed by identifiers need some order.
    friend auto operator<=>(const UniqueIdentifier&, const UniqueIdentifier&) = default;
};

} // namespace Dravik

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case: the kernel's textual form.
std::wstring UniqueIdentifierToString(const Dravik::UniqueIdentifier& id);
// A fresh random (version 4) identifier.
Dravik::UniqueIdentifier GenerateUniqueIdentifier();

DV_EXPORTS_END
