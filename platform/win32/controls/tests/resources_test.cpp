// What a module declares by id in the resources folder beside it, loaded through its handle: an
// icon group at two sizes, a bitmap strip cut into icons, an accelerator table, a string table,
// and the errors of what is missing.
#include "pal/test/pump.h"
#include "pal/test/user_hooks.h"
#include "pal/test/user_test.h"
#include "win/controls.h"
#include "win/module_resources.h"
#include "win/system/module.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class ModuleResources : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        module = LoadLibraryW(L"dvpal_test_module.dll");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        FreeLibrary(module);
        UserTest::TearDown();
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

std::vector<WORD>* commandsSeen = nullptr;

LRESULT commandWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 1 && commandsSeen)
        commandsSeen->push_back(LOWORD(wParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(ModuleResources, AnAcceleratorTablesKeysReachAWindowAsItsCommands) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &commandWindow;
    wc.lpszClassName = L"KeysTarget";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    const HWND window = CreateWindowExW(0, L"KeysTarget", L"Keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                        300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);

    const HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(1));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 4) << "the key that names no key is left out";
    std::vector<WORD> seen;
    commandsSeen = &seen;
    const struct {
        int key;
        std::initializer_list<int> modifiers;
        std::vector<WORD> expected;
    } cases[] = {
        {'O', {VK_CONTROL}, {57601}}, {'S', {VK_CONTROL, VK_SHIFT}, {1093}}, {'S', {VK_CONTROL}, {}},
        {VK_F5, {}, {32771}},         {VK_RETURN, {VK_MENU}, {32772}},       {'Q', {VK_CONTROL}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        seen.clear();
        pal::test::pressKey(c.key, c.modifiers);
        pal::test::PumpOptions options;
        options.preTranslate = [&](MSG& m) { return TranslateAcceleratorW(window, table, &m) != 0; };
        pal::test::pump(options);
        EXPECT_EQ(seen, c.expected);
    }
    commandsSeen = nullptr;
    DestroyAcceleratorTable(table);

    // By name, in any case of letters.
    const HACCEL named = LoadAcceleratorsW(module, L"viewer");
    ASSERT_NE(named, nullptr);
    ACCEL key{};
    ASSERT_EQ(CopyAcceleratorTableW(named, &key, 1), 1);
    EXPECT_EQ(key.key, VK_DELETE);
    EXPECT_EQ(key.cmd, 57634);
    EXPECT_EQ(key.fVirt, FVIRTKEY);
    DestroyAcceleratorTable(named);
    DestroyWindow(window);
}

TEST_F(ModuleResources, AStringTableGivesItsTextsById) {
    wchar_t buffer[64];
    EXPECT_EQ(LoadStringW(module, 101, buffer, 64), 13);
    EXPECT_STREQ(buffer, L"Strings by id");
    EXPECT_EQ(LoadStringW(module, 101, buffer, 8), 7) << "cut to the buffer, with its terminator";
    EXPECT_STREQ(buffer, L"Strings");
    const wchar_t* held = nullptr;
    EXPECT_EQ(LoadStringW(module, 57344, reinterpret_cast<LPWSTR>(&held), 0), 11);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(std::wstring(held, 11), L"Test module") << "with no size, the module's own text";

    // Strings are found in blocks of sixteen, as the platform keeps them.
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(101 / 16 + 1), RT_STRING), nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(57344 / 16 + 1), RT_STRING), nullptr);
    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(101 / 16 + 2), RT_STRING), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(ModuleResources, LoadBitmapAndFindResourceReachThePicturesById) {
    HBITMAP strip = LoadBitmapW(module, MAKEINTRESOURCEW(300));
    ASSERT_NE(strip, nullptr);
    BITMAP bm{};
    GetObjectW(strip, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 64);
    EXPECT_EQ(bm.bmHeight, 16);
    DeleteObject(strip);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(128), RT_GROUP_ICON), nullptr);
    EXPECT_NE(FindResourceW(module, L"Tools", RT_BITMAP), nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_ACCELERATOR), nullptr);
}

TEST_F(ModuleResources, WhatIsMissingFailsAsThePlatformFailsThroughEveryLoader) {
    const HMODULE program = GetModuleHandleW(nullptr);
    wchar_t buffer[16] = L"x";
    const struct {
        const char* what;
        std::function<bool()> load; // true when something came back
        DWORD error;
    } cases[] = {
        {"an accelerator table the module does not declare",
         [&] { return LoadAcceleratorsW(module, MAKEINTRESOURCEW(2)) != nullptr; },
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"accelerators of a module without resources",
         [&] { return LoadAcceleratorsW(program, MAKEINTRESOURCEW(1)) != nullptr; },
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"a string the module does not declare", [&] { return LoadStringW(module, 102, buffer, 16) != 0; },
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a string of a module without resources", [&] { return LoadStringW(program, 101, buffer, 16) != 0; },
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"a bitmap the module does not declare",
         [&] { return LoadBitmapW(module, MAKEINTRESOURCEW(302)) != nullptr; },
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a type the module declares nothing of",
         [&] { return FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_CURSOR) != nullptr; },
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"a type of a name", [&] { return FindResourceW(module, MAKEINTRESOURCEW(1), L"PNG") != nullptr; },
         ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(c.load()) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    EXPECT_STREQ(buffer, L"") << "a string not found leaves the buffer empty";
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
