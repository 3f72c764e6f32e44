// The pictures of the standard icons and cursors, drawn as vectors at the size asked for, so
// that each can be told from the others at a glance: information an "i" on a blue disc, question
// a "?" on a blue disc, warning a "!" on a yellow triangle, error a cross on a red disc, the
// application a small window; cursors in the shapes a person knows them by.
#include "standard_images.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <tuple>

namespace pal::gdi {
namespace {

void rgb(cairo_t* cr, int r, int g, int b) {
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
}

void disc(cairo_t* cr, double s, int r, int g, int b) {
    cairo_arc(cr, s / 2, s / 2, s * 0.45, 0, 2 * M_PI);
    rgb(cr, r, g, b);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, std::max(1.0, s / 32));
    rgb(cr, r * 3 / 4, g * 3 / 4, b * 3 / 4);
    cairo_stroke(cr);
}

// A glyph of the bold sans face, white, centred on (cx, cy) with the height h.
void letter(cairo_t* cr, const char* text, double cx, double cy, double h, bool white) {
    cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, h);
    cairo_text_extents_t e{};
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    if (white)
        cairo_set_source_rgb(cr, 1, 1, 1);
    else
        cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_show_text(cr, text);
}

void information(cairo_t* cr, double s) {
    disc(cr, s, 0, 99, 177);
    // The "i" drawn, not typed, so that it looks the same wherever fonts differ.
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, s / 2, s * 0.27, s * 0.07, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_rectangle(cr, s * 0.44, s * 0.40, s * 0.12, s * 0.36);
    cairo_fill(cr);
}

void question(cairo_t* cr, double s) {
    disc(cr, s, 0, 120, 215);
    letter(cr, "?", s / 2, s / 2, s * 0.62, true);
}

void warning(cairo_t* cr, double s) {
    cairo_move_to(cr, s / 2, s * 0.06);
    cairo_line_to(cr, s * 0.97, s * 0.92);
    cairo_line_to(cr, s * 0.03, s * 0.92);
    cairo_close_path(cr);
    rgb(cr, 255, 196, 0);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, std::max(1.0, s / 32));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    rgb(cr, 160, 110, 0);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, s * 0.45, s * 0.33, s * 0.10, s * 0.32);
    cairo_fill(cr);
    cairo_arc(cr, s / 2, s * 0.77, s * 0.06, 0, 2 * M_PI);
    cairo_fill(cr);
}

void error(cairo_t* cr, double s) {
    disc(cr, s, 216, 30, 40);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, s * 0.11);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double a = s * 0.32, b = s * 0.68;
    cairo_move_to(cr, a, a);
    cairo_line_to(cr, b, b);
    cairo_move_to(cr, b, a);
    cairo_line_to(cr, a, b);
    cairo_stroke(cr);
}

// A window with a blue title bar: the application and the rest without a picture of their own.
void application(cairo_t* cr, double s) {
    cairo_rectangle(cr, s * 0.08, s * 0.14, s * 0.84, s * 0.72);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, std::max(1.0, s / 32));
    rgb(cr, 0, 84, 153);
    cairo_stroke(cr);
    cairo_rectangle(cr, s * 0.08, s * 0.14, s * 0.84, s * 0.18);
    cairo_fill(cr);
}

void shield(cairo_t* cr, double s) {
    cairo_move_to(cr, s / 2, s * 0.06);
    cairo_line_to(cr, s * 0.88, s * 0.2);
    cairo_curve_to(cr, s * 0.88, s * 0.6, s * 0.7, s * 0.82, s / 2, s * 0.95);
    cairo_curve_to(cr, s * 0.3, s * 0.82, s * 0.12, s * 0.6, s * 0.12, s * 0.2);
    cairo_close_path(cr);
    rgb(cr, 0, 120, 215);
    cairo_fill(cr);
    cairo_rectangle(cr, s / 2, s * 0.13, s * 0.32, s * 0.36);
    rgb(cr, 255, 196, 0);
    cairo_fill(cr);
}

// Cursors ---------------------------------------------------------------------------------------

void outlined(cairo_t* cr, double width) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void arrowPointer(cairo_t* cr) {
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 18);
    cairo_line_to(cr, 5.5, 14);
    cairo_line_to(cr, 9, 21);
    cairo_line_to(cr, 11.5, 20);
    cairo_line_to(cr, 8.5, 13);
    cairo_line_to(cr, 14, 13);
    cairo_close_path(cr);
    outlined(cr, 1);
}

// A line with a head at each end (or four heads from the middle for the all-ways cursor), as
// a white stroke edged in black.
void doubleArrow(cairo_t* cr, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    const double ux = dx / len, uy = dy / len, px = -uy, py = ux, head = 5;
    for (int pass = 0; pass < 2; ++pass) {
        cairo_move_to(cr, x0 + ux * head, y0 + uy * head);
        cairo_line_to(cr, x1 - ux * head, y1 - uy * head);
        for (const auto& [tx, ty, sx] : {std::tuple{x0, y0, 1.0}, std::tuple{x1, y1, -1.0}}) {
            cairo_move_to(cr, tx, ty);
            cairo_line_to(cr, tx + sx * (ux * head + px * head), ty + sx * (uy * head + py * head));
            cairo_line_to(cr, tx + sx * (ux * head - px * head), ty + sx * (uy * head - py * head));
            cairo_close_path(cr);
        }
        if (pass == 0) {
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, 4);
            cairo_stroke_preserve(cr);
            cairo_fill(cr);
        } else {
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke_preserve(cr);
            cairo_fill(cr);
        }
    }
}

