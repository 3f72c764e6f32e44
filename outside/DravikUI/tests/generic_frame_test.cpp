// The bundled default state applied onto a main frame of the UI library's framework: its menu
// bar, ribbon and tool bars, with the controls the frame makes itself by command id, in the
// ribbon layout and in the classic one, for a person to look at.
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/PopupControls.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLDefinitions.h"
#include "DravikUI/XMLMainFrameState.h"

#include "DravikKernel/UIModuleProxy.h"
#include "XTToolkitPro.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/DockingPaneManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

namespace XML = Dravik::UI::XML;

constexpr UINT kMainMenuCommand = 900, kPanesCommand = 2852;

class DefaultStateFrame : public Dravik::UI::MdiMainFrame {
public:
    Dravik::UI::RibbonBar* ribbon = nullptr;
    Dravik::UI::DockingPaneManager panes;

    // The frame's own controls by command id, as the program's frame makes them.
    CXTPControl* CreateCustomControl(UINT id, const std::wstring& tag, CXTPCommandBar* bar) override {
        if (id == kMainMenuCommand)
            return new Dravik::UI::PseudoMenuBar(GetCommandBars()->GetMenuBar(), L"Menu", 1);
        if (id == kPanesCommand)
            return new Dravik::UI::DockingPanesPopup(&panes);
        return nullptr;
    }
    void OnAnyCommand(UINT) {}
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }

protected:
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (MdiMainFrame::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        GetCommandBars()->SetMenu(L"Menu Bar");
        ribbon = static_cast<Dravik::UI::RibbonBar*>(
            GetCommandBars()->Add(L"Ribbon", xtpBarTop, RUNTIME_CLASS(Dravik::UI::RibbonBar)));
        panes.InstallDockingPanes(this);
        panes.CreatePane(1017, CRect(0, 0, 200, 200), xtpPaneDockLeft)->SetTitle(L"Variables");
        SetDockingPaneManager(&panes);
        return ribbon != nullptr ? 0 : -1;
    }
    void OnDestroy() {
        DetachDockingPaneChildWindows();
        MdiMainFrame::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DefaultStateFrame, Dravik::UI::MdiMainFrame)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_COMMAND_RANGE(1, 60000, &DefaultStateFrame::OnAnyCommand)
ON_UPDATE_COMMAND_UI_RANGE(1, 60000, &DefaultStateFrame::OnUpdateAny)
END_MESSAGE_MAP()

CWinApp application(L"Dravik");

// Captions as the program gives them from its commands: here each command shows its id.
void nameCommands(CXTPControls* controls) {
    for (CXTPControl* control : *controls) {
        if (control->GetCaption().IsEmpty())
            control->SetCaption((L"Cmd " + std::to_wstring(control->GetID())).c_str());
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup && popup->GetCommandBar())
            nameCommands(popup->GetCommandBar()->GetControls());
    }
}

class GenericFrameTest : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
            frame->DestroyWindow();
        pal::test::pump();
        XML::SetProduct(-1);
        XML::SetMode(0);
        SandboxTest::TearDown();
    }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }
};

