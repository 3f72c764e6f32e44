// Small dispatch objects for the tests: members by name and DISPID from a table, a count of
// live objects, and a late-bound call helper for clients.
#pragma once

#include "pal/com/variant.h"
#include "pal/text.h"
#include "win/com.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace comtest {

// A call as the member sees it: the arguments in call order (first argument first).
struct Call {
    WORD flags;
    std::vector<VARIANT*> args;
    VARIANT* result;
    EXCEPINFO* exception;
    UINT* argError;
};

struct Member {
    const wchar_t* name;
    DISPID id;
    std::function<HRESULT(Call&)> run;
};

inline std::atomic<int>& liveObjects() {
    static std::atomic<int> n{0};
    return n;
}

class TableObject : public IDispatch {
public:
    explicit TableObject(std::vector<Member> members) : members_(std::move(members)) { ++liveObjects(); }
    virtual ~TableObject() { --liveObjects(); }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            AddRef();
            *object = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (const auto& m : members_)
                if (i == 0 && pal::text::equalsNoCase(m.name, names[i]))
                    ids[i] = m.id;
            if (ids[i] == DISPID_UNKNOWN)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override {
        for (const auto& m : members_) {
            if (m.id != id)
                continue;
            if (params->cNamedArgs > 0 && !(flags & DISPATCH_PROPERTYPUT))
                return DISP_E_NONAMEDARGS;
            Call call{flags, {}, result, exception, argError};
            for (UINT i = params->cArgs; i > 0; --i)
                call.args.push_back(&params->rgvarg[i - 1]);
            return m.run(call);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::vector<Member> members_;
    std::atomic<ULONG> refs_{1};
};

// Calls a member by name with arguments in call order. `flags` as for Invoke.
inline HRESULT callByName(IDispatch* object, const wchar_t* name, WORD flags,
                          std::vector<pal::com::Variant>& args, VARIANT* result,
                          EXCEPINFO* exception = nullptr, UINT* argError = nullptr) {
    DISPID id = DISPID_UNKNOWN;
    std::wstring n = name;
    LPOLESTR names[1] = {n.data()};
    if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr))
        return hr;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(*it); // shallow: the caller keeps ownership
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(),
                      (flags & DISPATCH_PROPERTYPUT) ? &put : nullptr, static_cast<UINT>(reversed.size()),
                      (flags & DISPATCH_PROPERTYPUT) ? 1u : 0u};
    UINT err = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                          argError ? argError : &err);
}

inline pal::com::Variant text(const std::wstring& s) {
    pal::com::Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return v;
}

inline std::wstring textOf(const VARIANT& v) {
    return v.vt == VT_BSTR && v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : std::wstring();
}

} // namespace comtest

namespace comtest {

// The test server's class and name in the class registry.
inline constexpr CLSID kTestClass = {
    0x5EC0B001, 0x2A9E, 0x4C11, {0x9D, 0x31, 0x6A, 0x22, 0x10, 0x0C, 0x0D, 0x01}};
inline constexpr wchar_t kTestProgId[] = L"DVPAL.COMTEST";

// DISPIDs of the test server's application object.
enum AppMember : DISPID {
    kEcho = 1,
    kGetActiveFile,
    kBump,
    kLockCount,
    kSlow,
    kName,
    kQuit,
    kFail,
    kAdd,
    kOnUiThread,
    kSame,
    kSum,
    kThrow,
};

} // namespace comtest
