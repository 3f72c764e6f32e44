// Whether OLE is initialised on the calling thread (OleInitialize).
#pragma once

namespace pal::ole {

bool oleInitialized();

} // namespace pal::ole
