// The message bar: its markup (bold runs, line breaks, entities, a carriage return before a
// break, what falls back to plain text), its buttons and close button, and its picture.
#include "XTToolkitPro.h"
#include "common/toolkit_test.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using dv::toolkit::test::ToolkitTest;

const std::wstring kFixtures = L"" DVTOOLKIT_FIXTURES "/icons/";

class Frame : public CFrameWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class MessageBarTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        frame = new Frame;
        ASSERT_TRUE(
            frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 720, 600)));
    }
    void TearDown() override {
        frame->DestroyWindow();
        bars.clear();
        ToolkitTest::TearDown();
    }
    void clear() {
        for (auto& bar : bars)
            bar->DestroyWindow();
        bars.clear();
    }
    CXTPMessageBar* show(const wchar_t* message, bool markup = true) {
        bars.push_back(std::make_unique<CXTPMessageBar>());
        CXTPMessageBar* bar = bars.back().get();
        EXPECT_TRUE(bar->Create(frame, 0x50002800, 59398));
        bar->EnableMarkup(markup);
        bar->SetMessage(message);
        frame->RecalcLayout();
        return bar;
    }
    // The bar's message area as drawn.
    pal::gdi::Surface message(CXTPMessageBar* bar) {
        const pal::gdi::Surface all = pal::test::snapshot(bar->m_hWnd, true);
        const CRect r = bar->GetMessageRect();
        pal::gdi::Surface part = pal::gdi::Surface::create(r.Width(), r.Height());
        cairo_t* cr = cairo_create(part.get());
        cairo_set_source_surface(cr, all.get(), -r.left, -r.top);
        cairo_paint(cr);
        cairo_destroy(cr);
        return part;
    }
    Frame* frame = nullptr;
    std::vector<std::unique_ptr<CXTPMessageBar>> bars;
};

int inkPixels(const pal::gdi::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += GetRValue(s.pixel(x, y)) < 128;
    return n;
}

// The rows that hold ink, as bands [first, last].
std::vector<std::pair<int, int>> inkRows(const pal::gdi::Surface& s) {
    std::vector<std::pair<int, int>> bands;
    bool in = false;
    for (int y = 0; y < s.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < s.width() && !ink; ++x)
            ink = GetRValue(s.pixel(x, y)) < 128;
        if (ink && !in)
            bands.push_back({y, y});
        if (ink)
            bands.back().second = y;
        in = ink;
    }
    return bands;
}

TEST_F(MessageBarTest, BoldRunsAreHeavierAndALineBreakStartsASecondLine) {
    CXTPMessageBar* bold = show(L"<TextBlock><Bold>Model saved</Bold></TextBlock>");
    CXTPMessageBar* regular = show(L"<TextBlock>Model saved</TextBlock>");
    EXPECT_GT(inkPixels(message(bold)), inkPixels(message(regular)) * 11 / 10);

    CXTPMessageBar* one = show(L"<TextBlock>first second</TextBlock>");
    CXTPMessageBar* two = show(L"<TextBlock>first<LineBreak/>second</TextBlock>");
    EXPECT_EQ(inkRows(message(one)).size(), 1u);
    EXPECT_EQ(inkRows(message(two)).size(), 2u);
    // The bar grew for the second line.
    CRect r1, r2;
    one->GetWindowRect(&r1);
    two->GetWindowRect(&r2);
    EXPECT_GT(r2.Height(), r1.Height());
}

