// The class library's list, tree, tab, header and tooltip classes over their controls, with
// their notifications reaching a message map.
#include "afxcmn.h"
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT IDC_LIST = 2001, IDC_TREE = 2002, IDC_TABS = 2003;

class Host : public CWnd {
public:
    std::vector<std::string> seen;
    void OnColumnClick(NMHDR* header, LRESULT* result) {
        const auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        seen.push_back("column " + std::to_string(nm->iSubItem));
        *result = 0;
    }
    void OnEndLabelEdit(NMHDR* header, LRESULT* result) {
        const auto* di = reinterpret_cast<NMTVDISPINFOW*>(header);
        seen.push_back(di->item.pszText ? "renamed" : "cancelled");
        *result = TRUE;
    }
    void OnSelChanged(NMHDR*, LRESULT* result) {
        seen.push_back("selected");
        *result = 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Host, CWnd)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_LIST, &Host::OnColumnClick)
ON_NOTIFY(TVN_ENDLABELEDIT, IDC_TREE, &Host::OnEndLabelEdit)
ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &Host::OnSelChanged)
END_MESSAGE_MAP()

int byDataDescending(LPARAM a, LPARAM b, LPARAM) {
    return static_cast<int>(b - a);
}

class ItemCtrls : public pal::test::SandboxTest {
public:
    void SetUp() override {
        pal::test::SandboxTest::SetUp();
        ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                                  nullptr, nullptr));
    }
    void TearDown() override {
        host.DestroyWindow();
        pal::test::SandboxTest::TearDown();
    }
    Host host;
};

TEST_F(ItemCtrls, AListCtrlKeepsItemsSortsAndWalksItsSelection) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &host, IDC_LIST));
    EXPECT_EQ(list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 60), 1);
    for (int i = 0; i < 5; ++i) {
        const int at = list.InsertItem(i, (L"Item " + std::to_wstring(i)).c_str());
        list.SetItemText(at, 1, std::to_wstring(i * 10).c_str());
        list.SetItemData(at, static_cast<DWORD_PTR>(i));
    }
    EXPECT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemText(3, 1), CString(L"30"));
    EXPECT_EQ(list.GetItemText(9, 0), CString(L"")) << "no such item";
    EXPECT_TRUE(list.SortItems(&byDataDescending, 0));
    EXPECT_EQ(list.GetItemText(0, 0), CString(L"Item 4"));
    EXPECT_EQ(list.GetItemData(4), 0u);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> selected;
    for (auto pos = list.GetFirstSelectedItemPosition(); pos;)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(selected, (std::vector<int>{1, 3}));
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    LVFINDINFOW find{LVFI_PARAM, nullptr, 2, {}, 0};
    EXPECT_EQ(list.FindItem(&find), 2);
    ASSERT_TRUE(list.GetHeaderCtrl());
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
    EXPECT_TRUE(list.SetColumnWidth(1, 90));
    EXPECT_EQ(list.GetColumnWidth(1), 90);

    // A click on the second caption reaches the host's map.
    CRect caption;
    list.GetHeaderCtrl()->GetItemRect(1, &caption);
    NMHEADERW click{};
    click.hdr.hwndFrom = list.GetHeaderCtrl()->GetSafeHwnd();
    click.hdr.code = HDN_ITEMCLICKW;
    click.iItem = 1;
    list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(host.seen, std::vector<std::string>{"column 1"});

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 1));
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(list.GetImageList(LVSIL_SMALL), &images);
    list.DestroyWindow();
}

TEST_F(ItemCtrls, ATreeCtrlBuildsSelectsAndRenames) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_EDITLABELS | TVS_CHECKBOXES,
                            CRect(0, 0, 200, 200), &host, IDC_TREE));
    const HTREEITEM root = tree.InsertItem(L"Profiles");
    const HTREEITEM child = tree.InsertItem(L"Current settings", root);
    tree.SetItemData(child, 41006);
    EXPECT_EQ(tree.GetItemData(child), 41006u);
    EXPECT_EQ(tree.GetChildItem(root), child);
    EXPECT_EQ(tree.GetParentItem(child), root);
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_FALSE(tree.ItemHasChildren(child));
    EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_TRUE(tree.SelectItem(child));
    EXPECT_EQ(tree.GetSelectedItem(), child);
    EXPECT_FALSE(tree.GetCheck(child));
    EXPECT_TRUE(tree.SetCheck(child));
    EXPECT_TRUE(tree.GetCheck(child));
    CEdit* edit = tree.EditLabel(child);
    ASSERT_TRUE(edit);
    edit->SetWindowText(L"Workshop");
    EXPECT_TRUE(tree.EndEditLabelNow(FALSE));
    EXPECT_EQ(tree.GetItemText(child), CString(L"Workshop"));
    EXPECT_EQ(host.seen, (std::vector<std::string>{"selected", "renamed"}));
    tree.DestroyWindow();
}

TEST_F(ItemCtrls, ATabCtrlAndAToolTipCtrl) {
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100), &host, IDC_TABS));
    EXPECT_EQ(tabs.InsertItem(0, L"Commands"), 0);
    EXPECT_EQ(tabs.InsertItem(1, L"Keyboard"), 1);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    CRect display(0, 0, 300, 100);
    tabs.AdjustRect(FALSE, &display);
    EXPECT_GT(display.top, 10);

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&host));
    EXPECT_TRUE(tips.AddTool(&tabs, L"Pages of the sheet"));
    const CRect corner(0, 0, 20, 20);
    EXPECT_TRUE(tips.AddTool(&host, L"Corner", &corner, 5));
    EXPECT_EQ(tips.GetToolCount(), 2);
    CString text;
    tips.GetText(text, &tabs);
    EXPECT_EQ(text, CString(L"Pages of the sheet"));
    tips.UpdateTipText(L"Sheet pages", &tabs);
    tips.GetText(text, &tabs);
    EXPECT_EQ(text, CString(L"Sheet pages"));
    tips.DelTool(&tabs);
    EXPECT_EQ(tips.GetToolCount(), 1);
    tips.SetDelayTime(TTDT_INITIAL, 250);
    EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), 250);
    tips.DestroyWindow();
    tabs.DestroyWindow();
}

} // namespace
