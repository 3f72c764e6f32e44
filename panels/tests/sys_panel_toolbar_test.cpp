// The system panel's registry and the kernel's requests to its controls.
#include "panels/SysPanelControls.h"
#include "panels/SysPanelToolbar.h"

#include "panel_fixture.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/Parameters.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using App = panels::test::FrameApp<panels::test::BarFrame>;

// A control of a fixed size that counts its own deletion.
class Probe : public CXTPControlButton {
public:
    Probe(int* deleted, CSize size = CSize(20, 20)) : deleted_(deleted), size_(size) {}
    ~Probe() override { ++*deleted_; }
    CSize GetSize(CDC*) override { return size_; }

private:
    int* deleted_;
    CSize size_;
};

class SysPanelToolbarTest : public pal::test::SandboxTest {
protected:
    void start() {
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
        UIModuleProxy::Instance().SetMainWindow(app.frame);
        bar = new CSysPanelToolbar;
    }
    void TearDown() override {
        if (bar != nullptr)
            bar->InternalRelease();
        UIModuleProxy::Instance().SetMainWindow(nullptr);
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    std::vector<int> registeredIds() const {
        std::vector<int> ids;
        for (const auto& [id, control] : bar->GetRegistry())
            ids.push_back(id);
        return ids;
    }

    App app{L"Panel", CRect(0, 0, 800, 300)};
    std::unique_ptr<pal::test::AppRun> run;
    CSysPanelToolbar* bar = nullptr;
};

TEST_F(SysPanelToolbarTest, RegistryIsSortedKeepsTheFirstOfAnIdAndReleasesARejectedOneOnce) {
    start();
    int deleted = 0;
    auto* first = new Probe(&deleted);
    first->SetFlags(0x3);
    bar->RegisterControl(909, first, 60);
    first->InternalRelease();
    for (int id : {904, 915, 907}) {
        auto* probe = new Probe(&deleted);
        bar->RegisterControl(id, probe);
        probe->InternalRelease();
    }
    auto* duplicate = new Probe(&deleted);
    bar->RegisterControl(909, duplicate);
    EXPECT_EQ(deleted, 0); // measuring it left the caller's reference alone
    duplicate->InternalRelease();
    EXPECT_EQ(deleted, 1);

    EXPECT_EQ(registeredIds(), (std::vector<int>{904, 907, 909, 915}));
    EXPECT_EQ(bar->FindControlById(909), first);
    EXPECT_EQ(first->GetID(), 909);
    EXPECT_EQ(first->GetFlags(), CSysPanelToolbar::kManualUpdate);
    EXPECT_EQ(first->GetWidth(), 60);
    EXPECT_EQ(bar->FindControlById(905), nullptr);
    EXPECT_EQ(bar->GetControls()->GetCount(), 0); // measured, then taken out again
    bar->RegisterControl(1, nullptr);
    EXPECT_EQ(registeredIds().size(), 4u);
}

TEST_F(SysPanelToolbarTest, ButtonSizeStartsAt22ScaledAndGrowsToTheTallestControl) {
    struct Case {
        UINT dpi;
        int initial;
    };
    start();
    // The probes go with their bar, which outlives the case that made them.
    int deleted = 0;
    for (const Case c : {Case{96, 22}, Case{144, 33}}) {
        pal::test::setMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, c.dpi}});
        bar->InternalRelease();
        bar = new CSysPanelToolbar;
        EXPECT_EQ(bar->GetButtonSize(), CSize(c.initial, c.initial)) << c.dpi;
        auto* small = new Probe(&deleted, CSize(80, 20));
        bar->RegisterControl(907, small);
        small->InternalRelease();
        EXPECT_EQ(bar->GetButtonSize(), CSize(c.initial, c.initial));
        auto* tall = new Probe(&deleted, CSize(80, 40));
        bar->RegisterControl(914, tall);
        tall->InternalRelease();
        EXPECT_EQ(bar->GetButtonSize(), CSize(40, 40)) << c.dpi;
    }
}

TEST_F(SysPanelToolbarTest, RegistrationTableRegistersOnce) {
    start();
    bar->RegisterSyspanelControls();
    const std::vector<int> ids = registeredIds();
    for (int id : {904, 905, 906, 907, 908, 909, 910, 911, 912, 914, 915, 918, 2701})
        EXPECT_NE(bar->FindControlById(id), nullptr) << id;
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    auto* level = dynamic_cast<CSyspanelEdit*>(bar->FindControlById(907));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->GetName(), L"Level");
    EXPECT_EQ(level->GetFlags(), CSysPanelToolbar::kManualUpdate);
    bar->RegisterSyspanelControls();
    EXPECT_EQ(registeredIds(), ids);
}

