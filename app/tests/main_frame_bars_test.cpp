// The program's own frame, as start-up makes it on the bundled configuration: its bars, panes
// and popups are the program's classes, and what they ask of the application is answered by
// the application (the tool-bar list menu, the pane windows, the add-ons' command names, the
// first showing, the themes).
#include "main_initialisation_fixture.h"

#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "frame/CommandBars.h"
#include "frame/DockingPanes.h"
#include "frame/TabToolBar.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "ribbon/ExtendedToolTip.h"
#include "ribbon/FrameToolsEngine.h"
#include "xtp/CommandBars.h"
#include "xtp/Controls.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/PopupBar.h"
#include "xtp/PropExchange.h"

namespace dvapp::test {
namespace {

std::vector<int> idsOf(CXTPCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        ids.push_back(bar->GetControls()->GetAt(i)->GetID());
    return ids;
}

CXTPControl* findIn(CXTPCommandBar* bar, int id) {
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        CXTPControl* control = bar->GetControls()->GetAt(i);
        if (control->GetID() == id)
            return control;
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup && popup->GetCommandBar())
            if (CXTPControl* inner = findIn(popup->GetCommandBar(), id))
                return inner;
    }
    return nullptr;
}

class MainFrameBars : public MainInitialisation {
protected:
    void TearDown() override {
        dvpdm::test::setWorkMixEnabled(false);
        UIModuleProxy::Instance().SetTheme(L"office2013light"); // the UI module outlives the test
        MainInitialisation::TearDown();
    }
    // The program's frame in the classic layout, where the bars have their right-click menu.
    CMainFrame* classicFrame() {
        if (!start())
            return nullptr;
        pal::test::pump();
        CMainFrame* frame = onlyFrame();
        if (frame != nullptr) {
            frame->SetRibbonMode(false);
            pal::test::pump();
        }
        return frame;
    }
    // The list popup as a right click on a bar builds it; released by the caller.
    static CXTPPopupBar* listPopup(CMainFrame* frame) {
        return frame->GetRibbonCommandBars()->GetToolbarsPopup();
    }
};

TEST_F(MainFrameBars, TheToolBarListListsTheFramesOwnBarsItsPartsAndTheThemes) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    CDVRibbonCommandBars* bars = frame->GetRibbonCommandBars();
    CXTPPopupBar* popup = listPopup(frame);
    ASSERT_NE(popup, nullptr);
    const std::vector<ToolBarListEntry> list = bars->GetToolBarList();
    ASSERT_FALSE(list.empty()) << "the frame's bars are listed";

    // First the bars: item 700 + i names listed bar i, checked when it shows.
    auto* barsPopup = dynamic_cast<CXTPControlPopup*>(popup->GetControls()->GetAt(0));
    ASSERT_TRUE(barsPopup != nullptr && barsPopup->GetCommandBar() != nullptr);
    CXTPCommandBar* listed = barsPopup->GetCommandBar();
    std::vector<std::wstring> titles;
    for (int i = 0; i < listed->GetControls()->GetCount(); ++i) {
        CXTPControl* item = listed->GetControls()->GetAt(i);
        const size_t index = static_cast<size_t>(item->GetID() - 700);
        ASSERT_LT(index, list.size());
        EXPECT_EQ(item->GetCaption().GetString(), list[index].title);
        EXPECT_EQ(item->GetChecked() != FALSE, list[index].visible) << index;
        EXPECT_FALSE(item->GetCloseSubMenuOnClick()) << "the list stays open while bars are switched";
        CXTPToolBar* bar = bars->GetToolBar(list[index].barId);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetTitle().GetString(), list[index].title);
        titles.push_back(list[index].title);
    }
    EXPECT_NE(std::find(titles.begin(), titles.end(), DVLoadString(41518)), titles.end())
        << "the main tool bar";

    // The frame's parts; without the work mix no PDM pane is offered.
    EXPECT_NE(findIn(popup, 801), nullptr) << "the status line";
    EXPECT_NE(findIn(popup, 783), nullptr) << "the documents pane";
    for (UINT pdm : PdmPaneToggleCommands())
        EXPECT_EQ(findIn(popup, static_cast<int>(pdm)), nullptr) << pdm;

    // Last the themes, one caption-only item per theme of the UI module.
    const auto themes = UIModuleProxy::Instance().GetThemes();
    ASSERT_EQ(themes.size(), 8u);
    auto* themesPopup =
        dynamic_cast<CXTPControlPopup*>(popup->GetControls()->GetAt(popup->GetControls()->GetCount() - 1));
    ASSERT_TRUE(themesPopup != nullptr && themesPopup->GetCommandBar() != nullptr);
    EXPECT_EQ(themesPopup->GetCaption().GetString(), DVLoadString(42295));
    CXTPCommandBar* themeItems = themesPopup->GetCommandBar();
    ASSERT_EQ(themeItems->GetControls()->GetCount(), 8);
    for (int i = 0; i < 8; ++i) {
        CXTPControl* item = themeItems->GetControls()->GetAt(i);
        EXPECT_EQ(item->GetID(), 3401 + i);
        EXPECT_EQ(item->GetCaption().GetString(), themes[static_cast<size_t>(i)].DisplayName);
        EXPECT_EQ(item->GetStyle(), xtpButtonCaption);
    }
    popup->InternalRelease();
}

