#include "afx/find_resource.h"
#include "afx/resource.h"
#include "afxstr.h"
#include "pal/test/sandbox_test.h"
#include "win/gdi/icon.h"
#include "win/system/module.h"

#include <gtest/gtest.h>

namespace {

const AFX_STRING_RESOURCE kStrings[] = {
    {57344, L"Test Application"},
    {100, L"%s has %d items"},
};
AFX_STRING_TABLE(kStrings);

struct Slice {
    const char* what;
    CString result;
    const wchar_t* expected;
};

TEST(CStringTest, SlicesClampToTheString) {
    const CString s(L"abcdef");
    const Slice cases[] = {
        {"Left(3)", s.Left(3), L"abc"},
        {"Left(-1)", s.Left(-1), L""},
        {"Left(99)", s.Left(99), L"abcdef"},
        {"Right(2)", s.Right(2), L"ef"},
        {"Right(99)", s.Right(99), L"abcdef"},
        {"Right(-5)", s.Right(-5), L""},
        {"Mid(2)", s.Mid(2), L"cdef"},
        {"Mid(2,2)", s.Mid(2, 2), L"cd"},
        {"Mid(-3,2)", s.Mid(-3, 2), L"ab"},
        {"Mid(4,99)", s.Mid(4, 99), L"ef"},
        {"Mid(99,2)", s.Mid(99, 2), L""},
        {"Mid(1,-1)", s.Mid(1, -1), L""},
        {"Mid(1,INT_MAX)", s.Mid(1, 0x7FFFFFFF), L"bcdef"},
    };
    for (const Slice& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
}

TEST(CStringTest, FindAndReverseFind) {
    const CString s(L"a.b.c");
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.Find(L'.', 2), 3);
    EXPECT_EQ(s.Find(L'.', 4), -1);
    EXPECT_EQ(s.Find(L'.', 99), -1);
    EXPECT_EQ(s.Find(L'.', -1), -1);
    EXPECT_EQ(s.Find(L"b.c"), 2);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.Find(L"", 5), 5);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.ReverseFind(L'x'), -1);
    EXPECT_EQ(s.FindOneOf(L"cb"), 2);
}

TEST(CStringTest, ReplaceCountsAndRebuilds) {
    CString s(L"aXbXXc");
    EXPECT_EQ(s.Replace(L"X", L"--"), 3);
    EXPECT_EQ(s, L"a--b----c");
    EXPECT_EQ(s.Replace(L"--", L""), 3);
    EXPECT_EQ(s, L"abc");
    EXPECT_EQ(s.Replace(L"", L"z"), 0);
    EXPECT_EQ(s.Replace(L'b', L'B'), 1);
    // Replacing a character by itself changes nothing and counts nothing.
    EXPECT_EQ(s.Replace(L'B', L'B'), 0);
    EXPECT_EQ(s, L"aBc");
    CString overlap(L"aaa");
    EXPECT_EQ(overlap.Replace(L"aa", L"a"), 1);
    EXPECT_EQ(overlap, L"aa");
}

TEST(CStringTest, TrimAndCase) {
    CString s(L" \t x y \r\n");
    EXPECT_EQ(CString(s).Trim(), L"x y");
    EXPECT_EQ(CString(s).TrimLeft(), L"x y \r\n");
    EXPECT_EQ(CString(s).TrimRight(), L" \t x y");
    EXPECT_EQ(CString(L"..x..").Trim(L'.'), L"x");
    EXPECT_EQ(CString(L"-=x=-").Trim(L"=-"), L"x");
    EXPECT_EQ(CString(L"    ").Trim(), L"");
    EXPECT_EQ(CString(L"MiXeD").MakeLower(), L"mixed");
    EXPECT_EQ(CString(L"MiXeD").MakeUpper(), L"MIXED");
    EXPECT_EQ(CString(L"abc").Compare(L"abd"), -1);
    EXPECT_EQ(CString(L"abc").Compare(L"abc"), 0);
    EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
    EXPECT_EQ(CString(L"b").CompareNoCase(L"A"), 1);
}

TEST(CStringTest, TokenizeSkipsEmptyTokens) {
    const CString s(L";a;;bc;");
    std::vector<std::wstring> tokens;
    int pos = 0;
    for (CString t = s.Tokenize(L";", pos); pos != -1; t = s.Tokenize(L";", pos))
        tokens.emplace_back(t.GetString());
    EXPECT_EQ(tokens, (std::vector<std::wstring>{L"a", L"bc"}));
    int none = 0;
    EXPECT_EQ(CString(L";;").Tokenize(L";", none), L"");
    EXPECT_EQ(none, -1);
}

TEST(CStringTest, BufferRoundTrip) {
    CString s(L"ab");
    wchar_t* buffer = s.GetBuffer(10);
    wcscpy(buffer, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"hello");
    EXPECT_EQ(s.GetLength(), 5);
    buffer = s.GetBuffer();
    buffer[1] = L'E';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, L"hEl");
    buffer = s.GetBufferSetLength(2);
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"hE");
}

