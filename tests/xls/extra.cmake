# Containers checked by independent readers (olefile, xlrd) through a script.
add_executable(write_ole_samples
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/write_ole_samples.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/minimal_workbook.cpp)
target_link_libraries(write_ole_samples PRIVATE vs_xls)
target_include_directories(write_ole_samples PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

if(EXISTS /usr/bin/python3)
  add_test(NAME XlsContainer.IndependentReaders
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/xls/ole_readers_test.py
            $<TARGET_FILE:write_ole_samples> ${PROJECT_SOURCE_DIR}/../shared)
  set_tests_properties(XlsContainer.IndependentReaders PROPERTIES LABELS xls)
else()
  message(STATUS "python3 not found: the independent-reader checks of workbook containers are skipped")
endif()
