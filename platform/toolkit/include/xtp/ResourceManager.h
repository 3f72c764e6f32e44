// The tool kit's own resources (page templates and texts) and the means to make them the ones
// that resource look-ups find first for a while.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// Templates of the customise sheet's pages.
constexpr UINT XTP_IDD_PAGE_OPTIONS = 783;
constexpr UINT XTP_IDD_PAGE_KEYBOARD = 784;
constexpr UINT XTP_IDD_PAGE_COMMANDS = 785;
// Texts.
constexpr UINT XTP_IDS_CUSTOMIZE = 9160;
constexpr UINT XTP_IDS_NEWMENU = 9162;
constexpr UINT XTP_IDS_ALLCOMMANDS = 9169;
constexpr UINT XTP_IDS_CONFIRM_RESETDATA = 9170;
constexpr UINT XTP_IDS_BUILTINMENUS = 9174;
constexpr UINT XTP_IDS_CONFIRM_KEYBOARD = 9175;
constexpr UINT XTP_IDS_CONFIRM_RESET = 9176;    // %s: the bar's title
constexpr UINT XTP_IDS_ANIMATION_SYSDEF = 9179; // 9179 to 9184: the menu animations in their order
constexpr UINT XTP_IDS_ANIMATION_NONE = 9184;
constexpr UINT XTP_IDS_ASSIGNED_TO = 9185;
constexpr UINT XTP_IDS_UNASSIGNED = 9186;

class CXTPResourceManager {
public:
    // While it lives (or until Undo), the tool kit's module is the resource module, so that
    // templates and texts are looked up there first.
    class CManageState {
    public:
        CManageState();
        ~CManageState();
        CManageState(const CManageState&) = delete;
        CManageState& operator=(const CManageState&) = delete;
        void Undo();
        void Redo();

    private:
        HINSTANCE previous_ = nullptr;
        bool held_ = false;
    };

    // The module that holds the tool kit's resources.
    HINSTANCE GetResourceHandle() const;
    BOOL LoadString(CString* pString, UINT nIDResource) const;
    CString LoadString(UINT nIDResource) const;
};

CXTPResourceManager* XTPResourceManager();

DV_EXPORTS_END
