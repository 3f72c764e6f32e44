// The file dialog: the folders and the matching files of one folder in a details view (name,
// size, date, sorted by the column clicked), a name edit that completes what is typed, and OK
// and Cancel. A name that is a folder opens it; a wildcard filters the list; a name is checked
// as the flags ask (the folder must exist, the file must exist, replacing asks first). Each
// program's last folder is where its next dialog opens when the caller names none.
#include "modal.h"

#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/system/registry.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace pal::ctl {

thread_local DWORD lastError = 0;

namespace {

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

// One row of the list.
struct Entry {
    LPARAM kind = kFile;
    std::wstring name;
    std::uintmax_t size = 0;
    fs::file_time_type time{};
};

enum Column { kName, kSize, kDate };

// A folder as the dialog holds it: normal, and without a trailing separator (but for a root),
// so that its parent is the folder above, not the same folder without the separator.
fs::path folderForm(const fs::path& folder) {
    fs::path out = folder.lexically_normal();
    while (!out.has_filename() && out.has_relative_path())
        out = out.parent_path();
    return out;
}

// Where each program's last folder is kept: one value a program, named by its file.
constexpr wchar_t kLastFolders[] = L"Software\\Dravik\\Platform\\File dialog\\Last folders";

std::wstring programName() {
    return pal::path::textOf(pal::folders::programFile().filename());
}

fs::path lastFolder() {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kLastFolders, programName().c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
        return {};
    return pal::path::toNative(buffer);
}

void rememberFolder(const fs::path& folder) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kLastFolders, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const std::wstring text = pal::path::fromNative(folder);
    RegSetValueExW(key, programName().c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// Sizes as a person reads them: whole kilobytes, rounded up, with thousands grouped.
std::wstring sizeText(std::uintmax_t bytes) {
    std::wstring digits = std::to_wstring((bytes + 1023) / 1024);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), L",");
    return digits + L" KB";
}

