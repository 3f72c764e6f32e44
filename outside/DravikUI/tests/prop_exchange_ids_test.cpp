#include "DravikUI/PropExchangeIds.h"

#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

namespace {

TEST(PropExchangeIds, IdentifiersTravelAsTheKernelsTextAndBadTextKeepsTheDefault) {
    const Dravik::UniqueIdentifier id = GenerateUniqueIdentifier();
    CXTPPropExchangeXMLNode out(FALSE, nullptr, L"State");
    Dravik::UniqueIdentifier stored = id;
    EXPECT_TRUE(PX_UniqueIdentifier(&out, L"id", stored));
    const std::wstring xml = out.GetXML().GetString();
    EXPECT_NE(xml.find(L"id=\"" + UniqueIdentifierToString(id) + L"\""), std::wstring::npos);

    struct Case {
        std::wstring xml;
        bool exchanged;
        Dravik::UniqueIdentifier expected;
    };
    const Dravik::UniqueIdentifier fallback = GenerateUniqueIdentifier();
    const Case cases[] = {
        {xml, true, id},
        {L"<State id=\"" + UniqueIdentifierToString(id).substr(1, 36) + L"\"/>", true, id},
        {L"<State id=\"{not an identifier}\"/>", false, fallback},
        {L"<State id=\"\"/>", false, fallback},
        {L"<State/>", false, fallback},
    };
    for (const Case& c : cases) {
        CXTPPropExchangeXMLNode in(TRUE, nullptr, L"State");
        ASSERT_TRUE(in.LoadFromString(c.xml.c_str()));
        Dravik::UniqueIdentifier read = fallback;
        EXPECT_EQ(PX_UniqueIdentifier(&in, L"id", read), c.exchanged ? TRUE : FALSE)
            << std::string(c.xml.begin(), c.xml.end());
        EXPECT_EQ(read, c.expected);
    }
}

} // namespace
