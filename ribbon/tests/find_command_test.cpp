// The find-command search: which commands a text finds, through captions and tags, and in what
// order they are listed.
#include "ribbon/FindCommand.h"

#include "DVTextCore/I18n.h"
#include "DVTextCore/SearchableText.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

class FindCommandTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
        GetOptions().findBySynonyms = 0;
    }
    void TearDown() override {
        GetOptions().findBySynonyms = 0;
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }

    // One command tested alone: whether it is listed, and as what.
    std::optional<std::wstring> match(int id, const std::wstring& caption, const std::wstring& filter,
                                      std::size_t profiles = 0, bool synonyms = false) {
        std::vector<FoundCommand> result;
        const bool digits = !filter.empty() && std::all_of(filter.begin(), filter.end(),
                                                           [](wchar_t c) { return c >= L'0' && c <= L'9'; });
        const int number = digits ? std::stoi(filter) : 0;
        MatchCommandContext context{profiles, synonyms, number, filter, result};
        MatchCommand(context, id, caption);
        if (result.empty())
            return std::nullopt;
        EXPECT_EQ(result.front().id, id);
        return result.front().text;
    }

    static std::vector<int> ids(const std::vector<FoundCommand>& found) {
        std::vector<int> out;
        for (const FoundCommand& f : found)
            out.push_back(f.id);
        return out;
    }
};

TEST_F(FindCommandTest, MatchCommandTestsNumberEmptyTagsAndCaptionInThatOrder) {
    struct Case {
        int id;
        const wchar_t* caption;
        const wchar_t* filter;
        std::size_t profiles;
        bool synonyms;
        std::optional<std::wstring> listedAs;
    };
    const Case cases[] = {
        // An empty filter lists every command with a caption; one without a caption never.
        {1640, L"Line", L"", 0, false, L"Line"},
        {1640, L"", L"", 0, false, std::nullopt},
        // A number finds its id whatever the caption says; 0 finds nothing by number.
        {1640, L"Line", L"1640", 0, false, L"Line"},
        {1641, L"Line", L"1640", 0, false, std::nullopt},
        {1641, L"Line 0", L"0", 0, false, L"Line 0"},
        {1641, L"Line", L"0", 0, false, std::nullopt},
        // A plain substring of the searchable caption, anywhere in it.
        {1651, L"Polyline", L"line", 0, false, L"Polyline"},
        {1651, L"Polyline", L"ylin", 0, false, L"Polyline"},
        {1651, L"Polyline", L"lines", 0, false, std::nullopt},
        // A single "&" goes from the shown and the searched text; "&&" stays as it stands.
        {1001, L"&Open", L"open", 0, false, L"Open"},
        {1001, L"Save && close", L"save && close", 0, false, L"Save && close"},
        {1001, L"Save && close", L"save & close", 0, false, std::nullopt},
        // Only as many apply-profile commands as there are profiles.
        {1190, L"Profile 1", L"", 2, false, L"Profile 1"},
        {1191, L"Profile 2", L"", 2, false, L"Profile 2"},
        {1192, L"Profile 3", L"", 2, false, std::nullopt},
        {1199, L"Profile 10", L"", 2, false, std::nullopt},
        // Tags (of the bundled tag file) find a command only with synonyms on.
        {1640, L"Line", L"segment", 0, true, L"Line"},
        {1640, L"Line", L"segment", 0, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(std::wstring(c.caption) + L" / " + c.filter));
        EXPECT_EQ(match(c.id, c.caption, c.filter, c.profiles, c.synonyms), c.listedAs);
    }
}

TEST_F(FindCommandTest, TagLinesWithoutABlankUnknownNamesOrExcludedIdsAreSkipped) {
    CommandTagsMap table;
    LoadCommandTags(table, sourcePath("ribbon/tests/fixtures/command_tags.txt").wstring());
    // Names (in any case) and decimal ids; the tags everything after the first blank; entries
    // of one id joined with ";"; tags searchable, single "&" gone; application commands and the
    // excluded blocks never.
    const CommandTagsMap expected = {
        {1640, L"  segment   straight;alpha &&beta"},
        {1646, L"round ring;елка;second"},
    };
    EXPECT_EQ(table, expected);
    // A missing file leaves the table alone.
    LoadCommandTags(table, (root() / "missing.txt").wstring());
    EXPECT_EQ(table, expected);
    ASSERT_NE(FindCommandTags(table, 1646), nullptr);
    EXPECT_EQ(FindCommandTags(table, 1647), nullptr);
}

TEST_F(FindCommandTest, AMegabyteTagLineAndBinaryBytesLoadWithoutHarm) {
    const auto path = root() / "big_tags.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "DrawLine " << std::string(1 << 20, 'x') << "\n";
        out << std::string("\x00\xff\xfe\x01 binary\n", 12);
        out << "1646 \xc3\x28 not utf8\n";
    }
    CommandTagsMap table;
    LoadCommandTags(table, path.wstring());
    ASSERT_EQ(table.count(1640), 1u);
    EXPECT_EQ(table.at(1640).size(), std::size_t(1) << 20);
    ASSERT_EQ(table.count(1646), 1u);
    EXPECT_NE(table.at(1646).find(L"not utf8"), std::wstring::npos);
}

