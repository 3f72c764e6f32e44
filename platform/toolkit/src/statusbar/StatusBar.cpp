#include "xtp/StatusBar.h"

#include "afx/wndmsg.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <numeric>

IMPLEMENT_DYNAMIC(CXTPStatusBar, CControlBar)

namespace {

constexpr int kGap = 2;    // between panes
constexpr int kMargin = 2; // at the bar's left and right ends
constexpr int kTextPad = 4;

// A pane's update handler's answer.
class PaneCmdUI : public CCmdUI {
public:
    bool enabled = true;
    bool textGiven = false;
    CString text;
    void Enable(BOOL bOn) override {
        enabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(LPCTSTR lpszText) override {
        text = lpszText;
        textGiven = true;
    }
};

} // namespace

// CXTPStatusBarPane ---------------------------------------------------------------------------

CXTPStatusBarPane::CXTPStatusBarPane(CXTPStatusBar* pBar, UINT nID) : bar_(pBar), id_(nID) {}

CXTPStatusBarPane::~CXTPStatusBarPane() {
    if (icon_ != nullptr)
        ::DestroyIcon(icon_);
    if (control_ != nullptr && autoDelete_) {
        if (control_->m_hWnd != nullptr)
            control_->DestroyWindow();
        delete control_;
    }
}

int CXTPStatusBarPane::GetIndex() const {
    for (int i = 0; i < bar_->GetPaneCount(); ++i) {
        if (bar_->GetPane(i) == this)
            return i;
    }
    return -1;
}

void CXTPStatusBarPane::redraw() {
    if (bar_->m_hWnd != nullptr)
        bar_->Invalidate();
}

void CXTPStatusBarPane::SetText(LPCWSTR lpszText) {
    const CString text = lpszText != nullptr ? lpszText : L"";
    if (text == text_)
        return;
    text_ = text;
    if (bar_->m_hWnd != nullptr && visible_) {
        const CRect r = GetRect();
        bar_->InvalidateRect(&r);
    }
}

void CXTPStatusBarPane::SetWidth(int nWidth) {
    width_ = std::max(nWidth, 0);
    bar_->RecalcLayout();
}

void CXTPStatusBarPane::SetStyle(UINT nStyle) {
    style_ = nStyle;
    bar_->RecalcLayout();
}

void CXTPStatusBarPane::SetVisible(BOOL bVisible) {
    if (visible_ == bVisible)
        return;
    visible_ = bVisible;
    bar_->RecalcLayout();
}

void CXTPStatusBarPane::SetTextAlignment(UINT nAlign) {
    align_ = nAlign & (DT_CENTER | DT_RIGHT);
    redraw();
}

void CXTPStatusBarPane::SetTextColor(COLORREF clr) {
    textColor_ = clr;
    redraw();
}

void CXTPStatusBarPane::SetIcon(HICON hIcon) {
    if (icon_ != nullptr)
        ::DestroyIcon(icon_);
    icon_ = hIcon != nullptr ? ::CopyIcon(hIcon) : nullptr;
    iconId_ = 0;
    redraw();
}

void CXTPStatusBarPane::SetIconId(UINT nIconId) {
    SetIcon(nullptr);
    iconId_ = nIconId;
    redraw();
}

void CXTPStatusBarPane::SetControl(CWnd* pWnd, BOOL bAutoDelete) {
    control_ = pWnd;
    autoDelete_ = bAutoDelete;
    bar_->RecalcLayout();
}

CRect CXTPStatusBarPane::GetRect() const {
    CRect r;
    bar_->GetItemRect(GetIndex(), &r);
    return r;
}

// CXTPStatusBar -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPStatusBar, CControlBar)
END_MESSAGE_MAP()

CXTPStatusBar::CXTPStatusBar() = default;

CXTPStatusBar::~CXTPStatusBar() {
    // Hosted windows that the panes delete go before the bar's own window.
    panes_.clear();
}

BOOL CXTPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_cyTopBorder = 3;
    m_cyBottomBorder = 2;
    return CreateBar(pParentWnd, dwStyle | WS_CLIPCHILDREN, nID, nullptr);
}

