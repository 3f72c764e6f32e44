// A group of a ribbon tab: a caption along its bottom, its controls above, and optionally the
// launcher button at its lower right that sends the group's id as a command.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPControl;
class CXTPControls;
class CXTPRibbonBar;
class CXTPRibbonTab;
class CXTPRibbonGroups;

class CXTPRibbonGroup : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPRibbonGroup)
    friend class CXTPRibbonGroups;
    friend class CXTPRibbonBar;
    friend struct CXTPRibbonGroupsLayout;

public:
    CXTPRibbonGroup();
    ~CXTPRibbonGroup() override;

    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCWSTR lpszCaption);
    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    int GetIconId() const { return m_nIconId > 0 ? m_nIconId : m_nId; }
    void SetIconId(int nIconId) { m_nIconId = nIconId; }
    int GetIndex() const;
    CXTPRibbonTab* GetParentTab() const { return m_pParent; }
    CXTPRibbonBar* GetRibbonBar() const;

    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    // The launcher button; its command is the group's id.
    void ShowOptionButton(BOOL bShow = TRUE);
    BOOL IsOptionButtonVisible() const { return m_bShowOptionButton; }
    // The order in which the group gives way when the ribbon narrows: lower first; groups of
    // equal priority give way from the last to the first.
    void SetReducePriority(int nPriority) { m_nReducePriority = nPriority; }
    int GetReducePriority() const { return m_nReducePriority; }
    // The size the last layout gave the group: 0 large, 1 medium, 2 small, 3 collapsed.
    int GetReduceLevel() const { return m_nReduceLevel; }
    BOOL IsReduced() const { return m_nReduceLevel == 3; }

    // The controls, in order; their bar is the ribbon.
    CXTPControls* GetControls() const { return m_pControls; }
    int GetCount() const;
    CXTPControl* GetAt(int nIndex) const;
    // Adds a control of a type (XTPControlType) with an id; the frame may make it
    // (XTP_COMMANDBARS_CREATECONTROL).
    CXTPControl* Add(int nType, int nId, LPCWSTR lpszCaption = nullptr, int nBefore = -1);
    // Adds a control made elsewhere; the group takes it.
    CXTPControl* Add(CXTPControl* pControl, int nId, int nBefore = -1);
    void Remove(CXTPControl* pControl);
    void RemoveAll();
    int IndexOf(const CXTPControl* pControl) const;
    CXTPControl* FindControl(int nId) const;

    // Takes the other group's state once its controls were copied (a group of an
    // application's kind copies what it adds).
    virtual void Copy(const CXTPRibbonGroup* pSource);

    // Where the last layout put the group and its caption, in the ribbon's client coordinates.
    CRect GetRect() const { return m_rcGroup; }
    CRect GetCaptionRect() const;

protected:
    CString m_strCaption;
    int m_nId = 0;
    int m_nIconId = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bShowOptionButton = FALSE;
    int m_nReducePriority = 0;
    int m_nReduceLevel = 0;
    CRect m_rcGroup;
    CXTPRibbonTab* m_pParent = nullptr;
    CXTPControls* m_pControls;
    // The size the last layout gave each control (by index): 0 large, 1 medium, 2 small.
    std::vector<int> m_arrSizes;
    // The controls' bar follows the group's ribbon.
    void AttachToRibbon();
};

class CXTPRibbonGroups {
    friend class CXTPRibbonTab;

public:
    explicit CXTPRibbonGroups(CXTPRibbonTab* pParent) : m_pParent(pParent) {}
    ~CXTPRibbonGroups();
    CXTPRibbonGroups(const CXTPRibbonGroups&) = delete;
    CXTPRibbonGroups& operator=(const CXTPRibbonGroups&) = delete;

    int GetCount() const { return static_cast<int>(m_arrGroups.size()); }
    CXTPRibbonGroup* GetAt(int nIndex) const;
    CXTPRibbonGroup* Add(LPCWSTR lpszCaption, int nId = 0) { return InsertAt(GetCount(), lpszCaption, nId); }
    CXTPRibbonGroup* InsertAt(int nIndex, LPCWSTR lpszCaption, int nId = 0);
    void Remove(int nIndex);
    void RemoveAll();
    CXTPRibbonGroup* FindGroup(int nId) const;
    CXTPRibbonTab* GetParentTab() const { return m_pParent; }

private:
    CXTPRibbonTab* m_pParent;
    std::vector<std::unique_ptr<CXTPRibbonGroup>> m_arrGroups;
};

DV_EXPORTS_END
