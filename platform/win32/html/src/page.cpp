// A page is checked before the engine sees it: the engine builds and lays out its element
// tree recursively, so nesting too deep for the stack, or more nodes than a help page could
// hold, is refused up front from a parse of the same text by the same parser; and since each
// table lays its cells out more than once, the time grows as a power of the tables' nesting,
// which is bounded on its own.
#include "pal/html.h"

#include "access.h"
#include "container.h"
#include "selection.h"
#include "stylesheet.h"
#include "url.h"

#include "pal/text.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pal::html {

namespace {

// The parser itself needs memory without bound for some deep nestings (tables in tables), so
// the text is first scanned for its start and end tags: elements whose end tag may be left out
// or that have no content cannot nest without another element between them, so they are not
// counted, and the depth found bounds the tree's from above.
bool tagsWithinBounds(std::string_view text) {
    static const std::set<std::string, std::less<>> kUncounted = {
        "area", "base",   "br",    "col",  "colgroup", "dd",       "dt",     "embed", "head",  "hr",  "html",
        "img",  "input",  "li",    "link", "meta",     "optgroup", "option", "p",     "param", "rb",  "rp",
        "rt",   "source", "tbody", "td",   "tfoot",    "th",       "thead",  "tr",    "track", "wbr", "body"};
    // Their content is text, whatever it holds.
    static const std::set<std::string, std::less<>> kRawText = {"script", "style", "textarea", "title",
                                                                "xmp"};
    long depth = 0;
    size_t tags = 0;
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (text.substr(at, 4) == "<!--") {
            at = text.find("-->", at + 4);
            if (at == std::string_view::npos)
                break;
            continue;
        }
        size_t i = at + 1;
        const bool end = i < text.size() && text[i] == '/';
        i += end;
        const size_t nameStart = i;
        while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])))
            ++i;
        if (i == nameStart)
            continue;
        std::string name(text.substr(nameStart, i - nameStart));
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (++tags > maxNodes)
            return false;
        if (!end && kRawText.count(name)) {
            // Skip to the element's end tag, found without regard to case.
            const std::string endTag = "</" + name;
            const auto found =
                std::search(text.begin() + i, text.end(), endTag.begin(), endTag.end(),
                            [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
            if (found == text.end())
                break;
            at = static_cast<size_t>(found - text.begin()); // the search goes on after the end tag
            continue;
        }
        if (kUncounted.count(name))
            continue;
        const size_t close = text.find('>', i);
        const bool selfClosing = close != std::string_view::npos && close > i && text[close - 1] == '/';
        if (end)
            depth = std::max(0L, depth - 1);
        else if (!selfClosing && ++depth > maxDepth)
            return false;
    }
    return true;
}

bool withinBounds(std::string_view utf8) {
    if (!tagsWithinBounds(utf8))
        return false;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
    if (!output)
        return false;
    bool ok = true;
    size_t nodes = 0;
    struct Pending {
        const GumboNode* node;
        int depth, tables;
    };
    std::vector<Pending> pending{{output->root, 1, 0}};
    while (ok && !pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        const bool element = p.node->type == GUMBO_NODE_ELEMENT || p.node->type == GUMBO_NODE_TEMPLATE;
        const int tables = p.tables + (element && p.node->v.element.tag == GUMBO_TAG_TABLE);
        ok = p.depth <= maxDepth && tables <= maxTableDepth && ++nodes <= maxNodes;
        const GumboVector* children = element ? &p.node->v.element.children : nullptr;
        for (unsigned i = 0; ok && children && i < children->length; ++i)
            pending.push_back({static_cast<const GumboNode*>(children->data[i]), p.depth + 1, tables});
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return ok;
}

} // namespace

struct Page::Impl {
    Container container;
    Selection selection;
    litehtml::context context;
    litehtml::document::ptr document;
    std::wstring location = L"about:blank";
    std::wstring title;
    SIZE viewport{};

    Impl() { context.load_master_stylesheet(defaultStyleSheet); }

    Load show(std::string_view utf8, const std::wstring& at) {
        document.reset();
        selection.reset();
        container.reset(at);
        location = at;
        title.clear();
        const std::string text(utf8);
        document = litehtml::document::createFromUTF8(text.c_str(), &container, &context);
        title = container.title();
        if (viewport.cx > 0)
            document->render(viewport.cx);
        return Load::Ok;
    }

    Load fail(Load why) {
        show({}, L"about:blank");
        return why;
    }

    // The root's background colour covers the whole canvas, or the body's when the root has
    // none, as pages expect of a browser.
    COLORREF canvasColor() const {
        litehtml::element::ptr root = document ? document->root() : nullptr;
        const litehtml::element::ptr body = root ? root->select_one("body") : nullptr;
        for (const auto& el : {root, body}) {
            const litehtml::background* bg = el ? el->get_background(true) : nullptr;
            if (bg && bg->m_color.alpha != 0)
                return RGB(bg->m_color.red, bg->m_color.green, bg->m_color.blue);
        }
        return RGB(255, 255, 255);
    }

