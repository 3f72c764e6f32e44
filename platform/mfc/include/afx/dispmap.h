// Dispatch maps: the members an automation object offers through its IDispatch.
//
//   BEGIN_DISPATCH_MAP(CServer, CCmdTarget)
//       DISP_FUNCTION(CServer, "OpenFile", OpenFile, VT_DISPATCH, VTS_BSTR)
//       DISP_PROPERTY_EX(CServer, "Name", GetName, SetName, VT_BSTR)
//   END_DISPATCH_MAP()
//
// Members get their DISPIDs by position: the first entry of a class's own map is 1. Entries of
// a base class's map keep their position in the low word and carry in the high word how many
// maps lie above theirs.
//
// As with message maps, each entry holds a thunk made for that class and member, which takes
// the arguments out of the variants with the member's own parameter types; nothing is cast to
// a common member-pointer type. The parameter string and the result type must agree with the
// member's signature, or the map does not compile:
//
//   automation type   parameter            result
//   VTS_I2 / VT_I2    short                short
//   VTS_I4 / VT_I4    LONG                 LONG
//   VTS_R4 / VT_R4    float                float
//   VTS_R8 / VT_R8    double               double
//   VTS_BOOL/VT_BOOL  BOOL                 BOOL
//   VTS_BSTR/VT_BSTR  LPCWSTR              BSTR (the caller frees it)
//   VTS_DISPATCH      LPDISPATCH           LPDISPATCH (a reference for the caller)
//   VTS_VARIANT       const VARIANT&       VARIANT (the caller clears it)
//   VTS_PI2           short* (by reference)
//   VT_EMPTY                               void
#pragma once

#include "afx/cmdtarget.h"
#include "pal/com/variant.h"
#include "pal/visibility.h"
#include "win/com.h"

#include <cstddef>
#include <type_traits>
#include <utility>

DV_EXPORTS_BEGIN

// Parameter strings: one byte per parameter, its variant type (by-reference types add 0x40).
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_PI2 "\x42"

// What a thunk gets: the call as IDispatch::Invoke received it, and its entry's types.
struct AFX_DISPCALL {
    WORD wFlags = 0;
    DISPPARAMS* pParams = nullptr;
    VARIANT* pResult = nullptr; // null when the caller wants no result
    UINT* puArgErr = nullptr;   // never null
    const char* lpszParams = nullptr;
    VARTYPE vt = VT_EMPTY;
};

using AFX_DISPTHUNK = HRESULT (*)(CCmdTarget& target, AFX_DISPCALL& call);

struct AFX_DISPMAP_ENTRY {
    LPCWSTR lpszName;       // null marks the end of the table
    const char* lpszParams; // the parameter string of a method
    VARTYPE vt;             // the result of a method, the type of a property
    AFX_DISPTHUNK pfnGet;   // a method's call or a property's get; null when not supported
    AFX_DISPTHUNK pfnSet;   // a property's put; null for methods and read-only properties
    bool bProperty;
};

