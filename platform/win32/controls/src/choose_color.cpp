// The colour chooser: a grid of basic colours, the caller's 16 custom colours, a preview of the
// chosen colour with its red, green and blue in edits, and a button that keeps the chosen colour
// in a custom slot. The grids are painted by the dialog itself and chosen by a click.
#include "modal.h"

#include "pal/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <string>

namespace pal::ctl {
namespace {

constexpr LONG kMargin = 10;
constexpr LONG kCellW = 26, kCellH = 22;
constexpr int kColumns = 8;
constexpr int kBasicRows = 6, kCustomRows = 2;
constexpr LONG kLabelH = 18;
constexpr LONG kBasicTop = kMargin + kLabelH;
constexpr LONG kCustomLabelTop = kBasicTop + kBasicRows * kCellH + 8;
constexpr LONG kCustomTop = kCustomLabelTop + kLabelH;
constexpr LONG kGridRight = kMargin + kColumns * kCellW;
constexpr LONG kPaneLeft = kGridRight + 16;
constexpr LONG kPaneWidth = 160;
constexpr LONG kButtonW = 88, kButtonH = 26;
constexpr LONG kWidth = kPaneLeft + kPaneWidth + kMargin;
constexpr LONG kButtonsTop = kCustomTop + kCustomRows * kCellH + 16;
constexpr LONG kHeight = kButtonsTop + kButtonH + kMargin;
constexpr RECT kPreview{kPaneLeft, kBasicTop, kPaneLeft + kPaneWidth, kBasicTop + 56};

const wchar_t* const kAddText = L"&Add to Custom Colours";

// Eight hues at five lightnesses, then eight greys from white to black.
std::array<COLORREF, kColumns * kBasicRows> basicColors() {
    std::array<COLORREF, kColumns * kBasicRows> colors{};
    const double hues[kColumns] = {0, 30, 55, 120, 180, 220, 270, 320};
    const double lightness[5] = {0.85, 0.7, 0.5, 0.35, 0.2};
    auto channel = [](double p, double q, double t) {
        t = t < 0 ? t + 1 : t > 1 ? t - 1 : t;
        if (t < 1.0 / 6)
            return p + (q - p) * 6 * t;
        if (t < 0.5)
            return q;
        if (t < 2.0 / 3)
            return p + (q - p) * (2.0 / 3 - t) * 6;
        return p;
    };
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const double l = lightness[row], s = 0.9, h = hues[column] / 360.0;
            const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
            const double p = 2 * l - q;
            auto byte = [](double v) { return static_cast<BYTE>(std::clamp(v * 255.0 + 0.5, 0.0, 255.0)); };
            colors[static_cast<size_t>(row * kColumns + column)] = RGB(
                byte(channel(p, q, h + 1.0 / 3)), byte(channel(p, q, h)), byte(channel(p, q, h - 1.0 / 3)));
        }
    }
    for (int column = 0; column < kColumns; ++column) {
        const auto v = static_cast<BYTE>(255 - column * 255 / (kColumns - 1));
        colors[static_cast<size_t>(5 * kColumns + column)] = RGB(v, v, v);
    }
    return colors;
}

RECT cellRect(LONG top, int index) {
    const LONG left = kMargin + (index % kColumns) * kCellW;
    const LONG y = top + (index / kColumns) * kCellH;
    return RECT{left, y, left + kCellW, y + kCellH};
}

// "#RRGGBB" or three numbers 0-255 separated by spaces or commas.
std::optional<COLORREF> parseColor(const std::wstring& text) {
    if (text.size() == 7 && text[0] == L'#') {
        unsigned value = 0;
        for (size_t i = 1; i < 7; ++i) {
            if (!std::iswxdigit(text[i]))
                return std::nullopt;
            const wchar_t c = static_cast<wchar_t>(std::towlower(text[i]));
            value = value * 16 + static_cast<unsigned>(std::iswdigit(c) ? c - L'0' : c - L'a' + 10);
        }
        return RGB(static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value));
    }
    int parts[3] = {};
    int count = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L' ' || text[i] == L',') {
            ++i;
            continue;
        }
        if (!std::iswdigit(text[i]) || count == 3)
            return std::nullopt;
        long value = 0;
        while (i < text.size() && std::iswdigit(text[i]) && value <= 255)
            value = value * 10 + (text[i++] - L'0');
        if (value > 255)
            return std::nullopt;
        parts[count++] = static_cast<int>(value);
    }
    if (count != 3)
        return std::nullopt;
    return RGB(static_cast<BYTE>(parts[0]), static_cast<BYTE>(parts[1]), static_cast<BYTE>(parts[2]));
}

class ColorDialog : public ModalDialog {
public:
    using ModalDialog::click;

