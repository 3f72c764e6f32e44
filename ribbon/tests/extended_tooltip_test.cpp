// The command cards of the command bars' tips: their size from the texts they hold (measured
// with fixed metrics), and the tip window that shows a card, expands it after two seconds and
// leaves the plain tip to commands without a card or when extended tips are off.
#include "ribbon/ExtendedToolTip.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "afxwin.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "xtp/CommandBars.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/ShortcutManager.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every character 6 pixels wide (7 in bold), lines 13 pixels high (14 in bold); wrapped text
// breaks into as many full lines as its width needs.
class FixedMetrics : public CommandCardMetrics {
public:
    SIZE MeasureText(const std::wstring& text, bool bold, int wrapWidth) const override {
        const int width = static_cast<int>(text.size()) * (bold ? 7 : 6);
        const int line = bold ? 14 : 13;
        if (wrapWidth <= 0 || width <= wrapWidth)
            return SIZE{width, line};
        return SIZE{wrapWidth, line * ((width + wrapWidth - 1) / wrapWidth)};
    }
};

CommandCardContent card(std::wstring title, std::wstring description = {}, std::wstring extended = {},
                        std::wstring keys = {}, std::wstring name = {}, bool hint = false,
                        SIZE picture = {0, 0}) {
    CommandCardContent content;
    content.title = std::move(title);
    content.description = std::move(description);
    content.extendedDescription = std::move(extended);
    content.keyboardCall = std::move(keys);
    content.name = std::move(name);
    content.helpHint = hint;
    content.picture = picture;
    return content;
}

int labelled(const std::wstring& label, const std::wstring& value) {
    return static_cast<int>(label.size()) * 6 + static_cast<int>(value.size()) * 7;
}

class CommandCardTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
    }
};

