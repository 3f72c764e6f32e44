#include "docbrowser/ToolBarControls.h"

#include "docbrowser/DocumentsStructure.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/KernelServices.h"
#include "xtp/CommandBar.h"
#include "xtp/PopupBar.h"

#include <algorithm>
#include <cwctype>
#include <utility>
#include <vector>

namespace DocumentsMenu {

namespace {

// A bar button of the panel: its id is its icon, its tip a string of the same number, and the
// command routing leaves it alone.
void makeButton(CXTPControl* control, int id, int tip) {
    control->SetID(id);
    control->SetIconId(id);
    control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    const std::wstring text = DVLoadString(static_cast<UINT>(tip));
    control->SetCaption(text.c_str());
    control->SetTooltip(text.c_str());
}

HWND siteOf(CXTPControl* control) {
    CXTPCommandBar* bar = control->GetParent();
    CWnd* site = bar != nullptr ? bar->GetSite() : nullptr;
    return site != nullptr ? site->GetSafeHwnd() : nullptr;
}

} // namespace

ButtonNewConfiguration::ButtonNewConfiguration() {
    makeButton(this, ToolBarIds::kNewConfiguration, ToolBarIds::kNewConfiguration);
}

void ButtonNewConfiguration::OnExecute() {
    CreateNewConfiguration(GlobalCfgGroup());
}

OpenConfigurationButton::OpenConfigurationButton(CXTPCommandBars* commandBars) {
    m_controlType = xtpControlSplitButtonPopup;
    makeButton(this, ToolBarIds::kOpenConfiguration, ToolBarIds::kOpenConfiguration);
    SetStyle(xtpButtonIcon);
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(commandBars);
    SetCommandBar(bar);
    bar->InternalRelease();
}

void OpenConfigurationButton::OnExecute() {
    CXTPControlPopup::OnExecute();
    OpenConfiguration(GlobalCfgGroup());
}

void OpenConfigurationButton::FillPopup() {
    CXTPCommandBar* bar = GetCommandBar();
    if (bar == nullptr)
        return;
    bar->GetControls()->RemoveAll();
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
    GetInstalledConfigurations(names, paths);
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (std::size_t i = 0; i < names.size() && i < paths.size(); ++i)
        entries.emplace_back(names[i], paths[i]);
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return CString(a.first.c_str()).CompareNoCase(b.first.c_str()) < 0;
    });
    for (const auto& [name, path] : entries)
        bar->GetControls()->Add(new OpenInstalledConfigurationItem(name, path));
}

BOOL OpenConfigurationButton::OnSetPopup(BOOL bPopup) {
    if (bPopup)
        FillPopup();
    return CXTPControlPopup::OnSetPopup(bPopup);
}

OpenOrsaConfigurationButton::OpenOrsaConfigurationButton() {
    makeButton(this, ToolBarIds::kOpenOrsaConfiguration, ToolBarIds::kOpenOrsaConfiguration);
    UpdateVisibility();
}

void OpenOrsaConfigurationButton::OnExecute() {
    OpenConfigurationFromORSA(GlobalCfgGroup(), siteOf(this));
}

void OpenOrsaConfigurationButton::UpdateVisibility() {
    const BOOL show = DVPDMWorkMix::Instance().IsEnabled() ? TRUE : FALSE;
    if (show != IsVisible())
        SetVisible(show);
}

OpenInstalledConfigurationItem::OpenInstalledConfigurationItem(const std::wstring& name,
                                                               const std::wstring& path)
    : name_(name), path_(path) {
    SetCaption(name.c_str());
    SetFlags(xtpFlagManualUpdate);
    SetChecked(FindConfigurationByPath(GlobalCfgGroup(), path.c_str()) != nullptr);
}

