#include "pal/xml.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class Xml : public pal::test::SandboxTest {};

TEST_F(Xml, WritesTheGivenDeclarationAndReadsBackWideText) {
    pal::xml::Document doc;
    pal::xml::Node state = doc.resetRoot(L"state");
    state.setAttribute(L"product", L"Дравик");
    pal::xml::Node w = state.appendChild(L"mainWindow");
    w.setAttribute(L"workbook", L"true");
    w.appendChild(L"codejock").setText(L"a < b");
    const auto file = root() / "state.xml";
    ASSERT_TRUE(doc.save(file));

    std::ifstream in(file);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, R"(<?xml version="1.0" encoding="utf-8"?>)");

    pal::xml::Document back;
    ASSERT_TRUE(back.loadFile(file));
    EXPECT_EQ(back.root().name(), L"state");
    EXPECT_EQ(back.root().attribute(L"product"), L"Дравик");
    EXPECT_EQ(back.root().child(L"mainWindow").child(L"codejock").text(), L"a < b");
    EXPECT_EQ(back.toString().find("<?xml"), back.toString().rfind("<?xml")) << "one declaration";
}

TEST_F(Xml, MissingThingsAnswerEmptyAndBadTextFailsToLoad) {
    pal::xml::Document doc;
    EXPECT_FALSE(doc.root());
    EXPECT_FALSE(doc.root().child(L"x").child(L"y"));
    EXPECT_EQ(doc.root().attribute(L"a", L"fallback"), L"fallback");
    doc.root().setAttribute(L"a", L"b"); // does nothing, never crashes
    const pal::xml::LoadResult bad = doc.loadString("<a><b></a>");
    EXPECT_FALSE(bad);
    EXPECT_FALSE(bad.message.empty());
    EXPECT_FALSE(doc.root());
}

TEST_F(Xml, ChildrenCopiesAndRemoval) {
    pal::xml::Document doc;
    ASSERT_TRUE(doc.loadString("<r><!-- note --><a n='1'/><b/><a n='2'/></r>"));
    pal::xml::Node r = doc.root();
    ASSERT_EQ(r.children().size(), 3u) << "comments are not elements";
    ASSERT_EQ(r.children(L"a").size(), 2u);
    EXPECT_EQ(r.children(L"a")[1].attribute(L"n"), L"2");

    pal::xml::Document other;
    pal::xml::Node copy = other.resetRoot(L"o").appendCopy(r);
    EXPECT_EQ(copy.children(L"a").size(), 2u);
    EXPECT_TRUE(r.removeChild(r.child(L"b")));
    EXPECT_EQ(r.children().size(), 2u);
    EXPECT_EQ(copy.children().size(), 3u) << "the copy is independent";
    EXPECT_EQ(copy.parent().name(), L"o");
}

TEST_F(Xml, MixedContentComesInDocumentOrderWithEntitiesResolved) {
    pal::xml::Document doc;
    ASSERT_TRUE(doc.loadString("<t>a &amp; b<Bold>c</Bold><![CDATA[<d>]]><LineBreak/>&#x7b;e</t>"));
    const auto pieces = doc.root().content();
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0].text, L"a & b");
    EXPECT_EQ(pieces[1].element.name(), L"Bold");
    EXPECT_EQ(pieces[1].element.text(), L"c");
    EXPECT_EQ(pieces[2].text, L"<d>");
    EXPECT_EQ(pieces[3].element.name(), L"LineBreak");
    EXPECT_FALSE(pieces[4].element);
    EXPECT_EQ(pieces[4].text, L"{e");
    EXPECT_TRUE(pal::xml::Node().content().empty());
}

} // namespace
