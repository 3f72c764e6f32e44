// The live ribbon's right-click menus: for a control (its style, adding it elsewhere, hiding or
// removing it), for its group and tab (their groups, resetting them) and for the customise sheet.
#include "ribbon/RibbonContextMenu.h"

#include "ribbon/FrameToolsEngine.h"
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "DVTextCore/I18n.h"
#include "DravikUI/LibraryGallery.h"
#include "DravikUI/Ribbon.h"

#include <algorithm>
#include <cwchar>
#include <limits>
#include <string>

namespace {

// Asks a frame to open its system menu at a screen point.
constexpr UINT kPopupSystemMenu = 0x0313;

// The frame that serves a ribbon's menus; null when the ribbon is not in one.
CFrameToolsEngine* frameOf(CXTPRibbonBar* ribbon) {
    return ribbon != nullptr ? dynamic_cast<CFrameToolsEngine*>(ribbon->GetSite()) : nullptr;
}

CString caption(const wchar_t* key) {
    return Dravik::I18n::Translate(key).c_str();
}

bool isButtonLike(const CXTPControl* control) {
    const XTPControlType type = control->GetType();
    return type == xtpControlButton || type == xtpControlPopup || type == xtpControlButtonPopup ||
           type == xtpControlSplitButtonPopup;
}

// The command ids of the system panel's controls: no quick access or tool bar copies of them.
bool isSystemPanelRange(int id) {
    return id >= 904 && id <= 999;
}

CXTPControl* addEntry(CXTPCommandBar* menu, CXTPControl* entry, bool beginGroup = false) {
    menu->GetControls()->Add(entry, entry->GetID());
    MarkTransient(entry);
    if (beginGroup)
        entry->SetBeginGroup(TRUE);
    return entry;
}

// A submenu entry with its own popup bar.
CXTPControlPopup* addSubmenu(CXTPCommandBar* menu, CXTPCommandBars* bars, const wchar_t* key,
                             bool beginGroup = false) {
    CXTPControlPopup* popup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
    popup->SetCaption(caption(key));
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars);
    popup->SetCommandBar(bar);
    bar->InternalRelease();
    addEntry(menu, popup, beginGroup);
    return popup;
}

// The gallery's width is either automatic or set: choosing one unchecks the other entries.
void checkAlone(CXTPControl* chosen) {
    CXTPCommandBar* menu = chosen->GetParent();
    for (int i = 0; menu != nullptr && i < menu->GetControls()->GetCount(); ++i) {
        CXTPControl* sibling = menu->GetControls()->GetAt(i);
        if (sibling == chosen)
            continue;
        if (auto* width = dynamic_cast<LibraryGalleryWidthEditBox*>(sibling))
            width->SetWidthChecked(false);
        else
            sibling->SetChecked(FALSE);
    }
    if (auto* width = dynamic_cast<LibraryGalleryWidthEditBox*>(chosen))
        width->SetWidthChecked(true);
    else
        chosen->SetChecked(TRUE);
}

bool hasVisibleEntry(CXTPCommandBar* menu) {
    for (CXTPControl* control : *menu->GetControls())
        if (control->IsVisible())
            return true;
    return false;
}

} // namespace

// ---- entries ----------------------------------------------------------------------------------

RibbonControlEntry::RibbonControlEntry(CXTPControl* target, const wchar_t* key) : m_target(target) {
    m_target->InternalAddRef();
    if (key != nullptr)
        SetCaption(caption(key));
}

RibbonControlEntry::~RibbonControlEntry() {
    m_target->InternalRelease();
}

ControlStyleButton::ControlStyleButton(CXTPControl* target, const RibbonControlStyle& style)
    : RibbonControlEntry(target, style.key), m_value(style.style) {
    SetChecked(target->GetStyle() == m_value);
}

void ControlStyleButton::OnExecute() {
    if (m_target->GetStyle() != m_value) {
        m_target->SetStyle(m_value);
        if (CXTPCommandBar* bar = m_target->GetParent())
            bar->DelayLayout();
    }
    SetChecked(TRUE);
}

LibraryGalleryAutoWidthButton::LibraryGalleryAutoWidthButton(Dravik::UI::LibraryGallery* gallery)
    : RibbonControlEntry(gallery, L"panels.ribbon.gallery_width.auto") {
    SetChecked(gallery->GetWidth() < 0);
}

void LibraryGalleryAutoWidthButton::OnExecute() {
    static_cast<Dravik::UI::LibraryGallery*>(m_target)->SetWidth(Dravik::UI::LibraryGallery::kAutomatic,
                                                                 true);
    checkAlone(this);
}

