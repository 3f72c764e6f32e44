// The report control: rows made from records and their children in sort order, cell and
// button hit tests, selection, expansion by the mouse, in-place editing, records that leave
// while shown, and its picture.
#include "XTToolkitPro.h"
#include "common/toolkit_test.h"
#include "xtp/ReportControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

using dv::toolkit::test::ToolkitTest;

class ReportControlTest : public ToolkitTest {};

// A control that keeps what its hooks heard.
class Report : public CXTPReportControl {
public:
    std::vector<std::wstring> heard;

protected:
    void OnRowExpanded(CXTPReportRow* row) override {
        heard.push_back(L"expanded " + std::wstring(row->GetRecord()->GetItem(0)->GetCaption(nullptr)));
        Populate();
    }
    void OnSelectionChanged() override { heard.push_back(L"selection"); }
    void OnHeaderClick(CXTPReportColumn* column) override {
        heard.push_back(L"header " + std::wstring(column->GetInternalName()));
    }
    void OnBeginDrag(CPoint point, DWORD keyState) override {
        heard.push_back(L"drag " + std::to_wstring(HitTest(point)->GetIndex()) +
                        ((keyState & MK_CONTROL) ? L" ctrl" : L""));
    }
};

class Button : public CXTPReportRecordItemButton {
public:
    explicit Button(int* presses) : presses_(presses) { SetCaption(L"..."); }
    void OnLButtonUp(const XTP_REPORTRECORDITEM_CLICKARGS*) override { ++*presses_; }

private:
    int* presses_;
};

CXTPReportRecord* record(CXTPReportRecords* into, const wchar_t* name, const wchar_t* path,
                         int priority = 0) {
    auto* r = into->Add(new CXTPReportRecord);
    r->AddItem(new CXTPReportRecordItem(name))->SetSortPriority(priority);
    r->AddItem(new CXTPReportRecordItem(path));
    return r;
}

std::vector<std::wstring> shown(const CXTPReportControl& report) {
    std::vector<std::wstring> out;
    for (const auto& row : report.GetRows())
        out.push_back(std::wstring(row->GetTreeDepth(), L' ') +
                      std::wstring(row->GetRecord()->GetItem(0)->GetCaption(nullptr)));
    return out;
}

LPARAM at(CPoint p) {
    return MAKELPARAM(p.x, p.y);
}

struct Fixture {
    CFrameWnd* frame = nullptr;
    std::unique_ptr<Report> owned;
    Report* report = nullptr;
    CXTPReportRecord* drawings = nullptr;
    Fixture() = default;
    Fixture(Fixture&&) = default;
    ~Fixture() {
        if (owned && owned->GetSafeHwnd())
            owned->DestroyWindow();
    }
};

// Two top-level records; "Drawings" holds three, one of them first by priority.
Fixture make() {
    Fixture f;
    f.frame = new CFrameWnd;
    f.frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 420, 260));
    f.owned = std::make_unique<Report>();
    f.report = f.owned.get();
    f.report->Create(WS_VISIBLE, CRect(0, 0, 400, 200), f.frame, 100);
    auto* name = f.report->AddColumn(new CXTPReportColumn(0, L"Name", 200));
    name->SetInternalName(L"Name");
    f.report->AddColumn(new CXTPReportColumn(1, L"Path", 180))->SetInternalName(L"Path");
    f.report->SetSortColumn(name);
    f.drawings = record(f.report->GetRecords(), L"Drawings", L"C:\\lib");
    record(f.report->GetRecords(), L"Archive", L"C:\\old");
    record(f.drawings->GetChilds(), L"plate.grb", L"C:\\lib\\plate.grb");
    record(f.drawings->GetChilds(), L"_frame.grb", L"C:\\lib\\_frame.grb", -1);
    record(f.drawings->GetChilds(), L"Bolt.grb", L"C:\\lib\\Bolt.grb");
    f.report->Populate();
    return f;
}

