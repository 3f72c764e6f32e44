// What add-ons make through the kernel's callback object: commands with their icons in every
// image manager, tool bars found by key and name in every main frame, and the kernel's view of
// its docking panes. Each request goes through DravikServerAppProxy::Instance(), as the kernel
// makes it, with no, one and three main frames.
#include "startup_fixture.h"

#include "app/AppCustomToolBar.h"
#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"
#include "ribbon/CommandDescriptions.h"
#include "ribbon/FindCommandWnd.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/PaneForm.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "XTToolkitPro.h"
#include "ribbon/ApplicationMode.h"

#include <string>
#include <vector>

namespace dvapp::test {
namespace {

constexpr const char kSvg[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
                              R"(<rect width="16" height="16" fill="#c00"/></svg>)";

int g_helloRuns = 0;
int Hello(std::int64_t) {
    ++g_helloRuns;
    return 0;
}

class ServerAppProxyAddOns : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
    void TearDown() override {
        dvkernel::test::setCreateToolsMode(false);
        dropFrames();
        UIModuleProxy::Instance().SetMainWindow(nullptr);
        SetFixedEditionCode(0);
        StartupTest::TearDown();
    }

    static DravikServerAppProxy& kernel() { return *DravikServerAppProxy::Instance(); }

    static void dropFrames() {
        for (CMainFrame* frame : CDvw32App::GetMainFrames()) {
            UIModuleProxy::Instance().RemoveMainFrame(frame);
            frame->DestroyWindow();
        }
    }

    std::vector<CMainFrame*> frames(int count) {
        std::vector<CMainFrame*> made;
        for (int i = 0; i < count; ++i) {
            auto* frame = new CMainFrame;
            EXPECT_TRUE(frame->Create(nullptr, L"frame"));
            UIModuleProxy::Instance().AddMainFrame(frame);
            if (UIModuleProxy::Instance().GetMainWindow() == nullptr)
                UIModuleProxy::Instance().SetMainWindow(frame);
            made.push_back(frame);
        }
        return made;
    }
    static CXTPImageManager& imagesOf(CMainFrame* frame) {
        return *frame->GetCommandBars()->GetImageManager();
    }
};

TEST_F(ServerAppProxyAddOns, TheModeFlagsFollowTheEditionCode) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {1, 0}, {2, 2}, {4, 6}, {8, 14}, {16, 0}, {32, 0}, {128, 46}, {256, 78}, {512, 142}};
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code);
        SetFixedEditionCode(code);
        std::uint32_t flags = 77;
        EXPECT_EQ(kernel().GetApplicationModeFlags(flags), expected);
        EXPECT_EQ(flags, expected) << "written to the caller's value too";
        EXPECT_EQ(kernel().IsAlderMode(), code == 128);
        EXPECT_EQ(kernel().IsBirchMode(), code == 256);
        EXPECT_EQ(kernel().IsAlderAdministratorMode(), code == 512);
    }
}

TEST_F(ServerAppProxyAddOns, ApplicationCommandIdsAreThoseFrom17000To32000) {
    for (const auto& [id, expected] :
         {std::pair{16999u, false}, {17000u, true}, {32000u, true}, {32001u, false}})
        EXPECT_EQ(kernel().IsApplicationCommandId(id), expected) << id;
}

