#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/test/hooks.h"

#include "Compression/IniFile.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kSampleCommand = 64001;

class Applications : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvlog::test::clearCapture();
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    static CDVApplicationManager& manager() { return CDVApplicationManager::Instance(); }
    static bool sampleCommandRegistered() {
        return dvkernel::test::registeredCommands().count(kSampleCommand) == 1;
    }
    void loadIni(const std::string& text) {
        dvio::IniFile ini;
        ini.Parse(text);
        manager().LoadInstalledApplications(ini);
        ApplicationManager::Get().LoadInstalledApplications(ini);
    }
    static void setString(HKEY key, const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    static void setDword(HKEY key, const wchar_t* name, DWORD value) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    static void registerAddOn(HKEY root, const std::wstring& path, const wchar_t* module, DWORD flags,
                              DWORD needs3D = 0) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        setString(key, L"Path", module);
        setDword(key, L"Flags", flags);
        if (needs3D)
            setDword(key, L"Needs3D", needs3D);
        RegCloseKey(key);
    }
};

TEST_F(Applications, TheSampleRegistersItsCommandWhileItRunsAndIsUnloadedAtExit) {
    loadIni("[Sample]\nName=Sample application\nPath=DVSampleApplication.dll\nType=1\nFlags=2\n");
    CDVBaseApplication* sample = manager().GetApplication(L"Sample application");
    ASSERT_NE(sample, nullptr);
    EXPECT_TRUE(sample->IsFromINI());
    EXPECT_FALSE(sample->IsNotFound());

    manager().StartApplications(1, 1);
    EXPECT_FALSE(sample->IsLoaded()) << "an automatic add-on waits for the main frame";
    manager().StartApplications(0, 1);
    ASSERT_TRUE(sample->IsLoaded());
    EXPECT_EQ(dvkernel::test::registeredCommands().at(kSampleCommand).name, L"SampleApplication.Hello");

    EXPECT_TRUE(ApplicationManager::Proxy()->CanClose());
    std::intptr_t result = 7;
    EXPECT_FALSE(sample->OnWndMsgAddon(0x0111, 6500, 0, &result)) << "a native add-on has no frame listener";
    EXPECT_EQ(result, 7);
    manager().UnloadApplications();
    EXPECT_FALSE(sample->IsLoaded());
    EXPECT_FALSE(sampleCommandRegistered());
}

TEST_F(Applications, BrokenAddOnsAreSkippedWithALogLineAndTheOthersStart) {
    writeFile("addons/NotALibrary.so", "this is text, not a library\n");
    const std::string notALibrary =
        pal::text::toUtf8(pal::path::fromNative(root() / "addons" / "NotALibrary.dll"));
    loadIni("[Missing]\nPath=NoSuchApplication.dll\nType=1\nFlags=3\n"
            "[NotALibrary]\nPath=" +
            notALibrary +
            "\nType=1\nFlags=3\n"
            "[NoEntryPoint]\nPath=DVBOM.dll\nType=1\nFlags=3\n"
            "[Managed]\nPath=Managed.dll\nType=2\nFlags=3\n"
            "[Sample]\nPath=DVSampleApplication.dll\nType=1\nFlags=3\n");
    manager().StartApplications(1, 1);

    struct Case {
        const wchar_t* id;
        bool loaded;
        const wchar_t* error; // a part of the error text
    };
    const Case cases[] = {
        {L"Missing", false, L"was not found"},
        {L"NotALibrary", false, L"is not a library"},
        {L"NoEntryPoint", false, L"no entry point"},
        {L"Sample", true, L""},
    };
    for (const Case& c : cases) {
        const CDVBaseApplication* application = manager().GetApplication(c.id);
        ASSERT_NE(application, nullptr) << pal::text::toUtf8(c.id);
        EXPECT_EQ(application->IsLoaded(), c.loaded) << pal::text::toUtf8(c.id);
        EXPECT_NE(application->GetErrorText().find(c.error), std::wstring::npos) << pal::text::toUtf8(c.id);
    }
    EXPECT_EQ(manager().GetApplication(L"Managed"), nullptr) << "the managed manager's";
    EXPECT_TRUE(sampleCommandRegistered());
    const auto skipped = dvlog::test::capturedAt(DVLogOptionalFailure);
    EXPECT_EQ(skipped.size(), 3u) << "one line for each broken add-on";
}

TEST_F(Applications, OnlyAStartedAddOnIsAskedToMakeItsToolsAgain) {
    loadIni("[Sample]\nPath=DVSampleApplication.dll\nType=1\nFlags=0\n");
    CDVBaseApplication* sample = manager().GetApplication(L"Sample");
    sample->CreateTools();
    EXPECT_FALSE(sampleCommandRegistered()) << "an add-on on demand is not started";
    ASSERT_TRUE(sample->Start());
    EXPECT_TRUE(sample->IsStarted());
    GlobalContainer::Instance().UnregisterCmd(kSampleCommand);
    sample->CreateTools();
    EXPECT_TRUE(sampleCommandRegistered());
}

