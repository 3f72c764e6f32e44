#include "DVGC/ColorTable.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "panels/ColorSelectDialog.h"
#include "panels/SysPanelControls.h"
#include "panels/SystemPanelParameters.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"

CColorPopupControl::CColorPopupControl() {
    SetType(xtpControlSplitButtonPopup);
}

CColorPopupControl::~CColorPopupControl() {
    if (m_dialog != nullptr && m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    delete m_dialog;
}

void CColorPopupControl::Draw(CDC* pDC) {
    CXTPControlPopup::Draw(pDC);
    CRect swatch = GetRect();
    swatch.DeflateRect(2, 2);
    CBrush brush(GetColorTable()->GetColor(GetColor()));
    pDC->FillRect(&swatch, &brush);
}

void CColorPopupControl::OnClick(BOOL, CPoint) {
    if (GetEnabled())
        ShowColorDialog();
}

BOOL CColorPopupControl::OnLButtonDblClk(CPoint) {
    if (GetEnabled())
        ShowColorDialog();
    return TRUE;
}

CXTPControl* CColorPopupControl::Clone(BOOL bRecursive) {
    auto* copy = new CColorPopupControl;
    copy->Copy(this, bRecursive);
    return copy;
}

void CColorPopupControl::takeColor(std::uint32_t color) {
    if (color == GetColor())
        return;
    m_value.Integer = static_cast<std::int32_t>(color);
    RedrawParent();
}

// A colour the kernel gives for another frame's document would show here and, chosen again,
// would apply nothing since it already "is" the shown colour: only this frame's document counts.
void CColorPopupControl::SetValue(Dravik::DVDocument* document, const SysPanelValue& value) {
    if (!IsActiveDocumentOf(this, document))
        return;
    takeColor(static_cast<std::uint32_t>(value.Integer));
}

void CColorPopupControl::CopyValueFrom(const IDataExchange& source) {
    const auto* other = dynamic_cast<const CColorPopupControl*>(&source);
    if (other == nullptr || other == this)
        return;
    takeColor(other->GetColor());
}

void CColorPopupControl::OnApplicationEvent(int, ApplicationEventArgs& args) {
    CDvw32Doc* document = DocumentToFollow(*this, args);
    if (document == nullptr || IsOwnPropertiesChange(args))
        return;
    std::uint32_t color = document->GetDefaultParameters().GetDefaultColor().Low;
    std::optional<dveval::VariantParameter> value = GetParameterValue(document, L"Color");
    if (const auto* shared = value ? value->get<dveval::VariantParameter::Color>() : nullptr)
        color = shared->Low;
    takeColor(color);
    SetEnabled(TRUE);
}

void CColorPopupControl::ShowColorDialog() {
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr)
        return;
    if (m_dialog == nullptr)
        m_dialog = new CColorSelectDialog;
    if (m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    if (!m_dialog->Drop(this, GetColor(), bar))
        return;
    SetPressed(TRUE);
    RedrawParent();
    CRect rect = GetRect();
    bar->ClientToScreen(&rect);
    m_dialog->SetWindowPos(nullptr, rect.left, rect.bottom + 4, 0, 0,
                           SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    m_dialog->FillStandardColors();
    m_dialog->FillUserColors();
    m_dialog->ShowWindow(SW_SHOW);
}

void CColorPopupControl::CloseColorDialog() {
    no_set_focus_color_dlg = false;
    if (m_dialog != nullptr && m_dialog->GetSafeHwnd() != nullptr) {
        SetPressed(FALSE);
        RedrawParent();
        m_dialog->EndDialog(0);
        m_dialog->DestroyWindow();
    }
}

void CColorPopupControl::SelectColor(std::uint32_t color, bool apply) {
    CloseColorDialog();
    if (color == GetColor())
        return;
    takeColor(color);
    if (apply)
        ApplyColor();
}

void CColorPopupControl::ApplyColor() {
    ShareWithCopies(*this);
    CFrameWnd* frame = GetControlFrame(this);
    if (frame == nullptr)
        return;
    CDvw32Doc* document = DVGetActiveDoc(frame->GetSafeHwnd());
    if (document != nullptr && !document->IsInCommand() &&
        SetParameterValue(document, L"Color", dveval::ColorValue{GetColor(), 0xFFFFFFFFu}))
        return;
    DravikSafeSendMessage(frame->GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(GetID()),
                          reinterpret_cast<LPARAM>(&m_value.Integer));
}
