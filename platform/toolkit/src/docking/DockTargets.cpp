#include "DockTargets.h"

#include "Palette.h"
#include "xtp/DockingPaneManager.h"

#include <algorithm>

namespace dvtk::docking {
namespace {

int targetSize() {
    return CXTPDpi::ScaleX(32);
}

// Target windows carry what they stand for as their text, which is also what a screen reader
// says of them.
const wchar_t* sideName(XTPDockingPaneDirection side) {
    static const wchar_t* const names[] = {L"left", L"right", L"top", L"bottom"};
    return names[side];
}

CRect screenRectOf(const CXTPDockingPaneBase* node) {
    return node != nullptr ? node->GetPaneWindowRect() : CRect();
}

// The part of `rc` along `side` that is `length` thick.
CRect sideStrip(CRect rc, XTPDockingPaneDirection side, int length) {
    switch (side) {
    case xtpPaneDockLeft:
        rc.right = std::min(rc.right, rc.left + length);
        break;
    case xtpPaneDockRight:
        rc.left = std::max(rc.left, rc.right - length);
        break;
    case xtpPaneDockTop:
        rc.bottom = std::min(rc.bottom, rc.top + length);
        break;
    case xtpPaneDockBottom:
        rc.top = std::max(rc.top, rc.bottom - length);
        break;
    }
    return rc;
}

bool horizontalSide(XTPDockingPaneDirection side) {
    return side == xtpPaneDockLeft || side == xtpPaneDockRight;
}

} // namespace

// One target: a square with an arrow towards its side, or a small window picture for a centre.
class DockTargets::Glyph : public CWnd {
public:
    DockTarget target;
    bool hot = false;

    void showAt(const DockTarget& t, bool lit, HWND owner) {
        target = t;
        hot = lit;
        CString name;
        name.Format(L"Dock %s %s", t.pane != nullptr ? L"pane" : L"frame",
                    t.centre ? L"centre" : sideName(t.side));
        if (m_hWnd == nullptr)
            CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), name, WS_POPUP, t.rc,
                     CWnd::FromHandle(owner), 0);
        else
            SetWindowText(name);
        ::SetWindowPos(m_hWnd, HWND_TOP, t.rc.left, t.rc.top, t.rc.Width(), t.rc.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Invalidate();
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND)
            return 1;
        if (message != WM_PAINT)
            return CWnd::WindowProc(message, wParam, lParam);
        CPaintDC dc(this);
        const Palette p = currentPalette();
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, hot ? p.activeCaption : p.content);
        dc.Draw3dRect(&rc, p.activeCaption, p.activeCaption);
        const COLORREF ink = hot ? p.content : p.activeCaption;
        const CPoint c = rc.CenterPoint();
        const int r = rc.Width() / 4;
        CBrush brush(ink);
        CPen pen(PS_SOLID, 1, ink);
        CBrush* oldBrush = dc.SelectObject(&brush);
        CPen* oldPen = dc.SelectObject(&pen);
        if (target.centre) {
            // A window with a tab strip: the panes become tabs here.
            CRect body(c.x - r, c.y - r, c.x + r, c.y + r);
            dc.FillSolidRect(&body, ink);
            CRect inside = body;
            inside.DeflateRect(2, 5, 2, 2);
            dc.FillSolidRect(&inside, hot ? p.activeCaption : p.content);
            dc.FillSolidRect(body.left, body.bottom, r, 3, ink);
        } else {
            // An arrow pointing at the side the panes go to.
            POINT tri[3];
            switch (target.side) {
            case xtpPaneDockLeft:
                tri[0] = {c.x - r, c.y}, tri[1] = {c.x + r / 2, c.y - r}, tri[2] = {c.x + r / 2, c.y + r};
                break;
            case xtpPaneDockRight:
                tri[0] = {c.x + r, c.y}, tri[1] = {c.x - r / 2, c.y - r}, tri[2] = {c.x - r / 2, c.y + r};
                break;
            case xtpPaneDockTop:
                tri[0] = {c.x, c.y - r}, tri[1] = {c.x - r, c.y + r / 2}, tri[2] = {c.x + r, c.y + r / 2};
                break;
            case xtpPaneDockBottom:
                tri[0] = {c.x, c.y + r}, tri[1] = {c.x - r, c.y - r / 2}, tri[2] = {c.x + r, c.y - r / 2};
                break;
            }
            dc.Polygon(tri, 3);
        }
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        return 0;
    }
};

