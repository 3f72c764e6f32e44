// The proxy's own rules: which frame is active, and what it asks the installed UI module.
#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/UIModule.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Theme = UIModuleProxy::ThemeDescription;

// A UI module with three themes, the last of which it refuses to show.
class FakeModule : public UIModuleProxy::Module {
public:
    std::vector<int> applied;

    std::vector<Theme> GetThemes() const override {
        return {{0, L"office2016white", L"White", false},
                {1, L"office2016black", L"Black", true},
                {2, L"broken", L"Broken", false}};
    }
    std::wstring GetDefaultThemeName() const override { return L"office2016white"; }
    bool ApplyTheme(int number) override {
        if (number == 2)
            return false;
        applied.push_back(number);
        return true;
    }
    CFrameWnd* GetMainFrameOfWindow(HWND) const override { return nullptr; }
    CFrameWnd* GetChildFrameOwner(CFrameWnd*) const override { return nullptr; }
    void SetCommandBarsIconSizes(CXTPCommandBars*, SIZE, SIZE, SIZE, bool) override {}
    SIZE ScaleIconSize(SIZE size) const override { return SIZE{size.cx * 2, size.cy * 2}; }
    StatusLineProxy* GetStatusLine(CFrameWnd*) const override { return nullptr; }
    int ShowSettingsDialog(HWND, unsigned, std::vector<UIModuleProxy::SettingsEntry>&) override { return 0; }
};

class UIModuleProxyTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvlog::test::clearCapture();
    }
    void TearDown() override {
        UIModuleProxy::Instance().SetModule(nullptr);
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    static CFrameWnd* frame(int& slot) { return reinterpret_cast<CFrameWnd*>(&slot); }
    UIModuleProxy& ui = UIModuleProxy::Instance();
};

TEST_F(UIModuleProxyTest, OnlyAListedFrameBecomesActiveAndARemovedOneHandsOnToTheFirstLeft) {
    int a = 0, b = 0, stranger = 0;
    ui.AddMainFrame(frame(a));
    ui.AddMainFrame(frame(b));
    EXPECT_EQ(ui.GetActiveMainFrame(), nullptr) << "listing a frame does not activate it";

    EXPECT_TRUE(ui.MakeActiveMainFrame(frame(b)));
    EXPECT_EQ(ui.GetActiveMainFrame(), frame(b));
    EXPECT_EQ(ui.GetMainWindow(), reinterpret_cast<CWnd*>(frame(b))) << "the active frame is the main window";
    EXPECT_FALSE(ui.MakeActiveMainFrame(frame(stranger)));
    EXPECT_FALSE(ui.MakeActiveMainFrame(nullptr));
    EXPECT_EQ(ui.GetActiveMainFrame(), frame(b));

    ui.RemoveMainFrame(frame(a));
    EXPECT_EQ(ui.GetActiveMainFrame(), frame(b)) << "an inactive frame going changes nothing";
    ui.AddMainFrame(frame(a));
    ui.RemoveMainFrame(frame(b));
    EXPECT_EQ(ui.GetActiveMainFrame(), frame(a));
    EXPECT_EQ(ui.GetMainWindow(), reinterpret_cast<CWnd*>(frame(a)));
    ui.RemoveMainFrame(frame(a));
    EXPECT_EQ(ui.GetActiveMainFrame(), nullptr);
    EXPECT_EQ(ui.GetMainWindow(), nullptr);
}

TEST_F(UIModuleProxyTest, AFakedFrameWinsWhileItLastsAndIsForgottenWhenItGoes) {
    int used = 0, loading = 0;
    ui.AddMainFrame(frame(used));
    ui.AddMainFrame(frame(loading));
    ui.MakeActiveMainFrame(frame(used));
    {
        UIModule::FakeActiveMainFrameManager fake(frame(loading));
        EXPECT_EQ(ui.GetActiveMainFrame(), frame(loading));
        ui.MakeActiveMainFrame(frame(used));
        EXPECT_EQ(ui.GetActiveMainFrame(), frame(loading))
            << "activation meanwhile waits for the fake to end";
        ui.RemoveMainFrame(frame(loading));
        EXPECT_EQ(ui.GetActiveMainFrame(), nullptr) << "no answer points at a frame that is gone";
    }
    EXPECT_EQ(ui.GetActiveMainFrame(), frame(used));
}

TEST_F(UIModuleProxyTest, WithoutAUIModuleEveryQuestionHasItsNeutralAnswer) {
    int a = 0;
    std::vector<UIModuleProxy::SettingsEntry> entries(1);
    EXPECT_TRUE(ui.GetThemes().empty());
    EXPECT_EQ(ui.GetDefaultThemeName(), L"");
    EXPECT_FALSE(ui.SetTheme(L"office2016white"));
    EXPECT_FALSE(ui.GetCurrentTheme().has_value());
    EXPECT_EQ(ui.GetMainFrameOfWindow(reinterpret_cast<HWND>(0x10)), nullptr);
    EXPECT_EQ(ui.GetChildFrameOwner(frame(a)), nullptr);
    EXPECT_EQ(ui.GetStatusLine(), nullptr);
    EXPECT_EQ(ui.ShowSettingsDialog(nullptr, 1345, entries), 0);
    EXPECT_EQ(ui.GetIconSize(SIZE{16, 16}).cx, 16);
}

