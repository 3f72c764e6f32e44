// Definitions applied onto live command bars, and live bars saved as definitions.
#include "ControlDefinitions.h"

#include "DravikUI/XML.h"
#include "DravikUI/XMLDefinitions.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"
#include "xtp/Controls.h"
#include "xtp/MenuBar.h"
#include "xtp/PopupBar.h"

#include <array>

namespace Dravik::UI::XML {
namespace {

struct Kind {
    std::wstring_view tag;
    XTPControlType type;
};
constexpr std::array<Kind, 9> kKinds = {{
    {TagNames::Button, xtpControlButton},
    {TagNames::Popup, xtpControlPopup},
    {TagNames::ButtonPopup, xtpControlButtonPopup},
    {TagNames::SplitButtonPopup, xtpControlSplitButtonPopup},
    {TagNames::Gallery, xtpControlGallery},
    {TagNames::Edit, xtpControlEdit},
    {TagNames::ComboBox, xtpControlComboBox},
    {TagNames::CheckBox, xtpControlCheckBox},
    {TagNames::Label, xtpControlLabel},
}};

struct Style {
    std::wstring_view name;
    XTPButtonStyle style;
};
constexpr std::array<Style, 7> kStyles = {{
    {L"automatic", xtpButtonAutomatic},
    {L"caption", xtpButtonCaption},
    {L"icon", xtpButtonIcon},
    {L"iconAndCaption", xtpButtonIconAndCaption},
    {L"iconAndCaptionBelow", xtpButtonIconAndCaptionBelow},
    {L"large", xtpButtonIconAndCaptionBelow},
    {L"captionAndDescription", xtpButtonCaptionAndDescription},
}};

XTPControlType typeOf(const std::wstring& tag) {
    for (const Kind& kind : kKinds)
        if (kind.tag == tag)
            return kind.type;
    return xtpControlButton;
}

std::wstring tagOf(XTPControlType type) {
    for (const Kind& kind : kKinds)
        if (kind.type == type)
            return std::wstring(kind.tag);
    return std::wstring(TagNames::Button);
}

std::wstring withoutAccelerators(const CString& text) {
    std::wstring plain;
    const std::wstring source(text.GetString());
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == L'&' && i + 1 < source.size())
            ++i;
        plain += source[i];
    }
    return plain;
}

CXTPCommandBar* popupBarOf(CXTPControl* control, CXTPCommandBar* parent) {
    auto* popup = dynamic_cast<CXTPControlPopup*>(control);
    if (popup == nullptr)
        return nullptr;
    if (popup->GetCommandBar() == nullptr) {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(parent->GetCommandBars());
        popup->SetCommandBar(bar);
        bar->InternalRelease(); // the control holds its own reference
    }
    return popup->GetCommandBar();
}

} // namespace

