#include "xtp/PropExchange.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include "pal/path.h"

#include <fstream>

namespace {

class PropExchange : public pal::test::SandboxTest {};

struct Settings {
    BOOL flag = FALSE;
    int number = 0;
    DWORD mask = 0;
    CString text;
    CSize size;
    CRect rect;
    std::vector<int> items;

    void exchange(CXTPPropExchange* px) {
        PX_Bool(px, L"Flag", flag, TRUE);
        PX_Int(px, L"Number", number, 7);
        PX_DWord(px, L"Mask", mask, 0xF0);
        PX_String(px, L"Text", text, L"none");
        CXTPPropExchangeSection geometry(px, L"Geometry");
        PX_Size(geometry, L"Size", size, CSize(1, 2));
        PX_Rect(geometry, L"Rect", rect, CRect(1, 2, 3, 4));
        CXTPPropExchangeEnumeratorPtr e(px->GetEnumerator(L"Item"));
        POSITION pos = e->GetPosition(static_cast<DWORD>(items.size()));
        if (px->IsLoading())
            items.assign(e->GetCount(), 0);
        for (size_t i = 0; pos != nullptr; ++i) {
            CXTPPropExchangeSection item(e->GetNext(pos));
            PX_Int(item, L"Value", items[i], -1);
        }
    }
};

TEST_F(PropExchange, StoresAndLoadsEveryTypeThroughAFile) {
    Settings out{TRUE, -42, 0xDEADBEEF, L"Ширина & <width>", CSize(30, 40), CRect(-5, 6, 70, 80), {3, 1, 2}};
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Layout");
    out.exchange(&store);
    const auto file = root() / "layout.xml";
    ASSERT_TRUE(store.SaveToFile(pal::path::fromNative(file).c_str()));

    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Layout");
    ASSERT_TRUE(load.LoadFromFile(pal::path::fromNative(file).c_str()));
    Settings in;
    in.exchange(&load);
    EXPECT_EQ(in.flag, TRUE);
    EXPECT_EQ(in.number, -42);
    EXPECT_EQ(in.mask, 0xDEADBEEF);
    EXPECT_EQ(in.text, out.text);
    EXPECT_EQ(in.size, CSize(30, 40));
    EXPECT_EQ(in.rect, CRect(-5, 6, 70, 80));
    EXPECT_EQ(in.items, (std::vector<int>{3, 1, 2}));
}

// What a damaged or foreign file may hold: every value that does not read as its type keeps
// the caller's default, the rest loads.
TEST_F(PropExchange, ValuesThatDoNotReadAsTheirTypeKeepTheDefault) {
    struct Case {
        const char* xml;
        const char* what;
    } cases[] = {
        {R"(<L Flag="maybe" Number="12abc" Mask="-1" Text="kept"/>)", "garbage in numbers"},
        {R"(<L Flag="" Number="99999999999" Mask="4294967296" Text="kept"/>)", "out of range"},
        {R"(<L Text="kept"><Geometry Size="1,2,3" Rect="1,2"/></L>)", "wrong arity"},
        {R"(<L Text="kept"><Geometry Size="a,b" Rect=",,,"/></L>)", "not numbers"},
        {R"(<L Text="kept"><Other/></L>)", "missing section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CXTPPropExchangeXMLNode load(TRUE, nullptr, nullptr);
        ASSERT_TRUE(load.LoadFromString(CString(c.xml)));
        Settings in{FALSE, 0, 0, L"", CSize(9, 9), CRect(9, 9, 9, 9), {}};
        in.exchange(&load);
        EXPECT_EQ(in.flag, TRUE);
        EXPECT_EQ(in.number, 7);
        EXPECT_EQ(in.mask, 0xF0u);
        EXPECT_EQ(in.text, L"kept");
        EXPECT_EQ(in.size, CSize(1, 2));
        EXPECT_EQ(in.rect, CRect(1, 2, 3, 4));
        EXPECT_TRUE(in.items.empty());
    }
}

TEST_F(PropExchange, AFileThatIsNotXmlLoadsNothing) {
    const auto file = root() / "broken.xml";
    std::ofstream(file) << "<Layout Flag='true'><unclosed>";
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Layout");
    EXPECT_FALSE(load.LoadFromFile(pal::path::fromNative(file).c_str()));
    EXPECT_FALSE(load.OnBeforeExchange());
    Settings in;
    in.exchange(&load); // never crashes; defaults throughout
    EXPECT_EQ(in.number, 7);
    CXTPPropExchangeXMLNode missing(TRUE, nullptr, L"Layout");
    EXPECT_FALSE(missing.LoadFromFile((pal::path::fromNative(root() / "absent.xml").c_str())));
}

// A layout inside a larger document: the exchange writes into an element of the caller's file,
// and an exchange of its own can be put in as a section.
TEST_F(PropExchange, WorksAsANodeInsideALargerDocument) {
    pal::xml::Document state;
    pal::xml::Node window = state.resetRoot(L"state").appendChild(L"mainWindow");
    pal::xml::Node layouts = window.appendChild(L"layouts");
    {
        CXTPPropExchangeXMLNode px(FALSE, layouts);
        CXTPPropExchangeSection normal(&px, L"normalLayout");
        int mode = 3;
        PX_Int(normal, L"Mode", mode);
        CXTPPropExchangeXMLNode full(FALSE, nullptr, L"fullscreenLayout");
        int hidden = 1;
        PX_Int(&full, L"Hidden", hidden);
        px.PutSection(&full);
    }
    EXPECT_EQ(state.root().child(L"mainWindow").child(L"layouts").child(L"normalLayout").attribute(L"Mode"),
              L"3");
    CXTPPropExchangeXMLNode load(TRUE, layouts);
    EXPECT_TRUE(load.IsSectionExists(L"fullscreenLayout"));
    CXTPPropExchangeSection full(&load, L"fullscreenLayout");
    int hidden = 0;
    EXPECT_TRUE(PX_Int(full, L"Hidden", hidden));
    EXPECT_EQ(hidden, 1);
    // The node alone saved as a file of its own.
    const auto file = root() / "layouts.xml";
    ASSERT_TRUE(load.SaveToFile(pal::path::fromNative(file).c_str()));
    CXTPPropExchangeXMLNode again(TRUE, nullptr, nullptr);
    ASSERT_TRUE(again.LoadFromFile(pal::path::fromNative(file).c_str()));
    EXPECT_EQ(again.GetNode().name(), L"layouts");
    EXPECT_TRUE(again.IsSectionExists(L"normalLayout"));
}

} // namespace
