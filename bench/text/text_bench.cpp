// 500 short runs of text (captions, coordinates, Cyrillic labels) drawn into a 1920x1080
// window through the drawing layer, against the same runs drawn with direct Pango calls on an
// image surface of the same size: one layout made once, its text set and shown for each run.
// Both run in one process, alternating, and the best of several runs of each is compared.
// Target: the layer takes at most 1.5 times as long.
#include "pal/gdi.h"
#include "win/user.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTexts = 500;
constexpr int kRuns = 9;

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Run {
    std::wstring text;
    std::string utf8;
    POINT at;
    COLORREF color;
};

std::vector<Run> makeRuns() {
    const wchar_t* const words[] = {L"Layer", L"Слой", L"Dimension", L"Размер", L"Sheet", L"Лист",
                                    L"X=",    L"Y=",   L"Block",     L"Изм.",   L"Hatch", L"Дата"};
    std::vector<Run> runs;
    std::uint32_t seed = 4242;
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < kTexts; ++i) {
        Run r;
        r.text = std::wstring(words[next(12)]) + L" " + std::to_wstring(next(10000)) + L"." +
                 std::to_wstring(next(100));
        for (wchar_t c : r.text) { // the same text for Pango
            if (c < 0x80) {
                r.utf8 += static_cast<char>(c);
            } else {
                r.utf8 += static_cast<char>(0xC0 | (c >> 6));
                r.utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        r.at = POINT{next(kWidth - 150), next(kHeight - 20)};
        r.color = RGB(next(200), next(200), next(200));
        runs.push_back(std::move(r));
    }
    return runs;
}

double throughLayer(HWND hwnd, HFONT font, const std::vector<Run>& runs) {
    const auto start = Clock::now();
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    for (const Run& r : runs) {
        SetTextColor(dc, r.color);
        TextOutW(dc, r.at.x, r.at.y, r.text.c_str(), static_cast<int>(r.text.size()));
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return since(start);
}

double directPango(cairo_surface_t* surface, PangoLayout* layout, const std::vector<Run>& runs) {
    const auto start = Clock::now();
    cairo_t* cr = cairo_create(surface);
    for (const Run& r : runs) {
        cairo_set_source_rgb(cr, GetRValue(r.color) / 255.0, GetGValue(r.color) / 255.0,
                             GetBValue(r.color) / 255.0);
        pango_layout_set_text(layout, r.utf8.data(), static_cast<int>(r.utf8.size()));
        cairo_move_to(cr, r.at.x, r.at.y);
        pango_cairo_show_layout(cr, layout);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return since(start);
}

} // namespace

int main() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"TextBench";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, L"TextBench", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                nullptr, nullptr, nullptr);
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");

    cairo_surface_t* reference = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* description = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(description, 13 * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);

    const auto runs = makeRuns();
    throughLayer(hwnd, font, runs); // the first run makes the window's surface and warms the caches
    directPango(reference, layout, runs);
    double layer = 1e300, pango = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        layer = std::min(layer, throughLayer(hwnd, font, runs));
        pango = std::min(pango, directPango(reference, layout, runs));
    }
    std::printf("%d short runs of text in %dx%d, best of %d runs\n", kTexts, kWidth, kHeight, kRuns);
    std::printf("drawing layer: %7.2f ms\n", layer);
    std::printf("direct Pango:  %7.2f ms\n", pango);
    std::printf("ratio:         %7.2fx (target at most 1.50x)\n", layer / pango);

    pango_font_description_free(description);
    g_object_unref(layout);
    g_object_unref(context);
    cairo_surface_destroy(reference);
    DeleteObject(font);
    DestroyWindow(hwnd);
    return 0;
}
