// Definitions applied onto live bars of a frame, saved back, and the UI library's own bar
// classes: fixable bars, the redraw lock, the main menu as one popup, the pane list, the popup
// that stands for the item chosen from it and the pop-up tool bar.
#include "DravikUI/AutoMenu.h"
#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/FixableToolBar.h"
#include "DravikUI/PopupControls.h"
#include "DravikUI/PopupToolBar.h"
#include "DravikUI/ToolBars.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/DockingPaneManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace XML = Dravik::UI::XML;

// A control the frame makes itself from a definition, as the program's factory does.
class FileButton : public CXTPControlButton {};

class Frame : public CXTPMDIFrameWnd {
public:
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        GetCommandBars()->SetMenu(L"Menu Bar");
        return 0;
    }
    // Every command has a handler here, so that the bars show them enabled.
    void OnAnyCommand(UINT) {}
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(1, 60000, &Frame::OnAnyCommand)
ON_UPDATE_COMMAND_UI_RANGE(1, 60000, &Frame::OnUpdateAny)
END_MESSAGE_MAP()

using App = pal::test::OneFrameApp<Frame>;

class BarsTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
    }
    void TearDown() override {
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    CXTPCommandBars* bars() { return app.frame.GetCommandBars(); }
    static Dravik::UI::MainFrameState fixtureState(const char* name) {
        const char* source = std::getenv("DV_SOURCE_DIR");
        XML::Document document;
        EXPECT_TRUE(document.loadFile(std::filesystem::path(source ? source : ".") /
                                      "outside/DravikUI/tests/fixtures/xml" / name));
        Dravik::UI::MainFrameState state;
        EXPECT_TRUE(state.load(document.root(), XML::FormatVersion));
        state.resolvePopupBars();
        return state;
    }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }

    App app{L"Definitions", CRect(40, 40, 900, 400)};
    std::unique_ptr<pal::test::AppRun> run;
};

// Captions as the program gives them from its commands, for a picture a person can read.
void nameCommands(CXTPCommandBar* bar) {
    for (CXTPControl* control : *bar->GetControls()) {
        if (control->GetCaption().IsEmpty())
            control->SetCaption((L"Command " + std::to_wstring(control->GetID())).c_str());
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup && popup->GetCommandBar())
            nameCommands(popup->GetCommandBar());
    }
}

std::vector<int> idsOf(const std::vector<XML::Control>& controls) {
    std::vector<int> ids;
    for (const XML::Control& control : controls)
        ids.push_back(control.id);
    return ids;
}

