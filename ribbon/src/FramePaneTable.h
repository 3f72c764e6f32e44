// The docking panes of a main frame as data: creation order, the application's window of each,
// caption, icon, group and whether the first frame starts with it closed.
#pragma once

#include "ribbon/FrameToolsApplication.h"
#include "win/types.h"

#include <span>

namespace dvribbon {

enum class PaneGroup { Left, Bottom, BelowLeft, Right, None };
enum class CaptionSource { Key, String, PanelString, Window };
// Closed in the first frame: always, never, or by the application mode.
enum class FirstFrameClosed { Yes, No, InMode256, InModes128And256 };

struct PaneRow {
    int id;
    // The application's window of the pane, made when missing.
    CWnd* (*window)(FrameToolsApplication& application);
    CaptionSource captionSource;
    const wchar_t* captionKey; // for CaptionSource::Key
    UINT captionId;            // for String and PanelString
    int icon;                  // a command id; 0 none
    PaneGroup group;
    FirstFrameClosed closed;
    bool tall = false;         // bottom group: 270 x 240 in place of 270 x 40
    bool ownSideRight = false; // left group, but docked right while that group is empty
};

std::span<const PaneRow> paneTable();
const PaneRow* findPaneRow(int paneId);

// The order in which the first frame closes its always-closed panes.
std::span<const int> firstFrameCloseOrder();

} // namespace dvribbon
