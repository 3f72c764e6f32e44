// The steps of the main initialisation around the main frame: the administrator's start-up
// profile, the applications INI by edition and its add-ons, the automation server, the session's
// end, macros and recent files, the classes-root probe, the saved icon size, the shell's early
// requests, and each failure that ends start-up with its line. And what the started application
// then answers: recovery copies let go, the pop-up tool bar's record, the Exit command, and the
// small answers the kernel asks for.
#include "main_initialisation_fixture.h"

#include "afx/oletemplate.h"
#include "app/DVServer.h"

#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/View.h"
#include "DravikUI/ImageManager.h"
#include "DravikUI/detail/module.h"
#include "app/DocumentOpening.h"
#include "app/RecentFileList.h"
#include "app/ServerAppProxy.h"
#include "pal/text.h"
#include "ribbon/ApplicationMode.h"
#include "win/system.h"
#include "xtp/ImageManager.h"
#include "xtp/PopupBar.h"

#include <optional>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kAppKey = L"Software\\Dravik\\DRAVIK CAD 18.0";
constexpr const wchar_t* kMachineKey = L"SOFTWARE\\Dravik\\DRAVIK CAD 18.0";

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::optional<DWORD> dword(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void setString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void setBinary(HKEY root, const std::wstring& path, const wchar_t* name, const std::vector<BYTE>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

std::vector<BYTE> binary(HKEY root, const std::wstring& path, const wchar_t* name) {
    std::vector<BYTE> bytes(256);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_BINARY, nullptr, bytes.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

class StartupSteps : public MainInitialisation {
protected:
    void restart(std::vector<std::wstring> arguments = {}) {
        stop();
        app.reset();
        pal::test::pump();
        dvlog::test::clearCapture();
        ASSERT_TRUE(start(std::move(arguments)));
    }
};

// The administrator's profile ------------------------------------------------------------------

class StartupProfile : public StartupSteps {
protected:
    void SetUp() override {
        StartupSteps::SetUp();
        file = root() / "Admin.dvenv";
        setString(HKEY_LOCAL_MACHINE, kMachineKey, L"StartupProfileFileName", pal::path::fromNative(file));
    }
    // The administrator's file: one category whose "Mark" is `mark`.
    void writeProfile(int mark) {
        char line[64];
        std::snprintf(line, sizeof line, "4 Mark=%02X000000\n", mark);
        writeFile("Admin.dvenv", std::string("DravikProfile 1\n[Marks]\n") + line);
    }
    // The live settings' mark, which the person may change between starts.
    std::wstring liveMarks() const {
        return std::wstring(kAppKey) + L"\\" + DravikProfileManager::GetProfileSectionName(nullptr) +
               L"\\Marks";
    }
    std::optional<DWORD> liveMark() const { return dword(HKEY_CURRENT_USER, liveMarks(), L"Mark"); }
    void personSets(DWORD mark) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, liveMarks().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"Mark", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mark), sizeof mark);
        RegCloseKey(key);
    }
    std::string matchesLine() const {
        return "The startup profile \"Admin\" already exists and its file \"" +
               pal::text::toUtf8(pal::path::fromNative(file)) + "\" matches the most recently used one";
    }
    fs::path file;
};

TEST_F(StartupProfile, ImportedOnceItBecomesTheCurrentProfileAndItsHashIsKept) {
    writeProfile(1);
    ASSERT_TRUE(start());
    EXPECT_EQ(liveMark(), 1u) << "the live settings are the administrator's";
    EXPECT_EQ(DravikProfileManager::GetCurrentProfileName(), L"Admin")
        << "the imported profile is the current one, not the one remembered before it";
    EXPECT_TRUE(DravikProfileManager::ProfileExists(L"Admin"));
    EXPECT_EQ(app->GetProfileStringW(L"Settings", L"StartupProfileName"), L"Admin");
    EXPECT_EQ(
        binary(HKEY_CURRENT_USER, std::wstring(kAppKey) + L"\\Settings", L"StartupProfileFileHash").size(),
        64u);
}

