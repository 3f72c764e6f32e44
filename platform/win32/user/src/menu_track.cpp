// Tracking a popup menu: its windows, the keys and clicks that move through it, the messages
// its owner is told, and the responder that chooses when nobody is at a display.
#include "menus.h"

#include "model.h"

#include "pal/responder.h"
#include "pal/text.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace pal::win::menus {
namespace {

constexpr wchar_t kPopupClass[] = L"#32768";

LRESULT popupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        if (const auto* level = reinterpret_cast<const Level*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            paint(dc, *level);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The class goes with the others when a test clears the window layer, so it is looked for each time.
void registerPopupClass() {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(nullptr, kPopupClass, &wc))
        return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DBLCLKS | CS_DROPSHADOW;
    wc.lpfnWndProc = &popupProc;
    wc.lpszClassName = kPopupClass;
    RegisterClassExW(&wc);
}

class Tracker {
public:
    Tracker(HMENU menu, UINT flags, HWND owner) : root_(menu), flags_(flags), owner_(owner) {}

    UINT run(POINT at);
    void end() { done_ = true; }
    // Whether the menu showed at all.
    bool opened() const { return opened_; }
    const Level* levelOf(HMENU menu) const {
        for (const auto& l : levels_)
            if (l->menu == menu)
                return l.get();
        return nullptr;
    }

private:
    // Opening and closing popups.
    bool open(HMENU menu, RECT anchor, bool beside, int parentIndex);
    void closeFrom(size_t level);
    // Selection and choice; `level` indexes levels_.
    void select(size_t level, int index, bool mouse);
    void openSelected(size_t level, bool selectFirst);
    void choose(size_t level, int index);
    int step(const Level& l, int from, int delta) const;
    // Input.
    void key(const MSG& msg);
    void character(wchar_t ch);
    void mouse(const MSG& msg);
    // The responder.
    void respond();
    // A queued answer the menu cannot carry out: journaled as refused, and the menu is dismissed.
    void refuse(const pal::responder::Answer& answer, const char* reason);
    std::string describe() const;

    HMENU root_;
    UINT flags_;
    HWND owner_;
    std::vector<std::unique_ptr<Level>> levels_;
    bool done_ = false;
    bool opened_ = false;
    UINT chosen_ = 0;
    bool fromResponder_ = false;
    bool journaled_ = false;
    pal::responder::Prompt prompt_;
};

thread_local Tracker* current = nullptr;

bool Tracker::open(HMENU menu, RECT anchor, bool beside, int parentIndex) {
    SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                 MAKELPARAM(static_cast<WORD>(parentIndex < 0 ? 0 : parentIndex), FALSE));
    auto level = std::make_unique<Level>();
    level->menu = menu;
    level->items = itemsOf(menu);
    if (level->items.empty())
        return false;
    const POINT corner{anchor.left, anchor.top};
    RECT work;
    {
        Lock lock = lockModel();
        work = workAreaNear(anchor);
    }
    layout(*level, SIZE{work.right - work.left, work.bottom - work.top});
    const LONG cx = level->size.cx, cy = level->size.cy;
    LONG x = corner.x, y = corner.y;
    if (beside) {
        // A submenu opens to the right of its item, or to the left when there is no room.
        x = anchor.right;
        if (x + cx > work.right)
            x = anchor.left - cx;
    } else {
        if (flags_ & TPM_RIGHTALIGN)
            x -= cx;
        else if (flags_ & TPM_CENTERALIGN)
            x -= cx / 2;
        if (flags_ & TPM_BOTTOMALIGN)
            y -= cy;
        else if (flags_ & TPM_VCENTERALIGN)
            y -= cy / 2;
        if (x + cx > work.right)
            x = std::max(work.left, x - cx);
        if (y + cy > work.bottom)
            y = std::max(work.top, y - cy);
    }
    x = std::clamp(x, work.left, std::max(work.left, work.right - cx));
    y = std::clamp(y, work.top, std::max(work.top, work.bottom - cy));
    registerPopupClass();
    level->window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass, nullptr,
                                    WS_POPUP | WS_BORDER, x, y, cx, cy, owner_, nullptr, nullptr, nullptr);
    if (!level->window)
        return false;
    SetWindowLongPtrW(level->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(level.get()));
    ShowWindow(level->window, SW_SHOWNA);
    levels_.push_back(std::move(level));
    if (levels_.size() == 1) {
        opened_ = true;
        // The menu takes the mouse, and its owner hears it lost it even when it did not hold it.
        if (SetCapture(levels_[0]->window) != owner_)
            SendMessageW(owner_, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(levels_[0]->window));
    }
    return true;
}

