// What a person sees of the ribbon after start-up on the bundled configuration: every tab in
// turn, in a light and a dark theme, each button with its caption and its picture. The pictures
// are kept for a person to look at (DV_PAL_SNAPSHOTS).
#include "main_initialisation_fixture.h"

#include <cctype>

#include "DVTextCore/I18n.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/Ribbon.h"
#include "frame/CommandBars.h"
#include "pal/test/hooks.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "ribbon/ExtendedToolTip.h"
#include "ribbon/RibbonControls.h"
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"
#include "xtp/RibbonBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonTab.h"

namespace dvapp::test {
namespace {

std::string fileNameOf(const CString& caption) {
    std::string name;
    for (char c : pal::text::toUtf8(caption.GetString()))
        name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '-';
    return name;
}

// DravikCad started with its one frame in ribbon mode and laid out.
class StartedRibbon : public MainInitialisation {
protected:
    // The ribbon of the started frame, which `frame` is set to; null when either is missing.
    CXTPRibbonBar* startedInRibbonMode(CMainFrame*& frame) {
        if (!start())
            return nullptr;
        pal::test::pump();
        frame = onlyFrame();
        if (frame == nullptr)
            return nullptr;
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        frame->RecalcLayout();
        pal::test::pump();
        return DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
    }
};

TEST_F(StartedRibbon, EveryRibbonTabShowsEachButtonWithItsCaptionAndPictureInBothThemes) {
    CMainFrame* frame = nullptr;
    CXTPRibbonBar* ribbon = startedInRibbonMode(frame);
    ASSERT_NE(ribbon, nullptr);
    CXTPImageManager* images = frame->GetCommandBars()->GetImageManager();
    const std::wstring cannot = Dravik::I18n::Translate("commands.not_in_this_kernel");
    int shownTabs = 0;
    for (const char* theme : {"office2013light", "office2013dark"}) {
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(pal::text::fromUtf8(theme)));
        for (int t = 0; t < ribbon->GetTabCount(); ++t) {
            CXTPRibbonTab* tab = ribbon->GetTab(t);
            if (!tab->IsVisible())
                continue;
            ++shownTabs;
            ribbon->GetControlTab()->SetSelectedItem(tab);
            frame->RecalcLayout();
            pal::test::pump();
            SCOPED_TRACE(std::string(theme) + " " + pal::text::toUtf8(tab->GetCaption().GetString()));
            EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, std::string("ribbon-") + theme + "-" +
                                                                   std::to_string(t) + "-" +
                                                                   fileNameOf(tab->GetCaption())));
            for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
                CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
                EXPECT_FALSE(group->GetCaption().IsEmpty()) << "group " << g;
                for (int c = 0; c < group->GetCount(); ++c) {
                    CXTPControl* control = group->GetAt(c);
                    if (!control->IsVisible() || control->GetType() == xtpControlLabel)
                        continue;
                    SCOPED_TRACE("control " + std::to_string(control->GetID()));
                    EXPECT_FALSE(control->GetCaption().IsEmpty());
                    EXPECT_NE(images->GetImage(static_cast<UINT>(control->GetIconId()), 32), nullptr);
                    // A command the kernel cannot carry out is disabled and says so in its tip.
                    const DVCatalogueCommand* command = DVFindCatalogueCommand(control->GetID());
                    if (command != nullptr && !command->runs) {
                        EXPECT_FALSE(control->GetEnabled());
                        EXPECT_NE(std::wstring(control->GetTooltip().GetString()).find(cannot),
                                  std::wstring::npos);
                    }
                }
            }
        }
    }
    EXPECT_GT(shownTabs, 10);
    UIModuleProxy::Instance().SetTheme(L"office2013light");
}

// What an update handler said of a command.
class EnabledProbe : public CCmdUI {
public:
    void Enable(BOOL on) override { enabled = on != FALSE; }
    bool enabled = false;
};

// Whether a bar, menu or ribbon of the started frame would show a command enabled: its update
// handler's say, else whether any handler carries it out, as the command bars decide.
bool ShownEnabled(CMainFrame& frame, CWinApp& app, UINT id) {
    for (CCmdTarget* target : {static_cast<CCmdTarget*>(&frame), static_cast<CCmdTarget*>(&app)}) {
        EnabledProbe probe;
        probe.m_nID = id;
        if (target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr))
            return probe.enabled;
    }
    AFX_CMDHANDLERINFO handler;
    return frame.OnCmdMsg(id, CN_COMMAND, nullptr, &handler) ||
           app.OnCmdMsg(id, CN_COMMAND, nullptr, &handler);
}

