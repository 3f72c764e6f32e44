// The command bars in a live frame: clicks, keys, popups, the idle update and the frame's
// requests.
#include "bars_fixture.h"

namespace bars_test {
namespace {

using testing::ElementsAre;

TEST_F(BarsTest, BarsDockAroundTheClientInRowsAndTheMenuBarComesFirst) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    ASSERT_EQ(bars->GetCount(), 3);
    CRect menu, standard, edit, client;
    bars->GetMenuBar()->GetWindowRect(&menu);
    app.frame.standard->GetWindowRect(&standard);
    app.frame.edit->GetWindowRect(&edit);
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    EXPECT_EQ(menu.bottom, standard.top) << "the menu bar's row, then the standard bar's";
    EXPECT_EQ(standard.bottom, edit.top);
    EXPECT_EQ(edit.bottom, client.top) << "the client starts under the last row";
    CRect frameClient;
    app.frame.GetClientRect(&frameClient);
    EXPECT_EQ(menu.Width(), frameClient.Width()) << "the menu bar is stretched";
    EXPECT_LT(standard.Width(), frameClient.Width());

    // Hiding a bar gives its row to the client.
    app.frame.standard->SetVisible(FALSE);
    run.pump();
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    app.frame.edit->GetWindowRect(&edit);
    EXPECT_EQ(menu.bottom, edit.top);
    EXPECT_EQ(edit.bottom, client.top);
}

TEST_F(BarsTest, AButtonClickReachesTheFrameAndItsUpdateHandlerDisablesItAtTheNextIdle) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControl* save = app.frame.standard->FindControl(kSave);
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->GetEnabled());
    pal::test::click(at(save));
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 102"));

    app.frame.saveEnabled = false;
    EXPECT_TRUE(save->GetEnabled()) << "nothing changes before the idle update";
    app.frame.PostMessage(WM_NULL); // any message starts a new idle cycle
    run.pump();
    EXPECT_FALSE(save->GetEnabled());
    pal::test::click(at(save));
    run.pump();
    EXPECT_EQ(app.frame.log.size(), 1u) << "a disabled button does nothing";
    // A control with no handler at all is disabled too; a manual one is left alone.
    CXTPControl* orphan = app.frame.standard->GetControls()->Add(xtpControlButton, 9999);
    CXTPControl* manual = app.frame.standard->GetControls()->Add(xtpControlButton, 9998);
    manual->SetFlags(xtpFlagManualUpdate);
    app.frame.PostMessage(WM_NULL);
    run.pump();
    EXPECT_FALSE(orphan->GetEnabled());
    EXPECT_TRUE(manual->GetEnabled());
}

TEST_F(BarsTest, AMenuOpenedByAClickAndNavigatedByKeysRunsTheChosenCommand) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPMenuBar* menu = app.frame.GetCommandBars()->GetMenuBar();
    CXTPControl* fileItem = menu->GetControl(0);
    pal::test::click(at(fileItem));
    run.pump();
    CXTPPopupBar* file = openPopup(fileItem);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->IsOpen());
    EXPECT_EQ(app.frame.initPopups, 1) << "the frame finishes the popup before it shows";
    // Down twice: New, Open; Enter runs Open.
    pal::test::pressKey(VK_DOWN);
    pal::test::pressKey(VK_DOWN);
    run.pump();
    EXPECT_EQ(file->GetSelected(), 1);
    pal::test::pressKey(VK_RETURN);
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 101"));
    EXPECT_FALSE(file->IsOpen()) << "running a command closes the menus";
    EXPECT_EQ(app.frame.GetCommandBars()->GetTrackingBar(), nullptr);
}