void Tracker::closeFrom(size_t from) {
    while (levels_.size() > from) {
        std::unique_ptr<Level> l = std::move(levels_.back());
        levels_.pop_back();
        if (l->window) {
            SetWindowLongPtrW(l->window, GWLP_USERDATA, 0);
            DestroyWindow(l->window);
        }
        SendMessageW(owner_, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(l->menu), 0);
    }
}

void Tracker::select(size_t level, int index, bool mouse) {
    Level& l = *levels_[level];
    // Whatever was open below another item closes.
    if (levels_.size() > level + 1 && l.selected != index)
        closeFrom(level + 1);
    if (l.selected == index)
        return;
    l.selected = index;
    InvalidateRect(l.window, nullptr, TRUE);
    if (index < 0)
        return;
    const Item& it = l.items[static_cast<size_t>(index)];
    UINT flags = (it.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT)) | MF_HILITE |
                 (it.type & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW));
    if (it.sub)
        flags |= MF_POPUP;
    if (mouse)
        flags |= MF_MOUSESELECT;
    // A submenu is named by its position, any other item by its id.
    const WORD what = it.sub ? static_cast<WORD>(index) : LOWORD(it.id);
    SendMessageW(owner_, WM_MENUSELECT, MAKEWPARAM(what, static_cast<WORD>(flags)),
                 reinterpret_cast<LPARAM>(l.menu));
}

void Tracker::openSelected(size_t level, bool selectFirst) {
    Level& l = *levels_[level];
    if (l.selected < 0 || levels_.size() > level + 1)
        return;
    const Item& it = l.items[static_cast<size_t>(l.selected)];
    if (!it.sub || it.disabled())
        return;
    RECT anchor = l.rects[static_cast<size_t>(l.selected)];
    MapWindowPoints(l.window, nullptr, reinterpret_cast<POINT*>(&anchor), 2);
    if (open(it.sub, anchor, true, l.selected) && selectFirst)
        select(level + 1, step(*levels_[level + 1], -1, 1), false);
}

void Tracker::choose(size_t level, int index) {
    if (index < 0)
        return;
    const Item& it = levels_[level]->items[static_cast<size_t>(index)];
    // Disabled items and separators cannot be chosen: the menu stays open.
    if (it.separator() || it.disabled())
        return;
    if (it.sub) {
        select(level, index, false);
        openSelected(level, true);
        return;
    }
    chosen_ = it.id;
    done_ = true;
}

// The next item that can hold the selection, wrapping around; -1 when there is none.
int Tracker::step(const Level& l, int from, int delta) const {
    const int n = static_cast<int>(l.items.size());
    int i = from;
    for (int k = 0; k < n; ++k) {
        i = i < 0 ? (delta > 0 ? 0 : n - 1) : (i + delta + n) % n;
        if (!l.items[static_cast<size_t>(i)].separator())
            return i;
    }
    return -1;
}

void Tracker::key(const MSG& msg) {
    const size_t deepest = levels_.size() - 1;
    Level& l = *levels_[deepest];
    switch (msg.wParam) {
    case VK_DOWN:
    case VK_UP:
        select(deepest, step(l, l.selected, msg.wParam == VK_DOWN ? 1 : -1), false);
        return;
    case VK_HOME:
        select(deepest, step(l, -1, 1), false);
        return;
    case VK_END:
        select(deepest, step(l, -1, -1), false);
        return;
    case VK_RIGHT:
        openSelected(deepest, true);
        return;
    case VK_LEFT:
    case VK_ESCAPE:
        if (deepest > 0)
            closeFrom(deepest);
        else if (msg.wParam == VK_ESCAPE)
            done_ = true;
        return;
    case VK_RETURN:
        choose(deepest, l.selected);
        return;
    case VK_MENU:
    case VK_F10:
        done_ = true;
        return;
    default:
        TranslateMessage(&msg);
        return;
    }
}

