// The area of a main frame where documents show: the plain MDI client, which paints the
// background picture while no document window is maximised, and the tab client, which shows a
// tab per document window in one or more groups over the same picture.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/TabClientWnd.h"

#include <memory>
#include <string>

DV_EXPORTS_BEGIN

class CMainFrame;

// The picture behind the documents. One is shared by every client window of the process.
class CMDIClientWndBackground {
public:
    static constexpr COLORREF kFillColor = 0xABABAB;
    static constexpr int kMinLeft = 15;
    static constexpr int kMinTop = 10;

    explicit CMDIClientWndBackground(const std::wstring& path);
    ~CMDIClientWndBackground();
    CMDIClientWndBackground(const CMDIClientWndBackground&) = delete;
    CMDIClientWndBackground& operator=(const CMDIClientWndBackground&) = delete;

    // The live instance, made from the picture path when there is none.
    static std::shared_ptr<CMDIClientWndBackground> Shared();
    // The configured picture ("BackgroundImage"); empty means "Background.png" in the program
    // folder. Set at start-up, before any client window is made.
    static void SetPicturePath(const std::wstring& path);
    static std::wstring GetPicturePath();

    // The picture's size; empty when none could be loaded.
    CSize GetSize() const { return m_size; }
    // Fills the rectangle and draws the picture unscaled, centred but never nearer the top-left
    // corner than (15, 10); true when a picture was drawn.
    bool Paint(CDC* dc, const CRect& rect) const;

private:
    HBITMAP m_bitmap = nullptr;
    CSize m_size{0, 0};
};

// Whether the active document window may hand over to `frame` (which shows `document`): a busy
// document keeps it unless `frame` shows the same document.
bool CanSwitchToChildFrame(CWnd* frame, CDocument* document = nullptr);

// The MDI client of a frame outside workbook mode.
class CDVMDIClientWnd : public CWnd {
public:
    CDVMDIClientWnd();
    ~CDVMDIClientWnd() override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool IsChildMaximized();
    std::shared_ptr<CMDIClientWndBackground> m_background;
};

// The MDI client of a frame in workbook mode: the documents as tabs.
class CDVTabClientWnd : public CXTPTabClientWnd {
public:
    // Commands of the tab context menu.
    enum : UINT {
        kCloseTab = 600,
        kTabsOnTop = 601,
        kWorkbookMode = 602,
        kTabsOnBottom = 603,
        kCloseDocument = 604,
        kFixedWidthTabs = 605,
        kOpenFolder = 606,
        kCopyPath = 607,
        kCloseAll = 1204,
        kNewWindow = 2046,
        kMoveToNewMainWindow = 2826,
        kMoveToMainWindowFirst = 3450,
        kMoveToMainWindowLast = 3498,
    };
    // Sixteen average characters of the tab font.
    static constexpr int kFixedWidthCharacters = 16;

    CDVTabClientWnd();
    ~CDVTabClientWnd() override;

    // The option of fixed-width document tabs, shared by all frames.
    static bool IsFixedWidthTabs();
    static void SetFixedWidthTabs(bool fixed);

    // The tab of a document window: its tab caption when set, else its window text in which
    // the document's title gives way to its short title.
    CString GetItemText(const CWnd* pChildWnd) const override;
    // The tabs are hidden in the clean screen; the flag moves the documents over the whole
    // client.
    void SetTabsHidden(bool hidden);
    bool AreTabsHidden() const { return m_tabsHidden; }
    // The fixed or automatic tab layout, by the option; the width it gives.
    int ApplyTabLayout();
    // The frame's set-up of the tabs after attaching and after every theme change; nothing
    // while detached.
    void SetUp();
    void RefreshTheme() override;

    // The context menu of a tab, its items checked and greyed for that tab (the caller
    // destroys it).
    HMENU BuildTabMenu(CXTPTabManagerItem* item);
    // Carries out a menu choice for a tab.
    void RunTabCommand(UINT command, CXTPTabManagerItem* item);
    // The tab at a point of the client, or null.
    CXTPTabManagerItem* TabAt(CPoint point) const;

protected:
    CWorkspace* CreateWorkspace() override;
    void AddWorkspace(CWorkspace* pWorkspace, int nIndex) override;
    CXTPTabManagerItem* AddItem(CWnd* pChildWnd) override;
    CString GetItemTooltip(const CXTPTabManagerItem* pItem) const override;
    void MDIActivate(CWnd* pWnd) override;
    BOOL FillBackground(CDC* pDC, const CRect& rc) override;

    void OnContextMenu(CWnd* pWnd, CPoint point);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CMainFrame* GetMainFrame() const;
    std::shared_ptr<CMDIClientWndBackground> m_background;
    bool m_tabsHidden = false;
};

DV_EXPORTS_END
