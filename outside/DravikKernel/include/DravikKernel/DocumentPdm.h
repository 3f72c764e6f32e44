// A document's ties to the PDM system: its nomenclature reference and data, its work-mix
// reference, the variables that are PDM parameters, and the versions of its product structure.
// The PDM system itself answers through the PDM library's work mix.
#pragma once

#include "DVPDMProxy/Files.h"
#include "DravikKernel/Document.h"
#include "pal/visibility.h"

#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

// Work-mix references: the document is no working copy, a working copy, or the working copy of
// an assembly whose product structures are kept with it.
enum class WorkMixReference { None = 0, WorkingCopy = 1, AssemblyWorkingCopy = 2 };

// A variable of the document that stands for a parameter of the PDM system.
struct PdmParameter {
    std::wstring name;
    int type = 0;
    int state = 0;
};

// One version of the document's product structure, with what a save into the PDM system
// remembers of it.
struct ProductStructure {
    std::wstring name;
    std::wstring versionInfo;
    int updates = 0; // how often it was brought up to date
};

struct DocumentPdmLink {
    // Opened with the option that lets it carry nomenclature data.
    bool mayCarryNomenclature = false;
    // The PDM nomenclature reference; null without one.
    std::shared_ptr<DVPDMNomenclatureObject> nomenclature;
    // The nomenclature data the document carries (empty: none), and whether it is in step with
    // the PDM system's.
    std::wstring nomenclatureData;
    bool synchronised = false;
    WorkMixReference workMix = WorkMixReference::None;
    // Set when the next save is to bring the PDM system in step.
    bool syncMarked = false;
    std::vector<PdmParameter> parameters;
    // The paths of the documents in the document's nomenclature tree.
    std::vector<std::wstring> nomenclatureTree;
    // The assembly tree as the PDM system last gave it.
    std::wstring assemblyTree;
    // The versions of the product structure; the first is the main one.
    std::vector<ProductStructure> productStructures;
    size_t activeProductStructure = 0;
    // How often the 3D document was regenerated after a save of versions.
    int regenerations = 0;

    bool HasNomenclatureData() const { return !nomenclatureData.empty(); }
};

// Brings every product structure of the document up to date.
void UpdateProductStructures(DocumentPdmLink& link);
// Readies the product structures for a save of the nomenclature into the PDM system: each
// version needs a name of its own. False, and nothing changed, when one has none or shares one.
bool PrepareProductStructuresForNomenclatureSave(DocumentPdmLink& link);
// Makes the version at `index` the active one; false for an index out of range.
bool SetActiveProductStructure(DocumentPdmLink& link, size_t index);

} // namespace Dravik

DV_EXPORTS_END