TEST_F(SysPanelToolbarTest, CreateControlRequests) {
    start();
    int deleted = 0;
    auto* registered = new Probe(&deleted);
    bar->RegisterControl(904, registered);
    registered->InternalRelease();
    struct Case {
        UINT id;
        bool handled;
    };
    for (const Case c : {Case{1869, true}, Case{904, true}, Case{2701, true}, Case{2790, true},
                         Case{2791, false}, Case{2700, false}}) {
        XTP_COMMANDBARS_CREATECONTROL request;
        request.nID = c.id;
        EXPECT_EQ(bar->OnCreateControl(request), c.handled) << c.id;
        if (!c.handled) {
            EXPECT_EQ(request.pControl, nullptr);
            continue;
        }
        ASSERT_NE(request.pControl, nullptr);
        if (c.id == 904) {
            EXPECT_EQ(request.pControl, registered);
        }
        if (c.id == 1869) {
            EXPECT_EQ(request.pControl->GetType(), xtpControlButtonPopup);
            EXPECT_EQ(request.pControl->GetStyle(), xtpButtonIcon);
        }
        if (c.id >= 2701) {
            EXPECT_NE(dynamic_cast<Dravik::UI::SelectionFilterButton*>(request.pControl), nullptr);
        }
        request.pControl->InternalRelease();
    }
    EXPECT_EQ(deleted, 0); // the registry still holds the registered one
}

TEST_F(SysPanelToolbarTest, RunTimeClassAndCloneKeepTheClass) {
    start();
    EXPECT_STREQ(bar->GetRuntimeClass()->m_lpszClassName, "CSysPanelToolbar");
    CXTPCommandBar* clone = bar->Clone();
    EXPECT_NE(dynamic_cast<CSysPanelToolbar*>(clone), nullptr);
    clone->InternalRelease();
}

TEST_F(SysPanelToolbarTest, AFilterButtonTakenOffGetsItsOwnLookBack) {
    start();
    auto* filter = new Dravik::UI::SelectionFilterButton(2705, true);
    filter->InternalAddRef(); // ours, beside the list's
    bar->GetControls()->Add(filter, 2705);
    const CString own = filter->GetTooltip();
    filter->SetIconAndToolTip(77, L"Arcs only");
    filter->SetVisible(FALSE);
    bar->GetControls()->Remove(filter);
    EXPECT_EQ(filter->GetIconId(), 2705);
    EXPECT_EQ(filter->GetTooltip(), own);
    EXPECT_TRUE(filter->IsVisible());
    filter->InternalRelease();
}

TEST_F(SysPanelToolbarTest, ConfigurationNests) {
    start();
    bar->EndConfiguration(); // at depth 0: nothing
    EXPECT_EQ(bar->GetConfigurationDepth(), 0u);
    EXPECT_EQ(bar->GetFilterLayoutCount(), 0);
    bar->BeginConfiguration();
    bar->BeginConfiguration();
    bar->EndConfiguration();
    EXPECT_TRUE(bar->IsRedrawLocked());
    EXPECT_EQ(bar->GetFilterLayoutCount(), 0);
    bar->EndConfiguration();
    EXPECT_FALSE(bar->IsRedrawLocked());
    EXPECT_EQ(bar->GetFilterLayoutCount(), 1);
}

TEST_F(SysPanelToolbarTest, ValueOfADocumentNotActiveInTheFrameIsIgnoredButTheControlEnabled) {
    start();
    CDvw32Doc active;
    CDvw32Doc other;
    DocumentManager::Instance().AddDocument(&active);
    DocumentManager::Instance().AddDocument(&other);
    DocumentManager::Instance().SetActiveDocument(&active, app.frame->GetSafeHwnd());
    auto* edit = new CSyspanelEdit(L"Level", 2, -1.0);
    bar->RegisterControl(907, edit);
    edit->InternalRelease();
    edit->SetEnabled(FALSE);

    bar->SetRealValue(other.Cont2D(), 907, 5.0, 3);
    EXPECT_TRUE(edit->GetEnabled());
    EXPECT_EQ(bar->GetControlValue(907)->Real, 0.0);

    bar->SetRealValue(active.Cont2D(), 907, 5.5, 3);
    EXPECT_EQ(edit->GetEditText(), CString(L"5.5"));
    std::int32_t code = 0;
    EXPECT_EQ(bar->GetControlRealValue(907, code), 5.5);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(bar->GetControlRealValueAsInt(907, code), 5);
    EXPECT_EQ(bar->GetControlValue(908), nullptr);
    DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
    DocumentManager::Instance().RemoveDocument(&active);
    DocumentManager::Instance().RemoveDocument(&other);
}

