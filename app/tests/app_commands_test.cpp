#include "startup_fixture.h"

#include "app/AboutDlg.h"
#include "app/LogWindowHost.h"
#include "frame/LogWindow.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikUI/PaneControlSites.h"
#include "pal/path.h"
#include "pal/test/recording_cmd_ui.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

class CommandsApp : public DravikApp {
public:
    void setFixedSize(CSize size) { m_fixedSize = size; }
    void setTitle(const wchar_t* title) { m_startup.AppTitle = title; }
    const std::shared_ptr<DVPDMObject>& pdmObject() const { return m_pdmObject; }
    void setCompany(const wchar_t* company, const wchar_t* registryName) {
        m_startup.Company = company;
        m_startup.RegistryName = registryName;
    }
};

class AppCommands : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<CommandsApp>();
        GlobalContainer::Instance().InitSessionLocale(L"Eng", true, 0);
    }
    void TearDown() override {
        dvapp::LogWindowHost::Instance().Destroy();
        for (CMainFrame* frame : CDvw32App::GetMainFrames())
            frame->DestroyWindow();
        dvpdm::test::setWorkMixEnabled(false);
        StartupTest::TearDown();
    }
    CommandsApp& commands() { return static_cast<CommandsApp&>(*app); }

    // A main frame with its window, listed with the UI module; it deletes itself with its window.
    CMainFrame* newFrame(const wchar_t* caption) {
        auto* frame = new CMainFrame;
        EXPECT_TRUE(frame->Create(nullptr, caption));
        UIModuleProxy::Instance().AddMainFrame(frame);
        if (UIModuleProxy::Instance().GetMainWindow() == nullptr)
            UIModuleProxy::Instance().SetMainWindow(frame);
        return frame;
    }

    static std::wstring text(CWnd* window) {
        CString value;
        window->GetWindowText(value);
        return value.GetString();
    }
};

TEST_F(AppCommands, SeveralMainFramesAreNumberedAndOneIsNot) {
    commands().setTitle(L"DravikCad");
    std::vector<CMainFrame*> frames = {newFrame(L"a"), newFrame(L"b"), newFrame(L"c")};
    app->UpdateMainFrameTitles();
    for (size_t k = 0; k < frames.size(); ++k)
        EXPECT_EQ(text(frames[k]), L"DravikCad (" + std::to_wstring(k + 1) + L")");
    frames[0]->DestroyWindow();
    frames[1]->DestroyWindow();
    app->UpdateMainFrameTitles();
    EXPECT_EQ(text(frames[2]), L"DravikCad");
}

TEST_F(AppCommands, TheFrameAfterTheLastIsTheFirst) {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    CMainFrame* only = newFrame(L"only");
    app->ActivateNextMainFrame();
    EXPECT_EQ(ui.GetMainWindow(), only) << "one frame: nothing to switch to";
    CMainFrame* second = newFrame(L"second");
    CMainFrame* third = newFrame(L"third");
    struct Step {
        CMainFrame* from;
        CMainFrame* to;
    };
    for (const Step& step : {Step{only, second}, Step{second, third}, Step{third, only}}) {
        ui.SetMainWindow(step.from);
        app->ActivateNextMainFrame();
        EXPECT_EQ(ui.GetMainWindow(), step.to);
        EXPECT_EQ(ui.GetActiveMainFrame(), step.to);
    }
}

TEST_F(AppCommands, RibbonModeAndIconSizeReachEveryMainFrame) {
    std::vector<CMainFrame*> frames = {newFrame(L"a"), newFrame(L"b")};
    for (CMainFrame* frame : frames)
        ASSERT_NE(frame->GetCommandBars(), nullptr);
    for (bool ribbon : {false, true, false}) {
        app->SetRibbonMode(ribbon);
        EXPECT_EQ(app->GetRibbonMode(), ribbon);
        for (CMainFrame* frame : frames)
            EXPECT_EQ(frame->IsRibbonMode(), ribbon);
    }
    struct Case {
        CSize size;
        bool large;
    };
    for (const Case& c : {Case{{32, 32}, true}, Case{{16, 16}, false}, Case{{16, 24}, true}}) {
        app->SetToolBarIconSize(c.size);
        for (CMainFrame* frame : frames) {
            const CXTPCommandBarsOptions* options = frame->GetCommandBars()->GetCommandBarsOptions();
            EXPECT_EQ(options->szLargeIcons, c.size);
            EXPECT_EQ(options->szIcons, CSize(16, 16));
            EXPECT_EQ(options->bLargeIcons != FALSE, c.large);
        }
    }
}

