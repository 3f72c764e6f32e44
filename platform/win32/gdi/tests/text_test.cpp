// Text on real pixels: DrawTextW's formatting against the ink it leaves, measuring against
// drawing, Cyrillic, mnemonic underlines, the fallback family, the system's fonts and the
// edges (empty and very long texts, bad arguments).
#include "ink.h"

#include "pal/gdi.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t* const kSentence = L"The quick brown fox jumps over the lazy dog near the river bank";
const wchar_t* const kPath = L"C:\\Program Files\\Dravik\\Templates\\Sheets\\A3 landscape.dwt";

enum class Check { Left, Center, Right, Top, VCenter, Bottom };

struct FitCase {
    const char* name;
    const wchar_t* text;
    UINT format;
    RECT rect;
    Check check;
};

TEST(DrawText, TheInkStaysInsideTheRectangleAndFollowsTheAlignment) {
    const FitCase cases[] = {
        {"left", L"Status", DT_LEFT | DT_SINGLELINE, {10, 10, 200, 30}, Check::Left},
        {"centre", L"Status", DT_CENTER | DT_SINGLELINE, {10, 10, 200, 30}, Check::Center},
        {"right", L"Status", DT_RIGHT | DT_SINGLELINE, {10, 10, 200, 30}, Check::Right},
        {"top", L"Status", DT_SINGLELINE, {10, 10, 200, 90}, Check::Top},
        {"vertical centre", L"Status", DT_SINGLELINE | DT_VCENTER, {10, 10, 200, 90}, Check::VCenter},
        {"bottom", L"Status", DT_SINGLELINE | DT_BOTTOM, {10, 10, 200, 90}, Check::Bottom},
        {"word break", kSentence, DT_WORDBREAK | DT_NOCLIP, {10, 10, 120, 110}, Check::Left},
        {"word break centred",
         kSentence,
         DT_WORDBREAK | DT_CENTER | DT_NOCLIP,
         {10, 10, 120, 110},
         Check::Center},
        {"word break right",
         kSentence,
         DT_WORDBREAK | DT_RIGHT | DT_NOCLIP,
         {10, 10, 120, 110},
         Check::Right},
        {"end ellipsis",
         kSentence,
         DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP,
         {10, 10, 100, 30},
         Check::Left},
        {"end ellipsis right",
         kSentence,
         DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT | DT_NOCLIP,
         {10, 10, 100, 30},
         Check::Right},
        {"end ellipsis on the last wrapped line",
         L"Short words then Supercalifragilisticexpialidocious",
         DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOCLIP,
         {10, 10, 70, 80},
         Check::Left},
        {"path ellipsis",
         kPath,
         DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOCLIP,
         {10, 10, 190, 30},
         Check::Left},
        {"word ellipsis",
         kSentence,
         DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOCLIP,
         {10, 10, 150, 30},
         Check::Left},
        {"cyrillic ellipsis",
         L"Дополнительные параметры чертежа",
         DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP,
         {10, 10, 110, 30},
         Check::Left},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextCanvas canvas(220, 120);
        RECT r = c.rect;
        const int height = DrawTextW(canvas.dc, c.text, -1, &r, c.format);
        EXPECT_GT(height, 0);
        const Ink ink = inkOf(canvas);
        ASSERT_FALSE(ink.empty());
        EXPECT_TRUE(inside(ink.bounds, withBearings(c.rect)))
            << ink.bounds.left << "," << ink.bounds.top << " " << ink.bounds.right << ","
            << ink.bounds.bottom;
        // What DT_CALCRECT measures for the same format fits as well.
        RECT measured = c.rect;
        DrawTextW(canvas.dc, c.text, -1, &measured, c.format | DT_CALCRECT);
        if (c.format & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
            EXPECT_LE(measured.right, c.rect.right);
        }
        const TEXTMETRICW tm = canvas.metrics();
        switch (c.check) {
        case Check::Left:
            EXPECT_LE(ink.bounds.left, c.rect.left + 2);
            break;
        case Check::Right:
            EXPECT_GE(ink.bounds.right, c.rect.right - 2);
            break;
        case Check::Center:
            EXPECT_NEAR(ink.bounds.left - c.rect.left, c.rect.right - ink.bounds.right, 3);
            break;
        case Check::Top:
            EXPECT_LE(ink.bounds.top, c.rect.top + tm.tmInternalLeading + 2);
            break;
        case Check::VCenter:
            EXPECT_NEAR(height, (c.rect.bottom - c.rect.top + tm.tmHeight) / 2, 1);
            EXPECT_NEAR((ink.bounds.top + ink.bounds.bottom) / 2, (c.rect.top + c.rect.bottom) / 2, 3);
            break;
        case Check::Bottom:
            EXPECT_EQ(height, c.rect.bottom - c.rect.top);
            EXPECT_GE(ink.bounds.bottom, c.rect.bottom - tm.tmDescent - 1);
            break;
        }
    }
}

