#include "DravikKernel/DocumentPdm.h"

#include <set>

namespace Dravik {

DocumentPdmLink& DravikDocument2::GetPdmLink() {
    if (!pdm_)
        pdm_ = std::make_unique<DocumentPdmLink>();
    return *pdm_;
}

void UpdateProductStructures(DocumentPdmLink& link) {
    for (ProductStructure& structure : link.productStructures)
        ++structure.updates;
}

bool PrepareProductStructuresForNomenclatureSave(DocumentPdmLink& link) {
    std::set<std::wstring> names;
    for (const ProductStructure& structure : link.productStructures)
        if (structure.name.empty() || !names.insert(structure.name).second)
            return false;
    return true;
}

bool SetActiveProductStructure(DocumentPdmLink& link, size_t index) {
    if (index >= link.productStructures.size())
        return false;
    link.activeProductStructure = index;
    return true;
}

} // namespace Dravik
