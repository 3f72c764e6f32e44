// A main frame with command bars for the layer tests: a menu bar built from a menu, a tool bar
// of three commands and a second one with a split button and a combo box. The frame records
// what reaches its command routing.
#pragma once

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace bars_test {

constexpr UINT kNew = 100, kOpen = 101, kSave = 102, kExit = 103, kCut = 110, kCopy = 111, kPaste = 112;
constexpr UINT kZoom = 120, kZoomIn = 121, kZoomOut = 122, kScale = 130, kMade = 140;
constexpr UINT kStandardBar = 200, kEditBar = 201;

// A control the frame makes itself for kMade.
class MadeButton : public CXTPControlButton {
    DECLARE_DYNCREATE(MadeButton)
};

class Frame : public CXTPMDIFrameWnd {
public:
    std::vector<std::string> log;
    bool saveEnabled = true;
    int initControls = 0;
    int initPopups = 0;
    // Run while a modal dialog of the frame waits for input (WM_ENTERIDLE), once each.
    std::vector<std::function<void(HWND)>> whenIdle;
    LRESULT OnEnterIdle(WPARAM, LPARAM lParam) {
        if (!whenIdle.empty()) {
            auto step = whenIdle.front();
            whenIdle.erase(whenIdle.begin());
            step(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    }

    CXTPToolBar* standard = nullptr;
    CXTPToolBar* edit = nullptr;
    CXTPControlComboBox* scale = nullptr;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void build();
    void OnCommandId(UINT id) { log.push_back("command " + std::to_string(id)); }
    void OnUpdateSave(CCmdUI* ui) { ui->Enable(saveEnabled); }
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }
    void OnScaleEdit() { log.push_back("scale edited " + text(scale->GetEditText())); }
    void OnScaleSelect() { log.push_back("scale selected " + std::to_string(scale->GetCurSel())); }
    int OnCreateControl(LPCREATECONTROLSTRUCT cs) {
        if (cs->nID != kMade)
            return FALSE;
        cs->pControl = new MadeButton;
        return TRUE;
    }
    void OnInitCommandsPopup(CXTPPopupBar*) { ++initPopups; }
    LRESULT OnInitControl(WPARAM, LPARAM) {
        ++initControls;
        return 0;
    }
    static std::string text(const CString& s) {
        std::string out;
        for (wchar_t c : std::wstring(s.GetString()))
            out += static_cast<char>(c);
        return out;
    }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

class App : public CWinApp {
public:
    Frame frame;
    BOOL InitInstance() override;
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        if (frame.m_hWnd != nullptr)
            frame.DestroyWindow();
        return CWinApp::ExitInstance();
    }
};

class BarsTest : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    // The screen point at the middle of a control (or at an offset from its right edge).
    static POINT at(CXTPControl* c, int fromRight = -1) {
        CRect rc = c->GetRect();
        CPoint p = fromRight < 0 ? rc.CenterPoint() : CPoint(rc.right - fromRight, rc.CenterPoint().y);
        c->GetParent()->ClientToScreen(&p);
        return p;
    }
    static CXTPPopupBar* openPopup(CXTPControl* c) {
        auto* popup = dynamic_cast<CXTPControlPopup*>(c);
        if (popup == nullptr || !popup->GetPopuped())
            return nullptr;
        return dynamic_cast<CXTPPopupBar*>(popup->GetCommandBar());
    }
};

} // namespace bars_test
