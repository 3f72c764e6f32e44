// The HTML view in a frame: the bundled help page as a person sees it, the navigation events a
// link click raises (and cancelling them), history, links that leave the program, pages that
// cannot be shown, windows asked for by links, scrolling, and copying selected text.
#include "afxhtml.h"
#include "afxole.h"
#include "pal/clipboard_text.h"
#include "pal/html.h"
#include "pal/test/recording_cmd_ui.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"
#include "test_objects.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string narrow(const std::wstring& s) {
    return pal::text::toUtf8(s);
}

// Records each event as "<event> <argument>" and answers as the test asks.
class RecordingView : public CHtmlView {
    DECLARE_DYNCREATE(RecordingView)
public:
    std::vector<std::string> events;
    bool cancelNavigation = false;
    bool cancelErrors = false;
    bool refuseNewWindows = false;
    CHtmlView* newWindowsGoTo = nullptr;
    IDropTarget* dropTarget = nullptr;

    void OnBeforeNavigate2(LPCWSTR url, DWORD, LPCWSTR, CByteArray&, LPCWSTR, BOOL* cancel) override {
        events.push_back("before " + narrow(url));
        *cancel = cancelNavigation;
    }
    void OnNavigateComplete2(LPCWSTR url) override { events.push_back("complete " + narrow(url)); }
    void OnDocumentComplete(LPCWSTR url) override { events.push_back("document " + narrow(url)); }
    void OnTitleChange(LPCWSTR text) override { events.push_back("title " + narrow(text)); }
    void OnNewWindow2(LPDISPATCH* disp, BOOL* cancel) override {
        events.push_back("new window");
        *cancel = refuseNewWindows;
        if (newWindowsGoTo)
            *disp = newWindowsGoTo->GetApplication();
    }
    void OnNavigateError(LPCWSTR url, LPCWSTR, DWORD error, BOOL* cancel) override {
        char code[16];
        std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(error));
        events.push_back("error " + narrow(url) + " " + code);
        *cancel = cancelErrors;
    }
    HRESULT OnGetDropTarget(LPDROPTARGET own, LPDROPTARGET* replacement) override {
        if (!dropTarget)
            return CHtmlView::OnGetDropTarget(own, replacement);
        dropTarget->AddRef();
        *replacement = dropTarget;
        return S_OK;
    }
};
IMPLEMENT_DYNCREATE(RecordingView, CHtmlView)

class HtmlViewTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(AfxOleInit());
        for (const char* name : {"index.html", "topic.html", "help.css", "images/mark.png"}) {
            writeFile(std::string("help/") + name,
                      pal::test::readFile(
                          sourcePath(std::string("platform/win32/html/tests/fixtures/help/") + name)));
        }
        help = pal::html::toUrl((root() / "help").wstring()) + L"/";
        view = make(frame);
        ASSERT_NE(view, nullptr);
    }

    // A frame of 520x420 at the screen's corner with a recording view filling it.
    static RecordingView* make(CFrameWnd*& made, int left = 0) {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(RecordingView);
        made = new CFrameWnd;
        if (!made->Create(nullptr, L"Help", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(left, 0, left + 520, 420),
                          nullptr, nullptr, 0, &context))
            return nullptr;
        made->InitialUpdateFrame(nullptr, TRUE);
        return dynamic_cast<RecordingView*>(made->GetActiveView());
    }

    void go(const std::wstring& url) {
        view->Navigate2(url.c_str());
        pal::test::pump();
    }

    // Where the element with this id lies on the screen, a few pixels into its first line: the
    // view's page laid out again by the same engine at the view's size.
    CPoint screenPointOf(const wchar_t* id, int x = 12) const {
        pal::html::Page page;
        const std::wstring url(view->GetLocationURL());
        if (url.starts_with(L"about:"))
            page.loadHtml(pal::text::toUtf8(url.substr(6)));
        else
            page.navigate(url);
        CRect client;
        view->GetClientRect(&client);
        page.layout(client.Width(), client.Height());
        CPoint p(x, page.anchorTop(id) + 6 - ::GetScrollPos(view->m_hWnd, SB_VERT));
        view->ClientToScreen(&p);
        return p;
    }

    void clickOn(const wchar_t* id) {
        pal::test::click(screenPointOf(id));
        pal::test::pump();
    }

    bool saveSnapshot(const std::string& name) const { return pal::test::keepSnapshot(frame->m_hWnd, name); }

    static int count(const pal::gdi::Surface& s, const RECT& r, COLORREF color) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += s.pixel(x, y) == color;
        return n;
    }

    std::wstring help;
    CFrameWnd* frame = nullptr;
    RecordingView* view = nullptr;
};