    const litehtml::element::ptr linkElement(int x, int y) const {
        if (!document || !document->root())
            return nullptr;
        for (auto el = document->root()->get_element_by_point(x, y, x, y); el; el = el->parent()) {
            const char* tag = el->get_tagName();
            if (tag && std::string_view(tag) == "a" && el->get_attr("href"))
                return el;
        }
        return nullptr;
    }
};

Page::Page() : impl_(std::make_unique<Impl>()) {
    impl_->show({}, L"about:blank");
}

Page::~Page() = default;

Load Page::loadHtml(std::string_view utf8, std::wstring_view location) {
    if (utf8.size() > maxPageBytes)
        return impl_->fail(Load::TooLarge);
    if (!withinBounds(utf8))
        return impl_->fail(Load::TooComplex);
    return impl_->show(utf8, toUrl(location.empty() ? L"about:blank" : location));
}

Load Page::navigate(std::wstring_view target) {
    const std::wstring url = toUrl(target);
    if (pal::text::equalsNoCase(withoutFragment(url), L"about:blank"))
        return impl_->show({}, url);
    if (!isLocalUrl(url) || UrlParts::parse(url).scheme != L"file")
        return impl_->fail(Load::Outside);
    Load why = Load::Outside;
    const std::filesystem::path file = readableFile(withoutFragment(url), why);
    if (file.empty())
        return impl_->fail(why);
    std::error_code ec;
    if (std::filesystem::file_size(file, ec) > maxPageBytes || ec)
        return impl_->fail(ec ? Load::NotFound : Load::TooLarge);
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return loadHtml(text, url);
}

const std::wstring& Page::location() const {
    return impl_->location;
}

const std::wstring& Page::title() const {
    return impl_->title;
}

void Page::layout(int width, int height) {
    impl_->viewport = {std::max(width, 0), std::max(height, 0)};
    impl_->container.setViewport(impl_->viewport.cx, impl_->viewport.cy);
    if (impl_->document) {
        impl_->document->media_changed();
        impl_->document->render(impl_->viewport.cx);
    }
    impl_->selection.relaid();
}

SIZE Page::extent() const {
    if (!impl_->document)
        return {};
    return {std::max<LONG>(impl_->document->width(), impl_->viewport.cx),
            std::max<LONG>(impl_->document->height(), 0)};
}

void Page::draw(HDC dc, const RECT& area, POINT scroll) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    HBRUSH canvas = CreateSolidBrush(impl_->canvasColor());
    FillRect(dc, &area, canvas);
    DeleteObject(canvas);
    if (impl_->document) {
        const litehtml::position clip(area.left, area.top, area.right - area.left, area.bottom - area.top);
        const POINT origin{area.left - scroll.x, area.top - scroll.y};
        std::vector<RECT> blanks;
        impl_->container.setSelection(impl_->selection.drawn(impl_->document, blanks), origin);
        impl_->document->draw(reinterpret_cast<litehtml::uint_ptr>(dc), area.left - scroll.x,
                              area.top - scroll.y, &clip);
        // Selected blanks draw no text of their own, so their highlight goes over the page.
        HBRUSH highlight = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
        for (RECT r : blanks) {
            OffsetRect(&r, origin.x, origin.y);
            FillRect(dc, &r, highlight);
        }
        DeleteObject(highlight);
    }
    RestoreDC(dc, saved);
}

std::wstring Page::linkAt(int x, int y) const {
    const auto el = impl_->linkElement(x, y);
    return el ? impl_->container.resolve(el->get_attr("href")) : std::wstring();
}

std::wstring Page::linkTargetAt(int x, int y) const {
    const auto el = impl_->linkElement(x, y);
    const char* target = el ? el->get_attr("target") : nullptr;
    return target ? pal::text::fromUtf8(target) : std::wstring();
}

void Page::select(POINT anchor, POINT focus) {
    impl_->selection.select(impl_->document, impl_->container, anchor, focus);
}

void Page::selectAll() {
    impl_->selection.selectAll(impl_->document);
}

void Page::clearSelection() {
    impl_->selection.clear();
}

std::wstring Page::selectedText() const {
    return impl_->selection.text(impl_->document);
}

LPCWSTR Page::cursorAt(int x, int y) const {
    return impl_->linkElement(x, y) ? IDC_HAND : IDC_ARROW;
}

int Page::anchorTop(std::wstring_view name) const {
    if (!impl_->document || !impl_->document->root() || name.empty())
        return -1;
    const std::string wanted = pal::text::toUtf8(name);
    std::vector<litehtml::element::ptr> pending{impl_->document->root()};
    while (!pending.empty()) {
        const auto el = pending.back();
        pending.pop_back();
        const char* id = el->get_attr("id");
        const char* tag = el->get_tagName();
        const char* anchorName = tag && std::string_view(tag) == "a" ? el->get_attr("name") : nullptr;
        if ((id && wanted == id) || (anchorName && wanted == anchorName))
            return el->get_placement().y;
        for (size_t i = el->get_children_count(); i-- > 0;)
            pending.push_back(el->get_child(static_cast<int>(i)));
    }
    return -1;
}

} // namespace pal::html
