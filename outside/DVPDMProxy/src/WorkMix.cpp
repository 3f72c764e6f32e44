#include "DVPDMProxy/WorkMix.h"

#include "state.h"

#include "DVDiagnostics/NotBuiltYet.h"

namespace dvpdm::detail {

std::atomic<bool>& workMixEnabled() {
    static std::atomic<bool> enabled{false};
    return enabled;
}

} // namespace dvpdm::detail

DVPDMWorkMix& DVPDMWorkMix::Instance() {
    static DVPDMWorkMix workMix;
    return workMix;
}

bool DVPDMWorkMix::IsEnabled() const {
    DV_NOT_BUILT_YET("the PDM system: the work mix is never connected");
    return dvpdm::detail::workMixEnabled().load();
}
