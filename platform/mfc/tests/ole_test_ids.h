// What the automation test server offers and its clients rely on: its class, its ProgID and
// the DISPIDs of its members, which are their positions in the server's dispatch maps.
#pragma once

#include "win/com.h"

// The class id as the parts IMPLEMENT_OLECREATE takes, and as text.
#define DVMFC_OLETEST_CLSID 0x7B3E2A10, 0x5C4D, 0x4E6F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07
inline constexpr wchar_t kOleTestClassText[] = L"{7B3E2A10-5C4D-4E6F-90A1-B2C3D4E5F607}";
inline constexpr wchar_t kOleTestProgId[] = L"DVMFC.OLETEST";

namespace oletest {

// The application object, one per client.
enum ServerMember : DISPID {
    kGetActiveFile = 1,
    kEcho,
    kAdd,
    kScale,
    kNegate,
    kGetFirstFile,
    kLockCount,
    kSlow,
    kFail,
    kSetFocus,
    kName,
    kVersion,
};

// The active document and its title-block variables.
enum DocumentMember : DISPID { kGetModelVars = 1, kPath };
enum VariablesMember : DISPID { kGetVarExpression = 1, kSetVarExpression, kOK, kCancel };

} // namespace oletest
