// The status line of a main frame: messages, the running command's prompt, cursor coordinates,
// the nested progress of long kernel operations and the progress of background tasks with the
// buttons that pause, resume and interrupt them.
#pragma once

#include "DravikKernel/ModuleProxies.h"
#include "afxcmn.h"
#include "pal/visibility.h"
#include "xtp/Button.h"
#include "xtp/StatusBar.h"

#include <array>
#include <memory>
#include <string>

DV_EXPORTS_BEGIN

// A progress bar that paints its percentage over the filled part.
class CTextProgressCtrl : public CProgressCtrl {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(CDC& dc);
};

class CStatusLine : public CXTPStatusBar, public StatusLineProxy {
    DECLARE_DYNAMIC(CStatusLine)
public:
    // Pane ids, left to right.
    static constexpr UINT kPaneIds[8] = {0, 104, 105, 106, 107, 108, 109, 110};
    // The background-task buttons, left to right.
    enum Button { Pause, Resume, Interrupt, ShowPane, ButtonCount };
    static constexpr UINT kButtonCommands[ButtonCount] = {886, 887, 723, 822};

    CStatusLine();
    ~CStatusLine() override;

    // Builds the panes for the screen's width once the status bar's window exists.
    void CreatePanes();

    // The frame tools' shorthand for the message pane.
    void SetMessage(const std::wstring& text) { SetMessage(text.c_str()); }
    std::wstring GetMessage() const;

    std::wstring GetPrompt() const override { return m_prompt; }
    void SetMessage(const wchar_t* text) override;
    void SetPrompt(const wchar_t* text, bool redraw) override;
    void SetCoordinateX(const wchar_t* text, bool prefixed) override;
    void SetCoordinateY(const wchar_t* text, bool prefixed) override;
    void SetInfoText(const wchar_t* text) override;
    void SetBackgroundTaskText(const wchar_t* text) override;
    bool IsProgressActive() const override;
    bool BeginProgress() override;
    void SetStep(int step) override;
    void SetRange(int maximum) override;
    void StepIt() override;
    void SetPos(int position) override;
    bool EndProgress() override;
    void SuspendUpdates(bool suspend) override;
    int GetStep() const override { return m_step; }
    int GetRange() const override { return m_maximum; }
    int GetPos() const override { return m_position; }
    bool BeginBackgroundProgress(bool marquee) override;
    void SetBackgroundProgress(int percent) override;
    bool EndBackgroundProgress() override;

    int GetUpdateCounter() const { return m_counter; }
    CProgressCtrl& GetProgressBar() { return m_progress; }
    CTextProgressCtrl& GetBackgroundProgressBar() { return m_background; }
    CXTPButton* GetButton(Button button) const { return m_buttons[button].get(); }
    const std::wstring& GetButtonToolTip(Button button) const { return m_tips[button]; }
    bool IsMarqueeRunning() const { return m_marquee; }
    // How often the window was repainted at once (UpdateWindow) for the prompt or a progress.
    int GetRepaintCount() const { return m_repaints; }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Throttle {
        DWORD start = 0;
        DWORD count = 0;
    };

    bool allowRedraw(Throttle& throttle) const;
    void updateProgress();
    void repaint();
    void setPane(int index, const wchar_t* text);
    void placeBackground(CRect* bar);
    void placeButton(Button button, const CRect& rect);
    void onCommand(UINT id);
    void setMarquee(bool on);

    std::wstring m_prompt;
    int m_counter = 0;
    int m_position = 0;
    int m_step = 0;
    int m_maximum = 0;
    Throttle m_progressThrottle;
    Throttle m_promptThrottle;
    CProgressCtrl m_progress;
    CTextProgressCtrl m_background;
    std::array<std::unique_ptr<CXTPButton>, ButtonCount> m_buttons;
    std::array<std::wstring, ButtonCount> m_tips;
    std::wstring m_message;
    int m_repaints = 0;
    bool m_marquee = false;
};

DV_EXPORTS_END
