// The bridge to the maker's managed user interface: what start-up asks of it so far.
#pragma once

namespace DravikManagedUIProxy {

// Prepares the managed side's access to the program's resources.
void InitManagedResourcesWraps();

} // namespace DravikManagedUIProxy
