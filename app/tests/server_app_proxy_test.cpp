// The kernel reaches the main frames only through its callback object: its requests for the
// running command's parameter controls and the add-ons' menus reach every frame, its questions
// are answered by the application's main frame, and without a frame it gets neutral answers.
#include "startup_fixture.h"

#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/Parameters.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "XTToolkitPro.h"
#include "pal/path.h"
#include "pal/test/snapshot.h"
#include "panels/ColorSelectDialog.h"
#include "panels/DataExchange.h"
#include "panels/SysPanelControls.h"

#include <functional>

namespace dvapp::test {
namespace {

constexpr int kControl = 930;

// A parameter control that keeps the value it is given.
class ValueControl : public CXTPControlButton, public IDataExchange {
public:
    void Reset() override { value_ = {}; }
    void SetValue(Dravik::DVDocument*, const SysPanelValue& value) override { value_ = value; }
    const SysPanelValue* GetValue() override { return &value_; }
    void CopyValueFrom(const IDataExchange&) override {}

private:
    SysPanelValue value_;
};

class ServerAppProxyTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
    void TearDown() override {
        for (CMainFrame* frame : CDvw32App::GetMainFrames())
            frame->DestroyWindow();
        dvkernel::test::setInstalledConfigurationsFolder({});
        StartupTest::TearDown();
    }

    // What the kernel holds: the base it calls, whatever the shell made of it.
    static DravikServerAppProxy& kernel() { return *DravikServerAppProxy::Instance(); }

    // A main frame listed with the UI module, with the parameter control on its system panel.
    CMainFrame* newFrame() {
        auto* frame = new CMainFrame;
        EXPECT_TRUE(frame->Create(nullptr, L"frame"));
        UIModuleProxy::Instance().AddMainFrame(frame);
        if (UIModuleProxy::Instance().GetMainWindow() == nullptr)
            UIModuleProxy::Instance().SetMainWindow(frame);
        CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
        EXPECT_NE(panel, nullptr);
        if (panel != nullptr) {
            auto* control = new ValueControl;
            panel->RegisterControl(kControl, control);
            control->InternalRelease();
            panel->GetControls()->Add(new ValueControl, kControl);
        }
        return frame;
    }
    static const SysPanelValue& valueOn(CMainFrame* frame) {
        return *frame->GetSysPanelToolbar()->GetControlValue(kControl);
    }
    static CXTPControl* controlOn(CMainFrame* frame) {
        return frame->GetSysPanelToolbar()->FindControl(kControl);
    }
};

TEST_F(ServerAppProxyTest, TheKernelsValuesReachEveryMainFrame) {
    struct Case {
        const char* name;
        std::function<void(DravikServerAppProxy&)> request;
        SysPanelValue expected;
    };
    const Case cases[] = {
        {"real",
         [](DravikServerAppProxy& k) { k.set_syspanel_doublevar(nullptr, kControl, 2.5, 7); },
         {2.5, 7, 0, L""}},
        {"integer",
         [](DravikServerAppProxy& k) { k.set_syspanel_int(nullptr, kControl, 42); },
         {0.0, -1, 42, L""}},
        {"integer as real",
         [](DravikServerAppProxy& k) { k.set_syspanel_intvar(nullptr, kControl, 3, 9); },
         {3.0, 9, 0, L""}},
        {"text",
         [](DravikServerAppProxy& k) { k.set_syspanel_cstr(nullptr, kControl, L"M6"); },
         {0.0, -1, 0, L"M6"}},
    };
    CMainFrame* first = newFrame();
    CMainFrame* second = newFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.request(kernel());
        EXPECT_EQ(valueOn(first), c.expected);
        EXPECT_EQ(valueOn(second), c.expected);
    }
}

