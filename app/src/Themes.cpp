// The user-interface theme, the ribbon mode and the tool-bar icon size: each applied to every
// main frame and remembered for the next session.
#include "app/Dvw32App.h"
#include "app/LogWindowHost.h"
#include "app/StartPageThemes.h"

#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/ThemeChangedArgs.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "DravikUI/BaseDockFormView.h"
#include "DravikUI/ExpandedFormView.h"
#include "xtp/PaintManager.h"

namespace {

constexpr UINT kFirstThemeCommand = 3401;
constexpr UINT kLastThemeCommand = 3449;
constexpr int kThemeCommandCount = kLastThemeCommand - kFirstThemeCommand + 1;

bool IsDarkStartPageTheme(int look) {
    return look == 1 || look == 3 || look == 5;
}

} // namespace

bool CDvw32App::SetTheme(const std::wstring& themeName) {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    const std::optional<int> number = ui.GetThemeNumber(themeName);
    if (!number || *number < 0 || *number >= kThemeCommandCount || !ui.SetTheme(*number))
        return false;

    m_uiStyle = themeName;
    m_themeCommand = kFirstThemeCommand + static_cast<UINT>(*number);
    if (m_saveAtExit)
        WriteProfileStringW(L"Settings", L"UIStyle", themeName.c_str());

    const int look = ThemeFromName(themeName);
    ForEachStartPageView([look](IStartPageView* view) { view->SetTheme(look); });

    const bool dark = IsDarkStartPageTheme(look);
    DravikManagedUIProxy::WpfAccessor::EnableDarkTheme(dark);
    CBaseDockFormView::SetDefaultBackgroundColor(dark ? RGB(141, 141, 141) : RGB(255, 255, 255));
    ExpandedFormView::EnableTheme(dark);

    if (IMacroManager* macros = MacroManagerInstance())
        macros->SetTheme(themeName.c_str());

    if (const std::optional<UIModuleProxy::ThemeDescription> theme = ui.GetCurrentTheme()) {
        if (dvapp::LogWindowHost::Instance().Exists())
            dvapp::LogWindowHost::Instance().SetTheme(theme->Number);
        ThemeChangedArgs args(theme->Number, theme->Name);
        ApplicationEventManager::runEvent(ThemeChangedArgs::kEvent, args);
    }
    return true;
}

void CDvw32App::OnThemeCommand(UINT id) {
    if (id == m_themeCommand || id < kFirstThemeCommand)
        return;
    const std::vector<std::wstring> names = UIModuleProxy::Instance().GetThemeNames();
    const size_t index = id - kFirstThemeCommand;
    if (index < names.size() && SetTheme(names[index]))
        m_themeCommand = id;
}

void CDvw32App::OnUpdateThemeCommand(CCmdUI* pCmdUI) {
    pCmdUI->SetRadio(pCmdUI->m_nID == m_themeCommand);
}

void CDvw32App::SetRibbonMode(bool ribbon) {
    m_ribbonMode = ribbon;
    ForEachMainFrame([ribbon](CMainFrame* frame) { frame->SetRibbonMode(ribbon); });
}

void CDvw32App::SetToolBarIconSize(CSize size) {
    if (size.cx < 1 || size.cy < 1)
        return;
    m_toolBarIconSize = size;
    m_toolBarIconSizeScaled = CXTPDpi::ScaleIcon(size);
    const bool large = size.cx > 16 || size.cy > 16;
    ForEachMainFrame([&](CMainFrame* frame) {
        UIModuleProxy::Instance().SetCommandBarsIconSizes(frame->GetCommandBars(), CSize(16, 16), size,
                                                          CSize(16, 16), large);
        frame->ApplyCommandBarOptions(true);
    });
}
