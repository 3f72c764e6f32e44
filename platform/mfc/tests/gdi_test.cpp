// The drawing classes: painting through CPaintDC in a message map, selecting wrapped and
// temporary objects, regions, and the CRect/CPoint/CSize arithmetic.
#include "afx/globaldata.h"
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class Painted : public CWnd {
public:
    int paints = 0;
    CRect lastPaint;
    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        lastPaint = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(&client);
        CBrush red(kRed);
        dc.FillRect(&client, &red);
        CPen blue(PS_SOLID, 1, kBlue);
        CPen* old = dc.SelectObject(&blue);
        dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(2, 2, 10, 10);
        dc.SelectObject(old); // the pen is deselected before it is deleted
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Painted, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

class Erased : public CWnd {
public:
    int erases = 0;
    BOOL OnEraseBkgnd(CDC* pDC) {
        ++erases;
        CRect box;
        pDC->GetClipBox(&box);
        pDC->FillSolidRect(&box, kBlue);
        return TRUE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Erased, CWnd)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// Paints through one off-screen bitmap per paint: white, a blue square, then one copy.
class DoubleBuffered : public CWnd {
public:
    void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.Width(), client.Height());
        HGDIOBJ old = memory.SelectObject(static_cast<HGDIOBJ>(bitmap));
        memory.PatBlt(0, 0, client.Width(), client.Height(), WHITENESS);
        memory.FillSolidRect(2, 2, 3, 3, kBlue);
        dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
        ::DeleteObject(bitmap);
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DoubleBuffered, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

class GdiClasses : public pal::test::SandboxTest {
protected:
    void drain() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    void TearDown() override {
        drain();
        pal::mfc::deleteTemporaryWindows();
        SandboxTest::TearDown();
    }
};

TEST_F(GdiClasses, PaintDcDrawsTheUpdateAndValidatesIt) {
    Painted w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"painted", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr));
    drain();
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.lastPaint, CRect(0, 0, 40, 30));
    EXPECT_FALSE(::GetUpdateRect(w.m_hWnd, nullptr, FALSE));
    {
        CClientDC dc(&w);
        EXPECT_EQ(dc.GetPixel(0, 0), kRed);
        EXPECT_EQ(dc.GetPixel(2, 5), kBlue);
        EXPECT_EQ(dc.GetPixel(5, 5), kRed) << "a null brush leaves the inside";
        EXPECT_EQ(dc.GetWindow(), &w);
    }
    {
        CWindowDC dc(&w);
        dc.SetPixel(39, 29, kBlue);
    }
    CClientDC dc(&w);
    EXPECT_EQ(dc.GetPixel(39, 29), kBlue);
    w.DestroyWindow();
}

TEST_F(GdiClasses, EraseHandlerGetsTheDcOfThePaint) {
    Erased w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"erased", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
    drain();
    EXPECT_EQ(w.erases, 1);
    CDC* dc = w.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->GetPixel(19, 19), kBlue);
    EXPECT_EQ(w.ReleaseDC(dc), 1);
    w.DestroyWindow();
}

TEST_F(GdiClasses, DoubleBufferedPaintCopiesItsBitmapToTheWindow) {
    DoubleBuffered w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"buffered", WS_POPUP | WS_VISIBLE, 0, 0, 12, 10, nullptr, nullptr));
    drain();
    CClientDC dc(&w);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(3, 3), kBlue);
    EXPECT_EQ(dc.GetPixel(11, 9), RGB(255, 255, 255));
}

TEST_F(GdiClasses, SelectingAnswersWrappedOrTemporaryObjects) {
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    HBITMAP bitmap = ::CreateCompatibleBitmap(mem, 8, 8);
    HGDIOBJ oldBitmap = mem.SelectObject(static_cast<HGDIOBJ>(bitmap));
    CPen pen(PS_SOLID, 1, kBlue);
    CPen* stock = mem.SelectObject(&pen);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->m_hObject, ::GetStockObject(BLACK_PEN)) << "a temporary wrapper of the stock pen";
    EXPECT_EQ(mem.GetCurrentPen(), &pen) << "the program's own wrapper is found again";
    EXPECT_EQ(mem.SelectObject(stock), &pen);
    CBrush hatch(HS_CROSS, kRed);
    LOGBRUSH lb{};
    hatch.GetLogBrush(&lb);
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    CRgn clip;
    clip.CreateRectRgn(0, 0, 4, 8);
    EXPECT_EQ(mem.SelectClipRgn(&clip), SIMPLEREGION);
    mem.FillSolidRect(0, 0, 8, 8, kRed);
    EXPECT_EQ(mem.GetBkColor(), kRed) << "filling with a colour leaves it as the background colour";
    EXPECT_EQ(mem.GetPixel(6, 6), CLR_INVALID);
    mem.SelectClipRgn(nullptr);
    EXPECT_NE(mem.GetPixel(6, 6), kRed);
    mem.Draw3dRect(CRect(0, 0, 8, 8), kBlue, RGB(0, 255, 0));
    EXPECT_EQ(mem.GetPixel(0, 0), kBlue);
    EXPECT_EQ(mem.GetPixel(7, 7), RGB(0, 255, 0));
    EXPECT_EQ(mem.GetPixel(0, 6), kBlue);
    EXPECT_EQ(mem.GetPixel(0, 7), RGB(0, 255, 0)) << "the corners go to the right and bottom lines";
    EXPECT_EQ(mem.GetPixel(7, 0), RGB(0, 255, 0));
    mem.SelectObject(oldBitmap);
    ::DeleteObject(bitmap);
}

