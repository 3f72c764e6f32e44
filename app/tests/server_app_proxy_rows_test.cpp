// The rest of what the kernel asks through its callback object, each question and request made
// through DravikServerAppProxy::Instance() as the kernel makes it: answered from the
// application object, from the main frame, relayed to every main frame, refused outside the
// create-tools mode, and neutral without a main frame or for a window of another class.
#include "startup_fixture.h"

#include "app/ServerAppProxy.h"
#include "pal/test/idle_script_owner.h"
#include "frame/MainFrame.h"

#include "DravikKernel/Commands.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/UniqueIdentifier.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/MessageBar.h"
#include "XTToolkitPro.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

#include "win/controls/listview.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dvapp::test {
namespace {

std::string yes(bool value) {
    return value ? "true" : "false";
}
std::string some(const void* value) {
    return value != nullptr ? "some" : "null";
}

class ServerAppProxyRows : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
    void TearDown() override {
        dvkernel::test::setCreateToolsMode(false);
        dropFrames();
        if (other_.m_hWnd != nullptr)
            other_.DestroyWindow();
        StartupTest::TearDown();
    }

    static DravikServerAppProxy& kernel() { return *DravikServerAppProxy::Instance(); }

    static void dropFrames() {
        for (CMainFrame* frame : CDvw32App::GetMainFrames()) {
            UIModuleProxy::Instance().RemoveMainFrame(frame);
            frame->DestroyWindow();
        }
        UIModuleProxy::Instance().SetMainWindow(nullptr);
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
    // A top-level window that is not a main frame.
    CWnd* otherWindow() {
        if (other_.m_hWnd == nullptr)
            other_.CreateEx(0, L"Static", L"other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
        return &other_;
    }

    CWnd other_;
};

using Owner = pal::test::IdleScriptOwner;

struct Row {
    const char* name;
    std::function<std::string(DravikServerAppProxy&)> ask;
    // The answers with no main frame, one and three.
    const char* none;
    const char* one;
    const char* three;
};

// The questions about the main frame, and the requests to it, by the number of frames.
TEST_F(ServerAppProxyRows, TheMainFrameAnswersAndWithoutOneTheAnswersAreNeutral) {
    const Row rows[] = {
        {"GetStatusLine", [](auto& k) { return some(k.GetStatusLine()); }, "null", "some", "some"},
        {"GetSyspanelControl2042", [](auto& k) { return std::to_string(k.GetSyspanelControl2042()); }, "2",
         "2", "2"},
        {"GetSyspanelSelected3DObject", [](auto& k) { return some(k.GetSyspanelSelected3DObject()); }, "null",
         "null", "null"},
        {"GetMainWindowPart", [](auto& k) { return some(k.GetMainWindowPart()); }, "null", "some", "some"},
        {"GetFrameInterfaceSettings",
         [](auto& k) {
             FrameInterfaceSettings settings{7, 7, 7};
             const bool got = k.GetFrameInterfaceSettings(nullptr, settings);
             return yes(got) + " " + std::to_string(settings.analysisMode);
         },
         "false 7", "true 1", "true 1"},
        {"SetAnalysisMode",
         [](auto& k) {
             k.SetAnalysisMode(nullptr, 2);
             FrameInterfaceSettings settings;
             k.GetFrameInterfaceSettings(nullptr, settings);
             return std::to_string(settings.analysisMode);
         },
         "0", "2", "2"},
        {"ShowMessageBar", [](auto& k) { return some(k.ShowMessageBar(0, L"Title", L"Text", 42)); }, "null",
         "some", "some"},
        {"GetMessageBarUserData",
         [](auto& k) { return std::to_string(k.GetMessageBarUserData(k.ShowMessageBar(0, L"T", L"x", 42))); },
         "0", "42", "42"},
        {"IsValidMessageBar",
         [](auto& k) { return yes(k.IsValidMessageBar(k.ShowMessageBar(0, L"T", L"x", 1))); }, "false",
         "true", "true"},
        {"GetActiveBackstageTab", [](auto& k) { return std::to_string(k.GetActiveBackstageTab(nullptr)); },
         "-1", "-1", "-1"},
        {"IsPaneForCommand790Open", [](auto& k) { return yes(k.IsPaneForCommand790Open()); }, "false",
         "false", "false"},
        {"NewMainFrame",
         [](auto& k) {
             CWnd* made = k.NewMainFrame();
             return some(made) + " " + std::to_string(CDvw32App::NumMainFrames());
         },
         "null 0", "some 2", "some 4"},
    };
    for (int count : {0, 1, 3}) {
        frames(count);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " with " + std::to_string(count) + " main frames");
            const char* expected = count == 0 ? row.none : count == 1 ? row.one : row.three;
            if (std::string(row.name) == "NewMainFrame")
                continue; // asked last, as it adds a frame
            EXPECT_EQ(row.ask(kernel()), expected);
        }
        SCOPED_TRACE("NewMainFrame with " + std::to_string(count) + " main frames");
        const Row& last = rows[std::size(rows) - 1];
        EXPECT_EQ(last.ask(kernel()), count == 0 ? last.none : count == 1 ? last.one : last.three);
        dropFrames();
    }
}

