// The frustrum record registered with the kernel: plain callbacks that hand each call to the
// bound KernelFiles.
#pragma once

#include "pal/visibility.h"
#include "partconv/kernel_files.h"
#include "pskernel.h"

DV_EXPORTS_BEGIN

namespace partconv {

// Until a KernelFiles is bound every callback answers 99.
void bindKernelFiles(KernelFiles* files);
PK_SESSION_frustrum_t frustrumRecord();
PK_DELTA_frustrum_t deltaRecord();

} // namespace partconv

DV_EXPORTS_END
