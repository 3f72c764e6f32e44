// Which module holds a resource the program asks for by id.
#pragma once

#include "pal/visibility.h"
#include "win/module_resources.h"

DV_EXPORTS_BEGIN

// The module that holds resource `name` of `type` (FindResourceW): the resource module, the
// program, then every module with a string table in the order they were loaded; the resource
// module when none does.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

DV_EXPORTS_END
