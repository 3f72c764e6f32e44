// Pages on real pixels: the bundled help page drawn into a memory DC, links found under points,
// and what the engine does with pages and files it must not show.
#include "pal/gdi.h"
#include "pal/html.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pal::html::Load;

class Pages : public pal::test::SandboxTest {
protected:
    // The bundled help pages, copied into the sandbox (pages are read only from there and
    // from the program folder); answers the folder's file URL.
    std::wstring installHelp() {
        for (const char* name : {"index.html", "topic.html", "help.css", "images/mark.png"}) {
            const auto data = pal::test::readFile(
                sourcePath(std::string("platform/win32/html/tests/fixtures/help/") + name));
            writeFile(std::string("help/") + name, data);
        }
        return pal::html::toUrl((root() / "help").wstring()) + L"/";
    }

    struct Canvas {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap;
        HGDIOBJ old;
        Canvas(int w, int h) : bitmap(CreateCompatibleBitmap(dc, w, h)), old(SelectObject(dc, bitmap)) {}
        ~Canvas() {
            SelectObject(dc, old);
            DeleteObject(bitmap);
            DeleteDC(dc);
        }
    };

    // Renders the page at 480x600 and answers the picture.
    pal::gdi::Surface render(pal::html::Page& page, const char* snapshot = nullptr) {
        page.layout(480, 600);
        Canvas canvas(480, 600);
        page.draw(canvas.dc, RECT{0, 0, 480, 600}, POINT{0, 0});
        auto surface = pal::gdi::surfaceOf(canvas.dc);
        if (snapshot)
            pal::test::keepSnapshot(surface, snapshot);
        // A copy, so the picture outlives the canvas.
        auto copy = pal::gdi::Surface::create(480, 600);
        cairo_t* cr = cairo_create(copy.get());
        cairo_set_source_surface(cr, surface.get(), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        return copy;
    }

    static int count(const pal::gdi::Surface& s, const RECT& r, COLORREF color) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += s.pixel(x, y) == color;
        return n;
    }
};

TEST_F(Pages, TheHelpPageShowsItsHeadingTextLinksAndImage) {
    const std::wstring help = installHelp();
    pal::html::Page page;
    ASSERT_EQ(page.navigate(help + L"index.html"), Load::Ok);
    EXPECT_EQ(page.location(), help + L"index.html");
    EXPECT_EQ(page.title(), L"Getting started");
    const auto picture = render(page, "help-page.png");

    // The heading in its style sheet's colour with its rule under it, the 40x40 image (red
    // inside a blue frame), links in link blue, body text in black.
    EXPECT_GT(count(picture, {0, 0, 480, 60}, RGB(0x1a, 0x3c, 0x6e)), 480);
    EXPECT_EQ(count(picture, {0, 0, 480, 600}, RGB(220, 0, 0)), 32 * 32);
    EXPECT_EQ(count(picture, {0, 0, 480, 600}, RGB(0, 0, 200)), 40 * 40 - 32 * 32);
    const int linkTop = page.anchorTop(L"topic");
    ASSERT_GT(linkTop, 60);
    EXPECT_GT(count(picture, {0, linkTop, 200, linkTop + 20}, RGB(0, 0, 0xee)), 40);
    EXPECT_GT(count(picture, {40, 60, 480, linkTop}, RGB(0, 0, 0)), 100);
    EXPECT_GT(page.extent().cy, linkTop);
}

TEST_F(Pages, DrawingKeepsToItsAreaAndFollowsTheScrollPosition) {
    const std::wstring help = installHelp();
    pal::html::Page page;
    ASSERT_EQ(page.navigate(help + L"index.html"), Load::Ok);
    page.layout(300, 200);
    const int imageTop = page.anchorTop(L"mark");
    Canvas canvas(480, 400);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    const RECT all{0, 0, 480, 400};
    FillRect(canvas.dc, &all, grey);
    DeleteObject(grey);
    // The page scrolled so that the image's line starts the area, drawn into the middle of the DC.
    const RECT area{100, 100, 400, 300};
    page.draw(canvas.dc, area, POINT{0, imageTop});
    const auto picture = pal::gdi::surfaceOf(canvas.dc);
    EXPECT_EQ(count(picture, {100, 100, 400, 150}, RGB(220, 0, 0)), 32 * 32);
    EXPECT_EQ(count(picture, all, RGB(128, 128, 128)), 480 * 400 - 300 * 200);
}

TEST_F(Pages, TheCanvasTakesTheRootsOrTheBodysBackground) {
    struct Case {
        const char* html;
        COLORREF canvas;
    };
    for (const Case& c :
         {Case{"<p>plain</p>", RGB(255, 255, 255)},
          Case{"<body style='background:#f4f4ec'>x</body>", RGB(0xf4, 0xf4, 0xec)},
          Case{"<html style='background:#102030'><body style='background:#f4f4ec'>x</body></html>",
               RGB(0x10, 0x20, 0x30)}}) {
        pal::html::Page page;
        ASSERT_EQ(page.loadHtml(c.html), Load::Ok);
        EXPECT_EQ(render(page).pixel(478, 598), c.canvas) << c.html; // in the body's margin, below the page
    }
}