TEST_F(ReportControlTest, RowsFollowSortAndExpansion) {
    Fixture f = make();
    EXPECT_EQ(shown(*f.report), (std::vector<std::wstring>{L"Archive", L"Drawings"}));
    // The expand button of "Drawings" (row 1) opens it; the priority puts "_frame" first and
    // the rest compare without case.
    const CRect button = f.report->GetExpandButtonRect(f.report->GetRow(1));
    ASSERT_FALSE(button.IsRectEmpty());
    EXPECT_TRUE(f.report->GetExpandButtonRect(f.report->GetRow(0)).IsRectEmpty());
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(button.CenterPoint()));
    EXPECT_EQ(shown(*f.report), (std::vector<std::wstring>{L"Archive", L"Drawings", L" _frame.grb",
                                                           L" Bolt.grb", L" plate.grb"}));
    EXPECT_EQ(f.report->heard, (std::vector<std::wstring>{L"expanded Drawings"}));
    // A hidden record has no row.
    f.drawings->GetChilds()->GetAt(0)->SetVisible(FALSE);
    f.report->Populate();
    EXPECT_EQ(shown(*f.report),
              (std::vector<std::wstring>{L"Archive", L"Drawings", L" _frame.grb", L" Bolt.grb"}));
}

TEST_F(ReportControlTest, CellsAndHeaderAreHit) {
    Fixture f = make();
    struct Case {
        CPoint point;
        int row;
        const wchar_t* caption;
    };
    const int top = f.report->GetHeaderHeight();
    const int h = f.report->GetRowHeight();
    const Case cases[] = {
        {{40, top + 2}, 0, L"Archive"},
        {{250, top + h + 3}, 1, L"C:\\lib"},
        // The tree column's indent holds no cell.
        {{4, top + 2}, 0, nullptr},
        {{40, top + 5 * h}, -1, nullptr},
    };
    for (const Case& c : cases) {
        CXTPReportRow* row = f.report->HitTest(c.point);
        EXPECT_EQ(row ? row->GetIndex() : -1, c.row);
        CXTPReportRecordItem* item = row ? row->HitTest(c.point) : nullptr;
        EXPECT_EQ(item ? std::wstring(item->GetCaption(nullptr)) : L"", c.caption ? c.caption : L"");
    }
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(CPoint(250, 4)));
    EXPECT_EQ(f.report->heard, (std::vector<std::wstring>{L"header Path"}));
}

TEST_F(ReportControlTest, ClicksSelectAndButtonsPress) {
    Fixture f = make();
    int presses = 0;
    CXTPReportRecordItem* path = f.drawings->GetItem(1);
    path->AddButton(new Button(&presses));
    CXTPReportColumn* pathColumn = f.report->FindColumn(L"Path");
    const CRect button = f.report->GetButtonRect(f.report->GetRow(1), pathColumn, 0);
    ASSERT_EQ(button.Width(), 18);
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(button.CenterPoint()));
    f.report->SendMessage(WM_LBUTTONUP, 0, at(button.CenterPoint()));
    EXPECT_EQ(presses, 1);
    // Let go elsewhere: no press.
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(button.CenterPoint()));
    f.report->SendMessage(WM_LBUTTONUP, 0, at(CPoint(10, 10)));
    EXPECT_EQ(presses, 1);

    const int top = f.report->GetHeaderHeight();
    const int h = f.report->GetRowHeight();
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(CPoint(40, top + 2)));
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at(CPoint(40, top + h + 2)));
    ASSERT_EQ(f.report->GetSelectedRows().size(), 2u);
    EXPECT_EQ(f.report->GetFocusedRow()->GetIndex(), 1);
    f.report->SendMessage(WM_KEYDOWN, VK_UP, 0);
    ASSERT_EQ(f.report->GetSelectedRows().size(), 1u);
    EXPECT_EQ(f.report->GetSelectedRows()[0]->GetIndex(), 0);
}

