// How a system-panel control exchanges its value with the kernel and with its copies (the same
// control on the ribbon), and the base every such control is built on.
#pragma once

#include "DravikKernel/ApplicationEvents.h"
#include "DravikUI/PopupControls.h"
#include "pal/visibility.h"
#include "xtp/ControlComboBox.h"
#include "xtp/ControlEdit.h"
#include "xtp/Controls.h"

#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

class CView;
class CFrameWnd;
class CDvw32Doc;
namespace Dravik {
class DVDocument;
}

// The value a control shows: a real with the variable it comes from, an integer or a text.
struct SysPanelValue {
    double Real = 0.0;
    std::int32_t Variable = -1;
    std::int32_t Integer = 0;
    std::wstring Text;
    bool operator==(const SysPanelValue&) const = default;
};

class IDataExchange {
public:
    virtual ~IDataExchange() = default;
    virtual void Initialize() {}
    virtual void OnActiveViewChanged(CView* view) {}
    virtual void Reset() = 0;
    // Takes the value only for the 2D document of the active document of the control's frame.
    virtual void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) = 0;
    virtual const SysPanelValue* GetValue() = 0;
    virtual void CopyValueFrom(const IDataExchange& source) = 0;
};

// The main frame whose command bars hold the control; the application's main frame for a control
// on no bar.
CFrameWnd* GetControlFrame(const CXTPControl* control);
// Whether the document is the 2D document of the active document of the control's frame.
bool IsActiveDocumentOf(const CXTPControl* control, const Dravik::DVDocument* document);
// The document a kernel event concerns, when a control of this frame should follow it: not
// while the document runs a command, and only for a view of the control's own frame; else null.
CDvw32Doc* DocumentToFollow(const CXTPControl& control, ApplicationEventArgs& args);
// Whether the event tells of the panel's own edit of the objects' properties (source 0): the
// controls already show that value, so they do not read it back.
bool IsOwnPropertiesChange(ApplicationEventArgs& args);
// Tells the frame the control was executed, so that it copies the control's value into the
// control's other copies.
void ShareWithCopies(CXTPControl& control);

namespace dvui {

// The kernel events a system-panel control follows for as long as it lives.
using SystemPanelEvents = TypedApplicationEventListener<515, 531, 778, 783, 791, 1037>;

// The base of every system-panel control over one of the tool kit's control classes.
template <class T> class SystemPanelControlBase : public T, public IDataExchange, public SystemPanelEvents {
public:
    using T::T;
};

extern template class SystemPanelControlBase<CXTPControlPopup>;
extern template class SystemPanelControlBase<CXTPControlComboBox>;
extern template class SystemPanelControlBase<CXTPControlEdit>;
extern template class SystemPanelControlBase<Dravik::UI::AutoPopup>;

} // namespace dvui

DV_EXPORTS_END
