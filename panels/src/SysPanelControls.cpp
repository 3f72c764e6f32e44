#include "panels/SysPanelControls.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "panels/SystemPanelParameters.h"
#include "xtp/CommandBar.h"

#include <cwchar>

namespace {

std::wstring realText(double value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%g", value);
    return text;
}

} // namespace

CSyspanelEdit::CSyspanelEdit(const wchar_t* name, int kind, double initial)
    : m_name(name != nullptr ? name : L""), m_kind(kind), m_initial(initial) {}

CSyspanelEdit::CSyspanelEdit(const wchar_t* name, int kind, double initial, int rangeFirst, int rangeLast)
    : CSyspanelEdit(name, kind, initial) {
    m_rangeFirst = rangeFirst;
    m_rangeLast = rangeLast;
}

void CSyspanelEdit::Reset() {
    m_value = SysPanelValue{};
    SetEditText(L"");
}

void CSyspanelEdit::SetValue(Dravik::DVDocument* document, const SysPanelValue& value) {
    if (!IsActiveDocumentOf(this, document))
        return;
    m_value.Real = value.Real;
    m_value.Variable = value.Variable;
    m_value.Text = value.Text;
    SetEditText(value.Text.empty() ? realText(value.Real).c_str() : value.Text.c_str());
}

void CSyspanelEdit::CopyValueFrom(const IDataExchange& source) {
    const auto* other = dynamic_cast<const CSyspanelEdit*>(&source);
    if (other == nullptr || other == this)
        return;
    CFrameWnd* mine = GetControlFrame(this);
    CFrameWnd* theirs = GetControlFrame(other);
    if (DVGetActiveDoc(mine != nullptr ? mine->GetSafeHwnd() : nullptr) !=
        DVGetActiveDoc(theirs != nullptr ? theirs->GetSafeHwnd() : nullptr))
        return;
    m_value = other->m_value;
    SetEditText(other->GetEditText());
}

CXTPControl* CSyspanelEdit::Clone(BOOL bRecursive) {
    auto* copy = new CSyspanelEdit(m_name.c_str(), m_kind, m_initial, m_rangeFirst, m_rangeLast);
    copy->Copy(this, bRecursive);
    return copy;
}

void CSyspanelEdit::OnApplicationEvent(int, ApplicationEventArgs& args) {
    CDvw32Doc* document = DocumentToFollow(*this, args);
    if (document == nullptr || IsOwnPropertiesChange(args))
        return;
    std::optional<dveval::VariantParameter> value = GetParameterValue(document, m_name);
    const auto* real = value ? value->get<dveval::VariantParameter::Real>() : nullptr;
    if (real == nullptr)
        return;
    m_value.Real = real->Value;
    m_value.Variable = real->Variable;
    m_value.Text = realText(real->Value);
    SetEditText(m_value.Text.c_str());
}

void CFontComboBox::Reset() {
    m_value = SysPanelValue{};
    SetCurSel(-1);
}

void CFontComboBox::SetValue(Dravik::DVDocument* document, const SysPanelValue& value) {
    if (!IsActiveDocumentOf(this, document))
        return;
    m_value.Text = value.Text;
    int index = FindStringExact(-1, value.Text.c_str());
    SetCurSel(index >= 0 ? index : 0);
}

void CFontComboBox::CopyValueFrom(const IDataExchange& source) {
    const auto* other = dynamic_cast<const CFontComboBox*>(&source);
    if (other == nullptr || other == this)
        return;
    CFrameWnd* frame = GetControlFrame(this);
    CDvw32Doc* document = DVGetActiveDoc(frame != nullptr ? frame->GetSafeHwnd() : nullptr);
    SetValue(document != nullptr ? document->Cont2D() : nullptr, other->m_value);
}

void CFontComboBox::OnApplicationEvent(int, ApplicationEventArgs& args) {
    CDvw32Doc* document = DocumentToFollow(*this, args);
    if (document == nullptr)
        return;
    std::optional<dveval::VariantParameter> value = GetParameterValue(document, L"FontName");
    const auto* name = value ? value->get<dveval::VariantParameter::String>() : nullptr;
    if (name == nullptr)
        return;
    m_value.Text = *name;
    int index = FindStringExact(-1, name->c_str());
    SetCurSel(index >= 0 ? index : 0);
    SetEnabled(TRUE);
}
