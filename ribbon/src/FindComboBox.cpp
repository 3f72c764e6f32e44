#include "ribbon/FindComboBox.h"

#include "ribbon/ProfilePopup.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/View.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace {

std::wstring trimmed(const CString& text) {
    std::wstring s(text.GetString());
    const auto blank = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
    s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), blank));
    s.erase(std::find_if_not(s.rbegin(), s.rend(), blank).base(), s.end());
    return s;
}

// The name was found: it moves to the front of the drawing's history, once.
void remember(std::list<std::wstring>& history, const std::wstring& name) {
    history.remove(name);
    history.push_front(name);
}

} // namespace

IMPLEMENT_DYNCREATE(CFindComboBox, CXTPControlComboBox)

CFindComboBox::CFindComboBox() {
    if (const int width = CXTPDpi::ScaleX(kWidth, 96); width != GetWidth()) {
        SetWidth(width);
        DelayLayoutParent();
    }
    SetDropDownListStyle(FALSE);
}

CXTPControl* CFindComboBox::Clone(BOOL bRecursive) {
    auto* copy = new CFindComboBox;
    copy->Copy(this, bRecursive);
    return copy;
}

void CFindComboBox::OnExecute() {
    Search();
}

void CFindComboBox::OnSelChanged(int nIndex) {
    // The chosen name goes into the field; the search is this box's execution, so the frame
    // hears the change but gets no command of its own.
    SetCurSel(nIndex);
    notify(CBN_SELCHANGE);
    Search();
}

void CFindComboBox::OnSetFocus(HWND hwndOld) {
    CXTPControlComboBox::OnSetFocus(hwndOld);
    ResetContent();
    CDVView* view = ActiveDrawingViewOf(this);
    const CDvw32Doc* document = view != nullptr ? view->GetDvwDocument() : nullptr;
    if (document == nullptr)
        return;
    for (const std::wstring& name : document->GetNameHistory())
        AddString(name.c_str());
}

void CFindComboBox::Search() {
    const std::wstring name = trimmed(GetEditText());
    if (!name.empty()) {
        if (CDVView* view = ActiveDrawingViewOf(this)) {
            CDvw32Doc* document = view->GetDvwDocument();
            // A document without 2D content has no elements to find: the selection stays.
            const DVDocument* content = document != nullptr ? document->Cont2D() : nullptr;
            if (content != nullptr && view->SelectObject(content->FindElementByName(name, false)))
                remember(document->GetNameHistory(), name);
            else
                ::MessageBeep(MB_ICONASTERISK);
        }
    }
    SetEditText(L"");
    ResetContent();
    // The drawing of this box's frame takes the keys again, whichever frame is the main one.
    CXTPCommandBar* bar = GetParent();
    if (CWnd* site = bar != nullptr ? bar->GetSite() : nullptr; site != nullptr && site->m_hWnd != nullptr)
        site->SetFocus();
}
