// The drop-downs of the system panel's layer and coordinate-system controls: a list of the
// active drawing's layers (the kernel's) or of the active page's coordinate systems, picked
// with a click; losing the activation closes them.
#pragma once

#include "DravikKernel/LayerList.h"
#include "DravikUI/XTPDialog.h"
#include "afx/coll.h"
#include "afx/listctrl.h"
#include "pal/visibility.h"
#include "xtp/DialogBase.h"

#include <cstdint>
#include <optional>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class CDVObject;
class CLayerPopupControl;
class LCSPopupControl;
namespace Dravik {
class DVDocument;
}

// The template both drop-downs are made from: a sizeable popup whose placeholder item the list
// takes.
inline constexpr UINT kPickerTemplate = 21441;
inline constexpr UINT kPickerPlaceholder = 1000;

class CLayerSelectDialog : public CDravikXTPResizeDialog, public CLayersDialogController {
public:
    enum { IDD = kPickerTemplate };
    CLayerSelectDialog();

    bool Drop(CLayerPopupControl* owner, CWnd* parent);
    DVLayerList& GetList() { return m_list; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnLayerPicked() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The one layer id selected; none when nothing or several entries are.
    std::optional<std::int64_t> singleSelection() const;
    void close();

    CLayerPopupControl* m_owner = nullptr;
    std::uint8_t m_closing = 0;
    DVLayerList m_list{1};
    bool m_listCreated = false;
};

// The coordinate systems of the active page: the page's own first, its local systems, the
// model's systems no local one shows, and last the entry that starts the command making one.
class LCSList : public CListCtrl {
public:
    enum { IDC_LIST = 100 };

    bool Create(CWnd* parent, const RECT& rect);
    // Lists what the document's active page offers and selects the current object; false
    // without a 2D container.
    bool Fill(CDvw32Doc* document, const CDVObject* current);
    // The object of the first selected item; null for the last entry or no selection, which
    // `selected` tells apart.
    CDVObject* GetSelectedObject(bool* selected = nullptr) const;
    const CDVObject* GetCurrentObject() const { return m_current; }
    const CArray<CDVObject*, CDVObject*>& GetObjects() const { return m_objects; }
    bool IsFilling() const { return m_filling; }
    CDvw32Doc* GetDocument() const { return m_document; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void add(CDVObject* object, const std::wstring& text);

    CArray<CDVObject*, CDVObject*> m_objects; // one per item, null for the last
    const CDVObject* m_current = nullptr;
    bool m_filling = false;
    CDvw32Doc* m_document = nullptr;
};

class LCSSelectDialog : public CXTPDialogBase<CXTPResizeDialog> {
public:
    enum { IDD = kPickerTemplate };
    explicit LCSSelectDialog(LCSPopupControl* owner);

    bool Drop(CWnd* parent);
    LCSList& GetList() { return m_list; }
    // Takes the entry of the row, or the first selected one for -1 (see the control's SetLCS).
    // A single-selection list tells of the new selection before the old one is cleared, so a
    // selection change names its row.
    void ChooseCoordinateSystem(int row = -1);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LCSPopupControl* m_owner;
    std::uint8_t m_closing = 0;
    LCSList m_list;
    int m_reserved[2] = {0, 0};
};

DV_EXPORTS_END