    explicit ColorDialog(CHOOSECOLORW& cc) : cc_(cc), basic_(basicColors()) {
        std::copy(cc.lpCustColors, cc.lpCustColors + 16, custom_.begin());
        color_ = (cc.Flags & CC_RGBINIT) != 0 ? cc.rgbResult & 0xFFFFFFu : RGB(0, 0, 0);
        // A new custom colour goes to the first free slot.
        const auto free = std::find(custom_.begin(), custom_.end(), COLORREF{0});
        slot_ = free == custom_.end() ? 0 : static_cast<int>(free - custom_.begin());
        prompt_.kind = "ColorDialog";
        prompt_.caption = L"Colour";
        prompt_.flags = cc.Flags;
        prompt_.defaultAnswer = IDCANCEL;
    }

    BOOL show() {
        if (run(cc_.hwndOwner, prompt_.caption) != IDOK)
            return FALSE;
        cc_.rgbResult = color_;
        std::copy(custom_.begin(), custom_.end(), cc_.lpCustColors);
        return TRUE;
    }

    void build() override {
        addControl(L"Static", L"&Basic colours:", -1, SS_LEFT,
                   RECT{kMargin, kMargin, kGridRight, kMargin + kLabelH});
        addControl(L"Static", L"&Custom colours:", -1, SS_LEFT,
                   RECT{kMargin, kCustomLabelTop, kGridRight, kCustomLabelTop + kLabelH});
        addControl(L"Static", L"Colour:", -1, SS_LEFT,
                   RECT{kPaneLeft, kMargin, kWidth - kMargin, kMargin + kLabelH});
        const struct {
            int id;
            const wchar_t* label;
        } channels[] = {{COLOR_RED, L"&Red:"}, {COLOR_GREEN, L"&Green:"}, {COLOR_BLUE, L"Bl&ue:"}};
        LONG y = kPreview.bottom + 10;
        for (const auto& channel : channels) {
            addControl(L"Static", channel.label, -1, SS_LEFT, RECT{kPaneLeft, y + 3, kPaneLeft + 60, y + 21});
            addControl(L"Edit", L"", channel.id, WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL,
                       RECT{kPaneLeft + 64, y, kPaneLeft + kPaneWidth, y + 24});
            SendMessageW(GetDlgItem(hwnd_, channel.id), EM_LIMITTEXT, 3, 0);
            y += 30;
        }
        addControl(L"Button", kAddText, COLOR_ADD, WS_TABSTOP | BS_PUSHBUTTON,
                   RECT{kPaneLeft, kCustomTop, kPaneLeft + kPaneWidth, kCustomTop + kButtonH});
        const LONG okLeft = kWidth - kMargin - 2 * kButtonW - 8;
        addControl(L"Button", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON,
                   RECT{okLeft, kButtonsTop, okLeft + kButtonW, kButtonsTop + kButtonH});
        addControl(
            L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON,
            RECT{okLeft + kButtonW + 8, kButtonsTop, okLeft + 2 * kButtonW + 8, kButtonsTop + kButtonH});
        SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
        showChannels();
    }

    SIZE clientSize() const override { return SIZE{kWidth, kHeight}; }

    void command(int id, WORD code, HWND) override {
        switch (id) {
        case COLOR_RED:
        case COLOR_GREEN:
        case COLOR_BLUE:
            if (code == EN_CHANGE && !updating_)
                readChannels();
            return;
        case COLOR_ADD:
            custom_[static_cast<size_t>(slot_)] = color_;
            slot_ = (slot_ + 1) % 16;
            InvalidateRect(hwnd_, nullptr, FALSE);
            return;
        case IDOK:
        case IDCANCEL:
            if (!journaled_)
                pal::responder::answered(prompt_, id == IDOK ? hex(color_) : "cancel",
                                         answering_ ? "responder" : "input");
            journaled_ = true;
            end(id);
            return;
        default:
            return;
        }
    }

    bool message(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd_, &ps);
            paint(dc);
            EndPaint(hwnd_, &ps);
            result = TRUE;
            return true;
        }
        if (message == WM_LBUTTONDOWN) {
            click(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            result = TRUE;
            return true;
        }
        return false;
    }

protected:
    HWND initialFocus() override { return GetDlgItem(hwnd_, IDOK); }

    void respond() override {
        const std::optional<pal::responder::Answer> a = pal::responder::take();
        if (!a) {
            pal::responder::unanswered(prompt_, "cancel");
            journaled_ = true;
            click(IDCANCEL);
            return;
        }
        if (a->number) {
            if (*a->number == IDOK || *a->number == IDCANCEL || *a->number == COLOR_ADD) {
                click(*a->number);
                return;
            }
            refuse(*a, "IDOK, IDCANCEL or the add button was expected");
            return;
        }
        if (const std::optional<COLORREF> color = parseColor(a->text)) {
            setColor(*color);
            return;
        }
        for (int id : {IDOK, IDCANCEL, COLOR_ADD}) {
            if (pal::text::equalsNoCase(withoutMnemonic(heldText(GetDlgItem(hwnd_, id))),
                                        withoutMnemonic(a->text))) {
                click(id);
                return;
            }
        }
        refuse(*a, "neither a colour (#RRGGBB or R G B) nor a button");
    }

