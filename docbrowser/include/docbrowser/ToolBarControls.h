// The controls of the browser panel's two tool bars: new configuration, open configuration with
// the list of installed ones, open from the PDM system, collapse all and the column chooser on
// the configuration bar; the find box and its button on the search bar.
#pragma once

#include "DravikUI/ReportColumnsPopup.h"

#include "pal/visibility.h"
#include "xtp/ControlComboBox.h"
#include "xtp/Controls.h"

#include <string>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class DocumentsStructure;

// The command and icon ids of the panel's bars.
namespace ToolBarIds {
inline constexpr int kNewConfiguration = 690;
inline constexpr int kOpenConfiguration = 691;
inline constexpr int kFindBox = 692;
inline constexpr int kFind = 693;
inline constexpr int kClearFind = 696;
inline constexpr int kOpenOrsaConfiguration = 1912;
inline constexpr int kCollapse = 497;
inline constexpr int kCollapseIcon = 496;
inline constexpr int kColumns = 40780;
inline constexpr int kOpenArrowTip = 13087;
} // namespace ToolBarIds

class ButtonNewConfiguration : public CXTPControlButton {
public:
    ButtonNewConfiguration();
    void OnExecute() override;
};

// The button opens a configuration a person chooses; its arrow lists the installed ones.
class OpenConfigurationButton : public CXTPControlPopup {
public:
    explicit OpenConfigurationButton(CXTPCommandBars* commandBars);
    void OnExecute() override;
    BOOL OnSetPopup(BOOL bPopup) override;
    // The installed configurations, sorted by name, each ticked while it is open.
    void FillPopup();
};

// Shown only while the PDM work mix is on (the panel asks at idle time).
class OpenOrsaConfigurationButton : public CXTPControlButton {
public:
    OpenOrsaConfigurationButton();
    void OnExecute() override;
    void UpdateVisibility();
};

// An installed configuration: opens it, or closes it when it is open (ticked).
class OpenInstalledConfigurationItem : public CXTPControlButton {
public:
    OpenInstalledConfigurationItem(const std::wstring& name, const std::wstring& path);
    const std::wstring& GetPath() const { return path_; }
    void OnExecute() override;

private:
    std::wstring name_;
    std::wstring path_;
};

class CollapseButton : public CXTPControlButton {
public:
    explicit CollapseButton(DocumentsStructure* structure);
    void OnExecute() override;

private:
    DocumentsStructure* structure_;
};

// Offers the columns of the view the structure shows now.
class ColumnsSelector : public Dravik::UI::ReportColumnsPopup {
public:
    explicit ColumnsSelector(DocumentsStructure* structure);
    std::vector<CXTPReportColumn*> GetColumns() override;

private:
    DocumentsStructure* structure_;
};

class ButtonFind;

// The find box: Enter or a history entry filters the structure by the text, trimmed and in
// lower case, and keeps the text at the top of its history (unbounded, for this run only).
class ComboBoxFind : public CXTPControlComboBox {
public:
    explicit ComboBoxFind(DocumentsStructure* structure);
    void SetFindButton(ButtonFind* button) { button_ = button; }
    ButtonFind* GetFindButton() const { return button_; }
    // Filters by the box's text now.
    void ApplyText();
    void OnExecute() override;
    void OnSelChanged(int nIndex) override;
    void OnEditChanged() override;

private:
    // Enter or a chosen entry: the button offers to clear, and the text filters.
    void Find();
    DocumentsStructure* structure_;
    ButtonFind* button_ = nullptr;
};

// Its icon is its state: find (693) applies the box's text, clear (696) removes the filter.
class ButtonFind : public CXTPControlButton {
public:
    explicit ButtonFind(ComboBoxFind* box);
    bool OffersClear() const { return GetIconId() == ToolBarIds::kClearFind; }
    void ShowClear(bool clear);
    void OnExecute() override;

private:
    ComboBoxFind* box_;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
