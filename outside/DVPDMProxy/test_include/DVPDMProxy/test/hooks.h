// Test hooks of the PDM stand-in. Product targets cannot include this header.
#pragma once

#include <string>

namespace dvpdm::test {

// Makes the work mix answer enabled (or not) from now on.
void setWorkMixEnabled(bool enabled);
// What the stand-in answers for a connection it could make, its name and installed programs.
void setCanConnect(bool can);
void setConnectionName(std::wstring name);
void setProgramsInstalled(bool installed);

} // namespace dvpdm::test