TEST_F(AppCommands, TheStatisticsButtonCountsOnlyWithCtrlHeld) {
    CMainFrame* frame = newFrame(L"main");
    ASSERT_NE(frame->GetCommandBars(), nullptr);
    frame->GetCommandBars()->GetImageManager()->SetIcon(::LoadIconW(nullptr, IDI_APPLICATION), 40001,
                                                        CSize(16, 16));
    app->ShowCommandStatistics();
    EXPECT_TRUE(boxes().empty()) << "without Ctrl the button does nothing";

    frame->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(frame->m_hWnd);
    pal::test::keyDown(VK_CONTROL);
    pal::test::pump();
    answer(IDOK);
    app->ShowCommandStatistics();
    pal::test::keyUp(VK_CONTROL);
    const std::vector<std::string> shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("system command(s)\n"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("icon(s) total: "), std::string::npos) << shown[0];
}

TEST_F(AppCommands, TheLogWindowCommandNeedsTheLogFileOrTheWindow) {
    DVLog_Write(DVLogInfo, "a first line");
    const fs::path log = pal::path::toNative(DVLog_GetFileName());
    fs::remove(log);
    pal::test::RecordingCmdUI item;
    app->OnUpdateLogWindow(&item);
    EXPECT_EQ(item.enabled, 0) << "no log file, no window";
    app->OnLogWindow();
    EXPECT_FALSE(LogWindowHost::Instance().Exists());

    writeFile(fs::relative(log, root()).string(), "2026-12-10 one line\nanother line\n");
    app->OnUpdateLogWindow(&item);
    EXPECT_EQ(item.enabled, 1);
    app->OnLogWindow();
    ASSERT_TRUE(LogWindowHost::Instance().Exists());
    Dravik::UI::LogWindow* window = LogWindowHost::Instance().Get();
    EXPECT_EQ(text(window), L"Log");
    EXPECT_EQ(text(&window->GetEdit()), L"2026-12-10 one line\r\nanother line\r\n");

    // Closing hides it; the command brings the same window back, with the log file gone too.
    window->SendMessage(WM_CLOSE);
    EXPECT_FALSE(window->IsWindowVisible());
    fs::remove(log);
    app->OnUpdateLogWindow(&item);
    EXPECT_EQ(item.enabled, 1);
    app->OnLogWindow();
    EXPECT_EQ(LogWindowHost::Instance().Get(), window);
    EXPECT_TRUE(window->IsWindowVisible());
}

TEST_F(AppCommands, PdmCommandsFollowTheConnection) {
    struct Case {
        bool connected;
        int connect, disconnect, workMix;
    };
    for (const Case& c : {Case{false, 1, 0, 0}, Case{true, 0, 1, 1}}) {
        dvpdm::test::setWorkMixEnabled(c.connected);
        pal::test::RecordingCmdUI connect, disconnect, workMix;
        for (auto [id, item] : {std::pair{2074u, &connect}, {2075u, &disconnect}, {9311u, &workMix}}) {
            item->m_nID = id;
            app->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, item, nullptr);
        }
        EXPECT_EQ(connect.enabled, c.connect);
        EXPECT_EQ(disconnect.enabled, c.disconnect);
        EXPECT_EQ(workMix.enabled, c.workMix);
    }
    // Without a PDM system the work-mix operation's failure is reported, never thrown.
    dvlog::test::clearCapture();
    app->OnOrsaWorkMixCommand();
    app->OnOrsaDisconnect();
    EXPECT_FALSE(DVPDMWorkMix::Instance().IsConnected());
}

TEST_F(AppCommands, AConnectionKeepsThePdmObjectAndTellsTheAssemblyStructure) {
    newFrame(L"main");
    auto& site = Dravik::UI::AssemblyStructureControlSite::Instance();
    dvpdm::test::setWorkMixEnabled(true);
    app->OnChangeOrsaConnectionState(true);
    EXPECT_NE(commands().pdmObject(), nullptr);
    EXPECT_TRUE(site.IsOrsaConnected());
    dvpdm::test::setWorkMixEnabled(false);
    app->OnChangeOrsaConnectionState(false);
    EXPECT_EQ(commands().pdmObject(), nullptr);
    EXPECT_FALSE(site.IsOrsaConnected());
}

