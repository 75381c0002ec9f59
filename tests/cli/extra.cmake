# The font diagnostic names the face Arial is drawn with and measures a text.
add_test(NAME FontInfo.ArialResolvesToLiberationSans COMMAND vellumsheet font-info Arial 10 a)
set_tests_properties(FontInfo.ArialResolvesToLiberationSans PROPERTIES
  PASS_REGULAR_EXPRESSION "status: +alias\nface: +Liberation Sans Regular(.|\n)*extent: +7 x")
add_test(NAME FontInfo.UnknownFamilyFails
         COMMAND ${VS_EXPECT_FAILURE} 1 "status: +not installed" $<TARGET_FILE:vellumsheet> font-info "No Such Family")

# emf-dump lists every record of a metafile and stops with an error at damage.
add_test(NAME EmfDump.ListsRecords
         COMMAND vellumsheet emf-dump ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/sample.emf)
set_tests_properties(EmfDump.ListsRecords PROPERTIES
  PASS_REGULAR_EXPRESSION "EXTTEXTOUTW 88 ref=\\(100,200\\)[^\n]*text=\"Hi\" dx=\\[9,9\\](.|\n)*FILLPATH(.|\n)*EOF")
add_test(NAME EmfDump.DamageFails
         COMMAND ${VS_EXPECT_FAILURE} 1 "vellumsheet: [^\n]*truncated.emf: malformed metafile record EXTTEXTOUTW"
                 $<TARGET_FILE:vellumsheet> emf-dump ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/truncated.emf)
add_test(NAME EmfDump.NamesTheDamagedRecord
         COMMAND vellumsheet emf-dump ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/truncated.emf)
set_tests_properties(EmfDump.NamesTheDamagedRecord PROPERTIES
  PASS_REGULAR_EXPRESSION "SELECTOBJECT(.|\n)*malformed metafile record EXTTEXTOUTW")

# The inspection commands open every header version; --any-version is still
# taken; a file that cannot be read is named with the system's words.
set(VS_CLI_DATA ${CMAKE_CURRENT_SOURCE_DIR}/data/cli)
add_test(NAME Inspect.InfoOpensVersion17 COMMAND vellumsheet info ${VS_CLI_DATA}/v17.pdf)
set_tests_properties(Inspect.InfoOpensVersion17 PROPERTIES PASS_REGULAR_EXPRESSION "Version: 1.7\nEncrypted: no")
add_test(NAME Inspect.RenderTakesAnyVersion COMMAND vellumsheet render ${VS_CLI_DATA}/v17.pdf --any-version)
set_tests_properties(Inspect.RenderTakesAnyVersion PROPERTIES PASS_REGULAR_EXPRESSION "^page 1: [0-9]+ operators, 0 skipped")
add_test(NAME Inspect.LayoutTakesAnyVersion COMMAND vellumsheet layout ${VS_CLI_DATA}/v17.pdf --any-version)
set_tests_properties(Inspect.LayoutTakesAnyVersion PROPERTIES PASS_REGULAR_EXPRESSION "text=\"Version seventeen\"")
add_test(NAME Inspect.MissingFileIsNamed
         COMMAND ${VS_EXPECT_FAILURE} 1 "^vellumsheet: missing.pdf: no such file or directory\n$"
                 $<TARGET_FILE:vellumsheet> layout missing.pdf)

# The shared corpus opened through the info command, outcome per manifest.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME CorpusOpensAsManifestsSay
           COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus-peer
                   ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/corpus_open.py
                   $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
  set_tests_properties(CorpusOpensAsManifestsSay PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()

# The encrypted fixtures open with either password and convert as the plain file does.
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME EncryptedFixturesConvertLikeThePlainFile
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/encrypted_fixtures.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR}/tests/data/pdf)
  set_tests_properties(EncryptedFixturesConvertLikeThePlainFile PROPERTIES LABELS cli TIMEOUT 600)
endif()

# convert as a user meets it: usage errors, damaged and locked files, --help,
# the sample converted, to standard output and in a batch.
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME ConvertCommandBehaves
           COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus
                   ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/convert_cli.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR} ${VS_SHARED_DIR} --convert)
  set_tests_properties(ConvertCommandBehaves PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()

# Where convert writes: destinations checked before the PDF is read,
# write-protected workbooks, --output-dir made, long names, made beside the
# destination, SIGPIPE, a batch's workers ending with it.
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME ConvertDestinations
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/convert_destinations.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR})
  set_tests_properties(ConvertDestinations PROPERTIES LABELS cli TIMEOUT 600)
endif()

# convert on a (pseudo-)terminal: echo back after Ctrl-C at the password
# prompt, passwords asked for each file of a batch, one line per file.
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME ConvertOnATerminal
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/convert_terminal.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR})
  set_tests_properties(ConvertOnATerminal PROPERTIES LABELS cli TIMEOUT 600)
endif()

# The .xlsx and .csv outputs against the .xls of the same page: every text
# whole, numbers as shown or plain, every kind of number with the .xls's
# value, type and format code, format chosen by name or --format, one .csv a
# worksheet, more rows than an .xls worksheet holds (over pages or on one
# page) kept on one; a name that promises another format refused.
if(TARGET vellumsheet)
  add_test(NAME ConvertToXlsxAndCsv
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/convert_outputs.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR})
  set_tests_properties(ConvertToXlsxAndCsv PROPERTIES LABELS cli TIMEOUT 600)
endif()

# A .csv workbook's files replace an earlier run's as one set (also on a full
# disk) and never a file this program did not write, a link or another PDF's
# workbook; .xlsx properties.
if(TARGET vellumsheet)
  add_test(NAME ConvertOutputFiles.CsvSheetsAndXlsxTitle
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/csv_sheet_files.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR})
  set_tests_properties(ConvertOutputFiles.CsvSheetsAndXlsxTitle PROPERTIES LABELS cli)
endif()

# The .xlsx of the command fixtures opened by openpyxl with no warning and
# by ssconvert with nothing on stderr; skipped without ssconvert.
if(TARGET vellumsheet)
  add_test(NAME XlsxOpensInReaders
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/xlsx_readers.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR})
  set_tests_properties(XlsxOpensInReaders PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()

# The command line's conventions for every command: exit statuses and
# messages, standard input and output, --, -o, page words, --json, the man
# page and shell completion.
if(TARGET vellumsheet)
  add_test(NAME CommandLineConventions
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/command_line.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} ${CMAKE_COMMAND})
  set_tests_properties(CommandLineConventions PROPERTIES LABELS cli TIMEOUT 600)
endif()
# Scanned pages: read into cells, kept as pictures with --ocr never, text
# pages untouched; a language pack that is not installed is a usage error.
if(Python3_FOUND AND TARGET vellumsheet)
  add_test(NAME ConvertReadsScans
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/convert_scans.py
                   $<TARGET_FILE:vellumsheet> ${PROJECT_SOURCE_DIR}/tests/data/scans)
  set_tests_properties(ConvertReadsScans PROPERTIES LABELS cli TIMEOUT 300)
endif()
add_test(NAME ConvertOcrMissingLanguageIsUsageError
         COMMAND ${VS_EXPECT_FAILURE} 2 "the language xx is not installed \\(Debian package tesseract-ocr-xx\\)"
                 $<TARGET_FILE:vellumsheet> convert ${PROJECT_SOURCE_DIR}/tests/data/scans/table_scan_200.pdf
                 ${CMAKE_CURRENT_BINARY_DIR}/never_written.xls --ocr-lang eng+xx)
