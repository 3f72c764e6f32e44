#include "panels/SystemPanelParameters.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/View.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::string narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

// The flag the typed defaults are written with: the negation of the active view's answer,
// false without a view.
bool defaultsFlag(CDvw32Doc* document) {
    auto* view = dynamic_cast<CDVView*>(document->GetActiveView());
    return view != nullptr && !view->QueryState(1);
}

// A level or a priority from any value: a real's truncated value and its variable, an
// integer's value, else 0; -1 as the variable for all but the real.
template <class T> T levelLike(const dveval::VariantParameter& value) {
    if (const auto* real = value.get<dveval::VariantParameter::Real>())
        return T{RealToInt32(real->Value), real->Variable};
    if (const auto* integer = value.get<dveval::VariantParameter::Integer>())
        return T{*integer, -1};
    if (const auto* like = value.get<dveval::VariantParameter::IntLike>())
        return T{like->Value, -1};
    return T{0, -1};
}

void setInContainers(ModelDefaultParameterProvider& defaults, std::wstring_view name,
                     const dveval::VariantParameter& value) {
    for (DefaultParameterContainer& container : defaults.GetData()) {
        const dveval::VariantParameter* held = container.GetParameter(name);
        if (held != nullptr && !(*held == value))
            container.SetVariantParameter(name, value);
    }
}

} // namespace

std::int32_t RealToInt32(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::clamp(value, low, high)));
}

std::optional<dveval::VariantParameter> GetDefaultParameterValue(CDvw32Doc* document,
                                                                 std::wstring_view name) {
    if (document == nullptr)
        return std::nullopt;
    std::optional<dveval::VariantParameter> result;
    for (const DefaultParameterContainer& container : document->GetDefaultParameters().GetData()) {
        const dveval::VariantParameter* held = container.GetParameter(name);
        if (held == nullptr)
            continue;
        if (result && !(*result == *held))
            return std::nullopt;
        result = *held;
    }
    return result;
}

std::optional<dveval::VariantParameter> GetParameterValue(CDvw32Doc* document, std::wstring_view name) {
    if (document == nullptr)
        return std::nullopt;
    const auto& selection = document->GetParameters().Selection;
    if (selection.empty())
        return GetDefaultParameterValue(document, name);
    const ParameterDescriptor* descriptor = ObjectParametersProvider::Instance().GetDescriptorByName(name);
    if (descriptor == nullptr)
        return std::nullopt;
    std::optional<dveval::VariantParameter> result;
    for (const auto& object : selection) {
        std::optional<dveval::VariantParameter> value = object->GetParameterValue(descriptor->Id);
        if (!value)
            continue;
        if (result && !(*result == *value))
            return std::nullopt;
        result = std::move(value);
    }
    return result;
}

bool SetParameterValue(CDvw32Doc* document, std::wstring_view name, const dveval::VariantParameter& value) {
    if (document == nullptr)
        return false;
    if (document->GetParameters().Selection.empty()) {
        SetDefaultParameterValue(document, name, value);
        return false;
    }
    const ParameterDescriptor* descriptor = ObjectParametersProvider::Instance().GetDescriptorByName(name);
    if (descriptor == nullptr) {
        // The callers take the selection as handled; the value goes nowhere, so say so.
        DVLog_Write(DVLogWarning, "No parameter \"%s\" for the selected objects; value not applied",
                    narrow(name).c_str());
        return true;
    }
    EditPropManager editor(document);
    editor.InitFromSelectedObjects();
    editor.StoreParameterValueForAll(descriptor->Id, value);
    editor.ApplyAllChanges(0);
    return true;
}

void SetDefaultParameterValue(CDvw32Doc* document, std::wstring_view name,
                              const dveval::VariantParameter& value) {
    if (document == nullptr)
        return;
    ModelDefaultParameterProvider& defaults = document->GetDefaultParameters();
    if (name == L"Color") {
        const auto* color = value.get<dveval::VariantParameter::Color>();
        if (color == nullptr) {
            DVLog_Write(DVLogWarning, "Default \"Color\" refused: the value holds kind %d, not a colour",
                        value.index());
            return;
        }
        defaults.SetDefaultColor(*color, defaultsFlag(document));
    } else if (name == L"Level") {
        defaults.SetDefaultLevel(levelLike<LevelValue>(value), defaultsFlag(document));
        return;
    } else if (name == L"Priority") {
        defaults.SetDefaultPriority(levelLike<PriorityValue>(value), defaultsFlag(document));
        return;
    } else if (name == L"Layer") {
        const auto* layer = value.get<dveval::VariantParameter::Integer>();
        if (layer == nullptr) {
            DVLog_Write(DVLogWarning, "Default \"Layer\" refused: the value holds kind %d, not an integer",
                        value.index());
            return;
        }
        defaults.SetDefaultLayer(*layer, defaultsFlag(document));
        return;
    }
    setInContainers(defaults, name, value);
}