// Add-ons may add user interface only while the manager asks the started ones for their tools.
TEST_F(Applications, StartedAddOnsMakeTheirToolsWhileToolsMayBeMadeAndOnlyThen) {
    loadIni("[Sample]\nPath=DVSampleApplication.dll\nType=1\nFlags=2\n[Later]\nPath=DVSampleApplication.dll\n"
            "Type=1\nFlags=0\n");
    manager().StartApplications(0, 1);
    GlobalContainer::Instance().UnregisterCmd(kSampleCommand);
    manager().CreateApplicationTools();
    EXPECT_TRUE(sampleCommandRegistered()) << "the started add-on made its tools";
    EXPECT_FALSE(GlobalContainer::Instance().InAppCreateToolsMode()) << "only while they are made";
    EXPECT_FALSE(manager().GetApplication(L"Later")->IsStarted());
}

TEST_F(Applications, AnAddOnMayRefuseTheExit) {
    loadIni("[Refusing]\nPath=DVRefusingApplication.dll\nType=1\nFlags=3\n");
    manager().StartApplications(1, 1);
    EXPECT_FALSE(manager().CanExit());
    EXPECT_FALSE(ApplicationManager::Proxy()->CanClose());
    manager().UnloadApplications();
    EXPECT_TRUE(manager().CanExit()) << "an unloaded add-on has nothing to refuse";
}

TEST_F(Applications, AFileOfAForeignFormatIsOpenedByTheFirstStartedAddOnThatReadsIt) {
    loadIni("[Sample]\nPath=DVSampleApplication.dll\nType=1\nFlags=3\n"
            "[Reading]\nPath=DVReadingApplication.dll\nType=1\nFlags=0\n");
    manager().StartApplications(1, 1);
    struct Case {
        const wchar_t* path;
        bool started; // the reading add-on
        bool opened;
    };
    const Case cases[] = {{L"C:\\Parts\\bracket.sample", false, false},
                          {L"C:\\Parts\\bracket.step", true, false},
                          {L"C:\\Parts\\bracket.sample", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.path));
        if (c.started) {
            ASSERT_TRUE(manager().GetApplication(L"Reading")->Start());
        }
        const size_t before = DocumentManager::Instance().GetDocumentCount();
        EXPECT_EQ(manager().OpenFile(c.path), c.opened);
        EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), before + (c.opened ? 1 : 0));
    }
    manager().UnloadApplications();
}

TEST_F(Applications, AFailureAnAddOnThrowsWhileOpeningAFileIsReportedToTheApplicationAndNotOpened) {
    loadIni("[Reading]\nPath=DVReadingApplication.dll\nName=Reader\nType=1\nFlags=0\n");
    ASSERT_TRUE(manager().GetApplication(L"Reading")->Start());
    DravikServerAppProxy shell;
    dvtrace::test::clear();
    const size_t before = DocumentManager::Instance().GetDocumentCount();
    EXPECT_FALSE(manager().OpenFile(L"C:\\Parts\\broken.sample"));
    EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), before);
    const auto calls = dvtrace::test::callsOf("DravikKernel");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ReportApplicationError(Reader,The file is damaged)"), 1);
    EXPECT_TRUE(manager().OpenFile(L"C:\\Parts\\plate.sample")) << "the add-on goes on";
    manager().UnloadApplications();
}

TEST_F(Applications, RegisteredAddOnsOfTheUserAndOfTheMachine) {
    const std::wstring user = DravikProfileManager::GetApplicationKey() + L"\\Applications\\";
    registerAddOn(HKEY_CURRENT_USER, user + L"Mine", L"DVSampleApplication.dll", 3);
    registerAddOn(HKEY_CURRENT_USER, user + L"Solid", L"DVRefusingApplication.dll", 3, 1);
    registerAddOn(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\Applications\\2D\\Shared", L"DVBOM.dll", 0);
    registerAddOn(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\Applications\\3D\\Other", L"DVBOM.dll", 0);

    LoadInstalledApplicationsFromRegistry(L"Dravik", L"Eng", L"2D", false);
    EXPECT_NE(manager().GetApplication(L"Mine"), nullptr);
    EXPECT_EQ(manager().GetApplication(L"Solid"), nullptr) << "needs a 3D edition";
    EXPECT_NE(manager().GetApplication(L"Shared"), nullptr);
    EXPECT_EQ(manager().GetApplication(L"Other"), nullptr) << "another edition's";
    EXPECT_FALSE(manager().GetApplication(L"Mine")->IsFromINI());

    manager().StartApplications(1, 1);
    EXPECT_TRUE(manager().GetApplication(L"Mine")->IsLoaded());
    EXPECT_FALSE(manager().GetApplication(L"Shared")->IsLoaded()) << "started on demand only";
}

} // namespace
