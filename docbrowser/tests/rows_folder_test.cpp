// Rows over real folders: drawings that come, go and change names while their library shows,
// files copied and moved through the clipboard and by drops, renames in a cell, and the
// properties read from the files.
#include "rows_fixture.h"

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/FileClipboard.h"

#include "afx/oledata.h"
#include "pal/test/eventually.h"
#include "pal/test/file_privileges.h"
#include "win/ole/clipboard.h"

#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace rows_test {
namespace {

class Folders : public RowsTest {
protected:
    void SetUp() override {
        RowsTest::SetUp();
        makeTree(&panel);
        expand(L"Works");
        expand(L"Fasteners");
        expand(L"Bolts");
    }
    // Runs the loop until the rows are what the test waits for.
    bool rowsBecome(const std::function<bool()>& done) {
        return pal::test::eventually([&] {
            pal::test::pump();
            return done();
        });
    }
    std::vector<std::wstring> boltsRows() const {
        std::vector<std::wstring> out;
        auto* children = const_cast<LibraryRecord*>(record<LibraryRecord>(L"Bolts"))->GetChilds();
        for (int i = 0; i < children->GetCount(); ++i)
            if (auto* d = dynamic_cast<DocumentRecord*>(children->GetAt(i)))
                out.push_back(d->GetName());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path boltsDir() const { return root() / "lib/Bolts"; }
    DocumentsMenuDlg panel;
};

TEST_F(Folders, ANewDrawingShowsAtOnceATextFileDoesNot) {
    writeFile("lib/Bolts/notes2.txt", "x");
    drawing("lib/Bolts/c.grb");
    ASSERT_TRUE(rowsBecome([&] { return row(L"c.grb") != nullptr; }));
    EXPECT_TRUE(record<LibraryRecord>(L"Bolts")->IsExpanded());
    EXPECT_EQ(row(L"notes2.txt"), nullptr);
    EXPECT_EQ(boltsRows(), (std::vector<std::wstring>{L"_frame.grb", L"a.grb", L"b.grb", L"c.grb"}));
}

TEST_F(Folders, ADrawingRenamedToTextAndBackLeavesAndReturns) {
    fs::rename(boltsDir() / "b.grb", boltsDir() / "b.txt");
    ASSERT_TRUE(rowsBecome([&] { return row(L"b.grb") == nullptr; }));
    fs::rename(boltsDir() / "b.txt", boltsDir() / "b.grb");
    ASSERT_TRUE(rowsBecome([&] { return row(L"b.grb") != nullptr; }));
    EXPECT_EQ(boltsRows(), (std::vector<std::wstring>{L"_frame.grb", L"a.grb", L"b.grb"}));
}

TEST_F(Folders, AnExcludedDrawingRenamedStaysExcluded) {
    panel.SetShowExcluded(true);
    boltsLibrary->SetDocumentExcluded(L"b.grb", true);
    record<LibraryRecord>(L"Bolts")->UpdateChildren(L"");
    tree->Populate();
    fs::rename(boltsDir() / "b.grb", boltsDir() / "c.grb");
    ASSERT_TRUE(rowsBecome([&] { return row(L"c.grb") != nullptr; }));
    EXPECT_TRUE(boltsLibrary->IsDocumentExcluded(L"c.grb"));
    EXPECT_FALSE(boltsLibrary->IsDocumentExcluded(L"b.grb"));
    // A removed file loses its mark.
    fs::remove(boltsDir() / "c.grb");
    ASSERT_TRUE(rowsBecome([&] { return row(L"c.grb") == nullptr; }));
    EXPECT_FALSE(boltsLibrary->IsDocumentExcluded(L"c.grb"));
}

TEST_F(Folders, ACollapsedLibraryListsItsNewFolder) {
    row(L"Bolts")->SetExpanded(FALSE);
    boltsLibrary->SetPath(nuts);
    EXPECT_FALSE(record<LibraryRecord>(L"Bolts")->AreChildrenPopulated());
    expand(L"Bolts");
    EXPECT_EQ(boltsRows(), (std::vector<std::wstring>{L"m6.grb"}));
    EXPECT_EQ(record<LibraryRecord>(L"Bolts")->GetObservedFolder(), nuts);
}

TEST_F(Folders, AnAddedFileWithARowGetsNoSecondAndShowsThroughAFilter) {
    auto* bolts = record<LibraryRecord>(L"Bolts");
    bolts->OnFileAdded(SharedPathName(this->bolts + L"a.grb"));
    EXPECT_EQ(boltsRows(), (std::vector<std::wstring>{L"_frame.grb", L"a.grb", L"b.grb"}));
    // A filter in force does not hide a new drawing.
    bolts->UpdateChildren(L"zzz");
    tree->Populate();
    drawing("lib/Bolts/c.grb");
    ASSERT_TRUE(rowsBecome([&] { return row(L"c.grb") != nullptr; }));
}

TEST_F(Folders, CutOrCopiedDrawingsPastedElsewhereMoveOrCopy) {
    struct Case {
        const char* name;
        bool cut;
    };
    for (const Case& c : {Case{"copy", false}, Case{"cut", true}}) {
        SCOPED_TRACE(c.name);
        drawing("lib/Bolts/one.grb");
        drawing("lib/Bolts/two.grb");
        const std::vector<std::wstring> files{bolts + L"one.grb", bolts + L"two.grb"};
        ASSERT_TRUE(c.cut ? FileClipboard::Instance().Cut(files) : FileClipboard::Instance().Copy(files));
        LibraryMenuItems::Paste paste(nutsLibrary);
        EXPECT_TRUE(paste.GetEnabled());
        paste.Execute();
        EXPECT_TRUE(fs::exists(root() / "lib/Nuts/one.grb"));
        EXPECT_TRUE(fs::exists(root() / "lib/Nuts/two.grb"));
        EXPECT_EQ(fs::exists(boltsDir() / "one.grb"), !c.cut);
        EXPECT_EQ(fs::exists(boltsDir() / "two.grb"), !c.cut);
        fs::remove(root() / "lib/Nuts/one.grb");
        fs::remove(root() / "lib/Nuts/two.grb");
    }
}

TEST_F(Folders, ADropDoesWhatItsOwnEffectSays) {
    // The clipboard's preferred effect says move; a drop whose cursor said copy copies.
    ASSERT_TRUE(FileClipboard::Instance().Cut({bolts + L"a.grb", bolts + L"notes.txt"}));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    LibraryRecord target(nutsLibrary);
    EXPECT_TRUE(target.Drop(&data, DROPEFFECT_COPY));
    EXPECT_TRUE(fs::exists(boltsDir() / "a.grb"));
    EXPECT_TRUE(fs::exists(root() / "lib/Nuts/a.grb"));
    EXPECT_FALSE(fs::exists(root() / "lib/Nuts/notes.txt")) << "only drawings are taken";
    // A paste from the clipboard follows its preferred effect.
    fs::remove(root() / "lib/Nuts/a.grb");
    EXPECT_TRUE(FileClipboard::Instance().Paste(nuts));
    EXPECT_FALSE(fs::exists(boltsDir() / "a.grb"));
    EXPECT_TRUE(fs::exists(root() / "lib/Nuts/a.grb"));
}

TEST_F(Folders, NoDrawingOfferedMeansNoFileOperation) {
    ASSERT_TRUE(FileClipboard::Instance().Copy({bolts + L"notes.txt"}));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_FALSE(FileClipboard::Instance().PasteData(&data, nuts));
    EXPECT_FALSE(FileClipboard::Instance().Paste(nuts));
    EXPECT_TRUE(journal("SHFileOperation").empty());
    LibraryRecord target(nutsLibrary);
    EXPECT_EQ(target.GetDropEffect(&data, 0), DROPEFFECT_NONE);
    EXPECT_FALSE(LibraryMenuItems::Paste(nutsLibrary).GetEnabled());
    // A cleared clipboard leaves a list as it was.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    std::vector<std::wstring> kept{L"kept"};
    FileClipboard::Instance().GetFiles(kept);
    EXPECT_EQ(kept, std::vector<std::wstring>{L"kept"});
}

TEST_F(Folders, TheFileListBlockOfTwoPaths) {
    const std::vector<std::wstring> files{L"C:\\lib\\a.grb", L"C:\\lib\\Ä.GRB"};
    HGLOBAL block = FileClipboard::MakeFileList(files);
    ASSERT_NE(block, nullptr);
    const std::size_t listChars = 13 + 13 + 1; // both paths with their terminators, and the last
    const std::u16string list(u"C:\\lib\\a.grb\0C:\\lib\\Ä.GRB\0\0", listChars);
    ASSERT_EQ(::GlobalSize(block), 20 + 2 * (listChars + 2));
    const auto* p = static_cast<const unsigned char*>(::GlobalLock(block));
    DROPFILES header;
    std::memcpy(&header, p, sizeof header);
    EXPECT_EQ(header.pFiles, 20u);
    EXPECT_EQ(header.pt.x, 0);
    EXPECT_EQ(header.pt.y, 0);
    EXPECT_EQ(header.fNC, 1);
    EXPECT_EQ(header.fWide, 1);
    EXPECT_EQ(std::memcmp(p + 20, list.data(), listChars * 2), 0);
    for (std::size_t i = 20 + listChars * 2; i < ::GlobalSize(block); ++i)
        EXPECT_EQ(p[i], 0) << "the tail is zero";
    ::GlobalUnlock(block);
    // The platform reads it back as two paths.
    EXPECT_EQ(::DragQueryFileW(reinterpret_cast<HDROP>(block), 0xFFFFFFFF, nullptr, 0), 2u);
    ::GlobalFree(block);
    HGLOBAL effect = FileClipboard::MakeEffect(DROPEFFECT_MOVE);
    ASSERT_EQ(::GlobalSize(effect), 4u);
    EXPECT_EQ(*static_cast<const DWORD*>(::GlobalLock(effect)), 2u);
    ::GlobalUnlock(effect);
    ::GlobalFree(effect);
}

TEST_F(Folders, ACellRenameRenamesTheFile) {
    CXTPReportRow* r = row(L"a.grb");
    XTP_REPORTRECORDITEM_ARGS args;
    args.pControl = tree.get();
    args.pRow = r;
    args.pItem = r->GetRecord()->GetItem(0);
    ASSERT_TRUE(tree->EditItem(&args));
    tree->GetInplaceEdit()->SetWindowText(L"plate.grb");
    tree->GetInplaceEdit()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(fs::exists(boltsDir() / "plate.grb"));
    EXPECT_FALSE(fs::exists(boltsDir() / "a.grb"));
    // The cell shows the new name at once; the folder then tells the row its file's new name.
    auto* renamed = record<DocumentRecord>(L"plate.grb");
    ASSERT_NE(renamed, nullptr);
    ASSERT_TRUE(rowsBecome([&] { return renamed->GetName() == L"plate.grb"; }));
    EXPECT_EQ(renamed->GetFullPath(), bolts + L"plate.grb");
}

TEST_F(Folders, RefusedRenamesLeaveFileAndRow) {
    auto* a = record<DocumentRecord>(L"a.grb");
    const struct {
        const char* name;
        std::wstring typed;
    } cases[] = {
        {"same name", L"a.grb"},     {"empty", L""},         {"dot", L"."},         {"dots", L".."},
        {"separator", L"x\\a.grb"},  {"slash", L"../a.grb"}, {"colon", L"c:a.grb"}, {"existing", L"b.grb"},
        {"trailing dot", L"a.grb."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(a->SetName(c.typed));
        EXPECT_TRUE(fs::exists(boltsDir() / "a.grb"));
        EXPECT_EQ(a->GetName(), L"a.grb");
        EXPECT_EQ(std::wstring(a->GetItem(0)->GetCaption(nullptr)), L"a.grb");
    }
    EXPECT_EQ(journal("SHFileOperation").size(), 1u) << "only the existing name reached the shell";
    EXPECT_NE(pal::test::readFile(boltsDir() / "b.grb"), pal::test::readFile(boltsDir() / "a.grb"))
        << "b.grb is still its own file";
}

TEST_F(Folders, ARenameInAReadOnlyFolderChangesNothing) {
    auto* a = record<DocumentRecord>(L"a.grb");
    fs::permissions(boltsDir(), fs::perms::owner_write, fs::perm_options::remove);
    {
        // As root the folder's permissions would be passed over.
        pal::test::WithoutFilePrivileges asAUser;
        ASSERT_TRUE(asAUser.ok());
        EXPECT_FALSE(a->SetName(L"plate.grb"));
    }
    fs::permissions(boltsDir(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(fs::exists(boltsDir() / "a.grb"));
    EXPECT_FALSE(fs::exists(boltsDir() / "plate.grb"));
    EXPECT_EQ(a->GetName(), L"a.grb");
    EXPECT_EQ(std::wstring(a->GetItem(0)->GetCaption(nullptr)), L"a.grb");
}

TEST_F(Folders, PropertiesAreReadOnceOnTheFirstCaption) {
    tree->FindColumn(L"Author")->SetVisible(FALSE);
    tree->UpdateWindow();
    // Rows made and painted without a property column shown: no file was read.
    for (const wchar_t* name : {L"_frame.grb", L"a.grb", L"b.grb"})
        EXPECT_EQ(record<DocumentRecord>(name)->GetPropertiesReads(), 0);
    auto* a = record<DocumentRecord>(L"a.grb");
    EXPECT_EQ(std::wstring(a->GetItem(2)->GetCaption(nullptr)), L"Anna Berg");
    const struct {
        int item;
        const wchar_t* text;
    } columns[] = {{2, L"Anna Berg"}, {3, L"Works Ltd"}, {4, L""}, {6, L"a"}, {7, L""}, {8, L""}, {9, L""}};
    for (const auto& c : columns)
        EXPECT_EQ(std::wstring(a->GetItem(c.item)->GetCaption(nullptr)), c.text) << c.item;
    EXPECT_EQ(a->GetPropertiesReads(), 1);
}

// A library longer than the view: scrolling through it reads no file while no property column
// shows; with Author shown, each row in view reads its file once, and rows scrolled back to
// read nothing again.
TEST_F(Folders, ScrollingReadsOnlyWhatShowsAndOnlyOnce) {
    for (int i = 0; i < 40; ++i)
        drawing("lib/Nuts/m" + std::to_string(10 + i) + ".grb");
    tree->FindColumn(L"Author")->SetVisible(FALSE);
    expand(L"Nuts");
    ASSERT_GT(tree->GetRowCount(), 2 * tree->GetVisibleRowsCount());
    const auto reads = [&] {
        int n = 0;
        for (const auto& r : tree->GetRows())
            if (auto* d = dynamic_cast<DocumentRecord*>(r->GetRecord()))
                n += d->GetPropertiesReads();
        return n;
    };
    const auto scrollThrough = [&] {
        for (int i = 0; i < tree->GetRowCount(); ++i) {
            tree->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            tree->UpdateWindow();
        }
        tree->SendMessage(WM_VSCROLL, SB_TOP, 0);
        tree->UpdateWindow();
    };
    scrollThrough();
    EXPECT_EQ(reads(), 0);

    tree->FindColumn(L"Author")->SetVisible(TRUE);
    tree->Invalidate();
    tree->UpdateWindow();
    const int firstScreen = reads();
    EXPECT_GT(firstScreen, 0);
    EXPECT_LE(firstScreen, tree->GetVisibleRowsCount());
    tree->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    tree->UpdateWindow();
    const int twoScreens = reads();
    EXPECT_GT(twoScreens, firstScreen);
    tree->SendMessage(WM_VSCROLL, SB_TOP, 0);
    tree->UpdateWindow();
    EXPECT_EQ(reads(), twoScreens) << "rows read before are not read again";
}

TEST_F(Folders, DamagedOrForeignDrawingsShowEmptyColumns) {
    std::string damaged = pal::test::readFile(boltsDir() / "a.grb");
    damaged[24 + 16 + 8 + 4] ^= 0x01;
    writeFile("lib/Bolts/damaged.grb", damaged);
    writeFile("lib/Bolts/foreign.grb", "%PDF-1.4 not a drawing");
    record<LibraryRecord>(L"Bolts")->UpdateChildren(L"");
    tree->Populate();
    for (const wchar_t* name : {L"damaged.grb", L"foreign.grb"}) {
        auto* d = record<DocumentRecord>(name);
        ASSERT_NE(d, nullptr) << pal::text::toUtf8(name);
        for (int item : {2, 3, 4, 6, 7, 8, 9})
            EXPECT_EQ(std::wstring(d->GetItem(item)->GetCaption(nullptr)), L"");
        EXPECT_EQ(d->GetPropertiesReads(), 1);
    }
}

} // namespace
} // namespace rows_test
