// The component-object substitute: apartments, and (in the headers below) GUIDs, strings,
// variants, dispatch interfaces and the server link between processes.
#pragma once

#include "pal/visibility.h"
#include "win/com/automation.h"
#include "win/com/guid.h"
#include "win/com/server.h"
#include "win/error.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_DISABLE_OLE1DDE = 0x4;
constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);

// Per-thread initialisation counts, with the platform's answers: S_OK for the first call on a
// thread, S_FALSE for later ones, RPC_E_CHANGED_MODE when the threading model differs.
HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
void CoUninitialize();

DV_EXPORTS_END
