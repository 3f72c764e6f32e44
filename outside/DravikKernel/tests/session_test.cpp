#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVTextCore/I18n.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using dvkernel::test::SessionState;
using dvkernel::test::SessionStep;

class Session : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvtrace::test::clear();
    }
    void TearDown() override {
        ::unsetenv("DV_KERNEL_FAIL");
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    GlobalContainer& kernel() { return GlobalContainer::Instance(); }
};

TEST_F(Session, StepsSucceedInTurnAndAreRecorded) {
    EXPECT_TRUE(kernel().PreInitSession(1));
    EXPECT_EQ(dvkernel::test::sessionState(), SessionState::PreInitialized);
    EXPECT_TRUE(kernel().PostInitSession());
    EXPECT_TRUE(kernel().FinishInitSession());
    EXPECT_EQ(dvkernel::test::sessionState(), SessionState::Finished);
    kernel().DestroySession(0);
    EXPECT_EQ(dvkernel::test::sessionState(), SessionState::Destroyed);
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"),
              (std::vector<std::string>{"PreInitSession(1) -> ok", "PostInitSession() -> ok",
                                        "FinishInitSession() -> ok", "DestroySession(0)"}));
}

TEST_F(Session, AnInjectedFailureFailsOnlyItsStep) {
    struct Case {
        SessionStep step;
        bool pre, post, finish;
    };
    const Case cases[] = {
        {SessionStep::PreInitSession, false, true, true},
        {SessionStep::PostInitSession, true, false, true},
        {SessionStep::FinishInitSession, true, true, false},
    };
    for (const auto& c : cases) {
        dvkernel::test::reset();
        dvkernel::test::failStep(c.step);
        EXPECT_EQ(kernel().PreInitSession(1), c.pre);
        EXPECT_EQ(kernel().PostInitSession(), c.post);
        EXPECT_EQ(kernel().FinishInitSession(), c.finish);
        dvkernel::test::failStep(c.step, false);
        EXPECT_TRUE(kernel().PreInitSession(1)) << "cleared again";
    }
    dvkernel::test::reset();
    dvkernel::test::failStep(SessionStep::PreInitSession);
    EXPECT_FALSE(kernel().PreInitSession(1));
    EXPECT_EQ(dvkernel::test::sessionState(), SessionState::Closed) << "a failed step reaches nothing";
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel").back(), "PreInitSession(1) -> failed");
}

// A child process of a test is told through its environment, and only under the test fixture.
TEST_F(Session, AChildProcessReadsItsFailuresFromTheEnvironment) {
    ::setenv("DV_KERNEL_FAIL", "PostInitSession,FinishInitSession", 1);
    EXPECT_TRUE(kernel().PreInitSession(1));
    EXPECT_FALSE(kernel().PostInitSession());
    EXPECT_FALSE(kernel().FinishInitSession());
    ::setenv("DV_KERNEL_FAIL", "PostInitSessionX", 1);
    EXPECT_TRUE(kernel().PostInitSession());
    ::setenv("DV_KERNEL_FAIL", "PostInitSession", 1);
    ::setenv("DV_PAL_TEST", "0", 1);
    EXPECT_TRUE(kernel().PostInitSession()) << "a program run by a person ignores it";
    ::setenv("DV_PAL_TEST", "1", 1);
}

TEST_F(Session, BrandQueriesFollowTheBrandCodeOfTheLocale) {
    struct Case {
        int brand;
        bool virelo, merrow, ostrel;
    };
    const Case cases[] = {{0, false, false, false},
                          {1, true, false, false},
                          {2, false, true, false},
                          {3, false, false, true},
                          {4, false, false, false}};
    for (const auto& c : cases) {
        kernel().InitSessionLocale(L"Rus", true, c.brand);
        EXPECT_EQ(kernel().IsVirelo(), c.virelo) << c.brand;
        EXPECT_EQ(kernel().IsMerrow(), c.merrow) << c.brand;
        EXPECT_EQ(kernel().IsOstrel(), c.ostrel) << c.brand;
    }
    kernel().InitSessionLocale(L"Ger", false, 1);
    EXPECT_EQ(dvkernel::test::sessionLanguage(), L"Ger");
    EXPECT_FALSE(dvkernel::test::metric());
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel").back(), "InitSessionLocale(Ger,0,1)");
}

TEST_F(Session, RestoringTheLanguageBringsBackTheSessionsCatalogue) {
    kernel().InitSessionLocale(L"Rus", true, 0);
    EXPECT_EQ(Dravik::I18n::CurrentLanguage(), L"Rus");
    Dravik::I18n::LoadLanguage(L"Eng"); // as a module might
    kernel().RestoreSessionLanguage();
    EXPECT_EQ(Dravik::I18n::CurrentLanguage(), L"Rus");
}

TEST_F(Session, MacrosAndCreateToolsMode) {
    kernel().EnableMacros(false);
    EXPECT_FALSE(dvkernel::test::macrosEnabled());
    kernel().EnableMacros(true);
    EXPECT_TRUE(dvkernel::test::macrosEnabled());
    EXPECT_FALSE(kernel().InAppCreateToolsMode());
    dvkernel::test::setCreateToolsMode(true);
    EXPECT_TRUE(kernel().InAppCreateToolsMode());
    kernel().OnSessionIdle();
    kernel().OnSessionIdle();
    EXPECT_EQ(dvkernel::test::idleCount(), 2u);
}

TEST_F(Session, TheLocaleCodeFollowsTheSessionLanguage) {
    EXPECT_EQ(kernel().GetLocaleAlpha2Code(), L"en"); // no locale yet
    kernel().InitSessionLocale(L"Rus", true, 0);
    EXPECT_EQ(kernel().GetLocaleAlpha2Code(), L"ru");
    kernel().InitSessionLocale(L"ger", true, 1);
    EXPECT_EQ(kernel().GetLocaleAlpha2Code(), L"de");
    kernel().InitSessionLocale(L"Klingon", true, 0);
    EXPECT_EQ(kernel().GetLocaleAlpha2Code(), L"en");
}

TEST_F(Session, TheCommandRegistryKeepsIdsNamesAndFlags) {
    kernel().RegisterCmd(1254, L"WindowFullScreen", 1254, DVCommandFlags(16));
    kernel().RegisterCmd(1110, {}, 1110, DVCommandFlags(16));
    kernel().RegisterCmd(787, L"WindowShowOrsaArchives", 787, DVCommandFlags(48));
    auto commands = dvkernel::test::registeredCommands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1254].name, L"WindowFullScreen");
    EXPECT_EQ(commands[1110].name, L"");
    EXPECT_TRUE(DVCommandFlags(commands[787].flags).has(DVCommandFlag::Pdm));
    EXPECT_FALSE(DVCommandFlags(commands[1254].flags).has(DVCommandFlag::Pdm));

    // An application command registered again keeps one entry, with the new data.
    kernel().RegisterCmd(17000, L"Addon.First", 17000, {});
    kernel().RegisterCmd(17000, L"Addon.Renamed", 17000, DVCommandFlags(1));
    commands = dvkernel::test::registeredCommands();
    EXPECT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[17000].name, L"Addon.Renamed");

    EXPECT_TRUE(kernel().UnregisterCmd(17000));
    EXPECT_FALSE(kernel().UnregisterCmd(17000));
    EXPECT_EQ(dvkernel::test::registeredCommands().count(17000), 0u);
    // Unregistering after the session is destroyed, as shut-down does, still works.
    kernel().DestroySession(0);
    EXPECT_TRUE(kernel().UnregisterCmd(1254));
}

} // namespace