// A command is taken only while the application creates its tools; it then runs as the kernel
// command of the add-on's own number, and its tip takes the add-on's texts.
TEST_F(ServerAppProxyAddOns, ACommandRegisteredWhileToolsAreMadeRunsTheAddOnsCommandWithItsTip) {
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        dropFrames();
        frames(count);
        const unsigned internalId = 64100 + count;
        DVCommandContainer::Instance().RegisterCommand(
            new DVSystemCommand(internalId, L"Test.Hello", &Hello, nullptr, {}), internalId);
        const CommandTooltipInfo tip{L"Greet", L"Says hello", L"More about greeting"};
        EXPECT_EQ(kernel().RegisterAppCommand(std::make_unique<CDVAppCommand>(L"Test", internalId, false), 0,
                                              nullptr, nullptr, &tip),
                  0u)
            << "outside the tool creation";
        dvkernel::test::setCreateToolsMode(true);
        const UINT id = kernel().RegisterAppCommand(
            std::make_unique<CDVAppCommand>(L"Test", internalId, false), 0, nullptr, nullptr, &tip);
        dvkernel::test::setCreateToolsMode(false);
        ASSERT_TRUE(kernel().IsApplicationCommandId(id));
        EXPECT_EQ(kernel().GetApplicationCommand(id)->GetInternalID(), static_cast<int>(internalId));
        const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
        ASSERT_TRUE(strings.has_value());
        EXPECT_EQ(strings->Caption, L"Greet");
        EXPECT_EQ(strings->Description, L"Says hello");
        EXPECT_EQ(strings->Extended, L"More about greeting");
        // Its card: application commands have no description files, so these texts are all.
        const CommandDescriptionRecord* card = ReadCommandDescription(id, nullptr, 0xF2F2F2);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->title, L"Greet");
        EXPECT_EQ(card->description, L"Says hello");
        EXPECT_EQ(card->extendedDescription, L"More about greeting");
        EXPECT_EQ(card->name, L"Test.Hello");
        const int before = g_helloRuns;
        kernel().OnApplicationCommand(id);
        EXPECT_EQ(g_helloRuns, before + 1);
    }
}

// A find-command pane already made is told of a command registered with a caption: its list is
// rebuilt rather than left without the new command.
TEST_F(ServerAppProxyAddOns, ACommandRegisteredWithACaptionTellsAFindCommandPaneAlreadyMade) {
    frames(1);
    auto* find = dynamic_cast<CFindCommandWnd*>(app->GetFindCommandWindow(true));
    ASSERT_NE(find, nullptr);
    ASSERT_NE(find->GetDialog(), nullptr);
    find->GetDialog()->RefreshList();
    ASSERT_TRUE(find->GetDialog()->IsListCurrent());
    const CommandTooltipInfo tip{L"Zigzag greeting", L"Says hello", L""};
    dvkernel::test::setCreateToolsMode(true);
    const UINT id = kernel().RegisterAppCommand(std::make_unique<CDVAppCommand>(L"Test", 64110u, false), 0,
                                                nullptr, nullptr, &tip);
    dvkernel::test::setCreateToolsMode(false);
    ASSERT_TRUE(kernel().IsApplicationCommandId(id));
    EXPECT_FALSE(find->GetDialog()->IsListCurrent()) << "the pane rebuilds its list";
}

TEST_F(ServerAppProxyAddOns, AnSvgIconReachesEveryImageManagerAndDataOfNoImageChangesNothing) {
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        dropFrames();
        const std::vector<CMainFrame*> made = frames(count);
        const UINT id = 17100 + count;
        kernel().SetCommandIcon(id, "not an image", 12);
        kernel().SetCommandIcon(id, static_cast<const void*>(nullptr), 10);
        EXPECT_EQ(XTPImageManager()->GetImage(id), nullptr);
        kernel().SetCommandIcon(id, kSvg, sizeof kSvg - 1);
        EXPECT_TRUE(XTPImageManager()->IsVectorIcon(id));
        for (CMainFrame* frame : made)
            EXPECT_TRUE(imagesOf(frame).IsVectorIcon(id));
        // Copied from one image manager's icon, and taken away when a command has no icon.
        kernel().SetCommandIcon(id + 10, *XTPImageManager()->GetImage(id, 16));
        for (CMainFrame* frame : made)
            EXPECT_TRUE(imagesOf(frame).IsVectorIcon(id + 10));
        dvkernel::test::setCreateToolsMode(true);
        const UINT registered = kernel().RegisterAppCommand(
            std::make_unique<CDVAppCommand>(L"Icons", 5, false), 0, nullptr, nullptr, nullptr);
        dvkernel::test::setCreateToolsMode(false);
        kernel().SetCommandIcon(registered, kSvg, sizeof kSvg - 1);
        dvkernel::test::setCreateToolsMode(true);
        kernel().RegisterAppCommand(std::make_unique<CDVAppCommand>(L"Icons", 5, false), 0, nullptr, nullptr,
                                    nullptr);
        dvkernel::test::setCreateToolsMode(false);
        EXPECT_EQ(XTPImageManager()->GetImage(registered), nullptr) << "no icon given: the old one goes";
    }
}

