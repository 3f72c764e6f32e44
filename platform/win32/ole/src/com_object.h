// Reference counting and interface answers shared by the objects of this part.
#pragma once

#include "win/com.h"

#include <atomic>
#include <initializer_list>

namespace pal::ole {

// Counts references of an object that implements `Interface` (and IUnknown through it); the
// object deletes itself with its last reference. `extra` lists further interface ids that the
// object answers with the same pointer (bases of `Interface`).
template <class Interface> class ComObject : public Interface {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !answers(iid))
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;
    virtual bool answers(REFIID iid) const = 0;

private:
    std::atomic<ULONG> refs_{1};
};

// A reference held for a scope.
template <class T> class Ref {
public:
    Ref() = default;
    explicit Ref(T* p, bool addRef = false) : p_(p) {
        if (p_ && addRef)
            p_->AddRef();
    }
    ~Ref() { reset(); }
    Ref(const Ref& o) : Ref(o.p_, true) {}
    Ref& operator=(Ref o) {
        std::swap(p_, o.p_);
        return *this;
    }
    void reset(T* p = nullptr) {
        if (p_)
            p_->Release();
        p_ = p;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** out() {
        reset();
        return &p_;
    }
    T* detach() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_ = nullptr;
};

} // namespace pal::ole
