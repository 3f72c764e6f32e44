#include "panels/SysPanelToolbar.h"

#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/SelectionButtons.h"
#include "panels/SysPanelControls.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

#include <algorithm>

namespace {

constexpr int kDropDownIconId = 1869;
constexpr int kFirstFilterId = 2701;
constexpr int kLastFilterId = 2790;

struct Dpi {
    int x = 96;
    int y = 96;
};

int scale(int value, int numerator, int denominator) {
    return static_cast<int>(static_cast<long long>(value) * numerator / denominator);
}

Dpi screenDpi() {
    return Dpi{CXTPDpi::GetDPIX(), CXTPDpi::GetDPIY()};
}

auto lowerBound(const std::vector<std::pair<std::int32_t, CXTPControl*>>& registry, int id) {
    return std::lower_bound(registry.begin(), registry.end(), id,
                            [](const auto& entry, int key) { return entry.first < key; });
}

// The registration table: what each id of the panel is made as.
struct RegistrationEntry {
    int id;
    CXTPControl* (*make)();
};

const RegistrationEntry kRegistration[] = {
    {910, []() -> CXTPControl* { return new CStaticImageControl(218); }},
    {908, []() -> CXTPControl* { return new CStaticImageControl(43173); }},
    {906, []() -> CXTPControl* { return new CStaticImageControl(42977); }},
    {911, []() -> CXTPControl* { return new CLayerPopupControl; }},
    {912, []() -> CXTPControl* { return new LCSPopupControl; }},
    {907, []() -> CXTPControl* { return new CSyspanelEdit(L"Level", 2, -1.0); }},
    {909, []() -> CXTPControl* { return new CSyspanelEdit(L"Priority", 2, -1.0); }},
    {904, []() -> CXTPControl* { return new CColorPopupControl; }},
    {914, []() -> CXTPControl* { return new CFontComboBox(nullptr); }},
    {915, []() -> CXTPControl* { return new CSyspanelEdit(L"FontSize", 9, -1.0); }},
    {918, []() -> CXTPControl* { return new CMaterialPopup(false); }},
    {905, []() -> CXTPControl* { return new CMaterialPopup(true); }},
};

// The controls that mirror a command's state, by command.
struct CommandMirror {
    unsigned command;
    int control;
};

constexpr CommandMirror kCommandMirrors[] = {
    {1289, 922}, {1290, 923}, {1291, 924}, {1292, 925}, {1293, 926}, {1294, 927},
    {1295, 928}, {1296, 929}, {1297, 930}, {1298, 931}, {1320, 951}, {1327, 952},
};

} // namespace

IMPLEMENT_DYNCREATE(CSysPanelToolbar, Dravik::UI::FixableToolBar)

namespace {

// The numeric edits and the font combo box: the controls with an edit window of their own.
CWnd* editWindowOf(CXTPControl* control) {
    if (dynamic_cast<CSyspanelEdit*>(control) == nullptr && dynamic_cast<CFontComboBox*>(control) == nullptr)
        return nullptr;
    CWnd* edit = static_cast<CXTPControlEdit*>(control)->GetEditCtrl();
    return edit != nullptr && ::IsWindow(edit->GetSafeHwnd()) ? edit : nullptr;
}

} // namespace

void CSysPanelControls::OnControlAdded(CXTPControl* control) {
    CXTPControls::OnControlAdded(control);
    if (CWnd* edit = editWindowOf(control))
        edit->ShowWindow(SW_SHOW);
}

void CSysPanelControls::OnControlRemoved(CXTPControl* control) {
    CXTPControls::OnControlRemoved(control);
    if (auto* filter = dynamic_cast<Dravik::UI::SelectionFilterButton*>(control))
        filter->RestoreDefaults();
    if (CWnd* edit = editWindowOf(control))
        edit->ShowWindow(SW_HIDE);
}

CSysPanelToolbar::CSysPanelToolbar() {
    SetControls(new CSysPanelControls);
    const Dpi dpi = screenDpi();
    m_buttonSize = CSize(scale(22, dpi.x, 96), scale(22, dpi.y, 96));
}

CSysPanelToolbar::~CSysPanelToolbar() {
    for (auto& [id, control] : m_registry)
        control->InternalRelease();
    for (CXTPControl* control : {m_g1Selection, m_lazySelection, m_selectionMode})
        if (control != nullptr)
            control->InternalRelease();
    for (CXTPControl* control : m_geometricTypes)
        if (control != nullptr)
            control->InternalRelease();
}

