#include "PickerControl.h"

#include "DVGC/ColorTable.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/IconCache.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Objects.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "panels/PickerDialogs.h"
#include "panels/SysPanelControls.h"
#include "panels/SystemPanelParameters.h"
#include "xtp/CommandBar.h"

#include <cwctype>

namespace {

constexpr int kIconWidth = 15;

std::wstring trimmed(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first]))
        ++first;
    while (last > first && std::iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace

CLayerPopupControl::CLayerPopupControl() : m_dialogRect(panels::picker::InitialDialogRect()) {
    SetType(xtpControlButtonPopup);
    SetWidth(CXTPDpi::ScaleX(183));
}

CLayerPopupControl::~CLayerPopupControl() {
    if (m_dialog != nullptr && m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    delete m_dialog;
}

CSize CLayerPopupControl::GetSize(CDC*) {
    return panels::picker::Size(*this);
}

void CLayerPopupControl::Draw(CDC* pDC) {
    const CRect content = panels::picker::DrawFrame(pDC, *this);
    CDvw32Doc* document = panels::picker::ActiveDocument(*this);
    const auto* layer = document != nullptr && document->Cont2D() != nullptr
                            ? dynamic_cast<const LAYER*>(document->Cont2D()->GetSafeObject(GetLayer()))
                            : nullptr;
    if (layer == nullptr)
        return;
    const int nameWidth = panels::picker::DrawText(pDC, *this, content, layer->name);
    const int y = content.top + (content.Height() - kIconWidth) / 2;
    for (const auto& [icon, x] : IconPlaces(*layer, content.left + 2 + nameWidth, content.right)) {
        if (icon == 0) {
            pDC->Draw3dRect(x + 1, y + 1, 13, 13, RGB(0, 0, 0), RGB(0, 0, 0));
            pDC->FillSolidRect(x + 2, y + 2, 11, 11, GetColorTable()->GetColor(layer->color));
        } else {
            CIconCache::Instance().DrawIcon(pDC->GetSafeHdc(), icon, x, y, kIconWidth);
        }
    }
}

std::vector<std::pair<int, int>> CLayerPopupControl::IconPlaces(const LAYER& layer, int x, int right) {
    const auto& s = layer.states;
    const struct {
        bool shown;
        int icon;
    } icons[] = {
        {s[0] != 0 || (s[1] & 3) != 0, CIconCache::kHidden},
        {s[2] != 0, CIconCache::kFrozen},
        {s[4] != 0, CIconCache::kLocked},
        {s[3] != 0, 0},
        {s[5] != 0, CIconCache::kNotPrinted},
        {s[6] != 0, CIconCache::kBackground},
        {layer.IsSetLineWidth(), CIconCache::kLineWidth},
    };
    std::vector<std::pair<int, int>> places;
    for (const auto& icon : icons) {
        if (!icon.shown)
            continue;
        if (x + kIconWidth >= right)
            break;
        places.emplace_back(icon.icon, x);
        x += kIconWidth;
    }
    return places;
}

void CLayerPopupControl::OnClick(BOOL, CPoint) {
    if (GetEnabled())
        ShowLayerDialog();
}

CXTPControl* CLayerPopupControl::Clone(BOOL bRecursive) {
    auto* copy = new CLayerPopupControl;
    copy->Copy(this, bRecursive);
    return copy;
}

bool CLayerPopupControl::takeLayer(std::int32_t layer) {
    if (layer == GetLayer())
        return false;
    m_value.Integer = layer;
    RedrawParent();
    return true;
}

void CLayerPopupControl::Reset() {
    takeLayer(-1);
}

void CLayerPopupControl::SetValue(Dravik::DVDocument* document, const SysPanelValue& value) {
    if (IsActiveDocumentOf(this, document))
        takeLayer(value.Integer);
}

void CLayerPopupControl::CopyValueFrom(const IDataExchange& source) {
    const auto* other = dynamic_cast<const CLayerPopupControl*>(&source);
    if (other == nullptr || other == this ||
        panels::picker::ActiveDocument(*this) != panels::picker::ActiveDocument(*other))
        return;
    takeLayer(other->GetLayer());
}

void CLayerPopupControl::OnApplicationEvent(int, ApplicationEventArgs& args) {
    CDvw32Doc* document = DocumentToFollow(*this, args);
    if (document == nullptr || IsOwnPropertiesChange(args))
        return;
    std::int32_t layer = document->GetDefaultParameters().GetDefaultLayer();
    std::optional<dveval::VariantParameter> value = GetParameterValue(document, L"Layer");
    if (const auto* shared = value ? value->get<dveval::VariantParameter::Integer>() : nullptr)
        layer = *shared;
    takeLayer(layer);
    SetEnabled(TRUE);
}

void CLayerPopupControl::ShowLayerDialog() {
    if (m_dialog == nullptr)
        m_dialog = new CLayerSelectDialog;
    if (m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr || !m_dialog->Drop(this, bar))
        return;
    SetPressed(TRUE);
    RedrawParent();
    panels::picker::ShowUnder(*m_dialog, *this, m_dialogRect);
}

void CLayerPopupControl::CloseLayerDialog() {
    panels::picker::CloseDropDown(m_dialog, *this);
}

void CLayerPopupControl::LayerPicked(std::int64_t id, CSize dialogSize) {
    panels::picker::KeepSize(m_dialogRect, dialogSize);
    CloseLayerDialog();
    if (id == DVLayerList::kNewLayerEntry) {
        newLayer();
        return;
    }
    LayerConfirmed(id);
}

void CLayerPopupControl::LayerConfirmed(std::int64_t id) {
    // An id beyond 32 bits cannot be a value of the panel.
    if (id < 0 || id > INT32_MAX)
        return;
    if (takeLayer(static_cast<std::int32_t>(id)))
        ApplyLayer();
}

// The person names the new layer; a name of blanks makes nothing, a taken or unusable name is
// refused with a message, and a good one becomes a layer in one undo step and is applied.
void CLayerPopupControl::newLayer() {
    CDvw32Doc* document = panels::picker::ActiveDocument(*this);
    Dravik::DVDocument* container = document != nullptr ? document->Cont2D() : nullptr;
    if (container == nullptr)
        return;
    std::vector<UIModuleProxy::SettingsEntry> form(2);
    form[0].Kind = 12;
    form[0].Id = 101;
    form[0].CaptionId = 10237;
    form[1].Kind = 11;
    form[1].Id = 102;
    form[1].MaxLength = 255;
    CFrameWnd* frame = GetControlFrame(this);
    if (UIModuleProxy::Instance().ShowSettingsDialog(frame != nullptr ? frame->GetSafeHwnd() : nullptr, 10123,
                                                     form) != IDOK)
        return;
    const std::wstring name = trimmed(form[1].Text);
    if (name.empty())
        return;
    if (!Dravik::IsValidLayerName(name)) {
        DVMessageBox::Show(DVLoadString(11287).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    if (container->FindLayer(name) != nullptr) {
        DVMessageBox::Show(DVLoadFormatString(11286, name).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    auto layer = std::make_shared<LAYER>();
    layer->name = name;
    container->start_undo_block(0, 215, 0, 0);
    const std::int64_t id = container->CreateElement(std::move(layer));
    container->end_undo_block();
    LayerConfirmed(id);
}

void CLayerPopupControl::ApplyLayer() {
    // The frame copies an executed control's value into its other copies; without this, a copy
    // left behind when the selection takes the layer would take a later choice of that layer
    // for no change and apply nothing.
    ShareWithCopies(*this);
    CFrameWnd* frame = GetControlFrame(this);
    CDvw32Doc* document = frame != nullptr ? DVGetActiveDoc(frame->GetSafeHwnd()) : nullptr;
    if (document == nullptr)
        return;
    if (!document->IsInCommand() && SetParameterValue(document, L"Layer", std::int32_t{GetLayer()}))
        return;
    DravikSafeSendMessage(frame->GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(GetID()),
                          reinterpret_cast<LPARAM>(&m_value.Integer));
    // Every frame's copies show it; each takes it only for its own active drawing.
    if (DravikServerAppProxy* application = DravikServerAppProxy::Instance())
        application->set_syspanel_int(document->Cont2D(), GetID(), GetLayer());
}
