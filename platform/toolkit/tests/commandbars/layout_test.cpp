// The stored layout of the bars: what a frame stores, a new frame loads as it was; what a
// damaged file holds loads as far as it can and leaves the rest as the program made it.
#include "bars_fixture.h"

#include "pal/path.h"
#include "pal/test/snapshot.h"

#include <cstdlib>

namespace bars_test {
namespace {

struct BarState {
    UINT id;
    std::wstring title;
    int position;
    int row;
    int offset;
    bool visible;
    std::vector<std::pair<int, std::wstring>> controls;
    bool operator==(const BarState&) const = default;
};

std::vector<BarState> stateOf(CXTPCommandBars* bars) {
    std::vector<BarState> out;
    for (int i = 0; i < bars->GetCount(); ++i) {
        CXTPToolBar* bar = bars->GetAt(i);
        BarState s{bar->GetBarID(),
                   bar->GetTitle().GetString(),
                   bar->GetPosition(),
                   bar->GetDockRow(),
                   bar->GetDockOffset(),
                   bar->IsVisible() != FALSE,
                   {}};
        for (CXTPControl* c : *bar->GetControls())
            s.controls.emplace_back(c->GetID(), c->GetCaption().GetString());
        out.push_back(s);
    }
    return out;
}

std::filesystem::path fixture(const char* name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return std::filesystem::path(source != nullptr ? source : ".") /
           "platform/toolkit/tests/fixtures/layouts" / name;
}

// A frame the user has worked in: bars moved, one hidden, one customised, one of their own.
void customise(Frame& frame) {
    CXTPCommandBars* bars = frame.GetCommandBars();
    frame.edit->SetDockPosition(xtpBarBottom, 0, 40);
    frame.standard->GetControls()->Remove(1);
    frame.standard->GetControls()->Add(xtpControlButton, kCut)->SetCaption(L"Cut here");
    CXTPToolBar* mine = bars->AddCustomBar(L"Mine", 300);
    mine->GetControls()->Add(xtpControlButton, kCopy)->SetCaption(L"Copy");
    mine->GetControls()->Add(xtpControlButton, kPaste)->SetCaption(L"Paste");
    mine->SetDockPosition(xtpBarLeft, 0, 10);
    CXTPToolBar* hidden = bars->AddCustomBar(L"Hidden", 301);
    hidden->GetControls()->Add(xtpControlButton, kNew)->SetCaption(L"N");
    hidden->SetVisible(FALSE);
}

class LayoutTest : public BarsTest {};

TEST_F(LayoutTest, TheStoredLayoutLoadsIntoANewFrameAsItWas) {
    const std::filesystem::path file = root() / "layout.xml";
    std::vector<BarState> stored;
    pal::gdi::Surface before;
    {
        App app;
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        customise(app.frame);
        run.pump();
        stored = stateOf(app.frame.GetCommandBars());
        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"CommandBars");
        app.frame.GetCommandBars()->DoPropExchange(&px);
        ASSERT_TRUE(px.SaveToFile(pal::path::fromNative(file).c_str()));
        before = pal::test::snapshot(app.frame.m_hWnd, true);
    }
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(px.LoadFromFile(pal::path::fromNative(file).c_str()));
    app.frame.GetCommandBars()->DoPropExchange(&px);
    run.pump();
    EXPECT_EQ(stateOf(app.frame.GetCommandBars()), stored);
    const auto after = pal::test::snapshot(app.frame.m_hWnd, true);
    pal::test::keepSnapshot(app.frame.m_hWnd, "layout-restored");
    // The same picture, but for a caret or a pixel of smoothing.
    EXPECT_LT(pal::test::differingPixels(before, after), 20u);
}

TEST_F(LayoutTest, BarsTheUserDidNotChangeStoreNoControls) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"CommandBars");
    app.frame.GetCommandBars()->DoPropExchange(&px);
    const std::vector<pal::xml::Node> bars = px.GetNode().children(L"Bar");
    ASSERT_EQ(bars.size(), 3u);
    for (const pal::xml::Node& bar : bars)
        EXPECT_FALSE(bar.child(L"Controls")) << "only customised bars keep their controls";
}

