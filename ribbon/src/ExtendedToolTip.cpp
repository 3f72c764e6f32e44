#include "ribbon/ExtendedToolTip.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afx/gdi.h"
#include "xtp/CommandBars.h"
#include "xtp/CommandBarsOptions.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(DVExtendedToolTip, CXTPToolTipContextToolTip)

namespace {

constexpr int kTitleGap = 10;
constexpr int kSeparatorSpace = 6;
constexpr int kSeparatorOffset = 3;
// A card with a description is as wide as this text in the normal font.
constexpr const wchar_t* kCardWidthText = L"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";

constexpr UINT kSingleLine = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;
constexpr UINT kWrapped = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_EXPANDTABS;

class GdiCardMetrics : public CommandCardMetrics {
public:
    GdiCardMetrics(CDC* dc, CFont* normal, CFont* bold) : dc_(dc), normal_(normal), bold_(bold) {}

    SIZE MeasureText(const std::wstring& text, bool bold, int wrapWidth) const override {
        CFont* old = dc_->SelectObject(bold ? bold_ : normal_);
        CRect rc(0, 0, wrapWidth > 0 ? wrapWidth : 32767, 0);
        dc_->DrawText(text.c_str(), static_cast<int>(text.size()), &rc,
                      (wrapWidth > 0 ? kWrapped : kSingleLine) | DT_CALCRECT);
        dc_->SelectObject(old);
        return SIZE{rc.Width(), rc.Height()};
    }

private:
    CDC* dc_;
    CFont* normal_;
    CFont* bold_;
};

// One of the lower lines: a label in the normal font and, right after it, a value in bold.
SIZE measureLabelled(const CommandCardMetrics& metrics, const std::wstring& label,
                     const std::wstring& value) {
    const SIZE a = metrics.MeasureText(label, false, 0);
    const SIZE b = value.empty() ? SIZE{0, 0} : metrics.MeasureText(value, true, 0);
    return SIZE{a.cx + b.cx, std::max(a.cy, b.cy)};
}

// The tip's text colour comes from the theme; a dark theme's light text would vanish on the
// card's light grey, so the card then writes in near black.
COLORREF readableOnCard(COLORREF text) {
    const int luminance = (GetRValue(text) * 299 + GetGValue(text) * 587 + GetBValue(text) * 114) / 1000;
    return luminance > 128 ? RGB(0x20, 0x20, 0x20) : text;
}

// "&&" stands for "&"; a single "&" marks the next letter and goes.
std::wstring withoutAccessKeys(const wchar_t* text) {
    std::wstring plain;
    for (const wchar_t* c = text; *c != 0; ++c) {
        if (*c == L'&') {
            if (c[1] != L'&')
                continue;
            ++c;
        }
        plain += *c;
    }
    return plain;
}

} // namespace

std::wstring CommandCardKeyboardCallLabel() {
    return Dravik::I18n::Translate("commands.tooltip_keyboard_call") + L": ";
}

std::wstring CommandCardNameLabel() {
    return Dravik::I18n::Translate("commands.tooltip_name") + L": ";
}

std::wstring CommandCardHelpHint() {
    return Dravik::I18n::Translate("commands.tooltip_f1_for_help");
}

CommandCardLayout LayoutCommandCard(const CommandCardContent& content, const CommandCardMetrics& metrics) {
    CommandCardLayout layout;
    int height = 0;
    bool above = false;
    int titleWidth = 0;
    if (!content.title.empty()) {
        const SIZE title = metrics.MeasureText(content.title, true, 0);
        titleWidth = title.cx;
        height += title.cy + kTitleGap;
        above = true;
    }
    const bool hasPicture = content.picture.cx > 0 && content.picture.cy > 0;
    if (!content.description.empty() || hasPicture)
        layout.contentWidth = metrics.MeasureText(kCardWidthText, false, 0).cx;
    // A title is never cut: the card is at least as wide as it.
    layout.contentWidth = std::max(layout.contentWidth, titleWidth);
    int descriptionHeight = 0;
    if (!content.description.empty()) {
        const SIZE description = metrics.MeasureText(content.description, false, layout.contentWidth);
        descriptionHeight = description.cy;
        height += descriptionHeight;
        layout.contentWidth = std::max(layout.contentWidth, static_cast<int>(description.cx));
        above = true;
    }
    if (hasPicture)
        layout.picture =
            SIZE{layout.contentWidth, static_cast<LONG>(static_cast<long long>(content.picture.cy) *
                                                        layout.contentWidth / content.picture.cx)};
    if (!content.extendedDescription.empty()) {
        layout.expandable = true;
        const SIZE extended = metrics.MeasureText(content.extendedDescription, false, layout.contentWidth);
        layout.extraHeight = extended.cy + layout.picture.cy - descriptionHeight;
    } else if (hasPicture) {
        // Only the kernel gives a picture without a longer text: the compact card shows it.
        height += layout.picture.cy;
        above = true;
    }
    bool lower = false;
    const auto addLine = [&](SIZE line) {
        layout.contentWidth = std::max(layout.contentWidth, static_cast<int>(line.cx));
        height += line.cy;
        lower = true;
    };
    if (!content.keyboardCall.empty())
        addLine(measureLabelled(metrics, CommandCardKeyboardCallLabel(), content.keyboardCall));
    if (!content.name.empty())
        addLine(measureLabelled(metrics, CommandCardNameLabel(), content.name));
    if (content.helpHint)
        addLine(metrics.MeasureText(CommandCardHelpHint(), false, 0));
    layout.separator = above && lower;
    layout.contentHeight = height;
    return layout;
}

