#include "DravikUI/XMLNumbers.h"

#include <limits>

namespace DravikXML {

std::optional<int> TryStringToInt(std::wstring_view text, int radix) {
    if (radix < 2 || radix > 36)
        return std::nullopt;
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    for (wchar_t c : text) {
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'a' && c <= L'z')
            digit = c - L'a' + 10;
        else if (c >= L'A' && c <= L'Z')
            digit = c - L'A' + 10;
        else
            return std::nullopt;
        if (digit >= radix)
            return std::nullopt;
        value = value * radix + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

int StringToInt(std::wstring_view text, int fallback, int radix) {
    return TryStringToInt(text, radix).value_or(fallback);
}

} // namespace DravikXML
