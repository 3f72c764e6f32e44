// The image manager: icons per command and size from each kind of source, vector icons drawn
// sharp at any scale, and bad files that give no icon and say so.
#include "XTToolkitPro.h"
#include "pal/gdi.h"
#include "pal/notice.h"
#include "pal/test/user_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::wstring kFixtures = L"" DVTOOLKIT_FIXTURES "/icons/";

std::vector<std::string> gNotices;
void keepNotice(const std::string& line) {
    gNotices.push_back(line);
}

class ImageManagerTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        gNotices.clear();
        pal::notice::setSink(&keepNotice);
    }
    void TearDown() override {
        pal::notice::setSink(nullptr);
        UserTest::TearDown();
    }
};

// The icon drawn on white at its size; the caller reads its pixels.
pal::gdi::Surface drawn(const CXTPImageManagerIcon& icon, int side, XTPImageState state = xtpImageNormal) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.Attach(CXTPImageManager::Create32BPPDIBSection(nullptr, side, side));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, side, side, RGB(255, 255, 255));
    icon.Draw(&dc, CPoint(0, 0), CSize(side, side), state);
    dc.SelectObject(old);
    pal::gdi::Surface copy = pal::gdi::Surface::create(side, side);
    cairo_t* cr = cairo_create(copy.get());
    cairo_set_source_surface(cr, pal::gdi::surfaceOf(static_cast<HBITMAP>(bitmap.GetSafeHandle())).get(), 0,
                             0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return copy;
}

// A plain square icon of one colour.
HICON squareIcon(int side, COLORREF colour) {
    CImageList list;
    list.Create(side, side, ILC_COLOR32, 1, 1);
    std::vector<DWORD> bits(static_cast<size_t>(side * side), 0xFF000000u | (GetRValue(colour) << 16) |
                                                                  (GetGValue(colour) << 8) |
                                                                  GetBValue(colour));
    HBITMAP bitmap = ::CreateBitmap(side, side, 1, 32, bits.data());
    ImageList_Add(list, bitmap, nullptr);
    ::DeleteObject(bitmap);
    return list.ExtractIcon(0);
}