TEST_F(CommandCardTest, ACardIsSizedFromItsTextsPictureAndLowerLines) {
    constexpr int kWide = 44 * 6; // the 44 letters A that a card with a description is wide
    const std::wstring keys = CommandCardKeyboardCallLabel();
    const std::wstring name = CommandCardNameLabel();
    const int hint = static_cast<int>(CommandCardHelpHint().size()) * 6;
    struct Case {
        const char* what;
        CommandCardContent content;
        SIZE tip;
        int extra;
        bool expandable;
        bool separator;
    };
    const std::wstring hundred(100, L'x');
    const Case cases[] = {
        {"a title alone keeps the first width", card(L"Line"), {200 + 20, 14 + 10 + 10}, 0, false, false},
        {"a description makes the card 44 letters wide",
         card(L"Line", L"Draws a line."),
         {kWide + 20, 14 + 10 + 13 + 10},
         0,
         false,
         false},
        {"a long title widens the card",
         card(std::wstring(50, L'T')),
         {350 + 20, 14 + 10 + 10},
         0,
         false,
         false},
        {"a long description wraps",
         card(L"Line", hundred),
         {kWide + 20, 14 + 10 + 3 * 13 + 10},
         0,
         false,
         false},
        {"the longer text and its picture come as extra height",
         card(L"Line", L"Draws a line.", hundred, L"", L"", false, {100, 50}),
         {kWide + 20, 14 + 10 + 13 + 10},
         3 * 13 + 132 - 13,
         true,
         false},
        {"a picture without a longer text is in the compact card",
         card(L"Line", L"Draws a line.", L"", L"", L"", false, {100, 50}),
         {kWide + 20, 14 + 10 + 13 + 132 + 10},
         0,
         false,
         false},
        {"keys, name and hint stand below a separator",
         card(L"Line", L"Draws a line.", L"", L"Ctrl+L", L"DrawLine", true),
         {kWide + 20, 14 + 10 + 13 + 14 + 14 + 13 + 10 + 6},
         0,
         false,
         true},
        {"a lower line wider than the card widens it",
         card(L"Line", L"", L"", std::wstring(40, L'K')),
         {std::max(200, labelled(keys, std::wstring(40, L'K'))) + 20, 14 + 10 + 14 + 10 + 6},
         0,
         false,
         true},
        {"lower lines alone have no separator",
         card(L"", L"", L"", L"", L"", true),
         {std::max(200, hint) + 20, 13 + 10},
         0,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CommandCardLayout layout = LayoutCommandCard(c.content, FixedMetrics());
        EXPECT_EQ(layout.TipSize().cx, c.tip.cx);
        EXPECT_EQ(layout.TipSize().cy, c.tip.cy);
        EXPECT_EQ(layout.extraHeight, c.extra);
        EXPECT_EQ(layout.expandable, c.expandable);
        EXPECT_EQ(layout.separator, c.separator);
    }
    EXPECT_LT(labelled(name, L"DrawLine"), kWide) << "the name line fits the card above";
}

// A window with one tool whose tip is a command card.
class CardWindowTest : public CommandCardTest {
protected:
    void SetUp() override {
        CommandCardTest::SetUp();
        dvkernel::test::reset();
        pal::test::resetUserState();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
        bars.GetCommandBarsOptions()->bShowKeyboardTips = TRUE;
        context = new CDVToolTipContext(&bars);
        bars.SetToolTipContext(context);
        ASSERT_TRUE(host.CreateEx(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                                  nullptr));
        pal::test::pump();
    }
    void TearDown() override {
        host.DestroyWindow();
        GetOptions().extendedToolTips = 1;
        GetOptions().toolTips = -1;
        pal::test::resetUserState();
        dvkernel::test::reset();
        CommandCardTest::TearDown();
    }

    static void describe(UINT id, const std::wstring& name) {
        DVCommandContainer::Instance().RegisterCommand(id, name, DVCommandFlags());
        UIModuleProxy::CommandStrings strings;
        strings.Caption = strings.Title = L"Test line";
        strings.Name = name;
        strings.Description = strings.ToolTip = L"Kernel description";
        UIModuleProxy::Instance().SetCommandStrings(id, strings);
    }

    // Rests the pointer on the tool until its tip shows; the tip window.
    DVExtendedToolTip* hover(UINT id) {
        const CRect tool(10, 10, 110, 60);
        context->SetToolTip(host.m_hWnd, id, tool, L"Plain tip");
        POINT screen{60, 35};
        host.ClientToScreen(&screen);
        pal::test::mouseMove(screen);
        context->RelayEvent(host.m_hWnd, WM_MOUSEMOVE, CPoint(60, 35));
        advance(::GetDoubleClickTime());
        pal::test::pump();
        return dynamic_cast<DVExtendedToolTip*>(context->GetToolTip());
    }

    static SIZE windowSize(CWnd* wnd) {
        CRect rc;
        wnd->GetWindowRect(&rc);
        return SIZE{rc.Width(), rc.Height()};
    }

    CXTPCommandBars bars;
    CDVToolTipContext* context = nullptr;
    CWnd host;
};

TEST_F(CardWindowTest, ATwoPartDescriptionShowsItsLongerTextAndPictureAfterTwoSeconds) {
    describe(5101, L"CardTest.TwoParts");
    DVExtendedToolTip* tip = hover(5101);
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    EXPECT_TRUE(tip->IsOwnDrawn());
    EXPECT_EQ(tip->GetContent().description, L"Draws a test line\nthrough two points.");
    EXPECT_EQ(tip->GetContent().name, L"CardTest.TwoParts");
    EXPECT_TRUE(tip->GetContent().helpHint);
    ASSERT_TRUE(tip->IsExpandable());
    const SIZE compact = windowSize(tip);
    EXPECT_EQ(compact.cx, tip->GetLayout().TipSize().cx);
    EXPECT_EQ(compact.cy, tip->GetLayout().TipSize().cy);
    EXPECT_FALSE(tip->IsExpanded());

    advance(DVExtendedToolTip::kExpandDelay - 1);
    pal::test::pump();
    EXPECT_FALSE(tip->IsExpanded());
    advance(1);
    pal::test::pump();
    EXPECT_TRUE(tip->IsExpanded());
    EXPECT_EQ(windowSize(tip).cy, compact.cy + tip->GetLayout().extraHeight);
    EXPECT_GT(tip->GetLayout().picture.cy, 0) << "the picture file beside the description";

    // Hidden and shown again, the card starts compact.
    context->CancelToolTips();
    pal::test::pump();
    EXPECT_FALSE(tip->IsExpanded());
}

TEST_F(CardWindowTest, TheKeysComeFromTheBarsAndTheNameLineFollowsTheSetting) {
    describe(5102, L"CardTest.Keys");
    bars.GetShortcutManager()->AddShortcut(CXTPShortcutManagerAccel(5102, FVIRTKEY | FCONTROL, 'J'));
    GetSettings().toolTipsShowNames = false;
    DVExtendedToolTip* tip = hover(5102);
    GetSettings().toolTipsShowNames = true;
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsOwnDrawn());
    EXPECT_FALSE(tip->GetContent().keyboardCall.empty());
    EXPECT_TRUE(tip->GetContent().name.empty());
    EXPECT_FALSE(tip->IsExpandable()) << "no longer text: it never grows";
    advance(DVExtendedToolTip::kExpandDelay);
    pal::test::pump();
    EXPECT_FALSE(tip->IsExpanded());
}