TEST_F(BarsTest, AltAndAMnemonicOpenTheMenuAndArrowsReachANestedPopup) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPMenuBar* menu = app.frame.GetCommandBars()->GetMenuBar();
    pal::test::pressKey('E', {VK_MENU});
    run.pump();
    CXTPPopupBar* edit = openPopup(menu->GetControl(1));
    ASSERT_NE(edit, nullptr) << "Alt+E opens Edit";
    EXPECT_EQ(edit->GetSelected(), 0) << "from the keyboard the first item is selected";
    // Z is the Zoom submenu's letter: it opens; Right would too. Then O runs Zoom Out.
    pal::test::pressKey('Z');
    run.pump();
    CXTPPopupBar* zoom = openPopup(edit->GetControl(2));
    ASSERT_NE(zoom, nullptr);
    pal::test::pressKey(VK_LEFT);
    run.pump();
    EXPECT_EQ(openPopup(edit->GetControl(2)), nullptr) << "Left closes the submenu only";
    EXPECT_TRUE(edit->IsOpen());
    pal::test::pressKey(VK_RIGHT);
    run.pump();
    zoom = openPopup(edit->GetControl(2));
    ASSERT_NE(zoom, nullptr) << "Right on a submenu opens it";
    pal::test::pressKey('O');
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 122"));
    EXPECT_FALSE(edit->IsOpen());
}

TEST_F(BarsTest, AltAloneSelectsTheMenuBarArrowsMoveAndEscapeLeaves) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPMenuBar* menu = app.frame.GetCommandBars()->GetMenuBar();
    pal::test::pressKey(VK_MENU);
    run.pump();
    EXPECT_TRUE(menu->IsTrackingMode());
    EXPECT_EQ(menu->GetSelected(), 0);
    EXPECT_TRUE(menu->IsKeyboardCuesVisible());
    pal::test::pressKey(VK_RIGHT);
    run.pump();
    EXPECT_EQ(menu->GetSelected(), 1);
    pal::test::pressKey(VK_DOWN);
    run.pump();
    CXTPPopupBar* edit = openPopup(menu->GetControl(1));
    ASSERT_NE(edit, nullptr);
    // Right from a plain item moves to the next menu (wrapping to File).
    pal::test::pressKey(VK_RIGHT);
    run.pump();
    EXPECT_EQ(openPopup(menu->GetControl(1)), nullptr);
    EXPECT_NE(openPopup(menu->GetControl(0)), nullptr);
    pal::test::pressKey(VK_ESCAPE);
    run.pump();
    EXPECT_EQ(openPopup(menu->GetControl(0)), nullptr);
    EXPECT_TRUE(menu->IsTrackingMode()) << "Esc closes the menu, the bar stays selected";
    pal::test::pressKey(VK_ESCAPE);
    run.pump();
    EXPECT_FALSE(menu->IsTrackingMode());
    EXPECT_TRUE(app.frame.log.empty());
}

TEST_F(BarsTest, ASplitButtonRunsItsCommandFromTheButtonAndOpensFromTheArrow) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControl* zoom = app.frame.edit->FindControl(kZoom);
    ASSERT_EQ(zoom->GetType(), xtpControlSplitButtonPopup);
    pal::test::click(at(zoom, zoom->GetRect().Width() - 4));
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 120"));
    EXPECT_EQ(openPopup(zoom), nullptr);

    pal::test::click(at(zoom, 4));
    run.pump();
    CXTPPopupBar* popup = openPopup(zoom);
    ASSERT_NE(popup, nullptr) << "the arrow opens the popup";
    pal::test::click(at(popup->GetControl(0)));
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 120", "command 121"));
    EXPECT_EQ(openPopup(zoom), nullptr);
}

// A control that takes double clicks is told of them; another takes one as a press.
TEST_F(BarsTest, ADoubleClickGoesToAControlThatTakesIt) {
    struct Taker : CXTPControlButton {
        int doubles = 0;
        BOOL OnLButtonDblClk(CPoint) override { return ++doubles, TRUE; }
    };
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    auto* taker = new Taker;
    app.frame.standard->GetControls()->Add(taker, 4242);
    app.frame.RecalcLayout();
    run.pump();
    pal::test::doubleClick(at(taker));
    run.pump();
    EXPECT_EQ(taker->doubles, 1);

    // A plain button's double click is a second press: its command runs twice.
    app.frame.log.clear();
    CXTPControl* plain = app.frame.standard->GetControl(0);
    pal::test::doubleClick(at(plain));
    run.pump();
    EXPECT_EQ(app.frame.log.size(), 2u);
}

