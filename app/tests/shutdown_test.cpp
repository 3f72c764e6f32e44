#include "startup_fixture.h"

namespace dvapp::test {
namespace {

using dvkernel::test::SessionState;
using dvkernel::test::SessionStep;

class Shutdown : public StartupTest {};

// However start-up ended, shut-down gives back what it took and nothing else, and does its
// work once, whichever roads reach it.
TEST_F(Shutdown, ReleasesOnlyWhatStartUpTookAndOnlyOnce) {
    enum class Failure { KernelVersion, PreInit, PostInit, MainInit };
    struct Case {
        Failure failure;
        bool sessionDestroyed;
        bool modulesShutDown;
    };
    const Case cases[] = {
        {Failure::KernelVersion, false, false},
        {Failure::PreInit, false, false},
        {Failure::PostInit, true, true},
        {Failure::MainInit, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failure));
        resetOutside();
        pal::test::useVersionManifest({});
        writeProductIni("[SETTINGS]\nConfig=2D\n");
        if (c.failure == Failure::KernelVersion) {
            giveVersions({{"DravikKernel.so", "18.0.0.0"}});
            answer(IDOK);
        }
        if (c.failure == Failure::PreInit)
            dvkernel::test::failStep(SessionStep::PreInitSession);
        if (c.failure == Failure::PostInit)
            dvkernel::test::failStep(SessionStep::PostInitSession);

        // Another holder of the paint manager must keep its reference.
        CXTPPaintManager::GetInstanceAddRef();
        ASSERT_FALSE(start());
        dvtrace::test::clear();

        // The class library's entry point, the Exit command and the end of the loop all
        // come here.
        const int first = stop();
        EXPECT_EQ(app->OnExitCommand(), 1);
        EXPECT_EQ(stop(), first);

        EXPECT_EQ(countCalls("DravikKernel", "DestroySession(0)"), c.sessionDestroyed ? 1u : 0u);
        EXPECT_EQ(dvkernel::test::sessionState() == SessionState::Destroyed, c.sessionDestroyed);
        EXPECT_EQ(CXTPPaintManager::GetInstanceRefCount(), 1);
        EXPECT_EQ(countCalls("DV2DEdit.dll", "shutdown"), c.modulesShutDown ? 1u : 0u);
        EXPECT_EQ(countCalls("DV2DEdit.dll", "unload"), c.modulesShutDown ? 1u : 0u);
        CXTPPaintManager::ReleaseInstance();
        app.reset();
    }
}

TEST_F(Shutdown, GivesBackTheMutexAndAtomsAndPostsTheQuitMessage) {
    writeProductIni("[SETTINGS]\nConfig=2D\n");
    ASSERT_FALSE(start());
    EXPECT_NE(GlobalFindAtomW(L"dravik"), 0);
    EXPECT_NE(GlobalFindAtomW(L"system"), 0);
    EXPECT_EQ(app->ExitInstance(), 0);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(GlobalFindAtomW(L"dravik"), 0);
    EXPECT_EQ(GlobalFindAtomW(L"system"), 0);
    // Nothing is left to give back a second time, and no second quit message.
    app->ExitInstance();
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Shutdown, WritesTheSettingsOnlyWhenAskedToSaveAtExit) {
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save);
        writeProductIni("[SETTINGS]\nConfig=2D\nCompany=Acme\nRegistryName=Save" + std::to_string(save) +
                        "\n");
        ASSERT_FALSE(start());
        app->SetSaveAtExit(save);
        app->SetOrsaProfileFileName(L"design-office");
        stop();
        // All four values, or none of them.
        EXPECT_EQ(app->GetProfileInt(L"Settings", L"ToolBarIconSize", -1), save ? 24u : UINT(-1));
        EXPECT_EQ(app->GetProfileInt(L"Settings", L"RibbonMode", -1), save ? 1u : UINT(-1));
        EXPECT_EQ(app->GetProfileStringW(L"Settings", L"UIStyle", L"none") != CString(L"none"), save);
        EXPECT_EQ(app->GetProfileStringW(L"Settings", L"OrsaProfileFileName", L"none"),
                  CString(save ? L"design-office" : L"none"));
        app.reset();
    }
}

} // namespace
} // namespace dvapp::test
