# The font diagnostic names the face Arial is drawn with and measures a text.
add_test(NAME FontInfo.ArialResolvesToLiberationSans COMMAND vellumsheet font-info Arial 10 a)
set_tests_properties(FontInfo.ArialResolvesToLiberationSans PROPERTIES
  PASS_REGULAR_EXPRESSION "status: +alias\nface: +Liberation Sans Regular(.|\n)*extent: +7 x")
add_test(NAME FontInfo.UnknownFamilyFails COMMAND vellumsheet font-info "No Such Family")
set_tests_properties(FontInfo.UnknownFamilyFails PROPERTIES WILL_FAIL TRUE)
