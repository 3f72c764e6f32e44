#include "frame/CommandPopups.h"
#include "frame/ControlAttributes.h"
#include "frame/ControlTable.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikUI/XML.h"
#include "xtp/PopupBar.h"
#include "xtp/ToolBar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using C = CustomControlClass;
namespace Tags = Dravik::UI::XML::TagNames;

struct ControlCase {
    int id;
    std::wstring_view tag;
    std::optional<C> type; // nothing: no fixed control, the library and user commands decide
};

TEST(ControlTable, IdAndTagGiveTheControlClass) {
    const ControlCase cases[] = {
        {799, L"", C::FindCommandButton},
        {900, Tags::Popup, C::PseudoMenuBar},
        {904, Tags::Button, C::ColorPopup},
        {905, L"", C::MaterialPopup},
        {918, L"", C::MaterialPopup},
        {907, L"", C::SyspanelEdit},
        {910, L"", C::StaticImage},
        {911, L"", C::LayerPopup},
        {912, L"", C::LCSPopup},
        {914, L"", C::FontComboBox},
        {1026, Tags::Button, C::FileButton},
        {1072, Tags::Gallery, C::LibraryGallery},
        {1314, Tags::Gallery, C::LibraryGallery},
        {1026, Tags::Popup, C::None},
        {1314, L"", C::None},
        {1118, L"", C::ProfilePopup},
        {1251, L"", C::FindComboBox},
        {2041, L"", C::OptixCameraPopup},
        {2042, L"", C::OptixQualityPopup},
        {2825, L"", C::MoveToMainWindowPopup},
        {2851, Tags::ButtonPopup, C::ThemesPopup},
        {2852, L"", C::DockingPanesPopup},
        {0, L"ribbonTabsPopup", C::RibbonTabsPopup},
        {0, Tags::Button, C::None},
        {0, L"", C::None},
        {906, L"", std::nullopt},
        {1001, Tags::Button, std::nullopt},
        {37000, Tags::SplitButtonPopup, std::nullopt},
    };
    for (const ControlCase& c : cases) {
        const auto entry = FindCustomControl(c.id, c.tag);
        ASSERT_EQ(entry.has_value(), c.type.has_value()) << c.id;
        if (entry) {
            EXPECT_EQ(entry->type, *c.type) << c.id;
        }
    }
}

TEST(ControlTable, SystemPanelControlsGetTheirArguments) {
    const auto level = FindCustomControl(907, L"").value();
    EXPECT_STREQ(level.name, L"Level");
    EXPECT_EQ(level.kind, 2);
    EXPECT_EQ(level.initial, -1.0);
    const auto font = FindCustomControl(915, L"").value();
    EXPECT_STREQ(font.name, L"FontSize");
    EXPECT_EQ(font.kind, 9);
    EXPECT_EQ(font.rangeFirst, 1016);
    EXPECT_EQ(font.rangeLast, 1023);
    EXPECT_STREQ(FindCustomControl(909, L"")->name, L"Priority");
    EXPECT_TRUE(FindCustomControl(905, L"")->flag);
    EXPECT_FALSE(FindCustomControl(918, L"")->flag);
    EXPECT_EQ(FindCustomControl(910, L"")->image, 218);
    EXPECT_EQ(FindCustomControl(2851, L"")->controlFlags, 8);
}

struct GroupCase {
    int command;
    std::optional<int> group;
};

TEST(ControlTable, CommandGroups) {
    const GroupCase cases[] = {
        {3104, 9026}, // in 9020 and 9026: the later one
        {1314, 9020}, {1027, 41469}, {1039, 41469}, {1065, 43505},        {2114, 43505},     {2043, 43506},
        {1825, 1825}, {2985, -1},    {1222, -1},    {1001, std::nullopt}, {0, std::nullopt},
    };
    for (const GroupCase& c : cases)
        EXPECT_EQ(FindCommandGroup(c.command), c.group) << c.command;

    const auto group9026 = CommandGroupCommands(9026);
    EXPECT_EQ(std::vector<int>(group9026.begin(), group9026.end()),
              (std::vector<int>{1404, 2980, 2987, 3104, 3117, 3133, 1431, 1475, 1393}));
    // A group listed in two rows keeps both rows' commands in table order.
    const auto group43505 = CommandGroupCommands(43505);
    EXPECT_EQ(std::vector<int>(group43505.begin(), group43505.end()),
              (std::vector<int>{1065, 2044, 2096, 2102, 2098, 2100, 2103, 2101, 2114}));
    EXPECT_TRUE(CommandGroupCommands(12345).empty());
}