TEST_F(CardWindowTest, WithoutACardOrWithExtendedTipsOffThePlainTipShows) {
    // An application command has no card until the kernel supplies one.
    DVExtendedToolTip* tip = hover(20000);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_FALSE(tip->IsOwnDrawn());
    context->CancelToolTips();
    context->SetToolTip(host.m_hWnd, 0, CRect(), L"");
    pal::test::pump();

    describe(5103, L"CardTest.Off");
    GetOptions().extendedToolTips = 0;
    tip = hover(5103);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_FALSE(tip->IsOwnDrawn());
    context->CancelToolTips();
    context->SetToolTip(host.m_hWnd, 0, CRect(), L"");
    pal::test::pump();

    // Screen tips switched off: no plain tip at all, but a card while extended tips are on.
    GetOptions().toolTips = 0;
    tip = hover(5103);
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(tip->IsWindowVisible());
    context->SetToolTip(host.m_hWnd, 0, CRect(), L"");
    GetOptions().extendedToolTips = 1;
    tip = hover(5103);
    GetOptions().toolTips = -1;
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_TRUE(tip->IsOwnDrawn());
}

TEST_F(CardWindowTest, TheWindowsSystemCommandsTipsLoseTheirAccessKeys) {
    struct Case {
        UINT id;
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {61536, L"&Close", L"Close"},
        {61472, L"Mi&nimise && hide", L"Minimise & hide"},
        {61456, L"&Move", L"&Move"}, // not one of the four: as given
    };
    for (const Case& c : cases) {
        context->SetToolTip(host.m_hWnd, c.id, CRect(10, 10, 110, 60), c.text);
        wchar_t text[80] = {};
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = host.m_hWnd;
        info.uId = 1;
        info.lpszText = text;
        ::SendMessageW(context->GetToolTip()->m_hWnd, TTM_GETTEXTW, std::size(text),
                       reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, c.shown) << c.id;
    }
}

TEST_F(CardWindowTest, ACardLargerThanTheRoomBelowTheToolMovesOntoTheScreen) {
    describe(5104, L"CardTest.Bottom");
    host.SetWindowPos(nullptr, 1700, 1000, 200, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    pal::test::pump();
    DVExtendedToolTip* tip = hover(5104);
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    CRect rc;
    tip->GetWindowRect(&rc);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi));
    EXPECT_LE(rc.right, mi.rcWork.right);
    EXPECT_LE(rc.bottom, mi.rcWork.bottom);
}

} // namespace
