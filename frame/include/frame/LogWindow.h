// The log window: a top-level window that shows this process's log read-only and follows it as
// it grows. Closing it only hides it; the application shows it again on request.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class LogWindow : public CWnd {
public:
    static constexpr UINT kEditId = 59648;

    LogWindow();
    ~LogWindow() override;

    // The window, captioned with the translation of "log_window"; false when it was not made.
    bool Create();
    // The UI module's theme number, handed to the text.
    void SetTheme(int theme);
    int GetTheme() const { return m_theme; }
    // Reads what the log gained since the last time and appends it.
    void Refresh();
    CEdit& GetEdit() { return m_edit; }

protected:
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

private:
    CEdit m_edit;
    CFont m_font;
    int m_theme = -1;
    std::uint64_t m_shown = 0;
};

} // namespace Dravik::UI

DV_EXPORTS_END