TEST_F(BarsTest, DefinitionsAppliedOntoLiveBarsSaveBackAsTheyWere) {
    const Dravik::UI::MainFrameState state = fixtureState("full.xml");
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    XML::ApplicationParameters parameters;
    parameters.createControl = [](const XML::Control& definition, CXTPCommandBar*) -> CXTPControl* {
        return definition.findExtra(L"fileName") != nullptr ? new FileButton : nullptr;
    };
    parameters.handleAttribute = [&](CXTPControl* control, const std::wstring& name,
                                     const std::wstring& value) {
        attributes.emplace_back(name, value);
        if (name == L"fileName")
            control->SetParameter(value.c_str());
    };

    CXTPMenuBar* menuBar = bars()->GetMenuBar();
    state.menuBar->apply(menuBar, parameters);
    std::vector<CXTPToolBar*> toolBars;
    for (const XML::ToolBar& definition : state.toolBars) {
        CXTPToolBar* bar = bars()->Add(definition.caption.c_str(), xtpBarTop);
        bar->SetBarID(static_cast<UINT>(definition.id));
        definition.apply(bar, parameters);
        toolBars.push_back(bar);
    }
    bars()->RecalcFrameLayout();
    run->pump();
    EXPECT_FALSE(toolBars[0]->IsVisible()) << "the definition hides it";
    EXPECT_TRUE(toolBars[1]->IsVisible());

    ASSERT_EQ(menuBar->GetControlCount(), 2);
    auto* file = dynamic_cast<CXTPControlPopup*>(menuBar->GetControl(0));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetCaption(), L"&File");
    ASSERT_NE(file->GetCommandBar(), nullptr);
    EXPECT_EQ(file->GetCommandBar()->GetControlCount(), 5);
    EXPECT_TRUE(file->GetCommandBar()->GetControl(2)->GetBeginGroup());
    EXPECT_NE(dynamic_cast<FileButton*>(menuBar->GetControl(1)), nullptr) << "the application made it";
    EXPECT_EQ(menuBar->GetControl(1)->GetParameter(), L"<Standard>bolt.grb");
    EXPECT_EQ(attributes, (std::vector<std::pair<std::wstring, std::wstring>>{
                              {L"fileName", L"<Standard>bolt.grb"}, {L"anchor", L"help"}}));
    nameCommands(menuBar);
    toolBars[0]->SetVisible(TRUE);
    for (CXTPToolBar* bar : toolBars)
        nameCommands(bar);
    bars()->RecalcFrameLayout();
    run->pump();
    CRect rc = file->GetRect();
    CPoint middle = rc.CenterPoint();
    menuBar->ClientToScreen(&middle);
    pal::test::click(middle);
    run->pump();
    ASSERT_TRUE(file->GetPopuped());
    snapshot(app.frame.GetSafeHwnd(), "definitions-applied");
    snapshot(file->GetCommandBar()->GetSafeHwnd(), "definitions-applied-file-menu");
    bars()->ClosePopups();
    run->pump();

    XML::ToolBar saved;
    XML::SavingParameters saving;
    saving.writeExtraAttributes = [](CXTPControl* control, XML::Control& definition) {
        if (!control->GetParameter().IsEmpty())
            definition.extra.push_back({L"fileName", control->GetParameter().GetString()});
    };
    saved.save(menuBar, XML::FormatVersion, saving);
    ASSERT_EQ(saved.controls.size(), 2u);
    EXPECT_EQ(saved.controls[0].caption, L"&File");
    EXPECT_EQ(idsOf(saved.controls[0].controls), idsOf(state.menuBar->controls[0].controls));
    EXPECT_EQ(saved.controls[0].controls[2].toolTip, L"Open a document");
    EXPECT_EQ(saved.controls[0].controls[3].controls.size(), 3u) << "a popup's controls are saved with it";
    EXPECT_EQ(*saved.controls[1].findExtra(L"fileName"), L"<Standard>bolt.grb");

    XML::ToolBar context;
    context.save(toolBars[0], XML::FormatVersion, {});
    EXPECT_EQ(idsOf(context.controls), idsOf(state.toolBars[0].controls));
    EXPECT_TRUE(context.controls[2].beginGroup);
}

// A popup the application makes with buttons of its own (a command's popup comes filled) shows
// the stored buttons in their place: applied and saved again, session after session, the state
// stays as it was instead of gaining a copy of the buttons each time.
TEST_F(BarsTest, AStoredPopupsButtonsReplaceThoseItsControlWasMadeWith) {
    XML::ApplicationParameters parameters;
    parameters.createControl = [this](const XML::Control& definition, CXTPCommandBar*) -> CXTPControl* {
        if (definition.tag != XML::TagNames::SplitButtonPopup)
            return nullptr;
        CXTPControlPopup* popup = CXTPControlPopup::CreateControlPopup(xtpControlSplitButtonPopup);
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars());
        popup->SetCommandBar(bar);
        bar->InternalRelease();
        for (const int id : {1065, 2044, 1202})
            bar->GetControls()->Add(xtpControlButton, id);
        return popup;
    };
    const auto control = [](std::wstring_view tag, int id) {
        XML::Control made;
        made.tag = tag;
        made.id = id;
        return made;
    };
    XML::ToolBar stored;
    stored.caption = L"Standard";
    XML::Control split = control(XML::TagNames::SplitButtonPopup, 1065);
    split.controls = {control(XML::TagNames::Button, 2044), control(XML::TagNames::Button, 1065)};
    stored.controls = {split, control(XML::TagNames::Button, 1001)};
    CXTPToolBar* bar = bars()->Add(L"Standard", xtpBarTop);
    for (int session = 1; session <= 3; ++session) {
        SCOPED_TRACE("session " + std::to_string(session));
        stored.apply(bar, parameters);
        XML::ToolBar saved;
        saved.save(bar, XML::FormatVersion, {});
        ASSERT_EQ(idsOf(saved.controls), (std::vector<int>{1065, 1001}));
        EXPECT_EQ(idsOf(saved.controls[0].controls), (std::vector<int>{2044, 1065}));
        stored = saved;
    }
}

