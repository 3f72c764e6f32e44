// The info-tip strip: the line of hints over the drawing that a few commands act on.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

class CInfoTip {
public:
    virtual ~CInfoTip() = default;
    // One of the strip's commands (1863-1866).
    virtual void OnCommand(UINT id) = 0;
};

// The strip of the active main frame; null while there is none.
CInfoTip* GetInfoTip();

DV_EXPORTS_END
