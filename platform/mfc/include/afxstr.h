// CString (wide) and CStringA (8-bit) over the standard string. Positions and lengths are in
// characters of the string's own type. Out-of-range positions of GetAt, SetAt and operator[]
// stop a debug build and throw CInvalidArgException* in a release build; Left, Mid, Right,
// Insert and Delete clamp their arguments to the string as the platform does.
#pragma once

#include "afx/check.h"
#include "afx/except.h"
#include "pal/format.h"
#include "pal/text.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <algorithm>
#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal::mfc {

// The text of string resource `id` of the resource module (then of every module), or false.
bool loadString(UINT id, std::wstring& text);

inline void checkIndex(bool inRange) {
    ASSERT(inRange && "string index out of range");
    if (!inRange)
        AfxThrowInvalidArgException();
}

template <class To> std::basic_string<To> convertText(std::wstring_view wide);
template <> inline std::wstring convertText<wchar_t>(std::wstring_view wide) {
    return std::wstring(wide);
}
template <> inline std::string convertText<char>(std::wstring_view wide) {
    return pal::text::toUtf8(wide);
}
inline std::wstring widen(std::wstring_view s) {
    return std::wstring(s);
}
inline std::wstring widen(std::string_view s) {
    return pal::text::fromUtf8(s);
}

} // namespace pal::mfc

