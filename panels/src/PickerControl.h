// What the layer and coordinate-system controls share: their size, their frame and drop-down
// glyph around a content rectangle, the drawing they belong to, and how their drop-downs are
// placed under them.
#pragma once

#include "afxwin.h"

class CXTPControl;
class CDvw32Doc;
class CDialog;

namespace panels::picker {

// 183 pixels at 96 dpi wide; as high as the bar's buttons less 2.
CSize Size(CXTPControl& control);
// Frames the control, fills its ground and draws the drop-down glyph; gives the rectangle the
// content is drawn in and selects the bar's font.
CRect DrawFrame(CDC* dc, CXTPControl& control);
// Draws text in the content rectangle in the normal or disabled colour; gives its width.
int DrawText(CDC* dc, CXTPControl& control, const CRect& content, const std::wstring& text);
// The active document of the control's frame; null without one.
CDvw32Doc* ActiveDocument(const CXTPControl& control);
// The dialog rectangle at its first use: 300 by 300 pixels at 96 dpi.
CRect InitialDialogRect();
// Places and shows a drop-down 1 pixel under the control, sized from `rect`, without taking
// the focus.
void ShowUnder(CDialog& dialog, CXTPControl& control, const CRect& rect);
// Keeps the drop-down's size in `rect`, its top-left kept, for the next time it opens.
void KeepSize(CRect& rect, CSize size);
// Shows the control no longer pressed and closes its drop-down when that is shown.
void CloseDropDown(CDialog* dialog, CXTPControl& control);

} // namespace panels::picker