TEST_F(StartupProfile, ItIsImportedAgainOnlyWhenItsFileOrTheStoredHashDiffers) {
    struct Case {
        const char* what;
        std::function<void()> between;
        DWORD mark; // the live mark after the second start; 7 is the person's own
    };
    const std::wstring settings = std::wstring(kAppKey) + L"\\Settings";
    const Case cases[] = {
        {"the same file", [] {}, 7},
        {"the file changed under the same name", [this] { writeProfile(2); }, 2},
        // The file's own hash with one byte more or one less: only its length tells it apart.
        {"the stored hash and one byte more",
         [&] {
             std::vector<BYTE> stored = binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash");
             stored.push_back(0);
             setBinary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash", stored);
         },
         1},
        {"the stored hash but its last byte",
         [&] {
             std::vector<BYTE> stored = binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash");
             stored.pop_back();
             setBinary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash", stored);
         },
         1},
        {"another profile was remembered",
         [&] { setString(HKEY_CURRENT_USER, settings, L"StartupProfileName", L"Other"); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeProfile(1);
        ASSERT_NO_FATAL_FAILURE(restart());
        personSets(7);
        c.between();
        ASSERT_NO_FATAL_FAILURE(restart());
        EXPECT_EQ(liveMark(), c.mark);
        EXPECT_EQ(hasLine(DVLogProgress, matchesLine()), c.mark == 7);
        EXPECT_EQ(binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash").size(), 64u);
    }
}

TEST_F(StartupProfile, NothingIsImportedWhenTheDebugSwitchSaysSoOrTheFileIsMissing) {
    struct Case {
        const char* what;
        bool ignore;
        bool fileExists;
    };
    for (const Case& c : {Case{"the debug switch", true, true}, Case{"no file", false, false}}) {
        SCOPED_TRACE(c.what);
        fs::remove(file);
        if (c.fileExists)
            writeProfile(1);
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kAppKey) + L"\\Debug").c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr);
        const DWORD ignore = c.ignore ? 1 : 0;
        RegSetValueExW(key, L"IgnoreStartupProfile", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ignore),
                       sizeof ignore);
        RegCloseKey(key);
        ASSERT_NO_FATAL_FAILURE(restart());
        EXPECT_FALSE(DravikProfileManager::ProfileExists(L"Admin"));
        EXPECT_FALSE(liveMark().has_value());
        if (!c.fileExists) {
            EXPECT_TRUE(hasLine(DVLogOptionalFailure, "Failed to import the startup profile file \"" +
                                                          pal::text::toUtf8(pal::path::fromNative(file)) +
                                                          "\": 0x80030002"));
        }
    }
}

