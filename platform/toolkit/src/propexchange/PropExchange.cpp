#include "xtp/PropExchange.h"

#include "pal/path.h"
#include "pal/text.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <string>
#include <vector>

namespace {

POSITION toPosition(DWORD index) {
    return reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(index) + 1);
}
DWORD fromPosition(POSITION pos) {
    return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pos) - 1);
}

// Whole-text integer reading: "12x", "", out-of-range text are not numbers.
bool readInteger(const CString& text, long long low, long long high, long long& out) {
    const wchar_t* s = text.GetString();
    if (*s == L'\0')
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const bool hex = s[0] == L'0' && (s[1] == L'x' || s[1] == L'X');
    const long long v = std::wcstoll(s, &end, hex ? 16 : 10);
    if (errno != 0 || end == s || *end != L'\0' || v < low || v > high)
        return false;
    out = v;
    return true;
}

// "a,b,c" with exactly `count` integers.
bool readIntegers(const CString& text, std::vector<long>& out, size_t count) {
    out.clear();
    const std::wstring all = text.GetString();
    size_t start = 0;
    for (;;) {
        const size_t comma = all.find(L',', start);
        CString piece(
            all.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start).c_str());
        piece.Trim();
        long long v = 0;
        if (out.size() == count ||
            !readInteger(piece, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max(), v))
            return false;
        out.push_back(static_cast<long>(v));
        if (comma == std::wstring::npos)
            return out.size() == count;
        start = comma + 1;
    }
}

CString joinIntegers(std::initializer_list<long> values) {
    std::wstring s;
    for (long v : values) {
        if (!s.empty())
            s += L',';
        s += std::to_wstring(v);
    }
    return CString(s.c_str());
}

// Stores `text`, or loads into `value` through `parse` (which answers whether the text fits);
// a load that finds nothing usable takes the default.
template <class T, class Parse, class Format>
BOOL exchange(CXTPPropExchange* pPX, LPCTSTR name, T& value, const T& fallback, Parse parse, Format format) {
    if (pPX == nullptr)
        return FALSE;
    if (pPX->IsStoring()) {
        CString text = format(value);
        return pPX->ExchangeText(name, text);
    }
    CString text;
    if (pPX->ExchangeText(name, text) && parse(text, value))
        return TRUE;
    value = fallback;
    return FALSE;
}

template <class T> BOOL exchangeInteger(CXTPPropExchange* pPX, LPCTSTR name, T& value, T fallback) {
    return exchange(
        pPX, name, value, fallback,
        [](const CString& text, T& out) {
            long long v = 0;
            if (!readInteger(text, static_cast<long long>(std::numeric_limits<T>::min()),
                             static_cast<long long>(std::numeric_limits<T>::max()), v))
                return false;
            out = static_cast<T>(v);
            return true;
        },
        [](const T& v) { return CString(std::to_wstring(v).c_str()); });
}

} // namespace

// --- enumerator ---

CXTPPropExchangeEnumerator* CXTPPropExchange::GetEnumerator(LPCTSTR pszSection) {
    return new CXTPPropExchangeEnumerator(this, pszSection);
}

CXTPPropExchangeEnumerator::CXTPPropExchangeEnumerator(CXTPPropExchange* pContainer, LPCTSTR pszSection)
    : container_(pContainer), section_(pszSection) {}

POSITION CXTPPropExchangeEnumerator::GetPosition(DWORD dwCount) {
    if (container_ == nullptr)
        return nullptr;
    if (container_->IsStoring()) {
        count_ = dwCount;
    } else {
        count_ = container_->CountItemSections(section_);
        if (count_ > CXTPPropExchange::kMaxItems)
            count_ = CXTPPropExchange::kMaxItems;
    }
    return count_ == 0 ? nullptr : toPosition(0);
}

CXTPPropExchange* CXTPPropExchangeEnumerator::GetNext(POSITION& pos) {
    if (pos == nullptr)
        return nullptr;
    const DWORD index = fromPosition(pos);
    pos = index + 1 < count_ ? toPosition(index + 1) : nullptr;
    return container_->GetItemSection(section_, index);
}

// --- XML ---

