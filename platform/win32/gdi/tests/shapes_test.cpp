// Lines and shapes land on the platform's pixels; drawing under XOR-like modes undoes itself.
#include "canvas.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rows = std::vector<std::string>;

struct ShapeCase {
    const char* name;
    std::function<void(HDC)> draw;
    Rows expected;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

const ShapeCase kShapes[] = {
    {"LineLeavesOutItsLastPoint",
     [](HDC dc) {
         MoveToEx(dc, 1, 1, nullptr);
         LineTo(dc, 8, 1);
         MoveToEx(dc, 2, 6, nullptr);
         LineTo(dc, 2, 3);
     },
     {"..........", ".#######..", "..........", "..........", "..#.......", "..#.......", "..#.......",
      ".........."}},
    {"DiagonalLineStepsAlongItsLongerAxis",
     [](HDC dc) {
         MoveToEx(dc, 1, 1, nullptr);
         LineTo(dc, 7, 4);
     },
     {"..........", ".##.......", "...##.....", ".....##...", "..........", "..........", "..........",
      ".........."}},
    {"RectangleOutlineInsideItsBounds",
     [](HDC dc) {
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         Rectangle(dc, 1, 1, 8, 6);
     },
     {"..........", ".#######..", ".#.....#..", ".#.....#..", ".#.....#..", ".#######..", "..........",
      ".........."}},
    {"RectangleWithoutPenIsOnePixelSmaller",
     [](HDC dc) {
         SelectObject(dc, GetStockObject(NULL_PEN));
         SelectObject(dc, GetStockObject(BLACK_BRUSH));
         Rectangle(dc, 1, 1, 8, 6);
     },
     {"..........", ".######...", ".######...", ".######...", ".######...", "..........", "..........",
      ".........."}},
    {"EllipseTouchesTheMiddleOfEachSide",
     [](HDC dc) {
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         Ellipse(dc, 0, 0, 10, 8);
     },
     {"...####...", ".##....##.", "#........#", "#........#", "#........#", "#........#", ".##....##.",
      "...####..."}},
    {"FilledPolygon",
     [](HDC dc) {
         SelectObject(dc, GetStockObject(BLACK_BRUSH));
         const POINT p[] = {{1, 6}, {5, 1}, {9, 6}};
         Polygon(dc, p, 3);
     },
     {"..........", ".....#....", "....###...", "...#####..", "...#####..", "..#######.", ".#########",
      ".........."}},
};

class Shapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(Shapes, LandOnTheExpectedPixels) {
    Canvas c(10, 8);
    GetParam().draw(c.dc);
    EXPECT_EQ(c.art(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Shapes, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Pens, DottedLineFillsItsGapsOnlyWhenOpaque) {
    Canvas c(14, 4);
    HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(c.dc, dot);
    SetBkColor(c.dc, RGB(0, 255, 0));
    MoveToEx(c.dc, 0, 1, nullptr);
    LineTo(c.dc, 14, 1);
    SetBkMode(c.dc, TRANSPARENT);
    MoveToEx(c.dc, 0, 3, nullptr);
    LineTo(c.dc, 14, 3);
    EXPECT_EQ(c.art(), (Rows{"..............", "###ooo###ooo##", "..............", "###...###...##"}));
    SelectObject(c.dc, old);
    DeleteObject(dot);
}

TEST(Brushes, HatchAndDcColours) {
    Canvas c(10, 10);
    HBRUSH cross = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
    RECT all{0, 0, 10, 10};
    SetBkMode(c.dc, TRANSPARENT);
    FillRect(c.dc, &all, cross);
    const Rows art = c.art();
    EXPECT_EQ(art[7], "##########");
    EXPECT_EQ(art[0], ".......#..");
    DeleteObject(cross);

    SelectObject(c.dc, GetStockObject(DC_BRUSH));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SetDCBrushColor(c.dc, RGB(1, 2, 3));
    Rectangle(c.dc, 0, 0, 5, 5);
    EXPECT_EQ(GetPixel(c.dc, 2, 2), RGB(1, 2, 3));
}

TEST(Brushes, PatternBrushRepeatsFromTheBrushOrigin) {
    Canvas tile(2, 2);
    SetPixel(tile.dc, 0, 0, RGB(0, 0, 0)); // one black pixel in four
    HBRUSH pattern = CreatePatternBrush(tile.bitmap);
    ASSERT_NE(pattern, nullptr);
    Canvas c(6, 4);
    RECT all{0, 0, 6, 4};
    FillRect(c.dc, &all, pattern);
    EXPECT_EQ(c.art(), (Rows{"#.#.#.", "......", "#.#.#.", "......"}));
    SetBrushOrgEx(c.dc, 1, 1, nullptr);
    FillRect(c.dc, &all, pattern);
    EXPECT_EQ(c.art(), (Rows{"......", ".#.#.#", "......", ".#.#.#"}));
    DeleteObject(pattern);
}

struct UndoCase {
    const char* name;
    std::function<void(HDC)> draw;
};

void PrintTo(const UndoCase& c, std::ostream* os) {
    *os << c.name;
}

// Each drawing, done twice, gives back the picture it started from.
const UndoCase kUndo[] = {
    {"XorPenLine",
     [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 100, 50));
         HGDIOBJ old = SelectObject(dc, pen);
         SetROP2(dc, R2_XORPEN);
         MoveToEx(dc, 0, 0, nullptr);
         LineTo(dc, 11, 7);
         SelectObject(dc, old);
         DeleteObject(pen);
     }},
    {"XorRectangleWithBrush",
     [](HDC dc) {
         HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
         HGDIOBJ old = SelectObject(dc, brush);
         SetROP2(dc, R2_XORPEN);
         Rectangle(dc, 1, 1, 10, 7);
         SelectObject(dc, old);
         DeleteObject(brush);
     }},
    {"NotEllipse",
     [](HDC dc) {
         SetROP2(dc, R2_NOT);
         Ellipse(dc, 0, 0, 12, 8);
     }},
    {"NotXorWidePolyline",
     [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, 3, RGB(90, 90, 250));
         HGDIOBJ old = SelectObject(dc, pen);
         SetROP2(dc, R2_NOTXORPEN);
         const POINT p[] = {{1, 1}, {10, 2}, {4, 6}};
         Polyline(dc, p, 3);
         SelectObject(dc, old);
         DeleteObject(pen);
     }},
    {"FocusRect",
     [](HDC dc) {
         RECT r{1, 1, 11, 7};
         DrawFocusRect(dc, &r);
     }},
    {"InvertRect",
     [](HDC dc) {
         RECT r{2, 2, 9, 5};
         InvertRect(dc, &r);
     }},
    {"PatInvert", [](HDC dc) { PatBlt(dc, 1, 1, 8, 5, PATINVERT); }},
};