// Rows that take a window: a main frame answers, a window of another class is like none.
TEST_F(ServerAppProxyRows, AWindowOfAnotherClassCountsAsNoFrame) {
    struct WindowRow {
        const char* name;
        std::function<std::string(DravikServerAppProxy&, CWnd*)> ask;
        const char* frame;
        const char* other;
    };
    const WindowRow rows[] = {
        {"GetFrameRibbonBar", [](auto& k, CWnd* w) { return some(k.GetFrameRibbonBar(w)); }, "some", "null"},
        {"GetFrameStatusLine", [](auto& k, CWnd* w) { return some(k.GetFrameStatusLine(w)); }, "some",
         "null"},
        {"GetFrameCommandBars", [](auto& k, CWnd* w) { return some(k.GetFrameCommandBars(w)); }, "some",
         "null"},
        {"SetAnalysisMode", [](auto& k, CWnd* w) { return yes(k.SetAnalysisMode(w, 2)); }, "true", "false"},
        {"GetFrameInterfaceSettings",
         [](auto& k, CWnd* w) {
             FrameInterfaceSettings settings;
             return yes(k.GetFrameInterfaceSettings(w, settings));
         },
         "true", "false"},
        {"GetActiveBackstageTab", [](auto& k, CWnd* w) { return std::to_string(k.GetActiveBackstageTab(w)); },
         "-1", "-1"},
        {"ShowRibbonBackstagePrintPage (another window)",
         [](auto& k, CWnd* w) {
             return w == nullptr ? "-" : yes(k.ShowRibbonBackstagePrintPage(w, nullptr));
         },
         "", "false"},
    };
    CMainFrame* frame = frames(1).front();
    for (const WindowRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (*row.frame != '\0') {
            EXPECT_EQ(row.ask(kernel(), frame), row.frame);
        }
        EXPECT_EQ(row.ask(kernel(), otherWindow()), row.other);
    }
}

