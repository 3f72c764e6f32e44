// What add-on applications ask of a live main frame: menu items and popups put where a
// placement record says, the items of the help popups kept over a new ribbon definition, keyed
// popups, and the PDM panes recorded when the connection ends.
#include "add_on_frame_fixture.h"

#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/test/hooks.h"
#include "pal/path.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

namespace {

using namespace addons;
namespace XML = Dravik::UI::XML;

CWinApp application(L"Dravik");

TEST_F(AddOnsTest, ItemsGoWhereTheirPlacementSays) {
    struct Case {
        int anchor;
        std::uint32_t placement;
        bool added;
        const wchar_t* place;
    };
    const Case cases[] = {
        {57601, 1, true, L"File/1"},        // before the anchor
        {57603, 2, true, L"File/3"},        // after the last item of its popup
        {57601, 3, true, L"File/0"},        // first beside it
        {57600, 4, true, L"File/3"},        // last beside it
        {1005, 1, true, L"Bars/0"},         // found inside a nested popup
        {1005, 1 | 0x800, true, L"View/1"}, // one level up: before the popup holding it
        {1005, 2 | 0x800, true, L"View/2"}, //   and after it
        {1005, 1 | 0x400, true, L"/1"},     // the top level: before the menu holding it
        {57601, 2 | 0x400, true, L"/1"},    //   and after it
        {0, 0, true, L"/0"},                // top level by index
        {2, 9, true, L"/2"},                // kinds past 6 are the top level too
        {3, 0, true, L"/3"},                // the index of the end itself
        {99, 0, true, L"/3"},               // past the collection: at its end
        {-7, 0, true, L"/3"},               // below it: at its end
        {-1, 7, true, L"/3"},               // -1 is the end
        {0, 6, true, L"Help/2"},            // before the control marked help
        {4242, 1, false, L""},              // an anchor no control has
        {4242, 4 | 0x400, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "anchor " << c.anchor << " placement " << std::hex << c.placement);
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        CXTPControls* top = frame->GetMenuBar()->GetControls();
        const std::wstring before = describe(top);
        EXPECT_EQ(frame->InsertUserMenuItem(900, L"Add-on", c.anchor, c.placement), c.added);
        EXPECT_EQ(where(top, 900), c.place);
        if (!c.added) {
            EXPECT_EQ(describe(top), before);
        }
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(AddOnsTest, TheNewItemCarriesItsTextAndTheGroupFlags) {
    CMainFrame* frame = make();
    ASSERT_TRUE(frame->InsertUserMenuItem(900, L"Export to archive", 57601, 1 | 0x100 | 0x200));
    CXTPControls* file = DYNAMIC_DOWNCAST(CXTPControlPopup, frame->GetMenuBar()->GetControl(0))
                             ->GetCommandBar()
                             ->GetControls();
    CXTPControl* item = file->GetAt(1);
    EXPECT_EQ(std::wstring(item->GetCaption()), L"Export to archive");
    EXPECT_EQ(std::wstring(item->GetDescription()), L"Export to archive");
    EXPECT_EQ(std::wstring(item->GetTooltip()), L"Export to archive");
    EXPECT_TRUE(item->GetBeginGroup());
    EXPECT_TRUE(file->GetAt(2)->GetBeginGroup()) << "the control it went before begins a group";
    EXPECT_FALSE(file->GetAt(0)->GetBeginGroup());
}

TEST_F(AddOnsTest, ApplicationsSamplesTakeAnIndexInTheirPopup) {
    CMainFrame* frame = make();
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    ASSERT_TRUE(frame->InsertUserMenuItem(901, L"One", 0, 5));
    ASSERT_TRUE(frame->InsertUserMenuItem(902, L"Two", 0, 5));
    ASSERT_TRUE(frame->InsertUserMenuItem(903, L"Three", 50, 5));
    ASSERT_TRUE(frame->InsertUserMenuItem(904, L"Four", -3, 5));
    const std::wstring samples = where(top, 902);
    ASSERT_FALSE(samples.empty());
    const std::wstring popup = samples.substr(0, samples.find(L'/'));
    EXPECT_EQ(where(top, 902), popup + L"/0");
    EXPECT_EQ(where(top, 901), popup + L"/1");
    EXPECT_EQ(where(top, 903), popup + L"/2");
    EXPECT_EQ(where(top, 904), popup + L"/3");
}

TEST_F(AddOnsTest, HelpItemsAreInBothHelpPopupsAndOutliveANewRibbonDefinition) {
    CMainFrame* frame = make();
    CXTPControls* ribbonHelp = addRibbonHelpPopup(frame);
    ASSERT_TRUE(frame->InsertUserMenuItem(900, L"Add-on manual", 0, 6));
    ASSERT_TRUE(frame->InsertUserMenuItem(901, L"Add-on forum", 0, 6));
    const std::vector<int> menuHelp{57670, 1790, 900, 901, 57664, 57665};
    const std::vector<int> expected{57670, 900, 901, 57664, 57665};
    EXPECT_EQ(idsOf(helpPopup(frame)), menuHelp);
    EXPECT_EQ(idsOf(ribbonHelp), expected);
    EXPECT_EQ(frame->GetRibbonHelpItemCount(), 2u);

    // Twice, so that a second application finds exactly what the first one left.
    for (int round = 0; round < 2; ++round) {
        frame->ApplyState(*loadState("add_on_menus.xml"), false, false);
        EXPECT_EQ(idsOf(ribbonHelp), expected) << "round " << round;
        EXPECT_EQ(std::wstring(ribbonHelp->GetAt(2)->GetCaption()), L"Add-on forum");
        EXPECT_EQ(frame->GetRibbonHelpItemCount(), 2u);
    }
    EXPECT_EQ(idsOf(helpPopup(frame)), menuHelp) << "the menu bar's own popup is not touched";
}

TEST_F(AddOnsTest, WithoutAHelpPopupHelpItemsAreRefused) {
    CMainFrame* frame = make();
    helpPopup(frame)->GetAt(2)->SetTag(0);
    const std::vector<int> before = idsOf(helpPopup(frame));
    EXPECT_FALSE(frame->InsertUserMenuItem(900, L"Add-on manual", 0, 6));
    EXPECT_EQ(idsOf(helpPopup(frame)), before);
    EXPECT_EQ(frame->GetRibbonHelpItemCount(), 0u);
}

HMENU makeMenu(std::initializer_list<UINT> ids) {
    HMENU menu = ::CreatePopupMenu();
    for (UINT id : ids)
        ::AppendMenuW(menu, MF_STRING, id, L"Item");
    return menu;
}

TEST_F(AddOnsTest, AKeyedPopupReplacesTheOneBeforeItAndANullMenuChangesNothing) {
    CMainFrame* frame = make();
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Add-on", makeMenu({910, 911}), 1, 0, L"addon.tools"));
    ASSERT_EQ(top->GetCount(), 4);
    EXPECT_EQ(std::wstring(top->GetAt(1)->GetCaption()), L"Add-on");
    EXPECT_EQ(where(top, 911), L"Add-on/1");

    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Add-on 2", makeMenu({912}), 57664, 1, L"ADDON.TOOLS"));
    EXPECT_EQ(top->GetCount(), 3) << "the earlier popup went";
    EXPECT_EQ(where(top, 910), L"");
    EXPECT_EQ(where(top, 912), L"Add-on 2/0");
    EXPECT_EQ(where(top, 57664), L"Help/3") << "placed before the anchor, inside the help popup";

    EXPECT_FALSE(frame->InsertUserPopupMenu(L"Broken", nullptr, 0, 0, L"addon.tools"));
    EXPECT_EQ(where(top, 912), L"Add-on 2/0") << "refused before anything was taken out";

    // A popup of kind 6 has no help place of its own: it goes to the top level.
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Kind six", makeMenu({913}), 0, 6, L""));
    EXPECT_EQ(where(top, 913), L"Kind six/0");
    EXPECT_EQ(std::wstring(top->GetAt(0)->GetCaption()), L"Kind six");
}

TEST_F(AddOnsTest, AnUnfoundPlaceStillTakesTheKeyedPopupOut) {
    CMainFrame* frame = make();
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Add-on", makeMenu({910}), 0, 0, L"k"));
    EXPECT_FALSE(frame->InsertUserPopupMenu(L"Add-on", makeMenu({911}), 4242, 1, L"K"));
    EXPECT_EQ(where(top, 910), L"");
    EXPECT_EQ(where(top, 911), L"");
}

TEST_F(AddOnsTest, APopupOfSeparatorsAndEmptySubmenusIsAddedAsItIs) {
    CMainFrame* frame = make();
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"Empty");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Hollow", menu, -1, 0, L"hollow"));
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    ASSERT_EQ(top->GetCount(), 4);
    EXPECT_EQ(std::wstring(top->GetAt(3)->GetCaption()), L"Hollow");
    EXPECT_TRUE(frame->RemoveUserPopupMenu(L"HOLLOW"));
    EXPECT_EQ(top->GetCount(), 3);
}

TEST_F(AddOnsTest, RemovingByKeyIgnoresCaseReachesIntoPopupsAndRefusesAnEmptyKey) {
    CMainFrame* frame = make();
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Inner", makeMenu({911}), 57601, 1, L"ABC"));
    EXPECT_EQ(where(top, 911), L"Inner/0");
    EXPECT_FALSE(frame->RemoveUserPopupMenu(L""));
    EXPECT_EQ(where(top, 911), L"Inner/0");
    EXPECT_TRUE(frame->RemoveUserPopupMenu(L"abc"));
    EXPECT_EQ(where(top, 911), L"");
    EXPECT_EQ(idsOf(DYNAMIC_DOWNCAST(CXTPControlPopup, top->GetAt(0))->GetCommandBar()->GetControls()),
              (std::vector<int>{57600, 57601, 57603}))
        << "only the tagged popup left the File popup";
    EXPECT_TRUE(frame->RemoveUserPopupMenu(L"abc")) << "nothing left to remove is no failure";
}

TEST_F(AddOnsTest, ADisconnectionRecordsTheOpenPdmPanes) {
    CMainFrame* frame = make();
    Dravik::UI::DockingPaneManager& panes = frame->GetPaneManager();
    for (int id : {1012, 1015, 1019})
        panes.CreatePane(id, CRect(0, 0, 200, 200), xtpPaneDockLeft);
    panes.ClosePane(1015);
    panes.ClosePane(1019);
    frame->OnChangeOrsaConnectionState(false);
    XML::Document document;
    XML::Node root = document.resetRoot(XML::TagNames::MainWindow);
    frame->SaveXmlState(root);
    const std::uint32_t mask = ParsePdmPanes(root.attribute(L"orsaWindows").value_or(L""));
    EXPECT_EQ(mask, PdmPaneFiles) << "files open; search and assembly closed; the others never made";
    EXPECT_EQ(panes.FindPane(1012)->IsClosed(), true) << "the PDM panes close with the connection";
}

TEST_F(AddOnsTest, TheInstalledConfigurationsBecomeButtonsThatOpenThem) {
    namespace Docs = DocumentsMenu;
    // Installed: one configuration on disk, one the group holds already, one that cannot be read.
    const std::filesystem::path installed = root() / "installed";
    std::filesystem::create_directories(installed);
    dvkernel::test::setInstalledConfigurationsFolder(pal::path::fromNative(installed));
    auto pipes = Docs::CreateConfiguration(L"Pipes", false);
    pipes->SetPath(pal::path::fromNative(installed / "Pipes.tws"));
    ASSERT_TRUE(pipes->Save(true));
    writeFile("installed/Missing.tws", "");
    Docs::IConfiguration* standard =
        Docs::GlobalCfgGroup().Add(Docs::CreateConfiguration(L"Standard", false));
    standard->SetPath(pal::path::fromNative(installed / "Standard.tws"));
    ASSERT_TRUE(standard->Save(true));

    CMainFrame* frame = make();
    CXTPControls* top = frame->GetMenuBar()->GetControls();
    helpPopup(frame)->GetAt(1)->SetParameter(L"installedlibraries");
    frame->UpdateInstalledConfigurationsMenu();
    auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, helpPopup(frame)->GetAt(1));
    ASSERT_NE(popup, nullptr) << "the tagged button became a popup in its place";
    EXPECT_EQ(std::wstring(popup->GetCaption()), L"Installed configurations");
    CXTPControls* items = popup->GetCommandBar()->GetControls();
    items->Add(xtpControlButton, 57666); // the popup's own item, without a parameter
    frame->UpdateInstalledConfigurationsMenu();
    ASSERT_EQ(items->GetCount(), 4) << "rebuilt, not added twice; its own item stays";
    EXPECT_EQ(items->GetAt(0)->GetID(), 57666);
    EXPECT_EQ(std::wstring(items->GetAt(2)->GetCaption()), L"Pipes");
    EXPECT_EQ(where(top, 57664), L"Help/2") << "the popup stands where the button stood";

    items->GetAt(2)->OnExecute();
    Docs::IConfiguration* opened = Docs::FindActiveCfg(Docs::GlobalCfgGroup());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetName(), L"Pipes") << "read from its file and added to the group";
    EXPECT_EQ(Docs::GlobalCfgGroup().GetCount(), 2u);
    items->GetAt(3)->OnExecute();
    EXPECT_EQ(Docs::FindActiveCfg(Docs::GlobalCfgGroup()), standard) << "found in the group, not made again";
    items->GetAt(1)->OnExecute();
    EXPECT_EQ(Docs::GlobalCfgGroup().GetCount(), 2u) << "a file that cannot be read adds nothing";
    EXPECT_EQ(Docs::FindActiveCfg(Docs::GlobalCfgGroup()), standard);

