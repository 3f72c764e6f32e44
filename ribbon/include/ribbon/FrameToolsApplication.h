// What the frame tools ask of the application object: the pane windows shared by every main
// frame (made the first time a frame asks), the number of main frames, and the command code a
// person is typing, which survives switching between frames.
#pragma once

#include "pal/visibility.h"
#include "win/com/guid.h"
#include "win/types.h"

#include <cstddef>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDVUserCommands;
class CWnd;
namespace DravikManagedUIProxy {
class IPrototypesCallback;
}

// One bar of the default tool bars, as the application built them for the running mode.
struct DefaultToolBarRow {
    std::wstring name;
    GUID guid{};
    UINT barId = 0;
    bool visible = true;
    // 1 a tab of the tabbed main tool bar; 2 top, 3 left, 4 right, 5 bottom; 6 top, right of the
    // last visible bar; anything else a bar on none of the sides.
    UINT kind = 0;
    std::vector<UINT> ids; // 0 is a separator
};

class FrameToolsApplication {
public:
    // The application registers itself while it lives; Instance is null before and after.
    FrameToolsApplication();
    virtual ~FrameToolsApplication();
    FrameToolsApplication(const FrameToolsApplication&) = delete;
    FrameToolsApplication& operator=(const FrameToolsApplication&) = delete;
    static FrameToolsApplication* Instance();

    // The pane windows, made on first use when `create` is set; null when the application has
    // none of that kind (or it is switched off). The PDM panes' windows with `availableOnly` are
    // null too while the PDM cannot show them.
    virtual CWnd* GetOrsaArchivesWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaDesktopWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaFavoritesWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaConfigurationSettingsWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaSearchWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaMailWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaLibraryElementsWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetOrsaAssemblyWindow(bool availableOnly, bool create) { return nullptr; }
    virtual CWnd* GetProductStructureWindow(bool create) { return nullptr; }
    virtual CWnd* GetConfigurationsWindow(bool create) { return nullptr; }
    virtual CWnd* GetTechRequirementsWindow(bool create) { return nullptr; }
    virtual CWnd* GetModelTreeWindow(bool create) { return nullptr; }
    virtual CWnd* GetModelElementsWindow(bool create) { return nullptr; }
    virtual CWnd* GetDrawMenuWindow(bool create) { return nullptr; }
    virtual CWnd* GetPropertiesWindow(bool create) { return nullptr; }
    virtual CWnd* GetTaskWindow(bool create) { return nullptr; }
    virtual CWnd* GetNcWindow(bool create) { return nullptr; }
    virtual CWnd* GetStructureElementsWindow(bool create) { return nullptr; }
    virtual CWnd* GetCamWindow(bool create) { return nullptr; }
    virtual CWnd* GetWeldTreeWindow(bool create) { return nullptr; }
    virtual CWnd* GetMacrosWindow(bool create) { return nullptr; }
    virtual CWnd* GetAnnotationsWindow(bool create) { return nullptr; }
    virtual CWnd* GetLayersWindow(bool create) { return nullptr; }
    virtual CWnd* GetQualityManagementWindow(bool create) { return nullptr; }
    virtual CWnd* GetBackgroundTasksWindow(bool create) { return nullptr; }
    virtual CWnd* GetGenerationQueueWindow(bool create) { return nullptr; }
    virtual CWnd* GetBirdsEyeViewWindow(bool create) { return nullptr; }
    virtual CWnd* GetErrorWindow(bool create) { return nullptr; }
    virtual CWnd* GetVariablesWindow(bool create) { return nullptr; }
    virtual CWnd* GetAssemblyStructureWindow(bool create) { return nullptr; }
    virtual CWnd* GetMaterialWindow(bool create) { return nullptr; }
    virtual CWnd* GetFormFactorWindow(bool create) { return nullptr; }
    virtual CWnd* GetFindCommandWindow(bool create) { return nullptr; }
    virtual CWnd* GetFeaResultParametersWindow(bool create) { return nullptr; }

    // Whether an application command (17000-32000) is one of the program's internal ones, which
    // no command list offers.
    virtual bool IsInternalApplicationCommand(UINT id) const { return false; }

    // The default tool bars of a new main frame, in table order.
    virtual std::vector<DefaultToolBarRow> GetDefaultToolBars() { return {}; }

    // The size of the tool bars' icons the person chose.
    virtual SIZE GetToolBarIconSize() const { return SIZE{24, 24}; }

    // What the backstage's new-document page hands the prototypes control; null for none.
    virtual DravikManagedUIProxy::IPrototypesCallback* GetPrototypesCallback() { return nullptr; }
    // The person may have pinned or unpinned recent files (-1: any of them).
    virtual void OnRecentFilePinStateChanged(int index) {}

    // The process's user commands; null when there are none.
    virtual CDVUserCommands* GetUserCommands() { return nullptr; }

    // The main frames that exist now (a frame being created counts).
    virtual size_t GetMainFrameCount() const = 0;

    // The code a person has typed so far; empty when nothing is typed.
    std::wstring& GetTypedCommandCode() { return m_typedCommandCode; }

private:
    std::wstring m_typedCommandCode;
};

DV_EXPORTS_END
