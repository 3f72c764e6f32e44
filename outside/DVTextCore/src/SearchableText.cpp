#include "DVTextCore/SearchableText.h"

#include "pal/text.h"

namespace Dravik {

std::wstring GetSearchableEquivalent(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\u00AD': // soft hyphen: invisible, never typed
            continue;
        case L'\u00A0':
        case L'\u202F':
            out += L' ';
            continue;
        case L'\u0401': // Ё
        case L'\u0451': // ё
            out += L'\u0435';
            continue;
        default:
            out += c;
        }
    }
    // The platform's folding, not the C library's: it does not hang on the process's locale.
    return pal::text::toLower(out);
}

} // namespace Dravik
