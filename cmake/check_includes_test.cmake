# The include check must catch every spelling of a wrong include. Writes a
# small tree with known violations and one clean file, runs the check on it
# and fails unless exactly the violations are reported.
# Run as: cmake -DCHECK=<repo>/cmake/check_includes.cmake -DWORK=<folder> -P check_includes_test.cmake

cmake_minimum_required(VERSION 3.22)

set(tree ${WORK}/include_check_tree)
file(REMOVE_RECURSE ${tree})
# file path | its include line | reported?
set(cases
    "files/clean.cpp|#include <vector>\n#include \"package/file_list.h\"\n#include \"platform/error.h\"|"
    "files/angle.cpp|#include <wizard/wizard_state.h>|files/angle.cpp: includes wizard/wizard_state.h"
    "files/indented.cpp|  #include \"startup/start_up.h\"|files/indented.cpp: includes startup/start_up.h"
    "files/spaced.h|# include \"wizard/wizard_state.h\"|files/spaced.h: includes wizard/wizard_state.h"
    "conversion/dialect.cpp|#include \"platform/jet/jet_sql.h\"|conversion/dialect.cpp: includes platform/jet/jet_sql.h"
    "views/qt/window_test.cpp|#include \"tools/pack/pack.h\"|views/qt/window_test.cpp: includes tools/pack/pack.h"
    "files/log_test.cpp|#include \"tools/demo/demo.h\"|files/log_test.cpp: includes tools/demo/demo.h"
    "files/log.cpp|#include \"testing/temp_dir.h\"|files/log.cpp: includes testing/temp_dir.h"
    "app/main.cpp|#include \"testing/temp_dir.h\"|app/main.cpp: includes testing/temp_dir.h"
    "newfolder/thing.h|#include \"platform/error.h\"|newfolder/thing.h: folder newfolder has no layer rule")
set(expected "")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 path)
  list(GET parts 1 text)
  list(GET parts 2 report)
  file(WRITE ${tree}/${path} "${text}\n")
  if(report)
    list(APPEND expected "${report}")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${tree} -P ${CHECK} RESULT_VARIABLE status ERROR_VARIABLE output)
if(status EQUAL 0)
  message(FATAL_ERROR "The include check passed a tree with known violations")
endif()
string(REGEX MATCHALL "[^ \n]+\\.(cpp|h): [^\n]*" reported "${output}")
list(SORT reported)
list(SORT expected)
if(NOT reported STREQUAL expected)
  message(FATAL_ERROR "The include check reported:\n${output}\nexpected:\n${expected}")
endif()