TEST_F(UIModuleProxyTest, ThemesAreAppliedByNameOrNumberAndABadOneChangesNothing) {
    FakeModule module;
    ui.SetModule(&module);
    EXPECT_EQ(ui.GetThemeNames(),
              (std::vector<std::wstring>{L"office2016white", L"office2016black", L"broken"}));
    EXPECT_EQ(ui.GetThemeNumber(L"office2016black"), 1);
    EXPECT_FALSE(ui.GetThemeNumber(L"Office2016Black").has_value()) << "names compare exactly";

    EXPECT_TRUE(ui.SetTheme(L"office2016black"));
    EXPECT_EQ(ui.GetCurrentUIStyleName(), L"office2016black");
    EXPECT_TRUE(ui.GetCurrentTheme()->Dark);

    for (const auto& bad : {std::wstring(L"office2099"), std::wstring(L""), std::wstring(L"broken")})
        EXPECT_FALSE(ui.SetTheme(bad));
    EXPECT_FALSE(ui.SetTheme(7));
    EXPECT_EQ(module.applied, (std::vector<int>{1}));
    EXPECT_EQ(ui.GetCurrentUIStyleName(), L"office2016black");
    EXPECT_EQ(dvlog::test::capturedAt(6),
              (std::vector<std::string>{"Unknown theme \"office2099\"", "Unknown theme \"\"",
                                        "The UI module refused theme \"broken\"",
                                        "Theme 7 is not one of the UI module's themes"}));
}

TEST_F(UIModuleProxyTest, TheBestUnscaledIconSizeIsTheLargestDrawnSizeThatFits) {
    const std::pair<int, int> cases[] = {{0, 16},  {16, 16}, {20, 16}, {24, 24},
                                         {31, 24}, {32, 32}, {100, 48}};
    for (auto [pixels, expected] : cases) {
        const SIZE size = ui.GetBestUnscaledIconSize(pixels);
        EXPECT_EQ(size.cx, expected) << pixels;
        EXPECT_EQ(size.cy, expected) << pixels;
    }
}

TEST_F(UIModuleProxyTest, AltModeLastsUntilItIsEnded) {
    EXPECT_FALSE(ui.IsAltMode());
    ui.SetAltMode(1);
    EXPECT_TRUE(ui.IsAltMode());
    ui.SetAltMode(0);
    EXPECT_FALSE(ui.IsAltMode());
}

} // namespace

namespace {

TEST_F(UIModuleProxyTest, APromptStringGivesTheDescriptionBeforeTheBreakAndTheCaptionAfterIt) {
    struct Case {
        const wchar_t* prompt;
        const wchar_t* description;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {L"Draw a line\nLine", L"Draw a line", L"Line"},
        {L"Just one text", L"Just one text", L"Just one text"},
        {L"\nOnly a caption", L"", L"Only a caption"},
        {L"Two\nbreaks\nhere", L"Two", L"breaks\nhere"},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        const auto strings = UIModuleProxy::CommandStrings::FromPromptString(c.prompt);
        EXPECT_EQ(strings.Description, c.description);
        EXPECT_EQ(strings.ToolTip, c.description);
        EXPECT_EQ(strings.Caption, c.caption);
        EXPECT_EQ(strings.Title, c.caption);
    }
}

TEST_F(UIModuleProxyTest, StringsSetForACommandReplaceTheKernelsOwnUntilTheReset) {
    const auto own = ui.GetCommandStrings(1640);
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->Name, L"DrawLine");
    EXPECT_FALSE(ui.GetCommandStrings(15001).has_value()) << "the kernel does not describe add-on commands";
    UIModuleProxy::CommandStrings set =
        UIModuleProxy::CommandStrings::FromPromptString(L"Made by an add-on\nTool");
    ui.SetCommandStrings(15001, set);
    ui.SetCommandStrings(1640, set);
    EXPECT_EQ(ui.GetCommandStrings(15001), set);
    EXPECT_EQ(ui.GetCommandStrings(1640), set);
    dvkernel::test::reset();
    EXPECT_FALSE(ui.GetCommandStrings(15001).has_value());
    EXPECT_EQ(ui.GetCommandStrings(1640)->Name, L"DrawLine");
}

TEST_F(UIModuleProxyTest, TheCommandTablesVersionMovesWithEveryChangeOfCommandsOrTheirTexts) {
    GlobalContainer& kernel = GlobalContainer::Instance();
    std::uint64_t version = kernel.GetCommandTableVersion();
    const auto changed = [&] {
        const std::uint64_t now = kernel.GetCommandTableVersion();
        const bool moved = now != version;
        version = now;
        return moved;
    };
    kernel.GetCommandTable();
    EXPECT_FALSE(changed()) << "reading the table changes nothing";
    EXPECT_TRUE(DVCommandContainer::Instance().RegisterCommand(40100, L"Test.Versioned", DVCommandFlags()));
    EXPECT_TRUE(changed());
    UIModuleProxy::CommandStrings strings;
    strings.Caption = L"Versioned";
    UIModuleProxy::Instance().SetCommandStrings(40100, strings);
    EXPECT_TRUE(changed());
    kernel.RegisterCmd(40101, L"Test.Session", 40101, DVCommandFlags());
    EXPECT_TRUE(changed());
    EXPECT_TRUE(kernel.UnregisterCmd(40101));
    EXPECT_TRUE(changed());
    EXPECT_FALSE(kernel.UnregisterCmd(40101));
    EXPECT_FALSE(changed()) << "unregistering an unknown id";
    dvkernel::test::reset();
    EXPECT_TRUE(changed());
}

} // namespace
