#include "FieldProcedures.h"
#include "Forms.h"
#include "Procedures.h"

#include <cmath>

namespace stamps {
namespace {

constexpr WORD kMainTemplate = 200;
constexpr short kFieldHeight = 11;
constexpr const wchar_t* kFormats[] = {L"A0", L"A1", L"A2", L"A3", L"A4"};

bool inside(const Cell& inner, const Cell& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

// A multi-line box that takes no further Enter once it holds its limit of carriage returns;
// any other key makes it editable again. Pasted text is not checked.
class LimitedEdit : public CEdit {
public:
    explicit LimitedEdit(int limit) : limit_(limit) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) {
            if (wParam != L'\r')
                SetReadOnly(FALSE);
            else if (GetCountSymb(controlText(m_hWnd), L"\r") >= limit_)
                SetReadOnly(TRUE);
        }
        return CEdit::WindowProc(message, wParam, lParam);
    }

private:
    int limit_;
};

} // namespace

MainForm::MainForm(const ProgramLayout& layout, TitleBlockServer& server)
    : CDialog(kMainTemplate), layout_(layout), server_(server),
      procedures_(server, layout.name, layout.stripQuotes),
      form_(kMainTemplate, L"StampForm", layout.width, layout.height) {
    for (const Caption& c : layout.captions)
        if (*c.text)
            form_.label(c.text, static_cast<short>(c.cell.x + 1),
                        static_cast<short>(c.cell.y + (c.cell.cy - 8) / 2), static_cast<short>(c.cell.cx - 2),
                        8, SS_CENTER);
    for (const Field& f : layout.fields) {
        if (f.onForm3 || f.kind == FieldKind::Flag)
            continue;
        const Cell& c = f.cell;
        const short x = static_cast<short>(c.x + 2), cx = static_cast<short>(c.cx - 4);
        const short middle = static_cast<short>(c.y + (c.cy - kFieldHeight) / 2);
        switch (f.kind) {
        case FieldKind::Person:
        case FieldKind::Format:
            form_.add(f.control, L"ComboBox", L"", CBS_DROPDOWN | WS_TABSTOP, x,
                      static_cast<short>(c.y + (c.cy - 12) / 2), cx, 80);
            break;
        case FieldKind::MultiLine:
            form_.add(f.control, L"Edit", L"",
                      ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP, x,
                      static_cast<short>(c.y + 2), cx, static_cast<short>(c.cy - 4));
            break;
        default:
            form_.add(f.control, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, x, middle, cx,
                      kFieldHeight);
            break;
        }
    }
    for (const Button& b : layout.buttons) {
        const bool onGrid = inside(b.cell, layout.grid);
        const DWORD notify = std::wstring(b.control) == L"Parametr" ? BS_NOTIFY : 0;
        form_.add(b.control, L"Button", b.caption, BS_PUSHBUTTON | WS_TABSTOP | notify,
                  static_cast<short>(b.cell.x + (onGrid ? 1 : 0)),
                  static_cast<short>(b.cell.y + (onGrid ? 1 : (b.cell.cy - 14) / 2)),
                  static_cast<short>(b.cell.cx - (onGrid ? 2 : 0)),
                  onGrid ? static_cast<short>(b.cell.cy - 2) : 14);
    }
    form_.controls.ok = form_.controls.ids.at(L"Command1");
    form_.controls.cancel = form_.controls.ids.at(L"Command2");
    form_.seal();
}

MainForm::~MainForm() = default;

int MainForm::run() {
    if (!Create(m_nIDTemplate))
        return -1;
    const int result = failure_.empty() ? RunModalLoop() : IDABORT;
    DestroyWindow();
    return result;
}

HWND MainForm::control(const std::wstring& name) const {
    const auto found = form_.controls.ids.find(name);
    if (found != form_.controls.ids.end())
        return ::GetDlgItem(m_hWnd, found->second);
    return extra_ ? extra_->control(name) : nullptr;
}

HWND MainForm::fieldControl(const Field& field) const {
    return field.onForm3 && extra_ ? extra_->control(field.control) : control(field.control);
}

BOOL MainForm::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const Field& f : layout_.fields) {
        if (f.kind == FieldKind::Format)
            for (const wchar_t* format : kFormats)
                addComboItem(control(f.control), format);
        if (f.kind == FieldKind::MultiLine && layout_.lineLimits && f.lineLimit > 0) {
            auto edit = std::make_unique<LimitedEdit>(f.lineLimit);
            edit->SubclassDlgItem(form_.controls.ids.at(f.control), this);
            subclassed_[f.control] = std::move(edit);
        }
    }
    // The window's place is kept in twips, 15 to a pixel.
    const int left = static_cast<int>(std::lround(storedTwips(L"MainLeft") / 15));
    const int top = static_cast<int>(std::lround(storedTwips(L"MainTop") / 15));
    SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout_.topmost) {
        RECT r{};
        GetWindowRect(&r);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    if (layout_.form3) {
        std::map<std::wstring, bool> bound;
        for (const Field& f : layout_.fields)
            if (f.onForm3 && f.variable)
                bound[f.control] = true;
        extra_ = std::make_unique<ExtraForm>(this, bound);
        extra_->make();
    }
    try {
        load();
    } catch (const ServerError& e) {
        fail(e);
    }
    return TRUE;
}