BOOL CXTPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    RemoveAll();
    if (lpIDArray == nullptr || nIDCount <= 0)
        return nIDCount == 0;
    for (int i = 0; i < nIDCount; ++i)
        AddIndicator(lpIDArray[i]);
    return TRUE;
}

CXTPStatusBarPane* CXTPStatusBar::AddIndicator(UINT nID, int nIndex) {
    auto pane = std::make_unique<CXTPStatusBarPane>(this, nID);
    if (nID == ID_SEPARATOR) {
        pane->style_ = SBPS_STRETCH | SBPS_NOBORDERS;
        pane->width_ = 100;
    } else {
        pane->text_.LoadString(nID);
        pane->width_ = std::max(pane->text_.GetLength(), 3) * 7 + 2 * kTextPad;
    }
    CXTPStatusBarPane* added = pane.get();
    const size_t at = nIndex < 0 || nIndex > GetPaneCount() ? panes_.size() : static_cast<size_t>(nIndex);
    panes_.insert(panes_.begin() + static_cast<std::ptrdiff_t>(at), std::move(pane));
    RecalcLayout();
    return added;
}

BOOL CXTPStatusBar::RemoveIndicator(UINT nID) {
    const int i = CommandToIndex(nID);
    if (i < 0)
        return FALSE;
    panes_.erase(panes_.begin() + i);
    RecalcLayout();
    return TRUE;
}

void CXTPStatusBar::RemoveAll() {
    panes_.clear();
    RecalcLayout();
}

CXTPStatusBarPane* CXTPStatusBar::AddControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return nullptr;
    if (m_hWnd != nullptr && pWnd->GetParent() != this)
        ::SetParent(pWnd->m_hWnd, m_hWnd);
    CXTPStatusBarPane* pane = AddIndicator(nID);
    CRect r;
    pWnd->GetWindowRect(&r);
    pane->text_.Empty();
    pane->width_ = r.Width();
    pane->style_ = SBPS_NOBORDERS;
    pane->SetControl(pWnd, bAutoDelete);
    return pane;
}

CXTPStatusBarPane* CXTPStatusBar::GetPane(int nIndex) const {
    return nIndex >= 0 && nIndex < GetPaneCount() ? panes_[static_cast<size_t>(nIndex)].get() : nullptr;
}

CXTPStatusBarPane* CXTPStatusBar::FindPane(UINT nID) const {
    return GetPane(CommandToIndex(nID));
}

int CXTPStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetPaneCount(); ++i) {
        if (panes_[static_cast<size_t>(i)]->id_ == nIDFind)
            return i;
    }
    return -1;
}

UINT CXTPStatusBar::GetItemID(int nIndex) const {
    const CXTPStatusBarPane* pane = GetPane(nIndex);
    return pane != nullptr ? pane->id_ : 0;
}

// Fixed panes keep their widths; the room left over (or missing) goes to the stretching panes
// in proportion to their widths, none below zero. Panes that reach past the right end are cut
// there.
std::vector<CRect> CXTPStatusBar::layout() const {
    std::vector<CRect> rects(panes_.size());
    if (m_hWnd == nullptr)
        return rects;
    CRect client;
    GetClientRect(&client);
    const int top = m_cyTopBorder, bottom = std::max(top, static_cast<int>(client.bottom) - m_cyBottomBorder);
    const int right = static_cast<int>(client.right) - kMargin;
    int fixed = 0, stretchWidths = 0, visible = 0;
    for (const auto& p : panes_) {
        if (!p->visible_)
            continue;
        ++visible;
        if (p->style_ & SBPS_STRETCH)
            stretchWidths += p->width_;
        else
            fixed += p->width_;
    }
    const int gaps = std::max(visible - 1, 0) * kGap;
    const int room = right - kMargin - gaps - fixed; // for the stretching panes
    int stretchCount = 0;
    for (const auto& p : panes_)
        stretchCount += p->visible_ && (p->style_ & SBPS_STRETCH) ? 1 : 0;
    int given = 0, seen = 0, x = kMargin;
    for (size_t i = 0; i < panes_.size(); ++i) {
        const CXTPStatusBarPane& p = *panes_[i];
        if (!p.visible_)
            continue;
        int w = p.width_;
        if (p.style_ & SBPS_STRETCH) {
            ++seen;
            const int share =
                room <= 0 ? 0
                : seen == stretchCount
                    ? room - given // the last one takes the rounding
                    : (stretchWidths > 0
                           ? static_cast<int>(static_cast<long long>(room) * p.width_ / stretchWidths)
                           : room / stretchCount);
            w = std::max(share, 0);
            given += w;
        }
        const int l = std::min(x, right), r = std::min(x + w, right);
        rects[i] = CRect(l, top, r, bottom);
        x += w + kGap;
    }
    return rects;
}

void CXTPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (lpRect == nullptr)
        return;
    const std::vector<CRect> rects = layout();
    *lpRect = nIndex >= 0 && nIndex < GetPaneCount() ? rects[static_cast<size_t>(nIndex)] : CRect(0, 0, 0, 0);
}

BOOL CXTPStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
    CXTPStatusBarPane* pane = GetPane(nIndex);
    if (pane == nullptr)
        return FALSE;
    if (bUpdate) {
        pane->SetText(lpszNewText);
    } else {
        pane->text_ = lpszNewText != nullptr ? lpszNewText : L"";
    }
    return TRUE;
}

CString CXTPStatusBar::GetPaneText(int nIndex) const {
    const CXTPStatusBarPane* pane = GetPane(nIndex);
    return pane != nullptr ? pane->text_ : CString();
}

void CXTPStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    CXTPStatusBarPane* pane = GetPane(nIndex);
    if (pane == nullptr)
        return;
    pane->id_ = nID;
    pane->style_ = nStyle;
    pane->width_ = std::max(cxWidth, 0);
    RecalcLayout();
}

void CXTPStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    const CXTPStatusBarPane* pane = GetPane(nIndex);
    nID = pane != nullptr ? pane->id_ : 0;
    nStyle = pane != nullptr ? pane->style_ : 0;
    cxWidth = pane != nullptr ? pane->width_ : 0;
}

void CXTPStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (CXTPStatusBarPane* pane = GetPane(nIndex))
        pane->SetStyle(nStyle);
}

UINT CXTPStatusBar::GetPaneStyle(int nIndex) const {
    const CXTPStatusBarPane* pane = GetPane(nIndex);
    return pane != nullptr ? pane->style_ : 0;
}

void CXTPStatusBar::SetPaneWidth(int nIndex, int cxWidth) {
    if (CXTPStatusBarPane* pane = GetPane(nIndex))
        pane->SetWidth(cxWidth);
}

CXTPImageManager* CXTPStatusBar::GetImageManager() const {
    return images_ != nullptr ? images_ : XTPImageManager();
}

void CXTPStatusBar::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    const std::vector<CRect> rects = layout();
    for (size_t i = 0; i < panes_.size(); ++i) {
        CWnd* control = panes_[i]->control_;
        if (control == nullptr || control->m_hWnd == nullptr)
            continue;
        const bool shown = panes_[i]->visible_ && !rects[i].IsRectEmpty();
        if (shown)
            control->MoveWindow(&rects[i], TRUE);
        control->ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
    }
    Invalidate();
}

CSize CXTPStatusBar::CalcFixedLayout(BOOL, BOOL) {
    const int text = CXTPDpi::ScaleY(18);
    return CSize(32767, text + m_cyTopBorder + m_cyBottomBorder);
}

