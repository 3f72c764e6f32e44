// The image lists of the UI module: each command of a list gets a picture that draws at every
// size; an id the module has no list of puts nothing.
#include "DravikUI/ImageLists.h"

#include "pal/test/user_test.h"
#include "xtp/ImageManager.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using ImageListsTest = pal::test::UserTest;

TEST_F(ImageListsTest, ThePaneIconsDrawAtEverySizeUnderTheirCommands) {
    CXTPImageManager images;
    ASSERT_TRUE(Dravik::UI::LoadImageListResource(Dravik::UI::kPaneIconsResource, images));
    const std::vector<UINT> commands = Dravik::UI::GetImageListCommands(Dravik::UI::kPaneIconsResource);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(std::set<UINT>(commands.begin(), commands.end()).size(), commands.size())
        << "one icon per command";
    for (const UINT command : commands) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(images.IsVectorIcon(command)) << "the picture parses";
        for (const int size : {16, 24, 32}) {
            CXTPImageManagerIcon* icon = images.GetImage(command, size);
            ASSERT_NE(icon, nullptr);
            const HICON drawn = icon->GetVectorImage().Render(size, size);
            EXPECT_NE(drawn, nullptr);
            if (drawn != nullptr)
                ::DestroyIcon(drawn);
        }
    }

    CXTPImageManager none;
    EXPECT_FALSE(Dravik::UI::LoadImageListResource(1243, none));
    EXPECT_TRUE(none.GetCommands().empty());
    EXPECT_TRUE(Dravik::UI::GetImageListCommands(1243).empty());
}

} // namespace
