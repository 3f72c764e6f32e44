#include "DravikUI/TabCtrl.h"

#include "xtp/PaintManager.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex defaultsMutex;
CDVTabCtrl::Defaults defaults;

constexpr const wchar_t* kSubKey = L"PagesTabCtrl";
constexpr int kTextMargin = 10;
constexpr int kFirstIndent = 4;

bool readFlag(HKEY key, const wchar_t* name, bool& flag) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    flag = value != 0;
    return true;
}

void writeFlag(HKEY key, const wchar_t* name, bool flag) {
    const DWORD value = flag ? 1 : 0;
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace

BEGIN_MESSAGE_MAP(CDVTabCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CDVTabCtrl::Defaults CDVTabCtrl::GetDefaults() {
    std::lock_guard lock(defaultsMutex);
    return defaults;
}

void CDVTabCtrl::SetDefaults(const Defaults& d) {
    std::lock_guard lock(defaultsMutex);
    defaults = d;
}

bool CDVTabCtrl::ReadDefaults(HKEY sectionKey) {
    HKEY key = nullptr;
    if (!sectionKey || ::RegOpenKeyExW(sectionKey, kSubKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    Defaults d = GetDefaults();
    readFlag(key, L"Position", d.OnTop);
    readFlag(key, L"ShowSingleTab", d.ShowSingleTab);
    ::RegCloseKey(key);
    SetDefaults(d);
    return true;
}

bool CDVTabCtrl::SaveDefaults(HKEY sectionKey) {
    HKEY key = nullptr;
    if (!sectionKey || ::RegCreateKeyExW(sectionKey, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                         nullptr) != ERROR_SUCCESS)
        return false;
    const Defaults d = GetDefaults();
    writeFlag(key, L"Position", d.OnTop);
    writeFlag(key, L"ShowSingleTab", d.ShowSingleTab);
    ::RegCloseKey(key);
    return true;
}

BOOL CDVTabCtrl::Create(const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, parent, id);
}

void CDVTabCtrl::InsertItem(int index, const std::wstring& text) {
    index = std::clamp(index, 0, GetItemCount());
    m_items.insert(m_items.begin() + index, text);
    if (m_cur >= index)
        ++m_cur;
    if (m_cur < 0)
        m_cur = 0;
    m_layoutValid = false;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CDVTabCtrl::SetItemText(int index, const std::wstring& text) {
    if (index < 0 || index >= GetItemCount())
        return;
    m_items[static_cast<size_t>(index)] = text;
    m_layoutValid = false;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

std::wstring CDVTabCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<size_t>(index)] : std::wstring();
}

void CDVTabCtrl::DeleteAllItems() {
    m_items.clear();
    m_cur = -1;
    m_layoutValid = false;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

bool CDVTabCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetItemCount())
        return false;
    m_cur = index;
    if (::IsWindow(m_hWnd))
        Invalidate();
    return true;
}

int CDVTabCtrl::GetStripHeight() {
    return CXTPDpi::ScaleY(22);
}

void CDVTabCtrl::layout() const {
    if (m_layoutValid)
        return;
    m_rects.clear();
    CRect client;
    GetClientRect(&client);
    CClientDC dc(const_cast<CDVTabCtrl*>(this));
    CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    int x = CXTPDpi::ScaleX(kFirstIndent);
    for (const std::wstring& text : m_items) {
        const int width = dc.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx +
                          2 * CXTPDpi::ScaleX(kTextMargin);
        m_rects.emplace_back(x, client.top, x + width, client.bottom);
        x += width;
    }
    dc.SelectObject(old);
    m_layoutValid = true;
}

CRect CDVTabCtrl::GetItemRect(int index) const {
    if (index < 0 || index >= GetItemCount() || !::IsWindow(m_hWnd))
        return CRect();
    layout();
    return m_rects[static_cast<size_t>(index)];
}

int CDVTabCtrl::HitTest(CPoint point) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetItemRect(i).PtInRect(point))
            return i;
    }
    return -1;
}

void CDVTabCtrl::OnPaint() {
    CPaintDC dc(this);
    m_layoutValid = false;
    layout();
    const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
    const bool onTop = GetDefaults().OnTop;
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, colors.clrBarFace);
    // The line that joins the strip to the views; the selected tab opens into it.
    const int edge = onTop ? client.bottom - 1 : client.top;
    dc.FillSolidRect(CRect(client.left, edge, client.right, edge + 1), colors.clrBarBorder);
    CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetItemCount(); ++i) {
        CRect r = m_rects[static_cast<size_t>(i)];
        const bool selected = i == m_cur;
        if (onTop)
            r.top += selected ? 1 : 3;
        else
            r.bottom -= selected ? 1 : 3;
        dc.FillSolidRect(&r, selected ? colors.clrWindow : colors.clrBarFace);
        // Sides, and the outer edge; the edge towards the views stays open for the selected tab.
        dc.FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), colors.clrBarBorder);
        dc.FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), colors.clrBarBorder);
        if (onTop)
            dc.FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), colors.clrBarBorder);
        else
            dc.FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), colors.clrBarBorder);
        if (selected)
            dc.FillSolidRect(CRect(r.left + 1, edge, r.right - 1, edge + 1), colors.clrWindow);
        dc.SetTextColor(selected ? colors.clrWindowText : colors.clrText);
        const std::wstring& text = m_items[static_cast<size_t>(i)];
        dc.DrawText(text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(old);
}

void CDVTabCtrl::OnLButtonDown(UINT, CPoint point) {
    const int hit = HitTest(point);
    if (hit < 0 || hit == m_cur)
        return;
    SetCurSel(hit);
    NMHDR nm{};
    nm.hwndFrom = m_hWnd;
    nm.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.code = TCN_SELCHANGE;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}