class Undo : public ::testing::TestWithParam<UndoCase> {};

TEST_P(Undo, TwiceRestoresTheOriginal) {
    Canvas c(12, 8);
    // A background with some variety, so an undone pixel cannot match by chance.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(c.dc, x, y, RGB(x * 20, y * 30, (x + y) * 10));
    const auto before = c.pixels();
    SelectObject(c.dc, GetStockObject(GRAY_BRUSH));
    GetParam().draw(c.dc);
    EXPECT_NE(c.pixels(), before) << "the first drawing changes something";
    GetParam().draw(c.dc);
    EXPECT_EQ(c.pixels(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, Undo, ::testing::ValuesIn(kUndo),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Edges, SunkenEdgeUsesTheShadowColoursAndAdjusts) {
    Canvas c(8, 6);
    RECT r{0, 0, 8, 6};
    ASSERT_TRUE(DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(GetPixel(c.dc, 0, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetPixel(c.dc, 1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetPixel(c.dc, 7, 5), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(GetPixel(c.dc, 6, 4), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(255, 255, 255)) << "the middle is left alone";
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 4);
}

TEST(SystemColours, ClassicValuesAndStockBrushes) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
    EXPECT_EQ(GetSysColor(99), 0u);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(DeleteObject(face)) << "deleting a stock brush is allowed and does nothing";
    Canvas c(2, 2);
    RECT r{0, 0, 2, 2};
    FillRect(c.dc, &r, face);
    EXPECT_EQ(GetPixel(c.dc, 1, 1), GetSysColor(COLOR_BTNFACE));
    // A class background given as a colour index plus one.
    FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(GetPixel(c.dc, 0, 0), GetSysColor(COLOR_HIGHLIGHT));
}

} // namespace
