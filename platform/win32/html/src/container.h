// The HTML engine's document container over the drawing layer: fonts through the text
// functions (with a cache shared by every page the engine shows), text, images, backgrounds,
// borders, list markers and clipping drawn on the DC the page is drawn into, and the files a
// page reads (style sheets, images) taken only from where pages may come from.
#pragma once

#include "images.h"
#include "selection.h"

#include <litehtml.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace pal::html {

class Container final : public litehtml::document_container {
public:
    Container();
    ~Container();

    // Per page: where it came from (the base of its relative URLs until a base element says
    // otherwise) and what it tells about itself.
    void reset(const std::wstring& location);
    const std::wstring& base() const { return base_; }
    const std::wstring& title() const { return title_; }
    void setViewport(int width, int height) { viewport_ = {width, height}; }
    std::wstring resolve(const char* url, const char* baseurl = nullptr) const;
    int wideTextWidth(litehtml::uint_ptr font, std::wstring_view text);
    // For the next drawing: the selected runs (by their page position) and where the page's
    // origin lies on the DC.
    void setSelection(SelectedRuns runs, POINT origin) {
        selected_ = std::move(runs);
        origin_ = origin;
    }

    litehtml::uint_ptr create_font(const char* faceName, int size, int weight, litehtml::font_style italic,
                                   unsigned int decoration, litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const char* text, litehtml::uint_ptr font) override;
    void draw_text(litehtml::uint_ptr hdc, const char* text, litehtml::uint_ptr font,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const char* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const char* src, const char* baseurl, bool redraw_on_ready) override;
    void get_image_size(const char* src, const char* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_caption(const char* caption) override;
    void set_base_url(const char* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const char* url, const litehtml::element::ptr& el) override;
    void set_cursor(const char* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius, bool valid_x,
                  bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element>
    create_element(const char* tag, const litehtml::string_map& attributes,
                   const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    struct CachedFont {
        HFONT font = nullptr;
        int ascent = 0;
        int uses = 0;
    };
    using FontKey = std::tuple<std::wstring, int, int, bool, unsigned>;

    std::wstring installedFace(const char* cssFamilies);
    // Draws `image` stretched to the rectangle, clipped by the page's clips and `within`.
    void drawImage(HDC dc, const Image& image, const RECT& to);

    HDC measure_ = nullptr; // the DC fonts are measured on
    std::map<FontKey, CachedFont> fonts_;
    std::map<std::wstring, bool> installed_;
    ImageCache images_;
    std::vector<RECT> clips_;
    std::wstring location_, base_, title_;
    SIZE viewport_{};
    SelectedRuns selected_;
    POINT origin_{};

    friend class ClipScope;
};

} // namespace pal::html
