// PartConv: converts the partition "<stem>.xmp_bin" into the part file "<stem>.xmt_bin".
// The stem is the whole command line. Exit code 0 when the part file was written; otherwise
// one line on standard error and a non-zero code (see partconv/run.h).
#include "pal/sandbox.h"
#include "partconv/run.h"
#include "win/system.h"

#include <cstdio>

int main() {
    if (!pal::sandbox::prepare("PartConv"))
        return 1;
    // The kernel session is never stopped, so the host outlives main.
    static partconv::Host* host = new partconv::Host;
    return partconv::run(partconv::stemFromCommandLine(GetCommandLineW()), *host, stderr);
}
