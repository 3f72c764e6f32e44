// Every command the bundled definitions show a person (each edition's ribbon, menus, bars and
// backstage, the context menus, the frame's fixed popups, split-button groups and controls, the
// UI library's selection buttons) is one the kernel describes: a caption, a tip, a picture that
// draws at 16 and 32 pixels in the light and the dark set, and a tip that says so when the
// kernel cannot carry it out.
#include "app/KernelCommandIdentifiers.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/CommandIcons.h"
#include "DravikUI/SelectionButtons.h"
#include "frame/ControlTable.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "panels/SysPanelToolbar.h"
#include "xtp/ImageManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace dvapp::test {
namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The ids the bundled files and tables put on a screen, each with where it was seen.
std::map<unsigned, std::string> bundledCommands(const std::filesystem::path& bin) {
    std::map<unsigned, std::string> ids;
    const std::string state = fileText(bin / "DefaultState.xml");
    // Buttons of the ribbon, menus and bars, and the backstage's pages and commands.
    const std::regex button("<(?:button|backstageTab|backstageCommand) id=\"([0-9]+)\"");
    for (auto it = std::sregex_iterator(state.begin(), state.end(), button); it != std::sregex_iterator();
         ++it)
        ids.emplace(static_cast<unsigned>(std::stoul((*it)[1])), "DefaultState.xml");
    const std::string menus = fileText(bin / "ContextMenus.xml");
    const std::regex command("<command name=\"([A-Za-z0-9_]+)\"");
    for (auto it = std::sregex_iterator(menus.begin(), menus.end(), command); it != std::sregex_iterator();
         ++it) {
        const std::wstring identifier = pal::text::fromUtf8((*it)[1].str());
        bool known = false;
        for (const KernelIdentifierRecord& row : KernelIdentifierTable())
            if (identifier == row.identifier) {
                ids.emplace(row.id, "ContextMenus.xml");
                known = true;
            }
        EXPECT_TRUE(known) << (*it)[1] << " of ContextMenus.xml names no command";
    }
    for (int popup : {1340, 1122, 1339, 1341, 1416}) {
        for (int id : FixedPopupCommands(popup))
            ids.emplace(static_cast<unsigned>(id), "popup " + std::to_string(popup));
        if (FixedPopupHasExpandButton(popup))
            ids.emplace(1202u, "popup " + std::to_string(popup));
    }
    // The UI library's own bar buttons: the built-in selection filters and the geometric types.
    Dravik::UI::ForEachBuiltinFilterButton(
        [&](int id) { ids.emplace(static_cast<unsigned>(id), "the selection filters"); });
    for (const Dravik::UI::GeometricType& type : Dravik::UI::GetGeometricTypes())
        ids.emplace(static_cast<unsigned>(type.Id), "the geometric types");
    // The system panel's own controls.
    CSysPanelToolbar panel;
    panel.RegisterSyspanelControls();
    EXPECT_GE(panel.GetRegistry().size(), 12u);
    for (const auto& [id, control] : panel.GetRegistry())
        ids.emplace(static_cast<unsigned>(id), "the system panel");
    // The commands of the split-button groups, and the controls the frame makes for fixed ids.
    for (int id = 1; id <= 0xFFFF; ++id) {
        if (const auto group = FindCommandGroup(id))
            for (int command : CommandGroupCommands(*group))
                ids.emplace(static_cast<unsigned>(command), "group " + std::to_string(*group));
        if (const auto control = FindCustomControl(id, L"button");
            control && control->type != CustomControlClass::None)
            ids.emplace(static_cast<unsigned>(id), "the frame's fixed controls");
    }
    return ids;
}

class CommandCatalogueTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
    }
};