TEST_F(ReportControlTest, ADragStartsOnceTheMouseMovesAFewPixels) {
    Fixture f = make();
    f.report->EnableDragDrop(TRUE);
    const int y = f.report->GetHeaderHeight() + 2;
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(CPoint(40, y)));
    f.report->heard.clear();
    f.report->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(CPoint(42, y + 1)));
    EXPECT_TRUE(f.report->heard.empty()) << "two pixels are no drag";
    f.report->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, at(CPoint(40, y + 12)));
    f.report->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(CPoint(40, y + 20)));
    EXPECT_EQ(f.report->heard, (std::vector<std::wstring>{L"drag 0 ctrl"}))
        << "one drag, from where it began";
    // Without drag and drop, moving does nothing.
    f.report->EnableDragDrop(FALSE);
    f.report->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(CPoint(40, y)));
    f.report->heard.clear();
    f.report->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(CPoint(40, y + 20)));
    EXPECT_TRUE(f.report->heard.empty());
}

TEST_F(ReportControlTest, DoubleClickEditsAndEnterOrEscapeEnds) {
    Fixture f = make();
    const int top = f.report->GetHeaderHeight();
    struct Case {
        const char* name;
        UINT key;
        const wchar_t* caption;
    };
    const Case cases[] = {{"enter takes", VK_RETURN, L"Shelf"}, {"escape drops", VK_ESCAPE, L"Archive"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.report->GetRow(0)->GetRecord()->GetItem(0)->SetCaption(L"Archive");
        f.report->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at(CPoint(40, top + 2)));
        CWnd* edit = f.report->GetInplaceEdit();
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->IsWindowVisible());
        CString text;
        edit->GetWindowText(text);
        EXPECT_EQ(text, L"Archive");
        edit->SetWindowText(L"Shelf");
        edit->SendMessage(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(f.report->GetInplaceEdit(), nullptr);
        EXPECT_EQ(std::wstring(f.report->GetRow(0)->GetRecord()->GetItem(0)->GetCaption(nullptr)), c.caption);
    }
    // A read-only cell does not open.
    f.report->GetRow(0)->GetRecord()->GetItem(1)->SetEditable(FALSE);
    f.report->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at(CPoint(250, top + 2)));
    EXPECT_EQ(f.report->GetInplaceEdit(), nullptr);
}

TEST_F(ReportControlTest, RecordThatLeavesTakesItsRowAndSelection) {
    Fixture f = make();
    f.report->GetRow(1)->SetExpanded(TRUE);
    f.report->SelectRow(f.report->GetRow(3));
    CXTPReportRecord* going = f.report->GetRow(3)->GetRecord();
    going->Delete();
    EXPECT_TRUE(f.report->GetSelectedRows().empty());
    EXPECT_EQ(f.report->GetFocusedRow(), nullptr);
    EXPECT_EQ(shown(*f.report),
              (std::vector<std::wstring>{L"Archive", L"Drawings", L" _frame.grb", L" plate.grb"}));
    // Deleting the parent takes the children's rows too; painting afterwards touches nothing gone.
    f.drawings->Delete();
    EXPECT_EQ(shown(*f.report), (std::vector<std::wstring>{L"Archive"}));
    f.report->UpdateWindow();
}

// An item that counts how often its caption is asked for, as painting asks.
class CountedItem : public CXTPReportRecordItem {
public:
    CountedItem(const wchar_t* text, int* asked) : CXTPReportRecordItem(text), asked_(asked) {}
    CString GetCaption(CXTPReportColumn* column) override {
        ++*asked_;
        return CXTPReportRecordItem::GetCaption(column);
    }

private:
    int* asked_;
};

