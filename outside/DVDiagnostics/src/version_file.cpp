#include "DVDiagnostics/VersionNumber.h"

#include "win/system/module.h"

#include <vector>

namespace Dravik {

VersionNumber VersionNumber::fromFile(const wchar_t* fileName) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(fileName, &handle);
    if (size == 0)
        return {};
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(fileName, handle, size, block.data()))
        return {};
    void* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &data, &length) || !data || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    if (fixed->dwSignature != VS_FFI_SIGNATURE)
        return {};
    return VersionNumber(static_cast<std::uint16_t>(fixed->dwFileVersionMS >> 16),
                         static_cast<std::uint16_t>(fixed->dwFileVersionMS & 0xFFFF),
                         static_cast<std::uint16_t>(fixed->dwFileVersionLS >> 16),
                         static_cast<std::uint16_t>(fixed->dwFileVersionLS & 0xFFFF));
}

} // namespace Dravik
