// The kernel's options of the manipulators. Making the object reads them into the kernel's
// session; the editions whose main bar starts on the manipulator tab make one when a frame is
// built.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CMainpulatorOptions {
public:
    CMainpulatorOptions();
    CMainpulatorOptions(const CMainpulatorOptions&) = delete;
    CMainpulatorOptions& operator=(const CMainpulatorOptions&) = delete;
};

DV_EXPORTS_END