// An add-on's bar is set in every frame that holds it, even past a frame without it, and the
// answer says that one frame lacked it.
TEST_F(ServerAppProxyAddOns, ShowingAnApplicationToolbarSetsEveryFrameHoldingIt) {
    const std::vector<CMainFrame*> made = frames(3);
    dvkernel::test::setCreateToolsMode(true);
    const UINT id = kernel().CreateCustomToolbar(L"AddOn", L"Tools", {17001}, true);
    dvkernel::test::setCreateToolsMode(false);
    EXPECT_EQ(id, CDVAppCustomToolBar::kFirstBarId);
    for (CMainFrame* frame : {made[2], made[0]}) {
        auto* bar = new CDVAppCustomToolBar;
        ASSERT_TRUE(frame->GetCommandBars()->Add(bar, L"Tools", xtpBarTop));
        bar->SetIdentity(L"AddOn", L"Tools");
        bar->SetBarID(id);
    }
    CXTPCommandBars& lacking = *made[1]->GetCommandBars();
    lacking.Remove(CDVAppCustomToolBar::Find(lacking, L"AddOn", L"Tools"));

    EXPECT_FALSE(kernel().ShowApplicationToolbar(L"AddOn", L"Tools", false));
    for (CMainFrame* frame : {made[0], made[2]})
        EXPECT_FALSE(CDVAppCustomToolBar::Find(*frame->GetCommandBars(), L"AddOn", L"Tools")->IsVisible());
    EXPECT_FALSE(kernel().IsApplicationToolbarVisible(L"AddOn", L"Tools"));
    EXPECT_FALSE(kernel().IsApplicationToolbarVisible(L"addon", L"Tools")) << "the key's case counts";
}

TEST_F(ServerAppProxyAddOns, ToolbarsAreMadeOnceTakeTheSmallestFreeIdAndAcceptAnyName) {
    EXPECT_EQ(kernel().CreateCustomToolbar(L"AddOn", L"Tools", {17001}, true), 0u) << "no frame";
    frames(1);
    dvkernel::test::setCreateToolsMode(true);
    const std::wstring longName(10000, L'x');
    const UINT first = kernel().CreateCustomToolbar(L"AddOn", L"", {17001}, true);
    const UINT second = kernel().CreateCustomToolbar(L"AddOn", longName, {17002}, true);
    EXPECT_EQ(first, 21000u);
    EXPECT_EQ(second, 21001u);
    EXPECT_EQ(kernel().CreateCustomToolbar(L"AddOn", longName, {17003}, true), second) << "the same bar";
    CXTPCommandBars& bars = *GetMainFrame()->GetCommandBars();
    bars.Remove(CDVAppCustomToolBar::Find(bars, L"AddOn", L""));
    EXPECT_EQ(CDVAppCustomToolBar::FreeBarId(bars), 21000u) << "a gap is filled first";
    for (UINT id = 21002; id <= CDVAppCustomToolBar::kLastBarId; ++id) {
        auto* bar = new CDVAppCustomToolBar;
        bars.Add(bar, L"filler", xtpBarTop);
        bar->SetBarID(id);
    }
    EXPECT_EQ(kernel().CreateCustomToolbar(L"AddOn", L"last", {}, true), 21000u);
    EXPECT_EQ(kernel().CreateCustomToolbar(L"AddOn", L"none left", {}, true), 0u);
}

