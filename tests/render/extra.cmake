# The render command on the fixtures of tests/data/render (make_fixtures.py).
set(render_data ${CMAKE_CURRENT_SOURCE_DIR}/data/render)
if(TARGET vellumsheet)
  # A clip, then a filled and stroked triangle and a dashed rule, as items.
  add_test(NAME Render.PathsAndClipAsItems COMMAND vellumsheet render ${render_data}/path_clip.pdf --items)
  set_tests_properties(Render.PathsAndClipAsItems PROPERTIES PASS_REGULAR_EXPRESSION
    "TqxShapeItem kind=5 x=67 y=589 width=400 height=400 points=4(.|\n)*TqxShapeItem kind=5 x=133 y=523 width=400 height=400 points=3(.|\n)*TqxShapeItem kind=5 x=67 y=389 width=600 height=0 points=2")
  # The box's lower-left corner lands on the canvas's lower-left corner.
  add_test(NAME Render.BoxOriginSubtracted COMMAND vellumsheet render ${render_data}/shifted_box.pdf --items --json)
  set_tests_properties(Render.BoxOriginSubtracted PROPERTIES PASS_REGULAR_EXPRESSION
    "\"x\": 0, \"y\": 989, \"width\": 67, \"height\": 67")
  # A turned page is drawn turned: the rectangle near the bottom-left corner ends up top-left.
  add_test(NAME Render.RotatedPage COMMAND vellumsheet render ${render_data}/rotated_90.pdf --items)
  set_tests_properties(Render.RotatedPage PROPERTIES PASS_REGULAR_EXPRESSION
    "TqxShapeItem kind=5 x=96 y=96 width=40 height=267")
  # Forms that draw themselves end; the trace says why their Do was passed over.
  add_test(NAME Render.SelfDrawingFormsEnd COMMAND vellumsheet render ${render_data}/self_drawing_forms.pdf --trace)
  set_tests_properties(Render.SelfDrawingFormsEnd PROPERTIES TIMEOUT 30 PASS_REGULAR_EXPRESSION
    "skipped Do: a form that draws itself(.|\n)*72 72 100 100 re")
  # Stray Q operators are passed over and counted; the page goes on.
  add_test(NAME Render.StrayRestoreCounted COMMAND vellumsheet render ${render_data}/stray_restore.pdf --items)
  set_tests_properties(Render.StrayRestoreCounted PROPERTIES PASS_REGULAR_EXPRESSION
    "[0-9]+ operators, [2-9] skipped")
  # The inline image's bytes hold "EI"; the rectangle after the image is still drawn.
  add_test(NAME Render.InlineImagePassedOver COMMAND vellumsheet render ${render_data}/inline_image_ei.pdf --items)
  set_tests_properties(Render.InlineImagePassedOver PROPERTIES PASS_REGULAR_EXPRESSION
    "operators, 0 skipped(.|\n)*x=96 y=229 width=133 height=27")
  # A checked check box and a chosen radio button: their dingbat marks reach text items as the
  # codes of the face they are drawn in.
  add_test(NAME Render.CheckBoxMarks COMMAND vellumsheet render ${render_data}/check_box_marks.pdf --items)
  set_tests_properties(Render.CheckBoxMarks PROPERTIES PASS_REGULAR_EXPRESSION
    "text=\"P\" font=\"Wingdings 2\"(.|\n)*text=\"[?]\" font=\"Wingdings 2\"")
  # A glyph struck twice at its own place is drawn once, and the trace counts it.
  add_test(NAME Render.StruckTwiceCounted COMMAND vellumsheet render ${render_data}/struck_twice.pdf --items --trace)
  set_tests_properties(Render.StruckTwiceCounted PROPERTIES PASS_REGULAR_EXPRESSION
    "dropped 1 glyph(.|\n)*text=\"Total\"")
  add_test(NAME Render.UsageError
           COMMAND ${VS_EXPECT_FAILURE} 2 "Try 'vellumsheet render --help'" $<TARGET_FILE:vellumsheet> render --page 0 x.pdf)
  add_test(NAME Render.MissingFile
           COMMAND ${VS_EXPECT_FAILURE} 1 "vellumsheet: .*none.pdf: no such file or directory" $<TARGET_FILE:vellumsheet> render
                   ${render_data}/none.pdf)

  # Small files asking for far more work than their size end in bounded time
  # and memory (tests/data/hostile/make_fixtures.py says what each asks for).
  # Each once took minutes or gigabytes: an address-space limit and a time
  # limit far above what each takes now catch a fault coming back.
  set(hostile_memory_limit "")
  set(hostile_timeout 300)
  if(VS_SANITIZE)
    set(hostile_memory_limit --no-memory-limit)  # the sanitizers reserve address space of their own
    set(hostile_timeout 900)
  endif()
  foreach(case image_mask_colours jpeg_larger_than_declared big_bitmaps big_bitmaps_xlsx big_bitmaps_csv
               tiny_drawn_picture widget_kids glyph_runs long_string far_text form_big_string
               shared_font_program cmap_ranges picture_amplification picture_amplification_xlsx picture_amplification_ocr damaged_flate zero_scale_text huge_text_matrix
               bare_operators wrong_operands shared_picture_xlsx shared_picture_csv)
    add_test(NAME HostileFiles.${case}
             COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/hostile_files.py $<TARGET_FILE:vellumsheet>
                     ${CMAKE_CURRENT_SOURCE_DIR}/data/hostile ${case} ${hostile_memory_limit})
    set_tests_properties(HostileFiles.${case} PROPERTIES LABELS render TIMEOUT ${hostile_timeout})
  endforeach()

  # Every page of the shared corpora renders without a crash or a hang.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME Render.CorpusPagesRender
             COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus
                     ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/corpus_render.py
                     $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
    set_tests_properties(Render.CorpusPagesRender PROPERTIES LABELS render TIMEOUT 1200 SKIP_RETURN_CODE 77)
  endif()
endif()

# The words of every page of the shared corpus reach text items: at least
# 99 % of the words pdftotext finds.
if(TARGET vellumsheet)
  add_test(NAME RenderText.CorpusWordsFound
           COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/tools/corpus_words.py
                   /usr/bin/python3 ${VS_SHARED_DIR}/tools/corpus_words.py
                   $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR}/corpus)
  set_tests_properties(RenderText.CorpusWordsFound PROPERTIES LABELS render TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