TEST_F(HtmlViewTest, TheBundledHelpPageRendersWithItsHeadingTextLinkAndImage) {
    go(help + L"index.html");
    EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());
    EXPECT_EQ(view->GetLocationName(), L"Getting started");
    ASSERT_TRUE(saveSnapshot("help-view.png"));

    const auto picture = pal::test::snapshot(view->m_hWnd, true);
    CRect client;
    view->GetClientRect(&client);
    // The heading in its style sheet's colour, the image (red inside a blue frame), links in
    // link blue, body text in black, on a white page; the page is longer than the view, so the
    // vertical bar is there.
    EXPECT_GT(count(picture, {0, 0, client.right, 60}, RGB(0x1a, 0x3c, 0x6e)), 480);
    EXPECT_EQ(count(picture, client, RGB(220, 0, 0)), 32 * 32);
    EXPECT_EQ(count(picture, client, RGB(0, 0, 200)), 40 * 40 - 32 * 32);
    const CPoint link = screenPointOf(L"topic", 0);
    CPoint linkInView = link;
    view->ScreenToClient(&linkInView);
    EXPECT_GT(count(picture, {0, linkInView.y - 6, 200, linkInView.y + 14}, RGB(0, 0, 0xee)), 40);
    EXPECT_GT(count(picture, {40, 60, client.right, linkInView.y - 6}, RGB(0, 0, 0)), 100);
    EXPECT_EQ(picture.pixel(client.right - 2, client.bottom - 2), RGB(255, 255, 255));
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
}

TEST_F(HtmlViewTest, AClickedLinkIsAskedAboutFirstAndACancelStopsIt) {
    go(help + L"index.html");
    view->events.clear();
    view->cancelNavigation = true;
    clickOn(L"topic");
    EXPECT_EQ(view->events, std::vector<std::string>{"before " + narrow(help) + "topic.html"});
    EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());

    // A press on the page beside the links follows nothing.
    view->events.clear();
    CPoint beside = screenPointOf(L"topic", 400);
    pal::test::click(beside);
    pal::test::pump();
    EXPECT_TRUE(view->events.empty());
}

TEST_F(HtmlViewTest, ARelativeLinkLoadsTheLocalPageAndTheEventsFollowInOrderThenBackAndForward) {
    go(help + L"index.html");
    const std::string index = narrow(help) + "index.html", topic = narrow(help) + "topic.html";
    view->events.clear();
    clickOn(L"topic");
    EXPECT_EQ(view->events, (std::vector<std::string>{"before " + topic, "complete " + topic,
                                                      "title Sketching basics", "document " + topic}));
    EXPECT_EQ(view->GetLocationURL(), (help + L"topic.html").c_str());

    view->events.clear();
    view->GoBack();
    EXPECT_TRUE(view->GetBusy());
    pal::test::pump();
    EXPECT_EQ(view->events, (std::vector<std::string>{"before " + index, "complete " + index,
                                                      "title Getting started", "document " + index}));
    EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());
    view->GoForward();
    pal::test::pump();
    EXPECT_EQ(view->GetLocationURL(), (help + L"topic.html").c_str());

    // At the ends of the history nothing happens; a cancelled step back stays where it is.
    view->events.clear();
    view->GoForward();
    pal::test::pump();
    EXPECT_TRUE(view->events.empty());
    view->cancelNavigation = true;
    view->GoBack();
    pal::test::pump();
    EXPECT_EQ(view->GetLocationURL(), (help + L"topic.html").c_str());
    view->cancelNavigation = false;
    view->GoBack();
    pal::test::pump();
    view->events.clear();
    view->GoBack();
    pal::test::pump();
    EXPECT_TRUE(view->events.empty());

    // A link to a place on the same page moves there: the page is not loaded again.
    view->events.clear();
    clickOn(L"here");
    EXPECT_EQ(view->events,
              (std::vector<std::string>{"before " + index + "#steps", "complete " + index + "#steps"}));
    EXPECT_GT(::GetScrollPos(view->m_hWnd, SB_VERT), 0);

    // A page that takes the place of the one shown: going back passes over the one it replaced.
    view->Navigate2((help + L"topic.html").c_str(), navNoHistory);
    pal::test::pump();
    EXPECT_EQ(view->GetLocationURL(), (help + L"topic.html").c_str());
    view->GoBack();
    pal::test::pump();
    EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());
}

