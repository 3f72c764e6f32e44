#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"
#include "xtp/Controls.h"
#include "xtp/Customize.h"
#include "xtp/PaintManager.h"
#include "xtp/ResourceManager.h"

#include <algorithm>
#include <set>

IMPLEMENT_DYNAMIC(CXTPCustomizeCommandsPage, CXTPPropertyPage)

// The commands list: a press starts dragging the command's control; the release over a bar
// puts a copy of it there.
class CXTPCustomizeCommandsPage::CommandList : public CListBox {
public:
    explicit CommandList(CXTPCustomizeCommandsPage* page) : page_(page) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (message == WM_LBUTTONDOWN) {
            const LRESULT r = CListBox::WindowProc(message, wParam, lParam);
            dragged_ = page_->GetListedControl(GetCurSel());
            if (dragged_ != nullptr)
                ::SetCapture(m_hWnd);
            return r;
        }
        if (message == WM_LBUTTONUP && dragged_ != nullptr) {
            CXTPControl* control = dragged_;
            dragged_ = nullptr;
            ::ReleaseCapture();
            CPoint screen = point;
            ClientToScreen(&screen);
            CXTPCommandBar* target = nullptr;
            for (HWND h = ::WindowFromPoint(screen); h != nullptr && target == nullptr; h = ::GetParent(h))
                target = dynamic_cast<CXTPCommandBar*>(CWnd::FromHandlePermanent(h));
            if (target != nullptr) {
                CPoint local = screen;
                target->ScreenToClient(&local);
                CXTPCustomizeDropSource::DropControl(
                    control, target, CXTPCustomizeDropSource::GetDropIndex(target, local), TRUE);
            }
            return 0;
        }
        return CListBox::WindowProc(message, wParam, lParam);
    }

private:
    CXTPCustomizeCommandsPage* page_;
    CXTPControl* dragged_ = nullptr;
};

CXTPCustomizeCommandsPage::CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet)
    : CXTPPropertyPage(XTP_IDD_PAGE_COMMANDS), sheet_(pSheet), list_(std::make_unique<CommandList>(this)) {}

CXTPCustomizeCommandsPage::~CXTPCustomizeCommandsPage() {
    for (Category& c : categories_)
        c.controls->InternalRelease();
}

CXTPControls* CXTPCustomizeCommandsPage::InsertCategory(LPCWSTR lpszCategory, int nIndex) {
    const CString name = lpszCategory != nullptr ? lpszCategory : L"";
    if (CXTPControls* existing = GetControls(name))
        return existing;
    auto* controls = new CXTPControls;
    if (sheet_ != nullptr)
        controls->SetCommandBars(sheet_->GetCommandBars());
    const int at = nIndex < 0 || nIndex > GetCategoryCount() ? GetCategoryCount() : nIndex;
    categories_.insert(categories_.begin() + at, Category{name, controls});
    return controls;
}

CXTPControls* CXTPCustomizeCommandsPage::GetControls(LPCWSTR lpszCategory) const {
    if (lpszCategory == nullptr)
        return nullptr;
    for (const Category& c : categories_) {
        if (c.name == lpszCategory)
            return c.controls;
    }
    return nullptr;
}

CString CXTPCustomizeCommandsPage::GetCategoryName(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCategoryCount() ? categories_[static_cast<size_t>(nIndex)].name
                                                      : CString();
}

void CXTPCustomizeCommandsPage::InsertAllCommandsCategory(LPCWSTR lpszCategory, int nIndex) {
    const CString name = lpszCategory != nullptr ? CString(lpszCategory)
                                                 : XTPResourceManager()->LoadString(XTP_IDS_ALLCOMMANDS);
    std::vector<CXTPControl*> all;
    std::set<int> ids;
    for (const Category& c : categories_) {
        if (c.name == name)
            continue;
        for (CXTPControl* control : *c.controls) {
            if (control->GetID() > 0 && control->GetType() != xtpControlPopup &&
                ids.insert(control->GetID()).second)
                all.push_back(control);
        }
    }
    std::stable_sort(all.begin(), all.end(), [](CXTPControl* a, CXTPControl* b) {
        return CXTPDrawHelpers::StripMnemonics(a->GetCaption().GetString())
                   .CompareNoCase(CXTPDrawHelpers::StripMnemonics(b->GetCaption().GetString())) < 0;
    });
    CXTPControls* target = InsertCategory(name, nIndex);
    for (CXTPControl* control : all) {
        if (target->FindControl(control->GetID()) == nullptr)
            target->AddClone(control);
    }
}

