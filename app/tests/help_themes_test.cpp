#include "startup_fixture.h"

#include "app/CommandStatistics.h"
#include "app/ServerAppProxy.h"
#include "app/StartPageThemes.h"

#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DravikDialog.h"
#include "DravikKernel/HelpIDModifier.h"
#include "DravikKernel/HelpWindowArgs.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ThemeChangedArgs.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "DravikUI/BaseDockFormView.h"
#include "DravikUI/ExpandedFormView.h"
#include "pal/path.h"
#include "pal/test/recording_cmd_ui.h"
#include "xtp/ImageManager.h"

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

// Reaches what start-up would have set: the help file it found and the company it read.
class HelpApp : public DravikApp {
public:
    void setHelpFile(const std::wstring& path) { m_helpFilePath = path; }
    void setCompany(const std::wstring& company) { m_startup.Company = company; }
    int nesting() const { return m_helpContextNesting; }
    void setTutorials(const wchar_t* tutor, const wchar_t* html, const wchar_t* download) {
        m_startup.Company = L"Dravik";
        m_startup.Language = L"Eng";
        m_startup.Tutor = tutor;
        m_startup.TutorHTM = html;
        m_startup.TutorDownloadUri = download;
    }
};

// Hears the help-window event and, when asked, shows the help itself.
class HelpListener : public TypedApplicationEventListener<HelpWindowArgs::kEvent> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override {
        auto& help = static_cast<HelpWindowArgs&>(args);
        heard.push_back({help.HelpFile, help.TopicId});
        help.Handled = handle;
    }
    bool handle = false;
    std::vector<std::pair<std::wstring, int>> heard;
};

class ThemeListener : public TypedApplicationEventListener<ThemeChangedArgs::kEvent> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override {
        numbers.push_back(static_cast<ThemeChangedArgs&>(args).Number);
    }
    std::vector<int> numbers;
};

class HelpAndThemes : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<HelpApp>();
        app->SetRegistryKey(L"Dravik");
        GlobalContainer::Instance().InitSessionLocale(L"Eng", true, 0);
    }
    void TearDown() override {
        COUNTRY = English;
        StartupTest::TearDown();
    }
    HelpApp& help() { return static_cast<HelpApp&>(*app); }

    std::wstring file(const std::string& relative) {
        return pal::path::fromNative(writeFile(relative, "help"));
    }
    std::wstring missing(const std::string& relative) const {
        return pal::path::fromNative(root() / relative);
    }
};

TEST_F(HelpAndThemes, NestedDialogsKeepTheOuterContextAndAnUnbalancedPopDoesNotLockIt) {
    EXPECT_EQ(app->SetHelpContext(10, nullptr, 1), 1u);
    app->SetHelpContext(20, nullptr, 1);
    EXPECT_EQ(app->GetHelpContextId(), 10u) << "the inner dialog leaves the outer context";
    app->SetHelpContext(1, nullptr, -1);
    EXPECT_EQ(app->GetHelpContextId(), 10u);
    app->SetHelpContext(1, nullptr, -1);
    EXPECT_EQ(app->GetHelpContextId(), 1u) << "the last pop restores";

    // One pop too many: the count stays at 0 and says so, and the next dialog still sets its id.
    dvlog::test::clearCapture();
    app->SetHelpContext(1, nullptr, -1);
    EXPECT_EQ(help().nesting(), 0);
    EXPECT_EQ(dvlog::test::capturedAt(6).size(), 1u);
    app->SetHelpContext(30, L"dialog.chm", 1);
    EXPECT_EQ(app->GetHelpContextId(), 30u);
    EXPECT_EQ(app->GetHelpContextFile(), L"dialog.chm");
}

