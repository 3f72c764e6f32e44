// A page drawn on a device context: the frame, the title block with its captions and the
// variables' text, the geometry and the selection.
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/ModelVars.h"
#include "DravikKernel/PageRender.h"
#include "DravikKernel/TitleBlock.h"

#include "pal/gdi.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

using namespace Dravik;

class Render : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::wstring error;
        doc_ = grb::LoadFile(pal::text::fromUtf8((binDir() / "Samples/sample-a3.grb").string()), &error);
        ASSERT_NE(doc_, nullptr) << pal::text::toUtf8(error);
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, kWidth, kHeight);
        old_ = SelectObject(dc_, bitmap_);
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        SandboxTest::TearDown();
    }

    void draw(const std::vector<std::size_t>& selection = {}) {
        HBRUSH desk = CreateSolidBrush(RGB(128, 128, 128));
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc_, &all, desk);
        DeleteObject(desk);
        view_ = FitPage(page(), all);
        DrawPage(dc_, *doc_->Cont2D(), -1, view_, selection);
    }
    const Page& page() const { return doc_->Cont2D()->GetPages()[0]; }
    POINT at(double x, double y) const { return PageToDevice(view_, page(), x, y); }

    // Pixels darker than mid-grey inside a cell, a few pixels in from its lines.
    int inkIn(const std::wstring& variableOrCaption) const {
        const Element* block = doc_->Cont2D()->FindElementByName(L"title block", false);
        const auto layout = TitleBlockLayout();
        const auto cells = TitleBlockCells(*doc_->Cont2D(), *block);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const TitleBlockCell& c = layout[i];
            if ((c.variable ? c.variable : c.caption) != variableOrCaption)
                continue;
            const POINT lt = at(cells[i].left, cells[i].top), rb = at(cells[i].right, cells[i].bottom);
            const auto surface = pal::gdi::surfaceOf(dc_);
            int ink = 0;
            for (int y = lt.y + 3; y < rb.y - 3; ++y)
                for (int x = lt.x + 3; x < rb.x - 3; ++x)
                    if (GetRValue(surface.pixel(x, y)) < 128)
                        ++ink;
            return ink;
        }
        ADD_FAILURE() << "no cell " << pal::text::toUtf8(variableOrCaption);
        return -1;
    }
    void save(const char* name) const { pal::test::keepSnapshot(pal::gdi::surfaceOf(dc_), name); }

    static constexpr int kWidth = 1200, kHeight = 860;
    std::unique_ptr<CDvw32Doc> doc_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    PageView view_;
};

TEST_F(Render, TheWholeSheetShowsItsFrameAndTheFilledTitleBlock) {
    HGDIOBJ penBefore = GetCurrentObject(dc_, OBJ_PEN);
    draw();
    save("sample-a3.png");
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), penBefore);

    // The sheet fits whole: the paper's corners are white inside and the desk shows outside.
    const POINT lt = at(0, 297), rb = at(420, 0);
    EXPECT_GE(lt.x, 0);
    EXPECT_LE(rb.x, kWidth);
    EXPECT_EQ(GetPixel(dc_, lt.x + 2, lt.y + 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc_, lt.x - 3, lt.y + 2), RGB(128, 128, 128));

    // The frame: 20 mm from the left edge, 5 mm from the others.
    EXPECT_EQ(GetPixel(dc_, at(20, 150).x, at(20, 150).y), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc_, at(200, 292).x, at(200, 292).y), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc_, at(10, 150).x, at(10, 150).y), RGB(255, 255, 255));

    // Captions and the variables' text are drawn in their cells; an empty variable's cell
    // stays empty.
    for (const wchar_t* filled :
         {L"$naimen1", L"$oboznach", L"$razrab", L"$maschtab", L"Разраб.", L"Масштаб"})
        EXPECT_GT(inkIn(filled), 10) << pal::text::toUtf8(filled);
    EXPECT_EQ(inkIn(L"$t_contr"), 0);
}

TEST_F(Render, AChangedVariableChangesItsCell) {
    ModelVars& vars = *doc_->GetModelVars();
    vars.SetVarExpression(L"$naimen1", L"");
    vars.SetVarExpression(L"$t_contr", L"Смирнов");
    ASSERT_TRUE(vars.OK(L"Редактирование форматки"));
    draw();
    EXPECT_EQ(inkIn(L"$naimen1"), 0);
    EXPECT_GT(inkIn(L"$t_contr"), 10);
    doc_->Cont2D()->Undo();
    draw();
    EXPECT_GT(inkIn(L"$naimen1"), 10);
}