std::vector<char> readFile(const std::wstring& path) {
    std::ifstream in(pal::text::toUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ImageManagerTest, IconsAreKeptPerCommandAndSizeAndLookedUpByWidth) {
    CXTPImageManager images;
    HICON small = squareIcon(16, RGB(200, 0, 0));
    HICON large = squareIcon(32, RGB(0, 150, 0));
    EXPECT_TRUE(images.SetIcon(small, 100));
    EXPECT_TRUE(images.SetIcon(large, 100));
    EXPECT_FALSE(images.SetIcon(nullptr, 101));
    ::DestroyIcon(small);
    ::DestroyIcon(large);

    ASSERT_NE(images.Lookup(100, 16), nullptr);
    ASSERT_NE(images.Lookup(100, 32), nullptr);
    EXPECT_EQ(images.Lookup(100, 24), nullptr);
    EXPECT_EQ(images.Lookup(101), nullptr);
    // Without the width asked for, the nearest larger one serves.
    EXPECT_EQ(images.GetImage(100, 24), images.Lookup(100, 32));
    EXPECT_EQ(drawn(*images.Lookup(100, 16), 16).pixel(8, 8), RGB(200, 0, 0));
    EXPECT_EQ(drawn(*images.Lookup(100, 32), 32).pixel(16, 16), RGB(0, 150, 0));

    images.RemoveIcon(100);
    EXPECT_EQ(images.Lookup(100), nullptr);
}

TEST_F(ImageManagerTest, StatesFallBackToTheNormalImageAndDisabledFades) {
    CXTPImageManager images;
    HICON normal = squareIcon(16, RGB(200, 0, 0));
    HICON hot = squareIcon(16, RGB(0, 0, 220));
    images.SetIcon(normal, 7);
    images.SetIcon(hot, 7, CSize(16, 16), xtpImageHot);
    ::DestroyIcon(normal);
    ::DestroyIcon(hot);
    const CXTPImageManagerIcon& icon = *images.Lookup(7, 16);
    EXPECT_TRUE(icon.HasState(xtpImageHot));
    EXPECT_FALSE(icon.HasState(xtpImageChecked));
    EXPECT_EQ(drawn(icon, 16, xtpImageHot).pixel(8, 8), RGB(0, 0, 220));
    EXPECT_EQ(drawn(icon, 16, xtpImageChecked).pixel(8, 8), RGB(200, 0, 0));
    // Disabled: grey and lighter than the red it comes from.
    const COLORREF faded = drawn(icon, 16, xtpImageDisabled).pixel(8, 8);
    EXPECT_EQ(GetRValue(faded), GetGValue(faded));
    EXPECT_EQ(GetGValue(faded), GetBValue(faded));
    EXPECT_GT(GetRValue(faded), 100);
}

TEST_F(ImageManagerTest, BitmapStripsAndImageListsGiveOneIconPerId) {
    // Three 16x16 squares: red, magenta (the background: transparent), blue.
    std::vector<DWORD> bits(48 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x)
            bits[static_cast<size_t>(y * 48 + x)] = x < 16 ? 0xC80000 : x < 32 ? 0xFF00FF : 0x0000DC;
    HBITMAP strip = ::CreateBitmap(48, 16, 1, 24 + 8, bits.data());
    CXTPImageManager images;
    const UINT ids[] = {1, 0, 3, 4};
    EXPECT_FALSE(images.SetIcons(strip, ids, 4, CSize(16, 16))); // the strip holds three
    EXPECT_EQ(drawn(*images.Lookup(1, 16), 16).pixel(4, 4), RGB(200, 0, 0));
    EXPECT_EQ(drawn(*images.Lookup(3, 16), 16).pixel(4, 4), RGB(0, 0, 220));
    EXPECT_EQ(images.Lookup(4), nullptr);
    ::DeleteObject(strip);

    CImageList list;
    list.Create(32, 32, ILC_COLOR32, 1, 1);
    HICON green = squareIcon(32, RGB(0, 150, 0));
    list.Add(green);
    ::DestroyIcon(green);
    const UINT listIds[] = {9};
    EXPECT_TRUE(images.SetIcons(list, listIds, 1));
    EXPECT_EQ(drawn(*images.Lookup(9, 32), 32).pixel(16, 16), RGB(0, 150, 0));
}

// A module's own pictures by id: its icon group at both sizes, and its strip of tools cut into
// one icon per command.
TEST_F(ImageManagerTest, AModulesIconsAndStripLoadByResourceId) {
    HMODULE module = ::LoadLibraryW(L"dvpal_test_module.dll");
    ASSERT_NE(module, nullptr);
    CXTPImageManager images;
    EXPECT_TRUE(images.SetIconFromResource(module, MAKEINTRESOURCEW(128), 7, CSize(16, 16)));
    EXPECT_TRUE(images.SetIconFromResource(module, MAKEINTRESOURCEW(128), 7, CSize(32, 32)));
    EXPECT_EQ(drawn(*images.Lookup(7, 16), 16).pixel(8, 8), RGB(220, 0, 0));
    EXPECT_EQ(drawn(*images.Lookup(7, 32), 32).pixel(16, 16), RGB(0, 0, 220));
    EXPECT_FALSE(images.SetIconFromResource(module, MAKEINTRESOURCEW(999), 8, CSize(16, 16)));
    // Without a size the group gives every size it holds, each its own picture.
    EXPECT_TRUE(images.SetIconFromResource(module, MAKEINTRESOURCEW(128), 10));
    ASSERT_NE(images.GetIconSet(10), nullptr);
    EXPECT_EQ(images.GetIconSet(10)->GetIcons().size(), 2u);
    EXPECT_EQ(drawn(*images.Lookup(10, 16), 16).pixel(8, 8), RGB(220, 0, 0));
    EXPECT_EQ(drawn(*images.Lookup(10, 32), 32).pixel(16, 16), RGB(0, 0, 220));
    EXPECT_FALSE(images.SetIconFromResource(module, MAKEINTRESOURCEW(999), 8));
    EXPECT_EQ(images.GetIconSet(8), nullptr);

    HBITMAP strip = static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(300), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(strip, nullptr);
    const UINT tools[] = {11, 12, 13, 14};
    EXPECT_TRUE(images.SetIcons(strip, tools, 4, CSize(16, 16)));
    const COLORREF colours[] = {RGB(220, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(240, 200, 0)};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(drawn(*images.Lookup(tools[i], 16), 16).pixel(8, 8), colours[i]) << i;
    ::DeleteObject(strip);
    ::FreeLibrary(module);
}

TEST_F(ImageManagerTest, AnIcoFileGivesEverySizeItHolds) {
    CXTPImageManager images;
    EXPECT_TRUE(images.SetIconFromIcoFile((kFixtures + L"two_sizes.ico").c_str(), 50));
    ASSERT_NE(images.Lookup(50, 16), nullptr);
    ASSERT_NE(images.Lookup(50, 32), nullptr);
    EXPECT_EQ(drawn(*images.Lookup(50, 16), 16).pixel(8, 8), RGB(200, 40, 40));
    EXPECT_EQ(drawn(*images.Lookup(50, 32), 32).pixel(16, 16), RGB(40, 160, 40));
    // The border of each frame is clear.
    EXPECT_EQ(drawn(*images.Lookup(50, 32), 32).pixel(2, 2), RGB(255, 255, 255));
}

TEST_F(ImageManagerTest, AVectorIconIsSharpAtOneAndTwoTimesScale) {
    const std::vector<char> svg = readFile(kFixtures + L"square.svg");
    auto handle = CXTPImageManagerVectorImageHandle::CreateSvgHandle(svg.data(), svg.size());
    ASSERT_TRUE(handle.IsValid());
    EXPECT_EQ(handle.GetSize(), CSize(16, 16));
    CXTPImageManager images;
    ASSERT_TRUE(images.SetVectorIcon(handle, 60));
    EXPECT_TRUE(images.IsVectorIcon(60));
    // Any width answers with the vector icon, drawn at that width.
    CXTPImageManagerIcon* icon = images.GetImage(60, 32);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->IsVectorIcon());
    for (int scale : {1, 2}) {
        const int side = 16 * scale;
        const pal::gdi::Surface picture = drawn(*icon, side);
        // The square covers 4..12 of 16 at 1x: every pixel either fully blue or fully white,
        // the edge falling exactly between two pixels.
        const int in = 4 * scale, out = 12 * scale;
        EXPECT_EQ(picture.pixel(in, in), RGB(0x20, 0x60, 0xD0)) << scale;
        EXPECT_EQ(picture.pixel(out - 1, out - 1), RGB(0x20, 0x60, 0xD0)) << scale;
        EXPECT_EQ(picture.pixel(in - 1, in - 1), RGB(255, 255, 255)) << scale;
        EXPECT_EQ(picture.pixel(out, out), RGB(255, 255, 255)) << scale;
        EXPECT_EQ(picture.pixel(in - 1, side / 2), RGB(255, 255, 255)) << scale;
    }
}

TEST_F(ImageManagerTest, CorruptFilesGiveNoIconAndALogLine) {
    struct Case {
        const char* name;
        const wchar_t* file;
    };
    const Case cases[] = {
        {"truncated ico", L"truncated.ico"},
        {"broken svg", L"broken.svg"},
        {"missing file", L"no_such_file.ico"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gNotices.clear();
        CXTPImageManager images;
        const std::wstring path = kFixtures + c.file;
        EXPECT_EQ(images.AddCustomIconFromFile(path.c_str()), 0u);
        EXPECT_FALSE(images.SetIconFromIcoFile(path.c_str(), 5));
        EXPECT_EQ(images.Lookup(5), nullptr);
        EXPECT_TRUE(images.GetCommands().empty());
        EXPECT_FALSE(gNotices.empty());
    }
    const char garbage[] = "\x89PNG not really";
    EXPECT_FALSE(CXTPImageManagerVectorImageHandle::CreateSvgHandle(garbage, sizeof garbage).IsValid());
}

TEST_F(ImageManagerTest, CustomIconsFromFilesGetIdsOfTheirOwn) {
    CXTPImageManager images;
    const UINT svg = images.AddCustomIconFromFile((kFixtures + L"square.svg").c_str());
    const UINT ico = images.AddCustomIconFromFile((kFixtures + L"two_sizes.ico").c_str());
    ASSERT_NE(svg, 0u);
    ASSERT_NE(ico, 0u);
    EXPECT_NE(svg, ico);
    EXPECT_TRUE(images.IsVectorIcon(svg));
    EXPECT_NE(images.Lookup(ico, 32), nullptr);
}

TEST_F(ImageManagerTest, ThirtyTwoBitSectionsAreClearedAndReadable) {
    LPBYTE bits = nullptr;
    HBITMAP bitmap = CXTPImageManager::Create32BPPDIBSection(nullptr, 5, 3, &bits);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(std::count(bits, bits + 5 * 3 * 4, 0), 5 * 3 * 4);
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);
    ::DeleteObject(bitmap);
    EXPECT_EQ(CXTPImageManager::Create32BPPDIBSection(nullptr, 0, 3), nullptr);
}

} // namespace

