#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/test/hooks.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "win/base.h"
#include "win/controls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Services : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
    }
    void TearDown() override {
        ::unsetenv("DV_PRODUCT_INI");
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
};

TEST_F(Services, TheCallbackObjectIsFoundWhileItLives) {
    EXPECT_EQ(DravikServerAppProxy::Instance(), nullptr);
    {
        DravikServerAppProxy proxy;
        EXPECT_EQ(DravikServerAppProxy::Instance(), &proxy);
        EXPECT_TRUE(proxy.IsLoaded());
    }
    EXPECT_EQ(DravikServerAppProxy::Instance(), nullptr);
}

TEST_F(Services, TheProductIniLiesBesideTheProgramUnlessATestNamesAnother) {
    DravikServerAppProxy proxy;
    const fs::path expected = binDir() / (pal::folders::programFile().stem().string() + ".ini");
    EXPECT_EQ(pal::path::toNative(proxy.GetProductIniFileName()), expected);
    ::setenv("DV_PRODUCT_INI", "/tmp/child.ini", 1);
    EXPECT_EQ(proxy.GetProductIniFileName(), L"/tmp/child.ini");
    dvkernel::test::setProductIniFileName(L"C:\\config\\Product.ini");
    EXPECT_EQ(proxy.GetProductIniFileName(), L"C:\\config\\Product.ini");
}

TEST_F(Services, ProgramPaths) {
    const std::wstring program = pal::path::fromNative(binDir());
    EXPECT_EQ(DVAppendProgramPath(L"TextBrowsers.ini", 0, true), program + L"/TextBrowsers.ini");
    EXPECT_EQ(pal::path::toNative(DVAppendProgramPath(L"UserIcons\\a.ico", 0, true)),
              binDir() / "UserIcons" / "a.ico");
    EXPECT_EQ(DVAppendProgramPath(L"C:\\abs\\x.xml", 1, true), L"C:\\abs\\x.xml");
    EXPECT_EQ(DVAppendProgramPath(L"/abs/x.xml", 0, false), L"/abs/x.xml");

    const std::wstring user = DVAppendProgramPath(L"application.xml", 1, false);
    EXPECT_EQ(user.substr(0, 3), L"C:\\");
    EXPECT_EQ(user.substr(user.size() - 16), L"\\application.xml");
    const fs::path folder = pal::path::toNative(user).parent_path();
    EXPECT_FALSE(fs::exists(folder)) << "not made without the create flag";
    EXPECT_EQ(DVAppendProgramPath(L"DVDict.xml", 1, true), user.substr(0, user.size() - 15) + L"DVDict.xml");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::path(pal::path::toNative(DVAppendProgramPath(L"", 1, false))), folder);
}

TEST_F(Services, KernelStrings) {
    EXPECT_EQ(DVLoadString(3), L"DRAVIK CAD 3D");
    EXPECT_EQ(DVLoadString(12), L"VIRELO CAD 3D");
    // The ids the shell shows in its message boxes have a text; an empty box tells nothing.
    for (UINT id : {10046u, 11660u, 13655u, 41010u, 41014u, 61703u})
        EXPECT_FALSE(DVLoadString(id).empty()) << id;
    EXPECT_EQ(DVLoadString(0), L"");
    EXPECT_EQ(DVLoadString(99999), L"");
}

TEST_F(Services, MessageBoxesAreAnsweredThroughTheResponder) {
    DVMessageBox::SetCaption(L"DRAVIK CAD 3D");
    answer(IDNO);
    EXPECT_EQ(DVMessageBox::Show(L"Remove the tool bar?", MB_YESNO | MB_ICONQUESTION), IDNO);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("text"), "Remove the tool bar?");
    EXPECT_EQ(prompts[0].get("caption"), "DRAVIK CAD 3D");
    EXPECT_EQ(prompts[0].get("flags"), std::to_string(MB_YESNO | MB_ICONQUESTION));
}

} // namespace
