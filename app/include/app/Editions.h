// The editions of the program and what each one selects: its bit in the edition mask, the
// product number of the UI descriptions, the fixed edition code, the title string and the
// document template, and the outside modules it loads.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <optional>
#include <string_view>

DV_EXPORTS_BEGIN

class GlobalContainer;

namespace dvapp {

// Bits of the edition mask; 64 marks an optional module in the module table.
enum EditionMask : std::uint32_t {
    Edition2D = 2,
    EditionSE = 4,
    Edition3D = 8,
    EditionGS = 16,
    EditionGS3D = 32,
    OptionalModule = 64,
    EditionAlder = 128,
    EditionBirch = 256,
    EditionAlderAdministrator = 512,
    // Any Config the table does not name.
    EditionAny = 575,
};

struct Edition {
    const wchar_t* config;        // the "Config" value, compared without case over its whole length
    std::uint32_t mask;           // the edition mask
    std::optional<int> uiProduct; // the product of the UI descriptions; none: not set
    std::uint32_t fixedCode;      // the fixed edition code; 0: left to the loaded modules
};

// The edition of a Config value; EditionAny for one the table does not name or an empty one.
const Edition& SelectEdition(std::wstring_view config);

// The brand code of the locale (a DVBrandCode); the first brand set wins.
int BrandCode(bool isVirelo, bool isMerrow, bool isOstrel);

// The kernel string of the edition's title and the resource of its document template, by the
// kernel's brand; 0 for editions that have none.
unsigned TitleStringId(std::uint32_t editionMask, const GlobalContainer& kernel);
unsigned DocTemplateResourceId(std::uint32_t editionMask, const GlobalContainer& kernel);

// The outside modules, in load order. A module is loaded when its flags share a bit with the
// edition mask; the bit OptionalModule makes its failure a lesser one.
struct ModuleRow {
    const wchar_t* name;
    std::uint32_t flags;
};
inline constexpr ModuleRow kModuleTable[] = {
    {L"DV2DAnnotate.dll", 0x3BF}, {L"DVTEXT.dll", 0x3BF},   {L"DV2DLT.dll", 0x3BF},
    {L"DV2DEdit.dll", 0x3BF},     {L"DVBOM.dll", 0x3BF},    {L"DravikScene.dll", 0x3AD},
    {L"DV3DSE.dll", 0x3AD},       {L"DV3DEdit.dll", 0x3A8}, {L"DravikDocumentConverter.dll", 0x3FF},
};

} // namespace dvapp

DV_EXPORTS_END