TEST_F(BarsTest, AClickOutsideClosesAnOpenPopupWithoutACommand) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControl* fileItem = app.frame.GetCommandBars()->GetMenuBar()->GetControl(0);
    pal::test::click(at(fileItem));
    run.pump();
    ASSERT_NE(openPopup(fileItem), nullptr);
    CRect client;
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    pal::test::click(CPoint(client.right - 20, client.bottom - 20));
    run.pump();
    EXPECT_EQ(openPopup(fileItem), nullptr);
    EXPECT_TRUE(app.frame.log.empty());
}

TEST_F(BarsTest, AComboBoxTellsTheFrameOfEditsAndOfChosenItems) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControlComboBox* scale = app.frame.scale;
    ASSERT_NE(scale->GetEditCtrl(), nullptr) << "the edit part is a real window";
    EXPECT_EQ(scale->GetEditText(), L"1:1");
    // Typing into the edit part.
    scale->GetEditCtrl()->SetFocus();
    scale->GetEditCtrl()->SetSel(0, -1);
    pal::test::pressKey('3');
    run.pump();
    EXPECT_EQ(scale->GetEditText(), L"3");
    EXPECT_THAT(app.frame.log, ElementsAre("scale edited 3"));
    app.frame.log.clear();
    // Dropping the list and choosing the third item.
    pal::test::click(at(scale, 6));
    run.pump();
    ASSERT_TRUE(scale->GetDroppedState());
    CXTPControlComboBoxList* list = scale->GetListBox();
    ASSERT_EQ(list->GetControlCount(), 4);
    pal::test::click(at(list->GetControl(2)));
    run.pump();
    EXPECT_FALSE(scale->GetDroppedState());
    EXPECT_EQ(scale->GetCurSel(), 2);
    EXPECT_EQ(scale->GetEditText(), L"1:5");
    EXPECT_THAT(app.frame.log, ElementsAre("scale selected 2", "command 130"));
}

TEST_F(BarsTest, TheFrameMakesTheControlsItAsksForAndFinishesEveryControl) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    const int before = app.frame.initControls;
    CXTPControl* made = app.frame.standard->GetControls()->Add(xtpControlButton, kMade);
    EXPECT_NE(dynamic_cast<MadeButton*>(made), nullptr) << "the frame's own class";
    CXTPControl* plain = app.frame.standard->GetControls()->Add(xtpControlButton, kCut);
    EXPECT_EQ(dynamic_cast<MadeButton*>(plain), nullptr);
    EXPECT_EQ(plain->GetRuntimeClass(), RUNTIME_CLASS(CXTPControlButton));
    EXPECT_EQ(app.frame.initControls, before + 2);
    run.pump(); // the bar lays out again at idle time
    pal::test::click(at(made));
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 140"));
}

TEST_F(BarsTest, TrackPopupMenuReturnsTheResponderChoice) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kCut, L"Cu&t");
    menu.AppendMenu(MF_STRING, kCopy, L"&Copy");
    answer(kCopy);
    EXPECT_EQ(app.frame.GetCommandBars()->TrackPopupMenu(&menu, TPM_RETURNCMD, 100, 100),
              static_cast<int>(kCopy));
    EXPECT_TRUE(app.frame.log.empty()) << "TPM_RETURNCMD only returns the choice";
    answer(kCut);
    EXPECT_NE(app.frame.GetCommandBars()->TrackPopupMenu(&menu, 0, 100, 100), 0);
    EXPECT_THAT(app.frame.log, ElementsAre("command 110"));
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, TheTipOfTheControlUnderThePointerShows) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControl* open = app.frame.standard->FindControl(kOpen);
    open->SetTooltip(L"Opens a drawing");
    pal::test::mouseMove(at(open));
    run.pump();
    CXTPToolTipContext* tips = app.frame.GetCommandBars()->GetToolTipContext();
    EXPECT_EQ(tips->GetText(), L"Opens a drawing");
    EXPECT_EQ(tips->GetToolTip()->GetToolId(), kOpen);
    ASSERT_NE(tips->GetToolTip()->m_hWnd, nullptr) << "a real tip window";
    pal::test::mouseMove(at(app.frame.standard->FindControl(kNew)));
    run.pump();
    EXPECT_EQ(tips->GetText(), L"New") << "without a tip of its own, the caption";
    EXPECT_TRUE(open->GetSelected() == FALSE);
}

