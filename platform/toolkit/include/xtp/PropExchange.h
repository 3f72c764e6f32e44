// Property exchange: one routine per object both stores its state and loads it back, through
// named properties in nested sections. Loading never fails on what it finds: a property that is
// missing or cannot be read as its type keeps the default the caller gives.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "pal/xml.h"

#include <memory>

DV_EXPORTS_BEGIN

class CXTPPropExchangeEnumerator;

class CXTPPropExchange {
public:
    virtual ~CXTPPropExchange() = default;
    CXTPPropExchange(const CXTPPropExchange&) = delete;
    CXTPPropExchange& operator=(const CXTPPropExchange&) = delete;

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }

    // A nested section, made when storing; when loading an absent section reads as empty. The
    // caller owns the result (CXTPPropExchangeSection does it for you).
    virtual CXTPPropExchange* GetSection(LPCTSTR pszSection) = 0;
    // Repeated sections of one name (see CXTPPropExchangeEnumerator); the caller owns it.
    virtual CXTPPropExchangeEnumerator* GetEnumerator(LPCTSTR pszSection);
    // Whether the section has anything to exchange: a loading section that is absent has not.
    virtual BOOL OnBeforeExchange() { return TRUE; }
    // Removes every property and section under this one (storing only).
    virtual void EmptySection() = 0;

    // The raw form of a property: ExchangeText stores `value`, or loads it and answers whether
    // the property was there.
    virtual BOOL ExchangeText(LPCTSTR pszPropName, CString& value) = 0;
    virtual BOOL IsPropertyPresent(LPCTSTR pszPropName) const = 0;

    // Free for the objects to agree on a format version; not stored by the exchange itself.
    UINT m_nSchema = 0;
    // A count that a loading enumerator never exceeds: a damaged file cannot make a loader
    // allocate without bound.
    static constexpr DWORD kMaxItems = 100000;

protected:
    explicit CXTPPropExchange(BOOL bLoading) : m_bLoading(bLoading) {}
    friend class CXTPPropExchangeEnumerator;
    // The n-th section of the name, made when storing; null when loading past the last.
    virtual CXTPPropExchange* GetItemSection(LPCTSTR pszSection, DWORD nIndex) = 0;
    virtual DWORD CountItemSections(LPCTSTR pszSection) const = 0;

private:
    BOOL m_bLoading;
};

// Owns a section for the length of a block.
class CXTPPropExchangeSection {
public:
    CXTPPropExchangeSection(CXTPPropExchange* pPX, LPCTSTR pszSection) : px_(pPX->GetSection(pszSection)) {}
    explicit CXTPPropExchangeSection(CXTPPropExchange* pOwned) : px_(pOwned) {}
    CXTPPropExchange* operator->() const { return px_.get(); }
    CXTPPropExchange& operator*() const { return *px_; }
    operator CXTPPropExchange*() const { return px_.get(); }

private:
    std::unique_ptr<CXTPPropExchange> px_;
};

// Walks the repeated sections of one name: storing makes `dwCount` of them, loading visits
// those that exist (never more than kMaxItems).
//     CXTPPropExchangeEnumeratorPtr e(px->GetEnumerator(L"Bar"));
//     POSITION pos = e->GetPosition(n);
//     while (pos) { CXTPPropExchangeSection item(e->GetNext(pos)); ... }
class CXTPPropExchangeEnumerator {
public:
    CXTPPropExchangeEnumerator(CXTPPropExchange* pContainer, LPCTSTR pszSection);
    virtual ~CXTPPropExchangeEnumerator() = default;
    // The first position, or null when there is nothing to visit. Storing writes the count.
    POSITION GetPosition(DWORD dwCount = 0);
    // The section at `pos` (owned by the caller); `pos` moves on and becomes null after the last.
    CXTPPropExchange* GetNext(POSITION& pos);
    // How many sections there are (loading) or were announced (storing).
    DWORD GetCount() const { return count_; }

private:
    CXTPPropExchange* container_;
    CString section_;
    DWORD count_ = 0;
};
using CXTPPropExchangeEnumeratorPtr = std::unique_ptr<CXTPPropExchangeEnumerator>;

