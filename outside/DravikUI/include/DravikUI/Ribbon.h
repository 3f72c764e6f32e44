// The UI library's ribbon tabs and groups: what the tool kit's tabs and groups carry, plus the
// identity (GUIDs) by which definitions, view tabs and resets find them, the tags of contextual
// tabs, the person's hiding of tabs, groups and optional controls.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "win/com/guid.h"
#include "xtp/RibbonBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonTab.h"

#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class RibbonTab : public CXTPRibbonTab {
public:
    // GUIDs in the braced upper-case text form; the first is the tab's own.
    const std::vector<std::wstring>& GetGUIDs() const { return guids_; }
    void SetGUIDs(std::vector<std::wstring> guids) { guids_ = std::move(guids); }
    bool HasGUID() const { return !guids_.empty(); }
    bool HasGUID(const GUID& guid) const;
    bool HasGUID(std::wstring_view guid) const;
    // The first GUID; the null GUID when there is none.
    GUID GetGUID() const;

    // A tagged tab is contextual: shown for documents whose keywords match one of its tags.
    const std::vector<std::wstring>& GetTags() const { return tags_; }
    void SetTags(std::vector<std::wstring> tags) { tags_ = std::move(tags); }
    bool HasTags() const { return !tags_.empty(); }
    bool HasTag(std::wstring_view tag) const; // without regard to case

    // The person may hide a tab that the definitions know by its GUID and that no document's
    // keywords bring.
    bool CanBeHiddenByUser() const { return HasGUID() && !HasTags(); }
    // Hidden by the person: the tab is not shown, and view changes do not bring it back.
    bool IsDisabledByUser() const { return disabledByUser_; }
    void SetDisabledByUser(bool disabled);

    void Copy(const CXTPRibbonTab* pSource) override;

private:
    std::vector<std::wstring> guids_;
    std::vector<std::wstring> tags_;
    bool disabledByUser_ = false;
};

class RibbonGroup : public CXTPRibbonGroup {
    DECLARE_DYNCREATE(RibbonGroup)
public:
    const std::wstring& GetGUIDText() const { return guid_; }
    void SetGUIDText(std::wstring guid) { guid_ = std::move(guid); }
    bool HasGUID() const { return !guid_.empty(); }
    // The built-in group this one stands for (0: none).
    int GetCode() const { return code_; }
    void SetCode(int code) { code_ = code; }
    // The kinds of active view the group shows for: bits the frame's view-type mask must all
    // hold (bit 1 aside); 0 shows the group whatever the view.
    DWORD GetViewTypeRequirement() const { return viewTypes_; }
    void SetViewTypeRequirement(DWORD bits) { viewTypes_ = bits; }

    // The analysis ribbon the group belongs to (UIModuleProxy's AnalysisRibbonId); below 1 it
    // belongs to every one.
    int GetAnalysisId() const { return analysisId_; }
    void SetAnalysisId(int id) { analysisId_ = id; }

    // The person may hide a group the definitions know by its GUID.
    bool CanBeHiddenByUser() const { return HasGUID(); }
    bool IsDisabledByUser() const { return disabledByUser_; }
    void SetDisabledByUser(bool disabled);

    // Optional controls: controls of this group the person may hide; a hidden one stays in
    // the group, marked, and is not shown.
    bool IsOptional(const CXTPControl* control) const;
    void SetOptional(CXTPControl* control, bool optional);
    // The option button shows while the group holds hidden optional controls.
    void UpdateOptionButton();
    // Adds the group's own entries to its context menu: one check item per optional control
    // (checked while shown); choosing one shows or hides that control.
    void GetContextMenu(CXTPPopupBar* popup);

    // The optional controls are the copies at the indexes of the source's.
    void Copy(const CXTPRibbonGroup* pSource) override;

private:
    std::wstring guid_;
    int code_ = 0;
    DWORD viewTypes_ = 0;
    int analysisId_ = 0;
    bool disabledByUser_ = false;
    std::vector<const CXTPControl*> optional_;
};

// A ribbon that makes the library's tabs and groups.
class RibbonBar : public CXTPRibbonBar {
    DECLARE_DYNCREATE(RibbonBar)
public:
    CXTPRibbonTab* CreateRibbonTab() override { return new RibbonTab; }
    CXTPRibbonGroup* CreateRibbonGroup() override { return new RibbonGroup; }
};

// Controls that stand directly in a library group and have a command can be made optional.
bool CanBeOptional(const CXTPControl* control);
bool IsOptionalControl(const CXTPControl* control);
// Hides (optional) or shows a control of a library group; updateLayout lays the ribbon out now.
void MakeControlOptional(CXTPControl* control, bool optional, bool updateLayout);
// Takes the control out of the collection that holds it (a group, a bar, a popup); the
// collection's reference goes with it.
void RemoveControl(CXTPControl* control);

} // namespace Dravik::UI

DV_EXPORTS_END
