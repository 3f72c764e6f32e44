// A main frame with its ribbon, its first showing, the hooks of its close and the colour-book
// choice, on the null display.
#include "frame/ColorBook.h"
#include "frame/CommandBars.h"
#include "frame/FrameState.h"
#include "frame/MainFrame.h"
#include "ribbon/RibbonBar.h"

#include "picture_helpers.h"

#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "drawing_fixture.h"
#include "frame_fixtures.h"
#include "frame_sandbox.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "panels/SysPanelControls.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/FrameToolsApplication.h"
#include "win/ole/dataobject.h"
#include "win/ole/dragdrop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using frame_test::loadState;
namespace XML = Dravik::UI::XML;

constexpr UINT kDrawingResource = 430;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"}};
AFX_STRING_TABLE(kStrings);

CWinApp application(L"Dravik");

constexpr const wchar_t* kPdmTab = L"{29A47DB0-83AC-47B8-ACC9-EF364D9CD873}";

// What the frames ask of the application, recorded.
class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
    CWnd* GetDrawMenuWindow(bool create) override {
        return create ? panes_.get(1004, L"Draw menu") : nullptr;
    }
    CWnd* GetPropertiesWindow(bool create) override {
        return create ? panes_.get(1007, L"Properties") : nullptr;
    }
    CWnd* GetModelTreeWindow(bool create) override {
        return create ? panes_.get(1006, L"Model tree") : nullptr;
    }
    int GetPumpNesting() const override { return nesting; }
    void UpdateMainFrameTitles() override {
        for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
            frame->SetWindowText(L"DravikCad");
    }
    void OnIdle(long count) override { calls.push_back("idle " + std::to_string(count)); }
    void SignalSplashClose() override { calls.push_back("splash"); }
    void KeepPaneWindowStates() override { calls.push_back("keep panes"); }
    bool SaveAllModified() override { return saveAllModified ? saveAllModified() : true; }
    void ReapplyToolBarIconSize() override {
        calls.push_back("icon size");
        MainFrameApplication::ReapplyToolBarIconSize();
    }

    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }

    int nesting = 1;
    std::vector<DefaultToolBarRow> toolBars;
    std::vector<std::string> calls;
    std::function<bool()> saveAllModified;

private:
    frame_test::NamedPaneWindows panes_;
};

// The kernel's side of ending commands.
class KernelCallbacks : public DravikServerAppProxy {
public:
    void TerminateAllCommands(CDvw32Doc* document, bool all) override {
        ended.push_back(document);
        EXPECT_TRUE(all);
    }
    std::vector<CDvw32Doc*> ended;
};

// A listener of the colour-book event that answers as a person would.
class ColorBooks : public TypedApplicationEventListener<1026> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override {
        request = dynamic_cast<AlterColorSelectArgs*>(&args);
        ASSERT_NE(request, nullptr);
        seen = *request;
        if (answer) {
            request->Color = *answer;
            request->Chosen = true;
        }
    }
    std::optional<std::uint32_t> answer;
    AlterColorSelectArgs* request = nullptr;
    AlterColorSelectArgs seen;
};

// Receives the colour control's command.
class CommandWindow : public CWnd {
public:
    std::vector<WPARAM> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(wParam);
        return TRUE;
    }
};

class RibbonFrameTest : public frame_test::FrameSandbox<Application> {
protected:
    void SetUp() override {
        FrameSandbox::SetUp();
        kernel = std::make_unique<KernelCallbacks>();
    }
    void TearDown() override {
        destroyFrames();
        application.m_pMainWnd = nullptr;
        kernel.reset();
        FrameSandbox::TearDown();
    }
    CMainFrame* make() {
        CMainFrame* frame = CMainFrame::Create(*loadState("main_frame_ribbon.xml"), true, true);
        pal::test::pump();
        return frame;
    }
    CDvw32Doc* openDrawing(CMainFrame* frame) {
        return frame_test::openDrawing(application, frame, kDrawingResource);
    }
    std::unique_ptr<KernelCallbacks> kernel;
};

