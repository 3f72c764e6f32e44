// A string is one heap block: a 32-bit byte count, the characters and a terminator. The
// caller holds a pointer to the characters, so a string is also a plain wide C string.
#include "win/com.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

namespace {

constexpr size_t kPrefix = sizeof(std::uint32_t);
static_assert(kPrefix % alignof(OLECHAR) == 0);

std::uint32_t* prefixOf(BSTR text) {
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kPrefix);
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    // The byte count must fit its 32-bit prefix.
    if (length > (std::numeric_limits<std::uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1)
        return nullptr;
    const size_t bytes = static_cast<size_t>(length) * sizeof(OLECHAR);
    char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &stored, kPrefix);
    BSTR chars = reinterpret_cast<BSTR>(block + kPrefix);
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(LPCOLESTR text) {
    if (!text)
        return nullptr;
    const size_t length = std::wcslen(text);
    if (length > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(prefixOf(text));
}

UINT SysStringByteLen(BSTR text) {
    return text ? *prefixOf(text) : 0;
}

UINT SysStringLen(BSTR text) {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}
