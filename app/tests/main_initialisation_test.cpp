// Start-up on the bundled configuration, on the null display: the first main frame made from the
// default state or from the last session's saved state and shown, the command line's document
// opened in its window, and a start by COM that stops before anything is shown or opened.
#include "main_initialisation_fixture.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"
#include "frame/CommandBars.h"
#include "pal/path.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"
#include "xtp/CommandBars.h"
#include "xtp/MenuBar.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

TEST_F(MainInitialisation, WithoutASavedStateTheFrameOfTheDefaultStateIsShown) {
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(app->m_pMainWnd, frame);
    EXPECT_EQ(GetMainFrame(), frame);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_TRUE(frame->IsDropTargetRegistered()) << "start-up makes the thread ready for drops";
    ASSERT_NE(frame->GetMenuBar(), nullptr);
    EXPECT_GT(frame->GetMenuBar()->GetControlCount(), 3) << "the default state's menus";
    CRect rect;
    frame->CWnd::GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(15, 15, 1905, 1025)) << "a default frame fills its monitor's work area, inset";
    EXPECT_NE(app->GetDocTemplate(), nullptr);
    CString title;
    frame->GetWindowText(title);
    EXPECT_FALSE(app->GetApplicationTitle().IsEmpty());
    EXPECT_EQ(title, app->GetApplicationTitle());
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty()) << "no empty drawing of its own";
    EXPECT_EQ(initializedLines(), 1u);
    EXPECT_FALSE(hasLine(DVLogFailure, "Failed to create main window"));
}

TEST_F(MainInitialisation, TheLastSessionsSavedStatePlacesTheFrame) {
    ASSERT_TRUE(start());
    CMainFrame* first = onlyFrame();
    ASSERT_NE(first, nullptr);
    first->MoveWindow(CRect(100, 80, 1300, 900));
    ASSERT_TRUE(app->SaveState());
    stop();
    app.reset();
    pal::test::pump();
    ASSERT_TRUE(CDvw32App::GetMainFrames().empty());
    dvlog::test::clearCapture();

    ASSERT_TRUE(start());
    CMainFrame* second = onlyFrame();
    ASSERT_NE(second, nullptr);
    CRect rect;
    second->CWnd::GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(100, 80, 1300, 900));
    EXPECT_TRUE(second->IsShown());
    const auto info = dvlog::test::capturedAt(DVLogInfo);
    EXPECT_TRUE(std::any_of(info.begin(), info.end(),
                            [](const std::string& line) { return line.rfind("Loaded state in ", 0) == 0; }));
    EXPECT_EQ(initializedLines(), 1u);
}

// Without a PDM system the File menu offers none of its commands (saving into the PDM, as an
// assembly, as a revision): not in the first session's frame, made from the default state, nor
// in the next one's, which loads the layout the first one kept.
TEST_F(MainInitialisation, TheFileMenuOffersNoPdmCommandsWithoutThePdmInEverySession) {
    for (const char* session : {"first", "next"}) {
        SCOPED_TRACE(session);
        ASSERT_TRUE(start());
        CMainFrame* frame = onlyFrame();
        ASSERT_NE(frame, nullptr);
        frame->GetRibbonCommandBars()->SetRibbonMode(false);
        frame->RecalcLayout();
        pal::test::pump();
        CXTPMenuBar* menu = frame->GetMenuBar();
        ASSERT_NE(menu, nullptr);
        auto* filePopup = dynamic_cast<CXTPControlPopup*>(menu->GetControl(0));
        ASSERT_NE(filePopup, nullptr);
        CXTPCommandBar* file = filePopup->GetCommandBar();
        ASSERT_NE(file, nullptr);
        int shownCommands = 0;
        for (int i = 0; i < file->GetControlCount(); ++i) {
            CXTPControl* control = file->GetControl(i);
            const int id = control->GetID();
            if (id == 1765 || id == 1657 || id == 1133)
                EXPECT_FALSE(control->IsVisible()) << id;
            else if (control->IsVisible())
                ++shownCommands;
        }
        EXPECT_GT(shownCommands, 5) << "the other File commands stay";
        menu->SetPopuped(0);
        pal::test::pump();
        ASSERT_TRUE(file->IsVisible());
        EXPECT_TRUE(pal::test::keepSnapshot(file->m_hWnd, std::string("file-menu-without-pdm-") + session));
        frame->GetCommandBars()->ClosePopups();
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        ASSERT_TRUE(app->SaveState());
        stop();
        app.reset();
        pal::test::pump();
    }
}

