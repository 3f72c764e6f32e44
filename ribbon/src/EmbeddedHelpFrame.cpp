#include "ribbon/EmbeddedHelpFrame.h"

#include "ribbon/FrameToolsEngine.h"

#include "DravikKernel/KernelServices.h"
#include "DravikUI/GenericMainFrame.h"

namespace {

bool minimisedOrMaximised(HWND window) {
    return ::IsIconic(window) || ::IsZoomed(window);
}

} // namespace

// The page area of the help window: it shows the address it was sent to.
class CEmbeddedHelpFrame::PageView : public CWnd {
public:
    void SetUrl(const std::wstring& url) {
        m_url = url;
        if (::IsWindow(m_hWnd))
            Invalidate();
    }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, RGB(255, 255, 255));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(32, 32, 32));
        CGdiObject* font = dc.SelectStockObject(DEFAULT_GUI_FONT);
        CRect text = client;
        text.DeflateRect(12, 12);
        // An address has no blanks to break at: it breaks where the line is full.
        int y = text.top;
        for (size_t start = 0; start < m_url.size() && y < text.bottom;) {
            size_t end = start + 1;
            while (end < m_url.size() &&
                   dc.GetTextExtent(m_url.c_str() + start, static_cast<int>(end + 1 - start)).cx <=
                       text.Width())
                ++end;
            dc.TextOut(text.left, y, m_url.c_str() + start, static_cast<int>(end - start));
            y += dc.GetTextExtent(L"M", 1).cy + 2;
            start = end;
        }
        if (font != nullptr)
            dc.SelectObject(font);
    }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_url;
};

BEGIN_MESSAGE_MAP(CEmbeddedHelpFrame::PageView, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

IMPLEMENT_DYNAMIC(CEmbeddedHelpFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CEmbeddedHelpFrame, CFrameWnd)
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CEmbeddedHelpFrame::CEmbeddedHelpFrame(CFrameToolsEngine* owner) : m_owner(owner) {}

CEmbeddedHelpFrame::~CEmbeddedHelpFrame() {
    if (m_owner != nullptr)
        m_owner->OnEmbeddedHelpDestroyed();
}

bool CEmbeddedHelpFrame::CreateHelpWindow() {
    if (::IsWindow(m_hWnd))
        return true;
    Dravik::UI::GenericMainFrame* main = m_owner != nullptr ? m_owner->GetMainFrame() : nullptr;
    if (main == nullptr || !::IsWindow(main->m_hWnd))
        return false;
    m_mainFrame = main->m_hWnd;
    ::GetWindowRect(m_mainFrame, &m_mainRect);
    m_mainWasMaximised = ::IsZoomed(m_mainFrame) != FALSE;

    // The room the two windows share: the help window takes its right quarter.
    CRect room = m_mainRect;
    if (minimisedOrMaximised(m_mainFrame))
        room = CRect(0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN));
    const int split = room.right - room.Width() / 4;
    const CRect help(split, room.top, room.right, room.bottom);
    if (!Create(nullptr, DVLoadString(kCaptionStringId).c_str(), WS_POPUP | WS_OVERLAPPEDWINDOW, help))
        return false; // the frame deleted itself
    auto* view = new PageView;
    if (!view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST)) {
        delete view;
        return false;
    }
    m_view = view;
    m_view->SetUrl(m_url);

    m_adjusting = true;
    if (minimisedOrMaximised(m_mainFrame))
        ::ShowWindow(m_mainFrame, SW_RESTORE);
    ::MoveWindow(m_mainFrame, room.left, room.top, split - room.left, room.Height(), TRUE);
    m_adjusting = false;
    RecalcLayout();
    ShowWindow(SW_SHOW);
    return true;
}

bool CEmbeddedHelpFrame::Navigate(const std::wstring& url) {
    m_url = url;
    if (m_view != nullptr)
        m_view->SetUrl(url);
    return true;
}

void CEmbeddedHelpFrame::KeepBesideMainFrame() {
    if (m_adjusting || !m_keepBeside || !::IsWindow(m_hWnd) || !::IsWindow(m_mainFrame) ||
        minimisedOrMaximised(m_mainFrame))
        return;
    CRect main, help;
    ::GetWindowRect(m_mainFrame, &main);
    GetWindowRect(&help);
    if (main.right >= help.right)
        return;
    m_adjusting = true;
    MoveWindow(CRect(main.right, main.top, help.right, main.bottom));
    m_adjusting = false;
}

void CEmbeddedHelpFrame::OnSysCommand(UINT id, LPARAM lParam) {
    // Closing gives the main frame back the room it had before the help came.
    if ((id & 0xFFF0) == SC_CLOSE && m_keepBeside && ::IsWindow(m_mainFrame) &&
        !minimisedOrMaximised(m_mainFrame)) {
        ShowWindow(SW_HIDE);
        m_adjusting = true;
        ::MoveWindow(m_mainFrame, m_mainRect.left, m_mainRect.top, m_mainRect.Width(), m_mainRect.Height(),
                     TRUE);
        if (m_mainWasMaximised)
            ::ShowWindow(m_mainFrame, SW_MAXIMIZE);
        m_adjusting = false;
    }
    CFrameWnd::OnSysCommand(id, lParam);
}
