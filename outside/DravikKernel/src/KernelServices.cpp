#include "DravikKernel/KernelServices.h"

#include "DVDiagnostics/Trace.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/base.h"
#include "win/controls.h"

#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace {

struct Caption {
    std::mutex mutex;
    std::wstring text = L"DRAVIK CAD";
};

Caption& caption() {
    static Caption* c = new Caption;
    return *c;
}

} // namespace

namespace dvkernel {
void resetCaption() {
    DVMessageBox::SetCaption(L"DRAVIK CAD");
}
} // namespace dvkernel

std::wstring DVAppendProgramPath(const wchar_t* name, int mode, bool create) {
    const std::wstring_view file = name ? name : L"";
    if (pal::path::isAbsolute(file))
        return std::wstring(file);
    const fs::path folder =
        mode == 0 ? pal::folders::programDir() : pal::folders::roamingAppData() / "Dravik" / "DravikCad 18";
    if (create) {
        std::error_code ec;
        fs::create_directories(folder, ec);
    }
    std::wstring path = pal::path::fromNative(folder);
    if (file.empty())
        return path;
    // Drive paths join with the platform's separator, native folders with their own.
    const wchar_t separator = !path.empty() && path.front() == L'/' ? L'/' : L'\\';
    if (!path.empty() && path.back() != L'/' && path.back() != L'\\')
        path += separator;
    return path + std::wstring(file);
}

int DVMessageBox::Show(const wchar_t* text, UINT type) {
    const std::wstring title = GetCaption();
    const int answer = MessageBoxW(nullptr, text, title.c_str(), type);
    dvtrace::record("DravikKernel", "DVMessageBox::Show(" + pal::text::toUtf8(text ? text : L"") + "," +
                                        std::to_string(type) + ") -> " + std::to_string(answer));
    return answer;
}

void DVMessageBox::SetCaption(const wchar_t* text) {
    std::lock_guard lock(caption().mutex);
    caption().text = text ? text : L"";
}

std::wstring DVMessageBox::GetCaption() {
    std::lock_guard lock(caption().mutex);
    return caption().text;
}
