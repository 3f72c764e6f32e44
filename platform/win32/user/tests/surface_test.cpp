// Windows painting real pixels: erasing with the class brush, clipping between parents,
// children and siblings, update regions, the frame, printing and layered windows.
#include "pal/sandbox.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#include <filesystem>
#include <functional>
#include <map>

namespace {

using pal::test::snapshot;

// A window class whose procedure fills its client area with a colour of its own on WM_PAINT.
struct Painter {
    static inline std::map<HWND, COLORREF> colors;
    static inline std::vector<RECT> paintRects;
    static inline std::function<void(HWND, HDC, const PAINTSTRUCT&)> extra;

    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(hwnd, &ps);
            paintRects.push_back(ps.rcPaint);
            if (auto it = colors.find(hwnd); it != colors.end()) {
                RECT client{};
                GetClientRect(hwnd, &client);
                HBRUSH b = CreateSolidBrush(it->second);
                FillRect(dc, &client, b);
                DeleteObject(b);
            }
            if (extra)
                extra(hwnd, dc, ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_PRINTCLIENT) {
            if (auto it = colors.find(hwnd); it != colors.end()) {
                RECT client{};
                GetClientRect(hwnd, &client);
                HBRUSH b = CreateSolidBrush(it->second);
                FillRect(reinterpret_cast<HDC>(wParam), &client, b);
                DeleteObject(b);
            }
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

class SurfaceTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        Painter::colors.clear();
        Painter::paintRects.clear();
        Painter::extra = nullptr;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Painter::proc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = L"Painter";
        ASSERT_NE(RegisterClassExW(&wc), 0);
    }
    void TearDown() override {
        Painter::extra = nullptr;
        UserTest::TearDown();
    }
    HWND make(DWORD style, HWND parent, RECT r, COLORREF color = CLR_INVALID, DWORD exStyle = 0) {
        HWND h = CreateWindowExW(exStyle, L"Painter", L"", style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, parent, nullptr, nullptr, nullptr);
        EXPECT_NE(h, nullptr);
        if (color != CLR_INVALID)
            Painter::colors[h] = color;
        return h;
    }
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

TEST_F(SurfaceTest, BackgroundIsErasedWithTheClassBrush) {
    HWND w = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 40, 30});
    pal::test::pump();
    const auto s = snapshot(w);
    EXPECT_EQ(s.pixel(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(s.pixel(39, 29), GetSysColor(COLOR_BTNFACE));
}

TEST_F(SurfaceTest, ClipChildrenKeepsTheParentOffItsChildren) {
    struct Case {
        DWORD parentStyle;
        COLORREF childAfterParentDraws; // what the parent's own DC leaves in the child
        size_t paintsOnInvalidate;      // parent only, or parent and child
    };
    for (const Case& c : {Case{WS_CLIPCHILDREN, kBlue, 1}, Case{0, kGreen, 2}}) {
        HWND parent = make(WS_POPUP | WS_VISIBLE | c.parentStyle, nullptr, {0, 0, 60, 40}, kRed);
        make(WS_CHILD | WS_VISIBLE, parent, {10, 10, 30, 30}, kBlue);
        pal::test::pump();
        HDC dc = GetDC(parent);
        RECT all{0, 0, 60, 40};
        HBRUSH green = CreateSolidBrush(kGreen);
        FillRect(dc, &all, green);
        ReleaseDC(parent, dc);
        DeleteObject(green);
        auto s = snapshot(parent);
        EXPECT_EQ(s.pixel(15, 15), c.childAfterParentDraws);
        EXPECT_EQ(s.pixel(5, 5), kGreen);

        Painter::paintRects.clear();
        InvalidateRect(parent, nullptr, TRUE);
        pal::test::pump();
        EXPECT_EQ(Painter::paintRects.size(), c.paintsOnInvalidate);
        s = snapshot(parent);
        EXPECT_EQ(s.pixel(15, 15), kBlue) << "the child is on top either way";
        EXPECT_EQ(s.pixel(35, 15), kRed);
        DestroyWindow(parent);
    }
}

TEST_F(SurfaceTest, ClipSiblingsKeepsALowerSiblingUnderTheUpperOne) {
    HWND parent = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, {0, 0, 60, 40}, kRed);
    HWND upper = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, {10, 10, 30, 30}, kBlue);
    HWND lower = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, {20, 20, 50, 35}, kGreen);
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pal::test::pump();
    InvalidateRect(lower, nullptr, TRUE);
    pal::test::pump();
    const auto s = snapshot(parent);
    EXPECT_EQ(s.pixel(25, 25), kBlue) << "the overlap belongs to the upper sibling";
    EXPECT_EQ(s.pixel(40, 30), kGreen);
}

