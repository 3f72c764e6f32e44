// The automation test server: one class, registered for multiple use, whose application
// object offers a member for every kind of value and failure the link must carry, and a
// document and variables object behind it, as a drawing's title block is reached.
#include "test_objects.h"

#include "pal/journal.h"
#include "win/com.h"
#include "win/user.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

using namespace comtest;
using pal::com::Variant;

namespace {

DWORD gUiThread = 0;

HRESULT want(const Call& c, size_t n) {
    return c.args.size() == n ? S_OK : DISP_E_BADPARAMCOUNT;
}

void setText(VARIANT* r, const std::wstring& s) {
    if (r) {
        r->vt = VT_BSTR;
        r->bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    }
}

// The variables of one document: changes are recorded, and committed together by OK.
IDispatch* makeVariables() {
    auto values = std::make_shared<std::map<std::wstring, std::wstring>>();
    auto pending = std::make_shared<std::map<std::wstring, std::wstring>>();
    (*values)[L"$razrab"] = L"\"Петров\"";
    return new TableObject({
        {L"GetVarExpression", 1,
         [=](Call& c) {
             if (HRESULT hr = want(c, 1); FAILED(hr))
                 return hr;
             auto it = values->find(textOf(*c.args[0]));
             setText(c.result, it == values->end() ? L"\"\"" : it->second);
             return S_OK;
         }},
        {L"SetVarExpression", 2,
         [=](Call& c) {
             if (HRESULT hr = want(c, 2); FAILED(hr))
                 return hr;
             (*pending)[textOf(*c.args[0])] = textOf(*c.args[1]);
             return S_OK;
         }},
        {L"OK", 3,
         [=](Call& c) {
             for (auto& [k, v] : *pending)
                 (*values)[k] = v;
             pending->clear();
             pal::journal::record("comtest.commit", {{"undo", pal::text::toUtf8(textOf(*c.args.at(0)))}});
             return S_OK;
         }},
        {L"Cancel", 4,
         [=](Call&) {
             pending->clear();
             return S_OK;
         }},
    });
}

IDispatch* makeDocument() {
    IDispatch* vars = makeVariables();
    auto holder = std::shared_ptr<IDispatch>(vars, [](IDispatch* d) { d->Release(); });
    return new TableObject({
        {L"GetModelVars", 1,
         [holder](Call& c) {
             holder->AddRef();
             c.result->vt = VT_DISPATCH;
             c.result->pdispVal = holder.get();
             return S_OK;
         }},
        {L"Path", 2,
         [](Call& c) {
             setText(c.result, L"C:\\Чертежи\\деталь.dvd");
             return S_OK;
         }},
    });
}

HRESULT toLong(Call& c, size_t i, LONG& out) {
    Variant v;
    if (FAILED(VariantChangeType(&v, c.args[i], 0, VT_I4))) {
        if (c.argError)
            *c.argError = static_cast<UINT>(c.args.size() - 1 - i); // counted in DISPPARAMS order
        return DISP_E_TYPEMISMATCH;
    }
    out = v.lVal;
    return S_OK;
}

IDispatch* makeApplication() {
    auto document = std::shared_ptr<IDispatch>(makeDocument(), [](IDispatch* d) { d->Release(); });
    auto name = std::make_shared<std::wstring>(L"DravikCad");
    return new TableObject({
        {L"Echo", kEcho,
         [](Call& c) {
             return FAILED(want(c, 1)) ? DISP_E_BADPARAMCOUNT : VariantCopyInd(c.result, c.args[0]);
         }},
        {L"GetActiveFile", kGetActiveFile,
         [document](Call& c) {
             document->AddRef();
             c.result->vt = VT_DISPATCH;
             c.result->pdispVal = document.get();
             return S_OK;
         }},
        {L"Bump", kBump,
         [](Call& c) {
             if (HRESULT hr = want(c, 1); FAILED(hr))
                 return hr;
             if (c.args[0]->vt != (VT_BYREF | VT_I2)) {
                 *c.argError = 0;
                 return DISP_E_TYPEMISMATCH;
             }
             *c.args[0]->piVal += 1;
             c.result->vt = VT_I2;
             c.result->iVal = *c.args[0]->piVal;
             return S_OK;
         }},
        {L"LockCount", kLockCount,
         [](Call& c) {
             c.result->vt = VT_I4;
             c.result->lVal = liveObjects();
             return S_OK;
         }},
        {L"Slow", kSlow,
         [](Call& c) {
             LONG ms = 0;
             if (HRESULT hr = toLong(c, 0, ms); FAILED(hr))
                 return hr;
             pal::journal::record("comtest.slow");
             usleep(static_cast<useconds_t>(ms) * 1000);
             return S_OK;
         }},
        {L"Name", kName,
         [name](Call& c) {
             if (c.flags & DISPATCH_PROPERTYPUT) {
                 if (HRESULT hr = want(c, 1); FAILED(hr))
                     return hr;
                 *name = textOf(*c.args[0]);
                 return S_OK;
             }
             setText(c.result, *name);
             return S_OK;
         }},
        {L"Quit", kQuit,
         [](Call&) {
             PostQuitMessage(0);
             return S_OK;
         }},
        {L"Fail", kFail,
         [](Call& c) {
             if (c.exception) {
                 c.exception->scode = E_FAIL;
                 c.exception->bstrSource = SysAllocString(L"comtest");
                 c.exception->bstrDescription = SysAllocString(L"Ошибка сервера");
             }
             return DISP_E_EXCEPTION;
         }},
        {L"Add", kAdd,
         [](Call& c) {
             if (HRESULT hr = want(c, 2); FAILED(hr))
                 return hr;
             LONG a = 0, b = 0;
             if (HRESULT hr = toLong(c, 0, a); FAILED(hr))
                 return hr;
             if (HRESULT hr = toLong(c, 1, b); FAILED(hr))
                 return hr;
             c.result->vt = VT_I4;
             c.result->lVal = a + b;
             return S_OK;
         }},
        {L"OnUiThread", kOnUiThread,
         [](Call& c) {
             c.result->vt = VT_BOOL;
             c.result->boolVal = GetCurrentThreadId() == gUiThread ? VARIANT_TRUE : VARIANT_FALSE;
             return S_OK;
         }},
        {L"Same", kSame,
         [document](Call& c) {
             if (HRESULT hr = want(c, 1); FAILED(hr))
                 return hr;
             c.result->vt = VT_BOOL;
             c.result->boolVal = c.args[0]->vt == VT_DISPATCH && c.args[0]->pdispVal == document.get()
                                     ? VARIANT_TRUE
                                     : VARIANT_FALSE;
             return S_OK;
         }},
        {L"Sum", kSum,
         [](Call& c) {
             if (HRESULT hr = want(c, 1); FAILED(hr))
                 return hr;
             SAFEARRAY* a = c.args[0]->vt == (VT_ARRAY | VT_R8) ? c.args[0]->parray : nullptr;
             if (!a)
                 return DISP_E_TYPEMISMATCH;
             LONG lo = 0, hi = -1;
             SafeArrayGetLBound(a, 1, &lo);
             SafeArrayGetUBound(a, 1, &hi);
             double sum = 0;
             for (LONG i = lo; i <= hi; ++i) {
                 double d = 0;
                 SafeArrayGetElement(a, &i, &d);
                 sum += d;
             }
             c.result->vt = VT_R8;
             c.result->dblVal = sum;
             return S_OK;
         }},
        {L"Throw", kThrow, [](Call&) -> HRESULT { throw std::runtime_error("server code failed"); }},
    });
}

class Factory : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        *object = (iid == IID_IUnknown || iid == IID_IClassFactory) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch* app = makeApplication();
        HRESULT hr = app->QueryInterface(iid, object);
        app->Release();
        return hr;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

} // namespace

int main() {
    CoInitialize(nullptr);
    gUiThread = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists from here on
    Factory factory;
    DWORD classCookie = 0, activeCookie = 0;
    if (FAILED(CoRegisterClassObject(kTestClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                     &classCookie)))
        return 3;
    IDispatch* active = makeApplication();
    RegisterActiveObject(active, kTestClass, ACTIVEOBJECT_STRONG, &activeCookie);
    active->Release();
    pal::journal::record("comtest.server");
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    RevokeActiveObject(activeCookie, nullptr);
    CoRevokeClassObject(classCookie);
    CoUninitialize();
    return 0;
}
