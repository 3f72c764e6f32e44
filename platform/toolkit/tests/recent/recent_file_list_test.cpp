// The recent-file list with pins: pinned entries on top, never pushed out, kept across a save
// and a load through the application's profile.
#include "XTToolkitPro.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecentFileListTest : public pal::test::SandboxTest {
protected:
    CWinApp app{L"DravikCad"};
    void SetUp() override {
        SandboxTest::SetUp();
        app.SetRegistryKey(L"Maker");
    }
};

// The entries top to bottom, a pinned one marked with "*".
std::vector<std::wstring> entries(const CXTPRecentFileList& list) {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.GetCount(); ++i) {
        std::wstring s = static_cast<LPCWSTR>(list[i]);
        if (list.GetItem(i)->IsPinned())
            s += L"*";
        out.push_back(s);
    }
    return out;
}

using Names = std::vector<std::wstring>;

TEST_F(RecentFileListTest, PinnedEntriesStayOnTopAndAreNeverPushedOut) {
    CXTPRecentFileList list(0, L"Recent File List", L"File%d", 4);
    for (const wchar_t* p : {L"/d/a.dvd", L"/d/b.dvd", L"/d/c.dvd"})
        list.Add(p);
    EXPECT_EQ(entries(list), (Names{L"/d/c.dvd", L"/d/b.dvd", L"/d/a.dvd"}));

    list.FindItem(L"/d/a.dvd")->SetPinned(TRUE);
    EXPECT_EQ(entries(list), (Names{L"/d/a.dvd*", L"/d/c.dvd", L"/d/b.dvd"}));
    list.Add(L"/d/d.dvd");
    list.Add(L"/d/e.dvd"); // full: the oldest unpinned one leaves
    EXPECT_EQ(entries(list), (Names{L"/d/a.dvd*", L"/d/e.dvd", L"/d/d.dvd", L"/d/c.dvd"}));
    list.Add(L"/D/C.DVD"); // the same file, in other case, moves up below the pins
    EXPECT_EQ(entries(list), (Names{L"/d/a.dvd*", L"/D/C.DVD", L"/d/e.dvd", L"/d/d.dvd"}));

    list.GetItem(2)->SetPinned(TRUE); // e joins the pins, after a
    EXPECT_EQ(entries(list), (Names{L"/d/a.dvd*", L"/d/e.dvd*", L"/D/C.DVD", L"/d/d.dvd"}));
    list.Add(L"/d/e.dvd"); // a pinned entry goes to the top of the pins
    EXPECT_EQ(entries(list), (Names{L"/d/e.dvd*", L"/d/a.dvd*", L"/D/C.DVD", L"/d/d.dvd"}));
    list.GetItem(1)->SetPinned(FALSE); // unpinned: the top of the others
    EXPECT_EQ(entries(list), (Names{L"/d/e.dvd*", L"/d/a.dvd", L"/D/C.DVD", L"/d/d.dvd"}));
    list.Remove(0);
    EXPECT_EQ(entries(list), (Names{L"/d/a.dvd", L"/D/C.DVD", L"/d/d.dvd"}));
}

TEST_F(RecentFileListTest, AFullListOfPinsTakesNothingNew) {
    CXTPRecentFileList list(0, L"Recent File List", L"File%d", 2);
    list.Add(L"/x");
    list.Add(L"/y");
    list.GetItem(0)->SetPinned(TRUE);
    list.GetItem(1)->SetPinned(TRUE);
    list.Add(L"/z");
    EXPECT_EQ(entries(list), (Names{L"/y*", L"/x*"}));
    list.Add(L""); // and nothing empty
    list.Add(nullptr);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(RecentFileListTest, PinsSurviveASaveAndALoad) {
    {
        CXTPRecentFileList list(0, L"Recent File List", L"File%d", 5);
        for (const wchar_t* p : {L"/p/one", L"/p/two", L"/p/three", L"/p/four"})
            list.Add(p);
        list.FindItem(L"/p/two")->SetPinned(TRUE);
        list.FindItem(L"/p/four")->SetPinned(TRUE);
        list.WriteList();
    }
    CXTPRecentFileList loaded(0, L"Recent File List", L"File%d", 5);
    loaded.ReadList();
    EXPECT_EQ(entries(loaded), (Names{L"/p/two*", L"/p/four*", L"/p/three", L"/p/one"}));
    // The names stay where MFC's list keeps them.
    EXPECT_EQ(app.GetProfileStringW(L"Recent File List", L"File1"), L"/p/two");
    EXPECT_EQ(app.GetProfileInt(L"Recent File List", L"Pinned2", 0), 1u);
    EXPECT_EQ(app.GetProfileInt(L"Recent File List", L"Pinned3", 0), 0u);

    // A profile written in another order, with a name twice, still reads pins first.
    app.WriteProfileStringW(L"Recent File List", nullptr, nullptr);
    app.WriteProfileStringW(L"Recent File List", L"File1", L"/q/plain");
    app.WriteProfileStringW(L"Recent File List", L"File2", L"/q/pinned");
    app.WriteProfileInt(L"Recent File List", L"Pinned2", 1);
    app.WriteProfileStringW(L"Recent File List", L"File3", L"/Q/PLAIN");
    CXTPRecentFileList other(0, L"Recent File List", L"File%d", 5);
    other.ReadList();
    EXPECT_EQ(entries(other), (Names{L"/q/pinned*", L"/q/plain"}));
}

} // namespace