// A colour-book colour reaches every frame, and each frame's colour control takes it only for
// its own active document; its drop-down then opens from the frame's panel and a click applies.
TEST_F(ServerAppProxyTest, AColourReachesOnlyTheFrameWhoseDocumentItIs) {
    CMainFrame* first = newFrame();
    CMainFrame* second = newFrame();
    auto colourOf = [](CMainFrame* frame) {
        auto* control = dynamic_cast<CColorPopupControl*>(frame->GetSysPanelToolbar()->FindControlById(904));
        EXPECT_NE(control, nullptr);
        if (control != nullptr && control->GetParent() == nullptr) {
            control->InternalAddRef(); // the bar takes a reference of its own
            frame->GetSysPanelToolbar()->GetControls()->Add(control, 904);
        }
        return control;
    };
    CColorPopupControl* firstColour = colourOf(first);
    CColorPopupControl* secondColour = colourOf(second);
    ASSERT_NE(firstColour, nullptr);
    ASSERT_NE(secondColour, nullptr);
    CDvw32Doc firstDoc;
    CDvw32Doc secondDoc;
    DocumentManager::Instance().AddDocument(&firstDoc);
    DocumentManager::Instance().AddDocument(&secondDoc);
    DocumentManager::Instance().SetActiveDocument(&firstDoc, first->GetSafeHwnd());
    DocumentManager::Instance().SetActiveDocument(&secondDoc, second->GetSafeHwnd());

    kernel().set_syspanel_int(firstDoc.Cont2D(), 904, 5);
    EXPECT_EQ(firstColour->GetColor(), 5u);
    EXPECT_EQ(secondColour->GetColor(), 0u);
    kernel().set_syspanel_int(secondDoc.Cont2D(), 904, 9);
    EXPECT_EQ(firstColour->GetColor(), 5u);
    EXPECT_EQ(secondColour->GetColor(), 9u);

    first->ShowWindow(SW_SHOW);
    first->GetSysPanelToolbar()->SetVisible(TRUE);
    first->RecalcLayout();
    firstColour->OnClick();
    CColorSelectDialog* dropDown = firstColour->GetColorDialog();
    ASSERT_NE(dropDown, nullptr);
    ASSERT_NE(dropDown->GetSafeHwnd(), nullptr);
    EXPECT_EQ(dropDown->StandardList().GetCurSel(), 5);
    EXPECT_TRUE(pal::test::keepSnapshot(dropDown->GetSafeHwnd(), "main_frame_colour_drop_down"));
    dropDown->StandardList().SetCurSel(2);
    dropDown->SendMessage(WM_COMMAND, MAKEWPARAM(CColorSelectDialog::IDC_STANDARD, LBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(dropDown->StandardList().GetSafeHwnd()));
    EXPECT_EQ(dropDown->GetSafeHwnd(), nullptr);
    EXPECT_EQ(firstColour->GetColor(), 2u);
    EXPECT_EQ(firstDoc.GetDefaultParameters().GetDefaultColor().Low, 2u);
    EXPECT_EQ(secondDoc.GetDefaultParameters().GetDefaultColor().Low, 0u);

    DocumentManager::Instance().SetActiveDocument(nullptr, first->GetSafeHwnd());
    DocumentManager::Instance().SetActiveDocument(nullptr, second->GetSafeHwnd());
    DocumentManager::Instance().RemoveDocument(&firstDoc);
    DocumentManager::Instance().RemoveDocument(&secondDoc);
}

TEST_F(ServerAppProxyTest, TheKernelsStatesReachEveryMainFrame) {
    CMainFrame* frames[] = {newFrame(), newFrame()};
    kernel().SetSyspanelButtonStatus(kControl, true, true);
    for (CMainFrame* frame : frames)
        EXPECT_TRUE(controlOn(frame)->GetEnabled() && controlOn(frame)->GetChecked());
    kernel().EnableSyspanelControl(kControl, false);
    for (CMainFrame* frame : frames)
        EXPECT_FALSE(controlOn(frame)->GetEnabled());
    kernel().EnableSyspanelControl(kControl, true);
    kernel().DisableSyspanelControls();
    for (CMainFrame* frame : frames)
        EXPECT_FALSE(controlOn(frame)->GetEnabled()) << "the parameter controls are all disabled";
}

TEST_F(ServerAppProxyTest, QuestionsAreAnsweredByTheMainFrame) {
    CMainFrame* main = newFrame();
    CMainFrame* other = newFrame();
    main->SetSyspanelInt(nullptr, kControl, 5);
    other->SetSyspanelInt(nullptr, kControl, 9);
    main->GetSysPanelToolbar()->SetMode(13);
    main->SetSyspanelButtonStatus(kControl, false, true);

    std::int32_t value = -7;
    kernel().GetSyspanelIntValue(kControl, value);
    EXPECT_EQ(value, 5) << "the main frame's control, not the other frame's";
    // In ribbon mode the ribbon's copy answers, and this ribbon has none.
    SysPanelValue record;
    EXPECT_EQ(kernel().GetSyspanelControlValue(kControl, record), !main->IsRibbonMode());
    EXPECT_EQ(kernel().GetSyspanelMode(), 13);
    bool checked = false, disabled = false;
    EXPECT_TRUE(kernel().GetSyspanelButtonStatus(kControl, checked, disabled));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(disabled);
    double real = 0;
    std::int32_t code = 0;
    kernel().SplitSyspanelRealValue(SysPanelValue{1.5, 4, 0, L""}, real, code);
    EXPECT_EQ(real, 1.5);
    EXPECT_EQ(code, 4);
    // A control no frame has gets the neutral answers.
    value = -7;
    kernel().GetSyspanelIntValue(4242, value);
    EXPECT_EQ(value, -7);
    EXPECT_FALSE(kernel().GetSyspanelButtonStatus(4242, checked, disabled));
    std::wstring font = L"old";
    kernel().GetSyspanelFontName(font, 4242);
    EXPECT_EQ(font, L"");
}

TEST_F(ServerAppProxyTest, WithoutAMainFrameTheKernelGetsNeutralAnswers) {
    EXPECT_EQ(kernel().GetSyspanelMode(), -1);
    std::int32_t value = -7;
    kernel().GetSyspanelIntValue(kControl, value);
    EXPECT_EQ(value, -7);
    SysPanelValue record{1.0, 2, 3, L"kept"};
    EXPECT_FALSE(kernel().GetSyspanelControlValue(kControl, record));
    EXPECT_EQ(record, (SysPanelValue{1.0, 2, 3, L"kept"}));
    bool checked = true, disabled = true;
    EXPECT_FALSE(kernel().GetSyspanelButtonStatus(kControl, checked, disabled));
    double real = 8;
    std::int32_t code = 8;
    kernel().SplitSyspanelRealValue(SysPanelValue{1.5, 4, 0, L""}, real, code);
    EXPECT_EQ(real, 8);
    // Requests reach nothing and do no harm.
    kernel().set_syspanel_int(nullptr, kControl, 1);
    kernel().DisableSyspanelControls();
}

TEST_F(ServerAppProxyTest, AddOnMenusReachEveryFrameOnlyWhileToolsAreCreated) {
    CMainFrame* frames[] = {newFrame(), newFrame()};
    auto holds = [](CMainFrame* frame, int id) {
        return frame->GetMenuBar()->FindControl(xtpControlError, id, FALSE, TRUE) != nullptr;
    };
    constexpr int kItem = 17500;
    constexpr std::uint32_t kTopLevel = 0;

    dvkernel::test::setCreateToolsMode(false);
    EXPECT_FALSE(kernel().InsertUserMenuItem(kItem, L"Add-on", -1, kTopLevel));
    for (CMainFrame* frame : frames)
        EXPECT_FALSE(holds(frame, kItem));

    dvkernel::test::setCreateToolsMode(true);
    EXPECT_TRUE(kernel().InsertUserMenuItem(kItem, L"Add-on", -1, kTopLevel));
    for (CMainFrame* frame : frames)
        EXPECT_TRUE(holds(frame, kItem));
    // A null menu is refused by the first frame, and the insertion stops there.
    EXPECT_FALSE(kernel().InsertUserPopupMenu(L"Tools", nullptr, -1, kTopLevel, L"addon"));

    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 17501, L"Run");
    EXPECT_TRUE(kernel().InsertUserPopupMenu(L"Tools", menu, -1, kTopLevel, L"addon"));
    for (CMainFrame* frame : frames)
        EXPECT_TRUE(holds(frame, 17501));
    dvkernel::test::setCreateToolsMode(false);
    EXPECT_FALSE(kernel().RemoveUserPopupMenu(L"ADDON"));
    for (CMainFrame* frame : frames)
        EXPECT_TRUE(holds(frame, 17501)) << "kept outside the tool creation";
    dvkernel::test::setCreateToolsMode(true);
    EXPECT_TRUE(kernel().RemoveUserPopupMenu(L"ADDON"));
    for (CMainFrame* frame : frames)
        EXPECT_FALSE(holds(frame, 17501));
    ::DestroyMenu(menu);
    dvkernel::test::setCreateToolsMode(false);
}

