// Identifiers in the toolkit's property exchange: kept as the kernel's text, so that a layout
// stays readable and a damaged entry is recognised as one.
#pragma once

#include "DravikKernel/UniqueIdentifier.h"

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPPropExchange;

// Stores the id as text; loading replaces it only with text that parses. Whether a value was
// exchanged.
BOOL PX_UniqueIdentifier(CXTPPropExchange* pPX, LPCWSTR pszPropName, Dravik::UniqueIdentifier& id);

DV_EXPORTS_END
