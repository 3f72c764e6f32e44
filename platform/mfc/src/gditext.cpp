// Fonts, bitmaps and the text members of CDC.
#include "afx/gdi.h"

#include <cwchar>

CFont* CFont::FromHandle(HFONT hFont) {
    return static_cast<CFont*>(CGdiObject::FromHandle(hFont));
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename) {
    return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName)
        std::wcsncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC) {
    if (!lpLogFont)
        return FALSE;
    LOGFONTW lf = *lpLogFont;
    const int dpi = pDC ? ::GetDeviceCaps(pDC->m_hDC, LOGPIXELSY) : static_cast<int>(::GetDpiForSystem());
    // Tenths of a point to pixels of character height, rounded to nearest.
    const int tenths = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    lf.lfHeight = -static_cast<LONG>((tenths * (dpi > 0 ? dpi : 96) + 360) / 720);
    return CreateFontIndirect(&lf);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return pDC && Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CSize CBitmap::GetBitmapDimension() const {
    SIZE size{};
    ::GetBitmapDimensionEx(*this, &size);
    return CSize(size);
}

CFont* CDC::SelectObject(CFont* pFont) {
    return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(pFont)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(pBitmap)));
}

CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return CSize(size);
}

int CDC::GetTextFace(CString& rString) const {
    const int needed = ::GetTextFaceW(m_hDC, 0, nullptr);
    if (needed <= 0)
        return 0;
    std::wstring face(size_t(needed), L'\0');
    const int copied = ::GetTextFaceW(m_hDC, needed, face.data());
    face.resize(size_t(copied));
    rString = face.c_str();
    return copied;
}