DVExtendedToolTip::DVExtendedToolTip(CXTPToolTipContext* context) : CXTPToolTipContextToolTip(context) {}

CXTPCommandBars* DVExtendedToolTip::commandBars() const {
    const auto* context = dynamic_cast<CDVToolTipContext*>(m_pContext);
    return context != nullptr ? context->GetCommandBars() : nullptr;
}

bool DVExtendedToolTip::showsCard(UINT id) const {
    return GetOptions().extendedToolTips != 0 && m_pContext != nullptr && id != 0 &&
           ReadCommandDescription(id, commandBars(), kBackground) != nullptr;
}

CSize DVExtendedToolTip::CalcToolSize(CDC* pDC) {
    m_record = nullptr;
    m_expanded = false;
    m_layout = CommandCardLayout();
    if (!showsCard(GetToolId()))
        return CSize(0, 0);
    CXTPCommandBars* bars = commandBars();
    m_record = ReadCommandDescription(GetToolId(), bars, kBackground);
    m_content = CommandCardContent();
    m_content.title = m_record->title;
    m_content.description = m_record->description;
    m_content.extendedDescription = m_record->extendedDescription;
    if (m_content.title.empty() && m_content.description.empty() && m_content.extendedDescription.empty()) {
        m_content.title = m_pContext->GetText().GetString();
        m_content.description = m_content.title;
    }
    if (bars != nullptr && bars->GetCommandBarsOptions()->bShowKeyboardTips)
        m_content.keyboardCall = m_record->keyboardCall;
    if (GetSettings().toolTipsShowNames)
        m_content.name = m_record->name;
    m_content.helpHint = ShowsHelpHint(GetToolId());
    m_content.picture = m_record->picture.GetSize();
    m_layout =
        LayoutCommandCard(m_content, GdiCardMetrics(pDC, m_pContext->GetFont(), m_pContext->GetBoldFont()));
    return CSize(m_layout.TipSize());
}

void DVExtendedToolTip::DrawBackground(CDC* pDC, CRect rc) {
    pDC->FillSolidRect(&rc, kBackground);
    CBrush border(kBorder);
    pDC->FrameRect(&rc, &border);
}

void DVExtendedToolTip::DrawContent(CDC* pDC, CRect rc) {
    if (m_record == nullptr)
        return;
    rc.DeflateRect(10, 5);
    CFont* normal = m_pContext->GetFont();
    CFont* bold = m_pContext->GetBoldFont();
    CFont* oldFont = pDC->SelectObject(normal);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(readableOnCard(m_pContext->GetTipTextColor()));
    const GdiCardMetrics metrics(pDC, normal, bold);
    int y = rc.top;
    const auto text = [&](const std::wstring& value, bool isBold, int x, bool wrapped) {
        const SIZE size = metrics.MeasureText(value, isBold, wrapped ? m_layout.contentWidth : 0);
        pDC->SelectObject(isBold ? bold : normal);
        CRect at(x, y, wrapped ? rc.left + m_layout.contentWidth : rc.right, y + size.cy);
        pDC->DrawText(value.c_str(), static_cast<int>(value.size()), &at,
                      wrapped ? kWrapped : kSingleLine | DT_END_ELLIPSIS);
        return size;
    };
    const auto picture = [&] {
        const HBITMAP bitmap = m_record->picture.GetHandle();
        if (bitmap == nullptr || m_layout.picture.cy <= 0)
            return;
        CDC source;
        source.CreateCompatibleDC(pDC);
        const HGDIOBJ old = source.SelectObject(bitmap);
        const SIZE own = m_record->picture.GetSize();
        pDC->SetStretchBltMode(HALFTONE);
        pDC->StretchBlt(rc.left, y, m_layout.picture.cx, m_layout.picture.cy, &source, 0, 0, own.cx, own.cy,
                        SRCCOPY);
        source.SelectObject(old);
        y += m_layout.picture.cy;
    };
    if (!m_content.title.empty())
        y += text(m_content.title, true, rc.left, false).cy + kTitleGap;
    if (m_expanded) {
        y += text(m_content.extendedDescription, false, rc.left, true).cy;
        picture();
    } else {
        if (!m_content.description.empty())
            y += text(m_content.description, false, rc.left, true).cy;
        if (!m_layout.expandable)
            picture();
    }
    if (m_layout.separator && y > rc.top) {
        CPen pen(PS_SOLID, 1, kBorder);
        CPen* oldPen = pDC->SelectObject(&pen);
        pDC->MoveTo(rc.left, y + kSeparatorOffset);
        pDC->LineTo(rc.right, y + kSeparatorOffset);
        pDC->SelectObject(oldPen);
        y += kSeparatorSpace;
    }
    const auto labelled = [&](const std::wstring& label, const std::wstring& value) {
        const SIZE a = text(label, false, rc.left, false);
        const SIZE b = text(value, true, rc.left + a.cx, false);
        y += std::max(a.cy, b.cy);
    };
    if (!m_content.keyboardCall.empty())
        labelled(CommandCardKeyboardCallLabel(), m_content.keyboardCall);
    if (!m_content.name.empty())
        labelled(CommandCardNameLabel(), m_content.name);
    if (m_content.helpHint)
        y += text(CommandCardHelpHint(), false, rc.left, false).cy;
    pDC->SelectObject(oldFont);
}

