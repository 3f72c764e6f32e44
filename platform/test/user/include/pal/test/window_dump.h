// The window tree as text, one window a line, children indented below their parent:
//   Frame id=0 "Main" style=0x16CF0000 rect=(10,20)-(810,620) visible enabled
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

#include <string>

DV_EXPORTS_BEGIN

namespace pal::test {

// The tree under `root` (the window itself first), or of every top-level window in z-order
// when `root` is null. Texts are read as the windows hold them, without calling procedures.
std::string dumpWindowTree(HWND root = nullptr);

} // namespace pal::test

DV_EXPORTS_END