TEST_F(AppCommands, TheThreeDModuleHearsItsMessageWhenOneIsAttached) {
    MSG message{nullptr, 1339, 5, 6, 0, {}};
    EXPECT_TRUE(app->DispatchThreadMessageEx(&message));
    EXPECT_EQ(countCalls("DravikKernel", "3D module message: 5,6"), 0u) << "no 3D module";
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    EXPECT_TRUE(app->DispatchThreadMessageEx(&message));
    EXPECT_EQ(countCalls("DravikKernel", "3D module message: 5,6"), 1u);
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
}

TEST_F(AppCommands, FixedSizeKeepsTheTopLeftCornerAndRefusesSidesBelowOne) {
    CMainFrame* frame = newFrame(L"main");
    frame->MoveWindow(120, 80, 700, 500);
    struct Case {
        CSize fixed;
        CSize expected;
        bool refused;
    };
    const Case cases[] = {
        {{1024, 768}, {1024, 768}, false},
        {{0, 600}, {1024, 768}, true},
        {{800, -1}, {1024, 768}, true},
        {{640, 480}, {640, 480}, false},
    };
    for (const Case& c : cases) {
        dvlog::test::clearCapture();
        commands().setFixedSize(c.fixed);
        app->OnFixedSize();
        CRect rect;
        ::GetWindowRect(frame->m_hWnd, &rect);
        EXPECT_EQ(rect.left, 120);
        EXPECT_EQ(rect.top, 80);
        EXPECT_EQ(rect.Width(), c.expected.cx);
        EXPECT_EQ(rect.Height(), c.expected.cy);
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), c.refused ? 1u : 0u);
    }
}

TEST_F(AppCommands, TheAboutBoxShowsTheOwnerTheVersionAndTheProduct) {
    EXPECT_EQ(CAboutDlg::OwnerText(L"Ann", L""), L"Ann");
    EXPECT_EQ(CAboutDlg::OwnerText(L"Ann", L"Works"), L"Ann\r\nWorks");
    EXPECT_EQ(CAboutDlg::OwnerText(std::wstring(300, L'o'), std::wstring(256, L'w')),
              std::wstring(255, L'o') + L"\r\n" + std::wstring(255, L'w'));
    EXPECT_EQ(
        CAboutDlg::ReplacePlaceholders(L"<program> <version> for <system>, <year> <year>", L"DRAVIK CAD"),
        L"DRAVIK CAD 18 for Windows 7, 8, 10, 11, 2025 2025");

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\DRAVIK CAD 18.0", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, value] :
         {std::pair<const wchar_t*, std::wstring>{L"SetupRegisteredOwner", L"Ann Smith"},
          {L"SetupRegisteredOrganization", L"Smith Engineering"}})
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    commands().setCompany(L"Dravik", L"DRAVIK CAD 18.0");

    CAboutDlg dialog;
    ASSERT_TRUE(dialog.Create(CAboutDlg::IDD));
    const std::wstring product = GetApplicationName().GetString();
    EXPECT_EQ(text(&dialog), L"About " + product);
    EXPECT_EQ(text(dialog.GetDlgItem(1324)), product + L" 18");
    EXPECT_EQ(text(dialog.GetDlgItem(3324)), L"For Windows 7, 8, 10, 11");
    EXPECT_NE(text(dialog.GetDlgItem(3325)).find(L"2025"), std::wstring::npos);
    EXPECT_EQ(text(dialog.GetDlgItem(CAboutDlg::kOwnerText)), L"Ann Smith\r\nSmith Engineering");
    const std::wstring version = text(dialog.GetDlgItem(CAboutDlg::kVersionText));
    EXPECT_EQ(version.rfind(L"18.0.21.0 x64 ", 0), 0u) << pal::text::toUtf8(version);
    EXPECT_TRUE(version.ends_with(L"\r\n")) << "without a PDM connection its line is empty";
    CWnd* link = dialog.GetDlgItem(CAboutDlg::kLink);
    ASSERT_NE(link, nullptr);
    EXPECT_NE(text(link).find(L"Visit the " + product + L" web site"), std::wstring::npos);

    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(link->IsWindowVisible());
    EXPECT_FALSE(dialog.GetDlgItem(CAboutDlg::kLinkText)->IsWindowVisible());
    EXPECT_TRUE(pal::test::keepSnapshot(dialog.m_hWnd, "about_dialog"));

    // A click on the link is the link's own business.
    NMHDR click{link->m_hWnd, CAboutDlg::kLink, NM_CLICK};
    EXPECT_EQ(dialog.SendMessage(WM_NOTIFY, CAboutDlg::kLink, reinterpret_cast<LPARAM>(&click)), 0);
    dialog.DestroyWindow();
}

} // namespace
} // namespace dvapp::test
