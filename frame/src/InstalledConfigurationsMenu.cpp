// The menu of the library configurations installed with the program.
#include "frame/MainFrame.h"

#include "DravikKernel/DocumentsMenu.h"
#include "XTToolkitPro.h"

#include <cwctype>
#include <string_view>

namespace {

constexpr std::wstring_view kInstalledLibraries = L"InstalledLibraries";

bool IsInstalledLibraries(const CXTPControl* control) {
    const CString parameter = control->GetParameter();
    const std::wstring_view text(parameter);
    if (text.size() != kInstalledLibraries.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::towlower(text[i]) != std::towlower(kInstalledLibraries[i]))
            return false;
    return true;
}

CXTPControl* FindTagged(CXTPControls* controls, int depth = 0) {
    if (controls == nullptr || depth > 32)
        return nullptr;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (IsInstalledLibraries(control))
            return control;
        if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
            popup != nullptr && popup->GetCommandBar())
            if (CXTPControl* found = FindTagged(popup->GetCommandBar()->GetControls(), depth + 1))
                return found;
    }
    return nullptr;
}

// A button that opens the configuration whose path it carries.
class InstalledConfigurationButton : public CXTPControlButton {
public:
    void OnExecute() override {
        CMainFrame::MenuItem_OpenConfiguration(std::wstring(GetParameter()));
        CXTPControlButton::OnExecute();
    }
};

} // namespace

void CMainFrame::UpdateInstalledConfigurationsMenu() {
    CXTPMenuBar* menuBar = GetMenuBar();
    CXTPControl* tagged = menuBar != nullptr ? FindTagged(menuBar->GetControls()) : nullptr;
    if (tagged == nullptr)
        return;
    auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, tagged);
    if (popup == nullptr) {
        // The tagged place becomes a popup with the same caption, at the same position.
        CXTPControls* holder = tagged->GetControls();
        const int index = tagged->GetIndex();
        popup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
        popup->SetCaption(tagged->GetCaption());
        popup->SetBeginGroup(tagged->GetBeginGroup());
        holder->Remove(tagged);
        holder->Add(popup, 0, kInstalledLibraries.data(), index);
    }
    if (popup->GetCommandBar() == nullptr) {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
        popup->SetCommandBar(bar);
        bar->InternalRelease();
    }
    CXTPControls* items = popup->GetCommandBar()->GetControls();
    for (int i = items->GetCount() - 1; i >= 0; --i)
        if (!items->GetAt(i)->GetParameter().IsEmpty())
            items->Remove(i);
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
    DocumentsMenu::GetInstalledConfigurations(names, paths);
    for (size_t i = 0; i < names.size() && i < paths.size(); ++i) {
        CXTPControl* button = items->Add(new InstalledConfigurationButton, 0, paths[i].c_str());
        button->SetCaption(names[i].c_str());
    }
}

void CMainFrame::MenuItem_OpenConfiguration(const std::wstring& path) {
    if (path.empty())
        return;
    // Opening makes it the configuration the browser shows; a file that cannot be read adds
    // nothing (the model logs why).
    DocumentsMenu::OpenConfigurationFile(DocumentsMenu::GlobalCfgGroup(), path, nullptr);
}
