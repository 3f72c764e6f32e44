// The clipboard within one program: text in both encodings, registered formats, blocks that do
// not hold what their format says, and the OLE clipboard over it.
#include "test_objects.h"

#include "pal/test/user_test.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <thread>

namespace {

using oletest::unicodeBlock;

std::string bytesOf(HANDLE h) {
    const void* p = GlobalLock(h);
    if (!p)
        return {};
    std::string out(static_cast<const char*>(p), GlobalSize(h));
    GlobalUnlock(h);
    return out;
}

HGLOBAL block(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

std::string dropFiles(DWORD offset, const std::string& list, BOOL wide = TRUE) {
    DROPFILES header{offset, {0, 0}, TRUE, wide};
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) + list;
}

class Clipboard : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    }
    void TearDown() override {
        OleUninitialize();
        UserTest::TearDown();
    }

    // Empties the clipboard and sets one block; whether SetClipboardData took it.
    bool put(UINT format, const std::string& bytes) {
        EXPECT_TRUE(OpenClipboard(nullptr));
        EXPECT_TRUE(EmptyClipboard());
        HGLOBAL h = block(bytes);
        const bool taken = SetClipboardData(format, h) == h;
        if (!taken)
            GlobalFree(h); // a refused block stays the caller's
        EXPECT_TRUE(CloseClipboard());
        return taken;
    }
    std::string get(UINT format) {
        EXPECT_TRUE(OpenClipboard(nullptr));
        const std::string out = bytesOf(GetClipboardData(format));
        EXPECT_TRUE(CloseClipboard());
        return out;
    }
};

TEST_F(Clipboard, TextIsOfferedInBothEncodingsWhicheverWasSet) {
    struct Case {
        UINT setAs;
        std::string set;
        UINT getAs;
        std::string expected;
    } cases[] = {
        {CF_UNICODETEXT, unicodeBlock(L"Stra\u00dfe \u2116 5"), CF_TEXT,
         "Stra\xc3\x9f"
         "e \xe2\x84\x96 5" +
             std::string(1, '\0')},
        {CF_TEXT, std::string("a\xc3\xa9z\0", 5), CF_UNICODETEXT, unicodeBlock(L"a\u00e9z")},
        {CF_UNICODETEXT, unicodeBlock(L"same"), CF_UNICODETEXT, unicodeBlock(L"same")},
        // Only the text up to the terminator is converted.
        {CF_TEXT, std::string("ab\0cd\0", 6), CF_UNICODETEXT, unicodeBlock(L"ab")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setAs);
        ASSERT_TRUE(put(c.setAs, c.set));
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
        EXPECT_EQ(CountClipboardFormats(), 2);
        EXPECT_EQ(get(c.getAs), c.expected);
    }
}

TEST_F(Clipboard, FormatsAreListedInTheOrderSetThenByConversion) {
    const UINT custom = RegisterClipboardFormatW(L"Library");
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    SetClipboardData(custom, block("xyz"));
    SetClipboardData(CF_UNICODETEXT, block(unicodeBlock(L"t")));
    std::vector<UINT> listed;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        listed.push_back(f);
    EXPECT_EQ(listed, (std::vector<UINT>{custom, CF_UNICODETEXT, CF_TEXT}));
    EXPECT_EQ(bytesOf(GetClipboardData(custom)), "xyz");
    EXPECT_EQ(GetClipboardData(CF_HDROP), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_FOUND);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(custom), nullptr) << "reading needs the clipboard open";
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
}

TEST_F(Clipboard, ARegisteredFormatHasOneNumberPerNameWhateverItsCase) {
    const UINT effect = RegisterClipboardFormatW(L"Preferred DropEffect");
    EXPECT_GE(effect, 0xC000u);
    EXPECT_LE(effect, 0xFFFFu);
    EXPECT_EQ(RegisterClipboardFormatW(L"PREFERRED DROPEFFECT"), effect);
    const UINT library = RegisterClipboardFormatW(L"Library");
    EXPECT_NE(library, effect);
    wchar_t name[64];
    EXPECT_EQ(GetClipboardFormatNameW(effect, name, 64), 20);
    EXPECT_STREQ(name, L"Preferred DropEffect");
    EXPECT_EQ(GetClipboardFormatNameW(effect, name, 10), 9) << "truncated to fit";
    EXPECT_STREQ(name, L"Preferred");
    EXPECT_EQ(RegisterClipboardFormatW(L""), 0u);
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, name, 64), 0);
}

TEST_F(Clipboard, BlocksThatDoNotHoldWhatTheirFormatSaysAreRefusedAndTheClipboardKeepsItsContent) {
    const std::string wideList = unicodeBlock(L"C:\\a.grb") + std::string(2, '\0');
    struct Case {
        const char* name;
        UINT format;
        std::string bytes;
    } cases[] = {
        {"unicode text without a terminator", CF_UNICODETEXT, std::string("a\0b\0", 4)},
        {"unicode text with half a terminator", CF_UNICODETEXT, std::string("a\0\0", 3)},
        {"ansi text without a terminator", CF_TEXT, "abc"},
        {"empty text block", CF_TEXT, ""},
        {"file list shorter than its header", CF_HDROP, std::string(12, '\0')},
        {"file list starting past the block", CF_HDROP, dropFiles(400, wideList)},
        {"file list starting inside its header", CF_HDROP, dropFiles(8, wideList)},
        {"file list without its closing terminator", CF_HDROP, dropFiles(20, unicodeBlock(L"C:\\a.grb"))},
        {"file path without a terminator", CF_HDROP, dropFiles(20, std::string("C\0:\0", 4))},
        {"ansi file list without its closing terminator", CF_HDROP,
         dropFiles(20, std::string("a.grb\0", 6), FALSE)},
    };
    ASSERT_TRUE(put(CF_UNICODETEXT, unicodeBlock(L"kept")));
    const DWORD sequence = GetClipboardSequenceNumber();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(OpenClipboard(nullptr));
        HGLOBAL h = block(c.bytes);
        EXPECT_EQ(SetClipboardData(c.format, h), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
        GlobalFree(h);
        ASSERT_TRUE(CloseClipboard());
    }
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(get(CF_UNICODETEXT), unicodeBlock(L"kept"));
}

