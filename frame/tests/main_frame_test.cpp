// A main frame on the null display: made from a state or the default one, copied into a second
// frame, its state written and read back, closed or kept by the answers to its questions.
#include "frame/MainFrame.h"

#include "frame/ApiSamplesPopup.h"
#include "frame/CommandBars.h"
#include "frame/FrameState.h"

#include "picture_helpers.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/ToolBars.h"
#include "DravikUI/Windows.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "frame_fixtures.h"
#include "frame_sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "panels/StatusLine.h"
#include "ribbon/CommandDescriptions.h"
#include "ribbon/FrameToolsApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>

namespace {

using frame_test::fixture;
using frame_test::loadState;
namespace XML = Dravik::UI::XML;

CWinApp application(L"Dravik");

std::string stateOf(CMainFrame& frame) {
    XML::Document document;
    frame.SaveXmlState(document.resetRoot(XML::TagNames::MainWindow));
    return document.toString();
}

class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
    CWnd* GetDrawMenuWindow(bool create) override {
        return create ? panes_.get(1004, L"Draw menu") : nullptr;
    }
    CWnd* GetPropertiesWindow(bool create) override {
        return create ? panes_.get(1007, L"Properties") : nullptr;
    }
    CWnd* GetModelTreeWindow(bool create) override {
        return create ? panes_.get(1006, L"Model tree") : nullptr;
    }

    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }
    std::shared_ptr<MainFrameState> GetDefaultMainFrameState() override { return defaults; }
    bool SaveAllModified() override { return saveAllModified; }
    bool AddOnsAllowExit() override { return addOnsAllow; }
    void ProcessQueuedDDECommands() override { ++ddeRuns; }
    int ddeRuns = 0;
    void UpdateMainFrameTitles() override {
        for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
            frame->SetWindowText(L"DravikCad");
    }

    std::shared_ptr<MainFrameState> defaults;
    bool saveAllModified = true;
    bool addOnsAllow = true;
    std::vector<DefaultToolBarRow> toolBars;

private:
    frame_test::NamedPaneWindows panes_;
};

class MainWindowTest : public frame_test::FrameSandbox<Application> {
protected:
    CMainFrame* make(const char* name = "main_frame.xml") {
        CMainFrame* frame = CMainFrame::Create(*loadState(name), true, true);
        pal::test::pump();
        return frame;
    }
};

TEST_F(MainWindowTest, WithoutAStateOrADefaultNothingIsMade) {
    EXPECT_EQ(CMainFrame::CreateFromState(nullptr, true, true), nullptr);
    EXPECT_TRUE(UIModuleProxy::Instance().GetMainFrames().empty());
}

TEST_F(MainWindowTest, TheDefaultStateStandsForAnEmptyOne) {
    app->defaults = loadState("main_frame.xml");
    ASSERT_TRUE(app->defaults->menuBar);
    EXPECT_EQ(app->defaults->menuBar->controls.size(), 4u);
    CMainFrame* frame = CMainFrame::CreateFromState(nullptr, true, true);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(UIModuleProxy::Instance().GetMainFrames(), std::vector<CFrameWnd*>{frame});
    ASSERT_NE(frame->GetMenuBar(), nullptr);
    EXPECT_EQ(frame->GetMenuBar()->GetControlCount(), 4);
    EXPECT_NE(frame->GetStatusLine()->m_hWnd, nullptr);
    EXPECT_NE(frame->GetPaneManager().FindPane(1004), nullptr);
}

TEST_F(MainWindowTest, AFrameMadeFromItsSavedStateSavesTheSameState) {
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    CRect rect;
    first->CWnd::GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(40, 30, 1240, 790)) << "the state's placement is taken";
    const std::string saved = stateOf(*first);

    XML::Document document;
    ASSERT_TRUE(document.loadString(saved));
    auto state = LoadMainFrameState(document.root(), XML::FormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    CMainFrame* second = CMainFrame::Create(*state, true, true);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(stateOf(*second), saved);
}

