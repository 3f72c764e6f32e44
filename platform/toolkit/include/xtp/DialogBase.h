// Command bars in a window that is not a frame (a dialog, a plain window, a view): the bars
// dock along the window's client edges and the window's own content takes the rest.
#pragma once

#include "pal/visibility.h"
#include "xtp/FrameWnd.h"

DV_EXPORTS_BEGIN

template <class TBase> class CXTPDialogBase : public CXTPCommandBarsSiteBase<TBase> {
public:
    using CXTPCommandBarsSiteBase<TBase>::CXTPCommandBarsSiteBase;

    // Docks the bars in the client area; the rectangle left for the content.
    CRect RepositionControls() {
        CRect client;
        if (this->m_hWnd == nullptr)
            return client;
        this->GetClientRect(&client);
        CRect rest =
            this->m_pCommandBars != nullptr ? this->m_pCommandBars->LayoutDockedBars(client) : client;
        OnRepositionControls(rest);
        return rest;
    }
    // Told the room left for the content after the bars took theirs.
    virtual void OnRepositionControls(CRect rcContent) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = TBase::WindowProc(message, wParam, lParam);
        if (message == WM_SIZE)
            RepositionControls();
        return result;
    }
};

DV_EXPORTS_END
