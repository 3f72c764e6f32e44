// Faults of the storage under the registry, made in the test process only: an SQLite file layer
// that stands in front of the usual one and, when told, reports a full disk on every write or
// opens the registry database as a file that cannot be written.
#pragma once

namespace pal::test {

enum class StorageFault { None, DiskFull, ReadOnly };

// Puts the layer in front (once) and sets the fault for files opened or written from now on.
void setStorageFault(StorageFault fault);

} // namespace pal::test
