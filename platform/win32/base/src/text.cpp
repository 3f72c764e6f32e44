#include "pal/text.h"

#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace pal::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isScalar(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (!isScalar(c))
        c = kReplacement;
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at `i`; malformed or overlong input yields one replacement
// character and consumes only the bytes that belonged to the broken sequence.
char32_t decodeUtf8(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    size_t j = i + 1;
    for (int k = 1; k < len; ++k, ++j) {
        if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
            i = j;
            return kReplacement;
        }
        c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    i = j;
    return (c < min || !isScalar(c)) ? kReplacement : c;
}

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (!isScalar(c))
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Names, attributes and captions are mostly ASCII: those characters are copied straight, and
// only the rest goes through the coder. The whole text is converted wherever the library's
// settings, layouts and texts cross between the two forms, often enough to matter at start.
std::wstring fromUtf8(std::string_view utf8) {
    std::wstring out(utf8.size(), L'\0');
    size_t n = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out[n++] = static_cast<wchar_t>(b);
            ++i;
        } else {
            out[n++] = static_cast<wchar_t>(decodeUtf8(utf8, i));
        }
    }
    out.resize(n);
    return out;
}

std::string toUtf8(std::wstring_view wide) {
    size_t ascii = 0;
    while (ascii < wide.size() && static_cast<char32_t>(wide[ascii]) < 0x80)
        ++ascii;
    std::string out(ascii, '\0');
    for (size_t i = 0; i < ascii; ++i)
        out[i] = static_cast<char>(wide[i]);
    if (ascii < wide.size()) {
        out.reserve(ascii + (wide.size() - ascii) * 3);
        for (wchar_t c : wide.substr(ascii))
            appendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

std::wstring fromUtf16(std::u16string_view utf16) {
    std::wstring out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::u16string toUtf16(std::wstring_view wide) {
    std::u16string out;
    out.reserve(wide.size());
    for (wchar_t c : wide)
        appendUtf16(out, static_cast<char32_t>(c));
    return out;
}

std::wstring fromUtf16leBytes(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < units.size(); ++k)
        units[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                         (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    std::wstring out = fromUtf16(units);
    if (bytes.size() % 2)
        out += static_cast<wchar_t>(kReplacement); // a dangling half unit is not silently dropped
    return out;
}

std::string toUtf16leBytes(std::wstring_view wide) {
    const std::u16string units = toUtf16(wide);
    std::string out(units.size() * 2, '\0');
    for (size_t k = 0; k < units.size(); ++k) {
        out[2 * k] = static_cast<char>(units[k] & 0xFF);
        out[2 * k + 1] = static_cast<char>(units[k] >> 8);
    }
    return out;
}

namespace {
// Case follows Unicode whatever the process's locale is: in the "C" locale towupper leaves every
// letter outside ASCII alone, and Cyrillic names would then differ by case.
locale_t unicodeCase() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}
wchar_t foldCase(wchar_t c) {
    if (const locale_t l = unicodeCase())
        return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), l));
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}
wchar_t lowerCase(wchar_t c) {
    if (const locale_t l = unicodeCase())
        return static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), l));
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}
} // namespace

int compareNoCase(std::wstring_view a, std::wstring_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = foldCase(a[i]);
        const wchar_t y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

std::wstring toLower(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out)
        c = lowerCase(c);
    return out;
}

std::wstring toUpper(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out)
        c = foldCase(c);
    return out;
}

} // namespace pal::text
