// A client of "DVW32.SERVER" in a process of its own.
//   (no arguments)      connects, says so in the journal and asks for the server's long command;
//                       the tests kill it in the middle of that call.
//   --open PATH         connects, says so in the journal and asks the server to open the file;
//                       the tests kill it while the server reads a file that does not come.
//   --title-block PATH  does what a title-block editor does: opens the drawing, takes the active
//                       one, reads "$razrab", writes it, commits, reads it back; each answer goes
//                       to the journal ("dvserver.client.answers"), then every reference is let go.
//   --file-road         drives the server's own file commands as its keys and menus do: open
//                       (the server's dialog picks the file), "$razrab" set and saved, set again
//                       and saved as (the dialog picks the new name), closed, and the first
//                       entry of the recent list opened; what the reopened drawing's "$razrab"
//                       holds goes to the journal ("dvserver.client.road").
//   --save-new-as       makes a new drawing and saves it as the server's own save-as command
//                       does (the dialog picks the name), then says "dvserver.client.saved".
#include "app/DVServer.h"

#include "pal/com/dispatch.h"
#include "pal/journal.h"
#include "pal/text.h"

#include <string>
#include <vector>

namespace {

using pal::com::invoke;
using pal::com::invokeByName;
using pal::com::textArgument;

std::string textOf(const VARIANT& v) {
    return v.vt == VT_BSTR && v.bstrVal ? pal::text::toUtf8(v.bstrVal) : std::string();
}

// The editor's road through the active drawing's variables; every answer is journaled.
void editTitleBlock(IDispatch* app, const std::wstring& path) {
    std::vector<std::pair<std::string, std::string>> answers;
    VARIANT version, opened, active, vars, before, ok, after;
    invoke(app, 30, {}, &version);
    answers.emplace_back("version", std::to_string(version.vt == VT_I4 ? version.lVal : -1));
    invokeByName(app, L"OpenFile", {textArgument(path)}, &opened);
    answers.emplace_back("opened", opened.vt == VT_DISPATCH && opened.pdispVal ? "1" : "0");
    invokeByName(app, L"GetActiveFile", {}, &active);
    answers.emplace_back("active", active.vt == VT_DISPATCH && active.pdispVal ? "1" : "0");
    if (active.vt == VT_DISPATCH && active.pdispVal &&
        SUCCEEDED(invokeByName(active.pdispVal, L"GetModelVars", {}, &vars)) && vars.vt == VT_DISPATCH) {
        invokeByName(vars.pdispVal, L"GetVarExpression", {textArgument(L"$razrab")}, &before);
        invokeByName(vars.pdispVal, L"SetVarExpression", {textArgument(L"$razrab"), textArgument(L"Сидоров")},
                     &ok);
        VariantClear(&ok);
        invokeByName(vars.pdispVal, L"OK", {textArgument(L"Title block")}, &ok);
        invokeByName(vars.pdispVal, L"GetVarExpression", {textArgument(L"$razrab")}, &after);
        answers.emplace_back("before", textOf(before));
        answers.emplace_back("committed", ok.vt == VT_BOOL && ok.boolVal ? "1" : "0");
        answers.emplace_back("after", textOf(after));
        for (VARIANT* v : {&vars, &before, &ok, &after})
            VariantClear(v);
    }
    for (VARIANT* v : {&version, &opened, &active})
        VariantClear(v);
    pal::journal::record("dvserver.client.answers", answers);
}

// The active drawing's variables; null when there is no active drawing.
IDispatch* activeVars(IDispatch* app) {
    VARIANT active, vars;
    if (FAILED(invokeByName(app, L"GetActiveFile", {}, &active)) || active.vt != VT_DISPATCH ||
        active.pdispVal == nullptr)
        return nullptr;
    const HRESULT got = invokeByName(active.pdispVal, L"GetModelVars", {}, &vars);
    VariantClear(&active);
    return SUCCEEDED(got) && vars.vt == VT_DISPATCH ? vars.pdispVal : nullptr;
}

bool setDesigner(IDispatch* app, const std::wstring& name) {
    IDispatch* vars = activeVars(app);
    if (vars == nullptr)
        return false;
    VARIANT ok;
    invokeByName(vars, L"SetVarExpression", {textArgument(L"$razrab"), textArgument(name)}, &ok);
    VariantClear(&ok);
    invokeByName(vars, L"OK", {textArgument(L"Title block")}, &ok);
    const bool committed = ok.vt == VT_BOOL && ok.boolVal;
    vars->Release();
    return committed;
}

void command(IDispatch* app, unsigned id) {
    VARIANT result;
    invokeByName(app, L"ProcessCommand", {pal::com::shortArgument(static_cast<short>(id))}, &result);
    VariantClear(&result);
}

void walkFileRoad(IDispatch* app) {
    std::vector<std::pair<std::string, std::string>> answers;
    command(app, 57601); // open
    answers.emplace_back("first", setDesigner(app, L"Сидоров") ? "1" : "0");
    command(app, 1029); // save
    answers.emplace_back("second", setDesigner(app, L"Петров") ? "1" : "0");
    command(app, 1093); // save as
    command(app, 1200); // close
    IDispatch* none = activeVars(app);
    answers.emplace_back("closed", none == nullptr ? "1" : "0");
    if (none != nullptr)
        none->Release();
    command(app, 57616); // the first entry of the recent list
    if (IDispatch* vars = activeVars(app)) {
        VARIANT designer;
        invokeByName(vars, L"GetVarExpression", {textArgument(L"$razrab")}, &designer);
        answers.emplace_back("reopened", textOf(designer));
        VariantClear(&designer);
        vars->Release();
    }
    pal::journal::record("dvserver.client.road", answers);
}

} // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kServerProgId, &clsid)))
        return 2;
    IDispatch* app = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&app))))
        return 3;
    if (argc == 3 && std::string(argv[1]) == "--title-block") {
        editTitleBlock(app, pal::text::fromUtf8(argv[2]));
        app->Release();
        CoUninitialize();
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--save-new-as") {
        command(app, 57600); // new drawing
        command(app, 1093);  // save as
        pal::journal::record("dvserver.client.saved");
        app->Release();
        CoUninitialize();
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--file-road") {
        walkFileRoad(app);
        app->Release();
        CoUninitialize();
        return 0;
    }
    pal::journal::record("dvserver.client.ready");
    if (argc == 3 && std::string(argv[1]) == "--open") {
        VARIANT opened;
        invokeByName(app, L"OpenFile", {textArgument(pal::text::fromUtf8(argv[2]))}, &opened);
        VariantClear(&opened);
        app->Release();
        CoUninitialize();
        return 0;
    }
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
