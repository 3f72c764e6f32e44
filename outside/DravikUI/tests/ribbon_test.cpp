// Ribbon definitions applied onto a live ribbon of the library's tabs and groups and saved back;
// optional controls, the group's context entries and the ribbon-free controls; the bundled
// default state on a frame's ribbon, for a person to look at.
#include "DravikUI/LibraryGallery.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace XML = Dravik::UI::XML;

class Frame : public CXTPMDIFrameWnd {
public:
    Dravik::UI::RibbonBar* ribbon = nullptr;
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        ribbon = static_cast<Dravik::UI::RibbonBar*>(
            GetCommandBars()->Add(L"Ribbon", xtpBarTop, RUNTIME_CLASS(Dravik::UI::RibbonBar)));
        return ribbon != nullptr ? 0 : -1;
    }
    void OnAnyCommand(UINT) {}
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(1, 60000, &Frame::OnAnyCommand)
ON_UPDATE_COMMAND_UI_RANGE(1, 60000, &Frame::OnUpdateAny)
END_MESSAGE_MAP()

using App = pal::test::OneFrameApp<Frame>;

std::filesystem::path sourceFile(const std::string& relative) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / relative;
}

class RibbonTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
        ribbon = app.frame.ribbon;
    }
    void TearDown() override {
        XML::SetProduct(-1);
        XML::SetMode(0);
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    static Dravik::UI::MainFrameState load(const std::filesystem::path& file) {
        Dravik::UI::MainFrameState state;
        EXPECT_TRUE(state.loadDefault(file, XML::FormatVersion)) << file;
        return state;
    }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }

    App app{L"Ribbon definitions", CRect(20, 20, 1220, 420)};
    std::unique_ptr<pal::test::AppRun> run;
    Dravik::UI::RibbonBar* ribbon = nullptr;
};

TEST_F(RibbonTest, ADefinitionAppliedOntoTheRibbonSavesBackAsItWas) {
    const Dravik::UI::MainFrameState state = load(sourceFile("outside/DravikUI/tests/fixtures/xml/full.xml"));
    ASSERT_TRUE(state.ribbonBar);
    state.ribbonBar->apply(ribbon, {});
    run->pump();

    ASSERT_EQ(ribbon->GetTabCount(), 3);
    auto* home = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(0));
    ASSERT_NE(home, nullptr) << "the ribbon makes the library's tabs";
    EXPECT_TRUE(home->HasGUID(L"{84f3eaa9-60fb-4df4-ae1d-3f08a30223ae}"));
    EXPECT_FALSE(home->HasTags());
    auto* tables = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(1));
    ASSERT_NE(tables, nullptr);
    EXPECT_TRUE(tables->HasTag(L"TABLE"));
    EXPECT_TRUE(tables->IsDisabledByUser());
    EXPECT_FALSE(tables->IsVisible());

    auto* create = dynamic_cast<Dravik::UI::RibbonGroup*>(home->GetGroups()->GetAt(0));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->GetCode(), 32);
    ASSERT_EQ(create->GetCount(), 4);
    CXTPControl* split = create->GetAt(1);
    EXPECT_EQ(split->GetType(), xtpControlSplitButtonPopup);
    EXPECT_TRUE(Dravik::UI::IsOptionalControl(split));
    EXPECT_FALSE(split->IsVisible());
    EXPECT_TRUE(create->IsOptionButtonVisible()) << "a hidden optional control shows the option button";
    EXPECT_EQ(ribbon->GetQuickAccessControls()->GetCount(), 2);

    XML::RibbonBar saved;
    saved.save(ribbon, XML::FormatVersion, {});
    ASSERT_EQ(saved.tabs.size(), 3u);
    for (std::size_t t = 0; t < saved.tabs.size(); ++t) {
        const XML::RibbonTab& a = saved.tabs[t];
        const XML::RibbonTab& b = state.ribbonBar->tabs[t];
        EXPECT_EQ(a.guid, b.guid);
        EXPECT_EQ(a.caption, b.caption);
        EXPECT_EQ(a.tags, b.tags);
        EXPECT_EQ(a.disabledByUser, b.disabledByUser);
        ASSERT_EQ(a.groups.size(), b.groups.size());
        for (std::size_t g = 0; g < a.groups.size(); ++g) {
            EXPECT_EQ(a.groups[g].guid, b.groups[g].guid);
            EXPECT_EQ(a.groups[g].code, b.groups[g].code);
            ASSERT_EQ(a.groups[g].controls.size(), b.groups[g].controls.size());
            for (std::size_t c = 0; c < a.groups[g].controls.size(); ++c) {
                EXPECT_EQ(a.groups[g].controls[c].id, b.groups[g].controls[c].id);
                EXPECT_EQ(a.groups[g].controls[c].tag, b.groups[g].controls[c].tag);
                EXPECT_EQ(a.groups[g].controls[c].optional, b.groups[g].controls[c].optional);
            }
        }
    }
    EXPECT_EQ(saved.quickAccess.size(), 2u);

    XML::Document document;
    XML::SaveRibbonTab(ribbon->GetTab(0), document.resetRoot(XML::TagNames::RibbonTab), {});
    XML::RibbonTab again;
    ASSERT_TRUE(again.load(document.root(), XML::FormatVersion));
    EXPECT_EQ(again, saved.tabs[0]) << "a tab written to a file reads back the same";
}