TEST_F(MainInitialisation, TheCommandLinesDrawingOpensInItsWindowOfTheMainFrame) {
    const std::wstring path = copySample("plate.grb");
    ASSERT_TRUE(start({path}));
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    const auto documents = DocumentManager::Instance().GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(pal::path::toNative(documents.front()->GetPathName().GetString()), pal::path::toNative(path));
    auto* child = dynamic_cast<Dravik::UI::MdiChildFrame*>(frame->MDIGetActive());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetActiveDocument(), documents.front());
    EXPECT_TRUE(child->IsWindowVisible());
    ASSERT_NE(child->GetSplitter(), nullptr);
    EXPECT_NE(dynamic_cast<CDVTabView*>(child->GetSplitter()->GetPaneView(0)), nullptr);
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, app->GetApplicationTitle() + L" - plate.grb");
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "main-initialisation-drawing"));
}

TEST_F(MainInitialisation, StartedByComTheFrameIsMadeButNothingIsShownOrOpened) {
    for (const wchar_t* flag : {L"/Automation", L"/Embedding"}) {
        SCOPED_TRACE(pal::text::toUtf8(flag));
        resetOutside();
        bundledConfiguration();
        const std::wstring path = copySample(pal::text::toUtf8(flag + 1) + ".grb");
        ASSERT_TRUE(start({flag, path}));
        CMainFrame* frame = onlyFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_FALSE(frame->IsShown());
        EXPECT_FALSE(frame->IsWindowVisible());
        EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
        stop();
        app.reset();
        pal::test::pump();
    }
}

TEST_F(MainInitialisation, TheThemeIsTheSavedOneOrElseTheUiModulesDefault) {
    ASSERT_TRUE(start());
    UIModuleProxy& ui = UIModuleProxy::Instance();
    const std::wstring fallback = ui.GetDefaultThemeName();
    ASSERT_TRUE(ui.GetCurrentTheme().has_value());
    EXPECT_EQ(ui.GetCurrentTheme()->Name, fallback) << "a first start";
    const std::vector<std::wstring> names = ui.GetThemeNames();
    const auto other = std::find_if(names.begin(), names.end(), [&](const auto& n) { return n != fallback; });
    ASSERT_NE(other, names.end());
    stop();
    for (const std::wstring& saved : {*other, std::wstring(L"No such theme")}) {
        SCOPED_TRACE(pal::text::toUtf8(saved));
        app->WriteProfileStringW(L"Settings", L"UIStyle", saved.c_str());
        app.reset();
        pal::test::pump();
        ASSERT_TRUE(start());
        ASSERT_TRUE(ui.GetCurrentTheme().has_value());
        EXPECT_EQ(ui.GetCurrentTheme()->Name, saved == *other ? saved : fallback);
        stop();
    }
}

void setString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
}

