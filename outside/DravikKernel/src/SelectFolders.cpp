#include "DravikKernel/SelectFolders.h"

#include "pal/path.h"
#include "pal/responder.h"
#include "pal/text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::wstring withSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder.push_back(L'\\');
    return folder;
}

std::vector<std::wstring> split(const std::wstring& text) {
    std::vector<std::wstring> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t bar = text.find(L'|', start);
        const std::wstring part =
            text.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        if (!part.empty())
            out.push_back(part);
        if (bar == std::wstring::npos)
            break;
        start = bar + 1;
    }
    return out;
}

} // namespace

std::vector<std::wstring> SelectFolders(HWND owner, const wchar_t* initialFolder, const wchar_t* title,
                                        bool mustExist, bool multiple) {
    (void)owner;
    pal::responder::Prompt prompt;
    prompt.kind = "FolderDialog";
    prompt.caption = title ? title : L"";
    prompt.text = initialFolder ? initialFolder : L"";
    prompt.defaultAnswer = 2;
    const std::optional<pal::responder::Answer> answer = pal::responder::take();
    if (!answer) {
        pal::responder::unanswered(prompt, "cancel");
        return {};
    }
    std::vector<std::wstring> folders;
    if (answer->number) {
        if (*answer->number == 1 && initialFolder && *initialFolder)
            folders.push_back(initialFolder);
        else if (*answer->number != 2) {
            pal::responder::refused(prompt, *answer, "no such button");
            return {};
        }
    } else {
        folders = split(answer->text);
    }
    if (folders.size() > 1 && !multiple) {
        pal::responder::refused(prompt, *answer, "one folder is chosen here");
        return {};
    }
    for (std::wstring& f : folders) {
        std::error_code ec;
        if (mustExist && !fs::is_directory(pal::path::toNative(f), ec)) {
            pal::responder::refused(prompt, *answer, "no such folder: " + pal::text::toUtf8(f));
            return {};
        }
        f = withSeparator(f);
    }
    pal::responder::answered(prompt, answer->describe(), "responder");
    return folders;
}