TEST_F(RibbonTest, OptionalControlsAreHiddenAndShownFromTheGroupsContextMenu) {
    CXTPRibbonTab* tab = ribbon->AddTab(L"Tab");
    auto* group = dynamic_cast<Dravik::UI::RibbonGroup*>(tab->AddGroup(L"Group"));
    ASSERT_NE(group, nullptr);
    CXTPControl* a = group->Add(xtpControlButton, 1065, L"New");
    CXTPControl* b = group->Add(xtpControlButton, 1001, L"Open");
    CXTPControl* label = group->Add(xtpControlLabel, 0, L"Label");
    EXPECT_TRUE(Dravik::UI::CanBeOptional(a));
    EXPECT_FALSE(Dravik::UI::CanBeOptional(label)) << "a control without a command";

    Dravik::UI::MakeControlOptional(b, true, true);
    EXPECT_TRUE(Dravik::UI::IsOptionalControl(b));
    EXPECT_FALSE(b->IsVisible());
    EXPECT_TRUE(group->IsOptionButtonVisible());

    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(app.frame.GetCommandBars());
    group->GetContextMenu(popup);
    ASSERT_EQ(popup->GetControlCount(), 2);
    EXPECT_EQ(popup->GetControl(0)->GetCaption(), L"New");
    EXPECT_TRUE(popup->GetControl(0)->GetChecked());
    EXPECT_FALSE(popup->GetControl(1)->GetChecked());
    popup->GetControl(1)->OnExecute();
    EXPECT_FALSE(Dravik::UI::IsOptionalControl(b));
    EXPECT_TRUE(b->IsVisible());
    EXPECT_FALSE(group->IsOptionButtonVisible());
    popup->InternalRelease();

    Dravik::UI::MakeControlOptional(a, true, false);
    a->InternalAddRef();
    Dravik::UI::RemoveControl(a);
    EXPECT_EQ(group->GetCount(), 2);
    EXPECT_FALSE(Dravik::UI::IsOptionalControl(a)) << "a removed control is no longer the group's";
    EXPECT_FALSE(group->IsOptionButtonVisible());
    a->InternalRelease();
}

// A library gallery is as wide as its items ask, or as a number of item columns: 0 or less
// means automatic; the ribbon lays it out again at once when asked.
TEST_F(RibbonTest, ALibraryGallerysWidthIsSetInItemColumns) {
    auto* gallery = new Dravik::UI::LibraryGallery;
    EXPECT_EQ(gallery->GetColumnCount(), 0) << "no items";
    auto* items = new CXTPControlGalleryItems;
    items->SetItemSize(CSize(30, 30));
    for (int i = 0; i < 10; ++i)
        items->AddItem(100 + i, L"Item");
    gallery->SetItems(items);
    items->InternalRelease();
    ribbon->AddTab(L"Tab")->AddGroup(L"Group")->Add(gallery, 1026);
    ribbon->RecalcLayout();
    const int automatic = gallery->GetColumnCount();
    EXPECT_GT(automatic, 0);
    struct Case {
        int given, stored, shown;
    };
    for (const Case& c : {Case{3, 3, 3}, Case{7, 7, 7}, Case{0, -1, automatic}, Case{-5, -1, automatic}}) {
        gallery->SetWidth(c.given, true);
        EXPECT_EQ(gallery->GetWidth(), c.stored) << c.given;
        EXPECT_EQ(gallery->GetColumnCount(), c.shown) << c.given;
    }
    gallery->SetWidth(2, false);
    EXPECT_EQ(gallery->GetColumnCount(), automatic) << "delayed until the next layout";
    ribbon->RecalcLayout();
    EXPECT_EQ(gallery->GetColumnCount(), 2);
}

TEST_F(RibbonTest, TheBundledDefaultStateGivesTheRibbonItsTabs) {
    XML::SetProduct(1);
    XML::SetMode(8);
    const Dravik::UI::MainFrameState state = load(sourceFile("app/DefaultState.xml"));
    ASSERT_TRUE(state.ribbonBar);
    XML::RibbonBarApplicationParameters parameters;
    parameters.createControl = [](const XML::Control&, CXTPCommandBar*) -> CXTPControl* { return nullptr; };
    state.ribbonBar->apply(ribbon, parameters);
    // The program names its commands; here each gets its id, so that the picture is readable.
    for (int t = 0; t < ribbon->GetTabCount(); ++t)
        for (int g = 0; g < ribbon->GetTab(t)->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = ribbon->GetTab(t)->GetGroups()->GetAt(g);
            for (int c = 0; c < group->GetCount(); ++c)
                group->GetAt(c)->SetCaption((L"Cmd " + std::to_wstring(group->GetAt(c)->GetID())).c_str());
            if (group->GetCaption().IsEmpty())
                group->SetCaption((L"Group " + std::to_wstring(g + 1)).c_str());
        }
    ribbon->SetCurSel(1);
    app.frame.GetCommandBars()->RecalcFrameLayout();
    run->pump();

    EXPECT_EQ(ribbon->GetTabCount(), static_cast<int>(state.ribbonBar->tabs.size()));
    auto* home = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(0));
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(home->HasGUID(L"{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}"));
    EXPECT_EQ(ribbon->GetSelectedTab()->GetCaption(), L"2D");
    snapshot(app.frame.GetSafeHwnd(), "default-state-ribbon-3d");
}

} // namespace
