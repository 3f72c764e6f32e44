#include "Forms.h"

namespace stamps {
namespace {
constexpr WORD kExtraTemplate = 201;
constexpr short kCaptionWidth = 70, kBoxWidth = 110, kLine = 16, kMargin = 7;
constexpr short kWidth = kMargin + kCaptionWidth + kBoxWidth + kMargin;
} // namespace

ExtraForm::ExtraForm(CWnd* owner, const std::map<std::wstring, bool>& bound)
    : form_(kExtraTemplate, L"Дополнительные параметры", kWidth, kMargin + 9 * kLine + 14 + kMargin),
      owner_(owner), bound_(bound) {
    short y = kMargin;
    for (const ExtraBox& box : extraBoxes()) {
        if (box.followsFlag && check_ == 0) {
            check_ = form_.add(L"Check", L"Button", L"Справочная таблица", BS_AUTOCHECKBOX | WS_TABSTOP,
                               kMargin, y + 2, kCaptionWidth + kBoxWidth, 10);
            y += kLine;
        }
        form_.label(box.caption, kMargin, static_cast<short>(y + 2), kCaptionWidth - 4, 9);
        form_.add(box.control, L"Edit", L"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, kMargin + kCaptionWidth,
                  y, kBoxWidth, 12);
        y += kLine;
    }
    y += kLine / 2;
    ok_ = form_.add(L"ОК", L"Button", L"ОК", BS_PUSHBUTTON | WS_TABSTOP, kWidth - kMargin - 2 * 55 - 4, y, 52,
                    14);
    cancel_ = form_.add(L"Отменить", L"Button", L"Отменить", BS_PUSHBUTTON | WS_TABSTOP,
                        kWidth - kMargin - 55, y, 55, 14);
    form_.controls.ok = ok_;
    form_.controls.cancel = cancel_;
    form_.seal();
}

BOOL ExtraForm::make() {
    // Made hidden: the template's controls are visible, the form is not until asked for.
    if (!Create(kExtraTemplate, owner_))
        return FALSE;
    ShowWindow(SW_HIDE);
    for (const ExtraBox& box : extraBoxes())
        ::EnableWindow(control(box.control), !box.followsFlag && bound_.count(box.control) != 0);
    return TRUE;
}

HWND ExtraForm::control(const std::wstring& name) const {
    const auto found = form_.controls.ids.find(name);
    return found == form_.controls.ids.end() ? nullptr : ::GetDlgItem(m_hWnd, found->second);
}

bool ExtraForm::checked() const {
    return ::IsDlgButtonChecked(m_hWnd, check_) == BST_CHECKED;
}

void ExtraForm::setChecked(bool on) {
    if (checked() == on)
        return;
    ::CheckDlgButton(m_hWnd, check_, on ? BST_CHECKED : BST_UNCHECKED);
    followFlag();
}

void ExtraForm::followFlag() {
    // The reference-table boxes follow the flag, but only where a variable takes what is typed.
    for (const ExtraBox& box : extraBoxes())
        if (box.followsFlag)
            ::EnableWindow(control(box.control), checked() && bound_.count(box.control) != 0);
}

void ExtraForm::showModal() {
    const HWND owner = owner_ ? owner_->m_hWnd : nullptr;
    const bool disable = owner && ::IsWindowEnabled(owner);
    if (disable)
        ::EnableWindow(owner, FALSE);
    ShowWindow(SW_SHOWNORMAL);
    RunModalLoop();
    ShowWindow(SW_HIDE);
    if (disable)
        ::EnableWindow(owner, TRUE);
    if (owner)
        ::SetActiveWindow(owner);
}

LRESULT ExtraForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KICKIDLE:
        if (!pal::responder::personAnswers())
            respond(m_hWnd, form_.controls);
        return FALSE;
    case WM_CLOSE:
        // The close box hides the form like its buttons: what was typed is kept for OK.
        EndModalLoop(IDCANCEL);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && (id == ok_ || id == cancel_))
            EndModalLoop(id == ok_ ? IDOK : IDCANCEL);
        else if (HIWORD(wParam) == BN_CLICKED && id == check_)
            followFlag();
        return 0;
    }
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

} // namespace stamps