TEST(ControlTable, FixedPopups) {
    const auto p1341 = FixedPopupCommands(1341);
    ASSERT_EQ(p1341.size(), 12u);
    EXPECT_EQ(p1341.front(), 1352); // so it is refilled before it shows
    EXPECT_EQ(std::count(p1341.begin(), p1341.end(), 1338), 2);
    EXPECT_EQ(RefilledPopupCommands().size(), 10u);
    EXPECT_EQ(FixedPopupCommands(1340).size(), 18u);
    EXPECT_EQ(FixedPopupCommands(1122).size(), 10u);
    EXPECT_TRUE(FixedPopupHasExpandButton(1122));
    EXPECT_FALSE(FixedPopupHasExpandButton(1340));
    EXPECT_EQ(FixedPopupCommands(1416).size(), 2u);
    EXPECT_TRUE(FixedPopupCommands(1001).empty());
}

TEST(ControlTable, DeferredCommandsAreTheViewCommandsOf1340) {
    int deferred = 0;
    for (const int id : FixedPopupCommands(1340))
        deferred += IsDeferredPopupCommand(id) ? 1 : 0;
    EXPECT_EQ(deferred, 17);
    EXPECT_FALSE(IsDeferredPopupCommand(1811));
    EXPECT_FALSE(IsDeferredPopupCommand(1202));
    EXPECT_TRUE(IsDeferredPopupCommand(1273));
}

TEST(ControlTable, ToolBarDefinitionIndexStaysInBounds) {
    EXPECT_EQ(ToolBarDefinitionIndex(700, 3), std::optional<std::size_t>(0));
    EXPECT_EQ(ToolBarDefinitionIndex(702, 3), std::optional<std::size_t>(2));
    EXPECT_EQ(ToolBarDefinitionIndex(703, 3), std::nullopt);
    EXPECT_EQ(ToolBarDefinitionIndex(700, 0), std::nullopt);
    EXPECT_EQ(ToolBarDefinitionIndex(749, 100), std::optional<std::size_t>(49));
    EXPECT_EQ(ToolBarDefinitionIndex(750, 100), std::nullopt);
    EXPECT_EQ(ToolBarDefinitionIndex(699, 100), std::nullopt);
}

struct TextCase {
    const wchar_t* in;
    const wchar_t* stripped;
    const wchar_t* button; // the description of a plain button
};

TEST(ControlTable, CaptionsLoseTheirAcceleratorLetters) {
    const TextCase cases[] = {
        {L"&Open", L"Open", L"Open"},
        {L"Save && Close", L"Save & Close", L"Save  Close"},
        {L"Файл (&F)", L"Файл", L"Файл (F)"},
        {L"Вид(&V)", L"Вид", L"Вид(V)"},
        {L"", L"", L""},
        {L"Trailing&", L"Trailing", L"Trailing"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(GetStrWithoutCommandLetters(c.in), c.stripped);
        EXPECT_EQ(CleanControlDescription(c.in, 2), c.stripped);
        EXPECT_EQ(CleanControlDescription(c.in, 3), c.stripped);
        EXPECT_EQ(CleanControlDescription(c.in, 1), c.button);
    }
}

struct UrlCase {
    const wchar_t* value;
    bool accepted;
};

TEST(ControlAttributes, OnlyWebAddressesBecomeParameters) {
    const UrlCase cases[] = {
        {L"https://example.org/help", true},
        {L"HTTP://example.org", true},
        {L"file:///C:/Windows/System32/calc.exe", false},
        {L"ms-settings:display", false},
        {L"C:\\tools\\run.exe", false},
        {L"not a url", false},
        {L"http:", false},
        {L"", false},
    };
    for (const UrlCase& c : cases) {
        dvlog::test::clearCapture();
        CXTPControlButton button;
        button.SetID(1001);
        button.SetParameter(L"before");
        HandleControlAttribute(&button, L"url", c.value, AttributeScope::MenuBar);
        EXPECT_EQ(std::wstring(button.GetParameter().GetString()), c.accepted ? c.value : L"before")
            << c.value;
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), c.accepted ? 0u : 1u) << c.value;
    }
}

TEST(ControlAttributes, FileNamesAndAnchors) {
    CXTPControlButton file;
    file.SetID(1072);
    HandleControlAttribute(&file, L"fileName", L"templates\\part.dvd", AttributeScope::Ribbon);
    EXPECT_EQ(std::wstring(file.GetParameter().GetString()), L"templates\\part.dvd");
    HandleControlAttribute(&file, L"url", L"https://example.org", AttributeScope::Ribbon);
    EXPECT_EQ(std::wstring(file.GetParameter().GetString()), L"templates\\part.dvd");

    CXTPControlButton other;
    other.SetID(1001);
    HandleControlAttribute(&other, L"fileName", L"x", AttributeScope::MenuBar);
    EXPECT_EQ(std::wstring(other.GetParameter().GetString()), L"");
    other.SetTag(0x1);
    HandleControlAttribute(&other, L"anchor", L"help", AttributeScope::MenuBar);
    EXPECT_EQ(other.GetTag(), 0x1001u);
    HandleControlAttribute(&other, L"anchor", L"top", AttributeScope::MenuBar);
    EXPECT_EQ(other.GetTag(), 0x1u);
    // In the ribbon, only controls of popup bars take the anchor.
    HandleControlAttribute(&other, L"anchor", L"help", AttributeScope::Ribbon);
    EXPECT_EQ(other.GetTag(), 0x1u);
}

