// The kernel's list of a drawing's layers, for the dialogs that pick one: each layer with its
// icon and name, and, when asked for, a last entry that stands for a layer yet to be made.
#pragma once

#include "afx/listctrl.h"
#include "pal/visibility.h"

#include <cstdint>
#include <vector>

DV_EXPORTS_BEGIN

class CDVObject;
namespace Dravik {
class DVDocument;
}

// What a dialog that holds the list does when a person picks an entry with a click.
class CLayersDialogController {
public:
    virtual ~CLayersDialogController() = default;
    virtual void OnLayerPicked() = 0;
};

class DVLayerList : public CListCtrl {
public:
    // Flag 1: the list ends with the entry for a new layer.
    explicit DVLayerList(int flags) : flags_(flags) {}

    bool Create(CWnd* parent, const RECT& rect, UINT id, CLayersDialogController* controller);
    // Lists the container's layers in id order and selects the current one; false without a
    // container.
    bool Load(Dravik::DVDocument* container, const CDVObject* current);
    // The layer ids of the selected entries in list order, -1 for the new-layer entry.
    std::vector<std::int64_t> GetSelection() const;
    // The list's notifications, as its parent hands them on; true when taken.
    bool OnParentNotify(const NMHDR* header, LRESULT* result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static constexpr std::int64_t kNewLayerEntry = -1;

private:
    int flags_;
    CLayersDialogController* controller_ = nullptr;
    std::vector<std::int64_t> ids_;
};

DV_EXPORTS_END
