// The controls as a model, without windows: adding, finding, copying and the originals.
#include "XTToolkitPro.h"

#include <gtest/gtest.h>

namespace {

CXTPPopupBar* popupWith(std::initializer_list<int> ids) {
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    for (int id : ids)
        bar->GetControls()->Add(xtpControlButton, id)->SetCaption(L"item");
    return bar;
}

TEST(ControlsModel, AddByTypeAtAnIndexFindAndRemove) {
    CXTPControls* controls = new CXTPControls;
    controls->Add(xtpControlButton, 1);
    controls->Add(xtpControlButton, 3);
    CXTPControl* two = controls->Add(xtpControlEdit, 2, L"param", 1);
    ASSERT_EQ(controls->GetCount(), 3);
    EXPECT_EQ(controls->GetAt(1), two);
    EXPECT_EQ(two->GetType(), xtpControlEdit);
    EXPECT_EQ(two->GetParameter(), L"param");
    EXPECT_EQ(two->GetIndex(), 1);
    EXPECT_EQ(controls->FindControl(3), controls->GetAt(2));
    EXPECT_EQ(controls->FindControl(xtpControlButton, 2, FALSE, FALSE), nullptr) << "the type must match";
    controls->Remove(two);
    EXPECT_EQ(controls->GetCount(), 2);
    EXPECT_EQ(controls->FindControl(2), nullptr);
    controls->InternalRelease();
}

// A control shows while nothing hides it: SetVisible's reason and a bar's reasons count alike,
// and each is cleared on its own.
TEST(ControlsModel, AControlShowsWhileNoReasonHidesIt) {
    CXTPControlButton button;
    EXPECT_EQ(button.GetHideFlags(), 0u);
    button.SetHideFlag(xtpHideWrap, TRUE);
    EXPECT_FALSE(button.IsVisible());
    button.SetVisible(FALSE);
    EXPECT_EQ(button.GetHideFlags(), DWORD(xtpHideGeneric | xtpHideWrap));
    button.SetHideFlag(xtpHideWrap, FALSE);
    EXPECT_EQ(button.GetHideFlags(), DWORD(xtpHideGeneric));
    EXPECT_FALSE(button.IsVisible());
    button.SetHideFlag(xtpHideGeneric, FALSE);
    EXPECT_TRUE(button.IsVisible());
}

TEST(ControlsModel, FindControlLooksIntoPopupsWhenAskedAndSkipsHiddenOnesWhenAsked) {
    CXTPToolBar* bar = new CXTPToolBar;
    auto* popup = static_cast<CXTPControlPopup*>(bar->GetControls()->Add(xtpControlPopup, 0));
    CXTPPopupBar* inner = popupWith({10, 11});
    auto* nested = static_cast<CXTPControlPopup*>(inner->GetControls()->Add(xtpControlPopup, 0));
    CXTPPopupBar* deepest = popupWith({20});
    nested->SetCommandBar(deepest);
    deepest->InternalRelease();
    popup->SetCommandBar(inner);
    inner->InternalRelease();

    EXPECT_EQ(bar->FindControl(20), nullptr);
    CXTPControl* found = bar->FindControl(xtpControlError, 20, FALSE, TRUE);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetParent(), deepest);
    nested->SetVisible(FALSE);
    EXPECT_EQ(bar->FindControl(xtpControlError, 20, TRUE, TRUE), nullptr) << "behind a hidden popup";
    EXPECT_NE(bar->FindControl(xtpControlError, 20, FALSE, TRUE), nullptr);
    bar->InternalRelease();
}

TEST(ControlsModel, ARecursiveCloneOwnsItsPopupsAndAShallowOneSharesThem) {
    auto* popup = CXTPControlPopup::CreateControlPopup(xtpControlButtonPopup);
    popup->SetID(5);
    popup->SetCaption(L"&Zoom");
    popup->SetBeginGroup(TRUE);
    CXTPPopupBar* bar = popupWith({1, 2});
    popup->SetCommandBar(bar);
    bar->InternalRelease();

    auto* deep = static_cast<CXTPControlPopup*>(popup->Clone(TRUE));
    auto* shallow = static_cast<CXTPControlPopup*>(popup->Clone(FALSE));
    EXPECT_EQ(deep->GetType(), xtpControlButtonPopup);
    EXPECT_EQ(deep->GetCaption(), L"&Zoom");
    EXPECT_TRUE(deep->GetBeginGroup());
    EXPECT_NE(deep->GetCommandBar(), popup->GetCommandBar());
    EXPECT_EQ(deep->GetCommandBar()->GetControlCount(), 2);
    EXPECT_EQ(shallow->GetCommandBar(), popup->GetCommandBar());
    EXPECT_TRUE(deep->Compare(popup));
    deep->GetCommandBar()->GetControls()->Remove(0);
    EXPECT_FALSE(deep->Compare(popup)) << "popups compare by their controls";
    EXPECT_EQ(popup->GetCommandBar()->GetControlCount(), 2) << "the original's popup is its own";
    popup->InternalRelease();
    shallow->InternalRelease(); // the shared popup lives on with the shallow copy
    deep->InternalRelease();
}