TEST_F(StartedRibbon, EveryCommandTheKernelCannotCarryOutIsDisabled) {
    CMainFrame* frame = nullptr;
    ASSERT_NE(startedInRibbonMode(frame), nullptr);
    int cannot = 0;
    for (const DVCatalogueCommand& command : DVCommandCatalogue()) {
        if (command.runs)
            continue;
        ++cannot;
        EXPECT_FALSE(ShownEnabled(*frame, *app, command.id))
            << command.id << " " << pal::text::toUtf8(command.name);
    }
    EXPECT_GT(cannot, 100);
}

// The program's own frame narrowed to 900 pixels: the Home tab's groups give way one size at a
// time from the last group backwards, so nothing is cut off at the right; the tab row shows its
// arrows and the last tab is reached by them.
TEST_F(StartedRibbon, OnANarrowFrameTheGroupsGiveWayFromTheLastAndTheArrowsReachTheLastTab) {
    CMainFrame* frame = nullptr;
    CXTPRibbonBar* ribbon = startedInRibbonMode(frame);
    ASSERT_NE(ribbon, nullptr);
    CXTPRibbonTab* home = ribbon->GetTab(0);
    ribbon->GetControlTab()->SetSelectedItem(home);
    const auto narrowTo = [&](int width) {
        frame->SetWindowPos(nullptr, 0, 0, width, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        pal::test::pump();
    };
    const int groups = home->GetGroups()->GetCount();
    ASSERT_GT(groups, 2);
    std::vector<int> levels(static_cast<size_t>(groups), 0);
    std::vector<int> firstToGiveWay;
    for (int width = 1900; width >= 900; width -= 25) {
        narrowTo(width);
        for (int g = 0; g < groups; ++g) {
            CXTPRibbonGroup* group = home->GetGroups()->GetAt(g);
            if (!group->IsVisible())
                continue;
            EXPECT_LE(group->GetRect().right, ribbon->GetGroupsRect().right)
                << "group " << g << " at " << width;
            if (group->GetReduceLevel() != levels[static_cast<size_t>(g)] && firstToGiveWay.size() < 2)
                firstToGiveWay.push_back(g);
            levels[static_cast<size_t>(g)] = group->GetReduceLevel();
        }
    }
    ASSERT_FALSE(firstToGiveWay.empty()) << "at 900 pixels some group has given way";
    int lastVisible = groups - 1;
    while (lastVisible > 0 && !home->GetGroups()->GetAt(lastVisible)->IsVisible())
        --lastVisible;
    EXPECT_EQ(firstToGiveWay.front(), lastVisible) << "the last group gives way first";

    ASSERT_FALSE(ribbon->GetTabScrollButtonRect(TRUE).IsRectEmpty()) << "the tabs do not fit: arrows";
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "ribbon-frame-900"));
    CXTPRibbonTab* last = nullptr;
    for (int t = ribbon->GetTabCount() - 1; t >= 0 && last == nullptr; --t)
        if (ribbon->GetTab(t)->IsVisible())
            last = ribbon->GetTab(t);
    ASSERT_NE(last, nullptr);
    CPoint forward = ribbon->GetTabScrollButtonRect(TRUE).CenterPoint();
    ribbon->ClientToScreen(&forward);
    for (int i = 0; i < ribbon->GetTabCount() && last->GetRect().IsRectEmpty(); ++i) {
        pal::test::click(POINT{forward.x, forward.y});
        pal::test::pump();
    }
    EXPECT_FALSE(last->GetRect().IsRectEmpty()) << "the last tab is reached by the arrow";
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "ribbon-frame-900-end"));
}

// The pointer rests on the ribbon button of `id` on the first tab that shows it, until its tip
// shows; the tip window, or null when the button is on no tab.
DVExtendedToolTip* hoverRibbonButton(CMainFrame* frame, CXTPRibbonBar* ribbon, int id) {
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        CXTPRibbonTab* tab = ribbon->GetTab(t);
        if (!tab->IsVisible())
            continue;
        ribbon->GetControlTab()->SetSelectedItem(tab);
        frame->RecalcLayout();
        pal::test::pump();
        for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
            for (int c = 0; c < group->GetCount(); ++c) {
                CXTPControl* control = group->GetAt(c);
                if (control->GetID() != id || !control->IsVisible())
                    continue;
                CPoint at = control->GetRect().CenterPoint();
                ribbon->ClientToScreen(&at);
                pal::test::mouseMove(at);
                pal::test::pump();
                pal::test::advanceClock(::GetDoubleClickTime());
                pal::test::pump();
                return dynamic_cast<DVExtendedToolTip*>(
                    frame->GetCommandBars()->GetToolTipContext()->GetToolTip());
            }
        }
    }
    return nullptr;
}

