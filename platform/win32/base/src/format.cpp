#include "pal/format.h"

#include "pal/text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>

namespace pal {
namespace {

enum class Size { Default, Short, Char, Long32, Long64, Ptr, LongDouble, Wide, Narrow };

struct Field {
    std::string flags;
    int width = -1;
    int precision = -1;
    Size size = Size::Default;
    char conversion = 0;
};

// Output sink shared by both widths: everything is built as wide text, then narrowed for
// narrow formats (via UTF-8, so non-ASCII strings survive).
struct Out {
    std::wstring text;
    void pad(size_t n, wchar_t c = L' ') { text.append(n, c); }
};

void emitPadded(Out& out, std::wstring_view body, const Field& field) {
    const bool left = field.flags.find('-') != std::string::npos;
    const size_t width = field.width > 0 ? static_cast<size_t>(field.width) : 0;
    if (!left && body.size() < width)
        out.pad(width - body.size());
    out.text += body;
    if (left && body.size() < width)
        out.pad(width - body.size());
}

// Numbers go through the C library with the length modifier mapped to the Linux type that
// carries the same bits, so field rules (flags, width, precision) are the standard ones.
template <class T> void emitNumber(Out& out, const Field& field, T value, const char* lengthModifier) {
    std::string f = "%" + field.flags;
    if (field.width >= 0)
        f += std::to_string(field.width);
    if (field.precision >= 0)
        f += "." + std::to_string(field.precision);
    f += lengthModifier;
    f += field.conversion;
    char small[128];
    const int n = std::snprintf(small, sizeof small, f.c_str(), value);
    if (n < 0)
        return;
    if (static_cast<size_t>(n) < sizeof small) {
        out.text += text::fromUtf8(std::string_view(small, static_cast<size_t>(n)));
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), f.c_str(), value);
    big.resize(static_cast<size_t>(n));
    out.text += text::fromUtf8(big);
}

// Width and precision beyond this are not a real request.
constexpr long long kMaxField = 100000;

template <class Char> bool parseField(const Char*& p, Field& field, va_list& args, bool wideFormat) {
    while (*p && std::strchr("-+ #0", static_cast<char>(*p)) && *p < 0x80) {
        field.flags += static_cast<char>(*p);
        ++p;
    }
    if (*p == '*') {
        // A negative width means left-justified. Widths come clamped to the literal limit, so
        // INT_MIN is never negated and no argument asks for gigabytes of padding.
        const long long width = va_arg(args, int);
        if (width < 0)
            field.flags += '-';
        field.width = static_cast<int>(std::min(width < 0 ? -width : width, kMaxField));
        ++p;
    } else {
        while (*p >= '0' && *p <= '9') {
            field.width = (field.width < 0 ? 0 : field.width) * 10 + (*p - '0');
            if (field.width > kMaxField)
                return false;
            ++p;
        }
    }
    if (*p == '.') {
        ++p;
        field.precision = 0;
        if (*p == '*') {
            field.precision = va_arg(args, int);
            if (field.precision < 0)
                field.precision = -1;
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') {
                field.precision = field.precision * 10 + (*p - '0');
                if (field.precision > kMaxField)
                    return false;
                ++p;
            }
        }
    }
    // Length modifiers, Microsoft's set.
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        field.size = Size::Long64, p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
        field.size = Size::Default, p += 3;
    } else if (p[0] == 'I') {
        field.size = Size::Ptr, p += 1;
    } else if (p[0] == 'l' && p[1] == 'l') {
        field.size = Size::Long64, p += 2;
    } else if (p[0] == 'h' && p[1] == 'h') {
        field.size = Size::Char, p += 2;
    } else if (p[0] == 'l') {
        field.size = Size::Long32, p += 1;
    } else if (p[0] == 'h') {
        field.size = Size::Short, p += 1;
    } else if (p[0] == 'w') {
        field.size = Size::Wide, p += 1;
    } else if (p[0] == 'z' || p[0] == 't') {
        field.size = Size::Ptr, p += 1;
    } else if (p[0] == 'j') {
        field.size = Size::Long64, p += 1;
    } else if (p[0] == 'L') {
        field.size = Size::LongDouble, p += 1;
    }
    if (!*p || *p >= 0x80)
        return false;
    field.conversion = static_cast<char>(*p);
    ++p;
    (void)wideFormat;
    return true;
}

// True when a %s/%c with this size takes a wide argument.
bool takesWide(const Field& field, bool wideFormat) {
    const bool upper = field.conversion == 'S' || field.conversion == 'C';
    switch (field.size) {
    case Size::Long32:
    case Size::Wide:
        return true;
    case Size::Short:
        return false;
    default:
        return upper ? !wideFormat : wideFormat;
    }
}

