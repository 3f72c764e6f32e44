// Class objects and activation: a server registers its class factories and active objects;
// a client creates objects in-process or in a server process, which is started from the
// class registry when it is not running.
#pragma once

#include "pal/visibility.h"
#include "win/com/automation.h"
#include "win/com/guid.h"

DV_EXPORTS_BEGIN

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;
constexpr DWORD REGCLS_MULTI_SEPARATE = 2;
constexpr DWORD REGCLS_SUSPENDED = 4;

constexpr DWORD ACTIVEOBJECT_STRONG = 0;
constexpr DWORD ACTIVEOBJECT_WEAK = 1;

constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005);
constexpr HRESULT CO_E_OBJISREG = static_cast<HRESULT>(0x800401FB);
constexpr HRESULT CO_E_OBJNOTREG = static_cast<HRESULT>(0x800401FC);
constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3);

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};
using LPCLASSFACTORY = IClassFactory*;

// Makes a class factory reachable from other processes of this user. Calls from them run on
// the thread that registered it, delivered through that thread's message queue: the thread
// must run a message loop. A class already served by a live process is CO_E_OBJISREG.
// A client can only ever cost the server its own connection: replies are written on the
// connection's own thread, a client that leaves replies untaken for 10 s or stalls for 10 s
// inside a request is cut off, and at most 64 clients are served at once (more are closed
// at once).
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags, LPDWORD cookie);
HRESULT CoRevokeClassObject(DWORD cookie);

// A class registered in this process is created here; otherwise, with CLSCTX_LOCAL_SERVER,
// in its server process, which is started from "CLSID\{...}\LocalServer32" when none runs.
// Objects from another process are dispatch objects (IUnknown and IDispatch).
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object);

// The running object of a class, registered by its process with RegisterActiveObject; never
// starts a server. MK_E_UNAVAILABLE when there is none.
HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, LPDWORD cookie);
HRESULT RevokeActiveObject(DWORD cookie, LPVOID reserved);
HRESULT GetActiveObject(REFCLSID clsid, LPVOID reserved, IUnknown** object);

DV_EXPORTS_END
