#include "xtp/PaintManager.h"

#include <cmath>

int CXTPDpi::GetDPIX() {
    const UINT dpi = ::GetDpiForSystem();
    return dpi == 0 ? 96 : static_cast<int>(dpi);
}

int CXTPDpi::GetDPIY() {
    return GetDPIX();
}

int CXTPDpi::ScaleX(int x) {
    return (x * GetDPIX() + 48) / 96;
}
int CXTPDpi::ScaleY(int y) {
    return (y * GetDPIY() + 48) / 96;
}

int CXTPDpi::ScaleIcon(int nSize) {
    // Icons come in steps of a quarter of their size: blurred in-between sizes look worse than
    // a slightly smaller sharp one.
    if (IsDefaultIconDpi())
        return nSize;
    const int quarters = static_cast<int>(std::floor(GetDPIX() * 4.0 / 96.0));
    return nSize * quarters / 4;
}

BOOL CXTPDpi::IsDefaultIconDpi() {
    return GetDPIX() < 120;
}

CXTPDpi* XTPDpiHelper() {
    static CXTPDpi helper;
    return &helper;
}