// A kind of tip that measures and draws itself: a fixed size, and a count of its paints.
class SizedTip : public CXTPToolTipContextToolTip {
public:
    using CXTPToolTipContextToolTip::CXTPToolTipContextToolTip;
    int painted = 0;
    std::vector<BOOL> shown;

protected:
    CSize CalcToolSize(CDC*) override { return GetToolId() == kOpen ? CSize(123, 45) : CSize(0, 0); }
    void DrawContent(CDC*, CRect) override { ++painted; }
    void OnVisibleChanged(BOOL visible) override { shown.push_back(visible); }
};

class SizedTipContext : public CXTPToolTipContext {
public:
    SizedTip* made = nullptr;

protected:
    CXTPToolTipContextToolTip* CreateToolTip(CWnd* parent) override {
        made = new SizedTip(this);
        if (!made->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", GetControlStyle(), 0, 0, 0, 0,
                            parent != nullptr ? parent->GetSafeHwnd() : nullptr, nullptr)) {
            delete made;
            made = nullptr;
        }
        return made;
    }
};

TEST_F(BarsTest, AContextsOwnTipWindowSizesAndDrawsItsTipAndStaysWhileThePointerMovesOnItsTool) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    auto* context = new SizedTipContext;
    app.frame.GetCommandBars()->SetToolTipContext(context);
    CXTPControl* open = app.frame.standard->FindControl(kOpen);
    open->SetTooltip(L"Opens a drawing");
    pal::test::mouseMove(at(open));
    run.pump();
    advance(::GetDoubleClickTime());
    run.pump();
    ASSERT_NE(context->made, nullptr);
    ASSERT_TRUE(context->made->IsWindowVisible());
    EXPECT_TRUE(context->made->IsOwnDrawn());
    CRect rc;
    context->made->GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(123, 45));
    EXPECT_GT(context->made->painted, 0);
    EXPECT_EQ(context->made->shown, std::vector<BOOL>{TRUE});
    // A move within the same tool leaves the tip as it is.
    CPoint nearby = at(open);
    nearby.x += 1;
    pal::test::mouseMove(nearby);
    run.pump();
    EXPECT_TRUE(context->made->IsWindowVisible());
    EXPECT_EQ(context->made->shown, std::vector<BOOL>{TRUE});
    // A tool the window does not measure gets the control's plain tip.
    pal::test::mouseMove(at(app.frame.standard->FindControl(kNew)));
    run.pump();
    advance(::GetDoubleClickTime());
    run.pump();
    ASSERT_TRUE(context->made->IsWindowVisible());
    EXPECT_FALSE(context->made->IsOwnDrawn());
}

TEST_F(BarsTest, ATearOffPopupBecomesAFloatingBarWhoseButtonsWork) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    auto* zoom = static_cast<CXTPControlPopup*>(app.frame.edit->FindControl(kZoom));
    auto* popup = static_cast<CXTPPopupBar*>(zoom->GetCommandBar());
    popup->SetTearOffPopup(L"Zoom tools", 400, 200);
    pal::test::click(at(zoom, 4));
    run.pump();
    ASSERT_TRUE(popup->IsOpen());
    CRect strip = popup->GetTearOffRect();
    ASSERT_FALSE(strip.IsRectEmpty());
    CPoint p = strip.CenterPoint();
    popup->ClientToScreen(&p);
    pal::test::click(p);
    run.pump();
    EXPECT_FALSE(popup->IsOpen());
    CXTPToolBar* torn = app.frame.GetCommandBars()->GetToolBar(400);
    ASSERT_NE(torn, nullptr);
    EXPECT_EQ(torn->GetTitle(), L"Zoom tools");
    EXPECT_EQ(torn->GetPosition(), xtpBarFloating);
    EXPECT_TRUE(torn->IsVisible());
    ASSERT_EQ(torn->GetControlCount(), 2);
    pal::test::click(at(torn->GetControl(1)));
    run.pump();
    EXPECT_THAT(app.frame.log, ElementsAre("command 122"));
    // Tearing off again shows the same bar, never a second one.
    pal::test::click(at(zoom, 4));
    run.pump();
    p = popup->GetTearOffRect().CenterPoint();
    popup->ClientToScreen(&p);
    pal::test::click(p);
    run.pump();
    EXPECT_EQ(app.frame.GetCommandBars()->GetCount(), 4);
}