TEST_F(SurfaceTest, InvalidatedRegionsGiveOnePaintWithTheirUnion) {
    HWND w = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 80}, kRed);
    pal::test::pump();
    HRGN seen = CreateRectRgn(0, 0, 0, 0);
    int paints = 0;
    Painter::extra = [&](HWND, HDC dc, const PAINTSTRUCT&) {
        ++paints;
        // The DC of BeginPaint is clipped to the update region.
        GetClipRgn(dc, seen);
    };
    Painter::colors[w] = kBlue;
    RECT a{10, 10, 20, 20}, b{50, 30, 60, 40};
    InvalidateRect(w, &a, FALSE);
    HRGN second = CreateRectRgnIndirect(&b);
    InvalidateRgn(w, second, FALSE);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(w, update, FALSE), COMPLEXREGION);
    pal::test::pump();
    EXPECT_EQ(paints, 1);
    HRGN expected = CreateRectRgnIndirect(&a);
    CombineRgn(expected, expected, second, RGN_OR);
    EXPECT_TRUE(EqualRgn(update, expected));
    const auto s = snapshot(w);
    EXPECT_EQ(s.pixel(15, 15), kBlue);
    EXPECT_EQ(s.pixel(55, 35), kBlue);
    EXPECT_EQ(s.pixel(30, 15), kRed) << "between the two areas nothing was painted";
    EXPECT_EQ(s.pixel(55, 15), kRed) << "the bounding box is not the update region";
    for (HRGN r : {seen, second, update, expected})
        DeleteObject(r);
}

TEST_F(SurfaceTest, RedrawWindowTakesItsRegion) {
    HWND w = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 50, 50}, kRed);
    pal::test::pump();
    Painter::colors[w] = kGreen;
    HRGN area = CreateRectRgn(0, 0, 10, 10);
    RedrawWindow(w, nullptr, area, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto s = snapshot(w);
    EXPECT_EQ(s.pixel(5, 5), kGreen);
    EXPECT_EQ(s.pixel(15, 15), kRed);
    DeleteObject(area);
}

TEST_F(SurfaceTest, AMovedChildShowsAtItsNewPlace) {
    HWND parent = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 60, 40}, kRed);
    HWND child = make(WS_CHILD | WS_VISIBLE, parent, {0, 0, 10, 10}, kBlue);
    pal::test::pump();
    SetWindowPos(child, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pal::test::pump();
    const auto s = snapshot(parent);
    EXPECT_EQ(s.pixel(35, 25), kBlue);
    EXPECT_EQ(s.pixel(5, 5), kRed) << "the place it left is painted by the parent";
}

// A window over a pane with a child of its own (as the ribbon's backstage lies over the docking
// panes) goes away: the pane and its child paint their own pixels again where it was, whether
// the parent keeps off its children or paints over them.
TEST_F(SurfaceTest, WhatAWindowUncoversShowsEveryWindowUnderIt) {
    constexpr COLORREF kDark = RGB(0, 100, 0);
    const struct {
        const char* name;
        DWORD parentStyle;
        std::function<void(HWND)> uncover;
    } cases[] = {
        {"hidden", 0, [](HWND h) { ShowWindow(h, SW_HIDE); }},
        {"hidden in a clipping parent", WS_CLIPCHILDREN, [](HWND h) { ShowWindow(h, SW_HIDE); }},
        {"hidden by its position", 0,
         [](HWND h) {
             SetWindowPos(h, nullptr, 0, 0, 0, 0,
                          SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
         }},
        {"moved away", 0, [](HWND h) { MoveWindow(h, 100, 0, 20, 80, TRUE); }},
        {"destroyed", WS_CLIPCHILDREN, [](HWND h) { DestroyWindow(h); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND parent = make(WS_POPUP | WS_VISIBLE | c.parentStyle, nullptr, {0, 0, 120, 80}, kRed);
        HWND pane = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, {10, 10, 90, 70}, kGreen);
        make(WS_CHILD | WS_VISIBLE, pane, {5, 5, 25, 25}, kDark);
        HWND cover =
            make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, parent, {0, 0, 100, 80}, kBlue);
        SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        pal::test::pump();
        ASSERT_EQ(snapshot(parent).pixel(50, 50), kBlue);
        c.uncover(cover);
        pal::test::pump();
        const auto s = snapshot(parent);
        EXPECT_EQ(s.pixel(5, 5), kRed);
        EXPECT_EQ(s.pixel(50, 50), kGreen) << "the pane";
        EXPECT_EQ(s.pixel(20, 20), kDark) << "the pane's child";
        DestroyWindow(parent);
    }
}

TEST_F(SurfaceTest, CaptionColoursFollowActivation) {
    const DWORD captioned = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    HWND first = make(captioned, nullptr, {0, 0, 80, 60});
    HWND second = make(captioned, nullptr, {100, 0, 180, 60});
    SetActiveWindow(first);
    pal::test::pump();
    POINT origin{0, 0};
    ClientToScreen(first, &origin); // the caption's first pixel lies above the client's left edge
    const COLORREF active = GetSysColor(COLOR_ACTIVECAPTION), inactive = GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_EQ(snapshot(first).pixel(origin.x, 4), active);
    EXPECT_EQ(snapshot(second).pixel(origin.x, 4), inactive);
    SetActiveWindow(second);
    pal::test::pump();
    EXPECT_EQ(snapshot(first).pixel(origin.x, 4), inactive);
    EXPECT_EQ(snapshot(second).pixel(origin.x, 4), active);
}

TEST_F(SurfaceTest, FrameIsPaintedEvenWhenThePaintSkipsBeginPaint) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_PAINT) {
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = L"NoBeginPaint";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    // Shown without activation, so no caption repaint paints the frame by the way.
    HWND w = CreateWindowExW(0, L"NoBeginPaint", L"", WS_POPUP | WS_DLGFRAME, 0, 0, 30, 20, nullptr, nullptr,
                             nullptr, nullptr);
    ShowWindow(w, SW_SHOWNA);
    pal::test::pump();
    EXPECT_EQ(snapshot(w).pixel(0, 0), GetSysColor(COLOR_3DLIGHT)) << "the raised frame";
}

