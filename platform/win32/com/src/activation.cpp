// Activation: in-process first, then the class's server process, started from the class
// registry when none is listening.
#include "channel.h"
#include "class_registry.h"
#include "class_table.h"

#include "pal/clock.h"
#include "win/com.h"
#include "win/system.h"

#include <chrono>
#include <thread>

namespace pal::com::detail {
namespace {

// How long a server started for a client has to register its class.
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kStartPoll = std::chrono::milliseconds(10);

HRESULT connectChannel(REFCLSID clsid, std::shared_ptr<Channel>& channel) {
    link::Fd fd = link::connectTo(link::classSocketPath(clsid));
    if (!fd)
        return REGDB_E_CLASSNOTREG;
    channel = std::make_shared<Channel>(std::move(fd));
    return S_OK;
}

// Starts the registered server of the class and waits, bounded, until it listens. A server
// that ends before it listens fails at once.
HRESULT startServer(REFCLSID clsid, std::shared_ptr<Channel>& channel) {
    const auto command = classesRootDefault(L"CLSID\\" + guidToString(clsid) + L"\\LocalServer32");
    if (!command || command->empty())
        return REGDB_E_CLASSNOTREG;
    // The platform tells a server started for a client by this switch.
    std::wstring line = *command + L" -Embedding";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return CO_E_SERVER_EXEC_FAILURE;
    CloseHandle(pi.hThread);
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    HRESULT hr = CO_E_SERVER_EXEC_FAILURE;
    for (;;) {
        if (SUCCEEDED(connectChannel(clsid, channel))) {
            hr = S_OK;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 ||
            std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kStartPoll);
    }
    CloseHandle(pi.hProcess);
    return hr;
}

HRESULT remoteObject(REFCLSID clsid, wire::Kind kind, bool mayStart, REFIID iid, void** object) {
    std::shared_ptr<Channel> channel;
    HRESULT hr = connectChannel(clsid, channel);
    if (FAILED(hr)) {
        if (!mayStart)
            return MK_E_UNAVAILABLE;
        if (hr = startServer(clsid, channel); FAILED(hr))
            return hr;
    }
    IDispatch* dispatch = nullptr;
    if (hr = channel->activate(clsid, kind, &dispatch); FAILED(hr))
        return hr;
    hr = dispatch->QueryInterface(iid, object);
    dispatch->Release();
    return hr;
}

} // namespace
} // namespace pal::com::detail

using namespace pal::com::detail;

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (context & (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)) {
        if (IClassFactory* factory = findClassFactory(clsid, false)) {
            HRESULT hr = factory->CreateInstance(nullptr, iid, object);
            factory->Release();
            return hr;
        }
    }
    if (!(context & CLSCTX_LOCAL_SERVER))
        return REGDB_E_CLASSNOTREG;
    return remoteObject(clsid, pal::com::wire::Kind::CreateInstance, true, iid, object);
}

HRESULT GetActiveObject(REFCLSID clsid, LPVOID, IUnknown** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IUnknown* active = findActiveObject(clsid)) {
        *object = active;
        return S_OK;
    }
    return remoteObject(clsid, pal::com::wire::Kind::GetActiveObject, false, IID_IUnknown,
                        reinterpret_cast<void**>(object));
}