// A server on this machine that counts the connections it is offered.
struct Listener {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    Listener() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd, 4) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size) == 0)
            port = ntohs(a.sin_port);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    ~Listener() { ::close(fd); }
    bool contacted() const {
        const int c = ::accept(fd, nullptr, nullptr);
        if (c >= 0)
            ::close(c);
        return c >= 0;
    }
};

TEST_F(HtmlViewTest, ExternalLinksReachTheJournalAndNothingIsFetched) {
    Listener server;
    ASSERT_GT(server.port, 0);
    const std::string site = "http://127.0.0.1:" + std::to_string(server.port);
    writeFile("help/outside.html",
              "<link rel=stylesheet href='" + site + "/style.css'><p><a id=web href='" + site +
                  "/page.html'>web</a></p><p><img src='" + site +
                  "/image.png'></p><p><a id=mail href='mailto:support@example.com'>mail</a></p>"
                  "<p><a id=secure href='https://example.com/help'>secure</a></p>");
    go(help + L"outside.html");
    view->events.clear();
    for (const wchar_t* id : {L"web", L"mail", L"secure"})
        clickOn(id);
    const std::vector<std::string> urls = {site + "/page.html", "mailto:support@example.com",
                                           "https://example.com/help"};
    EXPECT_EQ(view->events,
              (std::vector<std::string>{"before " + urls[0], "before " + urls[1], "before " + urls[2]}));
    const auto opened = journal("ShellExecute");
    ASSERT_EQ(opened.size(), 3u);
    for (size_t i = 0; i < urls.size(); ++i) {
        EXPECT_EQ(opened[i].get("file"), urls[i]);
        EXPECT_EQ(opened[i].get("verb"), "open");
    }
    EXPECT_EQ(view->GetLocationURL(), (help + L"outside.html").c_str()) << "the page stays";
    EXPECT_FALSE(server.contacted()) << "neither the page nor its style sheet or image was fetched";

    // A cancelled external link never reaches the shell.
    view->cancelNavigation = true;
    clickOn(L"web");
    EXPECT_EQ(journal("ShellExecute").size(), 3u);
}

TEST_F(HtmlViewTest, PagesThatCannotBeShownRaiseAnErrorAndRenderOrFailCleanly) {
    std::string nestedTables;
    while (nestedTables.size() < (1u << 20))
        nestedTables += "<table><tr><td>cell";
    writeFile("help/tables.html", nestedTables);
    writeFile("help/broken.html", "<html><body><h1>Title<p>text<b><i>bold<table><tr><td>cell</div></span>");
    writeFile("help/noimages.html",
              "<title>No images</title><p><img src='none.png'><img src='/etc/hostname'>text");
    const std::string sandbox = narrow(help);
    struct Case {
        std::wstring url;
        const char* error; // the code OnNavigateError reports, or null when the page renders
    };
    const Case cases[] = {
        {help + L"broken.html", nullptr},
        {help + L"noimages.html", nullptr},
        {L"about:<p>text <b>without <i>ends", nullptr},
        {help + L"tables.html", "800C0008"},
        {help + L"missing.html", "800C0006"},
        {L"/etc/hostname", "800C000E"},
        {help + L"../../../../../etc/hostname", "800C000E"},
        {L"ftp://example.com/help.html", "800C000D"},
    };
    for (const bool cancel : {true, false}) {
        for (const Case& c : cases) {
            go(help + L"index.html");
            view->events.clear();
            view->cancelErrors = cancel;
            view->Navigate2(c.url.c_str());
            pal::test::pump();
            const std::string url = narrow(std::wstring(view->GetLocationURL()));
            if (!c.error) {
                ASSERT_EQ(view->events.size(), 4u) << narrow(c.url);
                EXPECT_EQ(view->events[3], "document " + url) << narrow(c.url);
                continue;
            }
            ASSERT_GE(view->events.size(), 2u) << narrow(c.url);
            EXPECT_EQ(view->events[1].substr(0, 6), "error ") << narrow(c.url);
            EXPECT_TRUE(view->events[1].ends_with(c.error)) << view->events[1];
            if (cancel) {
                // The page shown before stays.
                EXPECT_EQ(view->events.size(), 2u) << narrow(c.url);
                EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());
            } else {
                EXPECT_EQ(view->events.size(), 5u) << narrow(c.url);
                EXPECT_EQ(view->GetLocationName(), L"The page cannot be shown");
            }
            EXPECT_TRUE(saveSnapshot("error-page.png")); // and it paints
        }
    }
}