TEST_F(MainWindowTest, ACloneIsASecondFrameWithTheSameBarsAndLeavesTheFirstAlone) {
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    const std::string before = stateOf(*first);
    CMainFrame* clone = first->Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, first);
    EXPECT_EQ(UIModuleProxy::Instance().GetMainFrames().size(), 2u);
    EXPECT_EQ(stateOf(*first), before);
    ASSERT_NE(clone->GetMenuBar(), nullptr);
    EXPECT_EQ(clone->GetMenuBar()->GetControlCount(), first->GetMenuBar()->GetControlCount());
}

// A new window like another starts afresh in what belongs to the window and not to its bars:
// the analysis ribbon, the open PDM panes and the panes' tab captions.
TEST_F(MainWindowTest, ACloneStartsWithItsOwnAnalysisRibbonPdmPanesAndPaneCaptions) {
    std::shared_ptr<MainFrameState> state = loadState("main_frame.xml");
    state->analysisMode = 2;
    state->pdmPanes = 0x40;
    state->showDockingPaneTabCaptions = false;
    CMainFrame* first = CMainFrame::Create(*state, true, true);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->GetAnalysisMode(), 2);
    ASSERT_EQ(first->GetOpenOrsaPanes(), 0x40u);
    ASSERT_NE(stateOf(*first).find("showDockingPaneTabCaptions=\"false\""), std::string::npos);
    CMainFrame* clone = first->Clone();
    ASSERT_NE(clone, nullptr);
    const MainFrameState fresh;
    EXPECT_EQ(clone->GetAnalysisMode(), fresh.analysisMode);
    EXPECT_EQ(clone->GetOpenOrsaPanes(), fresh.pdmPanes);
    EXPECT_NE(stateOf(*clone).find("showDockingPaneTabCaptions=\"true\""), std::string::npos);
    EXPECT_EQ(first->GetAnalysisMode(), 2) << "the first frame keeps its own";
}

TEST_F(MainWindowTest, ARefusedCloseKeepsTheFrameAndAnAgreedOneRemovesIt) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    const std::string before = stateOf(*frame);
    app->saveAllModified = false;
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(frame->m_hWnd));
    EXPECT_EQ(stateOf(*frame), before);
    app->saveAllModified = true;
    app->addOnsAllow = false;
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(frame->m_hWnd)) << "the add-ons keep the last frame";

    app->addOnsAllow = true;
    const HWND hwnd = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE); // the frame deletes itself
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(UIModuleProxy::Instance().GetMainFrames().empty());
}

TEST_F(MainWindowTest, MessageBarsAreListedUntilTheyClose) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->ShowMessageBar(0, L"", L"", 0, {}, nullptr, false), 0u);
    const unsigned id = frame->ShowMessageBar(0, L"Drawing", L"was saved as a copy", 7, {}, nullptr, false);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(frame->GetMessageBarCount(), 1u);
    EXPECT_FALSE(frame->CloseMessageBar(id + 1000));
    EXPECT_TRUE(frame->CloseMessageBar(id));
    pal::test::pump();
    EXPECT_EQ(frame->GetMessageBarCount(), 0u);
    EXPECT_FALSE(frame->IsValidMessageBar(nullptr));

    // The image column comes with a picture of 32, 24 or 16 pixels, not with one of another size.
    CXTPImageManager* images = frame->GetCommandBars()->GetImageManager();
    const HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
    ASSERT_TRUE(images->SetIcon(icon, 52001, CSize(24, 24)));
    ASSERT_TRUE(images->SetIcon(icon, 52002, CSize(48, 48)));
    const auto markupOf = [frame](int imageId) {
        std::wstring markup;
        const unsigned shown =
            frame->ShowMessageBar(imageId, L"Drawing", L"was saved", 0, {}, nullptr, false);
        for (HWND h = ::GetWindow(frame->m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
            if (auto* bar = dynamic_cast<Dravik::UI::MessageBar*>(CWnd::FromHandlePermanent(h)))
                markup = bar->GetMessage().GetString();
        frame->CloseMessageBar(shown);
        pal::test::pump();
        return markup;
    };
    EXPECT_NE(markupOf(52001).find(L"<Image"), std::wstring::npos) << "24 pixels only";
    EXPECT_EQ(markupOf(52002).find(L"<Image"), std::wstring::npos) << "48 pixels only";
}

} // namespace

