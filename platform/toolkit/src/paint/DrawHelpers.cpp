#include "xtp/PaintManager.h"

#include "pal/text.h"

CString CXTPDrawHelpers::StripMnemonics(LPCWSTR lpszText) {
    std::wstring in = lpszText != nullptr ? lpszText : L"";
    // "Файл(&F)": translations put the Latin letter in brackets at the end; it goes altogether.
    if (in.size() >= 4 && in.back() == L')' && in[in.size() - 4] == L'(' && in[in.size() - 3] == L'&')
        in.erase(in.size() - 4);
    std::wstring out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == L'&') {
            if (i + 1 < in.size() && in[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return CString(out.c_str());
}

void CXTPDrawHelpers::StripMnemonics(CString& strText) {
    strText = StripMnemonics(strText.GetString());
}

WCHAR CXTPDrawHelpers::GetMnemonic(LPCWSTR lpszText) {
    if (lpszText == nullptr)
        return 0;
    for (const wchar_t* p = lpszText; *p != 0; ++p) {
        if (*p != L'&')
            continue;
        if (p[1] == L'&') {
            ++p;
            continue;
        }
        return p[1] == 0 ? 0 : pal::text::toUpper(std::wstring_view(p + 1, 1))[0];
    }
    return 0;
}

void CXTPDrawHelpers::DrawTextWithMnemonic(CDC* pDC, LPCWSTR lpszText, CRect rc, UINT nFormat,
                                           BOOL bUnderline) {
    pDC->DrawText(lpszText, -1, &rc, nFormat | (bUnderline ? 0 : DT_HIDEPREFIX));
}

COLORREF CXTPDrawHelpers::BlendColors(COLORREF clrA, COLORREF clrB, double dAlpha) {
    auto mix = [dAlpha](int a, int b) { return static_cast<int>(a * dAlpha + b * (1 - dAlpha) + 0.5); };
    return RGB(mix(GetRValue(clrA), GetRValue(clrB)), mix(GetGValue(clrA), GetGValue(clrB)),
               mix(GetBValue(clrA), GetBValue(clrB)));
}
