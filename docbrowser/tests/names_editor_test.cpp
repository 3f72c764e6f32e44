// The alternative-names editor over a configuration: its grid, pastes of "name;alternative"
// lines (half-typed rows kept, lines without ";" dropped), deleting rows, OK and Cancel.
#include "rows_fixture.h"

#include "docbrowser/DocumentNamesEditor.h"

#include "pal/test/snapshot.h"

namespace rows_test {
namespace {

class NamesEditor : public RowsTest {
protected:
    void SetUp() override {
        RowsTest::SetUp();
        worksConfiguration->SetAlternativeName(L"DIN 933", L"Bolt");
        worksConfiguration->SetAlternativeName(L"ISO 4032", L"Nut");
        editor = std::make_unique<DocumentNamesEditor>(worksConfiguration);
        ASSERT_TRUE(editor->Create(DocumentNamesEditor::kTemplateId, nullptr));
    }
    void TearDown() override {
        if (editor->GetSafeHwnd())
            editor->DestroyWindow();
        editor.reset();
        RowsTest::TearDown();
    }
    // The grid's rows as "name;alternative".
    std::vector<std::wstring> grid() {
        std::vector<std::wstring> out;
        NamesTable& table = editor->GetTable();
        for (int i = 0; i < table.GetRecordCount(); ++i)
            out.push_back(table.GetName(i) + L";" + table.GetAlterName(i));
        return out;
    }
    std::vector<std::wstring> model() {
        std::vector<std::wstring> out;
        for (const std::wstring& alternative : worksConfiguration->GetAlternativeNames())
            out.push_back(worksConfiguration->GetNameForAlternative(alternative) + L";" + alternative);
        return out;
    }
    std::unique_ptr<DocumentNamesEditor> editor;
};

TEST_F(NamesEditor, OpensWithTheConfigurationsNamesAndAnEmptyRow) {
    EXPECT_EQ(grid(), (std::vector<std::wstring>{L"Bolt;DIN 933", L"Nut;ISO 4032", L";"}));
    CWnd* ok = editor->GetDlgItem(IDOK);
    ASSERT_NE(ok, nullptr);
    CRect client, button, grid;
    editor->GetClientRect(&client);
    ok->GetWindowRect(&button);
    editor->ScreenToClient(&button);
    NamesTable& table = editor->GetTable();
    table.GetWindowRect(&grid);
    editor->ScreenToClient(&grid);
    EXPECT_EQ(grid.Height(), client.Height() - 40);
    EXPECT_GE(button.top, grid.bottom) << "the buttons stay under the grid";
    EXPECT_LE(button.right, client.right);
    CRect window;
    editor->GetWindowRect(&window);
    EXPECT_EQ(window, CRect(0, 0, 400, 400));
    editor->ShowWindow(SW_SHOW);
    table.SelectRow(table.GetRow(1));
    editor->UpdateWindow();
    pal::test::keepSnapshot(pal::test::snapshot(editor->GetSafeHwnd()), "names_editor");
}

// Pastes into a grid whose last rows are as given: the grid after, and whether the editor now
// holds a change.
TEST_F(NamesEditor, PastedLinesFillEmptyRowsAndAddNewOnes) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::wstring, std::wstring>> tail; // rows after the two names
        const wchar_t* text;
        std::vector<std::wstring> after; // the rows after the two names
        bool modified;
    };
    const Case cases[] = {
        {"one line into the empty row", {{L"", L""}}, L"Washer;DIN 125\n", {L"Washer;DIN 125", L";"}, true},
        {"without its line feed", {{L"", L""}}, L"Washer;DIN 125", {L";"}, false},
        {"nothing before the semicolon", {{L"", L""}}, L" ;DIN 125\n", {L";"}, false},
        {"nothing after it", {{L"", L""}}, L"Washer; \n", {L";"}, false},
        {"two semicolons", {{L"", L""}}, L"Pin;ISO;8734\r\n", {L"Pin;ISO;8734", L";"}, true},
        {"trimmed, carriage returns skipped",
         {{L"", L""}},
         L"  Pin ;  ISO 8734 \r\nRivet;DIN 660\r\n",
         {L"Pin;ISO 8734", L"Rivet;DIN 660", L";"},
         true},
        {"a line without semicolon is dropped, not run into the next",
         {{L"", L""}},
         L"heading\nRivet;DIN 660\n",
         {L"Rivet;DIN 660", L";"},
         true},
        {"a half-typed row keeps what was typed",
         {{L"Screw", L""}, {L"", L""}},
         L"Rivet;DIN 660\nPin;ISO 8734\n",
         {L"Screw;", L"Rivet;DIN 660", L"Pin;ISO 8734", L";"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->DestroyWindow();
        editor = std::make_unique<DocumentNamesEditor>(worksConfiguration);
        ASSERT_TRUE(editor->Create(DocumentNamesEditor::kTemplateId, nullptr));
        NamesTable& table = editor->GetTable();
        table.GetRecords()->GetAt(2)->Delete();
        for (const auto& [name, alter] : c.tail)
            table.AddRow(name, alter);
        table.Populate();
        editor->PasteText(c.text, std::wcslen(c.text));
        std::vector<std::wstring> expected{L"Bolt;DIN 933", L"Nut;ISO 4032"};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(grid(), expected);
        EXPECT_EQ(editor->IsModified(), c.modified);
    }
}

// The clipboard's Unicode text reaches the grid through Ctrl+V; without text nothing happens.
TEST_F(NamesEditor, CtrlVPastesTheClipboardsText) {
    const auto put = [](const wchar_t* text) {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        if (text != nullptr) {
            const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
            HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
            std::memcpy(::GlobalLock(block), text, bytes);
            ::GlobalUnlock(block);
            ::SetClipboardData(CF_UNICODETEXT, block);
        }
        ::CloseClipboard();
    };
    put(nullptr);
    editor->SendMessage(WM_PASTE);
    EXPECT_FALSE(editor->IsModified());
    put(L"Washer;DIN 125\r\n");
    editor->SendMessage(WM_PASTE);
    EXPECT_EQ(grid(), (std::vector<std::wstring>{L"Bolt;DIN 933", L"Nut;ISO 4032", L"Washer;DIN 125", L";"}));
}

TEST_F(NamesEditor, OkWritesTheGridAndCancelOrNoChangeWritesNothing) {
    // Nothing changed: OK leaves the configuration alone.
    editor->OnOK();
    EXPECT_EQ(model(), (std::vector<std::wstring>{L"Bolt;DIN 933", L"Nut;ISO 4032"}));

    // An edit of a cell: the last row filled gets a new empty one, and OK hands every row over.
    editor = std::make_unique<DocumentNamesEditor>(worksConfiguration);
    ASSERT_TRUE(editor->Create(DocumentNamesEditor::kTemplateId, nullptr));
    NamesTable& table = editor->GetTable();
    XTP_REPORTRECORDITEM_ARGS args;
    table.GetRecords()->GetAt(2)->GetItem(0)->OnEditChanged(&args, L"Washer");
    EXPECT_EQ(table.GetRecordCount(), 3) << "half a pair: no new row";
    table.GetRecords()->GetAt(2)->GetItem(1)->OnEditChanged(&args, L"DIN 125");
    EXPECT_EQ(grid().back(), L";") << "a new empty row";
    EXPECT_TRUE(editor->IsModified());
    table.GetRecords()->GetAt(0)->GetItem(1)->OnEditChanged(&args, L"ISO 4017");
    editor->OnOK();
    EXPECT_EQ(model(), (std::vector<std::wstring>{L"Bolt;ISO 4017", L"Nut;ISO 4032", L"Washer;DIN 125"}));

    // Cancel after a change: nothing reaches the configuration.
    editor = std::make_unique<DocumentNamesEditor>(worksConfiguration);
    ASSERT_TRUE(editor->Create(DocumentNamesEditor::kTemplateId, nullptr));
    editor->PasteText(L"Pin;ISO 8734\n", 13);
    editor->OnCancel();
    EXPECT_EQ(model().size(), 3u);
}

// Delete removes the selected rows; deleting them all leaves one empty row, and OK then removes
// every alternative name.
TEST_F(NamesEditor, DeletingEveryRowLeavesOneEmptyRowAndOkEmptiesTheTable) {
    NamesTable& table = editor->GetTable();
    table.SelectRow(table.GetRow(0));
    table.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(grid(), (std::vector<std::wstring>{L"Nut;ISO 4032", L";"}));
    for (int i = 0; i < table.GetRowCount(); ++i)
        table.SelectRow(table.GetRow(i), TRUE);
    table.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(grid(), (std::vector<std::wstring>{L";"}));
    editor->OnOK();
    EXPECT_TRUE(model().empty());
}

} // namespace
} // namespace rows_test
