// The selection filters of a main frame: which filter set the running command uses and the
// buttons that switch kinds of objects on and off. The frame keeps them as a model and shows
// them on its selection-filter tool bar; while a configuration is open, changes gather and show
// once at its end.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ToolBar.h"

#include <map>
#include <string>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

struct SelectionFilterButtonState {
    bool Shown = false;
    int Icon = 0;           // the icon's id in the bars' image manager; 0 the button's own
    unsigned ToolTipId = 0; // a string resource, or
    std::wstring ToolTip;   // the text itself
    bool Enabled = true;
    bool Ticked = false;
};

class SelectionFilters {
public:
    // Configurations nest; the last end shows what changed.
    void BeginConfiguration() { ++m_configuring; }
    void EndConfiguration();
    bool IsConfiguring() const { return m_configuring > 0; }

    // The filter set of the running command; 0 for none.
    void SetSet(int set);
    int GetSet() const { return m_set; }

    void ShowButton(UINT id, bool show);
    void HideAllButtons();
    void SetIconAndToolTip(UINT id, int icon, unsigned toolTipId);
    void SetIconAndToolTip(UINT id, int icon, const std::wstring& toolTip);
    void SetState(UINT id, bool enabled, bool ticked);
    // Null for a button never mentioned.
    const SelectionFilterButtonState* GetButton(UINT id) const;

    // The bar the buttons show on (the frame's selection-filter bar); null for none.
    void SetToolBar(CXTPToolBar* bar);
    CXTPToolBar* GetToolBar() const { return m_bar; }
    // Puts the model on the bar: a control per button shown, made when missing, with its icon,
    // tip and state; controls of hidden buttons hidden.
    void Apply();

private:
    void changed();
    std::map<UINT, SelectionFilterButtonState> m_buttons;
    CXTPToolBar* m_bar = nullptr;
    int m_configuring = 0;
    int m_set = 0;
    bool m_pending = false;
};

} // namespace Dravik::UI

DV_EXPORTS_END