TEST_F(Clipboard, ABadBlockLeftInTheStoreByAnotherProgramIsNotHandedOut) {
    ASSERT_TRUE(put(CF_UNICODETEXT, unicodeBlock(L"fine")));
    // A program that wrote the store without the clipboard functions.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((root() / "clipboard.db").c_str(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 5000);
    ASSERT_EQ(sqlite3_exec(db,
                           "UPDATE items SET data=x'410042004300' WHERE slot=0 AND format=13;"
                           "UPDATE boards SET seq=seq+1 WHERE slot=0",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "nor converted";
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, OneThreadHoldsTheClipboardOpenAtATime) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(owner));
    EXPECT_EQ(GetOpenClipboardWindow(), owner);
    BOOL otherOpened = TRUE;
    DWORD otherError = 0;
    std::thread([&] {
        otherOpened = OpenClipboard(nullptr);
        otherError = GetLastError();
    }).join();
    EXPECT_FALSE(otherOpened);
    EXPECT_EQ(otherError, ERROR_ACCESS_DENIED);
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), owner);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    std::thread([&] {
        otherOpened = OpenClipboard(nullptr);
        if (otherOpened)
            CloseClipboard();
    }).join();
    EXPECT_TRUE(otherOpened);
    DestroyWindow(owner);
}

TEST_F(Clipboard, AnOleCutIsRenderedOntoTheClipboardAndReadBackThroughOleGetClipboard) {
    const UINT effectFormat = RegisterClipboardFormatW(L"Preferred DropEffect");
    const DWORD move = DROPEFFECT_MOVE;
    std::string list = dropFiles(20, unicodeBlock(L"C:\\lib\\a.grb") + unicodeBlock(L"C:\\lib\\b.grb") +
                                         std::string(2, '\0'));
    for (auto how : {oletest::Misbehaviour::None, oletest::Misbehaviour::StreamOnly}) {
        auto* source = new oletest::TestData(how);
        source->add(CF_HDROP, list);
        source->add(effectFormat, std::string(reinterpret_cast<const char*>(&move), 4));
        ASSERT_EQ(OleSetClipboard(source), S_OK);
        EXPECT_EQ(OleIsCurrentClipboard(source), S_OK);
        ASSERT_EQ(OleFlushClipboard(), S_OK);
        EXPECT_EQ(OleIsCurrentClipboard(source), S_FALSE);
        source->Release();

        IDataObject* pasted = nullptr;
        ASSERT_EQ(OleGetClipboard(&pasted), S_OK);
        FORMATETC f{static_cast<CLIPFORMAT>(effectFormat), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM m{};
        ASSERT_EQ(pasted->GetData(&f, &m), S_OK);
        ASSERT_EQ(m.tymed, TYMED_HGLOBAL);
        EXPECT_EQ(GlobalSize(m.hGlobal), 4u);
        EXPECT_EQ(*static_cast<DWORD*>(GlobalLock(m.hGlobal)), DROPEFFECT_MOVE);
        GlobalUnlock(m.hGlobal);
        ReleaseStgMedium(&m);

        f.cfFormat = CF_HDROP;
        f.tymed = TYMED_ISTREAM;
        ASSERT_EQ(pasted->GetData(&f, &m), S_OK);
        ASSERT_EQ(m.tymed, TYMED_ISTREAM);
        HGLOBAL under = nullptr;
        ASSERT_EQ(GetHGlobalFromStream(m.pstm, &under), S_OK);
        HDROP drop = static_cast<HDROP>(under);
        EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
        wchar_t path[MAX_PATH];
        EXPECT_EQ(DragQueryFileW(drop, 1, path, MAX_PATH), 12u);
        EXPECT_STREQ(path, L"C:\\lib\\b.grb");
        ReleaseStgMedium(&m);

        f.cfFormat = CF_TEXT;
        EXPECT_EQ(pasted->QueryGetData(&f), DV_E_FORMATETC);
        pasted->Release();
    }
}

TEST_F(Clipboard, AnOleObjectThatFailsOrLiesLeavesOnlyWhatItRenderedProperly) {
    for (auto how : {oletest::Misbehaviour::FailGetData, oletest::Misbehaviour::WrongMedium,
                     oletest::Misbehaviour::BadHandle}) {
        auto* source = new oletest::TestData(how);
        source->add(CF_UNICODETEXT, unicodeBlock(L"never"));
        ASSERT_EQ(OleSetClipboard(source), S_OK);
        source->Release();
        EXPECT_EQ(CountClipboardFormats(), 0);
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    }
}

} // namespace