TEST_F(BarsTest, AFixedBarHasNoGripperAndDoesNotDock) {
    auto* bar = new Dravik::UI::FixableToolBar;
    ASSERT_TRUE(bars()->Add(bar, L"Fixable", xtpBarTop));
    CXTPToolBar* plain = bars()->Add(L"Plain", xtpBarTop);
    EXPECT_TRUE(Dravik::UI::IsFixable(bar));
    EXPECT_FALSE(Dravik::UI::IsFixable(plain));
    EXPECT_FALSE(Dravik::UI::IsFixable(nullptr));

    const DWORD docking = bar->GetDockingFlags();
    Dravik::UI::Fix(bar, true);
    EXPECT_TRUE(Dravik::UI::IsFixed(bar));
    EXPECT_FALSE(bar->IsShowGripper());
    EXPECT_EQ(bar->GetDockingFlags(), 0u);
    EXPECT_FALSE(Dravik::UI::FixableToolBarDockContext(bar).CanStartDrag());
    Dravik::UI::Fix(plain, true);
    EXPECT_FALSE(Dravik::UI::IsFixed(plain)) << "a plain bar is left alone";

    Dravik::UI::Fix(bar, false);
    EXPECT_FALSE(Dravik::UI::IsFixed(bar));
    EXPECT_TRUE(bar->IsShowGripper());
    EXPECT_EQ(bar->GetDockingFlags(), docking);
    EXPECT_TRUE(Dravik::UI::FixableToolBarDockContext(bar).CanStartDrag());

    // Any tool-bar class made fixable is fixable: the menu bar too.
    auto* menu = new Dravik::UI::GenericFixableToolBar<CXTPMenuBar>;
    ASSERT_TRUE(bars()->Add(menu, L"Fixable menu", xtpBarTop));
    EXPECT_TRUE(Dravik::UI::IsFixable(menu));
    Dravik::UI::Fix(menu, true);
    EXPECT_TRUE(Dravik::UI::IsFixed(menu));
    EXPECT_FALSE(menu->IsShowGripper());
}

// A bar that counts its paintings.
class CountingBar : public CXTPToolBar {
public:
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override {
        ++paintings;
        CXTPToolBar::DrawCommandBar(pDC, rcClipBox);
    }
    int paintings = 0;
};

TEST_F(BarsTest, TheRedrawLockNestsAndReleasesAtTheLastUnlock) {
    auto* bar = new CountingBar;
    ASSERT_TRUE(bars()->Add(bar, L"Locked", xtpBarTop));
    bar->GetControls()->Add(xtpControlButton, 1)->SetCaption(L"Button");
    bar->SetVisible(TRUE);
    app.frame.ShowWindow(SW_SHOW);
    app.frame.RecalcLayout();
    const auto paintNow = [bar] {
        bar->Invalidate(FALSE);
        bar->UpdateWindow();
    };
    paintNow();
    const int before = bar->paintings;
    ASSERT_GT(before, 0) << "an unlocked bar paints";
    Dravik::UI::LockRedraw(bar);
    Dravik::UI::LockRedraw(bar);
    paintNow();
    Dravik::UI::UnlockRedraw(bar);
    EXPECT_TRUE(Dravik::UI::IsRedrawLocked(bar));
    paintNow();
    EXPECT_EQ(bar->paintings, before) << "a locked bar paints nothing";
    Dravik::UI::UnlockRedraw(bar);
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(bar));
    EXPECT_EQ(bar->paintings, before + 1) << "the last unlock paints what was missed, once";
    Dravik::UI::UnlockRedraw(bar); // one unlock too many changes nothing
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(bar));
}

