// The colour control of the system panel: which document's colour it shows, where a choice goes,
// and how its drop-down starts from what the profile keeps.
#include "panels/ColorSelectDialog.h"
#include "panels/SysPanelControls.h"
#include "panels/SystemPanelParameters.h"

#include "panel_fixture.h"

#include "DVGC/ColorTable.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/Parameters.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"
#include "xtp/ToolBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A frame that records the commands its controls send it, with the colour word they point to.
class Frame : public panels::test::BarFrame {
public:
    std::vector<std::pair<int, std::uint32_t>> commands;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == 904 && lParam != 0) {
            commands.emplace_back(LOWORD(wParam), *reinterpret_cast<const std::uint32_t*>(lParam));
            return TRUE;
        }
        return CXTPFrameWnd::OnCommand(wParam, lParam);
    }
};

using Module = panels::test::FrameModule;

class ColorControlTest : public panels::test::PanelTest<Frame, Module> {
protected:
    ColorControlTest() : PanelTest(L"Colour", CRect(0, 0, 640, 420)) {}

    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startApp());
        CXTPToolBar* panel = app.frame->GetCommandBars()->Add(L"System panel", xtpBarTop);
        control = new CColorPopupControl;
        panel->GetControls()->Add(control, 904);
        app.frame->RecalcLayout();
        addDocuments();
    }
    std::wstring dialogSection() const { return DVGetColorsCurrentSectionName() + L"\\SelectColorDialog"; }
    void writeCustom(const std::vector<COLORREF>& colors) {
        for (size_t i = 0; i < colors.size(); ++i)
            app.WriteProfileInt((DVGetColorsCurrentSectionName() + L"\\CustomColors").c_str(),
                                (L"Color" + std::to_wstring(i)).c_str(), static_cast<int>(colors[i]));
    }
    std::vector<std::uint32_t> items(CListBox& list) {
        std::vector<std::uint32_t> data;
        for (int i = 0; i < list.GetCount(); ++i)
            data.push_back(static_cast<std::uint32_t>(list.GetItemData(i)));
        return data;
    }
    void choose(std::uint32_t color) {
        control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 0, L""});
        control->SelectColor(color, true);
    }

    CColorPopupControl* control = nullptr;
};

TEST_F(ColorControlTest, ShowsOnlyTheColourOfItsFramesActiveDocument) {
    SysPanelValue red{0, -1, 1, L""};
    control->SetValue(other.Cont2D(), red);
    EXPECT_EQ(control->GetColor(), 0u) << "another frame's colour must not show here";
    // Choosing the colour the other document has is therefore a change, and applies.
    control->SelectColor(1, true);
    EXPECT_EQ(control->GetColor(), 1u);
    EXPECT_EQ(active.GetDefaultParameters().GetDefaultColor().Low, 1u);

    control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 3, L""});
    EXPECT_EQ(control->GetColor(), 3u);
    control->SetValue(nullptr, SysPanelValue{0, -1, 5, L""});
    EXPECT_EQ(control->GetColor(), 3u);
}

TEST_F(ColorControlTest, AChoiceGoesToTheSelectionElseToTheDefaultsAndTheCommand) {
    const int colorId = ObjectParametersProvider::Instance().GetDescriptorByName(L"Color")->Id;
    auto object = std::make_shared<CDVObject>();
    active.GetParameters().Selection.push_back(object);
    const std::uint32_t rgb = CColorTable::FromRgb(0x00336699);
    choose(rgb);
    EXPECT_EQ(object->GetParameterValue(colorId)->get<dveval::VariantParameter::Color>()->Low, rgb);
    EXPECT_TRUE(app.frame->commands.empty()) << "a selection took it; no command hears of it";

    active.GetParameters().Selection.clear();
    choose(7);
    EXPECT_EQ(active.GetDefaultParameters().GetDefaultColor().Low, 7u);
    ASSERT_EQ(app.frame->commands.size(), 1u);
    EXPECT_EQ(app.frame->commands[0], std::make_pair(904, 7u));

    // The same colour again changes and sends nothing.
    control->SelectColor(7, true);
    EXPECT_EQ(app.frame->commands.size(), 1u);

    // While a command runs the colour goes to it alone.
    active.BeginCommand(L"LINE");
    control->SelectColor(2, true);
    active.EndCommand();
    EXPECT_EQ(active.GetDefaultParameters().GetDefaultColor().Low, 7u);
    ASSERT_EQ(app.frame->commands.size(), 2u);
    EXPECT_EQ(app.frame->commands[1].second, 2u);
}