TEST_F(GenericFrameTest, TheDefaultStateGivesAMainFrameItsRibbonMenusAndToolBars) {
    XML::SetProduct(1);
    XML::SetMode(8);
    const char* source = std::getenv("DV_SOURCE_DIR");
    Dravik::UI::MainFrameState state;
    ASSERT_TRUE(state.loadDefault(std::filesystem::path(source ? source : ".") / "app/DefaultState.xml",
                                  XML::FormatVersion));

    auto* frame = new DefaultStateFrame;
    ASSERT_TRUE(
        frame->Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 1260, 520)));
    CXTPCommandBars* bars = frame->GetCommandBars();
    XML::ApplicationParameters parameters;
    parameters.createControl = [frame](const XML::Control& definition, CXTPCommandBar* bar) {
        return static_cast<Dravik::UI::GenericMainFrame*>(frame)->CreateCustomControl(definition, bar);
    };
    state.menuBar->apply(bars->GetMenuBar(), parameters);
    state.ribbonBar->apply(frame->ribbon, parameters);
    for (const XML::ToolBar& definition : state.toolBars) {
        CXTPToolBar* bar = bars->Add(definition.caption.c_str(), xtpBarTop);
        bar->SetBarID(static_cast<UINT>(definition.id));
        definition.apply(bar, parameters);
        nameCommands(bar->GetControls());
    }
    nameCommands(bars->GetMenuBar()->GetControls());
    for (int t = 0; t < frame->ribbon->GetTabCount(); ++t)
        for (int g = 0; g < frame->ribbon->GetTab(t)->GetGroups()->GetCount(); ++g)
            nameCommands(frame->ribbon->GetTab(t)->GetGroups()->GetAt(g)->GetControls());

    EXPECT_EQ(frame->ribbon->GetTabCount(), static_cast<int>(state.ribbonBar->tabs.size()));
    EXPECT_EQ(bars->GetMenuBar()->GetControlCount(), 6);
    CXTPToolBar* view = bars->GetToolBar(1063);
    ASSERT_NE(view, nullptr);
    EXPECT_NE(dynamic_cast<Dravik::UI::DockingPanesPopup*>(view->FindControl(kPanesCommand)), nullptr)
        << "the frame made the pane list for its command";

    // The ribbon layout: the ribbon alone.
    bars->GetMenuBar()->SetVisible(FALSE);
    for (const XML::ToolBar& definition : state.toolBars)
        bars->GetToolBar(static_cast<UINT>(definition.id))->SetVisible(FALSE);
    frame->RecalcLayout();
    pal::test::pump();
    snapshot(frame->GetSafeHwnd(), "default-state-frame-ribbon");

    // The classic layout: the menu bar and two of the default tool bars.
    frame->ribbon->SetVisible(FALSE);
    bars->GetMenuBar()->SetVisible(TRUE);
    bars->GetToolBar(1068)->SetVisible(TRUE);
    view->SetVisible(TRUE);
    frame->RecalcLayout();
    pal::test::pump();
    snapshot(frame->GetSafeHwnd(), "default-state-frame-classic");
}

// A frame that records what its control factory is asked.
class AskedFrame : public Dravik::UI::MdiMainFrame {
public:
    std::vector<std::pair<UINT, std::wstring>> asked;
    CXTPControl* CreateCustomControl(UINT id, const std::wstring& tag, CXTPCommandBar* bar) override {
        asked.emplace_back(id, tag);
        return id == kMainMenuCommand ? new CXTPControlButton : nullptr;
    }
};

TEST_F(GenericFrameTest, ADefinitionAsksTheFrameWithItsIdAndItsStateElseItsTag) {
    struct Case {
        int id;
        const wchar_t* tag;
        const wchar_t* state;
        const wchar_t* asked;
        bool made;
    } cases[] = {
        {900, L"Button", L"", L"Button", true},
        {2852, L"Popup", L"dockingPanesPopup", L"dockingPanesPopup", false},
        {0, L"SplitButtonPopup", L"", L"SplitButtonPopup", false},
    };
    std::unique_ptr<AskedFrame> frame(new AskedFrame);
    for (const Case& c : cases) {
        XML::Control definition;
        definition.id = c.id;
        definition.tag = c.tag;
        definition.state = c.state;
        std::unique_ptr<CXTPControl> made(static_cast<Dravik::UI::GenericMainFrame*>(frame.get())
                                              ->CreateCustomControl(definition, nullptr));
        EXPECT_EQ(made != nullptr, c.made) << c.id;
        ASSERT_FALSE(frame->asked.empty());
        EXPECT_EQ(frame->asked.back(), std::make_pair(static_cast<UINT>(c.id), std::wstring(c.asked)));
    }
    EXPECT_EQ(frame->asked.size(), std::size(cases));
}

} // namespace