// The rows answered from the application object need no frame.
TEST_F(ServerAppProxyRows, TheApplicationObjectAnswersItsOwnRows) {
    app->SetTitleStringId(0);
    const Row rows[] = {
        {"IsRibbonApplication", [](auto& k) { return yes(k.IsRibbonApplication()); }, "true", "", ""},
        {"IsSavingStateAtExit", [](auto& k) { return yes(k.IsSavingStateAtExit()); }, "false", "", ""},
        {"IsServerMode", [](auto& k) { return yes(k.IsServerMode()); }, "false", "", ""},
        {"SetTitleStringId", [](auto& k) { return std::to_string(k.SetTitleStringId(9)); }, "0", "", ""},
        {"GetTitleStringId", [](auto& k) { return std::to_string(k.GetTitleStringId()); }, "9", "", ""},
        {"SetDocTemplateResourceId", [](auto& k) { return std::to_string(k.SetDocTemplateResourceId(994)); },
         "0", "", ""},
        {"GetDocTemplateResourceId", [](auto& k) { return std::to_string(k.GetDocTemplateResourceId()); },
         "994", "", ""},
        {"IsApplicationFlagA", [](auto& k) { return yes(k.IsApplicationFlagA()); }, "false", "", ""},
        {"SetApplicationFlagA",
         [](auto& k) {
             k.SetApplicationFlagA();
             return yes(k.IsApplicationFlagA()) + " " + yes(k.IsApplicationFlagB());
         },
         "true false", "", ""},
        {"GetApplicationValueA", [](auto& k) { return std::to_string(k.GetApplicationValueA()); }, "1440", "",
         ""},
        {"GetApplicationValueB", [](auto& k) { return std::to_string(k.GetApplicationValueB()); }, "900", "",
         ""},
        {"GetApplicationValueE", [](auto& k) { return std::to_string(k.GetApplicationValueE()); }, "0", "",
         ""},
        {"IsApplicationStateClear", [](auto& k) { return yes(k.IsApplicationStateClear()); }, "true", "", ""},
        {"GetHelpContextId", [](auto& k) { return std::to_string(k.GetHelpContextId()); }, "1", "", ""},
        {"GetActiveDocument", [](auto& k) { return some(k.GetActiveDocument()); }, "null", "", ""},
        {"GetDocumentManager", [](auto& k) { return some(k.GetDocumentManager()); }, "some", "", ""},
        {"GetDumpFileContext", [](auto& k) { return some(k.GetDumpFileContext()); }, "some", "", ""},
        {"GetCommandName (unknown)", [](auto& k) { return pal::text::toUtf8(k.GetCommandName(64999)); }, "",
         "", ""},
        {"FindApplicationCommandByKeyText (empty)",
         [](auto& k) { return std::to_string(k.FindApplicationCommandByKeyText(L"", 4)); }, "0", "", ""},
        {"FindApplicationCommandByKeyText (unreadable)",
         [](auto& k) { return std::to_string(k.FindApplicationCommandByKeyText(L"not a key", 4)); }, "0", "",
         ""},
        {"IsClipartId (below)", [](auto& k) { return yes(k.IsClipartId(10999)); }, "false", "", ""},
        {"IsClipartId (above)", [](auto& k) { return yes(k.IsClipartId(21000)); }, "false", "", ""},
        {"GetMessageBarId (null)", [](auto& k) { return std::to_string(k.GetMessageBarId(nullptr)); }, "0",
         "", ""},
        {"IsValidMessageBar (null)", [](auto& k) { return yes(k.IsValidMessageBar(nullptr)); }, "false", "",
         ""},
        {"IsApplicationNameKnown (empty)", [](auto& k) { return yes(k.IsApplicationNameKnown(L"")); },
         "false", "", ""},
        {"GetErrorWindow (not made here)", [](auto& k) { return some(k.GetErrorWindow()); }, "null", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.ask(kernel()), row.none);
    }
}

// A message bar closed by id in every frame, and one no frame owns any more is no longer valid.
TEST_F(ServerAppProxyRows, MessageBarsCloseInEveryFrameAndAClosedBarIsForgotten) {
    std::vector<CMainFrame*> made = frames(3);
    const unsigned third = made[2]->ShowMessageBar(0, L"T", L"third", 3, {}, {}, true);
    Dravik::UI::MessageBar* bar = made[2]->FindMessageBar(third);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(kernel().IsValidMessageBar(bar)) << "any frame may own it";
    EXPECT_EQ(kernel().GetMessageBarId(bar), third);
    kernel().CloseMessageBar(third);
    EXPECT_TRUE(bar->IsClosed());

    unsigned pressed = 0;
    Dravik::UI::MessageBar* withButtons = kernel().ShowMessageBarWithButtons(
        0, L"T", L"buttons", 5, {{7, L"Do", L""}}, [&](UINT id) { pressed = id; });
    ASSERT_NE(withButtons, nullptr);
    EXPECT_EQ(made[0]->FindMessageBar(withButtons->GetId()), withButtons) << "the main frame shows it";
    kernel().CloseMessageBarObject(withButtons);
    EXPECT_EQ(pressed, 0u);
}

// Outside the create-tools mode an add-on's clipart, menu, bar or command is refused.
TEST_F(ServerAppProxyRows, TheCreateToolsGuardRefusesOutsideTheMode) {
    frames(1);
    const UINT buttons[] = {17000};
    const Row rows[] = {
        {"ShowApplicationClipart",
         [](auto& k) { return yes(k.ShowApplicationClipart(L"{key}", 11000, L"T")); }, "false", "false", ""},
        {"InsertUserMenuItem", [](auto& k) { return yes(k.InsertUserMenuItem(17000, L"Item", 0, 0)); },
         "false", "true", ""},
        {"RemoveUserPopupMenu", [](auto& k) { return yes(k.RemoveUserPopupMenu(L"{key}")); }, "false", "true",
         ""},
        {"CreateCustomToolbar",
         [](auto& k) { return yes(k.CreateCustomToolbar(L"{key}", L"Bar", {17000}, true) != 0); }, "false",
         "true", ""},
        {"AddToolbarTab",
         [&](auto& k) { return yes(k.AddToolbarTab(L"Tab", L"{tab}", L"Tab", 0, 0, buttons, 1)); }, "false",
         "", ""},
    };
    for (bool mode : {false, true}) {
        dvkernel::test::setCreateToolsMode(mode);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (mode ? " in" : " outside") + " the mode");
            const char* expected = mode ? row.one : row.none;
            if (*expected != '\0') {
                EXPECT_EQ(row.ask(kernel()), expected);
            }
        }
    }
}