TEST_F(ColorControlTest, DropDownStartsFromTheStoredValues) {
    struct Case {
        const char* what;
        int show256; // -1: not stored
        std::vector<COLORREF> custom;
        std::uint32_t current;
        int count;
        bool boxEnabled;
        std::vector<std::uint32_t> user;
    };
    const std::uint32_t unknown = CColorTable::FromRgb(0x00ABCDEF);
    const Case cases[] = {
        {"nothing stored", -1, {}, 3, 256, true, {}},
        {"Show256 0 and a first colour", 0, {}, 3, 16, true, {}},
        {"Show256 0 and a table colour above 15", 0, {}, 20, 256, false, {}},
        {"Show256 out of range counts as set", 7, {}, 3, 256, true, {}},
        {"duplicates once, unknown RGB extra",
         1,
         {0x0000FF, 0x00FF00, 0x0000FF},
         unknown,
         256,
         true,
         {CColorTable::FromRgb(0x0000FF), CColorTable::FromRgb(0x00FF00), unknown}},
    };
    for (const Case& c : cases) {
        // The first case runs before anything is stored.
        if (c.show256 >= 0) {
            app.WriteProfileInt(dialogSection().c_str(), L"Show256", c.show256);
            std::vector<COLORREF> custom = c.custom;
            custom.resize(16, 0);
            writeCustom(custom);
        }
        control->SetValue(active.Cont2D(), SysPanelValue{0, -1, static_cast<std::int32_t>(c.current), L""});
        control->ShowColorDialog();
        CColorSelectDialog* dialog = control->GetColorDialog();
        ASSERT_NE(dialog, nullptr) << c.what;
        ASSERT_NE(dialog->GetSafeHwnd(), nullptr) << c.what;
        EXPECT_EQ(dialog->GetCount(), c.count) << c.what;
        EXPECT_EQ(dialog->GetDlgItem(CColorSelectDialog::IDC_SHOW_ALL)->IsWindowEnabled() != FALSE,
                  c.boxEnabled)
            << c.what;
        EXPECT_EQ(items(dialog->UserList()), c.user) << c.what;
        EXPECT_EQ(dialog->HasUserList(), !c.user.empty()) << c.what;
        EXPECT_TRUE(no_set_focus_color_dlg) << c.what;
        control->CloseColorDialog();
        EXPECT_FALSE(no_set_focus_color_dlg) << c.what;
        EXPECT_EQ(dialog->GetSafeHwnd(), nullptr) << c.what;
    }
}

TEST_F(ColorControlTest, AClickInTheListChoosesAndClosesTheDropDown) {
    writeCustom({0x00336699});
    control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 1, L""});
    control->ShowColorDialog();
    CColorSelectDialog* dialog = control->GetColorDialog();
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(control->GetPressed());
    EXPECT_EQ(dialog->StandardList().GetCurSel(), 1);
    ASSERT_TRUE(pal::test::keepSnapshot(dialog->GetSafeHwnd(), "colour_drop_down"));

    dialog->StandardList().SetCurSel(4);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CColorSelectDialog::IDC_STANDARD, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(dialog->StandardList().GetSafeHwnd()));
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(control->GetPressed());
    EXPECT_EQ(control->GetColor(), 4u);
    ASSERT_EQ(app.frame->commands.size(), 1u);
    EXPECT_EQ(app.frame->commands[0].second, 4u);
}