TEST_F(RibbonFrameTest, TheRibbonIsSetUpForItsFileButtonBackstageAndPdmPopup) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, frame->GetRibbonBar());
    ASSERT_NE(ribbon, nullptr) << "the program's ribbon";
    ASSERT_EQ(ribbon->GetTabCount(), 3) << "the tabs of the state's definition";
    ASSERT_NE(dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(0)), nullptr);
    EXPECT_EQ(ribbon->GetTab(0)->GetGroups()->GetCount(), 3);
    EXPECT_EQ(ribbon->GetSystemButton()->GetIconId(), 1);
    ASSERT_NE(ribbon->GetBackstageView(), nullptr);
    EXPECT_EQ(ribbon->GetBackstageView()->GetCommandBars(), frame->GetCommandBars());

    CXTPControlPopup* pdm = ribbon->GetOrsaPopup();
    ASSERT_NE(pdm, nullptr);
    EXPECT_EQ(ribbon->GetControls()->IndexOf(pdm), ribbon->GetControls()->GetCount() - 1);
    EXPECT_EQ(pdm->GetID(), 0x10000);
    EXPECT_EQ(pdm->GetStyle(), xtpButtonIconAndCaption);
    EXPECT_TRUE(pdm->GetFlags() & xtpFlagManualUpdate);
    CXTPControls* items = pdm->GetCommandBar()->GetControls();
    ASSERT_EQ(items->GetCount(), 3);
    const int ids[] = {2074, 2075, 1203};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items->GetAt(i)->GetID(), ids[i]);
        EXPECT_EQ(items->GetAt(i)->GetBeginGroup() != FALSE, ids[i] == 1203);
    }
    // Without a PDM system the popup and the PDM tab stay out of sight.
    EXPECT_FALSE(pdm->IsVisible());
    Dravik::UI::RibbonTab* pdmTab = ribbon->FindTabByGuid(kPdmTab);
    ASSERT_NE(pdmTab, nullptr);
    EXPECT_FALSE(pdmTab->IsVisible());
    EXPECT_TRUE(ribbon->GetTab(0)->IsVisible());
}

// The ribbon's controls of fixed ids are the frame's own; those whose twin on the system-panel
// tool bar is updated by hand are updated by hand too.
TEST_F(RibbonFrameTest, TheRibbonsControlsAreTheFramesAndFollowTheSystemPanel) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, frame->GetRibbonBar());
    ASSERT_NE(ribbon, nullptr);
    const auto parameters = [&] { return ribbon->GetTab(1)->GetGroups()->GetAt(1); };
    ASSERT_EQ(parameters()->GetCount(), 2);
    EXPECT_NE(dynamic_cast<CColorPopupControl*>(parameters()->GetAt(0)), nullptr);
    EXPECT_NE(dynamic_cast<CSyspanelEdit*>(parameters()->GetAt(1)), nullptr);

    // The panel registered its controls, each driven by hand, when the frame was made.
    auto* sysPanel = dynamic_cast<CSysPanelToolbar*>(frame->GetSystemPanelToolBar());
    ASSERT_NE(sysPanel, nullptr);
    ASSERT_EQ(parameters()->GetAt(1)->GetID(), 907);
    const int colourId = parameters()->GetAt(0)->GetID();
    ASSERT_NE(sysPanel->FindControlById(907), nullptr);
    ASSERT_NE(sysPanel->FindControlById(colourId), nullptr);
    EXPECT_TRUE(parameters()->GetAt(1)->GetFlags() & xtpFlagManualUpdate);
    EXPECT_TRUE(parameters()->GetAt(0)->GetFlags() & xtpFlagManualUpdate);

    // A twin the panel no longer drives by hand leaves its ribbon copy to the command routing.
    sysPanel->FindControlById(colourId)->SetFlags(0);
    frame->ApplyState(*loadState("main_frame_ribbon.xml"), false, false);
    EXPECT_TRUE(parameters()->GetAt(1)->GetFlags() & xtpFlagManualUpdate);
    EXPECT_FALSE(parameters()->GetAt(0)->GetFlags() & xtpFlagManualUpdate);
}