// The place a lit target stands for, drawn as a frame so that what lies below stays readable.
class DockTargets::Outline : public CWnd {
public:
    void showAt(const CRect& rc, HWND owner) {
        if (m_hWnd == nullptr)
            CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), L"Dock place", WS_POPUP, rc,
                     CWnd::FromHandle(owner), 0);
        ::SetWindowPos(m_hWnd, HWND_TOP, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Invalidate();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND)
            return 1;
        if (message != WM_PAINT)
            return CWnd::WindowProc(message, wParam, lParam);
        CPaintDC dc(this);
        const Palette p = currentPalette();
        CRect rc;
        GetClientRect(&rc);
        // A pale wash of the accent with a strong edge.
        const COLORREF a = p.activeCaption, w = p.content;
        const COLORREF wash =
            RGB((GetRValue(a) + 3 * GetRValue(w)) / 4, (GetGValue(a) + 3 * GetGValue(w)) / 4,
                (GetBValue(a) + 3 * GetBValue(w)) / 4);
        dc.FillSolidRect(&rc, wash);
        for (int i = 0; i < 3; ++i) {
            dc.Draw3dRect(&rc, a, a);
            rc.DeflateRect(1, 1);
        }
        return 0;
    }
};

DockTargets::DockTargets(CXTPDockingPaneManager* manager) : manager_(manager) {}

DockTargets::~DockTargets() {
    for (auto& glyph : glyphs_) {
        if (glyph->m_hWnd != nullptr && ::IsWindow(glyph->m_hWnd))
            glyph->DestroyWindow();
    }
    if (outline_ && outline_->m_hWnd != nullptr && ::IsWindow(outline_->m_hWnd))
        outline_->DestroyWindow();
}

std::vector<DockTarget> DockTargets::targetsFor(const CXTPDockingPaneTabbedContainer* moving,
                                                CPoint screen) const {
    std::vector<DockTarget> out;
    CXTPDockingPaneLayout* layout = manager_->GetLayout();
    const int size = targetSize();
    const int gap = CXTPDpi::ScaleX(6);
    static const XTPDockingPaneDirection sides[] = {xtpPaneDockLeft, xtpPaneDockRight, xtpPaneDockTop,
                                                    xtpPaneDockBottom};

    // The frame's docking area: one target at the middle of each edge.
    const CRect area = screenRectOf(layout->GetRoot());
    if (!area.IsRectEmpty()) {
        const CPoint c = area.CenterPoint();
        const int want = moving != nullptr ? moving->GetDockingSize() : 200;
        for (XTPDockingPaneDirection side : sides) {
            CRect rc;
            switch (side) {
            case xtpPaneDockLeft:
                rc = CRect(area.left + gap, c.y - size / 2, area.left + gap + size, c.y + size / 2);
                break;
            case xtpPaneDockRight:
                rc = CRect(area.right - gap - size, c.y - size / 2, area.right - gap, c.y + size / 2);
                break;
            case xtpPaneDockTop:
                rc = CRect(c.x - size / 2, area.top + gap, c.x + size / 2, area.top + gap + size);
                break;
            case xtpPaneDockBottom:
                rc = CRect(c.x - size / 2, area.bottom - gap - size, c.x + size / 2, area.bottom - gap);
                break;
            }
            const int length = std::min(want, (horizontalSide(side) ? area.Width() : area.Height()) / 3);
            out.push_back(DockTarget{rc, side, false, nullptr, sideStrip(area, side, length)});
        }
    }

    // The pane under the pointer (not the one dragged): a cross of targets at its middle.
    for (CXTPDockingPaneBase* node : layout->GetNodes()) {
        auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node);
        if (tabbed == nullptr || tabbed == moving || tabbed->IsAutoHidden() || !tabbed->IsVisibleInLayout() ||
            tabbed->m_hWnd == nullptr || !tabbed->IsWindowVisible())
            continue;
        CRect rc;
        tabbed->GetWindowRect(&rc);
        if (!rc.PtInRect(screen))
            continue;
        const bool floating =
            tabbed->GetContainer() != nullptr && tabbed->GetContainer()->GetType() == xtpPaneTypeMiniWnd;
        const CPoint c = rc.CenterPoint();
        const CRect middle(c.x - size / 2, c.y - size / 2, c.x + size / 2, c.y + size / 2);
        out.push_back(DockTarget{middle, xtpPaneDockLeft, true, tabbed, rc});
        // Beside a floating pane there is no room to dock: only its centre takes tabs.
        if (!floating) {
            const int step = size + CXTPDpi::ScaleX(2);
            const CSize offsets[] = {CSize(-step, 0), CSize(step, 0), CSize(0, -step), CSize(0, step)};
            for (XTPDockingPaneDirection side : sides) {
                CRect at = middle;
                at.OffsetRect(offsets[side]);
                const int half = (horizontalSide(side) ? rc.Width() : rc.Height()) / 2;
                out.push_back(DockTarget{at, side, false, tabbed, sideStrip(rc, side, half)});
            }
        }
        break;
    }
    return out;
}