struct AFX_DISPMAP {
    const AFX_DISPMAP* (*pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

namespace afx::disp {

namespace detail {
// Deliberately not constexpr: reaching one of these while a map is compiled is the error.
void dispatch_map_parameter_count_does_not_match_the_member();
void dispatch_map_parameter_type_does_not_match_the_member();
void dispatch_map_result_type_does_not_match_the_member();
void dispatch_map_property_type_does_not_match_the_member();
} // namespace detail

// Parameter strings mark by-reference types with 0x40 in place of VT_BYREF.
constexpr unsigned char kCodeByRefI2 = 0x42;

template <class F> struct Member;
template <class R, class C, class... A> struct Member<R (C::*)(A...)> {
    using Result = R;
    static constexpr std::size_t arity = sizeof...(A);
};
template <class R, class C, class... A> struct Member<R (C::*)(A...) const> : Member<R (C::*)(A...)> {};

// Whether a value of type T holds an automation value of type vt, for the types that stand for
// themselves wherever they appear; strings and by-reference types differ from place to place.
template <class T> constexpr bool holdsType(VARTYPE vt) {
    if constexpr (std::is_same_v<T, short>)
        return vt == VT_I2;
    else if constexpr (std::is_same_v<T, LONG>) // also BOOL, the same type
        return vt == VT_I4 || vt == VT_BOOL;
    else if constexpr (std::is_same_v<T, float>)
        return vt == VT_R4;
    else if constexpr (std::is_same_v<T, double>)
        return vt == VT_R8;
    else if constexpr (std::is_same_v<T, IDispatch*>)
        return vt == VT_DISPATCH;
    else if constexpr (std::is_same_v<T, VARIANT>)
        return vt == VT_VARIANT;
    else
        return false;
}

// Whether a parameter of type P can take an argument of the parameter string's code.
template <class P> consteval bool acceptsParam(unsigned char code) {
    if constexpr (std::is_same_v<P, LPCWSTR>)
        return code == VT_BSTR;
    else if constexpr (std::is_same_v<P, const VARIANT&>)
        return code == VT_VARIANT;
    else if constexpr (std::is_same_v<P, short*>)
        return code == kCodeByRefI2;
    else if constexpr (std::is_same_v<P, VARIANT>)
        return false; // a variant is taken by reference only
    else
        return holdsType<P>(code);
}

template <class R> consteval bool acceptsResult(VARTYPE vt) {
    if constexpr (std::is_void_v<R>)
        return vt == VT_EMPTY;
    else if constexpr (std::is_same_v<R, BSTR>)
        return vt == VT_BSTR;
    else
        return holdsType<R>(vt);
}

template <class R, class C, class... A> consteval bool paramsMatch(R (C::*)(A...), const char* params) {
    std::size_t i = 0;
    return (acceptsParam<A>(static_cast<unsigned char>(params[i++])) && ...);
}
template <class R, class C, class... A> consteval bool paramsMatch(R (C::*)(A...) const, const char* params) {
    std::size_t i = 0;
    return (acceptsParam<A>(static_cast<unsigned char>(params[i++])) && ...);
}

consteval std::size_t length(const char* s) {
    std::size_t n = 0;
    while (s[n] != 0)
        ++n;
    return n;
}

// The entry's parameter string, once it is known to fit the member.
template <auto Fn> consteval const char* checkedMethod(const char* params, VARTYPE vt) {
    using M = Member<decltype(Fn)>;
    if (length(params) != M::arity)
        detail::dispatch_map_parameter_count_does_not_match_the_member();
    if (!paramsMatch(Fn, params))
        detail::dispatch_map_parameter_type_does_not_match_the_member();
    if (!acceptsResult<typename M::Result>(vt))
        detail::dispatch_map_result_type_does_not_match_the_member();
    return params;
}

// The property's type, once getter and setter are known to fit it.
template <auto Get, auto Set> consteval VARTYPE checkedProperty(VARTYPE vt) {
    if constexpr (!std::is_same_v<decltype(Get), void (CCmdTarget::*)()>) {
        using G = Member<decltype(Get)>;
        if (G::arity != 0 || !acceptsResult<typename G::Result>(vt))
            detail::dispatch_map_property_type_does_not_match_the_member();
    }
    if constexpr (!std::is_same_v<decltype(Set), void (CCmdTarget::*)()>) {
        using S = Member<decltype(Set)>;
        const char code[2] = {static_cast<char>(vt), 0};
        if (S::arity != 1 || !std::is_void_v<typename S::Result> || !paramsMatch(Set, code))
            detail::dispatch_map_property_type_does_not_match_the_member();
    }
    return vt;
}

// One argument on its way to the member: the converted value, or the caller's variant for
// by-reference and VARIANT parameters.
struct Slot {
    pal::com::Variant value;
    VARIANT* ref = nullptr;
};

// Converts argument `index` (in call order) to the parameter string's `code`. Fails with
// DISP_E_PARAMNOTOPTIONAL for a missing argument the member needs, DISP_E_TYPEMISMATCH (or the
// conversion's own error) with *puArgErr set for one that does not convert.
HRESULT loadArgument(AFX_DISPCALL& call, UINT index, unsigned char code, Slot& slot);

inline unsigned char code(const char* codes, std::size_t i) {
    return static_cast<unsigned char>(codes[i]);
}

template <class P> P pass(Slot& s, unsigned char code) {
    if constexpr (std::is_same_v<P, short>)
        return s.value.iVal;
    else if constexpr (std::is_same_v<P, LONG>)
        return code == VT_BOOL ? (s.value.boolVal != VARIANT_FALSE ? TRUE : FALSE) : s.value.lVal;
    else if constexpr (std::is_same_v<P, float>)
        return s.value.fltVal;
    else if constexpr (std::is_same_v<P, double>)
        return s.value.dblVal;
    else if constexpr (std::is_same_v<P, LPCWSTR>)
        return s.value.bstrVal ? s.value.bstrVal : L"";
    else if constexpr (std::is_same_v<P, IDispatch*>)
        return s.value.pdispVal;
    else if constexpr (std::is_same_v<P, const VARIANT&>)
        return *s.ref;
    else
        return s.ref->piVal;
}

// Hands the member's result to the caller as `vt`, or frees it when no result is wanted.
template <class R> void store(R&& r, AFX_DISPCALL& call) {
    using V = std::decay_t<R>;
    VARIANT* out = call.pResult;
    if constexpr (std::is_same_v<V, BSTR>) {
        if (!out) {
            SysFreeString(r);
            return;
        }
        out->vt = VT_BSTR;
        out->bstrVal = r;
    } else if constexpr (std::is_same_v<V, IDispatch*>) {
        if (!out) {
            if (r)
                r->Release();
            return;
        }
        out->vt = VT_DISPATCH;
        out->pdispVal = r;
    } else if constexpr (std::is_same_v<V, VARIANT>) {
        if (!out) {
            VariantClear(&r);
            return;
        }
        *out = r;
    } else if (out) {
        out->vt = call.vt;
        if constexpr (std::is_same_v<V, short>)
            out->iVal = r;
        else if constexpr (std::is_same_v<V, LONG>) {
            if (call.vt == VT_BOOL)
                out->boolVal = r ? VARIANT_TRUE : VARIANT_FALSE;
            else
                out->lVal = r;
        } else if constexpr (std::is_same_v<V, float>)
            out->fltVal = r;
        else
            out->dblVal = r;
    }
}

template <class T, auto Fn, class R, class... A, std::size_t... I>
HRESULT callWith(T& self, AFX_DISPCALL& call, const char* codes, std::index_sequence<I...>) {
    Slot slots[sizeof...(A) > 0 ? sizeof...(A) : 1];
    HRESULT hr = S_OK;
    ((hr = SUCCEEDED(hr) ? loadArgument(call, static_cast<UINT>(I), code(codes, I), slots[I]) : hr), ...);
    if (FAILED(hr))
        return hr;
    if constexpr (std::is_void_v<R>)
        (self.*Fn)(pass<A>(slots[I], code(codes, I))...);
    else
        store((self.*Fn)(pass<A>(slots[I], code(codes, I))...), call);
    return S_OK;
}

template <class T, auto Fn, class R, class C, class... A>
HRESULT callMember(T& self, AFX_DISPCALL& call, const char* codes, R (C::*)(A...)) {
    return callWith<T, Fn, R, A...>(self, call, codes, std::index_sequence_for<A...>{});
}
template <class T, auto Fn, class R, class C, class... A>
HRESULT callMember(T& self, AFX_DISPCALL& call, const char* codes, R (C::*)(A...) const) {
    return callWith<T, Fn, R, A...>(self, call, codes, std::index_sequence_for<A...>{});
}

// Checks the shape of the call (named arguments, the argument count) for `expected`
// parameters; the count of too few is left to the arguments, which know what is optional.
HRESULT checkCall(const AFX_DISPCALL& call, UINT expected, bool propertyPut);

template <class T> T& self(CCmdTarget& target) {
    return static_cast<T&>(target);
}

template <class T, auto Fn> HRESULT method(CCmdTarget& target, AFX_DISPCALL& call) {
    if (HRESULT hr = checkCall(call, static_cast<UINT>(Member<decltype(Fn)>::arity), false); FAILED(hr))
        return hr;
    return callMember<T, Fn>(self<T>(target), call, call.lpszParams, Fn);
}

template <class T, auto Get> HRESULT propertyGet(CCmdTarget& target, AFX_DISPCALL& call) {
    if (HRESULT hr = checkCall(call, 0, false); FAILED(hr))
        return hr;
    return callMember<T, Get>(self<T>(target), call, nullptr, Get);
}

template <class T, auto Set> HRESULT propertyPut(CCmdTarget& target, AFX_DISPCALL& call) {
    if (HRESULT hr = checkCall(call, 1, true); FAILED(hr))
        return hr;
    const char codes[1] = {static_cast<char>(call.vt)};
    return callMember<T, Set>(self<T>(target), call, codes, Set);
}

// The thunk of one half of a property; none for GetNotSupported / SetNotSupported.
template <class T, auto Fn, bool Put> constexpr AFX_DISPTHUNK propertyThunk() {
    if constexpr (std::is_same_v<decltype(Fn), void (CCmdTarget::*)()>)
        return nullptr;
    else if constexpr (Put)
        return &propertyPut<T, Fn>;
    else
        return &propertyGet<T, Fn>;
}

} // namespace afx::disp

#define DECLARE_DISPATCH_MAP()                                                                               \
protected:                                                                                                   \
    static const AFX_DISPMAP* GetThisDispatchMap();                                                          \
    const AFX_DISPMAP* GetDispatchMap() const override;                                                      \
                                                                                                             \
private:

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                                              \
    const AFX_DISPMAP* theClass::GetDispatchMap() const {                                                    \
        return GetThisDispatchMap();                                                                         \
    }                                                                                                        \
    const AFX_DISPMAP* theClass::GetThisDispatchMap() {                                                      \
        using TheBaseClass = baseClass;                                                                      \
        static_assert(std::is_base_of_v<TheBaseClass, theClass>, #baseClass " is no base of " #theClass);    \
        static const AFX_DISPMAP_ENTRY dispatchEntries[] = {

#define END_DISPATCH_MAP()                                                                                   \
    { nullptr, nullptr, VT_EMPTY, nullptr, nullptr, false }                                                  \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &dispatchEntries[0]};         \
    return &dispatchMap;                                                                                     \
    }

// A method; the name is the one clients call it by.
#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)                              \
    {L"" szExternalName,                                                                                     \
     ::afx::disp::checkedMethod<&theClass::pfnMember>(vtsParams, vtRetVal),                                  \
     vtRetVal,                                                                                               \
     &::afx::disp::method<theClass, &theClass::pfnMember>,                                                   \
     nullptr,                                                                                                \
     false},

// A property read and written through member functions; SetNotSupported (or GetNotSupported)
// makes it read-only (write-only).
#define DISP_PROPERTY_EX(theClass, szExternalName, pfnGet, pfnSet, vtPropType)                               \
    {L"" szExternalName,                                                                                     \
     VTS_NONE,                                                                                               \
     ::afx::disp::checkedProperty<&theClass::pfnGet, &theClass::pfnSet>(vtPropType),                         \
     ::afx::disp::propertyThunk<theClass, &theClass::pfnGet, false>(),                                       \
     ::afx::disp::propertyThunk<theClass, &theClass::pfnSet, true>(),                                        \
     true},

DV_EXPORTS_END
