#include "afx/controlbar.h"
#include "afx/gdi.h"
#include "afx/wndmsg.h"
#include "afxres.h"
#include "win/controls.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// An update handler's answer for one item of a bar.
class BarCmdUI : public CCmdUI {
public:
    bool enabled = true;
    int check = -1;
    const wchar_t* text = nullptr;
    CString textCopy;
    void Enable(BOOL bOn) override {
        enabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { check = nCheck; }
    void SetRadio(BOOL bOn) override { check = bOn ? 1 : 0; }
    void SetText(LPCTSTR lpszText) override {
        textCopy = lpszText;
        text = textCopy;
    }
};

COLORREF face() {
    return ::GetSysColor(COLOR_BTNFACE);
}

} // namespace

// CControlBar ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::~CControlBar() {
    if (m_pDockSite != nullptr) {
        auto& bars = m_pDockSite->m_listControlBars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    }
}

BOOL CControlBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCWSTR className) {
    if (pParentWnd == nullptr)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALIGN_ANY ? dwStyle & 0xFFFF : (dwStyle & 0xFFFF) | CBRS_ALIGN_TOP;
    const DWORD windowStyle = (dwStyle & 0xFFFF0000) | WS_CHILD | WS_CLIPSIBLINGS;
    return CWnd::Create(className, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

int CControlBar::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    m_pDockSite = dynamic_cast<CFrameWnd*>(GetParent());
    if (m_pDockSite != nullptr)
        m_pDockSite->m_listControlBars.push_back(this);
    return 0;
}

void CControlBar::OnDestroy() {
    if (m_pDockSite != nullptr) {
        auto& bars = m_pDockSite->m_listControlBars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL) {
    return CSize(32767, m_cyTopBorder + m_cyBottomBorder);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, face());
    return TRUE;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (m_pDockSite != nullptr && IsWindowVisible())
        OnUpdateCmdUI(m_pDockSite, static_cast<BOOL>(wParam));
    return 0;
}

// CStatusBar ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID) {
    m_cyTopBorder = 3;
    m_cyBottomBorder = 2;
    return CreateBar(pParentWnd, dwStyle, nID, nullptr);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    panes_.clear();
    if (lpIDArray == nullptr || nIDCount <= 0)
        return nIDCount == 0;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.id = lpIDArray[i];
        if (pane.id == ID_SEPARATOR) {
            pane.style = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            pane.text.LoadString(pane.id);
            // Wide enough for its text at the bar's character width.
            pane.width = std::max(pane.text.GetLength(), 3) * 7 + 8;
        }
        panes_.push_back(pane);
    }
    Invalidate();
    return TRUE;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? panes_[static_cast<size_t>(nIndex)].id : 0;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (panes_[static_cast<size_t>(i)].id == nIDFind)
            return i;
    }
    return -1;
}

