// What the application's state code needs of its main frames: their command bars (to remap the
// ids of application commands), applying a saved state, writing one, and making a new frame
// from a state. The main frame implements it over FrameStateHost (ApplyState, SaveXmlState);
// until then the application has no frames to save or restore.
#pragma once

#include "frame/FrameState.h"

#include "pal/visibility.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;

namespace dvapp {

class StateFrame {
public:
    virtual ~StateFrame() = default;
    // Null when the frame has no command bars yet.
    virtual CXTPCommandBars* GetCommandBars() = 0;
    virtual void ApplyState(const MainFrameState& state, bool applyPlacement, bool layout) = 0;
    // Fills one main-window element with the frame's state.
    virtual void SaveXmlState(Dravik::UI::XML::Node element) = 0;
};

class StateFrames {
public:
    virtual ~StateFrames() = default;
    // The open main frames, in the application's order.
    virtual std::vector<StateFrame*> GetMainFrames() = 0;
    // A new main frame laid out by the state; null when it cannot be made.
    virtual StateFrame* CreateFromState(const std::shared_ptr<MainFrameState>& state) = 0;
};

} // namespace dvapp

DV_EXPORTS_END
