// The window classes of bar windows, registered again whenever they are missing (a test may
// have unregistered every class between two frames).
#pragma once

#include "afxwin.h"

namespace pal::xtp {
LPCWSTR barWindowClass();
LPCWSTR popupWindowClass();
} // namespace pal::xtp
