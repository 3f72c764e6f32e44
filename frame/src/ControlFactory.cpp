#include "frame/ControlFactory.h"
#include "frame/FindCommandButton.h"

#include "panels/SysPanelControls.h"
#include "ribbon/FindComboBox.h"
#include "ribbon/ProfilePopup.h"
#include "ribbon/RibbonControls.h"

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
        control = new FindCommandButton;
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
        if (frame.addThemeControls)
            frame.addThemeControls(popup);
        control = popup;
        break;
    }
    case C::DockingPanesPopup:
        if (frame.panes != nullptr)
            control = new Dravik::UI::DockingPanesPopup(frame.panes);
        break;
    case C::RibbonTabsPopup:
        control = new RibbonTabsPopup(frame.ribbon);
        break;
    case C::ProfilePopup:
        control = new ProfilePopup(frame.bars);
        break;
    case C::FindComboBox:
        control = new CFindComboBox;
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

CXTPControl* CreateCustomControl(int id, std::wstring_view tag, CXTPCommandBar* bar,
                                 const ControlFactoryFrame& frame) {
    if (const auto entry = FindCustomControl(id, tag))
        return CreateFixedControl(*entry, tag, frame);
    if (frame.libraryControl)
        if (CXTPControl* control = frame.libraryControl(id, tag, bar))
            return control;
    if (frame.userCommandControl)
        return frame.userCommandControl(id, tag == Tags::SplitButtonPopup);
    return nullptr;
}

CXTPControl* CreateCommandControl(int id, CXTPCommandBar* bar, const ControlFactoryFrame& frame) {
    std::optional<std::wstring> prompt;
    if (id >= 17000 && id <= 32000) {
        prompt = frame.applicationCommand ? frame.applicationCommand(id) : std::nullopt;
        if (!prompt)
            return nullptr;
    }
    CXTPControl* control = CreateCustomControl(id, L"", bar, frame);
    if (control == nullptr)
        control = new CXTPControlButton;
    control->SetID(id);
    if (prompt)
        control->SetPrompt(prompt->c_str());
    return control;
}

Dravik::UI::XML::ApplicationParameters FrameApplicationParameters(AttributeScope scope,
                                                                  const ControlFactoryFrame& frame) {
    Dravik::UI::XML::ApplicationParameters parameters;
    parameters.createControl = [frame](const Dravik::UI::XML::Control& definition, CXTPCommandBar* bar) {
        return CreateCustomControl(definition.id, definition.tag, bar, frame);
    };
    parameters.handleAttribute = [scope](CXTPControl* control, const std::wstring& name,
                                         const std::wstring& value) {
        HandleControlAttribute(control, name, value, scope);
    };
    return parameters;
}
