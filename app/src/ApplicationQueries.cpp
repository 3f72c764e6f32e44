// The small queries start-up and the main frame pick resources and menu entries with.
#include "app/Dvw32App.h"

#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "ribbon/ApplicationMode.h"
#include "xtp/CommandBar.h"
#include "xtp/Controls.h"

namespace {

constexpr UINT kFirstThemeCommand = 3401;
constexpr size_t kMostThemes = 49;

} // namespace

std::wstring CDvw32App::GetTutorialsFolder() const {
    const wchar_t* tutorials = COUNTRY == German ? L"\\VIRELO Tutorials 18\\" : L"\\DRAVIK Tutorials 18\\";
    const std::wstring key = L"SOFTWARE\\WOW6432Node\\" + m_startup.Company + tutorials + m_startup.Language;
    std::wstring folder;
    if (!Dravik::RegistryKey::Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_READ)
             .GetStringValue(L"SetupDirectory", folder))
        return {};
    return folder;
}

std::wstring CDvw32App::GetTitleString() const {
    return GetTitleStringId() != 0 ? DVLoadString(GetTitleStringId()) : std::wstring();
}

void CDvw32App::AddThemeControls(CXTPControlPopup* popup) {
    CXTPCommandBar* bar = popup != nullptr ? popup->GetCommandBar() : nullptr;
    if (bar == nullptr)
        return;
    const auto themes = UIModuleProxy::Instance().GetThemes();
    for (size_t i = 0; i < themes.size() && i < kMostThemes; ++i) {
        CXTPControl* button =
            bar->GetControls()->Add(xtpControlButton, static_cast<int>(kFirstThemeCommand + i));
        button->SetCaption(themes[i].DisplayName.c_str());
        button->SetStyle(xtpButtonCaption);
    }
}

void CDvw32App::AppendThemeMenuItems(HMENU menu) {
    if (menu == nullptr)
        return;
    const auto themes = UIModuleProxy::Instance().GetThemes();
    for (size_t i = 0; i < themes.size() && i < kMostThemes; ++i)
        AppendMenuW(menu, 0, kFirstThemeCommand + i, themes[i].DisplayName.c_str());
}

UINT GetMainResourceId() {
    switch (GetApplicationModeCode()) {
    case 128:
        return 9;
    case 256:
        return 10;
    case 512:
        return 11;
    default:
        return GlobalContainer::Instance().IsVirelo() ? 12 : 1;
    }
}