void CXTPCustomizeCommandsPage::InsertBuiltInMenus(LPCWSTR lpszCategory, int nIndex) {
    CXTPControls* target =
        InsertCategory(lpszCategory != nullptr ? CString(lpszCategory)
                                               : XTPResourceManager()->LoadString(XTP_IDS_BUILTINMENUS),
                       nIndex);
    CXTPCommandBars* bars = sheet_ != nullptr ? sheet_->GetCommandBars() : nullptr;
    CXTPMenuBar* menu = bars != nullptr ? bars->GetMenuBar() : nullptr;
    if (menu == nullptr)
        return;
    for (CXTPControl* control : *menu->GetControls())
        target->AddClone(control, -1, TRUE);
}

void CXTPCustomizeCommandsPage::InsertNewMenuCategory(LPCWSTR lpszCategory, int nIndex) {
    const CString name =
        lpszCategory != nullptr ? CString(lpszCategory) : XTPResourceManager()->LoadString(XTP_IDS_NEWMENU);
    CXTPControls* target = InsertCategory(name, nIndex);
    if (target->GetCount() == 0)
        target->Add(xtpControlPopup, 0)->SetCaption(XTPResourceManager()->LoadString(XTP_IDS_NEWMENU));
}

BOOL CXTPCustomizeCommandsPage::SelectCategory(int nIndex) {
    if (m_hWnd == nullptr || nIndex < 0 || nIndex >= GetCategoryCount())
        return FALSE;
    categoryList_.SetCurSel(nIndex);
    fillCommands();
    return TRUE;
}

CXTPControl* CXTPCustomizeCommandsPage::GetListedControl(int nIndex) const {
    if (m_hWnd == nullptr || list_->m_hWnd == nullptr || nIndex < 0 || nIndex >= list_->GetCount())
        return nullptr;
    return reinterpret_cast<CXTPControl*>(list_->GetItemData(nIndex));
}

void CXTPCustomizeCommandsPage::fillCommands() {
    list_->ResetContent();
    const int c = categoryList_.GetCurSel();
    if (c < 0 || c >= GetCategoryCount())
        return;
    for (CXTPControl* control : *categories_[static_cast<size_t>(c)].controls) {
        const CString caption = CXTPDrawHelpers::StripMnemonics(control->GetCaption().GetString());
        if (caption.IsEmpty())
            continue;
        const int at = list_->AddString(caption);
        list_->SetItemData(at, reinterpret_cast<DWORD_PTR>(control));
    }
}

BOOL CXTPCustomizeCommandsPage::OnInitDialog() {
    CXTPPropertyPage::OnInitDialog();
    list_->SubclassDlgItem(XTP_IDC_LIST_CATEGORY_COMMANDS, this);
    categoryList_.SubclassDlgItem(XTP_IDC_LIST_CATEGORIES, this);
    for (const Category& c : categories_)
        categoryList_.AddString(c.name);
    SetResize(XTP_IDC_LIST_CATEGORIES, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMLEFT);
    SetResize(XTP_IDC_LIST_CATEGORY_COMMANDS, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    SetResize(XTP_IDC_TEXT_COMMAND_DESCRIPTION, XTP_ANCHOR_BOTTOMLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    SelectCategory(0);
    return TRUE;
}

// Categories added after the page was made show when it comes back.
BOOL CXTPCustomizeCommandsPage::OnSetActive() {
    CListBox* categories = &categoryList_;
    if (categories->m_hWnd != nullptr && categories->GetCount() != GetCategoryCount()) {
        const int chosen = std::max(categories->GetCurSel(), 0);
        categories->ResetContent();
        for (const Category& c : categories_)
            categories->AddString(c.name);
        SelectCategory(std::min(chosen, GetCategoryCount() - 1));
    }
    return CXTPPropertyPage::OnSetActive();
}

LRESULT CXTPCustomizeCommandsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        if (LOWORD(wParam) == XTP_IDC_LIST_CATEGORIES) {
            fillCommands();
            return 0;
        }
        if (LOWORD(wParam) == XTP_IDC_LIST_CATEGORY_COMMANDS) {
            CXTPControl* control = GetListedControl(list_->GetCurSel());
            SetDlgItemText(XTP_IDC_TEXT_COMMAND_DESCRIPTION,
                           control != nullptr ? control->GetDescription() : CString());
            return 0;
        }
    }
    return CXTPPropertyPage::WindowProc(message, wParam, lParam);
}
