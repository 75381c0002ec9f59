# The Python package, run by Debian's interpreter with the package as the
# build assembles it (build/python).
set(VS_PYTHON_TEST_ENV PYTHONPATH=${PROJECT_BINARY_DIR}/python)
add_test(NAME Python.Api
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/api_test.py ${PROJECT_SOURCE_DIR} $<TARGET_FILE:vellumsheet>)
add_test(NAME Python.CorpusTables
         COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus-diverse
                 /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/corpus_tables_test.py $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
add_test(NAME Python.DaskCluster
         COMMAND ${VS_NEEDS_SHARED} ${VS_SHARED_DIR}/corpus-diverse
                 /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/dask_test.py $<TARGET_FILE:vellumsheet> ${VS_SHARED_DIR})
set_tests_properties(Python.Api Python.CorpusTables Python.DaskCluster PROPERTIES
  ENVIRONMENT "${VS_PYTHON_TEST_ENV}" SKIP_RETURN_CODE 77 LABELS python TIMEOUT 600)
