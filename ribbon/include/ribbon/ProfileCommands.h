// The run and update functions of the settings-profile commands that the application
// registers: apply one of the first ten profiles, reset every setting, open the profiles page.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

class CCmdUI;

// Apply the settings profile at position 0 ... 9 of the profile list; non-zero when applied.
int ApplyProfile1(std::int64_t);
int ApplyProfile2(std::int64_t);
int ApplyProfile3(std::int64_t);
int ApplyProfile4(std::int64_t);
int ApplyProfile5(std::int64_t);
int ApplyProfile6(std::int64_t);
int ApplyProfile7(std::int64_t);
int ApplyProfile8(std::int64_t);
int ApplyProfile9(std::int64_t);
int ApplyProfile10(std::int64_t);
// Shared by the ten: enables a command (1190 ... 1199) when its profile exists.
void UpdateApplyProfile(CCmdUI* cmdUI);

// After the user confirms, throws away the user's stored settings; a failure is reported.
int ResetSettings(std::int64_t);
// The customise sheet on its settings-profiles page.
int Profiles(std::int64_t);

DV_EXPORTS_END
