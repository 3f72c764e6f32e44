// The fixture of the controls' tests: a parent window that writes down every notification its
// controls send, as "id:NAME" (WM_COMMAND codes, WM_NOTIFY codes, WM_HSCROLL/WM_VSCROLL codes).
#pragma once

#include "pal/test/user_test.h"
#include "win/controls.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace controlstest {

using Log = std::vector<std::string>;

class ControlTest : public pal::test::UserTest {
public:
    void SetUp() override;
    void TearDown() override;

    // A child control of the parent window, created with WS_CHILD | WS_VISIBLE added.
    HWND make(LPCWSTR className, LPCWSTR text, DWORD style, RECT r, int id);
    // What the parent heard since the last call.
    Log take();
    // Mouse and keys as a person gives them; the queue is pumped after each.
    void clickAt(HWND hwnd, int x, int y);
    void doubleClickAt(HWND hwnd, int x, int y);
    void press(int key, std::initializer_list<int> modifiers = {});
    void type(const std::wstring& text);
    void pump();

    HWND parent = nullptr;

public:
    static ControlTest* current;
    Log log;
    // Answers the parent gives, by message, before the default handling.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> answer;
};

std::wstring textOf(HWND hwnd);

// A person's right click at a control's client point, the parent answering NM_RCLICK with
// `taken`: the screen point the control then asked its context menu for, or none.
std::optional<POINT> contextMenuAfterRightClick(ControlTest& t, HWND control, POINT at, LRESULT taken);
// A right click the parent leaves alone asks for the control's context menu at the click; one
// the parent takes asks for none.
void expectRightClickAsksForTheContextMenu(ControlTest& t, HWND control, POINT at);

} // namespace controlstest