LibraryGalleryWidthEditBox::LibraryGalleryWidthEditBox(Dravik::UI::LibraryGallery* gallery)
    : m_gallery(gallery), m_value(gallery->GetColumnCount()) {
    m_gallery->InternalAddRef();
    m_bChecked = gallery->GetWidth() > 0;
    ShowValue();
}

LibraryGalleryWidthEditBox::~LibraryGalleryWidthEditBox() {
    m_gallery->InternalRelease();
}

void LibraryGalleryWidthEditBox::ShowValue() {
    SetEditText(std::to_wstring(m_value).c_str());
}

void LibraryGalleryWidthEditBox::SetWidthChecked(bool checked) {
    if ((GetChecked() != FALSE) == checked)
        return;
    SetChecked(checked);
    m_value = m_gallery->GetColumnCount();
    ShowValue();
}

void LibraryGalleryWidthEditBox::Spin(int direction, int step) {
    m_value = std::max(1, m_value + step * direction);
    ShowValue();
    OnExecute();
}

void LibraryGalleryWidthEditBox::OnExecute() {
    // What the person typed, when it is a number; a width of less than a column is none.
    const CString typed = GetEditText();
    wchar_t* end = nullptr;
    const long number = std::wcstol(typed.GetString(), &end, 10);
    if (end != typed.GetString() && *end == L'\0')
        m_value = static_cast<int>(std::clamp<long>(number, 1, std::numeric_limits<int>::max()));
    const int columns = std::max(1, m_value);
    m_gallery->SetWidth(columns, true);
    if (!GetChecked())
        checkAlone(this);
    m_value = columns;
    ShowValue();
}

CRect LibraryGalleryWidthEditBox::GetSpinRect() const {
    const CRect field = CXTPControlEdit::GetEditRect();
    return CRect(field.right - CXTPDpi::ScaleX(14), field.top, field.right, field.bottom);
}

CRect LibraryGalleryWidthEditBox::GetEditRect() const {
    CRect field = CXTPControlEdit::GetEditRect();
    field.right = GetSpinRect().left;
    return field;
}

void LibraryGalleryWidthEditBox::OnClick(BOOL bKeyboard, CPoint pt) {
    const CRect spin = GetSpinRect();
    if (!bKeyboard && spin.PtInRect(pt)) {
        Spin(pt.y < spin.CenterPoint().y ? 1 : -1);
        return;
    }
    OnExecute();
    CXTPControlEdit::OnClick(bKeyboard, pt);
}

void LibraryGalleryWidthEditBox::Draw(CDC* pDC) {
    CXTPControlEdit::Draw(pDC);
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    const CRect spin = GetSpinRect();
    pDC->FillSolidRect(&spin, c.clrBarFace);
    const COLORREF ink = m_bEnabled ? c.clrText : c.clrTextDisabled;
    const int mid = spin.CenterPoint().x;
    const int half = spin.Height() / 2;
    // An up triangle in the upper half, a down one in the lower.
    for (int row = 0; row < 3; ++row) {
        pDC->FillSolidRect(mid - row, spin.top + half / 2 - 1 + row, 2 * row + 1, 1, ink);
        pDC->FillSolidRect(mid - row, spin.bottom - half / 2 + 1 - row, 2 * row + 1, 1, ink);
    }
}

CustomizeButton::CustomizeButton(CXTPRibbonBar* ribbon, int kind, void* item, bool flag)
    : m_ribbon(ribbon), m_kind(kind), m_item(item), m_flag(flag) {
    SetCaption(caption(kind == 1   ? L"panels.ribbon.customize.tab"
                       : kind == 2 ? L"panels.ribbon.customize.group"
                                   : L"panels.ribbon.customize.control"));
}

void CustomizeButton::OnExecute() {
    constexpr int kRibbonPage = 2;
    if (CFrameToolsEngine* frame = frameOf(m_ribbon))
        frame->ShowCustomizeDialog(kRibbonPage, CFrameToolsEngine::CustomizeTarget{m_kind, m_item, m_flag});
}

HideControlButton::HideControlButton(CXTPControl* target)
    : RibbonControlEntry(target, L"panels.ribbon.hide_control") {
    SetChecked(Dravik::UI::IsOptionalControl(target));
}

void HideControlButton::OnExecute() {
    Dravik::UI::MakeControlOptional(m_target, !GetChecked(), false);
}

RemoveControlButton::RemoveControlButton(CXTPControl* target)
    : RibbonControlEntry(target, L"panels.ribbon.remove_control") {}

void RemoveControlButton::OnExecute() {
    Dravik::UI::RemoveControl(m_target);
}

