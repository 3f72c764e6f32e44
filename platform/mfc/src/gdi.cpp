#include "afx/gdi.h"

#include "afx/wnd.h"

#include <memory>
#include <mutex>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

// Objects the program wrapped, found from any thread; temporary wrappers per thread.
struct Permanent {
    std::mutex mutex;
    std::unordered_map<HGDIOBJ, CGdiObject*> objects;
    std::unordered_map<HDC, CDC*> dcs;
};
Permanent& permanent() {
    static Permanent* p = new Permanent;
    return *p;
}
thread_local std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporaryObjects;
thread_local std::unordered_map<HDC, std::unique_ptr<CDC>> temporaryDCs;

template <class K, class V> V* findPermanent(std::unordered_map<K, V*>& map, K key) {
    std::lock_guard lock(permanent().mutex);
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second;
}

template <class K, class V> void setPermanent(std::unordered_map<K, V*>& map, K key, V* value) {
    std::lock_guard lock(permanent().mutex);
    if (value)
        map[key] = value;
    else
        map.erase(key);
}

// The wrapper class that fits the object's kind.
std::unique_ptr<CGdiObject> wrapperFor(HGDIOBJ h) {
    switch (::GetObjectType(h)) {
    case OBJ_PEN:
        return std::make_unique<CPen>();
    case OBJ_BRUSH:
        return std::make_unique<CBrush>();
    case OBJ_REGION:
        return std::make_unique<CRgn>();
    case OBJ_FONT:
        return std::make_unique<CFont>();
    case OBJ_BITMAP:
        return std::make_unique<CBitmap>();
    default:
        return std::make_unique<CGdiObject>();
    }
}

} // namespace

CGdiObject* afxTemporaryGdiObject(HGDIOBJ h) {
    auto& slot = temporaryObjects[h];
    if (!slot) {
        slot = wrapperFor(h);
        slot->m_hObject = h;
        slot->temporary_ = true;
    }
    return slot.get();
}

CDC* afxTemporaryDC(HDC h) {
    auto& slot = temporaryDCs[h];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = slot->m_hAttribDC = h;
        slot->temporary_ = true;
    }
    return slot.get();
}

namespace pal::mfc {
void deleteTemporaryGdiObjects() {
    temporaryObjects.clear();
    temporaryDCs.clear();
}
} // namespace pal::mfc

// --- CGdiObject and its kinds ---

CGdiObject::~CGdiObject() {
    if (temporary_)
        m_hObject = nullptr;
    else
        DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    if (!hObject)
        return nullptr;
    if (CGdiObject* o = findPermanent(permanent().objects, hObject))
        return o;
    return afxTemporaryGdiObject(hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    setPermanent(permanent().objects, hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h && !temporary_)
        setPermanent<HGDIOBJ, CGdiObject>(permanent().objects, h, nullptr);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    // Stock objects are never deleted, so wrapping one needs no ownership.
    return Attach(::GetStockObject(nIndex));
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    CreatePen(nPenStyle, nWidth, crColor);
}
CPen* CPen::FromHandle(HPEN hPen) {
    return static_cast<CPen*>(CGdiObject::FromHandle(hPen));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) {
    return Attach(::CreatePenIndirect(lpLogPen));
}

CBrush::CBrush(COLORREF crColor) {
    CreateSolidBrush(crColor);
}
CBrush::CBrush(int nIndex, COLORREF crColor) {
    CreateHatchBrush(nIndex, crColor);
}
CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush));
}
BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return Attach(::CreateSolidBrush(crColor));
}
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    return Attach(::CreateHatchBrush(nIndex, crColor));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return Attach(::CreateBrushIndirect(lpLogBrush));
}
BOOL CBrush::CreateSysColorBrush(int nIndex) {
    return Attach(::GetSysColorBrush(nIndex));
}

CRgn* CRgn::FromHandle(HRGN hRgn) {
    return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn));
}
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    return Attach(::CreateRectRgnIndirect(lpRect));
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(*this, pRgn1 ? HRGN(*pRgn1) : nullptr, pRgn2 ? HRGN(*pRgn2) : nullptr, nCombineMode);
}

// --- CDC ---

CDC::~CDC() {
    if (temporary_)
        m_hDC = nullptr;
    else if (m_hDC)
        DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC) {
    if (!hDC)
        return nullptr;
    if (CDC* dc = findPermanent(permanent().dcs, hDC))
        return dc;
    return afxTemporaryDC(hDC);
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    setPermanent(permanent().dcs, hDC, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (h && !temporary_)
        setPermanent<HDC, CDC>(permanent().dcs, h, nullptr);
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

CWnd* CDC::GetWindow() const {
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

CPen* CDC::SelectObject(CPen* pPen) {
    return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pPen)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(pBrush)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (!pObject)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}

int CDC::SelectObject(CRgn* pRgn) {
    return static_cast<int>(
        reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, pRgn ? pRgn->m_hObject : nullptr)));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ stock = ::GetStockObject(nIndex);
    return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}

CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

namespace {
using OriginSetter = BOOL (*)(HDC, int, int, LPPOINT);
CPoint changeOrigin(HDC dc, OriginSetter set, int x, int y) {
    POINT previous{};
    set(dc, x, y, &previous);
    return previous;
}
} // namespace

CPoint CDC::SetWindowOrg(int x, int y) {
    return changeOrigin(m_hDC, ::SetWindowOrgEx, x, y);
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
    return changeOrigin(m_hDC, ::OffsetWindowOrgEx, nWidth, nHeight);
}
CPoint CDC::SetViewportOrg(int x, int y) {
    return changeOrigin(m_hDC, ::SetViewportOrgEx, x, y);
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    return changeOrigin(m_hDC, ::OffsetViewportOrgEx, nWidth, nHeight);
}
CPoint CDC::SetBrushOrg(int x, int y) {
    return changeOrigin(m_hDC, ::SetBrushOrgEx, x, y);
}
CPoint CDC::MoveTo(int x, int y) {
    return changeOrigin(m_hDC, ::MoveToEx, x, y);
}

CPoint CDC::GetWindowOrg() const {
    POINT p{};
    ::GetWindowOrgEx(m_hDC, &p);
    return p;
}
CPoint CDC::GetViewportOrg() const {
    POINT p{};
    ::GetViewportOrgEx(m_hDC, &p);
    return p;
}
CPoint CDC::GetCurrentPosition() const {
    POINT p{};
    ::GetCurrentPositionEx(m_hDC, &p);
    return p;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    ::SetBkColor(m_hDC, clr);
    HBRUSH brush = ::CreateSolidBrush(clr);
    ::FillRect(m_hDC, lpRect, brush);
    ::DeleteObject(brush);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    const RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    // The right and bottom lines own the corners they share with the others.
    FillSolidRect(CRect(x, y, x + cx - 1, y + 1), clrTopLeft);
    FillSolidRect(CRect(x, y, x + 1, y + cy - 1), clrTopLeft);
    FillSolidRect(CRect(x + cx - 1, y, x + cx, y + cy), clrBottomRight);
    FillSolidRect(CRect(x, y + cy - 1, x + cx, y + cy), clrBottomRight);
}

// --- The window DCs ---

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
