// A memory DC over a small white bitmap, and its pixels as text rows ('#' black, '.' white,
// 'o' anything else) for comparing shapes at a glance.
#pragma once

#include "win/gdi.h"

#include <string>
#include <vector>

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    int width, height;

    Canvas(int w, int h, COLORREF background = RGB(255, 255, 255)) : width(w), height(h) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, w, h);
        original = SelectObject(dc, bitmap);
        fill(background);
    }
    ~Canvas() {
        SelectObject(dc, original);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void fill(COLORREF color) {
        HBRUSH b = CreateSolidBrush(color);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, b);
        DeleteObject(b);
    }
    std::vector<std::string> art() const {
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                row += c == RGB(0, 0, 0) ? '#' : c == RGB(255, 255, 255) ? '.' : 'o';
            }
            rows.push_back(row);
        }
        return rows;
    }
    std::vector<COLORREF> pixels() const {
        std::vector<COLORREF> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.push_back(GetPixel(dc, x, y));
        return out;
    }
};
