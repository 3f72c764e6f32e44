#include "xtp/MessageBar.h"

#include "Markup.h"
#include "afx/wndmsg.h"
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPMessageBar, CControlBar)

namespace markup = dv::toolkit::markup;

namespace {

constexpr int kPadding = 6; // around the message and the buttons
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;
constexpr int kCloseSide = 18;

struct Colours {
    COLORREF face, border, text, buttonFace, buttonBorder, buttonHot, buttonPressed;
};

Colours colours() {
    if (CXTPPaintManager::Current()->IsDarkTheme())
        return {RGB(77, 66, 30),    RGB(110, 96, 45), RGB(240, 240, 240), RGB(62, 62, 66),
                RGB(120, 120, 126), RGB(80, 80, 86),  RGB(0, 122, 204)};
    return {RGB(255, 242, 157), RGB(232, 204, 100), RGB(40, 40, 40),   RGB(253, 253, 253),
            RGB(171, 171, 171), RGB(230, 240, 250), RGB(200, 220, 240)};
}

// Text widths in the paint manager's regular and bold fonts on a DC of the caller's.
class DcMeasure : public markup::Measure {
public:
    explicit DcMeasure(CDC& dc) : dc_(dc) {}
    int width(const std::wstring& text, bool bold) override {
        select(bold);
        return text.empty() ? 0 : dc_.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
    }
    int lineHeight() override {
        select(false);
        TEXTMETRICW tm{};
        dc_.GetTextMetrics(&tm);
        return tm.tmHeight;
    }
    void select(bool bold) {
        CXTPPaintManager* pm = CXTPPaintManager::Current();
        dc_.SelectObject(bold ? pm->GetRegularBoldFont() : pm->GetRegularFont());
    }

private:
    CDC& dc_;
};

// The icon an image cell shows: the largest of 32, 24 and 16 not above its maximum width that
// the image manager has, else whatever it has scaled to that width.
CXTPImageManagerIcon* imageFor(CXTPImageManager* images, const markup::Cell& cell, int& side) {
    const int limit = cell.maxWidth > 0 ? cell.maxWidth : 32;
    for (int s : {32, 24, 16}) {
        if (s > limit)
            continue;
        if (CXTPImageManagerIcon* icon = images->Lookup(cell.imageId, s)) {
            side = s;
            return icon;
        }
    }
    CXTPImageManagerIcon* icon = images->GetImage(cell.imageId, limit);
    side = icon != nullptr ? std::min(limit, icon->IsVectorIcon() ? limit : icon->GetWidth()) : 0;
    return icon;
}

} // namespace

// The message laid out in a rectangle: the columns' widths and each cell's lines.
struct CXTPMessageBar::Layout {
    struct Placed {
        const markup::Cell* cell;
        CRect rc; // the cell's content, padding removed
        std::vector<markup::Line> lines;
        CXTPImageManagerIcon* icon = nullptr;
        int side = 0;
        int contentHeight = 0;
    };
    markup::Document doc;
    std::vector<Placed> cells;
    int lineHeight = 0;
    int height = 0;

    Layout(const CXTPMessageBar& bar, CDC& dc, int left, int width) {
        doc = markup::parse(static_cast<LPCWSTR>(bar.message_), bar.markup_ != FALSE);
        DcMeasure measure(dc);
        lineHeight = measure.lineHeight();
        const size_t n = doc.columns.size();
        std::vector<int> widths(n, 0);
        // Fixed and automatic columns first; the starred ones share the rest.
        int used = 0;
        double weights = 0;
        for (size_t c = 0; c < n; ++c) {
            const markup::Column& col = doc.columns[c];
            if (col.kind == markup::Column::Fixed) {
                widths[c] = col.width;
            } else if (col.kind == markup::Column::Auto) {
                for (const markup::Cell& cell : doc.cells) {
                    if (cell.column != static_cast<int>(c))
                        continue;
                    int natural = 0;
                    if (cell.image) {
                        int side = 0;
                        imageFor(bar.GetImageManager(), cell, side);
                        natural = side;
                    } else {
                        for (const auto& line : markup::layoutRuns(cell.runs, 0, false, measure))
                            natural = std::max(natural, line.width);
                    }
                    widths[c] = std::max(widths[c], natural + cell.padding.left + cell.padding.right);
                }
            } else {
                weights += col.weight;
                continue;
            }
            used += widths[c];
        }
        const int rest = std::max(width - used, 0);
        for (size_t c = 0; c < n; ++c) {
            if (doc.columns[c].kind == markup::Column::Star)
                widths[c] = weights > 0 ? static_cast<int>(rest * doc.columns[c].weight / weights) : 0;
        }
        std::vector<int> xs(n, left);
        for (size_t c = 1; c < n; ++c)
            xs[c] = xs[c - 1] + widths[c - 1];

        for (const markup::Cell& cell : doc.cells) {
            Placed p{&cell, CRect(), {}};
            const size_t c = static_cast<size_t>(cell.column);
            const int x = xs[c] + cell.padding.left;
            const int w = std::max(widths[c] - cell.padding.left - cell.padding.right, 0);
            if (cell.image) {
                p.icon = imageFor(bar.GetImageManager(), cell, p.side);
                p.contentHeight = p.icon != nullptr ? p.side : 0;
            } else {
                p.lines = markup::layoutRuns(cell.runs, w, cell.wrap, measure);
                p.contentHeight = static_cast<int>(p.lines.size()) * lineHeight;
            }
            p.rc = CRect(x, 0, x + w, p.contentHeight);
            height = std::max(height, p.contentHeight + cell.padding.top + cell.padding.bottom);
            cells.push_back(std::move(p));
        }
    }