TEST_F(SurfaceTest, ScreenDcCoversThePrimaryMonitor) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1920);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0) << "a DC is given back once";
}

// A small dialog: fixed frame, caption with a close button, a filled child.
TEST_F(SurfaceTest, DialogSnapshotShowsFrameCaptionAndChild) {
    HWND dialog = make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, nullptr, {100, 100, 260, 200});
    make(WS_CHILD | WS_VISIBLE, dialog, {10, 10, 60, 40}, kBlue);
    SetActiveWindow(dialog);
    pal::test::pump();
    const auto png = pal::sandbox::root() / "dialog.png";
    ASSERT_TRUE(pal::test::saveSnapshot(dialog, png));
    const auto s = snapshot(dialog);
    ASSERT_EQ(s.width(), 160);
    ASSERT_EQ(s.height(), 100);
    RECT client{};
    GetClientRect(dialog, &client);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    const int cx = origin.x - 100, cy = origin.y - 100; // the client area within the window
    EXPECT_EQ(s.pixel(0, 0), GetSysColor(COLOR_3DLIGHT)) << "raised frame, outer light edge";
    EXPECT_EQ(s.pixel(159, 99), GetSysColor(COLOR_3DDKSHADOW)) << "raised frame, outer dark edge";
    EXPECT_EQ(s.pixel(cx, 4), GetSysColor(COLOR_ACTIVECAPTION)) << "the caption starts in the active colour";
    EXPECT_EQ(s.pixel(cx + 15, cy + 15), kBlue) << "the child";
    EXPECT_EQ(s.pixel(cx + 100, cy + 50), GetSysColor(COLOR_BTNFACE)) << "the dialog's background";
    // The close button: a face near the caption's right end, with a dark glyph in it.
    bool face = false, glyph = false;
    for (int x = 160 - 25; x < 160 - cx; ++x) {
        face = face || s.pixel(x, cy / 2) == GetSysColor(COLOR_BTNFACE);
        glyph = glyph || s.pixel(x, cy / 2) == GetSysColor(COLOR_BTNTEXT);
    }
    EXPECT_TRUE(face && glyph);
}

