// Buttons and statics: what a click, Space and BM_* do to their state, and what the parent hears.
#include "notifications.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

struct ButtonCase {
    const char* name;
    LPCWSTR className;
    DWORD style;
    std::function<void(ControlTest&, HWND)> act;
    Log expected;
    int check; // BM_GETCHECK afterwards
};

void PrintTo(const ButtonCase& c, std::ostream* os) {
    *os << c.name;
}

class ButtonOrder : public ControlTest, public ::testing::WithParamInterface<ButtonCase> {
public:
    using ControlTest::clickAt;
    using ControlTest::press;
};

auto clickIt = [](ControlTest& t, HWND b) { static_cast<ButtonOrder&>(t).clickAt(b, 5, 5); };
auto clickTwice = [](ControlTest& t, HWND b) {
    static_cast<ButtonOrder&>(t).clickAt(b, 5, 5);
    static_cast<ButtonOrder&>(t).clickAt(b, 5, 5);
};
auto spaceThrice = [](ControlTest& t, HWND b) {
    SetFocus(b);
    for (int i = 0; i < 3; ++i)
        static_cast<ButtonOrder&>(t).press(VK_SPACE);
};

const ButtonCase kButtons[] = {
    {"PushButtonClick", L"Button", BS_PUSHBUTTON, clickIt, {"7:BN_CLICKED"}, BST_UNCHECKED},
    {"NotifyingPushButtonTellsFocusAndHighlight",
     L"Button",
     BS_PUSHBUTTON | BS_NOTIFY,
     clickIt,
     {"7:BN_SETFOCUS", "7:BN_HILITE", "7:BN_UNHILITE", "7:BN_CLICKED"},
     BST_UNCHECKED},
    {"AutoCheckBoxChecksBeforeItTells", L"Button", BS_AUTOCHECKBOX, clickIt, {"7:BN_CLICKED"}, BST_CHECKED},
    {"AutoCheckBoxClickedTwiceIsClear",
     L"Button",
     BS_AUTOCHECKBOX,
     clickTwice,
     {"7:BN_CLICKED", "7:BN_CLICKED"},
     BST_UNCHECKED},
    {"PlainCheckBoxLeavesItsStateToTheParent",
     L"Button",
     BS_CHECKBOX,
     clickIt,
     {"7:BN_CLICKED"},
     BST_UNCHECKED},
    {"Auto3StateCyclesWithSpace",
     L"Button",
     BS_AUTO3STATE,
     spaceThrice,
     {"7:BN_CLICKED", "7:BN_CLICKED", "7:BN_CLICKED"},
     BST_UNCHECKED},
    {"AutoRadioChecksItself", L"Button", BS_AUTORADIOBUTTON, clickIt, {"7:BN_CLICKED"}, BST_CHECKED},
    {"OwnerDrawnButtonClick", L"Button", BS_OWNERDRAW, clickIt, {"7:BN_CLICKED"}, BST_UNCHECKED},
    {"GroupBoxLetsClicksThrough", L"Button", BS_GROUPBOX, clickIt, {}, BST_UNCHECKED},
    {"DisabledButtonIgnoresBmClick",
     L"Button",
     BS_PUSHBUTTON | WS_DISABLED,
     [](ControlTest&, HWND b) { SendMessageW(b, BM_CLICK, 0, 0); },
     {},
     BST_UNCHECKED},
    {"NotifyingStaticTellsClicks", L"Static", SS_LEFT | SS_NOTIFY, clickIt, {"7:STN_CLICKED"}, BST_UNCHECKED},
    {"PlainStaticIsTransparentToClicks", L"Static", SS_LEFT, clickIt, {}, BST_UNCHECKED},
};

TEST_P(ButtonOrder, ParentHearsThePlatformsOrder) {
    const ButtonCase& c = GetParam();
    const HWND b = make(c.className, L"&Option", c.style, {10, 10, 110, 34}, 7);
    take();
    c.act(*this, b);
    EXPECT_EQ(take(), c.expected);
    if (std::wstring(c.className) == L"Button") {
        EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), c.check);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonOrder, ::testing::ValuesIn(kButtons),
                         [](const auto& info) { return std::string(info.param.name); });

using ButtonTest = ControlTest;

TEST_F(ButtonTest, AutoRadioButtonsOfAGroupClearEachOtherAndOnlyTheCheckedOneIsATabStop) {
    const HWND a = make(L"Button", L"A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {10, 10, 110, 30}, 1);
    const HWND b = make(L"Button", L"B", BS_AUTORADIOBUTTON, {10, 40, 110, 60}, 2);
    const HWND plain = make(L"Button", L"P", BS_RADIOBUTTON, {120, 10, 220, 30}, 4);
    const HWND other = make(L"Button", L"C", BS_AUTORADIOBUTTON | WS_GROUP, {10, 70, 110, 90}, 3);
    SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
    clickAt(a, 5, 5);
    EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "a radio button that is not automatic too";
    clickAt(b, 5, 5);
    EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group is left alone";
    EXPECT_FALSE(GetWindowLongW(a, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(ButtonTest, CheckValuesAreKeptToWhatTheStyleCanShow) {
    const HWND twoState = make(L"Button", L"", BS_AUTOCHECKBOX, {0, 0, 50, 20}, 1);
    const HWND threeState = make(L"Button", L"", BS_AUTO3STATE, {0, 30, 50, 50}, 2);
    const HWND push = make(L"Button", L"", BS_PUSHBUTTON, {0, 60, 50, 80}, 3);
    const struct {
        HWND button;
        WPARAM set;
        LRESULT got;
    } cases[] = {
        {twoState, BST_INDETERMINATE, BST_CHECKED},
        {threeState, BST_INDETERMINATE, BST_INDETERMINATE},
        {threeState, 7, BST_UNCHECKED},
        {push, BST_CHECKED, BST_UNCHECKED},
    };
    for (const auto& c : cases) {
        SendMessageW(c.button, BM_SETCHECK, c.set, 0);
        EXPECT_EQ(SendMessageW(c.button, BM_GETCHECK, 0, 0), c.got) << "set " << c.set;
    }
}

TEST_F(ButtonTest, IconButtonKeepsItsImageByKind) {
    const HWND b = make(L"Button", L"", BS_ICON | BS_PUSHBUTTON, {0, 0, 24, 24}, 1);
    const auto icon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x1234));
    EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, 9, 0), 0) << "an unknown kind changes nothing";
    EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(icon));
}

TEST_F(ButtonTest, PressedStateFollowsTheMouseAndALeaveCancelsTheClick) {
    const HWND b = make(L"Button", L"Go", BS_PUSHBUTTON, {10, 10, 110, 34}, 7);
    POINT inside{5, 5}, outside{300, 300};
    ClientToScreen(b, &inside);
    ClientToScreen(b, &outside);
    pal::test::mouseDown(inside);
    pump();
    EXPECT_TRUE(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    pal::test::mouseMove(outside);
    pump();
    EXPECT_FALSE(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    pal::test::mouseUp(outside);
    EXPECT_EQ(take(), Log{}) << "released outside: no click";
}

TEST_F(ButtonTest, StaticShowsOnlyTheImageKindOfItsStyle) {
    const HWND icon = make(L"Static", L"", SS_ICON, {0, 0, 32, 32}, 1);
    const HWND text = make(L"Static", L"Label", SS_LEFT, {0, 40, 100, 60}, 2);
    const auto image = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x4321));
    SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(image));
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageW(text, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image)), 0);
    EXPECT_EQ(SendMessageW(text, STM_GETIMAGE, IMAGE_ICON, 0), 0);
}

} // namespace
} // namespace controlstest