TEST_F(HelpAndThemes, HelpRequestsReachTheViewerTheListenerOrTheOnlinePage) {
    const std::wstring helpFile = file("help/Dravik.chm");
    const std::wstring addOnHelp = file("addon/addon.chm");
    const std::wstring pol = pal::path::fromNative(root() / "pol");
    file("pol/VIRELOFORM3D.chm");
    fs::create_directories(root() / "folder.chm");
    fs::create_directories(root() / "folder/Dravik.chm");
    const std::string online = "https://help.dravik.example/cad/18/context/";

    auto addOn = std::make_unique<CDVBaseApplication>(L"addon", L"Add-on", L"", 0, true);
    addOn->SetHelpFile(addOnHelp);
    CDVApplicationManager::Instance().AddApplication(std::move(addOn));
    ASSERT_NE(app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"addon", 77, false)), nullptr);

    struct Case {
        const char* name;
        std::wstring helpFile;
        UINT id;
        UINT command = HELP_CONTEXT;
        bool offline = false;
        bool handled = false;
        Country country = English;
        // What was opened: a help file with its viewer command and topic, or a web page.
        std::wstring viewed = L"";
        int viewerCommand = -1;
        int topic = -1;
        std::string page = "";
    };
    const Case cases[] = {
        {"a topic of the help file", helpFile, 500, HELP_CONTEXT, false, false, English, helpFile, 15, 500},
        {"the contents", helpFile, 0, HELP_FINDER, false, false, English, helpFile, 1, 0},
        {"an add-on command: its file, its number", helpFile, 17000, HELP_CONTEXT, false, false, English,
         addOnHelp, 15, 77},
        {"a listener shows it", helpFile, 500, HELP_CONTEXT, false, true},
        {"no local help file: the online page", missing("help2/Dravik.chm"), 500, HELP_CONTEXT, false, false,
         English, L"", -1, -1, online + "500"},
        {"the online page in the other letter case", missing("help2/DRAVIK.CHM"), 42, HELP_CONTEXT, false,
         false, English, L"", -1, -1, online + "42"},
        {"offline: no page for ids below 2", missing("help2/Dravik.chm"), 1, HELP_CONTEXT, true},
        {"offline: other ids still go online", missing("help2/Dravik.chm"), 2, HELP_CONTEXT, true, false,
         English, L"", -1, -1, online + "2"},
        {"another missing file shows nothing", missing("help2/other.chm"), 500},
        {"a folder is no help file", missing("folder.chm"), 500},
        {"a folder named as the help file: online", missing("folder/Dravik.chm"), 7, HELP_CONTEXT, false,
         false, English, L"", -1, -1, online + "7"},
        {"the Polish forms help from its own set-up", L"VIRELOFORM3D.chm", 9, HELP_CONTEXT, false, false,
         Polish, pol + L"\\VIRELOFORM3D.chm", 15, 9},
        {"that help only for Polish", L"VIRELOFORM3D.chm", 9, HELP_CONTEXT, false, false, German},
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\VIRELO CAD 3D 18\\Pol", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"SetupHelpPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(pol.c_str()),
                   static_cast<DWORD>((pol.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    help().setCompany(L"Dravik");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        help().setHelpFile(c.helpFile);
        app->GetServerAppProxy().SetOfflineMode(c.offline);
        COUNTRY = c.country;
        HelpListener listener;
        listener.handle = c.handled;
        const size_t viewerBefore = journal("HtmlHelp").size();
        const size_t shellBefore = journal("ShellExecute").size();

        app->WinHelpInternal(c.id, c.command);

        ASSERT_EQ(listener.heard.size(), 1u) << "every request is offered to the listeners first";
        const auto viewer = journal("HtmlHelp");
        const auto shell = journal("ShellExecute");
        if (c.viewed.empty()) {
            EXPECT_EQ(viewer.size(), viewerBefore);
        } else {
            ASSERT_EQ(viewer.size(), viewerBefore + 1);
            EXPECT_EQ(viewer.back().get("file"), pal::text::toUtf8(c.viewed));
            EXPECT_EQ(viewer.back().get("command"), std::to_string(c.viewerCommand));
            EXPECT_EQ(viewer.back().get("data"), std::to_string(c.topic));
        }
        if (c.page.empty()) {
            EXPECT_EQ(shell.size(), shellBefore);
        } else {
            ASSERT_EQ(shell.size(), shellBefore + 1);
            EXPECT_EQ(shell.back().get("file"), c.page);
        }
    }
}

TEST_F(HelpAndThemes, TheHelpCommandsShowTheContextAndItsFileInTheProgramFolder) {
    app->SetHelpContext(4200, L"dialogs.chm", 1);
    for (UINT command : {1601u, ID_HELP, ID_CONTEXT_HELP}) {
        SCOPED_TRACE(command);
        HelpListener listener;
        listener.handle = true;
        EXPECT_TRUE(app->OnCmdMsg(command, CN_COMMAND, nullptr, nullptr));
        ASSERT_EQ(listener.heard.size(), 1u);
        EXPECT_EQ(listener.heard[0].first, DVAppendProgramPath(L"dialogs.chm", 0, false));
        EXPECT_EQ(listener.heard[0].second, 4200);
    }
    EXPECT_EQ(app->GetHelpContextFile(), L"dialogs.chm") << "the context itself is left as the dialog set it";
}

TEST_F(HelpAndThemes, TopicsAndThePlatformRouteUseTheApplicationsHelpFile) {
    const std::wstring helpFile = file("help/Dravik.chm");
    help().setHelpFile(helpFile);
    app->m_pszHelpFilePath = wcsdup(helpFile.c_str());
    EXPECT_TRUE(app->ShowHelpTopic(120));
    EXPECT_TRUE(app->ShowHelpFileTopic(L"start.htm"));
    app->InvokeWinHelp(130);
    const auto viewer = journal("HtmlHelp");
    ASSERT_EQ(viewer.size(), 3u);
    EXPECT_EQ(viewer[0].get("data"), "120");
    EXPECT_EQ(viewer[1].get("file"), pal::text::toUtf8(helpFile + L"::/start.htm"));
    EXPECT_EQ(viewer[1].get("command"), "0");
    EXPECT_EQ(viewer[2].get("data"), "130");
}

// The help button of a kernel dialog reaches the running program: the topic the dialog pushed is
// the one its viewer opens, and once the dialog is gone the button asks for the program's own.
TEST_F(HelpAndThemes, AKernelDialogsHelpButtonOpensTheTopicItPushedInTheViewer) {
    const std::wstring helpFile = file("help/Dravik.chm");
    help().setHelpFile(helpFile);
    app->m_pszHelpFilePath = wcsdup(helpFile.c_str());
    ASSERT_EQ(DravikServerAppProxy::Instance(), &app->GetServerAppProxy());
    CDravikDialog dialog;
    {
        HelpIDModifier topic;
        topic.set(4300, nullptr, true);
        EXPECT_TRUE(dialog.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr));
    }
    const auto viewer = journal("HtmlHelp");
    ASSERT_EQ(viewer.size(), 1u);
    EXPECT_EQ(viewer[0].get("data"), "4300");
    EXPECT_EQ(app->GetHelpContextId(), 1u) << "the dialog's topic went with it";
}

