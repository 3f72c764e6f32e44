// A gallery: a grid of items (each with an id and a caption) shown in a bar or a popup, one of
// them selected. Choosing an item makes it the selected one and executes the control.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPControlGallery;
class CXTPControlGalleryItems;

class CXTPControlGalleryItem : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPControlGalleryItem)
public:
    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCWSTR lpszCaption) { m_strCaption = lpszCaption; }
    CString GetToolTip() const { return m_strToolTip.IsEmpty() ? m_strCaption : m_strToolTip; }
    void SetToolTip(LPCWSTR lpszToolTip) { m_strToolTip = lpszToolTip; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    BOOL IsLabel() const { return m_bLabel; }
    int GetIndex() const { return m_nIndex; }
    // The item's size; by default the size of its list.
    virtual CSize GetSize();
    virtual void Draw(CDC* pDC, CXTPControlGallery* pGallery, CRect rcItem, BOOL bEnabled, BOOL bSelected,
                      BOOL bPressed, BOOL bChecked);

protected:
    friend class CXTPControlGalleryItems;
    int m_nId = 0;
    int m_nIndex = -1;
    CString m_strCaption;
    CString m_strToolTip;
    DWORD_PTR m_dwData = 0;
    BOOL m_bLabel = FALSE;
    CXTPControlGalleryItems* m_pItems = nullptr;
};

class CXTPControlGalleryItems : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPControlGalleryItems)
public:
    CXTPControlGalleryItems();
    ~CXTPControlGalleryItems() override;
    CXTPControlGalleryItem* AddItem(int nId, LPCWSTR lpszCaption = L"");
    CXTPControlGalleryItem* AddItem(CXTPControlGalleryItem* pItem, int nId = -1);
    CXTPControlGalleryItem* AddLabel(LPCWSTR lpszCaption);
    CXTPControlGalleryItem* InsertItem(int nIndex, CXTPControlGalleryItem* pItem, int nId = -1);
    void Remove(int nIndex);
    void RemoveAll();
    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    CXTPControlGalleryItem* GetItem(int nIndex) const;
    void SetItemSize(CSize size) { m_szItem = size; }
    CSize GetItemSize() const { return m_szItem; }
    // The galleries that show these items are told of every change.
    void AddGallery(CXTPControlGallery* pGallery);
    void RemoveGallery(CXTPControlGallery* pGallery);

private:
    void changed();
    std::vector<CXTPControlGalleryItem*> m_arrItems;
    std::vector<CXTPControlGallery*> m_galleries;
    CSize m_szItem{80, 24};
};

class CXTPControlGallery : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlGallery)
public:
    CXTPControlGallery();
    ~CXTPControlGallery() override;

    // The items (shared between galleries; the gallery holds a reference).
    void SetItems(CXTPControlGalleryItems* pItems);
    CXTPControlGalleryItems* GetItems() const { return m_pItems; }
    int GetItemCount() const;
    CXTPControlGalleryItem* GetItem(int nIndex) const;
    // The item chosen last (-1: none), and the item under the pointer or the keyboard.
    int GetSelectedItem() const { return m_nSelected; }
    void SetSelectedItem(int nSelected);
    int GetCheckedItem() const { return m_nChecked; }
    void SetCheckedItem(int nId);
    // The items have changed: the gallery lays out again.
    virtual void OnItemsChanged();
    // The rectangle the items take inside the control.
    CRect GetItemsRect() const;
    CRect GetItemRect(int nIndex) const;
    int HitTestItem(CPoint point) const;
    void SetResizable(BOOL bResizeWidth = TRUE, BOOL bResizeHeight = TRUE);
    void SetControlSize(CSize size) { m_szControl = size; }

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint point) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    BOOL OnSetSelected(int bSelected) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

protected:
    CXTPControlGalleryItems* m_pItems = nullptr;
    int m_nSelected = -1;
    int m_nHot = -1;
    int m_nChecked = 0;
    CSize m_szControl{0, 0};
    BOOL m_bResizeWidth = FALSE;
    BOOL m_bResizeHeight = FALSE;
};

DV_EXPORTS_END
