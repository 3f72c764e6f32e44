// The class library's fonts, bitmaps, image lists and text members of CDC over a memory DC.
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

class GdiText : public pal::test::SandboxTest {};

// A memory DC over a white bitmap, as a program builds one.
struct MemoryDC {
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    MemoryDC(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(w, h, 1, 32, nullptr);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    }
    ~MemoryDC() { dc.SelectObject(old); }
    int inked(int w, int h) const {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += dc.GetPixel(x, y) != RGB(255, 255, 255);
        return n;
    }
};

TEST_F(GdiText, APointFontTakesItsPixelHeightFromTheDc) {
    MemoryDC m(4, 4);
    struct Case {
        int tenths;
        LONG height;
    };
    for (const Case c : {Case{100, -13}, Case{80, -11}, Case{90, -12}, Case{120, -16}}) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, L"Tahoma", &m.dc));
        LOGFONTW lf{};
        font.GetLogFont(&lf);
        EXPECT_EQ(lf.lfHeight, c.height) << c.tenths;
        EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    }
}

TEST_F(GdiText, TextMembersDrawAndMeasureWithTheSelectedFont) {
    MemoryDC m(200, 40);
    CFont font;
    font.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    CFont* previous = m.dc.SelectObject(&font);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(HFONT(*previous), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(m.dc.GetCurrentFont(), &font);

    const CString text(L"Масштаб 1:100");
    const CSize extent = m.dc.GetTextExtent(text);
    SIZE direct{};
    GetTextExtentPoint32W(m.dc, text, text.GetLength(), &direct);
    EXPECT_EQ(extent.cx, direct.cx);
    TEXTMETRICW tm{};
    ASSERT_TRUE(m.dc.GetTextMetrics(&tm));
    EXPECT_EQ(extent.cy, tm.tmHeight);
    CString face;
    EXPECT_GT(m.dc.GetTextFace(face), 0);
    EXPECT_EQ(face, CString(L"DejaVu Sans"));

    m.dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(m.dc.TextOut(2, 2, text));
    EXPECT_GT(m.inked(200, 40), 100);
    CRect r(0, 0, 0, 0);
    EXPECT_EQ(m.dc.DrawText(text, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(r.Width(), extent.cx);
    m.dc.SelectObject(previous);
}

TEST_F(GdiText, AnImageListOwnedByItsObject) {
    MemoryDC m(8, 8);
    CBitmap strip;
    strip.CreateBitmap(16, 8, 1, 32, nullptr); // black, two images
    BITMAP bm{};
    EXPECT_EQ(strip.GetBitmap(&bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 16);
    {
        CImageList list;
        ASSERT_TRUE(list.Create(8, 8, ILC_COLOR32 | ILC_MASK, 2, 2));
        EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
        EXPECT_EQ(list.GetImageCount(), 2);
        EXPECT_TRUE(list.Draw(&m.dc, 1, CPoint(0, 0), ILD_TRANSPARENT));
        EXPECT_EQ(m.dc.GetPixel(3, 3), RGB(0, 0, 0));
        HICON icon = list.ExtractIcon(0);
        EXPECT_EQ(list.Add(icon), 2);
        DestroyIcon(icon);
        HIMAGELIST handle = list;
        EXPECT_TRUE(list.DeleteImageList());
        EXPECT_EQ(ImageList_GetImageCount(handle), 0);
        EXPECT_TRUE(list.Create(4, 4, ILC_COLOR32, 1, 1));
    } // the destructor destroys the second list
}

TEST_F(GdiText, TheWaitCursorIsTheDisplaysCursor) {
    CCmdTarget target;
    target.BeginWaitCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    target.EndWaitCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    const auto shapes = journal("cursor");
    ASSERT_GE(shapes.size(), 2u);
    EXPECT_EQ(shapes[shapes.size() - 2].get("shape"), "wait");
    EXPECT_EQ(shapes.back().get("shape"), "arrow");
}

} // namespace
