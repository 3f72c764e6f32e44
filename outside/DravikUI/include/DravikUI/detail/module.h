// The UI library's side of the kernel's UI-module proxy.
#pragma once

#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/Themes.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class Module final : public UIModuleProxy::Module {
public:
    static Module& Instance();

    std::vector<UIModuleProxy::ThemeDescription> GetThemes() const override;
    std::wstring GetDefaultThemeName() const override;
    bool ApplyTheme(int number) override;
    CFrameWnd* GetMainFrameOfWindow(HWND window) const override;
    CFrameWnd* GetChildFrameOwner(CFrameWnd* childFrame) const override;
    void SetCommandBarsIconSizes(CXTPCommandBars* commandBars, SIZE normal, SIZE large, SIZE popup,
                                 bool largeIcons) override;
    SIZE ScaleIconSize(SIZE size) const override;
    StatusLineProxy* GetStatusLine(CFrameWnd* mainFrame) const override;
    int ShowSettingsDialog(HWND owner, unsigned captionId,
                           std::vector<UIModuleProxy::SettingsEntry>& entries) override;
    void FilterRibbonPart(CXTPRibbonBar* ribbon, const GUID& part,
                          const std::function<bool(AnalysisRibbonId)>& show) override;

private:
    Module();
};

// The settings dialog of check boxes (SettingsDialog.cpp).
int RunSettingsDialog(HWND owner, unsigned captionId, std::vector<UIModuleProxy::SettingsEntry>& entries);

} // namespace Dravik::UI

DV_EXPORTS_END