void CSysPanelToolbar::RegisterSyspanelControls() {
    if (!m_registry.empty())
        return;
    m_g1Selection = new Dravik::UI::G1SelectionButton;
    m_lazySelection = new Dravik::UI::LazyGeometrySelectionButton;
    m_selectionMode = new Dravik::UI::SelectionModePopup;
    const auto& types = Dravik::UI::GetGeometricTypes();
    for (size_t i = 0; i < types.size(); ++i) {
        auto* button = new Dravik::UI::GeometricTypePopupButton(types[i]);
        button->SetVisible(FALSE);
        button->SetBeginGroup(i == 0);
        m_geometricTypes[i] = button;
    }
    auto add = [this](int id, CXTPControl* control) {
        RegisterControl(id, control);
        control->InternalRelease(); // the registry holds its own reference
    };
    for (const RegistrationEntry& entry : kRegistration)
        add(entry.id, entry.make());
    Dravik::UI::ForEachBuiltinFilterButton(
        [&](int id) { add(id, new Dravik::UI::SelectionFilterButton(id, true)); });
}

void CSysPanelToolbar::RegisterControl(int id, CXTPControl* control, int width) {
    if (control == nullptr)
        return;
    control->SetID(id);
    control->SetFlags(kManualUpdate);
    if (width != -1 && control->GetWidth() != width)
        control->SetWidth(width);
    if (auto* exchange = dynamic_cast<IDataExchange*>(control))
        exchange->Initialize();
    auto at = lowerBound(m_registry, id);
    if (at == m_registry.end() || at->first != id) {
        control->InternalAddRef();
        m_registry.insert(m_registry.begin() + (at - m_registry.cbegin()), {id, control});
    }
    measure(control);
}

void CSysPanelToolbar::measure(CXTPControl* control) {
    const bool borrowed = control->GetControls() == nullptr;
    if (borrowed) {
        // The collection releases what it removes: hold the reference it will give back, so a
        // control nobody registered is still the caller's to release.
        control->InternalAddRef();
        GetControls()->Add(control, control->GetID());
    }
    CClientDC dc(this);
    const CSize size = control->GetSize(&dc);
    if (size.cy > m_buttonSize.cy) {
        const Dpi dpi = screenDpi();
        const int width = dpi.x == dpi.y ? size.cy : scale(scale(size.cy, 96, dpi.y), dpi.x, 96);
        m_buttonSize = CSize(width, size.cy);
    }
    if (borrowed)
        GetControls()->Remove(control);
}

CXTPControl* CSysPanelToolbar::FindControlById(int id) const {
    auto at = lowerBound(m_registry, id);
    return at != m_registry.end() && at->first == id ? at->second : nullptr;
}

bool CSysPanelToolbar::OnCreateControl(XTP_COMMANDBARS_CREATECONTROL& request) {
    const int id = static_cast<int>(request.nID);
    if (id == kDropDownIconId) {
        auto* popup = new CXTPControlPopup;
        popup->SetType(xtpControlButtonPopup);
        popup->SetStyle(xtpButtonIcon);
        request.pControl = popup;
        return true;
    }
    if (CXTPControl* registered = FindControlById(id)) {
        registered->InternalAddRef();
        request.pControl = registered;
        return true;
    }
    if (id >= kFirstFilterId && id <= kLastFilterId) {
        request.pControl = new Dravik::UI::SelectionFilterButton(id, false);
        return true;
    }
    return false;
}

void CSysPanelToolbar::lockRedraw() {
    m_redrawLocked = true;
}

void CSysPanelToolbar::unlockRedraw() {
    m_redrawLocked = false;
    if (::IsWindow(GetSafeHwnd()))
        Invalidate(FALSE);
}

void CSysPanelToolbar::BeginConfiguration() {
    if (m_configurationDepth++ == 0)
        lockRedraw();
}

void CSysPanelToolbar::EndConfiguration() {
    if (m_configurationDepth == 0)
        return;
    if (--m_configurationDepth == 0) {
        ++m_filterLayouts;
        DelayLayout();
        unlockRedraw();
    }
}

void CSysPanelToolbar::DisableSystemPanelControls() {
    lockRedraw();
    for (CXTPControl* control : *GetControls()) {
        if (auto* exchange = dynamic_cast<IDataExchange*>(control))
            exchange->Reset();
        control->SetEnabled(FALSE);
    }
    // The values the panel answers with are the registered controls': a copy on the bar (a
    // restored or customised layout) is not the one that holds them, and a value left there
    // would be read back as current.
    for (const auto& [id, control] : m_registry)
        if (auto* exchange = dynamic_cast<IDataExchange*>(control))
            exchange->Reset();
    unlockRedraw();
}

void CSysPanelToolbar::EnableControl(int id, bool enabled) {
    if (CXTPControl* control = FindControl(id)) {
        control->SetFlags(kManualUpdate);
        control->SetEnabled(enabled);
    }
}

void CSysPanelToolbar::SetControlState(int id, bool checked, bool disabled) {
    if (CXTPControl* control = FindControl(id)) {
        control->SetFlags(kManualUpdate);
        control->SetEnabled(!disabled);
        control->SetChecked(checked);
    }
}

bool CSysPanelToolbar::GetControlState(int id, bool& checked, bool& disabled) const {
    CXTPControl* control = FindControl(id);
    if (control == nullptr)
        return false;
    checked = control->GetChecked() != FALSE;
    disabled = control->GetEnabled() == FALSE;
    return true;
}

