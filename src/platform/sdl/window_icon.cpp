// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl/window_icon.h"

#include <cairo.h>

#include <cstring>

namespace lumen {

namespace {

// The artwork is laid out on a 128-unit square, like the scalable icon.
constexpr double artworkUnits = 128.0;

void setColor(cairo_t* cr, uint32_t rgb, double alpha = 1.0) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha);
}

void roundedTile(cairo_t* cr) {
    constexpr double left = 4;
    constexpr double size = 120;
    constexpr double radius = 18;
    cairo_new_sub_path(cr);
    cairo_arc(cr, left + size - radius, left + radius, radius, -1.5708, 0);
    cairo_arc(cr, left + size - radius, left + size - radius, radius, 0, 1.5708);
    cairo_arc(cr, left + radius, left + size - radius, radius, 1.5708, 3.14159);
    cairo_arc(cr, left + radius, left + radius, radius, 3.14159, 4.71239);
    cairo_close_path(cr);
}

void paper(cairo_t* cr) {
    roundedTile(cr);
    setColor(cr, 0xfffaf2);
    cairo_fill_preserve(cr);
    setColor(cr, 0xc8a0a0);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    setColor(cr, 0xf0bcbc);
    cairo_set_line_width(cr, 1);
    for (double at = 24; at < 120; at += 20) {
        cairo_move_to(cr, at, 8);
        cairo_line_to(cr, at, 120);
        cairo_move_to(cr, 8, at);
        cairo_line_to(cr, 120, at);
    }
    cairo_stroke(cr);
}

void heart(cairo_t* cr) {
    cairo_move_to(cr, 64, 108);
    cairo_curve_to(cr, 40, 90, 16, 72, 16, 48);
    cairo_curve_to(cr, 16, 32, 28, 22, 41, 22);
    cairo_curve_to(cr, 51, 22, 59, 28, 64, 37);
    cairo_curve_to(cr, 69, 28, 77, 22, 87, 22);
    cairo_curve_to(cr, 100, 22, 112, 32, 112, 48);
    cairo_curve_to(cr, 112, 72, 88, 90, 64, 108);
    cairo_close_path(cr);
    setColor(cr, 0xbe0000, 0.85);
    cairo_fill(cr);
}

// Quadratic curves of the artwork as cubic ones, from the current point.
void quadTo(cairo_t* cr, double cx, double cy, double x, double y) {
    double x0 = 0;
    double y0 = 0;
    cairo_get_current_point(cr, &x0, &y0);
    cairo_curve_to(cr, x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0), x + 2.0 / 3.0 * (cx - x),
                   y + 2.0 / 3.0 * (cy - y), x, y);
}

void beat(cairo_t* cr) {
    cairo_move_to(cr, 8, 66);
    cairo_line_to(cr, 30, 66);
    quadTo(cr, 34, 58, 38, 66);
    cairo_line_to(cr, 46, 66);
    cairo_line_to(cr, 50, 72);
    cairo_line_to(cr, 58, 26);
    cairo_line_to(cr, 66, 86);
    cairo_line_to(cr, 71, 66);
    cairo_line_to(cr, 80, 66);
    quadTo(cr, 88, 50, 96, 66);
    cairo_line_to(cr, 120, 66);
    setColor(cr, 0x141828);
    cairo_set_line_width(cr, 5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

}  // namespace

WindowIcon drawWindowIcon(int side) {
    WindowIcon icon;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return icon;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, side / artworkUnits, side / artworkUnits);
    paper(cr);
    heart(cr);
    beat(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    icon.side = side;
    icon.pixels.resize(static_cast<size_t>(side) * side);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < side; ++row) {
        std::memcpy(&icon.pixels[static_cast<size_t>(row) * side], data + static_cast<size_t>(row) * stride,
                    static_cast<size_t>(side) * sizeof(uint32_t));
    }
    cairo_surface_destroy(surface);
    return icon;
}

}  // namespace lumen
