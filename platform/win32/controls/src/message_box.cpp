// Message boxes: a dialog with the icon of its kind, the text, and a row of buttons, one of them
// the default.
#include "modal.h"

#include "pal/text.h"

#include <algorithm>
#include <vector>

namespace pal::ctl {
namespace {

struct Button {
    int id;
    const wchar_t* text;
};

// The buttons of each type, in order; MB_DEFBUTTONn picks the default among them.
const std::vector<std::vector<Button>> kButtonSets = {
    {{IDOK, L"OK"}},
    {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}},
    {{IDABORT, L"&Abort"}, {IDRETRY, L"&Retry"}, {IDIGNORE, L"&Ignore"}},
    {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDCANCEL, L"Cancel"}},
    {{IDYES, L"&Yes"}, {IDNO, L"&No"}},
    {{IDRETRY, L"&Retry"}, {IDCANCEL, L"Cancel"}},
    {{IDCANCEL, L"Cancel"}, {IDTRYAGAIN, L"&Try Again"}, {IDCONTINUE, L"&Continue"}},
};

constexpr LONG kMargin = 12;
constexpr LONG kIcon = 32;
constexpr LONG kButtonWidth = 88;
constexpr LONG kButtonHeight = 26;
constexpr LONG kButtonGap = 8;
constexpr LONG kTextWidth = 440; // wider text wraps
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0014;

LPCWSTR iconOf(UINT kind) {
    switch (kind) {
    case MB_ICONERROR:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONWARNING:
        return IDI_EXCLAMATION;
    case MB_ICONINFORMATION:
        return IDI_ASTERISK;
    default:
        return nullptr;
    }
}

class MessageBoxDialog : public ModalDialog {
public:
    MessageBoxDialog(std::wstring text, std::wstring caption, UINT type)
        : text_(std::move(text)), type_(type) {
        const UINT kind = type & MB_TYPEMASK;
        buttons_ = kind < kButtonSets.size() ? kButtonSets[kind] : kButtonSets[0];
        const size_t index = (type & MB_DEFMASK) >> 8;
        default_ = buttons_[index < buttons_.size() ? index : 0].id;
        icon_ = iconOf(type & MB_ICONMASK);
        prompt_.kind = "MessageBox";
        prompt_.text = text_;
        prompt_.caption = std::move(caption);
        prompt_.flags = type;
        prompt_.defaultAnswer = default_;
    }

    int show(HWND owner) {
        // The sound of the box's kind goes with it.
        MessageBeep(type_ & MB_ICONMASK);
        // The box is laid out once its font is known, in build().
        return run(owner, prompt_.caption);
    }

    void command(int id, WORD, HWND) override {
        if (id == IDCANCEL && !has(IDCANCEL)) {
            // Escape or closing answers OK in a box with only OK, and does nothing otherwise.
            if ((type_ & MB_TYPEMASK) != MB_OK)
                return;
            id = IDOK;
        }
        if (!has(id))
            return;
        if (!journaled_)
            pal::responder::answered(prompt_, std::to_string(id), answering_ ? "responder" : "input");
        journaled_ = true;
        end(id);
    }

    void build() override {
        const LONG textLeft = kMargin + (icon_ ? kIcon + kMargin : 0);
        SIZE text = measure(text_, kTextWidth);
        // A text taller than the screen is cut rather than making a box nobody can see whole.
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &mi);
        const LONG room = (mi.rcWork.bottom - mi.rcWork.top) - 4 * kMargin - kButtonHeight - 2 * kIcon;
        text.cy = std::min(text.cy, std::max(room, LONG{16}));
        // A word longer than the line is cut at the box's edge.
        text.cx = std::min(text.cx, kTextWidth);
        const LONG count = static_cast<LONG>(buttons_.size());
        const LONG buttonsWidth = count * (kButtonWidth + kButtonGap) - kButtonGap;
        const LONG width = std::max({textLeft + text.cx + kMargin, buttonsWidth + 2 * kMargin, LONG{200}});
        const LONG body = std::max(text.cy, icon_ ? kIcon : LONG{0});
        const LONG height = kMargin + body + kMargin + kButtonHeight + kMargin;

        if (icon_) {
            const HWND icon = addControl(L"Static", L"", kIconId, SS_ICON,
                                         RECT{kMargin, kMargin, kMargin + kIcon, kMargin + kIcon});
            SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon_)), 0);
        }
        // A single line sits beside the middle of the icon.
        const LONG textTop = kMargin + (body - text.cy) / 2;
        addControl(L"Static", text_, kTextId, SS_NOPREFIX | SS_LEFT,
                   RECT{textLeft, textTop, textLeft + text.cx, textTop + text.cy});
        const LONG top = height - kMargin - kButtonHeight;
        LONG left = width - kMargin - buttonsWidth;
        for (const Button& b : buttons_) {
            addControl(L"Button", b.text, b.id,
                       WS_TABSTOP | (b.id == default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                       RECT{left, top, left + kButtonWidth, top + kButtonHeight});
            left += kButtonWidth + kButtonGap;
        }
        SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(default_), 0);
        client_ = SIZE{width, height};
    }

    SIZE clientSize() const override { return client_; }

protected:
    // The responder names a button by its id or its text, and the box clicks it.
    void respond() override {
        const std::optional<pal::responder::Answer> a = pal::responder::take();
        if (!a) {
            pal::responder::unanswered(prompt_, std::to_string(default_));
            journaled_ = true;
            click(default_);
            return;
        }
        int id = 0;
        for (const Button& b : buttons_) {
            if (a->number ? *a->number == b.id
                          : pal::text::equalsNoCase(withoutMnemonic(b.text), withoutMnemonic(a->text)))
                id = b.id;
        }
        if (!id) {
            pal::responder::refused(prompt_, *a, "the box has no such button");
            journaled_ = true;
            click(default_);
            return;
        }
        click(id);
    }

private:
    bool has(int id) const {
        return std::any_of(buttons_.begin(), buttons_.end(), [id](const Button& b) { return b.id == id; });
    }

    std::wstring text_;
    UINT type_;
    LPCWSTR icon_ = nullptr;
    std::vector<Button> buttons_;
    int default_ = IDOK;
    SIZE client_{};
    bool journaled_ = false;
};

} // namespace
} // namespace pal::ctl

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    pal::ctl::MessageBoxDialog box(text ? text : L"", caption ? caption : L"Error", type);
    return box.show(owner);
}

int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD) {
    return MessageBoxW(owner, text, caption, type);
}
