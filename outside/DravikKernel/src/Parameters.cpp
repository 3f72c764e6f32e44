#include "DravikKernel/Parameters.h"

#include "DravikKernel/Document.h"

#include <algorithm>

ObjectParametersProvider::ObjectParametersProvider()
    : descriptors_{{1, L"Color"},    {2, L"Layer"},    {3, L"Level"},
                   {4, L"Priority"}, {5, L"FontName"}, {6, L"FontSize"}} {}

ObjectParametersProvider& ObjectParametersProvider::Instance() {
    static ObjectParametersProvider provider;
    return provider;
}

const ParameterDescriptor* ObjectParametersProvider::GetDescriptorByName(std::wstring_view name) const {
    auto it = std::find_if(descriptors_.begin(), descriptors_.end(),
                           [&](const ParameterDescriptor& d) { return d.Name == name; });
    return it == descriptors_.end() ? nullptr : &*it;
}

std::optional<dveval::VariantParameter> CDVObject::GetParameterValue(int descriptorId) const {
    auto it = values_.find(descriptorId);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

void CDVObject::SetParameterValue(int descriptorId, dveval::VariantParameter value) {
    values_[descriptorId] = std::move(value);
}

bool DefaultParameterContainer::HasParameter(std::wstring_view name) const {
    return items_.count(name) != 0;
}

const dveval::VariantParameter* DefaultParameterContainer::GetParameter(std::wstring_view name) const {
    auto it = items_.find(name);
    return it == items_.end() ? nullptr : &it->second;
}

void DefaultParameterContainer::SetVariantParameter(std::wstring_view name,
                                                    const dveval::VariantParameter& value) {
    auto it = items_.find(name);
    if (it == items_.end())
        items_.emplace(std::wstring(name), value);
    else
        it->second = value;
    ++changes_;
}

void ModelDefaultParameterProvider::SetDefaultColor(const dveval::ColorValue& color, bool flag) {
    color_ = color;
    lastFlag_ = flag;
}

void ModelDefaultParameterProvider::SetDefaultLevel(const LevelValue& level, bool flag) {
    level_ = level;
    lastFlag_ = flag;
}

void ModelDefaultParameterProvider::SetDefaultPriority(const PriorityValue& priority, bool flag) {
    priority_ = priority;
    lastFlag_ = flag;
}

void ModelDefaultParameterProvider::SetDefaultLayer(std::int32_t layer, bool flag) {
    layer_ = layer;
    lastFlag_ = flag;
}

void EditPropManager::InitFromSelectedObjects() {
    objects_ = document_ != nullptr ? document_->GetParameters().Selection : decltype(objects_){};
    stored_.clear();
}

void EditPropManager::StoreParameterValueForAll(int descriptorId, const dveval::VariantParameter& value) {
    stored_.emplace_back(descriptorId, value);
}

void EditPropManager::ApplyAllChanges(int source) {
    if (stored_.empty() || objects_.empty())
        return;
    for (const auto& object : objects_)
        for (const auto& [id, value] : stored_)
            object->SetParameterValue(id, value);
    stored_.clear();
    ObjectsPropertiesChangedArgs args(dynamic_cast<CDvw32Doc*>(document_));
    args.Source = source;
    ApplicationEventManager::runEvent(kObjectsPropertiesChangedEvent, args);
}

namespace dvtypes {

Units::Units() : units_{{L"mm"}, {L"cm"}, {L"m"}, {L"in"}, {L"ft"}} {}

Units& Units::Instance() {
    static Units units;
    return units;
}

const Unit* Units::GetUnit(int index) const {
    if (index < 0)
        index = current_;
    return index < static_cast<int>(units_.size()) ? &units_[static_cast<size_t>(index)] : nullptr;
}

int Units::GetIndexFor(const Unit* unit) const {
    for (size_t i = 0; i < units_.size(); ++i)
        if (&units_[i] == unit)
            return static_cast<int>(i);
    return -1;
}

void Units::SetCurrent(int index) {
    if (index >= 0 && index < static_cast<int>(units_.size()))
        current_ = index;
}

} // namespace dvtypes