TEST_F(BarsTest, ThePseudoMenuBarShowsTheMenusAsTheyAreWhenItOpens) {
    CXTPMenuBar* menuBar = bars()->GetMenuBar();
    auto* file = static_cast<CXTPControlPopup*>(menuBar->GetControls()->Add(xtpControlPopup, 0));
    file->SetCaption(L"&File");
    auto* menus = new Dravik::UI::PseudoMenuBar(menuBar, L"Menu", 1);
    CXTPToolBar* bar = bars()->Add(L"Bar", xtpBarTop);
    bar->GetControls()->Add(menus, 900);
    menus->UpdateControls();
    ASSERT_NE(menus->GetCommandBar(), nullptr);
    EXPECT_EQ(menus->GetCommandBar()->GetControlCount(), 1);

    menuBar->GetControls()->Add(xtpControlPopup, 0)->SetCaption(L"&Help");
    menus->UpdateControls();
    ASSERT_EQ(menus->GetCommandBar()->GetControlCount(), 2);
    EXPECT_EQ(menus->GetCommandBar()->GetControl(1)->GetCaption(), L"&Help");
    EXPECT_EQ(menus->GetCaption(), L"Menu");
}

TEST_F(BarsTest, ThePaneListHasOneItemPerTitledPaneCheckedWhileOpen) {
    CXTPDockingPaneManager manager;
    ASSERT_TRUE(manager.InstallDockingPanes(&app.frame));
    CXTPDockingPane* tree = manager.CreatePane(1001, CRect(0, 0, 200, 200), xtpPaneDockLeft);
    CXTPDockingPane* log = manager.CreatePane(1002, CRect(0, 0, 200, 200), xtpPaneDockBottom);
    manager.CreatePane(1003, CRect(0, 0, 200, 200), xtpPaneDockRight);
    tree->SetTitle(L"Tree");
    log->SetTitle(L"Log");
    manager.ClosePane(log);

    auto* popup = new Dravik::UI::DockingPanesPopup(&manager);
    CXTPToolBar* bar = bars()->Add(L"Panes", xtpBarTop);
    bar->GetControls()->Add(popup, 2852);
    popup->UpdateControls();
    app.frame.RecalcLayout();
    run->pump();
    ASSERT_TRUE(bar->SetPopuped(popup->GetIndex()));
    CXTPCommandBar* items = popup->GetCommandBar();
    ASSERT_EQ(items->GetControlCount(), 2) << "the pane without a title is not listed";
    EXPECT_EQ(items->GetControl(0)->GetCaption(), L"Log");
    EXPECT_FALSE(items->GetControl(0)->GetChecked());
    EXPECT_EQ(items->GetControl(1)->GetCaption(), L"Tree");
    EXPECT_TRUE(items->GetControl(1)->GetChecked());

    items->GetControl(0)->OnExecute();
    EXPECT_FALSE(log->IsClosed()) << "choosing a closed pane opens it";
    EXPECT_FALSE(popup->GetPopuped()) << "the list closes as any chosen item's popup does";
    popup->UpdateControls();
    EXPECT_TRUE(popup->GetCommandBar()->GetControl(0)->GetChecked());
}

