// What the UI module keeps and asks for the program: the expanded form's state and the
// settings dialog; and the themes it offers through the kernel's proxy.
#include "DravikUI/ExpandedFormView.h"
#include "DravikUI/Themes.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "pal/test/user_test.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

namespace {

const AFX_STRING_RESOURCE kStrings[] = {
    {1345, L"Overview settings"},
    {1100, L"Show the frame"},
    {1102, L"Draws the visible part's frame."},
    {1103, L"Follow the active view"},
    {1104, L"Moves with the drawing's view."},
};
AFX_STRING_TABLE(kStrings);

class SettingsTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        dvkernel::test::reset();
    }
    void TearDown() override {
        dvkernel::test::reset();
        UserTest::TearDown();
    }
    std::vector<UIModuleProxy::SettingsEntry> entries{{8, 1100, 1102, 1, 0, {}, 0},
                                                      {8, 1103, 1104, 0, 0, {}, 0}};
};

TEST_F(SettingsTest, TheSettingsDialogTakesTheChecksOnOkAndKeepsThemOnCancel) {
    answer(L"0,1");
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 1345, entries), IDOK);
    EXPECT_EQ(entries[0].Value, 0);
    EXPECT_EQ(entries[1].Value, 1);

    answer(IDCANCEL);
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 1345, entries), IDCANCEL);
    EXPECT_EQ(entries[1].Value, 1);

    answer(IDOK);
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 1345, entries), IDOK);
    EXPECT_EQ(entries[0].Value, 0) << "OK keeps what the boxes showed";
    EXPECT_EQ(entries[1].Value, 1);
}

TEST_F(SettingsTest, AnInputFormShowsItsTextAndTakesWhatIsTyped) {
    std::vector<UIModuleProxy::SettingsEntry> form(2);
    form[0].Kind = 12;
    form[0].CaptionId = 10237;
    form[1].Kind = 11;
    form[1].Text = L"old";
    form[1].MaxLength = 255;
    answer(L"  Dimensions ");
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 10123, form), IDOK);
    EXPECT_EQ(form[1].Text, L"  Dimensions ") << "the form gives the text as typed";
    answer(IDCANCEL);
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 10123, form), IDCANCEL);
    EXPECT_EQ(form[1].Text, L"  Dimensions ");
    // Whatever the responder puts in, however long, reaches the caller, who judges it.
    answer(std::wstring(300, L'x'));
    EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 10123, form), IDOK);
    EXPECT_EQ(form[1].Text.size(), 300u);
    EXPECT_EQ(journal("prompt").at(0).get("caption"), "New layer");
}

TEST_F(SettingsTest, AnAnswerTheDialogCannotCarryOutIsRefused) {
    allowRefusedAnswers = true;
    for (const std::wstring& bad : {std::wstring(L"1"), std::wstring(L"1,0,1"), std::wstring(L"yes,no")}) {
        answer(bad);
        EXPECT_EQ(UIModuleProxy::Instance().ShowSettingsDialog(nullptr, 1345, entries), IDCANCEL);
    }
    EXPECT_EQ(entries[0].Value, 1);
    EXPECT_EQ(journal("prompt.refused").size(), 3u);
}

TEST_F(SettingsTest, TheExpandedFormKeepsItsStateUnderTheProfileKey) {
    constexpr const wchar_t* kKey = L"Software\\Dravik\\Test\\ExpandedDialog";
    EXPECT_FALSE(ExpandedFormView::LoadState(kKey)) << "nothing saved yet";
    EXPECT_TRUE(ExpandedFormView::IsInitialized()) << "loading initialises first";

    ExpandedFormView::SetExpanded(true);
    ExpandedFormView::SetFloatingRect(CRect(200, 150, 520, 650));
    ASSERT_TRUE(ExpandedFormView::SaveState(kKey));
    ExpandedFormView::SetExpanded(false);
    ExpandedFormView::SetFloatingRect(CRect(0, 0, 10, 10));
    ASSERT_TRUE(ExpandedFormView::LoadState(kKey));
    EXPECT_TRUE(ExpandedFormView::IsExpanded());
    EXPECT_EQ(ExpandedFormView::GetFloatingRect(), CRect(200, 150, 520, 650));

    // Saved on a second screen that is gone: it comes back onto the one that is there.
    ExpandedFormView::SetFloatingRect(CRect(2500, 150, 2820, 650));
    ASSERT_TRUE(ExpandedFormView::SaveState(kKey));
    ASSERT_TRUE(ExpandedFormView::LoadState(kKey));
    EXPECT_EQ(ExpandedFormView::GetFloatingRect(), CRect(1600, 150, 1920, 650));

    ExpandedFormView::EnableTheme(true);
    EXPECT_TRUE(ExpandedFormView::IsThemeEnabled());
    ExpandedFormView::EnableTheme(false);
    EXPECT_FALSE(ExpandedFormView::IsThemeEnabled());
}

// The eight theme names the program's settings and start page know, in the module's order.
TEST_F(SettingsTest, TheUIModuleOffersItsThemesWithOneDefault) {
    auto& ui = UIModuleProxy::Instance();
    ASSERT_NE(ui.GetModule(), nullptr) << "the library installs itself when it is loaded";
    EXPECT_EQ(ui.GetThemeNames(),
              (std::vector<std::wstring>{L"office2010black", L"office2013light", L"office2013dark",
                                         L"office2016black", L"office2016dark", L"office2016white",
                                         L"msvs2015light", L"msvs2015dark"}));
    const std::wstring fallback = ui.GetDefaultThemeName();
    ASSERT_TRUE(ui.GetThemeNumber(fallback).has_value());
    for (const auto& theme : ui.GetThemes()) {
        EXPECT_FALSE(theme.DisplayName.empty());
        EXPECT_EQ(theme.Dark, theme.Name.find(L"dark") != std::wstring::npos ||
                                  theme.Name.find(L"black") != std::wstring::npos)
            << pal::text::toUtf8(theme.Name);
    }
}

TEST_F(SettingsTest, EachThemeNameSwitchesThePaintManagerAndAnUnknownOneChangesNothing) {
    auto& ui = UIModuleProxy::Instance();
    for (const std::wstring& name : ui.GetThemeNames()) {
        ASSERT_TRUE(ui.SetTheme(name)) << pal::text::toUtf8(name);
        EXPECT_EQ(std::wstring(CXTPPaintManager::Current()->GetThemeName()), name);
        EXPECT_EQ(ui.GetCurrentUIStyleName(), name);
        EXPECT_EQ(ui.GetCurrentTheme()->Dark, CXTPPaintManager::Current()->IsDarkTheme() != FALSE);
    }
    ASSERT_TRUE(ui.SetTheme(L"msvs2015dark"));
    dvlog::test::clearCapture();
    EXPECT_FALSE(ui.SetTheme(L"Office2016White")) << "names compare exactly";
    EXPECT_EQ(std::wstring(CXTPPaintManager::Current()->GetThemeName()), L"msvs2015dark");
    EXPECT_EQ(ui.GetCurrentUIStyleName(), L"msvs2015dark");
    EXPECT_EQ(dvlog::test::capturedAt(6), (std::vector<std::string>{"Unknown theme \"Office2016White\""}));
}

} // namespace
