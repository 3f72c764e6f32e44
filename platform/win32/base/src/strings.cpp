#include "win/base.h"

#include "pal/text.h"

#include <cwchar>
#include <string_view>

namespace {

std::wstring_view viewOf(LPCWSTR s, int count) {
    return count < 0 ? std::wstring_view(s) : std::wstring_view(s, static_cast<size_t>(count));
}

int sign(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

} // namespace

int lstrcmpiW(LPCWSTR a, LPCWSTR b) {
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : a == nullptr ? -1 : 1;
    return sign(pal::text::compareNoCase(a, b));
}

int lstrcmpW(LPCWSTR a, LPCWSTR b) {
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : a == nullptr ? -1 : 1;
    return sign(std::wstring_view(a).compare(b));
}

int CompareStringOrdinal(LPCWSTR a, int countA, LPCWSTR b, int countB, BOOL ignoreCase) {
    if ((a == nullptr && countA != 0) || (b == nullptr && countB != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring_view x = a ? viewOf(a, countA) : std::wstring_view();
    const std::wstring_view y = b ? viewOf(b, countB) : std::wstring_view();
    const int order = ignoreCase ? pal::text::compareNoCase(x, y) : x.compare(y);
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}
