# Helpers shared by every folder's CMakeLists.txt.

# demo_add_library(NAME [OBJECT] DIRS dir... [EXCLUDE regex] [DEPS target...])
# Builds one library from every .cpp in the given folders (relative to the
# current source dir). A folder without sources yet gives an INTERFACE target,
# so that users can link it before it has code.
function(demo_add_library name)
  cmake_parse_arguments(ARG "OBJECT" "EXCLUDE" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${sources})
  else()
    add_library(${name} STATIC ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Every library of the system, in link order; tests, tools and benchmarks link this.
function(demo_all_libraries out)
  set(${out} demo_effects demo_player demo_graphics demo_sl_runtime demo_math demo_manager demo_platform PARENT_SCOPE)
endfunction()
