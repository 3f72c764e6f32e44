#include "frame/LogWindow.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "pal/path.h"
#include "pal/text.h"

#include <fstream>
#include <string>

namespace Dravik::UI {

namespace {

constexpr DWORD kWindowStyle = 0x16CF0000;
constexpr DWORD kWindowExStyle = 0x40000;
constexpr DWORD kEditStyle = 0x50300804;
constexpr UINT kClassStyle = 67;

// The log's new bytes since `from`, read while the log holds still.
std::string ReadLogFrom(std::uint64_t from) {
    if (!DVLog_Lock())
        return {};
    std::string bytes;
    std::ifstream in(pal::path::toNative(DVLog_GetFileName()), std::ios::binary);
    if (in && in.seekg(static_cast<std::streamoff>(from)))
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    DVLog_Unlock();
    return bytes;
}

// The edit control breaks lines at CR LF only.
std::wstring ForEdit(const std::string& bytes) {
    std::wstring text;
    for (wchar_t c : pal::text::fromUtf8(bytes)) {
        if (c == L'\n' && (text.empty() || text.back() != L'\r'))
            text += L'\r';
        text += c;
    }
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(LogWindow, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

LogWindow::LogWindow() = default;

LogWindow::~LogWindow() {
    if (m_hWnd != nullptr)
        DestroyWindow();
}

bool LogWindow::Create() {
    const LPCWSTR windowClass = AfxRegisterWndClass(kClassStyle);
    return CreateEx(kWindowExStyle, windowClass, Dravik::I18n::Translate("log_window").c_str(), kWindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr) != FALSE;
}

void LogWindow::SetTheme(int theme) {
    m_theme = theme;
    if (m_edit.m_hWnd != nullptr)
        m_edit.Invalidate();
}

void LogWindow::Refresh() {
    if (m_edit.m_hWnd == nullptr)
        return;
    const std::string bytes = ReadLogFrom(m_shown);
    if (bytes.empty())
        return;
    m_shown += bytes.size();
    const int end = m_edit.GetWindowTextLength();
    m_edit.SetSel(end, end);
    m_edit.ReplaceSel(ForEdit(bytes).c_str());
}

int LogWindow::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    if (!m_edit.Create(kEditStyle, client, this, kEditId))
        return -1;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        m_font.CreateFontIndirect(&metrics.lfMessageFont))
        font = m_font.GetSafeHandle();
    m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return 0;
}

void LogWindow::OnClose() {
    ShowWindow(SW_HIDE);
}

void LogWindow::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (m_edit.m_hWnd != nullptr)
        m_edit.MoveWindow(0, 0, cx, cy);
}

void LogWindow::OnShowWindow(BOOL show, UINT status) {
    CWnd::OnShowWindow(show, status);
    if (show)
        Refresh();
}

} // namespace Dravik::UI
