// What makes a test frame's picture readable to a person: pane windows that paint their names,
// and simple drawing glyphs as the icons of the test bars' commands.
#pragma once

#include "XTToolkitPro.h"
#include "afxwin.h"

#include <map>
#include <memory>

namespace frame_test {

// Pane windows made on first use, parked on the UI library's pane parking window.
class NamedPaneWindows {
public:
    NamedPaneWindows();
    ~NamedPaneWindows();
    NamedPaneWindows(const NamedPaneWindows&) = delete;
    NamedPaneWindows& operator=(const NamedPaneWindows&) = delete;

    CWnd* get(int id, const wchar_t* name);

private:
    std::shared_ptr<CWnd> parent_;
    std::map<int, std::unique_ptr<CWnd>> windows_;
};

// A page, a folder, a disk and an undo arrow for 57600, 57601, 57603 and 57643, and a line, a
// circle, a rectangle and a polyline for 1300 to 1303, at one size, in blue (30, 90, 170).
inline constexpr COLORREF kGlyphColor = RGB(30, 90, 170);
void GiveCommandGlyphs(CXTPImageManager* images, int size);

} // namespace frame_test