TEST_F(Pages, APointOnALinkAnswersItsResolvedUrl) {
    const std::wstring help = installHelp();
    pal::html::Page page;
    ASSERT_EQ(page.navigate(help + L"index.html"), Load::Ok);
    page.layout(480, 600);
    struct Case {
        const wchar_t* id;
        std::wstring url;
    };
    const Case cases[] = {
        {L"topic", help + L"topic.html"},
        {L"sub", help + L"topic.html#tools"},
        {L"web", L"https://example.com/dravik/help"},
        {L"mail", L"mailto:support@example.com"},
        {L"here", help + L"index.html#steps"},
    };
    for (const Case& c : cases) {
        const int top = page.anchorTop(c.id);
        ASSERT_GE(top, 0) << c.id;
        EXPECT_EQ(page.linkAt(12, top + 4), c.url) << c.id;
        EXPECT_EQ(page.cursorAt(12, top + 4), IDC_HAND) << c.id;
    }
    // Beside a link, on the heading and outside the page there is none.
    for (const POINT p :
         {POINT{470, page.anchorTop(L"topic") + 4}, POINT{12, 20}, POINT{-5, -5}, POINT{9000, 9000}}) {
        EXPECT_EQ(page.linkAt(p.x, p.y), L"") << p.x << "," << p.y;
        EXPECT_EQ(page.cursorAt(p.x, p.y), IDC_ARROW);
    }
    EXPECT_GT(page.anchorTop(L"steps"), page.anchorTop(L"here")); // the list follows its link
    EXPECT_EQ(page.anchorTop(L"nowhere"), -1);
}

TEST_F(Pages, SelectedTextIsCopiedAsShownAndDrawnHighlighted) {
    struct Case {
        const char* name;
        const char* html;
        int width;
        std::wstring text;
    };
    const Case cases[] = {
        {"blocks and breaks", "<h1>Title</h1><p>one <b>two</b>\n  three</p><p>four<br>five<br><br>six</p>",
         480, L"Title\r\none two three\r\nfour\r\nfive\r\n\r\nsix"},
        {"wrapped lines keep their blanks", "<p>alpha beta gamma delta epsilon zeta eta theta</p>", 60,
         L"alpha beta gamma delta epsilon zeta eta theta"},
        {"hidden text is not copied", "<p>shown<span style='display:none'>hidden</span> too</p>", 480,
         L"shown too"},
        {"list items and cells", "<ul><li>a</li><li>b</li></ul><table><tr><td>c</td></tr></table>", 480,
         L"a\r\nb\r\nc"},
    };
    for (const Case& c : cases) {
        pal::html::Page page;
        ASSERT_EQ(page.loadHtml(c.html), Load::Ok) << c.name;
        page.layout(c.width, 400);
        EXPECT_EQ(page.selectedText(), L"") << c.name;
        page.selectAll();
        EXPECT_EQ(page.selectedText(), c.text) << c.name;
        page.clearSelection();
        EXPECT_EQ(page.selectedText(), L"") << c.name;
    }

    // A drag over part of a line: from inside the first word to inside the third, in either
    // direction; the marked characters are drawn on the highlight.
    pal::html::Page page;
    ASSERT_EQ(page.loadHtml("<p id=p style='font-size:20px'>alpha beta gamma</p>"), Load::Ok);
    page.layout(480, 200);
    const int y = page.anchorTop(L"p") + 10;
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(count(render(page), {0, 0, 480, 200}, highlight), 0);
    page.select({30, y}, {150, y});
    const std::wstring forward = page.selectedText();
    page.select({150, y}, {30, y});
    EXPECT_EQ(page.selectedText(), forward);
    EXPECT_NE(forward.find(L"a beta g"), std::wstring::npos) << pal::text::toUtf8(forward);
    EXPECT_FALSE(forward.starts_with(L"alpha") || forward.ends_with(L"gamma")) << pal::text::toUtf8(forward);
    const auto picture = render(page, "selection.png");
    EXPECT_GT(count(picture, {30, y - 10, 150, y + 10}, highlight), 500);
    EXPECT_EQ(count(picture, {0, 0, 20, 200}, highlight), 0);
    EXPECT_EQ(count(picture, {160, 0, 480, 200}, highlight), 0);
    // Points off the text select up to the nearest character; a new page drops the selection.
    page.select({-50, -50}, {9000, 9000});
    EXPECT_EQ(page.selectedText(), L"alpha beta gamma");
    ASSERT_EQ(page.loadHtml("<p>other</p>"), Load::Ok);
    EXPECT_EQ(page.selectedText(), L"");
}

TEST_F(Pages, ABaseElementMovesWhereRelativeLinksGo) {
    writeFile("help/sub/page.html", "<base href='../other/'><a id=l href='x.html'>x</a>");
    pal::html::Page page;
    ASSERT_EQ(page.navigate((root() / "help/sub/page.html").wstring()), Load::Ok);
    page.layout(300, 200);
    EXPECT_EQ(page.linkAt(10, page.anchorTop(L"l") + 4),
              pal::html::toUrl((root() / "help/other/x.html").wstring()));
}

