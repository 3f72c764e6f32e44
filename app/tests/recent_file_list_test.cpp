// The recent-file list: pins never pushed out, bracketed names, notices to the start pages,
// bad paths kept out, and the keep mark that never outlives the open it was set for.
#include "startup_fixture.h"

#include "app/RecentFileList.h"

#include "DVDiagnostics/DVLog.h"

#include <string>

namespace dvapp::test {
namespace {

struct Notice {
    char kind; // 'a' added, 'r' removed, 'p' pin
    int index;
    bool operator==(const Notice&) const = default;
};

class Views : public IRecentFileListView {
public:
    Views() { CDVRecentFileList::AddView(this); }
    ~Views() override { CDVRecentFileList::RemoveView(this); }
    void OnRecentFileAdded(int index) override { notices.push_back({'a', index}); }
    void OnRecentFileRemoved(int index) override { notices.push_back({'r', index}); }
    void OnRecentFilePinStateChanged(int index) override { notices.push_back({'p', index}); }
    std::vector<Notice> notices;
};

class RecentFiles : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
        ASSERT_TRUE(app->CreateRecentFileList(4));
        list = app->GetRecentFileList();
    }
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> result;
        for (int i = 0; i < list->GetCount(); ++i)
            result.emplace_back((*list)[i].GetString());
        return result;
    }
    std::vector<bool> pins() const {
        std::vector<bool> result;
        for (int i = 0; i < list->GetCount(); ++i)
            result.push_back(list->GetItem(i)->IsPinned() != FALSE);
        return result;
    }
    void fill(std::initializer_list<const wchar_t*> paths) {
        for (const wchar_t* path : paths)
            list->Add(path);
    }

    CDVRecentFileList* list = nullptr;
    Views views;
};

TEST_F(RecentFiles, IsMadeOnceAndOnlyWithACount) {
    EXPECT_FALSE(app->CreateRecentFileList(4));
    EXPECT_EQ(list->GetSize(), 4);
    EXPECT_EQ(list->m_strSectionName, CString(L"Recent File List"));
    EXPECT_EQ(list->m_strEntryFormat, CString(L"File%d"));
    // One application object at a time: the fixture's goes first.
    app.reset();
    list = nullptr;
    auto other = std::make_unique<DravikApp>();
    EXPECT_FALSE(other->CreateRecentFileList(0));
    EXPECT_EQ(other->GetRecentFileList(), nullptr);
}

TEST_F(RecentFiles, MovingTheSecondEntryUpTellsIndexOne) {
    fill({L"/d/a.dvd", L"/d/b.dvd"});
    views.notices.clear();
    list->Add(L"/D/A.dvd");
    EXPECT_EQ(names().front(), L"/D/A.dvd");
    EXPECT_EQ(views.notices, (std::vector<Notice>{{'a', 1}}));

    // The same file by another way of naming it is made full first and found.
    views.notices.clear();
    list->Add(L"/d/x/../b.dvd");
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"/d/b.dvd", L"/D/A.dvd"}));
    EXPECT_EQ(views.notices, (std::vector<Notice>{{'a', 1}}));
}

TEST_F(RecentFiles, PinnedEntriesAreNeverPushedOut) {
    fill({L"/d/1", L"/d/2", L"/d/3", L"/d/4"});
    for (int i = 0; i < 4; ++i)
        list->GetItem(i)->SetPinned(TRUE);
    views.notices.clear();
    const auto before = names();
    list->Add(L"/d/5");
    list->Add(L"<Library>:new");
    EXPECT_EQ(names(), before);
    EXPECT_TRUE(views.notices.empty());

    list->FindItem(L"/d/2")->SetPinned(FALSE);
    list->Add(L"/d/5");
    EXPECT_EQ(list->FindItem(L"/d/2"), nullptr);
    EXPECT_EQ(pins(), (std::vector<bool>{true, true, true, false}));
}

