// The system part of the Windows substitute: modules and file versions, processes and pipes,
// files and paths, the registry and the shell's launch functions.
#pragma once

#include "pal/visibility.h"
#include "win/system/file.h"
#include "win/system/help.h"
#include "win/system/module.h"
#include "win/system/process.h"
#include "win/system/registry.h"
#include "win/system/shell.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
