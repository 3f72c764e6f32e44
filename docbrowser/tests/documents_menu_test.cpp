#include "docbrowser/DocumentsMenu.h"

#include "DravikKernel/KernelServices.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

using namespace DocumentsMenu;

class DocumentsMenuModel : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        GlobalCfgGroup().Clear();
        SandboxTest::TearDown();
    }
    std::wstring sandboxPath(const char* name) const { return pal::path::fromNative(root() / name); }
};

TEST_F(DocumentsMenuModel, AConfigurationIsSavedAndReadBackWithItsLibraries) {
    auto configuration = CreateConfiguration(L"Standard parts", false);
    configuration->SetPath(sandboxPath("parts.tws"));
    auto bolts = CreateLibrary(L"Bolts");
    bolts->SetName(L"Bolts and nuts");
    configuration->AddLibrary(std::move(bolts));
    configuration->AddLibrary(CreateLibrary(L"D:\\Shared\\Frames"))->SetName(L"Frames");
    IConfiguration* added = GlobalCfgGroup().Add(std::move(configuration));
    ASSERT_TRUE(SaveAllConfigurations(GlobalCfgGroup()));

    IConfiguration read(L"");
    read.SetPath(added->GetPath());
    ASSERT_TRUE(read.Load());
    EXPECT_EQ(read.GetName(), L"Standard parts");
    ASSERT_EQ(read.GetLibraryCount(), 2u);
    EXPECT_EQ(read.GetLibrary(0)->GetName(), L"Bolts and nuts");
    EXPECT_EQ(read.GetLibrary(1)->GetPath(), L"D:\\Shared\\Frames");
}

TEST_F(DocumentsMenuModel, LookUpsByPathNameAndActiveFlag) {
    EXPECT_EQ(FindActiveCfg(GlobalCfgGroup()), nullptr);
    IConfiguration* first = GlobalCfgGroup().Add(CreateConfiguration(L"First", false));
    first->SetPath(L"C:\\Configs\\First.tws");
    IConfiguration* second = GlobalCfgGroup().Add(CreateConfiguration(L"Second", false));
    second->SetPath(L"C:\\Configs\\Second.tws");
    second->SetActive(true);
    second->AddLibrary(CreateLibrary(L"Pipes"))->SetName(L"Pipes");

    EXPECT_EQ(FindConfigurationByPath(GlobalCfgGroup(), L"c:/configs/FIRST.tws"), first);
    EXPECT_EQ(FindConfigurationByPath(GlobalCfgGroup(), L"C:\\Configs\\Third.tws"), nullptr);
    EXPECT_EQ(FindActiveCfg(GlobalCfgGroup()), second);
    EXPECT_NE(FindLibraryByName(second, L"PIPES"), nullptr);
    EXPECT_EQ(FindLibraryByName(first, L"Pipes"), nullptr);
    EXPECT_EQ(FindLibraryByName(nullptr, L"Pipes"), nullptr);
}

TEST_F(DocumentsMenuModel, LibraryFoldersAreAbsoluteWithATrailingSeparator) {
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    configuration->SetPath(L"C:\\Configs\\c.tws");
    struct Case {
        const wchar_t* path;
        IConfiguration* owner;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"Bolts", configuration, L"C:\\Configs\\Bolts\\"},
        {L"D:\\Shared\\Frames\\", configuration, L"D:\\Shared\\Frames\\"},
        {L"Loose", nullptr, DVAppendProgramPath(L"Loose", 0, false) + L"/"},
    };
    std::vector<std::unique_ptr<ILibrary>> loose;
    for (const Case& c : cases) {
        auto library = CreateLibrary(c.path);
        ILibrary* held =
            c.owner ? c.owner->AddLibrary(std::move(library)) : loose.emplace_back(std::move(library)).get();
        EXPECT_EQ(GetLibraryAbsolutePath(held), c.expected);
    }
    EXPECT_EQ(GetLibraryAbsolutePath(nullptr), L"");
}

TEST_F(DocumentsMenuModel, SavingAllReportsAConfigurationThatCouldNotBeSaved) {
    GlobalCfgGroup().Add(CreateConfiguration(L"Unsaved", false)); // no file: nothing to save
    EXPECT_TRUE(SaveAllConfigurations(GlobalCfgGroup()));
    writeFile("blocker", "a file where a folder should be");
    GlobalCfgGroup().Add(CreateConfiguration(L"Blocked", false))->SetPath(sandboxPath("blocker/c.tws"));
    GlobalCfgGroup().Add(CreateConfiguration(L"Fine", false))->SetPath(sandboxPath("fine.tws"));
    EXPECT_FALSE(SaveAllConfigurations(GlobalCfgGroup()));
    EXPECT_TRUE(std::filesystem::exists(root() / "fine.tws")) << "one failure does not stop the others";
}

} // namespace