// What a person sees of a frame in ribbon mode: the ribbon with its tabs and groups over the
// documents' area, in a light and a dark theme.
TEST_F(RibbonFrameTest, AFrameInRibbonModeShowsItsRibbonInEachTheme) {
    std::vector<COLORREF> groupFaces;
    for (const char* theme : {"office2013light", "office2013dark"}) {
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(pal::text::fromUtf8(theme)));
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        for (int size : {16, 32})
            frame_test::GiveCommandGlyphs(frame->GetCommandBars()->GetImageManager(), size);
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        frame->ShowFirstTime();
        frame->RecalcLayout();
        pal::test::pump();
        auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, frame->GetRibbonBar());
        ASSERT_NE(ribbon, nullptr);
        ASSERT_TRUE(ribbon->IsWindowVisible());
        EXPECT_FALSE(frame->GetMenuBar()->IsVisible()) << "the ribbon stands in for the menu bar";
        ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, std::string("ribbon-main-window-") + theme));

        const auto picture = pal::test::snapshot(ribbon->m_hWnd, true);
        // The large Line button shows the command's own picture: its stroke in the icon's blue.
        CXTPControl* line = ribbon->GetTab(0)->GetGroups()->GetAt(1)->GetAt(0);
        ASSERT_EQ(line->GetID(), 1300);
        const CRect rect = line->GetRect();
        ASSERT_FALSE(rect.IsRectEmpty());
        bool stroke = false;
        for (int y = rect.top; y < rect.top + 40 && !stroke; ++y)
            for (int x = rect.left; x < rect.right && !stroke; ++x)
                stroke = picture.pixel(x, y) == frame_test::kGlyphColor;
        EXPECT_TRUE(stroke) << theme;
        groupFaces.push_back(
            picture.pixel(ribbon->GetGroupsRect().right - 20, ribbon->GetGroupsRect().top + 20));

        CRect client, bar;
        frame->GetClientRect(&client);
        ribbon->GetWindowRect(&bar);
        frame->ScreenToClient(&bar);
        EXPECT_EQ(bar.top, client.top) << "the ribbon heads the window";
        frame->DestroyWindow();
        pal::test::pump();
    }
    UIModuleProxy::Instance().SetTheme(L"office2013light");
    ASSERT_EQ(groupFaces.size(), 2u);
    EXPECT_GT(GetRValue(groupFaces[0]), 200) << "light ribbon";
    EXPECT_LT(GetRValue(groupFaces[1]), 100) << "dark ribbon";
}

TEST_F(RibbonFrameTest, TheFirstShowingRunsTheIdleWorkAndClosesTheSplashOnce) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    frame->ShowFirstTime();
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(frame->IsWindowVisible());
    frame->ShowFirstTime();
    EXPECT_EQ(app->calls, (std::vector<std::string>{"idle 0", "splash"}));
}

TEST_F(RibbonFrameTest, AFrameIsADropTargetForLibraryData) {
    ASSERT_EQ(::OleInitialize(nullptr), S_OK);
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsDropTargetRegistered());
    COleDropTarget another;
    EXPECT_FALSE(another.Register(frame)) << "the window holds the frame's own target";
    frame->DestroyWindow();
    pal::test::pump();
    ::OleUninitialize();
}