// The search path as the program sees it: a Windows list.
std::wstring environmentPath() {
    std::wstring path(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    return path;
}

TEST_F(MainInitialisation, TheHelpFileIsFoundByItsRules) {
    const std::wstring withHelp = pal::path::fromNative(root() / "help");
    const std::wstring withoutHelp = pal::path::fromNative(root() / "nohelp");
    const std::wstring installed = pal::path::fromNative(root() / "installed") + L"/";
    writeFile("help/Dravik.chm", "help");
    fs::create_directories(root() / "nohelp");
    struct Case {
        const char* name;
        std::wstring settings, setup, installedHelp; // empty: none
        std::wstring helpFile, keptInSettings;
        bool onPath;
    };
    const Case cases[] = {
        {"the settings' folder", withHelp, L"", installed, withHelp + L"\\Dravik.chm", withHelp, true},
        {"set-up's folder, then kept", L"", withHelp, L"", withHelp + L"\\Dravik.chm", withHelp, true},
        {"no help file there: the installed help", withoutHelp, L"", installed, installed + L"Dravik.chm",
         withoutHelp, true},
        {"a folder on A or B is ignored", L"b:\\help", L"", installed, installed + L"Dravik.chm", L"b:\\help",
         false},
        {"nothing at all", L"", L"", L"", L"", L"", false},
    };
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::setenv("PATH", savedPath.c_str(), 1);
        setString(HKEY_CURRENT_USER, L"Software\\Dravik\\DRAVIK CAD 18.0\\Help", L"Path", c.settings);
        setString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik\\DRAVIK CAD 18.0", L"SetupHelpPath", c.setup);
        setString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Dravik\\DRAVIK CadHelp 18\\Eng",
                  L"SetupDirectory", c.installedHelp);
        ASSERT_TRUE(start());
        EXPECT_EQ(app->GetHelpFilePath(), c.helpFile);
        // The class library's own route opens the same file, or nothing without one.
        const size_t viewerBefore = journal("HtmlHelp").size();
        app->InvokeWinHelp(42);
        const auto viewer = journal("HtmlHelp");
        if (c.helpFile.empty()) {
            EXPECT_EQ(viewer.size(), viewerBefore);
        } else {
            ASSERT_EQ(viewer.size(), viewerBefore + 1);
            EXPECT_EQ(viewer.back().get("file"), pal::text::toUtf8(c.helpFile));
            EXPECT_EQ(viewer.back().get("data"), "42");
        }
        EXPECT_EQ(app->GetProfileStringW(L"Help", L"Path", L"?"), CString(c.keptInSettings.c_str()));
        const std::wstring path = environmentPath();
        const std::wstring suffix = L";" + c.keptInSettings;
        const bool onPath = path.size() > savedPath.size() && path.ends_with(suffix);
        EXPECT_EQ(onPath, c.onPath) << pal::text::toUtf8(path);
        stop();
        app.reset();
        pal::test::pump();
    }
    ::setenv("PATH", savedPath.c_str(), 1);
}

TEST_F(MainInitialisation, TheMainFramesAskTheApplicationForTheirResourceTheNextWindowAndTheIconSize) {
    ASSERT_TRUE(start());
    CMainFrame* first = onlyFrame();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetControlFactoryFrame().mainResourceId, static_cast<int>(GetMainResourceId()))
        << "the pseudo menu bar opens the edition's menus";
    EXPECT_NE(GetMainResourceId(), 0u);

    // A further window takes the icon size the person chose, not the screen's default.
    app->SetToolBarIconSize(16, 16);
    CMainFrame* second = first->Clone();
    ASSERT_NE(second, nullptr);
    const CXTPCommandBarsOptions* options = second->GetCommandBars()->GetCommandBarsOptions();
    EXPECT_FALSE(options->bLargeIcons);
    EXPECT_EQ(options->szLargeIcons, CSize(16, 16));
    CMainFrame* third = first->Clone();
    ASSERT_NE(third, nullptr);

    // A closing main window hands the part to the frame after it; the last one to the first.
    MainFrameApplication* frames = MainFrameApplication::Instance();
    ASSERT_NE(frames, nullptr);
    UIModuleProxy& ui = UIModuleProxy::Instance();
    struct Step {
        CMainFrame* closing;
        CMainFrame* next;
    };
    for (const Step& step : {Step{second, third}, Step{third, first}}) {
        step.closing->MakeActive();
        ASSERT_EQ(ui.GetMainWindow(), step.closing);
        frames->ActivateNextMainFrame(*step.closing);
        EXPECT_EQ(ui.GetMainWindow(), step.next);
        EXPECT_EQ(ui.GetActiveMainFrame(), step.next);
    }
}

