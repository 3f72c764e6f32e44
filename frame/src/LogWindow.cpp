#include "frame/LogWindow.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "windows.h"

#include <algorithm>
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
    HANDLE file = CreateFileW(DVLog_GetFileName().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(from);
        if (SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
            char buffer[65536];
            DWORD read = 0;
            while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
                bytes.append(buffer, read);
        }
        CloseHandle(file);
    }
    DVLog_Unlock();
    return bytes;
}

// The edit control breaks lines at CR LF only.
std::wstring ForEdit(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<size_t>(
        std::max(0, MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                        static_cast<int>(wide.size())))));
    std::wstring text;
    for (wchar_t c : wide) {
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
