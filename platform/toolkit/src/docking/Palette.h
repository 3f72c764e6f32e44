// The colours and measures the panes paint with, taken from the paint manager's theme.
#pragma once

#include "afxwin.h"

namespace dvtk::docking {

struct Palette {
    COLORREF background; // behind the panes and in the bars between them
    COLORREF caption;    // caption strip of a container without the focus
    COLORREF captionText;
    COLORREF activeCaption; // caption strip of the container holding the focus
    COLORREF activeCaptionText;
    COLORREF tab; // an unselected tab
    COLORREF tabText;
    COLORREF selectedTab;
    COLORREF selectedTabText;
    COLORREF border;
    COLORREF content; // an empty pane
};

// The shared paint manager's theme as the panes use it.
Palette currentPalette();

// Measures at 96 dots per inch.
constexpr int kCaptionHeight = 22;
constexpr int kTabHeight = 24;
constexpr int kSplitterWidth = 5;
constexpr int kButtonSize = 16;
constexpr int kAutoHideThickness = 24;
// Room the frame's own client keeps however wide the panes ask to be.
constexpr int kMinClient = 32;

void drawText(CDC& dc, const CString& text, CRect rc, COLORREF colour, UINT format);
void drawCloseGlyph(CDC& dc, const CRect& rc, COLORREF colour);
void drawPinGlyph(CDC& dc, const CRect& rc, COLORREF colour, bool pinned);

} // namespace dvtk::docking
