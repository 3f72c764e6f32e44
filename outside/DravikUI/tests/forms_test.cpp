// The forms toolkit: a form's controls stacked in its window, a list keeping rows with ids and
// colours, user events that programmatic changes do not raise, and a modal dialog that ends
// with the kind of the button pressed (none when it closes otherwise).
#include "DravikUI/Forms.h"
#include "pal/test/idle_script_owner.h"

#include "afxwin.h"
#include "pal/test/user_test.h"
#include "win/controls/edit.h"
#include "win/controls/listview.h"
#include "xtp/ImageManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Owner = pal::test::IdleScriptOwner;

class FormsTest : public pal::test::UserTest {
protected:
    CWinApp app{L"Forms"};
    Owner owner;
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr));
    }
    void TearDown() override {
        owner.DestroyWindow();
        UserTest::TearDown();
    }
    // A form with a text field over a list of three rows.
    void build(dvpf::WpfDockFormView& view) {
        text = dvpf::CompoundStringControl::Create(L"Filter");
        list = dvpf::SimpleListControl::Create(L"Rows");
        view.AddControl(text);
        view.AddControl(list);
        list->SetIdMappingEnabled(true);
        list->SetRowColorsEnabled(true);
        list->SetRowCount(3);
        for (int row = 0; row < 3; ++row) {
            list->SetRowId(row, 100 + row);
            list->SetData(row, 0, L"row " + std::to_wstring(row));
        }
        view.FinishUiSetup();
    }
    std::shared_ptr<dvpf::CompoundStringControl> text;
    std::shared_ptr<dvpf::SimpleListControl> list;
};

TEST_F(FormsTest, AFormStacksItsControlsAndTheListFillsTheRest) {
    dvpf::WpfDockFormView view(L"Form");
    build(view);
    EXPECT_EQ(text->GetFullId(), L"Form.Filter");
    ASSERT_NE(view.Create(owner.m_hWnd, RECT{0, 0, 300, 200}), nullptr);
    CRect field, rows;
    ::GetWindowRect(text->GetHwnd(), field);
    ::GetWindowRect(list->GetHwnd(), rows);
    EXPECT_EQ(field.Width(), 300);
    EXPECT_EQ(field.Height(), text->GetPreferredHeight());
    EXPECT_GT(rows.top, field.bottom - 1);
    EXPECT_EQ(rows.bottom - field.top, 200) << "the list takes what is left";
    EXPECT_EQ(::SendMessageW(list->GetHwnd(), LVM_GETITEMCOUNT, 0, 0), 3);
}