TEST_F(CommandCatalogueTest, EveryBundledCommandHasACaptionATipAndAPictureInBothSets) {
    const auto commands = bundledCommands(binDir());
    ASSERT_GT(commands.size(), 300u);
    CXTPImageManager light, dark;
    Dravik::UI::LoadCommandIcons(light, false);
    Dravik::UI::LoadCommandIcons(dark, true);
    const std::wstring cannot = Dravik::I18n::Translate("commands.not_in_this_kernel");
    for (const auto& [id, where] : commands) {
        SCOPED_TRACE("command " + std::to_string(id) + " of " + where);
        const DVCatalogueCommand* entry = DVFindCatalogueCommand(id);
        ASSERT_NE(entry, nullptr);
        const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
        ASSERT_TRUE(strings.has_value());
        // An untranslated key would show as itself.
        EXPECT_FALSE(strings->Caption.empty() || strings->Caption.starts_with(L"commands."));
        EXPECT_FALSE(strings->ToolTip.empty() || strings->ToolTip.starts_with(L"commands."));
        EXPECT_EQ(strings->Name, entry->name);
        EXPECT_EQ(strings->ToolTip.find(cannot) != std::wstring::npos, !entry->runs);
        for (const bool isDark : {false, true}) {
            EXPECT_TRUE(std::filesystem::is_regular_file(pal::path::toNative(DVCommandIconPath(id, isDark))));
            for (const int size : {16, 32}) {
                const CXTPImageManagerIcon* icon = (isDark ? dark : light).GetImage(id, size);
                ASSERT_NE(icon, nullptr);
                EXPECT_TRUE(icon->IsVectorIcon());
                HICON drawn = icon->GetVectorImage().Render(size, size);
                EXPECT_NE(drawn, nullptr) << size << " pixels";
                ::DestroyIcon(drawn);
            }
        }
    }
}

TEST_F(CommandCatalogueTest, EverySplitButtonGroupHasATitle) {
    // A group's popup is titled by the string of its id; -1 takes its command's own caption.
    std::set<int> groups;
    for (int id = 1; id <= 0xFFFF; ++id)
        if (const auto group = FindCommandGroup(id); group && *group > 0)
            groups.insert(*group);
    ASSERT_GT(groups.size(), 20u);
    for (int group : groups)
        EXPECT_FALSE(DVLoadString(static_cast<UINT>(group)).empty()) << "group " << group;
}

TEST_F(CommandCatalogueTest, TheCatalogueNamesEachCommandOnceAndEachIdOnce) {
    std::set<std::wstring> names;
    unsigned last = 0;
    for (const DVCatalogueCommand& command : DVCommandCatalogue()) {
        EXPECT_GT(command.id, last) << "the catalogue is searched by id";
        last = command.id;
        EXPECT_TRUE(names.insert(command.name).second) << pal::text::toUtf8(command.name);
    }
}

TEST_F(CommandCatalogueTest, CommandsWithoutAPictureShowTheFallbackGlyph) {
    // The catalogue gives every command a picture of the theme; only a command whose file is
    // gone shows the glyph of its caption's first letter. No command relies on it today.
    std::vector<unsigned> fallbacks;
    for (const DVCatalogueCommand& command : DVCommandCatalogue())
        if (DVCommandIconPath(command.id, false).empty())
            fallbacks.push_back(command.id);
    EXPECT_EQ(fallbacks, std::vector<unsigned>{});
    for (const wchar_t* caption : {L"Line", L"ёлка", L"&&", L"", L"<3"}) {
        for (const bool isDark : {false, true}) {
            const CXTPImageManagerVectorImageHandle glyph = Dravik::UI::FallbackCommandIcon(caption, isDark);
            ASSERT_TRUE(glyph.IsValid()) << pal::text::toUtf8(caption);
            HICON drawn = glyph.Render(16, 16);
            EXPECT_NE(drawn, nullptr);
            ::DestroyIcon(drawn);
        }
    }
}

TEST_F(CommandCatalogueTest, TheKernelsStringRoadsReadTheCatalogue) {
    // The string resource: its prompt, a line break, its caption, as the tool kit splits it.
    EXPECT_EQ(DVLoadString(1640), L"Draw a line through two points.\nLine");
    CString resource;
    ASSERT_TRUE(resource.LoadString(1640));
    EXPECT_EQ(std::wstring(resource.GetString()), L"Draw a line through two points.\nLine");
    // A table string keeps its own text.
    EXPECT_EQ(DVLoadString(43107), L"Full screen");
    EXPECT_EQ(GlobalContainer::Instance().GetCmdStr(1001), L"Open an existing document.");
    EXPECT_EQ(GlobalContainer::Instance().GetCmdDescr(1001), L"Open an existing document.");
    EXPECT_EQ(GlobalContainer::Instance().GetCommandTable().at(1640), L"Line");
    EXPECT_FALSE(UIModuleProxy::Instance().GetCommandStrings(64999).has_value());
}

} // namespace
} // namespace dvapp::test
