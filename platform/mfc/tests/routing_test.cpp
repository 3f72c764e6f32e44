// Command routing through message maps: ranges, declining handlers, update handlers, base-class
// maps, and the order in which a frame offers a command to its view, document and application.
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/recording_cmd_ui.h"
#include "pal/test/sandbox_test.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;

using pal::test::RecordingCmdUI;

class Base : public CCmdTarget {
public:
    void OnBaseOnly() { calls.push_back("Base::OnBaseOnly"); }
    void OnShared() { calls.push_back("Base::OnShared"); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Base, CCmdTarget)
ON_COMMAND(10, &Base::OnBaseOnly)
ON_COMMAND(11, &Base::OnShared)
END_MESSAGE_MAP()

class Target : public Base {
public:
    bool acceptEx = false;
    void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    BOOL OnEx(UINT id) {
        calls.push_back("ex " + std::to_string(id));
        return acceptEx ? TRUE : FALSE;
    }
    void OnShared() { calls.push_back("Target::OnShared"); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(1);
        ui->SetText(L"On");
    }
    void OnUpdatePassOn(CCmdUI* ui) { ui->ContinueRouting(); }
    void OnUpdateRange(CCmdUI* ui) { ui->SetCheck(static_cast<int>(ui->m_nID % 2)); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Target, Base)
ON_COMMAND_RANGE(100, 199, &Target::OnRange)
ON_COMMAND_EX(300, &Target::OnEx)
ON_COMMAND(11, &Target::OnShared)
ON_UPDATE_COMMAND_UI(400, &Target::OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(401, &Target::OnUpdateChecked)
ON_UPDATE_COMMAND_UI(402, &Target::OnUpdatePassOn)
ON_UPDATE_COMMAND_UI_RANGE(500, 509, &Target::OnUpdateRange)
END_MESSAGE_MAP()

BOOL command(CCmdTarget& t, UINT id) {
    return t.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

TEST(MessageMapTest, RangeHandlerGetsTheIdAndOnlyItsRange) {
    Target t;
    calls.clear();
    for (UINT id : {99u, 100u, 150u, 199u, 200u})
        command(t, id);
    EXPECT_EQ(calls, (std::vector<std::string>{"range 100", "range 150", "range 199"}));
}

TEST(MessageMapTest, BaseMapsAreWalkedAndDerivedEntriesWin) {
    Target t;
    calls.clear();
    EXPECT_TRUE(command(t, 10));
    EXPECT_TRUE(command(t, 11));
    EXPECT_FALSE(command(t, 12));
    EXPECT_EQ(calls, (std::vector<std::string>{"Base::OnBaseOnly", "Target::OnShared"}));
}

TEST(MessageMapTest, CommandExAnswersWhetherItHandled) {
    Target t;
    calls.clear();
    EXPECT_FALSE(command(t, 300));
    t.acceptEx = true;
    EXPECT_TRUE(command(t, 300));
    EXPECT_EQ(calls, (std::vector<std::string>{"ex 300", "ex 300"}));
}

TEST(MessageMapTest, HandlerQueryDoesNotRunTheHandler) {
    Target t;
    calls.clear();
    AFX_CMDHANDLERINFO info;
    EXPECT_TRUE(t.OnCmdMsg(150, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &t);
    EXPECT_TRUE(calls.empty());
}

// A class whose map splices a second table between its own entries and its base's.
class Spliced : public Base {
public:
    void OnOwn() { calls.push_back("Spliced::OnOwn"); }
    void OnSpliced() { calls.push_back("Spliced::OnSpliced"); }
    struct Splice {
        static constexpr bool kMessageMapSplice = true;
        static const AFX_MSGMAP* GetThisMessageMap() { return Spliced::GetSpliceMap(); }
    };
    static const AFX_MSGMAP* GetSpliceMap() {
        using ThisClass [[maybe_unused]] = Spliced;
        static const AFX_MSGMAP_ENTRY entries[] = {ON_COMMAND(20, &Spliced::OnSpliced) ON_COMMAND(
            21, &Spliced::OnSpliced){0, 0, 0, 0, nullptr, nullptr}};
        static const AFX_MSGMAP map = {&Base::GetThisMessageMap, &entries[0]};
        return &map;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Spliced, Spliced::Splice)
ON_COMMAND(21, &Spliced::OnOwn)
END_MESSAGE_MAP()

TEST(MessageMapTest, ASplicedTableLiesBetweenTheClassesOwnEntriesAndItsBases) {
    Spliced t;
    calls.clear();
    for (UINT id : {21u, 20u, 10u, 12u})
        command(t, id);
    EXPECT_EQ(calls, (std::vector<std::string>{"Spliced::OnOwn", "Spliced::OnSpliced", "Base::OnBaseOnly"}));
}

TEST(MessageMapTest, TheTabbedClientsRegisteredMessageIsOneForEveryone) {
    EXPECT_GE(AFX_WM_CHANGING_ACTIVE_TAB, 0xC000u);
    EXPECT_EQ(AFX_WM_CHANGING_ACTIVE_TAB, ::RegisterWindowMessageW(L"AFX_WM_CHANGING_ACTIVE_TAB"));
}

struct UpdateCase {
    UINT id;
    BOOL disableIfNoHandler;
    BOOL handled;
    int enabled;
    int checked;
};

TEST(MessageMapTest, UpdateHandlersEnableCheckAndPassOn) {
    const UpdateCase cases[] = {
        {400, FALSE, TRUE, FALSE, -1}, // disabled by its handler
        {401, FALSE, TRUE, TRUE, 1},   // enabled and checked
        {402, FALSE, FALSE, -1, -1},   // the handler passes it on: nobody decided
        {402, TRUE, FALSE, FALSE, -1}, // ... and with no command handler it is disabled
        {150, TRUE, FALSE, TRUE, -1},  // no update handler, but a command handler: enabled
        {999, TRUE, FALSE, FALSE, -1}, // neither: disabled
        {999, FALSE, FALSE, -1, -1},   // neither, and left alone
        {503, FALSE, TRUE, -1, 1},     // range update handler sees its id
        {504, FALSE, TRUE, -1, 0},
    };
    Target t;
    for (const UpdateCase& c : cases) {
        RecordingCmdUI ui;
        ui.m_nID = c.id;
        EXPECT_EQ(ui.DoUpdate(&t, c.disableIfNoHandler), c.handled) << c.id;
        EXPECT_EQ(ui.enabled, c.enabled) << c.id;
        EXPECT_EQ(ui.checked, c.checked) << c.id;
    }
    RecordingCmdUI ui;
    ui.m_nID = 401;
    ui.DoUpdate(&t, FALSE);
    EXPECT_EQ(ui.text, L"On");
}

// Windows ------------------------------------------------------------------------------------

class RoutingFixture : public pal::test::SandboxTest {};

// Each target of the chain handles command 700 when it is told to, and names itself.
struct Handles {
    bool view = false, document = false, frame = false, app = false;
};
Handles handles;
std::vector<std::string> handledBy;

class RouteDoc : public CDocument {
public:
    BOOL OnCmd(UINT) {
        handledBy.push_back("document");
        return handles.document;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteDoc, CDocument)
ON_COMMAND_EX(700, &RouteDoc::OnCmd)
END_MESSAGE_MAP()

class RouteView : public CView {
    DECLARE_DYNCREATE(RouteView)
public:
    BOOL OnCmd(UINT) {
        handledBy.push_back("view");
        return handles.view;
    }
    void OnUpdateBlocked(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnBlocked() { handledBy.push_back("blocked ran"); }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RouteView, CView)
BEGIN_MESSAGE_MAP(RouteView, CView)
ON_COMMAND_EX(700, &RouteView::OnCmd)
ON_COMMAND(701, &RouteView::OnBlocked)
ON_UPDATE_COMMAND_UI(701, &RouteView::OnUpdateBlocked)
END_MESSAGE_MAP()

class RouteFrame : public CFrameWnd {
public:
    BOOL OnCmd(UINT) {
        handledBy.push_back("frame");
        return handles.frame;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteFrame, CFrameWnd)
ON_COMMAND_EX(700, &RouteFrame::OnCmd)
END_MESSAGE_MAP()

class RouteApp : public CWinApp {
public:
    RouteDoc document;
    BOOL OnCmd(UINT) {
        handledBy.push_back("app");
        return handles.app;
    }
    BOOL InitInstance() override {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(RouteView);
        context.m_pCurrentDoc = &document;
        auto* frame = new RouteFrame;
        if (!frame->Create(nullptr, L"Routing", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, nullptr,
                           0, &context))
            return FALSE;
        m_pMainWnd = frame;
        return TRUE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteApp, CWinApp)
ON_COMMAND_EX(700, &RouteApp::OnCmd)
END_MESSAGE_MAP()

struct RouteCase {
    Handles handles;
    std::vector<std::string> offeredTo;
};

TEST_F(RoutingFixture, FrameOffersViewThenDocumentThenItselfThenTheApplication) {
    const RouteCase cases[] = {
        {{true, true, true, true}, {"view"}},
        {{false, true, true, true}, {"view", "document"}},
        {{false, false, true, true}, {"view", "document", "frame"}},
        {{false, false, false, true}, {"view", "document", "frame", "app"}},
        {{false, false, false, false}, {"view", "document", "frame", "app"}},
    };
    RouteApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    auto* frame = static_cast<RouteFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), &app.document);
    for (const RouteCase& c : cases) {
        handles = c.handles;
        handledBy.clear();
        const LRESULT handled = ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(700, 0), 0);
        EXPECT_EQ(handledBy, c.offeredTo);
        EXPECT_EQ(handled != 0, c.handles.view || c.handles.document || c.handles.frame || c.handles.app);
    }
}

TEST_F(RoutingFixture, CommandDisabledByItsUpdateHandlerDoesNotRun) {
    RouteApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    handledBy.clear();
    ::PostMessageW(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(701, 0), 0);
    EXPECT_TRUE(run.pump());
    EXPECT_TRUE(handledBy.empty());
}

// Window messages, notifications and control notifications reach their handlers with the
// parameters cracked.
class MessageWnd : public CWnd {
public:
    static UINT registered;
    std::vector<std::string> seen;
    void OnSize(UINT type, int cx, int cy) {
        seen.push_back("size " + std::to_string(type) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    LRESULT OnUser(WPARAM w, LPARAM l) {
        seen.push_back("user " + std::to_string(w) + " " + std::to_string(l));
        return 42;
    }
    LRESULT OnRegistered(WPARAM w, LPARAM) {
        seen.push_back("registered " + std::to_string(w));
        return 7;
    }
    void OnClicked() { seen.push_back("clicked"); }
    void OnDblClk(NMHDR* header, LRESULT* result) {
        seen.push_back("dblclk " + std::to_string(header->idFrom));
        *result = 5;
    }
    BOOL OnNotifyEx(UINT id, NMHDR*, LRESULT*) {
        seen.push_back("notify-ex " + std::to_string(id));
        return FALSE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
UINT MessageWnd::registered = ::RegisterWindowMessageW(L"DravikTestRegistered");
BEGIN_MESSAGE_MAP(MessageWnd, CWnd)
ON_WM_SIZE()
ON_MESSAGE(WM_USER + 1, &MessageWnd::OnUser)
ON_REGISTERED_MESSAGE(MessageWnd::registered, &MessageWnd::OnRegistered)
ON_BN_CLICKED(1001, &MessageWnd::OnClicked)
ON_NOTIFY(NM_DBLCLK, 1002, &MessageWnd::OnDblClk)
ON_NOTIFY_EX(NM_CLICK, 1002, &MessageWnd::OnNotifyEx)
END_MESSAGE_MAP()

// A window whose object goes while it is still attached is destroyed with it; its class's own
// procedure still hears the end of the window (a control frees what it keeps for it then).
TEST_F(RoutingFixture, AWindowDestroyedWithItsObjectStillReachesItsClassProcedureAtItsEnd) {
    static int ends = 0;
    ends = 0;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCDESTROY)
            ++ends;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = L"EndCounting";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    HWND made = nullptr;
    {
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, L"EndCounting", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        made = window.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(made));
    EXPECT_EQ(ends, 1);
}

TEST_F(RoutingFixture, WindowMessagesAndNotificationsReachTheirHandlers) {
    MessageWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"messages", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.seen.clear();
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 3, 4), 42);
    EXPECT_EQ(wnd.SendMessage(MessageWnd::registered, 9, 0), 7);
    const HWND control =
        ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 1, 1, wnd.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1001)), nullptr, nullptr);
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(control)),
              1);
    NMHDR header{control, 1002, NM_DBLCLK};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)), 5);
    header.code = NM_CLICK;
    wnd.SendMessage(WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(wnd.seen, (std::vector<std::string>{"size 2 640x480", "user 3 4", "registered 9", "clicked",
                                                  "dblclk 1002", "notify-ex 1002"}));
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

} // namespace
