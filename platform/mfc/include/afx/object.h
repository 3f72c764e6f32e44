// The root of the class library: run-time class information, dynamic creation and checked
// downcasts.
#pragma once

#include "afx/check.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <type_traits>

DV_EXPORTS_BEGIN

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)(); // null when the class is not dynamically creatable
    CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new object of the class, or null when the class cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
};

class CObject {
public:
    virtual ~CObject() = default;

    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass* GetThisClass();                                                                    \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                                       \
    CRuntimeClass* class_name::GetThisClass() {                                                              \
        static_assert(std::is_base_of_v<base_class_name, class_name>,                                        \
                      #base_class_name " is no base of " #class_name);                                       \
        static CRuntimeClass runtimeClass{#class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, pfnNew, \
                                          &base_class_name::GetThisClass};                                   \
        return &runtimeClass;                                                                                \
    }                                                                                                        \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                     \
        return class_name::GetThisClass();                                                                   \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    DV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    DV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)

namespace afx {

// Null when the object is null or not of the class; the cast goes through CObject, whose
// position in the object is known, so no unrelated pointer is ever reinterpreted.
template <class T, class U> T* dynamicDowncast(U* object) {
    static_assert(std::is_base_of_v<CObject, T>, "DYNAMIC_DOWNCAST needs a class derived from CObject");
    if (object == nullptr || !object->IsKindOf(T::GetThisClass()))
        return nullptr;
    return static_cast<T*>(static_cast<CObject*>(object));
}
template <class T, class U> const T* dynamicDowncast(const U* object) {
    return dynamicDowncast<T>(const_cast<U*>(object));
}

// A downcast the caller knows to be right; a wrong one stops a debug build and yields null
// in a release build rather than a pointer to the wrong type.
template <class T, class U> T* staticDowncast(U* object) {
    T* result = dynamicDowncast<T>(object);
    ASSERT(object == nullptr || result != nullptr);
    return result;
}

} // namespace afx

#define DYNAMIC_DOWNCAST(class_name, object) (::afx::dynamicDowncast<class_name>(object))
#define STATIC_DOWNCAST(class_name, object) (::afx::staticDowncast<class_name>(object))

DV_EXPORTS_END