namespace {

TEST_F(ImageManagerTest, IconsSurviveAPropertyExchangeAndDamagedOnesChangeNothing) {
    CXTPImageManager images;
    HICON red = squareIcon(16, RGB(200, 0, 0));
    HICON blue = squareIcon(16, RGB(0, 0, 220));
    images.SetIcon(red, 70);
    images.SetIcon(blue, 70, CSize(16, 16), xtpImageHot);
    images.SetVectorIcon(
        CXTPImageManagerVectorImageHandle::CreateSvgHandle((kFixtures + L"square.svg").c_str()), 71);
    ::DestroyIcon(red);
    ::DestroyIcon(blue);

    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Settings");
    for (UINT id : {70u, 71u}) {
        CXTPPropExchangeSection section(store.GetSection(id == 70 ? L"Raster" : L"Vector"));
        EXPECT_TRUE(images.DoPropExchange(id, section));
    }
    const CString xml = store.GetXML();

    CXTPImageManager loaded;
    CXTPPropExchangeXMLNode load(TRUE, nullptr, nullptr);
    ASSERT_TRUE(load.LoadFromString(xml));
    {
        CXTPPropExchangeSection raster(load.GetSection(L"Raster"));
        EXPECT_TRUE(loaded.DoPropExchange(70, raster));
        CXTPPropExchangeSection vector(load.GetSection(L"Vector"));
        EXPECT_TRUE(loaded.DoPropExchange(71, vector));
    }
    ASSERT_NE(loaded.Lookup(70, 16), nullptr);
    EXPECT_EQ(drawn(*loaded.Lookup(70, 16), 16).pixel(8, 8), RGB(200, 0, 0));
    EXPECT_EQ(drawn(*loaded.Lookup(70, 16), 16, xtpImageHot).pixel(8, 8), RGB(0, 0, 220));
    EXPECT_TRUE(loaded.IsVectorIcon(71));

    // A section whose second picture is damaged leaves the command's icon as it was.
    CString broken = xml;
    const int second = broken.Find(L"Data=\"", broken.Find(L"Data=\"") + 1);
    ASSERT_GT(second, 0);
    broken.Insert(second + 6, L"!!");
    CXTPPropExchangeXMLNode damaged(TRUE, nullptr, nullptr);
    ASSERT_TRUE(damaged.LoadFromString(broken));
    CXTPImageManager kept;
    HICON green = squareIcon(16, RGB(0, 150, 0));
    kept.SetIcon(green, 70);
    ::DestroyIcon(green);
    gNotices.clear();
    CXTPPropExchangeSection raster(damaged.GetSection(L"Raster"));
    EXPECT_FALSE(kept.DoPropExchange(70, raster));
    EXPECT_EQ(drawn(*kept.Lookup(70, 16), 16).pixel(8, 8), RGB(0, 150, 0));
    EXPECT_FALSE(kept.Lookup(70, 16)->HasState(xtpImageHot));
    EXPECT_EQ(gNotices.size(), 1u);
}

} // namespace