struct CursorPicture {
    const char* shape;
    POINT hotspot;
    void (*draw)(cairo_t*);
};

const CursorPicture kCursorPictures[] = {
    {"arrow", {1, 1}, arrowPointer},
    {"ibeam",
     {16, 16},
     [](cairo_t* cr) {
         for (int pass = 0; pass < 2; ++pass) {
             cairo_move_to(cr, 12, 6);
             cairo_line_to(cr, 20, 6);
             cairo_move_to(cr, 16, 6);
             cairo_line_to(cr, 16, 26);
             cairo_move_to(cr, 12, 26);
             cairo_line_to(cr, 20, 26);
             cairo_set_line_width(cr, pass == 0 ? 4 : 1.5);
             if (pass == 0)
                 cairo_set_source_rgb(cr, 1, 1, 1);
             else
                 cairo_set_source_rgb(cr, 0, 0, 0);
             cairo_stroke(cr);
         }
     }},
    {"wait",
     {16, 16},
     [](cairo_t* cr) {
         // An hourglass.
         cairo_move_to(cr, 8, 4);
         cairo_line_to(cr, 24, 4);
         cairo_line_to(cr, 17, 16);
         cairo_line_to(cr, 24, 28);
         cairo_line_to(cr, 8, 28);
         cairo_line_to(cr, 15, 16);
         cairo_close_path(cr);
         outlined(cr, 1.5);
         cairo_move_to(cr, 11, 27);
         cairo_line_to(cr, 16, 21);
         cairo_line_to(cr, 21, 27);
         cairo_close_path(cr);
         rgb(cr, 0, 120, 215);
         cairo_fill(cr);
     }},
    {"cross",
     {16, 16},
     [](cairo_t* cr) {
         cairo_move_to(cr, 16, 3);
         cairo_line_to(cr, 16, 29);
         cairo_move_to(cr, 3, 16);
         cairo_line_to(cr, 29, 16);
         cairo_set_source_rgb(cr, 1, 1, 1);
         cairo_set_line_width(cr, 3);
         cairo_stroke_preserve(cr);
         cairo_set_source_rgb(cr, 0, 0, 0);
         cairo_set_line_width(cr, 1);
         cairo_stroke(cr);
     }},
    {"sizewe", {16, 16}, [](cairo_t* cr) { doubleArrow(cr, 3, 16, 29, 16); }},
    {"sizens", {16, 16}, [](cairo_t* cr) { doubleArrow(cr, 16, 3, 16, 29); }},
    {"sizenwse", {16, 16}, [](cairo_t* cr) { doubleArrow(cr, 6, 6, 26, 26); }},
    {"sizenesw", {16, 16}, [](cairo_t* cr) { doubleArrow(cr, 26, 6, 6, 26); }},
    {"sizeall",
     {16, 16},
     [](cairo_t* cr) {
         doubleArrow(cr, 3, 16, 29, 16);
         doubleArrow(cr, 16, 3, 16, 29);
     }},
    {"hand",
     {11, 2},
     [](cairo_t* cr) {
         // A pointing finger over a palm.
         cairo_move_to(cr, 9, 13);
         cairo_line_to(cr, 9, 4);
         cairo_arc(cr, 11, 4, 2, M_PI, 0);
         cairo_line_to(cr, 13, 12);
         cairo_line_to(cr, 23, 14);
         cairo_line_to(cr, 23, 24);
         cairo_line_to(cr, 19, 29);
         cairo_line_to(cr, 10, 29);
         cairo_line_to(cr, 5, 20);
         cairo_line_to(cr, 5, 15);
         cairo_close_path(cr);
         outlined(cr, 1.2);
     }},
    {"no",
     {16, 16},
     [](cairo_t* cr) {
         cairo_arc(cr, 16, 16, 11, 0, 2 * M_PI);
         cairo_move_to(cr, 8.2, 8.2);
         cairo_line_to(cr, 23.8, 23.8);
         cairo_set_source_rgb(cr, 0, 0, 0);
         cairo_set_line_width(cr, 5);
         cairo_stroke_preserve(cr);
         rgb(cr, 216, 30, 40);
         cairo_set_line_width(cr, 3);
         cairo_stroke(cr);
     }},
};

} // namespace

Surface standardIconPicture(WORD id, int size) {
    struct Picture {
        WORD id;
        void (*draw)(cairo_t*, double);
    };
    static const Picture kPictures[] = {
        {32512, application}, {32513, error},       {32514, question}, {32515, warning},
        {32516, information}, {32517, application}, {32518, shield},
    };
    const auto* it = std::find_if(std::begin(kPictures), std::end(kPictures),
                                  [id](const Picture& p) { return p.id == id; });
    if (it == std::end(kPictures))
        return Surface();
    Surface s = Surface::create(size, size, true);
    cairo_t* cr = cairo_create(s.get());
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
    it->draw(cr, size);
    cairo_destroy(cr);
    return s;
}

Surface standardCursorPicture(const char* shape, int size, POINT* hotspot) {
    const CursorPicture* found = &kCursorPictures[0];
    for (const CursorPicture& p : kCursorPictures) {
        if (std::strcmp(p.shape, shape) == 0)
            found = &p;
    }
    // Shapes without a picture of their own (the help and busy arrows) show the arrow.
    Surface s = Surface::create(size, size, true);
    cairo_t* cr = cairo_create(s.get());
    cairo_scale(cr, size / 32.0, size / 32.0);
    found->draw(cr);
    cairo_destroy(cr);
    *hotspot = POINT{found->hotspot.x * size / 32, found->hotspot.y * size / 32};
    return s;
}

} // namespace pal::gdi
