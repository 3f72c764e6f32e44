// The tabbed main tool bar of an edition that starts on a system tab of its own opens on that
// tab; other editions open on the first tab.
#include "frame_tools_fixture.h"

#include "frame/TabToolBar.h"
#include "frame/TabbedMainToolBarAdapter.h"
#include "ribbon/ApplicationMode.h"

#include "DravikKernel/test/hooks.h"
#include "XTToolkitPro.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

namespace {

using dvribbon::test::EngineFrame;
using dvribbon::test::PaneApplication;

constexpr GUID kDrawingTab = {0xD773CF70, 0x44FC, 0x4055, {0xAC, 0xC1, 0xFA, 0x1A, 0xB0, 0xFD, 0xB9, 0x5A}};
constexpr GUID kManipulatorTab = {
    0xCEEF5872, 0x2AAF, 0x406D, {0xAB, 0x42, 0x7E, 0xFC, 0x62, 0x80, 0x1C, 0x51}};
constexpr GUID kMode256Tab = {0x15040711, 0xB83D, 0x46FB, {0xBD, 0xF7, 0x3A, 0xC4, 0x9A, 0xCB, 0x14, 0x5E}};

class DefaultSystemTabTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        EngineFrame::tabbedBarMaker = [this](CXTPCommandBars* bars, const std::wstring& caption) {
            adapter_ = CDVTabbedMainToolBar::Create(bars, caption);
            return adapter_.get();
        };
        app_ = std::make_unique<PaneApplication>(std::set<int>{});
        app_->toolBars = {
            {L"Drawing", kDrawingTab, 0, true, 1, {1075, 0, 1101}},
            {L"Manipulator", kManipulatorTab, 0, true, 1, {1075, 0, 1201}},
            {L"Sheet metal", kMode256Tab, 0, true, 1, {1075, 0, 1301}},
        };
    }
    void TearDown() override {
        pal::test::pump();
        EngineFrame::tabbedBarMaker = nullptr;
        adapter_.reset();
        app_.reset();
        SetFixedEditionCode(0);
        Dravik::UI::TabbableToolBar::SetDefaultSystemToolbar(2, GUID_NULL);
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    std::unique_ptr<PaneApplication> app_;
    std::unique_ptr<CDVTabbedMainToolBar> adapter_;
};

TEST_F(DefaultSystemTabTest, TheTabbedBarOpensOnTheEditionsSystemTab) {
    struct Case {
        std::uint32_t mode;
        const wchar_t* tab;
    };
    const Case cases[] = {
        {0, L"Drawing"}, {128, L"Manipulator"}, {512, L"Manipulator"}, {256, L"Sheet metal"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Dravik::UI::TabbableToolBar::SetDefaultSystemToolbar(2, GUID_NULL);
        SetFixedEditionCode(c.mode);
        auto* frame = new EngineFrame; // deletes itself with its window
        ASSERT_TRUE(frame->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW, CRect(20, 20, 900, 400)));
        ASSERT_NE(adapter_, nullptr);
        CXTPTabManagerItem* current = adapter_->GetTabToolBar()->GetTabManager()->GetSelectedItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->GetCaption(), c.tab);
        frame->DestroyWindow();
        pal::test::pump();
    }
}

} // namespace