namespace {

TEST_F(MainWindowTest, TheApplicationsStateCodeSavesAndRestoresTheFrames) {
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    MainFrameStates states;
    const std::vector<dvapp::StateFrame*> frames = states.GetMainFrames();
    ASSERT_EQ(frames, std::vector<dvapp::StateFrame*>{first});
    EXPECT_EQ(frames[0]->GetCommandBars(), first->GetCommandBars());

    XML::Document document;
    frames[0]->SaveXmlState(document.resetRoot(XML::TagNames::MainWindow));
    dvapp::StateFrame* made =
        states.CreateFromState(LoadMainFrameState(document.root(), XML::FormatVersion, nullptr));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(states.GetMainFrames().size(), 2u);
    EXPECT_EQ(stateOf(*static_cast<CMainFrame*>(made)), document.toString());
}

} // namespace

namespace {

void snapshot(HWND hwnd, const std::string& name) {
    ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
}

// What a person sees after start-up: menus and tool bars, the panes, the documents' area and the
// status line, in a light and a dark theme.
TEST_F(MainWindowTest, AFreshFrameShowsItsBarsPanesAndStatusLineInEachTheme) {
    app->toolBars = {
        {L"Standard", {}, 1063, true, 2, {57600, 57601, 57603, 0, 57643}},
        {L"Draw", {}, 1065, true, 3, {1300, 1301, 1302, 0, 1303}},
    };
    std::vector<COLORREF> barFaces;
    for (const char* theme : {"office2013light", "office2013dark"}) {
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(pal::text::fromUtf8(theme)));
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        for (int size : {16, 24})
            frame_test::GiveCommandGlyphs(frame->GetCommandBars()->GetImageManager(), size);
        frame->ShowFirstTime();
        EXPECT_TRUE(frame->IsWindowVisible());
        frame->RecalcLayout();
        pal::test::pump();
        snapshot(frame->m_hWnd, std::string("main-window-") + theme);
        const auto picture = pal::test::snapshot(frame->m_hWnd, true);
        CRect client;
        frame->GetClientRect(&client);
        // The menu bar right of its last item, the documents' area right of the panes, and the
        // status line's message pane.
        barFaces.push_back(picture.pixel(client.right - 40, 14));
        EXPECT_EQ(picture.pixel(client.right - 40, client.Height() / 2), CMDIClientWndBackground::kFillColor)
            << theme << ": the fill around the background picture";
        CRect status;
        frame->GetStatusLine()->GetWindowRect(&status);
        frame->ScreenToClient(&status);
        EXPECT_GT(status.Height(), 0);
        EXPECT_EQ(status.bottom, client.bottom) << "the status line closes the window";
        frame->DestroyWindow();
        pal::test::pump();
    }
    UIModuleProxy::Instance().SetTheme(L"office2013light");
    ASSERT_EQ(barFaces.size(), 2u);
    EXPECT_GT(GetRValue(barFaces[0]), 200) << "light bars";
    EXPECT_LT(GetRValue(barFaces[1]), 100) << "dark bars";
}

} // namespace

namespace {

TEST_F(MainWindowTest, AStateNamingWhatDoesNotExistMakesTheFrameWithWhatDoes) {
    dvlog::test::clearCapture();
    CMainFrame* frame = make("main_frame_bad.xml");
    ASSERT_NE(frame, nullptr);
    CXTPMenuBar* menu = frame->GetMenuBar();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetControlCount(), 2) << "File and Help";
    auto* file = DYNAMIC_DOWNCAST(CXTPControlPopup, menu->GetControl(0));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetCommandBar()->GetControlCount(), 1) << "only New";
    for (int i = 0; i < frame->GetCommandBars()->GetCount(); ++i)
        EXPECT_FALSE(Dravik::UI::IsFixed(frame->GetCommandBars()->GetAt(i)));
    const std::vector<std::string> warnings = dvlog::test::capturedAt(DVLogWarning);
    const auto names = [&](const char* what) {
        return std::any_of(warnings.begin(), warnings.end(),
                           [&](const std::string& line) { return line.find(what) != std::string::npos; });
    };
    EXPECT_TRUE(names("<gizmo>")) << "what was skipped is logged";
    EXPECT_TRUE(names("<toolBar>"));
    EXPECT_TRUE(names("<paneSet>"));
}

