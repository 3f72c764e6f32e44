// Icons for paths: found once from the files a caller names, else by the path's extension.
#include "DravikUI/ImageManager.h"

#include "pal/path.h"
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kSquare =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16" fill="#2060c0"/></svg>)";

class ImageManagerTest : public pal::test::UserTest {
protected:
    Dravik::UI::ImageManager images;
    // A library folder's icon files, in the order the gallery tries them.
    static std::vector<std::wstring> libraryIcons(const std::wstring& folder) {
        return {folder + L"/icon.ico", folder + L"/library.svg"};
    }
};

TEST_F(ImageManagerTest, AFolderShowsTheFirstIconFileThatHoldsAnImageAndKeepsIt) {
    const auto folder =
        pal::path::fromNative(writeFile("Libraries/Bolts/library.svg", kSquare).parent_path());
    writeFile("Libraries/Bolts/icon.ico", "not an icon");
    const UINT id = images.GetPathIconId(folder, true, libraryIcons);
    ASSERT_NE(id, 0u) << "the damaged icon.ico is passed over for library.svg";
    ASSERT_NE(images.GetImage(id, 16), nullptr);
    EXPECT_EQ(images.GetPathIconId(folder, true), id) << "kept: the files are not asked again";
    const std::wstring shouted = folder.substr(0, folder.size() - 5) + L"BOLTS";
    EXPECT_EQ(images.GetPathIconId(shouted, true), id) << "paths compare without case";

    images.ForgetPaths();
    EXPECT_EQ(images.GetPathIconId(folder, false), 0u) << "forgotten, and no files named this time";
}

TEST_F(ImageManagerTest, OnePathForgottenLeavesTheOthersKept) {
    images.SetExtensionIcon(L".grb", 40782);
    ASSERT_EQ(images.GetPathIconId(L"C:\\a.grb", true), 40782u);
    ASSERT_EQ(images.GetPathIconId(L"C:\\b.grb", true), 40782u);
    images.SetExtensionIcon(L".grb", 40783);
    images.ForgetPath(L"C:\\A.GRB");
    EXPECT_EQ(images.GetPathIconId(L"C:\\a.grb", true), 40783u) << "found again";
    EXPECT_EQ(images.GetPathIconId(L"C:\\b.grb", true), 40782u) << "still kept";
    images.ForgetPath(L"C:\\never.grb");
}

TEST_F(ImageManagerTest, AFileWithoutIconFilesShowsItsExtensionsIcon) {
    images.SetExtensionIcon(L".GRB", 40782);
    EXPECT_EQ(images.GetPathIconId(L"C:\\Drawings\\plate.grb", false), 40782u);
    EXPECT_EQ(images.GetPathIconId(L"C:\\Drawings.grb\\plate", false), 0u)
        << "a dot in a folder is no extension";
    EXPECT_EQ(images.GetPathIconId(L"", true), 0u);
    EXPECT_EQ(images.GetPathIconId(L"C:\\x.txt", true, libraryIcons), 0u);
}

TEST_F(ImageManagerTest, ResourcesAreReservedForTheSizesAsked) {
    images.ReserveResources({16, 24, 32}, 880);
    EXPECT_EQ(images.GetReservedCount(), 880);
    EXPECT_EQ(images.GetReservedSizes(), (std::vector<int>{16, 24, 32}));
    EXPECT_EQ(Dravik::UI::ImageManager::GetInstance(false), nullptr);
    auto* shared = Dravik::UI::ImageManager::GetInstance(true);
    EXPECT_NE(shared, nullptr);
    EXPECT_EQ(Dravik::UI::ImageManager::GetInstance(false), shared);
}

} // namespace
