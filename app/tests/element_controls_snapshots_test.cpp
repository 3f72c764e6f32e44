// DravikCad on the null display with the sample drawing open: the 3D module's profile popup of
// the 3D tab opens with a swatch per profile, and the element-name box of the Edit tab finds
// elements by name and drops down the names found before. Both controls sit in their tool
// bars as well. The pictures are kept for a person to look at (DV_PAL_SNAPSHOTS).
#include "main_initialisation_fixture.h"

#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/View.h"
#include "frame/CommandBars.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "ribbon/FindComboBox.h"
#include "ribbon/ProfilePopup.h"
#include "xtp/CommandBars.h"
#include "xtp/RibbonBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonTab.h"

namespace dvapp::test {
namespace {

class ElementControls : public MainInitialisation {
protected:
    // The frame in ribbon mode with the tab of the caption selected; its control of the id.
    CXTPControl* ribbonControl(CMainFrame* frame, const wchar_t* tabCaption, int id) {
        auto* ribbon = DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
        if (ribbon == nullptr)
            return nullptr;
        for (int t = 0; t < ribbon->GetTabCount(); ++t) {
            CXTPRibbonTab* tab = ribbon->GetTab(t);
            if (tab->GetCaption() != tabCaption)
                continue;
            ribbon->GetControlTab()->SetSelectedItem(tab);
            frame->RecalcLayout();
            pal::test::pump();
            for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
                CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
                for (int c = 0; c < group->GetCount(); ++c)
                    if (group->GetAt(c)->GetID() == id)
                        return group->GetAt(c);
            }
        }
        return nullptr;
    }
    // The name of the element the view has selected; empty for none.
    static std::wstring selectedName(CDVView* view) {
        if (view == nullptr || view->GetSelection().size() != 1)
            return {};
        return view->GetDvwDocument()->Cont2D()->GetElements()[view->GetSelection()[0]].name;
    }
};

TEST_F(ElementControls, TheProfilePopupOfTheThreeDTabOpensWithASwatchPerProfile) {
    ASSERT_TRUE(start({copySample("plate.grb")}));
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    CDVView* view = DVGetActiveView();
    ASSERT_NE(view, nullptr);
    if (CDVCom_Is3D::Instance() == nullptr)
        CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D::SetViewProfiles(view->GetProfileObject(),
                                 {L"Steel", L"Aluminium", L"Glass", L"Copper", L"Without colour"},
                                 {8, 9, 4, 1});
    frame->GetRibbonCommandBars()->SetRibbonMode(true);
    frame->RecalcLayout();
    pal::test::pump();
    // The bundled default state has no place for the popup: the frame's factory makes it for
    // the 3D tab's Camera group, as a person's customised ribbon asks for it.
    CXTPControl* camera = ribbonControl(frame, L"3D", 2853);
    ASSERT_NE(camera, nullptr);
    CXTPRibbonGroup* group = nullptr;
    auto* ribbon = DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
    for (int g = 0; g < ribbon->GetSelectedTab()->GetGroups()->GetCount() && group == nullptr; ++g)
        if (ribbon->GetSelectedTab()->GetGroups()->GetAt(g)->IndexOf(camera) >= 0)
            group = ribbon->GetSelectedTab()->GetGroups()->GetAt(g);
    ASSERT_NE(group, nullptr);
    auto* popup = dynamic_cast<ProfilePopup*>(frame->CreateCustomControl(1118, L"", ribbon));
    ASSERT_NE(popup, nullptr);
    group->Add(popup, 1118);
    frame->RecalcLayout();
    pal::test::pump();
    popup->OnSetPopup(TRUE);
    pal::test::pump();
    ASSERT_TRUE(popup->GetPopuped());
    CXTPControls* entries = popup->GetCommandBar()->GetControls();
    ASSERT_EQ(entries->GetCount(), 5);
    EXPECT_EQ(entries->GetAt(4)->GetCaption(), L"Without colour");
    EXPECT_NE(dynamic_cast<ProfileButton*>(entries->GetAt(0))->GetImage(16), nullptr);
    EXPECT_EQ(dynamic_cast<ProfileButton*>(entries->GetAt(4))->GetImage(16), nullptr);
    EXPECT_TRUE(pal::test::keepSnapshot(popup->GetCommandBar()->m_hWnd, "program-profile-popup"));
    frame->GetCommandBars()->ClosePopups();
    pal::test::pump();
}

TEST_F(ElementControls, TheNameBoxOfTheEditTabSelectsByNameAndDropsDownTheNamesFound) {
    ASSERT_TRUE(start({copySample("plate.grb")}));
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    CDVView* view = DVGetActiveView();
    ASSERT_NE(view, nullptr);
    frame->GetRibbonCommandBars()->SetRibbonMode(true);
    frame->RecalcLayout();
    pal::test::pump();
    auto* box = dynamic_cast<CFindComboBox*>(ribbonControl(frame, L"Edit", 1251));
    ASSERT_NE(box, nullptr) << "the Edit tab's Find group holds the box";
    for (const wchar_t* name : {L"note", L"slot left", L"  bore "}) {
        box->SetEditText(name);
        box->OnExecute();
        pal::test::pump();
    }
    EXPECT_EQ(selectedName(view), L"bore");
    // The field taking the keys offers the names.
    box->OnSetFocus(nullptr);
    pal::test::pump();
    ASSERT_EQ(box->GetCount(), 3) << "focus offers the names found, latest first";
    EXPECT_EQ(box->GetLBText(0), L"bore");
    EXPECT_EQ(box->GetLBText(2), L"note");
    ASSERT_TRUE(box->ShowDropDown(TRUE));
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(box->GetListBox()->m_hWnd, "program-find-box-drop-down"));
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "program-find-box-with-drop-down"));
    // Choosing the last offered name selects it.
    box->GetListBox()->GetControl(2)->OnExecute();
    pal::test::pump();
    EXPECT_EQ(selectedName(view), L"note");
    EXPECT_FALSE(box->GetDroppedState());
    EXPECT_EQ(box->GetEditText(), L"");
}