std::wstring dateText(fs::file_time_type time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
    std::tm local{};
    localtime_r(&t, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return pal::text::fromUtf8(text);
}

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

class FileDialog : public ModalDialog, public IFileSaveDialog {
public:
    FileDialog(OPENFILENAMEW& ofn, bool save, const pal::filedialog::Extras& extras)
        : ofn_(ofn), save_(save), extras_(extras) {
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
            else if (const fs::path last = lastFolder(); !last.empty() && inSandbox(last))
                folder_ = last;
        }
        if (folder_.empty() || !fs::is_directory(folder_, ec))
            folder_ = fs::current_path(ec);
        folder_ = folderForm(folder_);
        prompt_.kind = "FileDialog";
        prompt_.caption = ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : (save ? L"Save As" : L"Open");
        prompt_.text = name_;
        prompt_.flags = ofn.Flags;
    }

    BOOL show() {
        // The details view is a common control, registered for the dialog's own use too.
        INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        const int result = run(ofn_.hwndOwner, prompt_.caption);
        if (save_ && extras_.saveDialog)
            extras_.saveDialog(nullptr);
        return result == IDOK ? TRUE : FALSE;
    }

    HRESULT SetFileName(LPCWSTR name) override {
        if (name == nullptr)
            return E_INVALIDARG;
        if (hwnd_ == nullptr) {
            name_ = name;
            return S_OK;
        }
        // A name given is not typed: it is not completed.
        completing_ = true;
        SetDlgItemTextW(hwnd_, edt1, name);
        completing_ = false;
        lastTyped_ = std::wstring(name).size();
        return S_OK;
    }

    void command(int id, WORD code, HWND) override {
        switch (id) {
        case cmb1:
            if (code == CBN_SELCHANGE)
                typeChosen();
            return;
        case edt1:
            if (code == EN_CHANGE)
                complete();
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
            if (isPushButton(id) && code == BN_CLICKED && extras_.clicked)
                extras_.clicked(static_cast<DWORD>(id));
            return;
        }
    }

    LRESULT notify(const NMHDR* h) override {
        if (h->idFrom != lst1)
            return 0;
        switch (h->code) {
        case LVN_ITEMCHANGED:
            if (reinterpret_cast<const NMLISTVIEW*>(h)->uChanged & LVIF_STATE)
                selectionChanged();
            return 0;
        case LVN_ITEMACTIVATE:
            opened();
            return 0;
        case LVN_COLUMNCLICK:
            sortBy(reinterpret_cast<const NMLISTVIEW*>(h)->iSubItem);
            return 0;
        case LVN_KEYDOWN:
            // Backspace in the list goes one folder up.
            if (reinterpret_cast<const NMLVKEYDOWN*>(h)->wVKey == VK_BACK && hasParent())
                navigate(folder_.parent_path());
            return 0;
        default:
            return 0;
        }
    }

    SIZE clientSize() const override { return SIZE{560, 384}; }

    void build() override {
        const bool multi = (ofn_.Flags & OFN_ALLOWMULTISELECT) != 0;
        addControl(L"Static", L"", stc1, SS_NOPREFIX, RECT{12, 10, 328, 28});
        addControl(L"ComboBox", L"", kPlaces, WS_TABSTOP | CBS_DROPDOWNLIST, RECT{332, 6, 476, 200});
        addControl(L"Button", L"&Up", kUp, WS_TABSTOP | BS_PUSHBUTTON, RECT{480, 5, 548, 29});
        places_ = places();
        for (const Place& p : places_)
            SendDlgItemMessageW(hwnd_, kPlaces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
        const HWND list =
            addControl(WC_LISTVIEWW, L"", lst1,
                       WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | (multi ? 0 : LVS_SINGLESEL),
                       RECT{12, 34, 548, 270});
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        const struct {
            const wchar_t* caption;
            int width;
            int format;
        } columns[] = {
            {L"Name", 282, LVCFMT_LEFT}, {L"Size", 90, LVCFMT_RIGHT}, {L"Date modified", 140, LVCFMT_LEFT}};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW c{};
            c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
            c.fmt = columns[i].format;
            c.cx = columns[i].width;
            c.pszText = const_cast<LPWSTR>(columns[i].caption);
            c.iSubItem = i;
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
        }
        addControl(L"Static", L"File &name:", stc3, 0, RECT{12, 284, 100, 302});
        addControl(L"Edit", name_, edt1, WS_TABSTOP | ES_AUTOHSCROLL, RECT{104, 280, 548, 304},
                   WS_EX_CLIENTEDGE);
        addControl(L"Static", L"Files of &type:", stc2, 0, RECT{12, 318, 100, 336});
        addControl(L"ComboBox", L"", cmb1, WS_TABSTOP | CBS_DROPDOWNLIST, RECT{104, 314, 548, 440});
        addControl(L"Button", save_ ? L"&Save" : L"&Open", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON,
                   RECT{364, 346, 452, 372});
        addControl(L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, RECT{460, 346, 548, 372});
        // The caller's buttons along the bottom, from the left, as wide as their labels.
        LONG left = 12;
        for (const pal::filedialog::PushButton& b : extras_.buttons) {
            const LONG width = std::max<LONG>(88, measure(withoutMnemonic(b.label), 0).cx + 24);
            addControl(L"Button", b.label, static_cast<int>(b.id), WS_TABSTOP | BS_PUSHBUTTON,
                       RECT{left, 346, std::min<LONG>(left + width, 356), 372});
            left += width + 8;
        }
        SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
        showFilter();
        navigate(folder_);
        if (save_ && extras_.saveDialog)
            extras_.saveDialog(this);
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
            if (isPushButton(*a->number)) {
                pal::responder::answered(prompt_, pal::text::toUtf8(withoutMnemonic(labelOf(*a->number))),
                                         "responder");
                click(*a->number);
                return;
            }
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
    bool isPushButton(int id) const {
        return std::any_of(
            extras_.buttons.begin(), extras_.buttons.end(),
            [id](const pal::filedialog::PushButton& b) { return static_cast<int>(b.id) == id; });
    }
    std::wstring labelOf(int id) const {
        for (const pal::filedialog::PushButton& b : extras_.buttons)
            if (static_cast<int>(b.id) == id)
                return b.label;
        return {};
    }

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
        folder_ = folderForm(folder);
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
        entries_.clear();
        std::error_code ec;
        const bool hidden = (ofn_.Flags & OFN_FORCESHOWHIDDEN) != 0;
        for (fs::directory_iterator it(folder_, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            Entry e;
            e.name = pal::path::textOf(it->path().filename());
            if (!hidden && !e.name.empty() && e.name[0] == L'.')
                continue;
            std::error_code typeError;
            if (it->is_directory(typeError)) {
                e.kind = kFolder;
            } else if (matches(e.name)) {
                e.size = it->file_size(typeError);
            } else {
                continue;
            }
            e.time = it->last_write_time(typeError);
            entries_.push_back(std::move(e));
        }
        if (hasParent())
            entries_.push_back(Entry{kParent, L"..", 0, {}});
        showEntries();
    }

    // Folders before files whatever the order, the folder above first of all; within each, the
    // order of the sorted column, and names where it ties.
    void showEntries() {
        const auto rank = [](const Entry& e) { return e.kind == kParent ? 0 : e.kind == kFolder ? 1 : 2; };
        const bool up = ascending_;
        const int column = sortColumn_;
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
            if (rank(a) != rank(b))
                return rank(a) < rank(b);
            int order = 0;
            if (column == kSize && a.size != b.size)
                order = a.size < b.size ? -1 : 1;
            else if (column == kDate && a.time != b.time)
                order = a.time < b.time ? -1 : 1;
            if (order == 0)
                order = pal::text::compareNoCase(a.name, b.name);
            return up ? order < 0 : order > 0;
        });
        const HWND list = GetDlgItem(hwnd_, lst1);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            const std::wstring name = e.kind == kFile ? e.name : L"[" + e.name + L"]";
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = static_cast<int>(i);
            item.pszText = const_cast<LPWSTR>(name.c_str());
            item.lParam = static_cast<LPARAM>(i);
            const auto at = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            const std::wstring size = e.kind == kFile ? sizeText(e.size) : L"";
            const std::wstring date = e.kind == kParent ? L"" : dateText(e.time);
            for (const auto& [sub, text] : {std::pair{1, &size}, std::pair{2, &date}}) {
                LVITEMW cell{};
                cell.iSubItem = sub;
                cell.pszText = const_cast<LPWSTR>(text->c_str());
                SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at),
                             reinterpret_cast<LPARAM>(&cell));
            }
        }
        // The header shows the column the rows follow and which way.
        const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        for (int c = 0; c < 3 && header; ++c) {
            HDITEMW h{};
            h.mask = HDI_FORMAT;
            SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&h));
            h.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
            if (c == sortColumn_)
                h.fmt |= ascending_ ? HDF_SORTUP : HDF_SORTDOWN;
            SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&h));
        }
    }

    // A click on the sorted column turns its order round; another column sorts ascending.
    void sortBy(int column) {
        if (column < kName || column > kDate)
            return;
        ascending_ = column == sortColumn_ ? !ascending_ : true;
        sortColumn_ = column;
        showEntries();
    }

    // Typing a name offers the first name of its folder that begins with it, the offered rest
    // selected so that the next letter types over it; deleting offers nothing.
    void complete() {
        if (completing_)
            return;
        const HWND edit = GetDlgItem(hwnd_, edt1);
        wchar_t buffer[4096] = {};
        GetWindowTextW(edit, buffer, static_cast<int>(std::size(buffer)));
        const std::wstring text = buffer;
        const size_t typed = text.size();
        const bool grew = typed > lastTyped_;
        lastTyped_ = typed;
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (!grew || end != typed || text.empty() || text[0] == L'"' || hasWildcard(text))
            return;
        const size_t cut = text.find_last_of(L"\\/");
        const std::wstring prefix = cut == std::wstring::npos ? text : text.substr(cut + 1);
        if (prefix.empty())
            return;
        const fs::path folder = cut == std::wstring::npos ? folder_ : resolve(text.substr(0, cut + 1));
        std::vector<std::wstring> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), stop;
             !ec && it != stop; it.increment(ec)) {
            const std::wstring name = pal::path::textOf(it->path().filename());
            std::error_code typeError;
            if (name.size() > prefix.size() && (name[0] != L'.' || prefix[0] == L'.') &&
                pal::text::equalsNoCase(std::wstring_view(name).substr(0, prefix.size()), prefix) &&
                (it->is_directory(typeError) || matches(name)))
                names.push_back(name);
        }
        if (names.empty() || !inSandbox(folder))
            return;
        std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
            return pal::text::compareNoCase(a, b) < 0;
        });
        // The name as the folder spells it: the letters typed may differ in case only.
        const std::wstring offered = text.substr(0, typed - prefix.size()) + names.front();
        completing_ = true;
        SetWindowTextW(edit, offered.c_str());
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(typed), static_cast<LPARAM>(offered.size()));
        completing_ = false;
    }

    // What a list item stands for: its kind and its name.
    std::pair<LPARAM, std::wstring> item(int index) const {
        LVITEMW it{};
        it.mask = LVIF_PARAM;
        it.iItem = index;
        if (!SendDlgItemMessageW(hwnd_, lst1, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ||
            it.lParam < 0 || static_cast<size_t>(it.lParam) >= entries_.size())
            return {kFile, {}};
        const Entry& e = entries_[static_cast<size_t>(it.lParam)];
        return {e.kind, e.name};
    }

    std::vector<int> selectedItems() const {
        const HWND list = GetDlgItem(hwnd_, lst1);
        std::vector<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                            LVNI_SELECTED))) >= 0;)
            out.push_back(i);
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
        // Enter on a folder of the list opens it, whatever name the edit holds.
        if (GetFocus() == GetDlgItem(hwnd_, lst1)) {
            const auto selected = selectedItems();
            if (selected.size() == 1 && item(selected.front()).first != kFile) {
                opened();
                return;
            }
        }
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
        rememberFolder(chosen[0].parent_path());
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
    const pal::filedialog::Extras& extras_;
    std::vector<Filter> filters_;
    size_t filter_ = 0;
    std::wstring customPattern_;
    fs::path folder_;
    std::vector<Place> places_;
    std::vector<Entry> entries_;
    int sortColumn_ = kName;
    bool ascending_ = true;
    bool completing_ = false;
    size_t lastTyped_ = 0;
    std::wstring name_;
    pal::responder::Answer answer_;
    bool journaled_ = false;
};

BOOL runFileDialog(LPOPENFILENAMEW ofn, bool save, const pal::filedialog::Extras& extras) {
    lastError = 0;
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEW, pvReserved)) {
        lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    FileDialog dialog(*ofn, save, extras);
    return dialog.show();
}

} // namespace
} // namespace pal::ctl

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) {
    return pal::ctl::runFileDialog(ofn, false, {});
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) {
    return pal::ctl::runFileDialog(ofn, true, {});
}

BOOL pal::filedialog::show(LPOPENFILENAMEW ofn, bool save, const Extras& extras) {
    return pal::ctl::runFileDialog(ofn, save, extras);
}

DWORD CommDlgExtendedError() {
    return pal::ctl::lastError;
}
