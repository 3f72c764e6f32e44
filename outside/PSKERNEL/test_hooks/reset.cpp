#include "pskernel/test/reset.h"

#include "pskernel/detail/session_control.h"

namespace pskernel::test {

void resetSession() {
    detail::endSession();
}

} // namespace pskernel::test
