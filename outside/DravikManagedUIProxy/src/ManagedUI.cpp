#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "DVDiagnostics/Trace.h"

namespace DravikManagedUIProxy {

void InitManagedResourcesWraps() {
    dvtrace::record("DravikManagedUIProxy", "InitManagedResourcesWraps()");
}

} // namespace DravikManagedUIProxy
