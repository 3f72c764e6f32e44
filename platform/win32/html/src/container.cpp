// Everything is drawn on the DC the page engine hands back through its `hdc` argument (the DC
// Page::draw was given), inside the clips the engine has pushed; measuring uses a DC of its own.
#include "container.h"

#include "access.h"
#include "url.h"

#include "pal/text.h"

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <iterator>

namespace pal::html {

namespace {

constexpr size_t kUnusedFontsKept = 64;
constexpr std::uintmax_t kMaxStyleSheet = 1u << 20;
constexpr int kMaxTiles = 4096;

HDC dcOf(litehtml::uint_ptr hdc) {
    return reinterpret_cast<HDC>(hdc);
}
COLORREF colorOf(const litehtml::web_color& c) {
    return RGB(c.red, c.green, c.blue);
}
RECT rectOf(const litehtml::position& p) {
    return {p.x, p.y, p.x + p.width, p.y + p.height};
}

void fill(HDC dc, const RECT& r, COLORREF color) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

COLORREF shade(const litehtml::web_color& c, int percent) {
    auto s = [percent](int v) { return std::clamp(v * percent / 100, 0, 255); };
    return RGB(s(c.red), s(c.green), s(c.blue));
}

int enumFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

std::wstring trimmed(std::wstring s) {
    const auto isTrim = [](wchar_t c) { return std::iswspace(c) || c == L'"' || c == L'\''; };
    while (!s.empty() && isTrim(s.back()))
        s.pop_back();
    size_t start = 0;
    while (start < s.size() && isTrim(s[start]))
        ++start;
    return s.substr(start);
}

} // namespace

// The page's clips (rectangles pushed by the engine) applied to a DC for one drawing call.
class ClipScope {
public:
    ClipScope(HDC dc, const std::vector<RECT>& clips) : dc_(dc), saved_(SaveDC(dc)) {
        for (const RECT& r : clips)
            IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    ~ClipScope() { RestoreDC(dc_, saved_); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    HDC dc_;
    int saved_;
};

Container::Container() : measure_(CreateCompatibleDC(nullptr)) {}

Container::~Container() {
    images_.clear();
    for (auto& [key, f] : fonts_)
        DeleteObject(f.font);
    DeleteDC(measure_);
}

void Container::reset(const std::wstring& location) {
    location_ = location;
    base_ = location;
    title_.clear();
    clips_.clear();
    images_.clear();
}

std::wstring Container::resolve(const char* url, const char* baseurl) const {
    const std::wstring base = baseurl && *baseurl ? resolveUrl(base_, pal::text::fromUtf8(baseurl)) : base_;
    return resolveUrl(base, trimmed(pal::text::fromUtf8(url ? url : "")));
}

std::wstring Container::installedFace(const char* cssFamilies) {
    static const std::map<std::wstring, std::wstring> kGeneric = {
        {L"serif", L"DejaVu Serif"},         {L"sans-serif", L"DejaVu Sans"},
        {L"monospace", L"DejaVu Sans Mono"}, {L"cursive", L"DejaVu Serif"},
        {L"fantasy", L"DejaVu Sans"},        {L"system-ui", pal::gdi::fallbackFamily},
    };
    const std::wstring all = pal::text::fromUtf8(cssFamilies ? cssFamilies : "");
    size_t start = 0;
    while (start <= all.size()) {
        size_t comma = all.find(L',', start);
        if (comma == std::wstring::npos)
            comma = all.size();
        const std::wstring name = trimmed(all.substr(start, comma - start));
        start = comma + 1;
        if (name.empty() || name.size() >= LF_FACESIZE)
            continue;
        if (auto g = kGeneric.find(pal::text::toLower(name)); g != kGeneric.end())
            return g->second;
        auto known = installed_.find(name);
        if (known == installed_.end()) {
            LOGFONTW filter{};
            filter.lfCharSet = DEFAULT_CHARSET;
            std::copy(name.begin(), name.end(), filter.lfFaceName);
            bool found = false;
            EnumFontFamiliesExW(measure_, &filter, enumFound, reinterpret_cast<LPARAM>(&found), 0);
            known = installed_.emplace(name, found).first;
        }
        if (known->second)
            return name;
    }
    return pal::gdi::fallbackFamily;
}

litehtml::uint_ptr Container::create_font(const char* faceName, int size, int weight,
                                          litehtml::font_style italic, unsigned int decoration,
                                          litehtml::font_metrics* fm) {
    const FontKey key{installedFace(faceName), std::clamp(size, 1, 1000), std::clamp(weight, 1, 1000),
                      italic == litehtml::fontStyleItalic, decoration};
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        LOGFONTW lf{};
        lf.lfHeight = -std::get<1>(key);
        lf.lfWeight = std::get<2>(key);
        lf.lfItalic = std::get<3>(key);
        lf.lfUnderline = (decoration & litehtml::font_decoration_underline) != 0;
        lf.lfStrikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = ANTIALIASED_QUALITY;
        const std::wstring& face = std::get<0>(key);
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        it = fonts_.emplace(key, CachedFont{CreateFontIndirectW(&lf)}).first;
    }
    CachedFont& f = it->second;
    ++f.uses;
    HGDIOBJ old = SelectObject(measure_, f.font);
    TEXTMETRICW tm{};
    GetTextMetricsW(measure_, &tm);
    SelectObject(measure_, old);
    f.ascent = tm.tmAscent;
    if (fm) {
        fm->height = tm.tmHeight;
        fm->ascent = tm.tmAscent;
        fm->descent = tm.tmDescent;
        // The drawing layer has no x-height; the fonts it draws with put it near 0.55 of the ascent.
        fm->x_height = tm.tmAscent * 55 / 100;
        fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(&f);
}

void Container::delete_font(litehtml::uint_ptr font) {
    auto* f = reinterpret_cast<CachedFont*>(font);
    if (!f || --f->uses > 0 || fonts_.size() <= kUnusedFontsKept)
        return;
    for (auto it = fonts_.begin(); it != fonts_.end(); ++it) {
        if (&it->second == f) {
            DeleteObject(f->font);
            fonts_.erase(it);
            return;
        }
    }
}

int Container::text_width(const char* text, litehtml::uint_ptr font) {
    return text ? wideTextWidth(font, pal::text::fromUtf8(text)) : 0;
}

int Container::wideTextWidth(litehtml::uint_ptr font, std::wstring_view text) {
    auto* f = reinterpret_cast<CachedFont*>(font);
    if (!f || text.empty())
        return 0;
    HGDIOBJ old = SelectObject(measure_, f->font);
    SIZE size{};
    GetTextExtentPoint32W(measure_, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(measure_, old);
    return size.cx;
}

void Container::draw_text(litehtml::uint_ptr hdc, const char* text, litehtml::uint_ptr font,
                          litehtml::web_color color, const litehtml::position& pos) {
    auto* f = reinterpret_cast<CachedFont*>(font);
    if (!f || !text || color.alpha == 0)
        return;
    HDC dc = dcOf(hdc);
    ClipScope clip(dc, clips_);
    const std::wstring wide = pal::text::fromUtf8(text);
    HGDIOBJ old = SelectObject(dc, f->font);
    SetTextColor(dc, colorOf(color));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const auto selected = selected_.find({pos.x - origin_.x, pos.y - origin_.y});
    if (selected == selected_.end()) {
        TextOutW(dc, pos.x, pos.y, wide.c_str(), static_cast<int>(wide.size()));
        SelectObject(dc, old);
        return;
    }
    // The selected characters on the highlight, in the highlight's own text colour.
    const int size = static_cast<int>(wide.size());
    const int from = std::min(selected->second.first, size), to = std::min(selected->second.second, size);
    SIZE before{}, through{};
    GetTextExtentPoint32W(dc, wide.c_str(), from, &before);
    GetTextExtentPoint32W(dc, wide.c_str(), to, &through);
    const RECT marked{pos.x + before.cx, pos.y, pos.x + through.cx, pos.y + pos.height};
    fill(dc, marked, GetSysColor(COLOR_HIGHLIGHT));
    TextOutW(dc, pos.x, pos.y, wide.c_str(), size);
    IntersectClipRect(dc, marked.left, marked.top, marked.right, marked.bottom);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOutW(dc, pos.x, pos.y, wide.c_str(), size);
    SelectObject(dc, old);
}

int Container::pt_to_px(int pt) const {
    return pt * GetDeviceCaps(measure_, LOGPIXELSY) / 72;
}

int Container::get_default_font_size() const {
    return 16;
}

const char* Container::get_default_font_name() const {
    static const std::string name = pal::text::toUtf8(pal::gdi::fallbackFamily);
    return name.c_str();
}

void Container::drawImage(HDC dc, const Image& image, const RECT& to) {
    if (!image.bitmap || to.right <= to.left || to.bottom <= to.top)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, image.bitmap);
    AlphaBlend(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0, image.width,
               image.height, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(source, old);
    DeleteDC(source);
}

void Container::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
    HDC dc = dcOf(hdc);
    ClipScope clip(dc, clips_);
    const RECT r = rectOf(marker.pos);
    if (!marker.image.empty()) {
        const Image& image = images_.find(resolve(marker.image.c_str(), marker.baseurl));
        if (image.bitmap) {
            drawImage(dc, image, {r.left, r.top, r.left + image.width, r.top + image.height});
            return;
        }
    }
    const COLORREF color = colorOf(marker.color);
    switch (marker.marker_type) {
    case litehtml::list_style_type_square:
        fill(dc, r, color);
        break;
    case litehtml::list_style_type_circle:
    case litehtml::list_style_type_disc: {
        HPEN pen = CreatePen(PS_SOLID, 1, color);
        HBRUSH brush =
            marker.marker_type == litehtml::list_style_type_disc ? CreateSolidBrush(color) : nullptr;
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
        if (brush)
            DeleteObject(brush);
        break;
    }
    default:
        break; // numbered markers arrive as text
    }
}

void Container::load_image(const char* src, const char* baseurl, bool) {
    const std::wstring url = resolve(src, baseurl);
    Load why = Load::Outside;
    const std::filesystem::path file = isLocalUrl(url) ? readableFile(url, why) : std::filesystem::path();
    images_.load(url, file);
}

void Container::get_image_size(const char* src, const char* baseurl, litehtml::size& sz) {
    const Image& image = images_.find(resolve(src, baseurl));
    sz.width = image.width;
    sz.height = image.height;
}

void Container::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
    HDC dc = dcOf(hdc);
    ClipScope clip(dc, clips_);
    const RECT box = rectOf(bg.clip_box);
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    if (bg.color.alpha != 0) {
        const auto& rr = bg.border_radius;
        const int radius = std::max({rr.top_left_x, rr.top_right_x, rr.bottom_left_x, rr.bottom_right_x});
        if (radius > 0) {
            HBRUSH brush = CreateSolidBrush(colorOf(bg.color));
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
            RoundRect(dc, box.left, box.top, box.right + 1, box.bottom + 1, 2 * radius, 2 * radius);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            DeleteObject(brush);
        } else {
            fill(dc, box, colorOf(bg.color));
        }
    }
    if (bg.image.empty())
        return;
    const Image& image = images_.find(resolve(bg.image.c_str(), bg.baseurl.c_str()));
    const int w = bg.image_size.width > 0 ? bg.image_size.width : image.width;
    const int h = bg.image_size.height > 0 ? bg.image_size.height : image.height;
    if (!image.bitmap || w <= 0 || h <= 0)
        return;
    // The engine places the first tile itself, in page coordinates.
    int x = bg.position_x, y = bg.position_y;
    const bool repeatX =
        bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    const bool repeatY =
        bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    // Tiles start at the first one that reaches into the box.
    if (repeatX && x > box.left)
        x -= ((x - box.left + w - 1) / w) * w;
    if (repeatY && y > box.top)
        y -= ((y - box.top + h - 1) / h) * h;
    int tiles = 0;
    for (int ty = y; ty < box.bottom && tiles < kMaxTiles; ty += h) {
        for (int tx = x; tx < box.right && tiles < kMaxTiles; tx += w, ++tiles) {
            if (tx + w > box.left && ty + h > box.top)
                drawImage(dc, image, {tx, ty, tx + w, ty + h});
            if (!repeatX)
                break;
        }
        if (!repeatY)
            break;
    }
}

void Container::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                             const litehtml::position& pos, bool) {
    HDC dc = dcOf(hdc);
    ClipScope clip(dc, clips_);
    const RECT box = rectOf(pos);
    struct Side {
        const litehtml::border& b;
        RECT band;
        bool lit; // on the side light falls on (top and left)
        bool horizontal;
    };
    const Side sides[] = {
        {borders.top, {box.left, box.top, box.right, box.top + borders.top.width}, true, true},
        {borders.bottom, {box.left, box.bottom - borders.bottom.width, box.right, box.bottom}, false, true},
        {borders.left, {box.left, box.top, box.left + borders.left.width, box.bottom}, true, false},
        {borders.right, {box.right - borders.right.width, box.top, box.right, box.bottom}, false, false},
    };
    for (const Side& s : sides) {
        if (s.b.width <= 0 || s.b.style == litehtml::border_style_none ||
            s.b.style == litehtml::border_style_hidden)
            continue;
        COLORREF color = colorOf(s.b.color);
        switch (s.b.style) {
        case litehtml::border_style_inset:
        case litehtml::border_style_groove:
            color = shade(s.b.color, s.lit ? 60 : 140);
            break;
        case litehtml::border_style_outset:
        case litehtml::border_style_ridge:
            color = shade(s.b.color, s.lit ? 140 : 60);
            break;
        default:
            break;
        }
        if (s.b.style == litehtml::border_style_double && s.b.width >= 3) {
            const int third = s.b.width / 3;
            RECT outer = s.band, inner = s.band;
            if (s.horizontal) {
                outer.bottom = outer.top + third;
                inner.top = inner.bottom - third;
            } else {
                outer.right = outer.left + third;
                inner.left = inner.right - third;
            }
            fill(dc, outer, color);
            fill(dc, inner, color);
        } else if (s.b.style == litehtml::border_style_dotted || s.b.style == litehtml::border_style_dashed) {
            const int dash = s.b.style == litehtml::border_style_dotted ? s.b.width : 3 * s.b.width;
            const int from = s.horizontal ? s.band.left : s.band.top;
            const int to = s.horizontal ? s.band.right : s.band.bottom;
            for (int at = from; at < to; at += 2 * dash) {
                RECT piece = s.band;
                if (s.horizontal) {
                    piece.left = at;
                    piece.right = std::min(at + dash, to);
                } else {
                    piece.top = at;
                    piece.bottom = std::min(at + dash, to);
                }
                fill(dc, piece, color);
            }
        } else {
            fill(dc, s.band, color);
        }
    }
}

void Container::set_caption(const char* caption) {
    title_ = trimmed(pal::text::fromUtf8(caption ? caption : ""));
}

void Container::set_base_url(const char* base_url) {
    if (base_url && *base_url)
        base_ = resolveUrl(location_, trimmed(pal::text::fromUtf8(base_url)));
}

// Style sheet links are read through import_css already; other links mean nothing here.
void Container::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

// Clicks are hit-tested by the page (Page::linkAt), not reported by the engine.
void Container::on_anchor_click(const char*, const litehtml::element::ptr&) {}

void Container::set_cursor(const char*) {}

void Container::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    std::wstring wide = pal::text::fromUtf8(text);
    switch (tt) {
    case litehtml::text_transform_uppercase:
        wide = pal::text::toUpper(wide);
        break;
    case litehtml::text_transform_lowercase:
        wide = pal::text::toLower(wide);
        break;
    case litehtml::text_transform_capitalize:
        if (!wide.empty())
            wide = pal::text::toUpper(wide.substr(0, 1)) + wide.substr(1);
        break;
    default:
        return;
    }
    text = pal::text::toUtf8(wide);
}

