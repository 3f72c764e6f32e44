// How a ribbon tab's groups give way as the ribbon narrows. Each group has a width at each of
// its sizes (all large, large ones medium, all small, collapsed into one button); the groups
// give up one size at a time, in their reduction order, a whole round of the order before the
// next round starts, until the tab fits. Widening lays out from the full size again, so the
// groups come back in the reverse order.
#pragma once

#include <cstddef>
#include <vector>

namespace xtp_ribbon {

enum GroupSize { kLarge = 0, kMedium = 1, kSmall = 2, kCollapsed = 3 };

struct GroupWidths {
    int width[4] = {0, 0, 0, 0};
};

// The size of each group (by index of `groups`) for the available width; `order` lists the
// group indexes in the order they give way.
std::vector<GroupSize> reduceToFit(const std::vector<GroupWidths>& groups, const std::vector<int>& order,
                                   int available, int gap);

} // namespace xtp_ribbon
