#include "startup_fixture.h"

#include "app/PaneWindowSlots.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/SystemPanelValues.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/ErrorWindowBase.h"
#include "docbrowser/Clipart.h"

#include <algorithm>
#include <string>

#include <memory>
#include <vector>

namespace dvapp::test {
namespace {

// What the panes and the application's listeners heard, in order.
struct Heard {
    std::vector<int> panes;
    std::vector<CDvw32Doc*> events;
};

class FollowingPane : public Dravik::UI::DockingPaneChildWindow, public ActiveDocumentFollower {
public:
    FollowingPane(int id, Heard& heard, CDvw32App& app) : id_(id), heard_(heard), app_(app) {}
    void SetActiveDocument(CDvw32Doc*, CDvw32Doc* document) override {
        heard_.panes.push_back(id_);
        shown = document;
        // A pane that activates a document itself is not heard meanwhile.
        if (activates != nullptr)
            app_.SetActiveDocument(activates);
    }
    CDvw32Doc* activates = nullptr;
    CDvw32Doc* shown = nullptr;

private:
    int id_;
    Heard& heard_;
    CDvw32App& app_;
};

// The diagnostics pane, showing a document's dialog until it is cleared.
class ErrorPane : public Dravik::UI::DockingPaneChildWindow, public Dravik::UI::ErrorWindowBase {};

class EventRecorder : public TypedApplicationEventListener<258> {
public:
    explicit EventRecorder(Heard& heard) : heard_(heard) {}
    void OnApplicationEvent(int, ApplicationEventArgs& args) override {
        heard_.events.push_back(args.Document);
    }

private:
    Heard& heard_;
};

class ActiveDocument : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
        app->GetPaneWindowSlots().SetWindowFactory([this](int id) -> std::unique_ptr<CWnd> {
            if (id == 1005)
                return std::make_unique<ErrorPane>();
            return std::make_unique<FollowingPane>(id, heard, *app);
        });
        // Every pane that follows the document exists, made in an order of their own.
        for (const int id :
             {1038, 1019, 1010, 1007, 1023, 1031, 1011, 1036, 1022, 1029, 1017, 1035, 1020, 1032, 1021, 1030})
            app->GetDockingPaneWindow(id, true);
        CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    }
    void TearDown() override {
        CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
        app.reset();
        StartupTest::TearDown();
    }
    FollowingPane& pane(int id) { return *static_cast<FollowingPane*>(app->GetDockingPaneWindow(id, false)); }

    Heard heard;
    EventRecorder recorder{heard};
    std::unique_ptr<DravikApp> app;
    CDvw32Doc first, second;
};

TEST_F(ActiveDocument, ThePanesHearTheNewDocumentInTheirOrderOnceAndTheEventFollows) {
    app->SetActiveDocument(&first);
    EXPECT_EQ(app->GetActiveDocument(), &first);
    // The PDM assembly pane (1019) is heard only while it can show something, which needs a
    // connected PDM system.
    EXPECT_EQ(heard.panes, (std::vector<int>{1007, 1029, 1035, 1030, 1031, 1032, 1036, 1010, 1017, 1021, 1011,
                                             1020, 1022, 1023, 1038}));
    EXPECT_EQ(heard.events, std::vector<CDvw32Doc*>{&first});

    heard = {};
    app->SetActiveDocument(&first);
    EXPECT_TRUE(heard.panes.empty()) << "the same document again tells nobody";
    EXPECT_TRUE(heard.events.empty());

    // A document on its way out counts as none.
    second.SetFlag(16384);
    app->SetActiveDocument(&second);
    EXPECT_EQ(app->GetActiveDocument(), nullptr);
}

