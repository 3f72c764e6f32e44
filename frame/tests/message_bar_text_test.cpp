// The markup of a main frame's message bars and the colour a colour book gives the system panel.
#include "frame/ColorBook.h"
#include "frame/MessageBarText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dvframe::BuildMessageBarMarkup;
using dvframe::EscapeMessageBarText;

TEST(MessageBarText, EscapesEveryMarkupCharacterOnce) {
    struct Case {
        std::wstring in, out;
    };
    const Case cases[] = {
        {L"plain", L"plain"},
        {L"a & b", L"a &amp; b"},
        {L"<x>", L"&lt;x&gt;"},
        {L"it's \"so\"", L"it&apos;s &quot;so&quot;"},
        {L"{0}", L"&#x7b;0&#x7d;"},
        {L"one\ntwo", L"one<LineBreak/>two"},
        {L"&lt;", L"&amp;lt;"}, // text that looks like an entity stays text
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeMessageBarText(c.in), c.out) << std::string(c.in.begin(), c.in.end());
}

TEST(MessageBarText, TitleInBoldThenTheEscapedMessage) {
    EXPECT_EQ(BuildMessageBarMarkup(false, 0, L"A<B", L"x{y}"),
              L"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"*\"/></Grid.ColumnDefinitions>"
              L"<TextBlock Grid.Column=\"0\"  VerticalAlignment=\"Center\" TextWrapping=\"Wrap\">"
              L"<Bold>A&lt;B</Bold> x&#x7b;y&#x7d;</TextBlock></Grid>");
}

TEST(MessageBarText, AnImageTakesTheFirstColumnAndPadsTheText) {
    EXPECT_EQ(
        BuildMessageBarMarkup(true, 412, L"", L"Saved"),
        L"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"Auto\"/><ColumnDefinition Width=\"*\"/>"
        L"</Grid.ColumnDefinitions>"
        L"<Image Grid.Column=\"0\" Source=\"412\" MaxWidth=\"32\" VerticalAlignment=\"Center\"/>"
        L"<TextBlock Grid.Column=\"1\" Padding=\"5, 0, 0, 0\" VerticalAlignment=\"Center\" "
        L"TextWrapping=\"Wrap\">Saved</TextBlock></Grid>");
    EXPECT_EQ(BuildMessageBarMarkup(false, 0, L"Title", L""),
              L"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"*\"/></Grid.ColumnDefinitions>"
              L"<TextBlock Grid.Column=\"0\"  VerticalAlignment=\"Center\" TextWrapping=\"Wrap\">"
              L"<Bold>Title</Bold></TextBlock></Grid>")
        << "no space without a message";
}

TEST(ColorBook, TheColourMovesUpOneByteAsA32BitPattern) {
    static_assert(dvframe::ColorBookControlValue(RGB(0, 0, 0xFF)) == static_cast<std::int32_t>(0xFF000000u));
    EXPECT_EQ(static_cast<std::uint32_t>(dvframe::ColorBookControlValue(RGB(0, 0, 0xFF))), 0xFF000000u);
    EXPECT_EQ(dvframe::ColorBookControlValue(RGB(0x12, 0x34, 0x56)), 0x56341200);
    EXPECT_EQ(dvframe::ColorBookControlValue(RGB(0xFF, 0, 0)), 0xFF00);
}

} // namespace
