// A window that knows its own tools offers its mouse messages to a tip context: the tool under
// the pointer shows with the text the window gave, or, without one, the text the context knows
// for the tool; off every tool the tip goes, and other messages pass untouched.
#include "bars_fixture.h"

#include <cstdlib>
#include <cwchar>

namespace bars_test {
namespace {

// Two tools side by side in the upper half: 7 on the left, which names itself, and 8 on the
// right, which leaves its text to the context. The lower half holds none.
class ToolWindow : public CWnd {
public:
    CXTPToolTipContext* tips = nullptr;

    INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW* pTI) const override {
        CRect client;
        GetClientRect(&client);
        if (point.y >= client.Height() / 2)
            return -1;
        const bool left = point.x < client.Width() / 2;
        pTI->hwnd = m_hWnd;
        pTI->uId = left ? 7 : 8;
        pTI->rect = left ? CRect(0, 0, client.Width() / 2, client.Height() / 2)
                         : CRect(client.Width() / 2, 0, client.Width(), client.Height() / 2);
        if (left) {
            // Given as such windows give it: the asker frees it.
            pTI->lpszText = static_cast<wchar_t*>(std::malloc(sizeof(L"Seven")));
            std::wcscpy(pTI->lpszText, L"Seven");
        }
        return static_cast<INT_PTR>(pTI->uId);
    }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (tips != nullptr) {
            EXPECT_FALSE(tips->FilterToolTipMessage(this, message, wParam, lParam))
                << "the window always handles its message itself";
        }
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
};

class NamingContext : public CXTPToolTipContext {
protected:
    CString GetToolText(UINT nToolId) const override { return nToolId == 8 ? L"Eight, by its id" : L""; }
};

TEST_F(BarsTest, AWindowsOwnToolsShowTheirTipsThroughTheContextsFilter) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    NamingContext context;
    ToolWindow window;
    window.tips = &context;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), L"tools", WS_POPUP | WS_VISIBLE,
                                CRect(100, 100, 300, 200), nullptr, 0));
    const struct {
        POINT at; // in the window's client area
        UINT tool;
        const wchar_t* text;
    } moves[] = {
        {{20, 20}, 7, L"Seven"},
        {{150, 20}, 8, L"Eight, by its id"},
        {{60, 80}, 0, nullptr},
        {{20, 30}, 7, L"Seven"},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(std::to_string(m.at.x) + "," + std::to_string(m.at.y));
        POINT screen = m.at;
        window.ClientToScreen(&screen);
        pal::test::mouseMove(screen);
        run.pump();
        if (m.tool == 0) {
            EXPECT_FALSE(context.GetToolTip()->m_hWnd != nullptr &&
                         ::IsWindowVisible(context.GetToolTip()->m_hWnd))
                << "off every tool no tip shows";
            continue;
        }
        EXPECT_EQ(context.GetToolWindow(), window.m_hWnd);
        EXPECT_EQ(context.GetToolTip()->GetToolId(), m.tool);
        EXPECT_EQ(context.GetText(), m.text);
    }
    // What is not the pointer's leaves the tip as it is.
    const CString before = context.GetText();
    window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed"));
    EXPECT_EQ(context.GetText(), before);
    window.tips = nullptr;
    window.DestroyWindow();
}

} // namespace
} // namespace bars_test
