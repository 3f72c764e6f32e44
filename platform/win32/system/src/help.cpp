// HtmlHelpW: journaled, and the help file handed to the person's own viewer.
#include "win/system/help.h"

#include "pal/journal.h"
#include "pal/path.h"
#include "pal/text.h"

#include <filesystem>
#include <string>

HWND HtmlHelpW(HWND, LPCWSTR file, UINT command, DWORD_PTR data) {
    const std::wstring text = file ? file : L"";
    pal::journal::record("HtmlHelp", {{"file", pal::text::toUtf8(text)},
                                      {"command", std::to_string(command)},
                                      {"data", std::to_string(static_cast<unsigned long long>(data))}});
    // The topic after "::" names a page inside the file, not a file of its own.
    const std::wstring container = text.substr(0, text.find(L"::"));
    std::error_code ec;
    const std::filesystem::path native = pal::path::toNative(container);
    if (container.empty() || !std::filesystem::is_regular_file(native, ec)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    SetLastError(0);
    if (!pal::effects::underTest())
        pal::effects::launchDetached({"xdg-open", native.string()});
    return nullptr;
}
