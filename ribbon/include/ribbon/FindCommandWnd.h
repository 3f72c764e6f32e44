// The find-command pane: a search box over an owner-drawn list of the commands that the search
// finds, each with its icon, its name in bold and for some a second line. A double click runs a
// command; the list's menu runs it, shows where it lives, adds it to the ribbon, opens its help
// or switches the search by synonyms. Every action works on the main frame that shows the pane.
#pragma once

#include "DravikUI/DockingPane.h"
#include "afxcmn.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ResizeDialog.h"
#include "xtp/ThemedControls.h"

#include <memory>
#include <string>

DV_EXPORTS_BEGIN

class CDVToolTipContext;
class CXTPCommandBars;
class CXTPImageManagerIcon;
class FindCommandDialog;

// What the pane needs of the program around it. The program installs its own; the default
// answers from the UI module and the frames' update handlers and does nothing else.
class FindCommandHost {
public:
    virtual ~FindCommandHost() = default;
    static FindCommandHost& Instance();
    // Installs `host` (null: the default); the previous one.
    static FindCommandHost* Install(FindCommandHost* host);

    // The main frame that holds a window, or null.
    virtual CWnd* GetFrameOfWindow(CWnd* window);
    // Whether the command is enabled for `asking` in `frame` (null: any frame).
    virtual bool IsCommandEnabled(int id, CWnd* asking, CWnd* frame);
    // The command's icon at 32 by 32, or null.
    virtual CXTPImageManagerIcon* GetCommandIcon(int id);
    virtual bool IsRibbonMode(CWnd* frame) { return false; }
    virtual void FindInToolBars(CWnd* frame, int id) {}
    // Makes a control for the command and puts it at the end of the frame's ribbon; false when
    // nothing changed.
    virtual bool AddToRibbon(CWnd* frame, int id) { return false; }
    virtual void ShowHelpTopic(UINT helpId) {}
    // Shows the context help of `helpId`, the application's help context put back afterwards.
    virtual bool ShowContextHelp(UINT helpId) { return false; }
    // The command bars whose keys the cards show, or null.
    virtual CXTPCommandBars* GetCommandBars(CWnd* frame) { return nullptr; }
    // Posts the command to the frame.
    virtual void RunCommand(CWnd* frame, int id);
};

class CFindCommandComboBox : public CXTPComboBox {
    DECLARE_DYNAMIC(CFindCommandComboBox)
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Adds the trimmed text to the drop-down list unless empty or already there.
    void RememberText(const std::wstring& text);
};

// The commands of the menu of the list.
enum : UINT {
    ID_FINDCOMMAND_RUN = 9334,
    ID_FINDCOMMAND_FIND_IN_TOOLBARS = 9335,
    ID_FINDCOMMAND_ADD_TO_RIBBON = 9336,
    ID_FINDCOMMAND_HELP = 9337,
    ID_FINDCOMMAND_BY_SYNONYMS = 9338,
};

class CCommandList : public CListCtrl {
    DECLARE_DYNAMIC(CCommandList)
public:
    CCommandList();
    ~CCommandList() override;

    void SetDialog(FindCommandDialog* dialog) { m_dialog = dialog; }
    FindCommandDialog* GetDialog() const { return m_dialog; }
    CDVToolTipContext* GetToolTipContext() const { return m_toolTips.get(); }
    void SetColors(COLORREF back, COLORREF selectedBack, COLORREF text, COLORREF selectedText);
    COLORREF GetBackColor() const { return m_back; }

    void DrawItem(LPDRAWITEMSTRUCT dis);
    // The tool under `point`: the row's command id, with the row's bounds and no text (the
    // context makes the command's card); -1 for none.
    INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW* pTI) const override;

    // The menu as it would show for the present selection, for `frame`; the owner's to destroy.
    HMENU BuildContextMenu(CWnd* frame) const;
    // Carries out a command of the menu for `frame`.
    void OnContextMenuCommand(UINT command, CWnd* frame);
    // The id of the one selected row, or 0 when not exactly one row is selected.
    int GetSelectedCommandId() const;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    FindCommandDialog* m_dialog = nullptr;
    std::shared_ptr<CDVToolTipContext> m_toolTips;
    COLORREF m_back, m_selectedBack, m_text, m_selectedText;
};

class FindCommandDialog : public CXTPResizeFormView {
    DECLARE_DYNAMIC(FindCommandDialog)
public:
    static constexpr UINT kTemplate = 21546;
    static constexpr UINT kListId = 4074;
    static constexpr UINT kSearchBoxId = 1215;
    static constexpr int kRowHeight = 60; // at 96 dpi

    FindCommandDialog();

    // Sets up the controls after they were made.
    BOOL OnInitDialog();
    void OnInitialUpdate() override;
    void RefreshList();
    bool IsListCurrent() const { return m_listCurrent; }
    void MarkListStale() { m_listCurrent = false; }
    void SetFilter(const std::wstring& typed);
    const std::wstring& GetTypedFilter() const { return m_typedFilter; }
    const std::wstring& GetSearchableFilter() const { return m_searchableFilter; }
    void SetBackgroundColor(COLORREF color) { m_background = color; }

    CCommandList& GetList() { return m_list; }
    CFindCommandComboBox& GetSearchBox() { return m_searchBox; }
    // Runs the command of a row for the frame that shows the dialog, when it is enabled there.
    void RunRow(int row);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

private:
    void sizeColumn();
    CCommandList m_list;
    std::wstring m_searchableFilter;
    std::wstring m_typedFilter;
    CFindCommandComboBox m_searchBox;
    COLORREF m_background;
    bool m_listCurrent = false;
};

class CFindCommandWnd : public Dravik::UI::DockingPaneChildWindow {
    DECLARE_DYNAMIC(CFindCommandWnd)
public:
    CFindCommandWnd();
    ~CFindCommandWnd() override;

    bool ShowToolTipHelp();
    void OnCommandRegistered(int id);
    void OnShowPane(CXTPDockingPane* pane) override;
    void SetTheme(int theme, CXTPDockingPane* pane) override;
    FindCommandDialog* GetDialog() const { return m_dialog.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<FindCommandDialog> m_dialog;
};

DV_EXPORTS_END
