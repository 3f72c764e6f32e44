#include "picture_helpers.h"

#include "DravikUI/DockingPane.h"
#include "DravikUI/Windows.h"

#include <iterator>
#include <string>
#include <utility>

namespace frame_test {

namespace {

class PaneWindow : public Dravik::UI::DockingPaneChildWindow {
public:
    explicit PaneWindow(std::wstring name) : name_(std::move(name)) {}

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, RGB(252, 252, 252));
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(8, 8, name_.c_str(), static_cast<int>(name_.size()));
    }
    DECLARE_MESSAGE_MAP()

private:
    std::wstring name_;
};

BEGIN_MESSAGE_MAP(PaneWindow, Dravik::UI::DockingPaneChildWindow)
ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

NamedPaneWindows::NamedPaneWindows() = default;

NamedPaneWindows::~NamedPaneWindows() {
    for (auto& [id, window] : windows_)
        if (::IsWindow(window->m_hWnd))
            window->DestroyWindow();
}

CWnd* NamedPaneWindows::get(int id, const wchar_t* name) {
    auto& slot = windows_[id];
    if (!slot) {
        if (!parent_)
            parent_ = Dravik::UI::GetDockingPaneDummyWindow(true);
        slot = std::make_unique<PaneWindow>(name);
        slot->Create(nullptr, name, WS_CHILD, CRect(0, 0, 10, 10), parent_.get(), static_cast<UINT>(id));
    }
    return slot.get();
}

void GiveCommandGlyphs(CXTPImageManager* images, int size) {
    static const UINT ids[] = {57600, 57601, 57603, 57643, 1300, 1301, 1302, 1303};
    constexpr int count = static_cast<int>(std::size(ids));
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap strip;
    strip.CreateCompatibleBitmap(&screen, size * count, size);
    CBitmap* old = dc.SelectObject(&strip);
    dc.FillSolidRect(0, 0, size * count, size, RGB(255, 0, 255));
    CPen pen(PS_SOLID, size / 12 + 1, kGlyphColor);
    CBrush paper(RGB(250, 250, 250));
    CBrush folder(RGB(230, 190, 80));
    CPen* oldPen = dc.SelectObject(&pen);
    const int m = size / 6, e = size - m;
    auto at = [&](int i, int x) { return i * size + x; };
    dc.SelectObject(&paper);
    dc.Rectangle(at(0, m + 1), m - 1, at(0, e - 1), e + 1);
    dc.SelectObject(&folder);
    dc.Rectangle(at(1, m), m + 2, at(1, e), e);
    dc.SelectObject(&paper);
    dc.Rectangle(at(2, m), m, at(2, e), e);
    dc.Rectangle(at(2, m + 3), m, at(2, e - 3), size / 2);
    dc.MoveTo(at(3, e), e - 2);
    dc.LineTo(at(3, e), size / 2);
    dc.LineTo(at(3, m), size / 2);
    dc.LineTo(at(3, m + 4), size / 2 - 4);
    dc.MoveTo(at(3, m), size / 2);
    dc.LineTo(at(3, m + 4), size / 2 + 4);
    dc.MoveTo(at(4, m), e);
    dc.LineTo(at(4, e), m);
    dc.SelectObject(::GetStockObject(NULL_BRUSH));
    dc.Ellipse(at(5, m), m, at(5, e), e);
    dc.Rectangle(at(6, m), m + 2, at(6, e), e - 2);
    const POINT poly[] = {{at(7, m), e}, {at(7, m + 3), m + 2}, {at(7, size / 2), e - 3}, {at(7, e), m}};
    dc.Polyline(poly, 4);
    dc.SelectObject(oldPen);
    dc.SelectObject(old);
    images->SetIcons(strip, ids, count, CSize(size, size));
    ::ReleaseDC(nullptr, screen.Detach());
}

} // namespace frame_test
