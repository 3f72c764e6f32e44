// The program's ribbon: the UI library's ribbon with the system-panel copies of the parameter
// controls that the frame fills, the PDM popup among its free controls and the backstage theme.
#pragma once

#include "DravikUI/Ribbon.h"
#include "pal/visibility.h"
#include "panels/DataExchange.h"

#include <cstdint>
#include <functional>
#include <string>

DV_EXPORTS_BEGIN

class CXTPControlPopup;
struct GUID;

namespace Dravik {
class DVDocument;
}

class DVRibbonBar : public Dravik::UI::RibbonBar {
    DECLARE_DYNCREATE(DVRibbonBar)
public:
    // The PDM popup's items: connect in the work mix's own way, connect, disconnect.
    static constexpr int kOrsaSetUpCommand = 1203;
    static constexpr int kOrsaConnectCommand = 2074;
    static constexpr int kOrsaDisconnectCommand = 2075;

    // Every control of every group of every tab and every free control of the ribbon; with
    // `recurse` the controls inside their popups as well.
    void ForEachControl(const std::function<void(CXTPControl*)>& action, bool recurse) const;
    void ForEachGroup(const std::function<void(CXTPRibbonGroup*)>& action) const;

    // The copies of the system-panel controls (ids 904-999): reset and disabled, but 912.
    void DisableSystemPanelControls();
    void EnableControl(int id, bool enable);
    void SetControlState(int id, bool enabled, bool ticked);
    void SetControlDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code);
    void SetControlInt(Dravik::DVDocument* document, int id, std::int32_t value);
    void SetControlIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code);
    void SetControlValue(Dravik::DVDocument* document, int id, const std::wstring& text);
    // The value of the control with `id`: the selected tab's visible groups first, then every
    // control; none when no control has the id.
    static const SysPanelValue* GetControlData(CXTPRibbonBar* ribbon, int id);

    static Dravik::UI::RibbonTab* FindTabByGuid(CXTPRibbonBar* ribbon, const GUID& guid);

    // The PDM popup among the free controls, made with its three items; none until made.
    CXTPControlPopup* AddOrsaPopup();
    CXTPControlPopup* GetOrsaPopup() const;

    void SetBackstageTheme(int theme) { m_backstageTheme = theme; }
    int GetBackstageTheme() const { return m_backstageTheme; }

private:
    void SetValue(Dravik::DVDocument* document, int id, const SysPanelValue& value);
    int m_backstageTheme = -1;
};

DV_EXPORTS_END