TEST_F(HtmlViewTest, PagesGivenAsTextAndBlankPagesAreShown) {
    go(L"about:<html><head><title>From text</title></head><body><p id=p>Some text</p></body></html>");
    EXPECT_EQ(view->GetLocationName(), L"From text");
    EXPECT_EQ(view->events.back().substr(0, 15), "document about:");
    go(L"about:blank");
    EXPECT_EQ(view->GetLocationURL(), L"about:blank");
    EXPECT_EQ(view->events.back(), "document about:blank");
}

TEST_F(HtmlViewTest, ANavigationAskedForBeforeTheWindowExistsLoadsOnceItDoes) {
    auto* early = new RecordingView; // a view deletes itself with its window
    early->Navigate2((help + L"topic.html").c_str());
    ASSERT_TRUE(early->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), frame, 1));
    pal::test::pump();
    EXPECT_EQ(early->GetLocationURL(), (help + L"topic.html").c_str());
    EXPECT_EQ(early->events.back(), "document " + narrow(help) + "topic.html");
    early->DestroyWindow();
}

TEST_F(HtmlViewTest, StopDropsALoadNotYetDoneAndRefreshReadsThePageAgain) {
    go(help + L"index.html");
    view->events.clear();
    view->Navigate2((help + L"topic.html").c_str());
    EXPECT_TRUE(view->GetBusy());
    view->Stop();
    EXPECT_FALSE(view->GetBusy());
    pal::test::pump();
    EXPECT_EQ(view->events.size(), 1u);
    EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());

    writeFile("help/index.html", "<title>Changed</title><p>new</p>");
    view->events.clear();
    view->Refresh();
    pal::test::pump();
    EXPECT_EQ(view->GetLocationName(), L"Changed");
    EXPECT_TRUE(view->events.empty());
}

TEST_F(HtmlViewTest, ALinkAskingForANewWindowIsRefusedRedirectedOrShownHere) {
    writeFile("help/blank.html", "<p><a id=l href='topic.html' target='_blank'>own window</a></p>");
    CFrameWnd* otherFrame = nullptr;
    RecordingView* other = make(otherFrame, 600);
    ASSERT_NE(other, nullptr);
    const std::string topic = narrow(help) + "topic.html";

    go(help + L"blank.html");
    view->events.clear();
    view->refuseNewWindows = true;
    clickOn(L"l");
    EXPECT_EQ(view->events, std::vector<std::string>{"new window"});
    EXPECT_EQ(view->GetLocationURL(), (help + L"blank.html").c_str());

    view->events.clear();
    view->refuseNewWindows = false;
    view->newWindowsGoTo = other;
    clickOn(L"l");
    EXPECT_EQ(view->events, std::vector<std::string>{"new window"});
    EXPECT_EQ(other->GetLocationURL(), (help + L"topic.html").c_str());
    EXPECT_EQ(other->events.front(), "before " + topic);

    view->events.clear();
    view->newWindowsGoTo = nullptr;
    clickOn(L"l");
    EXPECT_EQ(view->events.front(), "new window");
    EXPECT_EQ(view->GetLocationURL(), (help + L"topic.html").c_str());
}

TEST_F(HtmlViewTest, TheWheelKeysAndScrollBarMoveThePage) {
    std::string tall = "<title>Tall</title>";
    for (int i = 0; i < 200; ++i)
        tall += "<p>Line " + std::to_string(i) + "</p>";
    writeFile("help/tall.html", tall);
    go(help + L"tall.html");
    const auto position = [&] { return ::GetScrollPos(view->m_hWnd, SB_VERT); };
    ASSERT_EQ(position(), 0);
    CRect client;
    view->GetClientRect(&client);
    CPoint middle = client.CenterPoint();
    view->ClientToScreen(&middle);

    pal::test::wheel(middle, -WHEEL_DELTA);
    pal::test::pump();
    EXPECT_EQ(position(), 60);
    pal::test::wheel(middle, WHEEL_DELTA);
    pal::test::pump();
    EXPECT_EQ(position(), 0);

    view->SetFocus();
    struct Key {
        int key;
        int expected;
    };
    const int page = client.Height() - 20;
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(view->m_hWnd, SB_VERT, &info);
    const int bottom = info.nMax + 1 - static_cast<int>(info.nPage);
    ASSERT_GT(bottom, 2 * page);
    for (const Key& k : {Key{VK_DOWN, 20}, Key{VK_NEXT, 20 + page}, Key{VK_UP, page}, Key{VK_END, bottom},
                         Key{VK_PRIOR, bottom - page}, Key{VK_HOME, 0}, Key{VK_SPACE, page}}) {
        pal::test::pressKey(k.key);
        pal::test::pump();
        EXPECT_EQ(position(), k.expected) << k.key;
    }
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(position(), page + 20);
    view->SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(position(), 0);

    // What is drawn follows: the first line leaves the top of the view.
    const auto top = pal::test::snapshot(view->m_hWnd, true);
    pal::test::pressKey(VK_NEXT);
    pal::test::pump();
    const auto below = pal::test::snapshot(view->m_hWnd, true);
    EXPECT_GT(pal::test::differingPixels(top, below), 100u);
}

