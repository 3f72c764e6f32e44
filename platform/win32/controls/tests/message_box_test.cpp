// Message boxes: live dialogs with their text and buttons, answered by keys, or by the responder
// clicking a button.
#include "dialog_fixture.h"

#include "pal/sandbox.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <cairo.h>

namespace controlstest {
namespace {

using MessageBoxTest = DialogTest;

TEST_F(MessageBoxTest, TheResponderClicksTheButtonItNamesAndTheAnswerIsJournaled) {
    answer(IDNO);
    answer(L"Cancel");
    answer(L"&Retry");
    EXPECT_EQ(MessageBoxW(owner, L"Save changes?", L"DravikCad", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"Again?", L"DravikCad", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Locked", L"DravikCad", MB_RETRYCANCEL), IDRETRY);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[0].get("kind"), "MessageBox");
    EXPECT_EQ(prompts[0].get("text"), "Save changes?");
    EXPECT_EQ(prompts[0].get("caption"), "DravikCad");
    EXPECT_EQ(prompts[0].get("answer"), std::to_string(IDNO));
    EXPECT_EQ(prompts[0].get("by"), "responder");
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again after the box";
}

TEST_F(MessageBoxTest, UnansweredBoxesTakeTheirDefaultButton) {
    allowUnansweredPrompts = true;
    const struct {
        UINT type;
        int expected;
    } cases[] = {{MB_OK, IDOK},
                 {MB_YESNO, IDYES},
                 {MB_YESNO | MB_DEFBUTTON2, IDNO},
                 {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                 {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
                 {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
                 {MB_OK | MB_DEFBUTTON4, IDOK}};
    for (const auto& c : cases)
        EXPECT_EQ(MessageBoxW(nullptr, L"?", L"t", c.type), c.expected);
    EXPECT_EQ(journal("prompt.unanswered").size(), std::size(cases));
}

TEST_F(MessageBoxTest, TheLiveBoxShowsItsTextAndButtonsAndEnterPressesTheDefault) {
    std::string tree;
    int focus = 0;
    onIdle = [&](HWND box) {
        tree = pal::test::dumpWindowTree(box);
        focus = GetDlgCtrlID(GetFocus());
        pal::test::pressKey(VK_RETURN);
    };
    EXPECT_EQ(
        MessageBoxW(owner, L"Replace the drawing?", L"DravikCad", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION),
        IDNO);
    EXPECT_NE(tree.find("#32770"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"DravikCad\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("Static id=65535 \"Replace the drawing?\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("Button id=6 \"&Yes\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("Button id=7 \"&No\""), std::string::npos) << tree;
    EXPECT_EQ(focus, IDNO) << "the default button has the focus";
    EXPECT_EQ(journal("prompt").at(0).get("by"), "input");
    const auto sounds = journal("sound");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].get("type"), "0x20");
}

TEST_F(MessageBoxTest, TheSnapshotShowsTheIconAndTheButtonsWithTheDefaultFramed) {
    pal::gdi::Surface shot;
    RECT yes{}, no{}, text{};
    onIdle = [&](HWND box) {
        GetWindowRect(GetDlgItem(box, 0xFFFF), &text);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&text), 2);
        ASSERT_TRUE(pal::test::saveSnapshot(box, pal::sandbox::root() / "message-box.png"));
        shot = pal::test::snapshot(box, true);
        GetWindowRect(GetDlgItem(box, IDYES), &yes);
        GetWindowRect(GetDlgItem(box, IDNO), &no);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&yes), 2);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&no), 2);
        pal::test::pressKey(VK_RETURN);
    };
    EXPECT_EQ(MessageBoxW(owner, L"The file has changed. Save it?", L"DravikCad",
                          MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING),
              IDNO);
    ASSERT_GT(shot.width(), 0);
    const int mid = (yes.top + yes.bottom) / 2;
    EXPECT_EQ(shot.pixel(no.left, mid), GetSysColor(COLOR_WINDOWFRAME)) << "the default button's dark frame";
    EXPECT_EQ(shot.pixel(yes.left, mid), GetSysColor(COLOR_3DLIGHT)) << "another button's raised edge";
    EXPECT_EQ(shot.pixel((yes.left + yes.right) / 2, mid), GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(shot.pixel(12 + 16, 12 + 16), GetSysColor(COLOR_BTNFACE)) << "the icon of the box's kind";
    int ink = 0;
    for (int y = text.top; y < text.bottom; ++y)
        for (int x = text.left; x < text.right; ++x)
            ink += GetRValue(shot.pixel(x, y)) < 0x80 && GetGValue(shot.pixel(x, y)) < 0x80;
    EXPECT_GT(ink, 100) << "the text is drawn";
    EXPECT_EQ(shot.pixel(4, 4), GetSysColor(COLOR_BTNFACE)) << "the dialog's face";
}

