// The colour chooser: answered by the responder one step at a time, used live through its edits
// and grids, refusing unusable structures and answers.
#include "dialog_fixture.h"

#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace controlstest {
namespace {

class ChooseColorTest : public DialogTest {
protected:
    CHOOSECOLORW request(COLORREF start) {
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = owner;
        cc.rgbResult = start;
        cc.lpCustColors = custom.data();
        cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR;
        return cc;
    }
    std::array<COLORREF, 16> custom{};
};

TEST_F(ChooseColorTest, TheResponderSetsTheColourAddsItAndEndsTheDialog) {
    struct Case {
        const char* what;
        std::vector<std::wstring> answers; // a number's text presses that button
        BOOL result;
        COLORREF chosen;
        std::array<COLORREF, 3> firstCustom;
    };
    const COLORREF start = RGB(1, 2, 3);
    const Case cases[] = {
        {"OK keeps the start colour", {L"1"}, TRUE, start, {0x111111, 0, 0}},
        {"hex, then OK", {L"#336699", L"OK"}, TRUE, RGB(0x33, 0x66, 0x99), {0x111111, 0, 0}},
        {"three numbers, added to the first free slot, then OK",
         {L"10, 20 30", L"Add to Custom Colours", L"1"},
         TRUE,
         RGB(10, 20, 30),
         {0x111111, RGB(10, 20, 30), 0}},
        {"a colour then Cancel", {L"#FFFFFF", L"2"}, FALSE, start, {0x111111, 0, 0}},
    };
    for (const Case& c : cases) {
        custom = {};
        custom[0] = 0x111111;
        for (const std::wstring& a : c.answers) {
            if (a == L"1" || a == L"2")
                answer(std::stoi(a));
            else
                answer(a);
        }
        CHOOSECOLORW cc = request(start);
        EXPECT_EQ(ChooseColorW(&cc), c.result) << c.what;
        EXPECT_EQ(cc.rgbResult, c.chosen) << c.what;
        EXPECT_EQ((std::array<COLORREF, 3>{custom[0], custom[1], custom[2]}), c.firstCustom) << c.what;
        EXPECT_TRUE(IsWindowEnabled(owner)) << c.what;
    }
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), std::size(cases));
    EXPECT_EQ(prompts[1].get("kind"), "ColorDialog");
    EXPECT_EQ(prompts[1].get("answer"), "#336699");
    EXPECT_EQ(prompts[3].get("answer"), "cancel");
}

TEST_F(ChooseColorTest, UnusableRequestsAndAnswersChooseNothing) {
    CHOOSECOLORW small = request(0);
    small.lStructSize = 8;
    EXPECT_FALSE(ChooseColorW(&small));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    EXPECT_FALSE(ChooseColorW(nullptr));
    CHOOSECOLORW noCustom = request(0);
    noCustom.lpCustColors = nullptr;
    EXPECT_FALSE(ChooseColorW(&noCustom));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);

    allowRefusedAnswers = true;
    for (const wchar_t* bad : {L"300 0 0", L"#12345", L"#GG0000", L"1 2", L"1 2 3 4", L"banana"}) {
        answer(bad);
        CHOOSECOLORW cc = request(RGB(5, 5, 5));
        EXPECT_FALSE(ChooseColorW(&cc)) << pal::text::toUtf8(bad);
        EXPECT_EQ(cc.rgbResult, RGB(5, 5, 5)) << pal::text::toUtf8(bad);
        EXPECT_EQ(CommDlgExtendedError(), 0u) << "a cancelled chooser is no failure";
    }
    EXPECT_EQ(journal("prompt.refused").size(), 6u);
}

TEST_F(ChooseColorTest, APersonClicksAColourTypesAChannelAndAddsIt) {
    std::string tree;
    onIdle = [&](HWND dialog) {
        tree = pal::test::dumpWindowTree(dialog);
        ASSERT_TRUE(pal::test::keepSnapshot(dialog, "choose-color.png"));
        // The first basic colour, then red typed past its limit.
        const POINT cell{10 + 13, 28 + 11};
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
        SetDlgItemTextW(dialog, COLOR_RED, L"999");
        EXPECT_EQ(GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE), 255u) << "shown as the most there is";
        SendMessageW(dialog, WM_COMMAND, COLOR_ADD, 0);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    CHOOSECOLORW cc = request(RGB(0, 0, 0));
    ASSERT_TRUE(ChooseColorW(&cc));
    EXPECT_EQ(GetRValue(cc.rgbResult), 255);
    EXPECT_NE(cc.rgbResult & 0xFFFF00u, 0u) << "green and blue come from the clicked basic colour";
    EXPECT_EQ(custom[0], cc.rgbResult);
    EXPECT_NE(tree.find("Edit id=706"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"&Add to Custom Colours\""), std::string::npos) << tree;
    EXPECT_EQ(journal("prompt").at(0).get("by"), "input");
}

} // namespace
} // namespace controlstest