void OpenInstalledConfigurationItem::OnExecute() {
    CXTPControlButton::OnExecute();
    IConfigurationsGroup& group = GlobalCfgGroup();
    if (GetChecked()) {
        if (IConfiguration* open = FindConfigurationByPath(group, path_.c_str()); open != nullptr) {
            open->Close(true);
            SetChecked(FALSE);
        }
        return;
    }
    std::unique_ptr<IConfiguration> made = CreateConfiguration(name_.c_str(), false);
    if (!made)
        return;
    made->SetPath(path_);
    // The file's contents come in before the group shows the configuration.
    if (!made->Load()) {
        DVLog_Write(DVLogWarning, "The installed configuration cannot be opened: %ls",
                    made->LastError().c_str());
        return; // the configuration, in no group yet, goes with `made`
    }
    IConfiguration* added = group.Add(std::move(made));
    if (added == nullptr)
        return;
    added->SetActive(true);
    SetChecked(TRUE);
}

CollapseButton::CollapseButton(DocumentsStructure* structure) : structure_(structure) {
    SetID(ToolBarIds::kCollapse);
    SetIconId(ToolBarIds::kCollapse);
    SetFlags(xtpFlagManualUpdate);
    SetStyle(xtpButtonIcon);
    const std::wstring tip = Dravik::I18n::Translate("Collapse all");
    SetCaption(tip.c_str());
    SetTooltip(tip.c_str());
}

void CollapseButton::OnExecute() {
    if (structure_ != nullptr)
        structure_->CollapseAll();
}

ColumnsSelector::ColumnsSelector(DocumentsStructure* structure) : structure_(structure) {
    SetIconId(ToolBarIds::kColumns);
    SetStyle(xtpButtonIcon);
    SetFlags(xtpFlagRightAlign | xtpFlagManualUpdate);
    const std::wstring tip = Dravik::I18n::Translate("docs_menu.columns");
    SetCaption(tip.c_str());
    SetTooltip(tip.c_str());
}

std::vector<CXTPReportColumn*> ColumnsSelector::GetColumns() {
    return structure_ != nullptr ? structure_->GetShownColumns() : std::vector<CXTPReportColumn*>();
}

ComboBoxFind::ComboBoxFind(DocumentsStructure* structure) : structure_(structure) {
    makeButton(this, ToolBarIds::kFindBox, ToolBarIds::kFindBox);
    SetCaption(L"");
    SetDropDownListStyle(FALSE);
    SetFlags(xtpFlagManualUpdate | xtpFlagControlStretched);
}

void ComboBoxFind::ApplyText() {
    CString text = GetEditText();
    text.Trim();
    std::wstring lower(text.GetString());
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    if (structure_ != nullptr)
        structure_->SetFilter(lower);
    // The history keeps each text once: one that begins a listed text adds nothing.
    if (!lower.empty() && FindString(0, lower.c_str()) == CB_ERR)
        InsertString(0, lower.c_str());
}

void ComboBoxFind::Find() {
    if (button_ != nullptr)
        button_->ShowClear(true);
    ApplyText();
}

void ComboBoxFind::OnExecute() {
    CXTPControlComboBox::OnExecute();
    Find();
}

void ComboBoxFind::OnSelChanged(int nIndex) {
    CXTPControlComboBox::OnSelChanged(nIndex);
    Find();
}

void ComboBoxFind::OnEditChanged() {
    CXTPControlComboBox::OnEditChanged();
    if (button_ == nullptr)
        return;
    if (GetEditText().IsEmpty()) {
        // An emptied box shows everything at once.
        button_->ShowClear(false);
        ApplyText();
    } else if (button_->OffersClear()) {
        // The typed text is not applied until asked for.
        button_->ShowClear(false);
    }
}

ButtonFind::ButtonFind(ComboBoxFind* box) : box_(box) {
    makeButton(this, ToolBarIds::kFind, ToolBarIds::kFind);
}

void ButtonFind::ShowClear(bool clear) {
    SetIconId(clear ? ToolBarIds::kClearFind : ToolBarIds::kFind);
    RedrawParent();
}

void ButtonFind::OnExecute() {
    if (box_ == nullptr)
        return;
    if (OffersClear()) {
        box_->SetEditText(L"");
        box_->ApplyText();
        ShowClear(false);
    } else if (!box_->GetEditText().IsEmpty()) {
        ShowClear(true);
        box_->ApplyText();
    }
}

} // namespace DocumentsMenu