// The four kinds of box show four icons a person tells apart: a blue "i", a blue "?", a black
// "!" on yellow and a white cross on red. The boxes' icon corners side by side make the picture.
TEST_F(MessageBoxTest, TheFourKindsShowIconsThatDiffer) {
    const struct {
        UINT kind;
        COLORREF ground; // the colour that fills most of the icon
    } kinds[] = {{MB_ICONINFORMATION, RGB(0, 99, 177)},
                 {MB_ICONQUESTION, RGB(0, 120, 215)},
                 {MB_ICONWARNING, RGB(255, 196, 0)},
                 {MB_ICONERROR, RGB(216, 30, 40)}};
    constexpr int kAt = 12, kSize = 32;
    std::vector<pal::gdi::Surface> icons;
    for (const auto& k : kinds) {
        onIdle = [&](HWND box) {
            const pal::gdi::Surface shot = pal::test::snapshot(box, true);
            pal::gdi::Surface icon = pal::gdi::Surface::create(kSize, kSize);
            cairo_t* cr = cairo_create(icon.get());
            cairo_set_source_surface(cr, shot.get(), -kAt, -kAt);
            cairo_paint(cr);
            cairo_destroy(cr);
            icons.push_back(std::move(icon));
            pal::test::pressKey(VK_RETURN);
        };
        MessageBoxW(owner, L"Look at the icon.", L"DravikCad", MB_OK | k.kind);
    }
    ASSERT_EQ(icons.size(), 4u);
    pal::gdi::Surface row = pal::gdi::Surface::create(4 * (kSize + 8) + 8, kSize + 16);
    cairo_t* cr = cairo_create(row.get());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    cairo_set_source_rgb(cr, GetRValue(face) / 255.0, GetGValue(face) / 255.0, GetBValue(face) / 255.0);
    cairo_paint(cr);
    for (size_t i = 0; i < icons.size(); ++i) {
        cairo_set_source_surface(cr, icons[i].get(), 8 + static_cast<int>(i) * (kSize + 8), 8);
        cairo_paint(cr);
        int ground = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                ground += icons[i].pixel(x, y) == kinds[i].ground;
        EXPECT_GT(ground, kSize * kSize / 5) << "icon " << i << " in its colour";
        for (size_t j = 0; j < i; ++j)
            EXPECT_GT(pal::test::differingPixels(icons[i], icons[j]), 60u) << "icons " << j << " and " << i;
    }
    cairo_destroy(cr);
    ASSERT_TRUE(pal::test::keepSnapshot(row, "message-box-icons.png"));
}

TEST_F(MessageBoxTest, KeysAnswerTheBox) {
    const struct {
        const char* name;
        UINT type;
        std::vector<std::vector<int>> keys; // each: modifiers..., key; each at its own idle moment
        int expected;
    } cases[] = {
        {"Escape cancels", MB_YESNOCANCEL, {{VK_ESCAPE}}, IDCANCEL},
        {"Escape answers OK in a box with only OK", MB_OK, {{VK_ESCAPE}}, IDOK},
        {"Escape does nothing without Cancel", MB_YESNO, {{VK_ESCAPE}, {VK_RETURN}}, IDYES},
        {"Tab moves to the next button", MB_YESNOCANCEL, {{VK_TAB}, {VK_RETURN}}, IDNO},
        {"Shift+Tab moves back", MB_YESNOCANCEL, {{VK_SHIFT, VK_TAB}, {VK_RETURN}}, IDCANCEL},
        {"Space presses the focused button", MB_OKCANCEL, {{VK_TAB}, {VK_SPACE}}, IDCANCEL},
        {"a mnemonic presses its button", MB_YESNO, {{'N'}}, IDNO},
        {"Alt and a mnemonic too", MB_ABORTRETRYIGNORE, {{VK_MENU, 'I'}}, IDIGNORE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Keys go to the window that has the focus when they are pressed, so each waits for the
        // box to have taken the one before.
        size_t step = 0;
        std::function<void(HWND)> next = [&](HWND) {
            const auto& k = c.keys[step++];
            for (size_t i = 0; i + 1 < k.size(); ++i)
                pal::test::keyDown(k[i]);
            pal::test::pressKey(k.back());
            for (size_t i = k.size() - 1; i-- > 0;)
                pal::test::keyUp(k[i]);
            if (step < c.keys.size())
                onIdle = next;
        };
        onIdle = next;
        EXPECT_EQ(MessageBoxW(owner, L"?", L"t", c.type), c.expected);
    }
}

TEST_F(MessageBoxTest, AClickOnAButtonAnswers) {
    onIdle = [](HWND box) {
        RECT r{};
        GetWindowRect(GetDlgItem(box, IDCANCEL), &r);
        pal::test::click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    };
    EXPECT_EQ(MessageBoxW(owner, L"Close?", L"t", MB_OKCANCEL), IDCANCEL);
}

TEST_F(MessageBoxTest, AnAnswerNamingNoButtonIsRefusedAndTheDefaultTaken) {
    allowRefusedAnswers = true;
    answer(IDCANCEL);
    answer(L"Maybe");
    EXPECT_EQ(MessageBoxW(nullptr, L"Save?", L"t", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"Save?", L"t", MB_YESNO | MB_DEFBUTTON2), IDNO);
    const auto refused = journal("prompt.refused");
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].get("answer"), std::to_string(IDCANCEL));
    EXPECT_EQ(refused[0].get("reason"), "the box has no such button");
    EXPECT_EQ(refused[1].get("answer"), "Maybe");
}

TEST_F(MessageBoxTest, OddTextsMakeABoxWithinTheScreen) {
    const std::wstring huge(10000, L'x');
    RECT box{};
    onIdle = [&](HWND dialog) {
        GetWindowRect(dialog, &box);
        pal::test::pressKey(VK_RETURN);
    };
    EXPECT_EQ(MessageBoxW(owner, huge.c_str(), L"t", MB_OK), IDOK);
    EXPECT_LE(box.right - box.left, 1920);
    EXPECT_LE(box.bottom - box.top, 1040);
    answer(IDOK);
    EXPECT_EQ(MessageBoxW(owner, L"&", nullptr, MB_OK), IDOK);
    EXPECT_EQ(journal("prompt").back().get("caption"), "Error");
}

} // namespace
} // namespace controlstest
