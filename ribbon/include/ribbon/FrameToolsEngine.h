// The tool part of every main frame: it builds the frame's docking panes when the frame's window
// is created, finds a pane by its toggle command, keeps the frame's settings with the settings
// profile, gives the status line its command prompts and runs the commands a person types by
// their codes.
#pragma once

#include "pal/visibility.h"

#include "DravikKernel/ProfileManager.h"
#include "afxwin.h"

#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CManipPanel;
class CStatusLine;
class CXTPDockingPane;

namespace Dravik::UI {
class GenericMainFrame;
}

class CFrameToolsEngine : public DravikProfileItem {
public:
    // Pane ids of the panes the engine makes.
    static constexpr int kDrawMenuPane = 1004;
    static constexpr int kPropertiesPane = 1007;

    // Status-line prompts.
    static constexpr UINT kIdlePromptId = 57345;
    static constexpr UINT kTypedCommandsHelpCommand = 2924;

    CFrameToolsEngine();
    ~CFrameToolsEngine() override;

    // The frame the engine serves; every operation that needs it does nothing without it.
    void SetMainFrame(Dravik::UI::GenericMainFrame* frame) { m_mainFrame = frame; }
    Dravik::UI::GenericMainFrame* GetMainFrame() const { return m_mainFrame; }

    // Builds the frame's docking panes (and the frame's other tools) once, when its window is
    // made; false when the frame is missing or something cannot be made.
    bool CreateDockingPanesAndToolBars();
    void CreateManipPanelKind1();
    void CreateManipPanelKind2();
    CManipPanel* GetManipPanel(int number) const;

    // The frame's pane shown by a pane-toggle command (782-799, 811-826); null for any other id
    // or when the frame has no such pane.
    CXTPDockingPane* FindPaneByCommand(UINT commandId) const;
    // The pane id a pane-toggle command stands for; 0 for any other id.
    static int GetPaneIdOfCommand(UINT commandId);
    // The shared pane window that a pane of the engine shows; null for other ids.
    static CWnd* GetPaneWindow(int paneId);

    // Settings profile: version 1 of the engine's state.
    int LoadState() override;
    int SaveState() override;
    void GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const override;
    unsigned GetVersion() const override { return 1; }

    // The status-line prompt of a command id; false when there is none.
    virtual bool GetMessageString(UINT id, std::wstring& text) const;
    // A key pressed in the frame; true when it was taken.
    bool OnTypedCommandKey(UINT virtualKey);

    CStatusLine* GetStatusLine() const { return m_statusLine.get(); }

private:
    Dravik::UI::GenericMainFrame* m_mainFrame = nullptr;
    std::unique_ptr<CStatusLine> m_statusLine;
    std::unique_ptr<CManipPanel> m_manipPanel1;
    std::unique_ptr<CManipPanel> m_manipPanel2;
    DWORD m_orsaPaneMask = 3;
    CRect m_rect;
};

DV_EXPORTS_END
