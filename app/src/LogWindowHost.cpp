#include "app/LogWindowHost.h"

#include "frame/LogWindow.h"

namespace dvapp {

LogWindowHost::LogWindowHost() = default;
LogWindowHost::~LogWindowHost() = default;

LogWindowHost& LogWindowHost::Instance() {
    static LogWindowHost host;
    return host;
}

bool LogWindowHost::Create(int theme) {
    auto window = std::make_unique<Dravik::UI::LogWindow>();
    window->SetTheme(theme);
    if (!window->Create())
        return false;
    window_ = std::move(window);
    return true;
}

void LogWindowHost::SetTheme(int theme) {
    if (window_)
        window_->SetTheme(theme);
}

void LogWindowHost::Show() {
    if (window_ && window_->m_hWnd != nullptr)
        window_->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void LogWindowHost::Destroy() {
    window_.reset();
}

} // namespace dvapp
