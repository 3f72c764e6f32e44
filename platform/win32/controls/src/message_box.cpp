// Message boxes: a dialog with an icon, the text, and a row of buttons, one of them the default.
#include "controls.h"

#include "modal.h"
#include "modal_paint.h"

#include "pal/text.h"

#include <algorithm>
#include <vector>

namespace pal::controls {
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

class MessageBoxDialog : public ModalDialog {
public:
    MessageBoxDialog(std::wstring text, std::wstring caption, UINT type)
        : text_(std::move(text)), type_(type) {
        const UINT kind = type & MB_TYPEMASK;
        buttons_ = kind < kButtonSets.size() ? kButtonSets[kind] : kButtonSets[0];
        const size_t index = (type & MB_DEFMASK) >> 8;
        defaultId_ = buttons_[index < buttons_.size() ? index : 0].id;
        icon_ = type & MB_ICONMASK;
        prompt_.kind = "MessageBox";
        prompt_.text = text_;
        prompt_.caption = std::move(caption);
        prompt_.flags = type;
        prompt_.defaultAnswer = defaultId_;
    }

    int show(HWND owner) {
        const LONG textLeft = kMargin + (icon_ ? kIcon + kMargin : 0);
        text_size_ = measureText(nullptr, text_, kTextWidth, true);
        // A text taller than the screen is cut rather than making a box nobody can see whole.
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &mi);
        const LONG room = (mi.rcWork.bottom - mi.rcWork.top) - 4 * kMargin - kButtonHeight - 2 * kIcon;
        text_size_.cy = std::min(text_size_.cy, std::max(room, LONG{16}));
        const LONG buttonsWidth =
            static_cast<LONG>(buttons_.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
        const LONG width =
            std::max({textLeft + text_size_.cx + kMargin, buttonsWidth + 2 * kMargin, LONG{200}});
        const LONG body = std::max(text_size_.cy, icon_ ? kIcon : LONG{0});
        const LONG height = kMargin + body + kMargin + kButtonHeight + kMargin;
        size_ = SIZE{width, height};
        textLeft_ = textLeft;
        // The sound of the box's kind goes with it.
        MessageBeep(icon_);
        return run(owner, prompt_.caption, size_);
    }

    void command(int id, WORD, HWND) override {
        const bool hasCancel = has(IDCANCEL);
        if (id == IDCANCEL && !hasCancel) {
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

    void paintFace(HDC dc) override {
        if (icon_)
            paintBoxIcon(dc, icon_, POINT{kMargin, kMargin});
    }

protected:
    void build() override {
        const LONG body = std::max(text_size_.cy, icon_ ? kIcon : LONG{0});
        // A single line sits beside the middle of the icon.
        const LONG textTop = kMargin + (body - text_size_.cy) / 2;
        addControl(L"Static", text_, kTextId, SS_NOPREFIX,
                   RECT{textLeft_, textTop, textLeft_ + text_size_.cx, textTop + text_size_.cy});
        const LONG top = size_.cy - kMargin - kButtonHeight;
        LONG left = size_.cx - kMargin - static_cast<LONG>(buttons_.size()) * (kButtonWidth + kButtonGap) +
                    kButtonGap;
        for (const Button& b : buttons_) {
            addControl(L"Button", b.text, b.id,
                       WS_TABSTOP | (b.id == defaultId_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                       RECT{left, top, left + kButtonWidth, top + kButtonHeight});
            left += kButtonWidth + kButtonGap;
        }
    }

    // The responder names a button by its id or its text, and the box clicks it.
    void respond() override {
        const std::optional<pal::responder::Answer> a = pal::responder::take();
        if (!a) {
            pal::responder::unanswered(prompt_, std::to_string(defaultId_));
            journaled_ = true;
            click(defaultId_);
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
            click(defaultId_);
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
    UINT icon_ = 0;
    std::vector<Button> buttons_;
    SIZE text_size_{};
    SIZE size_{};
    LONG textLeft_ = 0;
    bool journaled_ = false;
};

} // namespace
} // namespace pal::controls

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    pal::controls::MessageBoxDialog box(text ? text : L"", caption ? caption : L"Error", type);
    return box.show(owner);
}

int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD) {
    return MessageBoxW(owner, text, caption, type);
}