TEST_F(MainFrameBars, WithTheWorkMixThePdmPaneTogglesTakeThePanesCaptions) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    dvpdm::test::setWorkMixEnabled(true);
    CXTPPopupBar* popup = listPopup(frame);
    ASSERT_NE(popup, nullptr);
    struct Case {
        int command;
        int pane;
    };
    for (const Case c : {Case{787, 1012}, Case{788, 1013}, Case{789, 1014}, Case{798, 1027}}) {
        CXTPControl* item = findIn(popup, c.command);
        ASSERT_NE(item, nullptr) << c.command;
        const std::wstring caption = CFrameToolsEngine::GetPaneCaption(c.pane);
        ASSERT_FALSE(caption.empty()) << c.pane;
        EXPECT_EQ(item->GetCaption().GetString(), caption) << c.command;
    }
    EXPECT_NE(findIn(popup, 791), nullptr) << "the search pane keeps the menu's text";
    popup->InternalRelease();
}

TEST_F(MainFrameBars, ThePanesAreTheProgramsAndFindTheApplicationsWindows) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(dynamic_cast<CDVDockingPaneManager*>(frame->GetDockingPaneManager()), nullptr);
    const auto& panes = frame->GetPaneManager().GetPaneList();
    ASSERT_FALSE(panes.empty());
    for (CXTPDockingPane* pane : panes) {
        EXPECT_NE(dynamic_cast<CDVDockingPane*>(pane), nullptr) << pane->GetID();
        // Each the list of panes offers is named in the person's language, never by an
        // untranslated key (words joined by dots); one without a title is not offered.
        const std::wstring title = pane->GetTitle().GetString();
        EXPECT_FALSE(title.find(L'.') != std::wstring::npos && title.find(L' ') == std::wstring::npos)
            << pane->GetID() << ": " << CStringA(pane->GetTitle()).GetString();
    }

    // A pane's layout entry is written with its window, which the application's lookup finds.
    CXTPDockingPane* documents = frame->GetPaneManager().FindPane(1004);
    ASSERT_NE(documents, nullptr);
    auto* pane = dynamic_cast<CDVDockingPane*>(documents);
    ASSERT_NE(pane, nullptr);
    CXTPPropExchangeXMLNode exchange(FALSE, nullptr, L"Pane");
    EXPECT_TRUE(pane->DoPropExchange(&exchange)) << "the pane's window is the application's";
}

TEST_F(MainFrameBars, TheBarsWriteTheirLayoutUntilTheFrameFirstShows) {
    ASSERT_TRUE(start({L"/Automation"}));
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_FALSE(frame->IsShown());
    EXPECT_FALSE(CDVTabToolBar::IsMainWindowShown(frame)) << "a frame not shown yet";
    EXPECT_TRUE(CDVTabToolBar::IsMainWindowShown(nullptr)) << "a bar of no main frame";
    frame->ShowFirstTime();
    EXPECT_TRUE(CDVTabToolBar::IsMainWindowShown(frame));
}

TEST_F(MainFrameBars, AnAddOnsCommandsOnTheTabbedBarTakeTheirNamesWhenItsLayoutIsLoaded) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    CDVTabToolBar* tabs = frame->GetTabToolBar();
    ASSERT_NE(tabs, nullptr);
    IApplicationCommand* command =
        app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"DVOPT", 4, false));
    ASSERT_NE(command, nullptr);
    const UINT id = static_cast<UINT>(command->GetID());
    DVCommandContainer::Instance().RegisterCommand(id, L"Weld seam", DVCommandFlags());
    const UINT ids[] = {id};
    tabs->AddTab(L"Add-on", ids, 1,
                 *Dravik::UniqueIdentifier::TryParse(L"{52525252-0000-0000-0000-000000000001}"),
                 L"Vendor.AddOn", std::nullopt, true, false);
    tabs->GetControls()->FindControl(static_cast<int>(id))->SetCaption(L"old");
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Bar");
    tabs->DoPropExchange(&store);
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Bar");
    ASSERT_TRUE(load.LoadFromString(store.GetXML().GetString()));
    tabs->DoPropExchange(&load);
    CXTPControl* named = tabs->GetControls()->FindControl(static_cast<int>(id));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->GetCaption().GetString(), std::wstring(L"Weld seam"));
}

TEST_F(MainFrameBars, TheFramesToolBarsAreTheProgramsAndCopyAsSuch) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    CXTPCommandBars* bars = frame->GetCommandBars();
    CDVToolBar* own = nullptr;
    for (int i = 0; i < bars->GetCount() && own == nullptr; ++i)
        own = dynamic_cast<CDVToolBar*>(bars->GetAt(i));
    ASSERT_NE(own, nullptr) << "the default bars are the program's";
    CXTPCommandBar* copy = own->Clone(TRUE);
    EXPECT_NE(dynamic_cast<CDVToolBar*>(copy), nullptr);
    EXPECT_EQ(idsOf(copy), idsOf(own));
    copy->InternalRelease();
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