TEST_F(MainInitialisation, CrashRecoveryOpensTheFirstHundredListedAndKeepsTheCopies) {
    const std::wstring copy = copySample("plate.grb.ERR");
    const std::wstring plain = copySample("bracket.grb");
    // The hundredth entry is the last one read, the hundred-and-first the first one dropped.
    const std::wstring hundredth = copySample("hundredth.grb");
    const std::wstring late = copySample("late.grb");
    const std::wstring missing = pal::path::fromNative(root() / "missing.grb");
    ASSERT_TRUE(start());
    app->WriteProfileInt(L"ErrorRestore", L"DocsCount", 250);
    for (int i = 0; i < 250; ++i) {
        const std::wstring path = i == 0     ? copy
                                  : i == 1   ? plain
                                  : i == 2   ? missing
                                  : i == 99  ? hundredth
                                  : i == 100 ? late
                                             : L"";
        app->WriteProfileStringW(L"ErrorRestore", std::to_wstring(i).c_str(), path.c_str());
    }
    app->WriteProfileInt(L"ErrorRestore", L"Restart", 1);
    stop();
    app.reset();
    pal::test::pump();

    answer(IDOK); // the drawing that is gone
    ASSERT_TRUE(start());
    std::vector<std::wstring> titles, paths;
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments()) {
        titles.emplace_back(document->GetTitle().GetString());
        paths.push_back(pal::path::toNative(document->GetPathName().GetString()).wstring());
    }
    const std::wstring original = copy.substr(0, copy.size() - 4);
    EXPECT_EQ(paths, (std::vector<std::wstring>{pal::path::toNative(original).wstring(),
                                                pal::path::toNative(plain).wstring(),
                                                pal::path::toNative(hundredth).wstring()}))
        << "the copy under its original's name, the plain one as it is, nothing past the hundredth";
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[0], original + L" (recovered)");
    EXPECT_TRUE(fs::exists(pal::path::toNative(copy))) << "kept until the recovered drawing is saved";
    EXPECT_EQ(boxes(), std::vector<std::string>{"The document \"" + pal::text::toUtf8(missing) +
                                                "\" cannot be opened."});
    EXPECT_EQ(app->GetProfileInt(L"ErrorRestore", L"DocsCount", -1), 0u);
    for (int i = 0; i < 250; ++i)
        EXPECT_EQ(app->GetProfileStringW(L"ErrorRestore", std::to_wstring(i).c_str(), L"gone"),
                  CString(L"gone"))
            << i;
    EXPECT_EQ(app->GetProfileInt(L"ErrorRestore", L"Restart", -1), 0u);
}

// Leaves the last session's list of open documents: the paths given, and an empty entry.
void listOpenDocuments(CDvw32App& app, const std::vector<std::wstring>& paths) {
    app.WriteProfileInt(L"OpenDocuments", L"Count", static_cast<int>(paths.size()) + 1);
    for (size_t i = 0; i < paths.size(); ++i)
        app.WriteProfileStringW(L"OpenDocuments", (L"Document" + std::to_wstring(i)).c_str(),
                                paths[i].c_str());
}

TEST_F(MainInitialisation, TheLastSessionsDocumentsAreReopenedOnlyWhenTheSettingsSaySo) {
    const std::wstring first = copySample("first.grb");
    const std::wstring second = copySample("second.grb");
    for (const bool reopen : {true, false}) {
        SCOPED_TRACE(reopen ? "reopen" : "keep none");
        ASSERT_TRUE(start());
        // The person's choice, kept with the settings of the profile as the session ends.
        CDvw32App::SetReopenDocuments(reopen);
        stop();
        listOpenDocuments(*app, {first, second});
        app.reset();
        pal::test::pump();
        resetOutside(); // the settings in memory are a fresh process's: the profile's decide
        bundledConfiguration();

        ASSERT_TRUE(start());
        EXPECT_EQ(CDvw32App::GetReopenDocuments(), reopen);
        std::vector<std::wstring> open;
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
            open.push_back(pal::path::toNative(document->GetPathName().GetString()).wstring());
        if (reopen) {
            EXPECT_EQ(open, (std::vector<std::wstring>{pal::path::toNative(first).wstring(),
                                                       pal::path::toNative(second).wstring()}));
        } else {
            EXPECT_TRUE(open.empty());
        }
        EXPECT_EQ(app->GetProfileInt(L"OpenDocuments", L"Count", -1), 0u) << "the list is used once";
        stop();
        app.reset();
        pal::test::pump();
    }
}