// Hot icons are cut at the plain strip's number of icons; a plain strip too narrow for one icon
// is refused before anything is cut.
TEST_F(ServerAppProxyAddOns, StripsTooNarrowForAnIconAreRefusedBeforeAnythingIsCut) {
    frames(1);
    dvkernel::test::setCreateToolsMode(true);
    const UINT ids[] = {17201, 17202};
    struct Case {
        int width, hotWidth;
        bool cut;
    };
    for (const Case& c : {Case{0, 48, false}, Case{15, 48, false}, Case{32, 48, true}, Case{32, 0, true}}) {
        SCOPED_TRACE(std::to_string(c.width) + "/" + std::to_string(c.hotWidth));
        CXTPImageManager& images = imagesOf(GetMainFrame());
        images.RemoveAll();
        HBITMAP plain = c.width > 0 ? CXTPImageManager::Create32BPPDIBSection(nullptr, c.width, 16) : nullptr;
        HBITMAP hot =
            c.hotWidth > 0 ? CXTPImageManager::Create32BPPDIBSection(nullptr, c.hotWidth, 24) : nullptr;
        EXPECT_EQ(kernel().SetToolbarIcons({ids[0], ids[1]}, plain, hot), c.cut);
        EXPECT_EQ(images.GetImage(ids[0]) != nullptr, c.cut);
        if (c.cut && hot != nullptr) {
            const CXTPImageManagerIcon* big = images.Lookup(ids[1], 24);
            ASSERT_NE(big, nullptr) << "two hot icons of 24 pixels";
            EXPECT_TRUE(big->HasState(xtpImageHot));
        }
        if (plain)
            ::DeleteObject(plain);
        if (hot)
            ::DeleteObject(hot);
    }
}

TEST_F(ServerAppProxyAddOns, MissingPanesLeaveTheRecordAndAreNotMadeToStayHidden) {
    DockingPaneState state;
    state.selected = true;
    kernel().GetProductStructurePaneState(state);
    kernel().GetModelTreePaneState(state);
    EXPECT_FALSE(state.valid);
    EXPECT_TRUE(state.selected) << "left as it was";
    EXPECT_FALSE(kernel().SetProductStructurePaneState(state)) << "no frame";
    frames(1);
    GetMainFrame()->GetPaneManager().DestroyPane(1020);
    const DockingPaneState everything{true, true, true, true, true, true, true};
    EXPECT_FALSE(kernel().SetProductStructurePaneState(everything));
    EXPECT_EQ(GetMainFrame()->GetPaneManager().FindPane(1020), nullptr) << "nothing made";
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

// A form of the kernel: a static window of a fixed least size.
class TestForm : public DVPaneForm {
public:
    TestForm() {
        window_ = ::CreateWindowExW(0, L"STATIC", L"form", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                    nullptr);
    }
    ~TestForm() override { ::DestroyWindow(window_); }
    HWND GetFormWindow() const override { return window_; }
    std::wstring GetFormTitle() const override { return L"Parameters"; }
    SIZE GetFormMinSize() const override { return {240, 160}; }
    void OnLeavePane() override { ++left; }
    int left = 0;

private:
    HWND window_ = nullptr;
};

TEST_F(ServerAppProxyAddOns, AFormFloatsInsideTheFramesCornerFittedToItsLeastSizeAndLeavesThePane) {
    TestForm form;
    kernel().AttachFormPane(&form);
    kernel().FitFormPane();
    kernel().DetachFormPane();
    EXPECT_EQ(form.left, 0) << "no frame: nothing happens";

    CMainFrame* frame = frames(1)[0];
    frame->ShowFirstTime();
    frame->MoveWindow(100, 100, 1000, 700, TRUE);
    kernel().AttachFormPane(&form);
    CXTPDockingPane* pane = frame->GetPaneManager().FindPane(1016);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->IsFloating());
    EXPECT_EQ(std::wstring(pane->GetTitle()), L"Parameters");
    EXPECT_EQ(pane->GetChildHwnd(), form.GetFormWindow());
    EXPECT_EQ(pane->GetMinTrackSize(), CSize(240, 160));
    // The floating frame: placed at the least size with its right edge 30 and its bottom edge
    // 50 pixels inside the main frame, then fitted (two pixels taller for a form no child fills).
    const HWND floating = ::GetAncestor(form.GetFormWindow(), GA_ROOT);
    ASSERT_NE(floating, frame->GetSafeHwnd());
    RECT placed{};
    ::GetWindowRect(floating, &placed);
    EXPECT_EQ(placed.right, 1100 - 30);
    EXPECT_EQ(placed.top, 800 - 50 - 160);
    EXPECT_EQ(placed.right - placed.left, 240);
    EXPECT_EQ(placed.bottom - placed.top, 162);
    kernel().FitFormPane();
    RECT refitted{};
    ::GetWindowRect(floating, &refitted);
    EXPECT_TRUE(::EqualRect(&placed, &refitted)) << "fitted once is fitted";

    kernel().DetachFormPane();
    EXPECT_EQ(form.left, 1);
    EXPECT_EQ(frame->GetPaneManager().FindPane(1016), nullptr);
    EXPECT_TRUE(::IsWindow(form.GetFormWindow())) << "the kernel keeps its form";
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

TEST_F(ServerAppProxyAddOns, TheProfileExtensionFollowsTheEditionAndOtherEditionsKeepTheKernels) {
    const std::pair<std::uint32_t, std::wstring> cases[] = {
        {1, L"Viewenv"},   {2, L"2Denv"},  {4, L"SEenv"},    {8, L"3Denv"},    {16, L"GEOenv"},
        {32, L"GEO3Denv"}, {64, L"dvenv"}, {128, L"ALDenv"}, {256, L"BIRenv"}, {512, L"AAenv"}};
    for (const auto& [code, expected] : cases) {
        SetFixedEditionCode(code);
        EXPECT_EQ(kernel().GetProfileFileExtension(), expected) << code;
    }
    EXPECT_EQ(kernel().GetWindowsProfileCurrentSectionName(),
              kernel().DravikServerAppProxy::GetWindowsProfileCurrentSectionName())
        << "without a frame";
}

TEST_F(ServerAppProxyAddOns, AnAddOnsErrorIsShownWithItsNameAndNothingIsShownForNothing) {
    struct Case {
        const wchar_t* name;
        const wchar_t* message;
        const char* shown;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr},
        {L"", L"", nullptr},
        {L"", L"Disk full", "Disk full"},
        {L"Pipes", L"Disk full", "Error occurred in application \"Pipes\":\nDisk full"},
        {L"Pipes", nullptr, "Error occurred in application \"Pipes\":\n"},
    };
    size_t expected = 0;
    for (const Case& c : cases) {
        if (c.shown != nullptr) {
            answer(IDOK);
            ++expected;
        }
        kernel().ReportApplicationError(c.name, c.message);
        const std::vector<std::string> shown = boxes();
        ASSERT_EQ(shown.size(), expected);
        if (c.shown != nullptr) {
            EXPECT_EQ(shown.back(), c.shown);
        }
    }
}

