# Metafiles exported by another program, replayed through the emf-items command.
if(EXISTS /usr/bin/python3)
  add_test(NAME MetafileCorpus.EveryStringBecomesText
    COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus/emf
            /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/engine/emf_corpus_test.py
            $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR}/corpus/emf)
  set_tests_properties(MetafileCorpus.EveryStringBecomesText PROPERTIES LABELS engine SKIP_RETURN_CODE 77)
endif()

# The emf-items diagnostic lists the items of a recorded page.
add_test(NAME EmfItems.ListsTextItems
         COMMAND vellumsheet emf-items ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/sample.emf)
set_tests_properties(EmfItems.ListsTextItems PROPERTIES
  PASS_REGULAR_EXPRESSION "TqxTextItem x=100 y=200 text=\"Hi\"")
add_test(NAME EmfItems.DamageFails
         COMMAND ${VS_EXPECT_FAILURE} 1 "vellumsheet: [^\n]*truncated.emf: malformed metafile record EXTTEXTOUTW"
                 $<TARGET_FILE:vellumsheet> emf-items ${CMAKE_CURRENT_SOURCE_DIR}/data/emf/truncated.emf)