TEST_F(ServerAppProxyTest, EveryFrameListsTheInstalledConfigurationsAgain) {
    CMainFrame* frames[] = {newFrame(), newFrame()};
    for (CMainFrame* frame : frames) {
        CXTPControl* place = frame->GetMenuBar()->GetControls()->Add(xtpControlButton, 4000);
        place->SetCaption(L"Libraries");
        place->SetParameter(L"InstalledLibraries");
    }
    writeFile("cfg/Standard.tws", "[Configuration]\nName=Standard\n");
    writeFile("cfg/Pipes.tws", "[Configuration]\nName=Pipes\n");
    dvkernel::test::setInstalledConfigurationsFolder(pal::path::fromNative(root() / "cfg"));
    kernel().UpdateInstalledConfigurationsMenu();
    for (CMainFrame* frame : frames) {
        CXTPControl* tagged = nullptr;
        CXTPControls* top = frame->GetMenuBar()->GetControls();
        for (int i = 0; i < top->GetCount(); ++i)
            if (top->GetAt(i)->GetParameter() == L"InstalledLibraries")
                tagged = top->GetAt(i);
        auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, tagged);
        ASSERT_NE(popup, nullptr);
        ASSERT_NE(popup->GetCommandBar(), nullptr);
        CXTPControls* items = popup->GetCommandBar()->GetControls();
        ASSERT_EQ(items->GetCount(), 2);
        EXPECT_EQ(std::wstring(items->GetAt(1)->GetParameter()),
                  pal::path::fromNative(root() / "cfg" / "Standard.tws"))
            << "listed by file name";
    }
}

} // namespace
} // namespace dvapp::test
