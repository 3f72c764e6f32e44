#include "startup_fixture.h"

#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"

#include <functional>

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

TEST_F(Startup, AModuleBoxAfterTheSessionOpensIsCaptionedWithTheTitleOrElseTheApplicationName) {
    struct Case {
        std::string product;
        std::string caption;
    };
    const Case cases[] = {
        {"Config=3D\n", "DRAVIK CAD 3D"},
        // Editions without a title string of their own.
        {"Config=GS\n", "DRAVIK CAD"},
        {"Config=GS3D\n", "DRAVIK CAD"},
        {"", "DRAVIK CAD"},
        {"Config=GS\nLanguage=Ger\n", "VIRELO CAD 3D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        resetOutside();
        ::setenv("DV_MODULE_INIT_FAIL", "DVBOM.dll", 1);
        writeProductIni("[SETTINGS]\n" + c.product);
        answer(IDOK);
        EXPECT_FALSE(start());
        const auto prompts = journal("prompt");
        ASSERT_FALSE(prompts.empty());
        EXPECT_EQ(prompts.back().get("text"), "Cannot load module \"DVBOM.dll\"");
        EXPECT_EQ(prompts.back().get("caption"), c.caption);
        stop();
        app.reset();
        Dravik::Module::shutdownAll();
    }
}

TEST_F(Startup, TheOutsideIsCalledInItsOrder) {
    writeProductIni("[SETTINGS]\nConfig=2D\n");
    EXPECT_FALSE(start());
    const std::vector<std::string> expected = {
        "DravikKernel: EnableMacros(true)",
        "DravikKernel: InitSessionLocale(Rus,1,0)",
        "DravikManagedUIProxy: InitManagedResourcesWraps()",
        "DravikUI: SetProduct(0)",
        "DravikKernel: PreInitSession(1) -> ok",
        "DV2DAnnotate.dll: initialize",
        "DVTEXT.dll: initialize",
        "DV2DLT.dll: initialize",
        "DV2DEdit.dll: initialize",
        "DVBOM.dll: initialize",
        "DravikDocumentConverter.dll: initialize",
        "DravikKernel: RestoreSessionLanguage()",
        // The first row of the named commands and the last of their id blocks.
        "DravikKernel: RegisterCommand(system,1048)",
        "DravikKernel: RegisterCommands(65000,65049,24)",
        "DravikKernel: PostInitSession() -> ok",
        // The main initialisation: the first kernel identifier and the last registration.
        "DravikKernel: RegisterCmd(1470,MovetoModel,1470,0)",
        "DravikKernel: RegisterCmd(2104,StereoMode,2104,0)",
    };
    std::vector<std::string> milestones;
    for (const auto& call : dvtrace::test::calls()) {
        const std::string text = call.library + ": " + call.call;
        if (std::find(expected.begin(), expected.end(), text) != expected.end())
            milestones.push_back(text);
    }
    EXPECT_EQ(milestones, expected);
}

// Where each setting of start-up comes from: the product INI alone, or the effective INI (the
// command-line INI written over the product INI); a relative path of the effective INI is then
// looked for beside the command-line INI first.
TEST_F(Startup, EachSettingIsReadFromItsOwnIni) {
    enum class From { Product, Effective, EffectiveBesideCommandLineIni };
    struct Setting {
        std::string section, key;
        From from;
        std::string productValue, lineValue;
        std::function<std::string(const DravikApp&)> read;
    };
    const auto setting = [](std::wstring CDvw32App::StartupSettings::*field) {
        return [field](const DravikApp& a) { return pal::text::toUtf8(a.GetStartupSettings().*field); };
    };
    const auto brandIs = [](int code) {
        return [code](const DravikApp& a) { return std::string(a.GetBrandCode() == code ? "1" : "0"); };
    };
    using S = CDvw32App::StartupSettings;
    const Setting settings[] = {
        {"SETTINGS", "Company", From::Effective, "ProductCo", "LineCo",
         [](const DravikApp& a) { return pal::text::toUtf8(a.m_pszRegistryKey); }},
        {"SETTINGS", "RegistryName", From::Effective, "Product CAD", "Line CAD",
         [](const DravikApp& a) { return pal::text::toUtf8(a.m_pszProfileName); }},
        {"SETTINGS", "Tutor", From::Effective, "ptutor", "ltutor", setting(&S::Tutor)},
        {"SETTINGS", "TutorHTM", From::Effective, "p.htm", "l.htm", setting(&S::TutorHTM)},
        {"SETTINGS", "TutorDownloadUri", From::Effective, "http://p", "http://l",
         setting(&S::TutorDownloadUri)},
        {"SETTINGS", "VideoPlayer", From::Effective, "p.exe", "l.exe", setting(&S::VideoPlayer)},
        {"SETTINGS", "AppTitle", From::Effective, "Product title", "Line title", setting(&S::AppTitle)},
        {"SETTINGS", "Language", From::Product, "Eng", "Ger", setting(&S::Language)},
        {"SETTINGS", "IsVirelo", From::Product, "0", "1", brandIs(1)},
        {"SETTINGS", "IsMerrow", From::Product, "0", "1", brandIs(2)},
        {"SETTINGS", "IsOstrel", From::Product, "1", "0", brandIs(3)},
        {"SETTINGS", "Config", From::Product, "3D", "Birch",
         [](const DravikApp& a) { return std::string(a.GetEditionMask() == EditionBirch ? "Birch" : "3D"); }},
        {"SETTINGS", "Macros", From::Effective, "1", "0",
         [](const DravikApp&) { return std::string(dvkernel::test::macrosEnabled() ? "1" : "0"); }},
        {"SETTINGS", "Metric", From::Effective, "1", "0",
         [](const DravikApp&) { return std::string(dvkernel::test::metric() ? "1" : "0"); }},
        {"SETTINGS", "StartPage", From::Effective, "1", "0",
         [](const DravikApp& a) { return std::string(a.IsStartPageEnabled() ? "1" : "0"); }},
        {"SETTINGS", "Splash", From::Effective, "1", "0",
         [](const DravikApp& a) { return std::string(a.StartedSplash() ? "1" : "0"); }},
        {"SETTINGS", "ApplicationsFile", From::EffectiveBesideCommandLineIni, "p-apps.xml", "l-apps.xml",
         setting(&S::ApplicationsFile)},
        {"SETTINGS", "DefaultStateFile", From::EffectiveBesideCommandLineIni, "p-state.xml", "l-state.xml",
         setting(&S::DefaultStateFile)},
        {"SETTINGS", "BackgroundImage", From::EffectiveBesideCommandLineIni, "p.bmp", "l.bmp",
         setting(&S::BackgroundImage)},
        {"SETTINGS", "DefaultDynamicToolBarFile", From::EffectiveBesideCommandLineIni, "p-bars.xml",
         "l-bars.xml", setting(&S::DefaultDynamicToolBarFile)},
        {"SETTINGS", "DefaultContextMenuFile", From::EffectiveBesideCommandLineIni, "p-menu.xml",
         "l-menu.xml", setting(&S::DefaultContextMenuFile)},
        {"SETTINGS", "DefaultTemplateFolder", From::EffectiveBesideCommandLineIni, "p-templates",
         "l-templates", setting(&S::DefaultTemplateFolder)},
        {"FIXED_SIZE", "CX", From::Effective, "1001", "1002",
         [](const DravikApp& a) { return std::to_string(a.GetFixedMainWindowSize().cx); }},
        {"FIXED_SIZE", "CY", From::Effective, "701", "702",
         [](const DravikApp& a) { return std::to_string(a.GetFixedMainWindowSize().cy); }},
    };
    std::string product, line;
    for (const char* section : {"SETTINGS", "FIXED_SIZE"}) {
        product += std::string("[") + section + "]\n";
        line += std::string("[") + section + "]\n";
        for (const Setting& s : settings) {
            if (s.section != section)
                continue;
            product += s.key + "=" + s.productValue + "\n";
            line += s.key + "=" + s.lineValue + "\n";
        }
    }
    writeProductIni(product);
    writeFile("cfg/line.ini", line);
    const std::string beside = (root() / "cfg").string() + "/";
    for (const Setting& s : settings)
        if (s.from == From::EffectiveBesideCommandLineIni) {
            writeFile("cfg/" + s.lineValue, "");
            writeFile("product/" + s.productValue, "");
        }
    EXPECT_FALSE(start({L"-ini:" + pal::text::fromUtf8((root() / "cfg/line.ini").string())}));
    for (const Setting& s : settings) {
        const std::string expected = s.from == From::Product     ? s.productValue
                                     : s.from == From::Effective ? s.lineValue
                                                                 : beside + s.lineValue;
        EXPECT_EQ(s.read(*app), expected) << s.section << "/" << s.key;
    }
}

// The splash gives way to the box of a missing mandatory module under a single edition, at
// once; otherwise it stays until start-up ends.
TEST_F(Startup, TheSplashClosesForTheBoxOfAMandatoryModuleUnderOneEdition) {
    // A picture that loads, so that the splash shows until it is told to close.
    std::filesystem::copy_file(binDir() / "Banner.bmp", root() / "banner.bmp");
    struct Case {
        std::string config;
        std::string refusing;
        bool closedAtOnce;
    };
    const Case cases[] = {
        {"3D", "DVBOM.dll", true},
        {"Alder", "DVBOM.dll", true},
        {"", "DVBOM.dll", false},                     // every edition
        {"3D", "DravikDocumentConverter.dll", false}, // optional
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config + " " + c.refusing);
        resetOutside();
        ::setenv("DV_MODULE_INIT_FAIL", c.refusing.c_str(), 1);
        writeProductIni("[SETTINGS]\nConfig=" + c.config +
                        "\nSplashImage=" + (root() / "banner.bmp").string() + "\n");
        answer(IDOK);
        EXPECT_FALSE(start());
        ASSERT_TRUE(app->StartedSplash());
        // The line that follows the failure in the log tells whether the splash closed then.
        const auto lines = dvlog::test::captured();
        const auto failure = std::find_if(lines.begin(), lines.end(), [&](const dvlog::test::Line& l) {
            return l.text.find("Failed to load") != std::string::npos;
        });
        ASSERT_NE(failure, lines.end());
        ASSERT_NE(failure + 1, lines.end());
        EXPECT_EQ((failure + 1)->text == "Closing the splash window", c.closedAtOnce) << (failure + 1)->text;
        const size_t closings = std::count_if(lines.begin(), lines.end(), [](const dvlog::test::Line& l) {
            return l.text == "Closing the splash window";
        });
        EXPECT_EQ(closings, 1u) << "the splash closes once";
        stop();
        app.reset();
        Dravik::Module::shutdownAll();
    }
    ::unsetenv("DV_MODULE_INIT_FAIL");
}

} // namespace
} // namespace dvapp::test