TEST(CStringTest, FormatFollowsMicrosoftRules) {
    CString s;
    s.Format(L"%s|%S|%hs|%ls|%d|%5.2f|%c", L"wide", "narrow", "h", L"l", -7, 3.14159, L'z');
    EXPECT_EQ(s, L"wide|narrow|h|l|-7| 3.14|z");
    s.AppendFormat(L"+%04x", 255);
    EXPECT_EQ(s, L"wide|narrow|h|l|-7| 3.14|z+00ff");
    CStringA a;
    a.Format("%s=%S", "k", L"v");
    EXPECT_EQ(a, "k=v");
}

TEST(CStringTest, NarrowAndWideConvertThroughUtf8) {
    const CString wide(L"Чертёж \u00e9");
    const CStringA narrow(wide);
    EXPECT_EQ(narrow, "\xD0\xA7\xD0\xB5\xD1\x80\xD1\x82\xD1\x91\xD0\xB6 \xC3\xA9");
    EXPECT_EQ(CString(narrow), wide);
    EXPECT_EQ(CString("plain"), L"plain");
}

TEST(CStringTest, LoadStringAndFormatById) {
    CString title;
    ASSERT_TRUE(title.LoadString(57344));
    EXPECT_EQ(title, L"Test Application");
    CString missing(L"kept");
    EXPECT_FALSE(missing.LoadString(4242));
    EXPECT_EQ(missing, L"kept");
    CString formatted;
    formatted.Format(100u, L"Drawing", 3);
    EXPECT_EQ(formatted, L"Drawing has 3 items");
    wchar_t buffer[5];
    EXPECT_EQ(AfxLoadString(57344, buffer, 5), 4);
    EXPECT_STREQ(buffer, L"Test");
}

// A module whose strings and pictures are declared beside it: CString reads its strings when it is
// the resource module, and AfxFindResourceHandle names it for what it holds.
class ResourceModuleTest : public pal::test::SandboxTest {};

TEST_F(ResourceModuleTest, TheResourceModulesDeclaredStringsAndPicturesAreFoundThroughIt) {
    const HMODULE module = LoadLibraryW(L"dvpal_test_module.dll");
    ASSERT_NE(module, nullptr);
    CString text;
    EXPECT_FALSE(text.LoadString(101)) << "not before it is the resource module";
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(128), RT_GROUP_ICON), nullptr)
        << "no module holds it: the resource module, which is none";

    AfxSetResourceHandle(module);
    ASSERT_TRUE(text.LoadString(101));
    EXPECT_EQ(text, L"Strings by id");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(128), RT_GROUP_ICON), module);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_ACCELERATOR), module);
    ASSERT_TRUE(text.LoadString(57344));
    EXPECT_EQ(text, L"Test Application") << "a table in code still comes first";
    AfxSetResourceHandle(nullptr);
    FreeLibrary(module);
}

TEST(CStringTest, OperatorsAndInsertDelete) {
    CString s = CString(L"a") + L"b" + L'c';
    s += L"d";
    EXPECT_EQ(s, L"abcd");
    EXPECT_EQ(L"x" + s, L"xabcd");
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_EQ(s.Insert(2, L"__"), 6);
    EXPECT_EQ(s, L"ab__cd");
    EXPECT_EQ(s.Insert(99, L'!'), 7);
    EXPECT_EQ(s, L"ab__cd!");
    EXPECT_EQ(s.Delete(2, 2), 5);
    EXPECT_EQ(s.Delete(4, 99), 4);
    EXPECT_EQ(s.Delete(99), 4);
    EXPECT_EQ(s, L"abcd");
    // A negative index is clamped to the start, like every other position argument.
    EXPECT_EQ(s.Delete(-3, 1), 3);
    EXPECT_EQ(s, L"bcd");
    s.Insert(0, L'a');
    EXPECT_EQ(s.Remove(L'b'), 1);
    EXPECT_EQ(s, L"acd");
}

// Reading at the length gives the terminator; anything further is refused loudly, never read.
TEST(CStringTest, IndexOutOfRangeFailsLoudly) {
    CString s(L"abc");
    EXPECT_EQ(s.GetAt(3), L'\0');
    EXPECT_EQ(s[1], L'b');
    s.SetAt(0, L'X');
    EXPECT_EQ(s, L"Xbc");
#ifdef NDEBUG
    for (int bad : {-1, 4, 1000}) {
        try {
            (void)s.GetAt(bad);
            ADD_FAILURE() << "GetAt(" << bad << ") did not throw";
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    try {
        s.SetAt(3, L'Y');
        ADD_FAILURE() << "SetAt at the length did not throw";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    EXPECT_EQ(s, L"Xbc");
#else
    EXPECT_DEATH((void)s.GetAt(4), "string index out of range");
    EXPECT_DEATH(s.SetAt(3, L'Y'), "string index out of range");
    EXPECT_DEATH((void)s[-1], "string index out of range");
#endif
}

} // namespace
