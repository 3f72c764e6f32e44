// The conventional header: everything of the Windows substitute.
#pragma once

#include "win/base.h"
#include "win/error.h"
#include "win/global_memory.h"
#include "win/types.h"
#include "win/user.h"
#include "win/controls.h"
#include "win/system.h"
#include "win/com.h"
#include "win/ole.h"
#include "win/controls.h"
