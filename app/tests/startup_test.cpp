#include "startup_fixture.h"

#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"

namespace dvapp::test {
namespace {

class Startup : public StartupTest {};

TEST_F(Startup, TheConfigSelectsTheEditionItsIdsAndItsModules) {
    const std::vector<int> twoD = {1, 2, 3, 4, 5, 9};
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::vector<int> all3D = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::vector<int> se = {1, 2, 3, 4, 5, 6, 7, 9};
    struct Case {
        std::string config;
        std::uint32_t mask;
        std::string product; // the SetProduct call, empty when none
        std::uint32_t modeCode;
        unsigned title, docTemplate;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"2D", 2, "SetProduct(0)", 2, 2, 1000, twoD},
        {"SE", 4, "SetProduct(2)", 4, 5, 1000, se},
        {"3D", 8, "SetProduct(1)", 8, 3, 1000, all3D},
        {"GS", 16, "", 16, 0, 0, twoD},
        {"GS3D", 32, "", 32, 0, 0, all},
        {"gs3d", 32, "", 32, 0, 0, all},
        {"GS3", 575, "", 8, 0, 0, all},
        {"Alder", 128, "SetProduct(3)", 128, 9, 1000, all},
        {"Birch", 256, "SetProduct(4)", 256, 10, 1000, all},
        {"AlderAdministrator", 512, "SetProduct(5)", 512, 11, 1000, all},
        {"", 575, "", 8, 0, 0, all},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Config=" + c.config);
        resetOutside();
        writeProductIni("[SETTINGS]\nConfig=" + c.config + "\n");
        // The command-line INI cannot change the edition.
        writeFile("cfg/over.ini", "[SETTINGS]\nConfig=Birch\n");
        EXPECT_FALSE(start({L"-ini:" + pal::text::fromUtf8((root() / "cfg/over.ini").string())}));
        EXPECT_EQ(app->GetEditionMask(), c.mask);
        const auto ui = dvtrace::test::callsOf("DravikUI");
        const bool setProduct =
            std::any_of(ui.begin(), ui.end(), [](auto& s) { return s.rfind("SetProduct", 0) == 0; });
        EXPECT_EQ(setProduct, !c.product.empty());
        if (!c.product.empty()) {
            EXPECT_EQ(countCalls("DravikUI", c.product), 1u);
        }
        EXPECT_EQ(GetApplicationModeCode(), c.modeCode);
        EXPECT_EQ(app->GetTitleStringId(), c.title);
        EXPECT_EQ(app->GetDocTemplateResourceId(), c.docTemplate);
        EXPECT_EQ(loadedRows(), c.rows);
        stop();
        app.reset();
    }
}

TEST_F(Startup, ABadModuleIsReportedOnceAndSkippedAndStartUpGoesOn) {
    struct Case {
        std::string config;
        std::vector<std::pair<std::string, std::string>> versions;
        std::string refusing; // DV_MODULE_INIT_FAIL
        int level;
        std::string line;
        std::string box;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"3D",
         {{"DV3DSE.so", "18.0.20.0"}},
         "",
         8,
         "Mandatory module \"DV3DSE.dll\" v18.0.20.0 is incompatible with DRAVIK CAD v18.0.21.0",
         "Incorrect version of \"DV3DSE.dll\" (18.0.20.0)",
         {1, 2, 3, 4, 5, 6, 8, 9}},
        {"2D",
         {{"DravikDocumentConverter.so", "19.1.2.3"}},
         "",
         7,
         "Optional module \"DravikDocumentConverter.dll\" v19.1.2.3 is incompatible with DRAVIK CAD "
         "v18.0.21.0",
         "Incorrect version of \"DravikDocumentConverter.dll\" (19.1.2.3)",
         {1, 2, 3, 4, 5}},
        {"SE",
         {},
         "DVBOM.dll",
         8,
         "Failed to load mandatory module \"DVBOM.dll\": 0x0000045a",
         "Cannot load module \"DVBOM.dll\"",
         {1, 2, 3, 4, 6, 7, 9}},
        {"",
         {},
         "DravikDocumentConverter.dll",
         7,
         "Failed to load optional module \"DravikDocumentConverter.dll\": 0x0000045a",
         "Cannot load module \"DravikDocumentConverter.dll\"",
         {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        resetOutside();
        pal::test::useVersionManifest({});
        if (!c.versions.empty())
            giveVersions(c.versions);
        ::setenv("DV_MODULE_INIT_FAIL", c.refusing.c_str(), 1);
        writeProductIni("[SETTINGS]\nConfig=" + c.config + "\n");
        const size_t boxesBefore = boxes().size();
        answer(IDOK);
        StartedListener started;
        EXPECT_FALSE(start());
        EXPECT_TRUE(hasLine(c.level, c.line));
        const auto shown = boxes();
        ASSERT_EQ(shown.size(), boxesBefore + 1);
        EXPECT_EQ(shown.back(), c.box);
        EXPECT_EQ(loadedRows(), c.rows);
        EXPECT_EQ(started.count, 1) << "start-up went on to its end";
        stop();
        app.reset();
        Dravik::Module::shutdownAll();
        ::unsetenv("DV_MODULE_INIT_FAIL");
    }
}

TEST_F(Startup, AKernelOfAnotherVersionStopsStartUpBeforeTheSession) {
    writeProductIni("[SETTINGS]\nConfig=3D\nSplash=1\n");
    giveVersions({{"DravikKernel.so", "18.0.22.0"}});
    answer(IDOK);
    StartedListener started;
    EXPECT_FALSE(start());
    EXPECT_EQ(
        dvlog::test::capturedAt(8),
        std::vector<std::string>{
            "Kernel module \"DravikKernel.dll\" v18.0.22.0 is incompatible with DRAVIK CAD v18.0.21.0"});
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("text"), "Fatal Error: Incorrect Version of DravikKernel.dll");
    EXPECT_EQ(prompts[0].get("caption"), "DRAVIK CAD");
    EXPECT_EQ(std::stoul(prompts[0].get("flags")) & MB_ICONERROR, MB_ICONERROR);
    EXPECT_FALSE(app->StartedSplash());
    EXPECT_EQ(countCalls("DravikKernel", "PreInitSession(1) -> ok"), 0u);
    EXPECT_TRUE(loadedRows().empty());
    EXPECT_EQ(started.count, 0);
}

TEST_F(Startup, TheBrandFollowsTheProductIniAlone) {
    struct Case {
        std::string product;
        int brand;
        std::string caption; // of the boxes before the session
        unsigned title;
    };
    const Case cases[] = {
        {"Language=Ger\n", 1, "VIRELO CAD 3D", 12},
        {"Language=Ger\nIsVirelo=0\n", 0, "DRAVIK CAD", 3},
        {"Language=ger\n", 0, "DRAVIK CAD", 3},
        {"Language=German\n", 0, "DRAVIK CAD", 3},
        {"Language=Ger\nIsVirelo=0\nIsMerrow=1\nIsOstrel=1\n", 2, "DRAVIK CAD", 15},
        {"IsOstrel=1\n", 3, "DRAVIK CAD", 16},
        {"", 0, "DRAVIK CAD", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        resetOutside();
        pal::test::useVersionManifest({});
        writeProductIni("[SETTINGS]\nConfig=3D\n" + c.product);
        writeFile("cfg/over.ini", "[SETTINGS]\nIsVirelo=1\nIsMerrow=1\n");
        // A wrong kernel shows the caption that start-up set from the brand.
        giveVersions({{"DravikKernel.so", "1.0.0.0"}});
        answer(IDOK);
        EXPECT_FALSE(start({L"-ini:" + pal::text::fromUtf8((root() / "cfg/over.ini").string())}));
        EXPECT_EQ(app->GetBrandCode(), c.brand);
        EXPECT_EQ(dvkernel::test::brandCode(), c.brand);
        EXPECT_EQ(journal("prompt").back().get("caption"), c.caption);
        EXPECT_EQ(app->GetTitleStringId(), c.title);
        stop();
        app.reset();
    }
}

TEST_F(Startup, NoSplashWhenHiddenMinimisedEmbeddedOrSwitchedOff) {
    // A banner lets the splash thread live until start-up closes it.
    writeFile("banner.bmp", "BM");
    struct Case {
        int show;
        std::vector<std::wstring> args;
        std::string splashKey;
        bool splash;
    };
    const Case cases[] = {
        {SW_SHOWNORMAL, {}, "", true},
        {SW_SHOWNORMAL, {}, "Splash=0\n", false},
        {SW_HIDE, {}, "Splash=1\n", false},
        {SW_SHOWMINIMIZED, {}, "Splash=1\n", false},
        {SW_MINIMIZE, {}, "", false},
        {SW_SHOWMINNOACTIVE, {}, "", false},
        {SW_SHOWMAXIMIZED, {}, "", true},
        {SW_SHOWNORMAL, {L"-Embedding"}, "Splash=1\n", false},
        {SW_SHOWNORMAL, {L"/Automation"}, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.show) + " " + c.splashKey);
        resetOutside();
        writeProductIni("[SETTINGS]\nConfig=2D\nSplashImage=" + (root() / "banner.bmp").string() + "\n" +
                        c.splashKey);
        EXPECT_FALSE(start(c.args, c.show));
        EXPECT_EQ(app->StartedSplash(), c.splash);
        stop();
        app.reset();
    }
}

// The main initialisation stands in for itself: it succeeds, or not.
class SucceedingApp : public DravikApp {
public:
    BOOL InitInstance(DVCommandLineInfo&, const dvapp::StartupIni&) override { return TRUE; }
    using DravikApp::InitInstance;
};

TEST_F(Startup, StartedIsRaisedOnceAndTheTimeLoggedWhateverTheMainInitialisationSays) {
    struct Case {
        bool postInitFails;
        bool mainInitSucceeds;
        bool result;
    };
    const Case cases[] = {{false, true, true}, {false, false, false}, {true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.postInitFails) + std::to_string(c.mainInitSucceeds));
        resetOutside();
        writeProductIni("[SETTINGS]\nConfig=2D\n");
        dvkernel::test::failStep(dvkernel::test::SessionStep::PostInitSession, c.postInitFails);
        StartedListener started;
        const bool ok = c.mainInitSucceeds ? start<SucceedingApp>() : start();
        EXPECT_EQ(ok, c.result);
        EXPECT_EQ(started.count, 1);
        // The test clock stands still.
        EXPECT_TRUE(hasLine(2, "Initialized in 0.000 ms"));
        stop();
        app.reset();
    }
}

