// A client of "DVW32.SERVER" in a process of its own, which the tests kill in the middle of a
// call: it connects, says so in the journal and asks for the server's long command.
#include "app/DVServer.h"

#include "pal/journal.h"

int main() {
    CoInitialize(nullptr);
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kServerProgId, &clsid)))
        return 2;
    IDispatch* app = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&app))))
        return 3;
    pal::journal::record("dvserver.client.ready");
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I2;
    id.iVal = 999;
    DISPPARAMS params{&id, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    UINT err = 0;
    app->Invoke(36, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, &err);
    app->Release();
    CoUninitialize();
    return 0;
}
