// The page engine behind the class library's HTML view: pages parsed and laid out by an HTML
// and CSS engine and drawn through the drawing layer. Pages come from local files inside the
// sandbox or the program folder, from about:blank or from text. Nothing is ever fetched from
// a network: a link to anywhere else is handed back to the caller as a URL.
#pragma once

#include "pal/visibility.h"

#include "win/gdi.h"

#include <memory>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal::html {

// What became of a load. On anything but Ok the page is left empty (about:blank).
enum class Load {
    Ok,
    Outside,    // a file outside the sandbox and the program folder, or a URL that is not local
    NotFound,   // no such file, or not a regular file
    TooLarge,   // a file or text over maxPageBytes
    TooComplex, // nesting deeper than maxDepth or more than maxNodes nodes
};

inline constexpr size_t maxPageBytes = 8u << 20;
inline constexpr int maxDepth = 512;
inline constexpr int maxTableDepth = 12;
inline constexpr size_t maxNodes = 100000;

// `reference` resolved against `base` (both URLs; a base that is a local path is taken as its
// file URL). Dot segments are removed; the fragment is kept.
std::wstring resolveUrl(std::wstring_view base, std::wstring_view reference);
// A local path (drive or POSIX) as a file URL; URLs are answered as they are.
std::wstring toUrl(std::wstring_view pathOrUrl);
// Whether the page engine may show the URL itself (file: and about:); every other URL
// (http, https, mailto, ...) belongs to the caller.
bool isLocalUrl(std::wstring_view url);

class Page {
public:
    Page();
    ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // A file URL, a local path or about:blank. A fragment is kept in the location.
    Load navigate(std::wstring_view url);
    // A page from UTF-8 text; relative links and images resolve against `location`.
    Load loadHtml(std::string_view utf8, std::wstring_view location = L"about:blank");

    const std::wstring& location() const;
    // The text of the page's title element; empty when it has none.
    const std::wstring& title() const;

    // Lays the page out for a viewport; the page is as wide as the viewport or its widest box.
    void layout(int width, int height);
    SIZE extent() const;

    // Draws the part of the page at `scroll` (page coordinates) into `area` of the DC,
    // after painting the area with the page's background colour.
    void draw(HDC dc, const RECT& area, POINT scroll);

    // The link under a point (page coordinates), resolved against the page's base; empty when
    // the point is on no link.
    std::wstring linkAt(int x, int y) const;
    // The window a link under a point names for itself (its target, such as "_blank"); empty
    // on no link or a link without one.
    std::wstring linkTargetAt(int x, int y) const;
    // IDC_HAND over a link, IDC_ARROW elsewhere.
    LPCWSTR cursorAt(int x, int y) const;
    // The top of the element with that id or name (for fragment links); -1 when there is none.
    int anchorTop(std::wstring_view name) const;

    // Text selection, in page coordinates: from the character boundary nearest `anchor` to the
    // one nearest `focus`, drawn highlighted until the selection changes or a page is loaded.
    void select(POINT anchor, POINT focus);
    void selectAll();
    void clearSelection();
    // The selected text as the page shows it: blanks collapsed, and a line break (CR LF) between
    // blocks and at each line break element.
    std::wstring selectedText() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pal::html

DV_EXPORTS_END