    dvkernel::test::setInstalledConfigurationsFolder({});
    Docs::GlobalCfgGroup().Clear();
}

// What a person sees of add-ons' items: a popup of its own on the menu bar, and its entries in
// the help menu before "About", set apart by a group line.
TEST_F(AddOnsTest, AddOnMenusShowForAPersonToSee) {
    CMainFrame* frame = make();
    ASSERT_TRUE(frame->InsertUserPopupMenu(L"Add-on tools", makeMenu({910, 911}), 2, 0, L"tools"));
    ASSERT_TRUE(frame->InsertUserMenuItem(900, L"Add-on manual", 0, 6 | 0x100));
    ASSERT_TRUE(frame->InsertUserMenuItem(901, L"Add-on forum", 0, 6));
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    pal::test::pump();
    CXTPMenuBar* menu = frame->GetMenuBar();
    auto* help = DYNAMIC_DOWNCAST(CXTPControlPopup, menu->GetControl(3));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(std::wstring(help->GetCaption()), L"Help");
    menu->SetTrackingMode(TRUE, FALSE);
    ASSERT_TRUE(help->OnSetPopup(TRUE));
    pal::test::pump();
    CXTPCommandBar* items = help->GetCommandBar();
    ASSERT_TRUE(::IsWindowVisible(items->m_hWnd));
    EXPECT_TRUE(pal::test::keepSnapshot(items->m_hWnd, "add-on-help-menu"));
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "add-on-menu-bar"));
    menu->SetTrackingMode(FALSE);
}

} // namespace
