// A drawing of many elements of every kind the kernel saves, laid out over an A3 sheet, for the
// benchmarks that time opening and saving against plain file calls.
#pragma once

#include "DravikKernel/Document.h"

#include <memory>
#include <string>
#include <vector>

namespace dvbench {

inline std::unique_ptr<CDvw32Doc> bigDrawing(int count) {
    using namespace Dravik;
    auto doc = std::make_unique<CDvw32Doc>();
    std::vector<Element> elements;
    elements.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double x = i % 400, y = (i / 400) % 280;
        switch (i % 5) {
        case 0:
            elements.push_back({ElementKind::Line, 0, 0, L"", {x, y, x + 5, y + 3}, {}});
            break;
        case 1:
            elements.push_back({ElementKind::Circle, 0, 0, L"", {x, y, 2}, {}});
            break;
        case 2:
            elements.push_back({ElementKind::Arc, 0, 0, L"", {x, y, 3, 0, 90}, {}});
            break;
        case 3:
            elements.push_back(
                {ElementKind::Polyline, 0, 0, L"", {x, y, x + 1, y, x + 1, y + 1, x, y + 1}, {}});
            break;
        default:
            elements.push_back({ElementKind::Text, 0, 0, L"", {x, y, 2.5}, L"Поз. " + std::to_wstring(i)});
            break;
        }
    }
    doc->Cont2D()->LoadContent({Page{PageKind::Sheet, 420, 297, L"Лист 1"}}, {}, std::move(elements));
    return doc;
}

} // namespace dvbench
