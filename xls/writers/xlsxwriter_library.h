#pragma once
// libxlsxwriter, loaded when the first .xlsx workbook is written rather than
// when the program starts: with the zip and crypto libraries it brings,
// loading it costs more than converting a small page, and most conversions
// write .xls or .csv.
#include <xlsxwriter.h>

namespace vs {

// The functions the .xlsx writer calls.
#define VS_XLSXWRITER_FUNCTIONS(F)                                                                                 \
  F(workbook_new_opt) F(lxw_workbook_free) F(workbook_add_worksheet) F(workbook_add_format)                      \
  F(workbook_set_properties) F(workbook_close) F(format_set_font_name) F(format_set_font_size) F(format_set_bold) \
  F(format_set_italic) F(format_set_underline) F(format_set_font_strikeout) F(format_set_font_color)             \
  F(format_set_num_format) F(format_set_align) F(format_set_text_wrap) F(format_set_pattern)                     \
  F(format_set_bg_color) F(worksheet_insert_image_buffer_opt) F(worksheet_set_row_pixels)                        \
  F(worksheet_write_number) F(worksheet_write_string) F(worksheet_set_column) F(worksheet_set_paper)             \
  F(worksheet_set_landscape) F(worksheet_set_margins) F(worksheet_gridlines) F(worksheet_merge_range)          \
  F(worksheet_fit_to_pages) F(format_set_top) F(format_set_left) F(format_set_bottom) F(format_set_right)        \
  F(format_set_top_color) F(format_set_left_color) F(format_set_bottom_color) F(format_set_right_color)       \
  F(worksheet_write_blank) F(worksheet_repeat_rows) F(worksheet_set_h_pagebreaks)

struct TXlsxWriterLibrary {
#define VS_XLSXWRITER_DECLARE(name) decltype(&::name) name = nullptr;
  VS_XLSXWRITER_FUNCTIONS(VS_XLSXWRITER_DECLARE)
#undef VS_XLSXWRITER_DECLARE
};

// The library, loaded once for the process; raises Exception when it is not
// installed or lacks a function.
const TXlsxWriterLibrary& XlsxWriter();

}  // namespace vs