void CXTPStatusBar::DrawPane(CDC* pDC, CXTPStatusBarPane* pPane, CRect rc) {
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    const XTP_THEME_COLORS& colors = pm->GetColors();
    if (!(pPane->style_ & SBPS_NOBORDERS)) {
        const COLORREF shadow = CXTPDrawHelpers::BlendColors(colors.clrBarFace, colors.clrText, 0.35);
        const COLORREF light = CXTPDrawHelpers::BlendColors(colors.clrBarFace, RGB(255, 255, 255), 0.6);
        if (pPane->style_ & SBPS_POPOUT)
            pDC->Draw3dRect(&rc, light, shadow);
        else
            pDC->Draw3dRect(&rc, shadow, light);
    }
    if (pPane->control_ != nullptr || (pPane->style_ & SBPS_DISABLED))
        return;
    CRect content = rc;
    content.DeflateRect(kTextPad, 1);
    HICON icon = pPane->icon_;
    CXTPImageManagerIcon* managed = nullptr;
    if (icon == nullptr && pPane->iconId_ != 0)
        managed = GetImageManager()->GetImage(pPane->iconId_, 16);
    if (icon != nullptr || managed != nullptr) {
        const int side = 16;
        const int y = content.top + (content.Height() - side) / 2;
        if (managed != nullptr)
            managed->Draw(pDC, CPoint(content.left, y), CSize(side, side));
        else
            ::DrawIconEx(pDC->GetSafeHdc(), content.left, y, icon, side, side, 0, nullptr, DI_NORMAL);
        content.left += side + 3;
    }
    if (pPane->text_.IsEmpty())
        return;
    pDC->SetTextColor(pPane->textColor_ != CLR_DEFAULT ? pPane->textColor_ : colors.clrText);
    CString shown = pPane->text_;
    pDC->DrawText(shown, shown.GetLength(), &content,
                  pPane->align_ | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void CXTPStatusBar::paint(CDC* pDC) {
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    const XTP_THEME_COLORS& colors = pm->GetColors();
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, colors.clrBarFace);
    pDC->FillSolidRect(0, 0, client.Width(), 1, colors.clrBarBorder);
    CFont* old = pDC->SelectObject(pm->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    const std::vector<CRect> rects = layout();
    for (size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i]->visible_ && !rects[i].IsRectEmpty())
            DrawPane(pDC, panes_[i].get(), rects[i]);
    }
    pDC->SelectObject(old);
}

// The window text is the first pane's, so the frame's prompt reaches it by WM_SETTEXT.
LRESULT CXTPStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(this);
        paint(&dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE: {
        const LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
        RecalcLayout();
        return r;
    }
    case WM_SETTEXT:
        if (GetPaneCount() > 0) {
            SetPaneText(0, reinterpret_cast<LPCWSTR>(lParam));
            return TRUE;
        }
        break;
    case WM_GETTEXTLENGTH:
        if (GetPaneCount() > 0)
            return panes_.front()->text_.GetLength();
        break;
    case WM_GETTEXT:
        if (GetPaneCount() > 0) {
            const CString& text = panes_.front()->text_;
            const int n = std::min(static_cast<int>(wParam) - 1, text.GetLength());
            if (n < 0)
                return 0;
            auto* out = reinterpret_cast<LPWSTR>(lParam);
            std::copy_n(static_cast<LPCWSTR>(text), n, out);
            out[n] = 0;
            return n;
        }
        break;
    case WM_COMMAND:
        // Hosted buttons' commands go on to the frame.
        if (lParam != 0 && GetParent() != nullptr)
            return GetParent()->SendMessage(WM_COMMAND, wParam, lParam);
        break;
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// Indicators follow their update handlers; one that no handler enables shows no text.
void CXTPStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    for (int i = 0; i < GetPaneCount(); ++i) {
        CXTPStatusBarPane& pane = *panes_[static_cast<size_t>(i)];
        if (pane.id_ == ID_SEPARATOR || pane.control_ != nullptr)
            continue;
        PaneCmdUI ui;
        ui.m_nID = pane.id_;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_nIndexMax = static_cast<UINT>(GetPaneCount());
        ui.m_pOther = this;
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
        const UINT style = ui.enabled ? pane.style_ & ~SBPS_DISABLED : pane.style_ | SBPS_DISABLED;
        if (style != pane.style_) {
            pane.style_ = style;
            Invalidate();
        }
        if (ui.textGiven)
            pane.SetText(ui.text);
    }
}
