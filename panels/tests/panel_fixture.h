// What the system panel's tests set up around the controls they try: a frame with command bars,
// an application whose main window it is, and the shell's answers a control asks for.
#pragma once

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "xtp/FrameWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace panels::test {

// A frame with command bars for the controls to stand on.
class BarFrame : public CXTPFrameWnd {
public:
    int OnCreate(LPCREATESTRUCTW lpcs);

protected:
    DECLARE_MESSAGE_MAP()
};

// An application whose main window is a frame of the test's kind, made with the title and place
// given when the application starts (under the registry key given, where one is) and destroyed
// when it ends.
template <class Frame> class FrameApp : public CWinApp {
public:
    FrameApp(const wchar_t* title, const RECT& place, const wchar_t* registryKey = nullptr)
        : title_(title), place_(place), registryKey_(registryKey) {}
    Frame* frame = nullptr;
    BOOL InitInstance() override {
        if (registryKey_ != nullptr)
            SetRegistryKey(registryKey_);
        frame = new Frame;
        if (!frame->Create(nullptr, title_, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place_))
            return FALSE;
        m_pMainWnd = frame;
        return TRUE;
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        if (frame != nullptr && frame->m_hWnd != nullptr)
            frame->DestroyWindow();
        return CWinApp::ExitInstance();
    }

private:
    const wchar_t* title_;
    RECT place_;
    const wchar_t* registryKey_;
};

// The shell's side: the one frame holds every window; no themes, forms or status line.
class FrameModule : public UIModuleProxy::Module {
public:
    CFrameWnd* frame = nullptr;
    std::vector<UIModuleProxy::ThemeDescription> GetThemes() const override { return {}; }
    std::wstring GetDefaultThemeName() const override { return {}; }
    bool ApplyTheme(int) override { return false; }
    CFrameWnd* GetMainFrameOfWindow(HWND) const override { return frame; }
    CFrameWnd* GetChildFrameOwner(CFrameWnd*) const override { return nullptr; }
    void SetCommandBarsIconSizes(CXTPCommandBars*, SIZE, SIZE, SIZE, bool) override {}
    SIZE ScaleIconSize(SIZE size) const override { return size; }
    StatusLineProxy* GetStatusLine(CFrameWnd*) const override { return nullptr; }
    int ShowSettingsDialog(HWND, unsigned, std::vector<UIModuleProxy::SettingsEntry>&) override { return 0; }
};

// A test of controls on the application's frame, with the shell's answers and two drawings: the
// one active in the frame and another frame's. SetUp starts the application and gives the shell
// its module (startApp), puts the controls on the frame, then adds the drawings (addDocuments);
// TearDown undoes it all.
template <class Frame, class Module = FrameModule> class PanelTest : public pal::test::SandboxTest {
protected:
    PanelTest(const wchar_t* title, const RECT& place) : app(title, place, L"Dravik") {}

    void startApp() {
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
        UIModuleProxy::Instance().SetMainWindow(app.frame);
        module.frame = app.frame;
        UIModuleProxy::Instance().SetModule(&module);
    }
    void addDocuments() {
        DocumentManager::Instance().AddDocument(&active);
        DocumentManager::Instance().AddDocument(&other);
        DocumentManager::Instance().SetActiveDocument(&active, app.frame->GetSafeHwnd());
    }
    void TearDown() override {
        DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
        DocumentManager::Instance().RemoveDocument(&active);
        DocumentManager::Instance().RemoveDocument(&other);
        UIModuleProxy::Instance().SetModule(nullptr);
        UIModuleProxy::Instance().SetMainWindow(nullptr);
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }

    FrameApp<Frame> app;
    Module module;
    std::unique_ptr<pal::test::AppRun> run;
    CDvw32Doc active;
    CDvw32Doc other;
};

} // namespace panels::test
