// The help window a main frame shows pages in: a top-level window that takes the right quarter of
// the main frame's room and stays beside it. It tells the frame tools that made it when it goes.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CFrameToolsEngine;

class CEmbeddedHelpFrame : public CFrameWnd {
    DECLARE_DYNAMIC(CEmbeddedHelpFrame)
public:
    static constexpr UINT kCaptionStringId = 41454;

    explicit CEmbeddedHelpFrame(CFrameToolsEngine* owner);
    ~CEmbeddedHelpFrame() override;

    // Makes the window once; false without a main frame or when it cannot be made.
    bool CreateHelpWindow();
    bool Navigate(const std::wstring& url);
    const std::wstring& GetUrl() const { return m_url; }
    // The main frame moved or was sized: the help window follows its right edge.
    void KeepBesideMainFrame();
    bool IsKeptBeside() const { return m_keepBeside; }
    // The owner no longer wants to hear of the window's end (it has let go of it).
    void ReleaseOwner() { m_owner = nullptr; }

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CFrameToolsEngine* m_owner;
    class PageView;
    PageView* m_view = nullptr; // a child window: destroyed with the frame
    bool m_keepBeside = true;
    bool m_adjusting = false;
    // Where the main frame was when the help came, given back when it goes.
    CRect m_mainRect;
    bool m_mainWasMaximised = false;
    HWND m_mainFrame = nullptr;
    std::wstring m_url;
};

DV_EXPORTS_END