TEST_F(ServerAppProxyAddOns, TheBugReportAddressComesFromTheProductIni) {
    writeProductIni("[SETTINGS]\nBugReportAddress=faults@example.org\n");
    EXPECT_EQ(kernel().GetBugReportAddress(), L"faults@example.org");
    writeProductIni("[SETTINGS]\n");
    EXPECT_EQ(kernel().GetBugReportAddress(), L"");
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

TEST_F(ServerAppProxyAddOns, TheProductStructurePaneTakesTheRecordedStateAndReportsIt) {
    CMainFrame* frame = frames(1)[0];
    frame->ShowFirstTime();
    CXTPDockingPane* pane = frame->GetPaneManager().FindPane(1020);
    ASSERT_NE(pane, nullptr);
    DockingPaneState closed;
    closed.valid = true;
    closed.closed = true;
    EXPECT_TRUE(kernel().SetProductStructurePaneState(closed));
    EXPECT_TRUE(pane->IsClosed());
    DockingPaneState state;
    kernel().GetProductStructurePaneState(state);
    EXPECT_TRUE(state.valid);
    EXPECT_TRUE(state.closed);

    DockingPaneState open;
    open.valid = true;
    open.selected = true;
    EXPECT_TRUE(kernel().SetProductStructurePaneState(open));
    EXPECT_FALSE(pane->IsClosed());
    EXPECT_TRUE(pane->IsSelected());
    kernel().GetProductStructurePaneState(state);
    EXPECT_FALSE(state.closed);
    EXPECT_TRUE(state.selected);
    EXPECT_EQ(state.floating, pane->IsFloating());
}

} // namespace
} // namespace dvapp::test
