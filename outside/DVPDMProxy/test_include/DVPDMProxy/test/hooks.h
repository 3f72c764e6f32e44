// Test hooks of the PDM stand-in. Product targets cannot include this header.
#pragma once

namespace dvpdm::test {

// Makes the work mix answer enabled (or not) from now on.
void setWorkMixEnabled(bool enabled);

} // namespace dvpdm::test