// Fixed panes from the right edge; the stretching pane takes what is left.
std::vector<CRect> CStatusBar::layout() const {
    std::vector<CRect> rects(panes_.size());
    if (m_hWnd == nullptr)
        return rects;
    CRect client;
    GetClientRect(&client);
    const int top = m_cyTopBorder, bottom = client.bottom - m_cyBottomBorder;
    int fixed = 0;
    for (const Pane& p : panes_)
        fixed += (p.style & SBPS_STRETCH) ? 0 : p.width + 2;
    const int stretch = std::max(0, static_cast<int>(client.right) - 4 - fixed);
    int x = 2;
    for (size_t i = 0; i < panes_.size(); ++i) {
        const int w = (panes_[i].style & SBPS_STRETCH) ? stretch : panes_[i].width;
        rects[i] = CRect(x, top, x + w, bottom);
        x += w + 2;
    }
    return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    const std::vector<CRect> rects = layout();
    *lpRect = nIndex >= 0 && nIndex < GetCount() ? rects[static_cast<size_t>(nIndex)] : CRect(0, 0, 0, 0);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = panes_[static_cast<size_t>(nIndex)];
    const CString text = lpszNewText != nullptr ? lpszNewText : L"";
    if (pane.text == text)
        return TRUE;
    pane.text = text;
    if (bUpdate && m_hWnd != nullptr) {
        CRect r;
        GetItemRect(nIndex, &r);
        InvalidateRect(&r);
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? panes_[static_cast<size_t>(nIndex)].text : CString();
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = panes_[static_cast<size_t>(nIndex)];
    pane.id = nID;
    pane.style = nStyle;
    pane.width = std::max(cxWidth, 0);
    Invalidate();
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = panes_[static_cast<size_t>(nIndex)];
    nID = pane.id;
    nStyle = pane.style;
    cxWidth = pane.width;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
    return CSize(32767, 18 + m_cyTopBorder + m_cyBottomBorder);
}

// The window text is the first pane's text, so the frame's prompt reaches it by WM_SETTEXT.
LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && GetCount() > 0) {
        SetPaneText(0, reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    }
    if (message == WM_GETTEXTLENGTH && GetCount() > 0)
        return panes_.front().text.GetLength();
    if (message == WM_GETTEXT && GetCount() > 0) {
        const CString& text = panes_.front().text;
        const int n = std::min(static_cast<int>(wParam) - 1, text.GetLength());
        if (n < 0)
            return 0;
        auto* out = reinterpret_cast<LPWSTR>(lParam);
        std::copy_n(static_cast<LPCWSTR>(text), n, out);
        out[n] = 0;
        return n;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// Indicators follow their update handlers; one that no handler enables shows no text.
void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    for (int i = 0; i < GetCount(); ++i) {
        Pane& pane = panes_[static_cast<size_t>(i)];
        if (pane.id == ID_SEPARATOR)
            continue;
        BarCmdUI ui;
        ui.m_nID = pane.id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_nIndexMax = static_cast<UINT>(GetCount());
        ui.m_pOther = this;
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
        const UINT style = ui.enabled ? pane.style & ~SBPS_DISABLED : pane.style | SBPS_DISABLED;
        if (style != pane.style) {
            pane.style = style;
            Invalidate();
        }
        if (ui.text != nullptr)
            SetPaneText(i, ui.text);
    }
}

void CStatusBar::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, face());
    dc.FillSolidRect(0, 0, client.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    const std::vector<CRect> rects = layout();
    CGdiObject* oldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
    dc.SetBkMode(TRANSPARENT);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (!(panes_[i].style & SBPS_NOBORDERS))
            dc.Draw3dRect(&rects[i], ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        // A disabled indicator keeps its place but shows nothing.
        if (panes_[i].style & SBPS_DISABLED)
            continue;
        CRect text = rects[i];
        text.DeflateRect(3, 0);
        dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        CString shown = panes_[i].text;
        dc.DrawText(shown, shown.GetLength(), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    dc.SelectObject(oldFont);
}

// CToolBar ------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect rcBorders, UINT nID) {
    m_cyTopBorder = std::max(static_cast<int>(rcBorders.top), 2);
    m_cyBottomBorder = std::max(static_cast<int>(rcBorders.bottom), 2);
    if (!CreateBar(pParentWnd, dwStyle, nID, nullptr))
        return FALSE;
    if (m_dwStyle & CBRS_TOOLTIPS) {
        const INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&common);
        tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                  m_hWnd, nullptr, nullptr, nullptr);
        updateTools();
    }
    return TRUE;
}

