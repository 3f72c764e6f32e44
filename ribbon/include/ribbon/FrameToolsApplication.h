// What the frame tools ask of the application object: the pane windows shared by every main
// frame (made the first time a frame asks), the number of main frames, and the command code a
// person is typing, which survives switching between frames.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <string>

DV_EXPORTS_BEGIN

class CWnd;

class FrameToolsApplication {
public:
    // The application registers itself while it lives; Instance is null before and after.
    FrameToolsApplication();
    virtual ~FrameToolsApplication();
    FrameToolsApplication(const FrameToolsApplication&) = delete;
    FrameToolsApplication& operator=(const FrameToolsApplication&) = delete;
    static FrameToolsApplication* Instance();

    // The pane windows; null when the application has none of that kind.
    virtual CWnd* GetOrsaArchivesWindow() { return nullptr; }
    virtual CWnd* GetOrsaDesktopWindow() { return nullptr; }
    virtual CWnd* GetOrsaFavoritesWindow() { return nullptr; }
    virtual CWnd* GetOrsaConfigurationSettingsWindow() { return nullptr; }
    virtual CWnd* GetOrsaSearchWindow() { return nullptr; }
    virtual CWnd* GetOrsaMailWindow() { return nullptr; }
    virtual CWnd* GetOrsaLibraryElementsWindow() { return nullptr; }
    virtual CWnd* GetOrsaAssemblyWindow() { return nullptr; }
    virtual CWnd* GetProductStructureWindow() { return nullptr; }
    virtual CWnd* GetConfigurationsWindow() { return nullptr; }
    virtual CWnd* GetTechRequirementsWindow() { return nullptr; }
    virtual CWnd* GetModelTreeWindow() { return nullptr; }
    virtual CWnd* GetModelElementsWindow() { return nullptr; }
    virtual CWnd* GetDrawMenuWindow() { return nullptr; }
    virtual CWnd* GetPropertiesWindow() { return nullptr; }
    virtual CWnd* GetTaskWindow() { return nullptr; }
    virtual CWnd* GetNcWindow() { return nullptr; }
    virtual CWnd* GetStructureElementsWindow() { return nullptr; }
    virtual CWnd* GetCamWindow() { return nullptr; }
    virtual CWnd* GetWeldTreeWindow() { return nullptr; }
    virtual CWnd* GetMacrosWindow() { return nullptr; }
    virtual CWnd* GetAnnotationsWindow() { return nullptr; }
    virtual CWnd* GetLayersWindow() { return nullptr; }
    virtual CWnd* GetQualityManagementWindow() { return nullptr; }
    virtual CWnd* GetBackgroundTasksWindow() { return nullptr; }
    virtual CWnd* GetGenerationQueueWindow() { return nullptr; }
    virtual CWnd* GetBirdsEyeViewWindow() { return nullptr; }
    virtual CWnd* GetErrorWindow() { return nullptr; }
    virtual CWnd* GetVariablesWindow() { return nullptr; }
    virtual CWnd* GetAssemblyStructureWindow() { return nullptr; }
    virtual CWnd* GetMaterialWindow() { return nullptr; }
    virtual CWnd* GetFormFactorWindow() { return nullptr; }
    virtual CWnd* GetFindCommandWindow() { return nullptr; }
    virtual CWnd* GetFeaResultParametersWindow() { return nullptr; }

    // The main frames that exist now (a frame being created counts).
    virtual size_t GetMainFrameCount() const = 0;

    // The code a person has typed so far; empty when nothing is typed.
    std::wstring& GetTypedCommandCode() { return m_typedCommandCode; }

private:
    std::wstring m_typedCommandCode;
};

DV_EXPORTS_END
