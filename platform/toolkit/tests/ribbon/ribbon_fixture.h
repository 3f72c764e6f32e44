// A main frame with command bars, a ribbon of two tabs and three groups on the first, and its
// documents; everything the ribbon tells the frame is written to a log.
#pragma once

#include "../tabclient/tab_client_fixture.h"

#include <map>
#include <string>
#include <vector>

namespace toolkit_test {

// Command ids of the ribbon's controls.
enum : int {
    ID_PASTE = 101,
    ID_CUT,
    ID_COPY,
    ID_PAINTER,
    ID_BOLD = 111,
    ID_ITALIC,
    ID_UNDERLINE,
    ID_GROW,
    ID_SHRINK,
    ID_FIND = 121,
    ID_REPLACE,
    ID_SELECT,
    ID_ZOOM = 131,
    ID_ZOOM100,
    ID_NEWWINDOW,
    ID_SAVE = 141,
    ID_UNDO,
    ID_REDO,
    ID_GROUP_CLIPBOARD = 151,
    ID_GROUP_FONT,
    ID_GROUP_EDITING,
    ID_GROUP_ZOOM,
    ID_BACKSTAGE_SAVEAS = 161,
    ID_BACKSTAGE_RECENT,
};

class LoggingRibbon : public CXTPRibbonBar {
    DECLARE_DYNCREATE(LoggingRibbon)
public:
    ~LoggingRibbon() override;
    std::vector<std::string>* log = nullptr;
    bool refuse = false;
    int largeIcon = 0;            // a large-icon size of the ribbon's own, 0 for the default
    std::map<int, int> iconAsked; // the last icon size asked for, by command
    CSize GetLargeIconSize() const override;
    BOOL OnTabChanging(CXTPRibbonTab* pTab) override;
    void OnTabChanged(CXTPRibbonTab* pTab) override;
    // Simple pictures: a coloured tile per command, in the size asked.
    HICON GetControlIcon(CXTPControl* pControl, int nSize) override;
    static COLORREF IconColor(int id);

private:
    std::vector<std::pair<long, HICON>> icons_;
};

class RibbonFrame : public CXTPMDIFrameWnd {
    DECLARE_DYNCREATE(RibbonFrame)
public:
    std::vector<std::string> log;
    bool refuseChanging = false;
    LoggingRibbon* ribbon = nullptr;
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRibbonCommand(UINT nID);
    LRESULT OnRibbonMinimized(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};

// Fills the ribbon: Home with Clipboard, Font and Editing; View with Zoom; three quick access
// commands.
void buildRibbon(CXTPRibbonBar* ribbon);

class RibbonApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

class RibbonTest : public pal::test::SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;
    CPoint onScreen(CPoint client) const;
    // The ribbon's width set through the frame's.
    void setRibbonWidth(int width);
    void drag(CPoint from, CPoint to);

    RibbonApp app;
    pal::test::AppRun run{app};
    RibbonFrame* frame = nullptr;
    LoggingRibbon* ribbon = nullptr;
};

} // namespace toolkit_test
