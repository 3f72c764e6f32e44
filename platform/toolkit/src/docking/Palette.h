// The colours and measures the panes paint with, taken from the paint manager's theme.
#pragma once

#include "afxwin.h"
#include "xtp/PaintManager.h"

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

// Measures, written for 96 dots per inch and scaled to the screen's.
inline int captionHeight() {
    return CXTPDpi::ScaleY(22);
}
inline int tabHeight() {
    return CXTPDpi::ScaleY(24);
}
inline int splitterWidth() {
    return CXTPDpi::ScaleX(5);
}
inline int buttonSize() {
    return CXTPDpi::ScaleX(16);
}
inline int autoHideThickness() {
    return CXTPDpi::ScaleX(24);
}
// The frame around a floating container, which the mouse drags to size it.
inline int floatBorder() {
    return CXTPDpi::ScaleX(4);
}
// How far the mouse moves a caption before the drag floats the container.
inline int dragThreshold() {
    return CXTPDpi::ScaleX(8);
}
// Room the frame's own client keeps however wide the panes ask to be.
inline int minClient() {
    return CXTPDpi::ScaleX(32);
}

void drawText(CDC& dc, const CString& text, CRect rc, COLORREF colour, UINT format);
void drawCloseGlyph(CDC& dc, const CRect& rc, COLORREF colour);
void drawPinGlyph(CDC& dc, const CRect& rc, COLORREF colour, bool pinned);

} // namespace dvtk::docking
