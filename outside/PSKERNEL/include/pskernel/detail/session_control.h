// Ending the kernel stand-in's session from outside, which the kernel's own calls never do. It is
// the seam that the test-only hooks library (pskernel/test/reset.h) is built on.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pskernel::detail {

// Gives every partition's memory back through the registered frustrum (which must still be
// live) and forgets the session and everything registered.
void endSession();

} // namespace pskernel::detail

DV_EXPORTS_END
