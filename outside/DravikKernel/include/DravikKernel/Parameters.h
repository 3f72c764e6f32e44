// Parameters of a document's objects and of the elements it is about to make: the tagged value
// every parameter holds, the descriptors by name, the objects of the stored selection, the
// defaults for new elements and the editor that writes a value to every selected object.
#pragma once

#include "DravikKernel/ApplicationEvents.h"
#include "pal/visibility.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {
class DravikDocument2;
}

namespace dveval {

struct RealValue {
    double Value = 0.0;
    std::int32_t Variable = -1; // the variable the value comes from, -1 for none
    bool operator==(const RealValue&) const = default;
};

struct ColorValue {
    std::uint32_t Low = 0;
    std::uint32_t High = 0;
    bool operator==(const ColorValue&) const = default;
};

struct IntegerLike {
    std::int32_t Value = 0;
    bool operator==(const IntegerLike&) const = default;
};

// Kinds of value the panel never meets keep their place in the numbering.
template <int N> struct Unused { bool operator==(const Unused&) const = default; };

// A tagged value: 0 a real, 1 a string, 2 an integer, 5 a colour, 9 an integer-like value.
class VariantParameter {
public:
    enum Kind : int { Real = 0, String = 1, Integer = 2, Color = 5, IntLike = 9 };
    using Value = std::variant<RealValue, std::wstring, std::int32_t, Unused<3>, Unused<4>, ColorValue,
                               Unused<6>, Unused<7>, Unused<8>, IntegerLike>;

    VariantParameter() = default;
    VariantParameter(RealValue v) : value_(std::in_place_index<Real>, v) {}
    VariantParameter(std::wstring v) : value_(std::in_place_index<String>, std::move(v)) {}
    VariantParameter(std::int32_t v) : value_(std::in_place_index<Integer>, v) {}
    VariantParameter(ColorValue v) : value_(std::in_place_index<Color>, v) {}
    VariantParameter(IntegerLike v) : value_(std::in_place_index<IntLike>, v) {}

    int index() const { return static_cast<int>(value_.index()); }
    const Value& value() const { return value_; }
    template <int N> const auto* get() const { return std::get_if<N>(&value_); }

    // Two bytes of flags that travel with the value and take part in equality.
    std::uint8_t Flags[2] = {0, 0};

    bool operator==(const VariantParameter& other) const {
        return value_ == other.value_ && Flags[0] == other.Flags[0] && Flags[1] == other.Flags[1];
    }

private:
    Value value_;
};

} // namespace dveval

struct LevelValue {
    std::int32_t Value = 0;
    std::int32_t Variable = -1;
    bool operator==(const LevelValue&) const = default;
};
struct PriorityValue {
    std::int32_t Value = 0;
    std::int32_t Variable = -1;
    bool operator==(const PriorityValue&) const = default;
};

struct ParameterDescriptor {
    int Id = 0;
    std::wstring Name;
};

// The parameters objects can carry, by name.
class ObjectParametersProvider {
public:
    static ObjectParametersProvider& Instance();
    // Null for a name no object carries.
    const ParameterDescriptor* GetDescriptorByName(std::wstring_view name) const;

private:
    ObjectParametersProvider();
    std::vector<ParameterDescriptor> descriptors_;
};

// An object of a document with its parameter values by descriptor id. Objects the 2D container
// keeps (DravikKernel/Objects.h) also carry their id, their kind's type code and a name.
class CDVObject {
public:
    virtual ~CDVObject() = default;
    std::optional<dveval::VariantParameter> GetParameterValue(int descriptorId) const;
    void SetParameterValue(int descriptorId, dveval::VariantParameter value);

    // The kernel's object type code; 0 for an object of no kind the panels tell apart.
    virtual int GetTypeCode() const { return 0; }
    virtual std::wstring GetName() const { return {}; }
    // The icon the user-interface module shows for the object's kind; 0 for none.
    virtual int GetDefaultIconID() const { return 0; }
    // The id in its container; -1 for an object no container holds.
    std::int64_t GetId() const { return id_; }
    void SetId(std::int64_t id) { id_ = id; }

private:
    std::map<int, dveval::VariantParameter> values_;
    std::int64_t id_ = -1;
};

// One set of defaults for new elements, by parameter name.
class DefaultParameterContainer {
public:
    bool HasParameter(std::wstring_view name) const;
    const dveval::VariantParameter* GetParameter(std::wstring_view name) const;
    // Adds the item when the container has none of the name.
    void SetVariantParameter(std::wstring_view name, const dveval::VariantParameter& value);
    int ChangeCount() const { return changes_; }

private:
    std::map<std::wstring, dveval::VariantParameter, std::less<>> items_;
    int changes_ = 0;
};

// The document's defaults for new elements: the typed defaults and the named containers.
class ModelDefaultParameterProvider {
public:
    std::vector<DefaultParameterContainer>& GetData() { return data_; }
    const std::vector<DefaultParameterContainer>& GetData() const { return data_; }

    void SetDefaultColor(const dveval::ColorValue& color, bool flag);
    void SetDefaultLevel(const LevelValue& level, bool flag);
    void SetDefaultPriority(const PriorityValue& priority, bool flag);
    void SetDefaultLayer(std::int32_t layer, bool flag);
    dveval::ColorValue GetDefaultColor() const { return color_; }
    LevelValue GetDefaultLevel() const { return level_; }
    PriorityValue GetDefaultPriority() const { return priority_; }
    std::int32_t GetDefaultLayer() const { return layer_; }
    // The flag the last typed default came with.
    bool GetLastFlag() const { return lastFlag_; }

private:
    std::vector<DefaultParameterContainer> data_;
    dveval::ColorValue color_;
    LevelValue level_;
    PriorityValue priority_;
    std::int32_t layer_ = 0;
    bool lastFlag_ = false;
};

// What the document keeps for parameters: its objects' stored selection and its defaults.
struct DocumentParameters {
    std::vector<std::shared_ptr<CDVObject>> Selection;
    ModelDefaultParameterProvider Defaults;
};

// Raised (event 1037) when an edit changed the properties of objects; Source tells who asked.
class ObjectsPropertiesChangedArgs : public ApplicationEventArgs {
public:
    using ApplicationEventArgs::ApplicationEventArgs;
    int Source = 0;
};

inline constexpr int kObjectsPropertiesChangedEvent = 1037;

// Gathers values for the selected objects of a document and writes them in one go.
class EditPropManager {
public:
    explicit EditPropManager(Dravik::DravikDocument2* document) : document_(document) {}
    void InitFromSelectedObjects();
    void StoreParameterValueForAll(int descriptorId, const dveval::VariantParameter& value);
    // Writes what was stored and tells the listeners of 1037, with the source given.
    void ApplyAllChanges(int source);

private:
    Dravik::DravikDocument2* document_;
    std::vector<std::shared_ptr<CDVObject>> objects_;
    std::vector<std::pair<int, dveval::VariantParameter>> stored_;
};

namespace dvtypes {

struct Unit {
    std::wstring Name;
};

// The length units; the current one is what GetUnit(-1) gives.
class Units {
public:
    static Units& Instance();
    const Unit* GetUnit(int index) const;
    int GetIndexFor(const Unit* unit) const;
    void SetCurrent(int index);

private:
    Units();
    std::vector<Unit> units_;
    int current_ = 0;
};

} // namespace dvtypes

DV_EXPORTS_END
