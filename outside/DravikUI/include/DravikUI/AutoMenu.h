// The auto menu: the buttons (command ids 6001 to 6999) that the running command offers, shown on
// the auto-menu tool bars of every main frame. The controller keeps the buttons with their icons
// and hints; the tool bars show them; the frame asks the controller for the control of an
// auto-menu id and for the hint of a button when it records a command.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"
#include "xtp/ToolBar.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class AutoMenuToolBar;

class AutoMenuControllerBase {
public:
    static constexpr UINT kFirstButton = 6001;
    static constexpr UINT kLastButton = 6999;
    static bool IsAutoMenuId(UINT id) { return id >= kFirstButton && id <= kLastButton; }

    virtual ~AutoMenuControllerBase() = default;
    // The hint of a button the auto menu shows now; empty for any other id.
    virtual std::wstring GetButtonHint(UINT id) const = 0;
    // The status-line text of a button: its hint; false when there is none.
    bool GetCmdHint(UINT id, std::wstring& hint) const;
};

class AutoMenuController : public AutoMenuControllerBase {
public:
    struct Button {
        UINT id = 0;
        int iconId = 0; // 0: the icon of the id
        std::wstring caption;
        std::wstring hint;
    };

    // The application owns the one controller; while it lives, Instance gives it (null before
    // and after).
    AutoMenuController();
    ~AutoMenuController() override;
    AutoMenuController(const AutoMenuController&) = delete;
    AutoMenuController& operator=(const AutoMenuController&) = delete;
    static AutoMenuController* Instance();

    // The buttons the running command offers (ids outside 6001..6999 are left out); every
    // auto-menu tool bar shows them at once. An empty list clears the bars.
    void SetButtons(std::vector<Button> buttons);
    const std::vector<Button>& GetButtons() const { return buttons_; }
    std::wstring GetButtonHint(UINT id) const override;

    // The control of an auto-menu id for a bar of the auto menu: a button with the button's
    // caption, hint and icon. False for every other request, which the frame then answers.
    BOOL OnCreateControl(XTP_COMMANDBARS_CREATECONTROL* request);
    // Whether a bar is one of the auto menu's tool bars.
    bool HasToolBar(const CXTPCommandBar* bar) const;

private:
    friend class AutoMenuToolBar;
    const Button* find(UINT id) const;
    std::vector<Button> buttons_;
    std::vector<AutoMenuToolBar*> bars_;
};

// A tool bar that shows the auto menu's buttons.
class AutoMenuToolBar : public CXTPToolBar {
    DECLARE_DYNCREATE(AutoMenuToolBar)
public:
    AutoMenuToolBar();
    ~AutoMenuToolBar() override;
    // Shows the controller's buttons (none without a controller).
    void UpdateButtons();

private:
    friend class AutoMenuController;
    AutoMenuController* controller_ = nullptr;
};

} // namespace Dravik::UI

DV_EXPORTS_END