AddControlToQuickAccessButton::AddControlToQuickAccessButton(CXTPControl* target, CXTPRibbonBar* ribbon)
    : RibbonControlEntry(target, L"panels.ribbon.add_to_quick_access"), m_ribbon(ribbon) {}

void AddControlToQuickAccessButton::OnExecute() {
    CXTPControls* access = m_ribbon->GetQuickAccessControls();
    if (access->FindControl(m_target->GetID()) != nullptr)
        return;
    CXTPControl* copy = access->AddClone(m_target, -1, TRUE);
    copy->SetBeginGroup(FALSE);
    copy->SetVisible(TRUE);
    m_ribbon->OnControlsChanged();
}

AddControlToToolBarButton::AddControlToToolBarButton(CXTPControl* target, CXTPToolBar* bar)
    : RibbonControlEntry(target, nullptr), m_bar(bar) {
    SetCaption(bar->GetTitle());
}

void AddControlToToolBarButton::OnExecute() {
    CXTPControl* copy = m_bar->GetControls()->AddClone(m_target, -1, TRUE);
    copy->SetBeginGroup(FALSE);
    copy->SetFlags(copy->GetFlags() & ~static_cast<DWORD>(xtpFlagNoMovable));
    copy->SetVisible(TRUE);
    const XTPControlType type = copy->GetType();
    const bool popupOrGallery = type == xtpControlPopup || type == xtpControlButtonPopup ||
                                type == xtpControlSplitButtonPopup || type == xtpControlGallery;
    copy->SetStyle(popupOrGallery ? xtpButtonIcon : xtpButtonAutomatic);
    m_bar->DelayLayout();
}

RibbonGroupButton::RibbonGroupButton(Dravik::UI::RibbonGroup* group) : m_group(group) {
    CString text = group->GetCaption();
    for (int i = 0; text.IsEmpty() && i < group->GetCount(); ++i)
        text = group->GetAt(i)->GetCaption();
    SetCaption(text);
    SetChecked(!group->IsDisabledByUser());
}

void RibbonGroupButton::OnExecute() {
    m_group->SetDisabledByUser(!m_group->IsDisabledByUser());
    SetChecked(!m_group->IsDisabledByUser());
}

ResetGroupButton::ResetGroupButton(CXTPRibbonBar* ribbon, CXTPRibbonGroup* group)
    : m_ribbon(ribbon), m_group(group) {
    SetCaption(caption(L"panels.ribbon.reset_group"));
}

void ResetGroupButton::OnExecute() {
    if (CFrameToolsEngine* frame = frameOf(m_ribbon))
        frame->ResetRibbonGroup(m_group);
}

ResetTabButton::ResetTabButton(CXTPRibbonBar* ribbon, CXTPRibbonTab* tab) : m_ribbon(ribbon), m_tab(tab) {
    SetCaption(caption(L"panels.ribbon.reset_tab"));
}

void ResetTabButton::OnExecute() {
    if (CFrameToolsEngine* frame = frameOf(m_ribbon))
        frame->ResetRibbonTab(m_tab);
}

// ---- the ribbon's menus -----------------------------------------------------------------------

CXTPPopupBar* DVRibbonBar::CreateTabGroupsPopup(CXTPRibbonTab* tab, CXTPCommandBars* bars) {
    if (tab == nullptr || tab->GetGroups() == nullptr || tab->GetGroups()->GetCount() == 0)
        return nullptr;
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(bars);
    for (int g = 0; g < tab->GetGroups()->GetCount(); ++g)
        if (auto* group = dynamic_cast<Dravik::UI::RibbonGroup*>(tab->GetGroups()->GetAt(g));
            group != nullptr && group->CanBeHiddenByUser())
            addEntry(popup, new RibbonGroupButton(group));
    if (popup->GetControls()->GetCount() == 0) {
        popup->InternalRelease();
        return nullptr;
    }
    return popup;
}