TEST(DrawText, WrappedTextShortensOnlyItsEnd) {
    TextCanvas canvas(10, 10);
    const LONG word = canvas.width(L"Supercalifragilisticexpialidocious");
    RECT middle{0, 0, 70, 0};
    DrawTextW(canvas.dc, L"Supercalifragilisticexpialidocious end", -1, &middle,
              DT_WORDBREAK | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(middle.right, word) << "a long word before the end is left to the clip";
    RECT last{0, 0, 70, 0};
    DrawTextW(canvas.dc, L"end Supercalifragilisticexpialidocious", -1, &last,
              DT_WORDBREAK | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(last.right, 70);
}

TEST(DrawText, WithoutNoClipNothingLeavesTheRectangle) {
    TextCanvas canvas(220, 60);
    RECT r{10, 10, 60, 22};
    DrawTextW(canvas.dc, kSentence, -1, &r, DT_WORDBREAK);
    EXPECT_TRUE(inside(inkOf(canvas).bounds, RECT{10, 10, 60, 22})) << "clipped exactly";
}

TEST(DrawText, CalcRectAgreesWithWhatIsDrawn) {
    struct Case {
        const char* name;
        const wchar_t* text;
        UINT format;
        LONG width; // of the rectangle given to DT_CALCRECT
    };
    const Case cases[] = {
        {"one line", L"Layer properties", DT_SINGLELINE, 300},
        {"one line wider than the rectangle", L"Layer properties", DT_SINGLELINE, 20},
        {"line breaks", L"First line\nSecond, longer line\r\nThird", 0, 300},
        {"wrapped", kSentence, DT_WORDBREAK, 120},
        {"wrapped, a word wider than the rectangle", L"Tiny Extraordinarily tiny", DT_WORDBREAK, 40},
        {"prefix", L"Save &As...", DT_SINGLELINE, 300},
        {"cyrillic wrapped", L"Изм. Лист N докум. Подп. Дата", DT_WORDBREAK, 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextCanvas canvas(320, 160);
        RECT calc{10, 10, 10 + c.width, 10};
        const int height = DrawTextW(canvas.dc, c.text, -1, &calc, c.format | DT_CALCRECT);
        EXPECT_EQ(height, calc.bottom - calc.top);
        EXPECT_TRUE(inkOf(canvas).empty()) << "DT_CALCRECT draws nothing";
        RECT draw = calc;
        DrawTextW(canvas.dc, c.text, -1, &draw, c.format | DT_NOCLIP);
        const Ink ink = inkOf(canvas);
        EXPECT_TRUE(inside(ink.bounds, withBearings(calc))) << ink.bounds.right << " " << calc.right;
        EXPECT_GE(ink.bounds.right, calc.right - 4) << "the rectangle is no wider than the text";
        EXPECT_GT(ink.bounds.bottom, calc.bottom - canvas.metrics().tmHeight) << "the last line is drawn";
    }
}

TEST(Text, CyrillicRendersAndMeasuresTheSameEveryTime) {
    const std::wstring caption = L"Изм. Лист N докум. Подп. Дата";
    TextCanvas canvas(260, 30);
    const LONG width = canvas.width(caption.c_str());
    std::wstring spaces;
    while (canvas.width(spaces.c_str()) < width)
        spaces += L' ';
    TextOutW(canvas.dc, 5, 5, spaces.c_str(), int(spaces.size()));
    EXPECT_TRUE(inkOf(canvas).empty());
    TextOutW(canvas.dc, 5, 5, caption.c_str(), int(caption.size()));
    const Ink ink = inkOf(canvas);
    EXPECT_GT(ink.pixels, 200);
    EXPECT_LE(ink.bounds.right, 5 + width + 1);

    // Another font object, another DC: the same figure, and the one this family gives
    // wherever it is installed.
    TextCanvas again(10, 10);
    EXPECT_EQ(again.width(caption.c_str()), width);
    EXPECT_EQ(width, 215);
    EXPECT_EQ(again.metrics().tmHeight, 15);

    pal::test::keepSnapshot(pal::gdi::surfaceOf(canvas.dc), "cyrillic");
}

TEST(DrawText, TheMnemonicIsUnderlinedUnderItsLetter) {
    struct Case {
        const wchar_t* text;
        const wchar_t* shown;
        int letter; // index in the shown text
    };
    const Case cases[] = {
        {L"&File", L"File", 0},    {L"F&ile", L"File", 1},     {L"Sa&ve as", L"Save as", 2},
        {L"A&&B &C", L"A&B C", 4}, {L"&Отмена", L"Отмена", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text).size()));
        TextCanvas canvas(120, 30);
        RECT r{10, 5, 110, 25};
        DrawTextW(canvas.dc, c.text, -1, &r, DT_SINGLELINE);
        const TEXTMETRICW tm = canvas.metrics();
        const int row = 5 + tm.tmAscent + 1;
        const LONG from = 10 + canvas.width(c.shown, c.letter);
        const LONG to = 10 + canvas.width(c.shown, c.letter + 1);
        const Ink line = inkOf(canvas, RGB(255, 255, 255), RECT{0, row, 120, row + 1});
        EXPECT_EQ(line.bounds.left, from);
        EXPECT_EQ(line.bounds.right, to);
        EXPECT_EQ(line.pixels, to - from) << "one unbroken line";

        TextCanvas plain(120, 30);
        RECT p{10, 5, 110, 25};
        DrawTextW(plain.dc, c.text, -1, &p, DT_SINGLELINE | DT_HIDEPREFIX);
        EXPECT_TRUE(inkOf(plain, RGB(255, 255, 255), RECT{0, row, 120, row + 1}).empty());
    }
}

TEST(DrawText, NoPrefixShowsTheAmpersand) {
    TextCanvas canvas(10, 10);
    RECT a{0, 0, 0, 0}, b{0, 0, 0, 0};
    DrawTextW(canvas.dc, L"A&B", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(canvas.dc, L"A&B", -1, &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(a.right, canvas.width(L"AB"));
    EXPECT_EQ(b.right, canvas.width(L"A&B"));
}

TEST(Font, AFaceNotInstalledFallsBackToTheFixedFamilyAtTheRequestedHeight) {
    struct Case {
        const wchar_t* face;
        LONG height;
    };
    const Case cases[] = {
        {L"Tahoma", -13}, {L"Tahoma", 20}, {L"No Such Face", -30}, {L"", 16}, {L"Segoe UI", -12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        TextCanvas asked(10, 10, c.face, c.height);
        TextCanvas fallback(10, 10, pal::gdi::fallbackFamily, c.height);
        const TEXTMETRICW tm = asked.metrics();
        if (c.height > 0)
            EXPECT_EQ(tm.tmHeight, c.height);
        else
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.height);
        wchar_t face[LF_FACESIZE];
        GetTextFaceW(asked.dc, LF_FACESIZE, face);
        EXPECT_EQ(std::wstring(face), pal::gdi::fallbackFamily);
        EXPECT_EQ(asked.width(L"Percentage 42%"), fallback.width(L"Percentage 42%"));
        EXPECT_EQ(tm.tmHeight, fallback.metrics().tmHeight);

        LOGFONTW back{};
        ASSERT_EQ(GetObjectW(asked.font, sizeof back, &back), int(sizeof back));
        EXPECT_EQ(std::wstring(back.lfFaceName), c.face) << "the font keeps the face it was asked for";
    }
}

TEST(Font, HeavierAndLargerFontsMeasureWider) {
    TextCanvas normal(10, 10, L"Tahoma", -13);
    TextCanvas large(10, 10, L"Tahoma", -26);
    HFONT bold = makeFont(L"Tahoma", -13, FW_BOLD);
    Canvas c(10, 10);
    HGDIOBJ old = SelectObject(c.dc, bold);
    SIZE b{};
    GetTextExtentPoint32W(c.dc, L"Drawing", 7, &b);
    SelectObject(c.dc, old);
    DeleteObject(bold);
    EXPECT_GT(b.cx, normal.width(L"Drawing"));
    EXPECT_NEAR(large.width(L"Drawing"), 2 * normal.width(L"Drawing"), 3);
}

TEST(Text, EmptyAndVeryLongTextsDrawWithoutHarm) {
    TextCanvas canvas(200, 60);
    EXPECT_TRUE(TextOutW(canvas.dc, 0, 0, L"", 0));
    RECT r{0, 0, 200, 60};
    EXPECT_EQ(DrawTextW(canvas.dc, L"", 0, &r, DT_SINGLELINE), canvas.metrics().tmHeight);
    EXPECT_TRUE(inkOf(canvas).empty());

    std::wstring longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += i % 2 ? L"Чертёж " : L"drawing ";
    longText.resize(100000);
    const int n = int(longText.size());
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, longText.c_str(), n, &size));
    EXPECT_GT(size.cx, 400000);
    EXPECT_TRUE(TextOutW(canvas.dc, -1000, 5, longText.c_str(), n));
    EXPECT_TRUE(ExtTextOutW(canvas.dc, 0, 20, ETO_CLIPPED, &r, longText.c_str(), UINT(n), nullptr));
    canvas.fill(RGB(255, 255, 255));
    RECT ellipsis{10, 10, 190, 30};
    EXPECT_GT(
        DrawTextW(canvas.dc, longText.c_str(), n, &ellipsis, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP), 0);
    EXPECT_TRUE(inside(inkOf(canvas).bounds, withBearings(ellipsis)));
    RECT wrapped{0, 0, 200, 60};
    EXPECT_GT(DrawTextW(canvas.dc, longText.c_str(), n, &wrapped, DT_WORDBREAK | DT_CALCRECT), 10000);
    const std::wstring giant(100000, L'W');
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, giant.c_str(), 100000, &size));
    EXPECT_GT(size.cx, 100000) << "no overflow on the way";
}

