// Something the person running the program must learn about, noticed by a layer that sits
// below the program's log (a registry file set aside, say): it goes to standard error at once
// and to the log when one has asked for such notices.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

namespace pal::notice {

using Sink = void (*)(const std::string& line);

// The log that also takes every notice (one; null stops it).
void setSink(Sink sink);
// Writes `line` (no newline) on standard error and hands it to the sink.
void say(const std::string& line);

} // namespace pal::notice

DV_EXPORTS_END
