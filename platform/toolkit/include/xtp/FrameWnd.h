// Frames with command bars. The site part (CXTPCommandBarsSiteBase) owns the command bars and
// gives them the frame's messages first; the frame part (CXTPFrameWndBase) lays the docked bars
// out around the client area, and the hook part (CXTPCommandBarsFrameHook) is where a frame
// class sees those messages before the bars do.
#pragma once

#include "afxext.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"

DV_EXPORTS_BEGIN

struct CPrintPreviewState;

// The hook on the site frame. OnHookMessage runs for every message of the frame before the
// command bars and the frame's own map see it; a TRUE answer ends it there.
class CXTPCommandBarsFrameHook : public CXTPHookManagerHookAble {
public:
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    CXTPCommandBars* GetHookedCommandBars() const { return m_pHookedCommandBars; }

protected:
    CXTPCommandBars* m_pHookedCommandBars = nullptr;
};

namespace pal::xtp {
// The frame-side work shared by every site frame, written once.
BOOL siteWndMsg(CWnd* pFrame, CXTPCommandBarsFrameHook* pHook, CXTPCommandBars* pBars, UINT message,
                WPARAM wParam, LPARAM lParam, LRESULT* pResult);
// The command bars dock inside `room` (by default where the client stands now), what takes room
// after them lays itself out, and the client gets the rest.
void siteRecalcLayout(CFrameWnd* pFrame, CXTPCommandBars* pBars, const CRect* room = nullptr);
// What takes room from the client after the docked bars (the docking panes): given the room the
// bars leave, it lays itself out there and answers what is left for the client. One per frame;
// a null taker removes it.
using ClientRoomTaker = CRect (*)(void* context, CRect room);
void setClientRoomTaker(CFrameWnd* pFrame, ClientRoomTaker taker, void* context);
} // namespace pal::xtp

template <class TBase> class CXTPCommandBarsSiteBase : public TBase, public CXTPCommandBarsFrameHook {
public:
    ~CXTPCommandBarsSiteBase() override {
        if (m_pCommandBars != nullptr) {
            m_pCommandBars->RemoveAll();
            m_pCommandBars->InternalRelease();
        }
    }
    // Makes the frame's command bars (of the class given, CXTPCommandBars when null); false when
    // the class is not a command-bars class or the frame has bars already.
    virtual BOOL InitCommandBars(CRuntimeClass* pCommandBarsClass = nullptr) {
        if (m_pCommandBars != nullptr)
            return FALSE;
        m_pCommandBars = CXTPCommandBars::CreateCommandBars(pCommandBarsClass);
        if (m_pCommandBars == nullptr)
            return FALSE;
        m_pCommandBars->SetSite(this);
        m_pHookedCommandBars = m_pCommandBars;
        // The bars' menu bar replaces the window's own menu.
        if (this->m_hWnd != nullptr)
            ::SetMenu(this->m_hWnd, nullptr);
        return TRUE;
    }
    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (pal::xtp::siteWndMsg(this, this, m_pCommandBars, message, wParam, lParam, pResult))
            return TRUE;
        return TBase::OnWndMsg(message, wParam, lParam, pResult);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (m_pCommandBars != nullptr && m_pCommandBars->PreTranslateFrameMessage(pMsg))
            return TRUE;
        return TBase::PreTranslateMessage(pMsg);
    }

protected:
    CXTPCommandBars* m_pCommandBars = nullptr;
};

template <class TBase> class CXTPFrameWndBase : public CXTPCommandBarsSiteBase<TBase> {
public:
    // The MFC bars (the status bar) take their edges first, the command bars dock around what
    // is left, and the client (view or MDI client) gets the rest.
    // The client moves once, to its last place: put first where the MFC bars leave room, it
    // would for a moment cover the command bars, and a click on them would reach it.
    void RecalcLayout(BOOL = TRUE) override {
        const CRect room = this->LayoutControlBars();
        pal::xtp::siteRecalcLayout(this, this->m_pCommandBars, &room);
    }
    // Print preview hides the bars while it lasts.
    virtual void OnSetPreviewMode(BOOL bPreview, struct CPrintPreviewState* pState) {
        if (this->m_pCommandBars != nullptr)
            this->m_pCommandBars->OnSetPreviewMode(bPreview);
        this->RecalcLayout();
    }
};

class CXTPMDIFrameWnd : public CXTPFrameWndBase<CMDIFrameWnd> {
    DECLARE_DYNCREATE(CXTPMDIFrameWnd)
};

class CXTPFrameWnd : public CXTPFrameWndBase<CFrameWnd> {
    DECLARE_DYNCREATE(CXTPFrameWnd)
};

DV_EXPORTS_END
