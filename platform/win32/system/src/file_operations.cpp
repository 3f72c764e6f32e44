// SHFileOperationW: copy, move, rename and delete of files and folders, deleted items kept in
// the sandbox's trash when undo is asked for.
#include "win/system/shell.h"

#include "pal/journal.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/error.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::wstring> splitList(LPCWSTR list) {
    std::vector<std::wstring> out;
    if (list == nullptr)
        return out;
    for (LPCWSTR p = list; *p != 0;) {
        std::wstring item(p);
        p += item.size() + 1;
        out.push_back(std::move(item));
    }
    return out;
}

DWORD errorOf(const std::error_code& ec) {
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        return ERROR_ACCESS_DENIED;
    if (ec == std::errc::no_such_file_or_directory)
        return ERROR_FILE_NOT_FOUND;
    if (ec == std::errc::file_exists || ec == std::errc::directory_not_empty)
        return ERROR_ALREADY_EXISTS;
    return ERROR_ACCESS_DENIED;
}

// A target in the trash that no earlier deletion took.
fs::path trashPlace(const fs::path& item) {
    const fs::path trash = pal::sandbox::root() / "Trash";
    std::error_code ec;
    fs::create_directories(trash, ec);
    fs::path place = trash / item.filename();
    for (int n = 2; fs::exists(fs::symlink_status(place, ec)); ++n)
        place = trash / (item.stem().string() + " (" + std::to_string(n) + ")" + item.extension().string());
    return place;
}

// Moves within one file system by renaming, across file systems by copying and removing.
DWORD moveItem(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return 0;
    if (ec != std::errc::cross_device_link)
        return errorOf(ec);
    fs::copy(from, to, fs::copy_options::recursive, ec);
    if (ec)
        return errorOf(ec);
    fs::remove_all(from, ec);
    return ec ? errorOf(ec) : 0;
}

DWORD doItem(UINT operation, const fs::path& from, const fs::path& to, FILEOP_FLAGS flags) {
    std::error_code ec;
    const fs::file_status source = fs::symlink_status(from, ec);
    if (!fs::exists(source))
        return ERROR_FILE_NOT_FOUND;
    if (operation == FO_DELETE) {
        if (flags & FOF_ALLOWUNDO)
            return moveItem(from, trashPlace(from));
        fs::remove_all(from, ec);
        return ec ? errorOf(ec) : 0;
    }
    if (!fs::exists(to.parent_path(), ec))
        return ERROR_PATH_NOT_FOUND;
    if (fs::equivalent(from, to, ec))
        return operation == FO_RENAME ? 0 : ERROR_ALREADY_EXISTS;
    if (fs::exists(fs::symlink_status(to, ec))) {
        const bool replace = operation != FO_RENAME && (flags & FOF_NOCONFIRMATION) &&
                             !fs::is_directory(to, ec) && !fs::is_directory(source);
        if (!replace)
            return ERROR_ALREADY_EXISTS;
    }
    if (operation == FO_COPY) {
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        return ec ? errorOf(ec) : 0;
    }
    return moveItem(from, to);
}

} // namespace

int SHFileOperationW(LPSHFILEOPSTRUCTW op) {
    if (op == nullptr)
        return static_cast<int>(ERROR_INVALID_PARAMETER);
    op->fAnyOperationsAborted = FALSE;
    const std::vector<std::wstring> sources = splitList(op->pFrom);
    const std::vector<std::wstring> targets = splitList(op->pTo);
    std::string fromText, toText;
    for (const auto& s : sources)
        fromText += (fromText.empty() ? "" : "|") + pal::text::toUtf8(s);
    for (const auto& t : targets)
        toText += (toText.empty() ? "" : "|") + pal::text::toUtf8(t);
    pal::journal::record("SHFileOperation",
                         {{"operation", std::to_string(op->wFunc)}, {"from", fromText}, {"to", toText}});
    const UINT operation = op->wFunc;
    if (sources.empty() || operation < FO_MOVE || operation > FO_RENAME)
        return static_cast<int>(ERROR_INVALID_PARAMETER);
    const bool toEach =
        operation == FO_RENAME || ((op->fFlags & FOF_MULTIDESTFILES) && targets.size() == sources.size());
    if (operation != FO_DELETE &&
        (targets.empty() || (operation == FO_RENAME && (sources.size() != 1 || targets.size() != 1))))
        return static_cast<int>(ERROR_INVALID_PARAMETER);
    for (size_t i = 0; i < sources.size(); ++i) {
        std::uint32_t error = 0;
        const fs::path from = pal::path::toNative(sources[i], error);
        if (from.empty()) {
            op->fAnyOperationsAborted = TRUE;
            return static_cast<int>(error ? error : ERROR_INVALID_NAME);
        }
        fs::path to;
        if (operation != FO_DELETE) {
            const std::wstring& target = toEach ? targets[i] : targets.front();
            to = pal::path::toNative(target, error);
            if (to.empty()) {
                op->fAnyOperationsAborted = TRUE;
                return static_cast<int>(error ? error : ERROR_INVALID_NAME);
            }
            if (!toEach)
                to /= from.filename();
            // A rename stays in the source's folder: a target in another folder is a move.
            if (operation == FO_RENAME && to.parent_path() != from.parent_path()) {
                op->fAnyOperationsAborted = TRUE;
                return static_cast<int>(ERROR_INVALID_NAME);
            }
        }
        if (const DWORD result = doItem(operation, from, to, op->fFlags); result != 0) {
            op->fAnyOperationsAborted = TRUE;
            return static_cast<int>(result);
        }
    }
    return 0;
}
