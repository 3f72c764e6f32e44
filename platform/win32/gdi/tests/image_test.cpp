// Bitmaps and images on real pixels: DIB sections in both row orders, copies between bitmaps
// and DIB memory, icons with alpha from files and from bitmaps, copies at other sizes, files
// that are broken, image lists and the cursor journal.
#include "canvas.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Images : public pal::test::SandboxTest {
protected:
    static std::wstring fixture(const char* name) {
        return sourcePath(std::string("platform/win32/gdi/tests/fixtures/") + name).wstring();
    }
    // A fixture with `bytes` written over it at `at`.
    std::wstring patchedCopy(const char* name, size_t at, const std::string& bytes,
                             const std::string& as) const {
        std::string data =
            pal::test::readFile(sourcePath(std::string("platform/win32/gdi/tests/fixtures/") + name));
        data.replace(at, bytes.size(), bytes);
        return writeFile(as, data).wstring();
    }
    std::wstring brokenCopy(const char* name, size_t keep, const std::string& as) const {
        std::string bytes =
            pal::test::readFile(sourcePath(std::string("platform/win32/gdi/tests/fixtures/") + name));
        bytes.resize(std::min(keep, bytes.size()));
        return writeFile(as, bytes).wstring();
    }
};

BITMAPINFO header(LONG width, LONG height, WORD bits) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

// Byte offset of pixel (x, y) in a DIB's memory (y counted from the top of the image).
size_t offsetOf(const BITMAPINFO& bi, int x, int y) {
    const LONG h = bi.bmiHeader.biHeight;
    const size_t stride = ((size_t(bi.bmiHeader.biWidth) * bi.bmiHeader.biBitCount + 31) / 32) * 4;
    const int row = h < 0 ? y : int(h) - 1 - y;
    return size_t(row) * stride + size_t(x) * (bi.bmiHeader.biBitCount / 8);
}

TEST_F(Images, DibSectionMemoryIsThePicture) {
    struct Case {
        const char* name;
        LONG height;
        WORD bits;
    };
    const Case cases[] = {{"32-bit top-down", -3, 32},
                          {"32-bit bottom-up", 3, 32},
                          {"24-bit bottom-up", 3, 24},
                          {"24-bit top-down", -3, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BITMAPINFO bi = header(5, c.height, c.bits);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(dib, nullptr);
        ASSERT_NE(bits, nullptr);
        auto* memory = static_cast<BYTE*>(bits);
        // Blue, green, red (and opaque alpha) at the top row's second pixel.
        const BYTE written[4] = {0x30, 0x20, 0x10, 0xFF};
        std::memcpy(memory + offsetOf(bi, 1, 0), written, c.bits / 8);

        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib);
        EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x10, 0x20, 0x30));
        EXPECT_EQ(GetPixel(dc, 1, 2), RGB(0, 0, 0));
        SetPixel(dc, 3, 2, RGB(0xAA, 0xBB, 0xCC));
        GdiFlush();
        const BYTE* drawn = memory + offsetOf(bi, 3, 2);
        EXPECT_EQ(drawn[0], 0xCC);
        EXPECT_EQ(drawn[1], 0xBB);
        EXPECT_EQ(drawn[2], 0xAA);
        SelectObject(dc, old);
        DeleteDC(dc);

        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(dib, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBm.bmWidth, 5);
        EXPECT_EQ(ds.dsBm.bmHeight, 3);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bits);
        EXPECT_EQ(ds.dsBmih.biHeight, c.height);
        BITMAP bm{};
        EXPECT_EQ(GetObjectW(dib, sizeof bm, &bm), int(sizeof bm));
        EXPECT_TRUE(DeleteObject(dib));
    }
}