private:
    static std::string hex(COLORREF color) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color),
                      GetBValue(color));
        return text;
    }

    void refuse(const pal::responder::Answer& a, const std::string& why) {
        pal::responder::refused(prompt_, a, why);
        journaled_ = true;
        click(IDCANCEL);
    }

    void setColor(COLORREF color) {
        color_ = color & 0xFFFFFFu;
        showChannels();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void showChannels() {
        updating_ = true;
        const BYTE values[3] = {GetRValue(color_), GetGValue(color_), GetBValue(color_)};
        const int ids[3] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
        for (int i = 0; i < 3; ++i)
            SetDlgItemInt(hwnd_, ids[i], values[i], FALSE);
        updating_ = false;
    }

    // A channel left empty counts as 0 and one above 255 as 255, shown so at once.
    void readChannels() {
        const int ids[3] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
        BYTE values[3] = {};
        bool corrected = false;
        for (int i = 0; i < 3; ++i) {
            const std::wstring text = heldText(GetDlgItem(hwnd_, ids[i]));
            long value = 0;
            for (wchar_t c : text)
                if (std::iswdigit(c))
                    value = std::min(value * 10 + (c - L'0'), 1000L);
            corrected = corrected || value > 255;
            values[i] = static_cast<BYTE>(std::min(value, 255L));
        }
        color_ = RGB(values[0], values[1], values[2]);
        if (corrected)
            showChannels();
        InvalidateRect(hwnd_, &kPreview, FALSE);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void click(POINT pt) {
        for (int i = 0; i < kColumns * kBasicRows; ++i) {
            const RECT r = cellRect(kBasicTop, i);
            if (PtInRect(&r, pt)) {
                setColor(basic_[static_cast<size_t>(i)]);
                return;
            }
        }
        for (int i = 0; i < 16; ++i) {
            const RECT r = cellRect(kCustomTop, i);
            if (PtInRect(&r, pt)) {
                slot_ = i;
                setColor(custom_[static_cast<size_t>(i)]);
                return;
            }
        }
    }

    void cell(HDC dc, RECT r, COLORREF color, bool chosen) {
        InflateRect(&r, -3, -3);
        const HBRUSH fill = CreateSolidBrush(color);
        FillRect(dc, &r, fill);
        DeleteObject(fill);
        const HBRUSH edge = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
        FrameRect(dc, &r, edge);
        DeleteObject(edge);
        if (chosen) {
            InflateRect(&r, 2, 2);
            const HBRUSH mark = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
            FrameRect(dc, &r, mark);
            InflateRect(&r, -1, -1);
            FrameRect(dc, &r, mark);
            DeleteObject(mark);
        }
    }

    void paint(HDC dc) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        const HBRUSH back = GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &client, back);
        bool marked = false;
        for (int i = 0; i < kColumns * kBasicRows; ++i) {
            const bool chosen = !marked && basic_[static_cast<size_t>(i)] == color_;
            marked = marked || chosen;
            cell(dc, cellRect(kBasicTop, i), basic_[static_cast<size_t>(i)], chosen);
        }
        for (int i = 0; i < 16; ++i)
            cell(dc, cellRect(kCustomTop, i), custom_[static_cast<size_t>(i)] & 0xFFFFFFu, i == slot_);
        RECT preview = kPreview;
        const HBRUSH fill = CreateSolidBrush(color_);
        FillRect(dc, &preview, fill);
        DeleteObject(fill);
        const HBRUSH edge = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
        FrameRect(dc, &preview, edge);
        DeleteObject(edge);
    }

    CHOOSECOLORW& cc_;
    std::array<COLORREF, kColumns * kBasicRows> basic_;
    std::array<COLORREF, 16> custom_{};
    COLORREF color_ = 0;
    int slot_ = 0;
    bool updating_ = false;
    bool journaled_ = false;
};

} // namespace
} // namespace pal::ctl

BOOL ChooseColorW(LPCHOOSECOLORW cc) {
    pal::ctl::lastError = 0;
    if (cc == nullptr || cc->lStructSize < sizeof(CHOOSECOLORW)) {
        pal::ctl::lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (cc->lpCustColors == nullptr) {
        pal::ctl::lastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    pal::ctl::ColorDialog dialog(*cc);
    return dialog.show();
}
