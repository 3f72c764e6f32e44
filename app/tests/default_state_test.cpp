// The bundled default frame state: named by the product INI, lying beside the program, loadable
// for every edition, and holding exactly the default tool bars of the table for each mode, with
// a ribbon tab per tab of the tabbed tool bar.
#include "app/DefaultToolBars.h"
#include "app/KernelCommandIdentifiers.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/test/hooks.h"
#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"
#include "DravikUI/test/hooks.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace dvapp::test {
namespace {

namespace XML = Dravik::UI::XML;
using Ids = std::vector<int>;

// Separators as 0, never leading, trailing or doubled: the form both sides are compared in.
Ids normalised(const Ids& ids) {
    Ids out;
    for (int id : ids) {
        if (id == 0 && (out.empty() || out.back() == 0))
            continue;
        out.push_back(id);
    }
    if (!out.empty() && out.back() == 0)
        out.pop_back();
    return out;
}

void appendControls(const std::vector<XML::Control>& controls, Ids& ids) {
    for (const XML::Control& control : controls) {
        if (control.beginGroup)
            ids.push_back(0);
        ids.push_back(control.id);
    }
}

Ids idsOf(const XML::ToolBar& bar) {
    Ids ids;
    appendControls(bar.controls, ids);
    return normalised(ids);
}

Ids idsOf(const XML::RibbonTab& tab) {
    Ids ids;
    for (const XML::RibbonGroup& group : tab.groups) {
        ids.push_back(0);
        appendControls(group.controls, ids);
    }
    return normalised(ids);
}

struct Edition {
    const char* config;
    int product; // what start-up gives the UI library for the edition; -1 none
    std::uint32_t mode;
};

// The edition table of start-up: product numbers and the mode codes the program runs with.
const Edition kEditions[] = {
    {"2D", 0, 2},      {"SE", 2, 4},
    {"3D", 1, 8},      {"GS", -1, 16},
    {"GS3D", -1, 32},  {"Alder", 3, 128},
    {"Birch", 4, 256}, {"AlderAdministrator", 5, 512},
    {"other", -1, 8},  {"other, viewer", -1, 1},
};

class BesideTheProgram : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        XML::SetProduct(-1);
        XML::SetMode(0);
        SandboxTest::TearDown();
    }

    // The file that the product INI beside the program names under a key of "SETTINGS".
    static std::filesystem::path named(const std::string& key) {
        std::ifstream ini(binDir() / "DravikCad.ini");
        std::stringstream text;
        text << ini.rdbuf();
        std::smatch match;
        const std::string content = text.str();
        if (!std::regex_search(content, match, std::regex("\n" + key + "=([^\r\n]+)")))
            return {};
        return binDir() / match[1].str();
    }
};

class DefaultState : public BesideTheProgram, public ::testing::WithParamInterface<Edition> {};

TEST_P(DefaultState, LoadsWithTheDefaultToolBarsOfTheEdition) {
    const Edition& edition = GetParam();
    XML::SetProduct(edition.product);
    XML::SetMode(edition.mode);
    const std::filesystem::path file = named("DefaultStateFile");
    ASSERT_FALSE(file.empty()) << "the product INI names the default state";
    dvlog::test::clearCapture();
    Dravik::UI::MainFrameState state;
    ASSERT_TRUE(state.loadDefault(file, XML::FormatVersion));
    EXPECT_TRUE(dvlog::test::capturedAt(DVLogWarning).empty()) << "nothing in the bundled file is skipped";

    ASSERT_TRUE(state.menuBar);
    ASSERT_EQ(state.menuBar->controls.size(), 6u);
    Ids fileMenu;
    appendControls(state.menuBar->controls[0].controls, fileMenu);
    EXPECT_EQ(std::count(fileMenu.begin(), fileMenu.end(), 1064), (edition.mode & 941) ? 1 : 0)
        << "DocumentNew3D only where it is registered";

    std::vector<DefaultToolBarRecord> table(DefaultToolBarTable().begin(), DefaultToolBarTable().end());
    BuiltToolBars built;
    BuildToolBars(table, edition.mode, built);
    ASSERT_TRUE(state.ribbonBar);
    std::size_t tabs = 2; // Home and PDM
    for (const BuiltToolBar& bar : built.span()) {
        if (bar.count == 0)
            continue;
        const XML::ToolBar* definition = state.findToolBar(static_cast<int>(bar.record->barId));
        ASSERT_NE(definition, nullptr) << bar.record->barId;
        const Ids expected =
            normalised(Ids(bar.ids.begin(), bar.ids.begin() + static_cast<std::ptrdiff_t>(bar.count)));
        EXPECT_EQ(idsOf(*definition), expected) << bar.record->barId;
        if (bar.record->kind != TabbedToolBarTab || definition->caption == L"Startup")
            continue;
        const XML::RibbonTab* tab = state.ribbonBar->findTab(definition->guid);
        ASSERT_NE(tab, nullptr) << bar.record->barId;
        EXPECT_EQ(idsOf(*tab), Ids(expected.begin() + 2, expected.end())) << bar.record->barId;
        ++tabs;
    }
    EXPECT_EQ(state.ribbonBar->tabs.size(), tabs) << "no tab for a bar the edition does not build";
    for (const XML::ToolBar& bar : state.toolBars) {
        const Ids ids = idsOf(bar);
        const bool builtHere =
            std::any_of(built.span().begin(), built.span().end(), [&](const BuiltToolBar& b) {
                return b.count > 0 && static_cast<int>(b.record->barId) == bar.id;
            });
        EXPECT_TRUE(builtHere || ids.empty() || ids == Ids{1075}) << bar.id;
    }
    EXPECT_NE(state.ribbonBar->findTab(L"{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Editions, DefaultState, ::testing::ValuesIn(kEditions),
                         [](const ::testing::TestParamInfo<Edition>& info) {
                             std::string name;
                             for (const char* c = info.param.config; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name + std::to_string(info.param.mode);
                         });

using DefaultContextMenus = BesideTheProgram;

TEST_F(DefaultContextMenus, EveryCommandOfTheBundledFileIsRegistered) {
    dvui::test::resetContextMenus();
    RegisterApplicationCommands();
    const std::filesystem::path file = named("DefaultContextMenuFile");
    ASSERT_FALSE(file.empty()) << "the product INI names the context menus";
    dvlog::test::clearCapture();
    ASSERT_TRUE(Dravik::UI::GlobalContextMenuContainer::Load(file));
    EXPECT_TRUE(dvlog::test::capturedAt(DVLogWarning).empty());
    const auto element = Dravik::UI::GlobalContextMenuContainer::GetContextMenu(L"Element");
    ASSERT_TRUE(element);
    EXPECT_EQ(element->controls.at(0).id, 1713);
    EXPECT_EQ(Dravik::UI::GlobalContextMenuContainer::GetContextMenuNames().size(), 6u);
    dvui::test::resetContextMenus();
}

} // namespace
} // namespace dvapp::test
