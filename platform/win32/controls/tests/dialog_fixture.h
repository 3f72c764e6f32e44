// The fixture of the controls' tests: an owner window, shown and active, whose WM_ENTERIDLE
// runs what a person at the display would do once a dialog or a menu waits for input.
#pragma once

#include "pal/test/user_test.h"
#include "win/controls.h"

#include <functional>
#include <string>

namespace controlstest {

class DialogTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        self = this;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DialogTest::proc;
        wc.lpszClassName = L"DialogOwner";
        ASSERT_NE(RegisterClassExW(&wc), 0);
        owner = CreateWindowExW(0, L"DialogOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 800,
                                600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        UserTest::TearDown();
        self = nullptr;
    }

    // Runs once, the next time a dialog of the owner waits for input, with the dialog.
    std::function<void(HWND dialog)> onIdle;
    HWND owner = nullptr;

    static std::wstring textOf(HWND hwnd) {
        wchar_t buffer[1024];
        GetWindowTextW(hwnd, buffer, 1024);
        return buffer;
    }

private:
    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ENTERIDLE && self && self->onIdle) {
            auto act = std::move(self->onIdle);
            self->onIdle = nullptr;
            act(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline DialogTest* self = nullptr;
};

} // namespace controlstest
