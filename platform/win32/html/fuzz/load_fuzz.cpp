// One page from the input: loaded, laid out at two widths, drawn with a selection, hit-tested,
// and its selected text read.
#include "pal/html.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static pal::html::Page* page = new pal::html::Page;
    static HDC dc = [] {
        HDC memory = CreateCompatibleDC(nullptr);
        SelectObject(memory, CreateCompatibleBitmap(memory, 320, 240));
        return memory;
    }();
    page->loadHtml(std::string_view(reinterpret_cast<const char*>(data), size), L"file:///fuzz/page.html");
    page->layout(320, 240);
    page->select(POINT{20, 10}, POINT{200, page->extent().cy / 2});
    for (int width : {320, 37}) {
        page->layout(width, 240);
        page->draw(dc, RECT{0, 0, 320, 240}, POINT{0, page->extent().cy / 2});
    }
    page->linkAt(10, 10);
    page->linkTargetAt(10, 10);
    page->selectedText();
    page->selectAll();
    page->selectedText();
    return 0;
}
