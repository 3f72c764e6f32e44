// The per-user settings store the editors share: string values by application, section and key,
// kept in the registry under the current user.
#pragma once

#include <string>

namespace stamps {

std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                        const std::wstring& fallback);
void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);

// Where the store lives under HKEY_CURRENT_USER.
inline constexpr wchar_t kSettingsRoot[] = L"Software\\Dravik\\Program Settings";

} // namespace stamps
