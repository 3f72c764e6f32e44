// Resolution of the references a help page holds against the page's location.
#include "pal/html.h"

#include <gtest/gtest.h>

namespace {

TEST(HtmlUrls, ReferencesResolveAgainstTheBase) {
    struct Case {
        const wchar_t* base;
        const wchar_t* reference;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"file:///help/en/index.html", L"topic.html", L"file:///help/en/topic.html"},
        {L"file:///help/en/index.html", L"./more/../topic.html#tools", L"file:///help/en/topic.html#tools"},
        {L"file:///help/en/index.html", L"../../../../etc/passwd", L"file:///etc/passwd"},
        {L"file:///help/en/index.html", L"/other/page.html", L"file:///other/page.html"},
        {L"file:///help/en/index.html#old", L"#steps", L"file:///help/en/index.html#steps"},
        {L"file:///help/en/index.html?q=1", L"", L"file:///help/en/index.html?q=1"},
        {L"file:///help/en/index.html", L"?q=2", L"file:///help/en/index.html?q=2"},
        {L"file:///help/en/", L"images/a.png", L"file:///help/en/images/a.png"},
        {L"file:///help/en/index.html", L"https://example.com/a/../b", L"https://example.com/b"},
        {L"file:///help/en/index.html", L"MAILTO:support@example.com", L"mailto:support@example.com"},
        {L"file:///help/en/index.html", L"//server/share/x.html", L"file://server/share/x.html"},
        {L"https://example.com/docs/a.html", L"b.html", L"https://example.com/docs/b.html"},
        {L"https://example.com", L"b.html", L"https://example.com/b.html"},
        {L"/help/en/index.html", L"topic.html", L"file:///help/en/topic.html"},
        {L"/help/my docs/index.html", L"t.html", L"file:///help/my%20docs/t.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pal::html::resolveUrl(c.base, c.reference), c.expected) << c.base << " + " << c.reference;
}

TEST(HtmlUrls, OnlyFileAndAboutAreLocal) {
    struct Case {
        const wchar_t* url;
        bool local;
    };
    for (const Case& c : {Case{L"file:///a.html", true}, Case{L"about:blank", true},
                          Case{L"FILE:///a.html", true}, Case{L"http://example.com/", false},
                          Case{L"https://example.com/", false}, Case{L"mailto:a@example.com", false},
                          Case{L"javascript:alert(1)", false}, Case{L"ftp://example.com/", false}})
        EXPECT_EQ(pal::html::isLocalUrl(c.url), c.local) << c.url;
}

} // namespace