namespace detail {

CXTPControl* applyControl(const Control& definition, const ControlAdder& add, CXTPCommandBar* bar,
                          const ApplicationParameters& parameters) {
    CXTPControl* made = parameters.createControl ? parameters.createControl(definition, bar) : nullptr;
    CXTPControl* control = add(typeOf(definition.tag), definition.id, made);
    if (control == nullptr) {
        DVLog_Write(DVLogWarning, "UI XML: no control could be made for %s %d",
                    pal::text::toUtf8(definition.tag).c_str(), definition.id);
        return nullptr;
    }
    if (!definition.caption.empty())
        control->SetCaption(definition.caption.c_str());
    if (!definition.description.empty())
        control->SetDescription(definition.description.c_str());
    if (!definition.toolTip.empty())
        control->SetTooltip(definition.toolTip.c_str());
    if (definition.iconId != -1)
        control->SetIconId(definition.iconId);
    for (const Style& style : kStyles)
        if (style.name == definition.style)
            control->SetStyle(style.style);
    control->SetBeginGroup(definition.beginGroup);
    control->SetVisible(definition.visible && !definition.optional);
    if (parameters.handleAttribute)
        for (const ExtraAttribute& extra : definition.extra)
            parameters.handleAttribute(control, extra.name, extra.value);
    if (!definition.controls.empty())
        if (CXTPCommandBar* popup = popupBarOf(control, bar)) {
            // The stored buttons stand in place of those the control was made with (a command's
            // popup comes filled), as a bar's do: added to them, every saved state would hold
            // one more copy.
            popup->GetControls()->RemoveAll();
            ApplyControls(definition.controls, popup, parameters);
        }
    return control;
}

std::vector<Control> saveControls(CXTPControls* controls, const SavingParameters& parameters) {
    std::vector<Control> definitions;
    if (controls == nullptr)
        return definitions;
    for (CXTPControl* control : *controls) {
        if (control->IsTemporary())
            continue;
        Control definition;
        definition.tag = tagOf(control->GetType());
        definition.id = control->GetID();
        definition.caption = control->GetCaption().GetString();
        definition.description = control->GetDescription().GetString();
        const std::wstring toolTip = control->GetTooltip().GetString();
        if (toolTip != withoutAccelerators(control->GetCaption()))
            definition.toolTip = toolTip;
        if (control->GetIconId() != control->GetID())
            definition.iconId = control->GetIconId();
        for (const Style& style : kStyles)
            if (style.style == control->GetStyle() && style.style != xtpButtonAutomatic &&
                style.name != L"large") {
                definition.style = style.name;
                break;
            }
        definition.beginGroup = control->GetBeginGroup() != FALSE;
        definition.visible = control->IsVisible() != FALSE;
        if (parameters.controlStateName)
            definition.state = parameters.controlStateName(control);
        if (parameters.writeExtraAttributes)
            parameters.writeExtraAttributes(control, definition);
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup && popup->GetCommandBar())
            definition.controls = saveControls(popup->GetCommandBar()->GetControls(), parameters);
        definitions.push_back(std::move(definition));
    }
    return definitions;
}

} // namespace detail

void ApplyControls(const std::vector<Control>& controls, CXTPCommandBar* bar,
                   const ApplicationParameters& parameters) {
    if (bar == nullptr)
        return;
    CXTPControls* into = bar->GetControls();
    const detail::ControlAdder add = [into](XTPControlType type, int id, CXTPControl* made) {
        return made != nullptr ? into->Add(made, id) : into->Add(type, id);
    };
    for (const Control& definition : controls)
        detail::applyControl(definition, add, bar, parameters);
}

std::vector<Control> SaveControls(CXTPCommandBar* bar, const SavingParameters& parameters) {
    return bar == nullptr ? std::vector<Control>() : detail::saveControls(bar->GetControls(), parameters);
}

void ToolBar::apply(CXTPCommandBar* bar, const ApplicationParameters& parameters) const {
    if (bar == nullptr)
        return;
    bar->GetControls()->RemoveAll();
    if (!caption.empty())
        bar->SetTitle(caption.c_str());
    // The menu bar shows or hides with the ribbon mode, not with its definition.
    if (dynamic_cast<CXTPMenuBar*>(bar) == nullptr)
        bar->SetVisible(visible);
    ApplyControls(controls, bar, parameters);
}

void ToolBar::save(CXTPCommandBar* bar, const VersionNumber& savedVersion,
                   const SavingParameters& parameters) {
    *this = ToolBar{};
    if (bar == nullptr)
        return;
    version = savedVersion;
    id = static_cast<int>(bar->GetBarID());
    caption = bar->GetTitle().GetString();
    visible = bar->IsVisible() != FALSE;
    controls = SaveControls(bar, parameters);
}

void SaveToolBar(CXTPCommandBar* bar, Node element, const SavingParameters& parameters) {
    ToolBar definition;
    definition.save(bar, FormatVersion, parameters);
    definition.store(element);
}

} // namespace Dravik::UI::XML
