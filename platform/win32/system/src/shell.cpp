// ShellExecuteW and ShellExecuteExW: journaled, and carried out with xdg-open or as a program.
#include "win/system/shell.h"
#include "win/system/process.h"

#include "pal/binaries.h"
#include "pal/cmdline.h"
#include "pal/journal.h"
#include "pal/path.h"
#include "pal/text.h"

#include <string>

namespace fs = std::filesystem;

namespace {

constexpr INT_PTR kSuccess = 42; // any value above 32

struct Launch {
    INT_PTR result = kSuccess;
    HANDLE process = nullptr;
};

std::string utf8(LPCWSTR s) {
    return s ? pal::text::toUtf8(s) : std::string();
}

bool endsWithExe(std::wstring_view s) {
    return s.size() > 4 && pal::text::equalsNoCase(s.substr(s.size() - 4), L".exe");
}

bool isOpenVerb(LPCWSTR verb) {
    return !verb || !*verb || pal::text::equalsNoCase(verb, L"open") ||
           pal::text::equalsNoCase(verb, L"explore") || pal::text::equalsNoCase(verb, L"edit");
}

Launch failWith(INT_PTR result, DWORD error) {
    SetLastError(error);
    return Launch{result, nullptr};
}

// The opener as a process of its own, so that a caller who asked for the process can wait for it
// and learn from its exit code whether the page was opened.
Launch openerProcess(LPCWSTR url) {
    std::wstring line = pal::cmdline::join({L"xdg-open", url});
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return failWith(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    CloseHandle(pi.hThread);
    return Launch{kSuccess, pi.hProcess};
}

Launch execute(LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show,
               bool wantProcess) {
    pal::journal::record("ShellExecute", {{"verb", utf8(verb)},
                                          {"file", utf8(file)},
                                          {"parameters", utf8(parameters)},
                                          {"directory", utf8(directory)},
                                          {"show", std::to_string(show)}});
    if (!file || !*file)
        return failWith(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    const bool testing = pal::effects::underTest();
    if (PathIsURLW(file)) {
        if (testing)
            return {};
        if (wantProcess)
            return openerProcess(file);
        if (!pal::effects::launchDetached({"xdg-open", utf8(file)}))
            return failWith(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
        return {};
    }

    // A relative name is taken in the given folder, as the shell does.
    std::wstring target(file);
    if (PathIsRelativeW(file) && directory && *directory) {
        wchar_t combined[MAX_PATH];
        if (PathCombineW(combined, directory, file))
            target = combined;
    }
    if (endsWithExe(target)) {
        fs::path program = pal::binaries::find(target, {pal::folders::programDir(), pal::folders::system()});
        if (program.empty())
            return failWith(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
        if (testing)
            return {};
        std::wstring line = pal::cmdline::join({pal::text::fromUtf8(program.string())});
        if (parameters && *parameters)
            line += L" " + std::wstring(parameters);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &si, &pi))
            return failWith(GetLastError() == ERROR_FILE_NOT_FOUND ? SE_ERR_FNF : SE_ERR_ACCESSDENIED,
                            GetLastError());
        CloseHandle(pi.hThread);
        if (!wantProcess) {
            CloseHandle(pi.hProcess);
            pi.hProcess = nullptr;
        }
        return Launch{kSuccess, pi.hProcess};
    }

    const fs::path native = pal::path::toNative(target);
    std::error_code ec;
    if (!fs::exists(native, ec))
        return failWith(fs::exists(native.parent_path(), ec) ? SE_ERR_FNF : SE_ERR_PNF,
                        fs::exists(native.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    if (!isOpenVerb(verb)) {
        // Printing and other verbs have no counterpart here; the journal keeps the request.
        return testing ? Launch{} : failWith(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    }
    if (!testing && !pal::effects::launchDetached({"xdg-open", native.string()}))
        return failWith(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    return {};
}

} // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show) {
    const Launch l = execute(verb, file, parameters, directory, show, false);
    return reinterpret_cast<HINSTANCE>(l.result);
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Launch l = execute(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory, info->nShow,
                             info->fMask & SEE_MASK_NOCLOSEPROCESS);
    info->hInstApp = reinterpret_cast<HINSTANCE>(l.result);
    info->hProcess = l.process;
    return l.result > 32 ? TRUE : FALSE;
}

struct ITEMIDLIST {
    std::wstring path;
};

HRESULT SHParseDisplayName(LPCWSTR name, void*, PIDLIST_ABSOLUTE* item, ULONG, ULONG* attributesOut) {
    if (item == nullptr)
        return E_INVALIDARG;
    *item = nullptr;
    if (attributesOut != nullptr)
        *attributesOut = 0;
    std::error_code ec;
    if (name == nullptr || *name == 0 || !fs::exists(pal::path::toNative(name), ec))
        return E_INVALIDARG;
    *item = new ITEMIDLIST{name};
    return S_OK;
}

void ILFree(PIDLIST_ABSOLUTE item) {
    delete item;
}

HRESULT SHOpenFolderAndSelectItems(PCIDLIST_ABSOLUTE folder, UINT, PCUITEMID_CHILD_ARRAY, DWORD) {
    if (folder == nullptr)
        return E_INVALIDARG;
    pal::journal::record("OpenFolderAndSelectItems", {{"path", utf8(folder->path.c_str())}});
    std::error_code ec;
    const fs::path native = pal::path::toNative(folder->path);
    const fs::path shown = fs::is_directory(native, ec) ? native : native.parent_path();
    if (!pal::effects::underTest() && !pal::effects::launchDetached({"xdg-open", shown.string()}))
        return E_FAIL;
    return S_OK;
}
