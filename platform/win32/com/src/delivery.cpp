// Delivery through a message-only window of the serving thread: the thread's message loop
// (and every modal loop inside it) runs the work, as calls into a single-threaded server are
// run on the platform.
#include "delivery.h"

#include "win/user.h"

#include <mutex>

namespace pal::com::detail {
namespace {

constexpr UINT kRunWork = WM_USER + 1;
constexpr wchar_t kClassName[] = L"DVComDelivery";

LRESULT deliveryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWork) {
        std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
        (*work)();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = deliveryProc;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    });
}

class WindowDelivery : public Delivery {
public:
    WindowDelivery() {
        registerClass();
        hwnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~WindowDelivery() override {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    bool post(std::function<void()> work) override {
        auto* boxed = new std::function<void()>(std::move(work));
        if (hwnd_ && PostMessageW(hwnd_, kRunWork, 0, reinterpret_cast<LPARAM>(boxed)))
            return true;
        delete boxed;
        return false;
    }

private:
    HWND hwnd_ = nullptr;
};

} // namespace

std::shared_ptr<Delivery> deliveryForThisThread() {
    thread_local std::shared_ptr<Delivery> delivery = std::make_shared<WindowDelivery>();
    return delivery;
}

} // namespace pal::com::detail
