// The layout entry of a docking pane that shows a clipart: its kind and its own state are
// stored, and loading brings the clipart back, made anew when it is gone.
#include "frame/DockingPanes.h"

#include "docbrowser/Clipart.h"

#include "DVDiagnostics/test/hooks.h"
#include "pal/test/sandbox_test.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int kPaneId = 3500;

struct Frame {
    CFrameWnd* window = new CFrameWnd;
    std::unique_ptr<CDVDockingPaneManager> panes = std::make_unique<CDVDockingPaneManager>();
    CXTPDockingPane* pane = nullptr;

    explicit Frame(bool install = true) {
        window->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
        if (install)
            panes->InstallDockingPanes(window);
        pane = panes->CreatePane(kPaneId, CRect(0, 0, 200, 200), xtpPaneDockLeft);
    }
    ~Frame() {
        DestroyAllClipartViews();
        panes.reset();
        if (::IsWindow(window->m_hWnd))
            window->DestroyWindow();
    }
};

template <class T> T* placeClipart(Frame& frame) {
    auto* clipart = new T;
    EXPECT_TRUE(clipart->Create(L"STATIC", nullptr, WS_CHILD, CRect(0, 0, 10, 10), frame.window, kPaneId));
    return clipart;
}

std::wstring store(CXTPDockingPane* pane, bool* ok = nullptr) {
    CXTPPropExchangeXMLNode exchange(FALSE, nullptr, L"Pane");
    const BOOL stored = pane->DoPropExchange(&exchange);
    if (ok)
        *ok = stored != FALSE;
    return exchange.GetXML().GetString();
}

BOOL load(CXTPDockingPane* pane, const std::wstring& xml) {
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Pane");
    EXPECT_TRUE(exchange.LoadFromString(xml.c_str()));
    return pane->DoPropExchange(&exchange);
}

class ClipartPane : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        SetDockingPaneWindowLookup(nullptr);
        SandboxTest::TearDown();
    }
};

struct KindCase {
    const wchar_t* type;
    std::function<CClipartView*(Frame&)> place;
};

TEST_F(ClipartPane, EveryKindComesBackFromItsLayout) {
    const KindCase cases[] = {
        {L"ModelTree", [](Frame& f) -> CClipartView* { return placeClipart<ModelTreeClipart>(f); }},
        {L"Workmix", [](Frame& f) -> CClipartView* { return placeClipart<WorkmixClipart>(f); }},
        {L"DocumentsMenu", [](Frame& f) -> CClipartView* { return placeClipart<DocumentsMenuClipart>(f); }},
        {L"ExpandedForm", [](Frame& f) -> CClipartView* { return placeClipart<ExpandedFormClipart>(f); }},
        {L"Application",
         [](Frame& f) -> CClipartView* {
             auto* clipart = placeClipart<ApplicationClipart>(f);
             clipart->appKey = L"Vendor.Tool";
             clipart->windowId = 12;
             return clipart;
         }},
    };
    for (const KindCase& c : cases) {
        Frame frame;
        c.place(frame);
        bool stored = false;
        const std::wstring xml = store(frame.pane, &stored);
        EXPECT_TRUE(stored) << c.type;
        EXPECT_NE(xml.find(std::wstring(L"Type=\"") + c.type + L"\""), std::wstring::npos) << xml;

        DestroyAllClipartViews();
        EXPECT_TRUE(load(frame.pane, xml)) << c.type;
        CClipartView* back = FindClipartById(kPaneId);
        ASSERT_NE(back, nullptr) << c.type;
        EXPECT_STREQ(ClipartTypeName(back), c.type);
        EXPECT_EQ(::GetParent(back->GetSafeHwnd()), frame.window->GetSafeHwnd());
        EXPECT_EQ(ClipartViews().size(), 1u);
        if (back->IsApplicationClipart()) {
            auto* application = static_cast<ApplicationClipart*>(back);
            EXPECT_EQ(application->appKey, L"Vendor.Tool");
            EXPECT_EQ(application->windowId, 12);
        }
    }
}

TEST_F(ClipartPane, ALoadedClipartThatExistsIsKept) {
    Frame frame;
    auto* clipart = placeClipart<ApplicationClipart>(frame);
    clipart->appKey = L"Vendor.Tool";
    clipart->windowId = 3;
    const std::wstring xml = store(frame.pane);
    clipart->SetDlgCtrlID(77); // the pane id is given again on loading
    EXPECT_TRUE(load(frame.pane, xml));
    EXPECT_EQ(ClipartViews().size(), 1u);
    EXPECT_EQ(clipart->GetDlgCtrlID(), kPaneId);
}

TEST_F(ClipartPane, FailuresAreReported) {
    {
        Frame frame;
        bool stored = true;
        store(frame.pane, &stored); // no window behind the pane
        EXPECT_FALSE(stored);
    }
    {
        Frame frame;
        dvlog::test::clearCapture();
        EXPECT_FALSE(load(frame.pane, LR"(<Pane ID="3500"><Clipart Type="Spreadsheet"/></Pane>)"));
        EXPECT_TRUE(ClipartViews().empty());
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), 1u);
    }
    {
        // Without a frame to hold it the clipart's child window cannot be made: nothing is kept.
        Frame frame(false);
        EXPECT_FALSE(load(frame.pane, LR"(<Pane ID="3500"><Clipart Type="ModelTree"/></Pane>)"));
        EXPECT_TRUE(ClipartViews().empty());
    }
}

TEST_F(ClipartPane, OtherPaneContentsKeepTheirOwnExchange) {
    struct Content : Dravik::UI::DockingPaneChildWindow {
        int exchanged = 0;
        using DockingPaneChildWindow::DoPropExchange;
        BOOL DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane*) override {
            ++exchanged;
            return TRUE;
        }
    } content;
    SetDockingPaneWindowLookup([&](int id) -> CWnd* { return id == kPaneId ? &content : nullptr; });
    Frame frame;
    bool stored = false;
    const std::wstring xml = store(frame.pane, &stored);
    EXPECT_TRUE(stored);
    EXPECT_EQ(xml.find(L"Clipart"), std::wstring::npos);
    EXPECT_TRUE(load(frame.pane, xml));
    EXPECT_EQ(content.exchanged, 2);
}

} // namespace
