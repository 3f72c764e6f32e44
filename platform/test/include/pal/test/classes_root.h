// The default values of keys under HKEY_CLASSES_ROOT, as a server's registration leaves them and
// as tests point a class at a program of their own.
#pragma once

#include "win/system.h"

#include <gtest/gtest.h>

#include <string>

namespace pal::test {

inline void setClassesDefault(const std::wstring& subkey, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// "<missing>" where the key or its default value is not there.
inline std::wstring classesDefault(const std::wstring& subkey) {
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

} // namespace pal::test
