// A dialog of this library (message box, file dialog) and its modal loop: the dialog runs until
// end(); when its queue runs dry its owner hears WM_ENTERIDLE, and when that brings nothing the
// responder is asked, as nobody is at a display to answer.
#pragma once

#include "controls.h"

#include "pal/responder.h"

#include <string>

namespace pal::controls {

class ModalDialog {
public:
    virtual ~ModalDialog() = default;

    // Shows the dialog over its owner and returns the result given to end().
    int run(HWND owner, const std::wstring& caption, SIZE client);
    void end(int result);
    bool ended() const { return ended_; }
    HWND hwnd() const { return hwnd_; }
    int defaultId() const { return defaultId_; }
    void setDefaultId(int id) { defaultId_ = id; }

    // Called by the dialog class's procedure.
    virtual void command(int id, WORD code, HWND control) = 0;
    virtual void paintFace(HDC dc) {}

protected:
    // Makes the controls; the window exists.
    virtual void build() = 0;
    // Takes the next answer of the responder and carries it out through the controls.
    virtual void respond() = 0;
    // The control that has the focus first.
    virtual HWND initialFocus();

    HWND addControl(const wchar_t* cls, const std::wstring& text, int id, DWORD style, RECT r,
                    DWORD exStyle = 0);
    // Presses a button the way a click does.
    void click(int id);

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    int defaultId_ = IDOK;
    pal::responder::Prompt prompt_;
    // Set while the responder's answer is being carried out.
    bool answering_ = false;

private:
    bool ended_ = false;
    int result_ = 0;
};

} // namespace pal::controls