// The customise request of the kernel opens the frame's customise sheet on its ribbon page.
TEST_F(ServerAppProxyRows, TheCustomiseRequestGoesToTheFrameTools) {
    CMainFrame* frame = frames(1).front();
    int item = 0;
    dvtrace::test::clear();
    kernel().ShowCustomizeDialog(2, &item, true, nullptr);
    kernel().ShowCustomizeDialog(3, nullptr, false, otherWindow());
    kernel().ShowCustomizeDialog(1, nullptr, false, frame);
    EXPECT_EQ(dvtrace::test::callsOf("FrameTools"),
              (std::vector<std::string>{"ShowCustomizeDialog(2,2,item,true)",
                                        "ShowCustomizeDialog(2,1,none,false)"}))
        << "the ribbon page with the item, from the main frame or the frame given; another window asks "
           "nothing";
}

// The chooser lists the commands its filter finds; a double click on one chooses it, Cancel and
// an accept without a selected row choose nothing.
TEST_F(ServerAppProxyRows, TheCommandChooserGivesTheCommandDoubleClickedAndNothingOtherwise) {
    const std::pair<UINT, const wchar_t*> commands[] = {
        {15110, L"Align to grid"}, {15111, L"Gamma correction"}, {15112, L"Measure distance"}};
    for (const auto& [id, caption] : commands) {
        DVCommandContainer::Instance().RegisterCommand(id, L"Chooser." + std::to_wstring(id),
                                                       DVCommandFlags());
        UIModuleProxy::CommandStrings strings;
        strings.Caption = strings.Title = strings.Description = caption;
        UIModuleProxy::Instance().SetCommandStrings(id, strings);
    }
    Owner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                               nullptr, nullptr));
    auto partOf = [](HWND dialog, int control) {
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (std::wstring(name) == L"DvpfFormView")
                return ::GetDlgItem(child, control);
        }
        return HWND{};
    };
    auto rows = [&](HWND dialog) {
        return static_cast<int>(::SendMessageW(partOf(dialog, 101), LVM_GETITEMCOUNT, 0, 0));
    };
    auto type = [&](HWND dialog, const std::wstring& text) {
        for (wchar_t c : text)
            ::SendMessageW(partOf(dialog, 100), WM_CHAR, c, 0);
    };

    int listedAtFirst = 0;
    owner.script = {[&](HWND dialog) {
                        EXPECT_TRUE(pal::test::keepSnapshot(dialog, "command_chooser"));
                        listedAtFirst = rows(dialog);
                        type(dialog, L"gamma");
                        ::PostMessageW(dialog, WM_USER, 0, 0); // idle again for the next step
                    },
                    [&](HWND dialog) {
                        ASSERT_EQ(rows(dialog), 1) << "only the command the filter finds";
                        EXPECT_TRUE(pal::test::keepSnapshot(dialog, "command_chooser_filtered"));
                        const HWND list = partOf(dialog, 101);
                        RECT item{LVIR_BOUNDS, 0, 0, 0};
                        ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
                        POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
                        ::ClientToScreen(list, &centre);
                        pal::test::click(centre);
                        pal::test::doubleClick(centre);
                        ::PostMessageW(dialog, WM_USER, 0, 0);
                    },
                    // Still open when the double click did not choose: it is cancelled.
                    [&](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }};
    EXPECT_EQ(kernel().SelectCommandId(&owner), std::optional<UINT>(15111));
    EXPECT_GE(listedAtFirst, 3);

    struct Case {
        const char* name;
        std::function<void(HWND)> end;
    };
    const Case others[] = {
        {"Cancel", [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }},
        {"OK without a selected row", [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, IDOK, 0); }},
    };
    for (const Case& c : others) {
        SCOPED_TRACE(c.name);
        owner.next = 0;
        owner.script = {c.end};
        EXPECT_EQ(kernel().SelectCommandId(&owner), std::nullopt);
    }
    owner.DestroyWindow();
}

} // namespace
} // namespace dvapp::test
