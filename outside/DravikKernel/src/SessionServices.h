// The kernel services beyond the session and the documents, as the session steps and the
// kernel's reset reach them.
#pragma once

namespace dvkernel {

// After PostInitSession: profiles missing from the registry come back from disk and the native
// settings load from the current settings.
void loadServicesAtSessionStart();
// After FinishInitSession, when the first main frame exists: the application applies the frame
// state of the current profile.
void applyProfileAtSessionFinish();
// Back to a fresh process: settings, profiles, add-ons, module proxies.
void resetServices();

} // namespace dvkernel
