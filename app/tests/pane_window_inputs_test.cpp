#include "startup_fixture.h"

#include "app/PaneWindowSlots.h"

#include "DVDiagnostics/test/hooks.h"

#include <climits>
#include <string>

namespace dvapp::test {
namespace {

class PaneWindowInputs : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
};

// Names are the configuration's exact keys: another case names nothing, and a long value is read
// through to its end.
TEST_F(PaneWindowInputs, TheSwitchReadsNamesExactlyWhateverTheValuesLength) {
    struct Case {
        std::wstring value;
        bool modelTree, macros;
        size_t warnings;
    };
    std::wstring longValue;
    for (int i = 0; i < 2000; ++i)
        longValue += L"noSuchPane" + std::to_wstring(i) + L",";
    const Case cases[] = {
        {L"ModelTree, MACROS", false, false, 2},
        {L"modelTree", true, false, 0},
        {longValue + L"macros", false, true, 2000},
        {std::wstring(100000, L'x'), false, false, 1},
    };
    PaneWindowSlots& slots = app->GetPaneWindowSlots();
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.value.substr(0, 40)));
        dvlog::test::clearCapture();
        slots.Configure(&c.value);
        EXPECT_EQ(slots.IsEnabled(1006), c.modelTree);
        EXPECT_EQ(slots.IsEnabled(1010), c.macros);
        EXPECT_EQ(app->GetModelTreeWindow(true) != nullptr, c.modelTree);
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), c.warnings);
    }
}

TEST_F(PaneWindowInputs, IdsOutsideThePaneRangeNameNoWindowAndNoPaneShowsThem) {
    for (const int id : {INT_MIN, -1003, 0, 1002, 1042, 2000, INT_MAX}) {
        EXPECT_EQ(app->GetDockingPaneWindow(id, true), nullptr) << id;
        CMainFrame* frame = reinterpret_cast<CMainFrame*>(1);
        CWnd* window = reinterpret_cast<CWnd*>(1);
        EXPECT_EQ(app->FindDockingPane(id, &frame, &window), nullptr) << id;
        EXPECT_EQ(frame, nullptr);
        EXPECT_EQ(window, nullptr);
    }
    // A window that exists but that no frame's pane shows: made, but no pane.
    CMainFrame* frame = nullptr;
    CWnd* window = nullptr;
    EXPECT_EQ(app->FindDockingPane(1017, &frame, &window), nullptr);
    EXPECT_NE(window, nullptr);
    EXPECT_EQ(frame, nullptr);
}

} // namespace
} // namespace dvapp::test
