#include "DravikKernel/HiddenErrors.h"

#include "win/system/registry.h"

#include <vector>

bool errorHiddenData::ReadProfile(HKEY key) {
    if (key == nullptr)
        return false;
    std::set<std::wstring> hidden;
    for (DWORD index = 0;; ++index) {
        wchar_t name[1024];
        DWORD length = 1024;
        const LSTATUS status = RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return false;
        hidden.insert(std::wstring(name, length));
    }
    m_hidden = std::move(hidden);
    return true;
}

bool errorHiddenData::WriteProfile(HKEY key) const {
    if (key == nullptr)
        return false;
    // Messages shown again leave the key.
    std::vector<std::wstring> stale;
    for (DWORD index = 0;; ++index) {
        wchar_t name[1024];
        DWORD length = 1024;
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (m_hidden.count(std::wstring(name, length)) == 0)
            stale.emplace_back(name, length);
    }
    for (const std::wstring& name : stale)
        RegDeleteValueW(key, name.c_str());
    bool written = true;
    for (const std::wstring& message : m_hidden) {
        const DWORD one = 1;
        written &= RegSetValueExW(key, message.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                                  sizeof one) == ERROR_SUCCESS;
    }
    return written;
}

errorHiddenData& GetHiddenErrorCont() {
    static errorHiddenData store;
    return store;
}
