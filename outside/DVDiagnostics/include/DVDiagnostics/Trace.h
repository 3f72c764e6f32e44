// What the stand-ins of the outside libraries were asked, in order, across all of them. A
// stand-in records each call the shell makes of it; tests read the record through the
// test hooks and so check the shell's behaviour through the libraries it calls.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace dvtrace {

// `library` names the stand-in ("DravikKernel"); `call` the operation with its arguments,
// as "PreInitSession(1)". UTF-8.
void record(std::string_view library, std::string call);

} // namespace dvtrace

DV_EXPORTS_END