    // Places every cell vertically in a message area starting at `top` of height `h`.
    void place(int top, int h) {
        for (Placed& p : cells) {
            const markup::Cell& c = *p.cell;
            const int room = h - c.padding.top - c.padding.bottom;
            int y = top + c.padding.top;
            if (c.valign == markup::VAlign::Center)
                y += (room - p.contentHeight) / 2;
            else if (c.valign == markup::VAlign::Bottom)
                y += room - p.contentHeight;
            p.rc.MoveToY(y);
        }
    }
};

BEGIN_MESSAGE_MAP(CXTPMessageBar, CControlBar)
END_MESSAGE_MAP()

CXTPMessageBar::CXTPMessageBar() {
    close_.m_nID = SC_CLOSE;
}

CXTPMessageBar::~CXTPMessageBar() = default;

BOOL CXTPMessageBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_cyTopBorder = 0;
    m_cyBottomBorder = 1;
    return CreateBar(pParentWnd, dwStyle, nID, nullptr);
}

BOOL CXTPMessageBar::Create(CXTPCommandBars* pCommandBars, DWORD dwStyle, UINT nID) {
    CWnd* site = pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;
    if (site == nullptr)
        return FALSE;
    // The command bars' site lays the bar out after its bars, not among the frame's own.
    underBars_ = TRUE;
    if (!Create(site, dwStyle, nID)) {
        underBars_ = FALSE;
        return FALSE;
    }
    if (auto* frame = dynamic_cast<CFrameWnd*>(site))
        frame->RecalcLayout();
    return TRUE;
}

