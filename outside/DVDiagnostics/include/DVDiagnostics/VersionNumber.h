// A four-part file version, major first, each part 16 bits.
#pragma once

#include "pal/visibility.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik {

class VersionNumber {
public:
    constexpr VersionNumber() = default;
    constexpr VersionNumber(std::uint16_t major, std::uint16_t minor, std::uint16_t build,
                            std::uint16_t revision)
        : parts_{major, minor, build, revision} {}

    // The file version of a module or program, found the way modules are loaded by name
    // ("DravikKernel.dll"). 0.0.0.0 when the file or its version cannot be read.
    static VersionNumber fromFile(const wchar_t* fileName);
    // "18.0.21.0"; one to four dot-separated decimal parts, missing parts 0. Nothing for
    // any other text or a part above 65535.
    static std::optional<VersionNumber> fromString(std::wstring_view text);

    std::wstring toString() const;

    constexpr std::uint16_t major() const { return parts_[0]; }
    constexpr std::uint16_t minor() const { return parts_[1]; }
    constexpr std::uint16_t build() const { return parts_[2]; }
    constexpr std::uint16_t revision() const { return parts_[3]; }
    constexpr bool isZero() const { return (major() | minor() | build() | revision()) == 0; }

    friend constexpr auto operator<=>(const VersionNumber&, const VersionNumber&) = default;

private:
    std::uint16_t parts_[4] = {0, 0, 0, 0};
};

} // namespace Dravik

DV_EXPORTS_END