// A mnemonic chooses its item when it is the only one with it, and moves to the next otherwise.
void Tracker::character(wchar_t ch) {
    const size_t deepest = levels_.size() - 1;
    Level& l = *levels_[deepest];
    const wchar_t lower = pal::text::toLower(std::wstring(1, ch))[0];
    std::vector<int> hits;
    for (size_t i = 0; i < l.items.size(); ++i) {
        if (!l.items[i].separator() && mnemonicOf(l.items[i].text) == lower)
            hits.push_back(static_cast<int>(i));
    }
    if (hits.empty()) {
        const LRESULT r = SendMessageW(owner_, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(ch), MF_POPUP),
                                       reinterpret_cast<LPARAM>(l.menu));
        const int index = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(r)));
        switch (HIWORD(static_cast<DWORD_PTR>(r))) {
        case MNC_EXECUTE:
            if (index >= 0 && static_cast<size_t>(index) < l.items.size()) {
                select(deepest, index, false);
                choose(deepest, index);
            }
            return;
        case MNC_SELECT:
            if (index >= 0 && static_cast<size_t>(index) < l.items.size())
                select(deepest, index, false);
            return;
        case MNC_CLOSE:
            done_ = true;
            return;
        default:
            MessageBeep(0);
            return;
        }
    }
    if (hits.size() == 1) {
        select(deepest, hits[0], false);
        choose(deepest, hits[0]);
        return;
    }
    const auto next = std::find_if(hits.begin(), hits.end(), [&](int i) { return i > l.selected; });
    select(deepest, next == hits.end() ? hits[0] : *next, false);
}

void Tracker::mouse(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(msg.hwnd, &p);
    // The deepest popup under the point, and the item there.
    for (size_t k = levels_.size(); k-- > 0;) {
        Level& l = *levels_[k];
        POINT local = p;
        ScreenToClient(l.window, &local);
        const RECT box{0, 0, l.size.cx, l.size.cy};
        if (!PtInRect(&box, local))
            continue;
        int index = -1;
        for (size_t i = 0; i < l.rects.size(); ++i) {
            if (PtInRect(&l.rects[i], local) && !l.items[i].separator())
                index = static_cast<int>(i);
        }
        if (index < 0)
            return;
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            select(k, index, true);
            openSelected(k, false);
            return;
        case WM_RBUTTONUP:
            if (!(flags_ & TPM_RIGHTBUTTON))
                return;
            [[fallthrough]];
        case WM_LBUTTONUP:
            if (!l.items[static_cast<size_t>(index)].sub) {
                select(k, index, true);
                choose(k, index);
            }
            return;
        default:
            return;
        }
    }
    // A press outside every popup dismisses the menu; the click goes nowhere else.
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN)
        done_ = true;
}

std::string Tracker::describe() const {
    return chosen_ ? std::to_string(chosen_) : "0";
}

void Tracker::refuse(const pal::responder::Answer& answer, const char* reason) {
    pal::responder::refused(prompt_, answer, reason);
    journaled_ = true;
    chosen_ = 0;
    done_ = true;
}

