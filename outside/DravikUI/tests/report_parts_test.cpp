// What the library adds to the tool kit's report control and clipboard: the caching image
// manager's icons of files and folders, the plain text cell, and the registered formats.
#include "DravikUI/CachingImageManager.h"
#include "DravikUI/ClipboardManager.h"
#include "DravikUI/ReportControl.h"

#include "pal/path.h"
#include "pal/test/user_test.h"
#include "win/ole/clipboard.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kSquare =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16" fill="#2060c0"/></svg>)";

using ReportParts = pal::test::UserTest;

TEST_F(ReportParts, CachingManagerFindsEachIconOnce) {
    CachingImageManager images;
    images.SetExtensionIcon(L".grb", 40782);
    const std::wstring withIcon =
        pal::path::fromNative(writeFile("lib/Bolts/library.svg", kSquare).parent_path());
    const std::wstring plain = pal::path::fromNative(writeFile("lib/Nuts/a.txt", "").parent_path());
    const int folderIcon = images.GetIcon(withIcon);
    ASSERT_NE(folderIcon, -1);
    EXPECT_NE(images.GetImage(static_cast<UINT>(folderIcon), 16), nullptr);
    EXPECT_EQ(images.GetIcon(plain), -1);
    EXPECT_EQ(images.GetIcon(L"C:\\lib\\plate.GRB"), 40782);
    EXPECT_EQ(images.GetIcon(L"C:\\lib\\notes.txt"), -1);
    // Kept: a later icon file of the folder is not looked at until the paths are forgotten.
    writeFile("lib/Nuts/library.svg", kSquare);
    EXPECT_EQ(images.GetIcon(plain), -1);
    images.ForgetPaths();
    EXPECT_NE(images.GetIcon(plain), -1);
}

TEST_F(ReportParts, SimpleTextItemIsNotEdited) {
    Dravik::UI::SimpleTextReportItem item(L"Author");
    EXPECT_FALSE(item.IsEditable());
    EXPECT_EQ(item.GetCaption(nullptr), L"Author");
    Dravik::UI::ReportControl readOnly;
    EXPECT_FALSE(readOnly.IsAllowEdit());
    Dravik::UI::ReportControl editable(nullptr, true);
    EXPECT_TRUE(editable.IsAllowEdit());
}

TEST_F(ReportParts, FormatsAreRegisteredOncePerName) {
    const UINT effect = Dravik::ClipboardManager::registerFormat(L"Preferred DropEffect");
    EXPECT_GE(effect, 0xC000u);
    EXPECT_EQ(Dravik::ClipboardManager::registerFormat(L"Preferred DropEffect"), effect);
    EXPECT_NE(Dravik::ClipboardManager::registerFormat(L"Library"), effect);
    EXPECT_EQ(Dravik::ClipboardManager::registerFormat(L""), 0u);
    EXPECT_FALSE(Dravik::ClipboardManager::isFormatAvailable(effect));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
    ::SetClipboardData(effect, block);
    ::CloseClipboard();
    EXPECT_TRUE(Dravik::ClipboardManager::isFormatAvailable(effect));
    EXPECT_FALSE(Dravik::ClipboardManager::isFormatAvailable(0));
}

} // namespace