TEST(Text, ExtentExPointCountsWhatFitsAndTheAdvanceAfterEachCharacter) {
    TextCanvas canvas(10, 10);
    const wchar_t* text = L"Hello, Мир";
    const int n = int(std::wcslen(text));
    std::vector<INT> after(size_t(n), 0);
    SIZE size{};
    INT fit = -1;
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text, n, canvas.width(L"Hello"), &fit, after.data(), &size));
    EXPECT_EQ(fit, 5);
    EXPECT_EQ(size.cx, canvas.width(text));
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(after[size_t(i)], canvas.width(text, i + 1)) << i;
}

TEST(Text, BadArgumentsAreRefused) {
    TextCanvas canvas(10, 10);
    SIZE s{};
    RECT r{0, 0, 10, 10};
    EXPECT_FALSE(TextOutW(canvas.dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutW(canvas.dc, 0, 0, L"abc", -1));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc, L"abc", -1, &s));
    EXPECT_FALSE(GetTextExtentPoint32W(nullptr, L"abc", 3, &s));
    EXPECT_EQ(DrawTextW(canvas.dc, nullptr, 4, &r, 0), 0);
    EXPECT_EQ(DrawTextW(canvas.dc, L"abc", 3, nullptr, 0), 0);
    EXPECT_EQ(DrawTextW(reinterpret_cast<HDC>(0x1234), L"abc", 3, &r, 0), 0);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);

    // Heights no font has are held to the largest the layer draws.
    for (const LONG height : {LONG(INT_MIN), LONG(INT_MAX)}) {
        HFONT huge = makeFont(L"Tahoma", height);
        ASSERT_NE(huge, nullptr);
        HGDIOBJ old = SelectObject(canvas.dc, huge);
        EXPECT_TRUE(TextOutW(canvas.dc, 0, 0, L"Ж", 1));
        TEXTMETRICW tm{};
        GetTextMetricsW(canvas.dc, &tm);
        EXPECT_GT(tm.tmHeight, 10000);
        SelectObject(canvas.dc, old);
        DeleteObject(huge);
    }
}

