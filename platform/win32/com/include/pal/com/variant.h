// A VARIANT that clears itself: for containers and for values held across a call.
#pragma once

#include "pal/visibility.h"
#include "win/com.h"

#include <utility>

DV_EXPORTS_BEGIN

namespace pal::com {

class Variant : public VARIANT {
public:
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : VARIANT(other) { VariantInit(&other); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            VariantClear(this);
            static_cast<VARIANT&>(*this) = other;
            VariantInit(&other);
        }
        return *this;
    }
    // Gives up the contents to the caller, leaving this empty.
    VARIANT detach() {
        VARIANT v = *this;
        VariantInit(this);
        return v;
    }
};

} // namespace pal::com

DV_EXPORTS_END
