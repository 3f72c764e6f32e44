#include "FramePaneTable.h"

#include <algorithm>
#include <array>

namespace dvribbon {
namespace {

using App = FrameToolsApplication;

// Frames show the PDM panes whether or not the PDM can fill them now; the PDM's coming and
// going shows and hides them. Bottom panes of the PDM and the technical requirements are tall; the three
// right-docking panes join the left group when it has a pane already.
constexpr PaneRow kPanes[] = {
    {1012, [](App& app) { return app.GetOrsaArchivesWindow(false, true); }, CaptionSource::PanelString,
     nullptr, 3583, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1013, [](App& app) { return app.GetOrsaDesktopWindow(false, true); }, CaptionSource::PanelString,
     nullptr, 3584, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1014, [](App& app) { return app.GetOrsaFavoritesWindow(false, true); }, CaptionSource::PanelString,
     nullptr, 3585, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1033, [](App& app) { return app.GetOrsaConfigurationSettingsWindow(false, true); }, CaptionSource::Key,
     L"panes.orsa.configuration_settings", 0, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1015, [](App& app) { return app.GetOrsaSearchWindow(false, true); }, CaptionSource::PanelString, nullptr,
     30701, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1027, [](App& app) { return app.GetOrsaMailWindow(false, true); }, CaptionSource::Key,
     L"panes.orsa.mail", 0, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1040, [](App& app) { return app.GetOrsaLibraryElementsWindow(false, true); }, CaptionSource::Key,
     L"panes.orsa.library_elements", 0, 0, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1020, [](App& app) { return app.GetProductStructureWindow(true); }, CaptionSource::String, nullptr,
     42561, 793, PaneGroup::Bottom, FirstFrameClosed::Yes, false, false},
    {1030, [](App& app) { return app.GetConfigurationsWindow(true); }, CaptionSource::Key,
     L"panes.model_configurations", 0, 816, PaneGroup::Bottom, FirstFrameClosed::Yes, false, false},
    {1038, [](App& app) { return app.GetTechRequirementsWindow(true); }, CaptionSource::Key,
     L"panes.tech_requirements", 0, 823, PaneGroup::Bottom, FirstFrameClosed::Yes, true, false},
    {1019, [](App& app) { return app.GetOrsaAssemblyWindow(false, true); }, CaptionSource::Window, nullptr, 0,
     0, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1006, [](App& app) { return app.GetModelTreeWindow(true); }, CaptionSource::PanelString, nullptr, 3402,
     785, PaneGroup::Left, FirstFrameClosed::InMode256, false, false},
    {1022, [](App& app) { return app.GetModelElementsWindow(true); }, CaptionSource::Key,
     L"panes.model_elements", 0, 795, PaneGroup::Left, FirstFrameClosed::No, false, false},
    {1004, [](App& app) { return app.GetDrawMenuWindow(true); }, CaptionSource::String, nullptr, 12605, 783,
     PaneGroup::Left, FirstFrameClosed::No, false, false},
    {1007, [](App& app) { return app.GetPropertiesWindow(true); }, CaptionSource::String, nullptr, 12753, 811,
     PaneGroup::Left, FirstFrameClosed::No, false, false},
    {1008, [](App& app) { return app.GetTaskWindow(true); }, CaptionSource::PanelString, nullptr, 30332, 4172,
     PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1009, [](App& app) { return app.GetNcWindow(true); }, CaptionSource::PanelString, nullptr, 30580, 4226,
     PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1025, [](App& app) { return app.GetStructureElementsWindow(true); }, CaptionSource::PanelString, nullptr,
     33717, 40778, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1034, [](App& app) { return app.GetCamWindow(true); }, CaptionSource::Key, L"panes.cam", 0, 820,
     PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1011, [](App& app) { return app.GetWeldTreeWindow(true); }, CaptionSource::PanelString, nullptr, 31045,
     813, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1010, [](App& app) { return app.GetMacrosWindow(true); }, CaptionSource::PanelString, nullptr, 30702,
     812, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1029, [](App& app) { return app.GetAnnotationsWindow(true); }, CaptionSource::Key, L"panes.annotations",
     0, 815, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1031, [](App& app) { return app.GetLayersWindow(true); }, CaptionSource::Key, L"panes.layers", 0, 817,
     PaneGroup::Left, FirstFrameClosed::Yes, false, false},
    {1032, [](App& app) { return app.GetQualityManagementWindow(true); }, CaptionSource::Key,
     L"panes.quality_management", 0, 818, PaneGroup::Left, FirstFrameClosed::Yes, false, true},
    {1036, [](App& app) { return app.GetBackgroundTasksWindow(true); }, CaptionSource::Key,
     L"panes.background_tasks", 0, 822, PaneGroup::Left, FirstFrameClosed::Yes, false, true},
    {1039, [](App& app) { return app.GetGenerationQueueWindow(true); }, CaptionSource::Key,
     L"panes.generation_queue", 0, 824, PaneGroup::Left, FirstFrameClosed::Yes, false, true},
    {1003, [](App& app) { return app.GetBirdsEyeViewWindow(true); }, CaptionSource::PanelString, nullptr, 163,
     782, PaneGroup::BelowLeft, FirstFrameClosed::Yes, false, false},
    {1005, [](App& app) { return app.GetErrorWindow(true); }, CaptionSource::String, nullptr, 12125, 4153,
     PaneGroup::BelowLeft, FirstFrameClosed::Yes, false, false},
    {1017, [](App& app) { return app.GetVariablesWindow(true); }, CaptionSource::String, nullptr, 41279, 786,
     PaneGroup::BelowLeft, FirstFrameClosed::InModes128And256, false, false},
    {1023, [](App& app) { return app.GetAssemblyStructureWindow(true); }, CaptionSource::Key,
     L"panes.assembly_structure", 0, 796, PaneGroup::Right, FirstFrameClosed::Yes, false, false},
    {1021, [](App& app) { return app.GetMaterialWindow(true); }, CaptionSource::PanelString, nullptr, 32513,
     794, PaneGroup::Right, FirstFrameClosed::Yes, false, false},
    {1035, [](App& app) { return app.GetFormFactorWindow(true); }, CaptionSource::Key, L"panes.formfactors",
     0, 821, PaneGroup::Bottom, FirstFrameClosed::Yes, false, false},
    {1028, [](App& app) { return app.GetFindCommandWindow(true); }, CaptionSource::Key, L"panes.find_command",
     0, 799, PaneGroup::None, FirstFrameClosed::Yes, false, false},
    {1041, [](App& app) { return app.GetFeaResultParametersWindow(true); }, CaptionSource::Key,
     L"FeaResult.Dialog.Title", 0, 4172, PaneGroup::Left, FirstFrameClosed::Yes, false, false},
};

constexpr int kFirstFrameCloseOrder[] = {1015, 1014, 1033, 1013, 1012, 1019, 1027, 1040, 1005, 1029,
                                         1031, 1032, 1036, 1039, 1030, 1003, 1020, 1021, 1035, 1038,
                                         1023, 1010, 1011, 1009, 1008, 1025, 1034, 1041};

} // namespace

std::span<const PaneRow> paneTable() {
    return kPanes;
}

const PaneRow* findPaneRow(int paneId) {
    const auto it = std::find_if(std::begin(kPanes), std::end(kPanes),
                                 [paneId](const PaneRow& row) { return row.id == paneId; });
    return it == std::end(kPanes) ? nullptr : &*it;
}

std::span<const int> firstFrameCloseOrder() {
    return kFirstFrameCloseOrder;
}

} // namespace dvribbon