TEST_F(BarsTest, AnAutoPopupTakesOverTheChosenItemOnlyWithItsMirrorFlag) {
    auto* popup = new Dravik::UI::AutoPopup;
    CXTPToolBar* bar = bars()->Add(L"Auto", xtpBarTop);
    bar->GetControls()->Add(popup, 1270);
    popup->SetCaption(L"Snaps");
    CXTPControl chosen;
    chosen.SetID(1271);
    chosen.SetCaption(L"Horizontal");
    chosen.SetDescription(L"Snaps horizontally");
    chosen.SetChecked(TRUE);

    popup->TakeOver(&chosen);
    EXPECT_EQ(popup->GetID(), 1270) << "without the mirror flag nothing changes";
    popup->SetMirrorChosenItem(true);
    popup->TakeOver(&chosen);
    EXPECT_EQ(popup->GetID(), 1271);
    EXPECT_TRUE(popup->GetChecked());
    EXPECT_EQ(popup->GetDescription(), L"Snaps horizontally");
    EXPECT_EQ(popup->GetCaption(), L"Snaps") << "the caption stays without the take-caption flag";
    popup->SetTakeCaption(true);
    popup->TakeOver(&chosen);
    EXPECT_EQ(popup->GetCaption(), L"Horizontal");
}

TEST_F(BarsTest, ThePopupToolBarShowsASetAndEveryOneHides) {
    auto* popup = new Dravik::UI::PopupToolBar;
    ASSERT_TRUE(bars()->Add(popup, L"Pop-up", xtpBarFloating));
    Dravik::UI::PopupToolBar::ButtonSet set;
    set.objectType = 3;
    set.buttons = {{1713, true}, {0, false}, {1714, false}};
    popup->ShowButtonSet(set, CPoint(300, 300));
    EXPECT_TRUE(popup->IsVisible());
    EXPECT_EQ(popup->GetControlCount(), 2);
    EXPECT_EQ(popup->GetButtonSet(), set);
    popup->GetControls()->GetAt(0)->SetCaption(L"Properties");
    EXPECT_EQ(popup->GetCommandCaption(1713), L"Properties");
    EXPECT_EQ(popup->GetCommandCaption(1), L"");

    Dravik::UI::PopupToolBar::HidePopupToolBar();
    EXPECT_FALSE(popup->IsVisible());
    popup->ShowButtonSet({}, CPoint(0, 0));
    EXPECT_FALSE(popup->IsVisible()) << "an empty set shows nothing";
}

} // namespace

namespace {

TEST_F(BarsTest, TheAutoMenuShowsTheRunningCommandsButtonsWithTheirHints) {
    EXPECT_EQ(Dravik::UI::AutoMenuController::Instance(), nullptr);
    {
        Dravik::UI::AutoMenuController controller;
        EXPECT_EQ(Dravik::UI::AutoMenuController::Instance(), &controller);
        auto* bar = new Dravik::UI::AutoMenuToolBar;
        ASSERT_TRUE(bars()->Add(bar, L"Auto menu", xtpBarTop));
        CXTPToolBar* other = bars()->Add(L"Other", xtpBarTop);
        EXPECT_TRUE(controller.HasToolBar(bar));
        EXPECT_FALSE(controller.HasToolBar(other));

        controller.SetButtons({{6001, 0, L"Chamfer", L"Make a chamfer"},
                               {6500, 1713, L"Radius", L"Enter the radius"},
                               {7000, 0, L"Not an auto-menu id", L""}});
        ASSERT_EQ(bar->GetControlCount(), 2);
        EXPECT_EQ(bar->GetControl(0)->GetCaption(), L"Chamfer");
        EXPECT_EQ(bar->GetControl(0)->GetTooltip(), L"Make a chamfer");
        EXPECT_EQ(bar->GetControl(1)->GetIconId(), 1713);
        EXPECT_EQ(controller.GetButtonHint(6500), L"Enter the radius");
        EXPECT_EQ(controller.GetButtonHint(6000), L"");
        std::wstring hint;
        EXPECT_FALSE(controller.GetCmdHint(7000, hint));

        XTP_COMMANDBARS_CREATECONTROL request;
        request.nID = 6001;
        request.pCommandBar = other;
        EXPECT_FALSE(controller.OnCreateControl(&request)) << "only the auto menu's bars";

        controller.SetButtons({});
        EXPECT_EQ(bar->GetControlCount(), 0);
    }
    EXPECT_EQ(Dravik::UI::AutoMenuController::Instance(), nullptr);
}

} // namespace