// One tool for each button, asking the bar for its text.
void CToolBar::updateTools() {
    if (tips_ == nullptr || !::IsWindow(tips_))
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = m_hWnd;
    for (int i = 0; i < toolsAdded_; ++i) {
        ti.uId = static_cast<UINT_PTR>(i) + 1;
        ::SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    toolsAdded_ = GetCount();
    for (int i = 0; i < GetCount(); ++i) {
        if (buttons_[static_cast<size_t>(i)].style & TBBS_SEPARATOR)
            continue;
        ti.uId = static_cast<UINT_PTR>(i) + 1;
        GetItemRect(i, &ti.rect);
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void CToolBar::relay(UINT message, CPoint point) {
    if (tips_ == nullptr)
        return;
    MSG msg{};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.lParam = MAKELPARAM(point.x, point.y);
    ::SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

BOOL CToolBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->hwndFrom != tips_ || header->code != TTN_GETDISPINFOW)
        return CControlBar::OnNotify(wParam, lParam, pResult);
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const int index = static_cast<int>(header->idFrom) - 1;
    CString text;
    if (index >= 0 && index < GetCount() && text.LoadString(buttons_[static_cast<size_t>(index)].id)) {
        const int newline = text.Find(L'\n');
        text = newline >= 0 ? text.Mid(newline + 1) : CString();
    }
    const int n = std::min(text.GetLength(), static_cast<int>(std::size(info->szText)) - 1);
    std::copy_n(static_cast<LPCWSTR>(text), n, info->szText);
    info->szText[n] = 0;
    info->lpszText = info->szText;
    if (pResult != nullptr)
        *pResult = 0;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    buttons_.clear();
    if (nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0))
        return FALSE;
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        Button b;
        b.id = lpIDArray[i];
        if (b.id == ID_SEPARATOR)
            b.style = TBBS_SEPARATOR;
        else
            b.image = image++;
        buttons_.push_back(b);
    }
    updateTools();
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
    strip_ = hbmImageWell;
    Invalidate();
    return hbmImageWell != nullptr;
}

void CToolBar::SetImageList(HIMAGELIST hImageList) {
    images_ = hImageList;
    int cx = 0, cy = 0;
    if (images_ != nullptr && ::ImageList_GetIconSize(images_, &cx, &cy)) {
        image_ = CSize(cx, cy);
        button_ = CSize(std::max<LONG>(button_.cx, cx + 7), std::max<LONG>(button_.cy, cy + 7));
    }
    updateTools();
    Invalidate();
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    button_ = sizeButton;
    image_ = sizeImage;
    updateTools();
    Invalidate();
}

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? buttons_[static_cast<size_t>(nIndex)].id : 0;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (buttons_[static_cast<size_t>(i)].id == nIDFind &&
            !(buttons_[static_cast<size_t>(i)].style & TBBS_SEPARATOR))
            return i;
    }
    return -1;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    int x = 4;
    for (int i = 0; i < GetCount(); ++i) {
        const int w =
            (buttons_[static_cast<size_t>(i)].style & TBBS_SEPARATOR) ? 8 : static_cast<int>(button_.cx);
        if (i == nIndex) {
            *lpRect = CRect(x, m_cyTopBorder, x + w, m_cyTopBorder + button_.cy);
            return;
        }
        x += w;
    }
    *lpRect = CRect(0, 0, 0, 0);
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? buttons_[static_cast<size_t>(nIndex)].style : 0;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount() || buttons_[static_cast<size_t>(nIndex)].style == nStyle)
        return;
    buttons_[static_cast<size_t>(nIndex)].style = nStyle;
    CRect r;
    GetItemRect(nIndex, &r);
    if (m_hWnd != nullptr)
        InvalidateRect(&r);
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL) {
    return CSize(32767, button_.cy + m_cyTopBorder + m_cyBottomBorder);
}

// Buttons are enabled and checked by their update handlers.
void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    for (int i = 0; i < GetCount(); ++i) {
        const Button& b = buttons_[static_cast<size_t>(i)];
        if (b.style & TBBS_SEPARATOR)
            continue;
        BarCmdUI ui;
        ui.m_nID = b.id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_nIndexMax = static_cast<UINT>(GetCount());
        ui.m_pOther = this;
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
        UINT style = ui.enabled ? b.style & ~TBBS_DISABLED : b.style | TBBS_DISABLED;
        if (ui.check >= 0)
            style = ui.check ? style | TBBS_CHECKED : style & ~TBBS_CHECKED;
        SetButtonStyle(i, style);
    }
}

