// The PDM work mix: the one place that says whether the PDM system can be used. Every PDM
// command's run and update functions ask it.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class DVPDMWorkMix {
public:
    static DVPDMWorkMix& Instance();

    // False while no PDM system is connected, which in this build is always.
    bool IsEnabled() const;
    // Whether a connection could be made now; never without a PDM system.
    bool CanConnect() const;
    // The name the connection reports for itself; empty while there is none.
    std::wstring OrsaInfo() const;

private:
    DVPDMWorkMix() = default;
};

// The PDM system's programming interface as the shell sees it: whether PDM programs are
// installed on this computer.
class DVPdmApiProxy {
public:
    static DVPdmApiProxy& Instance();
    bool HasInstalledPrograms() const;

private:
    DVPdmApiProxy() = default;
};

DV_EXPORTS_END