TEST_F(BarsTest, PrintPreviewHidesTheBarsAndGivesThemBackAfterwards) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CRect before, during, after, client;
    ::GetWindowRect(app.frame.m_hWndMDIClient, &before);
    app.frame.OnSetPreviewMode(TRUE, nullptr);
    run.pump();
    ::GetWindowRect(app.frame.m_hWndMDIClient, &during);
    app.frame.GetClientRect(&client);
    EXPECT_EQ(during.Height(), client.Height());
    EXPECT_FALSE(app.frame.standard->IsWindowVisible());
    app.frame.OnSetPreviewMode(FALSE, nullptr);
    run.pump();
    ::GetWindowRect(app.frame.m_hWndMDIClient, &after);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(app.frame.standard->IsWindowVisible());
}

TEST_F(BarsTest, TheRightClickMenuListsTheBarsAndTogglesOne) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    answer(L"Edit"); // the responder chooses by caption
    CRect bar;
    app.frame.standard->GetWindowRect(&bar);
    pal::test::click(CPoint(bar.right - 3, bar.CenterPoint().y), pal::test::MouseButton::Right);
    run.pump();
    EXPECT_FALSE(app.frame.edit->IsVisible());
    EXPECT_TRUE(app.frame.standard->IsVisible());
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, EnterInAnEditControlRunsItsCommandAndAGalleryRunsTheChosenItem) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    auto* edit = static_cast<CXTPControlEdit*>(app.frame.edit->GetControls()->Add(xtpControlEdit, kNew));
    auto* gallery =
        static_cast<CXTPControlGallery*>(app.frame.edit->GetControls()->Add(xtpControlGallery, kOpen));
    auto* items = new CXTPControlGalleryItems;
    items->SetItemSize(CSize(40, 20));
    for (int i = 0; i < 3; ++i)
        items->AddItem(500 + i, (L"G" + std::to_wstring(i)).c_str());
    gallery->SetItems(items);
    items->InternalRelease();
    run.pump();
    ASSERT_NE(edit->GetEditCtrl(), nullptr);
    edit->GetEditCtrl()->SetFocus();
    pal::test::pressKey('A');
    pal::test::pressKey(VK_RETURN);
    run.pump();
    EXPECT_EQ(edit->GetEditText(), L"a");
    EXPECT_THAT(app.frame.log, ElementsAre("command 100"));

    CRect second = gallery->GetItemRect(1);
    CPoint p = second.CenterPoint();
    app.frame.edit->ClientToScreen(&p);
    pal::test::click(p);
    run.pump();
    EXPECT_EQ(gallery->GetSelectedItem(), 1);
    EXPECT_THAT(app.frame.log, ElementsAre("command 100", "command 101"));
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, ABarDockedRightOfAnotherSharesItsRowAndABarOfNoEdgeStaysHidden) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    bars->DockRightOf(app.frame.edit, app.frame.standard);
    CXTPToolBar* nowhere = bars->Add(L"Nowhere", xtpBarNone);
    nowhere->GetControls()->Add(xtpControlButton, kCut)->SetCaption(L"Cut");
    run.pump();
    CRect standard, edit;
    app.frame.standard->GetWindowRect(&standard);
    app.frame.edit->GetWindowRect(&edit);
    EXPECT_EQ(edit.top, standard.top);
    EXPECT_EQ(edit.left, standard.right);
    EXPECT_FALSE(nowhere->m_hWnd != nullptr && nowhere->IsWindowVisible());
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, HiddenCommandsLeaveShortMenusUntilFullMenusAreAsked) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    static const UINT hidden[] = {kOpen};
    bars->HideCommands(hidden, 1);
    bars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    CXTPControl* fileItem = bars->GetMenuBar()->GetControl(0);
    pal::test::click(at(fileItem));
    run.pump();
    CXTPPopupBar* file = openPopup(fileItem);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->FindControl(kOpen)->GetRect().IsRectEmpty());
    EXPECT_FALSE(file->FindControl(kNew)->GetRect().IsRectEmpty());
    bars->ClosePopups();
    bars->GetCommandBarsOptions()->bAlwaysShowFullMenus = TRUE;
    pal::test::click(at(fileItem));
    run.pump();
    EXPECT_FALSE(openPopup(fileItem)->FindControl(kOpen)->GetRect().IsRectEmpty());
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, ABarDraggedByItsGripperFloatsAndDocksAgainOnAnEdge) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPToolBar* bar = app.frame.standard;
    CPoint grip = bar->GetGripperRect().CenterPoint();
    bar->ClientToScreen(&grip);
    CRect client;
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    const CPoint middle = client.CenterPoint();
    // Each step is handled before the next: the bar captures the pointer on the press.
    pal::test::mouseDown(grip);
    run.pump();
    pal::test::mouseMove(CPoint(grip.x + 20, grip.y + 20));
    run.pump();
    pal::test::mouseUp(middle);
    run.pump();
    ASSERT_EQ(bar->GetPosition(), xtpBarFloating);
    CRect floating;
    bar->GetWindowRect(&floating);
    EXPECT_TRUE(floating.PtInRect(middle)) << "it floats where it was let go";
    EXPECT_TRUE(bar->IsWindowVisible());

    // Dragged by its title onto the right edge, it docks there and the client makes room.
    CPoint title = bar->GetGripperRect().CenterPoint();
    bar->ClientToScreen(&title);
    pal::test::mouseDown(title);
    run.pump();
    pal::test::mouseMove(CPoint(client.right - 10, middle.y));
    run.pump();
    pal::test::mouseUp(CPoint(client.right - 5, middle.y));
    run.pump();
    EXPECT_EQ(bar->GetPosition(), xtpBarRight);
    CRect docked, after;
    bar->GetWindowRect(&docked);
    ::GetWindowRect(app.frame.m_hWndMDIClient, &after);
    EXPECT_EQ(after.right, docked.left);
}

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, TheKeysOfAComboBoxEditChooseFromItsDroppedList) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPControlComboBox* scale = app.frame.scale;
    scale->GetEditCtrl()->SetFocus();
    pal::test::pressKey(VK_F4);
    run.pump();
    ASSERT_TRUE(scale->GetDroppedState());
    EXPECT_EQ(scale->GetListBox()->GetSelected(), 0) << "the current item";
    pal::test::pressKey(VK_DOWN);
    pal::test::pressKey(VK_DOWN);
    pal::test::pressKey(VK_DOWN);
    pal::test::pressKey(VK_RETURN);
    run.pump();
    EXPECT_FALSE(scale->GetDroppedState());
    EXPECT_EQ(scale->GetEditText(), L"2:1");
    EXPECT_THAT(app.frame.log, ElementsAre("scale selected 3", "command 130"));
}

// A bar stretched along its row ends its right-aligned controls at the row's end; in a bar of
// its controls' own length they follow the others.
TEST_F(BarsTest, RightAlignedControlsOfAStretchedBarEndWhereItsRowEnds) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPToolBar* bar = app.frame.standard;
    CXTPControl* right = bar->GetControls()->Add(xtpControlButton, kPaste);
    right->SetFlags(xtpFlagRightAlign);
    CXTPControl* before = bar->GetControl(right->GetIndex() - 1);
    bar->CalcDynamicSize(600, 0);
    EXPECT_EQ(right->GetRect().left, before->GetRect().right) << "not stretched: in line";
    bar->SetFlags(bar->GetFlags() | xtpFlagStretched);
    EXPECT_EQ(bar->CalcDynamicSize(600, 0).cx, 600);
    EXPECT_EQ(right->GetRect().right, 596);
    EXPECT_LT(before->GetRect().right, right->GetRect().left);
}

} // namespace
} // namespace bars_test
