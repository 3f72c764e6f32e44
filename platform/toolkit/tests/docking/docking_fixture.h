// A frame with a view for the panes to dock around, a content window for every pane, and a
// record of what the manager told the frame.
#pragma once

#include "afxwin.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "xtp/DockingPaneManager.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace dockingtest {

// A window that paints a few lines of text, as a real pane's content would.
class Content : public CWnd {
public:
    CString text;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class Site : public CFrameWnd {
public:
    CXTPDockingPaneManager* manager = nullptr;
    // Codes and actions heard, with the pane's id.
    std::vector<std::pair<int, int>> heard;
    std::set<int> refuseClose;
    // Made on demand when a shown pane asks for its content.
    std::map<int, std::unique_ptr<Content>> contents;
    Content view;
    BOOL OnCreateClient(LPCREATESTRUCTW, CCreateContext*) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CRect clientRect() const; // the view's rectangle in the frame's client
};

class DockingTest : public pal::test::SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // A frame at `rc` (screen) with a manager of its own (or the one given).
    Site* makeSite(const CRect& rc, std::unique_ptr<CXTPDockingPaneManager> manager = nullptr);
    void destroySite(Site*& site);
    static void pump() { pal::test::pump(); }
    // The layout as text: the tree (S| S- for splitters, C for the client, [ids*] for containers,
    // * marking the selected, ^side for collapsed ones, ! closed panes), then the floating frames.
    static std::string describe(CXTPDockingPaneManager& manager, bool withRects = false);
    static std::string store(CXTPDockingPaneManager& manager);
    static bool load(CXTPDockingPaneManager& manager, const std::string& xml);
    // Every pane reachable, every floating frame on a screen with a size, docked nodes inside the
    // frame; a failure message or empty.
    static std::string checkSane(CXTPDockingPaneManager& manager, Site* site);
    std::vector<Site*> sites_;
    std::vector<std::unique_ptr<CXTPDockingPaneManager>> managers_;
};

} // namespace dockingtest
