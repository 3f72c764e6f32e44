#include "app/Editions.h"

#include "DravikKernel/GlobalContainer.h"
#include "win/base.h"

#include <iterator>

namespace dvapp {
namespace {

constexpr Edition kEditions[] = {
    {L"2D", Edition2D, 0, 0},
    {L"SE", EditionSE, 2, 0},
    {L"3D", Edition3D, 1, 0},
    {L"GS", EditionGS, std::nullopt, EditionGS},
    {L"GS3D", EditionGS3D, std::nullopt, EditionGS3D},
    {L"Alder", EditionAlder, 3, EditionAlder},
    {L"AlderAdministrator", EditionAlderAdministrator, 5, EditionAlderAdministrator},
    {L"Birch", EditionBirch, 4, EditionBirch},
};
constexpr Edition kAnyEdition = {L"", EditionAny, std::nullopt, 0};

// Ids by brand, in the order the kernel is asked: Virelo, Merrow, Ostrel, none.
struct BrandedIds {
    std::uint32_t mask;
    unsigned title[4];
    unsigned docTemplate[4];
};

constexpr BrandedIds kBrandedIds[] = {
    {Edition2D, {12, 15, 16, 2}, {994, 993, 992, 1000}},
    {EditionSE, {12, 15, 16, 5}, {994, 993, 992, 1000}},
    {Edition3D, {12, 15, 16, 3}, {994, 993, 992, 1000}},
    {EditionAlder, {9, 9, 9, 9}, {1000, 1000, 1000, 1000}},
    {EditionBirch, {10, 10, 10, 10}, {1000, 1000, 1000, 1000}},
    {EditionAlderAdministrator, {11, 11, 11, 11}, {1000, 1000, 1000, 1000}},
};

int brandIndex(const GlobalContainer& kernel) {
    if (kernel.IsVirelo())
        return 0;
    if (kernel.IsMerrow())
        return 1;
    if (kernel.IsOstrel())
        return 2;
    return 3;
}

const BrandedIds* idsOf(std::uint32_t mask) {
    for (const auto& row : kBrandedIds)
        if (row.mask == mask)
            return &row;
    return nullptr;
}

} // namespace

const Edition& SelectEdition(std::wstring_view config) {
    for (const auto& edition : kEditions)
        if (CompareStringOrdinal(config.data(), static_cast<int>(config.size()), edition.config, -1, TRUE) ==
            CSTR_EQUAL)
            return edition;
    return kAnyEdition;
}

int BrandCode(bool isVirelo, bool isMerrow, bool isOstrel) {
    return isVirelo ? DVBrandVirelo : isMerrow ? DVBrandMerrow : isOstrel ? DVBrandOstrel : DVBrandNone;
}

unsigned TitleStringId(std::uint32_t editionMask, const GlobalContainer& kernel) {
    const BrandedIds* ids = idsOf(editionMask);
    return ids ? ids->title[brandIndex(kernel)] : 0;
}

unsigned DocTemplateResourceId(std::uint32_t editionMask, const GlobalContainer& kernel) {
    const BrandedIds* ids = idsOf(editionMask);
    return ids ? ids->docTemplate[brandIndex(kernel)] : 0;
}

} // namespace dvapp