TEST_F(SysPanelToolbarTest, CopiesAndFontsReachOnlyTheirOwnKindOfControl) {
    start();
    CDvw32Doc active;
    DocumentManager::Instance().AddDocument(&active);
    DocumentManager::Instance().SetActiveDocument(&active, app.frame->GetSafeHwnd());
    auto* level = new CSyspanelEdit(L"Level", 2, -1.0);
    bar->RegisterControl(907, level);
    level->InternalRelease();
    auto* font = new CFontComboBox(nullptr);
    font->AddString(L"Arial");
    font->AddString(L"Tahoma");
    bar->RegisterControl(914, font);
    font->InternalRelease();

    // The ribbon's copy of the level edit hands its value to the registered one.
    auto* ribbonLevel = new CSyspanelEdit(L"Level", 2, -1.0);
    ribbonLevel->SetID(907);
    ribbonLevel->SetValue(active.Cont2D(), SysPanelValue{2.5, 7, 0, L"2.5"});
    bar->CopyControlValue(ribbonLevel);
    EXPECT_EQ(level->GetValue()->Real, 2.5);
    EXPECT_EQ(level->GetValue()->Variable, 7);
    // A copy of another class under the same id is not taken.
    auto* stranger = new CFontComboBox(nullptr);
    stranger->SetID(907);
    bar->CopyControlValue(stranger);
    EXPECT_EQ(level->GetValue()->Real, 2.5);
    ribbonLevel->InternalRelease();
    stranger->InternalRelease();

    font->SetEnabled(FALSE);
    bar->SetFontValue(active.Cont2D(), 914, L"Tahoma");
    EXPECT_EQ(font->GetCurSel(), 1);
    EXPECT_TRUE(font->GetEnabled());
    bar->SetFontValue(active.Cont2D(), 914, L"No such font");
    EXPECT_EQ(font->GetCurSel(), 0);
    bar->SetFontValue(active.Cont2D(), 907, L"Tahoma"); // not a font combo box: nothing
    EXPECT_EQ(level->GetValue()->Text, L"2.5");

    bar->SetIntValue(active.Cont2D(), 907, 12);
    EXPECT_EQ(bar->GetControlIntValue(907), 0); // the numeric edit keeps reals only
    DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
    DocumentManager::Instance().RemoveDocument(&active);
}

TEST_F(SysPanelToolbarTest, DisableResetsExchangingControlsAndDisablesAll) {
    start();
    CDvw32Doc active;
    DocumentManager::Instance().AddDocument(&active);
    DocumentManager::Instance().SetActiveDocument(&active, app.frame->GetSafeHwnd());
    auto* edit = new CSyspanelEdit(L"Level", 2, -1.0);
    edit->SetID(907);
    bar->GetControls()->Add(edit);
    edit->SetValue(active.Cont2D(), SysPanelValue{4.0, 1, 0, L"4"});
    bar->GetControls()->Add(xtpControlButton, 2701);
    bar->EnableControl(2701, true);
    bar->SetControlState(907, true, false);
    bool checked = false, disabled = true;
    ASSERT_TRUE(bar->GetControlState(907, checked, disabled));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(disabled);
    EXPECT_FALSE(bar->GetControlState(999, checked, disabled));

    bar->DisableSystemPanelControls();
    EXPECT_EQ(*edit->GetValue(), SysPanelValue{});
    for (CXTPControl* control : *bar->GetControls())
        EXPECT_FALSE(control->GetEnabled()) << control->GetID();
    EXPECT_FALSE(bar->IsRedrawLocked());
    DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
    DocumentManager::Instance().RemoveDocument(&active);
}

TEST_F(SysPanelToolbarTest, CommandButtonsShowAtMostThirty) {
    start();
    std::vector<CSysPanelToolbar::CommandButton> buttons;
    for (int i = 0; i < 31; ++i)
        buttons.push_back({3000 + i, 100 + i, i % 2 == 0 ? 0u : 500u});
    EXPECT_TRUE(bar->SetCommandButtons(buttons));
    EXPECT_EQ(bar->GetControls()->GetCount(), 30);
    EXPECT_EQ(bar->FindControl(3030), nullptr);
    CXTPControl* withString = bar->FindControl(3001);
    ASSERT_NE(withString, nullptr);
    EXPECT_EQ(withString->GetIconId(), 101);
    EXPECT_EQ(withString->GetFlags(), CSysPanelToolbar::kManualUpdate);
    EXPECT_TRUE(withString->GetEnabled());
    CXTPControl* withoutString = bar->FindControl(3000);
    ASSERT_NE(withoutString, nullptr);
    EXPECT_EQ(withoutString->GetIconId(), 3000); // its icon comes through the image manager
    EXPECT_EQ(bar->GetCurrentFilterSet(), -1);
    EXPECT_EQ(bar->GetConfigurationDepth(), 0u);

    EXPECT_TRUE(bar->SetCommandButtons({}));
    EXPECT_EQ(bar->GetControls()->GetCount(), 0);
}

