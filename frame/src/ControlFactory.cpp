#include "frame/ControlFactory.h"

#include "panels/SysPanelControls.h"

#include "DravikUI/PopupControls.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"

namespace {

namespace Tags = Dravik::UI::XML::TagNames;

XTPControlType popupTypeOf(std::wstring_view tag) {
    if (tag == Tags::ButtonPopup)
        return xtpControlButtonPopup;
    if (tag == Tags::SplitButtonPopup)
        return xtpControlSplitButtonPopup;
    return xtpControlPopup;
}

} // namespace

CXTPControl* CreateFixedControl(const CustomControlEntry& entry, std::wstring_view tag,
                                const ControlFactoryFrame& frame) {
    using C = CustomControlClass;
    CXTPControl* control = nullptr;
    switch (entry.type) {
    case C::FindCommandButton:
        control = new CXTPControlButton;
        break;
    case C::PseudoMenuBar:
        if (frame.mainMenuBar != nullptr)
            control = new Dravik::UI::PseudoMenuBar(frame.mainMenuBar, frame.mainMenuBar->GetTitle(),
                                                    frame.mainResourceId);
        break;
    case C::ColorPopup:
        control = new CColorPopupControl;
        break;
    case C::MaterialPopup:
        control = new CMaterialPopup(entry.flag);
        break;
    case C::SyspanelEdit:
        control = entry.rangeFirst != 0 ? new CSyspanelEdit(entry.name, entry.kind, entry.initial,
                                                            entry.rangeFirst, entry.rangeLast)
                                        : new CSyspanelEdit(entry.name, entry.kind, entry.initial);
        break;
    case C::StaticImage:
        control = new CStaticImageControl(entry.image);
        break;
    case C::LayerPopup:
        control = new CLayerPopupControl;
        break;
    case C::LCSPopup:
        control = new LCSPopupControl;
        break;
    case C::FontComboBox:
        control = new CFontComboBox(frame.bars);
        break;
    case C::ThemesPopup: {
        CXTPControlPopup* popup = CXTPControlPopup::CreateControlPopup(popupTypeOf(tag));
        popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(frame.bars));
        popup->GetCommandBar()->InternalRelease();
        control = popup;
        break;
    }
    case C::DockingPanesPopup:
        if (frame.panes != nullptr)
            control = new Dravik::UI::DockingPanesPopup(frame.panes);
        break;
    default:
        // None, and the controls of the ribbon, the documents browser and the customisation that
        // the program does not have yet.
        break;
    }
    if (control != nullptr && entry.controlFlags != 0)
        control->SetFlags(control->GetFlags() | static_cast<DWORD>(entry.controlFlags));
    return control;
}