TEST(ControlsModel, TheOriginalControlsStayAsTheBarWasBuilt) {
    CXTPToolBar* bar = new CXTPToolBar;
    static const UINT ids[] = {1, 0, 2, 3};
    bar->SetButtons(ids, 4);
    EXPECT_TRUE(bar->GetControl(1)->GetBeginGroup()) << "a separator starts a group at the next button";
    bar->GetControls()->CreateOriginalControls();
    bar->GetControls()->Remove(0);
    bar->GetControls()->Add(xtpControlButton, 9);
    CXTPControls* original = bar->GetControls()->GetOriginalControls();
    ASSERT_NE(original, nullptr);
    ASSERT_EQ(original->GetCount(), 3);
    EXPECT_EQ(original->GetAt(0)->GetID(), 1);
    EXPECT_EQ(original->GetAt(2)->GetID(), 3);
    bar->InternalRelease();
}

TEST(ControlsModel, AMenuBecomesButtonsPopupsAndGroups) {
    CMenu sub, menu;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING | MF_GRAYED, 31, L"Gr&ey");
    sub.AppendMenu(MF_SEPARATOR, 0, nullptr);
    sub.AppendMenu(MF_STRING | MF_CHECKED, 32, L"&Checked\tCtrl+K");
    // Eight items: the submenu's count in its item's state reads like the separator flag.
    for (UINT id = 34; id < 39; ++id)
        sub.AppendMenu(MF_STRING, id, L"More");
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), L"&Sub");
    menu.AppendMenu(MF_STRING, 33, L"&Plain");
    CXTPControls* controls = new CXTPControls;
    ASSERT_TRUE(controls->LoadMenu(&menu));
    menu.DestroyMenu();
    ASSERT_EQ(controls->GetCount(), 2);
    auto* popup = dynamic_cast<CXTPControlPopup*>(controls->GetAt(0));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetCaption(), L"&Sub");
    CXTPControls* inner = popup->GetCommandBar()->GetControls();
    ASSERT_EQ(inner->GetCount(), 7);
    EXPECT_FALSE(inner->GetAt(0)->GetEnabled());
    EXPECT_TRUE(inner->GetAt(1)->GetBeginGroup());
    EXPECT_TRUE(inner->GetAt(1)->GetChecked());
    EXPECT_EQ(inner->GetAt(1)->GetCaption(), L"&Checked") << "the shortcut text is not the caption";
    EXPECT_EQ(inner->GetAt(1)->GetShortcutText(), L"Ctrl+K");
    controls->InternalRelease();
}

TEST(ControlsModel, AGalleryKeepsItsItemsAndTheirIndexes) {
    CXTPControlGalleryItems* items = new CXTPControlGalleryItems;
    items->AddLabel(L"Recent");
    items->AddItem(50, L"A");
    items->AddItem(51, L"B");
    auto* gallery = new CXTPControlGallery;
    gallery->SetItems(items);
    items->InternalRelease();
    ASSERT_EQ(gallery->GetItemCount(), 3);
    EXPECT_TRUE(gallery->GetItem(0)->IsLabel());
    items->Remove(0);
    EXPECT_EQ(gallery->GetItem(0)->GetID(), 50);
    EXPECT_EQ(gallery->GetItem(1)->GetIndex(), 1);
    gallery->InternalRelease();
}

} // namespace

namespace {

// A combo box's items found by their beginning, in any case, wherever the search starts.
TEST(ControlsModel, AComboBoxFindsAnItemByItsBeginningFromAnyStart) {
    CXTPControlComboBox combo;
    for (const wchar_t* item : {L"bolt", L"Nut", L"bolster", L"washer"})
        combo.AddString(item);
    struct Case {
        int startAfter;
        const wchar_t* text;
        int found;
    };
    const Case cases[] = {
        {-1, L"bol", 0}, {0, L"bol", 2}, {2, L"bol", 0},           {-1, L"NU", 1},  {3, L"nut", 1},
        {-1, L"", 0},    {1, L"", 2},    {-1, L"washers", CB_ERR}, {5, L"wash", 3}, {-1, L"x", CB_ERR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(combo.FindString(c.startAfter, c.text), c.found) << c.startAfter;
    CXTPControlComboBox empty;
    EXPECT_EQ(empty.FindString(-1, L"a"), CB_ERR);
}

} // namespace
