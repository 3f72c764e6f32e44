// The attributes of a control definition that the main frame interprets itself: read when a
// definition is applied to a live control, written when a live bar is saved.
#pragma once

#include "DravikUI/XMLDefinitions.h"

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CXTPControl;

// Where a definition is applied: the menu bar's attributes apply to every control; the ribbon's
// "anchor" only to controls of popup bars.
enum class AttributeScope { MenuBar, Ribbon };

// One attribute of a control's definition, applied to the control standing in its bar.
void HandleControlAttribute(CXTPControl* control, const std::wstring& name, const std::wstring& value,
                            AttributeScope scope);

// The extra attributes a live control keeps in its definition; `frameless` adds the view types of
// the frameless view tool bar's controls.
void WriteControlAttributes(CXTPControl* control, Dravik::UI::XML::Control& definition, bool frameless);

// The parameters with which the frame's definitions are applied and saved.
Dravik::UI::XML::SavingParameters FrameSavingParameters(bool frameless);

DV_EXPORTS_END
