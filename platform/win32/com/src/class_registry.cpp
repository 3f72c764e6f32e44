#include "class_registry.h"

#include "win/system.h"

#include <vector>

namespace pal::com::detail {

std::optional<std::wstring> classesRootDefault(const std::wstring& subkey) {
    // Sized by a first query; a value that grows in between is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = 0;
        LSTATUS st =
            RegGetValueW(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (st != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        st = RegGetValueW(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer.data(),
                          &size);
        if (st == ERROR_MORE_DATA)
            continue;
        if (st != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer.data());
    }
    return std::nullopt;
}

} // namespace pal::com::detail