TEST_F(ColorControlTest, ADoubleClickOnTheControlDropsTheColours) {
    CRect rect = control->GetRect();
    CPoint middle = rect.CenterPoint();
    control->GetParent()->ClientToScreen(&middle);
    pal::test::doubleClick(middle);
    pal::test::pump();
    ASSERT_NE(control->GetColorDialog(), nullptr);
    EXPECT_NE(control->GetColorDialog()->GetSafeHwnd(), nullptr);
    control->CloseColorDialog();
    control->SetEnabled(FALSE);
    pal::test::doubleClick(middle);
    pal::test::pump();
    EXPECT_EQ(control->GetColorDialog()->GetSafeHwnd(), nullptr) << "a disabled control drops nothing";
}

TEST_F(ColorControlTest, BecomingInactiveWritesTheSizesAndChoosesNothing) {
    writeCustom({0x00336699});
    control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 20, L""});
    app.WriteProfileInt(dialogSection().c_str(), L"Show256", 0);
    control->ShowColorDialog();
    CColorSelectDialog* dialog = control->GetColorDialog();
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    CRect window;
    dialog->GetWindowRect(&window);
    dialog->SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(control->GetColor(), 20u);
    EXPECT_TRUE(app.frame->commands.empty());
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(dialogSection().c_str(), L"Width", -1)), window.Width());
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(dialogSection().c_str(), L"Height", -1)), window.Height());
    EXPECT_EQ(app.GetProfileInt(dialogSection().c_str(), L"Show256", 9), 0u)
        << "a disabled box is not written";
    EXPECT_NE(static_cast<int>(app.GetProfileInt(dialogSection().c_str(), L"UserH", -1)), -1);
}

TEST_F(ColorControlTest, OtherColoursComeFromTheChooserWhoseOkKeepsTheCustomColours) {
    const std::wstring section = DVGetColorsCurrentSectionName() + L"\\CustomColors";
    struct Case {
        const char* what;
        std::vector<std::wstring> answers; // "1" OK, "2" Cancel
        std::uint32_t color;               // the control's colour afterwards
        std::vector<int> stored;           // Color0..Color3 afterwards
        size_t commands;
    };
    const std::uint32_t chosen = CColorTable::FromRgb(RGB(0x10, 0x20, 0x30));
    const Case cases[] = {
        {"cancel closes and keeps everything", {L"2"}, 3, {0xFF, 0xFF00, 0xFF, 0}, 0},
        {"a colour added and OK: the duplicate was cleared, its slot takes the new one",
         {L"#102030", L"Add to Custom Colours", L"1"},
         chosen,
         {0xFF, 0xFF00, static_cast<int>(RGB(0x10, 0x20, 0x30)), 0},
         1},
    };
    for (const Case& c : cases) {
        writeCustom({0x0000FF, 0x00FF00, 0x0000FF, 0});
        app.frame->commands.clear();
        control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 3, L""});
        control->ShowColorDialog();
        CColorSelectDialog* dialog = control->GetColorDialog();
        ASSERT_NE(dialog->GetSafeHwnd(), nullptr) << c.what;
        for (const std::wstring& a : c.answers) {
            if (a == L"1" || a == L"2")
                answer(std::stoi(a));
            else
                answer(a);
        }
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CColorSelectDialog::IDC_OTHER, BN_CLICKED), 0);
        EXPECT_EQ(dialog->GetSafeHwnd(), nullptr) << c.what << ": the drop-down closed";
        EXPECT_FALSE(control->GetPressed()) << c.what;
        EXPECT_FALSE(no_set_focus_color_dlg) << c.what;
        EXPECT_EQ(control->GetColor(), c.color) << c.what;
        std::vector<int> stored;
        for (int i = 0; i < 4; ++i)
            stored.push_back(static_cast<int>(
                app.GetProfileInt(section.c_str(), (L"Color" + std::to_wstring(i)).c_str(), -1)));
        EXPECT_EQ(stored, c.stored) << c.what;
        ASSERT_EQ(app.frame->commands.size(), c.commands) << c.what;
        if (c.commands != 0) {
            EXPECT_EQ(app.frame->commands[0].second, chosen) << c.what;
        }
    }
    EXPECT_EQ(journal("prompt").size(), 2u);
}

