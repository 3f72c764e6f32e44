#include "xml_support.h"

#include <tuple>
#include <vector>

namespace {

namespace XML = Dravik::UI::XML;
using dvui::xmltest::XmlTest;

TEST(XmlValueSet, HandsOverTrimmedTokensWithTheirExclusion) {
    std::vector<std::pair<std::wstring, bool>> tokens;
    XML::ParseValueSet(L" files, !mail ,,! search ,",
                       [&](std::wstring_view token, bool excluded) { tokens.emplace_back(token, excluded); });
    EXPECT_EQ(tokens, (std::vector<std::pair<std::wstring, bool>>{
                          {L"files", false}, {L"mail", true}, {L"search", true}}));
}

TEST(XmlValueSet, MaskFollowsTheOrderOfTheTokens) {
    // The PDM-pane tokens of the frame state: the rules every value set over bits follows.
    const auto mask = [](std::wstring_view text) {
        return XML::ParseValueSetMask(text,
                                      {{L"files", 1},
                                       {L"assembly", 2},
                                       {L"desktop", 4},
                                       {L"nomenclature", 8},
                                       {L"search", 16},
                                       {L"mail", 32},
                                       {L"configurationSettings", 64},
                                       {L"libraryElements", 128}},
                                      255);
    };
    const std::vector<std::tuple<std::wstring, std::uint32_t>> cases = {
        {L"all", 255},          {L"!mail", 255 & ~32u}, {L"files,!files", 0},    {L"", 0},
        {L"files,assembly", 3}, {L"ALL,!Files", 254},   {L"unknown,search", 16}, {L"!all,desktop", 4},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(mask(text), expected) << std::string(text.begin(), text.end());
}

TEST(XmlStringToBool, KeepsThePreviousValueForTextItDoesNotKnow) {
    const std::vector<std::tuple<std::wstring, bool, bool>> cases = {
        {L"true", false, true}, {L"TRUE", false, true},  {L"1", false, true}, {L"yes", false, true},
        {L" on ", false, true}, {L"false", true, false}, {L"0", true, false}, {L"No", true, false},
        {L"off", true, false},  {L"", true, true},       {L"", false, false}, {L"maybe", true, true},
        {L"2", false, false},
    };
    for (const auto& [text, previous, expected] : cases)
        EXPECT_EQ(XML::StringToBool(text, previous), expected) << std::string(text.begin(), text.end());
}

TEST_F(XmlTest, ProductNameFollowsTheProduct) {
    EXPECT_EQ(XML::GetProductName(), L"");
    const std::vector<std::wstring> names = {L"2D", L"3D", L"SE", L"Alder", L"Birch", L"AlderAdministrator"};
    for (int product = 0; product < 6; ++product) {
        XML::SetProduct(product);
        EXPECT_EQ(XML::GetProductName(), names[product]);
    }
    XML::SetProduct(9);
    EXPECT_EQ(XML::GetProduct(), -1);
    EXPECT_EQ(XML::GetProductName(), L"");
}

TEST_F(XmlTest, ApplicabilityByEditionAndMode) {
    struct Case {
        int product;
        std::uint32_t mode;
        std::wstring editions, modes;
        bool applicable;
    };
    const std::vector<Case> cases = {
        {-1, 0, L"3d", L"gs", true},  // nothing known: nothing restricts
        {1, 0, L"3d,se", L"", true},  // 3D among the editions
        {0, 0, L"3d,se", L"", false}, // 2D is not
        {0, 0, L"!3d", L"", true},    // everything but 3D
        {1, 0, L"!3d", L"", false},
        {5, 0, L"alderAdministrator", L"", true},
        {3, 0, L"ALDER", L"", true},      // tokens without regard to case
        {-1, 8, L"2d", L"3d,gs3d", true}, // the mode alone decides
        {-1, 16, L"", L"3d,gs3d", false},
        {-1, 557, L"", L"viewer", true}, // a mode mask shares a bit
        {-1, 2, L"", L"all,!2d", false},
        {1, 8, L"3d", L"!3d", false}, // both must pass
        {1, 8, L"", L"", true},
        {1, 8, L"unknown", L"", false}, // a set that names nothing known excludes
    };
    for (const Case& c : cases) {
        XML::SetProduct(c.product);
        XML::SetMode(c.mode);
        EXPECT_EQ(XML::IsApplicable(c.editions, c.modes), c.applicable)
            << c.product << " " << c.mode << " " << std::string(c.editions.begin(), c.editions.end()) << " / "
            << std::string(c.modes.begin(), c.modes.end());
    }
}

TEST_F(XmlTest, AnElementIsApplicableByItsAttributes) {
    XML::Document document;
    ASSERT_TRUE(document.loadString(R"(<r><a editions="2d" modes="2d,gs"/><b/></r>)"));
    XML::SetProduct(1);
    EXPECT_FALSE(XML::IsApplicable(document.root().child(L"a")));
    EXPECT_TRUE(XML::IsApplicable(document.root().child(L"b")));
    XML::SetProduct(0);
    XML::SetMode(16);
    EXPECT_TRUE(XML::IsApplicable(document.root().child(L"a")));
}

TEST(XmlGuid, NormalisedToBracedUpperCase) {
    EXPECT_EQ(XML::NormalizeGuid(L"{84f3eaa9-60fb-4df4-ae1d-3f08a30223ae}"),
              L"{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}");
    EXPECT_EQ(XML::NormalizeGuid(L"84f3eaa9-60fb-4df4-ae1d-3f08a30223ae"),
              L"{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}");
    EXPECT_EQ(XML::NormalizeGuid(L"{84f3eaa9-60fb-4df4-ae1d-3f08a30223ag}"), std::nullopt);
    EXPECT_EQ(XML::NormalizeGuid(L"{84f3eaa9x60fb-4df4-ae1d-3f08a30223ae}"), std::nullopt);
    EXPECT_EQ(XML::NormalizeGuid(L""), std::nullopt);
}

} // namespace