// The end of the program's drawing: the class library lets go of what it made for itself, and
// a drawing object and the program's own wrapper of one still work afterwards.
TEST_F(GdiClasses, CleaningUpTheGlobalDataKeepsTheObjectsAndTheProgramsWrappers) {
    CPen pen(PS_SOLID, 1, kBlue);
    HBRUSH handed = ::CreateSolidBrush(kRed);
    ASSERT_NE(CBrush::FromHandle(handed), nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    for (int round = 0; round < 2; ++round) { // a second clean-up finds nothing left to free
        GetGlobalData()->CleanUp();
        EXPECT_EQ(CPen::FromHandle(pen), &pen);
        EXPECT_EQ(::GetObjectType(handed), static_cast<DWORD>(OBJ_BRUSH));
        CBrush* again = CBrush::FromHandle(handed);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->m_hObject, handed);
        CRect area(0, 0, 4, 4);
        HBITMAP bitmap = ::CreateCompatibleBitmap(mem, 4, 4);
        HGDIOBJ old = mem.SelectObject(static_cast<HGDIOBJ>(bitmap));
        mem.FillRect(&area, again);
        EXPECT_EQ(mem.GetPixel(1, 1), kRed);
        mem.SelectObject(old);
        ::DeleteObject(bitmap);
    }
    ::DeleteObject(handed);
}

TEST_F(GdiClasses, RegionsCombineAndCompare) {
    CRgn a, b, both, whole;
    a.CreateRectRgn(0, 0, 10, 5);
    b.CreateRectRgnIndirect(CRect(0, 5, 10, 10));
    both.CreateRectRgn(0, 0, 0, 0);
    whole.CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(both.EqualRgn(&whole));
    EXPECT_EQ(both.CopyRgn(&a), SIMPLEREGION);
    EXPECT_TRUE(both.EqualRgn(&a));
    both.OffsetRgn(CPoint(1, 1));
    EXPECT_TRUE(both.PtInRegion(10, 5));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(1, 1, 11, 6));
}

struct RectCase {
    const char* name;
    CRect (*compute)();
    CRect expected;
};

void PrintTo(const RectCase& c, std::ostream* os) {
    *os << c.name;
}

const RectCase kRects[] = {
    {"Intersect", [] { return CRect(0, 0, 10, 10) & CRect(5, 5, 20, 20); }, {5, 5, 10, 10}},
    {"Union", [] { return CRect(0, 0, 10, 10) | CRect(5, 5, 20, 20); }, {0, 0, 20, 20}},
    {"OffsetByPoint", [] { return CRect(0, 0, 10, 10) + CPoint(3, 4); }, {3, 4, 13, 14}},
    {"OffsetBySize", [] { return CRect(3, 4, 13, 14) - CSize(3, 4); }, {0, 0, 10, 10}},
    {"InflateEachSide", [] { return CRect(10, 10, 20, 20) + CRect(1, 2, 3, 4); }, {9, 8, 23, 24}},
    {"Normalize",
     [] {
         CRect r(10, 10, 0, 0);
         r.NormalizeRect();
         return r;
     },
     {0, 0, 10, 10}},
    {"MoveTo",
     [] {
         CRect r(1, 1, 5, 3);
         r.MoveToXY(10, 20);
         return r;
     },
     {10, 20, 14, 22}},
    {"SubtractTopBand",
     [] {
         CRect r;
         r.SubtractRect(CRect(0, 0, 10, 10), CRect(-5, -5, 15, 4));
         return r;
     },
     {0, 4, 10, 10}},
    {"SubtractMiddleKeepsAll",
     [] {
         CRect r;
         r.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4));
         return r;
     },
     {0, 0, 10, 10}},
};

class Rects : public ::testing::TestWithParam<RectCase> {};

TEST_P(Rects, Arithmetic) {
    EXPECT_EQ(GetParam().compute(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Rects, ::testing::ValuesIn(kRects),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PointsAndSizes, Arithmetic) {
    EXPECT_EQ(CPoint(5, 7) - CPoint(2, 3), CSize(3, 4)) << "two points differ by a size";
    CPoint p(1, 1);
    p += CSize(2, 3);
    EXPECT_EQ(p, CPoint(3, 4));
    EXPECT_EQ(-p, CPoint(-3, -4));
    CSize s(4, 5);
    s -= CSize(1, 1);
    EXPECT_EQ(s + CSize(1, 1), CSize(4, 5));
    EXPECT_TRUE(CSize(1, 2) != CSize(2, 1));
}

} // namespace