const DockTarget* DockTargets::hit(CPoint screen) const {
    // The pane's cross lies above the frame's edges where the two meet.
    for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) {
        if (it->rc.PtInRect(screen))
            return &*it;
    }
    return nullptr;
}

void DockTargets::track(CXTPDockingPaneTabbedContainer* moving, CPoint screen, bool suppressed) {
    CWnd* site = manager_->GetSite();
    if (suppressed || site == nullptr || site->m_hWnd == nullptr || manager_->IsPanesLocked()) {
        hide();
        return;
    }
    shown_ = targetsFor(moving, screen);
    const DockTarget* lit = hit(screen);
    HWND owner = ::GetAncestor(site->m_hWnd, GA_ROOT);
    if (lit != nullptr) {
        if (!outline_)
            outline_ = std::make_unique<Outline>();
        outline_->showAt(lit->preview, owner);
    } else if (outline_ && outline_->m_hWnd != nullptr) {
        outline_->ShowWindow(SW_HIDE);
    }
    while (glyphs_.size() < shown_.size())
        glyphs_.push_back(std::make_unique<Glyph>());
    for (size_t i = 0; i < glyphs_.size(); ++i) {
        if (i < shown_.size())
            glyphs_[i]->showAt(shown_[i], &shown_[i] == lit, owner);
        else if (glyphs_[i]->m_hWnd != nullptr)
            glyphs_[i]->ShowWindow(SW_HIDE);
    }
}

void DockTargets::hide() {
    shown_.clear();
    for (auto& glyph : glyphs_) {
        if (glyph->m_hWnd != nullptr)
            glyph->ShowWindow(SW_HIDE);
    }
    if (outline_ && outline_->m_hWnd != nullptr)
        outline_->ShowWindow(SW_HIDE);
}

bool DockTargets::drop(CXTPDockingPaneTabbedContainer* moving, CPoint screen, bool suppressed) {
    if (!suppressed)
        shown_ = targetsFor(moving, screen);
    const DockTarget* lit = suppressed ? nullptr : hit(screen);
    const DockTarget chosen = lit != nullptr ? *lit : DockTarget{};
    hide();
    if (lit == nullptr || moving == nullptr)
        return false;
    if (chosen.centre)
        manager_->AttachPane(moving, chosen.pane);
    else
        manager_->DockPane(moving, chosen.side, chosen.pane);
    return true;
}

} // namespace dvtk::docking
