// Kinds, sides, notifications and actions of the docking panes.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPDockingPane;

// What a node of a pane layout is. Panes are type 0; the factory of a derived manager is asked
// for every node by this type.
enum XTPDockingPaneType {
    xtpPaneTypeDockingPane = 0,
    xtpPaneTypeTabbedContainer = 1,
    xtpPaneTypeSplitterContainer = 2,
    xtpPaneTypeMiniWnd = 3,
    xtpPaneTypeClient = 4,
    xtpPaneTypeAutoHidePanel = 5,
};

enum XTPDockingPaneDirection {
    xtpPaneDockLeft = 0,
    xtpPaneDockRight = 1,
    xtpPaneDockTop = 2,
    xtpPaneDockBottom = 3,
};

// The message a manager sends its site (the frame): wParam one of the XTP_DPN_ codes, lParam
// the pane, or the XTP_DOCKINGPANE_ACTION for XTP_DPN_ACTION.
constexpr UINT XTPWM_DOCKINGPANE_NOTIFY = WM_APP + 0x1E00;
// A pane is shown and needs its content window: the site attaches one (CXTPDockingPane::Attach).
constexpr WPARAM XTP_DPN_SHOWWINDOW = 1;
// A pane is about to close: the site answers XTP_ACTION_NOCLOSE to keep it.
constexpr WPARAM XTP_DPN_CLOSEPANE = 2;
// Something happened to a pane, or is about to (see XTPDockingPaneAction).
constexpr WPARAM XTP_DPN_ACTION = 3;
constexpr LRESULT XTP_ACTION_NOCLOSE = -1;

// Actions told through XTP_DPN_ACTION. Those that end in -ing come before the change and may be
// refused by setting bCancel.
enum XTPDockingPaneAction {
    xtpPaneActionCreated = 0,
    xtpPaneActionClosing = 1,
    xtpPaneActionClosed = 2,
    xtpPaneActionShown = 3,
    xtpPaneActionFloating = 4,
    xtpPaneActionFloated = 5,
    xtpPaneActionDocking = 6,
    xtpPaneActionDocked = 7,
    xtpPaneActionAttaching = 8,
    xtpPaneActionAttached = 9,
    xtpPaneActionCollapsing = 10, // to an auto-hide side
    xtpPaneActionCollapsed = 11,
    xtpPaneActionPinned = 12,   // back from an auto-hide side
    xtpPaneActionExpanded = 13, // an auto-hidden pane slid out
    xtpPaneActionActivated = 14,
    xtpPaneActionDetached = 15, // its content window was taken away
    xtpPaneActionDestroyed = 16,
};

struct XTP_DOCKINGPANE_ACTION {
    XTPDockingPaneAction action;
    CXTPDockingPane* pPane;
    BOOL bCancel;
};

DV_EXPORTS_END