TEST_F(MessageBarTest, MarkupRendersLikeItsPlainEquivalent) {
    struct Case {
        const char* name;
        const wchar_t* text;
        bool markup;
        const wchar_t* same;
        bool sameMarkup;
    };
    const Case cases[] = {
        {"entities", L"<TextBlock>a &amp; b &lt;c&gt; &#x7b;d&#x7d; &quot;e&apos;</TextBlock>", true,
         L"a & b <c> {d} \"e'", false},
        {"carriage return before a break", L"<TextBlock>line one\r<LineBreak/>line two</TextBlock>", true,
         L"<TextBlock>line one<LineBreak/>line two</TextBlock>", true},
        {"unknown elements give their text", L"<Grid><Hyperlink>see the log</Hyperlink></Grid>", true,
         L"<TextBlock>see the log</TextBlock>", true},
        {"broken markup is plain text", L"<TextBlock>unclosed", true, L"<TextBlock>unclosed", false},
        {"plain text keeps its line ends", L"one\r\ntwo", true, L"<TextBlock>one<LineBreak/>two</TextBlock>",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CXTPMessageBar* a = show(c.text, c.markup);
        CXTPMessageBar* b = show(c.same, c.sameMarkup);
        const auto pa = message(a), pb = message(b);
        EXPECT_GT(inkPixels(pa), 0);
        EXPECT_EQ(pal::test::differingPixels(pa, pb), 0u);
        clear();
    }
    // Markup off: the tags themselves show, so there is more ink than for the bold word alone.
    CXTPMessageBar* off = show(L"<Bold>x</Bold>", false);
    CXTPMessageBar* on = show(L"<Bold>x</Bold>", true);
    EXPECT_GT(inkPixels(message(off)), 2 * inkPixels(message(on)));
}

TEST_F(MessageBarTest, AButtonSendsItsCommandAndTheCloseButtonHidesTheBar) {
    CXTPMessageBar* bar = show(L"<TextBlock>The licence expires in 3 days.</TextBlock>");
    bar->AddButton(1200, L"Renew", L"Renew the licence");
    bar->AddButton(1201, L"Later");
    ASSERT_EQ(bar->GetButtonCount(), 2);
    const CRect renew = bar->FindButton(1200)->m_rcButton, later = bar->FindButton(1201)->m_rcButton;
    EXPECT_LT(renew.right, later.left); // in the order added, left to right
    EXPECT_LT(bar->GetMessageRect().right, renew.left);

    const CPoint at = renew.CenterPoint();
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(frame->commands, std::vector<UINT>{1200});
    // Released elsewhere: nothing.
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(frame->commands.size(), 1u);

    CRect before;
    bar->GetWindowRect(&before);
    EXPECT_GT(before.Height(), 0);
    const CPoint x = bar->FindButton(SC_CLOSE)->m_rcButton.CenterPoint();
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x.x, x.y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x.x, x.y));
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(frame->commands.size(), 1u);
}

// The bar a main frame shows for a critical error: an image, a bold title and a text of two
// lines, with three buttons.
TEST_F(MessageBarTest, Picture) {
    CXTPImageManager images;
    images.SetVectorIcon(
        CXTPImageManagerVectorImageHandle::CreateSvgHandle((kFixtures + L"warning.svg").c_str()), 299);
    CXTPMessageBar* bar = show(
        LR"(<Grid><Grid.ColumnDefinitions><ColumnDefinition Width="Auto"/><ColumnDefinition Width="*"/></Grid.ColumnDefinitions>)"
        LR"(<Image Grid.Column="0" Source="299" MaxWidth="32" VerticalAlignment="Center"/>)"
        LR"(<TextBlock Grid.Column="1" Padding="5, 0, 0, 0" VerticalAlignment="Center" TextWrapping="Wrap">)"
        LR"(<Bold>The program met an error</Bold> It was saved &amp; can go on.)"
        "\r"
        LR"(<LineBreak/>Would you send a report to help fix it?</TextBlock></Grid>)");
    bar->SetImageManager(&images);
    bar->AddButton(100, L"Send report");
    bar->AddButton(101, L"View report");
    bar->AddButton(102, L"Skip");
    frame->RecalcLayout();
    const pal::gdi::Surface shot = picture(bar->m_hWnd, "message-bar.png");
    ASSERT_TRUE(shot);
    // The warning sign's yellow at the left, in the middle of the bar's height.
    const CRect m = bar->GetMessageRect();
    const int iconTop = m.top + (m.Height() - 32) / 2;
    EXPECT_EQ(shot.pixel(m.left + 9, iconTop + 24), RGB(0xF0, 0xB4, 0x00));
    picture(frame->m_hWnd, "message-bar-frame.png");
}

} // namespace
