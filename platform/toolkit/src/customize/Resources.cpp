// The tool kit's resources: the templates of the customise sheet's pages and its texts.
#include "xtp/Customize.h"
#include "xtp/ResourceManager.h"

namespace {

const AFX_STRING_RESOURCE kStrings[] = {
    {XTP_IDS_CUSTOMIZE, L"Customize"},
    {XTP_IDS_NEWMENU, L"New Menu"},
    {XTP_IDS_ALLCOMMANDS, L"All Commands"},
    {XTP_IDS_CONFIRM_RESETDATA,
     L"This deletes the record of the commands you have used in this program and restores the default set of "
     L"visible commands to the menus and toolbars. It does not undo any explicit customizations. Are you "
     L"sure "
     L"you want to do this?"},
    {XTP_IDS_BUILTINMENUS, L"Built-in Menus"},
    {XTP_IDS_CONFIRM_KEYBOARD, L"Are you sure you want to reset the key assignments? This removes all custom "
                               L"key assignments."},
    {XTP_IDS_CONFIRM_RESET, L"Are you sure you want to reset the changes made to the '%s' toolbar?"},
    {9179, L"(System default)"},
    {9180, L"Random"},
    {9181, L"Unfold"},
    {9182, L"Slide"},
    {9183, L"Fade"},
    {9184, L"None"},
    {XTP_IDS_ASSIGNED_TO, L"Currently assigned to: %s"},
    {XTP_IDS_UNASSIGNED, L"Currently assigned to: [unassigned]"},
};
AFX_STRING_TABLE(kStrings);

constexpr DWORD kPage = WS_CHILD | WS_CAPTION | DS_CONTROL | DS_SETFONT;

const AFX_DLGITEM kOptions[] = {
    {L"Static", L"Personalized menus and toolbars", 0xFFFF, SS_LEFT, 7, 7, 150, 8},
    {L"Static", L"", 107, SS_ETCHEDHORZ, 140, 11, 113, 1},
    {L"Button", L"Always show full m&enus", 100, WS_TABSTOP | BS_AUTOCHECKBOX, 14, 20, 200, 10},
    {L"Button", L"Show full menus after a short de&lay", 101, WS_TABSTOP | BS_AUTOCHECKBOX, 24, 33, 200, 10},
    {L"Button", L"&Reset menu and toolbar usage data", 102, WS_TABSTOP | BS_PUSHBUTTON, 14, 47, 140, 14},
    {L"Button", L"Use the r&ibbon", 806, WS_TABSTOP | BS_AUTOCHECKBOX, 14, 66, 200, 10},
    {L"Static", L"Other", 0xFFFF, SS_LEFT, 7, 83, 40, 8},
    {L"Static", L"", 108, SS_ETCHEDHORZ, 40, 87, 213, 1},
    {L"Static", L"Toolbar &icon size:", 0xFFFF, SS_LEFT, 14, 97, 70, 8},
    {L"ComboBox", L"", 1215, WS_TABSTOP | CBS_DROPDOWNLIST, 88, 95, 90, 60},
    {L"Button", L"Show Screen&Tips on toolbars", 104, WS_TABSTOP | BS_AUTOCHECKBOX, 14, 112, 200, 10},
    {L"Button", L"Show s&hortcut keys in ScreenTips", 105, WS_TABSTOP | BS_AUTOCHECKBOX, 24, 125, 200, 10},
    {L"Button", L"Show command &names in ScreenTips", 1134, WS_TABSTOP | BS_AUTOCHECKBOX, 24, 138, 200, 10},
    {L"Button", L"E&xtended ScreenTips", 1274, WS_TABSTOP | BS_AUTOCHECKBOX, 24, 151, 200, 10},
    {L"Static", L"&Menu animations:", 0xFFFF, SS_LEFT, 14, 168, 70, 8},
    {L"ComboBox", L"", 106, WS_TABSTOP | CBS_DROPDOWNLIST, 88, 166, 90, 80},
};

const AFX_DLGITEM kKeyboard[] = {
    {L"Static", L"C&ategory:", 0xFFFF, SS_LEFT, 7, 7, 100, 8},
    {L"ComboBox", L"", XTP_IDC_COMBO_CATEGORY, WS_TABSTOP | CBS_DROPDOWNLIST, 7, 17, 120, 120},
    {L"Static", L"C&ommands:", 0xFFFF, SS_LEFT, 7, 35, 100, 8},
    {L"ListBox", L"", XTP_IDC_LIST_COMMANDS, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 7, 45, 120,
     112},
    {L"Static", L"Current &keys:", 0xFFFF, SS_LEFT, 135, 7, 118, 8},
    {L"ListBox", L"", XTP_IDC_LIST_KEYS, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 135, 17, 118, 50},
    {L"Static", L"Press &new shortcut key:", 0xFFFF, SS_LEFT, 135, 73, 118, 8},
    {L"Edit", L"", XTP_IDC_EDIT_SHORTCUTKEY, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 135, 83, 118, 13},
    {L"Static", L"", XTP_IDC_TEXT_ASSIGNMENTS, SS_LEFT, 135, 100, 118, 18},
    {L"Button", L"A&ssign", XTP_IDC_BUTTON_ASSIGN, WS_TABSTOP | BS_PUSHBUTTON, 135, 122, 56, 14},
    {L"Button", L"&Remove", XTP_IDC_BUTTON_REMOVE, WS_TABSTOP | BS_PUSHBUTTON, 197, 122, 56, 14},
    {L"Button", L"Re&set All", XTP_IDC_BUTTON_RESETALL, WS_TABSTOP | BS_PUSHBUTTON, 135, 143, 56, 14},
    {L"Static", L"Description:", XTP_IDC_LABEL_DESCRIPTION, SS_LEFT, 7, 162, 60, 8},
    {L"Static", L"", XTP_IDC_TEXT_DESCRIPTION, SS_LEFT, 7, 172, 246, 16},
};

const AFX_DLGITEM kCommands[] = {
    {L"Static", L"To add a command to a toolbar, drag it from this list onto the toolbar.", 0xFFFF, SS_LEFT,
     7, 7, 246, 8},
    {L"Static", L"Cate&gories:", 0xFFFF, SS_LEFT, 7, 20, 100, 8},
    {L"ListBox", L"", XTP_IDC_LIST_CATEGORIES, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 7, 30, 95,
     130},
    {L"Static", L"Comman&ds:", 0xFFFF, SS_LEFT, 110, 20, 100, 8},
    {L"ListBox", L"", XTP_IDC_LIST_CATEGORY_COMMANDS, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 110,
     30, 143, 130},
    {L"Static", L"", XTP_IDC_TEXT_COMMAND_DESCRIPTION, SS_LEFT, 7, 166, 246, 16},
};

const AFX_DLGTEMPLATE kTemplates[] = {
    {XTP_IDD_PAGE_COMMANDS, L"Commands", kPage, 0, 0, 260, 190, kCommands, std::size(kCommands),
     L"MS Shell Dlg", 8},
    {XTP_IDD_PAGE_OPTIONS, L"Options", kPage, 0, 0, 260, 190, kOptions, std::size(kOptions), L"MS Shell Dlg",
     8},
    {XTP_IDD_PAGE_KEYBOARD, L"Keyboard", kPage, 0, 0, 260, 190, kKeyboard, std::size(kKeyboard),
     L"MS Shell Dlg", 8},
};
AFX_DIALOG_TEMPLATES(kTemplates);

} // namespace

// CXTPResourceManager -------------------------------------------------------------------------

HINSTANCE CXTPResourceManager::GetResourceHandle() const {
    return pal::mfc::moduleOf(&kStrings);
}

BOOL CXTPResourceManager::LoadString(CString* pString, UINT nIDResource) const {
    if (pString == nullptr)
        return FALSE;
    CManageState state;
    return pString->LoadString(nIDResource);
}

CString CXTPResourceManager::LoadString(UINT nIDResource) const {
    CString s;
    LoadString(&s, nIDResource);
    return s;
}

CXTPResourceManager* XTPResourceManager() {
    static CXTPResourceManager manager;
    return &manager;
}

CXTPResourceManager::CManageState::CManageState() {
    Redo();
}

CXTPResourceManager::CManageState::~CManageState() {
    Undo();
}

void CXTPResourceManager::CManageState::Undo() {
    if (!held_)
        return;
    AfxSetResourceHandle(previous_);
    held_ = false;
}

void CXTPResourceManager::CManageState::Redo() {
    if (held_)
        return;
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(XTPResourceManager()->GetResourceHandle());
    held_ = true;
}