TEST_F(MainWindowTest, TheFramesProfileItemListsItsOwnSectionLast) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetSectionName(), L"MainFrame");
    std::vector<std::wstring> keys;
    frame->GetStateData(0, keys);
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back(), L"MainFrame");
}

} // namespace

namespace {

TEST_F(MainWindowTest, TheProfileItemKeepsTheUIStyleAndLoadsWithTheCurrentTheme) {
    DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\Test");
    application.SetRegistryKey(L"Dravik");
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(L"office2013dark"));
    EXPECT_EQ(frame->SaveState(), 0);
    EXPECT_EQ(frame->GetUIStyle(), L"office2013dark");

    ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(L"office2013light"));
    frame->SetTheme(*UIModuleProxy::Instance().GetThemeNumber(L"office2013dark"));
    EXPECT_EQ(frame->LoadState(), 0);
    EXPECT_EQ(frame->GetTheme(), *UIModuleProxy::Instance().GetThemeNumber(L"office2013light"))
        << "loading takes the UI module's theme";
}

} // namespace

namespace {

// A command's card names its shortcuts as the frame's loaded layout has them.
TEST_F(MainWindowTest, LoadingTheFramesLayoutRefreshesTheKeysTheCommandCardsName) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPShortcutManager* shortcuts = frame->GetCommandBars()->GetShortcutManager();
    ASSERT_NE(shortcuts, nullptr);
    constexpr UINT kAbout = 57664;
    const CommandDescriptionRecord* card = ReadCommandDescription(kAbout, frame->GetCommandBars(), 0xF2F2F2);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->keyboardCall, L"");

    shortcuts->AddShortcut(CXTPShortcutManagerAccel(kAbout, FVIRTKEY | FCONTROL | FSHIFT, 'A'));
    const CString accel = shortcuts->Format(&shortcuts->FindShortcuts(kAbout)[0]);
    CXTPPropExchangeXMLNode saved(FALSE, nullptr, L"Layout");
    frame->ExchangeLayout(&saved, true, false);
    CXTPPropExchangeXMLNode loaded(TRUE, nullptr, L"Layout");
    ASSERT_TRUE(loaded.LoadFromString(saved.GetXML().GetString()));
    frame->ExchangeLayout(&loaded, true, false);
    EXPECT_EQ(card->keyboardCall, std::wstring(accel.GetString()));
}

