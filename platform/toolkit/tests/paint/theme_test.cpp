#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

namespace {

// The eight looks and whether each is dark: the start page's numbering of the same names makes
// 1, 3 and 5 dark.
TEST(Themes, EightNamedLooksDarkOrLight) {
    const struct {
        const wchar_t* name;
        bool dark;
    } expected[] = {
        {L"office2010black", true}, {L"office2013light", false}, {L"office2013dark", true},
        {L"office2016black", true}, {L"office2016dark", true},   {L"office2016white", false},
        {L"msvs2015light", false},  {L"msvs2015dark", true},
    };
    ASSERT_EQ(CXTPPaintManager::GetThemes().size(), std::size(expected));
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << e.name);
        const XTP_THEME* t = CXTPPaintManager::FindTheme(e.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->bDark != FALSE, e.dark);
        // Readable: text and ground far apart in brightness, and so for the disabled text.
        auto luma = [](COLORREF c) {
            return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
        };
        EXPECT_GT(std::abs(luma(t->colors.clrText) - luma(t->colors.clrBarFace)), 120);
        EXPECT_GT(std::abs(luma(t->colors.clrTextDisabled) - luma(t->colors.clrBarFace)), 40);
        EXPECT_EQ(e.dark, luma(t->colors.clrBarFace) < 128);
    }
}

TEST(Themes, SwitchingByNameChangesTheColoursAndAnUnknownNameChangesNothing) {
    CXTPPaintManager* pm = CXTPPaintManager::GetInstanceAddRef();
    ASSERT_TRUE(pm->SetTheme(L"msvs2015dark"));
    EXPECT_TRUE(pm->IsDarkTheme());
    EXPECT_EQ(GetXtremeColor(COLOR_BTNFACE), RGB(45, 45, 48));
    EXPECT_EQ(GetXtremeColor(COLOR_GRAYTEXT), pm->GetColors().clrTextDisabled);
    EXPECT_FALSE(pm->SetTheme(L"MSVS2015DARK")) << "names are case-sensitive";
    EXPECT_FALSE(pm->SetTheme(L"office2019"));
    EXPECT_STREQ(pm->GetThemeName(), L"msvs2015dark");
    ASSERT_TRUE(pm->SetTheme(L"office2013light"));
    EXPECT_EQ(GetXtremeColor(COLOR_WINDOW), RGB(255, 255, 255));
    // A colour the theme does not own is the system's.
    EXPECT_EQ(GetXtremeColor(COLOR_SCROLLBAR), ::GetSysColor(COLOR_SCROLLBAR));
    CXTPPaintManager::ReleaseInstance();
    // The theme belongs to the process, not to the instance that set it.
    EXPECT_STREQ(CXTPPaintManager::Current()->GetThemeName(), L"office2013light");
}

TEST(DrawHelpers, StripMnemonicsAndFindTheLetter) {
    const struct {
        const wchar_t* in;
        const wchar_t* stripped;
        wchar_t mnemonic;
    } cases[] = {
        {L"&File", L"File", L'F'},
        {L"Save &As...", L"Save As...", L'A'},
        {L"Drag && drop", L"Drag & drop", 0},
        {L"Файл(&F)", L"Файл", L'F'},
        {L"&вид", L"вид", L'В'},
        {L"Trailing&", L"Trailing", 0},
        {L"", L"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in);
        EXPECT_EQ(CXTPDrawHelpers::StripMnemonics(c.in), c.stripped);
        EXPECT_EQ(CXTPDrawHelpers::GetMnemonic(c.in), c.mnemonic);
    }
}

TEST(Dpi, NinetySixDotsAreTheDefault) {
    EXPECT_EQ(CXTPDpi::GetDPIX(), 96);
    EXPECT_EQ(XTPDpiHelper()->ScaleX(10), 10);
    EXPECT_EQ(CXTPDpi::ScaleIcon(CSize(16, 16)), CSize(16, 16));
    EXPECT_TRUE(CXTPDpi::IsDefaultIconDpi());
}

} // namespace
