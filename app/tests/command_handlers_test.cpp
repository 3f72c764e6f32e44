// The run and update functions of the named commands that act without a document.
#include "startup_fixture.h"

#include "app/CommandHandlers.h"
#include "app/DocumentPipeline.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/test/hooks.h"
#include "app/NamedCommandTable.h"
#include "docbrowser/SaveAsRevision.h"
#include "pal/path.h"
#include "pal/test/recording_cmd_ui.h"

#include "windows.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace dvapp::test {
namespace {

class CommandHandlers : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
        app->SetRegistryKey(L"Dravik");
        app->SetRegistryProfileName(L"DRAVIK CAD 18.0");
    }

    static void setProtectionSwitch(DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\DRAVIK CAD 18.0", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"DisableDocumentProtection", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(key);
    }
};

using pal::test::RecordingCmdUI;

TEST_F(CommandHandlers, StartUpRegistersTheEditionsCommandsAndTheKernelIdentifiers) {
    writeProductIni("[SETTINGS]\nConfig=2D\n");
    start();
    const auto registry = dvkernel::test::registeredCommands();
    EXPECT_EQ(registry.at(1019).name, L"Quit");
    EXPECT_EQ(registry.count(1064), 0u) << "no 3D documents in the 2D edition";
    EXPECT_EQ(registry.at(1470).name, L"MovetoModel");
    EXPECT_EQ(registry.at(2104).name, L"StereoMode");
    stop();
}

TEST_F(CommandHandlers, DisabledProtectionRefusesTheAccessWizardWithoutLoadingIt) {
    setProtectionSwitch(1);
    EXPECT_TRUE(IsDocumentProtectionDisabled());
    EXPECT_EQ(handlers::DocumentSetAccess(0), 0);
    EXPECT_TRUE(boxes().empty());
    RecordingCmdUI item;
    handlers::UpdateDocumentSetAccess(&item);
    EXPECT_EQ(item.enabled, 0);
}

TEST_F(CommandHandlers, AMissingAccessModuleIsReported) {
    setProtectionSwitch(0); // any value but 1 leaves protection on
    EXPECT_FALSE(IsDocumentProtectionDisabled());
    RecordingCmdUI item;
    item.enabled = 0;
    handlers::UpdateDocumentSetAccess(&item);
    EXPECT_EQ(item.enabled, 1);

    answer(IDOK);
    EXPECT_EQ(handlers::DocumentSetAccess(0), 0);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Cannot load module DVDocAccess.dll"}));
}

TEST_F(CommandHandlers, TheAccessWizardIsLoadedFromTheProgramFolderOnly) {
    // A wizard in the system folder is not the program's.
    std::filesystem::copy_file(binDir() / "doc_access_wizard.so", pal::folders::system() / "DVDocAccess.so");
    answer(IDOK);
    EXPECT_EQ(handlers::DocumentSetAccess(0), 0);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Cannot load module DVDocAccess.dll"}));
}

TEST_F(CommandHandlers, CheckForUpdatesOpensThePageOfTheBrand) {
    const struct {
        int brand;
        std::string file;
    } cases[] = {
        {0, "https://updates.dravik.example/check_for_updates/index.php?major=18&minor=0&build=21&revision=0"
            "&lang=ru&product=DravikCad&platform=x64"},
        {3, "https://www.ostrel.example"}, // Ostrel
    };
    for (const auto& c : cases) {
        const size_t before = journal("ShellExecute").size();
        GlobalContainer::Instance().InitSessionLocale(L"Rus", true, c.brand);
        EXPECT_EQ(handlers::CheckForUpdates(0), 1);
        const auto launches = journal("ShellExecute");
        ASSERT_EQ(launches.size(), before + 1) << c.brand;
        EXPECT_EQ(launches.back().get("verb"), "open");
        EXPECT_EQ(launches.back().get("file"), c.file);
        EXPECT_EQ(launches.back().get("show"), "5");
    }
}