TEST_F(Images, DibSectionsOfOtherFormatsOrAbsurdSizesAreRefused) {
    const BITMAPINFO cases[] = {header(4, 4, 8), header(4, 4, 16), header(0, 4, 32),
                                header(100000, 100000, 32), header(4, 0, 24)};
    for (const auto& bi : cases) {
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST_F(Images, DiBitsCopyRowsInTheOrderTheHeaderSays) {
    Canvas c(3, 2);
    SetPixel(c.dc, 0, 0, RGB(1, 2, 3));
    SetPixel(c.dc, 2, 1, RGB(4, 5, 6));
    SelectObject(c.dc, c.original); // the bitmap leaves the DC, as the platform asks
    for (const LONG height : {2L, -2L}) {
        SCOPED_TRACE(height);
        BITMAPINFO bi = header(3, height, 32);
        std::uint32_t pixels[6] = {};
        EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, pixels, &bi, DIB_RGB_COLORS), 2);
        const std::uint32_t top = height < 0 ? pixels[0] : pixels[3];
        const std::uint32_t bottom = height < 0 ? pixels[5] : pixels[2];
        EXPECT_EQ(top, 0x010203u);
        EXPECT_EQ(bottom, 0x040506u);
    }
    // 24-bit rows padded to four bytes, bottom-up: written, then read back.
    BITMAPINFO bi = header(3, 2, 24);
    BYTE rows[2][12] = {{9, 8, 7, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 3, 2, 1}};
    EXPECT_EQ(SetDIBits(c.dc, c.bitmap, 0, 2, rows, &bi, DIB_RGB_COLORS), 2);
    SelectObject(c.dc, c.bitmap);
    EXPECT_EQ(GetPixel(c.dc, 0, 1), RGB(7, 8, 9)) << "the first row in memory is the bottom one";
    EXPECT_EQ(GetPixel(c.dc, 2, 0), RGB(1, 2, 3));

    BITMAPINFO query{};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(c.dc, c.bitmap, 0, 0, nullptr, &query, DIB_RGB_COLORS), 0);
    EXPECT_EQ(query.bmiHeader.biWidth, 3);
    EXPECT_EQ(query.bmiHeader.biHeight, 2);
    EXPECT_EQ(query.bmiHeader.biBitCount, 32);
}

TEST_F(Images, StretchDIBitsPlacesTheSourceRectangleOfEitherRowOrder) {
    for (const LONG height : {2L, -2L}) {
        SCOPED_TRACE(height);
        // Top row red, bottom row green, in the DIB's own row order.
        BITMAPINFO bi = header(2, height, 32);
        const std::uint32_t red = 0xFF0000, green = 0x00FF00;
        const std::uint32_t pixels[4] = {height < 0 ? red : green, height < 0 ? red : green,
                                         height < 0 ? green : red, height < 0 ? green : red};
        Canvas c(8, 8);
        // The bottom row alone (a bottom-up DIB counts its source rectangle from the bottom).
        const int sy = height < 0 ? 1 : 0;
        EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 4, 4, 0, sy, 2, 1, pixels, &bi, DIB_RGB_COLORS, SRCCOPY), 1);
        EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 255, 0));
        EXPECT_EQ(GetPixel(c.dc, 4, 4), RGB(255, 255, 255));
    }
}

