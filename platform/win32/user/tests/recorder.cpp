#include "recorder.h"

#include "pal/format.h"
#include "pal/text.h"

#include <algorithm>

namespace usertest {

Recorder* Recorder::current = nullptr;

namespace {

struct Name {
    UINT message;
    const char* name;
};
constexpr Name kNames[] = {
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_CANCELMODE, "WM_CANCELMODE"},
    {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
    {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_STYLECHANGING, "WM_STYLECHANGING"},
    {WM_STYLECHANGED, "WM_STYLECHANGED"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_SYSCHAR, "WM_SYSCHAR"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
    {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    {WM_MDIACTIVATE, "WM_MDIACTIVATE"},
    {WM_USER, "WM_USER"},
};

} // namespace

std::string messageName(UINT message) {
    for (const Name& n : kNames) {
        if (n.message == message)
            return n.name;
    }
    if (message > WM_USER && message < WM_APP)
        return pal::format("WM_USER+%u", message - WM_USER);
    return pal::format("0x%04X", message);
}

namespace {

constexpr const char* kOptional = " (optional)";

bool isOptional(const std::string& row) {
    const std::string mark(kOptional);
    return row.size() > mark.size() && row.compare(row.size() - mark.size(), mark.size(), mark) == 0;
}

std::string bare(const std::string& row) {
    return isOptional(row) ? row.substr(0, row.size() - std::string(kOptional).size()) : row;
}

// Matches got[i..] against expected[j..]; an optional row may match or be passed over.
bool matchFrom(const std::vector<std::string>& got, size_t i, const std::vector<std::string>& expected,
               size_t j) {
    if (j == expected.size())
        return i == got.size();
    const bool may = isOptional(expected[j]);
    if (i < got.size() && got[i] == bare(expected[j]) && matchFrom(got, i + 1, expected, j + 1))
        return true;
    return may && matchFrom(got, i, expected, j + 1);
}

} // namespace

std::string optional(const std::string& row) {
    return row + kOptional;
}

bool sameOrder(const std::vector<std::string>& got, const std::vector<std::string>& expected) {
    return matchFrom(got, 0, expected, 0);
}

std::vector<std::string>
keptRows(const std::vector<std::string>& rows,
         const std::function<bool(const std::string& who, const std::string& message)>& keep) {
    std::vector<std::string> out;
    for (const std::string& row : rows) {
        const size_t colon = row.find(':');
        if (colon != std::string::npos && keep(row.substr(0, colon), row.substr(colon + 1)))
            out.push_back(row);
    }
    return out;
}

std::string describeOrder(const std::vector<std::string>& got, const std::vector<std::string>& expected) {
    std::string out = "\n     got                              expected\n";
    for (size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
        std::string left = i < got.size() ? got[i] : "";
        left.resize(std::max<size_t>(left.size() + 1, 33), ' ');
        out += pal::format("%3zu  ", i) + left + (i < expected.size() ? expected[i] : "") + "\n";
    }
    return out;
}

LRESULT Recorder::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder* r = current;
    if (!r)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        // A document window's creation parameter is the client's, not a name.
        if (cs->lpCreateParams && !(cs->dwExStyle & WS_EX_MDICHILD))
            r->names[hwnd] = static_cast<const char*>(cs->lpCreateParams);
        else if (r->pending)
            r->names[hwnd] = r->pending;
    } else if (r->pending && !r->names.count(hwnd)) {
        r->names[hwnd] = r->pending;
    }
    r->note(hwnd, message);
    if (r->hook) {
        LRESULT result = 0;
        if (r->hook(hwnd, message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Recorder::note(HWND hwnd, UINT message) {
    // Queries the layer makes of itself are not part of the sequences.
    const bool quiet = message == WM_GETTEXT || message == WM_GETTEXTLENGTH || message == WM_NCHITTEST ||
                       message == WM_SETCURSOR || message == WM_GETICON;
    if (recording && !quiet) {
        auto it = names.find(hwnd);
        log.push_back((it == names.end() ? std::string("?") : it->second) + ":" + messageName(message));
    }
}

void Recorder::watch(HWND hwnd, const char* name) {
    names[hwnd] = name;
    watched[hwnd] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder::watchedProc)));
}

LRESULT Recorder::watchedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder* r = current;
    auto it = r ? r->watched.find(hwnd) : decltype(r->watched)::iterator{};
    if (!r || it == r->watched.end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const WNDPROC own = it->second;
    r->note(hwnd, message);
    return CallWindowProcW(own, hwnd, message, wParam, lParam);
}

void RecordedTest::SetUp() {
    UserTest::SetUp();
    Recorder::current = &recorder;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Recorder::proc;
    wc.cbWndExtra = 16;
    wc.lpszClassName = L"Recorded";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(6));
    ASSERT_NE(RegisterClassExW(&wc), 0);
}

void RecordedTest::TearDown() {
    recorder.recording = false;
    recorder.hook = nullptr;
    UserTest::TearDown();
    Recorder::current = nullptr;
}

HWND RecordedTest::create(const char* name, DWORD style, HWND parent, RECT r, int id, DWORD exStyle) {
    recorder.pending = name;
    HWND h =
        CreateWindowExW(exStyle, L"Recorded", pal::text::fromUtf8(name).c_str(), style, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, const_cast<char*>(name));
    recorder.pending = nullptr;
    EXPECT_NE(h, nullptr) << name;
    return h;
}

HWND RecordedTest::win(const std::string& name) const {
    for (auto& [h, n] : recorder.names) {
        if (n == name && IsWindow(h))
            return h;
    }
    return nullptr;
}

std::vector<std::string> RecordedTest::take() {
    auto out = std::move(recorder.log);
    recorder.log.clear();
    return out;
}

} // namespace usertest
