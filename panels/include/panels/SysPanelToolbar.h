// The system panel: the tool bar of the running command's parameter controls. It keeps the
// prototype of every control by command id, hands them to the command bars when a bar asks for
// an id, and carries the kernel's requests (enable, check, values, command buttons) to them.
#pragma once

#include "DravikUI/SelectionButtons.h"
#include "DravikUI/ToolBars.h"
#include "pal/visibility.h"
#include "panels/DataExchange.h"
#include "panels/SystemPanelStrings.h"
#include "xtp/CommandBars.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CFrameWnd;

// The system panel's control collection: edit windows show only while their control is on the
// panel, and a filter button taken off gets its own icon and tip back for its next use.
class CSysPanelControls : public CXTPControls {
public:
    void OnControlAdded(CXTPControl* control) override;
    void OnControlRemoved(CXTPControl* control) override;
};

class CSysPanelToolbar : public Dravik::UI::FixableToolBar {
    DECLARE_DYNCREATE(CSysPanelToolbar)
public:
    // Controls the panel drives are updated by it alone, never by the command routing.
    static constexpr DWORD kManualUpdate = 8;
    static constexpr int kMaxCommandButtons = 30;

    struct CommandButton {
        int CommandId = 0;
        int IconId = 0;
        unsigned StringId = 0;
    };

    CSysPanelToolbar();
    ~CSysPanelToolbar() override;

    void RegisterSyspanelControls();
    void RegisterControl(int id, CXTPControl* control, int width = -1);
    CXTPControl* FindControlById(int id) const;
    const std::vector<std::pair<std::int32_t, CXTPControl*>>& GetRegistry() const { return m_registry; }
    // The command bars' request for the control of an id on this bar; false when not ours.
    bool OnCreateControl(XTP_COMMANDBARS_CREATECONTROL& request);

    void BeginConfiguration();
    void EndConfiguration();
    unsigned GetConfigurationDepth() const { return m_configurationDepth; }
    bool IsRedrawLocked() const { return m_redrawLocked; }
    int GetFilterLayoutCount() const { return m_filterLayouts; }

    void DisableSystemPanelControls();
    void EnableControl(int id, bool enabled);
    void SetControlState(int id, bool checked, bool disabled);
    bool GetControlState(int id, bool& checked, bool& disabled) const;

    void SetControlValue(Dravik::DVDocument* document, int id, const SysPanelValue& value);
    void SetRealValue(Dravik::DVDocument* document, int id, double value, std::int32_t variable);
    void SetRealValueFromInt(Dravik::DVDocument* document, int id, int value, std::int32_t variable);
    void SetIntValue(Dravik::DVDocument* document, int id, std::int32_t value);
    void SetFontValue(Dravik::DVDocument* document, int id, const std::wstring& face);
    const SysPanelValue* GetControlValue(int id);
    std::int32_t GetControlIntValue(int id);
    double GetControlRealValue(int id, std::int32_t& code);
    int GetControlRealValueAsInt(int id, std::int32_t& code);
    void CopyControlValue(CXTPControl* control);

    bool SetCommandButtons(const std::vector<CommandButton>& buttons);
    // The state of the panel's command-driven controls (922..931, 951, 952) from their commands.
    void UpdateControlStatesFromCommands();
    int GetCurrentFilterSet() const { return m_filterSet; }

    CSize GetButtonSize() const { return m_buttonSize; }

    // Selection filters as the frame relays them: the buttons of the filter set in use, shown,
    // hidden, given a command's icon and tip; the selection-mode controls beside them.
    void SetSelectionFilterSet(int set);
    void ShowSelectionFilterButton(int id, bool show);
    void HideAllSelectionFilterButtons();
    void SetSelectionFilterButtonIconAndToolTipId(int id, int icon, unsigned toolTipId);
    void SetSelectionFilterButtonIconAndToolTip(int id, int icon, const std::wstring& toolTip);
    void ShowSelectionModeControls(bool show);
    bool AreSelectionModeControlsShown() const { return m_selectionModeShown; }
    // A value record split into its value and its code.
    static void SplitRealValue(const SysPanelValue& record, double& value, std::int32_t& code);
    static void SplitRealValueAsInt(const SysPanelValue& record, int& value, std::int32_t& code);
    // What the running command shows the panel for; its meanings are the commands'.
    std::int32_t GetMode() const { return m_mode; }
    void SetMode(std::int32_t mode) { m_mode = mode; }

private:
    void measure(CXTPControl* control);
    void lockRedraw();
    void unlockRedraw();

    int m_filterSet = -1;
    std::vector<std::pair<std::int32_t, CXTPControl*>> m_registry;
    CXTPControl* m_g1Selection = nullptr;
    CXTPControl* m_lazySelection = nullptr;
    CXTPControl* m_selectionMode = nullptr;
    std::array<CXTPControl*, 10> m_geometricTypes{};
    unsigned m_configurationDepth = 0;
    CSize m_buttonSize;
    bool m_redrawLocked = false;
    int m_filterLayouts = 0;
    bool m_selectionModeShown = false;
    std::int32_t m_mode = 0;
};

DV_EXPORTS_END