CXTPPropExchangeXMLNode::CXTPPropExchangeXMLNode(BOOL bLoading, CXTPPropExchangeXMLNode* pParent,
                                                 LPCTSTR lpszSection)
    : CXTPPropExchange(bLoading) {
    const std::wstring name = lpszSection != nullptr && *lpszSection != 0 ? lpszSection : L"Settings";
    if (pParent != nullptr) {
        doc_ = pParent->doc_;
        node_ = pParent->node_.child(name);
        if (!node_ && !bLoading)
            node_ = pParent->node_.appendChild(name);
        return;
    }
    doc_ = std::make_shared<pal::xml::Document>();
    node_ = doc_->resetRoot(name);
}

CXTPPropExchangeXMLNode::CXTPPropExchangeXMLNode(BOOL bLoading, pal::xml::Node node)
    : CXTPPropExchange(bLoading), node_(node) {}

CXTPPropExchangeXMLNode::~CXTPPropExchangeXMLNode() = default;

BOOL CXTPPropExchangeXMLNode::LoadFromFile(LPCTSTR lpszFileName) {
    if (lpszFileName == nullptr)
        return FALSE;
    doc_ = std::make_shared<pal::xml::Document>();
    const bool ok = static_cast<bool>(doc_->loadFile(pal::path::toNative(lpszFileName)));
    node_ = doc_->root();
    return ok && node_;
}

BOOL CXTPPropExchangeXMLNode::LoadFromString(LPCTSTR lpszXml) {
    doc_ = std::make_shared<pal::xml::Document>();
    const bool ok = lpszXml != nullptr && doc_->loadString(pal::text::toUtf8(lpszXml));
    node_ = doc_->root();
    return ok && node_;
}

BOOL CXTPPropExchangeXMLNode::SaveToFile(LPCTSTR lpszFileName) const {
    if (lpszFileName == nullptr)
        return FALSE;
    if (doc_ != nullptr && doc_->root() == node_)
        return static_cast<bool>(doc_->save(pal::path::toNative(lpszFileName)));
    // A view of someone else's element: the element alone becomes the document.
    pal::xml::Document alone;
    alone.assignCopy(node_);
    return static_cast<bool>(alone.save(pal::path::toNative(lpszFileName)));
}

CString CXTPPropExchangeXMLNode::GetXML() const {
    if (doc_ == nullptr)
        return CString();
    return CString(pal::text::fromUtf8(doc_->toString()).c_str());
}

void CXTPPropExchangeXMLNode::PutSection(const CXTPPropExchangeXMLNode* pSection) {
    if (pSection == nullptr || !pSection->node_ || !node_ || IsLoading())
        return;
    if (pal::xml::Node old = node_.child(pSection->node_.name()))
        node_.removeChild(old);
    node_.appendCopy(pSection->node_);
}

BOOL CXTPPropExchangeXMLNode::IsSectionExists(LPCTSTR lpszSection) const {
    return lpszSection != nullptr && static_cast<bool>(node_.child(lpszSection));
}

CXTPPropExchange* CXTPPropExchangeXMLNode::GetSection(LPCTSTR pszSection) {
    return new CXTPPropExchangeXMLNode(IsLoading(), this, pszSection);
}

void CXTPPropExchangeXMLNode::EmptySection() {
    if (!node_ || IsLoading())
        return;
    node_.removeChildren();
    for (const auto& [name, value] : node_.attributes())
        node_.removeAttribute(name);
}

BOOL CXTPPropExchangeXMLNode::ExchangeText(LPCTSTR pszPropName, CString& value) {
    if (!node_ || pszPropName == nullptr)
        return FALSE;
    if (IsStoring()) {
        node_.setAttribute(pszPropName, value.GetString());
        return TRUE;
    }
    auto text = node_.attribute(pszPropName);
    if (!text)
        return FALSE;
    value = text->c_str();
    return TRUE;
}

BOOL CXTPPropExchangeXMLNode::IsPropertyPresent(LPCTSTR pszPropName) const {
    return pszPropName != nullptr && node_.hasAttribute(pszPropName);
}

