#include "app/NamedCommandTable.h"

#include "app/CommandHandlers.h"

#include "docbrowser/SaveAsRevision.h"
#include "ribbon/ProfileCommands.h"

#include <string_view>

namespace dvapp {
namespace {

namespace h = handlers;

constexpr NamedCommandRecord row(const wchar_t* name, std::int32_t id, DocumentRunFunction documentRun,
                                 SystemRunFunction systemRun, UpdateFunction update, std::uint32_t flags,
                                 std::uint32_t mask) {
    return {name,      name ? std::char_traits<wchar_t>::length(name) : 0,
            id,        documentRun,
            systemRun, update,
            mask,      static_cast<std::uint32_t>(id),
            flags};
}

constexpr NamedCommandRecord document(const wchar_t* name, std::int32_t id, DocumentRunFunction run,
                                      UpdateFunction update, std::uint32_t flags,
                                      std::uint32_t mask = kEveryEdition) {
    return row(name, id, run, nullptr, update, flags, mask);
}

constexpr NamedCommandRecord system(const wchar_t* name, std::int32_t id, SystemRunFunction run,
                                    UpdateFunction update, std::uint32_t flags,
                                    std::uint32_t mask = kEveryEdition) {
    return row(name, id, nullptr, run, update, flags, mask);
}

// A bare id: named here, handled by the main frame's message map.
constexpr NamedCommandRecord bare(const wchar_t* name, std::int32_t id, std::uint32_t flags) {
    return row(name, id, nullptr, nullptr, {}, flags, kEveryEdition);
}

constexpr UpdateFunction none{};
constexpr std::uint32_t kPdm = 32;

constexpr NamedCommandRecord kNamedCommands[] = {
    system(L"TechnicalSupport", 1048, h::TechnicalSupport, none, 16),
    system(L"DocumentSaveAll", 1201, h::DocumentSaveAll, none, 0),
    system(L"Quit", 1019, h::Quit, none, 16),
    system(nullptr, 57665, h::Quit, none, 16),
    system(L"WindowTileHorizontal", 1062, h::WindowTileHorizontal, none, 8),
    system(L"WindowCascade", 1063, h::WindowCascade, none, 8),
    system(nullptr, 57649, h::WindowArrangeIcons, none, 8),
    system(L"WindowTileVertical", 1092, h::WindowTileVertical, none, 8),
    system(L"WindowCloseAll", 1204, h::WindowCloseAll, none, 0),
    document(L"WindowOpen", 1059, h::WindowOpen, none, 8),
    system(L"NewMainWindow", 2046, h::NewMainWindow, none, 24),
    document(L"ViewPhoto", 1419, h::ViewPhoto, none, 8),
    document(L"PhotoProperties", 3182, h::PhotoProperties, none, 8),
    document(L"DocumentClose", 1200, h::DocumentClose, none, 0),
    // New documents.
    system(L"DocumentNew", 1065, h::DocumentNew, none, 0),
    system(nullptr, 57600, h::DocumentNew, none, 0),
    system(L"DocumentNewAssembly", 2044, h::DocumentNewAssembly, none, 0),
    system(L"DocumentNew3D", 1064, h::DocumentNew3D, none, 0, kEditionsWith3D),
    system(L"DocumentNew3DAssembly", 2043, h::DocumentNew3DAssembly, none, 0),
    system(L"DocumentNewSheetPart", 1120, h::DocumentNewSheetPart, none, 0, kEditionsWith3D),
    system(L"DocumentNewFrom", 1072, h::DocumentNewFrom, none, 0),
    // Saving.
    document(L"DocumentSaveAsPrototype", 1265, h::DocumentSaveAsPrototype, none, 0),
    document(L"DocumentSaveAs", 1093, h::DocumentSaveAs, none, 0),
    document(L"DocumentSaveCopy", 2054, h::DocumentSaveCopy, none, 0),
    document(L"DocumentSaveOrsa", 1765, h::DocumentSaveOrsa, h::UpdatePdmSave, kPdm),
    document(L"DocumentSaveOrsaAssembly", 1657, h::DocumentSaveOrsaAssembly, h::UpdatePdmSave, kPdm),
    document(L"DocumentSaveAsRevision", 1133, DocumentSaveAsRevision, UpdateDocumentSaveAsRevision, kPdm),
    system(L"DocumentOpen", 1001, h::DocumentOpen, none, 0),
    system(nullptr, 57601, h::DocumentOpen, none, 0),
    document(L"DocumentSave", 1029, h::DocumentSave, none, 0),
    system(L"Settings", 1111, h::Settings, none, 16),
    bare(L"WindowFullScreen", 1254, 16),
    bare(L"WindowPresentation", 2814, 16),
    document(nullptr, 1053, h::CheckDocumentLinks, none, 8),
    system(L"APIReference", 1763, h::APIReference, none, 24, kGenericEditions),
    system(L"DocumentSetAccess", 1045, h::DocumentSetAccess, h::UpdateDocumentSetAccess, 1),
    // Library configurations and the PDM system.
    system(L"LibraryConfigurationNew", 1119, h::LibraryConfigurationNew, none, 0),
    system(L"LibraryConfigurationOpen", 1109, h::LibraryConfigurationOpen, none, 0),
    system(L"WindowOpenLibraryOrsa", 9101, h::WindowOpenLibraryOrsa, none, 48),
    document(L"SelectOrsaMaterial", 9131, h::SelectOrsaMaterial, h::UpdateSelectOrsaMaterial, 33,
             kGenericEditions),
    bare(nullptr, 1110, 16),
    document(L"EditGlobalVariables", 1708, h::EditGlobalVariables, none, 71),
    // PDM panes.
    bare(L"WindowShowOrsaArchives", 787, 48),
    bare(L"WindowShowOrsaDesktop", 788, 48),
    bare(L"WindowShowOrsaFavorites", 789, 48),
    bare(L"WindowShowOrsaSearch", 791, 48),
    bare(L"WindowShowOrsaAssembly", 814, 48),
    bare(L"WindowShowOrsaMail", 798, 48),
    bare(L"WindowShowOrsaConfigurationSettings", 819, 48),
    bare(L"WindowShowOrsaLibraryElements", 825, 48),
    system(L"ManageApplications", 1258, h::ManageApplications, none, 16),
    system(L"EditMacros", 1047, h::EditMacros, none, 24),
    system(L"EditMaterials", 1220, h::EditMaterials, none, 24),
    // The remaining library-configuration, help and window commands.
    system(L"LibraryConfigurationSaveAll", 1139, h::LibraryConfigurationSaveAll,
           h::UpdateLibraryConfigurations, 0),
    system(L"LibraryConfigurationCloseAll", 1127, h::LibraryConfigurationCloseAll,
           h::UpdateLibraryConfigurations, 0),
    system(L"FEAHelp", 1205, h::FEAHelp, h::UpdateFEAHelp, 8),
    system(L"DynamicsHelp", 1996, h::DynamicsHelp, h::UpdateDynamicsHelp, 8),
    system(L"LibraryConfigurationEdit", 1249, h::LibraryConfigurationEdit, none, 0),
    system(L"WindowOpenLibrary", 1243, h::WindowOpenLibrary, none, 0),
    system(L"OpenFolderWindow", 1244, h::OpenFolderWindow, none, 0),
    system(L"WindowOpenOrsa", 2003, h::WindowOpenOrsa, none, 48),
    system(L"EnableAutoParameterization", 1965, h::EnableAutoParameterization, h::UpdateAutoDrawingCommand,
           8),
    system(L"EnableAutoDimensions", 2935, h::EnableAutoDimensions, h::UpdateAutoDrawingCommand, 8),
    system(L"WindowStartPage", 1068, h::WindowStartPage, none, 16),
    // Panes of the main frame.
    bare(L"WindowShowBEV", 782, 16),
    bare(L"WindowShowDrawingMenu", 783, 16),
    bare(L"WindowShowErrors", 784, 16),
    bare(L"WindowShowVariables", 786, 16),
    bare(L"WindowShowModelTree", 785, 16),
    bare(L"WindowShowMaterials", 794, 16),
    bare(L"WindowShowProperties", 811, 16),
    bare(L"WindowShowWeld", 813, 16),
    bare(L"WindowShowMacros", 812, 16),
    bare(L"WindowShowStructure", 793, 16),
    bare(L"WindowShowModelElements", 795, 16),
    bare(L"WindowShowAssemblyStructure", 796, 16),
    bare(L"WindowShowConfigurations", 816, 16),
    bare(L"WindowShowFormFactors", 821, 16),
    bare(L"EditTitleBlockDocumentNotes", 823, 16),
    bare(L"ToggleDockingPanesLock", 903, 16),
    // Interface toggles.
    bare(L"ToggleAutoMenu", 800, 0),
    bare(L"ToggleStatusBar", 801, 0),
    bare(L"ToggleDocumentTabs", 805, 0),
    bare(L"ToggleSystemPanel", 802, 0),
    bare(L"ToggleRulers", 803, 0),
    bare(L"TogglePageTabs", 804, 0),
    bare(L"ToggleMainToolBar", 807, 0),
    // Settings profiles.
    system(L"ApplyProfile1", 1190, ApplyProfile1, UpdateApplyProfile, 0),
    system(L"ApplyProfile2", 1191, ApplyProfile2, UpdateApplyProfile, 0),
    system(L"ApplyProfile3", 1192, ApplyProfile3, UpdateApplyProfile, 0),
    system(L"ApplyProfile4", 1193, ApplyProfile4, UpdateApplyProfile, 0),
    system(L"ApplyProfile5", 1194, ApplyProfile5, UpdateApplyProfile, 0),
    system(L"ApplyProfile6", 1195, ApplyProfile6, UpdateApplyProfile, 0),
    system(L"ApplyProfile7", 1196, ApplyProfile7, UpdateApplyProfile, 0),
    system(L"ApplyProfile8", 1197, ApplyProfile8, UpdateApplyProfile, 0),
    system(L"ApplyProfile9", 1198, ApplyProfile9, UpdateApplyProfile, 0),
    system(L"ApplyProfile10", 1199, ApplyProfile10, UpdateApplyProfile, 0),
    system(L"ResetSettings", 1060, ResetSettings, none, 0),
    system(L"Profiles", 1061, Profiles, none, 0),
    system(nullptr, 2085, h::DoNothing, none, 16),
    system(L"CheckForUpdates", 2110, h::CheckForUpdates, none, 16),
};

static_assert(std::size(kNamedCommands) == 101);

} // namespace

std::span<const NamedCommandRecord> NamedCommandTable() {
    return kNamedCommands;
}

} // namespace dvapp
