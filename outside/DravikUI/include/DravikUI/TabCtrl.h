// The strip of page tabs under (or over) a document's views: one tab per page, drawn in the
// paint manager's theme. Choosing a tab tells the parent with WM_NOTIFY TCN_SELCHANGE. Where
// the strip goes and whether a single page shows a tab are settings of the whole program, kept
// in the profile under "PagesTabCtrl".
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDVTabCtrl : public CWnd {
public:
    // The settings every page-tab strip follows.
    struct Defaults {
        bool OnTop = false;        // "Position": 1 above the views, 0 below
        bool ShowSingleTab = true; // "ShowSingleTab": a document of one page shows its tab
    };
    static Defaults GetDefaults();
    static void SetDefaults(const Defaults& defaults);
    // From and to the sub-key "PagesTabCtrl" of a profile section's key; values that are missing
    // or of another type keep what was there. False when the key cannot be opened or written.
    static bool ReadDefaults(HKEY sectionKey);
    static bool SaveDefaults(HKEY sectionKey);

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    void InsertItem(int index, const std::wstring& text);
    void SetItemText(int index, const std::wstring& text);
    std::wstring GetItemText(int index) const;
    void DeleteAllItems();
    int GetCurSel() const { return m_cur; }
    // Selects without telling the parent; -1 for none. False for an index out of range.
    bool SetCurSel(int index);
    // The tab under a point of the client area, -1 for none.
    int HitTest(CPoint point) const;
    CRect GetItemRect(int index) const;
    // The height the strip asks for at the screen's DPI.
    static int GetStripHeight();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void layout() const;
    std::vector<std::wstring> m_items;
    mutable std::vector<CRect> m_rects;
    mutable bool m_layoutValid = false;
    int m_cur = -1;
};

DV_EXPORTS_END
