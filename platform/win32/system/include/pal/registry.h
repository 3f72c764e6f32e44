// Facts about the registry database for tools and benchmarks that read it alongside.
#pragma once

#include "pal/visibility.h"

#include <filesystem>

DV_EXPORTS_BEGIN

namespace pal::reg {

// <sandbox root>/registry.db
std::filesystem::path databasePath();

} // namespace pal::reg

DV_EXPORTS_END
