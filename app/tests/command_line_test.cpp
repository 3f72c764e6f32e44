#include "startup_fixture.h"

#include "app/StartupIni.h"

#include "pal/path.h"

#include <unistd.h>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

constexpr char kInvalid[] =
    "Configuration file name \"%s\" specified in the command line is invalid and will be ignored";

std::string invalidLine(const std::string& given) {
    std::string line = kInvalid;
    line.replace(line.find("%s"), 2, given);
    return line;
}

class CommandLine : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        previousDir = fs::current_path();
        // The current folder is not the program folder: a relative "ini:" must not be found here.
        fs::current_path(root());
        writeFile("cfg/over.ini", "[SETTINGS]\nTutor=T\n");
    }
    void TearDown() override {
        fs::current_path(previousDir);
        StartupTest::TearDown();
    }
    std::wstring fromProgramFolder(const std::string& relative) const {
        return pal::text::fromUtf8(fs::relative(root() / relative, binDir()).string());
    }
    fs::path previousDir;
};

TEST_F(CommandLine, IniSwitchResolvesAgainstTheProgramFolderAndMustNameAFile) {
    const std::wstring beside = fromProgramFolder("cfg/over.ini");
    struct Case {
        std::wstring param;
        bool accepted;
        std::string warning; // the given path of the level-6 line, when one is expected
    };
    const Case cases[] = {
        {L"ini:" + beside, true, ""},
        {L"ini:" + pal::text::fromUtf8((root() / "cfg/over.ini").string()), true, ""},
        {L"ini:cfg/over.ini", false, "cfg/over.ini"}, // only in the current folder
        {L"ini:cfg", false, "cfg"},                   // a folder is no file
        {L"ini:missing.ini", false, "missing.ini"},
        {L"ini:", false, ""},
    };
    for (const auto& c : cases) {
        dvlog::test::clearCapture();
        CDvw32App::DVCommandLineInfo info;
        pal::mfc::parseArguments(info, {L"DravikCad", L"-" + c.param});
        const std::string param = pal::text::toUtf8(c.param);
        EXPECT_EQ(!info.m_strConfigurationFile.IsEmpty(), c.accepted) << param;
        if (c.accepted) {
            EXPECT_TRUE(fs::equivalent(pal::path::toNative(info.m_strConfigurationFile.GetString()),
                                       root() / "cfg/over.ini"))
                << param;
        }
        const auto warnings = dvlog::test::capturedAt(6);
        if (c.warning.empty())
            EXPECT_TRUE(warnings.empty()) << param;
        else
            EXPECT_EQ(warnings, std::vector<std::string>{invalidLine(c.warning)}) << param;
    }
}

TEST_F(CommandLine, SwitchesOfThisProgramLeaveTheRestOfTheLineToTheClassLibrary) {
    struct Case {
        std::vector<std::wstring> args;
        int shellCommand;
        CString fileName;
        BOOL showSplash;
    };
    const Case cases[] = {
        {{L"DravikCad", L"part.dvp"}, CCommandLineInfo::FileOpen, L"part.dvp", TRUE},
        // A swallowed switch last on the line still ends the line: the file is opened.
        {{L"DravikCad", L"part.dvp", L"/Lx"}, CCommandLineInfo::FileOpen, L"part.dvp", TRUE},
        {{L"DravikCad", L"part.dvp", L"-ini:missing.ini"}, CCommandLineInfo::FileOpen, L"part.dvp", TRUE},
        // "L" and "ini:" are compared with case.
        {{L"DravikCad", L"-lx"}, CCommandLineInfo::FileNew, L"", TRUE},
        {{L"DravikCad", L"-INI:x"}, CCommandLineInfo::FileNew, L"", TRUE},
        {{L"DravikCad", L"-Embedding"}, CCommandLineInfo::FileNew, L"", FALSE},
    };
    for (const auto& c : cases) {
        CDvw32App::DVCommandLineInfo info;
        pal::mfc::parseArguments(info, c.args);
        const std::string line = pal::text::toUtf8(c.args.back());
        EXPECT_EQ(info.m_nShellCommand, c.shellCommand) << line;
        EXPECT_EQ(info.m_strFileName, c.fileName) << line;
        EXPECT_EQ(info.m_bShowSplash, c.showSplash) << line;
        EXPECT_TRUE(info.m_strConfigurationFile.IsEmpty()) << line;
        AfxOleSetUserCtrl(TRUE);
    }
}

