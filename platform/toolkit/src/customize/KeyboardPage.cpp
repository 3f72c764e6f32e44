#include "xtp/Customize.h"

#include "afx/wndmsg.h"
#include "xtp/CommandBar.h"
#include "xtp/Controls.h"
#include "xtp/PaintManager.h"
#include "xtp/ResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPCustomizeKeyboardPage, CXTPPropertyPage)

CXTPCustomizeKeyboardPage::CXTPCustomizeKeyboardPage(CXTPCustomizeSheet* pSheet)
    : CXTPPropertyPage(XTP_IDD_PAGE_KEYBOARD), sheet_(pSheet) {}

CXTPCustomizeKeyboardPage::~CXTPCustomizeKeyboardPage() = default;

int CXTPCustomizeKeyboardPage::InsertCategory(LPCWSTR lpszCategory, int nIndex) {
    CATEGORY category{lpszCategory != nullptr ? lpszCategory : L"", {}};
    if (nIndex < 0 || nIndex > static_cast<int>(categories_.size()))
        nIndex = static_cast<int>(categories_.size());
    categories_.insert(categories_.begin() + nIndex, category);
    return nIndex;
}

BOOL CXTPCustomizeKeyboardPage::AddCommand(int nCategory, UINT nID, LPCWSTR lpszCaption,
                                           LPCWSTR lpszDescription) {
    if (nCategory < 0 || nCategory >= static_cast<int>(categories_.size()) || nID == 0 ||
        lpszCaption == nullptr)
        return FALSE;
    const CString caption = CXTPDrawHelpers::StripMnemonics(lpszCaption);
    auto& commands = categories_[static_cast<size_t>(nCategory)].commands;
    if (caption.IsEmpty() ||
        std::any_of(commands.begin(), commands.end(), [nID](const COMMAND& c) { return c.nID == nID; }))
        return FALSE;
    commands.push_back({nID, caption, lpszDescription != nullptr ? lpszDescription : L""});
    return TRUE;
}

void CXTPCustomizeKeyboardPage::addControls(int nCategory, CXTPControls* pControls, const CString& strPath) {
    if (pControls == nullptr)
        return;
    for (CXTPControl* control : *pControls) {
        const CString caption = CXTPDrawHelpers::StripMnemonics(control->GetCaption().GetString());
        if (caption.IsEmpty())
            continue;
        const CString path = strPath.IsEmpty() ? caption : strPath + L" | " + caption;
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control);
            popup != nullptr && popup->GetCommandBar() != nullptr && control->GetType() == xtpControlPopup) {
            addControls(nCategory, popup->GetCommandBar()->GetControls(), path);
            continue;
        }
        if (control->GetID() > 0)
            AddCommand(nCategory, static_cast<UINT>(control->GetID()), path, control->GetDescription());
    }
}

int CXTPCustomizeKeyboardPage::AddCategory(LPCWSTR lpszCategory, CXTPControls* pControls) {
    const int category = InsertCategory(lpszCategory);
    addControls(category, pControls, CString());
    return category;
}

void CXTPCustomizeKeyboardPage::AddCategories(CXTPControls* pMenuBarControls) {
    if (pMenuBarControls == nullptr)
        return;
    for (CXTPControl* control : *pMenuBarControls) {
        const CString name = CXTPDrawHelpers::StripMnemonics(control->GetCaption().GetString());
        if (name.IsEmpty())
            continue;
        const int category = InsertCategory(name);
        auto* popup = dynamic_cast<CXTPControlPopup*>(control);
        if (popup != nullptr && popup->GetCommandBar() != nullptr)
            addControls(category, popup->GetCommandBar()->GetControls(), CString());
        else if (control->GetID() > 0)
            AddCommand(category, static_cast<UINT>(control->GetID()), name, control->GetDescription());
    }
}

CXTPShortcutManager* CXTPCustomizeKeyboardPage::GetShortcutManager() const {
    return sheet_ != nullptr ? sheet_->GetShortcutManager() : nullptr;
}

