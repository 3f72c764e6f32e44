// The folder chooser: answers that choose, cancel or cannot be carried out.
#include "DravikKernel/SelectFolders.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

using FolderChooser = pal::test::SandboxTest;

TEST_F(FolderChooser, AnswersChooseOrCancel) {
    writeFile("drive_c/lib/a.grb", "a");
    writeFile("drive_c/other/b.grb", "b");
    answer(L"C:\\other");
    EXPECT_EQ(SelectFolders(nullptr, L"C:\\lib\\", L"Folder", true, false),
              std::vector<std::wstring>{L"C:\\other\\"});
    answer(1);
    EXPECT_EQ(SelectFolders(nullptr, L"C:\\lib\\", L"Folder", true, false),
              std::vector<std::wstring>{L"C:\\lib\\"});
    answer(2);
    EXPECT_TRUE(SelectFolders(nullptr, L"C:\\lib\\", L"Folder", true, false).empty());
    answer(L"C:\\lib|C:\\other");
    EXPECT_EQ(SelectFolders(nullptr, L"C:\\", L"Folders", true, true),
              (std::vector<std::wstring>{L"C:\\lib\\", L"C:\\other\\"}));
}

TEST_F(FolderChooser, AMissingFolderIsNotTaken) {
    allowRefusedAnswers = true;
    answer(L"C:\\nowhere");
    EXPECT_TRUE(SelectFolders(nullptr, L"C:\\", L"Folder", true, false).empty());
    answer(L"C:\\nowhere");
    EXPECT_EQ(SelectFolders(nullptr, L"C:\\", L"Folder", false, false),
              std::vector<std::wstring>{L"C:\\nowhere\\"});
}

} // namespace