void CSysPanelToolbar::SetControlValue(Dravik::DVDocument* document, int id, const SysPanelValue& value) {
    CXTPControl* control = FindControlById(id);
    if (control == nullptr)
        return;
    if (auto* exchange = dynamic_cast<IDataExchange*>(control))
        exchange->SetValue(document, value);
    control->SetEnabled(TRUE);
}

void CSysPanelToolbar::SetRealValue(Dravik::DVDocument* document, int id, double value,
                                    std::int32_t variable) {
    SetControlValue(document, id, SysPanelValue{value, variable, 0, {}});
}

void CSysPanelToolbar::SetRealValueFromInt(Dravik::DVDocument* document, int id, int value,
                                           std::int32_t variable) {
    SetRealValue(document, id, static_cast<double>(value), variable);
}

void CSysPanelToolbar::SetIntValue(Dravik::DVDocument* document, int id, std::int32_t value) {
    SysPanelValue record;
    record.Integer = value;
    SetControlValue(document, id, record);
}

void CSysPanelToolbar::SetFontValue(Dravik::DVDocument* document, int id, const std::wstring& face) {
    auto* font = dynamic_cast<CFontComboBox*>(FindControlById(id));
    if (font == nullptr)
        return;
    SysPanelValue record;
    record.Text = face;
    font->SetValue(document, record); // takes it only for its frame's active document
    font->SetEnabled(TRUE);
}

const SysPanelValue* CSysPanelToolbar::GetControlValue(int id) {
    auto* exchange = dynamic_cast<IDataExchange*>(FindControlById(id));
    return exchange != nullptr ? exchange->GetValue() : nullptr;
}

std::int32_t CSysPanelToolbar::GetControlIntValue(int id) {
    const SysPanelValue* value = GetControlValue(id);
    return value != nullptr ? value->Integer : 0;
}

double CSysPanelToolbar::GetControlRealValue(int id, std::int32_t& code) {
    const SysPanelValue* value = GetControlValue(id);
    code = value != nullptr ? value->Variable : -1;
    return value != nullptr ? value->Real : 0.0;
}

int CSysPanelToolbar::GetControlRealValueAsInt(int id, std::int32_t& code) {
    return static_cast<int>(GetControlRealValue(id, code));
}

void CSysPanelToolbar::CopyControlValue(CXTPControl* control) {
    auto* source = dynamic_cast<IDataExchange*>(control);
    if (source == nullptr)
        return;
    if (auto* target = dynamic_cast<IDataExchange*>(FindControlById(control->GetID())))
        target->CopyValueFrom(*source);
}

bool CSysPanelToolbar::SetCommandButtons(const std::vector<CommandButton>& buttons) {
    BeginConfiguration();
    m_filterSet = -1;
    std::vector<UINT> ids(kMaxCommandButtons, static_cast<UINT>(-1));
    SetButtons(ids.data(), static_cast<int>(ids.size()));
    const size_t count = std::min(buttons.size(), static_cast<size_t>(kMaxCommandButtons));
    ids.resize(count);
    for (size_t i = 0; i < count; ++i)
        ids[i] = static_cast<UINT>(buttons[i].CommandId);
    SetButtons(ids.data(), static_cast<int>(ids.size()));
    OnIdleUpdateCmdUI();
    if (count != 0) {
        CXTPImageManager* images =
            GetCommandBars() != nullptr ? GetCommandBars()->GetImageManager() : nullptr;
        for (size_t i = 0; i < count; ++i) {
            const CommandButton& entry = buttons[i];
            CXTPControl* button = FindControl(entry.CommandId);
            if (entry.StringId != 0) {
                if (auto* filter = dynamic_cast<Dravik::UI::SelectionFilterButton*>(button))
                    filter->SetIconAndToolTip(entry.IconId, LoadSystemPanelString(entry.StringId).c_str());
                else if (button != nullptr) {
                    button->SetIconId(entry.IconId);
                    button->SetTooltip(LoadSystemPanelString(entry.StringId).c_str());
                }
            } else if (images != nullptr &&
                       images->GetIconSet(static_cast<UINT>(entry.CommandId)) == nullptr) {
                if (CXTPImageManagerIcon* icon = images->GetImage(static_cast<UINT>(entry.IconId)))
                    images->SetIcon(icon->GetIcon(), static_cast<UINT>(entry.CommandId));
            }
            if (button != nullptr) {
                button->SetFlags(kManualUpdate);
                button->SetEnabled(TRUE);
            }
        }
        OnIdleUpdateCmdUI();
    }
    EndConfiguration();
    return true;
}

void CSysPanelToolbar::UpdateControlStatesFromCommands() {
    for (const CommandMirror& mirror : kCommandMirrors) {
        bool enabled = false;
        bool checked = false;
        if (!UIModuleProxy::Instance().CommandStateGet(mirror.command, enabled, checked))
            continue;
        if (CXTPControl* control = FindControl(mirror.control)) {
            control->SetFlags(kManualUpdate);
            control->SetEnabled(enabled);
            control->SetChecked(checked);
        }
    }
}
