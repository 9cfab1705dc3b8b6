# Fails when a source file includes a header from a layer it must not see.
# Run as: cmake -DSRC=<repo>/src -P check_includes.cmake
#
# The arrows below are those of the picture in docs/ARCHITECTURE.md: each
# folder and the folders it points at directly. A folder may include its own
# headers and those of every folder its arrows reach. "platform" means the
# interfaces directly in src/platform/, not the adapters below it. Every
# folder has a rule; a folder without one fails the check.

cmake_minimum_required(VERSION 3.22)

# Programs: the composition roots may use every layer, but no test helper.
set(programs app app/script tools tools/demo)
set(arrows_app/cli          "")
set(arrows_tools/pack          package files conversion platform/host platform/crypto platform/sqlite platform/mdb)
set(arrows_views/qt            startup)
set(arrows_views/headless      wizard)
set(arrows_startup             wizard files)
set(arrows_wizard              conversion files)
set(arrows_conversion          files)
set(arrows_files               package)
set(arrows_package             platform)
set(arrows_platform          "")
set(arrows_platform/host       platform)
set(arrows_platform/sqlite     platform/jet)
set(arrows_platform/jet        platform)
set(arrows_platform/crypto     package)
set(arrows_platform/mdb        platform/jet)
set(arrows_platform/net        platform)
# Test helpers drive the logic on the real host, engine and headless view.
set(arrows_testing             startup views/headless platform/host platform/sqlite platform/crypto)
# The fuzzing harnesses drive any layer but the programs and the views.
set(arrows_fuzz                startup tools/pack platform/host platform/sqlite platform/crypto)

# What a test file (x_test.cpp, x_test_*.h) may include besides its folder's
# rule. The Qt window's tests also start the demo installation.
set(test_extras                testing platform/host platform/sqlite platform/mdb platform/jet platform/crypto
                               views/headless)
set(test_extras_views/qt       testing tools/demo)

# Every folder that the arrows reach from `folder`, itself included.
function(reachable folder out)
  set(found ${folder})
  set(todo ${folder})
  while(todo)
    list(POP_FRONT todo current)
    foreach(next IN LISTS arrows_${current})
      if(NOT next IN_LIST found)
        list(APPEND found ${next})
        list(APPEND todo ${next})
      endif()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(folders "")
foreach(source IN LISTS sources)
  get_filename_component(folder ${source} DIRECTORY)
  list(APPEND folders ${folder})
endforeach()
list(REMOVE_DUPLICATES folders)
set(layers ${folders})
list(REMOVE_ITEM layers testing fuzz)

# The top folders of src/ that rules name: <files/x.h> is ours, <vector> is not.
get_cmake_property(variables VARIABLES)
set(ours testing fuzz ${programs})
foreach(variable IN LISTS variables)
  if(variable MATCHES "^arrows_([^/]*)")
    list(APPEND ours ${CMAKE_MATCH_1})
  endif()
endforeach()
list(TRANSFORM ours REPLACE "/.*" "")

set(violations "")
foreach(source IN LISTS sources)
  get_filename_component(folder ${source} DIRECTORY)
  if(folder IN_LIST programs)
    set(allowed ${layers})
  elseif(DEFINED arrows_${folder})
    reachable(${folder} allowed)
  else()
    string(APPEND violations "  ${source}: folder ${folder} has no layer rule\n")
    continue()
  endif()
  if(source MATCHES "_test[^/]*\\.(cpp|h)$")
    if(DEFINED test_extras_${folder})
      list(APPEND allowed ${test_extras_${folder}})
    else()
      list(APPEND allowed ${test_extras})
    endif()
  endif()
  # Any spelling the compiler takes: indented, "# include", <...> or "...".
  file(STRINGS ${SRC}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
    get_filename_component(header_folder "${header}" DIRECTORY)
    string(REGEX REPLACE "/.*" "" top "${header}")
    if(line MATCHES "<" AND NOT top IN_LIST ours)
      continue()
    endif()
    if(NOT header_folder IN_LIST allowed)
      string(APPEND violations "  ${source}: includes ${header}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that go against the layers (see docs/ARCHITECTURE.md):\n${violations}")
endif()
