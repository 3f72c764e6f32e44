#include "frame/MdiClient.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/ImageBitmap.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex g_sharedLock;
std::weak_ptr<CMDIClientWndBackground> g_shared;
std::wstring g_picturePath;

} // namespace

CMDIClientWndBackground::CMDIClientWndBackground(const std::wstring& path) {
    m_bitmap = Dravik::CreateImageBitmap(path, kFillColor);
    if (m_bitmap == nullptr) {
        DVLog_Write(DVLogWarning, "Failed to load background image from \"%ls\"", path.c_str());
        return;
    }
    BITMAP info{};
    ::GetObjectW(m_bitmap, sizeof(info), &info);
    m_size = CSize(info.bmWidth, info.bmHeight);
}

CMDIClientWndBackground::~CMDIClientWndBackground() {
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
}

void CMDIClientWndBackground::SetPicturePath(const std::wstring& path) {
    std::lock_guard lock(g_sharedLock);
    g_picturePath = path;
}

std::wstring CMDIClientWndBackground::GetPicturePath() {
    {
        std::lock_guard lock(g_sharedLock);
        if (!g_picturePath.empty())
            return g_picturePath;
    }
    return DVAppendProgramPath(L"Background.png", 0, false);
}

std::shared_ptr<CMDIClientWndBackground> CMDIClientWndBackground::Shared() {
    const std::wstring path = GetPicturePath();
    std::lock_guard lock(g_sharedLock);
    std::shared_ptr<CMDIClientWndBackground> live = g_shared.lock();
    if (!live) {
        live = std::make_shared<CMDIClientWndBackground>(path);
        g_shared = live;
    }
    return live;
}

bool CMDIClientWndBackground::Paint(CDC* dc, const CRect& rect) const {
    CRect fill = rect;
    ++fill.right;
    ++fill.bottom;
    dc->FillSolidRect(&fill, kFillColor);
    if (m_bitmap == nullptr || m_size.cx <= 0 || m_size.cy <= 0)
        return false;
    const int left = std::max(kMinLeft, (rect.Width() - m_size.cx) / 2);
    const int top = std::max(kMinTop, (rect.Height() - m_size.cy) / 2);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), m_bitmap);
    dc->BitBlt(rect.left + left, rect.top + top, m_size.cx, m_size.cy, &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.GetSafeHdc(), old);
    return true;
}

bool CanSwitchToChildFrame(CWnd* frame, CDocument* document) {
    return Dravik::UI::MdiChildFrame::OnChildActivate(frame, document);
}

BEGIN_MESSAGE_MAP(CDVMDIClientWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_MESSAGE(WM_MDIACTIVATE, &CDVMDIClientWnd::OnMDIActivate)
END_MESSAGE_MAP()

CDVMDIClientWnd::CDVMDIClientWnd() : m_background(CMDIClientWndBackground::Shared()) {}

CDVMDIClientWnd::~CDVMDIClientWnd() {
    if (m_hWnd != nullptr)
        UnsubclassWindow();
}

bool CDVMDIClientWnd::IsChildMaximized() {
    BOOL maximized = FALSE;
    SendMessage(WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    return maximized != FALSE;
}

BOOL CDVMDIClientWnd::OnEraseBkgnd(CDC* pDC) {
    if (IsChildMaximized())
        return static_cast<BOOL>(Default());
    CRect client;
    GetClientRect(&client);
    m_background->Paint(pDC, client);
    return TRUE;
}

void CDVMDIClientWnd::OnSize(UINT, int, int) {
    Default();
    if (!IsChildMaximized())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

LRESULT CDVMDIClientWnd::OnMDIActivate(WPARAM wParam, LPARAM) {
    if (!CanSwitchToChildFrame(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
        return 0;
    return Default();
}
