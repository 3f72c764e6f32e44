#include "frame/ControlAttributes.h"

#include "frame/ControlTable.h"
#include "frame/FrameState.h"

#include "ribbon/RibbonBar.h"
#include "win/system/shell.h"
#include "xtp/CommandBar.h"
#include "xtp/Controls.h"

namespace {

constexpr DWORD_PTR kHelpAnchor = 0x1000;

bool isFileCommand(int id) {
    return id == 1026 || id == 1072 || id == 1314;
}

bool isButtonOrPopup(const CXTPControl* control) {
    switch (control->GetType()) {
    case xtpControlButton:
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup:
        return true;
    default:
        return false;
    }
}

void setExtra(Dravik::UI::XML::Control& definition, std::wstring name, std::wstring value) {
    for (auto& extra : definition.extra)
        if (extra.name == name) {
            extra.value = std::move(value);
            return;
        }
    definition.extra.push_back({std::move(name), std::move(value)});
}

} // namespace

void HandleControlAttribute(CXTPControl* control, const std::wstring& name, const std::wstring& value,
                            AttributeScope scope) {
    if (control == nullptr)
        return;
    if (isFileCommand(control->GetID())) {
        if (name == L"fileName" && isButtonOrPopup(control))
            control->SetParameter(value.c_str());
    } else if (name == L"url" && isButtonOrPopup(control)) {
        if (IsAcceptedControlUrl(value))
            control->SetParameter(value.c_str());
    }
    if (name == L"anchor") {
        const CXTPCommandBar* parent = control->GetParent();
        if (scope == AttributeScope::Ribbon && (parent == nullptr || !parent->IsPopupBar()))
            return;
        const DWORD_PTR tag = control->GetTag();
        control->SetTag(value == L"help" ? (tag | kHelpAnchor) : (tag & ~kHelpAnchor));
    }
}

void WriteControlAttributes(CXTPControl* control, Dravik::UI::XML::Control& definition, bool frameless) {
    if (control == nullptr)
        return;
    const CString parameter = control->GetParameter();
    if (isButtonOrPopup(control)) {
        if (isFileCommand(control->GetID())) {
            if (!parameter.IsEmpty())
                setExtra(definition, L"fileName", parameter.GetString());
        } else if (PathIsURLW(parameter.GetString())) {
            setExtra(definition, L"url", parameter.GetString());
        }
    }
    if (frameless)
        if (const auto views = ViewTypesToText(static_cast<std::uint32_t>(control->GetTag())))
            setExtra(definition, L"viewTypes", *views);
}

Dravik::UI::XML::SavingParameters FrameSavingParameters(bool frameless) {
    Dravik::UI::XML::SavingParameters parameters;
    parameters.controlStateName = &DVRibbonBar::GetSpecialControlStateName;
    parameters.writeExtraAttributes = [frameless](CXTPControl* control,
                                                  Dravik::UI::XML::Control& definition) {
        WriteControlAttributes(control, definition, frameless);
    };
    return parameters;
}