// Closing ends the commands of the active document at once, even while a nested loop defers
// the close itself; the pane windows keep their state only when the close goes on.
TEST_F(RibbonFrameTest, ClosingEndsTheActiveDocumentsCommandsFirst) {
    struct Case {
        const char* name;
        bool document;
        int nesting;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"nested loop", true, 2, {}},
        {"main loop", true, 1, {"keep panes"}},
        {"no document", false, 1, {"keep panes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMainFrame* frame = make();
        ASSERT_NE(frame, nullptr);
        CDvw32Doc* drawing = c.document ? openDrawing(frame) : nullptr;
        if (c.document) {
            ASSERT_NE(drawing, nullptr);
            ASSERT_EQ(frame->GetActiveFrame()->GetActiveDocument(), drawing);
        }
        app->calls.clear();
        kernel->ended.clear();
        app->nesting = c.nesting;
        const HWND hwnd = frame->m_hWnd;
        frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(kernel->ended, c.document ? std::vector<CDvw32Doc*>{drawing} : std::vector<CDvw32Doc*>{});
        EXPECT_EQ(app->calls, c.calls);
        app->nesting = 1;
        pal::test::pump(); // the close posted again
        EXPECT_EQ(::IsWindow(hwnd), FALSE) << "closed in the end";
    }
}

// A definition applied while a drawing is open shows the contextual tabs of that drawing and
// no other: each tab it makes would otherwise show until the drawings were switched.
TEST_F(RibbonFrameTest, ADefinitionAppliedShowsOnlyTheActiveDrawingsContextualTabs) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    drawing->SetKeywordList({L"weld"});
    std::shared_ptr<MainFrameState> state = loadState("main_frame_ribbon.xml");
    ASSERT_TRUE(state->ribbonBar);
    for (const wchar_t* tag : {L"weld", L"sheetmetal"}) {
        XML::RibbonTab tab;
        tab.caption = tag;
        tab.tags = {tag};
        state->ribbonBar->tabs.push_back(tab);
    }
    frame->ApplyState(*state, false, false);
    CXTPRibbonBar* ribbon = frame->GetRibbonBar();
    const auto shown = [&](const wchar_t* caption) -> std::optional<bool> {
        for (int i = 0; i < ribbon->GetTabCount(); ++i)
            if (ribbon->GetTab(i)->GetCaption() == caption)
                return ribbon->GetTab(i)->IsVisible() != FALSE;
        return std::nullopt;
    };
    EXPECT_EQ(shown(L"weld"), std::optional<bool>(true)) << "the drawing's keyword";
    EXPECT_EQ(shown(L"sheetmetal"), std::optional<bool>(false)) << "another drawing's";
    drawing->OnCloseDocument();
    pal::test::pump();
}

// While the frame asks its questions no document may be shown in it; a refused close frees it.
TEST_F(RibbonFrameTest, AClosingFrameIsKeptFromTheDocumentTemplate) {
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(openDrawing(frame), nullptr);
    CDVDocTemplate* drawings = CDVDocTemplate::AutoMainFrame::FindDocTemplate();
    ASSERT_NE(drawings, nullptr);
    std::optional<bool> closingWhileAsked;
    app->saveAllModified = [&] {
        closingWhileAsked = drawings->IsMainFrameClosing(frame);
        return false;
    };
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(frame->m_hWnd));
    EXPECT_EQ(closingWhileAsked, true);
    EXPECT_FALSE(drawings->IsMainFrameClosing(frame));
    app->saveAllModified = nullptr;
}

TEST_F(RibbonFrameTest, AColourChosenFromTheBooksBecomesTheColourControlsValue) {
    NativeSettings::Settings& settings = GetSettings();
    const std::wstring savedFolder = settings.colorBooksFolder;
    struct Case {
        const char* name;
        bool document;
        std::optional<std::uint32_t> answer;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"blue chosen", true, RGB(0, 0, 0xFF), static_cast<int>(0xFF000000u)},
        {"nothing chosen", true, std::nullopt, std::nullopt},
        {"no document", false, RGB(0, 0, 0xFF), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColorBooks books;
        books.answer = c.answer;
        CommandWindow owner;
        ASSERT_TRUE(
            owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        CDvw32Doc drawing;
        const bool chosen =
            dvframe::ChooseColorFromBooks(owner.m_hWnd, c.document ? &drawing : nullptr, POINT{300, 200});
        EXPECT_EQ(chosen, c.value.has_value());
        EXPECT_EQ(drawing.Cont2D()->get_syspanel_int(904), c.value);
        EXPECT_EQ(owner.commands, c.value ? std::vector<WPARAM>{904} : std::vector<WPARAM>{});
        if (c.document) {
            EXPECT_EQ(books.seen.Owner, owner.m_hWnd);
            EXPECT_EQ(books.seen.Position.left, 300);
            EXPECT_EQ(books.seen.Position.bottom, 200);
            EXPECT_FALSE(books.seen.ColorBooksFolder.empty());
        } else {
            EXPECT_EQ(books.request, nullptr) << "no document, no question";
        }
        owner.DestroyWindow();
    }
    // A folder of the settings is taken in place of the program's own.
    settings.colorBooksFolder = L"/srv/books";
    EXPECT_EQ(dvframe::ColorBooksFolder(), TemplateFolderToFullPath(L"/srv/books"));
    settings.colorBooksFolder = savedFolder;
}

TEST_F(RibbonFrameTest, ACloneSharesThePaneIconsAndTabLayoutsAndReappliesTheIconSize) {
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    first->GetPaneManager().GetTabPaintManager()->SetLayout(xtpTabLayoutSizeToFit);
    first->GetPaneManager().GetPanelPaintManager()->SetLayout(xtpTabLayoutFixed);
    app->calls.clear();
    CMainFrame* clone = first->Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(app->calls, std::vector<std::string>{"icon size"});
    EXPECT_EQ(clone->GetPaneManager().GetImageManager(), first->GetPaneManager().GetImageManager());
    EXPECT_EQ(clone->GetPaneManager().GetTabPaintManager()->GetLayout(), xtpTabLayoutSizeToFit);
    EXPECT_EQ(clone->GetPaneManager().GetPanelPaintManager()->GetLayout(), xtpTabLayoutFixed);
    auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, clone->GetRibbonBar());
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(ribbon->GetTabCount(), 3) << "the clone has the first frame's ribbon";
    ASSERT_NE(ribbon->GetOrsaPopup(), nullptr);
}

