// The platform's message order on create, show, activate, focus, enable, move and destroy,
// as tables of expected sequences.
#include "recorder.h"

#include <gtest/gtest.h>

namespace usertest {
namespace {

using Seq = std::vector<std::string>;

struct Case {
    const char* name;
    std::function<void(RecordedTest&)> setup; // not recorded
    std::function<void(RecordedTest&)> act;   // recorded
    Seq expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class SequenceTest : public RecordedTest, public ::testing::WithParamInterface<Case> {
public:
    // Made public so the table's lambdas can build their windows.
    using RecordedTest::create;
    using RecordedTest::recorder;
    using RecordedTest::win;
};

constexpr DWORD kFrame = WS_OVERLAPPEDWINDOW;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

void frameWithChild(RecordedTest& t) {
    auto& s = static_cast<SequenceTest&>(t);
    HWND frame = s.create("frame", kFrame | WS_VISIBLE);
    HWND edit = s.create("edit", kChild, frame, {5, 5, 105, 25}, 7);
    SetFocus(edit);
}

// A list inside the frame holds an item, and the item holds the focus.
void frameWithNestedFocus(RecordedTest& t) {
    auto& s = static_cast<SequenceTest&>(t);
    HWND frame = s.create("frame", kFrame | WS_VISIBLE);
    HWND list = s.create("list", kChild, frame, {5, 30, 105, 90}, 8);
    SetFocus(s.create("item", kChild, list, {1, 1, 20, 20}, 9));
}

void frameWithHiddenChild(RecordedTest& t) {
    auto& s = static_cast<SequenceTest&>(t);
    s.create("edit", WS_CHILD, s.create("frame", kFrame | WS_VISIBLE), {5, 5, 105, 25}, 7);
}

void showWithSetWindowPos(RecordedTest& t, const char* name, UINT extra) {
    SetWindowPos(static_cast<SequenceTest&>(t).win(name), nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | extra);
}

const Case kCases[] = {
    {"CreateHiddenTopLevelWaitsForShowToSizeIt",
     nullptr,
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame); },
     {"frame:WM_GETMINMAXINFO", "frame:WM_NCCREATE", "frame:WM_NCCALCSIZE", "frame:WM_CREATE"}},
    {"CreateHiddenPopupSizesItAtOnce",
     nullptr,
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("popup", WS_POPUP); },
     {"popup:WM_NCCREATE", "popup:WM_NCCALCSIZE", "popup:WM_CREATE", "popup:WM_SIZE", "popup:WM_MOVE"}},
    {"FirstShowSizesAHiddenTopLevel",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame); },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_SHOWNA); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", "frame:WM_SIZE",
      "frame:WM_MOVE"}},
    {"LaterShowsDoNotSizeAgain",
     [](RecordedTest& t) {
         HWND frame = static_cast<SequenceTest&>(t).create("frame", kFrame);
         ShowWindow(frame, SW_SHOWNA);
         ShowWindow(frame, SW_HIDE);
     },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_SHOWNA); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED"}},
    {"CreateVisibleTopLevelActivatesItThenSizesIt",
     nullptr,
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     {"frame:WM_GETMINMAXINFO", "frame:WM_NCCREATE", "frame:WM_NCCALCSIZE", "frame:WM_CREATE",
      "frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGING",
      "frame:WM_ACTIVATEAPP", "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "frame:WM_SETFOCUS",
      "frame:WM_WINDOWPOSCHANGED", "frame:WM_SIZE", "frame:WM_MOVE"}},
    {"CreateVisibleChildNotifiesParentBeforeShowing",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("edit", kChild, s.win("frame"), {5, 5, 105, 25}, 7);
     },
     {"edit:WM_NCCREATE", "edit:WM_NCCALCSIZE", "edit:WM_CREATE", "edit:WM_SIZE", "edit:WM_MOVE",
      "frame:WM_PARENTNOTIFY", "edit:WM_SHOWWINDOW", "edit:WM_WINDOWPOSCHANGING",
      "edit:WM_WINDOWPOSCHANGED"}},
    {"ShowTakesActivationAndFocusFromAnother",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         ShowWindow(s.create("frame", kFrame), SW_SHOWNA);
         ShowWindow(s.win("frame"), SW_HIDE);
     },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_SHOW); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "other:WM_NCACTIVATE", "other:WM_ACTIVATE",
      "frame:WM_WINDOWPOSCHANGING", "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "other:WM_KILLFOCUS",
      "frame:WM_SETFOCUS", "frame:WM_WINDOWPOSCHANGED"}},
    {"ActivatingALowerWindowRaisesItBeforeActivatingIt",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         s.create("frame", kFrame | WS_VISIBLE);
     },
     [](RecordedTest& t) { SetActiveWindow(static_cast<SequenceTest&>(t).win("other")); },
     {"frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "other:WM_WINDOWPOSCHANGING", "other:WM_WINDOWPOSCHANGED",
      "other:WM_NCACTIVATE", "other:WM_ACTIVATE", "frame:WM_KILLFOCUS", "other:WM_SETFOCUS"}},
    {"ShowNoActivateLeavesActivationAlone",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         ShowWindow(s.create("frame", kFrame), SW_SHOWNA);
         ShowWindow(s.win("frame"), SW_HIDE);
     },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_SHOWNA); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED"}},
    {"HidingTheActiveWindowActivatesTheNext",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         s.create("frame", kFrame | WS_VISIBLE);
     },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_HIDE); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED",
      optional("frame:WM_SIZE"), optional("frame:WM_MOVE"), "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE",
      "other:WM_WINDOWPOSCHANGING", "other:WM_WINDOWPOSCHANGED", "other:WM_NCACTIVATE", "other:WM_ACTIVATE",
      "frame:WM_KILLFOCUS", "other:WM_SETFOCUS"}},
    // A window made hidden and shown by SetWindowPos has not heard its first size yet; when it
    // hides, it hears it before it is deactivated.
    {"AHiddenWindowHearsItsSizeBeforeItIsDeactivated",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         s.create("frame", kFrame);
         showWithSetWindowPos(t, "frame", 0);
     },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_HIDE); },
     {"frame:WM_SHOWWINDOW", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED",
      optional("frame:WM_SIZE"), optional("frame:WM_MOVE"), "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE",
      "other:WM_WINDOWPOSCHANGING", "other:WM_WINDOWPOSCHANGED", "other:WM_NCACTIVATE", "other:WM_ACTIVATE",
      "frame:WM_KILLFOCUS", "other:WM_SETFOCUS"}},
    {"AHiddenWindowShownMaximisedIsActivatedThenSizedWithoutShowWindow",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame); },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_SHOWMAXIMIZED); },
     {"frame:WM_GETMINMAXINFO", "frame:WM_WINDOWPOSCHANGING", optional("frame:WM_GETMINMAXINFO"),
      "frame:WM_NCCALCSIZE", "frame:WM_WINDOWPOSCHANGING", "frame:WM_ACTIVATEAPP", "frame:WM_NCACTIVATE",
      "frame:WM_ACTIVATE", "frame:WM_SETFOCUS", "frame:WM_WINDOWPOSCHANGED", "frame:WM_SIZE",
      "frame:WM_MOVE"}},
    {"HidingTheActiveWindowWithNoActivateStillPassesActivationOn",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         s.create("frame", kFrame | WS_VISIBLE);
     },
     [](RecordedTest& t) {
         SetWindowPos(static_cast<SequenceTest&>(t).win("frame"), nullptr, 0, 0, 0, 0,
                      SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
     },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", optional("frame:WM_SIZE"),
      optional("frame:WM_MOVE"), "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "other:WM_WINDOWPOSCHANGING",
      "other:WM_WINDOWPOSCHANGED", "other:WM_NCACTIVATE", "other:WM_ACTIVATE", "frame:WM_KILLFOCUS",
      "other:WM_SETFOCUS"}},
    // How a modal dialog ends: its owner is enabled first, so the activation the hidden dialog
    // passes on goes to the owner, and the owner's control that had the focus gets it back.
    {"AnOwnerEnabledBeforeItsPopupHidesTakesActivationAndItsFocusBack",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         HWND popup = s.create("popup", WS_POPUP | WS_CAPTION, s.win("frame"));
         EnableWindow(s.win("frame"), FALSE);
         ShowWindow(popup, SW_SHOW);
     },
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         EnableWindow(s.win("frame"), TRUE);
         SetWindowPos(s.win("popup"), nullptr, 0, 0, 0, 0,
                      SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
     },
     {"frame:WM_ENABLE", "popup:WM_WINDOWPOSCHANGING", "popup:WM_WINDOWPOSCHANGED", "popup:WM_NCACTIVATE",
      "popup:WM_ACTIVATE", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", "frame:WM_NCACTIVATE",
      "frame:WM_ACTIVATE", "popup:WM_KILLFOCUS", "edit:WM_SETFOCUS"}},
    {"ActivationGivesTheFocusBackToTheChildThatHeldIt",
     [](RecordedTest& t) {
         frameWithChild(t);
         static_cast<SequenceTest&>(t).create("other", kFrame | WS_VISIBLE);
     },
     [](RecordedTest& t) { SetActiveWindow(static_cast<SequenceTest&>(t).win("frame")); },
     {"other:WM_NCACTIVATE", "other:WM_ACTIVATE", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED",
      "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "other:WM_KILLFOCUS", "edit:WM_SETFOCUS"}},
    {"ActivationTakesTheFocusItselfWhenItsChildCanNoLongerHaveIt",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         s.create("other", kFrame | WS_VISIBLE);
         ShowWindow(s.win("edit"), SW_HIDE);
     },
     [](RecordedTest& t) { SetActiveWindow(static_cast<SequenceTest&>(t).win("frame")); },
     {"other:WM_NCACTIVATE", "other:WM_ACTIVATE", "frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED",
      "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "other:WM_KILLFOCUS", "frame:WM_SETFOCUS"}},
    {"ShowingAHiddenChildWithSetWindowPosActivatesTheChild",
     frameWithHiddenChild,
     [](RecordedTest& t) { showWithSetWindowPos(t, "edit", 0); },
     {"edit:WM_WINDOWPOSCHANGING", "edit:WM_CHILDACTIVATE", "edit:WM_WINDOWPOSCHANGED"}},
    {"ShowingAHiddenChildWithNoActivateLeavesItAlone",
     frameWithHiddenChild,
     [](RecordedTest& t) { showWithSetWindowPos(t, "edit", SWP_NOACTIVATE); },
     {"edit:WM_WINDOWPOSCHANGING", "edit:WM_WINDOWPOSCHANGED"}},
    {"HidingTheFocusChildGivesTheFocusToItsParent",
     frameWithChild,
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("edit"), SW_HIDE); },
     {"edit:WM_SHOWWINDOW", "edit:WM_WINDOWPOSCHANGING", "edit:WM_WINDOWPOSCHANGED", "edit:WM_KILLFOCUS",
      "frame:WM_SETFOCUS"}},
    {"FocusMovesBetweenChildren",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         s.create("list", kChild, s.win("frame"), {5, 30, 105, 90}, 8);
     },
     [](RecordedTest& t) { SetFocus(static_cast<SequenceTest&>(t).win("list")); },
     {"edit:WM_KILLFOCUS", "list:WM_SETFOCUS"}},
    {"DisablingTakesTheFocusAway",
     frameWithChild,
     [](RecordedTest& t) { EnableWindow(static_cast<SequenceTest&>(t).win("frame"), FALSE); },
     {"frame:WM_CANCELMODE", "edit:WM_KILLFOCUS", "frame:WM_ENABLE"}},
    {"EnablingSendsEnableOnly",
     [](RecordedTest& t) {
         frameWithChild(t);
         EnableWindow(static_cast<SequenceTest&>(t).win("edit"), FALSE);
     },
     [](RecordedTest& t) { EnableWindow(static_cast<SequenceTest&>(t).win("edit"), TRUE); },
     {"edit:WM_ENABLE"}},
    {"MovingSendsMoveOnly",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     [](RecordedTest& t) {
         SetWindowPos(static_cast<SequenceTest&>(t).win("frame"), nullptr, 50, 60, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER);
     },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", "frame:WM_MOVE"}},
    {"MovingWithTheSameSizeIsNoResize",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     [](RecordedTest& t) { MoveWindow(static_cast<SequenceTest&>(t).win("frame"), 50, 60, 400, 300, TRUE); },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", "frame:WM_MOVE"}},
    {"SizingAsksLimitsWhileChangingAndRecalculatesTheClient",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     [](RecordedTest& t) {
         SetWindowPos(static_cast<SequenceTest&>(t).win("frame"), nullptr, 0, 0, 600, 500,
                      SWP_NOMOVE | SWP_NOZORDER);
     },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_GETMINMAXINFO", "frame:WM_NCCALCSIZE",
      "frame:WM_WINDOWPOSCHANGED", "frame:WM_SIZE"}},
    {"SizingAWindowThatHandlesPosChangingItselfAsksNoLimits",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("frame", kFrame | WS_VISIBLE);
         s.recorder.hook = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
             r = 0;
             return m == WM_WINDOWPOSCHANGING;
         };
     },
     [](RecordedTest& t) {
         SetWindowPos(static_cast<SequenceTest&>(t).win("frame"), nullptr, 0, 0, 600, 500,
                      SWP_NOMOVE | SWP_NOZORDER);
     },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_NCCALCSIZE", "frame:WM_WINDOWPOSCHANGED", "frame:WM_SIZE"}},
    {"MaximisingMovesAndSizes",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame | WS_VISIBLE); },
     [](RecordedTest& t) { ShowWindow(static_cast<SequenceTest&>(t).win("frame"), SW_MAXIMIZE); },
     {"frame:WM_GETMINMAXINFO", "frame:WM_WINDOWPOSCHANGING", "frame:WM_NCCALCSIZE",
      "frame:WM_WINDOWPOSCHANGED", "frame:WM_MOVE", "frame:WM_SIZE"}},
    {"DestroyingAChildNotifiesTheParentFirst",
     frameWithChild,
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("edit")); },
     {"frame:WM_PARENTNOTIFY", "edit:WM_SHOWWINDOW", "edit:WM_WINDOWPOSCHANGING", "edit:WM_WINDOWPOSCHANGED",
      "edit:WM_KILLFOCUS", "frame:WM_SETFOCUS", "edit:WM_DESTROY", "edit:WM_NCDESTROY"}},
    {"DestroyingAChildHandsTheFocusOfItsDescendantToTheParent",
     frameWithNestedFocus,
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("list")); },
     {"frame:WM_PARENTNOTIFY", "list:WM_SHOWWINDOW", "list:WM_WINDOWPOSCHANGING", "list:WM_WINDOWPOSCHANGED",
      "item:WM_KILLFOCUS", "frame:WM_SETFOCUS", "list:WM_DESTROY", "item:WM_DESTROY", "item:WM_NCDESTROY",
      "list:WM_NCDESTROY"}},
    {"DestroyingAHiddenChildWithTheFocusHandsItToTheParent",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         ShowWindow(s.win("edit"), SW_HIDE);
         SetFocus(s.win("edit"));
     },
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("edit")); },
     {"frame:WM_PARENTNOTIFY", "edit:WM_KILLFOCUS", "frame:WM_SETFOCUS", "edit:WM_DESTROY",
      "edit:WM_NCDESTROY"}},
    {"DestroyingAChildWithoutTheFocusLeavesTheFocusAlone",
     [](RecordedTest& t) {
         frameWithNestedFocus(t);
         auto& s = static_cast<SequenceTest&>(t);
         s.create("edit", kChild, s.win("frame"), {5, 5, 105, 25}, 7);
     },
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("edit")); },
     {"frame:WM_PARENTNOTIFY", "edit:WM_SHOWWINDOW", "edit:WM_WINDOWPOSCHANGING", "edit:WM_WINDOWPOSCHANGED",
      "edit:WM_DESTROY", "edit:WM_NCDESTROY"}},
    {"DestroyGoesParentFirstAndNcDestroyChildrenFirst",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         HWND list = s.create("list", kChild, s.win("frame"), {5, 30, 105, 90}, 8);
         s.create("item", kChild, list, {1, 1, 20, 20}, 9);
     },
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("frame")); },
     {"frame:WM_WINDOWPOSCHANGING", "frame:WM_WINDOWPOSCHANGED", "frame:WM_NCACTIVATE", "frame:WM_ACTIVATE",
      "frame:WM_ACTIVATEAPP", "edit:WM_KILLFOCUS", "frame:WM_DESTROY", "edit:WM_DESTROY", "list:WM_DESTROY",
      "item:WM_DESTROY", "edit:WM_NCDESTROY", "item:WM_NCDESTROY", "list:WM_NCDESTROY",
      "frame:WM_NCDESTROY"}},
    {"DestroyingAnOwnerDestroysItsOwnedWindowsFirst",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         HWND frame = s.create("frame", kFrame);
         s.create("popup", WS_POPUP, frame);
     },
     [](RecordedTest& t) { DestroyWindow(static_cast<SequenceTest&>(t).win("frame")); },
     {"popup:WM_DESTROY", "popup:WM_NCDESTROY", "frame:WM_DESTROY", "frame:WM_NCDESTROY"}},
    {"CloseDestroysByDefault",
     [](RecordedTest& t) { static_cast<SequenceTest&>(t).create("frame", kFrame); },
     [](RecordedTest& t) { SendMessageW(static_cast<SequenceTest&>(t).win("frame"), WM_CLOSE, 0, 0); },
     {"frame:WM_CLOSE", "frame:WM_DESTROY", "frame:WM_NCDESTROY"}},
    {"SetParentPutsAChildOnTopOfItsNewSiblingsAndTellsIt",
     [](RecordedTest& t) {
         frameWithChild(t);
         auto& s = static_cast<SequenceTest&>(t);
         s.create("list", kChild, s.win("frame"), {5, 30, 105, 90}, 8);
     },
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         SetParent(s.win("edit"), s.win("list"));
     },
     {"edit:WM_WINDOWPOSCHANGING", "edit:WM_WINDOWPOSCHANGED"}},
    {"SetParentOfTheActivePopupHandsActivationToItsNewTopLevelWindow",
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         s.create("frame", kFrame | WS_VISIBLE);
         s.create("popup", WS_POPUP | WS_VISIBLE, nullptr, {20, 20, 120, 120});
     },
     [](RecordedTest& t) {
         auto& s = static_cast<SequenceTest&>(t);
         SetParent(s.win("popup"), s.win("frame"));
     },
     {"popup:WM_NCACTIVATE", "popup:WM_ACTIVATE", "frame:WM_WINDOWPOSCHANGING", "frame:WM_NCACTIVATE",
      "frame:WM_ACTIVATE", "popup:WM_WINDOWPOSCHANGING", "popup:WM_WINDOWPOSCHANGED"}},
    {"AnotherApplicationTakingTheForegroundDeactivates",
     frameWithChild,
     [](RecordedTest&) { pal::test::activateOtherApplication(); },
     {"frame:WM_NCACTIVATE", "frame:WM_ACTIVATE", "frame:WM_ACTIVATEAPP", "edit:WM_KILLFOCUS"}},
};