void MainForm::load() {
    for (const Field& f : layout_.fields) {
        const HWND box = fieldControl(f);
        if (!f.variable) {
            // Nothing would keep what is typed here.
            ::EnableWindow(box, FALSE);
        } else if (f.kind == FieldKind::Flag) {
            procedures_.GR(f.variable, spravTabl_);
            if (layout_.flag == FlagUse::ReadWrite) {
                extra_->setChecked(!flagIsOff(spravTabl_));
            } else if (layout_.flag == FlagUse::ReadOnly && flagIsOff(spravTabl_)) {
                extra_->setChecked(false);
                ::EnableWindow(box, FALSE);
            }
        } else if (f.kind == FieldKind::Person) {
            procedures_.GC(f.variable, {box, f.control});
        } else {
            procedures_.GV(f.variable, box);
        }
    }
}

void MainForm::commit() {
    for (const Field& f : layout_.fields) {
        const HWND box = fieldControl(f);
        if (!f.variable)
            continue;
        if (f.kind == FieldKind::Flag) {
            if (layout_.flag == FlagUse::ReadWrite)
                procedures_.SR(f.variable, extra_->checked() ? L"1" : L"-1");
        } else if (f.kind == FieldKind::Person) {
            procedures_.SC(f.variable, {box, f.control});
        } else {
            procedures_.SV(f.variable, box);
        }
    }
    server_.OK(kUndoName);
    unload(Ending::Ok);
}

void MainForm::unload(Ending how) {
    // OK and Cancel unload the form, and the form's unloading must not run a second time.
    if (unloaded_)
        return;
    unloaded_ = true;
    RECT r{};
    GetWindowRect(&r);
    storeTwips(L"MainLeft", r.left * 15.0);
    storeTwips(L"MainTop", r.top * 15.0);
    if (layout_.unloadFocuses && extra_)
        extra_->DestroyWindow();
    if (how != Ending::CloseBox || layout_.unloadFocuses)
        server_.SetFocus();
    EndModalLoop(how == Ending::Ok ? IDOK : IDCANCEL);
}

void MainForm::fail(const ServerError& error) {
    failure_ = error.what();
    unloaded_ = true;
    EndModalLoop(IDABORT);
}

void MainForm::addPerson() {
    if (personFocus_ == 0)
        return;
    for (const Field& f : layout_.fields) {
        if (f.personFocus != personFocus_)
            continue;
        const HWND combo = control(f.control);
        const std::wstring text = controlText(combo);
        if (!text.empty())
            addComboItem(combo, text);
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    }
}

void MainForm::deletePerson() {
    if (personFocus_ == 0)
        return;
    for (const Field& f : layout_.fields) {
        if (f.personFocus != personFocus_)
            continue;
        const HWND combo = control(f.control);
        const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (selected >= 0)
            SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    }
}

void MainForm::datePicker(int index) {
    const auto enable = [&](bool on) {
        ::EnableWindow(control(L"Add"), on);
        ::EnableWindow(control(L"Delete"), on);
    };
    enable(false);
    const HWND box = control(L"Дата(" + std::to_wstring(index) + L")");
    const std::wstring text = controlText(box);
    SYSTEMTIME value{};
    GetLocalTime(&value);
    if (!text.empty())
        dateFromText(text, value); // a text that is no date opens the calendar on today
    CalendarForm calendar(this, value, text);
    calendar.DoModal();
    ::SetWindowTextW(box, calendar.tag().c_str());
}

void MainForm::command(int id, int code, HWND) {
    std::wstring name;
    for (const auto& [n, i] : form_.controls.ids)
        if (i == id)
            name = n;
    const Field* field = nullptr;
    for (const Field& f : layout_.fields)
        if (!f.onForm3 && name == f.control)
            field = &f;
    const auto enableAddDelete = [&](bool on) {
        if (!layout_.addDelete)
            return;
        ::EnableWindow(control(L"Add"), on);
        ::EnableWindow(control(L"Delete"), on);
    };
    try {
        if (code == BN_CLICKED) {
            if (name == L"Command1")
                commit();
            else if (name == L"Command2") {
                server_.Cancel();
                unload(Ending::Cancel);
            } else if (name == L"Parametr" && extra_)
                extra_->showModal();
            else if (name == L"Add")
                addPerson();
            else if (name == L"Delete")
                deletePerson();
            else if (name.starts_with(L"Дата_кн("))
                datePicker(std::stoi(name.substr(8)));
        } else if (code == CBN_SETFOCUS && field && field->personFocus > 0) {
            personFocus_ = field->personFocus;
            enableAddDelete(true);
        } else if ((code == EN_SETFOCUS && field) || (code == BN_SETFOCUS && name == L"Parametr")) {
            enableAddDelete(false);
        }
    } catch (const ServerError& e) {
        fail(e);
    }
}

void MainForm::paintGrid() {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(m_hWnd, &ps);
    const auto frame = [&](const Cell& c, int thickness) {
        RECT r{c.x, c.y, c.x + c.cx, c.y + c.cy};
        ::MapDialogRect(m_hWnd, &r);
        for (int i = 0; i < thickness; ++i) {
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&r, 1, 1);
        }
    };
    for (const Caption& c : layout_.captions)
        if (inside(c.cell, layout_.grid))
            frame(c.cell, 1);
    for (const Field& f : layout_.fields)
        if (!f.onForm3 && f.kind != FieldKind::Flag && inside(f.cell, layout_.grid))
            frame(f.cell, 1);
    frame(layout_.grid, 2);
    EndPaint(m_hWnd, &ps);
}

LRESULT MainForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KICKIDLE:
        if (!pal::responder::personAnswers())
            respond(m_hWnd, form_.controls);
        return FALSE;
    case WM_PAINT:
        paintGrid();
        return 0;
    case WM_CLOSE:
        try {
            unload(Ending::CloseBox);
        } catch (const ServerError& e) {
            fail(e);
        }
        return 0;
    case WM_COMMAND:
        // Enter and Escape belong to the boxes; only the form's own buttons end it.
        if (lParam != 0)
            command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

} // namespace stamps
