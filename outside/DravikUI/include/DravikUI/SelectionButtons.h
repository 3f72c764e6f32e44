// The controls of the selection group on the system panel: the filter buttons that switch kinds
// of objects on and off, the G1 and lazy-geometry selection buttons, the selection-mode popup and
// the popups of the geometric types.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

#include <array>
#include <functional>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

// A filter button: shown with its own icon and tip until a command gives it others; taking it
// off a bar gives them back so the button can be used again.
class SelectionFilterButton : public CXTPControlButton {
public:
    SelectionFilterButton(int id, bool builtIn);
    bool IsBuiltIn() const { return builtIn_; }
    void SetIconAndToolTip(int icon, LPCWSTR toolTip);
    void RestoreDefaults();

private:
    bool builtIn_;
};

class G1SelectionButton : public CXTPControlButton {
public:
    G1SelectionButton();
};

class LazyGeometrySelectionButton : public CXTPControlButton {
public:
    LazyGeometrySelectionButton();
};

class SelectionModePopup : public CXTPControlPopup {
public:
    SelectionModePopup();
};

struct GeometricType {
    int Id;             // the command id of its popup button
    const wchar_t* Key; // its translation key
};

// The geometric types a command may ask for, in the order their buttons stand.
const std::array<GeometricType, 10>& GetGeometricTypes();

class GeometricTypePopupButton : public CXTPControlPopup {
public:
    explicit GeometricTypePopupButton(const GeometricType& type);
};

// Calls `action` with the id of every built-in filter button, in the order they stand.
void ForEachBuiltinFilterButton(const std::function<void(int id)>& action);

} // namespace Dravik::UI

DV_EXPORTS_END
