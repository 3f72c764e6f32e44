#include "DVPDMProxy/test/hooks.h"

#include "state.h"

namespace dvpdm::test {

void setWorkMixEnabled(bool enabled) {
    dvpdm::detail::workMixEnabled().store(enabled);
}

} // namespace dvpdm::test