TEST(Text, ExtTextOutFillsAndClipsToItsRectangle) {
    TextCanvas canvas(100, 30);
    SetBkColor(canvas.dc, RGB(255, 255, 0));
    RECT r{10, 5, 40, 25};
    ExtTextOutW(canvas.dc, 12, 7, ETO_OPAQUE | ETO_CLIPPED, &r, L"Clipped text", 12, nullptr);
    EXPECT_EQ(GetPixel(canvas.dc, 10, 5), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(canvas.dc, 39, 24), RGB(255, 255, 0));
    EXPECT_TRUE(inside(inkOf(canvas).bounds, r));
    EXPECT_GT(inkOf(canvas, RGB(255, 255, 0), r).pixels, 20) << "text over the fill";
}

TEST(Text, AdvancesGivenForEachCharacterPlaceThem) {
    TextCanvas canvas(100, 20);
    const INT dx[] = {30, 30, 30};
    ExtTextOutW(canvas.dc, 5, 2, 0, nullptr, L"III", 3, dx);
    for (const int x : {5, 35, 65})
        EXPECT_FALSE(inkOf(canvas, RGB(255, 255, 255), RECT{x, 0, x + 10, 20}).empty()) << x;
    EXPECT_TRUE(inkOf(canvas, RGB(255, 255, 255), RECT{15, 0, 35, 20}).empty());
}

