// Pages of the ribbon's backstage view: property pages painted in the backstage's colours, and
// the page of recently used files.
#pragma once

#include "afxdlgs.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CRecentFileList;

// A colour of the current theme's settings by section and key ("CommandBars.Ribbon.Backstage",
// "PageBackground"); the default when the theme does not set it.
COLORREF XTPIniColor(LPCWSTR lpszSection, LPCWSTR lpszEntry, COLORREF clrDefault);

// The template of the recent-files page.
constexpr UINT XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT = 9650;

class CXTPRibbonBackstagePage : public CPropertyPage {
    DECLARE_DYNAMIC(CXTPRibbonBackstagePage)
public:
    explicit CXTPRibbonBackstagePage(UINT nIDTemplate);

    // Takes the page colours of the theme (the paint manager's theme index).
    virtual void SetTheme(int nTheme);
    int GetTheme() const { return m_nTheme; }
    COLORREF GetBackColor() const { return m_clrBack; }
    COLORREF GetTextColor() const { return m_clrText; }

protected:
    int m_nTheme = 0;
    COLORREF m_clrBack;
    COLORREF m_clrText;

    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// The files of the application's recent-file list, newest first; a click opens one through the
// list's command (ID_FILE_MRU_FILE1 + index) sent to the main window.
class CXTPRibbonBackstagePageRecent : public CXTPRibbonBackstagePage {
    DECLARE_DYNAMIC(CXTPRibbonBackstagePageRecent)
public:
    CXTPRibbonBackstagePageRecent();

    // The list shown; the application's by default.
    virtual CRecentFileList* GetRecentFileList() const;
    int GetItemCount() const;
    CString GetItemPath(int nIndex) const;
    CRect GetItemRect(int nIndex) const;
    int HitTest(CPoint point) const;
    // Opens the file at the index as a click does; FALSE when there is none.
    BOOL OpenItem(int nIndex);
    // A file on the network: its entry says so.
    void SetItemNetwork(int nIndex, BOOL bNetwork);
    BOOL IsItemNetwork(int nIndex) const;

protected:
    int m_nItemHeight = 40;
    int m_nTop = 44;
    std::vector<bool> m_network;

    BOOL OnSetActive() override;
    void OnPaint();
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

DV_EXPORTS_END