int CToolBar::hitTest(CPoint point) const {
    for (int i = 0; i < GetCount(); ++i) {
        CRect r;
        GetItemRect(i, &r);
        if (!(buttons_[static_cast<size_t>(i)].style & TBBS_SEPARATOR) && r.PtInRect(point))
            return i;
    }
    return -1;
}

void CToolBar::OnLButtonDown(UINT, CPoint point) {
    relay(WM_LBUTTONDOWN, point);
    const int i = hitTest(point);
    if (i < 0 || (buttons_[static_cast<size_t>(i)].style & TBBS_DISABLED))
        return;
    pressed_ = i;
    ::SetCapture(m_hWnd);
    SetButtonStyle(i, buttons_[static_cast<size_t>(i)].style | TBBS_PRESSED);
}

// A click that ends on the button it began on is the button's command, sent to the frame.
void CToolBar::OnLButtonUp(UINT, CPoint point) {
    relay(WM_LBUTTONUP, point);
    if (pressed_ < 0)
        return;
    const int i = pressed_;
    pressed_ = -1;
    ::ReleaseCapture();
    SetButtonStyle(i, buttons_[static_cast<size_t>(i)].style & ~TBBS_PRESSED);
    if (hitTest(point) != i)
        return;
    CWnd* target = m_pDockSite != nullptr ? static_cast<CWnd*>(m_pDockSite) : GetOwner();
    if (target != nullptr)
        target->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(buttons_[static_cast<size_t>(i)].id), 0),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CToolBar::OnMouseMove(UINT, CPoint point) {
    relay(WM_MOUSEMOVE, point);
    const int hot = hitTest(point);
    if (hot == hot_)
        return;
    hot_ = hot;
    if (m_pDockSite != nullptr && (m_dwStyle & CBRS_FLYBY))
        m_pDockSite->SetMessageText(hot >= 0 ? buttons_[static_cast<size_t>(hot)].id : AFX_IDS_IDLEMESSAGE);
}

void CToolBar::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, face());
    CDC strip;
    HGDIOBJ old = nullptr;
    if (strip_ != nullptr && strip.CreateCompatibleDC(&dc))
        old = ::SelectObject(strip.m_hDC, strip_);
    for (int i = 0; i < GetCount(); ++i) {
        const Button& b = buttons_[static_cast<size_t>(i)];
        CRect r;
        GetItemRect(i, &r);
        if (b.style & TBBS_SEPARATOR) {
            const int x = (r.left + r.right) / 2;
            dc.Draw3dRect(x - 1, r.top + 2, 2, r.Height() - 4, ::GetSysColor(COLOR_BTNSHADOW),
                          ::GetSysColor(COLOR_BTNHIGHLIGHT));
            continue;
        }
        if (b.style & (TBBS_PRESSED | TBBS_CHECKED))
            dc.Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        const int x = r.left + (r.Width() - image_.cx) / 2;
        const int y = r.top + (r.Height() - image_.cy) / 2;
        const bool drawn = b.image >= 0 && (images_ != nullptr || old != nullptr);
        if (images_ != nullptr && b.image >= 0)
            ::ImageList_Draw(images_, b.image, dc.m_hDC, x, y, ILD_TRANSPARENT);
        else if (old != nullptr && b.image >= 0)
            dc.BitBlt(x, y, image_.cx, image_.cy, &strip, b.image * image_.cx, 0, SRCCOPY);
        if (drawn) {
            if (b.style & TBBS_DISABLED) {
                // Disabled buttons are washed out with the face colour.
                CRect wash(x, y, x + image_.cx, y + image_.cy);
                for (int row = wash.top; row < wash.bottom; row += 2)
                    dc.FillSolidRect(wash.left, row, wash.Width(), 1, face());
            }
        }
    }
    if (old != nullptr)
        ::SelectObject(strip.m_hDC, old);
}