TEST_F(FindCommandTest, ResultsSortByNameCodeUnitByCodeUnitAndNamelessLastById) {
    struct Case {
        FoundCommand a;
        FoundCommand b;
        bool less;
    };
    const Case cases[] = {
        {{1, L"Arc"}, {2, L"Line"}, true},
        {{2, L"Line"}, {1, L"Arc"}, false},
        // No case folding: upper case sorts before lower case.
        {{1, L"line"}, {2, L"Line"}, false},
        {{1, L"Lin"}, {2, L"Line"}, true},
        {{1, L"Line"}, {2, L"Line"}, false},
        // The name is what follows the line feed.
        {{1, L"Zed\nArc"}, {2, L"Line"}, true},
        {{1, L"Line"}, {2, L"Zed\n"}, true},
        {{1, L""}, {2, L"Line"}, false},
        {{1, L""}, {2, L""}, true},
        {{2, L""}, {1, L""}, false},
        // UTF-16 order: a character past U+FFFF sorts before U+E000.
        {{1, L"\U0001F600"}, {2, L"\uE000"}, true},
        {{1, L"\uE000"}, {2, L"\U0001F600"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoundCommandLess(c.a, c.b), c.less)
            << pal::text::toUtf8(c.a.text) << " < " << pal::text::toUtf8(c.b.text);
}

TEST_F(FindCommandTest, FillCommandListWalksTheKernelsCommandsThenTheAddOnBlock) {
    // An add-on command with a second line differing from its name shows both lines; one whose
    // second line is its name shows one.
    DVCommandContainer::Instance().RegisterCommand(15001, L"Addon.First", DVCommandFlags());
    DVCommandContainer::Instance().RegisterCommand(15002, L"Addon.Second", DVCommandFlags());
    UIModuleProxy::CommandStrings first;
    first.Caption = L"Zigzag line";
    first.Description = L"Sample add-on";
    UIModuleProxy::Instance().SetCommandStrings(15001, first);
    UIModuleProxy::CommandStrings second;
    second.Caption = second.Description = L"Line twice";
    UIModuleProxy::Instance().SetCommandStrings(15002, second);

    const std::vector<FoundCommand> found = FillCommandList(Dravik::GetSearchableEquivalent(L"LINE"));
    std::vector<std::wstring> texts;
    for (const FoundCommand& f : found)
        texts.push_back(f.text);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Sample add-on\nZigzag line"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Line twice"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Line"), texts.end());
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(), FoundCommandLess));
    for (const std::wstring& text : texts)
        EXPECT_NE(Dravik::GetSearchableEquivalent(text).find(L"line"), std::wstring::npos)
            << pal::text::toUtf8(text);

    // The empty filter lists every command that has a caption, the add-on ones among them.
    const std::vector<FoundCommand> all = FillCommandList(L"");
    EXPECT_GT(all.size(), found.size());
    const std::vector<int> allIds = ids(all);
    EXPECT_NE(std::find(allIds.begin(), allIds.end(), 15001), allIds.end());
    EXPECT_NE(std::find(allIds.begin(), allIds.end(), 1001), allIds.end());
}

TEST_F(FindCommandTest, ASearchSeesCommandsAndTextsThatChangedSinceTheLastOne) {
    // Searches keep what they prepared from the kernel's table between keystrokes; whatever
    // changes the table or a text shows in the next search.
    const std::wstring filter = Dravik::GetSearchableEquivalent(L"Wobble");
    EXPECT_TRUE(FillCommandList(filter).empty());
    DVCommandContainer::Instance().RegisterCommand(40001, L"Test.Wobble", DVCommandFlags());
    UIModuleProxy::CommandStrings strings;
    strings.Caption = L"Wobble";
    UIModuleProxy::Instance().SetCommandStrings(40001, strings);
    EXPECT_EQ(ids(FillCommandList(filter)), std::vector<int>{40001});
    strings.Caption = L"Wiggle";
    UIModuleProxy::Instance().SetCommandStrings(40001, strings);
    EXPECT_TRUE(FillCommandList(filter).empty());
    // The kernel's own captions come from the language loaded.
    const std::wstring saveAs = Dravik::GetSearchableEquivalent(L"Save as");
    const auto findsSaveAs = [&] {
        const std::vector<int> found = ids(FillCommandList(saveAs));
        return std::find(found.begin(), found.end(), 1093) != found.end();
    };
    EXPECT_TRUE(findsSaveAs());
    EXPECT_FALSE(Dravik::I18n::LoadCatalogue((root() / "no-such.lng").wstring().c_str()));
    EXPECT_FALSE(findsSaveAs()) << "without a catalogue the captions are keys";
    ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
    EXPECT_TRUE(findsSaveAs());
}

TEST_F(FindCommandTest, SynonymsFindACommandWhoseCaptionLacksTheText) {
    const std::wstring filter = Dravik::GetSearchableEquivalent(L"Segment");
    EXPECT_TRUE(ids(FillCommandList(filter)).empty());
    GetOptions().findBySynonyms = 1;
    const std::vector<int> found = ids(FillCommandList(filter));
    EXPECT_NE(std::find(found.begin(), found.end(), 1640), found.end());
}

} // namespace