TEST_F(ActiveDocument, AnEditInPlacePairLeavesThePanesAloneButIsStoredAndAnnounced) {
    struct Case {
        const char* name;
        bool firstNamesSecond, secondNamesFirst;
    };
    const Case cases[] = {{"the old names the new", true, false}, {"the new names the old", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDvw32Doc host, inPlace;
        app->SetActiveDocument(&host);
        host.SetEditInPlaceDocuments(c.firstNamesSecond ? &inPlace : nullptr, nullptr);
        inPlace.SetEditInPlaceDocuments(nullptr, c.secondNamesFirst ? &host : nullptr);
        heard = {};
        app->SetActiveDocument(&inPlace);
        EXPECT_EQ(app->GetActiveDocument(), &inPlace);
        EXPECT_TRUE(heard.panes.empty());
        EXPECT_EQ(heard.events, std::vector<CDvw32Doc*>{&inPlace});
        app->SetActiveDocument(nullptr);
    }
}

TEST_F(ActiveDocument, NoneResetsTheSystemPanelsSelectionValues) {
    app->SetActiveDocument(&first);
    for (const int id : {911, 907, 909})
        set_syspanel_intvar(nullptr, id, 5, 3);
    app->SetActiveDocument(nullptr);
    EXPECT_EQ(get_syspanel_int(nullptr, 911).value, 0);
    for (const int id : {907, 909})
        EXPECT_EQ(get_syspanel_int(nullptr, id), (SysPanelIntValue{0, -1})) << id;
    EXPECT_EQ(heard.events.back(), nullptr);
    clear_syspanel_values(nullptr);
}

TEST_F(ActiveDocument, ANewDocumentsSelectionValuesResetOnlyWhenTheThreeDModuleAsks) {
    struct Case {
        const char* name;
        bool attached, stateA, stateB, inCommand, reset;
    };
    const Case cases[] = {
        {"the module asks", true, true, false, false, true},
        {"attached but not asking", true, false, false, false, false},
        {"its second state holds", true, true, true, false, false},
        {"a command runs", true, true, false, true, false},
        {"no 3D module", false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.attached)
            CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
        CDVCom_Is3D::SetStates(c.stateA, c.stateB);
        CDvw32Doc document;
        if (c.inCommand)
            document.BeginCommand(L"LINE");
        for (const int id : {911, 907, 909})
            set_syspanel_intvar(document.Cont2D(), id, 4, 2);
        app->SetActiveDocument(&document);
        const SysPanelIntValue rest{0, -1}, kept{4, 2};
        for (const int id : {907, 909})
            EXPECT_EQ(get_syspanel_int(document.Cont2D(), id), c.reset ? rest : kept) << id;
        EXPECT_EQ(get_syspanel_int(document.Cont2D(), 911).value, c.reset ? 0 : 4);
        // The frame reads the module's question through the same function.
        EXPECT_EQ(CDVCom_Is3D::AsksToResetDrawingControls(), c.attached && c.stateA && !c.stateB);
        app->SetActiveDocument(nullptr);
        clear_syspanel_values(document.Cont2D());
        if (!c.attached)
            CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    }
    CDVCom_Is3D::SetStates(false, false);
    clear_syspanel_values(nullptr);
}

TEST_F(ActiveDocument, ANestedChangeIsIgnoredAndAClosedDocumentNeverStaysActive) {
    pane(1007).activates = &second;
    app->SetActiveDocument(&first);
    EXPECT_EQ(app->GetActiveDocument(), &first) << "the properties pane's own activation is not heard";
    EXPECT_EQ(heard.events, std::vector<CDvw32Doc*>{&first});

    // The kernel closes the active document while a change is under way.
    pane(1007).activates = nullptr;
    struct Closer : TypedApplicationEventListener<258> {
        CDvw32App* app = nullptr;
        CDvw32Doc* closing = nullptr;
        void OnApplicationEvent(int, ApplicationEventArgs&) override {
            if (closing != nullptr)
                app->ForgetDocument(std::exchange(closing, nullptr));
        }
    } closer;
    closer.app = app.get();
    closer.closing = &second;
    app->SetActiveDocument(&second);
    EXPECT_EQ(app->GetActiveDocument(), nullptr);

    app->SetActiveDocument(&first);
    app->ForgetDocument(&second);
    EXPECT_EQ(app->GetActiveDocument(), &first) << "another document's close changes nothing";
    app->ForgetDocument(&first);
    EXPECT_EQ(app->GetActiveDocument(), nullptr);
}

// What the kernel's objects heard of the switch, in order, from its record.
std::vector<std::string> kernelHeard() {
    std::vector<std::string> heard;
    for (const std::string& call : dvtrace::test::callsOf("DravikKernel"))
        if (call.find("Deactivated") != std::string::npos || call.find("CDVCom_Is3D::") != std::string::npos)
            heard.push_back(call.substr(0, call.find('(')));
    return heard;
}

TEST_F(ActiveDocument, TheLeftDocumentTheThreeDModuleTheModelTreesAndTheAssemblyPaneFollow) {
    ModelTreeClipart tree;
    CDvw32Doc assembly;
    second.SetAssemblyDocument(&assembly);
    app->SetActiveDocument(&first);
    EXPECT_EQ(tree.GetDocument(), &first);
    EXPECT_EQ(pane(1023).shown, &first) << "a document outside an assembly is shown itself";

    dvtrace::test::clear();
    app->SetActiveDocument(&second);
    EXPECT_EQ(kernelHeard(), (std::vector<std::string>{"DravikServerAppProxy::OnDocumentDeactivated",
                                                       "CDVCom_Is3D::SetActiveDocument",
                                                       "CDVCom_Is3D::OnActiveDocumentSettled"}));
    EXPECT_EQ(tree.GetDocument(), &second);
    EXPECT_EQ(pane(1023).shown, &assembly) << "the assembly pane shows the assembly the part is edited in";
    EXPECT_EQ(pane(1007).shown, &second);

    // An edit-in-place switch: the 3D module learns the document once, and the panes nothing.
    second.SetEditInPlaceDocuments(&first, nullptr);
    dvtrace::test::clear();
    app->SetActiveDocument(&first);
    EXPECT_EQ(kernelHeard(), std::vector<std::string>{"CDVCom_Is3D::SetActiveDocument"});
    EXPECT_EQ(tree.GetDocument(), &first);

    // Nothing was active before: nothing was left.
    app->SetActiveDocument(nullptr);
    dvtrace::test::clear();
    app->SetActiveDocument(&second);
    const std::vector<std::string> heardFirst = kernelHeard();
    EXPECT_EQ(std::count(heardFirst.begin(), heardFirst.end(), "DravikServerAppProxy::OnDocumentDeactivated"),
              0);
    app->SetActiveDocument(nullptr);
    EXPECT_EQ(tree.GetDocument(), nullptr);
}

TEST_F(ActiveDocument, NoneClearsTheErrorWindowAndClosesTheAnnotatePanel) {
    auto* errors = dynamic_cast<ErrorPane*>(app->GetErrorWindow(true));
    ASSERT_NE(errors, nullptr);
    CWnd* form = app->GetPropertiesWindow(false);
    ASSERT_TRUE(form != nullptr && form->m_hWnd != nullptr);
    CWnd dialog, panel;
    ASSERT_TRUE(dialog.Create(L"STATIC", L"", WS_CHILD, CRect(0, 0, 10, 10), form, 31));
    ASSERT_TRUE(panel.Create(L"STATIC", L"", WS_CHILD, CRect(0, 0, 10, 10), form, 32));

    app->SetActiveDocument(&first);
    errors->SetActiveWnd(&dialog);
    app->SetActiveDocument(&second);
    EXPECT_EQ(errors->GetActiveWnd(), &dialog) << "another document is no reason to clear";
    EXPECT_TRUE(::IsWindow(panel.m_hWnd));

    app->SetActiveDocument(nullptr);
    EXPECT_EQ(errors->GetActiveWnd(), nullptr);
    EXPECT_FALSE(::IsWindow(panel.m_hWnd)) << "the annotate panel closes with the last document";
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd)) << "the form's other children stay";
    dialog.DestroyWindow();
}

} // namespace
} // namespace dvapp::test