// The exchange as XML: a section is an element, a property an attribute of it. An exchange is
// either the root of a document of its own or a view of an element of someone else's document,
// so that a layout can live inside a larger file.
class CXTPPropExchangeXMLNode : public CXTPPropExchange {
public:
    // A document of its own whose root element is named `lpszSection` ("Settings" when null).
    // `pParent` non-null makes instead the section of that name under the parent.
    CXTPPropExchangeXMLNode(BOOL bLoading, CXTPPropExchangeXMLNode* pParent, LPCTSTR lpszSection);
    // A view of an element of another document, which must outlive the exchange.
    CXTPPropExchangeXMLNode(BOOL bLoading, pal::xml::Node node);
    ~CXTPPropExchangeXMLNode() override;

    // Loading from a file or text replaces the document; the root element takes any name. False
    // (and an empty section) for a file that is missing or not well formed.
    BOOL LoadFromFile(LPCTSTR lpszFileName);
    BOOL LoadFromString(LPCTSTR lpszXml);
    // Writes the whole document with the declaration <?xml version="1.0" encoding="utf-8"?>,
    // through the atomic writer.
    BOOL SaveToFile(LPCTSTR lpszFileName) const;
    CString GetXML() const;

    // The element this exchange reads or writes.
    pal::xml::Node GetNode() const { return node_; }
    // Stores a copy of another exchange's element as a section of this one (under the other's
    // element name).
    void PutSection(const CXTPPropExchangeXMLNode* pSection);
    BOOL IsSectionExists(LPCTSTR lpszSection) const;

    CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
    BOOL OnBeforeExchange() override { return static_cast<bool>(node_); }
    void EmptySection() override;
    BOOL ExchangeText(LPCTSTR pszPropName, CString& value) override;
    BOOL IsPropertyPresent(LPCTSTR pszPropName) const override;

protected:
    CXTPPropExchange* GetItemSection(LPCTSTR pszSection, DWORD nIndex) override;
    DWORD CountItemSections(LPCTSTR pszSection) const override;

private:
    std::shared_ptr<pal::xml::Document> doc_; // kept alive by every section made from it
    pal::xml::Node node_;
};

// Typed properties. Each stores the value, or loads it; a loaded property that is missing or
// does not read as its type gives the default. The answer is whether the value was exchanged.
BOOL PX_Bool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& value, BOOL bDefault = FALSE);
BOOL PX_Bool(CXTPPropExchange* pPX, LPCTSTR pszPropName, bool& value, bool bDefault = false);
BOOL PX_Int(CXTPPropExchange* pPX, LPCTSTR pszPropName, int& value, int nDefault = 0);
BOOL PX_Long(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& value, long nDefault = 0);
BOOL PX_UInt(CXTPPropExchange* pPX, LPCTSTR pszPropName, UINT& value, UINT nDefault = 0);
BOOL PX_DWord(CXTPPropExchange* pPX, LPCTSTR pszPropName, DWORD& value, DWORD dwDefault = 0);
BOOL PX_Double(CXTPPropExchange* pPX, LPCTSTR pszPropName, double& value, double dDefault = 0);
BOOL PX_String(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& value, LPCTSTR pszDefault = L"");
BOOL PX_Point(CXTPPropExchange* pPX, LPCTSTR pszPropName, CPoint& value, CPoint ptDefault = CPoint(0, 0));
BOOL PX_Size(CXTPPropExchange* pPX, LPCTSTR pszPropName, CSize& value, CSize szDefault = CSize(0, 0));
BOOL PX_Rect(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRect& value, CRect rcDefault = CRect(0, 0, 0, 0));

DV_EXPORTS_END