TEST_F(StartupProfile, ACopyThatFailsKeepsThePreviousProfileRemembersNothingAndIsTriedAgain) {
    writeProfile(1);
    // The live settings are locked (an administrator's policy): the imported profile cannot
    // become them.
    const std::wstring live =
        std::wstring(kAppKey) + L"\\" + DravikProfileManager::GetProfileSectionName(nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, live.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(pal::test::setRegistryKeyReadOnly(HKEY_CURRENT_USER, live.c_str(), true), ERROR_SUCCESS);
    ASSERT_TRUE(start());
    EXPECT_TRUE(hasLine(DVLogOptionalFailure, "Failed to copy the startup profile \"Admin\""));
    EXPECT_NE(DravikProfileManager::GetCurrentProfileName(), L"Admin");
    EXPECT_FALSE(liveMark().has_value());
    EXPECT_EQ(app->GetProfileStringW(L"Settings", L"StartupProfileName", L"none"), CString(L"none"));
    EXPECT_TRUE(
        binary(HKEY_CURRENT_USER, std::wstring(kAppKey) + L"\\Settings", L"StartupProfileFileHash").empty());

    ASSERT_EQ(pal::test::setRegistryKeyReadOnly(HKEY_CURRENT_USER, live.c_str(), false), ERROR_SUCCESS);
    ASSERT_NO_FATAL_FAILURE(restart());
    EXPECT_EQ(liveMark(), 1u) << "nothing was remembered: the next start imports it";
    EXPECT_EQ(DravikProfileManager::GetCurrentProfileName(), L"Admin");
}

TEST_F(StartupProfile, WithoutAHashItIsImportedAndNamedButImportedAgainAtTheNextStart) {
    const std::wstring settings = std::wstring(kAppKey) + L"\\Settings";
    writeProfile(1);
    ASSERT_TRUE(start());
    ASSERT_EQ(binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash").size(), 64u);
    dvkernel::test::failFileHash();
    personSets(7);
    ASSERT_NO_FATAL_FAILURE(restart());
    EXPECT_EQ(liveMark(), 1u) << "a file that cannot be hashed cannot be told unchanged";
    EXPECT_EQ(app->GetProfileStringW(L"Settings", L"StartupProfileName"), L"Admin");
    EXPECT_TRUE(binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash").empty())
        << "the earlier file's hash is not kept for this one";
    EXPECT_TRUE(hasLine(DVLogWarning, "Failed to calculate the hash of the startup profile file \"" +
                                          pal::text::toUtf8(pal::path::fromNative(file)) + "\""));

    dvkernel::test::failFileHash(false);
    personSets(7);
    ASSERT_NO_FATAL_FAILURE(restart());
    EXPECT_EQ(liveMark(), 1u) << "no hash was stored: imported again";
    EXPECT_EQ(binary(HKEY_CURRENT_USER, settings, L"StartupProfileFileHash").size(), 64u);
}

// The applications INI and the add-ons -------------------------------------------------------

TEST_F(StartupSteps, TheApplicationsIniIsTheConfigurationsOrElseTheEditionsFile) {
    ASSERT_TRUE(start());
    struct Case {
        std::uint32_t code;
        const wchar_t* file;
    };
    const Case cases[] = {{0, L"Applications.ini"},        {16, L"Applications.ini"},
                          {128, L"AlderApplications.ini"}, {256, L"BirchApplications.ini"},
                          {512, L"AlderApplications.ini"}, {32, L"Applications.ini"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SetFixedEditionCode(c.code);
        std::wstring path;
        app->GetApplicationsIniPath(path);
        EXPECT_EQ(path, DVAppendProgramPath(c.file, 0, false));
    }
    SetFixedEditionCode(0);
}

TEST_F(StartupSteps,
       TheConfigurationsApplicationsAreLoadedTheFirstPhaseStartsBeforeTheFrameAndShutDownUnloadsThem) {
    writeFile("apps.ini", "[Sample]\nName=Sample\nPath=DVSampleApplication.dll\nType=1\nFlags=3\n"
                          "[Later]\nName=Later\nPath=DVSampleApplication.dll\nType=1\nFlags=0\n");
    bundledConfiguration("ApplicationsFile=" + (root() / "apps.ini").string() + "\n");
    ASSERT_TRUE(start());
    std::wstring path;
    app->GetApplicationsIniPath(path);
    EXPECT_EQ(path, pal::path::fromNative(root() / "apps.ini"));
    EXPECT_EQ(app->GetServerAppProxy().GetApplicationsIniPath(), path) << "as the kernel is told";
    CDVBaseApplication* sample = CDVApplicationManager::Instance().GetApplication(L"Sample");
    ASSERT_NE(sample, nullptr);
    EXPECT_TRUE(sample->IsStarted()) << "an add-on that starts before all";
    CDVBaseApplication* later = CDVApplicationManager::Instance().GetApplication(L"Later");
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(later->IsStarted()) << "an add-on started on demand";
    stop();
    EXPECT_FALSE(sample->IsLoaded()) << "unloaded at shut-down";
}

// The server, the session and what start-up readies under COM as well --------------------------

TEST_F(StartupSteps, StartedForAutomationTheServerMacrosAndRecentFilesAreReadyAndTheProbeDoesNotRun) {
    for (const bool automated : {true, false}) {
        SCOPED_TRACE(automated ? "automation" : "a person's start");
        RegDeleteTreeW(HKEY_CLASSES_ROOT,
                       (L"CLSID\\" + pal::com::guidToString(kServerDocumentClsid)).c_str());
        ASSERT_NO_FATAL_FAILURE(
            restart(automated ? std::vector<std::wstring>{L"/Automation"} : std::vector<std::wstring>{}));
        EXPECT_TRUE(app->GetServerFactory().IsRegistered());
        EXPECT_EQ(app->GetTemplateServer().GetDocTemplate(),
                  static_cast<CDocTemplate*>(app->GetDocTemplate()));
        EXPECT_NE(MacroManagerInstance(), nullptr);
        EXPECT_NE(app->GetRecentFileList(), nullptr);
        EXPECT_NE(app->GetMacrosWindow(false), nullptr);
        const auto info = dvlog::test::capturedAt(DVLogInfo);
        EXPECT_TRUE(std::any_of(info.begin(), info.end(), [](const std::string& line) {
            return line.rfind("Initialized macro manager in ", 0) == 0;
        }));
        EXPECT_EQ(dvkernel::test::sessionState(), dvkernel::test::SessionState::Finished);
        // The classes root was written by this user only on a person's start; its probe is gone.
        EXPECT_EQ(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + pal::com::guidToString(kServerDocumentClsid)),
                  !automated);
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\DV.Check"));
    }
}

TEST_F(StartupSteps, AUserWhoMayNotWriteTheClassesRootStartsWithNothingOfTheProbeLeft) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(pal::test::setRegistryKeyReadOnly(HKEY_CLASSES_ROOT, L"CLSID", true), ERROR_SUCCESS);
    ASSERT_TRUE(start());
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\DV.Check"));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + pal::com::guidToString(kServerDocumentClsid)))
        << "the document server is registered only where this user may write";
    EXPECT_NE(onlyFrame(), nullptr);
    pal::test::setRegistryKeyReadOnly(HKEY_CLASSES_ROOT, L"CLSID", false);
}

TEST_F(StartupSteps, TheConfigurationsServerSwitchAsksForServerModeAndTheImageManagerHasItsReserve) {
    // The image manager that exists by start-up gets the reserve (start-up makes none itself).
    Dravik::UI::ImageManager* images = Dravik::UI::ImageManager::GetInstance(true);
    for (const char* server : {"0", "1"}) {
        SCOPED_TRACE(server);
        stop();
        app.reset();
        pal::test::pump();
        bundledConfiguration(std::string("SERVER=") + server + "\n");
        images->ReserveResources({}, 0);
        ASSERT_TRUE(start());
        EXPECT_EQ(app->IsServerMode(), std::string(server) == "1");
        EXPECT_EQ(images->GetReservedCount(), 880);
        EXPECT_EQ(images->GetReservedSizes(), (std::vector<int>{16, 24, 32}));
    }
}

TEST_F(StartupSteps, TheTraceSwitchAndTheApplicationNameComeFromTheEnvironmentAndTheConfiguration) {
    struct Case {
        std::optional<std::string> trace; // none: the variable is not set
        bool before, after;
        std::string appTitle;
        std::wstring name;
    };
    const std::string tooLong(300, '1');
    const Case cases[] = {
        {"1", false, true, "", L"DRAVIK CAD 3D"},
        {"0", true, false, "Acme Drafting", L"Acme Drafting"},
        {std::nullopt, true, false, "", L"DRAVIK CAD 3D"},
        {tooLong, true, true, "", L"DRAVIK CAD 3D"}, // too long to read: the switch stays
        {"11", true, false, "", L"DRAVIK CAD 3D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace.value_or("<unset>").substr(0, 8) + " " + c.appTitle);
        stop();
        app.reset();
        pal::test::pump();
        bundledConfiguration(c.appTitle.empty() ? "" : "AppTitle=" + c.appTitle + "\n");
        if (c.trace)
            ::setenv("DRAVIK_STRING_ID", c.trace->c_str(), 1);
        else
            ::unsetenv("DRAVIK_STRING_ID");
        g_bTraceMessages = c.before;
        ASSERT_TRUE(start());
        EXPECT_EQ(g_bTraceMessages, c.after);
        EXPECT_STREQ(AfxGetAppName(), c.name.c_str());
    }
    ::unsetenv("DRAVIK_STRING_ID");
    g_bTraceMessages = false;
}

TEST_F(StartupSteps, ThePrimaryMonitorTheEditionsResourcesTheTutorialsFolderAndTheThemeEntries) {
    // The primary monitor, whichever place it has in the list.
    pal::test::setMonitors({{RECT{-1280, 0, 0, 1024}, RECT{-1280, 0, 0, 984}, 96},
                            {RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    ASSERT_TRUE(start());
    EXPECT_NE(app->GetPrimaryMonitor(), nullptr);
    EXPECT_EQ(app->GetPrimaryMonitor(), MonitorFromPoint(POINT{100000, 100000}, MONITOR_DEFAULTTOPRIMARY));
    struct Code {
        std::uint32_t code;
        UINT id;
    };
    for (const Code& c : {Code{128, 9}, Code{256, 10}, Code{512, 11}, Code{16, 1}, Code{0, 1}}) {
        SCOPED_TRACE(c.code);
        SetFixedEditionCode(c.code);
        EXPECT_EQ(GetMainResourceId(), c.id);
    }
    SetFixedEditionCode(0);
    EXPECT_EQ(app->GetTitleString(), L"DRAVIK CAD 3D");

    const std::wstring base = L"SOFTWARE\\WOW6432Node\\Dravik\\";
    setString(HKEY_LOCAL_MACHINE, base + L"DRAVIK Tutorials 18\\Eng", L"SetupDirectory", L"C:\\Tutorials");
    setString(HKEY_LOCAL_MACHINE, base + L"VIRELO Tutorials 18\\Eng", L"SetupDirectory", L"C:\\Virelo");
    const Country country = COUNTRY;
    COUNTRY = English;
    EXPECT_EQ(app->GetTutorialsFolder(), L"C:\\Tutorials");
    COUNTRY = German;
    EXPECT_EQ(app->GetTutorialsFolder(), L"C:\\Virelo");
    COUNTRY = country;

    const auto themes = UIModuleProxy::Instance().GetThemes();
    ASSERT_FALSE(themes.empty());
    CXTPControlPopup* popup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    popup->SetCommandBar(bar);
    bar->InternalRelease();
    CDvw32App::AddThemeControls(popup);
    CDvw32App::AddThemeControls(nullptr);
    HMENU menu = CreatePopupMenu();
    CDvw32App::AppendThemeMenuItems(menu);
    CDvw32App::AppendThemeMenuItems(nullptr);
    CXTPControls* controls = popup->GetCommandBar()->GetControls();
    ASSERT_EQ(controls->GetCount(), static_cast<int>(themes.size()));
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(themes.size()));
    for (size_t i = 0; i < themes.size(); ++i) {
        const CXTPControl* button = controls->GetAt(static_cast<int>(i));
        EXPECT_EQ(button->GetID(), static_cast<int>(3401 + i));
        EXPECT_EQ(std::wstring(button->GetCaption().GetString()), themes[i].DisplayName);
        EXPECT_EQ(button->GetStyle(), xtpButtonCaption);
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(i)), 3401 + i);
        EXPECT_EQ(std::wstring(text), themes[i].DisplayName);
    }
    DestroyMenu(menu);
    popup->InternalRelease();
}

// Each failure ends start-up with its line; nothing is shown.
class RefusingThemes : public UIModuleProxy::Module {
public:
    using Real = Dravik::UI::Module;
    std::vector<UIModuleProxy::ThemeDescription> GetThemes() const override { return real().GetThemes(); }
    std::wstring GetDefaultThemeName() const override { return real().GetDefaultThemeName(); }
    bool ApplyTheme(int) override { return false; }
    CFrameWnd* GetMainFrameOfWindow(HWND window) const override {
        return real().GetMainFrameOfWindow(window);
    }
    CFrameWnd* GetChildFrameOwner(CFrameWnd* child) const override {
        return real().GetChildFrameOwner(child);
    }
    void SetCommandBarsIconSizes(CXTPCommandBars* bars, SIZE normal, SIZE large, SIZE popup,
                                 bool big) override {
        real().SetCommandBarsIconSizes(bars, normal, large, popup, big);
    }
    SIZE ScaleIconSize(SIZE size) const override { return real().ScaleIconSize(size); }
    StatusLineProxy* GetStatusLine(CFrameWnd* frame) const override { return real().GetStatusLine(frame); }
    int ShowSettingsDialog(HWND owner, unsigned caption,
                           std::vector<UIModuleProxy::SettingsEntry>& e) override {
        return real().ShowSettingsDialog(owner, caption, e);
    }

private:
    static Real& real() { return Real::Instance(); }
};

TEST_F(StartupSteps, EachFailureEndsStartUpWithItsLineAndShowsNothing) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* line; // at the failure level; null: none
    };
    static RefusingThemes refusing;
    const Case cases[] = {
        {"no theme applies", [] { UIModuleProxy::Instance().SetModule(&refusing); },
         "Failed to initialize theme"},
        {"no main window: the default state cannot be read",
         [this] {
             writeProductIni("[SETTINGS]\nConfig=3D\nLanguage=Eng\nDefaultStateFile=" +
                             (root() / "missing.xml").string() + "\n");
         },
         "Failed to create main window"},
        {"the session does not finish",
         [] { dvkernel::test::failStep(dvkernel::test::SessionStep::FinishInitSession); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stop();
        app.reset();
        pal::test::pump();
        resetOutside();
        bundledConfiguration();
        c.arrange();
        EXPECT_FALSE(start());
        UIModuleProxy::Instance().SetModule(&Dravik::UI::Module::Instance());
        if (c.line) {
            EXPECT_TRUE(hasLine(DVLogFailure, c.line));
        }
        for (CMainFrame* frame : CDvw32App::GetMainFrames())
            EXPECT_FALSE(frame->IsWindowVisible());
        EXPECT_EQ(initializedLines(), 1u) << "the start is timed whether or not it succeeded";
    }
}

TEST_F(StartupSteps, AQuitWaitingWhenStartUpEndsEndsIt) {
    // Asked to end before start-up could pump it, the program does not go on as if started.
    PostQuitMessage(0);
    EXPECT_FALSE(start());
    EXPECT_EQ(initializedLines(), 1u);
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "taken by start-up";
}

// Display settings and the shell's early requests ---------------------------------------------------

// Start-up connects to the PDM system only where its programs are installed, and goes on
// whether the connection is made or not.
TEST_F(StartupSteps, ThePdmSystemIsConnectedAtStartOnlyWhereItsProgramsAreInstalled) {
    struct Case {
        const char* what;
        bool installed, canConnect, connected;
    };
    const Case cases[] = {
        {"no PDM programs", false, true, false},
        {"programs but no connection", true, false, false},
        {"programs and a connection", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvpdm::test::setProgramsInstalled(c.installed);
        dvpdm::test::setCanConnect(c.canConnect);
        ASSERT_NO_FATAL_FAILURE(restart());
        EXPECT_EQ(DVPDMWorkMix::Instance().IsConnected(), c.connected);
        DVPDMWorkMix::Instance().Disconnect();
    }
    dvpdm::test::setProgramsInstalled(false);
    dvpdm::test::setCanConnect(false);
}

TEST_F(StartupSteps, TheSavedIconSizeIsAppliedWhenItIsAboveZero) {
    struct Case {
        int saved;
        LONG applied;
    };
    ASSERT_TRUE(start());
    for (const Case& c : {Case{32, 32}, Case{16, 16}, Case{0, 24}, Case{-5, 24}, Case{24, 24}}) {
        SCOPED_TRACE(c.saved);
        stop();
        app->WriteProfileInt(L"Settings", L"ToolBarIconSize", c.saved);
        app.reset();
        pal::test::pump();
        ASSERT_TRUE(start());
        EXPECT_EQ(app->GetToolBarIconSize().cx, c.applied);
        EXPECT_EQ(app->GetToolBarIconSize().cy, c.applied);
    }
}

TEST_F(StartupSteps, AShellOpenThatArrivesWhileStartingRunsOnceAfterTheMainWindowExists) {
    const std::wstring path = copySample("shell.grb");
    dvui::test::setPendingShellCommand(L"[open(\"" + path + L"\")]");
    ASSERT_TRUE(start({L"-dde"}));
    EXPECT_TRUE(app->GetQueuedDDECommands().empty());
    EXPECT_TRUE(app->IsDDEReady());
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 1u) << "opened once";
    EXPECT_EQ(std::wstring(documents.front()->GetPathName().GetString()), path);
    ASSERT_NE(onlyFrame(), nullptr);
    EXPECT_TRUE(onlyFrame()->IsWindowVisible());

    // Once ready, a request runs at once; the queue stays empty.
    const std::wstring second = copySample("second.grb");
    std::wstring command = L"[open(\"" + second + L"\")]";
    EXPECT_TRUE(app->OnDDECommand(command.data()));
    EXPECT_TRUE(app->GetQueuedDDECommands().empty());
    EXPECT_EQ(DocumentManager::Instance().GetDocuments().size(), 2u);
}

TEST_F(StartupSteps, BeforeStartUpIsReadyARequestWaitsAsItCameAndRunsWhenTheQueueIsProcessed) {
    ASSERT_TRUE(start());
    const std::wstring path = copySample("late.grb");
    app->SetDDEReady(false);
    std::wstring command = L"[open(\"" + path + L"\")]";
    std::wstring empty;
    EXPECT_TRUE(app->OnDDECommand(command.data()));
    EXPECT_TRUE(app->OnDDECommand(empty.data()));
    app->ProcessQueuedDDECommands();
    EXPECT_EQ(app->GetQueuedDDECommands().size(), 2u) << "not ready: nothing runs, nothing is lost";
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
    app->SetDDEReady(true);
    // As a main frame asks when its modal state ends.
    ASSERT_NE(MainFrameApplication::Instance(), nullptr);
    MainFrameApplication::Instance()->ProcessQueuedDDECommands();
    EXPECT_TRUE(app->GetQueuedDDECommands().empty());
    EXPECT_EQ(DocumentManager::Instance().GetDocuments().size(), 1u);
}

TEST_F(StartupSteps, ARecoveryCopyGoesOnceItsDrawingIsSavedOrDiscardedAndNotBefore) {
    const std::wstring kept = copySample("kept.grb.err");
    const std::wstring dropped = copySample("dropped.grb.err");
    ASSERT_TRUE(start());
    app->WriteProfileInt(L"ErrorRestore", L"DocsCount", 2);
    app->WriteProfileStringW(L"ErrorRestore", L"0", kept.c_str());
    app->WriteProfileStringW(L"ErrorRestore", L"1", dropped.c_str());
    ASSERT_NO_FATAL_FAILURE(restart());
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 2u);
    const auto exists = [](const std::wstring& path) { return fs::exists(pal::path::toNative(path)); };

    app->OnIdle(0);
    EXPECT_TRUE(exists(kept) && exists(dropped)) << "neither drawing is saved yet";

    std::wstring error;
    ASSERT_TRUE(documents[0]->DoFileSave(&error)) << pal::text::toUtf8(error);
    app->OnIdle(0);
    EXPECT_FALSE(exists(kept)) << "saved under its original's name, the copy has served";
    EXPECT_TRUE(exists(kept.substr(0, kept.size() - 4)));
    EXPECT_TRUE(exists(dropped));

    ASSERT_TRUE(documents[1]->IsModified());
    documents[1]->OnCloseDocument(); // the person discards the recovered drawing
    EXPECT_FALSE(exists(dropped));
}

TEST_F(StartupSteps, ARecoveredDocumentWhoseOpenThrowsIsToldAndACopyIsKeptWithItsOriginalOpened) {
    const std::wstring copy = copySample("plate.grb.err");
    const std::wstring original = copySample("plate.grb");
    const std::wstring plain = copySample("bracket.grb");
    struct Case {
        const char* what;
        std::wstring listed, throwing;
        std::vector<std::wstring> open; // the documents open after start-up
        std::wstring told;              // the path the message names
    };
    const Case cases[] = {
        {"a recovery copy: its original instead", copy, copy, {original}, original},
        {"a plain document: nothing", plain, plain, {}, plain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(start());
        app->WriteProfileInt(L"ErrorRestore", L"DocsCount", 1);
        app->WriteProfileStringW(L"ErrorRestore", L"0", c.listed.c_str());
        stop();
        app.reset();
        pal::test::pump();
        resetOutside();
        bundledConfiguration();
        dvkernel::test::throwOnOpen(c.throwing);
        const size_t promptsBefore = journal("prompt").size();
        answer(IDOK);
        ASSERT_TRUE(start()) << "start-up goes on";
        std::vector<std::wstring> open;
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
            open.push_back(pal::path::toNative(document->GetPathName().GetString()).wstring());
        std::vector<std::wstring> expected;
        for (const std::wstring& path : c.open)
            expected.push_back(pal::path::toNative(path).wstring());
        EXPECT_EQ(open, expected);
        EXPECT_TRUE(fs::exists(pal::path::toNative(c.listed))) << "nothing the crash left is deleted";
        const auto prompts = journal("prompt");
        ASSERT_EQ(prompts.size(), promptsBefore + 1);
        EXPECT_EQ(prompts.back().get("text"),
                  "The document \"" + pal::text::toUtf8(c.told) + "\" cannot be opened.");
        EXPECT_EQ(std::stoul(prompts.back().get("flags")) & MB_ICONMASK,
                  static_cast<unsigned>(MB_ICONWARNING));
        stop();
        app.reset();
        pal::test::pump();
    }
}

// The active document as the active-document code sets it.
class WithActiveDocument : public DravikApp {
public:
    void SetActive(CDvw32Doc* document) { m_activeDocument = document; }
};

TEST_F(StartupSteps, ThePopupToolbarEventRecordsTheActiveDocumentWhoseViewWantsItOutsideCommands) {
    ASSERT_TRUE(start<WithActiveDocument>({copySample("popup.grb")}));
    auto& owner = static_cast<WithActiveDocument&>(*app);
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    CDvw32Doc* document = documents.front();
    auto* view = dynamic_cast<CDVView*>(document->GetActiveView());
    if (view == nullptr)
        view = DVGetActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(document->Cont2D()->GetElements().empty());
    struct Case {
        const char* what;
        bool active, selected, inCommand;
        unsigned flags;
        bool recorded;
    };
    const Case cases[] = {
        {"nothing selected", true, false, false, 0, false},
        {"inside a command", true, true, true, 0, false},
        {"not the active document", false, true, false, 0, false},
        {"flagged not for the tool bar", true, true, false, 0x20, false},
        // Last: the record stays until the idle time that shows the tool bar takes it.
        {"the active document with a selection", true, true, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        owner.SetActive(c.active ? document : nullptr);
        view->ClearSelection();
        if (c.selected) {
            ASSERT_TRUE(view->SelectObject(&document->Cont2D()->GetElements().front()));
        }
        if (c.inCommand) {
            ASSERT_TRUE(document->BeginCommand(L"Line"));
        }
        ApplicationEventManager::runEvent(kPopupToolbarEvent, ApplicationEventArgs(document, c.flags));
        EXPECT_EQ(app->GetPendingPopupToolbarDocument(), c.recorded ? document : nullptr);
        if (c.inCommand)
            document->EndCommand();
    }
}

TEST_F(StartupSteps, TheExitCommandEndsOnlyWithTheAddOnsConsentAndLeavesTheListOfOpenDrawings) {
    struct Case {
        const char* addOn;
        int result;
    };
    for (const Case& c : {Case{"DVRefusingApplication.dll", 0}, Case{"DVSampleApplication.dll", 1}}) {
        SCOPED_TRACE(c.addOn);
        stop();
        app.reset();
        pal::test::pump();
        resetOutside();
        writeFile("apps.ini", std::string("[AddOn]\nName=AddOn\nPath=") + c.addOn + "\nType=1\nFlags=3\n");
        bundledConfiguration("ApplicationsFile=" + (root() / "apps.ini").string() + "\n");
        const std::wstring drawing = pal::path::fromNative(root() / "exit.grb");
        if (!fs::exists(root() / "exit.grb"))
            copySample("exit.grb");
        ASSERT_TRUE(start({drawing}));
        app->WriteProfileInt(L"OpenDocuments", L"Count", 0);
        EXPECT_EQ(app->OnExitCommand(), c.result);
        EXPECT_EQ(app->GetProfileInt(L"OpenDocuments", L"Count", 0), c.result == 1 ? 1u : 0u);
        EXPECT_EQ(DocumentManager::Instance().GetDocuments().size(), c.result == 1 ? 0u : 1u)
            << "a refused exit leaves every drawing open";
    }
}

TEST_F(StartupSteps, TheSmallAnswersTheKernelAsksOfTheApplication) {
    ASSERT_TRUE(start({copySample("one.grb")}));
    ASSERT_NE(OpenDocumentByPath(copySample("two.grb").c_str()), nullptr);
    EXPECT_EQ(app->GetKernelDocTemplate(), app->GetDocTemplate());

    for (const bool block : {true, false}) {
        CDvw32App::BlockPaintAllDocuments(block);
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
            EXPECT_EQ(document->IsPaintBlocked(), block);
    }

    EXPECT_EQ(CDvw32App::GetMainFrameProfileSection(),
              DravikProfileManager::GetProfileSectionName(nullptr) + L"\\MainFrame");
    EXPECT_EQ(CDvw32App::GetMainFrameProfileSection(L"Work"),
              DravikProfileManager::GetProfileSectionName(L"Work") + L"\\MainFrame");

    ASSERT_NE(GetMainFrame(), nullptr);
    EXPECT_EQ(CDvw32App::GetMainAcceleratorTable(), GetMainFrame()->m_hAccelTable);

    CXTPImageManagerIconSet empty(1), raster(2);
    raster.GetOrCreate(16, 16);
    EXPECT_FALSE(CDvw32App::HasVectorIcons(nullptr));
    EXPECT_FALSE(CDvw32App::HasVectorIcons(&empty));
    EXPECT_FALSE(CDvw32App::HasVectorIcons(&raster));
}

} // namespace
} // namespace dvapp::test