TEST_F(HelpAndThemes, TutorialsOpenInstalledOrOfferTheirDownload) {
    const std::wstring uri = L"https://tutorials.dravik.example/18";
    struct Case {
        const char* name;
        bool installed;
        const wchar_t* download;
        int answer; // 0: no box expected
        UINT boxFlags;
        bool opened;
    };
    const Case cases[] = {
        {"not installed, no download: told so", false, L"", IDOK, MB_OK | MB_ICONINFORMATION, false},
        {"not installed, download accepted", false, uri.c_str(), IDYES, MB_YESNO | MB_ICONQUESTION, true},
        {"not installed, download declined", false, uri.c_str(), IDNO, MB_YESNO | MB_ICONQUESTION, false},
        {"installed: no question", true, uri.c_str(), 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.installed) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                      L"SOFTWARE\\WOW6432Node\\Dravik\\DRAVIK Tutorials 18\\Eng", 0, nullptr,
                                      0, KEY_WRITE, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            const std::wstring folder = pal::path::fromNative(root() / "tutorials") + L"\\";
            RegSetValueExW(key, L"SetupDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
        help().setTutorials(L"tutor.chm", L"", c.download);
        if (c.answer != 0)
            answer(c.answer);
        const size_t promptsBefore = journal("prompt").size();
        const size_t shellBefore = journal("ShellExecute").size();
        app->OnTutorials();
        const auto prompts = journal("prompt");
        ASSERT_EQ(prompts.size(), promptsBefore + (c.boxFlags != 0 ? 1 : 0));
        if (c.boxFlags != 0) {
            EXPECT_EQ(prompts.back().get("flags"), std::to_string(c.boxFlags));
            EXPECT_NE(prompts.back().get("text").find("tutorials are not installed"), std::string::npos);
        }
        const auto shell = journal("ShellExecute");
        ASSERT_EQ(shell.size(), shellBefore + (c.opened ? 1 : 0));
        if (c.opened) {
            EXPECT_EQ(shell.back().get("file"), pal::text::toUtf8(uri));
        }
    }
}

TEST_F(HelpAndThemes, EachThemeAppliesWithItsLookAndItsCommand) {
    struct Case {
        const wchar_t* name;
        int look;
    };
    const Case cases[] = {
        {L"office2010black", 1}, {L"office2013light", 2}, {L"office2013dark", 3}, {L"office2016black", 3},
        {L"office2016dark", 3},  {L"office2016white", 2}, {L"msvs2015light", 4},  {L"msvs2015dark", 5},
    };
    const std::vector<UIModuleProxy::ThemeDescription> themes = UIModuleProxy::Instance().GetThemes();
    ASSERT_EQ(themes.size(), std::size(cases)) << "the UI module lists exactly the start page's names";
    app->SetSaveAtExit(true);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(pal::text::toUtf8(c.name));
        const bool dark = c.look == 1 || c.look == 3 || c.look == 5;
        EXPECT_EQ(themes[i].Name, c.name);
        EXPECT_EQ(themes[i].Dark, dark);
        EXPECT_EQ(ThemeFromName(c.name), c.look);

        ThemeListener listener;
        ASSERT_TRUE(app->SetTheme(c.name));
        EXPECT_EQ(app->GetThemeName(), c.name);
        EXPECT_EQ(app->GetThemeCommand(), 3401u + i);
        EXPECT_EQ(std::wstring(app->GetProfileStringW(L"Settings", L"UIStyle").GetString()), c.name);
        EXPECT_EQ(UIModuleProxy::Instance().GetCurrentUIStyleName(), c.name);
        EXPECT_EQ(listener.numbers, std::vector<int>{static_cast<int>(i)});
        EXPECT_EQ(DravikManagedUIProxy::WpfAccessor::IsDarkThemeEnabled(), dark);
        EXPECT_EQ(ExpandedFormView::IsThemeEnabled(), dark);
        EXPECT_EQ(CBaseDockFormView::GetDefaultBackgroundColor(),
                  dark ? RGB(141, 141, 141) : RGB(255, 255, 255));
    }
    // The start page's table is exact.
    EXPECT_EQ(ThemeFromName(L"OFFICE2016BLACK"), 0);
    EXPECT_EQ(ThemeFromName(L""), 0);
}

