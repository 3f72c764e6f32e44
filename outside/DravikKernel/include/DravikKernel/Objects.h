// The objects of a 2D container that carry an id: layers, local coordinate systems (fixing
// vectors on a page) and the 3D coordinate-system elements a drawing shows, and the page itself
// seen as an object. The type codes are the kernel's.
#pragma once

#include "DravikKernel/Parameters.h"
#include "pal/visibility.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

DV_EXPORTS_BEGIN

namespace Dravik {

inline constexpr int kObjectTypeLayer = 13;
inline constexpr int kObjectTypeLCS = 20;
inline constexpr int kObjectTypePage = 33;
inline constexpr int kObjectTypeCS3D = 119;

// The icons the user-interface module draws for the kinds.
inline constexpr int kIconLayer = 560;
inline constexpr int kIconLCS = 562;
inline constexpr int kIconPage = 564;
inline constexpr int kIconCS3D = 566;

// A container object that can be copied as a whole, so that a change to it is undoable.
class DVContainerObject : public CDVObject {
public:
    virtual std::shared_ptr<DVContainerObject> Clone() const = 0;
    std::wstring GetName() const override { return name; }
    std::wstring name;
};

class LAYER : public DVContainerObject {
public:
    int GetTypeCode() const override { return kObjectTypeLayer; }
    int GetDefaultIconID() const override { return kIconLayer; }
    std::shared_ptr<DVContainerObject> Clone() const override { return std::make_shared<LAYER>(*this); }
    bool IsSetLineWidth() const { return lineWidth > 0; }

    std::uint32_t color = 0; // a colour word of the graphics library's colour table
    // Each shown by an icon when set: [0] hidden, [1] hidden in some views (its two low bits),
    // [2] frozen, [3] its own colour (shown as a swatch), [4] locked, [5] not printed,
    // [6] background.
    std::array<std::uint8_t, 7> states{};
    double lineWidth = 0; // millimetres; 0 when the layer sets none
};

// Names as layers take them: at most 255 characters, none of them a control character, not
// empty. The caller trims first.
bool IsValidLayerName(const std::wstring& name);

// A local coordinate system: a fixing vector on a page, of type 2, possibly the projection of a
// 3D coordinate-system element.
class FIXING_POINT : public DVContainerObject {
public:
    int GetTypeCode() const override { return kObjectTypeLCS; }
    int GetDefaultIconID() const override { return kIconLCS; }
    std::shared_ptr<DVContainerObject> Clone() const override {
        return std::make_shared<FIXING_POINT>(*this);
    }

    std::uint32_t page = 0;
    std::uint32_t type = 2;
    std::int64_t projection = -1; // the id of the 3D element projected, -1 for none
    std::wstring comment;
    double x = 0, y = 0, angle = 0;
    bool visible = false;
};

// A coordinate system of the 3D model that a page shows.
class CoordinateSystem3D : public DVContainerObject {
public:
    int GetTypeCode() const override { return kObjectTypeCS3D; }
    int GetDefaultIconID() const override { return kIconCS3D; }
    std::shared_ptr<DVContainerObject> Clone() const override {
        return std::make_shared<CoordinateSystem3D>(*this);
    }

    std::uint32_t page = 0;
};

// A page seen as an object; the container makes one per page.
class DVPageObject : public CDVObject {
public:
    DVPageObject(int index, std::wstring name) : index_(index), name_(std::move(name)) { SetId(index); }
    int GetTypeCode() const override { return kObjectTypePage; }
    int GetDefaultIconID() const override { return kIconPage; }
    std::wstring GetName() const override { return name_; }
    int GetIndex() const { return index_; }

private:
    int index_;
    std::wstring name_;
};

// The comment the kernel gives new fixing vectors of a type.
std::wstring GetCurrentFixingComment(std::uint32_t type);

} // namespace Dravik

using Dravik::FIXING_POINT;
using Dravik::LAYER;

DV_EXPORTS_END
