// Pictures a module declares by id in the resources folder beside it, loaded through its handle:
// an icon group at two sizes, a bitmap strip cut into icons, and the errors of what is missing.
#include "pal/test/sandbox_test.h"
#include "win/controls.h"
#include "win/system/module.h"

#include <gtest/gtest.h>

namespace {

class ModuleResources : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        module = LoadLibraryW(L"dvpal_test_module.dll");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        FreeLibrary(module);
        SandboxTest::TearDown();
    }
    // The colour in the middle of an icon drawn at its own size.
    static COLORREF middleOf(HICON icon, int size) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, size, size);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        const COLORREF c = GetPixel(dc, size / 2, size / 2);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return c;
    }
    HMODULE module = nullptr;
};

TEST_F(ModuleResources, AnIconGroupGivesTheSizeAskedFor) {
    const struct {
        int size;
        COLORREF colour;
    } sizes[] = {{16, RGB(220, 0, 0)}, {32, RGB(0, 0, 220)}};
    for (const auto& s : sizes) {
        HICON icon =
            static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(128), IMAGE_ICON, s.size, s.size, 0));
        ASSERT_NE(icon, nullptr) << s.size;
        EXPECT_EQ(middleOf(icon, s.size), s.colour) << "the group's own picture at " << s.size;
        DestroyIcon(icon);
    }
    HICON standard = LoadIconW(module, MAKEINTRESOURCEW(128));
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(middleOf(standard, 32), RGB(0, 0, 220)) << "LoadIconW takes the system's size";
}

TEST_F(ModuleResources, ABitmapStripIsCutIntoIcons) {
    for (LPCWSTR name : {static_cast<LPCWSTR>(MAKEINTRESOURCEW(300)), static_cast<LPCWSTR>(L"tools")}) {
        HBITMAP strip = static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(strip, nullptr);
        BITMAP bm{};
        GetObjectW(strip, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 64);
        EXPECT_EQ(bm.bmHeight, 16);
        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 4, 0);
        EXPECT_EQ(ImageList_Add(list, strip, nullptr), 0);
        ASSERT_EQ(ImageList_GetImageCount(list), 4);
        const COLORREF colours[] = {RGB(220, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(240, 200, 0)};
        for (int i = 0; i < 4; ++i) {
            HICON icon = ImageList_GetIcon(list, i, 0);
            EXPECT_EQ(middleOf(icon, 16), colours[i]) << "tool " << i;
            DestroyIcon(icon);
        }
        ImageList_Destroy(list);
        DeleteObject(strip);
    }
}

TEST_F(ModuleResources, WhatIsMissingFailsAsThePlatformFails) {
    const struct {
        const char* what;
        HMODULE module;
        LPCWSTR name;
        UINT type;
        DWORD error;
    } cases[] = {
        {"an id the module does not declare", module, MAKEINTRESOURCEW(999), IMAGE_ICON,
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a kind the module declares nothing of", module, MAKEINTRESOURCEW(128), IMAGE_CURSOR,
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"a picture outside the module's folder", module, MAKEINTRESOURCEW(301), IMAGE_BITMAP,
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a module without resources", GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, 1812},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(LoadImageW(c.module, c.name, c.type, 0, 0, 0), nullptr) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
}

} // namespace
