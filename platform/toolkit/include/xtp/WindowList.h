// The window list of an MDI frame: a modal dialog listing the document windows, with buttons to
// activate, save, close, cascade, tile and minimise the chosen ones.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

// Ids of the dialog and its controls.
constexpr UINT XTP_IDD_WINDOWLIST = 30900;
constexpr UINT XTP_IDC_WINDOWLIST_LIST = 30901;
constexpr UINT XTP_IDC_WINDOWLIST_ACTIVATE = 30902;
constexpr UINT XTP_IDC_WINDOWLIST_SAVE = 30903;
constexpr UINT XTP_IDC_WINDOWLIST_CLOSE = 30904;
constexpr UINT XTP_IDC_WINDOWLIST_CASCADE = 30905;
constexpr UINT XTP_IDC_WINDOWLIST_TILEHORZ = 30906;
constexpr UINT XTP_IDC_WINDOWLIST_TILEVERT = 30907;
constexpr UINT XTP_IDC_WINDOWLIST_MINIMIZE = 30908;

class CXTPWindowList : public CDialog {
    DECLARE_DYNAMIC(CXTPWindowList)
public:
    explicit CXTPWindowList(CMDIFrameWnd* pMDIFrame);

    // The document windows listed, in the order of the list.
    const std::vector<HWND>& GetWindows() const { return m_arrWindows; }
    // The listed windows the user has chosen.
    std::vector<HWND> GetSelectedWindows() const;
    // Fills the list again from the frame's document windows (the active one first, chosen).
    void FillWindowList();
    // Enables the buttons for the choice: one window for Activate, any for the others.
    virtual void UpdateButtons();

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CListBox m_lbWindows;
    CButton m_btnActivate;
    CButton m_btnSave;
    CButton m_btnClose;
    CButton m_btnCascade;
    CButton m_btnTileHorz;
    CButton m_btnTileVert;
    CButton m_btnMinimize;

protected:
    CMDIFrameWnd* m_pMDIFrame;
    std::vector<HWND> m_arrWindows;
};

DV_EXPORTS_END
