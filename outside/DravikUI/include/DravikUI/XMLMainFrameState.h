// The part of a main window's saved state that the UI library knows: window placement, menu bar,
// ribbon, tool bars and the frameless view tool bar. The application derives its own state from
// it and adds its fields through the virtual readers.
#pragma once

#include "DVDiagnostics/VersionNumber.h"
#include "DravikUI/XMLDefinitions.h"
#include "DravikUI/XMLNode.h"

#include "pal/visibility.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

namespace XML {

// A definition read from one element: its attributes first, then each applicable child.
class Element {
public:
    virtual ~Element() = default;
    virtual void reset() {}
    virtual void loadAttributes(const Node& element) {}
    // One child element; false when the child was not understood (it is then logged and skipped).
    virtual bool loadElement(const Node& child, const VersionNumber& version, bool flag) { return false; }

    // The element's own version attribute, when readable, replaces the given one.
    bool load(const Node& element, const VersionNumber& version);
};

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

} // namespace XML

class MainFrameState : public XML::Element {
public:
    MainFrameState();
    ~MainFrameState() override;

    XML::WindowRect windowRect;
    int showCommand = 1; // SW_SHOWNORMAL; 3 maximised, 2 minimised
    VersionNumber version;
    std::shared_ptr<XML::ToolBar> menuBar;     // shared between states until one changes it
    std::shared_ptr<XML::RibbonBar> ribbonBar; // likewise
    std::vector<XML::ToolBar> toolBars;
    std::optional<XML::ToolBar> framelessToolBar;

    void reset() override;
    void loadAttributes(const XML::Node& element) override;
    bool loadElement(const XML::Node& child, const VersionNumber& version, bool flag) override;

    // The first applicable main-window element of a state file (root "state") or the file's
    // root itself when that is a main-window element. False, with a log line, when the file
    // cannot be read or holds no applicable main window.
    bool loadDefault(const std::filesystem::path& file, const VersionNumber& version);
    // A person's state (this) over another one, usually the default.
    virtual void merge(const MainFrameState& other);

    // Writes the state's attributes and children into a main-window element.
    virtual void store(XML::Node element) const;

    // Popups that name a tool bar (popupBar) take that bar's controls; a reference that leads
    // back to a popup that is being filled is a cycle: it is logged and left empty.
    void resolvePopupBars();

    const XML::ToolBar* findToolBar(int id) const;
};

} // namespace Dravik::UI

DV_EXPORTS_END