CXTPPropExchange* CXTPPropExchangeXMLNode::GetItemSection(LPCTSTR pszSection, DWORD nIndex) {
    auto* item = new CXTPPropExchangeXMLNode(IsLoading(), pal::xml::Node());
    item->doc_ = doc_;
    if (IsStoring()) {
        item->node_ = node_.appendChild(pszSection);
    } else {
        std::vector<pal::xml::Node> all = node_.children(pszSection);
        if (nIndex < all.size())
            item->node_ = all[nIndex];
    }
    return item;
}

DWORD CXTPPropExchangeXMLNode::CountItemSections(LPCTSTR pszSection) const {
    return static_cast<DWORD>(node_.children(pszSection).size());
}

// --- typed properties ---

BOOL PX_Bool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& value, BOOL bDefault) {
    return exchange(
        pPX, pszPropName, value, bDefault,
        [](const CString& text, BOOL& out) {
            if (text == L"1" || pal::text::equalsNoCase(text.GetString(), L"true"))
                out = TRUE;
            else if (text == L"0" || pal::text::equalsNoCase(text.GetString(), L"false"))
                out = FALSE;
            else
                return false;
            return true;
        },
        [](const BOOL& v) { return CString(v ? L"true" : L"false"); });
}

BOOL PX_Bool(CXTPPropExchange* pPX, LPCTSTR pszPropName, bool& value, bool bDefault) {
    BOOL v = value;
    const BOOL done = PX_Bool(pPX, pszPropName, v, bDefault);
    value = v != FALSE;
    return done;
}

BOOL PX_Int(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& value, int nDefault) {
    return exchangeInteger(pPX, pszPropName, value, nDefault);
}

BOOL PX_Long(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& value, long nDefault) {
    return exchangeInteger(pPX, pszPropName, value, nDefault);
}

BOOL PX_UInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& value, UINT nDefault) {
    return exchangeInteger(pPX, pszPropName, value, nDefault);
}

BOOL PX_DWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& value, DWORD dwDefault) {
    return exchangeInteger(pPX, pszPropName, value, dwDefault);
}

BOOL PX_Double(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& value, double dDefault) {
    return exchange(
        pPX, pszPropName, value, dDefault,
        [](const CString& text, double& out) {
            const wchar_t* s = text.GetString();
            wchar_t* end = nullptr;
            const double v = std::wcstod(s, &end);
            if (end == s || *end != L'\0' || !std::isfinite(v))
                return false;
            out = v;
            return true;
        },
        [](const double& v) {
            wchar_t buffer[64];
            std::swprintf(buffer, 64, L"%.17g", v);
            return CString(buffer);
        });
}

BOOL PX_String(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& value, LPCTSTR pszDefault) {
    const CString fallback(pszDefault != nullptr ? pszDefault : L"");
    return exchange(
        pPX, pszPropName, value, fallback,
        [](const CString& text, CString& out) {
            out = text;
            return true;
        },
        [](const CString& v) { return v; });
}

BOOL PX_Point(CXTPPropExchange* pPX, LPCTSTR pszPropName, CPoint& value, CPoint ptDefault) {
    return exchange(
        pPX, pszPropName, value, ptDefault,
        [](const CString& text, CPoint& out) {
            std::vector<long> v;
            if (!readIntegers(text, v, 2))
                return false;
            out = CPoint(v[0], v[1]);
            return true;
        },
        [](const CPoint& p) {
            return joinIntegers({p.x, p.y});
        });
}

BOOL PX_Size(CXTPPropExchange* pPX, LPCTSTR pszPropName, CSize& value, CSize szDefault) {
    return exchange(
        pPX, pszPropName, value, szDefault,
        [](const CString& text, CSize& out) {
            std::vector<long> v;
            if (!readIntegers(text, v, 2))
                return false;
            out = CSize(v[0], v[1]);
            return true;
        },
        [](const CSize& s) {
            return joinIntegers({s.cx, s.cy});
        });
}

BOOL PX_Rect(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRect& value, CRect rcDefault) {
    return exchange(
        pPX, pszPropName, value, rcDefault,
        [](const CString& text, CRect& out) {
            std::vector<long> v;
            if (!readIntegers(text, v, 4))
                return false;
            out = CRect(v[0], v[1], v[2], v[3]);
            return true;
        },
        [](const CRect& r) {
            return joinIntegers({r.left, r.top, r.right, r.bottom});
        });
}
