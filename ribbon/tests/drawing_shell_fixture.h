// An MDI main frame on the null display with command bars of its own and a tool bar that holds
// the controls under test; the sample drawing opens in a kernel view inside it.
#pragma once

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace dvribbon::test {

inline constexpr UINT kDrawingResource = 500;
inline constexpr UINT kAppResource = 501;
inline const AFX_STRING_RESOURCE kShellStrings[] = {
    {kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"},
    {kAppResource, L"Dravik"},
};
inline const pal::mfc::StringTable kShellStringTable(&kShellStrings, kShellStrings,
                                                     sizeof kShellStrings / sizeof kShellStrings[0]);

class DrawingShell : public CWinApp {
public:
    BOOL InitInstance() override {
        AddDocTemplate(CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                                              RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CDVView)));
        auto* main = new CMDIFrameWnd;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        main->MoveWindow(20, 20, 1000, 760);
        main->ShowWindow(SW_SHOW);
        bars = CXTPCommandBars::CreateCommandBars();
        bars->SetSite(main);
        toolBar = bars->Add(L"Elements", xtpBarTop);
        return TRUE;
    }
    int ExitInstance() override {
        if (bars != nullptr)
            bars->InternalRelease();
        bars = nullptr;
        return CWinApp::ExitInstance();
    }
    CMDIFrameWnd* main() const { return static_cast<CMDIFrameWnd*>(m_pMainWnd); }
    CXTPCommandBars* bars = nullptr;
    CXTPToolBar* toolBar = nullptr;
};

class DrawingShellTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        run_ = std::make_unique<pal::test::AppRun>(app_);
        ASSERT_TRUE(run_->init());
    }
    void TearDown() override {
        app_.CloseAllDocuments(TRUE);
        run_.reset();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    // A copy of the bundled sample drawing in a view of its own, the active one.
    CDvw32Doc* openSample(const char* name = "plate.grb") {
        const std::filesystem::path copy = root() / name;
        std::filesystem::copy_file(binDir() / "Samples/sample-a3.grb", copy,
                                   std::filesystem::copy_options::overwrite_existing);
        const std::wstring path = pal::text::fromUtf8(copy.string());
        auto* doc = dynamic_cast<CDvw32Doc*>(app_.OpenDocumentFile(path.c_str()));
        run_->pump();
        return doc;
    }
    static CDVView* viewOf(CDvw32Doc* doc) { return dynamic_cast<CDVView*>(doc->GetActiveView()); }
    // Adds a control to the tool bar; the bar owns it.
    template <class T> T* place(T* control, int id) {
        app_.toolBar->GetControls()->Add(control, id);
        return control;
    }

    DrawingShell app_;
    std::unique_ptr<pal::test::AppRun> run_;
};

} // namespace dvribbon::test
