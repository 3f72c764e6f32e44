// The file dialog: the folders and the matching files of one folder, a name edit, and OK and
// Cancel. A name that is a folder opens it; a wildcard filters the list; a name is checked as
// the flags ask (the folder must exist, the file must exist, replacing asks first).
#include "modal.h"

#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace pal::ctl {
namespace {

thread_local DWORD lastError = 0;

constexpr LPARAM kFile = 0;
constexpr LPARAM kFolder = 1;
constexpr LPARAM kParent = 2;

// The dialog's own controls beside the platform's: the places and the button one folder up.
constexpr int kPlaces = 0x0471;
constexpr int kUp = 0x04A1;

struct Place {
    std::wstring name;
    fs::path folder;
};

// Where a person most often starts: the sandbox's Documents and Desktop, the user's own home
// folder, and every drive of the sandbox.
std::vector<Place> places() {
    std::vector<Place> out;
    std::error_code ec;
    const fs::path documents = pal::folders::documents();
    out.push_back(Place{L"Documents", documents});
    if (const fs::path desktop = documents.parent_path() / "Desktop"; fs::is_directory(desktop, ec))
        out.push_back(Place{L"Desktop", desktop});
    if (const char* home = std::getenv("HOME"); home && *home && fs::is_directory(home, ec))
        out.push_back(Place{L"Home folder", fs::path(home)});
    for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
        const std::string folder = std::string("drive_") + static_cast<char>(std::tolower(letter));
        if (fs::is_directory(pal::sandbox::root() / folder, ec))
            out.push_back(Place{std::wstring(1, letter) + L":", pal::sandbox::drive(letter)});
    }
    return out;
}

struct Filter {
    std::wstring description;
    std::vector<std::wstring> patterns;
};

std::vector<Filter> parseFilters(LPCWSTR list) {
    std::vector<Filter> filters;
    while (list && *list) {
        Filter f;
        f.description = list;
        list += f.description.size() + 1;
        const std::wstring patterns = list;
        list += patterns.size() + 1;
        size_t start = 0;
        while (start <= patterns.size()) {
            const size_t end = std::min(patterns.find(L';', start), patterns.size());
            if (end > start)
                f.patterns.push_back(patterns.substr(start, end - start));
            start = end + 1;
        }
        filters.push_back(std::move(f));
        if (patterns.empty())
            break;
    }
    return filters;
}

// '*' any run of characters, '?' any one; letters compare without case. "*.*" matches every name.
bool wildcard(std::wstring_view pattern, std::wstring_view name) {
    if (pattern == L"*.*" || pattern == L"*")
        return true;
    size_t p = 0, n = 0, star = std::wstring::npos, mark = 0;
    auto same = [](wchar_t a, wchar_t b) { return a == b || pal::text::equalsNoCase({&a, 1}, {&b, 1}); };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || same(pattern[p], name[n]))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            mark = n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

bool hasWildcard(const std::wstring& s) {
    return s.find_first_of(L"*?") != std::wstring::npos;
}

// Names typed in the edit: one name, or several in double quotes.
std::vector<std::wstring> parseNames(const std::wstring& text) {
    std::vector<std::wstring> names;
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return names;
    if (text[first] != L'"') {
        const size_t last = text.find_last_not_of(L" \t");
        names.push_back(text.substr(first, last - first + 1));
        return names;
    }
    size_t i = first;
    while ((i = text.find(L'"', i)) != std::wstring::npos) {
        const size_t close = text.find(L'"', i + 1);
        const std::wstring name =
            text.substr(i + 1, close == std::wstring::npos ? std::wstring::npos : close - i - 1);
        if (!name.empty())
            names.push_back(name);
        if (close == std::wstring::npos)
            break;
        i = close + 1;
    }
    return names;
}