class CommandStates : public panels::test::FrameModule {
public:
    // 1289 enabled and checked, 1327 disabled; the others unknown.
    bool CommandStateGet(unsigned command, bool& enabled, bool& checked) const override {
        if (command != 1289 && command != 1327)
            return false;
        enabled = command == 1289;
        checked = command == 1289;
        return true;
    }
};

TEST_F(SysPanelToolbarTest, CommandDrivenControlsTakeTheirCommandsState) {
    start();
    CommandStates module;
    UIModuleProxy::Instance().SetModule(&module);
    for (int id : {922, 923, 952})
        bar->GetControls()->Add(xtpControlButton, id)->SetEnabled(id != 952 ? FALSE : TRUE);
    bar->UpdateControlStatesFromCommands();
    UIModuleProxy::Instance().SetModule(nullptr);
    struct Case {
        int id;
        bool enabled;
        bool checked;
        DWORD flags;
    };
    for (const Case c : {Case{922, true, true, CSysPanelToolbar::kManualUpdate}, Case{923, false, false, 0},
                         Case{952, false, false, CSysPanelToolbar::kManualUpdate}}) {
        CXTPControl* control = bar->FindControl(c.id);
        EXPECT_EQ(control->GetEnabled() != FALSE, c.enabled) << c.id;
        EXPECT_EQ(control->GetChecked() != FALSE, c.checked) << c.id;
        EXPECT_EQ(control->GetFlags(), c.flags) << c.id;
    }
}

TEST_F(SysPanelToolbarTest, LevelEditFollowsTheSelectionOnlyWhenItsObjectsAgree) {
    start();
    CommandStates module;
    module.frame = app.frame;
    UIModuleProxy::Instance().SetModule(&module);
    CXTPToolBar* panel = app.frame->GetCommandBars()->Add(L"System panel", xtpBarTop);
    auto* edit = new CSyspanelEdit(L"Level", 2, -1.0);
    panel->GetControls()->Add(edit, 907);
    CDvw32Doc doc;
    auto* view = new CDVView; // a view deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 200), app.frame, 1));
    ASSERT_EQ(GetControlFrame(edit), app.frame);
    ASSERT_EQ(ApplicationEventManager::listenerCount(515), 1u);
    const int level = ObjectParametersProvider::Instance().GetDescriptorByName(L"Level")->Id;
    auto select = [&](std::vector<double> levels) {
        doc.GetParameters().Selection.clear();
        for (double value : levels) {
            auto object = std::make_shared<CDVObject>();
            object->SetParameterValue(level, dveval::VariantParameter(dveval::RealValue{value, -1}));
            doc.GetParameters().Selection.push_back(object);
        }
    };
    struct Case {
        const char* what;
        std::vector<double> levels;
        unsigned flags;
        bool inCommand;
        double shown;
    };
    const Case cases[] = {
        {"equal levels show", {4, 4}, 0, false, 4}, {"different levels leave it", {4, 5}, 0, false, 4},
        {"flag 0x20 ignored", {6}, 0x20, false, 4}, {"a document in a command ignored", {6}, 0, true, 4},
        {"one object shows", {6}, 0, false, 6},
    };
    for (const Case& c : cases) {
        select(c.levels);
        if (c.inCommand)
            doc.BeginCommand(L"LINE");
        ApplicationEventArgs args(&doc, c.flags, view);
        ApplicationEventManager::runEvent(515, args);
        doc.EndCommand();
        EXPECT_EQ(edit->GetValue()->Real, c.shown) << c.what;
    }
    // Its own change (source 0) is not read back.
    select({9});
    ObjectsPropertiesChangedArgs own(&doc, 0, view);
    ApplicationEventManager::runEvent(1037, own);
    EXPECT_EQ(edit->GetValue()->Real, 6.0);
    view->DestroyWindow();
    UIModuleProxy::Instance().SetModule(nullptr);
}

} // namespace
