// The windows that main frames show in their docking panes. Each exists at most once per process
// and belongs to the application: it is made the first time a frame asks for it, lives under
// the hidden pane parent while no pane shows it, and moves between the frames' panes. The
// product's configuration can switch some of them off for good.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

class CWnd;
class CDvw32Doc;

namespace dvapp {

// A pane window that shows something of the active document.
class ActiveDocumentFollower {
public:
    virtual ~ActiveDocumentFollower() = default;
    virtual void SetActiveDocument(CDvw32Doc* previous, CDvw32Doc* document) = 0;
};

class PaneWindowSlots {
public:
    PaneWindowSlots();
    ~PaneWindowSlots();
    PaneWindowSlots(const PaneWindowSlots&) = delete;
    PaneWindowSlots& operator=(const PaneWindowSlots&) = delete;

    // The window of a pane id, made when missing and `create` is set; null for ids that name no
    // pane window and for windows switched off.
    CWnd* Get(int paneId, bool create);
    // Whether an id names a pane window.
    static bool IsPaneWindowId(int paneId);

    // Switches a window on or off by its configuration key ("modelTree", "orsaMail", ...);
    // keys are compared exactly. False for a key that switches nothing.
    bool SetEnabled(std::wstring_view key, bool enabled);
    bool IsEnabled(int paneId) const;
    // The configuration's "DockingPanes" value set: none enables every switchable window; a
    // list of names enables exactly those, one whose first name is excluded all but those.
    void Configure(const std::wstring* dockingPanes);

    // Destroys every window made (at shut-down); the switches stay.
    void DestroyWindows();

    // Makes the window object of a pane id whose class a module provides; without one, or when
    // it gives none, the pane gets an empty window.
    using WindowFactory = std::function<std::unique_ptr<CWnd>(int paneId)>;
    void SetWindowFactory(WindowFactory factory) { m_factory = std::move(factory); }

private:
    struct Slot;
    Slot* find(int paneId);
    const Slot* find(int paneId) const;
    std::vector<Slot> m_slots;
    std::shared_ptr<CWnd> m_parent;
    WindowFactory m_factory;
};

} // namespace dvapp

DV_EXPORTS_END
