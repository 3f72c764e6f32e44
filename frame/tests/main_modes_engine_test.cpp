// The frame tools engine builds its tabbed main tool bar as the frame's tabbed bar: every kind-1
// row a tab with its key, the engine's shortcuts on their tabs, the tab list opening the tabs.
#include "frame_tools_fixture.h"

#include "frame/TabToolBar.h"
#include "frame/TabbedMainToolBarAdapter.h"

#include "DravikKernel/test/hooks.h"
#include "XTToolkitPro.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using dvribbon::test::EngineFrame;
using dvribbon::test::PaneApplication;

constexpr GUID kCtrl1Tab = {0x2557C777, 0x3AA3, 0x4DE3, {0x9C, 0x16, 0x10, 0x8D, 0x2E, 0x13, 0xBB, 0x03}};
constexpr GUID kCtrl2Tab = {0xD773CF70, 0x44FC, 0x4055, {0xAC, 0xC1, 0xFA, 0x1A, 0xB0, 0xFD, 0xB9, 0x5A}};
constexpr GUID kOtherTab = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class MainModesEngineTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        EngineFrame::tabbedBarMaker = [this](CXTPCommandBars* bars, const std::wstring& caption) {
            adapter_ = CDVTabbedMainToolBar::Create(bars, caption);
            return adapter_.get();
        };
    }
    void TearDown() override {
        if (frame_ != nullptr && ::IsWindow(frame_->m_hWnd))
            frame_->DestroyWindow();
        pal::test::pump();
        EngineFrame::tabbedBarMaker = nullptr;
        adapter_.reset();
        app_.reset();
        pal::test::resetMonitors();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    EngineFrame* makeFrame() {
        app_ = std::make_unique<PaneApplication>(std::set<int>{});
        app_->toolBars = {
            {L"Drawing", kCtrl2Tab, 0, true, 1, {1075, 0, 1101, 1102, 0, 1103}},
            {L"Views", kOtherTab, 0, false, 1, {1075, 0, 1201}},
            {L"Standard", {}, 1065, true, 2, {1001, 1002}},
            {L"Model", kCtrl1Tab, 0, true, 1, {1075, 0, 1801, 1802}},
        };
        frame_ = new EngineFrame; // deletes itself with its window
        frame_->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 900, 400));
        frame_->RecalcLayout();
        pal::test::pump();
        return frame_;
    }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }

    std::unique_ptr<PaneApplication> app_;
    std::unique_ptr<CDVTabbedMainToolBar> adapter_;
    EngineFrame* frame_ = nullptr;
};

TEST_F(MainModesEngineTest, TheEnginesTabbedBarIsTheFramesTabbedBar) {
    EngineFrame* frame = makeFrame();
    ASSERT_TRUE(frame->created);
    ASSERT_NE(adapter_, nullptr);
    EXPECT_EQ(frame->GetTabbedMainToolBar(), adapter_.get());
    CDVTabToolBar* bar = adapter_->GetTabToolBar();
    EXPECT_EQ(frame->GetCommandBars()->GetToolBar(CFrameToolsEngine::kTabbedMainToolBarId), bar);

    CXTPTabManager* tabs = bar->GetTabManager();
    ASSERT_EQ(tabs->GetItemCount(), 3);
    EXPECT_EQ(tabs->GetItem(0)->GetCaption(), L"Drawing");
    EXPECT_EQ(bar->FindTab(kOtherTab), tabs->GetItem(1));
    EXPECT_FALSE(tabs->GetItem(1)->IsVisible());
    EXPECT_EQ(bar->GetAccelKey(bar->FindTab(kCtrl2Tab)), '2');
    EXPECT_EQ(bar->GetAccelKey(bar->FindTab(kCtrl1Tab)), '1');
    EXPECT_EQ(bar->GetAccelKey(bar->FindTab(kOtherTab)), 0);
    // The command set of a tab the engine added: its key, no application, a system tab.
    const auto record = bar->RecordOf(tabs->GetItem(2));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->id, GuidToUniqueIdentifier(kCtrl1Tab));
    EXPECT_FALSE(record->user);

    // The tab list of each tab opens the visible tabs with their shortcuts.
    auto* list = dynamic_cast<CXTPControlPopup*>(bar->GetControls()->GetAt(0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetID(), 1075);
    ASSERT_NE(list->GetCommandBar(), nullptr);
    CXTPControls* items = list->GetCommandBar()->GetControls();
    ASSERT_EQ(items->GetCount(), 2);
    EXPECT_EQ(items->GetAt(1)->GetID(), static_cast<int>(Dravik::UI::TabbableToolBar::TabCommandFirst + 2));
    EXPECT_TRUE(items->GetAt(0)->GetChecked());
    // Choosing another tab moves the check.
    bar->SelectCategory(2);
    list = dynamic_cast<CXTPControlPopup*>(bar->GetControls()->GetAt(0));
    ASSERT_NE(list, nullptr);
    items = list->GetCommandBar()->GetControls();
    EXPECT_FALSE(items->GetAt(0)->GetChecked());
    EXPECT_TRUE(items->GetAt(1)->GetChecked());
    bar->SelectCategory(0);

    bar->ShowTabs(TRUE);
    for (CXTPControl* control : *bar->GetControls())
        if (control->GetID() != 1075)
            control->SetCaption((L"Cmd " + std::to_wstring(control->GetID())).c_str());
    frame->RecalcLayout();
    pal::test::pump();
    snapshot(bar->GetSafeHwnd(), "main_modes_engine_bar");
}

} // namespace