TEST_F(Render, SelectedElementsShowInTheHighlightAndHiddenBordersVanish) {
    const auto& elements = doc_->Cont2D()->GetElements();
    std::size_t bore = 0;
    while (elements[bore].name != L"bore")
        ++bore;
    draw({bore});
    // A point of the circle away from the centre lines drawn over it.
    const auto& c = elements[bore].coords;
    const POINT p = at(c[0] - c[2] * 0.7071, c[1] + c[2] * 0.7071);
    bool highlighted = false;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            highlighted = highlighted || GetPixel(dc_, p.x + dx, p.y + dy) == RGB(0, 120, 215);
    save("selected.png");
    EXPECT_TRUE(highlighted);

    doc_->Cont2D()->set_show_sheet_borders(false);
    draw();
    EXPECT_EQ(GetPixel(dc_, at(20, 150).x, at(20, 150).y), RGB(255, 255, 255));
    EXPECT_EQ(inkIn(L"Разраб."), 0);
}

} // namespace

#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/DocumentManager.h"

namespace {

TEST_F(Render, ASavedDocumentCarriesAPreviewOfItsPage) {
    const std::wstring copy = pal::text::fromUtf8((root() / "plate.grb").string());
    std::wstring error;
    ASSERT_TRUE(doc_->DoFileSave(copy, &error)) << pal::text::toUtf8(error);

    std::unique_ptr<CDravikImage> preview(DvwLoadDVDocImage(copy.c_str(), g_szDocPV));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetWidth(), kPreviewSize);
    const auto surface = pal::gdi::surfaceOf(preview->GetHBITMAP());
    EXPECT_EQ(surface.width(), kPreviewSize);
    EXPECT_EQ(surface.height(), 181) << "an A3 sheet's proportions";
    pal::test::keepSnapshot(surface, "preview.png");
    // White paper with the frame's dark line 20 mm in from the left.
    EXPECT_EQ(surface.pixel(kPreviewSize / 40, 90), RGB(255, 255, 255));
    int ink = 0;
    for (int x = 8; x < 18; ++x)
        ink += GetRValue(surface.pixel(x, 90)) < 160;
    EXPECT_GT(ink, 0);

    // No icon was given, so one is drawn from the page: the sheet over the blue band of 2D documents.
    std::unique_ptr<CDravikImage> icon(DvwLoadDVDocImage(copy.c_str(), g_szDocIcon));
    ASSERT_NE(icon, nullptr);
    const auto iconSurface = pal::gdi::surfaceOf(icon->GetHBITMAP());
    pal::test::keepSnapshot(iconSurface, "icon.png");
    EXPECT_EQ(iconSurface.width(), kIconSize);
    EXPECT_EQ(iconSurface.height(), kIconSize);
    EXPECT_EQ(iconSurface.pixel(kIconSize / 2, kIconSize - 2), RGB(40, 90, 200));
    EXPECT_EQ(iconSurface.pixel(kIconSize / 2, kIconSize / 3), RGB(255, 255, 255)) << "paper";

    // Fitted into a wide rectangle the preview keeps its proportions, centred; the bitmap the
    // automation side asks for is the picture fitted on white.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP wide = CreateCompatibleBitmap(dc, 400, 100);
    HGDIOBJ old = SelectObject(dc, wide);
    RECT all{0, 0, 400, 100};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    preview->Draw(dc, all, CDravikImage::DrawFit, 0, 0, CLR_INVALID);
    const auto fitted = pal::gdi::surfaceOf(dc);
    EXPECT_EQ(fitted.pixel(5, 50), RGB(128, 128, 128)) << "left of the picture, untouched";
    EXPECT_EQ(fitted.pixel(200, 50), RGB(255, 255, 255)) << "the paper in the middle";
    const int pictureWidth = static_cast<int>(std::lround(100.0 * kPreviewSize / 181));
    EXPECT_EQ(fitted.pixel(200 - pictureWidth / 2 - 2, 50), RGB(128, 128, 128));
    SelectObject(dc, old);
    DeleteObject(wide);
    DeleteDC(dc);
    HBITMAP made = preview->CreateBitmap(nullptr, 64, 64);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(pal::gdi::surfaceOf(made).width(), 64);
    EXPECT_EQ(pal::gdi::surfaceOf(made).pixel(1, 1), RGB(255, 255, 255));
    DeleteObject(made);
    EXPECT_EQ(preview->CreateBitmap(nullptr, 0, 10), nullptr);
    const std::wstring missing = pal::text::fromUtf8((root() / "none.grb").string());
    EXPECT_EQ(DvwLoadDVDocImage(missing.c_str(), g_szDocPV), nullptr);
}

} // namespace

