// The PDM work mix: the one place that says whether the PDM system can be used. Every PDM
// command's run and update functions ask it.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class DVPDMWorkMix {
public:
    static DVPDMWorkMix& Instance();

    // False while no PDM system is connected, which in this build is always.
    bool IsEnabled() const;

private:
    DVPDMWorkMix() = default;
};

DV_EXPORTS_END
