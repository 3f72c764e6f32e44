#include "win/com.h"

namespace {

struct Apartment {
    int count = 0;
    DWORD model = 0;
};
thread_local Apartment tApartment;

} // namespace

HRESULT CoInitializeEx(LPVOID, DWORD coInit) {
    const DWORD model = coInit & COINIT_APARTMENTTHREADED;
    if (tApartment.count > 0 && tApartment.model != model)
        return RPC_E_CHANGED_MODE;
    tApartment.model = model;
    return tApartment.count++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize() {
    if (tApartment.count > 0)
        --tApartment.count;
}
