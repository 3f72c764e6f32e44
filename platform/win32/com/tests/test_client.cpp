// The automation test client, a separate process:
//   hold    creates the application, its document and variables, then sits in a slow call
//           (the test kills it there);
//   editor  the title-block editor's conversation, late-bound by name from the ProgID: reads a
//           variable, writes it and commits; prints what it read as UTF-8.
#include "test_objects.h"

#include "pal/journal.h"
#include "win/com.h"

#include <cstdio>
#include <cstring>

using namespace comtest;
using pal::com::Variant;

namespace {

int fail(const char* step, HRESULT hr) {
    std::fprintf(stderr, "%s failed: 0x%08X\n", step, static_cast<unsigned>(hr));
    return 2;
}

// Calls a method by name that returns an object.
HRESULT object(IDispatch* from, const wchar_t* name, Variant& out) {
    std::vector<Variant> none;
    HRESULT hr = callByName(from, name, DISPATCH_METHOD, none, &out);
    if (SUCCEEDED(hr) && (out.vt != VT_DISPATCH || !out.pdispVal))
        hr = E_NOINTERFACE;
    return hr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 1;
    CoInitialize(nullptr);
    CLSID clsid{};
    if (HRESULT hr = CLSIDFromProgID(kTestProgId, &clsid); FAILED(hr))
        return fail("CLSIDFromProgID", hr);
    IDispatch* app = nullptr;
    if (HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&app));
        FAILED(hr))
        return fail("CoCreateInstance", hr);
    Variant doc, vars;
    if (HRESULT hr = object(app, L"GetActiveFile", doc); FAILED(hr))
        return fail("GetActiveFile", hr);
    if (HRESULT hr = object(doc.pdispVal, L"GetModelVars", vars); FAILED(hr))
        return fail("GetModelVars", hr);

    if (std::strcmp(argv[1], "hold") == 0) {
        pal::journal::record("comtest.client.ready");
        std::vector<Variant> args;
        args.emplace_back();
        args.back().vt = VT_I4;
        args.back().lVal = 3000;
        Variant r;
        callByName(app, L"Slow", DISPATCH_METHOD, args, &r);
        return 0;
    }

    std::vector<Variant> name;
    name.push_back(text(L"$razrab"));
    Variant value;
    if (HRESULT hr = callByName(vars.pdispVal, L"GetVarExpression", DISPATCH_METHOD, name, &value);
        FAILED(hr))
        return fail("GetVarExpression", hr);
    std::vector<Variant> set;
    set.push_back(text(L"$razrab"));
    set.push_back(text(L"Иванов И.И."));
    if (HRESULT hr = callByName(vars.pdispVal, L"SetVarExpression", DISPATCH_METHOD, set, nullptr);
        FAILED(hr))
        return fail("SetVarExpression", hr);
    std::vector<Variant> undo;
    undo.push_back(text(L"Редактирование форматки"));
    if (HRESULT hr = callByName(vars.pdispVal, L"OK", DISPATCH_METHOD, undo, nullptr); FAILED(hr))
        return fail("OK", hr);
    std::printf("%s\n", pal::text::toUtf8(textOf(value)).c_str());
    app->Release();
    return 0;
}