void DVExtendedToolTip::OnVisibleChanged(BOOL bVisible) {
    m_expanded = false;
    KillTimer(kExpandTimer);
    if (bVisible && IsOwnDrawn() && m_layout.expandable)
        SetTimer(kExpandTimer, kExpandDelay);
}

void DVExtendedToolTip::expand() {
    KillTimer(kExpandTimer);
    if (m_expanded || !IsOwnDrawn() || !m_layout.expandable)
        return;
    m_expanded = true;
    CRect rc;
    GetWindowRect(&rc);
    SetOwnWindowPos(0, 0, rc.Width(), rc.Height() + m_layout.extraHeight, SWP_NOMOVE | SWP_NOZORDER);
    EnsureIsVisible();
    Invalidate();
}

LRESULT DVExtendedToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kExpandTimer)
            break;
        expand();
        return 0;
    case TTM_DELTOOLW: {
        // A request for tool -1 while tool -1 shows leaves it showing.
        const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
        if (info != nullptr && info->uId == static_cast<UINT_PTR>(-1)) {
            TTTOOLINFOW current{};
            current.cbSize = sizeof current;
            if (CWnd::WindowProc(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) != 0 &&
                current.uId == static_cast<UINT_PTR>(-1))
                return 0;
        }
        break;
    }
    case TTM_ADDTOOLW: {
        // A person who switched the tool bars' screen tips off gets no plain tip at all; a
        // card still shows while extended tips are on.
        const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
        if (GetOptions().toolTips == 0 && info != nullptr && !showsCard(GetToolId()))
            return FALSE;
        // The window's system commands (minimise, maximise, close, restore) are named with
        // their menu's access keys, which a tip does not show.
        const UINT id = GetToolId();
        if (info != nullptr && (id == 61472 || id == 61488 || id == 61536 || id == 61728) &&
            reinterpret_cast<ULONG_PTR>(info->lpszText) > 0xFFFF) {
            std::wstring plain = withoutAccessKeys(info->lpszText);
            TTTOOLINFOW copy = *info;
            copy.lpszText = plain.data();
            return CXTPToolTipContextToolTip::WindowProc(message, wParam, reinterpret_cast<LPARAM>(&copy));
        }
        break;
    }
    case WM_SHOWWINDOW: {
        const LRESULT result = CXTPToolTipContextToolTip::WindowProc(message, wParam, lParam);
        if (wParam != 0)
            EnsureIsVisible();
        return result;
    }
    default:
        break;
    }
    return CXTPToolTipContextToolTip::WindowProc(message, wParam, lParam);
}

CXTPToolTipContextToolTip* CDVToolTipContext::CreateToolTip(CWnd* pParentWnd) {
    auto* tip = new DVExtendedToolTip(this);
    if (!tip->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", GetControlStyle() | 3, 0, 0, 0, 0,
                       pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr)) {
        delete tip;
        return nullptr;
    }
    // A card is read: it stays while the pointer rests on its command.
    ::SendMessageW(tip->m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(30000, 0));
    return tip;
}

CString CDVToolTipContext::GetToolText(UINT nToolId) const {
    const std::optional<UIModuleProxy::CommandStrings> strings =
        UIModuleProxy::Instance().GetCommandStrings(nToolId);
    if (!strings)
        return CString();
    return CString(!strings->ToolTip.empty() ? strings->ToolTip.c_str() : strings->Caption.c_str());
}