// Each damaged file loads without harm: what is readable applies, the rest stays as made.
TEST_F(LayoutTest, ADamagedLayoutLoadsWhatItCanAndKeepsTheRest) {
    struct Case {
        const char* file;
        std::function<void(Frame&)> check;
    } cases[] = {
        {"unknown-bars.xml",
         [](Frame& f) {
             EXPECT_EQ(f.GetCommandBars()->GetCount(), 3) << "bars nobody makes are not invented";
             EXPECT_EQ(f.edit->GetPosition(), xtpBarRight) << "the known bar still loads";
         }},
        {"missing-sections.xml",
         [](Frame& f) {
             EXPECT_EQ(f.standard->GetPosition(), xtpBarTop);
             EXPECT_EQ(f.standard->GetControlCount(), 3) << "no Controls section: the bar's own";
             EXPECT_FALSE(f.edit->IsVisible());
         }},
        {"wrong-types.xml",
         [](Frame& f) {
             EXPECT_EQ(f.GetCommandBars()->GetCount(), 3);
             EXPECT_EQ(f.standard->GetPosition(), xtpBarTop);
             EXPECT_EQ(f.standard->GetDockRow(), 1) << "a row that is not a number keeps the default";
             EXPECT_TRUE(f.standard->IsVisible());
             EXPECT_EQ(f.edit->GetPosition(), xtpBarTop) << "position 17 is no position";
             CXTPControls* controls = f.edit->GetControls();
             ASSERT_EQ(controls->GetCount(), 2) << "unknown types are left out";
             EXPECT_EQ(controls->GetAt(0)->GetCaption(), L"Kept");
             EXPECT_EQ(controls->GetAt(0)->GetID(), 0);
             EXPECT_EQ(controls->GetAt(0)->GetWidth(), 0);
             EXPECT_LE(controls->GetAt(0)->GetHeight(), 2000);
             auto* popup = dynamic_cast<CXTPControlPopup*>(controls->GetAt(1));
             ASSERT_NE(popup, nullptr);
             EXPECT_NE(popup->GetCommandBar()->FindControl(kCopy), nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        App app;
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"CommandBars");
        ASSERT_TRUE(px.LoadFromFile(pal::path::fromNative(fixture(c.file)).c_str()));
        app.frame.GetCommandBars()->DoPropExchange(&px);
        run.pump();
        c.check(app.frame);
    }
}

TEST_F(LayoutTest, AbsurdCountsAndNestingAreBounded) {
    // Thousands of custom bars and popups nested a thousand deep.
    std::string xml = "<CommandBars>";
    for (int i = 0; i < 3000; ++i)
        xml += "<Bar Id=\"" + std::to_string(1000 + i) + "\" Custom=\"true\" Title=\"b\" Visible=\"false\"/>";
    xml += "<Bar Id=\"201\"><Controls>";
    for (int i = 0; i < 1000; ++i)
        xml += "<Control Type=\"2\" Caption=\"p\"><CommandBar>";
    for (int i = 0; i < 1000; ++i)
        xml += "</CommandBar></Control>";
    xml += "</Controls></Bar></CommandBars>";
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPPropExchangeXMLNode px(TRUE, nullptr, nullptr);
    ASSERT_TRUE(px.LoadFromString(CString(xml.c_str())));
    app.frame.GetCommandBars()->DoPropExchange(&px);
    run.pump();
    EXPECT_LE(app.frame.GetCommandBars()->GetCount(), 3 + 256);
    int depth = 0;
    for (CXTPControl* c = app.frame.edit->GetControl(0); c != nullptr; ++depth) {
        auto* popup = dynamic_cast<CXTPControlPopup*>(c);
        c = popup != nullptr && popup->GetCommandBar() != nullptr ? popup->GetCommandBar()->GetControl(0)
                                                                  : nullptr;
    }
    EXPECT_LE(depth, 17);
}

} // namespace
} // namespace bars_test
