// A dialog of this library that asks a person something (message box, file dialog), made by the
// dialog manager and run by its own modal loop: when its queue runs dry its owner hears
// WM_ENTERIDLE, and when that brings nothing a person at the display answers, or else the
// responder.
#pragma once

#include "win/controls.h"

#include "pal/responder.h"

#include <string>

namespace pal::ctl {

class ModalDialog {
public:
    virtual ~ModalDialog() = default;

    // Shows the dialog over its owner and returns the result given to end().
    int run(HWND owner, const std::wstring& caption);
    void end(int result);

    virtual void command(int id, WORD code, HWND control) = 0;
    // A control's WM_NOTIFY; the answer is the message's result.
    virtual LRESULT notify(const NMHDR*) { return 0; }
    // Any other message of the dialog (painting, owner drawing, clicks on its own surface);
    // true when handled, with the dialog procedure's answer in `result`.
    virtual bool message(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }
    // Makes the controls; the window exists and has its font.
    virtual void build() = 0;
    // The size of the client area, once the controls are made.
    virtual SIZE clientSize() const = 0;
    HWND hwnd_ = nullptr;

protected:
    // Takes the next answer of the responder and carries it out through the controls.
    virtual void respond() = 0;
    // The control that has the focus first.
    virtual HWND initialFocus();

    HWND addControl(const wchar_t* cls, const std::wstring& text, int id, DWORD style, RECT r,
                    DWORD exStyle = 0);
    // Presses a button the way a click does.
    void click(int id);
    // The size text takes in the dialog's font, wrapped at `width` when it is not 0.
    SIZE measure(const std::wstring& text, LONG width) const;

    HWND owner_ = nullptr;
    pal::responder::Prompt prompt_;
    // Set while the responder's answer is being carried out.
    bool answering_ = false;

private:
    bool ended_ = false;
    int result_ = 0;
};

// What CommDlgExtendedError reports: the last common dialog's failure, 0 after a good run.
extern thread_local DWORD lastError;

// The text a control holds, without asking its procedure.
std::wstring heldText(HWND hwnd);
// A label as shown: without its '&' marks.
std::wstring withoutMnemonic(const std::wstring& text);

} // namespace pal::ctl
