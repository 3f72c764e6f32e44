// A form of the kernel that the shell hosts in a floating docking pane: its window, its title and
// icon, and the least size it needs.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>

DV_EXPORTS_BEGIN

class DVPaneForm {
public:
    virtual ~DVPaneForm() = default;
    virtual HWND GetFormWindow() const = 0;
    virtual std::wstring GetFormTitle() const = 0;
    // The command id whose icon the pane shows; 0 for none.
    virtual UINT GetFormIconId() const { return 0; }
    virtual SIZE GetFormMinSize() const = 0;
    // Whether a child of the form fills it (and sizes with it).
    virtual bool HasFillingChild() const { return false; }
    // The form is about to leave the pane that hosted it.
    virtual void OnLeavePane() {}
};

DV_EXPORTS_END