// Whether a path lies in the sandbox, after resolving "..", links and what exists of it.
bool inSandbox(const fs::path& p) {
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(pal::sandbox::root(), ec);
    const fs::path full = fs::weakly_canonical(p, ec);
    if (ec)
        return false;
    const fs::path rel = full.lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

class FileDialog : public ModalDialog {
public:
    FileDialog(OPENFILENAMEW& ofn, bool save) : ofn_(ofn), save_(save) {
        filters_ = parseFilters(ofn.lpstrFilter);
        filter_ = ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= filters_.size() ? ofn.nFilterIndex - 1 : 0;
        std::wstring initial = ofn.lpstrFile ? std::wstring(ofn.lpstrFile) : std::wstring();
        std::error_code ec;
        // A path in the initial name gives the folder; otherwise the initial folder does.
        const size_t cut = initial.find_last_of(L"\\/");
        if (cut != std::wstring::npos && pal::path::isAbsolute(initial)) {
            folder_ = pal::path::toNative(initial.substr(0, cut + 1));
            name_ = initial.substr(cut + 1);
        } else {
            name_ = initial;
            if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir)
                folder_ = pal::path::toNative(ofn.lpstrInitialDir);
        }
        if (folder_.empty() || !fs::is_directory(folder_, ec))
            folder_ = fs::current_path(ec);
        folder_ = folder_.lexically_normal();
        prompt_.kind = "FileDialog";
        prompt_.caption = ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : (save ? L"Save As" : L"Open");
        prompt_.text = name_;
        prompt_.flags = ofn.Flags;
    }

    BOOL show() {
        const int result = run(ofn_.hwndOwner, prompt_.caption);
        return result == IDOK ? TRUE : FALSE;
    }

    void command(int id, WORD code, HWND) override {
        switch (id) {
        case cmb1:
            if (code == CBN_SELCHANGE)
                typeChosen();
            return;
        case lst1:
            if (code == LBN_SELCHANGE)
                selectionChanged();
            else if (code == LBN_DBLCLK)
                opened();
            return;
        case kPlaces:
            if (code == CBN_SELCHANGE)
                placeChosen();
            return;
        case kUp:
            if (hasParent())
                navigate(folder_.parent_path());
            return;
        case IDOK:
            accept();
            return;
        case IDCANCEL:
            if (!journaled_)
                pal::responder::answered(prompt_, "cancel", answering_ ? "responder" : "input");
            journaled_ = true;
            end(IDCANCEL);
            return;
        default:
            return;
        }
    }

    SIZE clientSize() const override { return SIZE{480, 344}; }

    void build() override {
        const bool multi = (ofn_.Flags & OFN_ALLOWMULTISELECT) != 0;
        addControl(L"Static", L"", stc1, SS_NOPREFIX, RECT{12, 10, 248, 28});
        addControl(L"ComboBox", L"", kPlaces, WS_TABSTOP | CBS_DROPDOWNLIST, RECT{252, 6, 396, 200});
        addControl(L"Button", L"&Up", kUp, WS_TABSTOP | BS_PUSHBUTTON, RECT{400, 5, 468, 29});
        places_ = places();
        for (const Place& p : places_)
            SendDlgItemMessageW(hwnd_, kPlaces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
        addControl(L"ListBox", L"", lst1,
                   WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                       (multi ? LBS_EXTENDEDSEL : 0),
                   RECT{12, 32, 468, 230});
        addControl(L"Static", L"File &name:", stc3, 0, RECT{12, 244, 100, 262});
        addControl(L"Edit", name_, edt1, WS_TABSTOP | ES_AUTOHSCROLL, RECT{104, 240, 468, 264},
                   WS_EX_CLIENTEDGE);
        addControl(L"Static", L"Files of &type:", stc2, 0, RECT{12, 278, 100, 296});
        addControl(L"ComboBox", L"", cmb1, WS_TABSTOP | CBS_DROPDOWNLIST, RECT{104, 274, 468, 400});
        addControl(L"Button", save_ ? L"&Save" : L"&Open", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON,
                   RECT{284, 306, 372, 332});
        addControl(L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, RECT{380, 306, 468, 332});
        SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
        showFilter();
        navigate(folder_);
    }

protected:
    HWND initialFocus() override { return GetDlgItem(hwnd_, edt1); }

    // The responder answers with a path (several of one folder separated by '|'), or OK or
    // Cancel; a path outside the sandbox is refused. The dialog's own OK does the rest.
    void respond() override {
        std::optional<pal::responder::Answer> a = pal::responder::take();
        if (!a) {
            pal::responder::unanswered(prompt_, "cancel");
            journaled_ = true;
            click(IDCANCEL);
            return;
        }
        answer_ = *a;
        if (a->number) {
            if (*a->number == IDOK || *a->number == IDCANCEL) {
                click(*a->number);
                return;
            }
            refuse("a path, IDOK or IDCANCEL was expected");
            return;
        }
        std::vector<fs::path> paths;
        size_t start = 0;
        while (start <= a->text.size()) {
            const size_t end = std::min(a->text.find(L'|', start), a->text.size());
            const std::wstring one = a->text.substr(start, end - start);
            if (!one.empty())
                paths.push_back(resolve(one));
            start = end + 1;
        }
        if (paths.empty()) {
            refuse("the answer names no file");
            return;
        }
        for (const fs::path& p : paths) {
            if (!inSandbox(p)) {
                refuse("the path is outside the sandbox");
                return;
            }
        }
        if (paths.size() == 1) {
            SetDlgItemTextW(hwnd_, edt1, pal::path::fromNative(paths[0]).c_str());
        } else {
            const fs::path folder = paths[0].parent_path();
            std::wstring names;
            for (const fs::path& p : paths) {
                if (p.parent_path() != folder) {
                    refuse("the files are not in one folder");
                    return;
                }
                names += L"\"" + pal::path::textOf(p.filename()) + L"\" ";
            }
            navigate(folder);
            SetDlgItemTextW(hwnd_, edt1, names.c_str());
        }
        click(IDOK);
    }

private:
    fs::path resolve(const std::wstring& name) const {
        if (pal::path::isAbsolute(name))
            return pal::path::toNative(name).lexically_normal();
        std::wstring relative = name;
        std::replace(relative.begin(), relative.end(), L'\\', L'/');
        return (folder_ / relative).lexically_normal();
    }

    void refuse(const std::string& reason) {
        pal::responder::refused(prompt_, answer_, reason);
        journaled_ = true;
        end(IDCANCEL);
    }

    // A check failed: a person is told and stays in the dialog; the responder's answer is refused.
    void fail(const fs::path& p, const std::wstring& message, const std::string& reason) {
        if (answering_) {
            refuse(reason);
            return;
        }
        const std::wstring text = pal::path::fromNative(p) + L"\n" + message;
        MessageBoxW(hwnd_, text.c_str(), prompt_.caption.c_str(), MB_OK | MB_ICONWARNING);
    }

    // The file types of the filter, and a typed pattern in use in their place.
    void showFilter() {
        const HWND types = GetDlgItem(hwnd_, cmb1);
        SendMessageW(types, CB_RESETCONTENT, 0, 0);
        for (const Filter& f : filters_)
            SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
        if (!customPattern_.empty())
            SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(customPattern_.c_str()));
        else if (filters_.empty())
            SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"All files"));
        const size_t shown = customPattern_.empty() ? filter_ : filters_.size();
        SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    }

    // Above a drive's top (C:\ is a folder of the sandbox) there is nothing to go to.
    bool hasParent() const {
        const std::wstring shown = pal::path::fromNative(folder_);
        return folder_.has_relative_path() && !(shown.size() == 3 && shown[1] == L':');
    }

    void placeChosen() {
        const LRESULT i = SendDlgItemMessageW(hwnd_, kPlaces, CB_GETCURSEL, 0, 0);
        if (i >= 0 && static_cast<size_t>(i) < places_.size())
            navigate(places_[static_cast<size_t>(i)].folder);
    }

    void typeChosen() {
        const LRESULT i = SendDlgItemMessageW(hwnd_, cmb1, CB_GETCURSEL, 0, 0);
        if (i < 0 || static_cast<size_t>(i) >= filters_.size())
            return;
        filter_ = static_cast<size_t>(i);
        customPattern_.clear();
        showFilter();
        navigate(folder_);
    }

    bool matches(const std::wstring& name) const {
        if (!customPattern_.empty())
            return wildcard(customPattern_, name);
        if (filters_.empty())
            return true;
        const auto& patterns = filters_[filter_].patterns;
        return std::any_of(patterns.begin(), patterns.end(),
                           [&](const std::wstring& p) { return wildcard(p, name); });
    }

    void navigate(const fs::path& folder) {
        folder_ = folder.lexically_normal();
        SetDlgItemTextW(hwnd_, stc1, pal::path::fromNative(folder_).c_str());
        EnableWindow(GetDlgItem(hwnd_, kUp), hasParent());
        // The places show the one the folder lies in (the nearest, when places nest).
        LRESULT in = -1;
        size_t depth = 0;
        for (size_t i = 0; i < places_.size(); ++i) {
            const fs::path rel = folder_.lexically_relative(places_[i].folder.lexically_normal());
            const size_t d =
                static_cast<size_t>(std::distance(places_[i].folder.begin(), places_[i].folder.end()));
            if (!rel.empty() && *rel.begin() != ".." && d >= depth) {
                in = static_cast<LRESULT>(i);
                depth = d;
            }
        }
        SendDlgItemMessageW(hwnd_, kPlaces, CB_SETCURSEL, static_cast<WPARAM>(in), 0);
        const HWND list = GetDlgItem(hwnd_, lst1);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        std::vector<std::wstring> folders, files;
        std::error_code ec;
        const bool hidden = (ofn_.Flags & OFN_FORCESHOWHIDDEN) != 0;
        for (fs::directory_iterator it(folder_, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            const std::wstring name = pal::path::textOf(it->path().filename());
            if (!hidden && !name.empty() && name[0] == L'.')
                continue;
            std::error_code typeError;
            if (it->is_directory(typeError))
                folders.push_back(name);
            else if (matches(name))
                files.push_back(name);
        }
        auto byName = [](const std::wstring& a, const std::wstring& b) {
            return pal::text::compareNoCase(a, b) < 0;
        };
        std::sort(folders.begin(), folders.end(), byName);
        std::sort(files.begin(), files.end(), byName);
        auto add = [&](const std::wstring& text, LPARAM kind) {
            const LRESULT i = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str()));
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(i), kind);
        };
        if (hasParent())
            add(L"[..]", kParent);
        for (const auto& f : folders)
            add(L"[" + f + L"]", kFolder);
        for (const auto& f : files)
            add(f, kFile);
    }

    // What a list item stands for: its kind and its name.
    std::pair<LPARAM, std::wstring> item(int index) const {
        const HWND list = GetDlgItem(hwnd_, lst1);
        const LRESULT len = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (len == LB_ERR)
            return {kFile, {}};
        std::wstring text(static_cast<size_t>(len) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(len));
        const LPARAM kind = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        if (kind != kFile && text.size() >= 2)
            text = text.substr(1, text.size() - 2);
        return {kind, text};
    }

    std::vector<int> selectedItems() const {
        const HWND list = GetDlgItem(hwnd_, lst1);
        std::vector<int> out;
        if (ofn_.Flags & OFN_ALLOWMULTISELECT) {
            const auto n = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
            if (n > 0) {
                out.resize(static_cast<size_t>(n));
                SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(n),
                             reinterpret_cast<LPARAM>(out.data()));
            }
        } else if (const auto i = SendMessageW(list, LB_GETCURSEL, 0, 0); i != LB_ERR) {
            out.push_back(static_cast<int>(i));
        }
        return out;
    }

    void selectionChanged() {
        std::vector<std::wstring> names;
        for (int i : selectedItems()) {
            auto [kind, name] = item(i);
            if (kind == kFile)
                names.push_back(name);
        }
        if (names.size() == 1) {
            SetDlgItemTextW(hwnd_, edt1, names[0].c_str());
        } else if (names.size() > 1) {
            std::wstring text;
            for (const auto& n : names)
                text += L"\"" + n + L"\" ";
            SetDlgItemTextW(hwnd_, edt1, text.c_str());
        }
    }

    void opened() {
        const auto selected = selectedItems();
        if (selected.empty())
            return;
        auto [kind, name] = item(selected.front());
        if (kind == kParent)
            navigate(folder_.parent_path());
        else if (kind == kFolder)
            navigate(folder_ / name);
        else
            click(IDOK);
    }

    void accept() {
        wchar_t buffer[4096];
        GetDlgItemTextW(hwnd_, edt1, buffer, static_cast<int>(std::size(buffer)));
        const std::vector<std::wstring> names = parseNames(buffer);
        if (names.empty()) {
            // With no name, OK opens the folder selected in the list.
            const auto selected = selectedItems();
            if (!selected.empty() && item(selected.front()).first != kFile)
                opened();
            else if (answering_)
                refuse("the answer names no file");
            return;
        }
        if (names.size() == 1 && hasWildcard(names[0])) {
            customPattern_ = names[0];
            showFilter();
            navigate(folder_);
            SetDlgItemTextW(hwnd_, edt1, L"");
            return;
        }
        std::error_code ec;
        if (names.size() == 1 && fs::is_directory(resolve(names[0]), ec)) {
            navigate(resolve(names[0]));
            SetDlgItemTextW(hwnd_, edt1, L"");
            return;
        }
        if (names.size() > 1 && !(ofn_.Flags & OFN_ALLOWMULTISELECT)) {
            fail(folder_, L"Only one file can be chosen.", "several files for a dialog that takes one");
            return;
        }
        std::vector<fs::path> chosen;
        for (const std::wstring& name : names) {
            fs::path p = resolve(name);
            const std::wstring defExt = ofn_.lpstrDefExt ? ofn_.lpstrDefExt : L"";
            if (!defExt.empty() && !p.has_extension())
                p += L"." + (defExt[0] == L'.' ? defExt.substr(1) : defExt);
            const bool mustHaveFolder = (ofn_.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0;
            if (mustHaveFolder && !fs::is_directory(p.parent_path(), ec)) {
                fail(p, L"The path does not exist.\nCheck the path and try again.",
                     "the folder does not exist");
                return;
            }
            if ((ofn_.Flags & OFN_FILEMUSTEXIST) && !fs::is_regular_file(p, ec)) {
                fail(p, L"File not found.\nCheck the file name and try again.", "the file does not exist");
                return;
            }
            chosen.push_back(p);
        }
        if (save_ && (ofn_.Flags & OFN_OVERWRITEPROMPT) && fs::exists(chosen[0], ec)) {
            const std::wstring question =
                pal::path::textOf(chosen[0].filename()) + L" already exists.\nDo you want to replace it?";
            if (MessageBoxW(hwnd_, question.c_str(), prompt_.caption.c_str(),
                            MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
                return;
        }
        if (!finish(chosen))
            return;
        std::wstring answer;
        for (const fs::path& p : chosen)
            answer += (answer.empty() ? L"" : L"|") + pal::path::fromNative(p);
        pal::responder::answered(prompt_, pal::text::toUtf8(answer), answering_ ? "responder" : "input");
        journaled_ = true;
        end(IDOK);
    }

    // Writes the choice into the caller's structure; false (and the dialog ends) when it does not fit.
    bool finish(const std::vector<fs::path>& chosen) {
        std::wstring out;
        WORD offset = 0, extension = 0;
        if (chosen.size() == 1) {
            out = pal::path::fromNative(chosen[0]);
            const size_t slash = out.find_last_of(L"\\/");
            offset = static_cast<WORD>(slash == std::wstring::npos ? 0 : slash + 1);
            const size_t dot = out.find_last_of(L'.');
            extension = static_cast<WORD>(dot != std::wstring::npos && dot >= offset ? dot + 1 : out.size());
        } else {
            out = pal::path::fromNative(chosen[0].parent_path());
            offset = static_cast<WORD>(out.size() + 1);
            for (const fs::path& p : chosen)
                out += L'\0' + pal::path::textOf(p.filename());
            out += L'\0';
        }
        if (!ofn_.lpstrFile || ofn_.nMaxFile < out.size() + 1) {
            // The size the buffer needs is left in its first character.
            if (ofn_.lpstrFile && ofn_.nMaxFile >= 1)
                ofn_.lpstrFile[0] = static_cast<wchar_t>(out.size() + 1);
            lastError = FNERR_BUFFERTOOSMALL;
            if (answering_)
                refuse("the caller's buffer is too small for the path");
            else
                end(IDCANCEL);
            return false;
        }
        std::copy(out.begin(), out.end(), ofn_.lpstrFile);
        ofn_.lpstrFile[out.size()] = 0;
        ofn_.nFileOffset = offset;
        ofn_.nFileExtension = extension;
        ofn_.nFilterIndex = static_cast<DWORD>(filter_ + 1);
        if (ofn_.lpstrFileTitle && ofn_.nMaxFileTitle > 0) {
            const std::wstring title = pal::path::textOf(chosen[0].filename());
            const size_t n = std::min<size_t>(title.size(), ofn_.nMaxFileTitle - 1);
            std::copy(title.begin(), title.begin() + static_cast<std::ptrdiff_t>(n), ofn_.lpstrFileTitle);
            ofn_.lpstrFileTitle[n] = 0;
        }
        const std::wstring defExt = ofn_.lpstrDefExt ? ofn_.lpstrDefExt : L"";
        const std::wstring ext = pal::path::textOf(chosen[0].extension());
        if (!defExt.empty() && !pal::text::equalsNoCase(ext.empty() ? ext : ext.substr(1), defExt))
            ofn_.Flags |= OFN_EXTENSIONDIFFERENT;
        else
            ofn_.Flags &= ~OFN_EXTENSIONDIFFERENT;
        return true;
    }

    OPENFILENAMEW& ofn_;
    bool save_;
    std::vector<Filter> filters_;
    size_t filter_ = 0;
    std::wstring customPattern_;
    fs::path folder_;
    std::vector<Place> places_;
    std::wstring name_;
    pal::responder::Answer answer_;
    bool journaled_ = false;
};

BOOL runFileDialog(LPOPENFILENAMEW ofn, bool save) {
    lastError = 0;
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEW, pvReserved)) {
        lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    FileDialog dialog(*ofn, save);
    return dialog.show();
}

} // namespace
} // namespace pal::ctl

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) {
    return pal::ctl::runFileDialog(ofn, false);
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) {
    return pal::ctl::runFileDialog(ofn, true);
}

DWORD CommDlgExtendedError() {
    return pal::ctl::lastError;
}