CRect CXTPMessageBar::LayoutUnderCommandBars(CWnd* pSite, CRect rcRoom) {
    if (pSite == nullptr || pSite->m_hWnd == nullptr)
        return rcRoom;
    for (HWND h = ::GetWindow(pSite->m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        auto* bar = dynamic_cast<CXTPMessageBar*>(CWnd::FromHandlePermanent(h));
        if (bar == nullptr || !bar->underBars_ || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        const int height = std::min(bar->heightFor(rcRoom.Width()), static_cast<int>(rcRoom.Height()));
        bar->MoveWindow(rcRoom.left, rcRoom.top, rcRoom.Width(), height);
        rcRoom.top += height;
    }
    return rcRoom;
}

void CXTPMessageBar::EnableMarkup(BOOL bEnable) {
    markup_ = bEnable;
    relayout();
}

void CXTPMessageBar::SetMessage(LPCWSTR lpszMessage) {
    message_ = lpszMessage != nullptr ? lpszMessage : L"";
    relayout();
}

void CXTPMessageBar::AddButton(UINT nID, LPCWSTR lpszCaption, LPCWSTR lpszToolTip) {
    auto b = std::make_unique<CXTPMessageBarButton>();
    b->m_nID = nID;
    b->m_strCaption = lpszCaption != nullptr ? lpszCaption : L"";
    b->m_strToolTip = lpszToolTip != nullptr ? lpszToolTip : L"";
    buttons_.push_back(std::move(b));
    relayout();
}

void CXTPMessageBar::RemoveButtons() {
    pressed_ = nullptr;
    buttons_.clear();
    relayout();
}

void CXTPMessageBar::ShowCloseButton(BOOL bShow) {
    closeShown_ = bShow;
    relayout();
}

CXTPMessageBarButton* CXTPMessageBar::GetButton(int nIndex) const {
    if (nIndex >= 0 && nIndex < GetButtonCount())
        return buttons_[static_cast<size_t>(nIndex)].get();
    if (closeShown_ && nIndex == GetButtonCount())
        return const_cast<CXTPMessageBarButton*>(&close_);
    return nullptr;
}

CXTPMessageBarButton* CXTPMessageBar::FindButton(UINT nID) const {
    for (int i = 0; GetButton(i) != nullptr; ++i) {
        if (GetButton(i)->m_nID == nID)
            return GetButton(i);
    }
    return nullptr;
}

CXTPMessageBarButton* CXTPMessageBar::HitTestButton(CPoint point) const {
    for (int i = 0; GetButton(i) != nullptr; ++i) {
        if (GetButton(i)->m_rcButton.PtInRect(point))
            return GetButton(i);
    }
    return nullptr;
}

CXTPImageManager* CXTPMessageBar::GetImageManager() const {
    return images_ != nullptr ? images_ : XTPImageManager();
}

// Buttons sit at the right, the close button outermost; the message has the rest.
void CXTPMessageBar::relayout() {
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    DcMeasure measure(dc);
    const int mid = (client.Height() - m_cyBottomBorder) / 2;
    int right = client.right - kPadding;
    if (closeShown_) {
        close_.m_rcButton =
            CRect(right - kCloseSide, mid - kCloseSide / 2, right, mid - kCloseSide / 2 + kCloseSide);
        right -= kCloseSide + kButtonGap;
    }
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        CXTPMessageBarButton& b = **it;
        const int w = std::max(measure.width(static_cast<LPCWSTR>(b.m_strCaption), false) + 20, 60);
        b.m_rcButton =
            CRect(right - w, mid - kButtonHeight / 2, right, mid - kButtonHeight / 2 + kButtonHeight);
        right -= w + kButtonGap;
    }
    Invalidate();
    // The bar's height follows its message.
    if (CFrameWnd* frame = underBars_ ? dynamic_cast<CFrameWnd*>(GetParent()) : GetDockingFrame()) {
        CRect r;
        GetWindowRect(&r);
        if (heightFor(client.Width()) != r.Height())
            frame->RecalcLayout();
    }
}

CRect CXTPMessageBar::GetMessageRect() const {
    CRect client;
    GetClientRect(&client);
    int right = client.right - kPadding;
    for (int i = 0; GetButton(i) != nullptr; ++i)
        right = std::min(right, static_cast<int>(GetButton(i)->m_rcButton.left) - kButtonGap);
    return CRect(kPadding + 2, kPadding, std::max(right, kPadding + 2),
                 client.bottom - m_cyBottomBorder - kPadding);
}

int CXTPMessageBar::heightFor(int width) const {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    // The message's width: what the buttons leave of the given width.
    DcMeasure measure(dc);
    int buttons = closeShown_ ? kCloseSide + kButtonGap : 0;
    for (const auto& b : buttons_)
        buttons +=
            std::max(measure.width(static_cast<LPCWSTR>(b->m_strCaption), false) + 20, 60) + kButtonGap;
    const int messageWidth = std::max(width - 2 * kPadding - 2 - buttons, 1);
    const Layout layout(*this, dc, 0, messageWidth);
    return std::max(layout.height, kButtonHeight) + 2 * kPadding + m_cyBottomBorder;
}

CSize CXTPMessageBar::CalcFixedLayout(BOOL, BOOL) {
    int width = 600;
    if (CWnd* parent = GetParent()) {
        CRect r;
        parent->GetClientRect(&r);
        width = r.Width();
    }
    return CSize(32767, heightFor(width));
}

void CXTPMessageBar::drawMessage(CDC* pDC, CRect rc) const {
    Layout layout(*this, *pDC, rc.left, rc.Width());
    layout.place(rc.top, rc.Height());
    const Colours c = colours();
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    pDC->SetTextColor(c.text);
    for (const Layout::Placed& p : layout.cells) {
        if (p.cell->image) {
            if (p.icon != nullptr)
                p.icon->Draw(pDC, p.rc.TopLeft(), CSize(p.side, p.side));
            continue;
        }
        int y = p.rc.top;
        for (const markup::Line& line : p.lines) {
            for (const markup::Fragment& f : line.fragments) {
                pDC->SelectObject(f.bold ? pm->GetRegularBoldFont() : pm->GetRegularFont());
                CRect out(p.rc.left + f.x, y, rc.right, y + layout.lineHeight);
                pDC->DrawText(f.text.c_str(), static_cast<int>(f.text.size()), &out,
                              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
            }
            y += layout.lineHeight;
        }
    }
}

void CXTPMessageBar::paint(CDC* pDC) {
    const Colours c = colours();
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, c.face);
    pDC->FillSolidRect(0, client.bottom - 1, client.Width(), 1, c.border);
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    CFont* old = pDC->SelectObject(pm->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    CRect message = GetMessageRect();
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&message);
    drawMessage(pDC, message);
    pDC->RestoreDC(saved);
    pDC->SelectObject(pm->GetRegularFont());
    for (const auto& b : buttons_) {
        CRect r = b->m_rcButton;
        pDC->FillSolidRect(&r, b->m_bPressed ? c.buttonPressed : b->m_bHot ? c.buttonHot : c.buttonFace);
        pDC->Draw3dRect(&r, c.buttonBorder, c.buttonBorder);
        pDC->SetTextColor(RGB(30, 30, 30));
        pDC->DrawText(b->m_strCaption, b->m_strCaption.GetLength(), &r,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (closeShown_) {
        CRect r = close_.m_rcButton;
        if (close_.m_bHot || close_.m_bPressed)
            pDC->FillSolidRect(&r, close_.m_bPressed ? c.buttonPressed : c.buttonHot);
        // A cross of two 2-pixel strokes.
        CPen pen(PS_SOLID, 2, c.text);
        CPen* oldPen = pDC->SelectObject(&pen);
        r.DeflateRect(5, 5);
        pDC->MoveTo(r.left, r.top);
        pDC->LineTo(r.right, r.bottom);
        pDC->MoveTo(r.right, r.top);
        pDC->LineTo(r.left, r.bottom);
        pDC->SelectObject(oldPen);
    }
    pDC->SelectObject(old);
}

void CXTPMessageBar::OnClick(CXTPMessageBarButton* pButton) {
    if (pButton == nullptr)
        return;
    if (pButton->IsCloseButton()) {
        Close();
        return;
    }
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(pButton->m_nID), 0), 0);
}

void CXTPMessageBar::Close() {
    if (m_hWnd == nullptr)
        return;
    ShowWindow(SW_HIDE);
    if (CFrameWnd* frame = underBars_ ? dynamic_cast<CFrameWnd*>(GetParent()) : GetDockingFrame())
        frame->RecalcLayout();
}

LRESULT CXTPMessageBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    switch (message) {
    case WM_CREATE:
        // Under the command bars the bar is not one of the frame's own control bars.
        if (underBars_)
            return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
        break;
    case WM_PAINT: {
        CPaintDC dc(this);
        paint(&dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE: {
        const LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
        relayout();
        return r;
    }
    case WM_LBUTTONDOWN:
        pressed_ = HitTestButton(pt);
        if (pressed_ != nullptr) {
            pressed_->m_bPressed = TRUE;
            ::SetCapture(m_hWnd);
            Invalidate();
        }
        return 0;
    case WM_LBUTTONUP: {
        CXTPMessageBarButton* was = pressed_;
        pressed_ = nullptr;
        if (was == nullptr)
            return 0;
        was->m_bPressed = FALSE;
        ReleaseCapture();
        Invalidate();
        if (HitTestButton(pt) == was)
            OnClick(was);
        return 0;
    }
    case WM_MOUSEMOVE: {
        CXTPMessageBarButton* hot = HitTestButton(pt);
        bool changed = false;
        for (int i = 0; GetButton(i) != nullptr; ++i) {
            CXTPMessageBarButton* b = GetButton(i);
            const BOOL h = b == hot;
            changed |= b->m_bHot != h;
            b->m_bHot = h;
        }
        if (changed) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
            Invalidate();
        }
        break;
    }
    case WM_MOUSELEAVE:
        for (int i = 0; GetButton(i) != nullptr; ++i)
            GetButton(i)->m_bHot = FALSE;
        Invalidate();
        break;
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