TEST_F(RibbonFrameTest, TheDefaultBarsAndTheAutoMenuBarsAreTheProgramsOwn) {
    DefaultToolBarRow row;
    row.name = L"Snaps";
    row.barId = 1065;
    row.kind = 2;
    row.ids = {32771, 32772};
    app->toolBars = {row};
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    CXTPToolBar* bar = frame->GetCommandBars()->GetToolBar(1065);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsKindOf(RUNTIME_CLASS(CDVToolBar))) << "a bar a person can fix in place";
    EXPECT_TRUE(Dravik::UI::IsFixable(bar));
    ASSERT_NE(frame->GetAutoMenuCommandBars(), nullptr);
    EXPECT_TRUE(frame->GetAutoMenuCommandBars()->IsKindOf(RUNTIME_CLASS(CDVAutoMenuCommandBars)));
}

TEST_F(RibbonFrameTest, TheActiveDrawingsRunningCommandIsTheFramesActiveCommand) {
    DVCommandContainer::Instance().RegisterCommand(3333, L"DrawLine", {});
    CMainFrame* frame = make();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetActiveCommandId(), 0) << "no drawing";
    CDvw32Doc* drawing = openDrawing(frame);
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(frame->GetActiveCommandId(), 0) << "nothing runs";
    struct Case {
        const wchar_t* command;
        int id;
    };
    for (const Case c : {Case{L"DrawLine", 3333}, Case{L"drawline", 3333}, Case{L"NoSuchCommand", -1}}) {
        SCOPED_TRACE(pal::text::toUtf8(c.command));
        ASSERT_TRUE(drawing->BeginCommand(c.command));
        EXPECT_EQ(frame->GetActiveCommandId(), c.id) << "a command without an id still runs";
        drawing->EndCommand();
        EXPECT_EQ(frame->GetActiveCommandId(), 0);
    }
}

TEST_F(RibbonFrameTest, ThePanesFollowTheSettingsLockInEveryFrame) {
    NativeSettings::Settings& settings = GetSettings();
    const bool saved = settings.lockDockingPanes;
    settings.lockDockingPanes = true;
    CMainFrame* first = make();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->GetPaneManager().IsPanesLocked()) << "a new frame starts locked";
    settings.lockDockingPanes = false;
    CMainFrame* second = make();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->GetPaneManager().IsPanesLocked());
    for (bool locked : {true, false}) {
        first->SendMessage(WM_COMMAND, 903);
        EXPECT_EQ(settings.lockDockingPanes, locked);
        for (CMainFrame* frame : {first, second})
            EXPECT_EQ(frame->GetPaneManager().IsPanesLocked() != FALSE, locked);
    }
    settings.lockDockingPanes = saved;
}

} // namespace