TEST_F(HelpAndThemes, NamesTheUiModuleDoesNotKnowChangeNothing) {
    app->SetSaveAtExit(true);
    ASSERT_TRUE(app->SetTheme(L"msvs2015dark"));
    ThemeListener listener;
    for (const std::wstring& name :
         {std::wstring(), std::wstring(L"MSVS2015DARK"), std::wstring(L"office2019"),
          std::wstring(10000, L'x'), std::wstring(L"msvs2015dark ")}) {
        SCOPED_TRACE(name.size());
        EXPECT_FALSE(app->SetTheme(name));
        EXPECT_EQ(app->GetThemeName(), L"msvs2015dark");
        EXPECT_EQ(app->GetThemeCommand(), 3408u);
        EXPECT_EQ(std::wstring(app->GetProfileStringW(L"Settings", L"UIStyle").GetString()), L"msvs2015dark");
        EXPECT_TRUE(DravikManagedUIProxy::WpfAccessor::IsDarkThemeEnabled());
    }
    EXPECT_TRUE(listener.numbers.empty());
}

TEST_F(HelpAndThemes, ThemeCommandsSwitchOnlyToAnotherListedTheme) {
    ASSERT_TRUE(app->SetTheme(L"office2013light"));
    struct Case {
        UINT id;
        const wchar_t* after;
        bool event;
    };
    const Case cases[] = {
        {3402, L"office2013light", false}, // already current
        {3409, L"office2013light", false}, // past the list
        {3449, L"office2013light", false}, {3400, L"office2013light", false},
        {3405, L"office2016dark", true},   {3401, L"office2010black", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ThemeListener listener;
        app->OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(app->GetThemeName(), c.after);
        EXPECT_EQ(listener.numbers.size(), c.event ? 1u : 0u);
        pal::test::RecordingCmdUI item;
        item.m_nID = c.id;
        app->OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &item, nullptr);
        const bool themeCommand = c.id >= 3401 && c.id <= 3449;
        EXPECT_EQ(item.checked, !themeCommand ? -1 : app->GetThemeCommand() == c.id ? 1 : 0);
    }
}

