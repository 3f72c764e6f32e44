#include "DravikKernel/KernelHelpers.h"

#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "KernelState.h"

#include "pal/path.h"
#include "win/base.h"
#include "win/system.h"
#include "win/user.h"

#include <nettle/sha2.h>

#include <filesystem>
#include <fstream>
#include <mutex>

namespace Dravik {

std::wstring GetProcessFileName() {
    std::wstring buffer(1024, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring QuoteCommandLineArgument(std::wstring_view argument) {
    // Backslashes are literal unless they come before a quote; there, and before the closing
    // quote, each one is doubled.
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

FileSystemEntryType GetFileSystemEntryType(const wchar_t* path) {
    if (path == nullptr || *path == 0)
        return FileSystemEntryType::None;
    const std::filesystem::path native = pal::path::toNative(path);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(native, ec);
    if (native.empty() || ec || !std::filesystem::exists(status))
        return FileSystemEntryType::None;
    if (std::filesystem::is_regular_file(status))
        return FileSystemEntryType::File;
    return std::filesystem::is_directory(status) ? FileSystemEntryType::Directory
                                                 : FileSystemEntryType::Other;
}

bool FileHash(const wchar_t* path, std::vector<BYTE>& hash) {
    hash.clear();
    if (!path)
        return false;
    {
        std::lock_guard lock(dvkernel::state().mutex);
        if (dvkernel::state().failFileHash)
            return false;
    }
    std::ifstream in(pal::path::toNative(path), std::ios::binary);
    if (!in)
        return false;
    sha512_ctx context;
    sha512_init(&context);
    char block[65536];
    while (in) {
        in.read(block, sizeof block);
        if (in.gcount() > 0)
            sha512_update(&context, static_cast<size_t>(in.gcount()),
                          reinterpret_cast<const uint8_t*>(block));
    }
    if (in.bad())
        return false;
    hash.resize(SHA512_DIGEST_SIZE);
    sha512_digest(&context, SHA512_DIGEST_SIZE, hash.data());
    return true;
}

} // namespace Dravik

LRESULT DravikSafeSendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd))
        return 0;
    if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
        return SendMessageW(hwnd, message, wParam, lParam);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

BOOL DravikPostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(hwnd) && PostMessageW(hwnd, message, wParam, lParam);
}

std::wstring TemplateFolderToFullPath(const wchar_t* folder) {
    const std::wstring_view given = folder ? folder : L"";
    if (given.empty())
        return DVAppendProgramPath(L"Prototypes", 0, false);
    return DVAppendProgramPath(std::wstring(given).c_str(), 0, false);
}

namespace SHXFONT {
namespace {
std::mutex& fontPathMutex() {
    static std::mutex mutex;
    return mutex;
}
std::wstring& fontPath() {
    static std::wstring path;
    return path;
}
} // namespace

void set_font_path(const wchar_t* folder) {
    std::lock_guard lock(fontPathMutex());
    fontPath() = folder != nullptr ? folder : L"";
}

std::wstring FontPath() {
    std::lock_guard lock(fontPathMutex());
    return fontPath();
}
} // namespace SHXFONT

namespace {

std::wstring pathsKey() {
    return DravikProfileManager::GetApplicationKey() + L"\\" + DravikProfileManager::GetProfileSectionName() +
           L"\\Paths";
}

} // namespace

bool CPathManager::SavePath(const wchar_t* key, const wchar_t* path) {
    if (!key || !*key || !path)
        return false;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, pathsKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = path;
    const LSTATUS status =
        RegSetValueExW(handle, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

std::wstring CPathManager::GetPath(const wchar_t* key) {
    if (!key || !*key)
        return {};
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, pathsKey().c_str(), key, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return {};
    return buffer;
}

bool no_set_focus_color_dlg = false;

std::wstring DVGetColorsCurrentSectionName() {
    const std::wstring profile = DravikProfileManager::GetCurrentProfileName();
    return DravikProfileManager::GetProfileSectionName(profile.empty() ? nullptr : profile.c_str()) +
           L"\\Colors";
}