void emitString(Out& out, const Field& field, va_list& args, bool wideFormat) {
    std::wstring body;
    if (takesWide(field, wideFormat)) {
        const wchar_t* s = va_arg(args, const wchar_t*);
        if (!s)
            s = L"(null)";
        const size_t len =
            field.precision >= 0 ? wcsnlen(s, static_cast<size_t>(field.precision)) : wcslen(s);
        body.assign(s, len);
    } else {
        const char* s = va_arg(args, const char*);
        if (!s)
            s = "(null)";
        const size_t len =
            field.precision >= 0 ? strnlen(s, static_cast<size_t>(field.precision)) : strlen(s);
        body = text::fromUtf8(std::string_view(s, len));
    }
    emitPadded(out, body, field);
}

void emitChar(Out& out, const Field& field, va_list& args, bool wideFormat) {
    const int value = va_arg(args, int);
    wchar_t c = takesWide(field, wideFormat) ? static_cast<wchar_t>(value)
                                             : static_cast<wchar_t>(static_cast<unsigned char>(value));
    emitPadded(out, std::wstring_view(&c, 1), field);
}

void emitInteger(Out& out, Field& field, va_list& args) {
    const bool isSigned = field.conversion == 'd' || field.conversion == 'i';
    switch (field.size) {
    case Size::Long64:
        if (isSigned)
            emitNumber(out, field, va_arg(args, long long), "ll");
        else
            emitNumber(out, field, va_arg(args, unsigned long long), "ll");
        return;
    case Size::Ptr:
        if (isSigned)
            emitNumber(out, field, static_cast<long long>(va_arg(args, std::intptr_t)), "ll");
        else
            emitNumber(out, field, static_cast<unsigned long long>(va_arg(args, std::uintptr_t)), "ll");
        return;
    case Size::Short:
        emitNumber(out, field, va_arg(args, int), "h");
        return;
    case Size::Char:
        emitNumber(out, field, va_arg(args, int), "hh");
        return;
    default: // plain, l (32-bit on the platform), w
        if (isSigned)
            emitNumber(out, field, va_arg(args, int), "");
        else
            emitNumber(out, field, va_arg(args, unsigned int), "");
        return;
    }
}

template <class Char> std::wstring formatAny(const Char* format, va_list args, bool wideFormat) {
    Out out;
    if (!format)
        return out.text;
    va_list ap;
    va_copy(ap, args);
    const Char* p = format;
    while (*p) {
        if (*p != '%') {
            if constexpr (sizeof(Char) == 1) {
                const Char* start = p;
                while (*p && *p != '%')
                    ++p;
                out.text += text::fromUtf8(std::string_view(start, static_cast<size_t>(p - start)));
            } else {
                out.text += static_cast<wchar_t>(*p++);
            }
            continue;
        }
        const Char* fieldStart = p++;
        if (*p == '%') {
            out.text += L'%';
            ++p;
            continue;
        }
        Field field;
        if (!parseField(p, field, ap, wideFormat)) {
            // Malformed: copy what was read as it stands.
            for (const Char* q = fieldStart; q < p; ++q)
                out.text += static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(*q));
            continue;
        }
        switch (field.conversion) {
        case 's':
        case 'S':
        case 'Z':
            emitString(out, field, ap, wideFormat);
            break;
        case 'c':
        case 'C':
            emitChar(out, field, ap, wideFormat);
            break;
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            emitInteger(out, field, ap);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            if (field.size == Size::LongDouble)
                emitNumber(out, field, va_arg(ap, long double), "L");
            else
                emitNumber(out, field, va_arg(ap, double), "");
            break;
        case 'p': {
            // The platform prints pointers as fixed-width upper-case hex.
            Field hex = field;
            hex.conversion = 'X';
            hex.flags += '0';
            hex.width = static_cast<int>(sizeof(void*) * 2);
            emitNumber(out, hex, reinterpret_cast<unsigned long long>(va_arg(ap, void*)), "ll");
            break;
        }
        case 'n':
            // Writing through an argument is refused; consume it so later arguments line up.
            (void)va_arg(ap, void*);
            break;
        default:
            for (const Char* q = fieldStart; q < p; ++q)
                out.text += static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(*q));
            break;
        }
    }
    va_end(ap);
    return out.text;
}

} // namespace

std::wstring vformat(const wchar_t* format, va_list args) {
    return formatAny(format, args, true);
}

std::string vformat(const char* format, va_list args) {
    return text::toUtf8(formatAny(format, args, false));
}

std::wstring format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::wstring s = vformat(fmt, args);
    va_end(args);
    return s;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vformat(fmt, args);
    va_end(args);
    return s;
}

} // namespace pal