namespace {

// Zoomed far out, what is smaller than a few pixels still shows: a dot, a stroke for text.
TEST(RenderSmall, TinyElementsBecomeDotsAndSmallTextAStroke) {
    DVDocument doc;
    doc.LoadContent({Page{PageKind::Sheet, 100, 100, L""}}, {},
                    {Element{ElementKind::Circle, 0, 0x0000FF, L"", {20, 80, 0.5}, {}},
                     Element{ElementKind::Text, 0, 0, L"", {10, 40, 2}, L"Поз. 12"}});
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 100, 100);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawPage(dc, doc, 0, PageView{1.0, 0.0, 0.0});
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(255, 0, 0));
    int stroke = 0;
    for (int x = 10; x < 20; ++x)
        stroke += GetPixel(dc, x, 59) == RGB(0, 0, 0);
    EXPECT_GE(stroke, 8);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace

namespace {

TEST(PageViews, ZoomKeepsThePointUnderTheCursorAndPanMovesByPixels) {
    const Page a3{PageKind::Sheet, 420, 297, L""};
    const PageView fit = FitPage(a3, RECT{0, 0, 1000, 800}, 10);
    EXPECT_DOUBLE_EQ(fit.scale, 980.0 / 420.0);
    const POINT cursor{300, 400};
    double x0, y0, x1, y1;
    DeviceToPage(fit, a3, cursor, &x0, &y0);
    for (double factor : {2.0, 0.5, 1e9, 1e-9}) {
        const PageView zoomed = ZoomAt(fit, factor, cursor);
        EXPECT_GE(zoomed.scale, 0.01);
        EXPECT_LE(zoomed.scale, 1000.0);
        DeviceToPage(zoomed, a3, cursor, &x1, &y1);
        EXPECT_NEAR(x1, x0, 1e-9) << factor;
        EXPECT_NEAR(y1, y0, 1e-9) << factor;
    }
    const PageView moved = Pan(fit, 15, -7);
    const POINT before = PageToDevice(fit, a3, 100, 100), after = PageToDevice(moved, a3, 100, 100);
    EXPECT_EQ(after.x - before.x, 15);
    EXPECT_EQ(after.y - before.y, -7);
}

TEST(PageViews, APressPicksTheTopmostElementNearIt) {
    DVDocument doc;
    doc.LoadContent({Page{PageKind::Sheet, 200, 100, L""}}, {},
                    {Element{ElementKind::SheetFrame, 0, 0, L"", {20, 5, 5, 5}, {}},
                     Element{ElementKind::Line, 0, 0, L"", {10, 10, 90, 10}, {}},
                     Element{ElementKind::Circle, 0, 0, L"", {50, 50, 20}, {}},
                     Element{ElementKind::Arc, 0, 0, L"", {150, 50, 20, 0, 90}, {}},
                     Element{ElementKind::Polyline, 0, 0, L"", {100, 80, 120, 80, 120, 95}, {}},
                     Element{ElementKind::Text, 0, 0, L"", {10, 30, 5}, L"Текст"},
                     Element{ElementKind::Line, 0, 0, L"", {10, 10, 90, 10}, {}}});
    const PageView view{2.0, 0.0, 0.0}; // 2 px per mm, page top at device 0
    struct Case {
        double x, y; // page millimetres
        int expected;
    };
    const Case cases[] = {
        {50, 10.5, 6},                // two lines on top of each other: the later one
        {70, 50, 2},   {50, 50, -1},  // on the circle, in its middle
        {150, 70, 3},  {130, 50, -1}, // on the arc's quarter, on its circle outside the sweep
        {120, 90, 4},  {15, 31, 5},   // a polyline's second leg, inside a text
        {20, 60, -1},                 // on the frame only
    };
    for (const Case& k : cases) {
        const POINT p = PageToDevice(view, doc.GetPages()[0], k.x, k.y);
        EXPECT_EQ(HitTest(doc, 0, view, p), k.expected) << k.x << "," << k.y;
    }
}

} // namespace