template <class Ch> class CStringT {
public:
    using XCHAR = Ch;
    using YCHAR = std::conditional_t<std::is_same_v<Ch, wchar_t>, char, wchar_t>;
    using PXSTR = Ch*;
    using PCXSTR = const Ch*;
    using PCYSTR = const YCHAR*;
    using String = std::basic_string<Ch>;
    using View = std::basic_string_view<Ch>;

    CStringT() = default;
    CStringT(PCXSTR psz) : s_(psz ? psz : String()) {}
    CStringT(PCYSTR psz) : s_(psz ? convert(std::basic_string_view<YCHAR>(psz)) : String()) {}
    CStringT(PCXSTR pch, int nLength)
        : s_(pch && nLength > 0 ? String(pch, static_cast<size_t>(nLength)) : String()) {}
    explicit CStringT(Ch ch, int nRepeat = 1) : s_(nRepeat > 0 ? static_cast<size_t>(nRepeat) : 0, ch) {}
    CStringT(const String& s) : s_(s) {}
    CStringT(String&& s) : s_(std::move(s)) {}
    CStringT(View s) : s_(s) {}
    CStringT(const CStringT<YCHAR>& other)
        : s_(convert(std::basic_string_view<YCHAR>(other.GetString(), other.GetLength()))) {}

    CStringT& operator=(PCXSTR psz) {
        s_ = psz ? String(psz) : String();
        return *this;
    }
    CStringT& operator=(PCYSTR psz) { return *this = CStringT(psz); }
    CStringT& operator=(Ch ch) {
        s_.assign(1, ch);
        return *this;
    }
    CStringT& operator=(const CStringT<YCHAR>& other) { return *this = CStringT(other); }

    operator PCXSTR() const { return s_.c_str(); }
    PCXSTR GetString() const { return s_.c_str(); }
    int GetLength() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }

    // The character at iChar; iChar == GetLength() reads the terminator.
    Ch GetAt(int iChar) const {
        pal::mfc::checkIndex(iChar >= 0 && iChar <= GetLength());
        return s_.c_str()[iChar];
    }
    Ch operator[](int iChar) const { return GetAt(iChar); }
    void SetAt(int iChar, Ch ch) {
        pal::mfc::checkIndex(iChar >= 0 && iChar < GetLength());
        s_[static_cast<size_t>(iChar)] = ch;
    }

    CStringT& operator+=(const CStringT& s) {
        s_ += s.s_;
        return *this;
    }
    CStringT& operator+=(PCXSTR psz) {
        if (psz)
            s_ += psz;
        return *this;
    }
    CStringT& operator+=(PCYSTR psz) { return *this += CStringT(psz); }
    CStringT& operator+=(Ch ch) {
        s_ += ch;
        return *this;
    }
    void Append(PCXSTR psz) { *this += psz; }
    void AppendChar(Ch ch) { s_ += ch; }

    friend CStringT operator+(const CStringT& a, const CStringT& b) { return CStringT(a.s_ + b.s_); }
    friend CStringT operator+(const CStringT& a, PCXSTR b) { return CStringT(a) += b; }
    friend CStringT operator+(PCXSTR a, const CStringT& b) { return CStringT(a) += b; }
    friend CStringT operator+(const CStringT& a, Ch b) { return CStringT(a) += b; }
    friend CStringT operator+(Ch a, const CStringT& b) { return CStringT(a) += b; }

    int Compare(PCXSTR psz) const { return sign(View(s_).compare(view(psz))); }
    int CompareNoCase(PCXSTR psz) const {
        return sign(pal::text::compareNoCase(pal::mfc::widen(View(s_)), pal::mfc::widen(view(psz))));
    }
    friend bool operator==(const CStringT& a, const CStringT& b) { return a.s_ == b.s_; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return View(a.s_) == view(b); }
    friend std::strong_ordering operator<=>(const CStringT& a, const CStringT& b) { return a.s_ <=> b.s_; }
    friend std::strong_ordering operator<=>(const CStringT& a, PCXSTR b) { return View(a.s_) <=> view(b); }

    CStringT Left(int nCount) const { return CStringT(s_.substr(0, clampCount(nCount))); }
    CStringT Right(int nCount) const {
        const size_t n = clampCount(nCount);
        return CStringT(s_.substr(s_.size() - n));
    }
    CStringT Mid(int iFirst) const { return Mid(iFirst, GetLength()); }
    CStringT Mid(int iFirst, int nCount) const {
        const size_t first = std::min(static_cast<size_t>(std::max(iFirst, 0)), s_.size());
        const size_t count = std::min(static_cast<size_t>(std::max(nCount, 0)), s_.size() - first);
        return CStringT(s_.substr(first, count));
    }

    int Find(Ch ch, int iStart = 0) const {
        if (iStart < 0 || iStart >= GetLength())
            return -1;
        return position(s_.find(ch, static_cast<size_t>(iStart)));
    }
    int Find(PCXSTR pszSub, int iStart = 0) const {
        if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
            return -1;
        return position(s_.find(pszSub, static_cast<size_t>(iStart)));
    }
    int ReverseFind(Ch ch) const { return position(s_.rfind(ch)); }
    int FindOneOf(PCXSTR pszCharSet) const { return position(s_.find_first_of(view(pszCharSet))); }

    int Replace(Ch chOld, Ch chNew) {
        if (chOld == chNew)
            return 0;
        int n = 0;
        for (Ch& c : s_) {
            if (c == chOld) {
                c = chNew;
                ++n;
            }
        }
        return n;
    }
    int Replace(PCXSTR pszOld, PCXSTR pszNew) {
        const View from = view(pszOld), to = view(pszNew);
        if (from.empty())
            return 0;
        int n = 0;
        String out;
        size_t at = 0;
        for (size_t hit; (hit = s_.find(from, at)) != String::npos; at = hit + from.size(), ++n)
            out.append(s_, at, hit - at).append(to);
        out.append(s_, at);
        s_.swap(out);
        return n;
    }
    int Remove(Ch ch) {
        const auto before = s_.size();
        std::erase(s_, ch);
        return static_cast<int>(before - s_.size());
    }
    int Insert(int iIndex, PCXSTR psz) {
        s_.insert(std::min(static_cast<size_t>(std::max(iIndex, 0)), s_.size()), view(psz));
        return GetLength();
    }
    int Insert(int iIndex, Ch ch) {
        const Ch one[2] = {ch, 0};
        return Insert(iIndex, one);
    }
    int Delete(int iIndex, int nCount = 1) {
        iIndex = std::max(iIndex, 0);
        if (nCount > 0 && static_cast<size_t>(iIndex) < s_.size())
            s_.erase(static_cast<size_t>(iIndex), static_cast<size_t>(nCount));
        return GetLength();
    }

    CStringT& TrimLeft() { return TrimLeft(whitespace()); }
    CStringT& TrimLeft(Ch ch) { return trimLeft(View(&ch, 1)); }
    CStringT& TrimLeft(PCXSTR pszTargets) { return trimLeft(view(pszTargets)); }
    CStringT& TrimRight() { return TrimRight(whitespace()); }
    CStringT& TrimRight(Ch ch) { return trimRight(View(&ch, 1)); }
    CStringT& TrimRight(PCXSTR pszTargets) { return trimRight(view(pszTargets)); }
    CStringT& Trim() { return TrimRight().TrimLeft(); }
    CStringT& Trim(Ch ch) { return TrimRight(ch).TrimLeft(ch); }
    CStringT& Trim(PCXSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

    CStringT& MakeLower() {
        s_ = pal::mfc::convertText<Ch>(pal::text::toLower(pal::mfc::widen(View(s_))));
        return *this;
    }
    CStringT& MakeUpper() {
        s_ = pal::mfc::convertText<Ch>(pal::text::toUpper(pal::mfc::widen(View(s_))));
        return *this;
    }
    CStringT& MakeReverse() {
        std::reverse(s_.begin(), s_.end());
        return *this;
    }

    // The next token after iStart, skipping leading delimiters; iStart becomes the position
    // after the token, or -1 (with an empty result) when no token is left.
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const {
        if (iStart < 0)
            AfxThrowInvalidArgException();
        const View tokens = view(pszTokens);
        if (tokens.empty()) {
            if (iStart < GetLength())
                return Mid(iStart);
        } else if (static_cast<size_t>(iStart) < s_.size()) {
            const size_t from = s_.find_first_not_of(tokens, static_cast<size_t>(iStart));
            if (from != String::npos) {
                size_t until = s_.find_first_of(tokens, from);
                if (until == String::npos)
                    until = s_.size();
                iStart = static_cast<int>(until) + 1;
                return CStringT(s_.substr(from, until - from));
            }
        }
        iStart = -1;
        return CStringT();
    }

    // A writable buffer of at least nMinBufferLength characters plus the terminator. Call
    // ReleaseBuffer before using the string again.
    PXSTR GetBuffer() { return s_.data(); }
    PXSTR GetBuffer(int nMinBufferLength) {
        if (nMinBufferLength < 0)
            AfxThrowInvalidArgException();
        if (static_cast<size_t>(nMinBufferLength) > s_.size())
            s_.resize(static_cast<size_t>(nMinBufferLength), Ch(0));
        return s_.data();
    }
    PXSTR GetBufferSetLength(int nLength) {
        if (nLength < 0)
            AfxThrowInvalidArgException();
        s_.resize(static_cast<size_t>(nLength), Ch(0));
        return s_.data();
    }
    // nNewLength -1 takes the text up to the first terminator; a length past the buffer is a
    // caller's error and is cut to the buffer.
    void ReleaseBuffer(int nNewLength = -1) {
        if (nNewLength < 0) {
            s_.resize(std::char_traits<Ch>::length(s_.c_str()));
            return;
        }
        ASSERT(static_cast<size_t>(nNewLength) <= s_.size());
        s_.resize(std::min(static_cast<size_t>(nNewLength), s_.size()));
    }
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }

    void Format(PCXSTR pszFormat, ...) {
        va_list args;
        va_start(args, pszFormat);
        FormatV(pszFormat, args);
        va_end(args);
    }
    void Format(UINT nFormatID, ...) {
        CStringT format;
        if (!format.LoadString(nFormatID))
            return;
        va_list args;
        va_start(args, nFormatID);
        FormatV(format, args);
        va_end(args);
    }
    void FormatV(PCXSTR pszFormat, va_list args) {
        if (pszFormat == nullptr)
            AfxThrowInvalidArgException();
        s_ = pal::vformat(pszFormat, args);
    }
    void AppendFormat(PCXSTR pszFormat, ...) {
        va_list args;
        va_start(args, pszFormat);
        if (pszFormat == nullptr)
            AfxThrowInvalidArgException();
        s_ += pal::vformat(pszFormat, args);
        va_end(args);
    }

    BOOL LoadString(UINT nID) {
        std::wstring text;
        if (!pal::mfc::loadString(nID, text))
            return FALSE;
        s_ = pal::mfc::convertText<Ch>(text);
        return TRUE;
    }

private:
    static String convert(std::basic_string_view<YCHAR> other) {
        return pal::mfc::convertText<Ch>(pal::mfc::widen(other));
    }
    static View view(PCXSTR psz) { return psz ? View(psz) : View(); }
    static int sign(int v) { return (v > 0) - (v < 0); }
    static int position(size_t pos) { return pos == String::npos ? -1 : static_cast<int>(pos); }
    size_t clampCount(int nCount) const {
        return std::min(static_cast<size_t>(std::max(nCount, 0)), s_.size());
    }
    static PCXSTR whitespace() {
        if constexpr (std::is_same_v<Ch, wchar_t>)
            return L" \t\r\n\v\f";
        else
            return " \t\r\n\v\f";
    }
    CStringT& trimLeft(View targets) {
        s_.erase(0, std::min(s_.find_first_not_of(targets), s_.size()));
        return *this;
    }
    CStringT& trimRight(View targets) {
        const size_t last = s_.find_last_not_of(targets);
        s_.erase(last == String::npos ? 0 : last + 1);
        return *this;
    }

    String s_;
};

using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
using CString = CStringW;

DV_EXPORTS_END
