#include "DVTextCore/SearchableText.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchableText, LowerCaseInEveryScript) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Bolts AND Nuts", L"bolts and nuts"},
        {L"КРЕПЁЖ Болты", L"крепёж болты"},
        {L"ΣΩΜΑ", L"σωμα"},
        {L"ÄÖÜ ÉÈ", L"äöü éè"},
        {L"42 — _x_", L"42 — _x_"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dravik::GetSearchableEquivalent(c.text), c.expected) << c.expected;
}

} // namespace
