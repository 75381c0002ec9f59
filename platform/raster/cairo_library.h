#pragma once
// cairo, loaded when the first bitmap is drawn rather than when the program
// starts: with the X11 and image libraries it brings, loading it cost a
// small conversion a seventh of its time, and most pages draw no bitmap.
#include <cairo.h>

namespace vs {

// The functions the raster canvas calls.
#define VS_CAIRO_FUNCTIONS(F)                                                                                       \
  F(cairo_arc_negative) F(cairo_close_path) F(cairo_create) F(cairo_curve_to) F(cairo_destroy)                     \
  F(cairo_fill_preserve) F(cairo_image_surface_create) F(cairo_image_surface_get_data)                              \
  F(cairo_image_surface_get_stride) F(cairo_line_to) F(cairo_move_to) F(cairo_new_path) F(cairo_new_sub_path)      \
  F(cairo_rectangle) F(cairo_restore) F(cairo_save) F(cairo_scale) F(cairo_set_antialias) F(cairo_set_dash)        \
  F(cairo_set_fill_rule) F(cairo_set_line_cap) F(cairo_set_line_join) F(cairo_set_line_width)                      \
  F(cairo_set_source_rgb) F(cairo_status) F(cairo_stroke_preserve) F(cairo_surface_destroy) F(cairo_surface_flush) \
  F(cairo_translate)

struct TCairoLibrary {
#define VS_CAIRO_DECLARE(name) decltype(&::name) name = nullptr;
  VS_CAIRO_FUNCTIONS(VS_CAIRO_DECLARE)
#undef VS_CAIRO_DECLARE
};

// The library, loaded once for the process; raises EBitmapError when it is
// not installed or lacks a function.
const TCairoLibrary& CairoFunctions();

}  // namespace vs
