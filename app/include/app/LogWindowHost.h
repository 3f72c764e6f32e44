// The application's one log window, made on the first request and kept until the end.
#pragma once

#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

namespace Dravik::UI {
class LogWindow;
}

namespace dvapp {

class LogWindowHost {
public:
    static LogWindowHost& Instance();
    bool Exists() const { return window_ != nullptr; }
    Dravik::UI::LogWindow* Get() const { return window_.get(); }
    // A window given the theme and created; false (and nothing kept) when creation failed.
    bool Create(int theme);
    void SetTheme(int theme);
    // Brought to the top and shown, neither moved nor sized.
    void Show();
    void Destroy();

private:
    LogWindowHost();
    ~LogWindowHost();
    std::unique_ptr<Dravik::UI::LogWindow> window_;
};

} // namespace dvapp

DV_EXPORTS_END
