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

// What the frame was told about one filter button.
struct SelectionFilterRecord {
    bool Shown = false;
    int Icon = 0;           // the icon's id in the bars' image manager; 0 the button's own
    unsigned ToolTipId = 0; // a string resource, or
    std::wstring ToolTip;   // the text itself
    bool Enabled = true;
    bool Ticked = false;
};

// A filter button on a bar: a button that remembers the icon and tip it was made with, so that
// a filter set can change them for a while and give them back. The flag is the one the table
// of built-in buttons gives each button; the bar that made the button reads it back.
class SelectionFilterButton : public CXTPControlButton {
    DECLARE_DYNCREATE(SelectionFilterButton)
public:
    SelectionFilterButton() = default;
    SelectionFilterButton(int id, bool flag);

    bool GetFlag() const { return m_flag; }
    // The present icon and tip become the ones the button goes back to.
    void SaveDefaultIconAndToolTip();
    void ResetIconAndToolTip();
    // A command's own icon and tip for a while; RestoreDefaults gives the button's back, shown.
    void SetIconAndToolTip(int icon, LPCWSTR toolTip);
    void RestoreDefaults();
    int GetDefaultIconId() const { return m_defaultIcon; }
    CString GetDefaultToolTip() const { return m_defaultToolTip; }

    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

private:
    bool m_flag = false;
    int m_defaultIcon = 0;
    CString m_defaultToolTip;
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
    const SelectionFilterRecord* GetButton(UINT id) const;

    // The bar the buttons show on (the frame's selection-filter bar); null for none.
    void SetToolBar(CXTPToolBar* bar);
    CXTPToolBar* GetToolBar() const { return m_bar; }
    // Puts the model on the bar: a control per button shown, made when missing, with its icon,
    // tip and state; controls of hidden buttons hidden.
    void Apply();

private:
    void changed();
    std::map<UINT, SelectionFilterRecord> m_buttons;
    CXTPToolBar* m_bar = nullptr;
    int m_configuring = 0;
    int m_set = 0;
    bool m_pending = false;
};

} // namespace Dravik::UI

DV_EXPORTS_END