TEST_F(ColorControlTest, AbsurdStoredValuesFallBackToSoundOnes) {
    const std::wstring section = dialogSection();
    // What the template gives, seen once with no sizes stored.
    writeCustom({0x12345678, static_cast<COLORREF>(-1), 0x00336699});
    control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 1, L""});
    control->ShowColorDialog();
    CRect plain;
    control->GetColorDialog()->GetWindowRect(&plain);
    CRect plainStandard;
    control->GetColorDialog()->StandardList().GetWindowRect(&plainStandard);
    control->CloseColorDialog();

    app.WriteProfileInt(section.c_str(), L"Width", -40);
    app.WriteProfileInt(section.c_str(), L"Height", 100000);
    app.WriteProfileInt(section.c_str(), L"StandartH", -3);
    app.WriteProfileInt(section.c_str(), L"UserH", 1 << 30);
    control->ShowColorDialog();
    CColorSelectDialog* dialog = control->GetColorDialog();
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    CRect window;
    dialog->GetWindowRect(&window);
    EXPECT_EQ(window.Size(), plain.Size());
    CRect standard;
    dialog->StandardList().GetWindowRect(&standard);
    EXPECT_EQ(standard.Height(), plainStandard.Height());
    EXPECT_EQ(items(dialog->UserList()), std::vector<std::uint32_t>{CColorTable::FromRgb(0x00336699)})
        << "values that are no colour are empty slots";
    control->CloseColorDialog();
}

TEST_F(ColorControlTest, TheSplitterAndResizingKeepBothListsVisible) {
    writeCustom({0x00336699, 0x00112233});
    control->SetValue(active.Cont2D(), SysPanelValue{0, -1, 1, L""});
    control->ShowColorDialog();
    CColorSelectDialog* dialog = control->GetColorDialog();
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    auto heights = [&] {
        CRect standard;
        CRect user;
        dialog->StandardList().GetWindowRect(&standard);
        dialog->UserList().GetWindowRect(&user);
        return std::make_pair(standard.Height(), user.Height());
    };
    auto zone = [&] {
        CRect standard;
        dialog->StandardList().GetWindowRect(&standard);
        dialog->ScreenToClient(&standard);
        return CPoint(standard.CenterPoint().x, standard.bottom + 1);
    };
    const auto [standard0, user0] = heights();
    struct Drag {
        const char* what;
        int dy;
        int standardChange; // relative to the heights before the drag
    };
    const Drag drags[] = {
        {"down a little", 12, 12},
        {"up a little", -20, -20},
        {"down past the user list's last 11 pixels", 1000, 0},
        {"up past the standard list's last 11 pixels", -1000, 0},
    };
    for (const Drag& d : drags) {
        const auto [standard, user] = heights();
        const CPoint from = zone();
        dialog->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        dialog->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x, from.y + d.dy));
        dialog->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(from.x, from.y + d.dy));
        EXPECT_EQ(heights(), std::make_pair(standard + d.standardChange, user - d.standardChange)) << d.what;
    }
    EXPECT_EQ(heights().first + heights().second, standard0 + user0);

    // A press elsewhere drags nothing.
    dialog->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    dialog->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 40));
    dialog->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 40));
    EXPECT_EQ(heights().first + heights().second, standard0 + user0);

    // The window does not shrink below 150 by 150; a shrink the standard list cannot take goes
    // to the user list.
    MINMAXINFO limits{};
    dialog->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 150);
    EXPECT_EQ(limits.ptMinTrackSize.y, 150);
    // The standard list made 20 pixels high; a shrink of 12 would leave it 8.
    const CPoint from = zone();
    dialog->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    dialog->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x, from.y - (heights().first - 20)));
    dialog->SendMessage(WM_LBUTTONUP, 0, 0);
    const auto [standard1, user1] = heights();
    ASSERT_EQ(standard1, 20);
    CRect client;
    dialog->GetClientRect(&client);
    dialog->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height() - 12));
    EXPECT_EQ(heights().first, 20) << "the standard list would be lower than 11 pixels";
    EXPECT_EQ(heights().second, user1 - 12);
    control->CloseColorDialog();
}

} // namespace
