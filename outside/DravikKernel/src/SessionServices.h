// The kernel services beyond the session and the documents, as the session steps and the
// kernel's reset reach them.
#pragma once

#include <string>

namespace dvkernel {

// After PostInitSession: profiles missing from the registry come back from disk and the native
// settings load from the current settings.
void loadServicesAtSessionStart();
// After FinishInitSession, when the first main frame exists: the application applies the frame
// state of the current profile.
void applyProfileAtSessionFinish();
// The kernel's COUNTRY for the session's two-letter language code.
void updateCountry(const std::wstring& alpha2);
// Back to a fresh process: settings, profiles, add-ons, module proxies.
void resetServices();

} // namespace dvkernel
