#include "DravikKernel/ManipulatorOptions.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"

CMainpulatorOptions::CMainpulatorOptions() {
    dvtrace::record(dvkernel::kTraceName, "CMainpulatorOptions::CMainpulatorOptions()");
}