TEST_F(Pages, OnlyPagesInTheSandboxOrProgramFolderAreRead) {
    installHelp();
    writeFile("help/real.html", "<p>in the sandbox</p>");
    std::error_code ec;
    std::filesystem::create_symlink("/etc/hostname", root() / "help/link.html", ec);
    const std::wstring sandbox = root().wstring();
    struct Case {
        std::wstring url;
        Load expected;
    };
    const Case cases[] = {
        {L"about:blank", Load::Ok},
        {sandbox + L"/help/index.html", Load::Ok},
        {L"file://" + sandbox + L"/help/index.html#steps", Load::Ok},
        {sandbox + L"/help/missing.html", Load::NotFound},
        {sandbox + L"/help", Load::NotFound},
        {(binDir() / "no-such-help.html").wstring(), Load::NotFound},
        {L"/etc/hostname", Load::Outside},
        {sandbox + L"/help/../../../../etc/hostname", Load::Outside},
        {sandbox + L"/help/link.html", Load::Outside},
        {L"file://otherhost/help/index.html", Load::Outside},
        {L"https://example.com/help.html", Load::Outside},
        {L"mailto:support@example.com", Load::Outside},
        {L"javascript:alert(1)", Load::Outside},
    };
    for (const Case& c : cases) {
        pal::html::Page page;
        ASSERT_EQ(page.navigate(sandbox + L"/help/real.html"), Load::Ok);
        EXPECT_EQ(page.navigate(c.url), c.expected) << c.url;
        if (c.expected != Load::Ok) {
            EXPECT_EQ(page.location(), L"about:blank") << c.url;
        }
    }
}

TEST_F(Pages, BrokenPagesRenderOrAreRefused) {
    const std::string nestedTables = [] {
        std::string s;
        while (s.size() < (1u << 20))
            s += "<table><tr><td>cell";
        return s;
    }();
    const std::string flatTable = [] {
        std::string s = "<table>";
        while (s.size() < (1u << 20))
            s += "<tr><td>a</td><td>b</td><td>c</td></tr>";
        return s + "</table>";
    }();
    const std::string paragraphs = [] {
        std::string s;
        while (s.size() < (1u << 20))
            for (int i = 0; i < 60; ++i)
                s += i ? " more help text" : "<p>Some help text";
        return s;
    }();
    const auto nested = [](const char* open, int times) {
        std::string s;
        for (int i = 0; i < times; ++i)
            s += open;
        return s + "deep";
    };
    struct Case {
        const char* name;
        std::string html;
        Load expected;
    };
    const Case cases[] = {
        {"empty", "", Load::Ok},
        {"unclosed", "<html><body><h1>Title<p>text<b><i>bold italic<table><tr><td>cell", Load::Ok},
        {"stray ends", "</td></tr></table></body></html><p>after</p></div></div>", Load::Ok},
        {"bad bytes", std::string("<p>\xff\xfe\xc3(\x80</p>\0<p>x</p>", 22), Load::Ok},
        {"bad css", "<style>p { color: ; font-size: -9999999999px; width: calc(; } @media {</style><p>x</p>",
         Load::Ok},
        {"huge sizes", "<img src=x width=99999999 height=99999999><div style='width:2147483647px'>x</div>",
         Load::Ok},
        {"1 MB of nested tables", nestedTables, Load::TooComplex},
        {"tables 12 deep", nested("<table><tr><td>", 12), Load::Ok},
        {"tables 13 deep", nested("<table><tr><td>", 13), Load::TooComplex},
        {"divisions 500 deep", nested("<div>", 500), Load::Ok},
        {"divisions 600 deep", nested("<div>", 600), Load::TooComplex},
        {"comparisons in a script",
         "<script>" + nested("if (i<n) ", 2000) + "</script><!--" + nested("<div>", 600) + "--><p>x</p>",
         Load::Ok},
        {"1 MB of table rows", flatTable, Load::TooComplex},
        {"1 MB of paragraphs", paragraphs, Load::Ok},
        {"9 MB of text", std::string(9u << 20, 'x'), Load::TooLarge},
    };
    for (const Case& c : cases) {
        pal::html::Page page;
        EXPECT_EQ(page.loadHtml(c.html), c.expected) << c.name;
        render(page); // draws whatever was kept, without failing
    }
}

TEST_F(Pages, MissingAndForeignImagesLeaveTheirBoxEmpty) {
    installHelp();
    writeFile("help/broken.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x10\0", 20));
    writeFile("help/images.html", "<p><img id=a src='nothere.png'><img src='broken.png' width=20 height=20>"
                                  "<img src='https://example.com/remote.png'><img src='/etc/hostname'>"
                                  "<img src='images/mark.png'></p>");
    pal::html::Page page;
    ASSERT_EQ(page.navigate((root() / "help/images.html").wstring()), Load::Ok);
    const auto picture = render(page);
    EXPECT_EQ(count(picture, {0, 0, 480, 600}, RGB(220, 0, 0)), 32 * 32); // only the image that exists
}

} // namespace
