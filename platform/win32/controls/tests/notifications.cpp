#include "notifications.h"

#include <gtest/gtest.h>

#include <map>

namespace controlstest {

ControlTest* ControlTest::current = nullptr;

namespace {

std::string lower(std::wstring s) {
    std::string out;
    for (wchar_t c : s)
        out += static_cast<char>(c < 128 ? std::tolower(static_cast<int>(c)) : '?');
    return out;
}

// Notification codes overlap between classes, so they are named by the class that sends them.
std::string commandName(const std::string& cls, UINT code) {
    static const std::map<std::string, std::map<UINT, std::string>> names = {
        {"button",
         {{BN_CLICKED, "BN_CLICKED"},
          {BN_HILITE, "BN_HILITE"},
          {BN_UNHILITE, "BN_UNHILITE"},
          {BN_DISABLE, "BN_DISABLE"},
          {BN_DOUBLECLICKED, "BN_DOUBLECLICKED"},
          {BN_SETFOCUS, "BN_SETFOCUS"},
          {BN_KILLFOCUS, "BN_KILLFOCUS"}}},
        {"edit",
         {{EN_SETFOCUS, "EN_SETFOCUS"},
          {EN_KILLFOCUS, "EN_KILLFOCUS"},
          {EN_CHANGE, "EN_CHANGE"},
          {EN_UPDATE, "EN_UPDATE"},
          {EN_MAXTEXT, "EN_MAXTEXT"}}},
        {"static", {{STN_CLICKED, "STN_CLICKED"}, {STN_DBLCLK, "STN_DBLCLK"}}},
        {"listbox",
         {{LBN_SELCHANGE, "LBN_SELCHANGE"},
          {LBN_DBLCLK, "LBN_DBLCLK"},
          {LBN_SETFOCUS, "LBN_SETFOCUS"},
          {LBN_KILLFOCUS, "LBN_KILLFOCUS"}}},
        {"combobox",
         {{CBN_SELCHANGE, "CBN_SELCHANGE"},
          {CBN_DBLCLK, "CBN_DBLCLK"},
          {CBN_SETFOCUS, "CBN_SETFOCUS"},
          {CBN_KILLFOCUS, "CBN_KILLFOCUS"},
          {CBN_EDITCHANGE, "CBN_EDITCHANGE"},
          {CBN_EDITUPDATE, "CBN_EDITUPDATE"},
          {CBN_DROPDOWN, "CBN_DROPDOWN"},
          {CBN_CLOSEUP, "CBN_CLOSEUP"},
          {CBN_SELENDOK, "CBN_SELENDOK"},
          {CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}}},
    };
    auto c = names.find(cls);
    if (c != names.end()) {
        auto n = c->second.find(code);
        if (n != c->second.end())
            return n->second;
    }
    return cls + "#" + std::to_string(code);
}

std::string notifyName(UINT code) {
    static const std::map<UINT, std::string> names = {
        {NM_CLICK, "NM_CLICK"},           {NM_RETURN, "NM_RETURN"},   {NM_SETFOCUS, "NM_SETFOCUS"},
        {MCN_SELCHANGE, "MCN_SELCHANGE"}, {MCN_SELECT, "MCN_SELECT"}, {MCN_VIEWCHANGE, "MCN_VIEWCHANGE"}};
    auto n = names.find(code);
    return n == names.end() ? "WM_NOTIFY#" + std::to_string(static_cast<int>(code)) : n->second;
}

std::string scrollName(WORD code) {
    static const char* const names[] = {"SB_LINEUP",   "SB_LINEDOWN",      "SB_PAGEUP",
                                        "SB_PAGEDOWN", "SB_THUMBPOSITION", "SB_THUMBTRACK",
                                        "SB_TOP",      "SB_BOTTOM",        "SB_ENDSCROLL"};
    return code < 9 ? names[code] : "SB#" + std::to_string(code);
}

std::string classOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return lower(name);
}

LRESULT parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlTest* t = ControlTest::current;
    if (t && t->answer) {
        LRESULT result = 0;
        if (t->answer(message, wParam, lParam, result))
            return result;
    }
    if (t) {
        switch (message) {
        case WM_COMMAND:
            if (lParam)
                t->log.push_back(std::to_string(LOWORD(wParam)) + ":" +
                                 commandName(classOf(reinterpret_cast<HWND>(lParam)), HIWORD(wParam)));
            else
                t->log.push_back("WM_COMMAND " + std::to_string(LOWORD(wParam)));
            return 0;
        case WM_NOTIFY: {
            const auto* h = reinterpret_cast<const NMHDR*>(lParam);
            t->log.push_back(std::to_string(h->idFrom) + ":" + notifyName(h->code));
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            std::string entry = std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) + ":" +
                                (message == WM_HSCROLL ? "WM_HSCROLL " : "WM_VSCROLL ") +
                                scrollName(LOWORD(wParam));
            if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)
                entry += " " + std::to_string(HIWORD(wParam));
            t->log.push_back(entry);
            return 0;
        }
        default:
            break;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

void ControlTest::SetUp() {
    UserTest::SetUp();
    current = this;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &parentProc;
    wc.lpszClassName = L"ControlParent";
    ASSERT_TRUE(RegisterClassExW(&wc));
    parent = CreateWindowExW(0, L"ControlParent", L"Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600,
                             400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    SetForegroundWindow(parent);
    pump();
}

void ControlTest::TearDown() {
    current = nullptr;
    UserTest::TearDown();
}

HWND ControlTest::make(LPCWSTR className, LPCWSTR text, DWORD style, RECT r, int id) {
    const HWND hwnd = CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                                      r.right - r.left, r.bottom - r.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    EXPECT_TRUE(hwnd) << "cannot create a control of its class";
    return hwnd;
}

Log ControlTest::take() {
    pump();
    Log out;
    out.swap(log);
    return out;
}

void ControlTest::clickAt(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    pal::test::click(p);
    pump();
}

std::optional<POINT> contextMenuAfterRightClick(ControlTest& t, HWND control, POINT at, LRESULT taken) {
    std::optional<POINT> asked;
    t.answer = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == NM_RCLICK) {
            result = taken;
            return true;
        }
        if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == control)
            asked = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return message == WM_CONTEXTMENU;
    };
    POINT screen = at;
    ClientToScreen(control, &screen);
    pal::test::click(screen, pal::test::MouseButton::Right);
    t.pump();
    t.answer = nullptr;
    return asked;
}

void expectRightClickAsksForTheContextMenu(ControlTest& t, HWND control, POINT at) {
    POINT screen = at;
    ClientToScreen(control, &screen);
    const std::optional<POINT> left = contextMenuAfterRightClick(t, control, at, 0);
    ASSERT_TRUE(left.has_value());
    EXPECT_EQ(left->x, screen.x);
    EXPECT_EQ(left->y, screen.y);
    EXPECT_FALSE(contextMenuAfterRightClick(t, control, at, 1).has_value());
}

void ControlTest::doubleClickAt(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    pal::test::doubleClick(p);
    pump();
}

void ControlTest::press(int key, std::initializer_list<int> modifiers) {
    pal::test::pressKey(key, modifiers);
    pump();
}

void ControlTest::type(const std::wstring& text) {
    for (wchar_t c : text)
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
    pump();
}

void ControlTest::pump() {
    pal::test::pump();
}

} // namespace controlstest
