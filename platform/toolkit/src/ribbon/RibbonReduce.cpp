#include "RibbonReduce.h"

namespace xtp_ribbon {

std::vector<GroupSize> reduceToFit(const std::vector<GroupWidths>& groups, const std::vector<int>& order,
                                   int available, int gap) {
    std::vector<GroupSize> size(groups.size(), kLarge);
    auto total = [&] {
        int sum = 0;
        for (std::size_t i = 0; i < groups.size(); ++i)
            sum += groups[i].width[size[i]] + gap;
        return sum;
    };
    // A size that is no narrower than the one before it is passed over: nothing is gained, and
    // a group collapsed into a button wider than its small controls would widen the ribbon.
    auto nextSize = [&](std::size_t g) {
        int s = size[g];
        while (s < kCollapsed) {
            ++s;
            if (groups[g].width[s] < groups[g].width[size[g]])
                return static_cast<GroupSize>(s);
        }
        return size[g];
    };
    for (int round = kLarge; round < kCollapsed && total() > available; ++round) {
        for (int g : order) {
            if (total() <= available)
                break;
            if (g < 0 || static_cast<std::size_t>(g) >= groups.size() ||
                size[static_cast<std::size_t>(g)] > round)
                continue;
            const GroupSize next = nextSize(static_cast<std::size_t>(g));
            if (next > size[static_cast<std::size_t>(g)] && next <= round + 1)
                size[static_cast<std::size_t>(g)] = next;
        }
    }
    return size;
}

} // namespace xtp_ribbon
