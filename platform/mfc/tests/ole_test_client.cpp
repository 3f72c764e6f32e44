// The automation test client, a separate program that reaches the test server by its ProgID
// and calls every member late, by name, as the title-block editors do:
//   editor  reads a title-block variable, writes it, commits under an undo name, brings the
//           server forward; prints what it read as UTF-8;
//   hold    takes the application, its document and variables, then sits in a slow call (the
//           test kills it there).
#include "afxdisp.h"
#include "ole_test_ids.h"

#include "pal/journal.h"
#include "pal/text.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

DISPID idOf(COleDispatchDriver& object, const wchar_t* name) {
    std::wstring n = name;
    LPOLESTR names[1] = {n.data()};
    DISPID id = DISPID_UNKNOWN;
    if (HRESULT hr = object.m_lpDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        FAILED(hr))
        AfxThrowOleException(hr);
    return id;
}

// The object a method returns; the driver holds it.
void objectOf(COleDispatchDriver& from, const wchar_t* method, COleDispatchDriver& to) {
    LPDISPATCH object = nullptr;
    from.InvokeHelper(idOf(from, method), DISPATCH_METHOD, VT_DISPATCH, &object, VTS_NONE);
    if (object == nullptr)
        AfxThrowOleException(E_NOINTERFACE);
    to.AttachDispatch(object);
}

int run(const char* mode) {
    COleDispatchDriver app, document, variables;
    COleException error;
    if (!app.CreateDispatch(kOleTestProgId, &error)) {
        std::fprintf(stderr, "CreateDispatch failed: 0x%08X\n", static_cast<unsigned>(error.m_sc));
        return 2;
    }
    objectOf(app, L"GetActiveFile", document);
    objectOf(document, L"GetModelVars", variables);

    if (std::strcmp(mode, "hold") == 0) {
        pal::journal::record("oletest.client.ready");
        app.InvokeHelper(idOf(app, L"Slow"), DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4, 3000);
        return 0;
    }
    CString value;
    variables.InvokeHelper(idOf(variables, L"GetVarExpression"), DISPATCH_METHOD, VT_BSTR, &value, VTS_BSTR,
                           L"$razrab");
    variables.InvokeHelper(idOf(variables, L"SetVarExpression"), DISPATCH_METHOD, VT_EMPTY, nullptr,
                           VTS_BSTR VTS_BSTR, L"$razrab", L"Иванов И.И.");
    variables.InvokeHelper(idOf(variables, L"OK"), DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_BSTR,
                           L"Редактирование форматки");
    app.InvokeHelper(idOf(app, L"SetFocus"), DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE);
    std::printf("%s\n", pal::text::toUtf8(value.GetString()).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 1;
    CoInitialize(nullptr);
    int code = 2;
    try {
        code = run(argv[1]);
    } catch (COleDispatchException* e) {
        std::fprintf(stderr, "%s\n", pal::text::toUtf8(e->m_strDescription.GetString()).c_str());
        e->Delete();
    } catch (COleException* e) {
        std::fprintf(stderr, "call failed: 0x%08X\n", static_cast<unsigned>(e->m_sc));
        e->Delete();
    }
    CoUninitialize();
    return code;
}