void Container::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                           litehtml::tstring& baseurl) {
    text.clear();
    const std::wstring resolved = resolve(url.c_str(), baseurl.c_str());
    Load why = Load::Outside;
    const std::filesystem::path file =
        isLocalUrl(resolved) ? readableFile(resolved, why) : std::filesystem::path();
    std::error_code ec;
    if (file.empty() || std::filesystem::file_size(file, ec) > kMaxStyleSheet || ec)
        return;
    std::ifstream in(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    baseurl = pal::text::toUtf8(resolved);
}

void Container::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool valid_x,
                         bool valid_y) {
    constexpr int kFar = 1 << 28;
    RECT r = rectOf(pos);
    if (!valid_x) {
        r.left = -kFar;
        r.right = kFar;
    }
    if (!valid_y) {
        r.top = -kFar;
        r.bottom = kFar;
    }
    clips_.push_back(r);
}

void Container::del_clip() {
    if (!clips_.empty())
        clips_.pop_back();
}

void Container::get_client_rect(litehtml::position& client) const {
    client = litehtml::position(0, 0, viewport_.cx, viewport_.cy);
}

std::shared_ptr<litehtml::element> Container::create_element(const char*, const litehtml::string_map&,
                                                             const std::shared_ptr<litehtml::document>&) {
    return nullptr;
}

void Container::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = viewport_.cx;
    media.height = viewport_.cy;
    media.device_width = GetDeviceCaps(measure_, HORZRES);
    media.device_height = GetDeviceCaps(measure_, VERTRES);
    media.color = 8;
    media.color_index = 0;
    media.monochrome = 0;
    media.resolution = GetDeviceCaps(measure_, LOGPIXELSY);
}

void Container::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
    language = "en";
    culture.clear();
}

} // namespace pal::html
