#include "Settings.h"

#include "win/system.h"

#include <vector>

namespace stamps {
namespace {

std::wstring sectionKey(const std::wstring& app, const std::wstring& section) {
    return std::wstring(kSettingsRoot) + L"\\" + app + L"\\" + section;
}

} // namespace

std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                        const std::wstring& fallback) {
    DWORD size = 0;
    const std::wstring path = sectionKey(app, section);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return fallback;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(),
                     &size) != ERROR_SUCCESS)
        return fallback;
    return buffer.data();
}

void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey(app, section).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

} // namespace stamps