TEST_F(ElementControls, TheToolBarsHoldBothControlsToo) {
    ASSERT_TRUE(start({copySample("plate.grb")}));
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    frame->RecalcLayout();
    pal::test::pump();
    CXTPCommandBars* bars = frame->GetCommandBars();
    CFindComboBox* box = nullptr;
    CXTPToolBar* holder = nullptr;
    for (int i = 0; i < bars->GetCount() && box == nullptr; ++i) {
        CXTPToolBar* bar = bars->GetAt(i);
        if (bar == nullptr || bar == frame->GetRibbonBar())
            continue;
        box = dynamic_cast<CFindComboBox*>(bar->FindControl(1251));
        holder = bar;
    }
    ASSERT_NE(box, nullptr) << "a default tool bar holds the name box";
    // The default tool bars have no place for the profile popup; the frame's factory makes it
    // for a tool bar all the same, as a person's customised bar asks for it.
    CXTPControl* made = frame->CreateCustomControl(1118, L"", holder);
    auto* popup = dynamic_cast<ProfilePopup*>(made);
    ASSERT_NE(popup, nullptr);
    holder->GetControls()->Add(popup, 1118);
    if (CDVCom_Is3D::Instance() == nullptr)
        CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D::SetViewProfiles(DVGetActiveView()->GetProfileObject(), {L"Steel"}, {8});
    popup->OnSetPopup(TRUE);
    pal::test::pump();
    ASSERT_EQ(popup->GetCommandBar()->GetControls()->GetCount(), 1);
    EXPECT_EQ(popup->GetCommandBar()->GetControls()->GetAt(0)->GetCaption(), L"Steel");
    frame->GetCommandBars()->ClosePopups();
    pal::test::pump();
    box->SetEditText(L"axis y");
    box->OnExecute();
    pal::test::pump();
    EXPECT_EQ(selectedName(DVGetActiveView()), L"axis y");
}

} // namespace
} // namespace dvapp::test