BOOL CXTPCustomizeKeyboardPage::OnInitDialog() {
    CXTPPropertyPage::OnInitDialog();
    keyAssign_.SetShortcutManager(GetShortcutManager());
    keyAssign_.SubclassDlgItem(XTP_IDC_EDIT_SHORTCUTKEY, this);
    // Typed objects of the page's own, so that their calls are made on objects of their class.
    categoryCombo_.SubclassDlgItem(XTP_IDC_COMBO_CATEGORY, this);
    commandList_.SubclassDlgItem(XTP_IDC_LIST_COMMANDS, this);
    keyList_.SubclassDlgItem(XTP_IDC_LIST_KEYS, this);
    for (const CATEGORY& c : categories_)
        categoryCombo_.AddString(c.strName);
    // The lists grow with the page; the buttons keep to the right.
    SetResize(XTP_IDC_LIST_COMMANDS, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMLEFT);
    SetResize(XTP_IDC_LABEL_DESCRIPTION, XTP_ANCHOR_BOTTOMLEFT, XTP_ANCHOR_BOTTOMLEFT);
    SetResize(XTP_IDC_TEXT_DESCRIPTION, XTP_ANCHOR_BOTTOMLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    SelectCategory(categories_.empty() ? -1 : 0);
    return TRUE;
}

BOOL CXTPCustomizeKeyboardPage::SelectCategory(int nCategory) {
    if (m_hWnd == nullptr || nCategory >= static_cast<int>(categories_.size()))
        return FALSE;
    categoryCombo_.SetCurSel(nCategory);
    fillCommands();
    return TRUE;
}

BOOL CXTPCustomizeKeyboardPage::SelectCommand(UINT nID) {
    if (m_hWnd == nullptr)
        return FALSE;
    CListBox* list = &commandList_;
    for (int i = 0; i < list->GetCount(); ++i) {
        if (static_cast<UINT>(list->GetItemData(i)) == nID) {
            list->SetCurSel(i);
            fillKeys();
            return TRUE;
        }
    }
    return FALSE;
}

UINT CXTPCustomizeKeyboardPage::GetSelectedCommand() const {
    if (m_hWnd == nullptr)
        return 0;
    const CListBox* list = &commandList_;
    const int i = list->GetCurSel();
    return i >= 0 ? static_cast<UINT>(list->GetItemData(i)) : 0;
}

void CXTPCustomizeKeyboardPage::fillCommands() {
    CListBox* list = &commandList_;
    list->ResetContent();
    const int c = categoryCombo_.GetCurSel();
    if (c >= 0 && c < static_cast<int>(categories_.size())) {
        for (const COMMAND& command : categories_[static_cast<size_t>(c)].commands) {
            const int at = list->AddString(command.strCaption);
            list->SetItemData(at, command.nID);
        }
    }
    if (list->GetCount() > 0)
        list->SetCurSel(0);
    fillKeys();
}

CString CXTPCustomizeKeyboardPage::captionOf(int nCommand) const {
    for (const CATEGORY& c : categories_) {
        for (const COMMAND& command : c.commands) {
            if (static_cast<int>(command.nID) == nCommand)
                return command.strCaption;
        }
    }
    CString s;
    s.Format(L"%d", nCommand);
    return s;
}

void CXTPCustomizeKeyboardPage::fillKeys() {
    CListBox* keys = &keyList_;
    keys->ResetContent();
    shownKeys_.clear();
    const UINT id = GetSelectedCommand();
    CString description;
    if (CXTPShortcutManager* manager = GetShortcutManager(); manager != nullptr && id != 0) {
        shownKeys_ = manager->FindShortcuts(static_cast<int>(id));
        for (const auto& accel : shownKeys_)
            keys->AddString(manager->Format(&accel));
    }
    for (const CATEGORY& c : categories_) {
        for (const COMMAND& command : c.commands) {
            if (command.nID == id)
                description = command.strDescription;
        }
    }
    SetDlgItemText(XTP_IDC_TEXT_DESCRIPTION, description);
    updateButtons();
}

void CXTPCustomizeKeyboardPage::updateButtons() {
    CXTPShortcutManager* manager = GetShortcutManager();
    const BOOL keyDefined = keyAssign_.m_hWnd != nullptr && keyAssign_.IsKeyDefined();
    GetDlgItem(XTP_IDC_BUTTON_ASSIGN)
        ->EnableWindow(manager != nullptr && keyDefined && GetSelectedCommand() != 0);
    const int key = keyList_.GetCurSel();
    GetDlgItem(XTP_IDC_BUTTON_REMOVE)->EnableWindow(key >= 0);
    GetDlgItem(XTP_IDC_BUTTON_RESETALL)->EnableWindow(manager != nullptr);
    CString assigned;
    if (keyDefined && manager != nullptr) {
        const int owner = manager->FindCommand(keyAssign_.GetAccel());
        if (owner != 0)
            assigned.Format(XTPResourceManager()->LoadString(XTP_IDS_ASSIGNED_TO),
                            static_cast<LPCWSTR>(captionOf(owner)));
        else
            assigned = XTPResourceManager()->LoadString(XTP_IDS_UNASSIGNED);
    }
    SetDlgItemText(XTP_IDC_TEXT_ASSIGNMENTS, assigned);
}

void CXTPCustomizeKeyboardPage::OnAssign() {
    CXTPShortcutManager* manager = GetShortcutManager();
    const UINT id = GetSelectedCommand();
    if (manager == nullptr || id == 0 || !keyAssign_.IsKeyDefined())
        return;
    CXTPShortcutManagerAccel accel = keyAssign_.GetAccel();
    accel.cmd = static_cast<int>(id);
    if (manager->AddShortcut(accel)) {
        keyAssign_.ResetKey();
        SetModified();
    }
    fillKeys();
}

void CXTPCustomizeKeyboardPage::OnRemove() {
    CXTPShortcutManager* manager = GetShortcutManager();
    const int key = keyList_.GetCurSel();
    if (manager == nullptr || key < 0 || key >= static_cast<int>(shownKeys_.size()))
        return;
    manager->RemoveShortcut(shownKeys_[static_cast<size_t>(key)]);
    SetModified();
    fillKeys();
}

void CXTPCustomizeKeyboardPage::OnResetAll() {
    CXTPShortcutManager* manager = GetShortcutManager();
    if (manager == nullptr)
        return;
    if (MessageBox(XTPResourceManager()->LoadString(XTP_IDS_CONFIRM_KEYBOARD), nullptr,
                   MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    manager->Reset();
    SetModified();
    fillKeys();
}

LRESULT CXTPCustomizeKeyboardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == XTP_IDC_COMBO_CATEGORY && code == CBN_SELCHANGE) {
            fillCommands();
            return 0;
        }
        if (id == XTP_IDC_LIST_COMMANDS && code == LBN_SELCHANGE) {
            fillKeys();
            return 0;
        }
        if (id == XTP_IDC_LIST_KEYS && code == LBN_SELCHANGE) {
            updateButtons();
            return 0;
        }
        if (id == XTP_IDC_EDIT_SHORTCUTKEY && code == EN_CHANGE) {
            updateButtons();
            return 0;
        }
        if (code == BN_CLICKED) {
            switch (id) {
            case XTP_IDC_BUTTON_ASSIGN:
                OnAssign();
                return 0;
            case XTP_IDC_BUTTON_REMOVE:
                OnRemove();
                return 0;
            case XTP_IDC_BUTTON_RESETALL:
                OnResetAll();
                return 0;
            default:
                break;
            }
        }
    }
    return CXTPPropertyPage::WindowProc(message, wParam, lParam);
}
