// Command flags: a set of bits whose meaning is the kernel's. The shell passes the sets of its
// command tables through unchanged and tests one bit of its own (32, PDM commands).
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <type_traits>

DV_EXPORTS_BEGIN

enum class DVCommandFlag : std::uint32_t {
    Pdm = 32, // the command belongs to the PDM system
};

namespace Dravik {

template <class Flag> class FlagSet {
public:
    using Raw = std::underlying_type_t<Flag>;

    constexpr FlagSet() = default;
    constexpr explicit FlagSet(Raw raw) : raw_(raw) {}
    constexpr FlagSet(Flag flag) : raw_(static_cast<Raw>(flag)) {}

    constexpr Raw raw() const { return raw_; }
    constexpr bool has(Flag flag) const { return (raw_ & static_cast<Raw>(flag)) == static_cast<Raw>(flag); }
    constexpr bool empty() const { return raw_ == 0; }

    friend constexpr bool operator==(FlagSet, FlagSet) = default;

private:
    Raw raw_ = 0;
};

} // namespace Dravik

using DVCommandFlags = Dravik::FlagSet<DVCommandFlag>;

DV_EXPORTS_END