TEST_F(Startup, AFailingSessionOpeningEndsStartUpAtOnce) {
    writeProductIni("[SETTINGS]\nConfig=3D\n");
    dvkernel::test::failStep(dvkernel::test::SessionStep::PreInitSession);
    StartedListener started;
    EXPECT_FALSE(start());
    EXPECT_TRUE(loadedRows().empty());
    EXPECT_FALSE(app->StartedSplash());
    EXPECT_EQ(started.count, 0);
    EXPECT_EQ(CXTPPaintManager::GetInstanceRefCount(), 0);
}

TEST_F(Startup, TheRegistryRootAndTheDdeCommandComeFromStartUp) {
    writeProductIni("[SETTINGS]\nConfig=3D\nCompany=Acme\nRegistryName=Acme CAD\n");
    dvui::test::setPendingShellCommand(L"[open(\"a.dvp\")]");
    EXPECT_FALSE(start({L"-dde"}));
    EXPECT_STREQ(app->m_pszRegistryKey, L"Acme");
    EXPECT_STREQ(app->m_pszProfileName, L"Acme CAD");
    ASSERT_EQ(app->GetQueuedDDECommands().size(), 1u);
    EXPECT_EQ(app->GetQueuedDDECommands().front(), L"[open(\"a.dvp\")]");
    EXPECT_EQ(DVMessageBox::GetCaption(), L"DRAVIK CAD 3D") << "the edition's title after the session opened";
}

} // namespace
} // namespace dvapp::test