TEST_F(HelpAndThemes, StartUpTakesTheDefaultThemeForASavedNameItDoesNotKnow) {
    struct Case {
        const char* name;
        const wchar_t* saved; // null: none saved
        const wchar_t* applied;
    };
    const Case cases[] = {
        {"missing", nullptr, L"office2013light"},
        {"empty", L"", L"office2013light"},
        {"unknown", L"office2030", L"office2013light"},
        {"in another case", L"MSVS2015DARK", L"office2013light"},
        {"known", L"msvs2015dark", L"msvs2015dark"},
    };
    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
    writeProductIni("[SETTINGS]\nConfig=3D\nLanguage=Eng\nDefaultStateFile=DefaultState.xml\n");
    ASSERT_TRUE(start()); // the profile's place
    stop();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->WriteProfileStringW(L"Settings", L"UIStyle", c.saved);
        app.reset();
        pal::test::pump();
        ASSERT_TRUE(start());
        EXPECT_EQ(app->GetThemeName(), c.applied);
        EXPECT_EQ(app->GetThemeCommand(), 3401u + *UIModuleProxy::Instance().GetThemeNumber(c.applied));
        stop();
    }
    pal::test::pump();
}

TEST_F(HelpAndThemes, IconSizesBelowOnePixelAreIgnored) {
    struct Case {
        CSize size;
        CSize kept;
    };
    const Case cases[] = {
        {{0, 24}, {24, 24}},  {{24, 0}, {24, 24}},  {{-16, -16}, {24, 24}},
        {{16, 16}, {16, 16}}, {{32, 24}, {32, 24}},
    };
    for (const Case& c : cases) {
        app->SetToolBarIconSize(c.size);
        EXPECT_EQ(app->GetToolBarIconSize().cx, c.kept.cx);
        EXPECT_EQ(app->GetToolBarIconSize().cy, c.kept.cy);
        EXPECT_EQ(app->GetToolBarIconSizeScaled(), CXTPDpi::ScaleIcon(c.kept));
    }
}

TEST_F(HelpAndThemes, TheStatisticsCountNamedCommandsAndTheirRasterAndVectorIcons) {
    EXPECT_EQ(
        FormatCommandStatistics({3, 2, 1, 5, 2}),
        L"3 system command(s)\n2 system command icon(s): 1 raster + 1 vector\n5 icon(s) total: 3 raster + "
        L"2 vector");

    DVCommandContainer& registry = DVCommandContainer::Instance();
    registry.RegisterCommand(1001, L"DocumentNew", DVCommandFlags());
    registry.RegisterCommand(1002, L"DocumentOpen", DVCommandFlags());
    registry.RegisterCommand(1003, L"", DVCommandFlags());             // no name
    registry.RegisterCommand(1191, L"ApplyProfile", DVCommandFlags()); // a special id
    CXTPImageManager images;
    ASSERT_TRUE(images.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION), 1001, CSize(16, 16)));
    ASSERT_TRUE(images.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION), 1191, CSize(16, 16)));
    ASSERT_TRUE(images.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION), 40000, CSize(24, 24)));
    const CommandStatistics counted = CountCommandStatistics(images);
    EXPECT_EQ(counted.commands, 2u);
    EXPECT_EQ(counted.commandIcons, 1u);
    EXPECT_EQ(counted.commandVectorIcons, 0u);
    EXPECT_EQ(counted.icons, 3u);
    EXPECT_EQ(counted.vectorIcons, 0u);
}

} // namespace
} // namespace dvapp::test