// A loaded layout brings a floating bar left off every monitor back onto one, and shows the PDM
// commands only while the PDM works: the settings name a system and the work mix is enabled.
TEST_F(MainWindowTest, ALoadedLayoutBringsBarsBackOnScreenAndShowsPdmCommandsOnlyWithThePdm) {
    constexpr UINT kCheckIn = 2101;
    DVCommandContainer::Instance().RegisterCommand(kCheckIn, L"pdm", DVCommandFlag::Pdm);
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    frame->ShowFirstTime();
    pal::test::pump();
    ASSERT_TRUE(frame->InsertUserMenuItem(kCheckIn, L"Check in", 57601, 1));
    CXTPControl* checkIn =
        frame->GetMenuBar()->GetControls()->FindControl(xtpControlError, kCheckIn, FALSE, TRUE);
    ASSERT_NE(checkIn, nullptr);
    CXTPToolBar* floating = frame->GetCommandBars()->Add(L"Floating", xtpBarFloating);
    ASSERT_NE(floating, nullptr);
    floating->SetBarID(59500);
    floating->GetControls()->Add(xtpControlButton, 57600);
    struct Case {
        const char* name;
        const wchar_t* pdmText;
        bool workMix;
        bool pdmShown;
    };
    const Case cases[] = {
        {"no PDM named", L"", true, false},
        {"the work mix off", L"Archive", false, false},
        {"the PDM works", L"Archive", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        floating->SetFloatingPosition(CPoint(5000, 4000));
        floating->SetPosition(xtpBarFloating);
        floating->SetVisible(TRUE);
        frame->GetCommandBars()->RecalcFrameLayout();
        checkIn->SetVisible(!c.pdmShown);
        CXTPPropExchangeXMLNode saved(FALSE, nullptr, L"Layout");
        frame->ExchangeLayout(&saved, true, false);
        GetSettings().pdmText = c.pdmText;
        dvpdm::test::setWorkMixEnabled(c.workMix);
        CXTPPropExchangeXMLNode loaded(TRUE, nullptr, L"Layout");
        ASSERT_TRUE(loaded.LoadFromString(saved.GetXML().GetString()));
        frame->ExchangeLayout(&loaded, true, false);
        pal::test::pump();
        checkIn = frame->GetMenuBar()->GetControls()->FindControl(xtpControlError, kCheckIn, FALSE, TRUE);
        ASSERT_NE(checkIn, nullptr);
        EXPECT_EQ(checkIn->IsVisible() != FALSE, c.pdmShown);
        floating = frame->GetCommandBars()->GetToolBar(59500);
        ASSERT_NE(floating, nullptr);
        CRect placed;
        ::GetWindowRect(floating->m_hWnd, &placed);
        EXPECT_TRUE(placed.left >= 0 && placed.right <= 1920 && placed.top >= 0 && placed.bottom <= 1080)
            << placed.left << "," << placed.top;
    }
    GetSettings().pdmText.clear();
    dvpdm::test::setWorkMixEnabled(false);
}

TEST_F(MainWindowTest, ApplicationsFindTheirPopupBesideTheConfigurationsCommandOrMakeIt) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPMenuBar* menu = frame->GetMenuBar();
    EXPECT_EQ(dvframe::FindApiSamplesPopup(menu->GetControls(), menu, false), nullptr);
    CXTPCommandBar* made = dvframe::FindApiSamplesPopup(menu->GetControls(), menu, true);
    ASSERT_NE(made, nullptr);
    auto* help = DYNAMIC_DOWNCAST(CXTPControlPopup, menu->GetControl(3));
    ASSERT_NE(help, nullptr);
    CXTPControls* helpItems = help->GetCommandBar()->GetControls();
    ASSERT_EQ(helpItems->GetCount(), 3) << "made in the collection that holds the anchor";
    EXPECT_EQ(std::wstring(helpItems->GetAt(2)->GetParameter()), L"APISamples");
    EXPECT_EQ(dvframe::FindApiSamplesPopup(menu->GetControls(), menu, true), made)
        << "found again, not made twice";

    // Any case of the name is the same popup; without the anchor nothing is made.
    helpItems->GetAt(2)->SetParameter(L"apisamples");
    EXPECT_EQ(dvframe::FindApiSamplesPopup(menu->GetControls(), menu, false), made);
    CMainFrame* bare = make("main_frame_bad.xml");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(dvframe::FindApiSamplesPopup(bare->GetMenuBar()->GetControls(), bare->GetMenuBar(), true),
              nullptr);
}

} // namespace

namespace {

TEST_F(MainWindowTest, ACloneOpensOnItsSourcesMonitorInsideTheWorkArea) {
    pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96},
                            {RECT{1920, 0, 3200, 1024}, RECT{1920, 0, 3200, 984}, 96}});
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    first->MoveWindow(CRect(2000, 40, 3000, 800));
    UIModuleProxy::Instance().SetMainWindow(first);
    CMainFrame* clone = first->Clone();
    ASSERT_NE(clone, nullptr);
    CRect rect;
    clone->CWnd::GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(1920 + 15, 15, 3200 - 15, 984 - 15));
}

} // namespace

namespace {

TEST_F(MainWindowTest, ShellRequestsQueuedInAModalStateRunWhenTheLastOneEnds) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    frame->BeginModalState();
    frame->BeginModalState();
    frame->EndModalState();
    EXPECT_EQ(app->ddeRuns, 0) << "still modal";
    frame->EndModalState();
    EXPECT_EQ(app->ddeRuns, 1);
}

} // namespace