TEST_F(MainInitialisation, ListCountsPastWhatAListHoldsAreReadAsItsLimitAndLogged) {
    const std::wstring recovered = copySample("recovered.grb");
    const std::wstring reopened = copySample("reopened.grb");
    ASSERT_TRUE(start());
    CDvw32App::SetReopenDocuments(true);
    stop();
    struct List {
        const wchar_t* section;
        const wchar_t* count;
        const wchar_t* first;
        std::wstring path;
        const char* logged;
    };
    const List lists[] = {
        {L"ErrorRestore", L"DocsCount", L"0", recovered,
         "\"ErrorRestore\\DocsCount\" holds 2147483647; only the first 100"},
        {L"OpenDocuments", L"Count", L"Document0", reopened,
         "\"OpenDocuments\\Count\" holds 2147483647; only the first 256"},
    };
    for (const List& list : lists) {
        app->WriteProfileInt(list.section, list.count, INT_MAX);
        app->WriteProfileStringW(list.section, list.first, list.path.c_str());
    }
    app.reset();
    pal::test::pump();
    resetOutside();
    bundledConfiguration();

    ASSERT_TRUE(start()) << "start-up reads no more than the lists can hold";
    std::vector<std::wstring> open;
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
        open.push_back(pal::path::toNative(document->GetPathName().GetString()).wstring());
    EXPECT_EQ(open, (std::vector<std::wstring>{pal::path::toNative(recovered).wstring(),
                                               pal::path::toNative(reopened).wstring()}));
    const std::vector<std::string> warnings = dvlog::test::capturedAt(DVLogWarning);
    for (const List& list : lists) {
        EXPECT_EQ(app->GetProfileInt(list.section, list.count, -1), 0u);
        EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(), [&](const std::string& line) {
            return line.find(list.logged) != std::string::npos;
        })) << list.logged;
    }
    EXPECT_EQ(app->GetProfileStringW(L"ErrorRestore", L"0", L"gone"), CString(L"gone"));
}

TEST_F(MainInitialisation, TheConfigurationChoosesThePaneWindowsBeforeTheFrameIsMade) {
    writeProductIni("[SETTINGS]\nConfig=3D\nDefaultStateFile=DefaultState.xml\nDockingPanes=macros\n");
    ASSERT_TRUE(start());
    EXPECT_TRUE(app->GetPaneWindowSlots().IsEnabled(1010));
    EXPECT_FALSE(app->GetPaneWindowSlots().IsEnabled(1006));
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetPaneManager().FindPane(1006), nullptr) << "no model tree pane without its window";
    EXPECT_NE(frame->GetPaneManager().FindPane(1010), nullptr);
    // The File button's backstage as the shipped default state lays it out: its print page
    // opens in the program's own frame.
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(ribbon->GetRibbonBackstageView()->GetControls()->GetCount(), 11);
    ASSERT_NE(ribbon->GetPrintPage(false), nullptr);
    EXPECT_TRUE(ribbon->ShowBackstageTab(57607, ribbon->GetPrintPage(false)));
    ribbon->CloseBackstage();
}

TEST_F(MainInitialisation, ADocumentThatDoesNotOpenEndsStartUp) {
    answer(IDOK);
    ASSERT_FALSE(start({pal::path::fromNative(root() / "missing.grb")}));
    EXPECT_EQ(boxes(), std::vector<std::string>{"File not found"});
    EXPECT_EQ(initializedLines(), 1u);
}

} // namespace
} // namespace dvapp::test
