// The UI library answers the kernel's UI-module proxy: it installs itself when the library is
// loaded and takes itself out when it is unloaded.
#include "DravikUI/CommandIcons.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/MainFrame.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/Themes.h"
#include "DravikUI/Windows.h"
#include "DravikUI/detail/module.h"

#include "DravikKernel/UIModuleProxy.h"
#include "xtp/CommandBars.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/FrameWnd.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"
#include "xtp/RibbonBar.h"

namespace Dravik::UI {

namespace {

// The listed main frame that a window is, or lies in (through parents and owners: floating
// bars are owned by their frame, not its children).
CFrameWnd* listedFrameOf(HWND window) {
    const UIModuleProxy& ui = UIModuleProxy::Instance();
    for (HWND h = window; h && ::IsWindow(h);) {
        auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h));
        if (frame && ui.IsMainFrame(frame))
            return frame;
        HWND parent = ::GetParent(h);
        h = parent ? parent : ::GetWindow(h, GW_OWNER);
    }
    return nullptr;
}

} // namespace

Module::Module() = default;

Module& Module::Instance() {
    static Module* module = new Module;
    return *module;
}

std::vector<UIModuleProxy::ThemeDescription> Module::GetThemes() const {
    std::vector<UIModuleProxy::ThemeDescription> themes;
    int number = 0;
    for (const ThemeInfo& theme : GetThemeTable()) {
        const XTP_THEME* paint = CXTPPaintManager::FindTheme(theme.Name);
        themes.push_back({number++, theme.Name, theme.DisplayName, paint && paint->bDark});
    }
    return themes;
}

std::wstring Module::GetDefaultThemeName() const {
    return Dravik::UI::GetDefaultThemeName();
}

bool Module::ApplyTheme(int number) {
    const auto table = GetThemeTable();
    if (number < 0 || number >= static_cast<int>(table.size()))
        return false;
    // The paint manager draws every bar; each main frame then passes the theme on to what it
    // draws itself.
    if (!CXTPPaintManager::Current()->SetTheme(table[static_cast<size_t>(number)].Name))
        return false;
    // The command pictures follow: a dark theme shows the light-on-dark set.
    const bool dark = CXTPPaintManager::Current()->IsDarkTheme();
    LoadCommandIcons(*XTPImageManager(), dark);
    for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
        if (auto* main = dynamic_cast<CXTPMDIFrameWnd*>(frame); main && main->GetCommandBars())
            LoadCommandIcons(*main->GetCommandBars()->GetImageManager(), dark);
    for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames()) {
        if (auto* main = dynamic_cast<MainFrame*>(frame))
            main->SetTheme(number);
        else if (::IsWindow(frame->GetSafeHwnd()))
            frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    return true;
}

CFrameWnd* Module::GetMainFrameOfWindow(HWND window) const {
    return listedFrameOf(window);
}

CFrameWnd* Module::GetChildFrameOwner(CFrameWnd* childFrame) const {
    if (!childFrame || !::IsWindow(childFrame->GetSafeHwnd()))
        return nullptr;
    // A child frame lies in an MDI client; the frame above that client owns it.
    return listedFrameOf(::GetParent(childFrame->GetSafeHwnd()));
}

void Module::SetCommandBarsIconSizes(CXTPCommandBars* commandBars, SIZE normal, SIZE large, SIZE popup,
                                     bool largeIcons) {
    CXTPCommandBarsOptions* options = commandBars ? commandBars->GetCommandBarsOptions() : nullptr;
    if (!options)
        return;
    options->szIcons = normal;
    options->szLargeIcons = large;
    options->szPopupIcons = popup;
    options->bLargeIcons = largeIcons ? TRUE : FALSE;
    commandBars->RecalcFrameLayout();
}

SIZE Module::ScaleIconSize(SIZE size) const {
    HDC dc = ::GetDC(nullptr);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc)
        ::ReleaseDC(nullptr, dc);
    const auto scale = [dpi](LONG v) {
        return static_cast<LONG>((static_cast<long long>(v) * dpi + 48) / 96);
    };
    return SIZE{scale(size.cx), scale(size.cy)};
}

StatusLineProxy* Module::GetStatusLine(CFrameWnd* mainFrame) const {
    auto* main = dynamic_cast<GenericMainFrame*>(mainFrame);
    return main ? main->GetStatusLineProxy() : nullptr;
}

int Module::ShowSettingsDialog(HWND owner, unsigned captionId,
                               std::vector<UIModuleProxy::SettingsEntry>& entries) {
    return RunSettingsDialog(owner, captionId, entries);
}

void Module::FilterRibbonPart(CXTPRibbonBar* ribbon, const GUID& part,
                              const std::function<bool(AnalysisRibbonId)>& show) {
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        auto* tab = dynamic_cast<RibbonTab*>(ribbon->GetTab(t));
        if (tab == nullptr || !tab->HasGUID(part))
            continue;
        CXTPRibbonGroups* groups = tab->GetGroups();
        // Elements of every analysis ribbon keep what else decided about them.
        for (int g = 0; groups != nullptr && g < groups->GetCount(); ++g)
            if (auto* group = dynamic_cast<RibbonGroup*>(groups->GetAt(g));
                group != nullptr && group->GetAnalysisId() >= 1)
                group->SetVisible(show(group->GetAnalysisId()));
        return;
    }
}

namespace {

// Installed while the library is loaded.
struct Installation {
    Installation() { UIModuleProxy::Instance().SetModule(&Module::Instance()); }
    ~Installation() {
        if (UIModuleProxy::Instance().GetModule() == &Module::Instance())
            UIModuleProxy::Instance().SetModule(nullptr);
    }
} installation;

} // namespace

} // namespace Dravik::UI
