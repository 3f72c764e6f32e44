// The editors' road into DravikCad: every member is looked up by name and called late, as a
// script would, so the editors depend on the server's names and not on its layout.
#include "TitleBlockServer.h"

#include "pal/com/dispatch.h"
#include "pal/com/variant.h"
#include "pal/text.h"
#include "win/com.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace stamps {
namespace {

using pal::com::Variant;

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

class Dispatch {
public:
    explicit Dispatch(IDispatch* d = nullptr) : d_(d) {}
    ~Dispatch() {
        if (d_)
            d_->Release();
    }
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    Dispatch(Dispatch&& o) noexcept : d_(std::exchange(o.d_, nullptr)) {}

    // Calls the member named with string arguments in call order; throws on failure.
    Variant call(const wchar_t* name, const std::vector<std::wstring>& args = {}) const {
        std::vector<VARIANT> arguments;
        for (const std::wstring& a : args)
            arguments.push_back(pal::com::textArgument(a));
        Variant result;
        if (const HRESULT hr = pal::com::invokeByName(d_, name, std::move(arguments), &result); FAILED(hr))
            throw ServerError("Ошибка вызова " + pal::text::toUtf8(name) + " (" + hex(hr) + ").");
        return result;
    }
    // A member that answers an object; `missing` is what the person is told when it gives none.
    Dispatch object(const wchar_t* name, const std::string& missing) const {
        Variant v = call(name);
        if (v.vt != VT_DISPATCH || !v.pdispVal)
            throw ServerError(missing);
        IDispatch* d = v.pdispVal;
        d->AddRef();
        return Dispatch(d);
    }
    explicit operator bool() const { return d_ != nullptr; }

private:
    IDispatch* d_;
};

// The thread's COM apartment, for as long as any reference to DravikCad's objects lives.
class Apartment {
public:
    Apartment() { CoInitialize(nullptr); }
    ~Apartment() { CoUninitialize(); }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
};

class AutomationServer : public TitleBlockServer {
public:
    AutomationServer(std::unique_ptr<Apartment> apartment, Dispatch app, Dispatch document, Dispatch vars)
        : apartment_(std::move(apartment)), app_(std::move(app)), document_(std::move(document)),
          vars_(std::move(vars)) {}

    std::wstring GetVarExpression(const std::wstring& name) override {
        Variant v = vars_.call(L"GetVarExpression", {name});
        return v.vt == VT_BSTR && v.bstrVal ? std::wstring(v.bstrVal) : std::wstring();
    }
    void SetVarExpression(const std::wstring& name, const std::wstring& value) override {
        vars_.call(L"SetVarExpression", {name, value});
    }
    void OK(const std::wstring& undoName) override { vars_.call(L"OK", {undoName}); }
    void Cancel() override { vars_.call(L"Cancel"); }
    void SetFocus() override { app_.call(L"SetFocus"); }

private:
    std::unique_ptr<Apartment> apartment_; // let go of last, after the references
    Dispatch app_, document_, vars_;
};

} // namespace

std::unique_ptr<TitleBlockServer> connectToDravikCad() {
    auto apartment = std::make_unique<Apartment>();
    CLSID clsid{};
    IDispatch* app = nullptr;
    if (FAILED(CLSIDFromProgID(L"DVW32.SERVER", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&app))) ||
        !app)
        throw ServerError(
            "Нет связи с DravikCad (\"DVW32.SERVER\"): запустите DravikCad и откройте документ.");
    Dispatch application(app);
    Dispatch document = application.object(L"GetActiveFile", "В DravikCad нет активного документа.");
    Dispatch vars = document.object(L"GetModelVars", "Ошибка вызова GetModelVars: объект не получен.");
    return std::make_unique<AutomationServer>(std::move(apartment), std::move(application),
                                              std::move(document), std::move(vars));
}

} // namespace stamps