TEST_F(RecentFiles, BracketedNameReplacesItsEntryAndKeepsItsPin) {
    struct Case {
        const wchar_t* existing;
        bool pinned;
        const wchar_t* added;
        std::vector<std::wstring> expected;
        std::vector<bool> expectedPins;
    };
    const Case cases[] = {
        {L"<Store>:old", false, L"<STORE>:new", {L"<STORE>:new", L"/d/b"}, {false, false}},
        {L"<Store>:old", true, L"<store>:new", {L"<store>:new", L"/d/b"}, {true, false}},
        // The prefix is as long as the brackets: measured from the "<", not from the start.
        {L"ab<Store>:old", false, L"ab<Store2>:new", {L"ab<Store2>:new", L"/d/b"}, {false, false}},
        {L"<Other>:old",
         false,
         L"<Store>:new",
         {L"<Store>:new", L"/d/b", L"<Other>:old"},
         {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.added));
        list->RemoveAll();
        fill({c.existing, L"/d/b"});
        list->FindItem(c.existing)->SetPinned(c.pinned);
        list->Add(c.added);
        EXPECT_EQ(names(), c.expected);
        EXPECT_EQ(pins(), c.expectedPins);
    }
}

TEST_F(RecentFiles, PathsOfMaxPathOrMoreAreRefusedAndCallersLogThem) {
    const std::wstring longPath = L"/" + std::wstring(CDVRecentFileList::kMaxPath - 1, L'x');
    bool thrown = false;
    try {
        list->Add(longPath.c_str());
    } catch (CDVRecentFileBadPathException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_NO_THROW(list->Add(longPath.c_str(), L"Dravik.DravikCad"));
    // The road of the kernel and the document class.
    EXPECT_NO_THROW(app->AddToRecentFileList(longPath.c_str()));
    EXPECT_TRUE(hasLine(DVLogWarning, "Caught an exception during add to recent file list"));
    EXPECT_EQ(list->GetCount(), 0);
    const std::wstring fits = L"/" + std::wstring(CDVRecentFileList::kMaxPath - 2, L'x');
    list->Add(fits.c_str());
    EXPECT_EQ(list->GetCount(), 1);
}

TEST_F(RecentFiles, RemovalAndPinNotices) {
    list->OnPinStateChanged(-1);
    list->Remove(0);
    EXPECT_TRUE(views.notices.empty());
    fill({L"/d/a", L"/d/b"});
    views.notices.clear();
    list->OnPinStateChanged(-1);
    list->OnPinStateChanged(1);
    list->Remove(1);
    EXPECT_EQ(views.notices, (std::vector<Notice>{{'p', 0}, {'p', 1}, {'p', 1}, {'r', 1}}));
    // Newest first: the entry removed was the older one.
    EXPECT_TRUE(list->Contains(L"/D/B"));
    EXPECT_FALSE(list->Contains(L"/D/A"));
    EXPECT_FALSE(list->Contains(L""));
}

TEST_F(RecentFiles, KeepMarkHoldsTheListStill) {
    fill({L"/d/a"});
    list->SetKeepMark(true);
    views.notices.clear();
    list->Add(L"/d/b");
    list->Remove(0);
    list->OnPinStateChanged(0);
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"/d/a"}));
    EXPECT_TRUE(views.notices.empty());
}

// The open road sets the mark when the person keeps a failed entry; whichever road opened the
// file, the list must be live again afterwards.
class KeepingApp : public DravikApp {
public:
    CString prompted;
    BOOL DoPromptFileName(CString& fileName, UINT, DWORD, BOOL, CDocTemplate*) override {
        fileName = prompted;
        return TRUE;
    }
};

TEST_F(RecentFiles, KeepMarkEndsWithEveryRoadThatOpens) {
    // One application object at a time: the fixture's goes first.
    app.reset();
    list = nullptr;
    auto keeping = std::make_unique<KeepingApp>();
    ASSERT_TRUE(keeping->CreateRecentFileList(4));
    CDVRecentFileList* own = keeping->GetRecentFileList();
    own->Add(L"/d/missing.dvd");
    keeping->prompted = L"/d/missing.dvd";

    // File Open, failing: the person keeps the entry, and the mark still ends with the open.
    answer(IDNO);
    keeping->OnFileOpen();
    EXPECT_TRUE(own->Contains(L"/d/missing.dvd"));
    EXPECT_FALSE(own->GetKeepMark());

    // The recent-file command: the entry the person keeps stays, then the mark ends.
    answer(IDNO);
    EXPECT_TRUE(keeping->OnCmdMsg(ID_FILE_MRU_FILE1, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(own->Contains(L"/d/missing.dvd"));
    EXPECT_FALSE(own->GetKeepMark());
    // Agreeing to the removal, the failed recent entry leaves the list.
    answer(IDYES);
    EXPECT_TRUE(keeping->OnRecentFileCommand(ID_FILE_MRU_FILE1));
    EXPECT_FALSE(own->Contains(L"/d/missing.dvd"));
}

} // namespace
} // namespace dvapp::test