TEST_F(CommandLine, TheCommandLineIniOverridesTheProductIniKeyByKey) {
    writeProductIni("[SETTINGS]\nTutor=product\nTutorHTM=p.htm\nMacros=1\n");
    writeFile("cfg/over.ini", "[SETTINGS]\nTutor=override\nMacros=0\n[FIXED_SIZE]\nCX=800\n");
    ASSERT_FALSE(start({L"-ini:" + fromProgramFolder("cfg/over.ini")}));
    EXPECT_EQ(app->GetStartupSettings().Tutor, L"override");
    EXPECT_EQ(app->GetStartupSettings().TutorHTM, L"p.htm");
    EXPECT_EQ(app->GetFixedMainWindowSize(), CSize(800, 900));
    EXPECT_FALSE(dvkernel::test::macrosEnabled());
}

TEST_F(CommandLine, AnUnreadableCommandLineIniIsLoggedAndTheProductIniAloneIsUsed) {
    writeProductIni("[SETTINGS]\nTutor=product\n");
    // Too large for the INI reader: it exists but cannot be loaded.
    const auto big = writeFile("cfg/huge.ini", "[SETTINGS]\nTutor=override\n");
    fs::resize_file(big, 65u << 20);
    const std::wstring path = pal::text::fromUtf8(big.string());
    ASSERT_FALSE(start({L"-ini:" + path}));
    EXPECT_EQ(app->GetStartupSettings().Tutor, L"product");
    EXPECT_TRUE(hasLine(6, "Failed to load INI file \"" + big.string() + "\""));
}

TEST_F(CommandLine, AnEmptyCommandLineIniChangesNothing) {
    writeProductIni("[SETTINGS]\nDefaultStateFile=state.xml\n");
    writeFile("cfg/empty.ini", "; nothing\n");
    writeFile("cfg/state.xml", "<x/>");
    ASSERT_FALSE(start({L"-ini:" + fromProgramFolder("cfg/empty.ini")}));
    // Not in force: relative settings are not looked for beside it.
    EXPECT_EQ(pal::path::toNative(app->GetStartupSettings().DefaultStateFile), binDir() / "state.xml");
    EXPECT_TRUE(dvlog::test::capturedAt(6).empty());
}

TEST_F(CommandLine, RelativePathSettingsAreLookedForBesideTheCommandLineIniFirst) {
    writeProductIni("[SETTINGS]\nDefaultStateFile=state.xml\nBackgroundImage=back.png\n"
                    "DefaultTemplateFolder=/abs/templates\nApplicationsFile=\n");
    writeFile("cfg/over.ini", "[SETTINGS]\nTutor=x\n");
    writeFile("cfg/state.xml", "<x/>");
    ASSERT_FALSE(start({L"-ini:" + pal::text::fromUtf8((root() / "cfg/over.ini").string())}));
    const auto& s = app->GetStartupSettings();
    EXPECT_EQ(pal::path::toNative(s.DefaultStateFile), root() / "cfg/state.xml");
    // Not beside the command-line INI: the program folder.
    EXPECT_EQ(pal::path::toNative(s.BackgroundImage), binDir() / "back.png");
    EXPECT_EQ(s.DefaultTemplateFolder, L"/abs/templates");
    EXPECT_EQ(s.ApplicationsFile, L"");
    EXPECT_EQ(s.DefaultContextMenuFile, L"");
}

TEST_F(CommandLine, WithoutACommandLineIniRelativeSettingsAreInTheProgramFolder) {
    writeProductIni("[SETTINGS]\nDefaultStateFile=state.xml\n");
    fs::create_directories(root() / "cfg");
    writeFile("state.xml", "<x/>"); // in the current folder, which does not count
    ASSERT_FALSE(start());
    EXPECT_EQ(pal::path::toNative(app->GetStartupSettings().DefaultStateFile), binDir() / "state.xml");
}

} // namespace
} // namespace dvapp::test
