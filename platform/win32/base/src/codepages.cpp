#include "pal/text.h"
#include "win/base.h"

#include <cstring>
#include <cwchar>

namespace {

bool supported(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_UTF8;
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceBytes, LPWSTR destination,
                        int destinationChars) {
    if (!supported(codePage) || !source || sourceBytes == 0 || sourceBytes < -1 || destinationChars < 0 ||
        (destinationChars > 0 && !destination)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceBytes);
    const std::wstring wide = pal::text::fromUtf8(std::string_view(source, n));
    if (destinationChars == 0)
        return static_cast<int>(wide.size());
    if (wide.size() > static_cast<size_t>(destinationChars)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(destination, wide.data(), wide.size());
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceChars, LPSTR destination,
                        int destinationBytes, LPCSTR, LPBOOL usedDefaultChar) {
    if (!supported(codePage) || !source || sourceChars == 0 || sourceChars < -1 || destinationBytes < 0 ||
        (destinationBytes > 0 && !destination)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    const size_t n = sourceChars == -1 ? std::wcslen(source) + 1 : static_cast<size_t>(sourceChars);
    const std::string narrow = pal::text::toUtf8(std::wstring_view(source, n));
    if (destinationBytes == 0)
        return static_cast<int>(narrow.size());
    if (narrow.size() > static_cast<size_t>(destinationBytes)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(destination, narrow.data(), narrow.size());
    return static_cast<int>(narrow.size());
}
