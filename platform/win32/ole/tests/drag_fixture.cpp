#include "drag_fixture.h"

namespace oletest {
namespace {

std::function<void(HWND)> gOnPress;

// The source starts a drag on a button press; every window records WM_DROPFILES.
LRESULT testProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && gOnPress) {
        gOnPress(hwnd);
        return 0;
    }
    if (message == WM_DROPFILES)
        gReceived.push_back(MSG{hwnd, message, wParam, lParam, 0, {}});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

std::vector<MSG> gReceived;

void DragFixture::SetUp() {
    UserTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = testProc;
    wc.lpszClassName = L"DragTestWindow";
    RegisterClassExW(&wc);
    source = CreateWindowExW(0, L"DragTestWindow", L"source", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                             nullptr, nullptr, nullptr, nullptr);
    target = CreateWindowExW(0, L"DragTestWindow", L"target", WS_POPUP | WS_VISIBLE, 500, 100, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(source);
    SetFocus(source);
    pal::test::pump();
    gReceived.clear();
}

void DragFixture::TearDown() {
    gOnPress = nullptr;
    gReceived.clear();
    UserTest::TearDown();
    OleUninitialize();
}

DragFixture::Outcome DragFixture::drag(IDataObject* data, std::vector<POINT> path,
                                       const std::function<void()>& keys, DWORD ok) {
    Outcome out;
    source_ = new TestSource;
    for (POINT p : path)
        source_->script.push_back([p] { pal::test::mouseMove(p); });
    const POINT end = path.back();
    source_->script.push_back([end, keys] {
        if (keys)
            keys();
        pal::test::mouseUp(end);
    });
    gOnPress = [&](HWND) { out.result = DoDragDrop(data, source_, ok, &out.effect); };
    pal::test::mouseDown(POINT{150, 150});
    pal::test::pump();
    source_->Release();
    source_ = nullptr;
    return out;
}

} // namespace oletest
