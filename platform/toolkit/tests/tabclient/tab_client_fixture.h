// A main frame with documents and the tab client attached over its MDI client.
#pragma once

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toolkit_test {

constexpr UINT kSheetResource = 400;
constexpr UINT kAppResource = 401;

class Sheet : public CDocument {
    DECLARE_DYNCREATE(Sheet)
};

// Paper with the document's name in the middle.
class SheetView : public CView {
    DECLARE_DYNCREATE(SheetView)
public:
    static COLORREF paper;
    void OnDraw(CDC* dc) override;
};

class SheetFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(SheetFrame)
};

class ShellApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

// A workspace that records its hooks and may refuse clicks.
class RecordingWorkspace : public CXTPTabClientWnd::CWorkspace {
public:
    bool refuse = false;
    int clicks = 0;
    std::vector<HWND> selections;
    BOOL OnBeforeItemClick(CXTPTabManagerItem* pItem) override {
        ++clicks;
        return !refuse && CWorkspace::OnBeforeItemClick(pItem);
    }
    void SetSelectedItem(CXTPTabManagerItem* pItem) override {
        selections.push_back(pItem ? pItem->GetHandle() : nullptr);
        CWorkspace::SetSelectedItem(pItem);
    }
};

class RecordingTabClient : public CXTPTabClientWnd {
protected:
    CWorkspace* CreateWorkspace() override { return new RecordingWorkspace; }
};

using Layout = std::vector<std::vector<std::wstring>>;

class TabClientTest : public pal::test::SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens n new documents and lets the idle work run.
    void open(int n);
    HWND activeChild() const;
    // Presses at one screen point, moves to another and lets go there, letting each step be
    // handled before the next (the pointer's target is decided when the step is made).
    void drag(CPoint from, CPoint to);
    // The captions of every group's tabs.
    Layout layout() const;
    // Writes a stored state directly, as a person's profile might hold it.
    void writeState(const std::wstring& horizontal, const std::vector<std::wstring>& groups, int count = -1);

    ShellApp app;
    pal::test::AppRun run{app};
    CMDIFrameWnd* main = nullptr;
    RecordingTabClient tabs;
};

} // namespace toolkit_test

using toolkit_test::Layout;