TEST_F(FormsTest, AListKeepsItsRowsWithIdsColoursAndTexts) {
    struct Case {
        const char* name;
        std::function<void(dvpf::SimpleListControl&)> change;
        int row;
        std::int64_t id;
        std::wstring text;
    };
    const Case cases[] = {
        {"as built", [](auto&) {}, 1, 101, L"row 1"},
        {"new text", [](auto& l) { l.SetData(2, 0, L"changed"); }, 2, 102, L"changed"},
        {"row out of range", [](auto& l) { l.SetData(7, 0, L"lost"); }, 7, -1, L""},
        {"column out of range", [](auto& l) { l.SetData(0, 3, L"lost"); }, 0, 100, L"row 0"},
        {"without id mapping the index", [](auto& l) { l.SetIdMappingEnabled(false); }, 2, 2, L"row 2"},
        {"all removed", [](auto& l) { l.RemoveAll(); }, 0, -1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvpf::WpfDockFormView view(L"Form");
        build(view);
        view.Create(owner.m_hWnd, RECT{0, 0, 300, 200});
        c.change(*list);
        EXPECT_EQ(list->GetRowId(c.row), c.id);
        EXPECT_EQ(list->GetData(c.row, 0), c.text);
    }
    dvpf::WpfDockFormView view(L"Form");
    build(view);
    list->SetRowColor(1, RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(list->GetRowColor(1), RGB(0x80, 0x80, 0x80));
    EXPECT_FALSE(list->GetSelectedRow());
    list->SelectRow(2);
    EXPECT_EQ(list->GetSelectedRow(), 2) << "the selection is the list's, with or without its window";
    list->SetRowCount(2);
    EXPECT_FALSE(list->GetSelectedRow()) << "a row that went is not selected";
}

TEST_F(FormsTest, ARowShowsTheProgramsPictureOfItsCommandAtTheSizeAsked) {
    // A command with pictures at two sizes, as the program's images hold them.
    constexpr UINT kPictured = 64100;
    const auto square = [](int side) {
        std::vector<DWORD> bits(static_cast<size_t>(side * side), 0xFF2060A0u);
        HBITMAP colour = ::CreateBitmap(side, side, 1, 32, bits.data());
        ICONINFO info{TRUE, 0, 0, nullptr, colour};
        HICON icon = ::CreateIconIndirect(&info);
        ::DeleteObject(colour);
        return icon;
    };
    HICON small = square(16);
    HICON large = square(32);
    ASSERT_TRUE(small != nullptr && large != nullptr);
    XTPImageManager()->SetIcon(small, kPictured, CSize(16, 16));
    XTPImageManager()->SetIcon(large, kPictured, CSize(32, 32));
    ::DestroyIcon(small);
    ::DestroyIcon(large);
    const struct {
        int id;
        std::initializer_list<int> sizes;
        bool pictured;
    } cases[] = {{static_cast<int>(kPictured), {16, 32}, true},
                 {static_cast<int>(kPictured), {24}, true}, // the nearest the program has
                 {64101, {16, 32}, false},
                 {0, {16}, false},
                 {-5, {16}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const dvpf::Image image = dvpf::Image::FromResourceIcon(c.id, c.sizes);
        EXPECT_EQ(image.IsEmpty(), !c.pictured);
        EXPECT_EQ(image.GetIcon(16) != nullptr, c.pictured);
    }
    const dvpf::Image both = dvpf::Image::FromResourceIcon(static_cast<int>(kPictured), {16, 32});
    EXPECT_NE(both.GetIcon(16), both.GetIcon(32)) << "each size its own";
    EXPECT_EQ(both.GetIcon(48), both.GetIcon(32)) << "larger than any: the largest";

    dvpf::WpfDockFormView view(L"Form");
    build(view);
    view.Create(owner.m_hWnd, RECT{0, 0, 300, 200});
    list->SetIcon(1, 0, both);
    list->SetIcon(2, 1, both); // pictures only in the first column
    const auto imageOf = [&](int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ::SendMessageW(list->GetHwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    EXPECT_GE(imageOf(1), 0);
    EXPECT_LT(imageOf(0), 0) << "a row without a picture shows none";
    EXPECT_LT(imageOf(2), 0);
    EXPECT_NE(::SendMessageW(list->GetHwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    list->SetRowCount(3); // shown anew: the picture stays with its row
    EXPECT_GE(imageOf(1), 0);
}

TEST_F(FormsTest, OnlyThePersonsChangesRaiseEvents) {
    dvpf::WpfDockFormView view(L"Form");
    build(view);
    view.Create(owner.m_hWnd, RECT{0, 0, 300, 200});
    int changes = 0;
    text->OnTextChanged = [&] { ++changes; };
    text->SetText(L"by the program");
    EXPECT_EQ(changes, 0);
    ::SendMessageW(text->GetHwnd(), EM_SETSEL, 14, 14);
    ::SendMessageW(text->GetHwnd(), WM_CHAR, L'x', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(text->GetText(), L"by the programx");
}

TEST_F(FormsTest, TheDialogEndsWithTheKindOfItsButton) {
    struct Case {
        const char* name;
        std::function<void(dvpf::ModalDialog&, HWND)> end;
        std::optional<int> result;
    };
    const Case cases[] = {
        {"the accept button", [](auto& d, HWND) { d.PressButton(0); }, 0},
        {"the cancel button", [](auto& d, HWND) { d.PressButton(1); }, 3},
        {"Enter", [](auto&, HWND w) { ::SendMessageW(w, WM_COMMAND, IDOK, 0); }, 0},
        {"Escape", [](auto&, HWND w) { ::SendMessageW(w, WM_COMMAND, IDCANCEL, 0); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvpf::WpfDockFormView view(L"Form");
        build(view);
        dvpf::ModalDialog dialog(&owner, view, L"Form.Title");
        dialog.AddButton(0);
        dialog.AddButton(3);
        dialog.PressButton(0); // before it shows: nothing
        owner.next = 0;
        owner.script = {[&](HWND shown) {
            EXPECT_NE(view.GetHwnd(), nullptr) << "the form is in the dialog";
            EXPECT_EQ(::GetParent(view.GetHwnd()), shown);
            c.end(dialog, shown);
        }};
        EXPECT_EQ(dialog.DoModal(), c.result);
    }
    // Without buttons a close ends it with none.
    dvpf::WpfDockFormView view(L"Form");
    build(view);
    dvpf::ModalDialog bare(&owner, view, L"Form.Title");
    owner.next = 0;
    owner.script = {[](HWND shown) { ::SendMessageW(shown, WM_CLOSE, 0, 0); }};
    EXPECT_EQ(bare.DoModal(), std::nullopt);
}

} // namespace