TEST(Text, AlignmentMovesTheReferencePoint) {
    struct Case {
        UINT align;
        LONG left; // where the text starts relative to x
        LONG top;  // where the cell starts relative to y
    };
    TextCanvas probe(10, 10);
    const LONG w = probe.width(L"Mark");
    const TEXTMETRICW tm = probe.metrics();
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 0, 0},
        {TA_RIGHT | TA_TOP, -w, 0},
        {TA_CENTER | TA_TOP, -w / 2, 0},
        {TA_LEFT | TA_BOTTOM, 0, -tm.tmHeight},
        {TA_LEFT | TA_BASELINE, 0, -tm.tmAscent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        TextCanvas canvas(120, 60);
        SetBkMode(canvas.dc, OPAQUE);
        SetBkColor(canvas.dc, RGB(0, 0, 255));
        SetTextAlign(canvas.dc, c.align);
        TextOutW(canvas.dc, 60, 30, L"Mark", 4);
        const Ink ink = inkOf(canvas);
        EXPECT_EQ(ink.bounds.left, 60 + c.left);
        EXPECT_EQ(ink.bounds.top, 30 + c.top);
        EXPECT_EQ(ink.bounds.bottom - ink.bounds.top, tm.tmHeight) << "the opaque cell";
    }
}

TEST(Text, UpdateCpAdvancesTheCurrentPosition) {
    TextCanvas canvas(100, 20);
    SetTextAlign(canvas.dc, TA_UPDATECP);
    MoveToEx(canvas.dc, 5, 2, nullptr);
    TextOutW(canvas.dc, 0, 0, L"ab", 2);
    POINT p{};
    GetCurrentPositionEx(canvas.dc, &p);
    EXPECT_EQ(p.x, 5 + canvas.width(L"ab"));
}

TEST(SystemFonts, NonClientMetricsAndTheStockFonts) {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    EXPECT_EQ(std::wstring(m.lfMessageFont.lfFaceName), pal::gdi::fallbackFamily);
    EXPECT_LT(m.lfStatusFont.lfHeight, 0);
    m.cbSize = sizeof m - sizeof(int);
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0));
    m.cbSize = 12;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 12, &m, 0));

    HFONT menu = CreateFontIndirectW(&m.lfMenuFont);
    EXPECT_NE(menu, nullptr);
    DeleteObject(menu);

    LOGFONTW gui{};
    ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui), int(sizeof gui));
    EXPECT_EQ(gui.lfHeight, -11);
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
    EXPECT_TRUE(DeleteObject(GetStockObject(DEFAULT_GUI_FONT))) << "stock objects stay";
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);

    Canvas c(4, 4);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), GetStockObject(SYSTEM_FONT)) << "a new DC's font";
}

TEST(SystemFonts, FamiliesAreEnumeratedOncePerCharacterSet) {
    Canvas c(4, 4);
    struct Seen {
        std::vector<std::pair<std::wstring, BYTE>> fonts;
    } seen;
    auto collect = [](const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM p) -> int {
        EXPECT_EQ(type, TRUETYPE_FONTTYPE);
        reinterpret_cast<Seen*>(p)->fonts.emplace_back(lf->lfFaceName, lf->lfCharSet);
        return 1;
    };
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EXPECT_EQ(EnumFontFamiliesExW(c.dc, &all, collect, LPARAM(&seen), 0), 1);
    auto count = [&](const std::wstring& face, BYTE set) {
        return std::count(seen.fonts.begin(), seen.fonts.end(), std::make_pair(face, set));
    };
    EXPECT_EQ(count(L"DejaVu Sans", ANSI_CHARSET), 1);
    EXPECT_EQ(count(L"DejaVu Sans", RUSSIAN_CHARSET), 1);

    seen.fonts.clear();
    LOGFONTW one{};
    one.lfCharSet = RUSSIAN_CHARSET;
    std::wcscpy(one.lfFaceName, L"DejaVu Sans Mono");
    EnumFontFamiliesExW(c.dc, &one, collect, LPARAM(&seen), 0);
    ASSERT_EQ(seen.fonts.size(), 1u);
    EXPECT_EQ(seen.fonts[0], std::make_pair(std::wstring(L"DejaVu Sans Mono"), RUSSIAN_CHARSET));

    auto stop = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) -> int { return 0; };
    EXPECT_EQ(EnumFontFamiliesExW(c.dc, &all, stop, 0, 0), 0);
}

} // namespace
