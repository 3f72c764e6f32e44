#include "DravikUI/SimpleSplitter.h"

#include "DVDiagnostics/DVLog.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

namespace Dravik::UI {

BEGIN_MESSAGE_MAP(SimpleSplitter, CWnd)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

SimpleSplitter::SimpleSplitter(double proportion, bool horizontal)
    : ratio_(proportion > 0 ? proportion / (1 + proportion) : 0.5), horizontal_(horizontal) {}

BOOL SimpleSplitter::Create(CWnd* parent, DWORD style, UINT id) {
    return CWnd::Create(nullptr, L"", style, CRect(0, 0, 0, 0), parent, id);
}

CWnd* SimpleSplitter::GetPane(int index) const {
    if (GetSafeHwnd() == nullptr || index < 0 || index > 1)
        return nullptr;
    return GetDlgItem(index == 0 ? kFirstPaneId : kSecondPaneId);
}

void SimpleSplitter::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    Layout();
}

void SimpleSplitter::ShowSecondPane(bool show) {
    secondShown_ = show;
    if (CWnd* second = GetPane(1))
        second->ShowWindow(show ? SW_SHOW : SW_HIDE);
    Layout();
}

BOOL SimpleSplitter::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    // A themed bar takes the bars' face, light or dark; the system's look its button face.
    dc->FillSolidRect(&client, theme_ == xtpControlThemeDefault
                                   ? ::GetSysColor(COLOR_BTNFACE)
                                   : CXTPPaintManager::Current()->GetColors().clrBarFace);
    return TRUE;
}

void SimpleSplitter::SetTheme(XTPControlTheme theme) {
    theme_ = theme;
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void SimpleSplitter::OnSize(UINT, int, int) {
    Layout();
}

void SimpleSplitter::Layout() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    CWnd* first = GetPane(0);
    CWnd* second = GetPane(1);
    if (!secondShown_ || second == nullptr) {
        if (first != nullptr)
            first->MoveWindow(client);
        return;
    }
    constexpr int gap = 4;
    const int room = (horizontal_ ? client.Width() : client.Height()) - gap;
    int split = static_cast<int>(room * ratio_);
    if (room >= 2 * minPane_)
        split = std::clamp(split, minPane_, room - minPane_);
    CRect a = client, b = client;
    if (horizontal_) {
        a.right = a.left + split;
        b.left = a.right + gap;
    } else {
        a.bottom = a.top + split;
        b.top = a.bottom + gap;
    }
    if (first != nullptr)
        first->MoveWindow(a);
    second->MoveWindow(b);
}

void SimpleSplitter::DoPropExchange(CXTPPropExchange* pPX) {
    bool horizontal = horizontal_;
    bool shown = secondShown_;
    double ratio = ratio_;
    PX_Bool(pPX, L"Horizontal", horizontal, horizontal_);
    PX_Bool(pPX, L"ShowSecondPane", shown, secondShown_);
    PX_Double(pPX, L"Ratio", ratio, ratio_);
    if (!pPX->IsLoading())
        return;
    if (ratio > 0 && ratio < 1)
        ratio_ = ratio;
    else
        DVLog_Write(DVLogWarning, "Splitter layout: ratio %g outside 0..1 ignored", ratio);
    horizontal_ = horizontal;
    ShowSecondPane(shown);
}

} // namespace Dravik::UI
