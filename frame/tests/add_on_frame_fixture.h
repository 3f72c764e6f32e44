// A live main frame made from the add-on fixture, with the application it asks, for the tests of
// what add-ons and the kernel ask of a frame.
#pragma once

#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "frame/ControlAttributes.h"
#include "frame/FrameState.h"
#include "frame/MenuPlacement.h"

#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "frame_sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "ribbon/FrameToolsApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace addons {

namespace XML = Dravik::UI::XML;

inline std::shared_ptr<MainFrameState> loadState(const char* name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    XML::Document document;
    EXPECT_TRUE(
        document.loadFile(std::filesystem::path(source ? source : ".") / "frame/tests/fixtures" / name));
    return LoadMainFrameState(document.root(), XML::FormatVersion, nullptr);
}

class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    size_t GetMainFrameCount() const override { return 1; }
    std::shared_ptr<MainFrameState> GetDefaultMainFrameState() override { return defaults; }
    bool IsDockingPaneOpen(int paneId) override { return paneId == 1007 && propertiesOpen; }
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return defaultBars; }
    std::shared_ptr<MainFrameState> defaults;
    std::vector<DefaultToolBarRow> defaultBars;
    bool propertiesOpen = false;
};

// A frame whose bars are not built: no system panel, no panes.
class BareFrame : public CMainFrame {
protected:
    bool CreateDockingPanesAndToolBarsStep() override { return true; }
};

// A frame whose PDM controls follow the state the test gives.
class PdmFrame : public CMainFrame {
public:
    OrsaState GetOrsaState() const override { return orsa; }
    OrsaState orsa;
};

// The controls a text names: "File/1" is the second control of the File popup, "/0" the first
// control of the menu bar itself.
inline std::wstring where(CXTPControls* top, int id) {
    std::wstring found;
    auto walk = [&](auto&& self, CXTPControls* controls, const std::wstring& name) -> void {
        for (int i = 0; i < controls->GetCount() && found.empty(); ++i) {
            CXTPControl* control = controls->GetAt(i);
            if (control->GetID() == id) {
                found = name + L"/" + std::to_wstring(i);
                return;
            }
            if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control); popup && popup->GetCommandBar())
                self(self, popup->GetCommandBar()->GetControls(), std::wstring(control->GetCaption()));
        }
    };
    walk(walk, top, L"");
    return found;
}

// Every control's id, popups in brackets: the whole menu at a glance.
inline std::wstring describe(CXTPControls* controls) {
    std::wstring text;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        text += std::to_wstring(control->GetID()) + L" ";
        if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control); popup && popup->GetCommandBar())
            text += L"[" + describe(popup->GetCommandBar()->GetControls()) + L"] ";
    }
    return text;
}

inline std::vector<int> idsOf(CXTPControls* controls) {
    std::vector<int> ids;
    for (int i = 0; i < controls->GetCount(); ++i)
        ids.push_back(controls->GetAt(i)->GetID());
    return ids;
}

class AddOnsTest : public frame_test::FrameSandbox<Application> {
protected:
    template <class Frame = CMainFrame> Frame* make() {
        auto* frame = new Frame;
        if (!frame->CFrameWnd::Create(nullptr, L"", CMainFrame::kStyle))
            return nullptr;
        auto state = loadState("add_on_menus.xml");
        // The menu bar's own attributes ("anchor" among them) as the frame reads them.
        XML::ApplicationParameters parameters;
        parameters.handleAttribute = [](CXTPControl* control, const std::wstring& name,
                                        const std::wstring& value) {
            HandleControlAttribute(control, name, value, AttributeScope::MenuBar);
        };
        if (CXTPMenuBar* menu = frame->GetMenuBar())
            state->menuBar->apply(menu, parameters);
        frame->ApplyState(*state, false, false);
        pal::test::pump();
        return frame;
    }
    CXTPControls* helpPopup(CMainFrame* frame) {
        auto* help = DYNAMIC_DOWNCAST(CXTPControlPopup, frame->GetMenuBar()->GetControl(2));
        return help->GetCommandBar()->GetControls();
    }
    // The ribbon's right-aligned help popup as the frame's ribbon set-up makes it.
    CXTPControls* addRibbonHelpPopup(CMainFrame* frame) {
        CXTPRibbonBar* ribbon = frame->GetRibbonBar();
        auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, ribbon->GetControls()->Add(xtpControlPopup, 0));
        popup->SetFlags(popup->GetFlags() | xtpFlagRightAlign);
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(ribbon->GetCommandBars());
        popup->SetCommandBar(bar);
        bar->InternalRelease();
        CXTPControls* items = bar->GetControls();
        items->Add(xtpControlButton, 57670);
        items->Add(xtpControlButton, 57664)->SetTag(dvframe::kHelpAnchorTag);
        items->Add(xtpControlButton, 57665);
        return items;
    }
};

} // namespace addons