TEST_F(StartedRibbon, ARibbonButtonsTipIsItsCommandCardWhichExpandsAfterTwoSeconds) {
    CMainFrame* frame = nullptr;
    CXTPRibbonBar* ribbon = startedInRibbonMode(frame);
    ASSERT_NE(ribbon, nullptr);

    // Save: a short card, with the keys the frame gives it.
    DVExtendedToolTip* tip = hoverRibbonButton(frame, ribbon, 1029);
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    ASSERT_TRUE(tip->IsOwnDrawn());
    EXPECT_EQ(tip->GetContent().title, L"Save");
    EXPECT_NE(tip->GetContent().keyboardCall.find(L"Ctrl+S"), std::wstring::npos)
        << pal::text::toUtf8(tip->GetContent().keyboardCall);
    EXPECT_FALSE(tip->IsExpandable());
    EXPECT_TRUE(pal::test::keepSnapshot(tip->m_hWnd, "command-card-short-save"));

    // Line: its description file adds a longer text and a picture after two seconds.
    tip = hoverRibbonButton(frame, ribbon, 1640);
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    ASSERT_TRUE(tip->IsExpandable());
    EXPECT_TRUE(pal::test::keepSnapshot(tip->m_hWnd, "command-card-line-compact"));
    advance(DVExtendedToolTip::kExpandDelay);
    pal::test::pump();
    ASSERT_TRUE(tip->IsExpanded());
    EXPECT_GT(tip->GetLayout().picture.cy, 0);
    EXPECT_TRUE(pal::test::keepSnapshot(tip->m_hWnd, "command-card-line-expanded"));

    // A dark theme leaves the card light and its text dark.
    ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(L"office2013dark"));
    tip = hoverRibbonButton(frame, ribbon, 1029);
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsOwnDrawn());
    EXPECT_TRUE(pal::test::keepSnapshot(tip->m_hWnd, "command-card-short-save-dark"));
    UIModuleProxy::Instance().SetTheme(L"office2013light");
}

// The started program's quick access bar ends with the tabs popup: a click lists the tabs a
// person may show or hide; and a tab of the collapsed ribbon opens as a popup of its copies.
TEST_F(StartedRibbon, TheTabsPopupAndACollapsedTabOpenFromTheRibbon) {
    CMainFrame* frame = nullptr;
    CXTPRibbonBar* ribbon = startedInRibbonMode(frame);
    ASSERT_NE(ribbon, nullptr);
    CXTPControls* access = ribbon->GetQuickAccessControls();
    ASSERT_GT(access->GetCount(), 0);
    auto* tabs = dynamic_cast<RibbonTabsPopup*>(access->GetAt(access->GetCount() - 1));
    ASSERT_NE(tabs, nullptr);
    auto click = [&](CPoint at) {
        ribbon->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ribbon->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        pal::test::pump();
    };
    click(tabs->GetRect().CenterPoint());
    ASSERT_TRUE(tabs->GetPopuped());
    CXTPControls* entries = tabs->GetCommandBar()->GetControls();
    int hideable = 0;
    for (int t = 0; t < ribbon->GetTabCount(); ++t)
        if (auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(t)))
            hideable += tab->CanBeHiddenByUser() && tab->GetContextColor() == xtpRibbonTabContextColorNone;
    EXPECT_GT(hideable, 10);
    EXPECT_EQ(entries->GetCount(), hideable + 1) << "one entry a tab, then the customise entry";
    EXPECT_EQ(entries->GetAt(0)->GetCaption(), ribbon->GetTab(0)->GetCaption());
    EXPECT_EQ(entries->GetAt(entries->GetCount() - 1)->GetID(), 9607);
    EXPECT_TRUE(pal::test::keepSnapshot(tabs->GetCommandBar()->m_hWnd, "program-ribbon-tabs-popup"));
    frame->GetCommandBars()->ClosePopups();

    ribbon->SetRibbonMinimized(TRUE);
    frame->RecalcLayout();
    pal::test::pump();
    click(ribbon->GetTab(0)->GetRect().CenterPoint());
    CXTPRibbonTabPopupToolBar* popup = ribbon->GetTabPopupToolBar();
    ASSERT_NE(dynamic_cast<RibbonTabPopupToolBar*>(popup), nullptr);
    EXPECT_TRUE(popup->IsOpen());
    ASSERT_EQ(popup->GetGroups()->GetCount(), ribbon->GetTab(0)->GetGroups()->GetCount());
    EXPECT_NE(popup->GetGroups()->GetAt(0)->GetAt(0), ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(0))
        << "copies, not the tab's own controls";
    EXPECT_TRUE(pal::test::keepSnapshot(popup->m_hWnd, "program-ribbon-collapsed-tab"));
    frame->GetCommandBars()->ClosePopups();
    ribbon->SetRibbonMinimized(FALSE);
}

} // namespace
} // namespace dvapp::test