TEST_F(HtmlViewTest, DraggedTextIsSelectedAndCopiedToTheClipboard) {
    go(L"about:<p id=a style='font-size:20px'>alpha beta gamma</p><p id=b>second line</p>");
    pal::test::RecordingCmdUI ui;
    ui.m_nID = ID_EDIT_COPY;
    ui.DoUpdate(view, FALSE);
    EXPECT_EQ(ui.enabled, 0) << "nothing to copy yet";

    const CPoint from = screenPointOf(L"a", 4), to = screenPointOf(L"b", 300);
    pal::test::mouseDown(from);
    pal::test::mouseMove(CPoint(from.x + 40, from.y));
    pal::test::mouseMove(to);
    pal::test::mouseUp(to);
    pal::test::pump();
    EXPECT_EQ(view->GetSelectedText(), L"alpha beta gamma\r\nsecond line");
    ui.DoUpdate(view, FALSE);
    EXPECT_EQ(ui.enabled, 1);
    EXPECT_GT(count(pal::test::snapshot(view->m_hWnd, true), {0, 0, 300, 80}, ::GetSysColor(COLOR_HIGHLIGHT)),
              200);
    EXPECT_TRUE(saveSnapshot("selection-view.png"));

    pal::test::pressKey('C', {VK_CONTROL});
    pal::test::pump();
    EXPECT_EQ(pal::ctl::clipboardText(nullptr).value_or(L""), L"alpha beta gamma\r\nsecond line");

    // A click drops the selection; Ctrl+A selects everything, the copy command copies it.
    pal::test::click(from);
    pal::test::pump();
    EXPECT_EQ(view->GetSelectedText(), L"");
    pal::test::pressKey('A', {VK_CONTROL});
    view->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_EQ(pal::ctl::clipboardText(nullptr).value_or(L""), L"alpha beta gamma\r\nsecond line");
}

TEST_F(HtmlViewTest, FilesDraggedOntoAPageAreRefusedUnlessTheOwnerHandsOverATarget) {
    go(help + L"index.html");
    view->events.clear();
    auto* target = new oletest::TestTarget;
    const auto drag = [&] {
        auto* data = new oletest::TestData;
        data->add(CF_UNICODETEXT, oletest::unicodeBlock(L"C:\\work\\plan.grb"));
        auto* source = new oletest::TestSource;
        CPoint over(200, 200);
        view->ClientToScreen(&over);
        source->script.push_back([over] { pal::test::mouseMove(over); });
        source->script.push_back([over] { pal::test::mouseUp(over); });
        pal::test::mouseDown(over);
        MSG press;
        PeekMessageW(&press, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
        DWORD effect = DROPEFFECT_COPY;
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
        source->Release();
        data->Release();
        pal::test::pump();
        return effect;
    };
    struct Case {
        const char* name;
        bool takesDrops;
        IDropTarget* handedOver;
        DWORD effect;
        size_t targetCalls;
    };
    for (const Case& c : {Case{"the page's own target", true, nullptr, DROPEFFECT_NONE, 0},
                          Case{"the owner's target", true, target, DROPEFFECT_MOVE, 3},
                          Case{"no target at all", false, target, DROPEFFECT_NONE, 3}}) {
        view->dropTarget = c.handedOver;
        view->SetRegisterAsDropTarget(c.takesDrops);
        EXPECT_EQ(view->GetRegisterAsDropTarget(), c.takesDrops ? TRUE : FALSE);
        EXPECT_EQ(drag(), c.effect) << c.name;
        EXPECT_EQ(target->calls.size(), c.targetCalls) << c.name;
        EXPECT_TRUE(view->events.empty()) << c.name;
        EXPECT_EQ(view->GetLocationURL(), (help + L"index.html").c_str());
    }
    view->dropTarget = nullptr;
    view->SetRegisterAsDropTarget(TRUE);
    target->Release();
}

} // namespace