// Draws an icon over blue and checks the three kinds of pixel the fixtures hold: the top
// quarter transparent, the left half opaque red, the right half red at alpha 128.
void expectBlendedOverBlue(HICON icon, int size) {
    Canvas c(size, size, RGB(0, 0, 255));
    ASSERT_TRUE(DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(c.dc, size / 4, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(c.dc, size / 4, size - 1), RGB(255, 0, 0));
    const COLORREF half = GetPixel(c.dc, size - 2, size - 1);
    EXPECT_NEAR(GetRValue(half), 128, 1);
    EXPECT_EQ(GetGValue(half), 0);
    EXPECT_NEAR(GetBValue(half), 127, 1);
}

TEST_F(Images, AnIconWithAlphaBlendsOverTheBackground) {
    HICON fromFile = static_cast<HICON>(
        LoadImageW(nullptr, fixture("alpha.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    ASSERT_NE(fromFile, nullptr);
    expectBlendedOverBlue(fromFile, 32);

    // The same picture built from a 32-bit section of premultiplied pixels.
    const BITMAPINFO bi = header(16, -16, 32);
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 4; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            px[y * 16 + x] = x < 8 ? 0xFFFF0000 : 0x80800000;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON built = CreateIconIndirect(&info);
    ASSERT_NE(built, nullptr);
    expectBlendedOverBlue(built, 16);

    ICONINFO back{};
    ASSERT_TRUE(GetIconInfo(built, &back));
    BITMAP bm{};
    GetObjectW(back.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    DeleteObject(back.hbmColor);
    DeleteObject(back.hbmMask);
    EXPECT_TRUE(DestroyIcon(built));
    EXPECT_FALSE(DestroyIcon(built));
    EXPECT_TRUE(DestroyIcon(fromFile));
    DeleteObject(color);
    DeleteObject(mask);
}

TEST_F(Images, AMaskMakesAnOpaqueBitmapTransparent) {
    Canvas colour(4, 4, RGB(0, 255, 0));
    Canvas mask(4, 4, RGB(0, 0, 0));
    SetPixel(mask.dc, 0, 0, RGB(255, 255, 255));
    SelectObject(colour.dc, colour.original);
    SelectObject(mask.dc, mask.original);
    ICONINFO info{TRUE, 0, 0, mask.bitmap, colour.bitmap};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    Canvas c(4, 4, RGB(255, 0, 0));
    DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(0, 255, 0));
    DestroyIcon(icon);
    SelectObject(colour.dc, colour.bitmap);
    SelectObject(mask.dc, mask.bitmap);
}

TEST_F(Images, CopiesScaleAndTakeTheBestFrameOfTheFile) {
    HICON big = static_cast<HICON>(
        LoadImageW(nullptr, fixture("alpha.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    ASSERT_NE(big, nullptr);
    struct Case {
        int size;
        UINT flags;
    };
    for (const Case& c : {Case{16, 0}, Case{16, LR_COPYFROMRESOURCE}, Case{48, 0}, Case{0, 0}}) {
        SCOPED_TRACE(c.size);
        HICON copy = static_cast<HICON>(CopyImage(big, IMAGE_ICON, c.size, c.size, c.flags));
        ASSERT_NE(copy, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(copy, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, c.size ? c.size : 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        if (c.flags & LR_COPYFROMRESOURCE)
            expectBlendedOverBlue(copy, 16);
        DestroyIcon(copy);
    }
    HICON deleted = static_cast<HICON>(CopyImage(big, IMAGE_ICON, 16, 16, LR_COPYDELETEORG));
    EXPECT_NE(deleted, nullptr);
    EXPECT_FALSE(DestroyIcon(big)) << "the original went with LR_COPYDELETEORG";
    DestroyIcon(deleted);
}

TEST_F(Images, BitmapsAndPicturesLoadFromFiles) {
    HBITMAP stripes = static_cast<HBITMAP>(
        LoadImageW(nullptr, fixture("stripes.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(stripes, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, stripes);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 7, 5), RGB(0, 255, 0));
    SelectObject(dc, old);
    DeleteObject(stripes);

    HICON png = static_cast<HICON>(
        LoadImageW(nullptr, fixture("yellow.png").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(png, nullptr);
    Canvas c(8, 8, RGB(0, 0, 0));
    DrawIconEx(c.dc, 0, 0, png, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(GetPixel(c.dc, 3, 0), RGB(255, 255, 0));
    EXPECT_NEAR(GetRValue(GetPixel(c.dc, 3, 7)), 64, 1) << "alpha 64 over black";
    DestroyIcon(png);
    DeleteDC(dc);
}

TEST_F(Images, BrokenFilesGiveNoImage) {
    struct Case {
        const char* name;
        std::wstring path;
        UINT type;
    };
    const Case cases[] = {
        {"truncated icon", brokenCopy("alpha.ico", 3000, "cut.ico"), IMAGE_ICON},
        {"icon directory only", brokenCopy("alpha.ico", 30, "head.ico"), IMAGE_ICON},
        {"truncated bitmap", brokenCopy("stripes.bmp", 120, "cut.bmp"), IMAGE_BITMAP},
        {"truncated picture", brokenCopy("yellow.png", 50, "cut.png"), IMAGE_ICON},
        {"empty file", brokenCopy("yellow.png", 0, "empty.png"), IMAGE_BITMAP},
        {"text named as a picture", writeFile("text.png", "not a picture at all").wstring(), IMAGE_BITMAP},
        {"corrupt icon directory",
         writeFile("bad.ico", std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\xff\xff\xff\x7f\x16\0\0\0", 22))
             .wstring(),
         IMAGE_ICON},
        {"missing file", (root() / "absent.ico").wstring(), IMAGE_ICON},
        {"picture declaring 100000 x 100000",
         patchedCopy("yellow.png", 16, std::string("\0\1\x86\xA0\0\1\x86\xA0", 8), "huge.png"), IMAGE_BITMAP},
        {"icon frame declaring 70000 pixels a side",
         patchedCopy("alpha.ico", 6 + 32 + 4, std::string("\x70\x11\x01\0", 4), "wide.ico"), IMAGE_ICON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadImageW(nullptr, c.path.c_str(), c.type, 0, 0, LR_LOADFROMFILE), nullptr);
    }
}

TEST_F(Images, AbsurdIconSizesAreRefused) {
    const std::wstring ico = fixture("alpha.ico");
    EXPECT_EQ(LoadImageW(nullptr, ico.c_str(), IMAGE_ICON, 100000, 100000, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageW(nullptr, ico.c_str(), IMAGE_ICON, -5, 16, LR_LOADFROMFILE), nullptr);
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, ico.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    EXPECT_EQ(CopyImage(icon, IMAGE_ICON, 5000, 5000, 0), nullptr);
    DestroyIcon(icon);
    HBITMAP huge = CreateBitmap(2000, 2000, 1, 32, nullptr);
    ICONINFO info{TRUE, 0, 0, nullptr, huge};
    EXPECT_EQ(CreateIconIndirect(&info), nullptr);
    DeleteObject(huge);
    EXPECT_EQ(ImageList_Create(100000, 16, ILC_COLOR32, 1, 1), nullptr);
}

TEST_F(Images, AnImageListDrawsTransparentNormalAndBlended) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2);
    ASSERT_NE(list, nullptr);
    // Two images side by side: magenta is the mask colour.
    Canvas strip(8, 4, RGB(255, 0, 255));
    RECT first{1, 1, 3, 3}, second{4, 0, 8, 4};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(strip.dc, &first, red);
    FillRect(strip.dc, &second, green);
    SelectObject(strip.dc, strip.original);
    EXPECT_EQ(ImageList_AddMasked(list, strip.bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    SelectObject(strip.dc, strip.bitmap);

    Canvas c(4, 4, RGB(0, 0, 255));
    ASSERT_TRUE(ImageList_Draw(list, 0, c.dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 0, 255)) << "the masked part shows what was there";
    EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(255, 0, 0));

    ImageList_SetBkColor(list, RGB(255, 255, 255));
    ImageList_Draw(list, 0, c.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(255, 255, 255)) << "ILD_NORMAL fills with the list's colour";

    ImageList_Draw(list, 1, c.dc, 0, 0, ILD_BLEND50);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF blended = GetPixel(c.dc, 2, 2);
    EXPECT_NEAR(GetGValue(blended), (255 + GetGValue(highlight)) / 2, 2);
    EXPECT_NEAR(GetBValue(blended), GetBValue(highlight) / 2, 2);

    // Icons in and out, removal.
    HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ImageList_AddIcon(list, icon), 2);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 1, icon), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 7, icon), -1);
    DestroyIcon(icon);
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_FALSE(ImageList_Draw(list, 2, c.dc, 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    DeleteObject(red);
    DeleteObject(green);
}

TEST_F(Images, AnImageListKeepsTheAlphaOfIcons) {
    HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32, 1, 1);
    HICON icon = static_cast<HICON>(
        LoadImageW(nullptr, fixture("alpha.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    ASSERT_EQ(ImageList_AddIcon(list, icon), 0);
    HICON back = ImageList_GetIcon(list, 0, 0);
    expectBlendedOverBlue(back, 32);
    DestroyIcon(back);
    DestroyIcon(icon);
    ImageList_Destroy(list);
}

// The standard cursors and icons are pictures a person tells apart: each drawn differs from
// every other, and the row of them is kept to be looked at. Icons asked for at another size are
// drawn at that size, not scaled.
TEST_F(Images, StandardCursorsAndIconsArePicturesThatDiffer) {
    const LPCWSTR cursors[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,    IDC_CROSS, IDC_SIZEWE, IDC_SIZENS,
                               IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEALL, IDC_HAND,  IDC_NO};
    const LPCWSTR icons[] = {IDI_INFORMATION, IDI_QUESTION, IDI_WARNING, IDI_ERROR, IDI_APPLICATION};
    constexpr int kCell = 40, kSize = 32;
    const int count = static_cast<int>(std::size(cursors) + std::size(icons));
    Canvas c(count * kCell, kCell, RGB(200, 200, 200));
    std::vector<std::vector<COLORREF>> drawn;
    int at = 0;
    const auto draw = [&](HICON image) {
        ASSERT_NE(image, nullptr) << at;
        const int x = at * kCell + (kCell - kSize) / 2;
        ASSERT_TRUE(DrawIconEx(c.dc, x, (kCell - kSize) / 2, image, kSize, kSize, 0, nullptr, DI_NORMAL));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < kSize; ++y)
            for (int dx = 0; dx < kSize; ++dx)
                pixels.push_back(GetPixel(c.dc, x + dx, (kCell - kSize) / 2 + y));
        for (size_t j = 0; j < drawn.size(); ++j) {
            size_t differ = 0;
            for (size_t i = 0; i < pixels.size(); ++i)
                differ += pixels[i] != drawn[j][i];
            EXPECT_GT(differ, 40u) << "pictures " << j << " and " << at;
        }
        drawn.push_back(std::move(pixels));
        ++at;
    };
    for (LPCWSTR id : cursors)
        draw(LoadCursorW(nullptr, id));
    for (LPCWSTR id : icons)
        draw(LoadIconW(nullptr, id));
    ASSERT_TRUE(pal::test::keepSnapshot(pal::gdi::surfaceOf(c.bitmap), "standard-cursors-and-icons.png"));

    // Asked for at 48 pixels, a standard icon is drawn at 48.
    HICON big = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, 48, 48, 0));
    ASSERT_NE(big, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(big, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 48);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(big);
}

TEST_F(Images, StandardCursorsAndTheirJournal) {
    const std::pair<LPCWSTR, const char*> cursors[] = {
        {IDC_ARROW, "arrow"},       {IDC_WAIT, "wait"},
        {IDC_IBEAM, "ibeam"},       {IDC_SIZEWE, "sizewe"},
        {IDC_SIZENS, "sizens"},     {IDC_SIZEALL, "sizeall"},
        {IDC_SIZENWSE, "sizenwse"}, {IDC_SIZENESW, "sizenesw"},
        {IDC_HAND, "hand"},         {IDC_NO, "no"},
    };
    SetCursor(nullptr);
    const size_t before = journal("cursor").size();
    for (const auto& [id, shape] : cursors) {
        HCURSOR cursor = LoadCursorW(nullptr, id);
        ASSERT_NE(cursor, nullptr) << shape;
        EXPECT_EQ(LoadCursorW(nullptr, id), cursor) << "shared";
        SetCursor(cursor);
        EXPECT_EQ(GetCursor(), cursor);
        SetCursor(cursor); // no change, no entry
    }
    SetCursor(nullptr);
    const auto entries = journal("cursor");
    ASSERT_EQ(entries.size(), before + std::size(cursors) + 1);
    for (size_t i = 0; i < std::size(cursors); ++i)
        EXPECT_EQ(entries[before + i].get("shape"), cursors[i].second);
    EXPECT_EQ(entries.back().get("shape"), "none");
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_TRUE(DestroyCursor(arrow));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow) << "a shared cursor outlives DestroyCursor";
}

} // namespace