CXTPPopupBar* DVRibbonBar::CreateContextMenu(CXTPControl* control, CXTPRibbonGroup* group) {
    CXTPCommandBars* bars = GetCommandBars();
    CXTPPopupBar* menu = CXTPPopupBar::CreatePopupBar(bars);
    const bool inGroup = control != nullptr && group != nullptr && group->IndexOf(control) >= 0;
    if (inGroup) {
        if (isButtonLike(control) && !isSystemPanelRange(control->GetID())) {
            addEntry(menu, new AddControlToQuickAccessButton(control, this));
            CXTPControlPopup* toolBars = nullptr;
            CFrameToolsEngine* frame = frameOf(this);
            for (int i = 0; bars != nullptr && i < bars->GetCount(); ++i) {
                CXTPToolBar* bar = bars->GetAt(i);
                if (bar == nullptr || bar->GetType() == xtpBarTypeMenuBar || !bar->IsCustomizable() ||
                    (frame != nullptr && !frame->IsToolBarListed(bar)))
                    continue;
                if (toolBars == nullptr)
                    toolBars = addSubmenu(menu, bars, L"panels.ribbon.add_to_toolbar");
                addEntry(toolBars->GetCommandBar(), new AddControlToToolBarButton(control, bar));
            }
        }
        if (isButtonLike(control) || control->GetType() == xtpControlGallery) {
            CXTPControlPopup* styles = addSubmenu(menu, bars, L"panels.ribbon.control_style");
            for (const RibbonControlStyle& style : kRibbonControlStyles)
                addEntry(styles->GetCommandBar(), new ControlStyleButton(control, style));
        }
        if (auto* gallery = dynamic_cast<Dravik::UI::LibraryGallery*>(control)) {
            CXTPControlPopup* width = addSubmenu(menu, bars, L"panels.ribbon.gallery_width");
            addEntry(width->GetCommandBar(), new LibraryGalleryAutoWidthButton(gallery));
            addEntry(width->GetCommandBar(), new LibraryGalleryWidthEditBox(gallery));
        }
        addEntry(menu, new CustomizeButton(this, 3, control, false));
        if (Dravik::UI::CanBeOptional(control))
            addEntry(menu, new HideControlButton(control));
        addEntry(menu, new RemoveControlButton(control));
    }
    if (CXTPRibbonTab* tab = GetSelectedTab()) {
        if (CXTPPopupBar* groups = CreateTabGroupsPopup(tab, bars)) {
            CXTPControlPopup* entry = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
            const std::wstring name(CXTPDrawHelpers::StripMnemonics(tab->GetCaption()).GetString());
            entry->SetCaption(
                Dravik::I18n::FormatTranslation(L"panels.ribbon.tab_groups", name.c_str()).c_str());
            entry->SetCommandBar(groups);
            groups->InternalRelease();
            addEntry(menu, entry, true);
        }
        addEntry(menu, new CustomizeButton(this, 1, tab, false));
    }
    return menu;
}

void DVRibbonBar::AddGroupEntries(CXTPPopupBar* menu, CXTPRibbonGroup* group) {
    if (auto* own = dynamic_cast<Dravik::UI::RibbonGroup*>(group))
        own->GetContextMenu(menu);
    addEntry(menu, new CustomizeButton(this, 2, group, false));
    CFrameToolsEngine* frame = frameOf(this);
    const bool resetGroup = frame != nullptr && frame->HasRibbonGroupDefinition(group);
    if (resetGroup)
        addEntry(menu, new ResetGroupButton(this, group), true);
    if (frame != nullptr && frame->HasRibbonTabDefinition(group->GetParentTab()))
        addEntry(menu, new ResetTabButton(this, group->GetParentTab()), !resetGroup);
}

CXTPPopupBar* DVRibbonBar::BuildContextMenu(CPoint point) {
    const XTP_RIBBON_HITINFO hit = HitTestPoint(point);
    if (hit.pGroup != nullptr) {
        CXTPPopupBar* menu = CreateContextMenu(hit.bGroupButton ? nullptr : hit.pControl, hit.pGroup);
        AddGroupEntries(menu, hit.pGroup);
        return menu;
    }
    if (hit.bGroups && hit.pControl == nullptr)
        return CreateTabGroupsPopup(GetSelectedTab(), GetCommandBars());
    return nullptr;
}

void DVRibbonBar::OnRButtonUp(UINT, CPoint point) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CXTPCommandBars* bars = GetCommandBars();
    const XTP_RIBBON_HITINFO hit = HitTestPoint(point);
    if (hit.bCaption) {
        // The frame's own system menu, as on its caption.
        if (bars != nullptr)
            bars->ClosePopups();
        UpdateWindow();
        if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
            site->SendMessage(kPopupSystemMenu, 0, MAKELPARAM(screen.x, screen.y));
        return;
    }
    if (bars == nullptr || bars->IsCustomizeMode())
        return;
    CXTPPopupBar* menu = BuildContextMenu(point);
    if (menu == nullptr) {
        // The tool kit's menu of the bars, for the tab row and the quick access bar.
        if (hit.bTabRow || hit.pControl != nullptr)
            bars->ContextMenu(this, screen);
        return;
    }
    if (hasVisibleEntry(menu))
        bars->TrackPopupMenu(menu, TPM_RIGHTBUTTON, screen.x, screen.y);
    menu->InternalRelease();
}

LRESULT DVRibbonBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) {
        OnRButtonUp(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    }
    return Dravik::UI::RibbonBar::WindowProc(message, wParam, lParam);
}