TEST_F(SurfaceTest, PrintDrawsWhatItsFlagsAskForIntoTheGivenDc) {
    HWND parent = make(WS_POPUP | WS_BORDER | WS_VISIBLE, nullptr, {0, 0, 50, 40});
    make(WS_CHILD | WS_VISIBLE, parent, {5, 5, 25, 25}, kBlue);
    struct Case {
        LPARAM flags;
        COLORREF border, background, child; // at 0,0, at 2,2 and inside the child (6 + 1, 6 + 1)
    };
    const COLORREF white = RGB(255, 255, 255), face = GetSysColor(COLOR_BTNFACE);
    for (const Case& c : {Case{PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN,
                               GetSysColor(COLOR_WINDOWFRAME), face, kBlue},
                          Case{PRF_NONCLIENT | PRF_ERASEBKGND, GetSysColor(COLOR_WINDOWFRAME), face, face},
                          Case{PRF_CLIENT | PRF_CHILDREN, white, white, kBlue}}) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, 50, 40);
        SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 50, 40, WHITENESS);
        SendMessageW(parent, WM_PRINT, reinterpret_cast<WPARAM>(dc), c.flags);
        const int shift = (c.flags & PRF_NONCLIENT) ? 1 : 0; // the client area lies inside the border
        EXPECT_EQ(GetPixel(dc, 0, 0), c.border) << c.flags;
        EXPECT_EQ(GetPixel(dc, 2, 2), c.background) << c.flags;
        EXPECT_EQ(GetPixel(dc, 6 + shift, 6 + shift), c.child) << c.flags;
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST_F(SurfaceTest, LayeredWindowKeepsThePixelsItIsGiven) {
    HWND w = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 4, 4}, CLR_INVALID, WS_EX_LAYERED);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
    SelectObject(dc, bitmap);
    RECT all{0, 0, 8, 8};
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(dc, &all, green);
    POINT at{20, 30}, from{0, 0};
    SIZE size{8, 8};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, &at, &size, dc, &from, 0, &blend, ULW_ALPHA));
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 28);
    pal::test::pump();
    const auto s = snapshot(w);
    EXPECT_EQ(s.pixel(7, 7), kGreen);
    EXPECT_EQ(s.pixel(1, 1), kGreen) << "erasing and painting no longer reach the given pixels";
    InvalidateRect(w, nullptr, TRUE);
    pal::test::pump();
    EXPECT_EQ(snapshot(w).pixel(1, 1), kGreen);
    // Per-pixel alpha reaches the window's own pixels.
    const std::uint32_t bits[4] = {0x80000000, 0x00000000, 0xFF00FF00, 0xFF00FF00};
    HBITMAP withAlpha = CreateBitmap(2, 2, 1, 32, bits);
    HGDIOBJ old = SelectObject(dc, withAlpha);
    SIZE small{2, 2};
    ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, &small, dc, &from, 0, &blend, ULW_ALPHA));
    HDC window = GetWindowDC(w);
    const pal::gdi::Surface pixels = pal::gdi::surfaceOf(window);
    ReleaseDC(w, window);
    ASSERT_TRUE(pixels.hasAlpha());
    cairo_surface_flush(pixels.get());
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(pixels.get()));
    EXPECT_EQ(row[0] >> 24, 0x80u);
    EXPECT_EQ(row[1] >> 24, 0u);
    SelectObject(dc, old);
    DeleteObject(withAlpha);
    HWND plain = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 4, 4});
    EXPECT_FALSE(UpdateLayeredWindow(plain, nullptr, nullptr, nullptr, dc, &from, 0, &blend, ULW_ALPHA));
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(green);
}

TEST_F(SurfaceTest, SnapshotVariableWritesTopLevelWindowsIntoTheSandbox) {
    struct Case {
        const char* value;
        const char* folder; // where the picture lands, or null for nowhere
    };
    for (const Case& c :
         {Case{"1", "snapshots"}, Case{"pictures/run", "pictures/run"}, Case{"../outside", nullptr}}) {
        ::setenv("DV_PAL_SNAPSHOTS", c.value, 1);
        HWND w = make(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 12, 8}, kBlue);
        make(WS_CHILD | WS_VISIBLE, w, {0, 0, 4, 4}, kRed);
        pal::test::pump();
        DestroyWindow(w);
        ::unsetenv("DV_PAL_SNAPSHOTS");
        const auto root = pal::sandbox::root();
        EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "outside"));
        if (!c.folder)
            continue;
        std::vector<std::filesystem::path> pictures;
        for (const auto& entry : std::filesystem::directory_iterator(root / c.folder))
            pictures.push_back(entry.path());
        ASSERT_EQ(pictures.size(), 1u) << c.value;
        EXPECT_EQ(pictures[0].extension(), ".png");
        pal::gdi::Surface png(cairo_image_surface_create_from_png(pictures[0].c_str()));
        ASSERT_EQ(png.width(), 12);
        EXPECT_EQ(png.pixel(10, 6), kBlue);
        EXPECT_EQ(png.pixel(1, 1), kRed) << "the children are in the picture";
    }
}

TEST_F(SurfaceTest, SnapshotVariableWritesTheWindowsStillOpenWhenTheProgramEnds) {
    const std::string program = (binDir() / "dvpal_user_snapshot_child").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    ::setenv("DV_PAL_SNAPSHOTS", "1", 1);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    ::unsetenv("DV_PAL_SNAPSHOTS");
    ASSERT_EQ(spawned, 0);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<std::filesystem::path> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(pal::sandbox::root() / "snapshots"))
        pictures.push_back(entry.path());
    ASSERT_EQ(pictures.size(), 1u);
    pal::gdi::Surface png(cairo_image_surface_create_from_png(pictures[0].c_str()));
    EXPECT_EQ(png.width(), 16);
    EXPECT_EQ(png.pixel(8, 6), GetSysColor(COLOR_HIGHLIGHT));
}

} // namespace