// A long list scrolls by whole rows from its bar, the wheel and the keys; hit tests and cells
// follow the rows shown, and a paint asks only the rows in view for their texts.
TEST_F(ReportControlTest, ALongListScrollsByWholeRowsAndPaintsOnlyTheRowsInView) {
    Fixture f = make();
    std::vector<int> asked(200, 0);
    for (int i = 0; i < 200; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"row %03d", i);
        f.drawings->GetChilds()->Add(new CXTPReportRecord)->AddItem(new CountedItem(name, &asked[i]));
    }
    f.report->GetRow(1)->SetExpanded(TRUE);
    const int page = f.report->GetVisibleRowsCount();
    const int last = f.report->GetRowCount() - page;
    ASSERT_GT(last, 100);
    EXPECT_EQ(f.report->GetStyle() & WS_VSCROLL, WS_VSCROLL) << "the bar shows once rows overflow";
    const auto top = [&] { return f.report->GetTopRowIndex(); };
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        int top;
    };
    const Case cases[] = {
        {"line down", WM_VSCROLL, SB_LINEDOWN, 1},
        {"page down", WM_VSCROLL, SB_PAGEDOWN, 1 + page},
        {"wheel down a notch", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 4 + page},
        {"wheel up a notch", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 1 + page},
        {"line up", WM_VSCROLL, SB_LINEUP, page},
        {"bottom, no further", WM_VSCROLL, SB_BOTTOM, last},
        {"line down at the bottom", WM_VSCROLL, SB_LINEDOWN, last},
        {"top", WM_VSCROLL, SB_TOP, 0},
        {"line up at the top", WM_VSCROLL, SB_LINEUP, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.report->SendMessage(c.message, c.wParam, 0);
        EXPECT_EQ(top(), c.top);
        SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(f.report->GetSafeHwnd(), SB_VERT, &info);
        EXPECT_EQ(info.nPos, c.top) << "the bar's thumb goes with the rows";
    }
    f.report->SetTopRowIndex(100);
    const int y = f.report->GetHeaderHeight() + 2;
    EXPECT_EQ(f.report->HitTest(CPoint(60, y))->GetIndex(), 100);
    EXPECT_EQ(f.report->GetRow(100)->GetRect().top, f.report->GetHeaderHeight());
    EXPECT_LT(f.report->GetItemRect(f.report->GetRow(99), f.report->GetColumn(0)).bottom, y);

    std::fill(asked.begin(), asked.end(), 0);
    f.report->Invalidate();
    f.report->UpdateWindow();
    int painted = 0;
    for (int i = 0; i < 200; ++i)
        painted += asked[i] > 0;
    EXPECT_LE(painted, page + 1) << "only what shows";
    EXPECT_GT(asked[100 - 5], 0) << "row 100 of the control is the record 95 of the folder";

    // The keys keep the focused row in view.
    f.report->SelectRow(f.report->GetRow(100 + page - 1));
    f.report->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(top(), 101);
    f.report->SelectRow(f.report->GetRow(101));
    f.report->SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(top(), 100);
    // Collapsing leaves a short list: it shows from its first row and the bar goes.
    f.report->GetRow(1)->SetExpanded(FALSE);
    EXPECT_EQ(top(), 0);
    EXPECT_EQ(f.report->GetStyle() & WS_VSCROLL, 0u);
}

TEST_F(ReportControlTest, PictureShowsHeaderRowsAndSelection) {
    Fixture f = make();
    f.report->GetRow(1)->SetExpanded(TRUE);
    f.drawings->GetChilds()->GetAt(2)->GetItem(0)->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
    f.drawings->GetItem(1)->AddButton(new CXTPReportRecordItemButton)->SetCaption(L"...");
    f.report->SelectRow(f.report->GetRow(2));
    f.report->UpdateWindow();
    const CRect selected = f.report->GetRow(2)->GetRect();
    // Without the focus the selection is quiet; with it, highlighted.
    EXPECT_EQ(pal::test::snapshot(f.report->GetSafeHwnd()).pixel(selected.right - 2, selected.top + 2),
              ::GetSysColor(COLOR_BTNFACE));
    f.report->SetFocus();
    f.report->UpdateWindow();
    pal::gdi::Surface shot = picture(f.report->GetSafeHwnd(), "report_rows");
    EXPECT_EQ(shot.pixel(selected.right - 2, selected.top + 2), ::GetSysColor(COLOR_HIGHLIGHT));
    const CRect plain = f.report->GetRow(0)->GetRect();
    EXPECT_EQ(shot.pixel(plain.right - 2, plain.top + 2), ::GetSysColor(COLOR_WINDOW));
}

} // namespace
