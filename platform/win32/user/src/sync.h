// Synchronisation objects' part in a thread's end.
#pragma once

namespace pal::win {

// Gives up the mutexes the calling thread owns; their waiters get WAIT_ABANDONED.
void abandonOwnedMutexes();

} // namespace pal::win
