// The list of an MDI frame's document windows, as a modal dialog: activate one, save or close
// the chosen ones, or arrange them.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ResizeDialog.h"

#include <vector>

DV_EXPORTS_BEGIN

constexpr UINT XTP_IDD_WINDOWLIST = 786;
constexpr UINT XTP_IDC_WINDOWLIST_LIST = 5101;
constexpr UINT XTP_IDC_WINDOWLIST_ACTIVATE = 5102;
constexpr UINT XTP_IDC_WINDOWLIST_SAVE = 5103;
constexpr UINT XTP_IDC_WINDOWLIST_CLOSE = 5104;
constexpr UINT XTP_IDC_WINDOWLIST_CASCADE = 5105;
constexpr UINT XTP_IDC_WINDOWLIST_TILEHORZ = 5106;
constexpr UINT XTP_IDC_WINDOWLIST_TILEVERT = 5107;
constexpr UINT XTP_IDC_WINDOWLIST_MINIMIZE = 5108;

class CXTPWindowList : public CXTPResizeDialog {
    DECLARE_DYNAMIC(CXTPWindowList)
public:
    explicit CXTPWindowList(CMDIFrameWnd* pMDIFrameWnd);

    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrameWnd; }
    // The windows listed, in the list's order, and those chosen.
    const std::vector<HWND>& GetWindows() const { return windows_; }
    std::vector<HWND> GetSelectedWindows() const;
    // Fills the list again from the frame's document windows, the active one chosen.
    void Refresh();

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Enables the buttons for the choice (one window to activate, any to save, close, minimise).
    virtual void UpdateButtons();
    CMDIFrameWnd* m_pMDIFrameWnd;

private:
    void onButton(UINT nID);
    std::vector<HWND> windows_;
};

DV_EXPORTS_END
