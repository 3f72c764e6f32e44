#include "PickerControl.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/Objects.h"
#include "panels/PickerDialogs.h"
#include "panels/SysPanelControls.h"
#include "xtp/CommandBar.h"

LCSPopupControl::LCSPopupControl() : m_dialogRect(panels::picker::InitialDialogRect()) {
    SetType(xtpControlButtonPopup);
    SetWidth(CXTPDpi::ScaleX(183));
}

LCSPopupControl::~LCSPopupControl() {
    if (m_dialog != nullptr && m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    delete m_dialog;
}

CSize LCSPopupControl::GetSize(CDC*) {
    return panels::picker::Size(*this);
}

void LCSPopupControl::Draw(CDC* pDC) {
    const CRect content = panels::picker::DrawFrame(pDC, *this);
    CDvw32Doc* document = panels::picker::ActiveDocument(*this);
    if (document == nullptr)
        return;
    if (GetLCS() < 0) {
        panels::picker::DrawText(pDC, *this, content, Dravik::I18n::Translate("PageCoordinateSystem"));
        return;
    }
    // A value whose system is gone shows nothing.
    if (document->Cont2D() != nullptr)
        if (const auto* point =
                dynamic_cast<const FIXING_POINT*>(document->Cont2D()->GetSafeObject(GetLCS())))
            panels::picker::DrawText(pDC, *this, content, point->name);
}

void LCSPopupControl::OnClick(BOOL, CPoint) {
    if (GetEnabled())
        ShowLCSDialog();
}

CXTPControl* LCSPopupControl::Clone(BOOL bRecursive) {
    auto* copy = new LCSPopupControl;
    copy->Copy(this, bRecursive);
    return copy;
}

void LCSPopupControl::Reset() {
    CDvw32Doc* document = panels::picker::ActiveDocument(*this);
    if (document != nullptr && document->Cont2D() != nullptr)
        return;
    if (GetLCS() != -1) {
        m_value.Integer = -1;
        RedrawParent();
    }
}

void LCSPopupControl::SetValue(Dravik::DVDocument* document, const SysPanelValue& value) {
    if (!IsActiveDocumentOf(this, document) || value.Integer == GetLCS())
        return;
    m_value.Integer = value.Integer;
    RedrawParent();
}

void LCSPopupControl::CopyValueFrom(const IDataExchange& source) {
    const auto* other = dynamic_cast<const LCSPopupControl*>(&source);
    if (other == nullptr || other == this || other->GetLCS() == GetLCS() ||
        panels::picker::ActiveDocument(*this) != panels::picker::ActiveDocument(*other))
        return;
    m_value.Integer = other->GetLCS();
    RedrawParent();
}

void LCSPopupControl::ShowLCSDialog() {
    if (m_dialog != nullptr) {
        if (m_dialog->GetSafeHwnd() != nullptr)
            m_dialog->DestroyWindow();
        delete m_dialog;
    }
    m_dialog = new LCSSelectDialog(this);
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr || !m_dialog->Drop(bar))
        return;
    SetPressed(TRUE);
    RedrawParent();
    panels::picker::ShowUnder(*m_dialog, *this, m_dialogRect);
}

void LCSPopupControl::SetDialogSize(CSize size) {
    panels::picker::KeepSize(m_dialogRect, size);
}

void LCSPopupControl::CloseLCSDialog() {
    panels::picker::CloseDropDown(m_dialog, *this);
}

void LCSPopupControl::SetLCS(std::int32_t value) {
    if (value == GetLCS())
        return;
    m_value.Integer = value;
    RedrawParent();
    CFrameWnd* frame = GetControlFrame(this);
    if (frame == nullptr)
        return;
    if (value < -1) {
        // No system of the panel's: the frame is asked to have one chosen again.
        m_value.Integer = -1;
        frame->SendMessage(WM_COMMAND, 2875, 0);
        return;
    }
    CDvw32Doc* document = panels::picker::ActiveDocument(*this);
    if (DravikServerAppProxy* application = DravikServerAppProxy::Instance())
        application->set_syspanel_int(document != nullptr ? document->Cont2D() : nullptr, GetID(), value);
    DravikSafeSendMessage(frame->GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(GetID()),
                          reinterpret_cast<LPARAM>(&m_value.Integer));
}
