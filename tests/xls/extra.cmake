# Containers checked by independent readers (olefile, xlrd) through a script.
add_executable(write_ole_samples
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/write_ole_samples.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/minimal_workbook.cpp)
target_link_libraries(write_ole_samples PRIVATE vs_xls)
target_include_directories(write_ole_samples PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

if(EXISTS /usr/bin/python3)
  add_test(NAME XlsContainer.IndependentReaders
    COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/tools/xls_dump.py
            /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/ole_readers_test.py
            $<TARGET_FILE:write_ole_samples> ${VS_SHARED_DIR})
  set_tests_properties(XlsContainer.IndependentReaders PROPERTIES LABELS xls SKIP_RETURN_CODE 77)
else()
  message(STATUS "python3 not found: the independent-reader checks of workbook containers are skipped")
endif()

# The layout of recorded pages against the known tables of the corpus.
add_test(NAME LayoutCorpus.TableRowsAndColumnsHold
  COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus
          /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/layout_corpus_test.py
          $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
set_tests_properties(LayoutCorpus.TableRowsAndColumnsHold PROPERTIES LABELS xls SKIP_RETURN_CODE 77)
add_test(NAME LayoutCorpus.PdfTableRowsAndColumnsHold
  COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus
          /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/layout_corpus_test.py
          $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR} pdf)
set_tests_properties(LayoutCorpus.PdfTableRowsAndColumnsHold PROPERTIES LABELS xls SKIP_RETURN_CODE 77)

# vellumsheet layout lists each text with its cell; a damaged page fails.
add_test(NAME LayoutCommand.ListsCells
         COMMAND vellumsheet layout ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/sample.emf --json --page-grid)
set_tests_properties(LayoutCommand.ListsCells PROPERTIES LABELS xls
  PASS_REGULAR_EXPRESSION "\"units\": {\"column_unit\": [0-9.]+, \"line_unit\": [0-9.]+, \"base_row_height\": [0-9]+}.*\"text\": \"Hi\", \"x\": 100, \"y\": 200, \"width\": 18, \"row\": 13, \"col\": 2")
add_test(NAME LayoutCommand.DamageFails
         COMMAND ${VS_EXPECT_FAILURE} 1 "vellumsheet: [^\n]*truncated.emf: malformed metafile record EXTTEXTOUTW"
                 $<TARGET_FILE:vellumsheet> layout ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/truncated.emf)
set_tests_properties(LayoutCommand.DamageFails PROPERTIES LABELS xls)
add_test(NAME LayoutCommand.UsageErrors
         COMMAND ${VS_EXPECT_FAILURE} 2 "Try 'vellumsheet layout --help'"
                 $<TARGET_FILE:vellumsheet> layout ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/sample.emf --page 0)
set_tests_properties(LayoutCommand.UsageErrors PROPERTIES LABELS xls)
add_test(NAME LayoutCommand.EncryptedPdfNeedsItsPassword
         COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus/14_report_sales_rc4_40.pdf
                 ${VS_EXPECT_FAILURE} 1 "no password was given; give it with --password"
                 $<TARGET_FILE:vellumsheet> layout ${VS_SHARED_DIR}/corpus/14_report_sales_rc4_40.pdf)
set_tests_properties(LayoutCommand.EncryptedPdfNeedsItsPassword PROPERTIES LABELS xls SKIP_RETURN_CODE 77)
add_test(NAME LayoutCommand.PageOutsideThePdf
         COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus/14_report_sales_rc4_40.pdf
                 ${VS_EXPECT_FAILURE} 2 "there is no page 9"
                 $<TARGET_FILE:vellumsheet> layout ${VS_SHARED_DIR}/corpus/14_report_sales_rc4_40.pdf
                 --password sales --page 9)
set_tests_properties(LayoutCommand.PageOutsideThePdf PROPERTIES LABELS xls SKIP_RETURN_CODE 77)


# Workbooks written from recorded pages, read by xlrd, ssconvert and LibreOffice.
add_test(NAME XlsWorkbook.IndependentReaders
  COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus/emf
          /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/workbook_readers_test.py
          $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
set_tests_properties(XlsWorkbook.IndependentReaders PROPERTIES LABELS xls TIMEOUT 600 SKIP_RETURN_CODE 77)

# Number texts of small PDF tables shown by LibreOffice as the page shows them.
add_test(NAME XlsWorkbook.NumbersShowAsOnThePage
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/numbers_as_shown_test.py $<TARGET_FILE:vellumsheet>)
set_tests_properties(XlsWorkbook.NumbersShowAsOnThePage PROPERTIES LABELS xls TIMEOUT 300)

# Tables found on the page: headings over several columns, tables over pages,
# tables turned on the page; read back with xlrd and openpyxl.
add_test(NAME XlsWorkbook.TableLayout
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/table_layout_test.py $<TARGET_FILE:vellumsheet>)
set_tests_properties(XlsWorkbook.TableLayout PROPERTIES LABELS xls TIMEOUT 300)

# Worksheets print one page wide with the PDF's margins, in no more pages.
add_test(NAME XlsWorkbook.PrintsLikeThePage
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/print_setup_test.py $<TARGET_FILE:vellumsheet>)
set_tests_properties(XlsWorkbook.PrintsLikeThePage PROPERTIES LABELS xls TIMEOUT 300)

# A ruled table's lines as cell borders and a zebra table's bands as fills.
add_test(NAME XlsWorkbook.RulesAndShading
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/rules_and_shading_test.py $<TARGET_FILE:vellumsheet>)
set_tests_properties(XlsWorkbook.RulesAndShading PROPERTIES LABELS xls TIMEOUT 300)
