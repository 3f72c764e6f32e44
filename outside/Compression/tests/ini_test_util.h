// Shared helpers of the INI tests: a compact dump of the content that a case can compare.
#pragma once

#include "Compression/IniFile.h"

#include <string>

namespace dvio::testutil {

// "[S]k=v;k2=v2;[T]..." in file order, UTF-8.
std::string dump(const IniFile& ini);

} // namespace dvio::testutil
