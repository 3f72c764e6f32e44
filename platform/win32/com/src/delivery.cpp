// Delivery through a message-only window of the serving thread: the thread's message loop
// (and every modal loop inside it) runs the work, as calls into a single-threaded server are
// run on the platform.
#include "delivery.h"

#include "win/user.h"

#include <mutex>
#include <utility>
#include <vector>

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
    ~WindowDelivery() override { close(); }

    // The thread is ending: it takes no more work, and what is still queued is destroyed
    // unrun, so that whoever waits on it learns at once rather than never.
    void close() {
        // The owners still alive are held in the same step that refuses further work: an owner
        // whose last work is refused from now on (a link's drop, say) may let go of itself at
        // once, and its ending must still run.
        HWND hwnd;
        std::vector<std::pair<std::shared_ptr<void>, std::function<void()>>> endings;
        {
            std::lock_guard lock(mutex_);
            hwnd = std::exchange(hwnd_, nullptr);
            for (Ending& e : endings_)
                if (auto alive = e.owner.lock())
                    endings.emplace_back(std::move(alive), std::move(e.work));
            endings_.clear();
        }
        if (!hwnd)
            return;
        // The endings first, while the work still queued keeps its links alive.
        for (auto& [owner, work] : endings)
            work();
        endings.clear();
        MSG msg;
        while (PeekMessageW(&msg, hwnd, kRunWork, kRunWork, PM_REMOVE))
            delete reinterpret_cast<std::function<void()>*>(msg.lParam);
        DestroyWindow(hwnd);
    }
    bool atEnd(std::weak_ptr<void> owner, std::function<void()> work) override {
        std::lock_guard lock(mutex_);
        if (!hwnd_)
            return false;
        std::erase_if(endings_, [](const Ending& e) { return e.owner.expired(); });
        endings_.push_back(Ending{std::move(owner), std::move(work)});
        return true;
    }
    bool post(std::function<void()> work) override {
        auto* boxed = new std::function<void()>(std::move(work));
        std::lock_guard lock(mutex_);
        if (hwnd_ && PostMessageW(hwnd_, kRunWork, 0, reinterpret_cast<LPARAM>(boxed)))
            return true;
        delete boxed;
        return false;
    }

private:
    struct Ending {
        std::weak_ptr<void> owner;
        std::function<void()> work;
    };

    std::mutex mutex_;
    HWND hwnd_ = nullptr;
    std::vector<Ending> endings_;
};

} // namespace

std::shared_ptr<Delivery> deliveryForThisThread() {
    // Connections share the delivery and may outlive the thread, so the thread's end closes it
    // rather than its last owner. Made after the thread's queue, this ends before the queue.
    struct ClosedWithTheThread {
        std::shared_ptr<WindowDelivery> delivery = std::make_shared<WindowDelivery>();
        ~ClosedWithTheThread() { delivery->close(); }
    };
    thread_local ClosedWithTheThread owner;
    return owner.delivery;
}

} // namespace pal::com::detail
