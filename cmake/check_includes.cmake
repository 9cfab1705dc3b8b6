# Fails when a source file includes a header from a layer it must not see.
# Run as: cmake -DSRC=<repo>/src -P check_includes.cmake
#
# Each folder lists the folders its code may include. "platform" means the
# interfaces directly in src/platform/, not the adapters below it. Tests (and
# the test helpers in src/testing/) may also use the real host and engine,
# but never a program, the Qt window or the demo.

cmake_minimum_required(VERSION 3.22)

set(allowed_platform           platform)
set(allowed_platform/host      platform platform/host)
set(allowed_platform/jet       platform platform/jet)
set(allowed_platform/crypto    platform platform/crypto package)
set(allowed_platform/net       platform platform/net)
set(allowed_platform/sqlite    platform platform/jet platform/sqlite)
set(allowed_platform/qt        platform platform/qt files package conversion wizard startup)
set(allowed_platform/headless  platform platform/headless wizard)
set(allowed_package            platform package)
set(allowed_files              platform package files)
set(allowed_conversion         platform platform/jet package files conversion)
set(allowed_wizard             platform package files conversion wizard)
set(allowed_startup            platform package files conversion wizard startup)
set(allowed_testing            platform platform/host platform/jet platform/sqlite platform/headless platform/crypto
                               package files conversion wizard startup testing)
set(allowed_tools/pack         platform platform/host platform/crypto platform/jet platform/sqlite package files
                               conversion tools/pack)
set(allowed_app/cli            app/cli)
# The fuzzing harnesses drive any layer but the programs.
set(allowed_fuzz               platform platform/host platform/jet platform/sqlite platform/crypto package files conversion wizard
                               startup tools/pack fuzz)
set(test_extras testing platform/host platform/sqlite platform/jet platform/headless platform/crypto)
# Programs and the demo sit on top and may include anything.
set(unchecked app app/script tools tools/demo)

file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(violations "")
foreach(source IN LISTS sources)
  get_filename_component(folder ${source} DIRECTORY)
  if(folder IN_LIST unchecked)
    continue()
  endif()
  if(NOT DEFINED allowed_${folder})
    string(APPEND violations "  ${source}: folder ${folder} has no layer rule\n")
    continue()
  endif()
  set(allowed ${allowed_${folder}})
  if(source MATCHES "_test[^/]*\\.(cpp|h)$")
    if(folder STREQUAL "platform/qt")
      continue()  # the window's tests drive it through the script driver and the demo
    endif()
    list(APPEND allowed ${test_extras})
  endif()
  file(STRINGS ${SRC}/${source} lines REGEX "^#include \"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" header "${line}")
    get_filename_component(header_folder ${header} DIRECTORY)
    if(NOT header_folder IN_LIST allowed)
      string(APPEND violations "  ${source}: includes ${header}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that go against the layers (see docs/ARCHITECTURE.md):\n${violations}")
endif()
