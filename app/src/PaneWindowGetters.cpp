// The application's pane windows and the default tool bars that the frames' tools ask for.
#include "app/DefaultToolBars.h"
#include "app/Dvw32App.h"

namespace {

// The PDM panes cannot show anything until the PDM is connected, which this program does not
// do yet: with `availableOnly` their windows are not given.
CWnd* pdmWindow(CWnd* window, bool availableOnly) {
    return availableOnly ? nullptr : window;
}

} // namespace

CWnd* CDvw32App::GetOrsaArchivesWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1012, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaDesktopWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1013, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaFavoritesWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1014, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaConfigurationSettingsWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1033, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaSearchWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1015, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaMailWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1027, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaLibraryElementsWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1040, create), availableOnly);
}

CWnd* CDvw32App::GetOrsaAssemblyWindow(bool availableOnly, bool create) {
    return pdmWindow(m_paneWindows->Get(1019, create), availableOnly);
}

CWnd* CDvw32App::GetProductStructureWindow(bool create) {
    return m_paneWindows->Get(1020, create);
}

CWnd* CDvw32App::GetConfigurationsWindow(bool create) {
    return m_paneWindows->Get(1030, create);
}

CWnd* CDvw32App::GetTechRequirementsWindow(bool create) {
    return m_paneWindows->Get(1038, create);
}

CWnd* CDvw32App::GetModelTreeWindow(bool create) {
    return m_paneWindows->Get(1006, create);
}

CWnd* CDvw32App::GetModelElementsWindow(bool create) {
    return m_paneWindows->Get(1022, create);
}

CWnd* CDvw32App::GetDrawMenuWindow(bool create) {
    return m_paneWindows->Get(1004, create);
}

CWnd* CDvw32App::GetPropertiesWindow(bool create) {
    return m_paneWindows->Get(1007, create);
}

CWnd* CDvw32App::GetTaskWindow(bool create) {
    return m_paneWindows->Get(1008, create);
}

CWnd* CDvw32App::GetNcWindow(bool create) {
    return m_paneWindows->Get(1009, create);
}

CWnd* CDvw32App::GetStructureElementsWindow(bool create) {
    return m_paneWindows->Get(1025, create);
}

CWnd* CDvw32App::GetCamWindow(bool create) {
    return m_paneWindows->Get(1034, create);
}

CWnd* CDvw32App::GetWeldTreeWindow(bool create) {
    return m_paneWindows->Get(1011, create);
}

CWnd* CDvw32App::GetMacrosWindow(bool create) {
    return m_paneWindows->Get(1010, create);
}

CWnd* CDvw32App::GetAnnotationsWindow(bool create) {
    return m_paneWindows->Get(1029, create);
}

CWnd* CDvw32App::GetLayersWindow(bool create) {
    return m_paneWindows->Get(1031, create);
}

CWnd* CDvw32App::GetQualityManagementWindow(bool create) {
    return m_paneWindows->Get(1032, create);
}

CWnd* CDvw32App::GetBackgroundTasksWindow(bool create) {
    return m_paneWindows->Get(1036, create);
}

CWnd* CDvw32App::GetGenerationQueueWindow(bool create) {
    return m_paneWindows->Get(1039, create);
}

CWnd* CDvw32App::GetBirdsEyeViewWindow(bool create) {
    return m_paneWindows->Get(1003, create);
}

CWnd* CDvw32App::GetErrorWindow(bool create) {
    return m_paneWindows->Get(1005, create);
}

CWnd* CDvw32App::GetVariablesWindow(bool create) {
    return m_paneWindows->Get(1017, create);
}

CWnd* CDvw32App::GetAssemblyStructureWindow(bool create) {
    return m_paneWindows->Get(1023, create);
}

CWnd* CDvw32App::GetMaterialWindow(bool create) {
    return m_paneWindows->Get(1021, create);
}

CWnd* CDvw32App::GetFormFactorWindow(bool create) {
    return m_paneWindows->Get(1035, create);
}

CWnd* CDvw32App::GetFindCommandWindow(bool create) {
    return m_paneWindows->Get(1028, create);
}

CWnd* CDvw32App::GetFeaResultParametersWindow(bool create) {
    return m_paneWindows->Get(1041, create);
}

CWnd* CDvw32App::GetDockingPaneWindow(int paneId, bool create) {
    switch (paneId) {
    case 1012:
        return GetOrsaArchivesWindow(true, create);
    case 1013:
        return GetOrsaDesktopWindow(true, create);
    case 1014:
        return GetOrsaFavoritesWindow(true, create);
    case 1033:
        return GetOrsaConfigurationSettingsWindow(true, create);
    case 1015:
        return GetOrsaSearchWindow(true, create);
    case 1027:
        return GetOrsaMailWindow(true, create);
    case 1040:
        return GetOrsaLibraryElementsWindow(true, create);
    case 1019:
        return GetOrsaAssemblyWindow(true, create);
    case 1020:
        return GetProductStructureWindow(create);
    case 1030:
        return GetConfigurationsWindow(create);
    case 1038:
        return GetTechRequirementsWindow(create);
    case 1006:
        return GetModelTreeWindow(create);
    case 1022:
        return GetModelElementsWindow(create);
    case 1004:
        return GetDrawMenuWindow(create);
    case 1007:
        return GetPropertiesWindow(create);
    case 1008:
        return GetTaskWindow(create);
    case 1009:
        return GetNcWindow(create);
    case 1025:
        return GetStructureElementsWindow(create);
    case 1034:
        return GetCamWindow(create);
    case 1011:
        return GetWeldTreeWindow(create);
    case 1010:
        return GetMacrosWindow(create);
    case 1029:
        return GetAnnotationsWindow(create);
    case 1031:
        return GetLayersWindow(create);
    case 1032:
        return GetQualityManagementWindow(create);
    case 1036:
        return GetBackgroundTasksWindow(create);
    case 1039:
        return GetGenerationQueueWindow(create);
    case 1003:
        return GetBirdsEyeViewWindow(create);
    case 1005:
        return GetErrorWindow(create);
    case 1017:
        return GetVariablesWindow(create);
    case 1023:
        return GetAssemblyStructureWindow(create);
    case 1021:
        return GetMaterialWindow(create);
    case 1035:
        return GetFormFactorWindow(create);
    case 1028:
        return GetFindCommandWindow(create);
    case 1041:
        return GetFeaResultParametersWindow(create);
    default:
        return nullptr;
    }
}

std::vector<DefaultToolBarRow> CDvw32App::GetDefaultToolBars() {
    std::vector<DefaultToolBarRow> rows;
    for (const dvapp::BuiltToolBar& bar : dvapp::BuildDefaultToolBars()) {
        if (bar.record == nullptr)
            continue;
        DefaultToolBarRow row;
        row.name = bar.record->caption;
        if (bar.record->guid != nullptr)
            row.guid = *bar.record->guid;
        row.barId = bar.record->barId;
        row.visible = bar.record->secondFlag != 0;
        row.kind = bar.record->kind;
        row.ids.assign(bar.ids.begin(), bar.ids.begin() + static_cast<std::ptrdiff_t>(bar.count));
        rows.push_back(std::move(row));
    }
    return rows;
}
