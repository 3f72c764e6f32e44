// The conventional header: everything of the Windows substitute that is built.
#pragma once

#include "win/base.h"
#include "win/error.h"
#include "win/types.h"

#if __has_include("win/user.h")
#include "win/user.h"
#endif
#if __has_include("win/system.h")
#include "win/system.h"
#endif
#if __has_include("win/com.h")
#include "win/com.h"
#endif
