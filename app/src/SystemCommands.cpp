#include "app/SystemCommands.h"

// The named command table and its id blocks come with the command tables; start-up already
// calls this at its place, between the edition modules and the session's post-initialisation.
void RegisterSystemCommands(std::uint32_t) {}
