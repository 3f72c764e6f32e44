// The reference for a program's start: a small program that shows what DravikCad shows at its
// first idle, in the least code that can: a 1600x900 window (on X11 when DISPLAY is set and
// DV_PAL_DISPLAY is not "null", otherwise an image surface), painted with Cairo and Pango: a
// sheet's frame, 2,000 lines of a drawing and 100 runs of text. It waits for the window to be
// shown, paints, flushes to the server and ends; nothing is written to a file.
#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kWidth = 1600, kHeight = 900;

void paint(cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 200, 120, 1200, 760);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 210.5, 130.5, 1180, 740);
    for (int i = 0; i < 2000; ++i) {
        const double x = 220 + (i % 50) * 23, y = 140 + (i / 50) * 18;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 15, y + 9);
    }
    cairo_stroke(cr);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 9");
    pango_layout_set_font_description(layout, font);
    for (int i = 0; i < 100; ++i) {
        const std::string text = "Поз. " + std::to_string(i) + " the quick brown fox";
        pango_layout_set_text(layout, text.c_str(), -1);
        cairo_move_to(cr, 4 + (i % 4) * 400, 4 + (i / 4) * 4);
        pango_cairo_show_layout(cr, layout);
    }
    pango_font_description_free(font);
    g_object_unref(layout);
}

int onImage() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? 0 : 1;
}

int onDisplay(Display* display) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWidth, kHeight, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "Reference");
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0)
            break;
    }
    cairo_surface_t* surface =
        cairo_xlib_surface_create(display, window, DefaultVisual(display, screen), kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    // Idle: everything drawn has reached the server.
    XSync(display, False);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}

} // namespace

int main() {
    const char* mode = std::getenv("DV_PAL_DISPLAY");
    if (!(mode && std::strcmp(mode, "null") == 0))
        if (Display* display = XOpenDisplay(nullptr))
            return onDisplay(display);
    return onImage();
}