TEST_P(SequenceTest, MessagesArriveInThePlatformsOrder) {
    const Case& c = GetParam();
    if (c.setup)
        c.setup(*this);
    take();
    c.act(*this);
    const Seq got = take();
    EXPECT_TRUE(sameOrder(got, c.expected)) << describeOrder(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SequenceTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

class PaintTest : public RecordedTest {};

TEST_F(PaintTest, PumpPaintsParentsBeforeChildrenOnceFrameAndBackgroundFirst) {
    HWND frame = create("frame", kFrame | WS_VISIBLE);
    create("edit", kChild, frame, {5, 5, 105, 25}, 7);
    take();
    pal::test::pump();
    EXPECT_EQ(take(), (Seq{"frame:WM_PAINT", "frame:WM_NCPAINT", "frame:WM_ERASEBKGND", "edit:WM_PAINT",
                           "edit:WM_ERASEBKGND"}));
    pal::test::pump();
    EXPECT_TRUE(take().empty()) << "a painted window is not painted again";
}

TEST_F(PaintTest, ClipChildrenKeepsTheInvalidationToTheParent) {
    HWND frame = create("frame", kFrame | WS_VISIBLE | WS_CLIPCHILDREN);
    create("edit", kChild, frame, {5, 5, 105, 25}, 7);
    pal::test::pump();
    take();
    InvalidateRect(frame, nullptr, FALSE);
    pal::test::pump();
    EXPECT_EQ(take(), (Seq{"frame:WM_PAINT"}));
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(take(), (Seq{"frame:WM_PAINT", "edit:WM_PAINT"})) << "painted at once, without the pump";
}

TEST_F(PaintTest, PaintComesAfterPostedMessagesAndUpdateRegionsMerge) {
    HWND frame = create("frame", kFrame | WS_VISIBLE);
    pal::test::pump();
    recorder.hook = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_PAINT) {
            PAINTSTRUCT ps{};
            BeginPaint(h, &ps);
            EXPECT_EQ(ps.rcPaint.left, 10);
            EXPECT_EQ(ps.rcPaint.right, 60);
            EXPECT_EQ(ps.rcPaint.bottom, 40);
            EndPaint(h, &ps);
            return true;
        }
        return false;
    };
    take();
    RECT a{10, 10, 20, 20}, b{50, 30, 60, 40};
    InvalidateRect(frame, &a, FALSE);
    InvalidateRect(frame, &b, FALSE);
    PostMessageW(frame, WM_USER + 1, 0, 0);
    pal::test::pump();
    EXPECT_EQ(take(), (Seq{"frame:WM_USER+1", "frame:WM_PAINT"}));
}

TEST_F(PaintTest, AProcedureThatDoesNotPaintIsNotAskedForever) {
    HWND frame = create("frame", kFrame | WS_VISIBLE);
    recorder.hook = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        r = 0;
        return m == WM_PAINT; // neither BeginPaint nor DefWindowProc
    };
    const auto result = pal::test::pump();
    EXPECT_EQ(result.dispatched, 1u);
    RECT r{};
    EXPECT_FALSE(GetUpdateRect(frame, &r, FALSE));
}

} // namespace
} // namespace usertest