// The themes popup of the frame's bars (command 2851) offers the UI themes; a theme taken from it
// repaints the whole frame in that theme.
TEST_F(MainFrameBars, AThemeTakenFromTheThemesPopupRepaintsTheFrame) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    XTP_COMMANDBARS_CREATECONTROL request{};
    request.nID = 2851;
    request.bToolBar = TRUE;
    request.pCommandBar = frame->GetMenuBar();
    frame->SendMessage(WM_XTP_CREATECONTROL, 0, reinterpret_cast<LPARAM>(&request));
    auto* popup = dynamic_cast<CXTPControlPopup*>(request.pControl);
    ASSERT_TRUE(popup != nullptr && popup->GetCommandBar() != nullptr);
    const auto themes = UIModuleProxy::Instance().GetThemes();
    ASSERT_EQ(popup->GetCommandBar()->GetControls()->GetCount(), static_cast<int>(themes.size()));
    for (size_t i = 0; i < themes.size(); ++i)
        EXPECT_EQ(popup->GetCommandBar()->GetControls()->GetAt(static_cast<int>(i))->GetCaption().GetString(),
                  themes[i].DisplayName);
    popup->InternalRelease();

    pal::test::pump();
    const pal::gdi::Surface light = pal::test::snapshot(frame->m_hWnd);
    EXPECT_TRUE(pal::test::keepSnapshot(light, "frame-theme-before"));
    const int dark = static_cast<int>(themes.size()) - 1;
    frame->SendMessage(WM_COMMAND, static_cast<WPARAM>(3401 + dark), 0);
    pal::test::pump();
    EXPECT_EQ(UIModuleProxy::Instance().GetCurrentTheme()->Number, dark);
    const pal::gdi::Surface after = pal::test::snapshot(frame->m_hWnd);
    EXPECT_TRUE(pal::test::keepSnapshot(after, "frame-theme-" + pal::text::toUtf8(themes.back().Name)));
    EXPECT_GT(pal::test::differingPixels(light, after), 1000u);
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

// What is chosen from the list a right click on the bars opens runs as the frame's command: a
// listed bar is shown or hidden, a theme taken.
TEST_F(MainFrameBars, AChoiceFromTheBarsRightClickListRunsAsTheFramesCommand) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    CDVRibbonCommandBars* bars = frame->GetRibbonCommandBars();
    CXTPPopupBar* popup = listPopup(frame);
    const std::vector<ToolBarListEntry> list = bars->GetToolBarList();
    popup->InternalRelease();
    const auto main = std::find_if(list.begin(), list.end(),
                                   [](const ToolBarListEntry& e) { return e.title == DVLoadString(41518); });
    ASSERT_NE(main, list.end());
    CXTPToolBar* bar = bars->GetToolBar(main->barId);
    ASSERT_TRUE(bar != nullptr && bar->IsVisible());
    CRect free;
    frame->GetMenuBar()->GetWindowRect(&free);
    const CPoint point(free.right - 20, free.CenterPoint().y);

    answer(700 + static_cast<int>(main - list.begin()));
    bars->ContextMenu(frame->GetMenuBar(), point);
    EXPECT_FALSE(bar->IsVisible()) << "the main tool bar is hidden";
    EXPECT_TRUE(bars->GetToolBarList().empty()) << "the list lives as long as its choice";

    const int last = static_cast<int>(UIModuleProxy::Instance().GetThemes().size()) - 1;
    answer(3401 + last);
    bars->ContextMenu(frame->GetMenuBar(), point);
    EXPECT_EQ(UIModuleProxy::Instance().GetCurrentTheme()->Number, last);
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

// The frame's frameless bars are the program's, made with the frame: they take its tips and the
// shortcuts of its key table.
TEST_F(MainFrameBars, TheFramesFramelessBarsAreTheProgramsWithItsTipsAndShortcuts) {
    CMainFrame* frame = classicFrame();
    ASSERT_NE(frame, nullptr);
    auto* frameless = dynamic_cast<CDVFramelessToolBars*>(frame->GetFramelessToolBars());
    ASSERT_NE(frameless, nullptr);
    EXPECT_FALSE(frame->InitFramelessToolBars()) << "made once";
    ASSERT_NE(dynamic_cast<CDVToolTipContext*>(frameless->GetToolTipContext()), nullptr)
        << "the program's cards, as on the frame's own bars";
    EXPECT_EQ(frameless->GetToolTipContext()->GetStyle(), xtpToolTipMarkup);
    CString main, copied;
    ASSERT_TRUE(frame->GetCommandBars()->GetShortcutManager()->FindDefaultAccelerator(57601, main));
    ASSERT_TRUE(frameless->GetShortcutManager()->FindDefaultAccelerator(57601, copied));
    EXPECT_EQ(copied, main) << "Ctrl+O of the program's key table";
}

} // namespace
} // namespace dvapp::test
