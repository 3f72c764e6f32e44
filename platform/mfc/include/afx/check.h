// Debug checks of the class library. A failed ASSERT stops a debug build with the file and
// line; in a release build it vanishes, and code that must not go on (an index out of
// range, a bad argument) throws instead, so memory is never touched past its end.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::mfc {

[[noreturn]] void assertionFailed(const char* expression, const char* file, int line);

} // namespace pal::mfc

#ifndef NDEBUG
#define ASSERT(expr) ((expr) ? static_cast<void>(0) : ::pal::mfc::assertionFailed(#expr, __FILE__, __LINE__))
#define VERIFY(expr) ASSERT(expr)
#else
#define ASSERT(expr) static_cast<void>(0)
#define VERIFY(expr) static_cast<void>(expr)
#endif
#define ASSERT_VALID(object) ASSERT((object) != nullptr)

DV_EXPORTS_END