namespace {

TEST_F(BarsTest, AFixedBarStaysWhereItIsWhenDraggedByItsGripper) {
    auto* bar = new Dravik::UI::FixableToolBar;
    ASSERT_TRUE(bars()->Add(bar, L"Fixable", xtpBarTop));
    bar->GetControls()->Add(xtpControlButton, 1065)->SetCaption(L"New");
    bars()->RecalcFrameLayout();
    run->pump();
    CPoint grip = bar->GetGripperRect().CenterPoint();
    bar->ClientToScreen(&grip);
    CRect client;
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    const CPoint middle = client.CenterPoint();
    const auto drag = [&] {
        pal::test::mouseDown(grip);
        run->pump();
        pal::test::mouseMove(CPoint(grip.x + 20, grip.y + 20));
        run->pump();
        pal::test::mouseUp(middle);
        run->pump();
    };

    Dravik::UI::Fix(bar, true);
    bars()->RecalcFrameLayout();
    run->pump();
    drag();
    EXPECT_EQ(bar->GetPosition(), xtpBarTop) << "fixed, it does not move";

    Dravik::UI::Fix(bar, false);
    bars()->RecalcFrameLayout();
    run->pump();
    drag();
    EXPECT_EQ(bar->GetPosition(), xtpBarFloating) << "free again, it floats where it is let go";
}

} // namespace

namespace {

TEST_F(BarsTest, ThePopupTriangleSitsInTheControlsBottomRightCorner) {
    CXTPToolBar* bar = bars()->Add(L"Triangle", xtpBarTop);
    CXTPControl* control = bar->GetControls()->Add(xtpControlButtonPopup, 1065);
    control->SetRect(CRect(0, 0, 40, 30));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 40, 30};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CDC* dc = CDC::FromHandle(memory);
    Dravik::UI::DrawPopupTriangle(dc, control);
    const COLORREF text = CXTPPaintManager::Current()->GetColors().clrText;
    EXPECT_EQ(::GetPixel(memory, 36, 26), text) << "inside the triangle";
    EXPECT_EQ(::GetPixel(memory, 30, 20), RGB(255, 255, 255)) << "above its slope";
    EXPECT_EQ(::GetPixel(memory, 5, 5), RGB(255, 255, 255));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

TEST(FramelessToolBarPositions, EveryBarIsOnUntilTheSettingsSayOtherwise) {
    using Dravik::UI::FramelessToolBarPositions;
    const FramelessToolBarPositions initial = Dravik::UI::GetFramelessToolBarPositions();
    for (int position : {initial.autoMenu, initial.selectionFilter, initial.split, initial.view,
                         initial.editInPlace, initial.feaTaskModel, initial.drawingView})
        EXPECT_GE(position, 0);
    FramelessToolBarPositions changed = initial;
    changed.view = -2;
    changed.split = -1;
    Dravik::UI::SetFramelessToolBarPositions(changed);
    EXPECT_EQ(Dravik::UI::GetFramelessToolBarPositions().view, -2);
    EXPECT_EQ(Dravik::UI::GetFramelessToolBarPositions().split, -1);
    EXPECT_EQ(Dravik::UI::GetFramelessToolBarPositions().autoMenu, initial.autoMenu);
    Dravik::UI::SetFramelessToolBarPositions(initial);
}

} // namespace
