// The catalogue's rows, kept apart from the code that reads them.
#pragma once

#include "DravikKernel/CommandCatalogue.h"

#include <cstddef>
#include <iterator>

namespace dvkernel {

extern const DVCatalogueCommand kCatalogue[];
extern const std::size_t kCatalogueSize;

} // namespace dvkernel