TEST_F(CommandHandlers, TheUpdatePageNamesVersionLanguageAndProduct) {
    EXPECT_EQ(handlers::UpdatePageAddress(false, L"ru", L"DravikCad"),
              L"https://updates.dravik.example/check_for_updates/"
              L"index.php?major=18&minor=0&build=21&revision=0&lang=ru"
              L"&product=DravikCad&platform=x64");
    // The Ostrel brand has its own page and formats nothing.
    EXPECT_EQ(handlers::UpdatePageAddress(true, L"ru", L"DravikCad"), L"https://www.ostrel.example");
}

TEST_F(CommandHandlers, HelpContextsNestAroundDialogs) {
    EXPECT_EQ(app->SetHelpContext(100100, nullptr, 1), 1u); // the first dialog sets it
    EXPECT_EQ(app->SetHelpContext(125800, L"other.chm", 1), 100100u);
    EXPECT_EQ(app->GetHelpContextId(), 100100u) << "a nested dialog does not change it";
    app->SetHelpContext(7, nullptr, -1);
    EXPECT_EQ(app->GetHelpContextId(), 100100u);
    app->SetHelpContext(1, L"FEA.chm", -1); // back at level 0
    EXPECT_EQ(app->GetHelpContextId(), 1u);
    EXPECT_EQ(app->GetHelpContextFile(), L"FEA.chm");
}

TEST_F(CommandHandlers, HandlersWithoutAMainFrameAnswerHandled) {
    EXPECT_EQ(GetMainFrame(), nullptr);
    for (auto run : {handlers::WindowTileHorizontal, handlers::WindowCascade, handlers::WindowArrangeIcons,
                     handlers::WindowTileVertical, handlers::EditMaterials, handlers::Settings})
        EXPECT_EQ(run(0), 1);
}

// Every PDM command asks the one work mix: its run and update functions follow the switch.
TEST_F(CommandHandlers, EveryPdmCommandFollowsTheWorkMix) {
    CDvw32Doc* const document = reinterpret_cast<CDvw32Doc*>(0x1000);
    const DocumentUpdateFunction updates[] = {handlers::UpdatePdmSave, handlers::UpdateSelectOrsaMaterial,
                                              UpdateDocumentSaveAsRevision};
    for (const bool enabled : {false, true}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        dvpdm::test::setWorkMixEnabled(enabled);
        for (const DocumentUpdateFunction update : updates) {
            RecordingCmdUI item;
            update(document, &item);
            EXPECT_EQ(item.enabled, enabled ? 1 : 0);
        }
        EXPECT_EQ(handlers::WindowOpenOrsa(0), enabled ? 1 : 0);
        EXPECT_EQ(handlers::WindowOpenLibraryOrsa(0), enabled ? 1 : 0);
        EXPECT_EQ(handlers::SelectOrsaMaterial(document), enabled ? 1 : 0);
    }
    dvpdm::test::setWorkMixEnabled(false);
}

// A handler that stands in for a piece not built yet says so once, at the progress level. Run in
// a fresh process: each site marks itself once per process.
TEST_F(CommandHandlers, PlaceholdersAreMarkedOncePerSite) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto markedSites = [] {
        dvlog::test::clearCapture();
        for (int i = 0; i < 2; ++i) {
            handlers::NewMainWindow(0);
            handlers::DocumentOpen(0);
            handlers::WindowStartPage(0);
        }
        std::string marked;
        for (const std::string& line : dvlog::test::capturedAt(DVLogProgress))
            if (line.rfind("Not built yet: ", 0) == 0)
                marked += line.substr(15, line.find(':', 15) - 15) + ";";
        return marked;
    };
    EXPECT_EXIT(
        {
            const std::string marked = markedSites();
            std::fputs(marked.c_str(), stderr);
            std::exit(marked == "NewMainWindow;WindowStartPage;" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace dvapp::test
