// The colours and measures the panes paint with, light or dark.
#pragma once

#include "afxwin.h"

namespace dvtk::docking {

struct Palette {
    COLORREF background; // behind the panes and in the bars between them
    COLORREF caption;    // caption strip of an inactive container
    COLORREF captionText;
    COLORREF activeCaption; // caption strip of the container holding the focus
    COLORREF activeCaptionText;
    COLORREF tab; // an unselected tab
    COLORREF tabText;
    COLORREF selectedTab;
    COLORREF selectedTabText;
    COLORREF border;
    COLORREF content; // an empty pane
    COLORREF glyph;   // close and pin buttons
};

const Palette& palette(bool dark);

// Measures at 96 dots per inch.
constexpr int kCaptionHeight = 22;
constexpr int kTabHeight = 24;
constexpr int kSplitterWidth = 5;
constexpr int kButtonSize = 16;
constexpr int kAutoHideThickness = 24;
// Room the frame's own client keeps however wide the panes ask to be.
constexpr int kMinClient = 32;

// A small text writer for the container, side panel and caption paint.
void drawText(CDC& dc, const CString& text, CRect rc, COLORREF colour, UINT format);
void drawCloseGlyph(CDC& dc, const CRect& rc, COLORREF colour);
void drawPinGlyph(CDC& dc, const CRect& rc, COLORREF colour, bool pinned);

} // namespace dvtk::docking