TEST(ControlAttributes, SavedAttributes) {
    CXTPControlButton file;
    file.SetID(1026);
    file.SetParameter(L"a.dvd");
    Dravik::UI::XML::Control definition;
    WriteControlAttributes(&file, definition, false);
    ASSERT_EQ(definition.extra.size(), 1u);
    EXPECT_EQ(definition.extra[0].name, L"fileName");
    file.SetParameter(L"");
    Dravik::UI::XML::Control unnamed;
    WriteControlAttributes(&file, unnamed, false);
    EXPECT_TRUE(unnamed.extra.empty()) << "no file, no fileName";

    CXTPControlButton link;
    link.SetID(1001);
    link.SetParameter(L"https://example.org");
    link.SetTag(0x3000);
    Dravik::UI::XML::Control linked;
    WriteControlAttributes(&link, linked, true);
    ASSERT_EQ(linked.extra.size(), 2u);
    EXPECT_EQ(linked.extra[0].name, L"url");
    EXPECT_EQ(linked.extra[1].value, L"!camera,2d,!workplane");

    link.SetTag(0x7F000);
    link.SetParameter(L"plain");
    Dravik::UI::XML::Control everywhere;
    WriteControlAttributes(&link, everywhere, true);
    EXPECT_TRUE(everywhere.extra.empty());
}

ControlInitServices initServices() {
    ControlInitServices services;
    services.loadString = [](int id) -> std::wstring {
        if (id == 11284)
            return L"Shows or hides the %s tool bar";
        if (id == 43107)
            return L"&Find a command";
        return {};
    };
    services.translate = [](const char* key) { return std::wstring(L"T:") + std::wstring(key, key + 6); };
    services.toolBarTitles = {L"Standard", L"Draw"};
    services.applicationCommandText = [](int id) -> std::optional<std::wstring> {
        if (id == 17001)
            return std::wstring(L"Run the &script");
        if (id == 17002)
            return std::wstring();
        return std::nullopt;
    };
    services.bestIconSize = [](int) { return 24; };
    return services;
}

struct InitCase {
    int id;
    const wchar_t* prompt;
    const wchar_t* caption;
    const wchar_t* tooltip;
};

TEST(ControlInit, ControlsGetTheirTexts) {
    const InitCase cases[] = {
        {700, L"Shows or hides the Standard tool bar", L"&Start", L"Start"},
        {701, L"Shows or hides the Draw tool bar", L"&Start", L"Start"},
        {702, L"", L"&Start", L"Start"}, // past the list of definitions: left alone
        {749, L"", L"&Start", L"Start"},
        {17001, L"Run the &script", L"Run the &script", L"Run the script"},
        {17002, L"", L"&Start", L"Start"},
        {17003, L"", L"&Start", L"Start"},
        {1416, L"", L"T:panels", L"T:panels"},
        {1254, L"", L"Start", L"Find a command"},
    };
    for (const InitCase& c : cases) {
        CXTPControlButton button;
        button.SetID(c.id);
        button.SetCaption(L"&Start");
        InitFrameControl(&button, initServices());
        EXPECT_EQ(std::wstring(button.GetPrompt().GetString()), c.prompt) << c.id;
        EXPECT_EQ(std::wstring(button.GetCaption().GetString()), c.caption) << c.id;
        EXPECT_EQ(std::wstring(button.GetTooltip().GetString()), c.tooltip) << c.id;
    }

    ControlInitServices toolBar = initServices();
    toolBar.forToolBar = true;
    CXTPControlButton onBar;
    onBar.SetID(17001);
    onBar.SetCaption(L"Icon");
    InitFrameControl(&onBar, toolBar);
    EXPECT_EQ(std::wstring(onBar.GetCaption().GetString()), L"Icon");
    EXPECT_EQ(std::wstring(onBar.GetDescription().GetString()), L"Run the script");

    CXTPControlButton big;
    big.SetID(1628);
    InitFrameControl(&big, initServices());
    EXPECT_EQ(big.GetStyle(), xtpButtonIconAndCaption);
    EXPECT_EQ(big.GetIconSize(), CSize(24, 24));
}

TEST(ControlInit, BlockedHintsLeaveOnlyTheManualUpdateFlag) {
    ControlInitServices services = initServices();
    services.hintsBlocked = true;
    CXTPControlButton button;
    button.SetID(17001);
    button.SetTooltip(L"tip");
    button.SetDescription(L"text");
    InitFrameControl(&button, services);
    button.SetCaption(L"");
    EXPECT_EQ(std::wstring(button.GetTooltip().GetString()), L"");
    EXPECT_EQ(std::wstring(button.GetDescription().GetString()), L"");
    EXPECT_EQ(std::wstring(button.GetPrompt().GetString()), L"");
    EXPECT_NE(button.GetFlags() & 8u, 0u);
}

} // namespace
