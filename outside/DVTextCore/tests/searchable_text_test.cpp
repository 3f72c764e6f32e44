// One searchable form for what a person types and what the program shows.
#include "DVTextCore/SearchableText.h"

#include "pal/text.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchableText, CaseAndSpellingVariantsFoldIntoOneForm) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Line", L"line"},
        {L"LINE", L"line"},
        {L"Bolts AND Nuts", L"bolts and nuts"},
        {L"КРЕПЁЖ Болты", L"крепеж болты"},
        {L"Ёлка", L"елка"},
        {L"ёЛКА", L"елка"},
        {L"Йод", L"йод"},
        {L"ΣΩΜΑ", L"σωμα"},
        {L"ÄÖÜ ÉÈ", L"äöü éè"},
        {L"42 — _x_", L"42 — _x_"},
        {L"a\u00A0b\u202Fc", L"a b c"},
        {L"soft\u00ADhyphen", L"softhyphen"},
        {L"&Open && close", L"&open && close"},
        {L"", L""},
    };
    for (const auto& [text, searchable] : cases)
        EXPECT_EQ(Dravik::GetSearchableEquivalent(text), searchable) << pal::text::toUtf8(text);
}

} // namespace