// The responder chooses by command id or by the item's text, through the same selection and
// choice a person's keys make: submenus on the way are opened, and their owner is told.
void Tracker::respond() {
    const std::optional<pal::responder::Answer> answer = pal::responder::take();
    if (!answer) {
        pal::responder::unanswered(prompt_, "0");
        journaled_ = true;
        done_ = true;
        return;
    }
    fromResponder_ = true;
    if (answer->number && *answer->number == 0) {
        done_ = true;
        return;
    }
    const std::wstring wanted = answer->number ? std::wstring() : pal::text::toLower(shownText(answer->text));
    auto matches = [&](const Item& it) {
        if (it.separator())
            return false;
        if (answer->number)
            return !it.sub && it.id == static_cast<UINT>(*answer->number);
        return pal::text::toLower(shownText(it.text)) == wanted;
    };
    // The path of positions to the item, depth first through the menu as it is now.
    std::vector<int> path;
    std::function<bool(const std::vector<Item>&, int)> search = [&](const std::vector<Item>& items,
                                                                    int depth) {
        for (size_t i = 0; i < items.size(); ++i) {
            path.push_back(static_cast<int>(i));
            if (matches(items[i]))
                return true;
            if (items[i].sub && depth < 16 && search(itemsOf(items[i].sub), depth + 1))
                return true;
            path.pop_back();
        }
        return false;
    };
    if (!search(levels_[0]->items, 0)) {
        refuse(*answer, "the menu has no such item");
        return;
    }
    closeFrom(1);
    for (size_t k = 0; k < path.size(); ++k) {
        if (k >= levels_.size()) {
            refuse(*answer, "the item's submenu did not open");
            return;
        }
        const Item& it = levels_[k]->items[static_cast<size_t>(path[k])];
        if (it.disabled()) {
            refuse(*answer, "the item is disabled");
            return;
        }
        select(k, path[k], false);
        if (k + 1 < path.size())
            openSelected(k, false);
        else
            choose(k, path[k]);
    }
    if (!done_)
        refuse(*answer, "the item is a submenu");
}

UINT Tracker::run(POINT at) {
    prompt_.kind = "PopupMenu";
    for (const Item& it : itemsOf(root_)) {
        if (it.separator())
            continue;
        if (!prompt_.text.empty())
            prompt_.text += L" | ";
        prompt_.text += shownText(it.text);
    }
    prompt_.flags = flags_;

    SendMessageW(owner_, WM_ENTERMENULOOP, TRUE, 0);
    // An owner that ends the menu (EndMenu) as its loop begins sees nothing of it.
    if (done_) {
        journaled_ = true;
    } else {
        SendMessageW(owner_, WM_INITMENU, reinterpret_cast<WPARAM>(root_), 0);
        const RECT anchor{at.x, at.y, at.x, at.y};
        // A menu that is still empty once its owner was asked to fill it shows nothing and asks
        // nothing.
        if (!open(root_, anchor, false, -1))
            done_ = journaled_ = true;
    }

    while (!done_) {
        MSG msg{};
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                done_ = true;
            } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
                key(msg);
            } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
                character(static_cast<wchar_t>(msg.wParam));
            } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
                // Key releases belong to the menu too.
            } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                mouse(msg);
            } else {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            continue;
        }
        // Nothing waits: the owner hears that the menu is idle, and may act on it; when it does
        // not, a person at the display answers, or else the responder.
        SendMessageW(owner_, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(levels_[0]->window));
        if (done_ || PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            continue;
        if (pal::responder::personAnswers())
            WaitMessage();
        else
            respond();
    }

    if (GetCapture() && !levels_.empty() && GetCapture() == levels_[0]->window)
        ReleaseCapture();
    closeFrom(0);
    SendMessageW(owner_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageW(owner_, WM_EXITMENULOOP, TRUE, 0);
    // A refused or missing answer has been journaled already; other endings are journaled here.
    if (!journaled_)
        pal::responder::answered(prompt_, describe(), fromResponder_ ? "responder" : "input");
    return chosen_;
}

} // namespace

} // namespace pal::win::menus

using pal::win::menus::current;
using pal::win::menus::Tracker;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
    if (!IsMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (current) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    Tracker tracker(menu, flags, owner);
    current = &tracker;
    const UINT chosen = tracker.run(POINT{x, y});
    current = nullptr;
    if (!tracker.opened())
        return FALSE;
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && !(flags & TPM_NONOTIFY))
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(LOWORD(chosen), 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (current)
        current->end();
    return TRUE;
}

BOOL GetMenuItemRect(HWND, HMENU menu, UINT position, LPRECT rect) {
    if (!current || !rect)
        return FALSE;
    const pal::win::menus::Level* l = current->levelOf(menu);
    if (!l || position >= l->rects.size())
        return FALSE;
    *rect = l->rects[position];
    MapWindowPoints(l->window, nullptr, reinterpret_cast<POINT*>(rect), 2);
    return TRUE;
}
