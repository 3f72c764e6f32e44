// The reference for a program's start: Cairo and Pango started, a 1920x1080 picture drawn with
// 100 runs of text, written as PNG to the path given.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PICTURE.png\n", argv[0]);
        return 2;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1920, 1080);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.2);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 11");
    pango_layout_set_font_description(layout, font);
    for (int i = 0; i < 100; ++i) {
        const std::string text = "Run " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog";
        pango_layout_set_text(layout, text.c_str(), -1);
        cairo_move_to(cr, 20 + (i % 4) * 470, 20 + (i / 4) * 40);
        pango_cairo_show_layout(cr, layout);
    }
    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(surface, argv[1]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written ? 0 : 1;
}
