// Test hook of the kernel stand-in: ends the session so that the next test starts afresh. It
// lives in pskernel_test_hooks, which product targets never link.
#pragma once

namespace pskernel::test {

// Gives every partition's memory back through the registered frustrum (which must still be
// live) and forgets the session and everything registered.
void resetSession();

} // namespace pskernel::test
