// A report of drawings with icons and a selected row, and a tree with an expanded and a collapsed
// branch, drawn so that a person recognises them.
#include "item_log.h"

#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace controlstest {
namespace {

class ItemSnapshotTest : public ItemControlTest {
public:
    HIMAGELIST icons() {
        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
        for (LPCWSTR id : {IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING}) {
            const auto icon = static_cast<HICON>(LoadImageW(nullptr, id, IMAGE_ICON, 16, 16, 0));
            ImageList_AddIcon(list, icon);
            DestroyIcon(icon);
        }
        return list;
    }
    void save(const pal::gdi::Surface& picture, const char* name) {
        ASSERT_TRUE(pal::test::keepSnapshot(picture, name));
    }
};

int countColour(const pal::gdi::Surface& picture, RECT r, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += picture.pixel(x, y) == colour;
    return n;
}

TEST_F(ItemSnapshotTest, AReportWithIconsAndASelectedRow) {
    const HWND list = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS, {10, 10, 400, 180}, 70);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons()));
    const wchar_t* columns[] = {L"Name", L"Size", L"Modified"};
    const int widths[] = {170, 70, 130};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = c == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.pszText = const_cast<LPWSTR>(columns[c]);
        column.cx = widths[c];
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* rows[][3] = {{L"Gear housing.dvd", L"120 KB", L"12.03.2025"},
                                {L"Bracket.dvd", L"45 KB", L"02.04.2025"},
                                {L"Main assembly.dva", L"980 KB", L"30.04.2025"},
                                {L"Bolt M8x40.dvd", L"12 KB", L"01.05.2025"},
                                {L"Чертёж вала.dvd", L"64 KB", L"07.05.2025"}};
    for (int i = 0; i < 5; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i % 3;
        item.pszText = const_cast<LPWSTR>(rows[i][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 3; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<LPWSTR>(rows[i][c]);
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
    }
    SetFocus(list);
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    pump();
    const auto picture = pal::test::snapshot(parent, true);
    ASSERT_TRUE(picture);
    save(picture, "listview.png");

    auto inParent = [&](RECT r) {
        MapWindowPoints(list, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    const RECT selected = inParent(row);
    // The selected row is in the selection colour across all its columns, with white text on it.
    EXPECT_EQ(picture.pixel(selected.left + 160, selected.top + 3), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(picture.pixel(selected.right - 4, selected.top + 3), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(countColour(picture, selected, GetSysColor(COLOR_HIGHLIGHTTEXT)), 20) << "its text";
    // Another row has dark text on the window colour and its icon.
    RECT other{LVIR_ICON, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&other));
    const RECT icon = inParent(other);
    EXPECT_GT(countColour(picture, icon, GetSysColor(COLOR_WINDOW)), 0);
    EXPECT_LT(countColour(picture, icon, GetSysColor(COLOR_WINDOW)),
              (icon.right - icon.left) * (icon.bottom - icon.top) - 40)
        << "an icon is drawn";
    // The header is drawn in the face colour above the rows.
    const RECT client = inParent(RECT{0, 0, 390, 170});
    EXPECT_EQ(picture.pixel(client.left + 100, client.top + 2), GetSysColor(COLOR_3DFACE));
}

TEST_F(ItemSnapshotTest, IconsWithTheirLabelsBelowThem) {
    const HWND list = make(WC_LISTVIEWW, L"", LVS_ICON | LVS_SHOWSELALWAYS, {10, 10, 400, 200}, 72);
    HIMAGELIST big = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (LPCWSTR id : {IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING}) {
        const auto icon = static_cast<HICON>(LoadImageW(nullptr, id, IMAGE_ICON, 32, 32, 0));
        ImageList_AddIcon(big, icon);
        DestroyIcon(icon);
    }
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(big));
    const wchar_t* names[] = {L"Standard parts", L"Gear housing.dvd", L"A rather long drawing name.dvd",
                              L"Notes.txt", L"Bolt.dvd"};
    for (int i = 0; i < 5; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i % 3;
        item.pszText = const_cast<LPWSTR>(names[i]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetFocus(list);
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    pump();
    const auto picture = pal::test::snapshot(parent, true);
    ASSERT_TRUE(picture);
    save(picture, "listview_icons.png");
    RECT label{LVIR_LABEL, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label));
    MapWindowPoints(list, parent, reinterpret_cast<POINT*>(&label), 2);
    EXPECT_GT(countColour(picture, label, GetSysColor(COLOR_HIGHLIGHT)), 50) << "the selected label";
    RECT icon{LVIR_ICON, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&icon));
    MapWindowPoints(list, parent, reinterpret_cast<POINT*>(&icon), 2);
    EXPECT_GT(countColour(picture, icon, GetSysColor(COLOR_WINDOW)), 0);
    EXPECT_LT(countColour(picture, icon, GetSysColor(COLOR_WINDOW)),
              (icon.right - icon.left) * (icon.bottom - icon.top) - 200)
        << "a large icon is drawn";
}

TEST_F(ItemSnapshotTest, ATreeWithExpandedAndCollapsedBranches) {
    const HWND tree =
        make(WC_TREEVIEWW, L"", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
             {10, 10, 260, 200}, 71);
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons()));
    auto add = [&](HTREEITEM parentItem, const wchar_t* text, int image) {
        TVINSERTSTRUCTW in{};
        in.hParent = parentItem ? parentItem : TVI_ROOT;
        in.hInsertAfter = TVI_LAST;
        in.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        in.item.pszText = const_cast<LPWSTR>(text);
        in.item.iImage = in.item.iSelectedImage = image;
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&in)));
    };
    const HTREEITEM document = add(nullptr, L"Document macros", 0);
    add(document, L"Renumber sheets", 1);
    const HTREEITEM selectedItem = add(document, L"Export to PDF", 1);
    const HTREEITEM nested = add(document, L"Utilities", 0);
    add(nested, L"Clean layers", 1);
    const HTREEITEM application = add(nullptr, L"Application macros", 0);
    add(application, L"Batch print", 2);
    add(nullptr, L"Library macros", 0);
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(document));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selectedItem));
    SetFocus(tree);
    pump();
    const auto picture = pal::test::snapshot(parent, true);
    ASSERT_TRUE(picture);
    save(picture, "treeview.png");

    auto rectOf = [&](HTREEITEM item, BOOL textOnly) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);
        EXPECT_TRUE(
            SendMessageW(tree, TVM_GETITEMRECT, static_cast<WPARAM>(textOnly), reinterpret_cast<LPARAM>(&r)));
        MapWindowPoints(tree, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT label = rectOf(selectedItem, TRUE);
    EXPECT_EQ(picture.pixel(label.right - 2, label.top + 2), GetSysColor(COLOR_HIGHLIGHT))
        << "the selected label";
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_LASTVISIBLE, 0),
              SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(application)))
        << "the collapsed branches show no children";
    // The expanded branch has a minus in its button, the collapsed one a plus: the plus has ink
    // above and below the button's centre, the minus has none.
    auto buttonInk = [&](HTREEITEM item) {
        const RECT row = rectOf(item, FALSE);
        const RECT text = rectOf(item, TRUE);
        const int mid = (row.top + row.bottom) / 2;
        int vertical = 0;
        for (int x = row.left; x < text.left - 16; ++x)
            for (int dy : {-2, 2})
                vertical += picture.pixel(x, mid + dy) == GetSysColor(COLOR_WINDOWTEXT);
        return vertical;
    };
    EXPECT_EQ(buttonInk(document), 0) << "minus";
    EXPECT_GT(buttonInk(application), 0) << "plus";
}

} // namespace
} // namespace controlstest
