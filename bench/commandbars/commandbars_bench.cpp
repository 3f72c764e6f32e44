// The idle update of the command bars runs on every idle cycle of the program: every control
// of every visible bar asks the frame's update handlers for its state. Here 2,000 controls on
// 40 bars are updated, against the least the work needs: the same 2,000 ids sent through the
// frame's ON_UPDATE_COMMAND_UI handlers with a plain CCmdUI.
#include "XTToolkitPro.h"
#include "afxwin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kBars = 40;
constexpr int kPerBar = 50;
constexpr UINT kFirst = 20000;
constexpr UINT kLast = kFirst + kBars * kPerBar - 1;
constexpr int kRounds = 200;
constexpr int kRuns = 5;

using Clock = std::chrono::steady_clock;

class Frame : public CXTPFrameWnd {
public:
    long updates = 0;
    void OnCommandId(UINT) {}
    // Half enabled, every third checked: the states stay the same from one idle to the next,
    // as they do while the user does nothing.
    void OnUpdateId(CCmdUI* ui) {
        ++updates;
        ui->Enable(ui->m_nID % 2 == 0);
        ui->SetCheck(ui->m_nID % 3 == 0);
    }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Frame, CXTPFrameWnd)
ON_COMMAND_RANGE(kFirst, kLast, &Frame::OnCommandId)
ON_UPDATE_COMMAND_UI_RANGE(kFirst, kLast, &Frame::OnUpdateId)
END_MESSAGE_MAP()

// What an update handler answers, kept and nothing more.
class PlainCmdUI : public CCmdUI {
public:
    BOOL enabled = TRUE;
    int checked = 0;
    void Enable(BOOL bOn) override {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
};

double barsMs(Frame& frame) {
    CXTPCommandBars* bars = frame.GetCommandBars();
    const auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round)
        bars->UpdateCommandBars();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRounds;
}

double plainMs(Frame& frame) {
    const auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (UINT id = kFirst; id <= kLast; ++id) {
            PlainCmdUI ui;
            ui.m_nID = id;
            ui.DoUpdate(&frame, TRUE);
        }
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRounds;
}

} // namespace

int main() {
    Frame frame;
    if (!frame.Create(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1900, 1000)) ||
        !frame.InitCommandBars()) {
        std::fprintf(stderr, "cannot create the frame\n");
        return 1;
    }
    CXTPCommandBars* bars = frame.GetCommandBars();
    for (int b = 0; b < kBars; ++b) {
        CXTPToolBar* bar = bars->Add(L"Bar", static_cast<XTPBarPosition>(b % 4));
        for (int i = 0; i < kPerBar; ++i) {
            CXTPControl* c =
                bar->GetControls()->Add(xtpControlButton, static_cast<int>(kFirst) + b * kPerBar + i);
            c->SetCaption(L"B");
        }
    }
    frame.RecalcLayout();
    bars->UpdateCommandBars(); // the states settle once
    double substitute = 1e300, reference = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        reference = std::min(reference, plainMs(frame));
        substitute = std::min(substitute, barsMs(frame));
    }
    const long perRound = frame.updates / (kRuns * 2L * kRounds + 1);
    std::printf("%d controls on %d bars, one idle update, best of %d runs of %d\n", kBars * kPerBar, kBars,
                kRuns, kRounds);
    std::printf("  CXTPCommandBars::UpdateCommandBars:        %8.3f ms\n", substitute);
    std::printf("  %ld plain ON_UPDATE_COMMAND_UI calls:     %8.3f ms\n", perRound, reference);
    std::printf("  ratio: %.2fx (target: at most 2x)\n", substitute / reference);
    frame.DestroyWindow();
    return 0;
}
